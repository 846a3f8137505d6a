// The window interface of the deliverables that show no windows (zemsgr, zemsexc): no window
// exists, so each operation answers as for a window that is not there, a dialog as one that
// could not be shown (-1) and a message box as one that was not shown (0). Linked into those
// DLLs in place of user32 or the machine's fake, so they import no window calls.
#include "core/common/window_ui.h"

HWND WuiFindControl(HWND dialog, int controlId) { (void)dialog; (void)controlId; return NULL; }
int WuiControlId(HWND window) { (void)window; return 0; }
HWND WuiParent(HWND window) { (void)window; return NULL; }
HWND WuiOwner(HWND window) { (void)window; return NULL; }
HWND WuiFirstChild(HWND window) { (void)window; return NULL; }
HWND WuiNextSibling(HWND window) { (void)window; return NULL; }
HWND WuiFindTopLevel(LPCWSTR className) { (void)className; return NULL; }
HWND WuiActiveWindow() { return NULL; }
BOOL WuiIsWindow(HWND window) { (void)window; return 0; }
int WuiClassName(HWND window, WCHAR* buffer, int cchBuffer) { (void)window; (void)buffer; (void)cchBuffer; return 0; }
int WuiGetText(HWND window, WCHAR* buffer, int cchBuffer) { (void)window; (void)buffer; (void)cchBuffer; return 0; }
BOOL WuiSetText(HWND window, LPCWSTR text) { (void)window; (void)text; return 0; }
UINT WuiGetCheck(HWND button) { (void)button; return 0; }
void WuiSetCheck(HWND button, UINT check) { (void)button; (void)check; }
BOOL WuiIsEnabled(HWND window) { (void)window; return 0; }
BOOL WuiEnable(HWND window, BOOL enable) { (void)window; (void)enable; return 0; }
BOOL WuiIsVisible(HWND window) { (void)window; return 0; }
BOOL WuiShow(HWND window, int command) { (void)window; (void)command; return 0; }
LONG WuiGetStyle(HWND window) { (void)window; return 0; }
LONG WuiSetStyle(HWND window, LONG style) { (void)window; (void)style; return 0; }
LONG_PTR WuiGetSlot(HWND window, int slot) { (void)window; (void)slot; return 0; }
LONG_PTR WuiSetSlot(HWND window, int slot, LONG_PTR value) { (void)window; (void)slot; (void)value; return 0; }
LRESULT WuiSend(HWND window, UINT message, WPARAM wParam, LPARAM lParam) { (void)window; (void)message; (void)wParam; (void)lParam; return 0; }
BOOL WuiPost(HWND window, UINT message, WPARAM wParam, LPARAM lParam) { (void)window; (void)message; (void)wParam; (void)lParam; return 0; }
BOOL WuiIsPosted(HWND window, UINT message) { (void)window; (void)message; return 0; }
UINT_PTR WuiSetTimer(HWND window, UINT_PTR id, UINT milliseconds) { (void)window; (void)id; (void)milliseconds; return 0; }
BOOL WuiKillTimer(HWND window, UINT_PTR id) { (void)window; (void)id; return 0; }
BOOL WuiPumpUntil(const volatile LONG* done, DWORD milliseconds) { (void)done; (void)milliseconds; return 0; }
HWND WuiSetFocus(HWND control) { (void)control; return NULL; }
HWND WuiGetFocus() { return NULL; }
HWND WuiCreateDialog(HMODULE module, int templateId, HWND owner, DLGPROC procedure, LPARAM param) { (void)module; (void)templateId; (void)owner; (void)procedure; (void)param; return NULL; }
INT_PTR WuiRunDialog(HMODULE module, int templateId, HWND owner, DLGPROC procedure, LPARAM param) { (void)module; (void)templateId; (void)owner; (void)procedure; (void)param; return -1; }
BOOL WuiEndDialog(HWND dialog, INT_PTR result) { (void)dialog; (void)result; return 0; }
BOOL WuiDestroy(HWND window) { (void)window; return 0; }
WNDPROC WuiSubclass(HWND window, WNDPROC procedure) { (void)window; (void)procedure; return NULL; }
WNDPROC WuiClassProcedure(LPCWSTR className) { (void)className; return NULL; }
LRESULT WuiCallProcedure(WNDPROC procedure, HWND window, UINT message, WPARAM wParam, LPARAM lParam) { (void)procedure; (void)window; (void)message; (void)wParam; (void)lParam; return 0; }
HPROPSHEETPAGE WuiCreatePropertyPage(const PROPSHEETPAGEW* page) { (void)page; return NULL; }
LONG WuiRunCommonPropertySheet(HWND owner, SheetUiCallback callback, LPARAM lParam, DWORD* result) {
  (void)owner; (void)callback; (void)lParam; (void)result;
  return -1;
}
int WuiMessageBox(HWND owner, LPCWSTR text, LPCWSTR caption, UINT style) { (void)owner; (void)text; (void)caption; (void)style; return 0; }
BOOL WuiBeep(UINT type) { (void)type; return 0; }


