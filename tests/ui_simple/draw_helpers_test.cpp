// Button faces, tray labels, the control DC and text measuring.
#include "core/common/draw_ui.h"
#include "core/common/window_ui.h"
#include "core/context/ui_state.h"
#include "core/front/ctl_simple.h"
#include "core/front/draw_helpers.h"
#include "core/items/item_access.h"
#include "core/items/item_ids.h"
#include "core/items/item_table.h"
#include "core/system/resources.h"
#include "ui_simple/simple_fixture.h"

namespace zems_test {
namespace {

class FaceTest : public SimpleTest {
 protected:
  void SetUp() override {
    SimpleTest::SetUp();
    if (HasFatalFailure()) return;
    ASSERT_NE(OpenPage(1038, {Control(2003, 21)}), nullptr);
    button_ = Find(2003);
    dc_ = SimDrawWindowDc(button_->window);
  }
  // Draws the face of the button with this caption id left in the UI state.
  int Face(WORD caption, int style, bool pressed, bool focused, bool withText = true) {
    ctx_->ui->dialog.draw.altCaption = caption;
    MarkDraws();
    return CtlDrawButtonFace(ctx_, page_, button_, withText ? button_->window : NULL, dc_, &rect_, style, pressed,
                             focused);
  }
  std::vector<COLORREF> LineColours() {
    std::vector<COLORREF> colours;
    for (const SimDrawCall& line : Draws(kSimDrawLine)) colours.push_back(line.colour);
    return colours;
  }

  DlgControlRecord* button_ = nullptr;
  HDC dc_ = NULL;
  RECT rect_ = {0, 0, 80, 24};
};

TEST_F(FaceTest, ARaisedFrameAndItsPressedFormUseTheSystemColours) {
  const COLORREF light = DuiSysColor(COLOR_BTNHIGHLIGHT), dark = DuiSysColor(COLOR_3DDKSHADOW),
                 face = DuiSysColor(COLOR_BTNFACE), shadow = DuiSysColor(COLOR_BTNSHADOW);
  struct Case {
    bool pressed;
    std::vector<COLORREF> lines;  // outer top, left, bottom, right, then the inner ring
  } cases[] = {
      {false, {light, light, dark, dark, face, face, shadow, shadow}},
      {true, {shadow, shadow, face, face, dark, dark, light, light}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.pressed);
    Face(0xFFFF, 2, c.pressed, false);
    std::vector<SimDrawCall> fills = Draws(kSimDrawRectangle);
    ASSERT_EQ(fills.size(), 1u);
    EXPECT_EQ(fills[0].colour, face);
    EXPECT_EQ(fills[0].colour2, CLR_INVALID);
    EXPECT_EQ(LineColours(), c.lines);
    std::vector<SimDrawCall> lines = Draws(kSimDrawLine);
    EXPECT_EQ(lines[4].points[0].x, 1);  // the inner ring lies one pixel inside
  }
}

TEST_F(FaceTest, ASplitFaceDrawsTheHalvesItsStyleBitsChoose) {
  struct Case {
    int style;
    std::vector<UINT> pictures;
  } cases[] = {
      {0x04 | 0x10 | 0x40, {220, 222}},
      {0x04 | 0x20 | 0x80, {221, 221}},
      {0x04 | 0x30 | 0xC0, {222, 220}},
      {0x04 | 0x10, {220}},
      {0x04, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.style);
    Face(0xFFFF, c.style, false, false);
    std::vector<UINT> drawn;
    for (const SimDrawCall& call : Draws(kSimDrawPicture)) drawn.push_back(call.id);
    EXPECT_EQ(drawn, c.pictures);
    std::vector<SimDrawCall> pictures = Draws(kSimDrawPicture);
    if (pictures.size() == 2) {
      EXPECT_EQ(pictures[0].rect.right, 40);
      EXPECT_EQ(pictures[1].rect.left, 40);
      EXPECT_EQ(pictures[0].rect.top, 6);
      EXPECT_EQ(pictures[0].rect.bottom, 18);
    }
  }
}

TEST_F(FaceTest, TheCaptionIsTheAlternateCaptionStringNoneOrDots) {
  LONG advance = 0, height = 0;
  SimDrawGetTextMetrics(&advance, &height);
  struct Case {
    WORD caption;
    const char16_t* drawn;  // nullptr: nothing
  } cases[] = {{0, u"..."}, {0xFFFF, nullptr}, {13187, u"Change..."}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.caption);
    const int width = Face(c.caption, 2, false, false);
    std::vector<SimDrawCall> texts = Draws(kSimDrawText);
    if (!c.drawn) {
      EXPECT_TRUE(texts.empty());
      EXPECT_EQ(width, 0);
      continue;
    }
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_EQ(Of(texts[0].text), c.drawn);
    EXPECT_EQ(texts[0].flags & (DT_CENTER | DT_WORDBREAK | DT_EXPANDTABS),
              static_cast<DWORD>(DT_CENTER | DT_WORDBREAK | DT_EXPANDTABS));
    EXPECT_EQ(width, static_cast<int>(std::u16string(c.drawn).size()) * advance);
  }
  // Without a text window no caption is drawn.
  Face(13187, 2, false, false, false);
  EXPECT_TRUE(Draws(kSimDrawText).empty());
}

TEST_F(FaceTest, AnArrowCaptionIsDrawnAsATriangle) {
  struct Case {
    WORD caption;  // 13192 "<", 13193 ">"
    bool left;
  } cases[] = {{13192, true}, {13193, false}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.caption);
    Face(c.caption, 2, false, false);
    EXPECT_TRUE(Draws(kSimDrawText).empty());
    std::vector<SimDrawCall> polygons = Draws(kSimDrawPolygon);
    ASSERT_EQ(polygons.size(), 1u);
    EXPECT_EQ(polygons[0].pointCount, 3);
    EXPECT_EQ(polygons[0].colour, DuiSysColor(COLOR_MENUTEXT));
    // The face inside the frame runs from 1 to 79; the tip lies at its left or right end.
    const POINT tip = polygons[0].points[2];
    EXPECT_EQ(tip.x, c.left ? 1 : 78);
    EXPECT_EQ(polygons[0].points[0].x, c.left ? 78 : 1);
  }
}

