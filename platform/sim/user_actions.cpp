// What a user does to the fake's windows, as the standard controls turn input into messages:
// choosing an entry notifies the dialog, typing into an edit takes the focus there and leaves
// it when done (the control gets WM_KILLFOCUS, the dialog EN_KILLFOCUS), a click is BM_CLICK.
// The fake has no input of its own; the host's steps and the scenario tables act through these.
#include <string>

#include "platform/sim.h"
#include "platform/include/win_input.h"

namespace {

bool ClassIs(HWND window, const char* name) {
  WCHAR cls[64];
  int n = SimUiClassName(window, cls, 64);
  int i = 0;
  for (; i < n && name[i]; ++i) {
    WCHAR a = cls[i] >= 'A' && cls[i] <= 'Z' ? WCHAR(cls[i] + 32) : cls[i];
    if (a != WCHAR(name[i])) return false;
  }
  return i == n && name[i] == 0;
}

void NotifyParent(HWND control, WORD code) {
  HWND parent = SimUiParent(control);
  if (parent) SimUiSend(parent, WM_COMMAND, MAKEWPARAM(SimUiControlId(control), code), (LPARAM)control);
}

}  // namespace

void SimUiUserFocus(HWND control) {
  HWND old = SimUiGetFocus();
  if (old == control) return;
  if (old && SimUiIsWindow(old)) {
    SimUiSend(old, WM_KILLFOCUS, (WPARAM)control, 0);
    if (ClassIs(old, "edit")) NotifyParent(old, EN_KILLFOCUS);
  }
  SimUiSetFocus(control);
  if (control) {
    SimUiSend(control, WM_SETFOCUS, (WPARAM)old, 0);
    if (ClassIs(control, "edit")) NotifyParent(control, EN_SETFOCUS);
  }
}

BOOL SimUiUserChoose(HWND control, int index) {
  const bool combo = ClassIs(control, "combobox");
  if (!combo && !ClassIs(control, "listbox")) return FALSE;
  if (!SimUiIsEnabled(control)) return FALSE;
  SimUiUserFocus(control);
  SimUiSend(control, combo ? CB_SETCURSEL : LB_SETCURSEL, (WPARAM)index, 0);
  NotifyParent(control, combo ? CBN_SELCHANGE : LBN_SELCHANGE);
  return TRUE;
}

BOOL SimUiUserType(HWND edit, LPCWSTR text) {
  if (!SimUiIsWindow(edit) || !SimUiIsEnabled(edit)) return FALSE;
  SimUiUserFocus(edit);
  SimUiSend(edit, WM_SETTEXT, 0, (LPARAM)text);
  SimUiUserFocus(NULL);
  return TRUE;
}

BOOL SimUiUserClick(HWND button) {
  if (!SimUiIsWindow(button) || !SimUiIsEnabled(button)) return FALSE;
  SimUiSend(button, BM_CLICK, 0, 0);
  return TRUE;
}

void SimUiUserSelectPage(HWND page) {
  // The sheet tells a page it became the shown one.
  PSHNOTIFY note = {};
  note.hdr.hwndFrom = SimUiParent(page) ? SimUiParent(page) : page;
  note.hdr.idFrom = 0;
  note.hdr.code = PSN_SETACTIVE;
  SimUiSend(page, WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&note));
}

BOOL SimUiUserRightClick(HWND control, int x, int y) {
  if (!SimUiIsWindow(control) || !SimUiIsEnabled(control)) return FALSE;
  POINT screen = {x, y};
  SimUiMapPoint(control, &screen, TRUE);
  SimUiSetCursorPos(screen.x, screen.y);
  const LPARAM at = MAKELPARAM(x, y);
  SimUiSend(control, WM_RBUTTONDOWN, MK_RBUTTON, at);
  SimUiSend(control, WM_RBUTTONUP, 0, at);
  return TRUE;
}
