// Text geometry: the tables against their formulas, the angle search at its edges, the sizes
// of a call for a table of transforms.
#include <math.h>

#include <gtest/gtest.h>

#include "gr2k/text_geometry.h"

namespace {

TEST(TextGeometry, TablesFollowTheirFormulas) {
  for (int k = 0; k < 450; ++k)
    EXPECT_EQ(kFontTangents[k], lround(tan(k / 10.0 * M_PI / 180.0) * 32767)) << "tangent " << k;
  for (int k = 0; k <= 90; ++k)
    EXPECT_EQ(kFontQuarterSines[k], lround(sin(k * M_PI / 180.0) * 16384)) << "sine " << k;
  const LONG samples[] = {0, 286, 572};
  for (int k = 0; k < 3; ++k) EXPECT_EQ(kFontQuarterSines[k], samples[k]);
  EXPECT_EQ(kFontQuarterSines[90], 16384);
}

TEST(TextGeometry, TangentSearchFindsTheGreatestEntryBelow) {
  // Every value around every entry, against a plain scan.
  for (int k = 0; k < 450; ++k) {
    for (LONG v : {kFontTangents[k] - 1, kFontTangents[k], kFontTangents[k] + 1}) {
      LONG want = 0;
      for (int j = 0; j < 450; ++j)
        if (kFontTangents[j] < v) want = j;
      ASSERT_EQ(FontTangentSearch(v), want) << "value " << v;
    }
  }
  EXPECT_EQ(FontTangentSearch(0), 0) << "no entry below";
  EXPECT_EQ(FontTangentSearch(32767), 449) << "above the last entry";
}

TEST(TextGeometry, AnglesOfTheAxesAndDiagonals) {
  const struct {
    SHORT x, y;
    LONG angle;
  } cases[] = {
      {5, 0, 0},       {-5, 0, 180},   {0, 5, 90},       {0, -5, -90},     {7, 7, 45},          {-7, 7, 135},
      {7, -7, -45},    {-7, -7, -135}, {433, 250, 30},   {250, 433, 60},   {32767, 1, 0},       {1, 32767, 90},
      {-32768, -1, -180}, {32767, -32767, -45}, {433, -250, -30},
  };
  for (const auto& c : cases) EXPECT_EQ(FontAngle(c.x, c.y), c.angle) << c.x << "," << c.y;
}

TEST(TextGeometry, SinesOfEveryQuadrant) {
  const struct {
    LONG n, sin, cos;
  } cases[] = {{0, 0, 16384}, {30, 8192, 14189}, {90, 16384, 0}, {180, 0, -16384}, {270, -16384, 0},
               {360, 0, 16384}, {390, 8192, 14189}};
  for (const auto& c : cases) {
    EXPECT_EQ(FontSin16(c.n), c.sin) << c.n;
    EXPECT_EQ(FontCos16(c.n), c.cos) << c.n;
  }
}

TEST(TextGeometry, HypotIsTheSmallestWholeLengthAndNeverOverflows) {
  EXPECT_EQ(FontHypot(3, 4), 5);
  EXPECT_EQ(FontHypot(87, -49), 100);
  EXPECT_EQ(FontHypot(0, -7), 7);
  EXPECT_EQ(FontHypot(1, 1), 2);
  EXPECT_EQ(FontHypot(0x7FFFFFFF, 0x7FFFFFFF), 0x7FFFFFFF) << "clamped to int32";
  EXPECT_EQ(FontScale(1e30f, 1000), 0x7FFFFFFF);
  EXPECT_EQ(FontScale(-1e30f, 1000), LONG(0x80000000));
}

TEST(TextGeometry, SizesOfACallForATableOfTransforms) {
  IFIMETRICS ifi = {};
  ifi.fwdUnitsPerEm = 1000;
  ifi.fwdWinAscender = 800;
  ifi.fwdWinDescender = 250;
  ifi.fwdAveCharWidth = 500;
  const float c30 = 0.0866025f, s30 = 0.05f;
  // Each component is rounded as (scaled + 5) / 10 truncating toward zero, so a negative one
  // comes out a dot short (-1000 gives -99): the device has always been sent these sizes.
  const struct {
    const char* what;
    XFORML x;
    FontCallSizes want;
    BOOL mirrored;
  } cases[] = {
      {"identity", {1, 0, 0, 1, 0, 0}, {1000, 1000, 800, 250, 500, 50, 0}, FALSE},
      {"scale 0.05 by 0.1", {0.05f, 0, 0, 0.1f, 0, 0}, {50, 100, 80, 25, 25, 5, 0}, FALSE},
      {"30 degrees", {c30, -s30, s30, c30, 0, 0}, {100, 101, 80, 26, 50, 5, 30}, FALSE},
      {"90 degrees", {0, -0.1f, 0.1f, 0, 0, 0}, {99, 100, 80, 25, 49, 5, 90}, FALSE},
      {"180 degrees", {-0.1f, 0, 0, -0.1f, 0, 0}, {99, 99, 79, 24, 49, 4, 180}, FALSE},
      {"mirrored", {0.1f, 0, 0, -0.1f, 0, 0}, {100, 99, 79, 24, 50, 4, 0}, TRUE},
      {"very large", {1e6f, 0, 0, 1e6f, 0, 0}, {214748365, 214748365, 214748365, 214748365, 214748365, 0x7FFF, 0},
       FALSE},
  };
  for (const auto& c : cases) {
    FontCallSizes s;
    FontCallGeometry(c.x, ifi, &s);
    EXPECT_EQ(s.width, c.want.width) << c.what;
    EXPECT_EQ(s.height, c.want.height) << c.what;
    EXPECT_EQ(s.ascent, c.want.ascent) << c.what;
    EXPECT_EQ(s.descent, c.want.descent) << c.what;
    EXPECT_EQ(s.averageWidth, c.want.averageWidth) << c.what;
    EXPECT_EQ(s.leading, c.want.leading) << c.what;
    EXPECT_EQ(s.rotation, c.want.rotation) << c.what;
    EXPECT_EQ(FontMirrored(c.x), c.mirrored) << c.what;
  }
}

}  // namespace