TEST_F(FaceTest, ADisabledCaptionIsEmbossedAndTheFocusRectangleLiesInside) {
  WuiEnable(button_->window, FALSE);
  Face(13187, 2, false, true);
  std::vector<SimDrawCall> texts = Draws(kSimDrawText);
  ASSERT_EQ(texts.size(), 2u);
  EXPECT_EQ(texts[0].colour, RGB(255, 255, 255));
  EXPECT_EQ(texts[1].colour, DuiSysColor(COLOR_GRAYTEXT));
  EXPECT_EQ(texts[0].rect.left, texts[1].rect.left + 1);
  EXPECT_EQ(texts[0].rect.top, texts[1].rect.top + 1);
  std::vector<SimDrawCall> focus = Draws(kSimDrawFocusRect);
  ASSERT_EQ(focus.size(), 1u);
  // Focused: one pixel in, the frame one more, the focus two more.
  EXPECT_EQ(focus[0].rect.left, 4);
  EXPECT_EQ(focus[0].rect.right, 76);
  // The frame of a focused face starts one pixel inside.
  EXPECT_EQ(Draws(kSimDrawLine)[0].points[0].x, 1);
}

class TrayLabelTest : public SimpleTest {
 protected:
  void SetUp() override {
    SimpleTest::SetUp();
    if (HasFatalFailure()) return;
    ItemSetValueById(ctx_, kItem_dmCopies, 29);             // the label's tray name: string 29
    ItemSetValueById(ctx_, kItem_zdmTray1Paper, 30);        // the paper in the first tray
    ItemSetValueById(ctx_, kItem_zdmTray1Media, 31);        // its media
    ItemSetValueById(ctx_, kItem_zdmTrayOrient0, 0);
    ItemSetValueById(ctx_, kItem_zdmMachineTypeFeed, 1);
  }
  DlgControlRecord* Label(WORD dialogId, WORD id) {
    EXPECT_NE(OpenPage(dialogId, {Control(id, 1)}), nullptr);
    DlgControlRecord* label = Find(id);
    label->item = ItemFind(ctx_, kItem_dmCopies);
    return label;
  }
  std::u16string String(UINT id) {
    WCHAR text[1025];
    ResLoadString(ctx_, id, text, 1025, TRUE);
    return Of(text);
  }
  std::vector<std::u16string> TextsOut() {
    std::vector<std::u16string> texts;
    for (const SimDrawCall& call : Draws(kSimDrawTextOut)) texts.push_back(Of(call.text));
    return texts;
  }
  std::vector<UINT> PictureIds() {
    std::vector<UINT> ids;
    for (const SimDrawCall& call : Draws(kSimDrawPicture)) ids.push_back(call.id);
    return ids;
  }
};

