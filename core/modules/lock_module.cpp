// The setting-lock module's window-less work: the locked values carried into the stored
// preset and quality-list files (each file's own value kept under the "Lock" key), the locked
// watermark copies, the lock keys left out of exported packages, the captured values and the
// reset of changed settings under the default lock.
#include <string.h>

#include "core/common/file_ops.h"
#include "core/common/ini_access.h"
#include "core/common/text.h"
#include "core/context/driver_context.h"
#include "core/context/settings_snapshot.h"
#include "core/context/ui_state.h"
#include "core/devmode/dm_layout.h"
#include "core/devmode/dm_merge.h"
#include "core/devmode/settings_defaults.h"
#include "core/install/package_export.h"
#include "core/items/derived_settings.h"
#include "core/items/item_access.h"
#include "core/items/item_ids.h"
#include "core/items/item_table.h"
#include "core/modules/module_rows.h"
#include "core/store/item_store.h"
#include "core/store/preset_files.h"
#include "core/store/preset_store.h"
#include "core/store/settings_file.h"
#include "core/store/settings_stores.h"
#include "core/store/stamp_store.h"
#include "core/store/store_keys.h"
#include "core/tables/print_macros.h"
#include "core/tables/value_symbols.h"

namespace {

enum : int {
  kEventLockPresets = 59,
  kEventLockQualities = 60,
  kEventSaveLockedStamps = 61,
  kEventDeleteLockedStamps = 62,
  kEventPackPresets = 63,
  kEventPackQualities = 64,
};
enum : WORD {
  kNotifyCapture = 312,
  kNotifyLockedStampFirst = 318,
  kNotifyLockedStampLast = 322,
  kNotifyReloadPrinterSettings = 323,
  kNotifyRememberPrintMethod = 326,
  kNotifyKeyFirst = 10000,
  kNotifyKeyLast = 11976,
};

// The merge of a device settings pass after the printer's settings were reloaded.
constexpr DWORD kReloadMergeFlags = 0x0408000C;

constexpr int kKeyChars = 64;
constexpr int kValueChars = 64;
constexpr int kSectionChars = 261;
constexpr int kLastPackSelector = 35;  // '0'-'9', then 'A'-'Z'

// The settings each lock bit fixes in the preset files.
struct LockRow {
  WORD bit;
  WORD items[3];
};
const LockRow kPresetLocks[] = {
    {kItem_zdmLock000InfoBitTray, {kItem_dmDefaultSource, 0, 0}},
    {kItem_zdmLock000InfoBitMedia, {kItem_zdmMediaType, 0, 0}},
    {kItem_zdmLock000InfoBitNupKind, {kItem_zdmFuncSelectNup, kItem_zdmNUPPOSTKind, kItem_zdmNUPType}},
    {kItem_zdmLock000InfoBitDuplex, {kItem_zdmFuncSelectDuplex, kItem_zdmDuplexType, 0}},
    {kItem_zdmLock000InfoBitPrintType, {kItem_zdmPrnMethod, 0, 0}},
    {kItem_zdmLock001InfoBitColor, {kItem_dmColor, 0, 0}},
};
const WORD kResolutionItems[3] = {kItem_zdmDstResolutionBoth, kItem_zdmDstResolutionW, kItem_zdmDstResolutionH};

bool BitOn(DriverContext* ctx, WORD bit) { return ItemGetRawById(ctx, bit) != 0; }

// One stored settings file: its printer section, read and written key by key.
struct LockFile {
  const WCHAR* path;
  const WCHAR* section;
  bool Read(const WCHAR* key, WCHAR* value) const {
    // A key that is present reads as itself; the sentinel cannot be a stored value.
    IniReadString(section, key, TEXT("\x01"), value, kValueChars, path);
    return value[0] != 1;
  }
  void Write(const WCHAR* key, const WCHAR* value) const { IniWriteString(section, key, value, path); }
};

bool LockKeyOf(DriverContext* ctx, WORD id, WCHAR* key, WCHAR* lockKey) {
  const WCHAR* name = ItemGetName(ctx, id);
  if (!name || !name[0]) return false;
  DWORD n = 0;
  for (; name[n] && n + 1 < kKeyChars; ++n) key[n] = name[n];
  key[n] = 0;
  if (n + 5 >= kKeyChars) return false;
  memcpy(lockKey, key, n * sizeof(WCHAR));
  memcpy(lockKey + n, TEXT("Lock"), 5 * sizeof(WCHAR));
  return true;
}

bool Differs(const WCHAR* stored, LONG value) {
  WCHAR text[16];
  StoreFormatNumber(text, value);
  return !StrWideEqual(stored, text);
}

// Locks or unlocks one setting in one file; the value written under a lock is value. Returns
// 1 when the setting's key was rewritten, -1 when the file lacks the setting's key.
int ApplyToFile(DriverContext* ctx, const LockFile& file, WORD id, bool on, LONG value) {
  WCHAR key[kKeyChars], lockKey[kKeyChars], stored[kValueChars], kept[kValueChars];
  if (!LockKeyOf(ctx, id, key, lockKey)) return 0;
  const bool hasKey = file.Read(key, stored);
  const bool hasLock = file.Read(lockKey, kept);
  if (on) {
    if (!hasKey) return -1;
    // The file's own value goes aside once; locking again keeps the first one.
    if (!hasLock) file.Write(lockKey, stored);
    if (!Differs(stored, value)) return 0;
    WCHAR text[16];
    file.Write(key, StoreFormatNumber(text, value));
    return 1;
  }
  if (!hasLock) return 0;
  // Unlocking gives the file its own value back whatever the settings hold now.
  file.Write(key, kept);
  file.Write(lockKey, nullptr);
  return 1;
}

// Each stored file of a list ("PresetList%d" below "Count", or "QualityList%d" below
// "QualityCount") that a save of that list may write, under the global mutex.
template <typename Fn>
void ForEachListFile(DriverContext* ctx, const WCHAR* prefix, const WCHAR* countKey, Fn fn) {
  WCHAR ini[kPathChars], section[kSectionChars];
  StoreCopySettingsIni(ctx, ini);
  StoreCopyPrinterName(ctx, section, kSectionChars);
  if (!ini[0]) return;
  StoreMutexHold hold(ctx);
  const LONG count = StoreReadCount(section, countKey, StoreCountLimit(countKey), ini);
  for (LONG i = 0; i < count; ++i) {
    WCHAR key[kKeyChars], path[kPathChars] = {};
    StoreFormatKey(key, kKeyChars, prefix, i, nullptr);
    IniReadString(section, key, TEXT(""), path, kPathChars, ini);
    // The list is any user's text: only what a preset or quality save of this printer may
    // write is rewritten, never a file elsewhere that an entry names.
    if (!path[0] || !StorePathIsSettingsTarget(path, ctx) || !PresetFileIsWritable(ctx, path)) continue;
    fn(LockFile{path, section});
  }
}

void LockPresets(DriverContext* ctx) {
  ForEachListFile(ctx, TEXT("PresetList"), TEXT("Count"), [&](const LockFile& file) {
    for (const LockRow& row : kPresetLocks) {
      const bool on = BitOn(ctx, row.bit);
      for (WORD id : row.items)
        if (id) ApplyToFile(ctx, file, id, on, static_cast<LONG>(ItemGetRawById(ctx, id)));
    }
  });
}

// Width and height keys beside zdmDstResolutionBoth follow it: under the lock the macro's
// resolution (their own values kept aside when the file had no lock for the pair yet), on
// unlock their kept values.
void FollowResolution(DriverContext* ctx, const LockFile& file, bool on, bool firstLock) {
  const PrintMacroResolution* macro = TblFindPrintMacro(static_cast<WORD>(ItemGetRawById(ctx, kItem_zdmDstResolutionBoth)));
  for (int k = 1; k <= 2; ++k) {
    WCHAR key[kKeyChars], lockKey[kKeyChars], stored[kValueChars], kept[kValueChars];
    if (!LockKeyOf(ctx, kResolutionItems[k], key, lockKey)) continue;
    const bool hasKey = file.Read(key, stored);
    if (on) {
      if (!hasKey || !macro) continue;
      if (firstLock && !file.Read(lockKey, kept)) file.Write(lockKey, stored);
      WCHAR text[16];
      file.Write(key, StoreFormatNumber(text, k == 1 ? macro->xDpi : macro->yDpi));
    } else if (file.Read(lockKey, kept)) {
      file.Write(key, kept);
      file.Write(lockKey, nullptr);
    }
  }
}

void LockQualities(DriverContext* ctx) {
  const bool on = BitOn(ctx, kItem_zdmLock000InfoBitResolution);
  bool pairPass = true;
  ForEachListFile(ctx, TEXT("QualityList"), TEXT("QualityCount"), [&](const LockFile& file) {
    if (!pairPass) return;
    WCHAR key[kKeyChars], lockKey[kKeyChars], kept[kValueChars];
    if (!LockKeyOf(ctx, kItem_zdmDstResolutionBoth, key, lockKey)) return;
    const bool firstLock = !file.Read(lockKey, kept);
    const int result = ApplyToFile(ctx, file, kItem_zdmDstResolutionBoth, on,
                                   static_cast<LONG>(ItemGetRawById(ctx, kItem_zdmDstResolutionBoth)));
    if (result < 0) {
      pairPass = false;  // a file without the pair: the width and height are locked on their own
      return;
    }
    if (result > 0 || !on) FollowResolution(ctx, file, on, firstLock);
  });
  if (pairPass) return;
  ForEachListFile(ctx, TEXT("QualityList"), TEXT("QualityCount"), [&](const LockFile& file) {
    for (int k = 1; k <= 2; ++k)
      ApplyToFile(ctx, file, kResolutionItems[k], on, static_cast<LONG>(ItemGetRawById(ctx, kResolutionItems[k])));
  });
}

// "Stamp%d%s" of watermark n followed by "Lock".
bool LockedStampSection(DriverContext* ctx, int n, WCHAR* section) {
  StampSectionName(section, kSectionChars - 4, n, ctx);
  const DWORD length = StrWideLength(section);
  if (!length || length + 5 > kSectionChars) return false;
  memcpy(section + length, TEXT("Lock"), 5 * sizeof(WCHAR));
  return true;
}

void SaveLockedStamps(DriverContext* ctx) {
  WCHAR ini[kPathChars], section[kSectionChars];
  StoreCopySettingsIni(ctx, ini);
  if (!ini[0]) return;
  CtxSnapshotPush(ctx);
  const int count = StampGetCount(ctx);
  for (int n = 0; n < count; ++n) {
    StampSelect(ctx, n);
    ItemSetRawById(ctx, kItem_zdmWmID, n);
    if (LockedStampSection(ctx, n, section)) StoreSectionTransfer(ctx, ini, section, kStoreFileWrite | kStoreFileWatermark);
  }
  CtxSnapshotPop(ctx, TRUE);
}

void DeleteLockedStamps(DriverContext* ctx) {
  WCHAR ini[kPathChars], section[kSectionChars];
  StoreCopySettingsIni(ctx, ini);
  if (!ini[0]) return;
  const int count = StampGetCount(ctx);
  for (int n = 0; n < count; ++n)
    if (LockedStampSection(ctx, n, section)) IniWriteString(section, nullptr, nullptr, ini);
}

void LoadLockedStamp(DriverContext* ctx, int n) {
  WCHAR ini[kPathChars], section[kSectionChars];
  StoreCopySettingsIni(ctx, ini);
  if (!ini[0] || !LockedStampSection(ctx, n, section)) return;
  StoreSectionTransfer(ctx, ini, section, kStoreFileRead | kStoreFileWatermark);
  ItemSetRawById(ctx, kItem_zdmWmID, n);
}

// The lock keys of an exported package's files: the first file's name gives the others (the
// selector 5 characters before the end, the extension; quality files also count their
// six-character counter, 11 before the end, one up).
void CleanPackage(DriverContext* ctx, const WCHAR* first, bool quality) {
  if (!first) return;
  const DWORD length = StrWideLength(first);
  if (length < 12 || length >= kPathChars) return;  // too short for its counter and selector
  WCHAR name[kPathChars];
  memcpy(name, first, (length + 1) * sizeof(WCHAR));
  if (quality) PackNameIncrement(name + length - 11);
  memcpy(name + length - 3, quality ? TEXT("rsq") : TEXT("rsd"), 3 * sizeof(WCHAR));
  const WCHAR* section = StoreListLangCode(ctx);
  for (int i = 0; i <= kLastPackSelector; ++i) {
    name[length - 5] = static_cast<WCHAR>(i < 10 ? u'0' + i : u'A' + i - 10);
    if (!FileExists(name)) break;
    const LockFile file{name, section};
    auto drop = [&](WORD id) {
      WCHAR key[kKeyChars], lockKey[kKeyChars];
      if (LockKeyOf(ctx, id, key, lockKey)) file.Write(lockKey, nullptr);
    };
    if (quality) {
      if (BitOn(ctx, kItem_zdmLock000InfoBitResolution))
        for (WORD id : kResolutionItems) drop(id);
    } else {
      for (const LockRow& row : kPresetLocks)
        if (BitOn(ctx, row.bit))
          for (WORD id : row.items)
            if (id) drop(id);
    }
  }
}

void Capture(DriverContext* ctx) {
  const struct {
    WORD to, from;
  } pairs[] = {{kItem_wdmLock001Info, kItem_dmDefaultSource}, {kItem_wdmLock002Info, kItem_zdmMediaType},
               {kItem_wdmLock003Info, kItem_zdmNUPPOSTKind},  {kItem_wdmLock006Info, kItem_zdmPrnMethod},
               {kItem_wdmLock007Info, kItem_zdmLockDstResolutionBoth}, {kItem_wdmLock008Info, kItem_dmColor}};
  for (const auto& p : pairs) ItemSetRawById(ctx, p.to, ItemGetRawById(ctx, p.from));
}

// Under the default lock a changed setting goes back to its locked default. 1 when the code
// names a setting.
int ResetToLockDefault(DriverContext* ctx, WORD code) {
  const WORD id = TblItemForKey(code);
  if (!id) return 0;
  SettingItem* item = ItemFind(ctx, id);
  if (item && ItemLockDefault(ctx)) ItemSetRaw(ctx, item, ItemGetLockDefaultRaw(ctx, item));
  return 1;
}

int NotifyNoWindow(DriverContext* ctx, WORD code) {
  if (code == kNotifyCapture) {
    Capture(ctx);
    return 1;
  }
  if (code >= kNotifyKeyFirst && code <= kNotifyKeyLast) return ResetToLockDefault(ctx, code);
  return 0;
}

int EventNoWindow(DriverContext* ctx, int event) {
  if (event == kEventLockPresets) {
    LockPresets(ctx);
    return 1;
  }
  if (event == kEventLockQualities) {
    LockQualities(ctx);
    return 1;
  }
  return 0;
}

// The printer's own settings back in place of what the pages show: its stored DEVMODE (the
// bidirectional state stays, as the pages learnt it from the printer just now), its persisted
// device and user settings, merged as a device settings pass.
void ReloadPrinterSettings(DriverContext* ctx) {
  const LONG_PTR biDirect = ItemGetRawById(ctx, kItem_zdmBiDirect);
  const LONG_PTR bidiFunc = ItemGetRawById(ctx, kItem_zdmBidiFunc);
  DmTakePrinterDevmode(ctx);
  ItemSetRawById(ctx, kItem_zdmBiDirect, biDirect);
  ItemSetRawById(ctx, kItem_zdmBidiFunc, bidiFunc);
  StoreLoadByClass(ctx->printer, 1, ctx);  // class 3, then class 1
  DmSetDeviceModeOn(ctx);
  DmMergeIntoContext(ctx, nullptr, kReloadMergeFlags);
}

}  // namespace

