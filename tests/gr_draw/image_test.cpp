// Transfers with a source in vector mode: the image records they become, the conversions and
// masks the engine makes for them, and the fallbacks when the engine has no memory.
#include "draw_fixture.h"
#include "gr2k/band_send.h"
#include "gr2k/images.h"
#include "platform/sim.h"

namespace {

class ImageTest : public DrawTest {
 protected:
  void SetUp() override {
    DrawTest::SetUp();
    pdev()->colourMachine = 1;  // a colour machine: 24-bpp images stay colour
  }
  // A bitmap of width x height whose bytes are all value.
  SURFOBJ* Filled(LONG width, LONG height, ULONG format, uint8_t value, bool topDown = true) {
    ULONG bits = format == BMF_1BPP ? 1 : format == BMF_4BPP ? 4 : format == BMF_8BPP ? 8 : format == BMF_16BPP ? 16
                 : format == BMF_24BPP ? 24 : 32;
    size_t stride = ((size_t(width) * bits + 31) / 32) * 4;
    return Bitmap(width, height, format, std::vector<uint8_t>(stride * height, value), topDown);
  }
  XLATEOBJ* Table(std::vector<ULONG> entries, FLONG flags = XO_TABLE) {
    tables_.emplace_back(new ULONG[entries.size()]);
    memcpy(tables_.back().get(), entries.data(), entries.size() * sizeof(ULONG));
    xlates_.emplace_back(new XLATEOBJ());
    XLATEOBJ* x = xlates_.back().get();
    x->flXlate = flags;
    x->cEntries = ULONG(entries.size());
    x->pulXlate = tables_.back().get();
    return x;
  }
  static std::vector<DrawRecord> Images(const std::vector<DrawRecord>& records) {
    std::vector<DrawRecord> out;
    for (const DrawRecord& r : records)
      if (r.opcode == kRecImage) out.push_back(r);
    return out;
  }
  // Record 49's values in order.
  static std::vector<uint8_t> Rops(const std::vector<DrawRecord>& records) {
    std::vector<uint8_t> out;
    for (const DrawRecord& r : records)
      if (r.opcode == kRecRop) out.push_back(r.bytes[1]);
    return out;
  }
};

struct FormatCase {
  ULONG format;
  uint8_t code;        // format code in the flags byte
  bool palette;        // with a 16-entry colour table
  bool converted;      // sent from a temporary surface
};

const FormatCase kFormats[] = {
    {BMF_1BPP, 0, true, false}, {BMF_4BPP, 1, true, false}, {BMF_8BPP, 2, true, false},
    {BMF_16BPP, 4, false, true}, {BMF_24BPP, 4, false, false}, {BMF_32BPP, 4, false, true},
};

enum Call { kBlt, kStretch, kStretchRop, kCopy };

TEST_F(ImageTest, EachSourceFormatByEachCall) {
  for (Call call : {kBlt, kStretch, kStretchRop, kCopy}) {
    for (const FormatCase& c : kFormats) {
      SCOPED_TRACE(testing::Message() << "call " << call << " format " << c.format);
      SURFOBJ* src = Filled(16, 4, c.format, 0x11, /*topDown=*/false);
      // Indexed sources get a table that is not a grey ramp (its entries are sent); the others
      // only the host's colour correction.
      std::vector<ULONG> entries(c.format == BMF_1BPP ? 2 : c.format == BMF_4BPP ? 16 : 256, 0x123456);
      XLATEOBJ* xlate = Table(entries, c.palette ? XO_TABLE | XO_HOST_ICM : XO_HOST_ICM);
      RECTL dest = {100, 200, 116, 204};
      RECTL whole = {0, 0, 16, 4};
      POINTL origin = {0, 0};
      BOOL ok = FALSE;
      switch (call) {
        case kBlt:
          ok = VecBitBlt(pdev(), &device_, src, nullptr, nullptr, xlate, &dest, &origin, nullptr, nullptr, nullptr,
                         0xCCCC);
          break;
        case kStretch:
          ok = VecStretchBlt(pdev(), &device_, src, nullptr, nullptr, xlate, nullptr, nullptr, &dest, &whole, nullptr,
                             COLORONCOLOR, nullptr, 0xCCCC);
          break;
        case kStretchRop:
          ok = VecStretchBltRop(pdev(), &device_, src, nullptr, nullptr, xlate, nullptr, nullptr, &dest, &whole,
                                nullptr, COLORONCOLOR, nullptr, 0xCCCC);
          break;
        case kCopy: ok = VecCopyBits(pdev(), &device_, src, nullptr, xlate, &dest, &origin); break;
      }
      ASSERT_TRUE(ok);
      std::vector<DrawRecord> images = Images(Records());
      ASSERT_EQ(images.size(), 1u);
      const DrawRecord& r = images[0];
      EXPECT_EQ(r.bytes[2] & 0x0F, c.code);
      EXPECT_EQ((r.bytes[2] & 0x20) == 0, c.palette);
      EXPECT_EQ((r.bytes[2] & 0x80) != 0, call == kBlt);
      EXPECT_NE(r.bytes[3] & 0x08, 0) << "host ICM";
      EXPECT_EQ((r.bytes[3] & 0x10) != 0, !c.converted) << "bottom-up mark of the source";
      EXPECT_EQ(r.U32(32), 16u);
      EXPECT_EQ(r.U32(36), 4u);
      EXPECT_EQ(r.I32(8), 100);
      EXPECT_EQ(r.I32(48), 16);
    }
  }
}

TEST_F(ImageTest, SixteenBitsBecomeTwentyFourWithTheirColour) {
  // 0x7C00 is full red in 5-5-5.
  SURFOBJ* src = Bitmap(2, 1, BMF_16BPP, {0x00, 0x7C, 0xFF, 0x7F});
  RECTL dest = {0, 0, 2, 1};
  POINTL origin = {0, 0};
  ASSERT_TRUE(VecBitBlt(pdev(), &device_, src, nullptr, nullptr, nullptr, &dest, &origin, nullptr, nullptr, nullptr,
                        0xCCCC));
  std::vector<DrawRecord> images = Images(Records());
  ASSERT_EQ(images.size(), 1u);
  const std::vector<uint8_t>& b = images[0].bytes;
  EXPECT_EQ(b[2] & 0x0F, 4);
  EXPECT_EQ(std::vector<uint8_t>(b.begin() + 56, b.begin() + 62), (std::vector<uint8_t>{0, 0, 255, 255, 255, 255}));
}

TEST_F(ImageTest, GreyRampPaletteIsNotSent) {
  std::vector<ULONG> ramp;
  for (ULONG i = 0; i < 16; ++i) ramp.push_back(i * 17 * 0x010101u);
  std::vector<ULONG> almost = ramp;
  almost[7] ^= 1;
  for (const auto& entries : {ramp, almost}) {
    SURFOBJ* src = Filled(8, 2, BMF_4BPP, 0x12);
    RECTL dest = {0, 0, 8, 2}, whole = {0, 0, 8, 2};
    ASSERT_TRUE(VecStretchBlt(pdev(), &device_, src, nullptr, nullptr, Table(entries), nullptr, nullptr, &dest, &whole,
                              nullptr, COLORONCOLOR, nullptr, 0xCCCC));
    std::vector<DrawRecord> images = Images(Records());
    ASSERT_EQ(images.size(), 1u);
    EXPECT_EQ((images[0].bytes[2] & 0x20) != 0, entries == ramp);
  }
}

TEST_F(ImageTest, ReducedImagesAreShrunkButNeverEnlarged) {
  pdev()->reduceImages = 1;
  struct {
    RECTL dest;
    uint32_t width, rows;
  } cases[] = {{{0, 0, 40, 30}, 40, 30}, {{0, 0, 400, 300}, 100, 60}, {{0, 0, 50, 300}, 50, 300}};
  for (const auto& c : cases) {
    SURFOBJ* src = Filled(100, 60, BMF_24BPP, 0x80);
    RECTL whole = {0, 0, 100, 60};
    RECTL dest = c.dest;
    ASSERT_TRUE(VecStretchBlt(pdev(), &device_, src, nullptr, nullptr, nullptr, nullptr, nullptr, &dest, &whole,
                              nullptr, COLORONCOLOR, nullptr, 0xCCCC));
    std::vector<DrawRecord> images = Images(Records());
    ASSERT_EQ(images.size(), 1u);
    EXPECT_EQ(images[0].U32(32), c.width);
    EXPECT_EQ(images[0].U32(36), c.rows);
    EXPECT_EQ(images[0].U32(48), uint32_t(dest.right));
  }
}

TEST_F(ImageTest, MirroredAndPartialSourcesAreConverted) {
  // Pixels 0..3 of one row; mirrored, the record holds them reversed from (0, 0).
  SURFOBJ* src = Bitmap(4, 1, BMF_8BPP, {1, 2, 3, 4});
  RECTL mirrored = {10, 0, 6, 1}, whole = {0, 0, 4, 1};
  ASSERT_TRUE(VecStretchBlt(pdev(), &device_, src, nullptr, nullptr, nullptr, nullptr, nullptr, &mirrored, &whole,
                            nullptr, COLORONCOLOR, nullptr, 0xCCCC));
  RECTL dest = {0, 0, 2, 1}, part = {1, 0, 3, 1};
  ASSERT_TRUE(VecStretchBlt(pdev(), &device_, src, nullptr, nullptr, nullptr, nullptr, nullptr, &dest, &part,
                            nullptr, COLORONCOLOR, nullptr, 0xCCCC));
  std::vector<DrawRecord> images = Images(Records());
  ASSERT_EQ(images.size(), 2u);
  EXPECT_EQ(images[0].I32(8), 6);
  EXPECT_EQ(images[0].I32(48), 4);
  EXPECT_EQ(std::vector<uint8_t>(images[0].bytes.begin() + 56, images[0].bytes.begin() + 60),
            (std::vector<uint8_t>{4, 3, 2, 1}));
  EXPECT_EQ(images[1].U32(24), 0u);
  EXPECT_EQ(images[1].U32(32), 2u);
  EXPECT_EQ(std::vector<uint8_t>(images[1].bytes.begin() + 56, images[1].bytes.begin() + 58),
            (std::vector<uint8_t>{2, 3}));
}

TEST_F(ImageTest, MasksSendTheMaskBetweenTheirRops) {
  const struct {
    bool blt;
    ROP4 rop4;
  } kCases[] = {{false, 0xAACC}, {false, 0xCCAA}, {true, 0xAACC}, {true, 0xCCAA}};
  for (const auto& c : kCases) {
    bool blt = c.blt;
    ROP4 rop4 = c.rop4;
    SCOPED_TRACE(testing::Message() << (blt ? "blt " : "stretch ") << rop4);
    SURFOBJ* src = Filled(8, 2, BMF_24BPP, 0x40);
    SURFOBJ* mask = Bitmap(8, 2, BMF_1BPP, {0xF0, 0, 0, 0, 0xF0, 0, 0, 0});
    RECTL dest = {0, 0, 8, 2}, whole = {0, 0, 8, 2};
    POINTL at = {0, 0};
    ASSERT_TRUE(blt ? VecBitBlt(pdev(), &device_, src, mask, nullptr, nullptr, &dest, &at, &at, nullptr, nullptr, rop4)
                    : VecStretchBltRop(pdev(), &device_, src, mask, nullptr, nullptr, nullptr, nullptr, &dest, &whole,
                                       &at, COLORONCOLOR, nullptr, rop4));
    std::vector<DrawRecord> records = Records();
    std::vector<DrawRecord> images = Images(records);
    ASSERT_EQ(images.size(), 2u);
    EXPECT_EQ(images[0].bytes[2] & 0x2F, 0x20) << "the mask: 1 bpp, no palette";
    EXPECT_EQ(images[0].bytes[56], rop4 == 0xAACC ? 0xF0 : 0x0F);
    EXPECT_EQ(images[1].bytes[2] & 0x0F, 4);
    std::vector<uint8_t> rops = Rops(records);
    ASSERT_GE(rops.size(), 2u);
    EXPECT_EQ(rops[rops.size() - 2], 0xEE);
    EXPECT_EQ(rops.back(), 0x88);
  }
}

TEST_F(ImageTest, LargeImageWithoutTemporarySurfaceGoesByRowsAtHalfSize) {
  SURFOBJ* src = Filled(2000, 2000, BMF_32BPP, 0x20);
  SimGdiLimitBitmaps(1 << 20, -1);
  RECTL dest = {0, 0, 2000, 2000}, whole = {0, 0, 2000, 2000};
  ASSERT_TRUE(VecStretchBlt(pdev(), &device_, src, nullptr, nullptr, nullptr, nullptr, nullptr, &dest, &whole,
                            nullptr, COLORONCOLOR, nullptr, 0xCCCC));
  std::vector<DrawRecord> images = Images(Records());
  ASSERT_EQ(images.size(), 1u);
  EXPECT_EQ(images[0].U32(32), 1000u);
  EXPECT_EQ(images[0].U32(36), 1000u);
  EXPECT_EQ(images[0].bytes[1] & 0x02, 0x02) << "reduced";
  EXPECT_EQ(images[0].U32(48), 2000u);
  EXPECT_EQ(images[0].bytes[56], 0x20);
}

TEST_F(ImageTest, SmallerSurfacesAreTriedThenTheCallFails) {
  // A 4-bpp source cannot go by rows: halved, then a fifth, then nothing.
  struct {
    ULONG maxBytes;
    bool ok;
    uint32_t width;
  } cases[] = {{0, true, 400}, {40000, true, 200}, {8000, true, 100}, {2000, false, 0}};
  for (const auto& c : cases) {
    SURFOBJ* src = Filled(400, 400, BMF_4BPP, 0x33);
    SimGdiLimitBitmaps(c.maxBytes, -1);
    RECTL dest = {0, 0, 400, 400}, part = {0, 0, 400, 399};
    DWORD live = SimGdiLiveObjects();
    EXPECT_EQ(VecStretchBlt(pdev(), &device_, src, nullptr, nullptr, nullptr, nullptr, nullptr, &dest, &part, nullptr,
                            COLORONCOLOR, nullptr, 0xCCCC),
              c.ok ? TRUE : FALSE);
    EXPECT_EQ(SimGdiLiveObjects(), live) << "temporary surfaces are freed";
    SimGdiLimitBitmaps(0, -1);
    std::vector<DrawRecord> images = Images(Records());
    ASSERT_EQ(images.size(), c.ok ? 1u : 0u);
    if (!c.ok) continue;
    EXPECT_EQ(images[0].U32(32), c.width);
    EXPECT_EQ((images[0].bytes[1] & 0x02) != 0, c.width != 400);
  }
}

TEST_F(ImageTest, BlockTransferWithoutSurfaceFails) {
  SURFOBJ* src = Filled(8, 8, BMF_16BPP, 0x11);
  SimGdiLimitBitmaps(0, 0);
  RECTL dest = {0, 0, 8, 8};
  POINTL origin = {0, 0};
  EXPECT_FALSE(VecBitBlt(pdev(), &device_, src, nullptr, nullptr, nullptr, &dest, &origin, nullptr, nullptr, nullptr,
                         0xCCCC));
}

TEST_F(ImageTest, FallbackWriterMatchesTheImageWriter) {
  // A 1-bpp paletted image keeps its two-byte row shift; a 24-bpp one has none.
  const ULONG palette[2] = {0x000000, 0xFFFFFF};
  std::vector<uint8_t> rows = {0xA5, 0x5A, 0xFF, 0x00, 0x01, 0x02, 0x03, 0x04, 0x80, 0x40, 0x20, 0x10};
  GrImage images[] = {{{0, 0, 32, 3}, {0, 0}, 32, 3, kImage1Bpp, rows.data(), 4, palette},
                      {{0, 0, 4, 1}, {0, 0}, 4, 1, kImage24Bpp, rows.data(), 12, nullptr}};
  for (const GrImage& image : images) {
    ASSERT_NE(GrRecImage(stream(), image, FALSE, FALSE), nullptr);
    ASSERT_NE(GrRecImageByRows(stream(), image), nullptr);
    std::vector<DrawRecord> records = Records();
    ASSERT_EQ(records.size(), 2u);
    EXPECT_EQ(records[0].bytes, records[1].bytes);
  }
}

TEST_F(ImageTest, RollbackTakesBackARecordUnlessPartWasSent) {
  GrStreamMark mark;
  GrStreamSetMark(stream(), &mark);
  DWORD total = stream()->byteTotal;
  ASSERT_NE(GrStreamReserve(stream(), 20000), nullptr);
  ASSERT_TRUE(GrStreamRollback(stream(), mark));
  EXPECT_EQ(stream()->byteTotal, total);
  EXPECT_EQ(stream()->tail->next, nullptr);
  EXPECT_EQ(Records().size(), 0u);

  GrStreamSetMark(stream(), &mark);
  ASSERT_NE(GrStreamReserve(stream(), kStreamFlushAbove), nullptr);
  ASSERT_NE(GrStreamReserve(stream(), 20000), nullptr);  // flushes what is buffered
  EXPECT_FALSE(GrStreamRollback(stream(), mark));
  EXPECT_NE(pdev()->flags & kPdevOutputFailed, 0u);
}

TEST_F(ImageTest, ImageBeyondTheStreamIsRefused) {
  GrImage huge = {{0, 0, 1, 1}, {0, 0}, 0x40000000, 4, kImage24Bpp, reinterpret_cast<const BYTE*>(1), 0, nullptr};
  EXPECT_EQ(GrImageRecordBytes(huge, FALSE), 0u);
  DWORD total = stream()->byteTotal;
  EXPECT_EQ(GrRecImage(stream(), huge, FALSE, FALSE), nullptr);
  EXPECT_EQ(GrRecImageByRows(stream(), huge), nullptr);
  EXPECT_EQ(stream()->byteTotal, total);
  HSURF handle;
  EXPECT_EQ(GrCreateTempSurface(pdev(), &handle, 0x7FFFFFFF, 0x7FFFFFFF, BMF_32BPP), nullptr);
  EXPECT_EQ(handle, nullptr);
}

// The writer fails after the head (no memory for the rows in one piece); its bytes are taken
// back and the fallback writes the record again row by row into blocks kept from a flush.
TEST_F(ImageTest, RecordFailingPartWayIsWrittenAgainByRows) {
  for (int i = 0; i < 4; ++i) ASSERT_NE(GrStreamReserve(stream(), 9000), nullptr);
  ASSERT_TRUE(GrStreamFlush(stream()));  // the three 10,240-byte blocks are kept for reuse
  NewPage();
  std::vector<uint8_t> pixels(900 * 25);
  for (size_t i = 0; i < pixels.size(); ++i) pixels[i] = uint8_t(i * 7);
  GrImage image = {{0, 0, 300, 25}, {0, 0}, 300, 25, kImage24Bpp, pixels.data(), 900, nullptr};
  SimFailAllocations(0);
  BOOL sent = GrSendImageRecord(pdev(), image);
  SimFailAllocations(-1);
  ASSERT_TRUE(sent);
  std::vector<DrawRecord> records = Records();
  ASSERT_EQ(records.size(), 1u);
  ASSERT_NE(GrRecImage(stream(), image, FALSE, FALSE), nullptr);
  std::vector<DrawRecord> expected = Records();
  ASSERT_EQ(expected.size(), 1u);
  EXPECT_EQ(records[0].bytes, expected[0].bytes);
}

// A transfer with a ROP states the brush's colour (white without a brush), the background mode
// from the background ROP3 and the foreground ROP3 (SRCCOPY for 0xCCAA without a mask).
TEST_F(ImageTest, BlockTransferStatesItsRop) {
  struct {
    ROP4 rop4;
    bool brush;
    uint8_t rop3;
    uint8_t mode;  // record 50's value
    uint32_t fore;  // record 48's, bytes 0 and 2 exchanged as the device takes a colour
  } cases[] = {{0xCCCC, false, 0xCC, 2, 0xFFFFFF}, {0xCCAA, false, 0xCC, 2, 0xFFFFFF},
               {0xAACA, true, 0xCA, 1, 0x563412}, {0x6666, false, 0x66, 2, 0xFFFFFF}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.rop4);
    SURFOBJ* src = Filled(4, 4, BMF_24BPP, 0x10);
    RECTL dest = {0, 0, 4, 4};
    POINTL origin = {0, 0};
    ASSERT_TRUE(VecBitBlt(pdev(), &device_, src, nullptr, nullptr, nullptr, &dest, &origin, nullptr,
                          c.brush ? Solid(0x123456) : nullptr, nullptr, c.rop4));
    std::vector<DrawRecord> records = Records();
    std::vector<uint8_t> rops = Rops(records);
    ASSERT_EQ(rops.size(), 1u);
    EXPECT_EQ(rops[0], c.rop3);
    for (const DrawRecord& r : records) {
      if (r.opcode == kRecMode) {
        EXPECT_EQ(r.bytes[1], c.mode);
      }
      if (r.opcode == kRecColour) {
        EXPECT_EQ(r.U32(4) & 0xFFFFFF, c.fore);
      }
    }
    EXPECT_EQ(Opcodes(records).back(), kRecImage);
  }
}

