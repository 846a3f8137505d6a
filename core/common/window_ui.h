// The window interface of the dialogs: every operation that touches a window of the property
// sheets or a message box goes through here. The native builds answer from the simulated
// machine's recording fake (tests declare controls, script answers and read the calls); the
// Windows build calls user32. Decisions about what to show stay in ordinary code of both builds.
#pragma once
#include "platform/win32.h"

// The control `controlId` of a page's dialog window; NULL when the page has no window or the
// control is not there.
HWND WuiFindControl(HWND page, int controlId);

// Gives the keyboard focus to a control; returns the window that had it (NULL for none).
HWND WuiSetFocus(HWND control);

// Shows a message box (style: MB_* buttons, icon, modality) and returns the button chosen
// (IDOK, IDCANCEL, ...); 0 when it could not be shown.
int WuiMessageBox(HWND owner, LPCWSTR text, LPCWSTR caption, UINT style);

// ---- user messages ----
// The active window of the calling thread, the owner of a message box that names none; NULL
// when there is none (the simulated machine has no windows: always NULL there).
HWND WuiActiveWindow();