int LockHandleNotifyNoWindow(DriverContext* ctx, WORD code, void*) { return ctx ? NotifyNoWindow(ctx, code) : 0; }

int LockHandleNotify(DriverContext* ctx, WORD code, void*) {
  if (!ctx) return 0;
  if (code >= kNotifyLockedStampFirst && code <= kNotifyLockedStampLast) {
    if (ItemLockDefault(ctx)) LoadLockedStamp(ctx, code - kNotifyLockedStampFirst);
    return 1;
  }
  if (code == kNotifyRememberPrintMethod) {
    const LONG_PTR method = ItemGetRawById(ctx, kItem_zdmPrnMethod);
    if (method != 2 && method != 5 && method != 7) ItemSetRawById(ctx, kItem_zdmLockPrnMethod, method);
    return 1;
  }
  if (code == kNotifyReloadPrinterSettings) {
    ReloadPrinterSettings(ctx);
    return 1;
  }
  return NotifyNoWindow(ctx, code);
}

int LockHandleEventNoWindow(DriverContext* ctx, int event, void*, void*) { return ctx ? EventNoWindow(ctx, event) : 0; }

int LockHandleEvent(DriverContext* ctx, int event, void* argument, void*) {
  if (!ctx) return 0;
  switch (event) {
    case kEventSaveLockedStamps:
      SaveLockedStamps(ctx);
      return 1;
    case kEventDeleteLockedStamps:
      DeleteLockedStamps(ctx);
      return 1;
    case kEventPackPresets:
    case kEventPackQualities:
      CleanPackage(ctx, static_cast<const WCHAR*>(argument), event == kEventPackQualities);
      return 1;
    default:
      return EventNoWindow(ctx, event);
  }
}
