// Lock data, the lock-defaults block, the default section and the user information switches.
#include "core/store/lock_data.h"

#include <string.h>

#include "core/common/ini_access.h"
#include "core/common/mem.h"
#include "core/common/text.h"
#include "core/context/driver_context.h"
#include "core/context/module_bus.h"
#include "core/context/ui_state.h"
#include "core/items/derived_settings.h"
#include "core/items/item_access.h"
#include "core/items/item_checks.h"
#include "core/items/item_table.h"
#include "core/model/model_lookup.h"
#include "core/model/model_types.h"
#include "core/store/item_store.h"
#include "core/store/printer_name_guard.h"
#include "core/store/settings_file.h"
#include "core/system/driver_paths.h"
#include "core/system/printer_names.h"
#include "core/system/settings_folders.h"
#include "core/tables/build_switches.h"
#include "core/tables/print_macros.h"
#include "core/store/store_keys.h"

namespace {

constexpr WORD kIdDefaultSource = 13, kIdColor = 15, kIdResW = 38, kIdResH = 39, kIdMediaType = 54;
constexpr WORD kIdFuncNup = 56, kIdFuncDuplex = 58, kIdNupPostKind = 91, kIdNupType = 92, kIdDuplexType = 94;
constexpr WORD kIdResBoth = 152, kIdPrnMethod = 209, kIdLockPrnMethod = 689;
constexpr WORD kIdLockResBoth = 10434;
constexpr WORD kIdLockBits0 = 10418, kIdLockBits1 = 10426;
constexpr WORD kIdFontItemsFirst = 10004, kIdFontItemsLast = 10009;
constexpr WORD kIdSpecialFirst = 1169;
constexpr int kSpecialCount = 16;
constexpr DWORD kDmSizeOffset = 68;  // dmSize of the public DEVMODE
constexpr DWORD kSectionChars = 261;

const WCHAR kLockDefaultData[] = TEXT("LockDefaultData");
const WCHAR kDefaultSectionSuffix[] = TEXT(".DefaultSection");
const WCHAR kMachineIdKey[] = TEXT("zdmMachineID");

// The repair after the lock defaults were taken over: ids 35-696, 10001-10434, 1453-1543.
struct IdRange {
  WORD first, last;
};
const IdRange kRepairRanges[] = {{35, 696}, {10001, 10434}, {1453, 1543}};

// A 4-byte value of printer data; false when absent or of another size.
bool ReadDword(HANDLE printer, LPCWSTR name, DWORD* value) {
  DWORD type = 0, needed = 0;
  *value = 0;
  if (GetPrinterDataW(printer, const_cast<LPWSTR>(name), &type, reinterpret_cast<LPBYTE>(value), sizeof *value,
                      &needed) != ERROR_SUCCESS)
    return false;
  return needed == sizeof *value;
}

bool ReadLocked(HANDLE printer, DriverContext* ctx, LPCWSTR name, WORD id) {
  DWORD v = 0;
  if (!ReadDword(printer, name, &v)) return false;
  ItemSetRawById(ctx, id, LONG_PTR(LONG(v)));
  return true;
}

bool WriteLocked(HANDLE printer, DriverContext* ctx, LPCWSTR name, WORD id) {
  DWORD v = DWORD(ItemGetRawById(ctx, id));
  return StoreSetPrinterDataBinary(printer, &v, sizeof v, name) != 0;
}

WORD ReadWord(const BYTE* p) {
  WORD w;
  memcpy(&w, p, sizeof w);
  return w;
}

// The font-table items hold heap tables of the current settings: never in the lock defaults.
void ZeroFontItems(DriverContext* ctx, BYTE* block) {
  for (WORD id = kIdFontItemsFirst; id <= kIdFontItemsLast; ++id) {
    SettingItem* row = ItemFind(ctx, id);
    BYTE* p = row ? ItemStorageIn(block, row) : nullptr;
    if (p) memset(p, 0, ItemDescSize(row->descriptor));
  }
}

// The default section's name into name (kPrinterNameChars); false when it does not fit.
bool DefaultSectionName(DriverContext* ctx, WCHAR* name) {
  const WCHAR* printer = PrnGetPrinterName(ctx);
  DWORD a = StrWideLength(printer), b = StrWideLength(kDefaultSectionSuffix);
  if (a + b + 1 > DWORD(kPrinterNameChars)) return false;
  memcpy(name, printer, a * sizeof(WCHAR));
  memcpy(name + a, kDefaultSectionSuffix, (b + 1) * sizeof(WCHAR));
  return true;
}

// Transfers the default section: the item section with flags, then the named items.
int TransferDefaultSection(DriverContext* ctx, DWORD flags, DWORD rangeFlags, bool requirePresent) {
  const WCHAR* path = PathSettingsFile(ctx);
  WCHAR section[kPrinterNameChars];
  if (!path || !DefaultSectionName(ctx, section)) return 0;
  StoreMutexHold hold(ctx);
  if (requirePresent) {
    WCHAR id[kSectionChars] = {};
    IniReadString(section, kMachineIdKey, TEXT(""), id, kSectionChars, path);
    if (!id[0]) return 0;
  }
  {
    PrinterNameGuard name(ctx);
    name.Set(section);
    StoreRwItemSection(ctx->printer, path, flags, ctx);
  }
  // A refused section (header, locked setting) gives none of its values.
  if ((flags & kStoreFileRead) && CtxGetFileStatus(ctx) != kFileStatusOk) return 1;
  StoreRwNamedItems(path, rangeFlags, ctx, section);
  return 1;
}

}  // namespace

