// Minimal versions of the printer-interface exports whose bodies are still to come (the
// preferences and properties sheets, DEVMODE conversion and document properties, the job
// check, device capabilities, the document event and the upgrade): each answers as for a
// request it does not support, so a caller falls back instead of reading an output that was
// never written. The parameters keep the documented sizes and order; the records they point
// to are left opaque until their bodies read them.
#include "platform/win32.h"

namespace {

// The spooler's and compstui's "not done" answers.
constexpr LONG kSheetError = -1;      // ERR_CPSUI_GETLASTERROR

template <typename T>
T Unsupported(T answer) {
  SetLastError(ERROR_NOT_SUPPORTED);
  return answer;
}

}  // namespace

ZEMS_EXPORT LONG WINAPI DrvDevicePropertySheets(PVOID sheetInfo, LPARAM param) {
  (void)sheetInfo, (void)param;
  return Unsupported<LONG>(kSheetError);
}

ZEMS_EXPORT LONG WINAPI DrvDocumentPropertySheets(PVOID sheetInfo, LPARAM param) {
  (void)sheetInfo, (void)param;
  return Unsupported<LONG>(kSheetError);
}

ZEMS_EXPORT BOOL WINAPI PrinterProperties(HWND window, HANDLE printer) {
  (void)window, (void)printer;
  return Unsupported<BOOL>(FALSE);
}
