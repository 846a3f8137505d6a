// Minimal version until the printer names and driver file paths are built: the spooler's
// level-2 query, the facts of PRINTER_INFO_2 kept in the UI state, connection names left as the
// spooler reports them, the server test from PRINTER_INFO_2, the driver folder from
// DRIVER_INFO_3 (the System directory's spool\drivers\w32x86\2 folder without it), the model
// data file in it, and System-directory paths.
#include "core/common/mem.h"
#include "core/common/printer_names.h"
#include "core/common/printer_names_minimal.h"
#include "core/engine/driver_context.h"
#include "core/engine/model_record.h"
#include "core/engine/ui_state.h"

namespace {
void CopyName(WCHAR* to, const WCHAR* from, int size) {
  int i = 0;
  if (from)
    for (; i < size - 1 && from[i]; ++i) to[i] = from[i];
  to[i] = 0;
}
}  // namespace

void* PrnGetPrinterInfo(HANDLE printer, DWORD level) {
  DWORD needed = 0;
  if (GetPrinterW(printer, level, nullptr, 0, &needed) || GetLastError() != ERROR_INSUFFICIENT_BUFFER ||
      needed == 0)
    return nullptr;
  BYTE* buffer = static_cast<BYTE*>(MemAllocZero(needed));
  if (!buffer) return nullptr;
  if (!GetPrinterW(printer, level, buffer, needed, &needed)) {
    MemFree(buffer);
    return nullptr;
  }
  return buffer;
}

void PrnCachePrinterInfo(const PRINTER_INFO_2W* info, DriverContext* ctx) {
  if (!info || !ctx || !ctx->ui) return;
  UiState* ui = ctx->ui;
  if (ui->onServer == 0) ui->onServer = info->pServerName ? 1 : 2;
  if (!ui->printerName[0]) {
    CopyName(ui->printerName, info->pPrinterName, kPrinterNameChars);
    PrnRebuildConnectionName(ctx->printer, ui->printerName, kPrinterNameChars);
  }
  if (!ui->driverName[0]) CopyName(ui->driverName, info->pDriverName, kPrinterNameChars);
  if (!ui->attributesKnown) {
    ui->attributesKnown = 1;
    ui->attributes = info->Attributes;
  }
}

const WCHAR* PrnGetPrinterName(DriverContext* ctx) {
  static const WCHAR kEmpty[1] = {0};
  if (!ctx || !ctx->ui) return kEmpty;
  if (!ctx->ui->printerName[0]) {
    auto* info = static_cast<PRINTER_INFO_2W*>(PrnGetPrinterInfo(ctx->printer, 2));
    PrnCachePrinterInfo(info, ctx);
    MemFree(info);
  }
  return ctx->ui->printerName;
}

const WCHAR* PrnGetDriverName(DriverContext* ctx) {
  static const WCHAR kEmpty[1] = {0};
  if (!ctx || !ctx->ui) return kEmpty;
  UiState* ui = ctx->ui;
  if (!ui->driverName[0]) {
    auto* info = static_cast<PRINTER_INFO_2W*>(PrnGetPrinterInfo(ctx->printer, 2));
    if (info) CopyName(ui->driverName, info->pDriverName, kPrinterNameChars);
    MemFree(info);
  }
  if (!ui->driverName[0] && ctx->model) CopyName(ui->driverName, ctx->model->fallbackDriverName, kPrinterNameChars);
  return ui->driverName;
}

void PrnRebuildConnectionName(HANDLE printer, WCHAR* name, DWORD size) {
  (void)printer;
  (void)name;
  (void)size;
}

namespace {

thread_local WCHAR t_driverDir[MAX_PATH];
thread_local WCHAR t_modelData[MAX_PATH];

LPVOID Query(HANDLE hPrinter, DWORD level, bool driver) {
  DWORD needed = 0;
  BOOL ok = driver ? GetPrinterDriverW(hPrinter, nullptr, level, nullptr, 0, &needed)
                   : GetPrinterW(hPrinter, level, nullptr, 0, &needed);
  if (ok || GetLastError() != ERROR_INSUFFICIENT_BUFFER || needed == 0) return nullptr;
  LPBYTE info = static_cast<LPBYTE>(MemAllocZero(needed));
  if (!info) return nullptr;
  ok = driver ? GetPrinterDriverW(hPrinter, nullptr, level, info, needed, &needed)
              : GetPrinterW(hPrinter, level, info, needed, &needed);
  if (!ok) {
    MemFree(info);
    return nullptr;
  }
  return info;
}

}  // namespace

BOOL PrnInfoIsOnServer(const PRINTER_INFO_2W* info) { return info && info->pServerName; }

BOOL PrnIsOnServerOf(HANDLE hPrinter) {
  PRINTER_INFO_2W* info = static_cast<PRINTER_INFO_2W*>(Query(hPrinter, 2, false));
  BOOL onServer = PrnInfoIsOnServer(info);
  MemFree(info);
  return onServer;
}

BOOL PrnIsOnServer(DriverContext* ctx) { return ctx ? PrnIsOnServerOf(ctx->printer) : FALSE; }

LPVOID PrnGetDriverInfo(HANDLE hPrinter, DWORD level) { return Query(hPrinter, level, true); }

LPCWSTR PathGetDriverDir(DriverContext* ctx) {
  t_driverDir[0] = 0;
  DRIVER_INFO_3W* info = ctx ? static_cast<DRIVER_INFO_3W*>(PrnGetDriverInfo(ctx->printer, 3)) : nullptr;
  if (info && info->pDriverPath && lstrlenW(info->pDriverPath) < MAX_PATH) {
    lstrcpyW(t_driverDir, info->pDriverPath);
    int cut = lstrlenW(t_driverDir);
    while (cut > 0 && t_driverDir[cut - 1] != '\\') --cut;
    t_driverDir[cut] = 0;
  } else if (GetSystemDirectoryW(t_driverDir, MAX_PATH - 32)) {
    lstrcatW(t_driverDir, TEXT("\\spool\\drivers\\w32x86\\2\\"));
  }
  MemFree(info);
  return t_driverDir;
}

LPCWSTR PathModelDataFile(DriverContext* ctx) {
  t_modelData[0] = 0;
  const WCHAR* name = ctx && ctx->model ? ctx->model->modelDataFile : nullptr;
  if (!name) return t_modelData;
  if (name[0] && name[1] == ':') {
    if (lstrlenW(name) < MAX_PATH) lstrcpyW(t_modelData, name);
    return t_modelData;
  }
  LPCWSTR dir = PathGetDriverDir(ctx);
  if (lstrlenW(dir) + lstrlenW(name) < MAX_PATH) {
    lstrcpyW(t_modelData, dir);
    lstrcatW(t_modelData, name);
  }
  return t_modelData;
}

void PathInSystemDir(LPWSTR buffer, DWORD size, LPCWSTR name) {
  if (!buffer || size == 0) return;
  buffer[0] = 0;
  WCHAR dir[MAX_PATH];
  UINT n = GetSystemDirectoryW(dir, MAX_PATH);
  if (!name || n == 0 || n >= size || n + 1 + DWORD(lstrlenW(name)) + 1 > size) return;
  lstrcpyW(buffer, dir);
  lstrcatW(buffer, TEXT("\\"));
  lstrcatW(buffer, name);
}

BOOL OsGetSystemDir(LPWSTR buffer, DWORD size, DriverContext*) {
  if (!buffer || size == 0) return FALSE;
  UINT n = GetSystemDirectoryW(buffer, size);
  return n > 0 && n < size;
}
