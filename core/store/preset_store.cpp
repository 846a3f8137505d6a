// Presets and quality lists.
#include "core/store/preset_store.h"

#include <string.h>

#include <initializer_list>

#include "core/common/file_ops.h"
#include "core/common/ini_access.h"
#include "core/common/path_text.h"
#include "core/common/text.h"
#include "core/context/settings_snapshot.h"
#include "core/context/ui_state.h"
#include "core/devmode/couplings.h"
#include "core/devmode/dm_merge.h"
#include "core/items/item_access.h"
#include "core/items/item_table.h"
#include "core/modules/preset_cache.h"
#include "core/store/preset_files.h"
#include "core/store/printer_name_guard.h"
#include "core/store/settings_file.h"
#include "core/store/settings_stores.h"
#include "core/store/stamp_store.h"
#include "core/store/store_keys.h"
#include "core/tables/build_switches.h"
#include "core/system/languages.h"
#include "core/system/settings_folders.h"
#include "core/system/terminal_server.h"
#include "core/system/user_messages.h"

namespace {

constexpr WORD kIdFuncWatermark = 60, kIdWmKind = 117, kIdWmId = 118;
constexpr WORD kIdPresetName = 925, kIdPresetComment = 926, kIdUserSetName = 927;
constexpr DWORD kKeyChars = 64;
constexpr DWORD kSectionChars = 261;
constexpr DWORD kPathBuffer = 261;
constexpr int kNameBytes = 37, kCommentBytes = 513;
constexpr int kUserFiles = 10000;
constexpr DWORD kPresetLoad = kStoreFilePreset | kStoreFileNoWarning;  // 0x8004

// The printer's settings ini, the printer's name and one key of its section.
struct PrinterIni {
  WCHAR ini[kPathChars];
  WCHAR printer[kSectionChars];
  explicit PrinterIni(DriverContext* ctx) {
    StoreCopySettingsIni(ctx, ini);
    StoreCopyPrinterName(ctx, printer, kSectionChars);
  }
  DWORD Read(LPCWSTR key, WCHAR* value, DWORD cchValue) const {
    value[0] = 0;
    if (!ini[0]) return 0;
    return IniReadString(printer, key, TEXT(""), value, cchValue, ini);
  }
  LONG ReadInt(LPCWSTR key) const { return ini[0] ? LONG(IniReadInt(printer, key, 0, ini)) : 0; }
  BOOL Write(LPCWSTR key, LPCWSTR value) const { return ini[0] ? IniWriteString(printer, key, value, ini) : FALSE; }
};

WCHAR* WithSuffix(WCHAR* buffer, LPCWSTR key, LPCWSTR suffix) {
  buffer[0] = 0;
  StrJoin(buffer, kKeyChars, key, StrWideLength(key), suffix);
  return buffer;
}

// wdmPresetName and wdmPresetComment from the key's "Name" and "Comment", narrow text cut to
// 36 and 512 bytes, never inside a double-byte character.
void LoadNameAndComment(DriverContext* ctx, const PrinterIni& p, LPCWSTR key) {
  WCHAR keyName[kKeyChars], text[kTextBufferChars];
  char name[kNameBytes] = {}, comment[kCommentBytes] = {};
  p.Read(WithSuffix(keyName, key, TEXT("Name")), text, kTextBufferChars);
  StrWideToAnsi(name, text, kNameBytes);
  ItemSetRawById(ctx, kIdPresetName, LONG_PTR(name));
  p.Read(WithSuffix(keyName, key, TEXT("Comment")), text, kTextBufferChars);
  StrWideToAnsi(comment, text, kCommentBytes);
  ItemSetRawById(ctx, kIdPresetComment, LONG_PTR(comment));
}

// The watermark of the applied preset selected again, or the watermark function turned off
// when the watermark is no longer there.
void ReselectWatermark(DriverContext* ctx) {
  const bool on = ItemGetRawById(ctx, kIdFuncWatermark) != 0;
  const LONG id = LONG(ItemGetRawById(ctx, kIdWmId));
  if (on && id < StampGetCount(ctx)) {
    const LONG kind = LONG(ItemGetRawById(ctx, kIdWmKind));
    if (kind >= 1 && kind <= 3) StampSelect(ctx, int(id));
    return;
  }
  ItemSetRawById(ctx, kIdFuncWatermark, 0);
  ItemSetRawById(ctx, kIdWmId, 0);
}

// The exclusion DLL's form: no cache, no name or comment; a failed load keeps the key and
// leaves the file status to tell it. True when the key's own file loaded.
bool ApplyUserPlain(DriverContext* ctx, LPCWSTR key) {
  const PrinterIni p(ctx);
  WCHAR path[kPathBuffer];
  p.Read(key, path, kPathBuffer);
  if (!path[0]) {
    WCHAR key0[kKeyChars];
    p.Read(PresetKeyName(key0, kKeyChars, 0, 0), path, kPathBuffer);
  }
  CtxSetFileStatus(ctx, kFileStatusOk);
  StoreLoadSettingsFile(ctx->printer, path, kPresetLoad, ctx);
  const bool loaded = CtxGetFileStatus(ctx) == kFileStatusOk;
  ReselectWatermark(ctx);
  PresetCacheOp(ctx, key, kPresetCacheSave);
  DmRecheckChapterTrays(ctx);
  return loaded;
}

// True when the key's own file loaded (or the cache restored the slot); false when it was
// refused and preset 0 stands in for it.
bool ApplyUser(DriverContext* ctx, LPCWSTR key, bool useCache) {
  if (!ctx || !ctx->ui || !key) return false;
  if (BuildGetVariant().presetPlainApply) return ApplyUserPlain(ctx, key);
  if (useCache && PresetCacheOp(ctx, key, kPresetCacheRestore) == 1) return true;
  const PrinterIni p(ctx);
  WCHAR path[kPathBuffer];
  p.Read(key, path, kPathBuffer);
  CtxSetFileStatus(ctx, kFileStatusOk);
  WCHAR key0[kKeyChars];
  PresetKeyName(key0, kKeyChars, 0, 0);
  if (!path[0]) p.Read(key0, path, kPathBuffer);
  StoreLoadSettingsFile(ctx->printer, path, kPresetLoad, ctx);
  bool warn = false;
  if (CtxGetFileStatus(ctx) != kFileStatusOk) {
    // A file that is gone is dropped from the list; one that did not match stays listed.
    if (!FileExists(path)) {
      StoreMutexHold hold(ctx);
      p.Write(key, TEXT(""));
    }
    CtxSetFileStatus(ctx, kFileStatusOk);
    WCHAR base[kPathBuffer];
    p.Read(key0, base, kPathBuffer);
    StoreLoadSettingsFile(ctx->printer, base, kStoreFilePreset, ctx);
    warn = true;
  }
  LoadNameAndComment(ctx, p, key);
  ReselectWatermark(ctx);
  PresetCacheOp(ctx, key, kPresetCacheSave);
  if (warn) UiWarnWithArgument(ctx, nullptr, kMsgSettingsFileHeader, path);
  DmRecheckChapterTrays(ctx);
  return !warn;
}

void ApplyFactory(DriverContext* ctx, int n, bool useCache) {
  if (!ctx || !ctx->ui || n < 0 || n >= kPresetSlots) return;
  const PrinterIni p(ctx);
  WCHAR key[kKeyChars], path[kPathBuffer], twin[kPathBuffer], leaf[kPathBuffer];
  PresetKeyName(key, kKeyChars, n, 0);
  p.Read(key, path, kPathBuffer);
  CtxSetFileStatus(ctx, kFileStatusOk);
  if (!path[0]) return;
  if (!PathReplaceExtension(leaf, PathFindLeaf(path), TEXT("rsd"), kPathBuffer) ||
      !PathInSettingsFolder(twin, kPathBuffer, leaf, ctx) || !twin[0] || !FileExists(twin))
    return;
  if (useCache && PresetCacheOp(ctx, key, kPresetCacheRestore) == 1) return;
  {
    PrinterNameGuard name(ctx);
    name.Set(ResGetLangCode(ctx));
    StoreLoadSettingsFile(ctx->printer, twin, kPresetLoad, ctx);
  }
  LoadNameAndComment(ctx, p, key);
  ReselectWatermark(ctx);
  PresetCacheOp(ctx, key, kPresetCacheSave);
  DmRecheckChapterTrays(ctx);
}

bool EqualNoCase(LPCWSTR a, LPCWSTR b) {
  for (;; ++a, ++b) {
    WCHAR x = *a, y = *b;
    if (x >= u'A' && x <= u'Z') x = WCHAR(x - u'A' + u'a');
    if (y >= u'A' && y <= u'Z') y = WCHAR(y - u'A' + u'a');
    if (x != y) return false;
    if (!x) return true;
  }
}

// The file a key names, when a save may write it; else the status says why.
bool SaveTarget(DriverContext* ctx, const PrinterIni& p, LPCWSTR key, WCHAR* path) {
  p.Read(key, path, kPathBuffer);
  if (StorePathIsSettingsTarget(path, ctx)) return true;
  CtxSetFileStatus(ctx, ERROR_ACCESS_DENIED);
  return false;
}

int SaveFile(DriverContext* ctx, LPCWSTR key, DWORD flags, bool withNames) {
  if (!ctx || !ctx->ui || !key) return 0;
  const PrinterIni p(ctx);
  WCHAR path[kPathBuffer];
  int result = 0;
  {
    StoreMutexHold hold(ctx);
    if (SaveTarget(ctx, p, key, path)) {
      result = StoreSaveSettingsFile(ctx->printer, path, flags, ctx);
      if (result && withNames) {
        WCHAR keyName[kKeyChars], text[kTextBufferChars];
        StrAnsiToWide(text, PresetNameBuf(ctx) ? PresetNameBuf(ctx) : "", kTextBufferChars);
        if (!p.Write(WithSuffix(keyName, key, TEXT("Name")), text)) result = 0;
        StrAnsiToWide(text, PresetCommentBuf(ctx) ? PresetCommentBuf(ctx) : "", kTextBufferChars);
        if (!p.Write(WithSuffix(keyName, key, TEXT("Comment")), text)) result = 0;
      }
    }
  }
  PresetCacheOp(ctx, nullptr, kPresetCacheFreeAll);
  return result;
}

char* ItemBytes(DriverContext* ctx, WORD id) {
  if (!ctx || !ctx->settings) return nullptr;
  SettingItem* row = ItemFind(ctx, id);
  return row ? reinterpret_cast<char*>(ItemStorageIn(ctx->settings, row)) : nullptr;
}

// The twin of a quality file: its leaf with "rsq" in the settings folder of the caller.
bool QualityTwin(DriverContext* ctx, LPCWSTR path, WCHAR* twin) {
  WCHAR rsr[kPathBuffer];
  twin[0] = 0;
  return path[0] && PathUserRsrFile(rsr, path, kPathBuffer, ctx) && PathWithExtRsq(twin, rsr, kPathBuffer);
}

int AppendEntry(DriverContext* ctx, LPCWSTR countKey, LONG limit, LPCWSTR prefix, LPCWSTR file, LPCWSTR name,
                LPCWSTR comment) {
  const PrinterIni p(ctx);
  if (!p.ini[0]) return 0;
  StoreMutexHold hold(ctx);
  const LONG n = StoreReadCount(p.printer, countKey, limit, p.ini);
  // A full list takes no entry: one beyond the count's limit would never be listed.
  if (n >= limit) return 0;
  WCHAR key[kKeyChars], value[16];
  BOOL ok = p.Write(StoreFormatKey(key, kKeyChars, prefix, n, nullptr), file ? file : TEXT(""));
  ok = p.Write(StoreFormatKey(key, kKeyChars, prefix, n, TEXT("Name")), name ? name : TEXT("")) && ok;
  if (comment) ok = p.Write(StoreFormatKey(key, kKeyChars, prefix, n, TEXT("Comment")), comment) && ok;
  ok = p.Write(countKey, StoreFormatNumber(value, n + 1)) && ok;
  return ok ? 1 : 0;
}

}  // namespace

