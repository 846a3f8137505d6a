// Printer, driver and model names from the spooler, and the paths of the driver's files.
#include "core/common/printer_names.h"

#include <string.h>

#include "core/bind/remote_config.h"
#include "core/common/mem.h"
#include "core/common/os_tests.h"
#include "core/common/resources.h"
#include "core/common/settings_folders.h"
#include "core/common/text.h"
#include "core/tables/model_record.h"
#include "core/context/ui_state.h"
#include "core/store/driver_identity.h"

namespace {

const WCHAR kEmpty[1] = {0};
const DWORD kUiPathChars = DWORD(kPathChars);  // the UI state's path buffers
const DWORD kUiNameChars = DWORD(kPrinterNameChars);  // the UI state's printer and driver names
const DWORD kServerTypeClient = 17;  // a terminal-server client's printer

// Copies text into a buffer of size characters when it fits; false (buffer untouched) when not.
bool CopyIfFits(WCHAR* buffer, DWORD size, const WCHAR* text) {
  DWORD n = StrWideLength(text);
  if (!buffer || n >= size) return false;
  memcpy(buffer, text, n * sizeof(WCHAR));
  buffer[n] = 0;
  return true;
}

// Copies at most size - 1 characters and terminates.
void CopyCut(WCHAR* buffer, DWORD size, const WCHAR* text) {
  if (!buffer || !size) return;
  DWORD n = StrWideLength(text);
  if (n >= size) n = size - 1;
  if (n) memcpy(buffer, text, n * sizeof(WCHAR));
  buffer[n] = 0;
}

// Writes head + tail into buffer when both fit with the terminator; else the empty string.
bool Join(WCHAR* buffer, DWORD size, const WCHAR* head, DWORD headLength, const WCHAR* tail) {
  if (!buffer || !size) return false;
  DWORD tailLength = StrWideLength(tail);
  if (headLength + tailLength + 1 > size) {
    buffer[0] = 0;
    return false;
  }
  memmove(buffer, head, headLength * sizeof(WCHAR));
  memcpy(buffer + headLength, tail, tailLength * sizeof(WCHAR));
  buffer[headLength + tailLength] = 0;
  return true;
}

bool IsAbsolute(const WCHAR* name) { return name && name[0] && name[1] == u':'; }

bool SameIgnoringCase(const WCHAR* a, const WCHAR* b) { return lstrcmpiW(a, b) == 0; }

UiState* Ui(DriverContext* ctx) { return ctx ? ctx->ui : nullptr; }

// The context's copy of the model record; the template's when the context has none.
const ModelRecord* ModelOf(const DriverContext* ctx) {
  if (ctx && ctx->model) return ctx->model;
  return TblGetModelRecord();
}

// Length of a driver path's folder part, its last backslash included (0 when it has none).
DWORD FolderLength(const WCHAR* path) {
  DWORD last = 0;
  for (DWORD i = 0; path && path[i]; ++i)
    if (path[i] == u'\\') last = i + 1;
  return last;
}

// Reads a text value of printer data into buffer (size characters) and terminates it, whatever
// the stored length: at most maxBytes bytes are read. False when the value is missing or
// longer than maxBytes.
bool ReadDataText(HANDLE hPrinter, const WCHAR* key, const WCHAR* value, WCHAR* buffer, DWORD size, DWORD maxBytes) {
  if (!buffer || !size) return false;
  memset(buffer, 0, size * sizeof(WCHAR));
  DWORD room = (size - 1) * sizeof(WCHAR);
  if (maxBytes > room) maxBytes = room;
  DWORD type = 0, needed = 0, rc;
  if (key)
    rc = GetPrinterDataExW(hPrinter, key, value, &type, reinterpret_cast<LPBYTE>(buffer), maxBytes, &needed);
  else
    rc = GetPrinterDataW(hPrinter, const_cast<LPWSTR>(value), &type, reinterpret_cast<LPBYTE>(buffer), maxBytes,
                         &needed);
  if (rc != ERROR_SUCCESS) {
    buffer[0] = 0;
    return false;
  }
  buffer[size - 1] = 0;
  return true;
}

}  // namespace

// ---- spooler queries ----