BOOL WuiGetRect(HWND window, RECT* rect) { (void)window; (void)rect; return 0; }
BOOL WuiGetClientRect(HWND window, RECT* rect) { (void)window; (void)rect; return 0; }
BOOL WuiMove(HWND window, const RECT* rect, BOOL repaint) { (void)window; (void)rect; (void)repaint; return 0; }
HWND WuiCreateChild(HWND, LPCWSTR, LPCWSTR, DWORD, DWORD, const RECT*, int, HMODULE, HWND) { return NULL; }
BOOL WuiInvalidate(HWND window, BOOL erase) { (void)window; (void)erase; return 0; }
BOOL WuiHasUpdate(HWND window) { (void)window; return 0; }
BOOL WuiEnableScrollBar(HWND scrollBar, UINT arrows) { (void)scrollBar; (void)arrows; return 0; }
BOOL WuiHelp(HWND, LPCWSTR, UINT, ULONG_PTR) { return 0; }
INT_PTR WuiRunPropertySheet(const PROPSHEETHEADERW* header) { (void)header; return -1; }

// ---- file dialogs ----

BOOL WuiRunFileDialog(OPENFILENAMEW* dialog, BOOL save) { (void)dialog; (void)save; return 0; }
DWORD WuiFileDialogError() { return 0; }
// ---- control subclassing, cursors and the hint popup ----

HCURSOR WuiLoadCursor(HMODULE, int) { return NULL; }
HCURSOR WuiSetCursor(HCURSOR) { return NULL; }
BOOL WuiCursorPos(POINT*) { return 0; }
BOOL WuiClientToScreen(HWND, POINT*) { return 0; }
BOOL WuiScreenToClient(HWND, POINT*) { return 0; }
BOOL WuiScreenRect(RECT*) { return 0; }
HWND WuiSetCapture(HWND) { return NULL; }
BOOL WuiReleaseCapture() { return 0; }
HWND WuiGetCapture() { return NULL; }
BOOL WuiKeyDown(int) { return 0; }
int WuiClipboardText(HWND, WCHAR*, int) { return -1; }
HWND WuiCreatePopup(HWND, LPCWSTR, LPCWSTR, DWORD, const RECT*, HMODULE) { return NULL; }
BOOL WuiRunLocalLoop(HWND, const volatile LONG*) { return 0; }
// ---- edits and scroll bars ----

BOOL WuiSwitchOffTheme(HWND window) { (void)window; return FALSE; }

// ---- presets and watermarks ----
int WuiDialogFontFace(HWND, WCHAR* buffer, int cchBuffer) {
  if (buffer && cchBuffer > 0) buffer[0] = 0;
  return 0;
}
int WuiChoiceClickAt(HWND list, int x, int y) { (void)list; (void)x; (void)y; return -1; }
BOOL WuiTrackPopupMenu(HMODULE module, int menuId, DWORD greyedPositions, HWND owner) {
  (void)module; (void)menuId; (void)greyedPositions; (void)owner;
  return FALSE;
}