WCHAR* PresetKeyName(WCHAR* buffer, DWORD cchBuffer, int n, int kind) {
  return StoreFormatKey(buffer, cchBuffer, TEXT("PresetList"), n,
                        kind == 1 ? TEXT("Name") : kind == 2 ? TEXT("Comment") : nullptr);
}

WCHAR* QualityKeyName(WCHAR* buffer, DWORD cchBuffer, int n) {
  return StoreFormatKey(buffer, cchBuffer, TEXT("QualityList"), n, nullptr);
}

int PresetIsSettingsFileTarget(LPCWSTR path) {
  if (!path || !((path[0] >= u'A' && path[0] <= u'Z') || (path[0] >= u'a' && path[0] <= u'z')) || path[1] != u':' ||
      path[2] != u'\\')
    return 0;
  // Only the canonical spelling is taken, so that the folder comparison of the callers sees the
  // file the system would open: no empty, "." or ".." part, none ending in a dot or blank
  // (the system drops those), no slash and no stream after the drive.
  for (const WCHAR* part = path + 3;;) {
    const WCHAR* end = part;
    while (*end && *end != u'\\') {
      if (*end == u'/' || *end == u':') return 0;
      ++end;
    }
    if (end == part || end[-1] == u'.' || end[-1] == u' ') return 0;
    if (!*end) break;
    part = end + 1;
  }
  int count = 0;
  LPCWSTR ext = PathFindExtension(path, &count);
  if (count != 3 || !ext) return 0;
  WCHAR e[4] = {ext[0], ext[1], ext[2], 0};
  for (LPCWSTR ok : {TEXT("rst"), TEXT("rsr"), TEXT("rsd"), TEXT("rsq"), TEXT("rsb")})
    if (EqualNoCase(e, ok)) return 1;
  return 0;
}

