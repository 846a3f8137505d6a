// Per-user settings kept where the driver no longer looks: preset and quality files of a user
// in the shared folder of a multi-session host, and the settings of the old low-integrity
// application-data folder.
#include "core/common/file_ops.h"
#include "core/common/ini_access.h"
#include "core/common/mem.h"
#include "core/common/os_tests.h"
#include "core/common/path_text.h"
#include "core/common/text.h"
#include "core/install/corrections.h"
#include "core/install/install_ini_defaults.h"
#include "core/store/store_keys.h"
#include "core/system/languages.h"
#include "core/system/printer_names.h"
#include "core/system/settings_folders.h"
#include "core/tables/model_record.h"

namespace {

const WCHAR kTsMarker[] = TEXT("TSIniCorrectDone");
const WCHAR kLocalLowMarker[] = TEXT("LocalLowCorrectDone");
const WCHAR kCondition[] = TEXT("condition");
const WCHAR kDisable[] = TEXT("disable");
// Written where no value can hold it, so that a missing key is told from an empty one.
const WCHAR kAbsent[] = TEXT("\r");
constexpr DWORD kNameChars = 261;
// The section buffer starts at the size the ini calls were long given and grows from there;
// a section is never cut. The bound keeps a broken file from taking all memory.
constexpr DWORD kSectionStartChars = 61440;
constexpr DWORD kSectionMaxChars = 16u << 20;

bool Join(WCHAR* out, const WCHAR* head, const WCHAR* tail) {
  return StrJoin(out, MAX_PATH, head, StrWideLength(head), tail) != 0;
}

// The folder of path with its trailing "\" (so "C:\a\b.rsr" gives "C:\a\").
bool FolderOf(const WCHAR* path, WCHAR* folder) {
  const WCHAR* leaf = PathFindLeaf(path);
  if (leaf == path) return false;
  DWORD n = DWORD(leaf - path);
  if (n >= MAX_PATH) return false;
  for (DWORD i = 0; i < n; ++i) folder[i] = path[i];
  folder[n] = 0;
  return true;
}

bool SameText(const WCHAR* a, const WCHAR* b) { return lstrcmpiW(a, b) == 0; }

// 1 when the value exists (even empty).
bool ReadValue(const WCHAR* section, const WCHAR* key, WCHAR* value, DWORD cchValue, const WCHAR* ini) {
  GetPrivateProfileStringW(section, key, kAbsent, value, cchValue, ini);
  return !(value[0] == u'\r' && !value[1]);
}

WCHAR* FormatKey(WCHAR* key, const WCHAR* format, int n, const WCHAR* tail = nullptr) {
  wsprintfW(key, format, n);
  if (tail) lstrcatW(key, tail);
  return key;
}

// The sections a list entry's file carries: the printer's, then for presets "condition" and
// "disable"; quality files as the kind says.
struct EntryKind {
  const WCHAR* countKey;
  const WCHAR* listFormat;
  bool withCondition;
  bool withDisable;
};

// Copies the sections of one list file to target.
enum CopyResult { kCopied, kSourceMissing, kWriteFailed };
CopyResult CopyEntrySections(const WCHAR* source, const WCHAR* target, const WCHAR* printerSection,
                             const EntryKind& kind) {
  if (GetFileAttributesW(source) == INVALID_FILE_ATTRIBUTES) return kSourceMissing;
  int failed = 0;
  InstCopyIniSection(source, target, printerSection, &failed);
  if (kind.withCondition) InstCopyIniSection(source, target, kCondition, &failed);
  if (kind.withDisable) InstCopyIniSection(source, target, kDisable, &failed);
  return failed ? kWriteFailed : kCopied;
}

// Results of a move of one list.
enum MoveResult { kMoved, kStopped, kNoPath };

// The entries of one list whose file lies in fromFolder are pointed at the same file name in
// toFolder once its sections were copied there. Strict, an entry that is empty, no path or
// without its name stops the move, as does a copy that failed; else such entries are passed
// over (a failed write sets *failed).
MoveResult MoveList(const WCHAR* ini, const WCHAR* section, const EntryKind& kind, int count, const WCHAR* fromFolder,
                    const WCHAR* toFolder, bool strict, int* failed = nullptr) {
  WCHAR key[64], nameKey[80], file[MAX_PATH], folder[MAX_PATH], target[MAX_PATH], name[kNameChars];
  for (int n = 0; n < count; ++n) {
    FormatKey(key, kind.listFormat, n);
    if (!ReadValue(section, key, file, MAX_PATH, ini)) file[0] = 0;
    bool isPath = file[0] && PathFindLeaf(file) != file;
    if (!isPath) {
      if (strict) return kStopped;
      continue;
    }
    if (strict && !ReadValue(section, FormatKey(nameKey, kind.listFormat, n, TEXT("Name")), name, kNameChars, ini))
      return kStopped;
    if (!FolderOf(file, folder) || !SameText(folder, fromFolder)) continue;
    if (!Join(target, toFolder, PathFindLeaf(file))) return kNoPath;
    // The entry is rewritten only once its file was copied. A file that is gone stops a strict
    // move; else the entry stays as it is, and there is nothing to take again later.
    CopyResult copy = CopyEntrySections(file, target, section, kind);
    bool written = copy == kCopied && WritePrivateProfileStringW(section, key, target, ini);
    if (!written && strict) return kStopped;
    if (!written && copy != kSourceMissing && failed) *failed = 1;
  }
  return kMoved;
}

const EntryKind kPresetKind = {TEXT("Count"), TEXT("PresetList%d"), true, true};
const EntryKind kQualityTsKind = {TEXT("QualityCount"), TEXT("QualityList%d"), false, false};
const EntryKind kQualityLocalLowKind = {TEXT("QualityCount"), TEXT("QualityList%d"), false, true};

// The per-user settings ini and its folder (trailing "\"), the per-machine settings ini's
// folder, the printer's section name.
struct UserPaths {
  WCHAR userIni[MAX_PATH];
  WCHAR userFolder[MAX_PATH];
  WCHAR section[kNameChars];
};

bool GetUserPaths(HANDLE printer, const PRINTER_INFO_2* info, UserPaths* paths) {
  paths->section[0] = 0;
  if (!PathSettingsFileOfFromInfo(paths->userIni, MAX_PATH, 1, printer, info)) return false;
  if (!FolderOf(paths->userIni, paths->userFolder)) return false;
  PrnGetPrinterNameOfFromInfo(printer, paths->section, kNameChars, info);
  // The section as the ini wrappers name it: the raw reads and writes here must find it.
  StoreSanitizeSection(paths->section);
  return paths->section[0] != 0;
}

// folder without its trailing "\", created when missing.
bool CreateFolder(const WCHAR* folder) {
  WCHAR path[MAX_PATH];
  lstrcpynW(path, folder, MAX_PATH);
  DWORD n = StrWideLength(path);
  if (n && path[n - 1] == u'\\') path[n - 1] = 0;
  return FileCreateDirectory(path) != 0;
}

// A value of the form "...%sysdir%...%leaf": the leaf after the last "%", when it names a file
// of the folder itself (no "\", no "..").
bool SysdirLeaf(const WCHAR* value, WCHAR* leaf) {
  static const WCHAR kToken[] = TEXT("%sysdir%");
  const DWORD tokenChars = 8;
  bool hasToken = false;
  DWORD length = StrWideLength(value);
  for (DWORD i = 0; i + tokenChars <= length && !hasToken; ++i) {
    WCHAR piece[9];
    lstrcpynW(piece, value + i, tokenChars + 1);
    hasToken = SameText(piece, kToken);
  }
  if (!hasToken) return false;
  const WCHAR* after = value;
  for (const WCHAR* p = value; *p; ++p)
    if (*p == u'%') after = p + 1;
  if (!after[0] || StrWideLength(after) >= MAX_PATH) return false;
  for (const WCHAR* p = after; *p; ++p) {
    if (*p == u'\\' || *p == u'/' || *p == u':') return false;
    if (p[0] == u'.' && p[1] == u'.') return false;
  }
  lstrcpyW(leaf, after);
  return true;
}

// The pack's listed "%sysdir%" files from fromFolder to toFolder (overwriting).
void CopyPackFiles(const WCHAR* pack, const WCHAR* lang, const WCHAR* numKey, const WCHAR* format,
                   const WCHAR* fromFolder, const WCHAR* toFolder, int* failed) {
  UINT count = GetPrivateProfileIntW(lang, numKey, 0, pack);
  if (count > 0xFFFF) count = 0;
  WCHAR key[64], value[MAX_PATH], leaf[MAX_PATH], source[MAX_PATH], target[MAX_PATH];
  for (UINT n = 1; n <= count; ++n) {
    wsprintfW(key, format, n);
    GetPrivateProfileStringW(lang, key, TEXT(""), value, MAX_PATH, pack);
    if (!SysdirLeaf(value, leaf)) continue;
    if (!Join(source, fromFolder, leaf) || !Join(target, toFolder, leaf)) continue;
    if (GetFileAttributesW(source) == INVALID_FILE_ATTRIBUTES) continue;
    if (!FileCopyNormal(source, target, FALSE)) *failed = 1;
  }
}

// A value that points into fromFolder is pointed at the same place under toFolder.
void RebaseValue(const WCHAR* section, const WCHAR* key, const WCHAR* ini, const WCHAR* fromFolder,
                 const WCHAR* toFolder, int* failed) {
  WCHAR value[MAX_PATH], head[MAX_PATH], moved[MAX_PATH];
  GetPrivateProfileStringW(section, key, TEXT(""), value, MAX_PATH, ini);
  DWORD fromChars = StrWideLength(fromFolder);
  // The folder itself without its "\" counts too.
  DWORD valueChars = StrWideLength(value);
  if (valueChars + 1 < fromChars || !valueChars) return;
  lstrcpynW(head, value, int(fromChars) + 1);
  if (valueChars + 1 == fromChars) lstrcatW(head, TEXT("\\"));
  if (!SameText(head, fromFolder)) return;
  const WCHAR* rest = valueChars + 1 == fromChars ? TEXT("") : value + fromChars;
  WCHAR to[MAX_PATH];
  lstrcpynW(to, toFolder, MAX_PATH);
  if (!rest[0]) {
    DWORD n = StrWideLength(to);
    if (n && to[n - 1] == u'\\') to[n - 1] = 0;
  }
  if (!Join(moved, to, rest)) return;
  if (!WritePrivateProfileStringW(section, key, moved, ini)) *failed = 1;
}

}  // namespace

