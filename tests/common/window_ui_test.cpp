// The window interface's native fake: declared controls are found, focus changes and message
// boxes are recorded, scripted answers come back in order and IDOK once they are spent.
#include "core/common/window_ui.h"

#include "platform/sim.h"
#include "support/machine_fixture.h"

namespace {

class WindowUiTest : public zems_test::MachineTest {};

HWND FakeWindow(int n) { return (HWND)(size_t)(0x1000 + n); }

TEST_F(WindowUiTest, FindsOnlyDeclaredControlsOfAPageWindow) {
  SimUiDeclareControl(FakeWindow(1), 1001, FakeWindow(2));
  EXPECT_EQ(WuiFindControl(FakeWindow(1), 1001), FakeWindow(2));
  EXPECT_EQ(WuiFindControl(FakeWindow(1), 1002), (HWND)NULL);
  EXPECT_EQ(WuiFindControl(NULL, 1001), (HWND)NULL);
  SimUiDeclareControl(FakeWindow(1), 1001, NULL);
  EXPECT_EQ(WuiFindControl(FakeWindow(1), 1001), (HWND)NULL);
}

TEST_F(WindowUiTest, RecordsFocusAndMessageBoxesWithScriptedAnswers) {
  const int answers[] = {IDCANCEL, IDNO};
  SimUiScriptAnswers(answers, 2);
  WuiSetFocus(FakeWindow(5));
  EXPECT_EQ(WuiMessageBox(FakeWindow(1), TEXT("Text"), TEXT("Caption"), MB_OKCANCEL | MB_ICONEXCLAMATION), IDCANCEL);
  EXPECT_EQ(WuiMessageBox(NULL, TEXT("Second"), NULL, MB_YESNO), IDNO);
  EXPECT_EQ(WuiMessageBox(NULL, TEXT("Third"), NULL, MB_OK), IDOK);
  ASSERT_EQ(SimUiCallCount(), 4u);
  SimUiCall call;
  ASSERT_TRUE(SimUiGetCall(0, &call));
  EXPECT_EQ(call.kind, kSimUiSetFocus);
  EXPECT_EQ(call.window, FakeWindow(5));
  ASSERT_TRUE(SimUiGetCall(1, &call));
  EXPECT_EQ(call.kind, kSimUiMessageBox);
  EXPECT_EQ(call.window, FakeWindow(1));
  EXPECT_EQ(call.style, (UINT)(MB_OKCANCEL | MB_ICONEXCLAMATION));
  EXPECT_EQ(call.answer, IDCANCEL);
  EXPECT_EQ(call.text[0], u'T');
  EXPECT_EQ(call.caption[0], u'C');
  ASSERT_TRUE(SimUiGetCall(2, &call));
  EXPECT_EQ(call.caption[0], 0);
  EXPECT_FALSE(SimUiGetCall(4, &call));
  SimUiReset();
  EXPECT_EQ(SimUiCallCount(), 0u);
}

}  // namespace