int PresetGetCount(DriverContext* ctx) {
  const PrinterIni p(ctx);
  return int(StoreReadCount(p.printer, TEXT("Count"), kStoreLimitPresets, p.ini));
}

void PresetApplySlot(DriverContext* ctx, int n) {
  if (!ctx || !ctx->ui) return;
  if (n >= 0 && n < kPresetSlots) {
    WCHAR key[kKeyChars];
    PresetApplyUser(ctx, PresetKeyName(key, kKeyChars, n, 0));
    return;
  }
  if (BuildGetVariant().presetPlainApply) return;  // the plain form never reads the name either
  ItemSetRawById(ctx, kIdPresetName, 0);
  ItemSetRawById(ctx, kIdPresetComment, 0);
}

void PresetApplyUser(DriverContext* ctx, LPCWSTR key) { ApplyUser(ctx, key, true); }

int PresetApplySlotFromFile(DriverContext* ctx, int n) {
  if (!ctx || !ctx->ui || n < 0 || n >= kPresetSlots) return 0;
  WCHAR key[kKeyChars];
  return ApplyUser(ctx, PresetKeyName(key, kKeyChars, n, 0), false) ? 1 : 0;
}
void PresetApplyFactory(DriverContext* ctx, int n) { ApplyFactory(ctx, n, true); }

