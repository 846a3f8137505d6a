// Minimal version until the driver identity values are built: "HelpFileName" is read from the
// context printer's printer data as text, terminated by the reader.
#include "core/store/driver_identity.h"

#include <string.h>

int InstReadHelpFileName(WCHAR* buffer, DWORD cchBuffer, DriverContext* ctx) {
  if (!buffer || !cchBuffer) return 0;
  buffer[0] = 0;
  if (!ctx || !ctx->printer) return 0;
  return InstReadHelpFileNameByPrinter(buffer, cchBuffer, ctx->printer);
}

int InstReadHelpFileNameByPrinter(WCHAR* buffer, DWORD cchBuffer, HANDLE hPrinter) {
  if (!buffer || !cchBuffer) return 0;
  buffer[0] = 0;
  if (!hPrinter) return 0;
  DWORD type = 0, needed = 0;
  DWORD bytes = (cchBuffer - 1) * sizeof(WCHAR);
  memset(buffer, 0, cchBuffer * sizeof(WCHAR));
  if (GetPrinterDataW(hPrinter, const_cast<LPWSTR>(TEXT("HelpFileName")), &type, reinterpret_cast<LPBYTE>(buffer),
                      bytes, &needed) != ERROR_SUCCESS ||
      type != REG_SZ) {
    buffer[0] = 0;
    return 0;
  }
  buffer[cchBuffer - 1] = 0;
  return 1;
}
