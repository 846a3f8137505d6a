// What only the fake does: scripted and strict message boxes, timers on the machine's clock,
// modal loops driven by an idle hook (and ended when nothing can end them), the active window,
// list views telling their parent each change of selection.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

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

// What a list view's parent was told.
struct ListNotice {
  int item;
  UINT oldState, newState;
  LPARAM data;
};
std::vector<ListNotice> g_notices;
LRESULT CALLBACK RecordNotices(HWND, UINT message, WPARAM, LPARAM lParam) {
  if (message == WM_NOTIFY && reinterpret_cast<const NMHDR*>(lParam)->code == LVN_ITEMCHANGED) {
    const NMLISTVIEW* notice = reinterpret_cast<const NMLISTVIEW*>(lParam);
    g_notices.push_back({notice->iItem, notice->uOldState, notice->uNewState, notice->lParam});
  }
  return 0;
}

TEST_F(WindowFakeTest, ListViewsKeepTheirItemsAndTellEachChangeOfSelection) {
  HWND parent = SimUiMakeWindow(W(u"#32770"), NULL, 0, 0);
  WuiSubclass(parent, RecordNotices);
  HWND list = SimUiMakeWindow(W(u"SysListView32"), parent, 7, WS_CHILD | LVS_REPORT | LVS_SINGLESEL);
  g_notices.clear();
  EXPECT_EQ(0, WuiListViewAddColumn(list, 0, W(u"Tray"), 50));
  EXPECT_EQ(1, WuiListViewAddColumn(list, 1, W(u"Paper"), 50));
  EXPECT_EQ(0, WuiListViewInsert(list, 0, W(u"a"), 10, FALSE));
  EXPECT_EQ(1, WuiListViewInsert(list, 1, W(u"b"), 20, TRUE));
  ASSERT_EQ(1u, g_notices.size()) << "a selected insert is a change of state";
  EXPECT_EQ(1, g_notices[0].item);
  EXPECT_EQ(UINT(LVIS_SELECTED), g_notices[0].newState);
  EXPECT_EQ(20, g_notices[0].data);
  EXPECT_EQ(2, WuiListViewCount(list));
  EXPECT_EQ(20, WuiListViewData(list, 1));
  EXPECT_EQ(0, WuiListViewData(list, 2));
  EXPECT_EQ(1, WuiListViewSelection(list));
  g_notices.clear();
  EXPECT_TRUE(WuiListViewSelect(list, 0));
  EXPECT_EQ(0, WuiListViewSelection(list)) << "one selection at a time";
  ASSERT_EQ(2u, g_notices.size());
  EXPECT_EQ(0, g_notices[0].item);
  EXPECT_EQ(UINT(LVIS_SELECTED | LVIS_FOCUSED), g_notices[0].newState);
  EXPECT_EQ(1, g_notices[1].item);
  EXPECT_EQ(0u, g_notices[1].newState & LVIS_SELECTED);
  EXPECT_FALSE(WuiListViewSelect(list, 2));
  EXPECT_TRUE(WuiListViewClear(list));
  EXPECT_EQ(0, WuiListViewCount(list));
  EXPECT_EQ(-1, WuiListViewSelection(list));
}

}  // namespace
