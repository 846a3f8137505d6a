// The sample printer installed on the Windows spooler (under Wine), for the tests of the
// driver through the spooler and for the pictures of its sheet pages. Windows API only.
#pragma once
#include <string>

#include "platform/win32.h"

namespace wine_printer {

extern const wchar_t kPrinterName[];
extern const wchar_t kDriverName[];

// Installs the driver of the build (zemsgr, zemsui, zemsexc and the language DLLs beside the
// running program, the sample model description and driver files of the source tree) and adds
// the sample printer of it, replacing one left by an earlier run. As the spooler does on
// Windows, the configuration DLL's DrvPrinterEvent runs INITIALIZE after AddPrinterW: Wine's
// spooler does not call it. An empty answer on success, else what failed.
std::string Install();

// Deletes the sample printer; as on Windows, DrvPrinterEvent runs DELETE after it.
void Remove();

// The configuration DLL as the spooler loaded it from the driver folder (null when missing).
HMODULE ConfigDll();

// An export of the configuration DLL, or null.
template <class F>
F Export(const char* name) {
  HMODULE dll = ConfigDll();
  return dll ? reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(dll, name))) : nullptr;
}

// The printer's name as a writable buffer.
LPWSTR Name();

}  // namespace wine_printer