int PresetSaveFile(DriverContext* ctx, LPCWSTR key) { return SaveFile(ctx, key, kStoreFilePreset, true); }
int PresetSaveItems(DriverContext* ctx, LPCWSTR key) { return SaveFile(ctx, key, kStoreFilePreset, false); }

int PresetSaveSlot(DriverContext* ctx, int n) {
  if (n < 0 || n >= kPresetSlots) return 0;
  WCHAR key[kKeyChars];
  return PresetSaveFile(ctx, PresetKeyName(key, kKeyChars, n, 0));
}

int PresetSaveSlotItems(DriverContext* ctx, int n) {
  if (n < 0 || n >= kPresetSlots) return 0;
  WCHAR key[kKeyChars];
  return PresetSaveItems(ctx, PresetKeyName(key, kKeyChars, n, 0));
}

int PresetFileIsWritable(DriverContext* ctx, LPCWSTR path) {
  if (!ctx || !path || !path[0]) return 1;
  WCHAR printer[kSectionChars];
  StoreCopyPrinterName(ctx, printer, kSectionChars);
  return IniReadInt(printer, TEXT("Readonly"), 0, path) == 1 ? 0 : 1;
}

int PresetSlotIsWritable(DriverContext* ctx, int n) {
  if (!ctx || n < 0 || n >= kPresetSlots) return 0;
  WCHAR key[kKeyChars], path[kPathBuffer];
  PrinterIni(ctx).Read(PresetKeyName(key, kKeyChars, n, 0), path, kPathBuffer);
  return PresetFileIsWritable(ctx, path);
}

