// The watermark and copy-protect previews' geometry as numbers: rotation, turned boxes and the
// circle's square, position codes, the frame in the picture, font heights, image sizes, colours,
// tiles and the rows of a repeated, reversed pattern; zero sizes give nothing to draw.
#include <gtest/gtest.h>

#include "core/modules/watermark_geometry.h"

namespace {

TEST(PreviewGeometry, SinesAndCosinesOfWholeDegrees) {
  struct Row {
    int degrees, sine, cosine;
  } rows[] = {{0, 0, 100},    {30, 50, 87},  {45, 71, 71},    {90, 100, 0},  {135, 71, -71},
              {180, 0, -100}, {270, -100, 0}, {315, -71, 71}, {359, -2, 100}, {-90, -100, 0}, {450, 100, 0}};
  for (const Row& r : rows) {
    EXPECT_EQ(WmSin100(r.degrees), r.sine) << r.degrees;
    EXPECT_EQ(WmCos100(r.degrees), r.cosine) << r.degrees;
  }
  POINT p = WmTurnPoint(POINT{100, 0}, 90);
  EXPECT_EQ(p.x, 0);
  EXPECT_EQ(p.y, 100);
  p = WmTurnPoint(POINT{-10, 3}, 45);  // (-710 - 213) / 100 and (-710 + 213) / 100, toward zero
  EXPECT_EQ(p.x, -9);
  EXPECT_EQ(p.y, -4);
}

TEST(PreviewGeometry, ABoxIsTurnedTheOtherWayAndMovedToTheOrigin) {
  struct Row {
    int angle;
    POINT corners[4];
    POINT origin;
    int width, height;
  } rows[] = {
      {0, {{0, 0}, {0, 20}, {40, 20}, {40, 0}}, {1, 5}, 40, 20},
      {90, {{0, 40}, {20, 40}, {20, 0}, {0, 0}}, {5, 39}, 20, 40},
      {180, {{40, 20}, {40, 0}, {0, 0}, {0, 20}}, {39, 15}, 40, 20},
      {45, {{0, 28}, {14, 42}, {42, 14}, {28, 0}}, {4, 30}, 42, 42},
      {315, {{14, 0}, {0, 14}, {28, 42}, {42, 28}}, {12, 4}, 42, 42},
  };
  for (const Row& r : rows) {
    const WmTurnedBox box = WmTurnBox(40, 20, POINT{1, 5}, r.angle);
    for (int i = 0; i < 4; ++i) {
      EXPECT_EQ(box.corners[i].x, r.corners[i].x) << r.angle << " corner " << i;
      EXPECT_EQ(box.corners[i].y, r.corners[i].y) << r.angle << " corner " << i;
    }
    EXPECT_EQ(box.origin.x, r.origin.x) << r.angle;
    EXPECT_EQ(box.origin.y, r.origin.y) << r.angle;
    EXPECT_EQ(box.width, r.width) << r.angle;
    EXPECT_EQ(box.height, r.height) << r.angle;
  }
}

TEST(PreviewGeometry, TheCircleIsASquareAroundTheBoxTurnedAboutItsCentre) {
  WmCircleBox upright = WmCircleOf(40, 20, POINT{1, 5}, 0);
  EXPECT_EQ(upright.side, 52);
  EXPECT_EQ(upright.corners[0].x, 6);
  EXPECT_EQ(upright.corners[0].y, 16);
  EXPECT_EQ(upright.origin.x, 7);
  EXPECT_EQ(upright.origin.y, 21);
  WmCircleBox quarter = WmCircleOf(40, 20, POINT{1, 5}, 90);  // turned by 270 about (26, 26)
  EXPECT_EQ(quarter.side, 52);
  EXPECT_EQ(quarter.corners[0].x, 16);
  EXPECT_EQ(quarter.corners[0].y, 46);
}

TEST(PreviewGeometry, PositionCodesPlaceTheDrawing) {
  struct Row {
    int code, x, y;
  } rows[] = {{0, 19, 30}, {2, 19, 0}, {4, 38, 0}, {8, 0, 61}, {16, 19, 61}, {32, 38, 61}, {1, 0, 0}, {64, 0, 0}};
  for (const Row& r : rows) {
    POINT at = WmPositionOrigin(r.code, 10, 6, 48, 67);
    EXPECT_EQ(at.x, r.x) << r.code;
    EXPECT_EQ(at.y, r.y) << r.code;
  }
}

TEST(PreviewGeometry, TheBitmapIsCentredInThePictureAndShifted) {
  const RECT picture = {0, 0, 108, 91};
  WmPreviewFrame frame;
  ASSERT_TRUE(WmPreviewFrameOf(kWmPreviewWatermark, 50, 69, picture, &frame));
  EXPECT_EQ(frame.width, 48);
  EXPECT_EQ(frame.height, 67);
  EXPECT_EQ(frame.left, 29);
  EXPECT_EQ(frame.top, 10);
  ASSERT_TRUE(WmPreviewFrameOf(kWmPreviewWatermark, 68, 50, picture, &frame));
  EXPECT_EQ(frame.left, 20);
  EXPECT_EQ(frame.top, 18);
  ASSERT_TRUE(WmPreviewFrameOf(kWmPreviewCopyProtect, 68, 50, picture, &frame));
  EXPECT_EQ(frame.left, 19);
  EXPECT_EQ(frame.top, 20);
  EXPECT_FALSE(WmPreviewFrameOf(kWmPreviewWatermark, 2, 69, picture, &frame));
}

TEST(PreviewGeometry, FontHeightsOnThePage) {
  struct Row {
    int points, side, resolution, angle, height;
  } rows[] = {
      {12, 9600, 1200, 0, 2},    // 8 points over 8 inches is 1, raised to 2
      {12, 9600, 1200, 45, 3},   // to 3 with an angle
      {72, 4800, 600, 0, 6},     // 50 over 8 inches
      {144, 4200, 600, 0, 14},   // 100 over 7 inches
      {12, 0, 600, 0, 0},        // no side, no resolution or under an inch: nothing to draw
      {12, 4800, 0, 0, 0},
      {12, 500, 600, 0, 0},
  };
  for (const Row& r : rows)
    EXPECT_EQ(WmPreviewFontHeight(r.points, r.side, r.resolution, r.angle), r.height)
        << r.points << " pt on " << r.side << " dots at " << r.resolution;
}

TEST(PreviewGeometry, ImageSizesAreBoundedBothWays) {
  struct Row {
    int w, h, scale, resolution, side;
    LONG cx, cy;
  } rows[] = {
      {100, 50, 100, 600, 4800, 6, 3},
      {1, 1, 1, 600, 4800, 1, 1},                   // at least one pixel
      {100000, 100000, 1000, 1200, 4800, 48, 67},   // at most the bitmap, no overflow
      {0, 50, 100, 600, 4800, 0, 0},                // an empty image draws nothing
      {100, 50, 100, 600, 0, 0, 0},
  };
  for (const Row& r : rows) {
    SIZE size = WmPreviewImageSize(r.w, r.h, r.scale, r.resolution, r.side, 48, 67);
    EXPECT_EQ(size.cx, r.cx) << r.w << "x" << r.h;
    EXPECT_EQ(size.cy, r.cy) << r.w << "x" << r.h;
  }
}

TEST(PreviewGeometry, ColoursAndGreyLevels) {
  EXPECT_EQ(WmWatermarkGrey(30), 179);  // 255 x 70 / 100, rounded
  EXPECT_EQ(WmWatermarkGrey(100), 0);
  EXPECT_EQ(WmCopyProtectGrey(2), 153);
  struct Row {
    int code;
    COLORREF colour;
  } rows[] = {{0, RGB(100, 100, 100)}, {1, RGB(255, 100, 100)}, {2, RGB(100, 255, 100)}, {3, RGB(100, 100, 255)},
              {4, RGB(100, 255, 255)}, {5, RGB(255, 100, 255)}, {6, RGB(255, 255, 100)}, {7, RGB(100, 100, 100)}};
  for (const Row& r : rows) EXPECT_EQ(WmPreviewColour(r.code, 100), r.colour) << r.code;
}

TEST(PreviewGeometry, TilesCoverTheBitmapAndStepsAreAtLeastOne) {
  std::vector<POINT> cells = WmTileOrigins(20, 30, 48, 67);
  ASSERT_EQ(cells.size(), 9u);
  EXPECT_EQ(cells[1].x, 20);
  EXPECT_EQ(cells[8].x, 40);
  EXPECT_EQ(cells[8].y, 60);
  EXPECT_EQ(WmTileOrigins(0, -4, 3, 2).size(), 6u);
}

TEST(PreviewGeometry, ReversedRowsRunFromTheRightInEverySecondRow) {
  std::vector<WmPatternRow> rows = WmPatternRows(10, 5, 12, 5, 2, true, 48, 20);
  ASSERT_EQ(rows.size(), 3u);
  EXPECT_EQ(rows[0].top, 0);
  EXPECT_FALSE(rows[0].turned);
  EXPECT_EQ(rows[0].xs, (std::vector<int>{0, 11, 22, 33, 44}));
  EXPECT_EQ(rows[1].top, 7);
  EXPECT_TRUE(rows[1].turned);
  EXPECT_EQ(rows[1].xs, (std::vector<int>{36, 23, 10, -3}));
  EXPECT_FALSE(rows[2].turned);
  std::vector<WmPatternRow> plain = WmPatternRows(10, 5, 12, 5, 2, false, 48, 20);
  for (const WmPatternRow& row : plain) EXPECT_FALSE(row.turned);
  EXPECT_TRUE(WmPatternRows(0, 5, 12, 5, 2, true, 48, 20).empty());
}

TEST(PreviewGeometry, TextWidthsTakeTheOverhangsOfTheEnds) {
  const ABC plain[2] = {{0, 7, 0}, {0, 7, 0}};
  const ABC italic[2] = {{-2, 11, -2}, {-2, 11, -2}};  // 7 each, reaching 2 out on both sides
  const ABC wide[2] = {{1, 9, 1}, {1, 9, 1}};
  const ABC inner[2] = {{0, 7, -3}, {-3, 13, 0}};      // overhangs between the two count as they are
  struct Row {
    const ABC* widths;
    int count;
    LONG extent, width;
  } rows[] = {{plain, 2, 14, 14}, {italic, 2, 14, 18}, {wide, 2, 14, 22}, {wide, 2, 30, 30},
              {inner, 2, 14, 14}, {italic, 0, 14, 14}, {nullptr, 2, 14, 14}};
  for (const Row& r : rows) EXPECT_EQ(WmTextWidth(r.extent, r.widths, r.count), r.width);
}

TEST(PreviewGeometry, AReversedTextIsTurnedByHalfACircle) {
  struct Row {
    int escapement, reversed;
  } rows[] = {{0, 1800}, {450, 2250}, {1799, 3599}, {1800, 0}, {3150, 1350}};
  for (const Row& r : rows) EXPECT_EQ(WmReverseEscapement(r.escapement), r.reversed) << r.escapement;
}

TEST(PreviewGeometry, TheMarginDialogShrinksToItsMarker) {
  const RECT marker = {10, 300, 110, 310};
  const RECT hidden = WmMarginHiddenRect(marker);
  EXPECT_EQ(hidden.left, 10);
  EXPECT_EQ(hidden.top, 300);
  EXPECT_EQ(hidden.right, 11);
  EXPECT_EQ(hidden.bottom, 301);
  const RECT moved = WmMoveToTop(RECT{150, 500, 200, 520}, 300);
  EXPECT_EQ(moved.left, 150);
  EXPECT_EQ(moved.top, 300);
  EXPECT_EQ(moved.right, 200);
  EXPECT_EQ(moved.bottom, 320);
  // The owner's corner, 20 (the OK button's height) lower; 600 high less 500 - 310.
  const RECT dialog = WmMarginDialogRect(RECT{40, 40, 440, 640}, RECT{100, 50, 700, 550}, marker,
                                         RECT{150, 500, 200, 520});
  EXPECT_EQ(dialog.left, 100);
  EXPECT_EQ(dialog.top, 70);
  EXPECT_EQ(dialog.right, 500);
  EXPECT_EQ(dialog.bottom, 480);
}

}  // namespace