int InstCopyIniSection(LPCWSTR source, LPCWSTR target, LPCWSTR section, int* failed) {
  return InstCopyIniSectionAs(source, section, target, section, failed);
}

int InstCopyIniSectionAs(LPCWSTR source, LPCWSTR sourceSection, LPCWSTR target, LPCWSTR targetSection, int* failed) {
  if (!source || !target || !sourceSection || !targetSection) return 0;
  const WCHAR* section = sourceSection;
  for (DWORD chars = kSectionStartChars; chars <= kSectionMaxChars; chars *= 2) {
    WCHAR* buffer = static_cast<WCHAR*>(MemAllocZero(SIZE_T(chars) * sizeof(WCHAR)));
    if (!buffer) break;
    DWORD got = GetPrivateProfileSectionW(section, buffer, chars, source);
    if (got + 2 >= chars) {  // cut: read it again into a larger buffer
      MemFree(buffer);
      continue;
    }
    int copied = 0;
    if (got) {
      copied = WritePrivateProfileSectionW(targetSection, buffer, target) ? 1 : 0;
      if (!copied && failed) *failed = 1;
    }
    MemFree(buffer);
    return copied;
  }
  if (failed) *failed = 1;
  return 0;
}

int InstTsCorrectionState(HANDLE printer, const PRINTER_INFO_2* info) {
  if (!info) return 0;
  UserPaths paths;
  if (!GetUserPaths(printer, info, &paths)) return 1;
  if (GetFileAttributesW(paths.userIni) == INVALID_FILE_ATTRIBUTES) return 3;
  if (GetPrivateProfileIntW(paths.section, kTsMarker, 0, paths.userIni) == 1) return 0;
  WCHAR value[16];
  return ReadValue(paths.section, TEXT("Count"), value, 16, paths.userIni) ? 2 : 3;
}