int PresetNewUserFile(DriverContext* ctx, WCHAR* path, DWORD cchPath) {
  if (!path || !cchPath) return 0;
  path[0] = 0;
  if (!ctx || !ctx->ui) return 0;
  WCHAR folder[kPathBuffer];
  int found = OsIsMultiSessionHost(ctx->printer) && !(ctx->ui->openKind & 0x40000)
                  ? PathGetSessionSettingsFolder(folder, kPathBuffer, ctx)
                  : PathGetSettingsFolder(folder, kPathBuffer, ctx);
  if (!found) return 0;
  WCHAR printer[kSectionChars], name[16] = TEXT("user0000.rst"), candidate[kPathBuffer];
  StoreCopyPrinterName(ctx, printer, kSectionChars);
  const DWORD folderChars = StrWideLength(folder);
  for (int n = 0; n < kUserFiles; ++n) {
    name[4] = WCHAR(u'0' + n / 1000);
    name[5] = WCHAR(u'0' + n / 100 % 10);
    name[6] = WCHAR(u'0' + n / 10 % 10);
    name[7] = WCHAR(u'0' + n % 10);
    if (!StrJoin(candidate, kPathBuffer, folder, folderChars, TEXT("\\")) ||
        !StrJoin(candidate, kPathBuffer, candidate, StrWideLength(candidate), name))
      return 0;
    if (IniReadInt(printer, TEXT("RstMachine"), 0, candidate) == 0) return StrCopyIfFits(path, cchPath, candidate);
  }
  return 0;
}

int PresetAssignUserFile(DriverContext* ctx, int n) {
  if (!ctx || !ctx->ui || n < 0 || n >= kPresetSlots) return 0;
  const PrinterIni p(ctx);
  WCHAR key[kKeyChars], path[kPathBuffer];
  PresetKeyName(key, kKeyChars, n, 0);
  p.Read(key, path, kPathBuffer);
  const DWORD length = StrWideLength(path);
  bool fresh = length == 0;
  if (!fresh) {
    if (length < 3) return 1;
    fresh = path[length - 1] == u'r' || path[length - 1] == u'R';
  }
  if (!fresh) return 1;
  if (!PresetNewUserFile(ctx, path, kPathBuffer)) return 0;
  StoreMutexHold hold(ctx);
  return p.Write(key, path) ? 1 : 0;
}

