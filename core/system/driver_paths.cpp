// The driver folder and the paths of the driver's files.
#include "core/system/driver_paths.h"

#include <string.h>

#include "core/common/mem.h"
#include "core/common/text.h"
#include "core/context/driver_context.h"
#include "core/context/ui_state.h"
#include "core/install/driver_identity.h"
#include "core/system/printer_names.h"
#include "core/system/resources.h"
#include "core/tables/model_record.h"

namespace {

const WCHAR kEmpty[1] = {0};
const DWORD kUiPathChars = DWORD(kPathChars);  // the UI state's path buffers
const DWORD kUiNameChars = DWORD(kPrinterNameChars);

bool IsAbsolute(const WCHAR* name) { return name && name[0] && name[1] == u':'; }

UiState* Ui(DriverContext* ctx) { return ctx ? ctx->ui : nullptr; }

// Length of a driver path's folder part, its last backslash included (0 when it has none).
DWORD FolderLength(const WCHAR* path) {
  DWORD last = 0;
  for (DWORD i = 0; path && path[i]; ++i)
    if (path[i] == u'\\') last = i + 1;
  return last;
}

}  // namespace

// ---- the driver folder and the driver's files ----

WCHAR* PathGetDriverDirOfFromInfo(HANDLE, WCHAR* buffer, DWORD cchBuffer, const DRIVER_INFO_3* driverInfo) {
  if (!buffer || !cchBuffer) return buffer;
  buffer[0] = 0;
  if (driverInfo && driverInfo->pDriverPath) {
    DWORD folder = FolderLength(driverInfo->pDriverPath);
    // A driver folder that does not fit leaves the buffer empty: the System folder would
    // name another folder.
    if (folder >= cchBuffer) return buffer;
    if (folder) {
      memcpy(buffer, driverInfo->pDriverPath, folder * sizeof(WCHAR));
      buffer[folder] = 0;
      return buffer;
    }
  }
  UINT n = GetSystemDirectoryW(buffer, cchBuffer);
  if (n == 0 || n >= cchBuffer) {
    buffer[0] = 0;
    return buffer;
  }
  StrJoin(buffer, cchBuffer, buffer, n, TEXT("\\spool\\drivers\\w32x86\\2\\"));
  return buffer;
}

WCHAR* PathGetDriverDirOf(HANDLE hPrinter, WCHAR* buffer, DWORD cchBuffer) {
  DRIVER_INFO_3* info = static_cast<DRIVER_INFO_3*>(PrnGetDriverInfo(hPrinter, 3));
  PathGetDriverDirOfFromInfo(hPrinter, buffer, cchBuffer, info);
  MemFree(info);
  return buffer;
}

const WCHAR* PathGetDriverDir(DriverContext* ctx) {
  UiState* ui = Ui(ctx);
  if (!ui) return kEmpty;
  return PathGetDriverDirOf(ctx->printer, ui->driverDirPath, kUiPathChars);
}

WCHAR* PathInDriverDirFromInfo(WCHAR* buffer, DWORD cchBuffer, const WCHAR* name, const DRIVER_INFO_3* driverInfo) {
  if (!buffer || !cchBuffer || !name || !driverInfo || !driverInfo->pDriverPath) return buffer;
  StrJoin(buffer, cchBuffer, driverInfo->pDriverPath, FolderLength(driverInfo->pDriverPath), name);
  return buffer;
}

WCHAR* PathInDriverDir(WCHAR* buffer, DWORD cchBuffer, const WCHAR* name, HANDLE hPrinter) {
  if (!buffer || !cchBuffer || !name) return buffer;
  DRIVER_INFO_3* info = static_cast<DRIVER_INFO_3*>(PrnGetDriverInfo(hPrinter, 3));
  PathInDriverDirFromInfo(buffer, cchBuffer, name, info);
  MemFree(info);
  return buffer;
}

namespace {

// An absolute name as it stands, else driver folder + name, into buffer.
void FileOfModel(HANDLE hPrinter, WCHAR* buffer, DWORD size, const WCHAR* name) {
  if (!buffer || !size) return;
  buffer[0] = 0;
  if (!name) return;
  if (IsAbsolute(name)) {
    if (!StrCopyIfFits(buffer, size, name)) buffer[0] = 0;
    return;
  }
  PathGetDriverDirOf(hPrinter, buffer, size);
  if (buffer[0]) StrJoin(buffer, size, buffer, StrWideLength(buffer), name);
}

}  // namespace

const WCHAR* PathModelDataFile(DriverContext* ctx) {
  UiState* ui = Ui(ctx);
  if (!ui) return kEmpty;
  FileOfModel(ctx->printer, ui->modelDataFilePath, kUiPathChars, CtxModelRecord(ctx)->modelDataFile);
  return ui->modelDataFilePath;
}

WCHAR* PathModelDataFileOf(HANDLE hPrinter, WCHAR* buffer, DWORD cbBuffer) {
  FileOfModel(hPrinter, buffer, cbBuffer / sizeof(WCHAR), TblGetModelRecord()->modelDataFile);
  return buffer;
}

const WCHAR* PathInstallIniFile(DriverContext* ctx) {
  UiState* ui = Ui(ctx);
  if (!ui) return kEmpty;
  WCHAR* buffer = ui->installIniPath;
  PathGetDriverDirOf(ctx->printer, buffer, kUiPathChars);
  if (buffer[0]) StrJoin(buffer, kUiPathChars, buffer, StrWideLength(buffer), CtxModelRecord(ctx)->modelDbIniName);
  return buffer;
}

const WCHAR* PathHelpFile(DriverContext* ctx) {
  UiState* ui = Ui(ctx);
  if (!ui) return kEmpty;
  WCHAR name[kUiNameChars];
  if (InstReadHelpFileName(name, kUiNameChars, ctx) && name[0]) {
    WCHAR* buffer = ui->driverDirPath;
    PathGetDriverDir(ctx);
    if (buffer[0]) StrJoin(buffer, kUiPathChars, buffer, StrWideLength(buffer), name);
    return buffer;
  }
  const WCHAR* dll = ResLanguageDllPath(ctx);
  WCHAR* buffer = ui->driverDirPath;
  if (dll != buffer) StrCopyCut(buffer, kUiPathChars, dll);
  DWORD n = StrWideLength(buffer);
  if (n >= 3) {
    buffer[n - 3] = u'h';
    buffer[n - 2] = u'l';
    buffer[n - 1] = u'p';
  }
  return buffer;
}

