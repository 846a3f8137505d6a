// Path records: opcodes, flags, size words and sub-paths; malformed batches; records sized from
// the path's points whatever cCurves claims; paths the engine takes over.
#include "draw_fixture.h"

namespace {

class PathTest : public DrawTest {
 protected:
  LINEATTRS cosmetic_ = {};
};

const DotPoint M(LONG x, LONG y) { return DotPoint{kSimPathMove, x, y}; }
const DotPoint L(LONG x, LONG y) { return DotPoint{kSimPathLine, x, y}; }
const DotPoint Lz(LONG x, LONG y) { return DotPoint{BYTE(kSimPathLine | kSimPathClose), x, y}; }
const DotPoint C(LONG x, LONG y) { return DotPoint{kSimPathCurve, x, y}; }

TEST_F(PathTest, AStrokeOfTwoClosedSubPathsIsOneRecordEach) {
  PATHOBJ* path = Path({M(0, 0), L(10, 0), Lz(10, 10), M(20, 20), L(30, 20), Lz(30, 30)});
  EXPECT_TRUE(VecStrokePath(pdev(), &device_, path, nullptr, nullptr, Solid(0), nullptr, &cosmetic_, 0x0D0D));
  std::vector<DrawRecord> r = Records();
  ASSERT_EQ(Opcodes(r), (std::vector<uint8_t>{51, 52, 53, 54, 64, 50, 49, 48, 18, 18}));
  for (size_t i = 8; i < 10; ++i) {
    EXPECT_EQ(r[i].bytes[2], 0x08) << "closed, stroke, never 0x10";
    EXPECT_EQ(r[i].I32(8), 0);  // the whole path's bounds
    EXPECT_EQ(r[i].I32(20), 30);
    EXPECT_EQ(r[i].U32(24), 3u * 2 + 3) << "per sub-path size word";
    EXPECT_EQ(r[i].U32(28), 2u) << "two line items";
  }
  EXPECT_EQ(r[9].I32(32), 20 * 16) << "the second record starts at the second figure";
}

TEST_F(PathTest, SizeWordsCountLinesCurvesAndSubPaths) {
  const struct {
    const char* what;
    std::vector<DotPoint> points;
    BYTE kind;
    uint8_t opcode;
    uint8_t flags;
    uint32_t sizeWord;
    uint32_t length;
  } kCases[] = {
      {"three lines", {M(0, 0), L(5, 0), L(5, 5), L(0, 5)}, kPathFillAlternate, 18, 1, 3 * 3 + 3, 28 + 12 + 36},
      {"two curves", {M(0, 0), C(1, 1), C(2, 2), C(3, 3), C(4, 4), C(5, 5), C(6, 6)}, kPathFillWinding, 17, 2,
       7 * 2 + 3, 28 + 12 + 56},
      {"two sub-paths of a line and a curve", {M(0, 0), L(9, 9), M(1, 1), C(2, 2), C(3, 3), C(4, 4)},
       kPathStroke, 17, 0x10, 3 + 7 + 3 + 3 + 1, 28 + 24 + 12 + 28},
      {"a one-point sub-path", {M(7, 7)}, kPathStroke, 18, 0, 3, 28 + 12},
  };
  for (const auto& c : kCases) {
    PATHOBJ* path = Path(c.points);
    ASSERT_NE(GrSendPath(pdev(), path, c.kind), nullptr) << c.what;
    std::vector<DrawRecord> r = Records();
    ASSERT_EQ(r.size(), 1u) << c.what;
    EXPECT_EQ(r[0].opcode, c.opcode) << c.what;
    EXPECT_EQ(r[0].bytes[2], c.flags) << c.what;
    EXPECT_EQ(r[0].U32(24), c.sizeWord) << c.what;
    EXPECT_EQ(r[0].U32(4), c.length) << c.what;
  }
}

TEST_F(PathTest, MalformedBatchesWriteNothing) {
  // A Bezier group split across batches of 2 points.
  PATHOBJ* split = Path({M(0, 0), C(1, 1), C(2, 2), C(3, 3)}, 2);
  EXPECT_FALSE(VecFillPath(pdev(), &device_, split, nullptr, Solid(0), nullptr, 0x0D0D, FP_ALTERNATEMODE));
  // An empty path.
  PATHOBJ* empty = Path({});
  EXPECT_EQ(GrSendPath(pdev(), empty, kPathStroke), nullptr);
  for (const DrawRecord& r : Records()) EXPECT_TRUE(r.opcode != 17 && r.opcode != 18);
}

TEST_F(PathTest, BatchesSplitAtAnySizeGiveTheSameRecord) {
  std::vector<DotPoint> points = {M(0, 0), L(1, 0), L(2, 0), C(3, 3), C(4, 4), C(5, 5), Lz(0, 9), M(4, 4), L(5, 5)};
  ASSERT_NE(GrSendPath(pdev(), Path(points), kPathFillAlternate), nullptr);
  std::vector<uint8_t> whole = Records()[0].bytes;
  for (ULONG batch : {3u, 6u}) {
    ASSERT_NE(GrSendPath(pdev(), Path(points, batch), kPathFillAlternate), nullptr) << batch;
    EXPECT_EQ(Records()[0].bytes, whole) << batch;
  }
}

TEST_F(PathTest, TheRecordHoldsEveryPointWhateverCurvesClaims) {
  std::vector<DotPoint> points = {M(0, 0)};
  for (LONG i = 1; i <= 50; ++i) points.push_back(L(i, i % 7));
  points.back().kind |= kSimPathClose;
  points.push_back(M(3, 3));  // a one-point figure after a closed one
  for (ULONG claim : {0u, 1u, 0xFFFFFFFFu}) {
    PATHOBJ* path = Path(points);
    path->cCurves = claim;
    ASSERT_NE(GrSendPath(pdev(), path, kPathFillAlternate), nullptr) << claim;
    std::vector<DrawRecord> r = Records();  // the reader walks it within its length
    ASSERT_EQ(r.size(), 1u);
    EXPECT_EQ(r[0].U32(4), 28u + 12 + 50 * 12 + 12) << claim;
  }
}

TEST_F(PathTest, AClipPathIsKindFive) {
  PATHOBJ* shape = Path({M(0, 0), L(100, 0), Lz(50, 80)});
  CLIPOBJ* clip = SimGdiCreateClip(DC_COMPLEX, nullptr, nullptr, 0, shape, 7);
  clips_.push_back(clip);
  ASSERT_TRUE(VecFillPath(pdev(), &device_, Path({M(0, 0), L(9, 0), L(9, 9)}), clip, Solid(0), nullptr, 0x0D0D, 0));
  std::vector<DrawRecord> r = Records();
  ASSERT_EQ(Opcodes(r), (std::vector<uint8_t>{64, 48, 50, 49, 18, 18}));
  EXPECT_EQ(r[4].bytes[2], 0x08 | kPathClip);
  EXPECT_EQ(r[5].bytes[2], kPathFillAlternate);
  EXPECT_EQ(SimGdiLivePaths(), ULONG(paths_.size())) << "the clip's path was deleted";
}

TEST_F(PathTest, ALargePathWithTheWideLineSwitchGoesToTheEngine) {
  std::vector<DotPoint> points = {M(0, 0)};
  for (LONG i = 1; i <= 5001; ++i) points.push_back(L(i % 100, i / 100));
  PATHOBJ* large = Path(points);
  ASSERT_EQ(large->cCurves, 5001u);
  LINEATTRS wide = {};
  wide.fl = LA_GEOMETRIC;
  wide.elWidth.e = 4;
  EXPECT_TRUE(GrPathSmallEnough(pdev(), large));
  pdev()->wideLineSwitch = 1;
  EXPECT_FALSE(GrPathSmallEnough(pdev(), large));
  // The engine stand-in does not rasterise yet and fails; no path record is written.
  EXPECT_EQ(VecStrokePath(pdev(), &device_, large, nullptr, nullptr, Solid(0), nullptr, &wide, 0x0D0D),
            EngStrokePath(&device_, large, nullptr, nullptr, Solid(0), nullptr, &wide, 0x0D0D));
  for (const DrawRecord& r : Records()) EXPECT_NE(r.opcode, 18);
  // A cosmetic line is sent whatever its size.
  EXPECT_TRUE(VecStrokePath(pdev(), &device_, large, nullptr, nullptr, Solid(0), nullptr, &cosmetic_, 0x0D0D));
  EXPECT_EQ(Records().back().opcode, 18);
}

TEST_F(PathTest, StrokeAndFillFailsWhenItsFillOrStrokeDoes) {
  PATHOBJ* path = Path({M(0, 0), L(10, 0), Lz(10, 10)});
  BRUSHOBJ* hatch = Hatch(HS_CROSS, 0, 0xFFFFFF);
  // A pattern stroke brush: the stroke fails, so the pair does.
  EXPECT_FALSE(VecStrokeAndFillPath(pdev(), &device_, path, nullptr, nullptr, hatch, &cosmetic_, Solid(0), nullptr,
                                    0x0D0D, 0));
  // A fill brush that cannot be realised: DDI_ERROR, never success.
  SimGdiFailRbrushAllocs(1);
  EXPECT_EQ(VecStrokeAndFillPath(pdev(), &device_, path, nullptr, nullptr, Solid(0), &cosmetic_,
                                 Hatch(HS_CROSS, 0, 0xFFFFFF), nullptr, 0x0D0D, 0),
            BOOL(DDI_ERROR));
  SimGdiFailRbrushAllocs(0);
  // Solid brushes: one record of kind 3 with the stroke colour third.
  EXPECT_TRUE(VecStrokeAndFillPath(pdev(), &device_, path, nullptr, nullptr, Solid(0x0000FF), &cosmetic_,
                                   Solid(0x00FF00), nullptr, 0x0D0D, 0));
  std::vector<DrawRecord> r = Records();
  ASSERT_FALSE(r.empty());
  EXPECT_EQ(r.back().bytes[2], kPathStrokeFillAlternate | 0x08);
  const DrawRecord& colour = r[r.size() - 2];
  ASSERT_EQ(colour.opcode, 48);
  EXPECT_EQ(colour.bytes[2], 0x01 | 0x08 | 0x10);
  EXPECT_EQ(std::vector<uint8_t>(colour.bytes.begin() + 10, colour.bytes.begin() + 13),
            (std::vector<uint8_t>{0x00, 0x00, 0xFF}))
      << "the stroke colour with its bytes exchanged";
}

}  // namespace
