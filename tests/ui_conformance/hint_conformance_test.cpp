// The hint popup on user32 in real time: it waits a second, shows without activation while the
// cursor is over its control, and moves left at the screen's right edge. Natively the same
// runs on the fake's clock (tests/ui_subclass).
#include <gtest/gtest.h>

#include "core/common/window_ui.h"
#include "core/context/driver_context.h"
#include "core/context/ui_state.h"
#include "core/front/ctl_subclass.h"

namespace {

#ifdef _WIN32
DriverContext g_ctx = {};
UiState g_ui = {};

INT_PTR CALLBACK HintDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
  if (message == WM_INITDIALOG) return TRUE;
  if (message == WM_TIMER && wParam == 1) {
    DlgHintTimer(&g_ctx, dialog);
    return TRUE;
  }
  return FALSE;
}
#endif

TEST(HintConformance, ThePopupWaitsASecondAndMovesLeftAtTheScreensEdge) {
#ifndef _WIN32
  GTEST_SKIP() << "natively the hint runs on the fake's clock in tests/ui_subclass";
#else
  g_ctx.ui = &g_ui;
  HMODULE dialogs = LoadLibraryW(L"zemstestui.dll");
  ASSERT_NE(dialogs, (HMODULE)NULL);
  HWND dialog = WuiCreateDialog(dialogs, 4900, NULL, HintDialogProc, 0);
  ASSERT_NE(dialog, (HWND)NULL);
  HWND combo = WuiFindControl(dialog, 102);
  WuiChoiceAdd(combo, L"Letter", 3001);
  DlgControlRecord control = {};
  control.controlId = 102;
  control.type = 48;
  control.window = combo;
  WuiSetFocus(combo);
  RECT at = {};
  GetWindowRect(combo, &at);
  SetCursorPos(at.left + 5, at.top + 5);

  DlgShowHint(&g_ctx, &control, dialog, 10, 10, 0);
  HWND popup = g_ui.dialog.draw.hintPopup;
  ASSERT_NE(popup, (HWND)NULL);
  EXPECT_FALSE(IsWindowVisible(popup));
  const DWORD start = GetTickCount();
  volatile LONG never = 0;
  while (!IsWindowVisible(popup) && GetTickCount() - start < 10000) WuiPumpUntil(&never, 20);
  EXPECT_TRUE(IsWindowVisible(popup));
  EXPECT_GE(GetTickCount() - start + 20, 1000u);
  EXPECT_NE(GetActiveWindow(), popup);

  // Hidden again (no timer waits), then placed near the right edge of the screen.
  DlgShowHint(&g_ctx, nullptr, dialog, 0, 0, -1);
  EXPECT_FALSE(IsWindow(popup));
  RECT screen = {};
  ASSERT_TRUE(WuiScreenRect(&screen));
  POINT edge = {screen.right - 5, screen.top + 100};
  WuiScreenToClient(dialog, &edge);
  DlgShowHint(&g_ctx, &control, dialog, edge.x, edge.y, 0);
  popup = g_ui.dialog.draw.hintPopup;
  ASSERT_NE(popup, (HWND)NULL);
  RECT placed = {};
  GetWindowRect(popup, &placed);
  EXPECT_EQ(placed.left, screen.right - 5 - (placed.right - placed.left) - 16);
  EXPECT_LE(placed.right, screen.right);
  g_ui.dialog.draw.hintTimer = 0;
  DlgShowHint(&g_ctx, nullptr, dialog, 0, 0, -1);
  WuiDestroy(dialog);
  FreeLibrary(dialogs);
#endif
}

}  // namespace
