// The job-merge, preview and pack keys of the printer's settings ini, and the factory custom
// sizes, watermarks and language keys copied from the model data file (or the driver's
// default pack) into a printer's settings ini at installation and upgrade.
#include <stdlib.h>

#include "core/common/file_ops.h"
#include "core/common/ini_access.h"
#include "core/common/mem.h"
#include "core/common/os_tests.h"
#include "core/common/text.h"
#include "core/context/driver_context.h"
#include "core/context/module_bus.h"
#include "core/context/ui_state.h"
#include "core/items/item_table.h"
#include "core/install/install_ini_defaults.h"
#include "core/store/item_store.h"
#include "core/store/store_keys.h"
#include "core/system/driver_paths.h"
#include "core/system/languages.h"
#include "core/system/printer_names.h"
#include "core/system/settings_folders.h"
#include "core/tables/model_record.h"

namespace {

const WCHAR kEmpty[1] = {0};
constexpr DWORD kValueChars = 260;  // a value of at most 259 characters
// Custom sizes are ten slots; watermark numbers stay below the scratch entry 256.

struct JobMergeRow {
  const WCHAR* key;
  int kind;
};

// Kind 0: the model data file's value; 1, 3, 4: a pack's text; 2: the preset refresh mark.
const JobMergeRow kJobMergeKeys[] = {
    {TEXT("MergeKey"), 0},
    {TEXT("MergeSubKey"), 0},
    {TEXT("MergeFilePath"), 0},
    {TEXT("MergeFileName"), 0},
    {TEXT("DrvDefJobMergeFileName"), 0},
    {TEXT("DrvDefJobMergeFileExt"), 0},
    {TEXT("DrvDefJobMergePath"), 0},
    {TEXT("APIJobMergeFileName"), 0},
    {TEXT("APIJobMergePath"), 0},
    {TEXT("APIUseFlag"), 0},
    {TEXT("DriverJobMergeFileName"), 0},
    {TEXT("DriverJobMergePath"), 0},
    {TEXT("SAVEPrnMethod"), 0},
    {TEXT("SAVEACT_FILEMERGEPRINT"), 0},
    {TEXT("APIAPLName"), 0},
    {TEXT("APIAPLInfo"), 0},
    {TEXT("DefaultRst"), 1},
    {TEXT("PresetRefresh"), 2},
    {TEXT("DefaultRst"), 3},
    {TEXT("BatchInstRst"), 3},
    {TEXT("BatchInstRst"), 4},
    {TEXT("DrvDefPreviewPath"), 0},
    {nullptr, 0},
};

const WORD kFreeSizeKeyItems[] = {915, 916, 917, 918, 919, 0};
const WORD kStampKeyItems[] = {117, 935, 936, 937, 938, 939, 940, 941, 942, 943, 944, 118, 945, 946,
                               947, 948, 949, 950, 951, 952, 929, 930, 931, 932, 933, 1081, 1098, 0};
static_assert(sizeof kFreeSizeKeyItems / sizeof kFreeSizeKeyItems[0] == 6, "custom-size list: 5 and the end");
static_assert(sizeof kStampKeyItems / sizeof kStampKeyItems[0] == 28, "watermark list: 27 and the end");

const WCHAR* const kLanguageSectionKeys[] = {TEXT("RstVersion"), TEXT("bIsBIDISupportForZEMSModel"),
                                             TEXT("bIsBIDISupportForZEMSFont"), TEXT("bIsBIDISupportForZEMS")};

bool IsDrivePath(const WCHAR* path) { return path && path[0] && path[1] == ':'; }

// The model data file's name of a key: the two folder keys carry the system's suffix.
void DataFileKey(const WCHAR* key, WCHAR* out, DWORD cchOut) {
  const bool suffixed = StrWideEqual(key, TEXT("DrvDefJobMergePath")) || StrWideEqual(key, TEXT("DrvDefPreviewPath"));
  if (!suffixed) {
    StrCopyCut(out, cchOut, key);
    return;
  }
  StrJoin(out, cchOut, key, StrWideLength(key), OsIsNt5OrLater() ? TEXT("2k") : TEXT("nt"));
}

const WCHAR* ItemKey(WORD id) {
  const ItemTemplateRow* row = TblItemTemplateRow(id);
  return row && row->name && row->name[0] ? row->name : nullptr;
}

// Copies one key (read with an empty default); written even when empty unless onlyValues.
bool CopyKey(const WCHAR* target, const WCHAR* source, const WCHAR* section, const WCHAR* key, WCHAR* value,
             bool onlyValues) {
  IniReadString(section, key, kEmpty, value, kValueChars, source);
  if (onlyValues && !value[0]) return true;
  return IniWriteString(section, key, value, target) != FALSE;
}

// Copies the entries of a store: "<prefix><n><code>" sections for n below the source's count.
bool CopyEntries(const WCHAR* target, const WCHAR* source, const WCHAR* code, const WCHAR* countKey,
                 const WCHAR* prefix, const WORD* items, LONG limit, WCHAR* value) {
  // A count the source does not give (no model data file) leaves the printer's own: written
  // empty it would hide every stored entry.
  IniReadString(code, countKey, kEmpty, value, kValueChars, source);
  bool ok = !value[0] || IniWriteString(code, countKey, value, target) != FALSE;
  const int count = int(StoreReadCount(code, countKey, limit, source));
  for (int n = 0; n < count; ++n) {
    WCHAR section[64];
    wsprintfW(section, TEXT("%s%d%s"), prefix, n, code);
    IniReadString(section, TEXT("RstVersion"), kEmpty, value, kValueChars, source);
    if (value[0]) ok = IniWriteString(section, TEXT("RstVersion"), value, target) != FALSE && ok;
    for (const WORD* id = items; *id; ++id) {
      const WCHAR* key = ItemKey(*id);
      if (key) ok = CopyKey(target, source, section, key, value, false) && ok;
    }
  }
  return ok;
}

}  // namespace

