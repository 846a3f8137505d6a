// The native builds' window interface: the simulated machine's recording fake.
#include "core/common/window_ui.h"

#include "platform/sim.h"

HWND WuiFindControl(HWND dialog, int controlId) { return SimUiFindControl(dialog, controlId); }
int WuiControlId(HWND window) { return SimUiControlId(window); }
HWND WuiParent(HWND window) { return SimUiParent(window); }
HWND WuiOwner(HWND window) { return SimUiOwner(window); }
HWND WuiFirstChild(HWND window) { return SimUiFirstChild(window); }
HWND WuiNextSibling(HWND window) { return SimUiNextSibling(window); }
HWND WuiFindTopLevel(LPCWSTR className) { return SimUiFindTopLevel(className); }
HWND WuiActiveWindow() { return SimUiActiveWindow(); }
BOOL WuiIsWindow(HWND window) { return SimUiIsWindow(window); }
int WuiClassName(HWND window, WCHAR* buffer, int cchBuffer) { return SimUiClassName(window, buffer, cchBuffer); }

int WuiGetText(HWND window, WCHAR* buffer, int cchBuffer) { return SimUiGetText(window, buffer, cchBuffer); }
BOOL WuiSetText(HWND window, LPCWSTR text) { return SimUiSetText(window, text); }
UINT WuiGetCheck(HWND button) { return SimUiGetCheck(button); }
void WuiSetCheck(HWND button, UINT check) { SimUiSetCheck(button, check); }
BOOL WuiIsEnabled(HWND window) { return SimUiIsEnabled(window); }
BOOL WuiEnable(HWND window, BOOL enable) { return SimUiEnable(window, enable); }
BOOL WuiIsVisible(HWND window) { return SimUiIsVisible(window); }
BOOL WuiShow(HWND window, int command) { return SimUiShow(window, command); }
LONG WuiGetStyle(HWND window) { return SimUiGetStyle(window); }
LONG WuiSetStyle(HWND window, LONG style) { return SimUiSetStyle(window, style); }
LONG_PTR WuiGetSlot(HWND window, int slot) { return SimUiGetSlot(window, slot); }
LONG_PTR WuiSetSlot(HWND window, int slot, LONG_PTR value) { return SimUiSetSlot(window, slot, value); }

LRESULT WuiSend(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return SimUiSend(window, message, wParam, lParam);
}
BOOL WuiPost(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return SimUiPost(window, message, wParam, lParam);
}
BOOL WuiIsPosted(HWND window, UINT message) { return SimUiIsPosted(window, message); }
UINT_PTR WuiSetTimer(HWND window, UINT_PTR id, UINT milliseconds) { return SimUiSetTimer(window, id, milliseconds); }
BOOL WuiKillTimer(HWND window, UINT_PTR id) { return SimUiKillTimer(window, id); }
BOOL WuiPumpUntil(const volatile LONG* done, DWORD milliseconds) { return SimUiPumpUntil(done, milliseconds); }

HWND WuiSetFocus(HWND control) { return SimUiSetFocus(control); }
HWND WuiGetFocus() { return SimUiGetFocus(); }

HWND WuiCreateDialog(HMODULE module, int templateId, HWND owner, DLGPROC procedure, LPARAM param) {
  return SimUiCreateDialog(module, templateId, owner, procedure, param);
}
INT_PTR WuiRunDialog(HMODULE module, int templateId, HWND owner, DLGPROC procedure, LPARAM param) {
  return SimUiRunDialog(module, templateId, owner, procedure, param);
}
BOOL WuiEndDialog(HWND dialog, INT_PTR result) { return SimUiEndDialog(dialog, result); }
BOOL WuiDestroy(HWND window) { return SimUiDestroy(window); }
WNDPROC WuiSubclass(HWND window, WNDPROC procedure) { return SimUiSubclass(window, procedure); }
WNDPROC WuiClassProcedure(LPCWSTR className) { return SimUiClassProcedure(className); }
LRESULT WuiCallProcedure(WNDPROC procedure, HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return procedure ? procedure(window, message, wParam, lParam) : 0;
}

