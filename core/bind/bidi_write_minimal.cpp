// Minimal version until the bidi store is built: the write probe on "BidiFlag".
#include "core/bind/bidi_store.h"

#include "core/context/driver_context.h"

int BidiCanWritePrinterData(DriverContext* ctx) {
  if (!ctx || !ctx->printer) return 0;
  BYTE value[4] = {};
  DWORD type = 0, needed = 0;
  WCHAR name[] = TEXT("BidiFlag");
  if (GetPrinterDataW(ctx->printer, name, &type, value, sizeof value, &needed) != ERROR_SUCCESS) return 0;
  return SetPrinterDataW(ctx->printer, name, type, value, needed) == ERROR_SUCCESS ? 1 : 0;
}
