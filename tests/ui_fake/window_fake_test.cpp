// What only the fake does: scripted and strict message boxes, timers on the machine's clock,
// modal loops driven by an idle hook (and ended when nothing can end them), the active window.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "core/common/window_ui.h"
#include "platform/sim.h"
#include "support/machine_fixture.h"

namespace {

const WCHAR* W(const char16_t* s) { return reinterpret_cast<const WCHAR*>(s); }

class WindowFakeTest : public zems_test::MachineTest {
 protected:
  void SetUp() override {
    MachineTest::SetUp();
    std::error_code ec;
    std::filesystem::copy_file(zems_test::BinDir() + "/zemstestui.dll", std::string(SimHostPath(W(u"C:\\"))) + "/t.dll",
                               std::filesystem::copy_options::overwrite_existing, ec);
    dialogs_ = LoadLibraryW(W(u"C:\\t.dll"));
    ASSERT_NE(dialogs_, (HMODULE)NULL);
  }
  void TearDown() override {
    FreeLibrary(dialogs_);
    MachineTest::TearDown();
  }
  HMODULE dialogs_ = NULL;
};

int g_timers = 0;
INT_PTR CALLBACK CountTimers(HWND, UINT message, WPARAM, LPARAM) {
  if (message == WM_TIMER) ++g_timers;
  return message == WM_INITDIALOG;
}

TEST_F(WindowFakeTest, TimersFireOnTheMachinesClock) {
  SimSetTickCount(1000);
  HWND dialog = WuiCreateDialog(dialogs_, 4900, NULL, CountTimers, 0);
  g_timers = 0;
  WuiSetTimer(dialog, 1, 500);
  EXPECT_EQ(SimUiPump(), 0);
  SimAdvanceTickCount(499);
  SimUiPump();
  EXPECT_EQ(g_timers, 0);
  SimAdvanceTickCount(1);
  SimUiPump();
  EXPECT_EQ(g_timers, 1);
  // A pump that waits moves the clock from timer to timer instead of sleeping.
  volatile LONG never = 0;
  EXPECT_FALSE(WuiPumpUntil(&never, 1600));
  EXPECT_EQ(g_timers, 4);
  EXPECT_EQ(GetTickCount(), 3100u);
  WuiKillTimer(dialog, 1);
  WuiDestroy(dialog);
}

HWND g_modal = NULL;
INT_PTR CALLBACK RememberModal(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
  if (message == WM_INITDIALOG) g_modal = dialog;
  if (message == WM_COMMAND && LOWORD(wParam) == 105) WuiEndDialog(dialog, 5);
  return message == WM_INITDIALOG;
}

TEST_F(WindowFakeTest, ModalLoopRunsTheIdleHookAndNeverHangs) {
  // The actor presses the push button once the loop has nothing else to do.
  SimUiSetIdleHook([](void*) { WuiSend(WuiFindControl(g_modal, 105), BM_CLICK, 0, 0); }, nullptr);
  EXPECT_EQ(WuiRunDialog(dialogs_, 4900, NULL, RememberModal, 0), 5);
  EXPECT_FALSE(WuiIsWindow(g_modal));
  SimUiSetIdleHook(nullptr, nullptr);
  EXPECT_EQ(WuiRunDialog(dialogs_, 4900, NULL, RememberModal, 0), -1) << "nothing left to end it";
}

TEST_F(WindowFakeTest, MessageBoxesAnswerTheScriptThenOkOrInStrictModeNothing) {
  const int answers[] = {IDNO};
  SimUiScriptAnswers(answers, 1);
  EXPECT_EQ(WuiMessageBox(NULL, W(u"a"), NULL, MB_YESNO), IDNO);
  EXPECT_EQ(WuiMessageBox(NULL, W(u"b"), NULL, MB_OK), IDOK);
  SimUiSetStrictBoxes(TRUE);
  testing::internal::CaptureStderr();
  EXPECT_EQ(WuiMessageBox(NULL, W(u"unexpected text"), W(u"cap"), MB_OK), 0);
  EXPECT_NE(testing::internal::GetCapturedStderr().find("unexpected text"), std::string::npos);
}

TEST_F(WindowFakeTest, ActiveWindowIsTheLastShownUntilItGoes) {
  EXPECT_EQ(WuiActiveWindow(), (HWND)NULL);
  HWND first = WuiCreateDialog(dialogs_, 4900, NULL, NULL, 0);
  EXPECT_EQ(WuiActiveWindow(), first) << "visible by its template";
  HWND second = WuiCreateDialog(dialogs_, 4900, first, NULL, 0);
  EXPECT_EQ(WuiActiveWindow(), second);
  WuiShow(second, SW_HIDE);
  EXPECT_EQ(WuiActiveWindow(), first) << "the owner is active again";
  WuiShow(second, SW_SHOWNA);
  EXPECT_EQ(WuiActiveWindow(), first) << "shown without activating";
  WuiDestroy(first);
  EXPECT_FALSE(WuiIsWindow(second)) << "owned windows go with their owner";
  EXPECT_EQ(WuiActiveWindow(), (HWND)NULL);
  EXPECT_FALSE(WuiPost(second, WM_USER, 0, 0));
}

}  // namespace