BOOL WuiGetRect(HWND window, RECT* rect) { return SimUiGetRect(window, rect); }
BOOL WuiGetClientRect(HWND window, RECT* rect) { return SimUiGetClientRect(window, rect); }
BOOL WuiMove(HWND window, const RECT* rect, BOOL repaint) { return SimUiMove(window, rect, repaint); }
HWND WuiCreateChild(HWND parent, LPCWSTR className, LPCWSTR text, DWORD style, DWORD exStyle, const RECT* rect,
                    int id, HMODULE instance, HWND after) {
  return SimUiCreateChild(parent, className, text, style, exStyle, rect, id, instance, after);
}
BOOL WuiInvalidate(HWND window, BOOL erase) { return SimUiInvalidate(window, erase); }
BOOL WuiHasUpdate(HWND window) { return SimUiHasUpdate(window); }
BOOL WuiEnableScrollBar(HWND scrollBar, UINT arrows) { return SimUiEnableScrollBar(scrollBar, arrows); }
BOOL WuiHelp(HWND window, LPCWSTR file, UINT command, ULONG_PTR data) {
  return SimUiHelp(window, file, command, data);
}
INT_PTR WuiRunPropertySheet(const PROPSHEETHEADERW* header) { return SimUiRunPropertySheet(header); }
HPROPSHEETPAGE WuiCreatePropertyPage(const PROPSHEETPAGEW* page) { return SimUiCreatePropertyPage(page); }
LONG WuiRunCommonPropertySheet(HWND owner, SheetUiCallback callback, LPARAM lParam, DWORD* result) {
  return SimUiCommonPropertySheet(owner, callback, lParam, result);
}

int WuiMessageBox(HWND owner, LPCWSTR text, LPCWSTR caption, UINT style) {
  return SimUiMessageBox(owner, text, caption, style);
}
BOOL WuiBeep(UINT type) { return SimUiBeep(type); }

// ---- file dialogs ----

BOOL WuiRunFileDialog(OPENFILENAMEW* dialog, BOOL save) { return SimUiRunFileDialog(dialog, save); }
DWORD WuiFileDialogError() { return SimUiFileDialogError(); }
// ---- control subclassing, cursors and the hint popup ----

HCURSOR WuiLoadCursor(HMODULE module, int cursorId) { return SimUiLoadCursor(module, cursorId); }
HCURSOR WuiSetCursor(HCURSOR cursor) { return SimUiSetCursor(cursor); }
BOOL WuiCursorPos(POINT* at) { return SimUiCursorPos(at); }
BOOL WuiClientToScreen(HWND window, POINT* at) { return SimUiMapPoint(window, at, TRUE); }
BOOL WuiScreenToClient(HWND window, POINT* at) { return SimUiMapPoint(window, at, FALSE); }
BOOL WuiScreenRect(RECT* rect) { return SimUiScreenRect(rect); }
HWND WuiSetCapture(HWND window) { return SimUiSetCapture(window); }
BOOL WuiReleaseCapture() { return SimUiReleaseCapture(); }
HWND WuiGetCapture() { return SimUiGetCapture(); }
BOOL WuiKeyDown(int virtualKey) { return SimUiKeyDown(virtualKey); }
int WuiClipboardText(HWND owner, WCHAR* buffer, int cchBuffer) {
  (void)owner;
  return SimUiClipboardText(buffer, cchBuffer);
}
HWND WuiCreatePopup(HWND owner, LPCWSTR className, LPCWSTR text, DWORD style, const RECT* rect, HMODULE instance) {
  return SimUiCreatePopup(owner, className, text, style, rect, instance);
}
BOOL WuiRunLocalLoop(HWND window, const volatile LONG* done) { return SimUiRunLocalLoop(window, done); }
// ---- edits and scroll bars ----

BOOL WuiSwitchOffTheme(HWND window) { return SimUiSwitchOffTheme(window); }

// ---- presets and watermarks ----
int WuiDialogFontFace(HWND dialog, WCHAR* buffer, int cchBuffer) { return SimUiDialogFontFace(dialog, buffer, cchBuffer); }
int WuiChoiceClickAt(HWND list, int x, int y) { return SimUiChoiceClickAt(list, x, y); }
BOOL WuiTrackPopupMenu(HMODULE module, int menuId, DWORD greyedPositions, HWND owner) {
  return SimUiTrackPopupMenu(module, menuId, greyedPositions, owner);
}