void* PrnGetPrinterInfo(HANDLE hPrinter, DWORD level) {
  DWORD needed = 0;
  if (GetPrinterW(hPrinter, level, nullptr, 0, &needed) || GetLastError() != ERROR_INSUFFICIENT_BUFFER || !needed)
    return nullptr;
  void* info = MemAllocZero(needed);
  if (!info) return nullptr;
  if (!GetPrinterW(hPrinter, level, static_cast<LPBYTE>(info), needed, &needed)) {
    MemFree(info);
    return nullptr;
  }
  return info;
}

void* PrnGetDriverInfo(HANDLE hPrinter, DWORD level) {
  DWORD needed = 0;
  if (GetPrinterDriverW(hPrinter, nullptr, level, nullptr, 0, &needed) ||
      GetLastError() != ERROR_INSUFFICIENT_BUFFER || !needed)
    return nullptr;
  void* info = MemAllocZero(needed);
  if (!info) return nullptr;
  if (!GetPrinterDriverW(hPrinter, nullptr, level, static_cast<LPBYTE>(info), needed, &needed)) {
    MemFree(info);
    return nullptr;
  }
  return info;
}

// ---- printer facts of a context ----

void PrnCachePrinterInfo(const PRINTER_INFO_2* info, DriverContext* ctx) {
  UiState* ui = Ui(ctx);
  if (!info || !ui) return;
  if (ui->onServer == 0) ui->onServer = info->pServerName ? 1 : 2;
  if (!ui->printerName[0] && info->pPrinterName) {
    CopyCut(ui->printerName, kUiNameChars, info->pPrinterName);
    PrnRebuildConnectionName(ctx->printer, ui->printerName, kUiNameChars);
  }
  if (!ui->driverName[0] && info->pDriverName) CopyCut(ui->driverName, kUiNameChars, info->pDriverName);
  if (!ui->attributesKnown) {
    ui->attributesKnown = 1;
    ui->attributes = info->Attributes;
  }
}

const WCHAR* PrnGetPrinterNameFrom(DriverContext* ctx, const PRINTER_INFO_2* info) {
  UiState* ui = Ui(ctx);
  if (!ui) return kEmpty;
  if (!ui->printerName[0] && info) {
    if (info->pPrinterName) {
      CopyCut(ui->printerName, kUiNameChars, info->pPrinterName);
      PrnRebuildConnectionName(ctx->printer, ui->printerName, kUiNameChars);
    }
    PrnCachePrinterInfo(info, ctx);
  }
  return ui->printerName;
}

const WCHAR* PrnGetPrinterNameFromAlias(DriverContext* ctx, const PRINTER_INFO_2* info) {
  return PrnGetPrinterNameFrom(ctx, info);
}

const WCHAR* PrnGetPrinterName(DriverContext* ctx) {
  UiState* ui = Ui(ctx);
  if (!ui) return kEmpty;
  if (!ui->printerName[0]) {
    PRINTER_INFO_2* info = static_cast<PRINTER_INFO_2*>(PrnGetPrinterInfo(ctx->printer, 2));
    PrnGetPrinterNameFrom(ctx, info);
    MemFree(info);
  }
  return ui->printerName;
}

const WCHAR* PrnGetPrinterNameAlias(DriverContext* ctx) { return PrnGetPrinterName(ctx); }
const WCHAR* PrnGetPrinterNameAlias2(DriverContext* ctx) { return PrnGetPrinterName(ctx); }

const WCHAR* PrnGetDriverName(DriverContext* ctx) {
  UiState* ui = Ui(ctx);
  if (!ui) return kEmpty;
  if (!ui->driverName[0]) {
    PRINTER_INFO_2* info = static_cast<PRINTER_INFO_2*>(PrnGetPrinterInfo(ctx->printer, 2));
    if (info) {
      if (info->pDriverName) CopyCut(ui->driverName, kUiNameChars, info->pDriverName);
      PrnCachePrinterInfo(info, ctx);
      MemFree(info);
    }
  }
  if (!ui->driverName[0]) CopyCut(ui->driverName, kUiNameChars, ModelOf(ctx)->fallbackDriverName);
  return ui->driverName;
}

