// The decisions of the picture drawing as plain functions: colour adjustment, the themed
// background, where a picture goes in its control and how a layout row with a base picture is
// drawn.
#include <gtest/gtest.h>

#include "core/front/image_draw.h"

namespace {

LONG R(COLORREF c) { return c & 0xFF; }
LONG G(COLORREF c) { return (c >> 8) & 0xFF; }
LONG B(COLORREF c) { return (c >> 16) & 0xFF; }

struct Params {
  LONG l, c, s, r, g, b;
};

TEST(ImageColourAdjustment, Cases) {
  // Worked by hand from the formulas for RGB(100, 150, 200), whose luminance is 140.
  struct Case {
    Params p;
    BOOL grey;
    COLORREF expected;
  } cases[] = {
      {{50, 50, 50, 50, 50, 50}, FALSE, RGB(100, 150, 200)},
      {{50, 50, 50, 50, 50, 50}, TRUE, RGB(140, 140, 140)},   // grey by 30/59/11
      {{50, 50, 50, 60, 40, 50}, FALSE, RGB(110, 140, 200)},  // colour balance
      {{50, 50, 50, 60, 40, 50}, TRUE, RGB(140, 140, 140)},   // grey ignores the balance
      {{100, 50, 50, 50, 50, 50}, FALSE, RGB(167, 216, 255)}, // lighter, blue clamped
      {{0, 50, 50, 50, 50, 50}, FALSE, RGB(32, 81, 132)},     // darker
      {{50, 50, 0, 50, 50, 50}, FALSE, RGB(124, 144, 164)},   // less saturated
      {{50, 100, 50, 50, 50, 50}, FALSE, RGB(89, 158, 228)},  // more contrast
      {{50, 0, 50, 50, 50, 50}, FALSE, RGB(110, 141, 171)},   // less contrast
  };
  for (const Case& c : cases) {
    const LONG params[6] = {c.p.l, c.p.c, c.p.s, c.p.r, c.p.g, c.p.b};
    EXPECT_EQ(c.expected, ImgAdjustColour(params, RGB(100, 150, 200), c.grey))
        << c.p.l << " " << c.p.c << " " << c.p.s << " " << c.p.r << " " << c.p.g << " " << c.p.b << " grey "
        << c.grey;
  }
}

TEST(ImageColourAdjustment, GridOfTheSixParameters) {
  const LONG steps[] = {0, 25, 50, 75, 100};
  const COLORREF colours[] = {RGB(0, 0, 0), RGB(255, 255, 255), RGB(204, 0, 51), RGB(12, 200, 90)};
  for (COLORREF colour : colours) {
    const LONG neutral[6] = {50, 50, 50, 50, 50, 50};
    EXPECT_EQ(colour, ImgAdjustColour(neutral, colour, FALSE));
    for (LONG l : steps)
      for (LONG c : steps)
        for (LONG s : steps)
          for (LONG r : steps)
            for (LONG g : steps)
              for (LONG b : steps) {
                const LONG params[6] = {l, c, s, r, g, b};
                const COLORREF grey = ImgAdjustColour(params, colour, TRUE);
                ASSERT_TRUE(R(grey) == G(grey) && G(grey) == B(grey))
                    << l << c << s << r << g << b;
                if (l == 50 && c == 50 && s == 50) {
                  // Only the balance moves the channels, each by its own parameter.
                  const COLORREF out = ImgAdjustColour(params, colour, FALSE);
                  auto shifted = [](LONG v, LONG by) { v += by - 50; return v < 0 ? 0 : v > 255 ? 255 : v; };
                  ASSERT_EQ(RGB(shifted(R(colour), r), shifted(G(colour), g),
                                shifted(B(colour), b)),
                            out);
                }
              }
  }
}

TEST(ImageTheme, UsedOnlyWhenEverythingAllowsIt) {
  const ImgThemeFacts all = {TRUE, TRUE, TRUE, FALSE, FALSE, TRUE, 600, RGB(236, 233, 216), RGB(236, 233, 216)};
  EXPECT_TRUE(ImgUseTheme(&all));
  struct Case {
    const char* what;
    void (*change)(ImgThemeFacts*);
    BOOL used;
  } cases[] = {
      {"no theme library", [](ImgThemeFacts* f) { f->drawCallFound = FALSE; }, FALSE},
      {"no theme data", [](ImgThemeFacts* f) { f->themeOpened = FALSE; }, FALSE},
      {"no background bitmap", [](ImgThemeFacts* f) { f->backgroundMade = FALSE; }, FALSE},
      {"noTheme", [](ImgThemeFacts* f) { f->noTheme = TRUE; }, FALSE},
      {"modal page", [](ImgThemeFacts* f) { f->modalPage = TRUE; }, FALSE},
      {"no active theme", [](ImgThemeFacts* f) { f->themeActive = FALSE; }, FALSE},
      {"comctl32 5.81", [](ImgThemeFacts* f) { f->comctlVersion = 581; }, FALSE},
      {"comctl32 6.10", [](ImgThemeFacts* f) { f->comctlVersion = 610; }, TRUE},
      {"background not the button face", [](ImgThemeFacts* f) { f->background = RGB(255, 255, 255); }, FALSE},
  };
  for (const Case& c : cases) {
    ImgThemeFacts facts = all;
    c.change(&facts);
    EXPECT_EQ(c.used, ImgUseTheme(&facts)) << c.what;
  }
}

TEST(ImagePlacement, AnchorAndPictureAlignment) {
  const RECT rect = {10, 20, 50, 80};  // 40 x 60
  struct Case {
    DWORD flags;
    POINT anchor;   // from (10, 20)
    POINT topLeft;  // of a 16 x 8 picture there
  } cases[] = {
      {0, {10, 20}, {10, 20}},
      {kImgCentreX | kImgCentreY, {30, 50}, {22, 46}},
      {kImgRight | kImgBottom, {50, 80}, {34, 72}},
      {kImgRight | kImgCentreY, {50, 50}, {34, 46}},
  };
  for (const Case& c : cases) {
    const POINT at = ImgPlaceAnchor(&rect, POINT{10, 20}, c.flags);
    EXPECT_EQ(c.anchor.x, at.x) << c.flags;
    EXPECT_EQ(c.anchor.y, at.y) << c.flags;
    const POINT top = ImgAlignPicture(at, 16, 8, c.flags);
    EXPECT_EQ(c.topLeft.x, top.x) << c.flags;
    EXPECT_EQ(c.topLeft.y, top.y) << c.flags;
  }
}

TEST(ImagePlacement, LayoutRowsInTheirControl) {
  const RECT client = {0, 0, 40, 30};
  const RECT item = {4, 32, 44, 48};  // a list item's rectangle, no window
  const PicturePartRow centred = {6001, 0, 0, 0, 0x50, 0, 0, 0, 0, 0};
  const PicturePartRow offset = {6001, 0, 3, -2, 0x20, 0, 0, 3, 0, RGB(1, 2, 3)};
  const PicturePartRow onBase = {6001, 6002, 0, 0, kImgOnBase, 0, 0, 0, 0, 0};
  const PicturePartRow overBase = {6001, 6002, 0, 0, 0, 0, 0, 0, 0, 0};
  struct Case {
    const char* what;
    const PicturePartRow* row;
    const RECT* client;
    DWORD flags;
    LONG width, height;  // the picture's
    RECT target;
    POINT at;
    UINT baseId;
    DWORD baseFlags, pictureFlags;
    BOOL setBackground;
  } cases[] = {
      {"row 0x50 centres", &centred, &client, 0, 16, 16, client, {20, 15}, 0, 0, 0x50, FALSE},
      {"offsets, right, colour", &offset, &client, 0, 16, 16, client, {43, -2}, 0, 0, 0x20, TRUE},
      {"no row, no window", nullptr, nullptr, 0, 16, 16, item, {24, 40}, 0, 0, 0x50, FALSE},
      {"stretch takes the picture's size", nullptr, &client, kImgStretch, 30, 20, {0, 0, 30, 20}, {0, 0}, 0, 0,
       kImgStretch, FALSE},
      {"on a base: AND, then no theme", &onBase, &client, 0, 16, 16, client, {0, 0}, 6002, kImgOnBase | kImgAnd,
       kImgOnBase | kImgNoTheme, FALSE},
      {"over a base: MERGEPAINT, then AND", &overBase, &client, 0, 16, 16, client, {0, 0}, 6002, kImgMergePaint,
       kImgAnd | kImgNoTheme, FALSE},
  };
  for (const Case& c : cases) {
    const ImgWindowPlan plan = ImgPlanWindowDraw(c.row, c.client, &item, c.flags, c.width, c.height);
    EXPECT_EQ(c.target.left, plan.target.left) << c.what;
    EXPECT_EQ(c.target.top, plan.target.top) << c.what;
    EXPECT_EQ(c.target.right, plan.target.right) << c.what;
    EXPECT_EQ(c.target.bottom, plan.target.bottom) << c.what;
    EXPECT_EQ(c.at.x, plan.at.x) << c.what;
    EXPECT_EQ(c.at.y, plan.at.y) << c.what;
    EXPECT_EQ(c.baseId, plan.baseId) << c.what;
    if (c.baseId) {
      EXPECT_EQ(c.baseFlags, plan.baseFlags) << c.what;
    }
    EXPECT_EQ(c.pictureFlags, plan.pictureFlags) << c.what;
    EXPECT_EQ(c.setBackground, plan.setBackground) << c.what;
    if (c.setBackground) {
      EXPECT_EQ(RGB(1, 2, 3), plan.background) << c.what;
    }
  }
}

TEST(ImagePalette, OnlyEntries0To255AreStored) {
  struct Case {
    int index;
    BOOL stored;
  } cases[] = {{0, TRUE}, {255, TRUE}, {256, FALSE}, {-1, FALSE}, {100000, FALSE}};
  for (const Case& c : cases) EXPECT_EQ(c.stored, ImgStorePaletteEntry(c.index, RGB(1, 2, 3))) << c.index;
  EXPECT_EQ(RGB(1, 2, 3), ImgDisplayPaletteEntries()[255]);
}

}  // namespace