int ItemResolutionLockKind(DriverContext* ctx) {
  if (!ModelFindDescriptor(kIdResW, ctx)) return -1;
  WORD type = ModelGetItemType(kIdResW, ctx);
  if (type == kModelTypePickOne) {
    if (!ModelGetValueList(kIdResW, ctx) || ModelGetValueCount(kIdResW, ctx) <= 0) return -1;
    return 0;
  }
  if (type != kModelTypeNumeric) return -1;
  if (ItemGetRawById(ctx, kIdResW) == 0) return -1;
  return ModelGetValueList(kIdResW, ctx) ? 0 : 1;
}

int StoreLoadLockData(HANDLE printer, DriverContext* ctx) {
  if (!ctx) return 0;
  if (ItemLockTray(ctx) && !ReadLocked(printer, ctx, TEXT("LockTrayData"), kIdDefaultSource)) return 0;
  if (ItemLockMedia(ctx) && !ReadLocked(printer, ctx, TEXT("LockMediaData"), kIdMediaType)) return 0;
  if (ItemLockPrintType(ctx)) {
    DWORD v = 0;
    if (!ReadDword(printer, TEXT("LockPrnMethodData"), &v)) return 0;
    ItemSetRawById(ctx, kIdPrnMethod, LONG_PTR(LONG(v)));
    ItemSetRawById(ctx, kIdLockPrnMethod, LONG_PTR(LONG(v)));
  }
  if (ItemLockColor(ctx) && !ReadLocked(printer, ctx, TEXT("LockColorData"), kIdColor)) return 0;
  if (ItemLockNupKind(ctx)) {
    ItemSetRawById(ctx, kIdFuncNup, 1);
    if (!ReadLocked(printer, ctx, TEXT("LockNUPPOSTKindData"), kIdNupPostKind)) return 0;
    if (!ReadLocked(printer, ctx, TEXT("LockNUPTypeData"), kIdNupType)) return 0;
  }
  if (ItemLockDuplex(ctx)) {
    ItemSetRawById(ctx, kIdFuncDuplex, 1);
    if (!ReadLocked(printer, ctx, TEXT("LockDuplexTypeData"), kIdDuplexType)) return 0;
  }
  if (ItemLockResolution(ctx)) {
    LONG_PTR v = ItemGetRawById(ctx, kIdLockResBoth);
    int kind = ItemResolutionLockKind(ctx);
    if (kind < 0) return 0;
    if (kind == 1) ItemSetRawById(ctx, kIdResBoth, v);
    const PrintMacroResolution* macro = TblFindPrintMacro(WORD(v));
    if (!macro) return 0;
    ItemSetRawById(ctx, kIdResW, macro->xDpi);
    ItemSetRawById(ctx, kIdResH, macro->yDpi);
  }
  ModBusNotify(ctx, kNotifyLockDataLoaded);
  return 1;
}

