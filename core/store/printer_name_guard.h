// The context's printer-name buffer (also the key of the context cache) redirected to another
// name for the length of a store call, and restored on every path out.
#pragma once
#include <string.h>

#include "core/common/text.h"
#include "core/context/driver_context.h"
#include "core/context/ui_state.h"
#include "core/system/printer_names.h"

class PrinterNameGuard {
 public:
  explicit PrinterNameGuard(DriverContext* ctx) : ui_(ctx->ui) {
    PrnGetPrinterName(ctx);
    memcpy(saved_, ui_->printerName, sizeof saved_);
  }
  ~PrinterNameGuard() { Restore(); }
  void Set(LPCWSTR name) {
    if (name && name != ui_->printerName) StrCopyCut(ui_->printerName, kPrinterNameChars, name);
  }
  void Restore() { memcpy(ui_->printerName, saved_, sizeof saved_); }
  const WCHAR* own() const { return saved_; }
  PrinterNameGuard(const PrinterNameGuard&) = delete;
  PrinterNameGuard& operator=(const PrinterNameGuard&) = delete;

 private:
  UiState* ui_;
  WCHAR saved_[kPrinterNameChars];
};
