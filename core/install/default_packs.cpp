// Default packs: splitting a combined pack into its preset and quality files, and importing a
// pack's preset and quality files into the printer's lists with per-printer ".rsr" copies.
#include "core/install/default_packs.h"

#include "core/common/file_ops.h"
#include "core/common/ini_access.h"
#include "core/common/mem.h"
#include "core/common/path_text.h"
#include "core/common/text.h"
#include "core/modules/preset_cache.h"
#include "core/install/corrections.h"
#include "core/store/preset_files.h"
#include "core/context/driver_context_fwd.h"
#include "core/store/preset_store.h"
#include "core/store/settings_file.h"
#include "core/store/settings_stores.h"
#include "core/store/store_keys.h"
#include "core/system/driver_files.h"
#include "core/system/driver_paths.h"
#include "core/system/languages.h"
#include "core/system/printer_names.h"
#include "core/system/settings_folders.h"
#include "core/system/sub_dialog.h"
#include "core/tables/component_files.h"
#include "core/tables/model_record.h"

namespace {

constexpr DWORD kPath = 260;
constexpr DWORD kKey = 40;
constexpr WORD kCopyReplace = 2;

struct Group {
  LPCWSTR countKey;
  LPCWSTR entryKey;
  LPCWSTR doneKey;
  DWORD fileGroup;
  bool presets;
};

const Group kPresets = {TEXT("NumDeficonfiles"), TEXT("Deficonfiles"), TEXT("DrvInstPresetDone"), kStoreFilePreset, true};
const Group kQualities = {TEXT("NumDefqualityfiles"), TEXT("Defqualityfiles"), TEXT("DrvInstQualityDone"),
                          kStoreFileQuality, false};

WCHAR Lower(WCHAR c) { return c >= u'A' && c <= u'Z' ? WCHAR(c - u'A' + u'a') : c; }

// key followed by the decimal digits of n.
void NumberedKey(WCHAR* buffer, LPCWSTR key, unsigned n) {
  WCHAR digits[12];
  int count = 0;
  do {
    digits[count++] = WCHAR(u'0' + n % 10);
    n /= 10;
  } while (n);
  DWORD length = StrWideLength(key);
  if (length + count + 1 > kKey) {
    buffer[0] = 0;
    return;
  }
  for (DWORD i = 0; i < length; ++i) buffer[i] = key[i];
  for (int i = 0; i < count; ++i) buffer[length + i] = digits[count - 1 - i];
  buffer[length + count] = 0;
}

bool DriveRooted(LPCWSTR path) {
  return path && ((path[0] >= u'A' && path[0] <= u'Z') || (path[0] >= u'a' && path[0] <= u'z')) && path[1] == u':' &&
         path[2] == u'\\';
}

// The entry count of a pack's group; 0 when absent (read as 0xFFFF).
int EntryCount(LPCWSTR pack, LPCWSTR section, LPCWSTR key) {
  return int(StoreReadCount(section, key, StoreCountLimit(key), pack));
}

// Entry n of a pack's group, resolved; false when it is missing or does not resolve.
bool ReadEntry(LPCWSTR pack, LPCWSTR section, LPCWSTR key, unsigned n, WCHAR* path, DriverContext* ctx) {
  WCHAR name[kKey];
  NumberedKey(name, key, n);
  if (!name[0]) return false;
  path[0] = 0;
  if (IniReadString(section, name, TEXT(""), path, kPath, pack) == 0) return false;
  return PresetResolveListPath(path, kPath, ctx) == 1;
}

// The combined file's sections "<word><leaf>" for every entry of the group go into the entry's
// file as section "<word>".
void SplitGroup(LPCWSTR pack, LPCWSTR lang, const Group& group, DriverContext* ctx) {
  WCHAR key[kKey];
  NumberedKey(key, group.entryKey, 0);
  WCHAR combined[kPath];
  if (IniReadString(lang, key, TEXT(""), combined, kPath, pack) == 0) return;
  if (!PresetResolveListPath(combined, kPath, ctx) || !FileExists(combined)) return;
  const int count = EntryCount(pack, lang, group.countKey);
  for (int n = 1; n <= count; ++n) {
    WCHAR file[kPath];
    if (!ReadEntry(pack, lang, group.entryKey, unsigned(n), file, ctx)) continue;
    if (!StorePathIsDriverTarget(file, ctx)) continue;
    LPCWSTR leaf = PathFindLeaf(file);
    LPCWSTR words[3] = {TEXT("condition"), TEXT("disable"), lang};
    for (int w = group.presets ? 0 : 2; w < 3; ++w) {
      WCHAR from[2 * kPath];
      if (!StrJoin(from, 2 * kPath, words[w], StrWideLength(words[w]), leaf)) continue;
      InstCopyIniSectionAs(combined, from, file, words[w], nullptr);
    }
  }
}

bool MatchesOldEntry(LPCWSTR rsr, int oldCount, const WCHAR* oldEntries) {
  if (!oldEntries) return false;
  LPCWSTR leaf = PathFindLeaf(rsr);
  for (int i = 0; i < oldCount; ++i) {
    LPCWSTR old = PathFindLeaf(oldEntries + size_t(i) * kPath);
    int k = 0;
    while (k < 8 && leaf[k] && Lower(leaf[k]) == Lower(old[k])) ++k;
    if (k == 8 || (!leaf[k] && !old[k])) return true;
  }
  return false;
}

// The ".rsr" copy of one entry made, kept or refreshed (flag 0x2); its result.
int CopyEntry(LPCWSTR file, LPCWSTR rsr, const Group& group, DWORD flags, DriverContext* ctx) {
  if (!StorePathIsDriverTarget(file, ctx) || !StorePathIsDriverTarget(rsr, ctx)) return 0;
  int result = FileCopyFromDriverDir(file, PathFindLeaf(file), kCopyReplace, ctx) ? 1 : 0;
  if (!result && (flags & 0x100)) result = FileCopyFromDriverDir(file, PathFindLeaf(file), kCopyReplace, ctx) ? 1 : 0;
  if (!FileExists(rsr)) {
    if (flags & 0x100) FileCopyFromDriverDir(rsr, PathFindLeaf(file), kCopyIfMissing, ctx);
    if (!PresetHasSettingsHeader(rsr, ctx)) PresetCopyFile(rsr, file, group.fileGroup, ctx);
    return 1;
  }
  if (!(flags & 0x1000)) PresetCopyFile(rsr, file, group.fileGroup, ctx);
  return result;
}

// The printer's preset or quality list as an import rewrites it: entries are written at the
// next index, the count only by Finish and only when every entry was written.
class ListWriter {
 public:
  ListWriter(DriverContext* ctx, const WCHAR* ini, const Group& group)
      : ctx_(ctx), ini_(ini), group_(group), printer_(PrnGetPrinterName(ctx)) {
    count_ = int(StoreReadCount(printer_, CountKey(), StoreCountLimit(CountKey()), ini_));
  }
  // The list starts again from its first entry.
  void Restart() {
    count_ = 0;
    changed_ = true;
  }
  int Count() const { return count_; }
  void Append(LPCWSTR path, LPCWSTR name, LPCWSTR comment) {
    WCHAR key[kKey + 8];
    const WCHAR* prefix = group_.presets ? TEXT("PresetList") : TEXT("QualityList");
    bool ok;
    {
      StoreMutexHold hold(ctx_);
      ok = IniWriteString(printer_, Numbered(key, prefix, nullptr), path, ini_) != FALSE;
      ok = ok && IniWriteString(printer_, Numbered(key, prefix, TEXT("Name")), name ? name : TEXT(""), ini_) != FALSE;
      if (comment) ok = ok && IniWriteString(printer_, Numbered(key, prefix, TEXT("Comment")), comment, ini_) != FALSE;
    }
    if (!ok) failed_ = true;
    ++count_;
    changed_ = true;
  }
  // Writes the count when the list changed and every entry was written; false when a write
  // failed (the previous count then stays).
  bool Finish() {
    if (ctx_) PresetCacheOp(ctx_, nullptr, kPresetCacheFreeAll);
    if (!changed_) return true;
    if (failed_) return false;
    WCHAR number[16];
    StoreMutexHold hold(ctx_);
    return IniWriteString(printer_, CountKey(), StoreFormatNumber(number, count_), ini_) != FALSE;
  }