void PresetRefreshAll(DriverContext* ctx) {
  if (!ctx || !ctx->ui || !ctx->settings) return;
  // The cache stays out of it: each apply reads its file.
  PresetCacheOp(ctx, nullptr, kPresetCacheFreeAll);
  const PrinterIni p(ctx);
  const LONG count = PresetGetCount(ctx);
  CtxSnapshotPush(ctx);
  for (LONG n = 0; n < count; ++n) {
    WCHAR key[kKeyChars], path[kPathBuffer], readOnly[16] = {};
    PresetKeyName(key, kKeyChars, int(n), 0);
    p.Read(key, path, kPathBuffer);
    if (path[0]) IniReadString(p.printer, TEXT("Readonly"), TEXT(""), readOnly, 16, path);
    ApplyFactory(ctx, int(n), false);
    // A file the user's load refused (another language, machine or version) is not the
    // settings now applied: saving would overwrite it with preset 0's values.
    if (!ApplyUser(ctx, key, false)) continue;
    if (!PresetSaveSlot(ctx, int(n))) continue;
    if (readOnly[0] && path[0]) {
      StoreMutexHold hold(ctx);
      IniWriteString(p.printer, TEXT("Readonly"), readOnly, path);
    }
  }
  CtxSnapshotPop(ctx, TRUE);
  PresetCacheOp(ctx, nullptr, kPresetCacheFreeAll);
}

char* PresetNameBuf(DriverContext* ctx) { return ItemBytes(ctx, kIdPresetName); }
char* PresetCommentBuf(DriverContext* ctx) { return ItemBytes(ctx, kIdPresetComment); }

int PresetAppendEntry(DriverContext* ctx, LPCWSTR path, LPCWSTR name, LPCWSTR comment) {
  if (!ctx || !ctx->ui) return 0;
  AppendEntry(ctx, TEXT("Count"), kStoreLimitPresets, TEXT("PresetList"), path, name, comment ? comment : TEXT(""));
  return PresetCacheOp(ctx, nullptr, kPresetCacheFreeAll);
}

int PresetClearList(DriverContext* ctx) {
  if (!ctx || !ctx->ui) return 0;
  const PrinterIni p(ctx);
  {
    StoreMutexHold hold(ctx);
    p.Write(TEXT("Count"), TEXT("0"));
  }
  return PresetCacheOp(ctx, nullptr, kPresetCacheFreeAll);
}

// ---- quality lists ----
int QualityGetCount(DriverContext* ctx) {
  const PrinterIni p(ctx);
  return int(StoreReadCount(p.printer, TEXT("QualityCount"), kStoreLimitQualityLists, p.ini));
}

void QualityLoadName(DriverContext* ctx, LPCWSTR key) {
  if (!ctx || !ctx->ui || !key) return;
  WCHAR keyName[kKeyChars], text[kTextBufferChars];
  PrinterIni(ctx).Read(WithSuffix(keyName, key, TEXT("Name")), text, kTextBufferChars);
  ItemSetText(ctx, ItemFind(ctx, kIdUserSetName), text);
}

void QualityApply(DriverContext* ctx, LPCWSTR key) {
  if (!ctx || !ctx->ui || !key) return;
  WCHAR path[kPathBuffer];
  PrinterIni(ctx).Read(key, path, kPathBuffer);
  StoreLoadSettingsFile(ctx->printer, path, kStoreFileQuality, ctx);
  if (!BuildGetVariant().userMacroSkipName) QualityLoadName(ctx, key);
}

void QualityApplySlot(DriverContext* ctx, int n) {
  if (n < 0) return;
  WCHAR key[kKeyChars];
  QualityApply(ctx, QualityKeyName(key, kKeyChars, n));
}

int QualityApplySlotFromFile(DriverContext* ctx, int n) {
  if (!ctx || !ctx->ui || n < 0) return 0;
  CtxSetFileStatus(ctx, kFileStatusOk);
  QualityApplySlot(ctx, n);
  return CtxGetFileStatus(ctx) == kFileStatusOk ? 1 : 0;
}

