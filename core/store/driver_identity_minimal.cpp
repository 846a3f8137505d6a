// Minimal version until the driver identity values are built: "HelpFileName" is read from the
// context printer's printer data as text, terminated by the reader.
#include "core/store/driver_identity.h"

#include <string.h>

int InstReadHelpFileName(WCHAR* buffer, DWORD size, DriverContext* ctx) {
  if (!buffer || !size) return 0;
  buffer[0] = 0;
  if (!ctx || !ctx->printer) return 0;
  return InstReadHelpFileNameByPrinter(buffer, size, ctx->printer);
}

int InstReadHelpFileNameByPrinter(WCHAR* buffer, DWORD size, HANDLE hPrinter) {
  if (!buffer || !size) return 0;
  buffer[0] = 0;
  if (!hPrinter) return 0;
  DWORD type = 0, needed = 0;
  DWORD bytes = (size - 1) * sizeof(WCHAR);
  memset(buffer, 0, size * sizeof(WCHAR));
  if (GetPrinterDataW(hPrinter, const_cast<LPWSTR>(TEXT("HelpFileName")), &type, reinterpret_cast<LPBYTE>(buffer),
                      bytes, &needed) != ERROR_SUCCESS ||
      type != REG_SZ) {
    buffer[0] = 0;
    return 0;
  }
  buffer[size - 1] = 0;
  return 1;
}
