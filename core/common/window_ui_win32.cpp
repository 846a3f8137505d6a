// The Windows build's window interface: user32, one or a few calls per operation.
#include "core/common/window_ui.h"

HWND WuiFindControl(HWND dialog, int controlId) { return dialog ? GetDlgItem(dialog, controlId) : NULL; }
int WuiControlId(HWND window) { return GetDlgCtrlID(window); }
HWND WuiParent(HWND window) {
  return (GetWindowLongW(window, GWL_STYLE) & WS_CHILD) ? GetParent(window) : NULL;
}
HWND WuiOwner(HWND window) { return window ? GetWindow(window, GW_OWNER) : NULL; }
HWND WuiFirstChild(HWND window) { return GetWindow(window, GW_CHILD); }
HWND WuiNextSibling(HWND window) { return GetWindow(window, GW_HWNDNEXT); }
HWND WuiFindTopLevel(LPCWSTR className) { return className ? FindWindowW(className, NULL) : NULL; }
HWND WuiActiveWindow() { return GetActiveWindow(); }
BOOL WuiIsWindow(HWND window) { return IsWindow(window); }
int WuiClassName(HWND window, WCHAR* buffer, int cchBuffer) {
  if (!buffer || cchBuffer <= 0) return 0;
  buffer[0] = 0;
  return GetClassNameW(window, buffer, cchBuffer);
}

int WuiGetText(HWND window, WCHAR* buffer, int cchBuffer) {
  if (!buffer || cchBuffer <= 0) return 0;
  buffer[0] = 0;
  return GetWindowTextW(window, buffer, cchBuffer);
}
BOOL WuiSetText(HWND window, LPCWSTR text) { return SetWindowTextW(window, text); }
UINT WuiGetCheck(HWND button) { return (UINT)SendMessageW(button, BM_GETCHECK, 0, 0); }
void WuiSetCheck(HWND button, UINT check) { SendMessageW(button, BM_SETCHECK, check, 0); }
BOOL WuiIsEnabled(HWND window) { return IsWindowEnabled(window); }
BOOL WuiEnable(HWND window, BOOL enable) { return EnableWindow(window, enable); }
BOOL WuiIsVisible(HWND window) { return IsWindowVisible(window); }
BOOL WuiShow(HWND window, int command) { return ShowWindow(window, command); }
LONG WuiGetStyle(HWND window) { return GetWindowLongW(window, GWL_STYLE); }
LONG WuiSetStyle(HWND window, LONG style) { return SetWindowLongW(window, GWL_STYLE, style); }
LONG_PTR WuiGetSlot(HWND window, int slot) { return GetWindowLongW(window, slot); }
LONG_PTR WuiSetSlot(HWND window, int slot, LONG_PTR value) { return SetWindowLongW(window, slot, (LONG)value); }

