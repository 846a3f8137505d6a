// DocumentPropertiesW and DeviceCapabilitiesW of the simulated spooler. Both are simplified:
// both load the printer's configuration DLL in the caller's process for each call.
// DocumentPropertiesW calls its DrvDocumentPropertySheets as Wine's spooler does (without
// sheet information for fMode 0 and DM_OUT_BUFFER, through the fake's common property sheet
// for DM_IN_PROMPT); a printer whose configuration DLL does not load is answered from its
// stored DEVMODE (PRINTER_INFO_2 pDevMode) or, without one, from a bare public DEVMODEW.
// DeviceCapabilitiesW asks the DLL's DrvDeviceCapabilities.
// Their buffers come from the machine's heap, so SimFailAllocations makes them fail.
#include <string.h>

#include "platform/sim.h"
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

namespace {

// The answer from the stored DEVMODE (mode 0: its size; DM_OUT_BUFFER: a copy), for a printer
// whose configuration DLL does not load; an input DEVMODE is not merged.
LONG AnswerFromStoredDevmode(HANDLE printer, PDEVMODEW output, DWORD mode) {
  DWORD bytes = 0;
  DEVMODEW* dm = StoredDevmode(printer, &bytes);
  if (!dm) return -1;
  LONG result = static_cast<LONG>(bytes);
  if (mode != 0) {
    result = IDOK;
    if ((mode & DM_OUT_BUFFER) && output) memcpy(output, dm, bytes);
  }
  LocalFree(dm);
  return result;
}

// The printer's name from the spooler, into name (261 characters); false when unreadable.
bool PrinterNameOf(HANDLE printer, WCHAR* name) {
  DWORD needed = 0;
  GetPrinterW(printer, 2, nullptr, 0, &needed);
  if (!needed) return false;
  BYTE* info = static_cast<BYTE*>(LocalAlloc(LMEM_FIXED | LMEM_ZEROINIT, needed));
  if (!info) return false;
  bool ok = false;
  if (GetPrinterW(printer, 2, info, needed, &needed)) {
    const WCHAR* stored = reinterpret_cast<PRINTER_INFO_2W*>(info)->pPrinterName;
    for (int i = 0; stored && stored[i] && i < 260; ++i) name[i] = stored[i];
    ok = stored != nullptr;
  }
  LocalFree(info);
  return ok;
}

// DrvDocumentPropertySheets of the configuration DLL, the way Wine's spooler calls it.
LONG AskDriver(HWND window, SheetUiCallback sheets, HANDLE printer, WCHAR* name, PDEVMODEW output, PDEVMODEW input,
               DWORD mode) {
  DOCUMENTPROPERTYHEADER header = {};
  header.cbSize = sizeof header;
  header.hPrinter = printer;
  header.pszPrinterName = name;
  // The size of the driver's DEVMODE first: it is the output buffer's size.
  const LONG size = sheets(nullptr, reinterpret_cast<LPARAM>(&header));
  if (mode == 0 || size <= 0) return size;
  header.pdmIn = (mode & DM_IN_BUFFER) ? input : nullptr;
  header.pdmOut = (mode & DM_OUT_BUFFER) ? output : nullptr;
  header.cbOut = static_cast<DWORD>(size);
  header.fMode = mode;
  if (!(mode & DM_IN_PROMPT)) return sheets(nullptr, reinterpret_cast<LPARAM>(&header));
  DWORD result = CPSUI_CANCEL;
  if (SimUiCommonPropertySheet(window, sheets, reinterpret_cast<LPARAM>(&header), &result) < 0) return -1;
  return result == CPSUI_OK ? IDOK : IDCANCEL;
}

}  // namespace

namespace winsim {

// The driver default DEVMODE of a new printer, asked of its configuration DLL as
// DocumentPropertiesW asks it; a heap block (LocalFree it), or null when the DLL does not load
// or does not answer.
DEVMODEW* DriverDefaultDevmode(HANDLE printer, LPCWSTR printerName) {
  HMODULE ui = LoadConfigDll(printer);
  if (!ui) return nullptr;
  SheetUiCallback sheets =
      reinterpret_cast<SheetUiCallback>(reinterpret_cast<void*>(GetProcAddress(ui, "DrvDocumentPropertySheets")));
  WCHAR name[261] = {};
  for (int i = 0; printerName && printerName[i] && i < 260; ++i) name[i] = printerName[i];
  const LONG size = sheets ? AskDriver(nullptr, sheets, printer, name, nullptr, nullptr, 0) : -1;
  DEVMODEW* dm = nullptr;
  if (size >= LONG(sizeof(DEVMODEW))) dm = static_cast<DEVMODEW*>(LocalAlloc(LMEM_FIXED | LMEM_ZEROINIT, DWORD(size)));
  if (dm && AskDriver(nullptr, sheets, printer, name, dm, nullptr, DM_OUT_BUFFER) != IDOK) {
    LocalFree(dm);
    dm = nullptr;
  }
  FreeLibrary(ui);
  return dm;
}

}  // namespace winsim

// Simplified (see the top of the file).
WINSIM_API LONG WINAPI DocumentPropertiesW(HWND hWnd, HANDLE hPrinter, LPWSTR pDeviceName, PDEVMODEW pDevModeOutput,
                                           PDEVMODEW pDevModeInput, DWORD fMode) {
  WINSIM_SIMPLIFIED("DocumentPropertiesW",
                    "calls the configuration DLL's DrvDocumentPropertySheets in the caller's process, the sheet "
                    "through the fake's common property sheet");
  HANDLE printer = hPrinter ? hPrinter : OpenByName(pDeviceName);
  if (!printer) return -1;
  WCHAR name[261] = {};
  if (pDeviceName) {
    for (int i = 0; pDeviceName[i] && i < 260; ++i) name[i] = pDeviceName[i];
  } else if (!PrinterNameOf(printer, name)) {
    if (!hPrinter) ClosePrinter(printer);
    return -1;
  }
  LONG result;
  HMODULE ui = LoadConfigDll(printer);
  if (!ui) {
    result = AnswerFromStoredDevmode(printer, pDevModeOutput, fMode);
  } else {
    SheetUiCallback sheets =
        reinterpret_cast<SheetUiCallback>(reinterpret_cast<void*>(GetProcAddress(ui, "DrvDocumentPropertySheets")));
    result = sheets ? AskDriver(hWnd, sheets, printer, name, pDevModeOutput, pDevModeInput, fMode) : -1;
    FreeLibrary(ui);
  }
  if (!hPrinter) ClosePrinter(printer);
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