int PrnIsOnServer(DriverContext* ctx) {
  UiState* ui = Ui(ctx);
  if (!ui) return 0;
  if (ui->onServer == 0) {
    PRINTER_INFO_2* info = static_cast<PRINTER_INFO_2*>(PrnGetPrinterInfo(ctx->printer, 2));
    if (info) PrnCachePrinterInfo(info, ctx);
    ui->onServer = info && info->pServerName ? 1 : 2;
    MemFree(info);
  }
  return ui->onServer == 1;
}

int PrnHasAttribute(DWORD mask, DriverContext* ctx) {
  UiState* ui = Ui(ctx);
  if (!ui) return 0;
  if (!ui->attributesKnown) {
    PRINTER_INFO_2* info = static_cast<PRINTER_INFO_2*>(PrnGetPrinterInfo(ctx->printer, 2));
    if (!info) return 0;
    PrnCachePrinterInfo(info, ctx);
    MemFree(info);
  }
  return (ui->attributes & mask) ? 1 : 0;
}

int PrnIsBidiEnabled(DriverContext* ctx) { return PrnHasAttribute(PRINTER_ATTRIBUTE_ENABLE_BIDI, ctx); }

// ---- printer facts without a context ----

WCHAR* PrnGetPrinterNameFromInfo(HANDLE hPrinter, WCHAR* buffer, DWORD size, const PRINTER_INFO_2* info) {
  if (!buffer || !size || !info) return buffer;
  if (info->pPrinterName) CopyIfFits(buffer, size, info->pPrinterName);
  PrnRebuildConnectionName(hPrinter, buffer, size);
  return buffer;
}

WCHAR* PrnGetPrinterNameOf(HANDLE hPrinter, WCHAR* buffer, DWORD size) {
  PRINTER_INFO_2* info = static_cast<PRINTER_INFO_2*>(PrnGetPrinterInfo(hPrinter, 2));
  PrnGetPrinterNameFromInfo(hPrinter, buffer, size, info);
  MemFree(info);
  return buffer;
}

WCHAR* PrnGetDriverNameOf(HANDLE hPrinter, WCHAR* buffer, DWORD sizeBytes) {
  DWORD size = sizeBytes / sizeof(WCHAR);
  if (!buffer || !size) return buffer;
  PRINTER_INFO_2* info = static_cast<PRINTER_INFO_2*>(PrnGetPrinterInfo(hPrinter, 2));
  const WCHAR* name = info && info->pDriverName ? info->pDriverName : TblGetModelRecord()->fallbackDriverName;
  CopyCut(buffer, size, name);
  MemFree(info);
  return buffer;
}

int PrnInfoIsOnServer(const PRINTER_INFO_2* info) { return info && info->pServerName ? 1 : 0; }
int PrnInfoIsLocal(const PRINTER_INFO_2* info) { return PrnInfoIsOnServer(info) ? 0 : 1; }

int PrnIsOnServerOf(HANDLE hPrinter) {
  PRINTER_INFO_2* info = static_cast<PRINTER_INFO_2*>(PrnGetPrinterInfo(hPrinter, 2));
  int answer = PrnInfoIsOnServer(info);
  MemFree(info);
  return answer;
}

int PrnNameChangedSinceInstall(HANDLE hPrinter, const PRINTER_INFO_2* info) {
  if (!info || info->pServerName) return 0;
  WCHAR text[262];
  if (ReadDataText(hPrinter, nullptr, TEXT("ClientName"), text, 262, 522) && text[0]) return 0;
  DWORD type = 0;
  if (RemoteQueryServerType(info->pPrinterName, &type) && type == kServerTypeClient) return 0;
  if (!ReadDataText(hPrinter, nullptr, TEXT("ZEMSPrinterName"), text, 262, 522)) return 1;
  return info->pPrinterName && SameIgnoringCase(text, info->pPrinterName) ? 0 : 1;
}

int PrnGetAdminChange(HANDLE hPrinter, DWORD* value) {
  DWORD data = 0, type = 0, needed = 0;
  DWORD rc = GetPrinterDataW(hPrinter, const_cast<LPWSTR>(TEXT("AdminChange")), &type, reinterpret_cast<LPBYTE>(&data),
                             sizeof data, &needed);
  // Four bytes of another type (binary, a short text) are not the switch.
  const bool isDword = rc == ERROR_SUCCESS && type == REG_DWORD && needed == sizeof data;
  if (!isDword) data = 0;
  if (value) *value = data;
  return isDword && data != 0 ? 1 : 0;
}