LRESULT WuiSend(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return SendMessageW(window, message, wParam, lParam);
}
BOOL WuiPost(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return PostMessageW(window, message, wParam, lParam);
}
BOOL WuiIsPosted(HWND window, UINT message) {
  MSG msg;
  return PeekMessageW(&msg, window, message, message, PM_NOREMOVE);
}
UINT_PTR WuiSetTimer(HWND window, UINT_PTR id, UINT milliseconds) { return SetTimer(window, id, milliseconds, NULL); }
BOOL WuiKillTimer(HWND window, UINT_PTR id) { return KillTimer(window, id); }
BOOL WuiPumpUntil(const volatile LONG* done, DWORD milliseconds) {
  DWORD start = GetTickCount();
  for (;;) {
    MSG msg;
    while (PeekMessageW(&msg, NULL, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
    if (done && *done) return TRUE;
    DWORD spent = GetTickCount() - start;
    if (spent >= milliseconds) return FALSE;
    MsgWaitForMultipleObjects(0, NULL, FALSE, milliseconds - spent, QS_ALLINPUT);
  }
}

HWND WuiSetFocus(HWND control) { return SetFocus(control); }
HWND WuiGetFocus() { return GetFocus(); }

HWND WuiCreateDialog(HMODULE module, int templateId, HWND owner, DLGPROC procedure, LPARAM param) {
  return CreateDialogParamW(module, MAKEINTRESOURCEW(templateId), owner, procedure, param);
}
INT_PTR WuiRunDialog(HMODULE module, int templateId, HWND owner, DLGPROC procedure, LPARAM param) {
  return DialogBoxParamW(module, MAKEINTRESOURCEW(templateId), owner, procedure, param);
}
BOOL WuiEndDialog(HWND dialog, INT_PTR result) { return EndDialog(dialog, result); }
BOOL WuiDestroy(HWND window) { return DestroyWindow(window); }
WNDPROC WuiSubclass(HWND window, WNDPROC procedure) {
  return (WNDPROC)SetWindowLongW(window, GWL_WNDPROC, (LONG)procedure);
}
WNDPROC WuiClassProcedure(LPCWSTR className) {
  WNDCLASSEXW info = {};
  info.cbSize = sizeof info;
  return className && GetClassInfoExW(NULL, className, &info) ? info.lpfnWndProc : NULL;
}
LRESULT WuiCallProcedure(WNDPROC procedure, HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return CallWindowProcW(procedure, window, message, wParam, lParam);
}

BOOL WuiGetRect(HWND window, RECT* rect) {
  if (!rect || !GetWindowRect(window, rect)) return FALSE;
  if (HWND parent = WuiParent(window)) MapWindowPoints(NULL, parent, reinterpret_cast<POINT*>(rect), 2);
  return TRUE;
}
BOOL WuiGetClientRect(HWND window, RECT* rect) { return rect && GetClientRect(window, rect); }
BOOL WuiMove(HWND window, const RECT* rect, BOOL repaint) {
  return rect && MoveWindow(window, rect->left, rect->top, rect->right - rect->left, rect->bottom - rect->top, repaint);
}
HWND WuiCreateChild(HWND parent, LPCWSTR className, LPCWSTR text, DWORD style, DWORD exStyle, const RECT* rect,
                    int id, HMODULE instance, HWND after) {
  if (!rect) return NULL;
  HWND made = CreateWindowExW(exStyle, className, text, style, rect->left, rect->top, rect->right - rect->left,
                              rect->bottom - rect->top, parent, (HMENU)(INT_PTR)id, instance, NULL);
  if (made) SetWindowPos(made, after ? after : HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  return made;
}
BOOL WuiInvalidate(HWND window, BOOL erase) { return InvalidateRect(window, NULL, erase); }
BOOL WuiHasUpdate(HWND window) { return GetUpdateRect(window, NULL, FALSE); }
BOOL WuiEnableScrollBar(HWND scrollBar, UINT arrows) { return EnableScrollBar(scrollBar, SB_CTL, arrows); }

BOOL WuiHelp(HWND window, LPCWSTR file, UINT command, ULONG_PTR data) { return WinHelpW(window, file, command, data); }
INT_PTR WuiRunPropertySheet(const PROPSHEETHEADERW* header) { return PropertySheetW(header); }
HPROPSHEETPAGE WuiCreatePropertyPage(const PROPSHEETPAGEW* page) {
  return page ? CreatePropertySheetPageW(page) : NULL;
}
LONG WuiRunCommonPropertySheet(HWND owner, SheetUiCallback callback, LPARAM lParam, DWORD* result) {
  typedef LONG(WINAPI * CommonSheetFn)(HWND, SheetUiCallback, LPARAM, LPDWORD);
  HMODULE compstui = LoadLibraryA("compstui.dll");
  if (!compstui) return -1;
  CommonSheetFn run =
      reinterpret_cast<CommonSheetFn>(reinterpret_cast<void*>(GetProcAddress(compstui, "CommonPropertySheetUIW")));
  LONG answer = run ? run(owner, callback, lParam, result) : -1;
  FreeLibrary(compstui);
  return answer;
}

int WuiMessageBox(HWND owner, LPCWSTR text, LPCWSTR caption, UINT style) {
  return MessageBoxW(owner, text, caption, style);
}
BOOL WuiBeep(UINT type) { return MessageBeep(type); }

// ---- file dialogs ----

BOOL WuiRunFileDialog(OPENFILENAMEW* dialog, BOOL save) {
  return save ? GetSaveFileNameW(dialog) : GetOpenFileNameW(dialog);
}
DWORD WuiFileDialogError() { return CommDlgExtendedError(); }

// ---- control subclassing, cursors and the hint popup ----

HCURSOR WuiLoadCursor(HMODULE module, int cursorId) {
  return (HCURSOR)LoadImageW(module, MAKEINTRESOURCEW(cursorId), IMAGE_CURSOR, 0, 0, LR_SHARED);
}
HCURSOR WuiSetCursor(HCURSOR cursor) { return SetCursor(cursor); }
BOOL WuiCursorPos(POINT* at) { return at ? GetCursorPos(at) : FALSE; }
BOOL WuiClientToScreen(HWND window, POINT* at) {
  return at && IsWindow(window) ? (MapWindowPoints(window, NULL, at, 1), TRUE) : FALSE;
}
BOOL WuiScreenToClient(HWND window, POINT* at) {
  return at && IsWindow(window) ? (MapWindowPoints(NULL, window, at, 1), TRUE) : FALSE;
}
BOOL WuiScreenRect(RECT* rect) { return rect ? GetWindowRect(GetDesktopWindow(), rect) : FALSE; }
HWND WuiSetCapture(HWND window) { return SetCapture(window); }
BOOL WuiReleaseCapture() { return ReleaseCapture(); }
HWND WuiGetCapture() { return GetCapture(); }
BOOL WuiKeyDown(int virtualKey) { return (GetKeyState(virtualKey) & 0x8000) != 0; }
int WuiClipboardText(HWND owner, WCHAR* buffer, int cchBuffer) {
  if (!buffer || cchBuffer <= 0 || !OpenClipboard(owner)) return -1;
  int length = -1;
  if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
    const WCHAR* text = static_cast<const WCHAR*>(GlobalLock(data));
    if (text) {
      // The clipboard's block may lack its terminator: never read past its size.
      const SIZE_T most = GlobalSize(data) / sizeof(WCHAR);
      length = 0;
      while (static_cast<SIZE_T>(length) < most && text[length] && length + 1 < cchBuffer) {
        buffer[length] = text[length];
        ++length;
      }
      buffer[length] = 0;
      GlobalUnlock(data);
    }
  }
  CloseClipboard();
  return length;
}
HWND WuiCreatePopup(HWND owner, LPCWSTR className, LPCWSTR text, DWORD style, const RECT* rect, HMODULE instance) {
  if (!rect) return NULL;
  return CreateWindowExW(0, className, text, style & ~WS_VISIBLE, rect->left, rect->top, rect->right - rect->left,
                         rect->bottom - rect->top, owner, NULL, instance, NULL);
}
BOOL WuiRunLocalLoop(HWND window, const volatile LONG* done) {
  for (;;) {
    if (done && *done) return TRUE;
    if (!IsWindow(window)) return FALSE;
    MSG msg;
    if (!PeekMessageW(&msg, NULL, 0, 0, PM_REMOVE)) {
      MsgWaitForMultipleObjects(0, NULL, FALSE, INFINITE, QS_ALLINPUT);
      continue;
    }
    if (msg.message == WM_QUIT) {
      PostQuitMessage(static_cast<int>(msg.wParam));
      return FALSE;
    }
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

// ---- edits and scroll bars ----

BOOL WuiSwitchOffTheme(HWND window) {
  // The visual styles arrived with Windows XP: without their library there is nothing to switch.
  typedef HRESULT(WINAPI * SetThemeFn)(HWND, LPCWSTR, LPCWSTR);
  HMODULE uxtheme = LoadLibraryW(L"UxTheme.DLL");
  if (!uxtheme) return FALSE;
  SetThemeFn setTheme =
      reinterpret_cast<SetThemeFn>(reinterpret_cast<void*>(GetProcAddress(uxtheme, "SetWindowTheme")));
  if (setTheme) setTheme(window, L" ", L" ");
  FreeLibrary(uxtheme);
  return setTheme ? TRUE : FALSE;
}

// ---- presets and watermarks ----
int WuiDialogFontFace(HWND dialog, WCHAR* buffer, int cchBuffer) {
  if (!buffer || cchBuffer <= 0) return 0;
  buffer[0] = 0;
  HFONT font = reinterpret_cast<HFONT>(SendMessageW(dialog, WM_GETFONT, 0, 0));
  LOGFONTW face = {};
  if (!font || GetObjectW(font, sizeof(face), &face) != sizeof(face)) return 0;
  int n = 0;
  for (; face.lfFaceName[n] && n < LF_FACESIZE && n < cchBuffer - 1; ++n) buffer[n] = face.lfFaceName[n];
  buffer[n] = 0;
  return n;
}

int WuiChoiceClickAt(HWND list, int x, int y) {
  const LPARAM at = MAKELPARAM(x, y);
  SendMessageW(list, WM_LBUTTONDOWN, MK_LBUTTON, at);
  SendMessageW(list, WM_LBUTTONUP, 0, at);
  return (int)SendMessageW(list, LB_GETCURSEL, 0, 0);
}

BOOL WuiTrackPopupMenu(HMODULE module, int menuId, DWORD greyedPositions, HWND owner) {
  HMENU menu = LoadMenuW(module, MAKEINTRESOURCEW(menuId));
  if (!menu) return FALSE;
  HMENU popup = GetSubMenu(menu, 0);
  BOOL shown = FALSE;
  if (popup) {
    const int count = GetMenuItemCount(popup);
    for (int i = 0; i < count && i < 32; ++i)
      if (greyedPositions & (1u << i)) EnableMenuItem(popup, (UINT)i, MF_BYPOSITION | MF_GRAYED);
    POINT at = {};
    GetCursorPos(&at);
    shown = TrackPopupMenu(popup, TPM_LEFTBUTTON, at.x, at.y, 0, owner, NULL);
  }
  DestroyMenu(menu);
  return shown;
}
