// The native builds' window interface: the simulated machine's recording fake.
#include "core/common/window_ui.h"

#include "platform/sim.h"

HWND WuiFindControl(HWND dialog, int controlId) { return SimUiFindControl(dialog, controlId); }
int WuiControlId(HWND window) { return SimUiControlId(window); }
HWND WuiParent(HWND window) { return SimUiParent(window); }
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

namespace {

bool IsCombo(HWND control) {
  WCHAR name[16] = {};
  static const WCHAR kCombo[] = TEXT("combobox");
  if (SimUiClassName(control, name, 16) != 8) return false;
  for (int i = 0; i < 8; ++i)
    if ((name[i] | 0x20) != kCombo[i]) return false;
  return true;
}

}  // namespace

void WuiChoiceReset(HWND control) { SimUiSend(control, IsCombo(control) ? CB_RESETCONTENT : LB_RESETCONTENT, 0, 0); }
int WuiChoiceAdd(HWND control, LPCWSTR text, LPARAM data) {
  bool combo = IsCombo(control);
  LRESULT index = SimUiSend(control, combo ? CB_ADDSTRING : LB_ADDSTRING, 0, (LPARAM)text);
  if (index < 0 || !SimUiIsWindow(control)) return -1;
  SimUiSend(control, combo ? CB_SETITEMDATA : LB_SETITEMDATA, (WPARAM)index, data);
  return (int)index;
}
int WuiChoiceCount(HWND control) {
  return (int)SimUiSend(control, IsCombo(control) ? CB_GETCOUNT : LB_GETCOUNT, 0, 0);
}
LPARAM WuiChoiceData(HWND control, int index) {
  if (index < 0 || index >= WuiChoiceCount(control)) return 0;
  return SimUiSend(control, IsCombo(control) ? CB_GETITEMDATA : LB_GETITEMDATA, (WPARAM)index, 0);
}
int WuiChoiceText(HWND control, int index, WCHAR* buffer, int cchBuffer) {
  if (!buffer || cchBuffer <= 0) return -1;
  buffer[0] = 0;
  bool combo = IsCombo(control);
  LRESULT length = SimUiSend(control, combo ? CB_GETLBTEXTLEN : LB_GETTEXTLEN, (WPARAM)index, 0);
  if (length < 0 || index < 0 || index >= WuiChoiceCount(control)) return -1;
  WCHAR* whole = new WCHAR[(size_t)length + 1];
  LRESULT got = SimUiSend(control, combo ? CB_GETLBTEXT : LB_GETTEXT, (WPARAM)index, (LPARAM)whole);
  int n = 0;
  for (; got >= 0 && n < cchBuffer - 1 && n < (int)got; ++n) buffer[n] = whole[n];
  buffer[n] = 0;
  delete[] whole;
  return got < 0 ? -1 : n;
}
int WuiChoiceSelection(HWND control) {
  return (int)SimUiSend(control, IsCombo(control) ? CB_GETCURSEL : LB_GETCURSEL, 0, 0);
}
int WuiChoiceSelect(HWND control, int index) {
  return (int)SimUiSend(control, IsCombo(control) ? CB_SETCURSEL : LB_SETCURSEL, (WPARAM)index, 0);
}

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

int WuiMessageBox(HWND owner, LPCWSTR text, LPCWSTR caption, UINT style) {
  return SimUiMessageBox(owner, text, caption, style);
}
BOOL WuiBeep(UINT type) { return SimUiBeep(type); }