void PrnRebuildConnectionName(HANDLE hPrinter, WCHAR* name, DWORD size) {
  // name[1] is read only when the buffer holds it.
  if (!name || size < 2 || name[0] != u'\\' || name[1] != u'\\' || !OsIsVistaOrLater()) return;
  // 260 bytes are read of each value; one more character terminates it.
  WCHAR server[131], queue[131];
  if (!ReadDataText(hPrinter, TEXT("DsSpooler"), TEXT("shortServerName"), server, 131, 260) ||
      !ReadDataText(hPrinter, TEXT("DsSpooler"), TEXT("printerName"), queue, 131, 260))
    return;
  DWORD serverLength = StrWideLength(server), queueLength = StrWideLength(queue);
  if (!serverLength || !queueLength || serverLength + queueLength + 3 >= size) return;
  name[0] = name[1] = u'\\';
  memcpy(name + 2, server, serverLength * sizeof(WCHAR));
  name[2 + serverLength] = u'\\';
  memcpy(name + 3 + serverLength, queue, queueLength * sizeof(WCHAR));
  name[3 + serverLength + queueLength] = 0;
}

// ---- the driver folder and the driver's files ----

WCHAR* PathGetDriverDirFromInfo(HANDLE, WCHAR* buffer, DWORD size, const DRIVER_INFO_3* driverInfo) {
  if (!buffer || !size) return buffer;
  buffer[0] = 0;
  if (driverInfo && driverInfo->pDriverPath) {
    DWORD folder = FolderLength(driverInfo->pDriverPath);
    // A driver folder that does not fit leaves the buffer empty: the System folder would
    // name another folder.
    if (folder >= size) return buffer;
    if (folder) {
      memcpy(buffer, driverInfo->pDriverPath, folder * sizeof(WCHAR));
      buffer[folder] = 0;
      return buffer;
    }
  }
  UINT n = GetSystemDirectoryW(buffer, size);
  if (n == 0 || n >= size) {
    buffer[0] = 0;
    return buffer;
  }
  Join(buffer, size, buffer, n, TEXT("\\spool\\drivers\\w32x86\\2\\"));
  return buffer;
}

WCHAR* PathGetDriverDirOf(HANDLE hPrinter, WCHAR* buffer, DWORD size) {
  DRIVER_INFO_3* info = static_cast<DRIVER_INFO_3*>(PrnGetDriverInfo(hPrinter, 3));
  PathGetDriverDirFromInfo(hPrinter, buffer, size, info);
  MemFree(info);
  return buffer;
}

const WCHAR* PathGetDriverDir(DriverContext* ctx) {
  UiState* ui = Ui(ctx);
  if (!ui) return kEmpty;
  return PathGetDriverDirOf(ctx->printer, ui->driverDirPath, kUiPathChars);
}

WCHAR* PathInDriverDirOf(WCHAR* buffer, DWORD size, const WCHAR* name, const DRIVER_INFO_3* driverInfo) {
  if (!buffer || !size || !name || !driverInfo || !driverInfo->pDriverPath) return buffer;
  Join(buffer, size, driverInfo->pDriverPath, FolderLength(driverInfo->pDriverPath), name);
  return buffer;
}

WCHAR* PathInDriverDir(WCHAR* buffer, DWORD size, const WCHAR* name, HANDLE hPrinter) {
  if (!buffer || !size || !name) return buffer;
  DRIVER_INFO_3* info = static_cast<DRIVER_INFO_3*>(PrnGetDriverInfo(hPrinter, 3));
  PathInDriverDirOf(buffer, size, name, info);
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
    if (!CopyIfFits(buffer, size, name)) buffer[0] = 0;
    return;
  }
  PathGetDriverDirOf(hPrinter, buffer, size);
  if (buffer[0]) Join(buffer, size, buffer, StrWideLength(buffer), name);
}

}  // namespace

