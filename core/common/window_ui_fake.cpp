// The native builds' window interface: the simulated machine's recording fake.
#include "core/common/window_ui.h"

#include "platform/sim.h"

HWND WuiFindControl(HWND page, int controlId) { return SimUiFindControl(page, controlId); }

HWND WuiSetFocus(HWND control) { return SimUiSetFocus(control); }

int WuiMessageBox(HWND owner, LPCWSTR text, LPCWSTR caption, UINT style) {
  return SimUiMessageBox(owner, text, caption, style);
}

HWND WuiActiveWindow() { return NULL; }