 private:
  const WCHAR* CountKey() const { return group_.presets ? TEXT("Count") : TEXT("QualityCount"); }
  WCHAR* Numbered(WCHAR* buffer, const WCHAR* prefix, const WCHAR* suffix) const {
    return StoreFormatKey(buffer, kKey + 8, prefix, count_, suffix);
  }

  DriverContext* ctx_;
  const WCHAR* ini_;
  const Group& group_;
  const WCHAR* printer_;
  int count_ = 0;
  bool changed_ = false;
  bool failed_ = false;
};

int ImportGroup(LPCWSTR pack, LPCWSTR section, DWORD flags, DriverContext* ctx, int oldCount, const WCHAR* oldEntries,
                const Group& group) {
  if (!ctx || !pack || !section) return 0;
  const WCHAR* ini = PathSettingsFile(ctx);
  if (!DriveRooted(ini)) return 0;
  const int count = EntryCount(pack, section, group.countKey);
  // The list is rewritten in place: the new entries over the old ones and the count last, so a
  // write that fails (a full disk) leaves the previous count, never a cleared list.
  ListWriter entries(ctx, ini, group);
  if (flags & 0x1) {
    if (!group.presets || (!(flags & 0x80) && (flags & 0x140) != 0x140)) entries.Restart();
  }
  WCHAR* file = static_cast<WCHAR*>(MemAllocZero(4 * kPath * sizeof(WCHAR)));
  if (!file) return 0;
  WCHAR* rsr = file + kPath;
  WCHAR* name = rsr + kPath;
  WCHAR* comment = name + kPath;
  int result = 1;
  for (int n = 1; n <= count; ++n) {
    if (!ReadEntry(pack, section, group.entryKey, unsigned(n), file, ctx)) continue;
    if (!StorePathIsDriverTarget(file, ctx)) continue;
    if (!PathUserRsrFile(rsr, file, kPath, ctx) || !StorePathIsDriverTarget(rsr, ctx)) continue;
    if (flags & 0x1) {
      bool list;
      if (!group.presets) {
        list = true;
      } else if (flags & 0x40) {
        const bool passes =
            PresetEvalConditions(file, ctx) && PresetIsEnabledForDriver(file, ctx) && PresetWatermarkFuncAllows(file, ctx);
        if (flags & 0x100)
          list = passes;
        else
          list = passes && (flags & 0x80) && n != 1 && !MatchesOldEntry(rsr, oldCount, oldEntries);
        if (list && !(flags & 0x100) && !PresetHasSettingsHeader(rsr, ctx)) PresetCopyFile(rsr, file, group.fileGroup, ctx);
      } else {
        list = PresetIsEnabledForDriver(file, ctx) != 0;
      }
      if (list) {
        if (group.presets) {
          if (entries.Count() + 1 > kStoreLimitPresets) break;
          PresetReadNameAndComment(file, section, name, comment);
          entries.Append(rsr, name[0] ? name : TEXT("NoName"), comment);
        } else {
          QualityReadName(file, section, name);
          entries.Append(rsr, name, nullptr);
        }
        if (flags & 0x10) PresetCopyFile(rsr, file, group.fileGroup, ctx);
      }
    }
    // One failed entry fails the import; the later entries are still copied.
    if ((flags & 0x2) && !CopyEntry(file, rsr, group, flags, ctx)) result = 0;
    if (flags & 0x20) FileDelete(rsr);
  }
  MemFree(file);
  if (!entries.Finish()) result = 0;
  if ((flags & 0x100) && result && StorePathIsDriverTarget(pack, ctx)) IniWriteString(section, group.doneKey, TEXT("1"), pack);
  return result;
}

}  // namespace

