// Brush realisation (hatches, monochrome and colour patterns of every depth), the state records
// written as they change, mixes and ROPs, brush-only transfers, dithering and colour transforms.
#include "draw_fixture.h"

#include "platform/mscms.h"

namespace {

class BrushTest : public DrawTest {
 protected:
  const RealizedBrush* Realized(BRUSHOBJ* bo) { return static_cast<const RealizedBrush*>(BRUSHOBJ_pvGetRbrush(bo)); }
  static std::vector<uint8_t> Row(const RealizedBrush* b, int y) {
    DWORD bytes = b->bitsPerPixel == 1 ? 4 : 96;
    const BYTE* p = BrushPattern(b) + y * bytes;
    return std::vector<uint8_t>(p, p + bytes);
  }
  // Rows of 24-bpp pixels (B, G, R as the engine keeps them), padded to 4 bytes.
  static std::vector<uint8_t> Rgb(int width, const std::vector<std::vector<ULONG>>& rows) {
    std::vector<uint8_t> out;
    for (const auto& row : rows) {
      size_t start = out.size();
      for (ULONG c : row) out.insert(out.end(), {uint8_t(c), uint8_t(c >> 8), uint8_t(c >> 16)});
      out.resize(start + ((width * 3 + 3) & ~3));
    }
    return out;
  }
};

TEST_F(BrushTest, HatchesAreEnlargedFourTimes) {
  const RealizedBrush* b = Realized(Hatch(HS_CROSS, 0x0000FF, 0xFFFFFF));
  ASSERT_NE(b, nullptr);
  EXPECT_EQ(b->kind, kBrushMono);
  EXPECT_EQ(b->foreground, 0x0000FFu);
  EXPECT_EQ(b->background, 0xFFFFFFu);
  for (int y = 0; y < 32; ++y)
    EXPECT_EQ(Row(b, y), y >= 16 && y < 20 ? (std::vector<uint8_t>{0xFF, 0xFF, 0xFF, 0xFF})
                                           : (std::vector<uint8_t>{0x00, 0x00, 0xF0, 0x00}))
        << "row " << y;
}

TEST_F(BrushTest, TwoColoursMakeAMonochromeBrushAndThreeAColourOne) {
  const ULONG red = 0x0000FF, white = 0xFFFFFF, blue = 0xFF0000;  // engine values: red lowest
  std::vector<std::vector<ULONG>> rows(8, std::vector<ULONG>(8, white));
  for (int i = 0; i < 8; ++i) rows[i][i] = red;
  rows[0][0] = red;
  const RealizedBrush* mono = Realized(Pattern(Bitmap(8, 8, BMF_24BPP, Rgb(8, rows))));
  ASSERT_NE(mono, nullptr);
  EXPECT_EQ(mono->kind, kBrushMono);
  EXPECT_EQ(mono->foreground, red) << "the first colour met";
  EXPECT_EQ(mono->background, white);
  // Pixel (0, 0) is red: enlarged two times, tiled twice.
  EXPECT_EQ(Row(mono, 0), (std::vector<uint8_t>{0xC0, 0x00, 0xC0, 0x00}));
  EXPECT_EQ(Row(mono, 3), (std::vector<uint8_t>{0x30, 0x00, 0x30, 0x00}));
  EXPECT_EQ(Row(mono, 16), Row(mono, 0));

  rows[7][0] = blue;
  const RealizedBrush* colour = Realized(Pattern(Bitmap(8, 8, BMF_24BPP, Rgb(8, rows))));
  ASSERT_NE(colour, nullptr);
  EXPECT_EQ(colour->kind, kBrushColour);
  EXPECT_EQ(colour->bitsPerPixel, 24);
  EXPECT_EQ(colour->foreground, 0u);
  EXPECT_EQ(colour->background, 0xFFFFFFu);
  // Tiled four times without scaling: row 15 is pattern row 7, pixel 8 is pixel 0.
  std::vector<uint8_t> row = Row(colour, 15);
  EXPECT_EQ(std::vector<uint8_t>(row.begin() + 24, row.begin() + 27), (std::vector<uint8_t>{0x00, 0x00, 0xFF}));
}

TEST_F(BrushTest, OneBitPatternsAreTiledAndBottomUpRowsReversed) {
  // 3 x 2, one row of three set pixels over a clear one; a set bit in the brush is a 0 pixel.
  std::vector<uint8_t> bits = {0xE0, 0, 0, 0, 0x00, 0, 0, 0};
  const RealizedBrush* top = Realized(Pattern(Bitmap(3, 2, BMF_1BPP, bits, true)));
  ASSERT_NE(top, nullptr);
  EXPECT_EQ(Row(top, 0), (std::vector<uint8_t>{0, 0, 0, 0}));
  EXPECT_EQ(Row(top, 1), (std::vector<uint8_t>{0xFF, 0xFF, 0xFF, 0xFF}));
  EXPECT_EQ(top->foreground, 0u);
  EXPECT_EQ(top->background, 0xFFFFFFu);
  const RealizedBrush* bottom = Realized(Pattern(Bitmap(3, 2, BMF_1BPP, bits, false)));
  ASSERT_NE(bottom, nullptr);
  EXPECT_EQ(Row(bottom, 0), Row(top, 1)) << "the last row in memory is the top row";
  EXPECT_EQ(Row(bottom, 1), Row(top, 0));
}

TEST_F(BrushTest, ColourDepthsBecomeThreeBytes) {
  // 16 bpp, 5 bits each: red 31, green 16, blue 1 in a 2 x 1 pattern.
  uint16_t v = 31 | (16 << 5) | (1 << 10);
  std::vector<uint8_t> bits = {uint8_t(v), uint8_t(v >> 8), 0, 0};
  const RealizedBrush* b = Realized(Pattern(Bitmap(2, 1, BMF_16BPP, bits)));
  ASSERT_NE(b, nullptr);
  EXPECT_EQ(b->kind, kBrushColour);
  std::vector<uint8_t> row = Row(b, 0);
  EXPECT_EQ(std::vector<uint8_t>(row.begin(), row.begin() + 3), (std::vector<uint8_t>{247, 127, 7}));
  EXPECT_EQ(std::vector<uint8_t>(row.begin() + 3, row.begin() + 6), (std::vector<uint8_t>{0, 0, 0}));
  EXPECT_EQ(std::vector<uint8_t>(row.begin() + 6, row.begin() + 9), (std::vector<uint8_t>{247, 127, 7}))
      << "a 2-pixel-wide pattern tiles from its real width";
  // 8 bpp through the XLATEOBJ, stretched by the engine to 8 pixels (3 + 3 + 2).
  ULONG table[3] = {0x111111, 0x222222, 0x332211};
  XLATEOBJ xlate = {0, XO_TABLE, 0, 0, 3, table};
  const RealizedBrush* indexed = Realized(Pattern(Bitmap(3, 1, BMF_8BPP, {2, 1, 0, 0}), &xlate));
  ASSERT_NE(indexed, nullptr);
  EXPECT_EQ(std::vector<uint8_t>(BrushPattern(indexed), BrushPattern(indexed) + 12),
            (std::vector<uint8_t>{0x11, 0x22, 0x33, 0x11, 0x22, 0x33, 0x11, 0x22, 0x33, 0x22, 0x22, 0x22}));
}

TEST_F(BrushTest, APatternIsReadOnlyWithinItsSurface) {
  SURFOBJ* so = Bitmap(8, 8, BMF_8BPP, std::vector<uint8_t>(64, 1));
  SURFOBJ lying = *so;
  lying.sizlBitmap.cy = 800;  // claims rows beyond its bits
  EXPECT_EQ(Realized(Pattern(&lying)), nullptr);
  SURFOBJ none = *so;
  none.sizlBitmap.cx = 0;
  EXPECT_EQ(Realized(Pattern(&none)), nullptr);
  SURFOBJ narrow = *so;
  narrow.lDelta = 2;  // a stride shorter than its row
  EXPECT_EQ(Realized(Pattern(&narrow)), nullptr);
  EXPECT_NE(Realized(Pattern(so)), nullptr);
  EXPECT_EQ(Realized(Hatch(9, 0, 0)), nullptr) << "an unknown hatch without a pattern";
}

TEST_F(BrushTest, PatternBrushesAreStatedEachTimeSolidOnesOnce) {
  BRUSHOBJ* hatch = Hatch(HS_CROSS, 0, 0xFFFFFF);
  PATHOBJ* path = Path({DotPoint{kSimPathMove, 0, 0}, DotPoint{kSimPathLine, 9, 0}, DotPoint{kSimPathLine, 9, 9}});
  for (int i = 0; i < 2; ++i) ASSERT_TRUE(VecFillPath(pdev(), &device_, path, nullptr, hatch, nullptr, 0x0D0D, 0));
  std::vector<DrawRecord> r = Records();
  EXPECT_EQ(Opcodes(r), (std::vector<uint8_t>{64, 48, 50, 49, 18, 64, 18}));
  EXPECT_EQ(r[0].bytes[1], 0x80);
  EXPECT_EQ(r[0].bytes[2], 32);
  EXPECT_EQ(r[0].U32(4) & 0xFFFF, 128u);
  BRUSHOBJ* solid = Solid(0x112233);
  for (int i = 0; i < 2; ++i) ASSERT_TRUE(VecFillPath(pdev(), &device_, path, nullptr, solid, nullptr, 0x0D0D, 0));
  r = Records();
  EXPECT_EQ(Opcodes(r), (std::vector<uint8_t>{64, 48, 50, 49, 18, 18}));
  EXPECT_EQ(std::vector<uint8_t>(r[1].bytes.begin() + 4, r[1].bytes.begin() + 7),
            (std::vector<uint8_t>{0x11, 0x22, 0x33}))
      << "0x112233 with its lowest and third bytes exchanged, written lowest byte first";
  // A brush that cannot be realised: DDI_ERROR with ERROR_NOT_ENOUGH_MEMORY.
  SimGdiFailRbrushAllocs(1);
  SetLastError(0);
  EXPECT_EQ(VecFillPath(pdev(), &device_, path, nullptr, Hatch(HS_VERTICAL, 0, 0xFFFFFF), nullptr, 0x0D0D, 0),
            BOOL(DDI_ERROR));
  EXPECT_EQ(GetLastError(), DWORD(ERROR_NOT_ENOUGH_MEMORY));
  SimGdiFailRbrushAllocs(0);
}

TEST_F(BrushTest, MixesAndBrushOnlyRopsFollowTheDeviceTable) {
  // The device's convention: R2_BLACK gives 0xFF, R2_WHITE 0x00.
  EXPECT_EQ(GrMixToRop3(R2_COPYPEN), 0xCC);
  EXPECT_EQ(GrMixToRop3(R2_BLACK), 0xFF);
  EXPECT_EQ(GrMixToRop3(R2_WHITE), 0x00);
  EXPECT_EQ(GrMixToRop3(17), 0xCC);
  const struct {
    const char* what;
    ROP4 rop4;
    std::vector<uint8_t> opcodes;
    uint8_t rop3;
    uint32_t colour;
  } kCases[] = {
      {"BLACKNESS fills with 0 and records 0xFF", 0x0000, {64, 48, 50, 49, 16}, 0xFF, 0x000000},
      {"WHITENESS fills with white and records 0x00", 0xFFFF, {64, 48, 50, 49, 16}, 0x00, 0xFFFFFF},
      {"PATCOPY is SRCCOPY", 0xF0F0, {64, 48, 50, 49, 16}, 0xCC, 0x563412},
      {"the destination unchanged writes nothing", 0xAAAA, {}, 0, 0},
  };
  for (const auto& c : kCases) {
    RECTL r = {1, 2, 3, 4};
    EXPECT_TRUE(VecBitBlt(pdev(), &device_, nullptr, nullptr, nullptr, nullptr, &r, nullptr, nullptr,
                          Solid(0x123456), nullptr, c.rop4))
        << c.what;
    std::vector<DrawRecord> recs = Records();
    EXPECT_EQ(Opcodes(recs), c.opcodes) << c.what;
    if (c.opcodes.empty()) continue;
    EXPECT_EQ(recs[3].bytes[1], c.rop3) << c.what;
    EXPECT_EQ(uint32_t(recs[1].bytes[4] | recs[1].bytes[5] << 8 | recs[1].bytes[6] << 16), c.colour) << c.what;
  }
  // A fill with R2_BLACK and then R2_COPYPEN: the ROP3 record follows each change.
  PATHOBJ* path = Path({DotPoint{kSimPathMove, 0, 0}, DotPoint{kSimPathLine, 9, 9}});
  ASSERT_TRUE(VecFillPath(pdev(), &device_, path, nullptr, Solid(0), nullptr, 0x0D01, 0));
  ASSERT_TRUE(VecFillPath(pdev(), &device_, path, nullptr, Solid(0), nullptr, 0x0D0D, 0));
  std::vector<DrawRecord> recs = Records();
  ASSERT_EQ(Opcodes(recs), (std::vector<uint8_t>{64, 48, 50, 49, 18, 49, 18}));
  EXPECT_EQ(recs[3].bytes[1], 0xFF);
  EXPECT_EQ(recs[5].bytes[1], 0xCC);
}

TEST_F(BrushTest, ABackgroundOfNopIsTransparent) {
  PATHOBJ* path = Path({DotPoint{kSimPathMove, 0, 0}, DotPoint{kSimPathLine, 9, 9}});
  ASSERT_TRUE(VecFillPath(pdev(), &device_, path, nullptr, Hatch(HS_CROSS, 0, 0xFFFFFF), nullptr, 0x0B0D, 0));
  std::vector<DrawRecord> r = Records();
  ASSERT_EQ(r[2].opcode, 50);
  EXPECT_EQ(r[2].bytes[1], 1);
  EXPECT_EQ(r[1].bytes[1], 8) << "one colour: no background when transparent";
}

TEST_F(BrushTest, ColourTransformsAreDeletedByTheirOwnHandle) {
  BYTE profile[128] = {1};
  DWORD before = SimIcmLiveObjects();
  for (int order = 0; order < 2; ++order) {
    HANDLE a = IcmCreateTransform(pdev(), nullptr, nullptr, 0, profile, sizeof profile, nullptr, 0);
    HANDLE b = IcmCreateTransform(pdev(), nullptr, nullptr, 0, profile, sizeof profile, nullptr, 0);
    ASSERT_NE(a, nullptr);
    ASSERT_NE(b, nullptr);
    ASSERT_NE(a, b);
    EXPECT_EQ(SimIcmLiveObjects(), before + 4);
    EXPECT_TRUE(IcmDeleteTransform(pdev(), order ? a : b));
    EXPECT_EQ(SimIcmLiveObjects(), before + 2) << "one transform and its profile";
    EXPECT_FALSE(IcmDeleteTransform(pdev(), order ? a : b)) << "already deleted";
    EXPECT_TRUE(IcmDeleteTransform(pdev(), order ? b : a));
    EXPECT_EQ(SimIcmLiveObjects(), before);
  }
  EXPECT_EQ(IcmCreateTransform(pdev(), nullptr, nullptr, 0, nullptr, 0, nullptr, 0), nullptr) << "no profile";
  // A reset moves what is left to the new PDEV, whose disable frees it.
  HANDLE kept = IcmCreateTransform(pdev(), nullptr, nullptr, 0, profile, sizeof profile, nullptr, 0);
  GraphicsPdev fresh;
  memset(&fresh, 0, sizeof fresh);
  IcmMoveTransforms(pdev(), &fresh);
  EXPECT_FALSE(IcmDeleteTransform(pdev(), kept));
  EXPECT_EQ(SimIcmLiveObjects(), before + 2);
  IcmFreeTransforms(&fresh);
  EXPECT_EQ(SimIcmLiveObjects(), before);
}

}  // namespace
