// The printer's stored DEVMODE as the spooler answers it (PRINTER_INFO_2's pDevMode), for the
// native tests and the ones under Wine alike.
#pragma once
#include <vector>

#include "platform/win32.h"

namespace zems_test {

// The DEVMODE's bytes with its private part; empty when the printer has none.
inline std::vector<BYTE> StoredPrinterDevmode(HANDLE printer) {
  DWORD needed = 0;
  GetPrinterW(printer, 2, nullptr, 0, &needed);
  std::vector<BYTE> info(needed);
  if (!needed || !GetPrinterW(printer, 2, info.data(), needed, &needed)) return {};
  const DEVMODEW* dm = reinterpret_cast<PRINTER_INFO_2W*>(info.data())->pDevMode;
  if (!dm) return {};
  const BYTE* p = reinterpret_cast<const BYTE*>(dm);
  return std::vector<BYTE>(p, p + dm->dmSize + dm->dmDriverExtra);
}

}  // namespace zems_test