const WORD* InstFreeSizeKeyItems() { return kFreeSizeKeyItems; }
const WORD* InstStampKeyItems() { return kStampKeyItems; }

int InstWriteJobMergeKeys(DriverContext* ctx, int operation, const WCHAR* text) {
  if (operation > 4) return 1;
  if (!ctx || !ctx->ui || operation < 0) return 0;
  const WCHAR* ini = PathSettingsFile(ctx);
  const WCHAR* printer = PrnGetPrinterName(ctx);
  if (!ini[0] || !printer[0]) return 0;
  bool ok = true;
  if (operation == 1) {
    if (!text) return 0;
    for (const JobMergeRow* row = kJobMergeKeys; row->key; ++row)
      if (row->kind == 1) ok = IniWriteString(printer, row->key, text, ini) != FALSE && ok;
    return ok ? 1 : 0;
  }
  if (operation == 3 || operation == 4) {
    for (const JobMergeRow* row = kJobMergeKeys; row->key; ++row)
      if (row->kind == operation) {
        BOOL written = IniWriteString(printer, row->key, text, ini);
        // Deleting a key that is not there is no failure.
        if (text) ok = written != FALSE && ok;
      }
    return ok ? 1 : 0;
  }
  const WCHAR* code = ResGetLangCodeAlias(ctx);
  if (!code || !code[0]) return 0;
  const WCHAR* dataFile = PathModelDataFile(ctx);
  WCHAR* value = static_cast<WCHAR*>(MemAllocZero(kValueChars * sizeof(WCHAR)));
  if (!value) return 0;
  for (const JobMergeRow* row = kJobMergeKeys; row->key; ++row) {
    if (row->kind == 0) {
      WCHAR key[64];
      DataFileKey(row->key, key, 64);
      value[0] = 0;
      if (dataFile[0]) IniReadString(code, key, kEmpty, value, kValueChars, dataFile);
      // On upgrade a key keeps the printer's value unless the model has no default for it.
      if (operation == 2 && value[0]) continue;
      ok = IniWriteString(printer, row->key, value, ini) != FALSE && ok;
    } else if (row->kind == 2) {
      DWORD refresh = 0;
      const WCHAR* mark = TEXT("1");
      if (operation == 0)
        mark = StoreGetPrinterData(ctx->printer, &refresh, sizeof refresh, TEXT("PresetRefresh")) && refresh
                   ? TEXT("1")
                   : TEXT("0");
      ok = IniWriteString(printer, row->key, mark, ini) != FALSE && ok;
    }
  }
  MemFree(value);
  StoreSaveUserClasses(ctx->printer, ctx);
  return ok ? 1 : 0;
}

int InstWriteUserJobFolders(HANDLE hPrinter) {
  WCHAR ini[MAX_PATH], folder[MAX_PATH], path[MAX_PATH], name[kPrinterNameChars];
  name[0] = 0;
  if (!PathSettingsFileOf(ini, MAX_PATH, 1, hPrinter) || !ini[0]) return 0;
  PrnGetPrinterNameOf(hPrinter, name, kPrinterNameChars);
  int n = PathGetUserSettingsFolder(folder, MAX_PATH, hPrinter);
  if (!name[0] || n <= 0) return 0;
  if (!StrJoin(path, MAX_PATH, folder, DWORD(n), TEXT("\\OMP"))) return 0;
  BOOL merge = IniWriteString(name, TEXT("DrvDefJobMergePath"), path, ini);
  if (!StrJoin(path, MAX_PATH, folder, DWORD(n), TEXT("\\PREVIEW"))) return 0;
  BOOL preview = IniWriteString(name, TEXT("DrvDefPreviewPath"), path, ini);
  return merge && preview ? 1 : 0;
}