// A monochrome job's 24-bpp images are sent grey, unless the format word carries more than the
// format (a block transfer's mark, the host's colour correction).
TEST_F(ImageTest, MonochromeJobSendsStretchedImagesGrey) {
  pdev()->colour = 1;
  struct {
    ULONG format;
    bool blt;
    bool grey;
  } cases[] = {{BMF_24BPP, false, true}, {BMF_32BPP, false, true}, {BMF_16BPP, false, true},
               {BMF_24BPP, true, false}, {BMF_8BPP, false, false}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.format);
    SURFOBJ* src = Filled(4, 2, c.format, 0x40);
    RECTL dest = {0, 0, 4, 2}, whole = {0, 0, 4, 2};
    POINTL origin = {0, 0};
    ASSERT_TRUE(c.blt ? VecBitBlt(pdev(), &device_, src, nullptr, nullptr, nullptr, &dest, &origin, nullptr, nullptr,
                                  nullptr, 0xCCCC)
                      : VecStretchBlt(pdev(), &device_, src, nullptr, nullptr, nullptr, nullptr, nullptr, &dest,
                                      &whole, nullptr, COLORONCOLOR, nullptr, 0xCCCC));
    std::vector<DrawRecord> images = Images(Records());
    ASSERT_EQ(images.size(), 1u);
    EXPECT_EQ((images[0].bytes[2] & 0x10) != 0, c.grey);
  }
}

}  // namespace
