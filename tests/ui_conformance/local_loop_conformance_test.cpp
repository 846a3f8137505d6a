// The window interface's local loop of a held control, its capture and its coordinates: natively
// on the machine's fake and its clock, under Wine on user32 in real time.
#include <gtest/gtest.h>

#include "core/common/window_ui.h"
#ifdef _WIN32
#include "support/wine_detect.h"
#else
#include "platform/sim.h"
#include "support/machine_fixture.h"
#endif

namespace {

#ifdef _WIN32
using Base = ::testing::Test;
#else
using Base = zems_test::MachineTest;
#endif

// What the held window's procedure does on its timer 2: counts the ticks and, at the tick
// named, ends the loop, destroys the window or posts WM_QUIT.
struct Held {
  int ticks = 0;
  int endAt = 0;
  int destroyAt = 0;
  int quitAt = 0;
  int captureLost = 0;
  volatile LONG done = 0;
};
Held* g_held = nullptr;
WNDPROC g_static = nullptr;

LRESULT CALLBACK HeldProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (g_held && message == WM_CAPTURECHANGED) ++g_held->captureLost;
  if (g_held && message == WM_TIMER && wParam == 2) {
    const int tick = ++g_held->ticks;
    if (tick == g_held->endAt) g_held->done = 1;
    if (tick == g_held->destroyAt) WuiDestroy(window);
#ifdef _WIN32
    if (tick == g_held->quitAt) PostQuitMessage(5);
#endif
    return 0;
  }
  return g_static ? WuiCallProcedure(g_static, window, message, wParam, lParam) : 0;
}

class LocalLoopConformanceTest : public Base {
 protected:
  HWND MakeHeld() {
    const RECT at = {40, 30, 140, 60};
    HWND window = WuiCreatePopup(NULL, TEXT("STATIC"), TEXT(""), WS_POPUP, &at, NULL);
    if (window) g_static = WuiSubclass(window, HeldProc);
    return window;
  }
  void TearDown() override {
    g_held = nullptr;
    Base::TearDown();
  }
};

TEST_F(LocalLoopConformanceTest, TheLoopRunsTheTimersUntilDoneOrTheWindowGoes) {
  struct Case {
    const char* name;
    int endAt, destroyAt;
    BOOL answer;
  } cases[] = {{"done at the fourth tick", 4, 0, TRUE}, {"destroyed at the second tick", 0, 2, FALSE}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Held held;
    held.endAt = c.endAt;
    held.destroyAt = c.destroyAt;
    g_held = &held;
    HWND window = MakeHeld();
    ASSERT_NE(window, (HWND)NULL) << GetLastError();
    ASSERT_EQ(WuiSetTimer(window, 2, 100), (UINT_PTR)2);
    const DWORD start = GetTickCount();
    EXPECT_EQ(WuiRunLocalLoop(window, &held.done), c.answer);
    const DWORD spent = GetTickCount() - start;
    const int ticks = c.endAt ? c.endAt : c.destroyAt;
    EXPECT_EQ(held.ticks, ticks);
    // Real timers may come late, never early by more than the clock's grain.
    EXPECT_GE(spent + 20, static_cast<DWORD>(ticks * 100));
    EXPECT_LT(spent, static_cast<DWORD>(ticks * 100 + 1000));
    if (c.destroyAt) {
      EXPECT_FALSE(WuiIsWindow(window));
    } else {
      WuiKillTimer(window, 2);
      WuiDestroy(window);
    }
  }
}

TEST_F(LocalLoopConformanceTest, WmQuitEndsTheLoopAndStaysForTheOuterOne) {
#ifndef _WIN32
  GTEST_SKIP() << "the fake's queue has no WM_QUIT";
#else
  Held held;
  held.quitAt = 2;
  g_held = &held;
  HWND window = MakeHeld();
  ASSERT_NE(window, (HWND)NULL);
  WuiSetTimer(window, 2, 100);
  EXPECT_FALSE(WuiRunLocalLoop(window, &held.done));
  EXPECT_EQ(held.ticks, 2);
  MSG msg;
  ASSERT_TRUE(PeekMessageW(&msg, NULL, WM_QUIT, WM_QUIT, PM_REMOVE));
  EXPECT_EQ(msg.wParam, static_cast<WPARAM>(5));
  WuiKillTimer(window, 2);
  WuiDestroy(window);
#endif
}

TEST_F(LocalLoopConformanceTest, ALostCaptureIsToldAndPointsMapBothWays) {
  Held held;
  g_held = &held;
  HWND window = MakeHeld();
  ASSERT_NE(window, (HWND)NULL);
  WuiShow(window, SW_SHOWNA);
  WuiSetCapture(window);
  EXPECT_EQ(WuiGetCapture(), window);
  EXPECT_TRUE(WuiReleaseCapture());
  EXPECT_EQ(held.captureLost, 1);
  EXPECT_EQ(WuiGetCapture(), (HWND)NULL);

  POINT at = {7, 9};
  ASSERT_TRUE(WuiClientToScreen(window, &at));
  RECT frame = {};
  WuiGetRect(window, &frame);
  EXPECT_GE(at.x, frame.left + 7);
  EXPECT_GE(at.y, frame.top + 9);
  ASSERT_TRUE(WuiScreenToClient(window, &at));
  EXPECT_EQ(at.x, 7);
  EXPECT_EQ(at.y, 9);
  RECT screen = {};
  ASSERT_TRUE(WuiScreenRect(&screen));
  EXPECT_GT(screen.right - screen.left, 0);
  EXPECT_GT(screen.bottom - screen.top, 0);
  WuiDestroy(window);
}

}  // namespace
