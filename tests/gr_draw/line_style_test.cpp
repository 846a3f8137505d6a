// Line attributes: widths, the 32-step style pattern with its repeat unit and start offset, and
// the records 51 to 54 written as they change.
#include "draw_fixture.h"

namespace {

struct StyleCase {
  const char* what;
  WORD resolution;
  FLONG fl;
  float width;
  std::vector<LONG> cosmetic;  // entries of a cosmetic style
  std::vector<float> geometric;  // entries of a geometric style
  BOOL result;
  DWORD pattern;
  SHORT unit;
  SHORT offset;
};

class LineStyleTest : public DrawTest {};

TEST_F(LineStyleTest, StylesBecomeThirtyTwoSteps) {
  const StyleCase kCases[] = {
      {"{1, 1} at 600 dpi: 13 on, 13 off, 6 repeated", 600, LA_STYLED, 0, {1, 1}, {}, TRUE, 0xFFF80000u, 1, 0},
      {"{1, 1} at 1200 dpi: scaled to 16 and 16", 1200, LA_STYLED, 0, {1, 1}, {}, TRUE, 0xFFFF0000u, 1, 0},
      {"all-zero entries stay solid", 600, LA_STYLED, 0, {0, 0}, {}, TRUE, 0xFFFFFFFFu, 0, 0},
      {"a wide geometric styled line is the engine's", 600, LA_GEOMETRIC, 3, {}, {4, 4}, FALSE, 0, 0, 0},
      {"a start gap of 2 dropped from the list", 600, LA_STYLED | LA_STARTGAP, 0, {2, 1, 1}, {}, TRUE, 0xFFF80000u,
       1, 2},
      {"three entries: 8 on, 16 off, 8 on", 600, LA_STYLED, 0, {1, 2, 1}, {}, TRUE, 0xFF0000FFu, 1, 0},
      {"a cosmetic repeat unit above 255 is held at 255", 600, LA_STYLED, 0, {700, 700}, {}, TRUE, 0xFFFF0000u, 255,
       0},
      {"a geometric repeat unit above 255 fails", 600, LA_GEOMETRIC, 1, {}, {5000, 5000}, FALSE, 0, 0, 0},
      {"a geometric {1, 1} repeats 16 times", 600, LA_GEOMETRIC, 1, {}, {1, 1}, TRUE, 0xAAAAAAAAu, 1, 0},
      {"one entry keeps the solid pattern", 600, LA_STYLED, 0, {3}, {}, TRUE, 0xFFFFFFFFu, 0, 0},
  };
  for (const StyleCase& c : kCases) {
    pdev()->resolution = c.resolution;
    std::vector<FLOAT_LONG> style;
    for (LONG v : c.cosmetic) style.push_back(FLOAT_LONG{}), style.back().l = v;
    for (float v : c.geometric) style.push_back(FLOAT_LONG{}), style.back().e = v;
    LINEATTRS la = {};
    la.fl = c.fl;
    la.elWidth.e = c.width;
    la.eMiterLimit = 10;
    la.cstyle = ULONG(style.size());
    la.pstyle = style.data();
    LineState line;
    BOOL geometric;
    EXPECT_EQ(RopLineStyle(pdev(), &la, 0x123456, nullptr, &line, &geometric), c.result) << c.what;
    EXPECT_EQ(geometric, (c.fl & LA_GEOMETRIC) ? TRUE : FALSE) << c.what;
    if (!c.result) continue;
    EXPECT_EQ(line.pattern, c.pattern) << c.what << std::hex << " got 0x" << line.pattern;
    EXPECT_EQ(line.unit, c.unit) << c.what;
    EXPECT_EQ(line.offset, c.offset) << c.what;
    EXPECT_EQ(line.colour, 0x123456u) << c.what;
  }
}

TEST_F(LineStyleTest, GeometricWidthsFollowTheTransform) {
  XFORML doubled = {2, 0, 0, 2, 0, 0}, uneven = {2, 0, 0, 3, 0, 0};
  XFORMOBJ* scale = SimGdiCreateXform(&doubled);
  XFORMOBJ* skewed = SimGdiCreateXform(&uneven);
  XFORMOBJ* identity = SimGdiCreateXform(nullptr);
  const struct {
    float width;
    XFORMOBJ* xform;
    BOOL result;
    SHORT expected;
  } kCases[] = {
      {5.9f, identity, TRUE, 5},  // truncated toward zero
      {5, scale, TRUE, 10},       // (5 x 512) >> 8
      {0.4f, scale, TRUE, 1},     // below one dot: one dot
      {5, skewed, FALSE, 0},      // unequal scales
  };
  for (const auto& c : kCases) {
    LINEATTRS la = {};
    la.fl = LA_GEOMETRIC;
    la.iJoin = JOIN_MITER;
    la.iEndCap = ENDCAP_BUTT;
    la.elWidth.e = c.width;
    la.eMiterLimit = 4.5f;
    LineState line;
    BOOL geometric;
    ASSERT_EQ(RopLineStyle(pdev(), &la, 0, c.xform, &line, &geometric), c.result) << c.width;
    if (!c.result) continue;
    EXPECT_EQ(line.width, c.expected) << c.width;
    EXPECT_EQ(line.join, 2);
    EXPECT_EQ(line.cap, 1);
    EXPECT_EQ(line.miter, 1152u);
  }
  SimGdiDeleteXform(scale);
  SimGdiDeleteXform(skewed);
  SimGdiDeleteXform(identity);
}

TEST_F(LineStyleTest, AttributeRecordsAreWrittenWhenTheyChange) {
  LineState solid = {1, 0, 0, 0, 0, 2560, 0xFFFFFFFFu, 0};
  LineState dashed = solid;
  dashed.pattern = 0xFF00FF00u;
  dashed.unit = 2;
  LineState capped = dashed;
  capped.cap = 2;
  ASSERT_TRUE(GrLineAttrState(pdev(), solid));
  ASSERT_TRUE(GrLineAttrState(pdev(), solid));
  ASSERT_TRUE(GrLineAttrState(pdev(), dashed));
  ASSERT_TRUE(GrLineAttrState(pdev(), capped));
  std::vector<DrawRecord> r = Records();
  EXPECT_EQ(Opcodes(r), (std::vector<uint8_t>{51, 52, 53, 54, 51, 53}));
  EXPECT_EQ(r[4].bytes[1], 2);
  EXPECT_EQ(r[4].U32(4), 0xFF00FF00u);
  EXPECT_EQ(r[3].U32(4), 2560u);
  // A new page states them all again.
  ASSERT_TRUE(GrLineAttrState(pdev(), capped));
  EXPECT_EQ(Opcodes(Records()), (std::vector<uint8_t>{51, 52, 53, 54}));
}

}  // namespace
