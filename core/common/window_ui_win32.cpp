// The Windows build's window interface: user32.
#include "core/common/window_ui.h"

HWND WuiFindControl(HWND page, int controlId) {
  if (!page) return NULL;
  return GetDlgItem(page, controlId);
}

HWND WuiSetFocus(HWND control) { return SetFocus(control); }

int WuiMessageBox(HWND owner, LPCWSTR text, LPCWSTR caption, UINT style) {
  return MessageBoxW(owner, text, caption, style);
}

HWND WuiActiveWindow() { return GetActiveWindow(); }