int InstTsCorrectUserIni(HANDLE printer, const PRINTER_INFO_2* info) {
  if (!info) return 0;
  UserPaths paths;
  WCHAR machineIni[MAX_PATH], machineFolder[MAX_PATH];
  if (!GetUserPaths(printer, info, &paths)) return 1;
  if (!PathSettingsFileOfFromInfo(machineIni, MAX_PATH, 0, printer, info) || !FolderOf(machineIni, machineFolder))
    return 1;
  if (!CreateFolder(paths.userFolder)) return 3;
  const EntryKind* kinds[] = {&kPresetKind, &kQualityTsKind};
  for (const EntryKind* kind : kinds) {
    int count = int(StoreReadCount(paths.section, kind->countKey, StoreCountLimit(kind->countKey), paths.userIni));
    MoveResult r = MoveList(paths.userIni, paths.section, *kind, count, machineFolder, paths.userFolder, true);
    if (r == kNoPath) return 1;
    if (r == kStopped) return 3;
  }
  if (!InstWriteUserJobFolders(printer)) return 3;
  return WritePrivateProfileStringW(paths.section, kTsMarker, TEXT("1"), paths.userIni) ? 0 : 3;
}

int InstLocalLowCorrect(HANDLE printer, const PRINTER_INFO_2* info) {
  if (!OsIsVistaOrLater()) return 1;
  UserPaths paths;
  if (!GetUserPaths(printer, info, &paths)) return 0;
  WCHAR lang[16];
  lstrcpynW(lang, ResLangCodeFromPrinterHelp(printer), 16);
  bool printerNeeds = GetPrivateProfileIntW(paths.section, kLocalLowMarker, 0, paths.userIni) != 1;
  bool langNeeds = GetPrivateProfileIntW(lang, kLocalLowMarker, 0, paths.userIni) != 1;
  if (!printerNeeds && !langNeeds) return 1;

  int failed = 0;
  WCHAR localLow[MAX_PATH], oldFolder[MAX_PATH], oldIni[MAX_PATH];
  bool found = CreateFolder(paths.userFolder) && PathGetLocalLowFolder(localLow, MAX_PATH) &&
               Join(oldFolder, localLow, TEXT("\\_zems\\")) &&
               Join(oldIni, oldFolder, TblGetModelRecord()->settingsIniName) &&
               GetFileAttributesW(oldIni) != INVALID_FILE_ATTRIBUTES;
  if (found && printerNeeds && InstCopyIniSection(oldIni, paths.userIni, paths.section, &failed)) {
    int presets = int(StoreReadCount(paths.section, TEXT("Count"), kStoreLimitPresets, oldIni));
    int qualities = int(StoreReadCount(paths.section, TEXT("QualityCount"), kStoreLimitQualityLists, oldIni));
    if (MoveList(paths.userIni, paths.section, kPresetKind, presets, oldFolder, paths.userFolder, false, &failed) ==
            kNoPath ||
        MoveList(paths.userIni, paths.section, kQualityLocalLowKind, qualities, oldFolder, paths.userFolder, false,
                 &failed) == kNoPath)
      failed = 1;
    RebaseValue(paths.section, TEXT("DrvDefJobMergePath"), paths.userIni, oldFolder, paths.userFolder, &failed);
    RebaseValue(paths.section, TEXT("DrvDefPreviewPath"), paths.userIni, oldFolder, paths.userFolder, &failed);
  }
  if (found && langNeeds && InstCopyIniSection(oldIni, paths.userIni, lang, &failed)) {
    InstCopyIniSection(oldIni, paths.userIni, TEXT("PrinterInformation"), &failed);
    static const struct {
      const WCHAR* countKey;
      const WCHAR* format;
    } kLists[] = {{TEXT("StampCount"), TEXT("Stamp%d%s")},
                  {TEXT("FreeSizeCount"), TEXT("FreeSize%d%s")},
                  {TEXT("CmmCount"), TEXT("ColorMatching%d%s")}};
    for (const auto& list : kLists) {
      const UINT count = UINT(StoreReadCount(lang, list.countKey, StoreCountLimit(list.countKey), oldIni));
      for (UINT n = 0; n < count; ++n) {
        WCHAR section[64];
        wsprintfW(section, list.format, int(n), lang);
        InstCopyIniSection(oldIni, paths.userIni, section, &failed);
      }
    }
    WCHAR pack[MAX_PATH];
    GetPrivateProfileStringW(paths.section, TEXT("DefaultRst"), TEXT(""), pack, MAX_PATH, paths.userIni);
    if (pack[0]) {
      CopyPackFiles(pack, lang, TEXT("NumDeficonfiles"), TEXT("Deficonfiles%u"), oldFolder, paths.userFolder, &failed);
      CopyPackFiles(pack, lang, TEXT("NumDefqualityfiles"), TEXT("Defqualityfiles%u"), oldFolder, paths.userFolder,
                    &failed);
    }
  }
  // A write that failed leaves the marker unwritten, so the next run takes the settings again.
  if (!failed) {
    if (printerNeeds) WritePrivateProfileStringW(paths.section, kLocalLowMarker, TEXT("1"), paths.userIni);
    if (langNeeds) WritePrivateProfileStringW(lang, kLocalLowMarker, TEXT("1"), paths.userIni);
  }
  return 1;
}
