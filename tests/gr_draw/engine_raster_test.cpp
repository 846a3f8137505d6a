// The engine stand-in's rasteriser: fills by both rules, cosmetic and widened strokes on engine
// bitmaps, brushes and complex clips in block transfers, and the break-down of a path on a
// device surface into one complex region for the driver's DrvBitBlt.
#include "draw_fixture.h"

namespace {

class EngineRasterTest : public DrawTest {
 protected:
  // An 8-bpp engine bitmap of 0 pixels.
  SURFOBJ* Canvas(LONG w, LONG h) { return Bitmap(w, h, BMF_8BPP, std::vector<uint8_t>(size_t((w + 3) & ~3) * h, 0)); }
  static ULONG At(SURFOBJ* so, LONG x, LONG y) { return static_cast<BYTE*>(so->pvScan0)[y * so->lDelta + x]; }
  static int Count(SURFOBJ* so) {
    int n = 0;
    for (LONG y = 0; y < so->sizlBitmap.cy; ++y)
      for (LONG x = 0; x < so->sizlBitmap.cx; ++x) n += At(so, x, y) != 0;
    return n;
  }
};

const DotPoint M(LONG x, LONG y) { return DotPoint{kSimPathMove, x, y}; }
const DotPoint L(LONG x, LONG y) { return DotPoint{kSimPathLine, x, y}; }

TEST_F(EngineRasterTest, FillsFollowTheirRule) {
  // A pentagram: its centre is inside by the winding rule only.
  std::vector<DotPoint> star = {M(50, 5), L(80, 95), L(5, 35), L(95, 35), L(20, 95)};
  SURFOBJ* alternate = Canvas(100, 100);
  SURFOBJ* winding = Canvas(100, 100);
  ASSERT_TRUE(EngFillPath(alternate, Path(star), nullptr, Solid(7), nullptr, 0x0D0D, FP_ALTERNATEMODE));
  ASSERT_TRUE(EngFillPath(winding, Path(star), nullptr, Solid(7), nullptr, 0x0D0D, FP_WINDINGMODE));
  EXPECT_EQ(At(alternate, 50, 50), 0u);
  EXPECT_EQ(At(winding, 50, 50), 7u);
  EXPECT_EQ(At(alternate, 50, 20), 7u);
  // A square of 10 x 10 fills exactly its 100 pixels.
  SURFOBJ* square = Canvas(20, 20);
  ASSERT_TRUE(EngFillPath(square, Path({M(2, 3), L(12, 3), L(12, 13), L(2, 13)}), nullptr, Solid(1), nullptr, 0x0D0D,
                          FP_ALTERNATEMODE));
  EXPECT_EQ(Count(square), 100);
  EXPECT_EQ(At(square, 2, 3), 1u);
  EXPECT_EQ(At(square, 12, 3), 0u);
}

TEST_F(EngineRasterTest, StrokesAreOneDotOrTheirWidth) {
  SURFOBJ* thin = Canvas(40, 20);
  LINEATTRS cosmetic = {};
  ASSERT_TRUE(EngStrokePath(thin, Path({M(5, 10), L(30, 10)}), nullptr, nullptr, Solid(3), nullptr, &cosmetic, 0x0D0D));
  EXPECT_EQ(Count(thin), 26);
  EXPECT_EQ(At(thin, 5, 10), 3u);
  EXPECT_EQ(At(thin, 30, 10), 3u);
  SURFOBJ* wide = Canvas(40, 20);
  LINEATTRS geometric = {};
  geometric.fl = LA_GEOMETRIC;
  geometric.elWidth.e = 5;
  ASSERT_TRUE(
      EngStrokePath(wide, Path({M(5, 10), L(30, 10)}), nullptr, nullptr, Solid(3), nullptr, &geometric, 0x0D0D));
  for (LONG y = 0; y < 20; ++y) EXPECT_EQ(At(wide, 15, y), y >= 8 && y <= 12 ? 3u : 0u) << y;
}

TEST_F(EngineRasterTest, BlitsDrawHatchesThroughComplexClips) {
  SURFOBJ* so = Canvas(16, 16);
  CLIPOBJ* clip = Clip(DC_COMPLEX, {RECTL{0, 0, 8, 8}, RECTL{8, 8, 16, 16}}, 1);
  RECTL all = {0, 0, 16, 16};
  ASSERT_TRUE(EngBitBlt(so, nullptr, nullptr, clip, nullptr, &all, nullptr, nullptr, Hatch(HS_HORIZONTAL, 9, 2),
                        nullptr, 0xF0F0));
  EXPECT_EQ(At(so, 0, 4), 9u) << "hatch row 4 is set";
  EXPECT_EQ(At(so, 0, 3), 2u) << "the background";
  EXPECT_EQ(At(so, 12, 4), 0u) << "outside the clip";
  EXPECT_EQ(At(so, 12, 12), 9u);
}

std::vector<std::vector<RECTL>> g_regions;
BOOL WINAPI RecordBlt(SURFOBJ*, SURFOBJ* src, SURFOBJ*, CLIPOBJ* clip, XLATEOBJ*, RECTL* rclTrg, POINTL*, POINTL*,
                      BRUSHOBJ*, POINTL*, ROP4 rop4) {
  if (src || !clip || clip->iDComplexity != DC_COMPLEX || rop4 != 0xF0F0) return FALSE;
  std::vector<RECTL> rects;
  CLIPOBJ_cEnumStart(clip, FALSE, CT_RECTANGLES, CD_ANY, 0);
  ENUMRECTS e;
  BOOL more;
  do {
    more = CLIPOBJ_bEnum(clip, sizeof e, reinterpret_cast<ULONG*>(&e));
    for (ULONG i = 0; i < e.c; ++i) rects.push_back(e.arcl[i]);
  } while (more);
  rects.push_back(*rclTrg);  // the target last
  g_regions.push_back(rects);
  return TRUE;
}

TEST_F(EngineRasterTest, APathOnTheDeviceBecomesOneRegionForTheDriver) {
  g_regions.clear();
  HDEV hdev = SimGdiCreateDevice();
  SimGdiSetDeviceBlt(hdev, RecordBlt);
  SURFOBJ device = device_;
  device.hdev = hdev;
  ASSERT_TRUE(EngFillPath(&device, Path({M(10, 10), L(20, 10), L(20, 14), L(10, 14)}), nullptr, Solid(0), nullptr,
                          0x0D0D, FP_ALTERNATEMODE));
  ASSERT_EQ(g_regions.size(), 1u);
  const std::vector<RECTL>& r = g_regions[0];
  ASSERT_EQ(r.size(), 5u) << "four rows and the target";
  for (LONG y = 0; y < 4; ++y) {
    EXPECT_EQ(r[y].top, 10 + y);
    EXPECT_EQ(r[y].left, 10);
    EXPECT_EQ(r[y].right, 20);
  }
  EXPECT_EQ(r[4].top, 10);
  EXPECT_EQ(r[4].bottom, 14);
  SimGdiSetDeviceBlt(hdev, nullptr);
  SimGdiDeleteDevice(hdev);
}

}  // namespace
