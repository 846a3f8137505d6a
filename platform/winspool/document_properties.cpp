// DocumentPropertiesW and DeviceCapabilitiesW of the simulated spooler. Both are simplified:
// DocumentPropertiesW does not load the printer's driver, it answers from the printer's stored
// DEVMODE (PRINTER_INFO_2 pDevMode) or, without one, from a bare public DEVMODEW;
// DeviceCapabilitiesW asks the driver's configuration DLL.
// Their buffers come from the machine's heap, so SimFailAllocations makes them fail.
#include <string.h>

#include "platform/sim/trace.h"
#include "platform/win32.h"

namespace {

// The printer's stored DEVMODE in a heap block (LocalFree it), or a bare public DEVMODEW; null
// when the printer cannot be read or the heap has run out.
DEVMODEW* StoredDevmode(HANDLE printer, DWORD* bytes) {
  DWORD needed = 0;
  GetPrinterW(printer, 2, nullptr, 0, &needed);
  if (!needed) return nullptr;
  BYTE* info = static_cast<BYTE*>(LocalAlloc(LMEM_FIXED | LMEM_ZEROINIT, needed));
  if (!info) return nullptr;
  DEVMODEW* result = nullptr;
  if (GetPrinterW(printer, 2, info, needed, &needed)) {
    const DEVMODEW* stored = reinterpret_cast<PRINTER_INFO_2W*>(info)->pDevMode;
    DWORD size = stored ? static_cast<DWORD>(stored->dmSize) + stored->dmDriverExtra : sizeof(DEVMODEW);
    result = static_cast<DEVMODEW*>(LocalAlloc(LMEM_FIXED | LMEM_ZEROINIT, size));
    if (result && stored) memcpy(result, stored, size);
    if (result && !stored) {
      result->dmSpecVersion = DM_SPECVERSION;
      result->dmSize = sizeof(DEVMODEW);
    }
    if (result) *bytes = size;
  }
  LocalFree(info);
  return result;
}

HANDLE OpenByName(LPCWSTR name) {
  HANDLE printer = nullptr;
  WCHAR copy[261] = {};
  for (int i = 0; name && name[i] && i < 260; ++i) copy[i] = name[i];
  return OpenPrinterW(copy, &printer, nullptr) ? printer : nullptr;
}

// The printer driver's configuration DLL (DRIVER_INFO_2 pConfigFile), loaded; null when the
// driver cannot be read or the DLL does not load.
HMODULE LoadConfigDll(HANDLE printer) {
  DWORD needed = 0;
  GetPrinterDriverW(printer, nullptr, 2, nullptr, 0, &needed);
  if (!needed) return nullptr;
  BYTE* info = static_cast<BYTE*>(LocalAlloc(LMEM_FIXED | LMEM_ZEROINIT, needed));
  if (!info) return nullptr;
  HMODULE module = nullptr;
  if (GetPrinterDriverW(printer, nullptr, 2, info, needed, &needed)) {
    const DRIVER_INFO_2W* driver = reinterpret_cast<DRIVER_INFO_2W*>(info);
    if (driver->pConfigFile) module = LoadLibraryW(driver->pConfigFile);
  }
  LocalFree(info);
  return module;
}

}  // namespace

// Simplified: answers the stored DEVMODE (mode 0: its size; DM_OUT_BUFFER: a copy) without
// running the driver's document-properties UI; an input DEVMODE is not merged.
WINSIM_API LONG WINAPI DocumentPropertiesW(HWND hWnd, HANDLE hPrinter, LPWSTR pDeviceName, PDEVMODEW pDevModeOutput,
                                           PDEVMODEW pDevModeInput, DWORD fMode) {
  (void)hWnd;
  (void)pDeviceName;
  (void)pDevModeInput;
  WINSIM_SIMPLIFIED("DocumentPropertiesW", "answers the stored DEVMODE without the driver");
  DWORD bytes = 0;
  DEVMODEW* dm = StoredDevmode(hPrinter, &bytes);
  if (!dm) return -1;
  LONG result = static_cast<LONG>(bytes);
  if (fMode != 0) {
    result = IDOK;
    if ((fMode & DM_OUT_BUFFER) && pDevModeOutput) memcpy(pDevModeOutput, dm, bytes);
  }
  LocalFree(dm);
  return result;
}

// Simplified: the printer's configuration DLL (its driver's pConfigFile) is loaded and its
// DrvDeviceCapabilities answers, as the spooler does; the machine keeps no per-process cache of
// the loaded DLL, and without the export the answer is -1. pOutput is passed as it is.
WINSIM_API int WINAPI DeviceCapabilitiesW(LPCWSTR pDevice, LPCWSTR pPort, WORD fwCapability, LPWSTR pOutput,
                                          const DEVMODEW* pDevMode) {
  (void)pPort;
  WINSIM_SIMPLIFIED("DeviceCapabilitiesW", "loads the configuration DLL for each call");
  HANDLE printer = OpenByName(pDevice);
  if (!printer) return -1;
  int result = -1;
  HMODULE ui = LoadConfigDll(printer);
  typedef DWORD(WINAPI * CapsFn)(HANDLE, LPWSTR, WORD, PVOID, PDEVMODEW);
  CapsFn caps = ui ? reinterpret_cast<CapsFn>(reinterpret_cast<void*>(GetProcAddress(ui, "DrvDeviceCapabilities")))
                   : nullptr;
  if (caps) {
    WCHAR name[261] = {};
    for (int i = 0; pDevice[i] && i < 260; ++i) name[i] = pDevice[i];
    result = static_cast<int>(caps(printer, name, fwCapability, pOutput, const_cast<DEVMODEW*>(pDevMode)));
  }
  if (ui) FreeLibrary(ui);
  ClosePrinter(printer);
  return result;
}