int InstImportPresetFiles(const WCHAR* pack, const WCHAR* section, DWORD flags, DriverContext* ctx, int oldCount,
                          const WCHAR* oldEntries) {
  return ImportGroup(pack, section, flags, ctx, oldCount, oldEntries, kPresets);
}

int InstImportQualityFiles(const WCHAR* pack, const WCHAR* section, DWORD flags, DriverContext* ctx) {
  return ImportGroup(pack, section, flags, ctx, 0, nullptr, kQualities);
}

int InstSplitDefaultPack(DriverContext* ctx) {
  if (!ctx) return 1;
  LPCWSTR lang = ResGetLangCode(ctx);
  const WCHAR* model = PathModelDataFile(ctx);
  if (!lang || !lang[0] || !model || !model[0]) return 1;
  WCHAR pack[kPath];
  if (IniReadString(lang, TEXT("DefaultRst"), TEXT(""), pack, kPath, model) == 0) return 1;
  if (!PathResolveInDriverFolder(pack, kPath, ctx) || !FileExists(pack)) return 1;
  SplitGroup(pack, lang, kPresets, ctx);
  SplitGroup(pack, lang, kQualities, ctx);
  return 1;
}

int InstHasBatchPack(DriverContext* ctx) {
  if (!ctx) return 0;
  const WCHAR* path = PathSettingsFile(ctx);
  if (!path || !path[0]) return 0;
  WCHAR value[8] = {};
  return IniReadString(PrnGetPrinterName(ctx), TEXT("BatchInstRst"), TEXT(""), value, 8, path) > 0 ? 1 : 0;
}

