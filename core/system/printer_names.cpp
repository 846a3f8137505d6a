// Printer, driver and model names and printer facts from the spooler.
#include "core/system/printer_names.h"

#include <string.h>

#include "core/bind/remote_config.h"
#include "core/common/mem.h"
#include "core/common/os_tests.h"
#include "core/common/text.h"
#include "core/context/driver_context.h"
#include "core/context/ui_state.h"
#include "core/tables/model_record.h"

namespace {

const WCHAR kEmpty[1] = {0};
const DWORD kUiNameChars = DWORD(kPrinterNameChars);  // the UI state's printer and driver names
const DWORD kServerTypeClient = 17;  // a terminal-server client's printer

bool SameIgnoringCase(const WCHAR* a, const WCHAR* b) { return lstrcmpiW(a, b) == 0; }

UiState* Ui(DriverContext* ctx) { return ctx ? ctx->ui : nullptr; }

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

WCHAR* PrnGetPrinterNameAlloc(HANDLE printer) {
  auto* info = static_cast<PRINTER_INFO_2W*>(PrnGetPrinterInfo(printer, 2));
  WCHAR* copy = nullptr;
  if (info && info->pPrinterName) {
    size_t n = 0;
    while (info->pPrinterName[n]) ++n;
    copy = static_cast<WCHAR*>(MemAllocZero((n + 1) * sizeof(WCHAR)));
    if (copy) memcpy(copy, info->pPrinterName, n * sizeof(WCHAR));
  }
  MemFree(info);
  return copy;
}

// ---- printer facts of a context ----

void PrnCachePrinterInfo(const PRINTER_INFO_2* info, DriverContext* ctx) {
  UiState* ui = Ui(ctx);
  if (!info || !ui) return;
  if (ui->onServer == 0) ui->onServer = info->pServerName ? 1 : 2;
  if (!ui->printerName[0] && info->pPrinterName) {
    StrCopyCut(ui->printerName, kUiNameChars, info->pPrinterName);
    PrnRebuildConnectionName(ctx->printer, ui->printerName, kUiNameChars);
  }
  if (!ui->driverName[0] && info->pDriverName) StrCopyCut(ui->driverName, kUiNameChars, info->pDriverName);
  if (!ui->attributesKnown) {
    ui->attributesKnown = 1;
    ui->attributes = info->Attributes;
  }
}

const WCHAR* PrnGetPrinterNameFromInfo(DriverContext* ctx, const PRINTER_INFO_2* info) {
  UiState* ui = Ui(ctx);
  if (!ui) return kEmpty;
  if (!ui->printerName[0] && info) {
    if (info->pPrinterName) {
      StrCopyCut(ui->printerName, kUiNameChars, info->pPrinterName);
      PrnRebuildConnectionName(ctx->printer, ui->printerName, kUiNameChars);
    }
    PrnCachePrinterInfo(info, ctx);
  }
  return ui->printerName;
}

const WCHAR* PrnGetPrinterNameFromInfoAlias(DriverContext* ctx, const PRINTER_INFO_2* info) {
  return PrnGetPrinterNameFromInfo(ctx, info);
}

const WCHAR* PrnGetPrinterName(DriverContext* ctx) {
  UiState* ui = Ui(ctx);
  if (!ui) return kEmpty;
  if (!ui->printerName[0]) {
    PRINTER_INFO_2* info = static_cast<PRINTER_INFO_2*>(PrnGetPrinterInfo(ctx->printer, 2));
    PrnGetPrinterNameFromInfo(ctx, info);
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
      if (info->pDriverName) StrCopyCut(ui->driverName, kUiNameChars, info->pDriverName);
      PrnCachePrinterInfo(info, ctx);
      MemFree(info);
    }
  }
  if (!ui->driverName[0]) StrCopyCut(ui->driverName, kUiNameChars, CtxModelRecord(ctx)->fallbackDriverName);
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

WCHAR* PrnGetPrinterNameOfFromInfo(HANDLE hPrinter, WCHAR* buffer, DWORD cchBuffer, const PRINTER_INFO_2* info) {
  if (!buffer || !cchBuffer || !info) return buffer;
  if (info->pPrinterName) StrCopyIfFits(buffer, cchBuffer, info->pPrinterName);
  PrnRebuildConnectionName(hPrinter, buffer, cchBuffer);
  return buffer;
}

WCHAR* PrnGetPrinterNameOf(HANDLE hPrinter, WCHAR* buffer, DWORD cchBuffer) {
  PRINTER_INFO_2* info = static_cast<PRINTER_INFO_2*>(PrnGetPrinterInfo(hPrinter, 2));
  PrnGetPrinterNameOfFromInfo(hPrinter, buffer, cchBuffer, info);
  MemFree(info);
  return buffer;
}

WCHAR* PrnGetDriverNameOf(HANDLE hPrinter, WCHAR* buffer, DWORD cbBuffer) {
  DWORD size = cbBuffer / sizeof(WCHAR);
  if (!buffer || !size) return buffer;
  PRINTER_INFO_2* info = static_cast<PRINTER_INFO_2*>(PrnGetPrinterInfo(hPrinter, 2));
  const WCHAR* name = info && info->pDriverName ? info->pDriverName : TblGetModelRecord()->fallbackDriverName;
  StrCopyCut(buffer, size, name);
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

void PrnRebuildConnectionName(HANDLE hPrinter, WCHAR* name, DWORD cchName) {
  // name[1] is read only when the buffer holds it.
  if (!name || cchName < 2 || name[0] != u'\\' || name[1] != u'\\' || !OsIsVistaOrLater()) return;
  // 260 bytes are read of each value; one more character terminates it.
  WCHAR server[131], queue[131];
  if (!ReadDataText(hPrinter, TEXT("DsSpooler"), TEXT("shortServerName"), server, 131, 260) ||
      !ReadDataText(hPrinter, TEXT("DsSpooler"), TEXT("printerName"), queue, 131, 260))
    return;
  DWORD serverLength = StrWideLength(server), queueLength = StrWideLength(queue);
  if (!serverLength || !queueLength || serverLength + queueLength + 3 >= cchName) return;
  name[0] = name[1] = u'\\';
  memcpy(name + 2, server, serverLength * sizeof(WCHAR));
  name[2 + serverLength] = u'\\';
  memcpy(name + 3 + serverLength, queue, queueLength * sizeof(WCHAR));
  name[3 + serverLength + queueLength] = 0;
}