TEST_F(TrayLabelTest, ALabelShowsTheTrayNameThenPaperOrientationAndMediaByItsMode) {
  const std::u16string tray = String(29), paper = String(30), media = String(31), suffix = String(854);
  struct Case {
    int mode;
    WORD label;
    WORD index;
    std::vector<std::u16string> textsOut;
    bool paperDrawn;
    std::vector<UINT> pictures;
  } cases[] = {
      {kTrayLabelSlashed, 2458, 0, {tray + suffix, u"/" + media}, true, {6193}},
      {kTrayLabelPlain, 2458, 0, {tray + suffix}, true, {6193}},
      {kTrayLabelTextOnly, 2458, 0, {tray}, false, {}},
      // the label without icon has no media after it either; its tray has no paper here
      {kTrayLabelSlashed, 2809, kTrayLabelNoIcon, {tray + suffix}, false, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.mode);
    SCOPED_TRACE(c.label);
    DlgControlRecord* label = Label(1030, c.label);
    EXPECT_EQ(CtlPaintTrayLabel(ctx_, page_, label, WM_PAINT, c.index, c.mode), 1);
    EXPECT_EQ(TextsOut(), c.textsOut);
    std::vector<SimDrawCall> texts = Draws(kSimDrawText);
    ASSERT_EQ(texts.size(), c.mode == kTrayLabelTextOnly ? 0u : 1u);
    if (c.paperDrawn) {
      EXPECT_EQ(Of(texts[0].text), paper);
      EXPECT_TRUE(texts[0].flags & DT_END_ELLIPSIS);
      EXPECT_TRUE(texts[0].flags & DT_NOPREFIX);
    }
    EXPECT_EQ(PictureIds(), c.pictures);
  }
}

TEST_F(TrayLabelTest, TheOrientationIconFollowsTheTrayAndTheFeed) {
  struct Case {
    LONG turned, feed;
    UINT picture;
  } cases[] = {{0, 1, 6193}, {1, 1, 6194}, {0, 0, 6194}, {1, 0, 6193}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.turned * 10 + c.feed);
    ItemSetValueById(ctx_, kItem_zdmTrayOrient0, c.turned);
    ItemSetValueById(ctx_, kItem_zdmMachineTypeFeed, c.feed);
    DlgControlRecord* label = Label(1030, 2458);
    CtlPaintTrayLabelPlain(ctx_, page_, label, WM_PAINT, 0);
    EXPECT_EQ(PictureIds(), std::vector<UINT>{c.picture});
  }
}

TEST_F(TrayLabelTest, TheOptionsPageShowsTheLabelsOwnTextAndARestrictedLabelIsGrey) {
  DlgControlRecord* label = Label(1010, 2410);
  label->state = 0x4;
  CtlPaintTrayLabelTextOnly(ctx_, page_, label, WM_PAINT, 0);
  std::vector<SimDrawCall> out = Draws(kSimDrawTextOut);
  ASSERT_EQ(out.size(), 1u);
  EXPECT_EQ(Of(out[0].text), u"Tray 1");
  EXPECT_EQ(out[0].colour, DuiSysColor(COLOR_GRAYTEXT));
  std::vector<SimDrawCall> fills = Draws(kSimDrawFill);
  ASSERT_FALSE(fills.empty());
  EXPECT_EQ(fills[0].colour, DuiSysColor(COLOR_BTNFACE));
}

TEST_F(TrayLabelTest, AnEraseAsksForAPaintAndOtherMessagesAreNotTaken) {
  DlgControlRecord* label = Label(1030, 2458);
  EXPECT_EQ(CtlPaintTrayLabel(ctx_, page_, label, WM_ERASEBKGND, 0, kTrayLabelSlashed), 1);
  EXPECT_TRUE(WuiIsPosted(label->window, WM_PAINT));
  EXPECT_TRUE(Draws(kSimDrawTextOut).empty());
  EXPECT_EQ(CtlPaintTrayLabel(ctx_, page_, label, WM_MOUSEMOVE, 0, kTrayLabelSlashed), 0);
}

