// The drawing interface on the machine's recording: a window's DC keeps its state as a DC does,
// primitives are recorded with their numbers, and the control DC clips to the client area
// unless a paint in progress published its DC.
#include <gtest/gtest.h>

#include "core/common/draw_ui.h"
#include "core/common/window_ui.h"
#include "core/context/ui_state.h"
#include "core/front/draw_helpers.h"
#include "platform/sim.h"
#include "support/machine_fixture.h"

namespace {

const WCHAR* W(const char16_t* s) { return reinterpret_cast<const WCHAR*>(s); }

class DrawRecordingTest : public zems_test::MachineTest {};

TEST_F(DrawRecordingTest, AWindowsDcKeepsItsStateAndRecordsWhatIsDrawn) {
  HWND window = SimUiMakeWindow(W(u"Static"), NULL, 0, 0);
  HDC dc = DuiGetDc(window);
  ASSERT_NE(dc, (HDC)NULL);
  EXPECT_EQ(DuiGetDc(window), dc);
  EXPECT_EQ(DuiGetDc(NULL), (HDC)NULL);

  EXPECT_EQ(DuiSetTextColor(dc, RGB(1, 2, 3)), 0u);
  int level = DuiSaveDc(dc);
  EXPECT_EQ(DuiSetTextColor(dc, RGB(4, 5, 6)), RGB(1, 2, 3));
  DuiRestoreDc(dc, level);
  EXPECT_EQ(DuiSetBkMode(dc, TRANSPARENT), OPAQUE);

  SimDrawReset();
  dc = DuiGetDc(window);
  DuiSetTextColor(dc, RGB(9, 9, 9));
  RECT r = {1, 2, 30, 40};
  DuiFillRect(dc, &r, RGB(255, 0, 0));
  DuiTextOut(dc, 5, 6, ETO_CLIPPED, &r, W(u"abc"), -1);
  DuiDrawPicture(dc, NULL, 6193, &r, 7, 8, 0x50);

  SimDrawCall call;
  ASSERT_EQ(SimDrawCallCount(), 5u);  // get DC, text colour, fill, text, picture
  ASSERT_TRUE(SimDrawGetCall(2, &call));
  EXPECT_EQ(call.kind, kSimDrawFill);
  EXPECT_EQ(call.window, window);
  EXPECT_EQ(call.rect.right, 30);
  EXPECT_EQ(call.colour, RGB(255, 0, 0));
  ASSERT_TRUE(SimDrawGetCall(3, &call));
  EXPECT_EQ(call.kind, kSimDrawTextOut);
  EXPECT_EQ(call.colour, RGB(9, 9, 9));
  EXPECT_EQ(call.textLength, 3u);
  EXPECT_EQ(call.text[2], u'c');
  ASSERT_TRUE(SimDrawGetCall(4, &call));
  EXPECT_EQ(call.kind, kSimDrawPicture);
  EXPECT_EQ(call.id, 6193u);
  EXPECT_EQ(call.x, 7);
  EXPECT_EQ(call.flags, 0x50u);
}

TEST_F(DrawRecordingTest, TextIsMeasuredWithTheMachinesMetrics) {
  SimDrawSetTextMetrics(6, 16);
  SIZE size;
  ASSERT_TRUE(DuiTextExtent(NULL, W(u"four"), -1, &size));
  EXPECT_EQ(size.cx, 24);
  EXPECT_EQ(size.cy, 16);
  LONG height = 0, average = 0;
  ASSERT_TRUE(DuiTextMetrics(NULL, &height, &average));
  EXPECT_EQ(height, 16);
  EXPECT_EQ(average, 6);
}

TEST_F(DrawRecordingTest, TheControlDcIsThePublishedPaintDcOrTheWindowsClipped) {
  UiState ui = {};
  DriverContext ctx = {};
  ctx.ui = &ui;
  HWND window = SimUiMakeWindow(W(u"Static"), NULL, 0, 0);
  SimDrawReset();
  HDC dc = UiGetControlDc(&ctx, window);
  ASSERT_NE(dc, (HDC)NULL);
  SimDrawCall call;
  ASSERT_TRUE(SimDrawGetCall(SimDrawCallCount() - 1, &call));
  EXPECT_EQ(call.kind, kSimDrawIntersectClip);
  UiReleaseControlDc(&ctx, window, dc);
  ASSERT_TRUE(SimDrawGetCall(SimDrawCallCount() - 1, &call));
  EXPECT_EQ(call.kind, kSimDrawReleaseDc);

  HDC published = SimDrawFreeDc();
  ui.dialog.draw.paintDc = published;
  DWORD before = SimDrawCallCount();
  EXPECT_EQ(UiGetControlDc(&ctx, window), published);
  UiReleaseControlDc(&ctx, window, published);
  EXPECT_EQ(SimDrawCallCount(), before);  // neither taken nor released
}

}  // namespace
