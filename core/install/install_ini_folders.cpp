// The install ini's folder keys: the per-machine settings folder ("_ZEMSDirectory" in HKLM),
// the client's settings folder (printer data) and the spool folder. They run under the global
// mutex, so no rewrite of the same files in another process drops them.
#include "core/common/file_ops.h"
#include "core/common/ini_access.h"
#include "core/common/locks.h"
#include "core/common/text.h"
#include "core/context/driver_context.h"
#include "core/install/driver_identity.h"
#include "core/install/install_ini.h"
#include "core/install/install_ini_keys.h"
#include "core/store/item_store.h"
#include "core/system/driver_paths.h"
#include "core/system/printer_names.h"
#include "core/system/settings_folders.h"

using inst_keys::DeleteKeyKeepTime;
using inst_keys::ReadKey;

namespace {

const WCHAR kAbsent[] = TEXT("*");
constexpr DWORD kFolderChars = MAX_PATH;
// Room kept after the settings folder and the spool folder for the names put into them.
constexpr DWORD kSettingsFolderReserve = 46;
constexpr DWORD kSpoolFolderReserve = 21;

// Holds the machine-wide mutex for a scope; a context that opts out of it is respected.
class GlobalMutexHold {
 public:
  explicit GlobalMutexHold(DriverContext* ctx) : ctx_(ctx) {
    if (ctx_)
      CtxLockGlobalMutex(ctx_);
    else
      LockGlobalMutex();
  }
  ~GlobalMutexHold() {
    if (ctx_)
      CtxUnlockGlobalMutex(ctx_);
    else
      UnlockGlobalMutex();
  }
  GlobalMutexHold(const GlobalMutexHold&) = delete;
  GlobalMutexHold& operator=(const GlobalMutexHold&) = delete;

 private:
  DriverContext* ctx_;
};

// 1 when path names an existing folder (a trailing backslash allowed).
bool FolderExists(const WCHAR* path) {
  WCHAR probe[kFolderChars];
  StrCopyCut(probe, kFolderChars, path);
  DWORD n = StrWideLength(probe);
  if (n > 3 && probe[n - 1] == '\\') probe[n - 1] = 0;
  WIN32_FIND_DATAW found;
  HANDLE h = FindFirstFileW(probe, &found);
  if (h == INVALID_HANDLE_VALUE) return false;
  FindClose(h);
  return (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

// The value with "%SYSTEMDRIVE%" or "%SYSTEMROOT%" expanded; false when it is no usable path
// (a drive path and a network path stay as they are).
bool Expand(WCHAR* path) {
  if (path[0] == '\\' && path[1] == '\\') return true;
  return PathExpandSystemMacros(path, kFolderChars, nullptr) != FALSE;
}

int WriteTextData(HANDLE printer, const WCHAR* value, const WCHAR* text) {
  return StoreSetPrinterDataString(printer, text, (StrWideLength(text) + 1) * sizeof(WCHAR), value);
}

}  // namespace

int InstApplySettingsFolders(HANDLE hPrinter, const WCHAR* printerName, const WCHAR* iniPath,
                             const PRINTER_INFO_2* info, int keepTimeMode) {
  if (!printerName || !iniPath || !iniPath[0]) return 1;
  GlobalMutexHold hold(nullptr);
  WCHAR folder[kFolderChars];
  if (ReadKey(iniPath, printerName, TEXT("ZEMSDirectory"), kAbsent, folder, kFolderChars)) {
    if (!folder[0]) {
      InstWriteDriverRegValue(TEXT("_ZEMSDirectory"), folder, sizeof(WCHAR));
    } else if (Expand(folder) && FolderExists(folder)) {
      DWORD n = StrWideLength(folder);
      if (folder[n - 1] != '\\' && n + 1 < kFolderChars) {
        folder[n++] = '\\';
        folder[n] = 0;
      }
      if (n + kSettingsFolderReserve < kFolderChars) {
        StrJoin(folder, kFolderChars, folder, n, TEXT("_zems"));
        InstWriteDriverRegValue(TEXT("_ZEMSDirectory"), folder, (StrWideLength(folder) + 1) * sizeof(WCHAR));
      }
    }
    DeleteKeyKeepTime(iniPath, printerName, TEXT("ZEMSDirectory"), keepTimeMode);
  }
  if (!PrnInfoIsOnServer(info)) {
    WCHAR client[kFolderChars];
    if (ReadKey(iniPath, printerName, TEXT("ZEMSDirectoryClient"), kAbsent, client, kFolderChars)) {
      if (client[0]) WriteTextData(hPrinter, TEXT("_ZEMSDirectoryClient"), client);
      DeleteKeyKeepTime(iniPath, printerName, TEXT("ZEMSDirectoryClient"), keepTimeMode);
    }
  }
  return 1;
}

int InstApplySettingsFoldersFromDataFile(HANDLE hPrinter, const WCHAR* printerName, const PRINTER_INFO_2* info) {
  WCHAR path[kFolderChars];
  path[0] = 0;
  PathModelDataFileOf(hPrinter, path, sizeof path);
  if (!path[0]) return 1;
  return InstApplySettingsFolders(hPrinter, printerName, path, info, 1);
}

int InstApplySettingsFoldersFromIni(HANDLE hPrinter, const WCHAR* printerName, const PRINTER_INFO_2* info) {
  WCHAR path[kFolderChars];
  if (!InstIniPathInto(path, kFolderChars)) return 1;
  return InstApplySettingsFolders(hPrinter, printerName, path, info, 0);
}

int InstApplySpoolFolder(const WCHAR* iniPath, const WCHAR* printerName, DriverContext* ctx, int keepTimeMode) {
  if (!iniPath || !iniPath[0] || !printerName) return 1;
  GlobalMutexHold hold(ctx);
  WCHAR folder[kFolderChars];
  WCHAR all[32];
  all[0] = 0;
  bool present = ReadKey(iniPath, printerName, TEXT("SpoolDirectory"), kAbsent, folder, kFolderChars);
  IniReadString(printerName, TEXT("SpoolDirectoryAll"), TEXT("OFF"), all, 32, iniPath);
  const bool machineWide = lstrcmpiW(all, TEXT("ON")) == 0;
  if (present && folder[0]) {
    if (Expand(folder) && FolderExists(folder) && StrWideLength(folder) + kSpoolFolderReserve < kFolderChars) {
      if (machineWide)
        InstWriteDriverRegValue(TEXT("SpoolDirectory"), folder, (StrWideLength(folder) + 1) * sizeof(WCHAR));
      else if (ctx)
        WriteTextData(ctx->printer, TEXT("SpoolDirectory"), folder);
    }
  } else if (present && machineWide) {
    InstWriteDriverRegValue(TEXT("SpoolDirectory"), TEXT(""), sizeof(WCHAR));
  }
  DeleteKeyKeepTime(iniPath, printerName, TEXT("SpoolDirectory"), keepTimeMode);
  DeleteKeyKeepTime(iniPath, printerName, TEXT("SpoolDirectoryAll"), keepTimeMode);
  return 1;
}