namespace {
int SaveQuality(DriverContext* ctx, LPCWSTR key, bool withName) {
  if (!ctx || !ctx->ui || !key) return 0;
  const PrinterIni p(ctx);
  WCHAR path[kPathBuffer];
  StoreMutexHold hold(ctx);
  if (!SaveTarget(ctx, p, key, path)) return 0;
  int result = StoreSaveSettingsFile(ctx->printer, path, kStoreFileQuality, ctx);
  if (result && withName) {
    WCHAR keyName[kKeyChars], text[kTextBufferChars] = {};
    ItemGetTextBounded(ctx, ItemFind(ctx, kIdUserSetName), text, kTextBufferChars);
    if (!p.Write(WithSuffix(keyName, key, TEXT("Name")), text)) result = 0;
  }
  return result;
}
}  // namespace

int QualitySaveList(DriverContext* ctx, LPCWSTR key) { return SaveQuality(ctx, key, true); }
int QualitySaveListItems(DriverContext* ctx, LPCWSTR key) { return SaveQuality(ctx, key, false); }

int QualitySaveSlot(DriverContext* ctx, int n) {
  if (n < 0) return 0;
  WCHAR key[kKeyChars];
  return QualitySaveList(ctx, QualityKeyName(key, kKeyChars, n));
}

int QualitySaveSlotFile(DriverContext* ctx, int n) { return QualityWriteSlotFile(ctx, n); }

int QualityWriteSlotFile(DriverContext* ctx, int n) {
  if (n < 0) return 0;
  WCHAR key[kKeyChars];
  return QualitySaveListItems(ctx, QualityKeyName(key, kKeyChars, n));
}

void QualityApplyFactory(DriverContext* ctx, LPCWSTR key) {
  if (!ctx || !ctx->ui || !key) return;
  WCHAR path[kPathBuffer], twin[kPathBuffer];
  PrinterIni(ctx).Read(key, path, kPathBuffer);
  if (!QualityTwin(ctx, path, twin)) return;
  StoreLoadSettingsFile(ctx->printer, twin, kStoreFileQuality | kStoreFileLanguageSection, ctx);
  QualityLoadName(ctx, key);
}

void QualityApplyFactorySlot(DriverContext* ctx, int n) {
  if (n < 0) return;
  WCHAR key[kKeyChars];
  QualityApplyFactory(ctx, QualityKeyName(key, kKeyChars, n));
}

void QualityReadFactoryName(DriverContext* ctx, LPCWSTR key) {
  if (!ctx || !ctx->ui || !key) return;
  WCHAR path[kPathBuffer], twin[kPathBuffer], text[kTextBufferChars] = {};
  PrinterIni(ctx).Read(key, path, kPathBuffer);
  if (!QualityTwin(ctx, path, twin)) return;
  IniReadString(ResGetLangCodeAlias(ctx), TEXT("qualityname"), TEXT(""), text, kTextBufferChars, twin);
  ItemSetText(ctx, ItemFind(ctx, kIdUserSetName), text);
}

void QualityReadFactoryNameSlot(DriverContext* ctx, int n) {
  if (n < 0) return;
  WCHAR key[kKeyChars];
  QualityReadFactoryName(ctx, QualityKeyName(key, kKeyChars, n));
}

void QualityRefreshAll(DriverContext* ctx) {
  if (!ctx || !ctx->ui || !ctx->settings) return;
  const LONG count = QualityGetCount(ctx);
  CtxSnapshotPush(ctx);
  for (LONG n = 0; n < count; ++n) {
    QualityApplyFactorySlot(ctx, int(n));
    if (QualityApplySlotFromFile(ctx, int(n))) QualitySaveSlot(ctx, int(n));
  }
  CtxSnapshotPop(ctx, TRUE);
}

int QualityAppendEntry(DriverContext* ctx, LPCWSTR file, LPCWSTR name) {
  if (!ctx || !ctx->ui) return 0;
  return AppendEntry(ctx, TEXT("QualityCount"), kStoreLimitQualityLists, TEXT("QualityList"), file, name, nullptr);
}

int QualityClearList(DriverContext* ctx) {
  if (!ctx || !ctx->ui) return 0;
  const PrinterIni p(ctx);
  StoreMutexHold hold(ctx);
  return p.Write(TEXT("QualityCount"), TEXT("0")) ? 1 : 0;
}
