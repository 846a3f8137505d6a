// The install ini: its place, the test whether a printer's section holds work, the status keys
// and the application of the whole section at the install pass.
#include "core/install/install_ini.h"

#include "core/common/file_ops.h"
#include "core/common/ini_access.h"
#include "core/common/locks.h"
#include "core/common/mem.h"
#include "core/common/path_text.h"
#include "core/common/text.h"
#include "core/context/driver_context.h"
#include "core/context/ui_state.h"
#include "core/install/default_packs.h"
#include "core/install/install_ini_keys.h"
#include "core/store/item_store.h"
#include "core/system/driver_paths.h"
#include "core/system/languages.h"
#include "core/system/printer_names.h"
#include "core/system/settings_folders.h"
#include "core/tables/build_switches.h"

namespace {

const WCHAR kEmpty[1] = {0};
const WCHAR kIniName[] = TEXT("ZEMS.ini");
constexpr DWORD kIniPathChars = 260;
// A missing DrvInstSet reads as this, which counts as not set.
constexpr INT kMissingInt = 0x7FFF;
// The pack import copies the pack's files and keeps their status.
constexpr DWORD kPackImportFlags = 0x102;

bool IsDrivePath(const WCHAR* path) { return path && path[0] && path[1] == ':'; }

bool WriteInt(const WCHAR* iniPath, const WCHAR* section, const WCHAR* key, int value) {
  if (!iniPath || !section) return false;
  WCHAR text[16];
  wsprintfW(text, TEXT("%d"), value);
  // Under the machine-wide mutex: a rewrite of the same file elsewhere cannot drop the key.
  LockGlobalMutex();
  FileClearReadOnly(iniPath);
  bool written = IniWriteString(section, key, text, iniPath) != FALSE;
  UnlockGlobalMutex();
  return written;
}

}  // namespace

namespace inst_keys {

bool IsAbsent(const WCHAR* value) { return value[0] == '*' && value[1] == 0; }

bool ReadKey(const WCHAR* iniPath, const WCHAR* section, const WCHAR* key, const WCHAR* def, WCHAR* buffer,
             DWORD cchBuffer) {
  buffer[0] = 0;
  IniReadString(section, key, def, buffer, cchBuffer, iniPath);
  return !IsAbsent(buffer);
}

void DeleteKey(const WCHAR* iniPath, const WCHAR* section, const WCHAR* key) {
  IniWriteString(section, key, nullptr, iniPath);
}

void DeleteKeyKeepTime(const WCHAR* iniPath, const WCHAR* section, const WCHAR* key, int keepTimeMode) {
  // A file that is not there has no key to delete; the keep-time write would create it.
  if (!FileExists(iniPath)) return;
  IniWriteKeepTime(section, key, nullptr, iniPath, keepTimeMode == 1 ? 1 : 0);
}

}  // namespace inst_keys

using inst_keys::ReadKey;

const WCHAR* InstIniName() { return kIniName; }

int InstIniPathInto(WCHAR* buffer, DWORD cchBuffer) {
  if (!buffer || cchBuffer < kIniPathChars) return 0;
  PathInSystemDir(buffer, cchBuffer, kIniName);
  return buffer[0] ? 1 : 0;
}

const WCHAR* InstIniPath(DriverContext* ctx) {
  if (!ctx || !ctx->ui) return kEmpty;
  WCHAR* path = ctx->ui->install.zemsIniPath;
  if (!InstIniPathInto(path, kIniPathChars)) path[0] = 0;
  return path;
}

int InstIniSectionIsEmpty(const WCHAR* iniPath, const WCHAR* printerName) {
  if (!iniPath || !printerName) return 0;
  WCHAR* value = static_cast<WCHAR*>(MemAllocZero(kIniPathChars * sizeof(WCHAR)));
  if (!value) return 0;
  int empty = 1;
  if (ReadKey(iniPath, printerName, TEXT("DefaultRst"), kEmpty, value, kIniPathChars) && value[0]) empty = 0;
  if (empty && ReadKey(iniPath, printerName, TEXT("SetUserCode"), TEXT("*"), value, kIniPathChars)) empty = 0;
  if (empty && ReadKey(iniPath, printerName, TEXT("SetUserID"), kEmpty, value, kIniPathChars) && value[0]) empty = 0;
  if (empty && ReadKey(iniPath, printerName, TEXT("SetOwnerID"), kEmpty, value, kIniPathChars) && value[0]) empty = 0;
  if (empty && BuildHasFeature(nullptr, 0)) {
    static const WCHAR* const kAuthKeys[] = {TEXT("SetAuthenticationMode"), TEXT("SetAuthenticationSecureMode"),
                                             TEXT("SetAuthenticationNetworkKey"), TEXT("SetAuthenticationUserName")};
    for (const WCHAR* key : kAuthKeys)
      if (empty && ReadKey(iniPath, printerName, key, TEXT("*"), value, kIniPathChars)) empty = 0;
  }
  if (empty && ReadKey(iniPath, printerName, TEXT("ZEMSDirectory"), TEXT("*"), value, kIniPathChars)) empty = 0;
  if (empty && ReadKey(iniPath, printerName, TEXT("ZEMSDirectoryClient"), TEXT("*"), value, kIniPathChars)) empty = 0;
  MemFree(value);
  return empty;
}