int StoreSaveLockData(HANDLE printer, DriverContext* ctx) {
  if (!ctx) return 0;
  if (ItemLockTray(ctx) && !WriteLocked(printer, ctx, TEXT("LockTrayData"), kIdDefaultSource)) return 0;
  if (ItemLockMedia(ctx) && !WriteLocked(printer, ctx, TEXT("LockMediaData"), kIdMediaType)) return 0;
  if (ItemLockPrintType(ctx) && !WriteLocked(printer, ctx, TEXT("LockPrnMethodData"), kIdLockPrnMethod)) return 0;
  if (ItemLockColor(ctx) && !WriteLocked(printer, ctx, TEXT("LockColorData"), kIdColor)) return 0;
  if (ItemLockNupKind(ctx) && (!WriteLocked(printer, ctx, TEXT("LockNUPPOSTKindData"), kIdNupPostKind) ||
                               !WriteLocked(printer, ctx, TEXT("LockNUPTypeData"), kIdNupType)))
    return 0;
  if (ItemLockDuplex(ctx) && !WriteLocked(printer, ctx, TEXT("LockDuplexTypeData"), kIdDuplexType)) return 0;
  return 1;
}

int StoreLoadLockDefaults(HANDLE printer, DriverContext* ctx) {
  BYTE* block = CtxLockDefaultSettingsBlock(ctx);
  if (!block || !ctx->settings || !printer) return 0;
  // One byte more than a block: a longer value does not fit and is refused.
  BYTE* read = static_cast<BYTE*>(MemAllocZero(kSettingsBlockSize + 1));
  if (!read) return 0;
  DWORD type = 0, needed = 0;
  DWORD rc = GetPrinterDataW(printer, const_cast<LPWSTR>(kLockDefaultData), &type, read, kSettingsBlockSize + 1,
                             &needed);
  // Only a block of the layout this driver writes: its size, dmSize and area-offset words.
  bool ok = rc == ERROR_SUCCESS && needed == kSettingsBlockSize &&
            ReadWord(read + kDmSizeOffset) == ReadWord(ctx->settings + kDmSizeOffset) &&
            memcmp(read + kDmAreaOffsetWords, ctx->settings + kDmAreaOffsetWords, 6) == 0;
  if (ok) {
    ZeroFontItems(ctx, read);
    memcpy(block, read, kSettingsBlockSize);
  }
  MemFree(read);
  return ok ? 1 : 0;
}

int StoreSaveLockDefaults(HANDLE printer, DriverContext* ctx) {
  BYTE* block = CtxLockDefaultSettingsBlock(ctx);
  if (!block || !printer) return 0;
  ZeroFontItems(ctx, block);
  return StoreSetPrinterDataBinary(printer, block, kSettingsBlockSize, kLockDefaultData);
}

int StoreReadLockInfoBitByte(HANDLE printer, BYTE* destination, WORD id) {
  if (!destination) return 0;
  LPCWSTR name = id == kIdLockBits0 ? TEXT("zdmLock000InfoBit") : id == kIdLockBits1 ? TEXT("zdmLock001InfoBit") : nullptr;
  if (!name) return 0;
  return StoreGetPrinterData(printer, destination, 1, name);
}

int StoreReadAuthMode(HANDLE printer, DWORD* destination) {
  if (!destination || !printer) return 0;
  return ReadDword(printer, TEXT("AuthenticationMode"), destination) ? 1 : 0;
}

int StoreLoadDefaultSection(DriverContext* ctx) {
  if (!ctx || !ctx->ui) return 0;
  return TransferDefaultSection(ctx, kStoreFileRead, kStoreFileRead | kStoreFileText, true);
}

int StoreSaveDefaultSection(DriverContext* ctx) {
  if (!ctx || !ctx->ui) return 0;
  return TransferDefaultSection(ctx, kStoreFileWrite, kStoreFileWrite | kStoreFileText, false);
}

