// The settings package: names, export and removal.
#include "core/install/package_export.h"

#include "core/common/file_ops.h"
#include "core/common/ini_access.h"
#include "core/common/mem.h"
#include "core/common/text.h"
#include "core/context/driver_context.h"
#include "core/context/module_bus.h"
#include "core/context/ui_state.h"
#include "core/items/item_access.h"
#include "core/install/corrections.h"
#include "core/store/free_size_store.h"
#include "core/store/preset_store.h"
#include "core/store/settings_file.h"
#include "core/store/settings_stores.h"
#include "core/store/stamp_store.h"
#include "core/store/store_keys.h"
#include "core/system/languages.h"
#include "core/system/printer_names.h"
#include "core/system/settings_folders.h"
#include "core/tables/build_switches.h"
#include "core/tables/model_record.h"

namespace {

const WCHAR kHeaderSection[] = TEXT("ScenarioInstallData");
const WCHAR kZems[] = TEXT("zems");
// Characters a package path takes besides the settings folder and the base name: "\zems\",
// the 14 digits of the time, "\" and the 12 of "Rxxxxxx1.rsb", and the terminating zero.
constexpr int kPackOverhead = 34;
constexpr DWORD kDigitsModulo = 2176782336u;  // 36^6
constexpr WORD kFirstLockBit = 10418;
constexpr WORD kLastLockBit = 10433;
// UI-module events of the setting-lock module around the quality files (argument: the main
// pack's path).
constexpr int kEventPackPresetsWritten = 63;
constexpr int kEventPackQualitiesWritten = 64;
constexpr int kNameChars = 261;

WCHAR DigitOf(int n) { return WCHAR(n < 10 ? u'0' + n : u'A' + n - 10); }

int ValueOf(WCHAR c) {
  if (c >= u'0' && c <= u'9') return c - u'0';
  if (c >= u'A' && c <= u'Z') return c - u'A' + 10;
  if (c >= u'a' && c <= u'z') return c - u'a' + 10;
  return 0;
}

const WCHAR* LeafOf(const WCHAR* path) {
  const WCHAR* leaf = path;
  for (const WCHAR* p = path; *p; ++p)
    if (*p == u'\\' || *p == u'/') leaf = p + 1;
  return leaf;
}

// The length of path's folder part without the last "\" (0 when it has none).
DWORD FolderChars(const WCHAR* path) {
  const WCHAR* leaf = LeafOf(path);
  return leaf == path ? 0 : DWORD(leaf - path - 1);
}

bool Join(WCHAR* out, const WCHAR* head, DWORD headChars, const WCHAR* tail) {
  return StrJoin(out, MAX_PATH, head, headChars, tail) != 0;
}

// path with the extension of its leaf replaced by ext ("lst"); a leaf without "." gets one.
bool ReplaceExtension(const WCHAR* path, const WCHAR* ext, WCHAR* out) {
  const WCHAR* leaf = LeafOf(path);
  const WCHAR* dot = nullptr;
  for (const WCHAR* p = leaf; *p; ++p)
    if (*p == u'.') dot = p;
  DWORD stem = dot ? DWORD(dot - path) : StrWideLength(path);
  if (stem + 1 + StrWideLength(ext) >= MAX_PATH) return false;
  for (DWORD i = 0; i < stem; ++i) out[i] = path[i];
  out[stem] = u'.';
  lstrcpyW(out + stem + 1, ext);
  return true;
}

// The settings folder + "\zems" (no trailing "\"); its length, 0 when it cannot be had.
int ZemsFolder(WCHAR* buffer, int* settingsChars, DriverContext* ctx) {
  int n = PathGetMachineSettingsFolder(buffer, MAX_PATH, ctx);
  if (n <= 0 || n + 6 >= MAX_PATH) return 0;
  if (settingsChars) *settingsChars = n;
  buffer[n] = u'\\';
  lstrcpyW(buffer + n + 1, kZems);
  return n + 5;
}

// The main pack's path with its selector and extension changed, into out.
bool SiblingName(const WCHAR* mainPack, const WCHAR* digits, WCHAR selector, const WCHAR* ext, WCHAR* out) {
  DWORD folder = FolderChars(mainPack);
  WCHAR leaf[16];
  leaf[0] = u'R';
  for (int i = 0; i < kPackDigits; ++i) leaf[1 + i] = digits[i];
  leaf[7] = selector;
  leaf[8] = u'.';
  lstrcpynW(leaf + 9, ext, 4);
  return folder && Join(out, mainPack, folder + 1, leaf);
}

// 1 when the leaf is one of the package's own names: "R", six base-36 digits, a selector and
// ".rsb", ".rsd" or ".rsq".
bool IsPackageFileName(const WCHAR* leaf) {
  if (StrWideLength(leaf) != 12 || (leaf[0] != u'R' && leaf[0] != u'r')) return false;
  for (int i = 1; i <= 7; ++i) {
    WCHAR c = leaf[i];
    bool digit = (c >= u'0' && c <= u'9') || (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z');
    if (!digit) return false;
  }
  if (leaf[8] != u'.' || (leaf[9] != u'r' && leaf[9] != u'R') || (leaf[10] != u's' && leaf[10] != u'S')) return false;
  WCHAR e = WCHAR(leaf[11] | 0x20);
  return e == u'b' || e == u'd' || e == u'q';
}

bool HasDotDot(const WCHAR* path) {
  for (const WCHAR* p = path; *p; ++p)
    if (p[0] == u'.' && p[1] == u'.') return true;
  return false;
}

// The package folder of a main pack path (no trailing "\") into folder when it is a package
// folder directly in the settings folder's "zems" folder; false for anything else.
bool ConfinedPackageFolder(const WCHAR* mainPack, WCHAR* folder, DriverContext* ctx) {
  WCHAR zems[MAX_PATH];
  int zemsChars = ZemsFolder(zems, nullptr, ctx);
  if (!zemsChars || !mainPack || HasDotDot(mainPack)) return false;
  for (const WCHAR* p = mainPack; *p; ++p)
    if (*p == u'/') return false;
  DWORD chars = FolderChars(mainPack);
  if (!chars || chars >= MAX_PATH) return false;
  lstrcpynW(folder, mainPack, int(chars) + 1);
  DWORD parent = FolderChars(folder);
  if (parent != DWORD(zemsChars)) return false;
  // A package folder's name begins with the 14 digits of its time ("." or ".." never do).
  for (DWORD i = 1; i <= 14; ++i)
    if (folder[parent + i] < u'0' || folder[parent + i] > u'9') return false;
  WCHAR head[MAX_PATH];
  lstrcpynW(head, folder, int(parent) + 1);
  return lstrcmpiW(head, zems) == 0;
}

bool SameFolder(const WCHAR* file, const WCHAR* folder) {
  DWORD chars = FolderChars(file);
  if (chars != StrWideLength(folder) || !LeafOf(file)[0]) return false;
  WCHAR head[MAX_PATH];
  lstrcpynW(head, file, int(chars) + 1);
  return lstrcmpiW(head, folder) == 0;
}

bool Write(const WCHAR* section, const WCHAR* key, const WCHAR* value, const WCHAR* file) {
  return WritePrivateProfileStringW(section, key, value, file) != FALSE;
}

bool WriteNumber(const WCHAR* section, const WCHAR* key, LONG value, const WCHAR* file) {
  WCHAR text[16];
  return Write(section, key, StoreFormatNumber(text, value), file);
}

// The package header of section "ScenarioInstallData".
bool WriteHeader(const WCHAR* file, DriverContext* ctx) {
  const WCHAR* version = CtxModelRecord(ctx)->versionText1;
  const WCHAR* driver = PrnGetDriverName(ctx);
  return Write(kHeaderSection, TEXT("DriverType"), TEXT("ZEMS"), file) &&
         Write(kHeaderSection, TEXT("RstFileOSVersion"), TEXT("1"), file) &&
         Write(kHeaderSection, TEXT("DriverVersion"), version ? version : TEXT(""), file) &&
         Write(kHeaderSection, TEXT("DrvInst"), driver ? driver : TEXT(""), file);
}

bool AnyLockBit(DriverContext* ctx) {
  if (!BuildHasFeature(ctx, kBuildFeatureSettingLocks)) return false;
  for (WORD id = kFirstLockBit; id <= kLastLockBit; ++id)
    if (ItemGetRawById(ctx, id)) return true;
  return false;
}

// What one export works with.
struct Export {
  DriverContext* ctx;
  WCHAR settingsIni[MAX_PATH];
  WCHAR printer[kNameChars];
  WCHAR lang[16];
  WCHAR digits[kPackDigits + 1];
  WCHAR mainPack[MAX_PATH];
  WCHAR listFile[MAX_PATH];
  int presets;
  int qualities;
};

bool ListFileName(const Export& e, int i, bool quality, WCHAR* out) {
  WCHAR digits[kPackDigits + 1];
  lstrcpyW(digits, e.digits);
  if (quality) PackNameIncrement(digits);
  return SiblingName(e.mainPack, digits, DigitOf(i), quality ? TEXT("rsq") : TEXT("rsd"), out);
}

bool WriteMainPack(const Export& e) {
  DriverContext* ctx = e.ctx;
  const WCHAR* pack = e.mainPack;
  WCHAR key[64], value[MAX_PATH], file[MAX_PATH], section[64];
  if (!WriteNumber(e.lang, TEXT("NumDeficonfiles"), e.presets, pack)) return false;
  for (int i = 0; i < e.presets; ++i) {
    if (!ListFileName(e, i, false, file)) return false;
    wsprintfW(key, TEXT("Deficonfiles%u"), unsigned(i + 1));
    wsprintfW(value, TEXT("%%sysdir%%%s"), LeafOf(file));
    if (!Write(e.lang, key, value, pack)) return false;
  }
  if (!WriteNumber(e.lang, TEXT("NumDefqualityfiles"), e.qualities, pack)) return false;
  for (int i = 0; i < e.qualities; ++i) {
    if (!ListFileName(e, i, true, file)) return false;
    wsprintfW(key, TEXT("Defqualityfiles%u"), unsigned(i + 1));
    wsprintfW(value, TEXT("%%sysdir%%%s"), LeafOf(file));
    if (!Write(e.lang, key, value, pack)) return false;
  }
  if (!StoreWriteFileHeader(pack, nullptr, ctx, e.lang, nullptr, FALSE)) return false;
  if (!StoreRwNamedItems(pack, kStoreFileWrite | kStoreFileText, ctx, e.lang)) return false;
  int slots = FreeSizeSlotCount(ctx);
  if (!WriteNumber(e.lang, TEXT("FreeSizeCount"), slots, pack)) return false;
  int failed = 0;
  for (int n = 0; n < slots; ++n) {
    FreeSizeSectionName(section, 64, n, ctx);
    if (!InstCopyIniSection(e.settingsIni, pack, section, &failed)) return false;
  }
  LONG stamps = StampGetCount(ctx);
  if (!WriteNumber(e.lang, TEXT("StampCount"), stamps, pack)) return false;
  for (LONG n = 0; n < stamps; ++n) {
    StampSectionName(section, 64, int(n), ctx);
    if (!InstCopyIniSection(e.settingsIni, pack, section, &failed)) return false;
  }
  return WriteHeader(pack, ctx) && Write(kHeaderSection, TEXT("DefaultRstName"), e.listFile, pack);
}

// One preset (quality false) or quality file of the package from the entry of the settings ini.
bool WriteListFile(const Export& e, int i, bool quality) {
  WCHAR key[64], source[MAX_PATH], target[MAX_PATH], name[kNameChars];
  if (quality)
    QualityKeyName(key, 64, i);
  else
    PresetKeyName(key, 64, i, 0);
  GetPrivateProfileStringW(e.printer, key, TEXT(""), source, MAX_PATH, e.settingsIni);
  if (!source[0] || !ListFileName(e, i, quality, target)) return false;
  int failed = 0;
  if (!InstCopyIniSectionAs(source, e.printer, target, e.lang, &failed)) return false;
  lstrcatW(key, TEXT("Name"));
  GetPrivateProfileStringW(e.printer, key, TEXT(""), name, kNameChars, e.settingsIni);
  if (!Write(e.lang, quality ? TEXT("qualityname") : TEXT("setname"), name, target)) return false;
  if (!quality) {
    PresetKeyName(key, 64, i, 2);
    GetPrivateProfileStringW(e.printer, key, TEXT(""), name, kNameChars, e.settingsIni);
    if (!Write(e.lang, TEXT("setcomment"), name, target)) return false;
    InstCopyIniSection(source, target, TEXT("condition"), &failed);
    InstCopyIniSection(source, target, TEXT("disable"), &failed);
    if (failed) return false;
  }
  return WriteHeader(target, e.ctx);
}

bool WriteList(const Export& e) {
  const WCHAR* list = e.listFile;
  if (!WriteHeader(list, e.ctx) || !Write(kHeaderSection, TEXT("ORVELZEMSDriverFileList"), TEXT("1"), list) ||
      !Write(kHeaderSection, TEXT("DefaultRst"), e.mainPack, list))
    return false;
  int n = 1;
  WCHAR key[32], file[MAX_PATH];
  for (int pass = 0; pass < 2; ++pass) {
    bool quality = pass == 1;
    for (int i = 0; i < (quality ? e.qualities : e.presets); ++i) {
      if (!ListFileName(e, i, quality, file)) return false;
      wsprintfW(key, TEXT("OtherFiles%d"), n++);
      if (!Write(kHeaderSection, key, file, list)) return false;
    }
  }
  return true;
}

}  // namespace

DWORD PackTimeCount(const SYSTEMTIME& t) {
  DWORD days = (DWORD(t.wYear) - 1970u) * 372u + (DWORD(t.wMonth) - 1u) * 31u + (DWORD(t.wDay) - 1u);
  return ((days * 24u + t.wHour) * 60u + t.wMinute) * 60u + t.wSecond;
}

void PackTimeDigits(DWORD count, WCHAR* digits) {
  if (!digits) return;
  count %= kDigitsModulo;
  for (int i = kPackDigits - 1; i >= 0; --i) {
    digits[i] = DigitOf(int(count % 36u));
    count /= 36u;
  }
  digits[kPackDigits] = 0;
}

void PackNameIncrement(WCHAR* digits) {
  if (!digits) return;
  for (int i = kPackDigits - 1; i >= 0; --i) {
    int v = ValueOf(digits[i]) + 1;
    digits[i] = DigitOf(v % 36);
    if (v < 36) return;
  }
}

void PackNameDecrement(WCHAR* digits) {
  if (!digits) return;
  for (int i = kPackDigits - 1; i >= 0; --i) {
    int v = ValueOf(digits[i]) - 1;
    digits[i] = DigitOf((v + 36) % 36);
    if (v >= 0) return;
  }
}

int PackMakeName(LPCWSTR chosenPath, WCHAR* packagePath, DriverContext* ctx) {
  if (!chosenPath || !packagePath || !ctx) return 0;
  packagePath[0] = 0;
  WCHAR folder[MAX_PATH];
  int settingsChars = 0;
  int zemsChars = ZemsFolder(folder, &settingsChars, ctx);
  int room = MAX_PATH - kPackOverhead - settingsChars;
  if (!zemsChars || room <= 0) return 0;

  // The base name: the chosen file's leaf up to its last ".", cut to the room left.
  const WCHAR* leaf = LeafOf(chosenPath);
  int baseChars = 0;
  for (int i = 0; leaf[i]; ++i)
    if (leaf[i] == u'.') baseChars = i;
  if (!baseChars && leaf[0] != u'.') baseChars = int(StrWideLength(leaf));
  if (baseChars > room) baseChars = room;

  SYSTEMTIME now;
  GetLocalTime(&now);
  WCHAR digits[kPackDigits + 1];
  PackTimeDigits(PackTimeCount(now), digits);
  WCHAR stamp[16];
  StrFormatTimeStamp(stamp, &now);

  WCHAR package[MAX_PATH];
  DWORD n = DWORD(zemsChars);
  lstrcpyW(package, folder);
  package[n++] = u'\\';
  for (int i = 0; stamp[i]; ++i) package[n++] = stamp[i];
  for (int i = 0; i < baseChars; ++i) package[n++] = leaf[i];
  package[n] = 0;
  if (!PathCreateSettingsFolder(ctx) || !FileCreateDirectory(folder) || !FileCreateDirectory(package)) return 0;
  WCHAR main[16];
  wsprintfW(main, TEXT("\\R%s1.rsb"), digits);
  return Join(packagePath, package, n, main) ? 1 : 0;
}

int PackExport(LPCWSTR chosenPath, WCHAR* packagePath, DriverContext* ctx) {
  if (!chosenPath || !packagePath || !packagePath[0] || !ctx || !ctx->ui) return 0;
  Export* e = static_cast<Export*>(MemAllocZero(sizeof(Export)));
  if (!e) return 0;
  e->ctx = ctx;
  lstrcpynW(e->mainPack, packagePath, MAX_PATH);
  StoreCopySettingsIni(ctx, e->settingsIni);
  StoreCopyPrinterName(ctx, e->printer, kNameChars);
  // The settings ini and the preset files carry the printer's section as the ini wrappers
  // name it: the raw reads below must use that name.
  StoreSanitizeSection(e->printer);
  lstrcpynW(e->lang, ResGetLangCodeAlias(ctx), 16);
  // The digits are those of the main pack's name.
  const WCHAR* leaf = LeafOf(e->mainPack);
  bool ok = StrWideLength(leaf) == 12 && e->settingsIni[0] && e->printer[0] &&
            ReplaceExtension(chosenPath, TEXT("lst"), e->listFile);
  if (ok) {
    lstrcpynW(e->digits, leaf + 1, kPackDigits + 1);
    StoreMutexHold hold(ctx);
    e->presets = int(GetPrivateProfileIntW(e->printer, TEXT("Count"), 0, e->settingsIni));
    e->qualities = int(GetPrivateProfileIntW(e->printer, TEXT("QualityCount"), 0, e->settingsIni));
    // One selector character names each file: more would give names with '[' or '\'.
    ok = e->presets >= 0 && e->presets <= kPackMaxPresets && e->qualities >= 0 &&
         e->qualities <= kPackMaxQualityLists;
    ok = ok && WriteHeader(chosenPath, ctx) && WriteMainPack(*e);
    for (int i = 0; ok && i < e->presets; ++i) ok = WriteListFile(*e, i, false);
    bool locked = ok && AnyLockBit(ctx);
    if (locked) ModBusSendEvent(ctx, kEventPackPresetsWritten, e->mainPack);
    for (int i = 0; ok && i < e->qualities; ++i) ok = WriteListFile(*e, i, true);
    if (locked) ModBusSendEvent(ctx, kEventPackQualitiesWritten, e->mainPack);
    ok = ok && WriteList(*e);
  }
  if (ok) lstrcpyW(packagePath, e->listFile);
  MemFree(e);
  return ok ? 1 : 0;
}

int PackDeleteByList(LPCWSTR path, DriverContext* ctx) {
  if (!path) return 1;
  WCHAR* buffers = static_cast<WCHAR*>(MemAllocZero(4 * MAX_PATH * sizeof(WCHAR)));
  if (!buffers) return 0;
  WCHAR* list = buffers;
  WCHAR* mainPack = list + MAX_PATH;
  WCHAR* folder = mainPack + MAX_PATH;
  WCHAR* file = folder + MAX_PATH;
  if (ReplaceExtension(path, TEXT("lst"), list)) {
    GetPrivateProfileStringW(kHeaderSection, TEXT("DefaultRst"), TEXT(""), mainPack, MAX_PATH, list);
    if (mainPack[0] && ConfinedPackageFolder(mainPack, folder, ctx)) {
      if (SameFolder(mainPack, folder)) FileDelete(mainPack);
      // The list names its files "OtherFiles1" on; a gap ends them.
      for (int n = 1;; ++n) {
        WCHAR key[32];
        wsprintfW(key, TEXT("OtherFiles%d"), n);
        GetPrivateProfileStringW(kHeaderSection, key, TEXT(""), file, MAX_PATH, list);
        if (!file[0]) break;
        if (SameFolder(file, folder) && !HasDotDot(file)) FileDelete(file);
      }
      RemoveDirectoryW(folder);
      FileDelete(list);
    }
  }
  MemFree(buffers);
  return 1;
}

int PackRemoveFolder(LPCWSTR packagePath, DriverContext* ctx) {
  WCHAR folder[MAX_PATH], pattern[MAX_PATH], file[MAX_PATH];
  if (!packagePath || !ConfinedPackageFolder(packagePath, folder, ctx)) return 0;
  DWORD chars = StrWideLength(folder);
  if (!Join(pattern, folder, chars, TEXT("\\R*.rs?"))) return 0;
  WIN32_FIND_DATAW found;
  HANDLE search = FindFirstFileW(pattern, &found);
  if (search != INVALID_HANDLE_VALUE) {
    do {
      if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
      if (!IsPackageFileName(found.cFileName)) continue;
      folder[chars] = u'\\';
      if (Join(file, folder, chars + 1, found.cFileName)) FileDelete(file);
      folder[chars] = 0;
    } while (FindNextFileW(search, &found));
    FindClose(search);
  }
  RemoveDirectoryW(folder);
  return GetFileAttributesW(folder) == INVALID_FILE_ATTRIBUTES ? 1 : 0;
}
