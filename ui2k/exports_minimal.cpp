// Minimal versions of the printer-interface exports whose bodies are still to come (DEVMODE
// conversion and document properties, the job check, device capabilities, the document event
// and the upgrade): each answers as for a
// request it does not support, so a caller falls back instead of reading an output that was
// never written. The parameters keep the documented sizes and order; the records they point
// to are left opaque until their bodies read them.
#include "platform/win32.h"

namespace {

// The spooler's "not done" answers.
constexpr DWORD kCapsError = DWORD(-1);  // GDI_ERROR
constexpr int kEventUnsupported = 0;  // DOCUMENTEVENT_UNSUPPORTED

template <typename T>
T Unsupported(T answer) {
  SetLastError(ERROR_NOT_SUPPORTED);
  return answer;
}

}  // namespace

ZEMS_EXPORT BOOL WINAPI DevQueryPrintEx(PVOID info) {
  (void)info;
  return Unsupported<BOOL>(FALSE);
}

ZEMS_EXPORT LONG WINAPI DrvAdvancedDocumentProperties(HWND window, HANDLE printer, LPWSTR deviceName,
                                                      PDEVMODEW output, PDEVMODEW input) {
  (void)window, (void)printer, (void)deviceName, (void)output, (void)input;
  return Unsupported<LONG>(-1);
}

ZEMS_EXPORT BOOL WINAPI DrvConvertDevMode(LPWSTR printerName, PDEVMODEW input, PDEVMODEW output, PLONG cbNeeded,
                                          DWORD mode) {
  (void)printerName, (void)input, (void)output, (void)cbNeeded, (void)mode;
  return Unsupported<BOOL>(FALSE);
}

ZEMS_EXPORT DWORD WINAPI DrvDeviceCapabilities(HANDLE printer, LPWSTR deviceName, WORD capability, PVOID output,
                                               PDEVMODEW devmode) {
  (void)printer, (void)deviceName, (void)capability, (void)output, (void)devmode;
  return Unsupported<DWORD>(kCapsError);
}

ZEMS_EXPORT int WINAPI DrvDocumentEvent(HANDLE printer, HDC dc, int escape, ULONG cbIn, PVOID input, ULONG cbOut,
                                        PVOID output) {
  (void)printer, (void)dc, (void)escape, (void)cbIn, (void)input, (void)cbOut, (void)output;
  return kEventUnsupported;
}

ZEMS_EXPORT LONG WINAPI DrvDocumentProperties(HWND window, HANDLE printer, LPWSTR deviceName, PDEVMODEW output,
                                              PDEVMODEW input, DWORD mode) {
  (void)window, (void)printer, (void)deviceName, (void)output, (void)input, (void)mode;
  return Unsupported<LONG>(-1);
}

ZEMS_EXPORT BOOL WINAPI DrvUpgradePrinter(DWORD level, LPBYTE upgradeInfo) {
  (void)level, (void)upgradeInfo;
  return Unsupported<BOOL>(FALSE);
}