int InstLangSectionOutdated(const WCHAR* settingsIni, void* reserved, int* missing, DriverContext* ctx) {
  (void)reserved;
  if (missing) *missing = 0;
  const WCHAR* code = ResGetLangCodeAlias(ctx);
  WCHAR version[16];
  IniReadString(code, TEXT("RstVersion"), TEXT("*"), version, 16, settingsIni);
  if (version[0] == '*' && !version[1]) {
    if (missing) *missing = 1;
    return 1;
  }
  // Majors are compared: a stored 321 is current for a model of settings version 322.
  long stored = 0;
  for (const WCHAR* p = version; *p >= '0' && *p <= '9' && stored < 100000; ++p) stored = stored * 10 + (*p - '0');
  return stored / 100 != long(CtxModelRecord(ctx)->layoutVersion / 100) ? 1 : 0;
}

int InstCopyLanguageStores(const WCHAR* target, const WCHAR* source, DriverContext* ctx, const PRINTER_INFO_2* info) {
  if (!target || !source || !ctx || !info || !info->pPrinterName || !info->pPrinterName[0]) return 0;
  const WCHAR* code = ResGetLangCodeAlias(ctx);
  if (!code || !code[0]) return 0;
  int missing = 0;
  if (FileExists(target) && !InstLangSectionOutdated(target, nullptr, &missing, ctx)) {
    InstFactoryCopyEvent event = {source, target, 1};
    ModBusSendEvent(ctx, kEventFactoryStoresCopied, &event);
    return 1;
  }
  WCHAR* value = static_cast<WCHAR*>(MemAllocZero(kValueChars * sizeof(WCHAR)));
  if (!value) return 0;
  bool ok = CopyEntries(target, source, code, TEXT("FreeSizeCount"), TEXT("FreeSize"), kFreeSizeKeyItems,
                        kStoreLimitFreeSizes, value);
  ok = CopyEntries(target, source, code, TEXT("StampCount"), TEXT("Stamp"), kStampKeyItems, kStoreLimitStamps, value) && ok;
  InstFactoryCopyEvent event = {source, target, 0};
  ModBusSendEvent(ctx, kEventFactoryStoresCopied, &event);
  for (const WCHAR* key : kLanguageSectionKeys) ok = CopyKey(target, source, code, key, value, false) && ok;
  MemFree(value);
  return ok ? 1 : 0;
}

int InstCopySettingsVersion(const WCHAR* target, const WCHAR* source, DriverContext* ctx) {
  if (!target || !source || !ctx) return 0;
  const WCHAR* code = ResGetLangCodeAlias(ctx);
  if (!code || !code[0]) return 0;
  WCHAR value[kValueChars];
  return CopyKey(target, source, code, TEXT("RstVersion"), value, false) ? 1 : 0;
}

int InstCopyPackFreeSizes(const WCHAR* target, const WCHAR* modelDataFile, DriverContext* ctx,
                          const DRIVER_INFO_3* driverInfo, int mode) {
  if (!target || !modelDataFile || !ctx) return 0;
  // The model data file is only ever opened as an existing file: a missing one is not made.
  if (!FileExists(modelDataFile)) return 0;
  const WCHAR* code = ResGetLangCodeAlias(ctx);
  if (!code || !code[0]) return 0;
  WCHAR name[kValueChars], pack[kValueChars];
  IniReadString(code, TEXT("DefaultRst"), kEmpty, name, kValueChars, modelDataFile);
  if (!name[0]) return 0;
  pack[0] = 0;
  if (IsDrivePath(name))
    StrCopyCut(pack, kValueChars, name);
  else if (driverInfo)
    PathInDriverDirFromInfo(pack, kValueChars, name, driverInfo);
  else
    PathInDriverDir(pack, kValueChars, name, ctx->printer);
  if (!pack[0]) return 0;
  WCHAR value[kValueChars];
  const int count = int(StoreReadCount(code, TEXT("FreeSizeCount"), kStoreLimitFreeSizes, modelDataFile));
  for (int n = 0; n < count; ++n) {
    WCHAR section[64];
    wsprintfW(section, TEXT("FreeSize%d%s"), n, code);
    for (const WORD* id = kFreeSizeKeyItems; *id; ++id) {
      const WCHAR* key = ItemKey(*id);
      if (key) CopyKey(target, pack, section, key, value, true);
    }
  }
  FILETIME lastWrite = {};
  bool timeRead = false;
  HANDLE h = CreateFileW(modelDataFile, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                         FILE_ATTRIBUTE_NORMAL, nullptr);
  const bool opened = h != INVALID_HANDLE_VALUE;
  if (opened) {
    timeRead = GetFileTime(h, nullptr, nullptr, &lastWrite) != FALSE;
    CloseHandle(h);
  }
  if (mode == 1 && !opened) return 0;
  if (mode == 0 || timeRead) {
    IniWriteString(StrKeyBatchInstallDone(), StrKeyBatchInstallDone(), TEXT("1"), modelDataFile);
    if (timeRead) {
      h = CreateFileW(modelDataFile, GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                      nullptr);
      if (h != INVALID_HANDLE_VALUE) {
        SetFileTime(h, nullptr, nullptr, &lastWrite);
        CloseHandle(h);
      }
    }
  }
  return 1;
}