int StoreEnsureDefaultSection(DriverContext* ctx) {
  if (!ctx || !ctx->ui || !ctx->settings) return 0;
  BYTE* kept = static_cast<BYTE*>(MemAllocZero(kSettingsBlockSize));
  if (!kept) return 0;
  StoreMutexHold hold(ctx);
  memcpy(kept, ctx->settings, kSettingsBlockSize);
  BYTE* lockBlock = CtxLockDefaultSettingsBlock(ctx);
  if (!StoreLoadDefaultSection(ctx)) {
    // The lock defaults replace the settings only when they were read; otherwise the default
    // section starts from the current settings.
    if (StoreLoadLockDefaults(ctx->printer, ctx)) {
      memcpy(ctx->settings, lockBlock, kSettingsBlockSize);
      // The font tables stay those of the settings; the block holds none.
      for (WORD id = kIdFontItemsFirst; id <= kIdFontItemsLast; ++id) {
        SettingItem* row = ItemFind(ctx, id);
        BYTE* to = row ? ItemStorageIn(ctx->settings, row) : nullptr;
        BYTE* from = row ? ItemStorageIn(kept, row) : nullptr;
        if (to && from) memcpy(to, from, ItemDescSize(row->descriptor));
      }
    }
    for (const IdRange& range : kRepairRanges)
      for (DWORD id = range.first; id <= range.last; ++id) {
        if (id >= kIdFontItemsFirst && id <= kIdFontItemsLast) continue;
        SettingItem* row = ItemFind(ctx, WORD(id));
        if (row) ItemCheckAndRepair(WORD(id), ItemGetRaw(ctx, row), ctx);
      }
  }
  if (lockBlock) {
    memcpy(lockBlock, ctx->settings, kSettingsBlockSize);
    StoreSaveLockDefaults(ctx->printer, ctx);
  }
  StoreSaveDefaultSection(ctx);
  memcpy(ctx->settings, kept, kSettingsBlockSize);
  MemFree(kept);
  return 1;
}

void StoreLoadUserInfo(DriverContext* ctx) {
  if (!ctx || !ctx->ui) return;
  WCHAR file[kPathChars] = {};
  WCHAR section[kSectionChars] = {};
  bool looked = false, usable = false;
  for (int n = 1; n <= kSpecialCount; ++n) {
    const WORD id = WORD(kIdSpecialFirst + n - 1);
    if (!BuildHasFeatureBit(n - 1)) {
      ItemSetRawById(ctx, id, 0);
      continue;
    }
    if (!looked) {
      looked = true;
      const WCHAR* modelData = PathModelDataFile(ctx);
      WCHAR which[32] = {};
      if (modelData && modelData[0] && modelData[1] == u':' &&
          IniReadString(PrnGetPrinterName(ctx), TEXT("UserInfomationFile"), TEXT(""), file, kPathChars, modelData) &&
          file[0] && PathExpandSystemMacros(file, kPathChars, ctx) &&
          IniReadString(TEXT("Common"), TEXT("SectionName"), TEXT(""), which, 32, file) && which[0]) {
        if (lstrcmpiW(which, TEXT("User")) == 0) {
          DWORD chars = 257;
          WCHAR user[257] = {};
          usable = GetUserNameW(user, &chars) && user[0];
          if (usable) StrCopyCut(section, kSectionChars, user);
        } else if (lstrcmpiW(which, TEXT("Driver")) == 0) {
          StrCopyCut(section, kSectionChars, PrnGetDriverName(ctx));
          usable = section[0] != 0;
        } else if (lstrcmpiW(which, TEXT("Printer")) == 0) {
          StrCopyCut(section, kSectionChars, PrnGetPrinterName(ctx));
          usable = section[0] != 0;
        }
      }
    }
    if (!usable) {
      for (int k = n; k <= kSpecialCount; ++k) ItemSetRawById(ctx, WORD(kIdSpecialFirst + k - 1), 0);
      return;
    }
    WCHAR key[16] = TEXT("Function");
    WCHAR digits[4] = {WCHAR(n >= 10 ? u'0' + n / 10 : u'0' + n), WCHAR(n >= 10 ? u'0' + n % 10 : 0), 0, 0};
    StrJoin(key, 16, TEXT("Function"), 8, digits);
    ItemSetRawById(ctx, id, LONG_PTR(LONG(IniReadInt(section, key, 0, file))));
  }
}