TEST_F(TrayLabelTest, TheTableDrivenFormPaintsTheLabelsOfTheTable) {
  // On the options page the first tray label of the table is 2410.
  ASSERT_NE(OpenPage(1010, {Control(2412, 1), Control(2410, 1)}), nullptr);
  EXPECT_EQ(CtlPaintTrayLabels(ctx_, page_, nullptr, WM_ERASEBKGND), 1);
  std::vector<SimDrawCall> out = Draws(kSimDrawTextOut);
  ASSERT_FALSE(out.empty());
  EXPECT_EQ(Of(out[0].text), u"Tray 1");
  EXPECT_EQ(CtlPaintTrayLabels(ctx_, page_, nullptr, WM_PAINT), 0);
  EXPECT_EQ(CtlPaintTrayLabels(ctx_, page_, Find(2412), WM_PAINT), 1);
  // A hidden first label answers 0.
  WuiShow(Find(2410)->window, SW_HIDE);
  MarkDraws();
  EXPECT_EQ(CtlPaintTrayLabels(ctx_, page_, nullptr, WM_ERASEBKGND), 0);
  EXPECT_TRUE(Draws(kSimDrawTextOut).empty());
  // A control outside the table is not a label.
  DlgControlRecord other = Control(3001, 1);
  EXPECT_EQ(CtlPaintTrayLabels(ctx_, page_, &other, WM_PAINT), 0);
}

TEST_F(TrayLabelTest, TheTableHoldsTheOptionsPageTraysAndTheLabelWithoutIcon) {
  struct Case {
    WORD id, index;
  } cases[] = {{2410, 0}, {2412, 1}, {2413, 2}, {2538, 3}, {2770, 4},
               {2539, 25}, {2540, 27}, {2411, 28}, {2809, 29}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.id);
    const TrayLabelRow* row = TblFindTrayLabel(c.id);
    ASSERT_NE(row, nullptr);
    EXPECT_EQ(row->trayIndex, c.index);
  }
  EXPECT_EQ(TblFindTrayLabel(3001), nullptr);
}

TEST_F(SimpleTest, TheControlDcIsThePublishedPaintDcOrTheWindowsOwnClipped) {
  ASSERT_NE(OpenPage(1038, {Control(2003, 21)}), nullptr);
  HWND window = Find(2003)->window;
  HDC own = UiGetControlDc(ctx_, window);
  ASSERT_NE(own, static_cast<HDC>(NULL));
  UiReleaseControlDc(ctx_, window, own);
  EXPECT_EQ(Draws(kSimDrawGetDc).size(), 1u);
  EXPECT_EQ(Draws(kSimDrawIntersectClip).size(), 1u);
  EXPECT_EQ(Draws(kSimDrawReleaseDc).size(), 1u);

  MarkDraws();
  HDC painting = SimDrawFreeDc();
  ctx_->ui->dialog.draw.paintDc = painting;
  EXPECT_EQ(UiGetControlDc(ctx_, window), painting);
  UiReleaseControlDc(ctx_, window, painting);
  EXPECT_TRUE(Draws(kSimDrawGetDc).empty());
  EXPECT_TRUE(Draws(kSimDrawReleaseDc).empty());
  ctx_->ui->dialog.draw.paintDc = NULL;
}

TEST_F(SimpleTest, TextIsMeasuredInTheDcsFontAndAFillUsesOneColour) {
  SimDrawSetTextMetrics(6, 11);
  HDC dc = SimDrawFreeDc();
  SIZE size = {0, 0};
  UiMeasureText(dc, u"abcd", &size);
  EXPECT_EQ(size.cx, 24);
  EXPECT_EQ(size.cy, 11);
  UiMeasureText(dc, nullptr, &size);
  EXPECT_EQ(size.cx, 6);
  EXPECT_EQ(size.cy, 11);
  const RECT rect = {1, 2, 3, 4};
  MarkDraws();
  UiFillRectColor(dc, &rect, RGB(9, 8, 7));
  std::vector<SimDrawCall> fills = Draws(kSimDrawRectangle);
  ASSERT_EQ(fills.size(), 1u);
  EXPECT_EQ(fills[0].colour, RGB(9, 8, 7));
  EXPECT_EQ(fills[0].colour2, RGB(9, 8, 7));
  EXPECT_EQ(UiGetHighWord(0x12345678), 0x1234);
}

}  // namespace
}  // namespace zems_test
