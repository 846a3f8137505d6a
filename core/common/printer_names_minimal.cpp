// Minimal version until the printer-name services are built: the spooler's level-2 query, the
// facts of PRINTER_INFO_2 kept in the UI state, and connection names left as the spooler
// reports them.
#include "core/common/mem.h"
#include "core/common/printer_names.h"
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