int InstIniHasWork(const WCHAR* printerName) {
  WCHAR ini[kIniPathChars];
  if (!printerName || !InstIniPathInto(ini, kIniPathChars) || !FileExists(ini)) return 0;
  return InstIniSectionIsEmpty(ini, printerName) ? 0 : 1;
}

int InstIniHasWorkForContext(DriverContext* ctx) {
  if (!ctx) return 0;
  const WCHAR* ini = InstIniPath(ctx);
  if (!FileExists(ini)) return 0;
  return InstIniSectionIsEmpty(ini, PrnGetPrinterName(ctx)) ? 0 : 1;
}

int InstDriverIniHasWork(const WCHAR* printerName, HANDLE hPrinter) {
  WCHAR path[kIniPathChars];
  path[0] = 0;
  if (!printerName || !PathModelDataFileOf(hPrinter, path, sizeof path) || !path[0] || !FileExists(path)) return 0;
  return InstIniSectionIsEmpty(path, printerName) ? 0 : 1;
}

int InstIniHasPrinterSection(HANDLE hPrinter) {
  WCHAR ini[kIniPathChars];
  if (!InstIniPathInto(ini, kIniPathChars) || !FileExists(ini)) return 0;
  WCHAR name[kPrinterNameChars];
  name[0] = 0;
  PrnGetPrinterNameOf(hPrinter, name, kPrinterNameChars);
  if (!name[0]) return 0;
  WCHAR section[kIniSectionChars + 1];
  StrCopyCut(section, kIniSectionChars + 1, name);
  StoreSanitizeSection(section);
  // A short probe is enough: the answer is only whether the section has anything at all.
  WCHAR probe[16];
  if (!GetPrivateProfileSectionW(section, probe, 16, ini)) return 0;
  return InstIniSectionIsEmpty(ini, name) ? 0 : 1;
}

int InstApplyInstallerDefaults(DriverContext* ctx) {
  if (!ctx || !ctx->ui) return 0;
  const WCHAR* ini = InstIniPath(ctx);
  if (!ini[0] || !FileExists(ini)) return 0;
  const WCHAR* printer = PrnGetPrinterName(ctx);
  int result = 1;
  if (!InstIniSectionIsEmpty(ini, printer)) {
    WCHAR pack[kIniPathChars];
    pack[0] = 0;
    if (IsDrivePath(ini)) ReadKey(ini, printer, TEXT("DefaultRst"), kEmpty, pack, kIniPathChars);
    if (pack[0]) {
      WCHAR resolved[kIniPathChars];
      resolved[0] = 0;
      if (IsDrivePath(pack))
        StrCopyCut(resolved, kIniPathChars, pack);
      else
        PathInDriverDir(resolved, kIniPathChars, pack, ctx->printer);
      // The pack's files are put in place here; the pass imports the pack itself afterwards
      // (InstImportDefaultPack), once the identity keys below are known to survive it.
      LPCWSTR lang = ResGetLangCode(ctx);
      if (resolved[0] && lang && lang[0]) {
        InstImportPresetFiles(resolved, lang, kPackImportFlags, ctx, 0, nullptr);
        InstImportQualityFiles(resolved, lang, kPackImportFlags, ctx);
      }
    } else {
      InstSetBatchInstallDone(ini, printer, 1);
      InstMarkBatchInstallDone(PathSettingsFile(ctx), printer, 1, 1, ctx);
      result = 0;
    }
  }
  int present = 0;
  InstApplyUserCode(ini, printer, &present, ctx);
  InstApplyUserIdentity(ini, printer, ctx);
  InstApplySpoolFolder(PathModelDataFile(ctx), printer, ctx, 1);
  InstApplySpoolFolder(ini, printer, ctx, 0);
  return result;
}

int InstSetBatchInstallDone(const WCHAR* iniPath, const WCHAR* printerName, int value) {
  return WriteInt(iniPath, printerName, StrKeyBatchInstallDone(), value) ? 1 : 0;
}

void InstSetDrvInstSet(const WCHAR* iniPath, const WCHAR* printerName, int value) {
  if (!iniPath || !iniPath[0]) return;
  WriteInt(iniPath, printerName, TEXT("DrvInstSet"), value);
}

int InstGetDrvInstSet(const WCHAR* iniPath, const WCHAR* printerName) {
  if (!iniPath || !iniPath[0] || !printerName) return 0;
  UINT value = IniReadInt(printerName, TEXT("DrvInstSet"), kMissingInt, iniPath);
  return value != 0 && value != UINT(kMissingInt) ? 1 : 0;
}

int InstMarkBatchInstallDone(const WCHAR* settingsIni, const WCHAR* printerName, int value, int alsoPrinterData,
                             DriverContext* ctx) {
  int written = (settingsIni && settingsIni[0] && WriteInt(settingsIni, printerName, StrKeyBatchInstallDone(), value))
                    ? 1
                    : 0;
  if (alsoPrinterData && ctx) {
    DWORD data = DWORD(value);
    StoreSetPrinterDataBinary(ctx->printer, &data, sizeof data, StrKeyBatchInstallDone());
  }
  return written;
}

int InstIsBatchInstallDone(HANDLE hPrinter, DriverContext* ctx) {
  (void)ctx;
  DWORD value = 0;
  return StoreGetPrinterData(hPrinter, &value, sizeof value, StrKeyBatchInstallDone()) && value ? 1 : 0;
}