const WCHAR* PathModelDataFile(DriverContext* ctx) {
  UiState* ui = Ui(ctx);
  if (!ui) return kEmpty;
  FileOfModel(ctx->printer, ui->modelDataFilePath, kUiPathChars, ModelOf(ctx)->modelDataFile);
  return ui->modelDataFilePath;
}

WCHAR* PathModelDataFileOf(HANDLE hPrinter, WCHAR* buffer, DWORD sizeBytes) {
  FileOfModel(hPrinter, buffer, sizeBytes / sizeof(WCHAR), TblGetModelRecord()->modelDataFile);
  return buffer;
}

const WCHAR* PathInstallIniFile(DriverContext* ctx) {
  UiState* ui = Ui(ctx);
  if (!ui) return kEmpty;
  WCHAR* buffer = ui->installIniPath;
  PathGetDriverDirOf(ctx->printer, buffer, kUiPathChars);
  if (buffer[0]) Join(buffer, kUiPathChars, buffer, StrWideLength(buffer), ModelOf(ctx)->modelDbIniName);
  return buffer;
}

const WCHAR* PathHelpFile(DriverContext* ctx) {
  UiState* ui = Ui(ctx);
  if (!ui) return kEmpty;
  WCHAR name[kUiNameChars];
  if (InstReadHelpFileName(name, kUiNameChars, ctx) && name[0]) {
    WCHAR* buffer = ui->driverDirPath;
    PathGetDriverDir(ctx);
    if (buffer[0]) Join(buffer, kUiPathChars, buffer, StrWideLength(buffer), name);
    return buffer;
  }
  const WCHAR* dll = ResLanguageDllPath(ctx);
  WCHAR* buffer = ui->driverDirPath;
  if (dll != buffer) CopyCut(buffer, kUiPathChars, dll);
  DWORD n = StrWideLength(buffer);
  if (n >= 3) {
    buffer[n - 3] = u'h';
    buffer[n - 2] = u'l';
    buffer[n - 1] = u'p';
  }
  return buffer;
}

// ---- other folders ----

namespace {

WCHAR* PathInFolder(WCHAR* buffer, DWORD size, const WCHAR* name, bool windows) {
  if (!buffer || !size) return buffer;
  buffer[0] = 0;
  if (!name) return buffer;
  UINT n = windows ? GetWindowsDirectoryW(buffer, size) : GetSystemDirectoryW(buffer, size);
  if (n == 0 || n >= size) {
    buffer[0] = 0;
    return buffer;
  }
  if (n + 1 + StrWideLength(name) + 1 > size) {
    buffer[0] = 0;
    return buffer;
  }
  buffer[n] = u'\\';
  Join(buffer, size, buffer, n + 1, name);
  return buffer;
}

}  // namespace

WCHAR* PathInWindowsDir(WCHAR* buffer, DWORD size, const WCHAR* name) { return PathInFolder(buffer, size, name, true); }
WCHAR* PathInSystemDir(WCHAR* buffer, DWORD size, const WCHAR* name) { return PathInFolder(buffer, size, name, false); }

WCHAR* PathFromSystemDirUp(WCHAR* buffer, DWORD size, const WCHAR* path) {
  if (!buffer || !size) return buffer;
  buffer[0] = 0;
  if (!path) return buffer;
  DWORD levels = 0;
  const WCHAR* rest = path;
  while (rest[0] == u'.' && rest[1] == u'.' && rest[2] == u'\\') {
    ++levels;
    rest += 3;
  }
  if (!levels) return buffer;
  WCHAR system[MAX_PATH];
  UINT n = GetSystemDirectoryW(system, MAX_PATH);
  if (n == 0 || n >= MAX_PATH) return buffer;
  // The levels-th backslash from the end of the System directory ends the part kept.
  DWORD found = 0;
  int position = -1;
  for (int i = int(n) - 1; i >= 0; --i) {
    if (system[i] == u'\\' && ++found == levels) {
      position = i;
      break;
    }
  }
  if (position < 0) return buffer;
  DWORD restLength = StrWideLength(rest);
  if (size < DWORD(position) + restLength + 2) return buffer;
  Join(buffer, size, system, DWORD(position) + 1, rest);
  return buffer;
}

