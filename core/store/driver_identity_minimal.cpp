// Minimal version until the driver identity values are built: the help file name is the
// printer-data text value "HelpFileName".
#include "core/store/driver_identity_minimal.h"

#include "core/engine/driver_context.h"

BOOL InstReadHelpFileNameByPrinter(LPWSTR buffer, DWORD size, HANDLE hPrinter) {
  if (!buffer || size == 0) return FALSE;
  buffer[0] = 0;
  DWORD type = 0, read = 0, bytes = size * sizeof(WCHAR);
  if (GetPrinterDataW(hPrinter, const_cast<LPWSTR>(TEXT("HelpFileName")), &type, reinterpret_cast<LPBYTE>(buffer),
                      bytes, &read) != ERROR_SUCCESS ||
      (type != REG_SZ && type != REG_EXPAND_SZ)) {
    buffer[0] = 0;
    return FALSE;
  }
  DWORD chars = read / sizeof(WCHAR);
  if (chars >= size) chars = size - 1;
  buffer[chars] = 0;
  return buffer[0] != 0;
}

BOOL InstReadHelpFileName(LPWSTR buffer, DWORD size, DriverContext* ctx) {
  return ctx ? InstReadHelpFileNameByPrinter(buffer, size, ctx->printer) : FALSE;
}