int InstImportInstallFiles(DriverContext* ctx, DWORD flags) {
  if (!ctx) return 0;
  if (!InstSplitDefaultPack(ctx)) return 0;
  WCHAR* buffers = static_cast<WCHAR*>(MemAllocZero(2 * kPath * sizeof(WCHAR)));
  if (!buffers) return 0;
  WCHAR* target = buffers;
  WCHAR* pack = buffers + kPath;
  LPCWSTR lang = ResGetLangCode(ctx);
  const WCHAR* model = PathModelDataFile(ctx);
  if (lang && lang[0] && model && model[0]) {
    const int count = EntryCount(model, lang, TEXT("NumInstallfiles"));
    for (int n = 1; n <= count; ++n) {
      WCHAR key[kKey];
      NumberedKey(key, TEXT("Installfiles"), unsigned(n));
      if (!key[0] || IniReadString(lang, key, TEXT(""), target, kPath, model) == 0) continue;
      if (!InstallResolveFilePath(target, kPath, ctx) || !StorePathIsInstallFileTarget(target, ctx)) continue;
      FileCopyFromDriverDir(target, PathFindLeaf(target), kCopyReplace, ctx);
    }
    if (IniReadString(lang, TEXT("DefaultRst"), TEXT(""), pack, kPath, model) > 0 &&
        PathResolveInDriverFolder(pack, kPath, ctx)) {
      InstImportPresetFiles(pack, lang, flags | 0x2, ctx, 0, nullptr);
      InstImportQualityFiles(pack, lang, flags | 0x2, ctx);
    }
  }
  const ModelRecord* record = TblGetModelRecord();
  if (record) {
    if (record->companionDll1) FileCopyFromDriverFolder(record->companionDll1, nullptr, kCopyReplace, ctx);
    if (record->companionDll2) FileCopyFromDriverFolder(record->companionDll2, nullptr, kCopyReplace, ctx);
  }
  MemFree(buffers);
  return 1;
}

int InstCopyComponentFiles(HANDLE printer) {
  DRIVER_INFO_3* info = static_cast<DRIVER_INFO_3*>(PrnGetDriverInfo(printer, 3));
  if (!info) return 0;
  WCHAR* buffers = static_cast<WCHAR*>(MemAllocZero(2 * kPath * sizeof(WCHAR)));
  if (!buffers) {
    MemFree(info);
    return 0;
  }
  WCHAR* driver = buffers;
  WCHAR* system = buffers + kPath;
  PathGetDriverDirOfFromInfo(printer, driver, kPath, info);
  UINT systemChars = GetSystemDirectoryW(system, kPath - 1);
  int result = 0;
  if (driver[0] && systemChars && systemChars < kPath - 1) {
    if (system[systemChars - 1] != u'\\') {
      system[systemChars] = u'\\';
      system[systemChars + 1] = 0;
    }
    HANDLE token = UiRevertToPrinterSelf();
    for (const ComponentFileRow* row = TblGetComponentFiles(); row && row->name; ++row)
      if (row->kind == kComponentCopyToSystem) FileCopyBetweenFolders(row->name, driver, system, kCopyReplace);
    const ModelRecord* record = TblGetModelRecord();
    if (record && record->companionDll1) FileCopyBetweenFolders(record->companionDll1, driver, system, kCopyReplace);
    if (record && record->companionDll2) FileCopyBetweenFolders(record->companionDll2, driver, system, kCopyReplace);
    UiImpersonatePrinterClient(token);
    result = 1;
  }
  MemFree(buffers);
  MemFree(info);
  return result;
}