UINT OsGetSystemDir(WCHAR* buffer, UINT size, DriverContext*) {
  if (!buffer || !size) return 0;
  UINT n = GetSystemDirectoryW(buffer, size);
  if (n == 0 || n >= size) {
    buffer[0] = 0;
    return 0;
  }
  return n;
}

int OsGetSystemWindowsDir(WCHAR* buffer, UINT size) {
  if (!buffer || !size) return 1;
  UINT n = GetSystemWindowsDirectoryW(buffer, size);
  if (n == 0 || n >= size) buffer[0] = 0;
  return 1;
}

const WCHAR* StrKeyBatchInstallDone() { return TEXT("BatchInstallDone"); }

// ---- the settings file ----

namespace {

// The decision of PathSettingsFile; info and driverInfo are given by the WithInfo form.
const WCHAR* SettingsFile(DriverContext* ctx, bool withInfo, const PRINTER_INFO_2* info,
                          const DRIVER_INFO_3* driverInfo) {
  UiState* ui = Ui(ctx);
  if (!ui) return kEmpty;
  WCHAR* path = ui->settingsFilePath;
  const WCHAR* name = ModelOf(ctx)->settingsIniName;
  if (IsAbsolute(name)) {
    if (!CopyIfFits(path, kUiPathChars, name)) path[0] = 0;
    return path;
  }
  WCHAR folder[kUiPathChars];
  int length = 0;
  int multiSession =
      withInfo ? OsIsMultiSessionHostFor(ctx->printer, driverInfo) : OsIsMultiSessionHost(ctx->printer);
  if (multiSession && !(ui->openKind & 0x40000))
    length = withInfo ? PathGetSessionSettingsFolderFor(folder, kUiPathChars, ctx, info)
                      : PathGetSessionSettingsFolder(folder, kUiPathChars, ctx);
  if (length <= 0)
    length = withInfo ? PathGetSettingsFolderWithInfo(folder, kUiPathChars, ctx, info)
                      : PathGetSettingsFolder(folder, kUiPathChars, ctx);
  // Without a folder the path stays empty, so that no caller falls back to a relative name.
  if (length <= 0 || DWORD(length) >= kUiPathChars) {
    path[0] = 0;
    return path;
  }
  folder[length] = u'\\';
  Join(path, kUiPathChars, folder, DWORD(length) + 1, name);
  return path;
}

int SettingsFileFor(WCHAR* buffer, DWORD size, int perUser, HANDLE hPrinter, bool withInfo,
                    const PRINTER_INFO_2* info) {
  if (!buffer || !size) return 0;
  buffer[0] = 0;
  WCHAR folder[kUiPathChars];
  int length;
  if (perUser == 1)
    length = withInfo ? PathGetUserSettingsFolderFor(folder, kUiPathChars, hPrinter, info)
                      : PathGetUserSettingsFolder(folder, kUiPathChars, hPrinter);
  else
    length = withInfo ? PathGetSettingsFolderFor(folder, kUiPathChars, hPrinter, info)
                      : PathGetSettingsFolderOf(folder, kUiPathChars, hPrinter);
  if (length <= 0 || DWORD(length) >= kUiPathChars) return 0;
  folder[length] = u'\\';
  return Join(buffer, size, folder, DWORD(length) + 1, TblGetModelRecord()->settingsIniName) ? 1 : 0;
}

}  // namespace

const WCHAR* PathSettingsFile(DriverContext* ctx) { return SettingsFile(ctx, false, nullptr, nullptr); }

const WCHAR* PathSettingsFileWithInfo(DriverContext* ctx, const PRINTER_INFO_2* info,
                                      const DRIVER_INFO_3* driverInfo) {
  return SettingsFile(ctx, true, info, driverInfo);
}

int PathSettingsFileFor(WCHAR* buffer, DWORD size, int perUser, HANDLE hPrinter) {
  return SettingsFileFor(buffer, size, perUser, hPrinter, false, nullptr);
}

int PathSettingsFileForInfo(WCHAR* buffer, DWORD size, int perUser, HANDLE hPrinter, const PRINTER_INFO_2* info) {
  return SettingsFileFor(buffer, size, perUser, hPrinter, true, info);
}
