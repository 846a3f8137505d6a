// The output stream: reservations and their blocks, flushes, writes to the spool side, command
// blocks; the record encoders byte for byte; a stream read back by the job-stream reader.
#include <string.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "gr2k/band_send.h"
#include "gr2k/records.h"
#include "core/pjl/pjl_text.h"
#include "gr2k/stream.h"
#include "host/job_stream/job_stream.h"
#include "support/bare_stream.h"

namespace {

// What the spool side received, and how it answers.
struct Sink {
  std::vector<uint8_t> bytes;
  std::vector<DWORD> pieces;
  DWORD shortAt = 0xFFFFFFFF;  // the piece (by number) answered one byte short
};
Sink* g_sink = nullptr;

BOOL WINAPI SinkWrite(HANDLE, LPVOID bytes, DWORD cb, LPDWORD written) {
  const uint8_t* p = static_cast<const uint8_t*>(bytes);
  g_sink->bytes.insert(g_sink->bytes.end(), p, p + cb);
  *written = g_sink->pieces.size() == g_sink->shortAt ? cb - 1 : cb;
  g_sink->pieces.push_back(cb);
  return TRUE;
}

class StreamTest : public ::testing::Test {
 protected:
  void SetUp() override {
    pdev_.reset(new GraphicsPdev());
    zems_test::BareStreamPdevOpen(pdev_.get(), &SinkWrite);
    g_sink = &sink_;
  }
  void TearDown() override {
    PdevPoolDestroy(pdev_->pool);
    g_sink = nullptr;
  }
  PdevOutputStream* s() { return &pdev_->stream; }
  static DWORD DataBytes(StreamBlock* b) { return DWORD(b->end - reinterpret_cast<BYTE*>(b + 1)); }
  static DWORD Used(StreamBlock* b) { return DWORD(b->position - reinterpret_cast<BYTE*>(b + 1)); }
  // The 245 blocks the sink received: their lengths in order.
  std::vector<DWORD> DisplayListLengths() const {
    std::vector<DWORD> out;
    for (size_t at = 0; at + 8 <= sink_.bytes.size();) {
      DWORD type, cb;
      memcpy(&type, &sink_.bytes[at], 4);
      memcpy(&cb, &sink_.bytes[at + 4], 4);
      if (type == kBlockDisplayList) out.push_back(cb);
      at += 8 + cb;
    }
    return out;
  }
  std::unique_ptr<GraphicsPdev> pdev_;
  Sink sink_;
};

TEST_F(StreamTest, ReservationOfExactlyTheFreeSpaceTakesANewBlock) {
  ASSERT_NE(GrStreamReserve(s(), kStreamInlineBytes - 8), nullptr);
  ASSERT_EQ(s()->tail, s()->head);
  BYTE* rec = GrStreamReserve(s(), 8);
  ASSERT_NE(rec, nullptr);
  EXPECT_NE(s()->tail, s()->head) << "a reservation never fills a block to its last byte";
  EXPECT_EQ(rec, reinterpret_cast<BYTE*>(s()->tail + 1));
  EXPECT_EQ(s()->byteTotal, kStreamInlineBytes);
  EXPECT_EQ(s()->recordCount, 2u);
}

TEST_F(StreamTest, BlockSizeIsTheSmallestMultipleOf10240HoldingTheRecord) {
  const struct {
    DWORD request, data;
  } kCases[] = {{25000, 30720}, {10240, 10240}, {10241, 20480}, {20480, 20480}};
  for (const auto& c : kCases) {
    GrStreamReset(s());
    ASSERT_NE(GrStreamReserve(s(), c.request), nullptr) << c.request;
    EXPECT_EQ(DataBytes(s()->tail), c.data) << "request " << c.request;
  }
}

TEST_F(StreamTest, ZeroAndOversizedReservationsAreRefused) {
  // 0xFFFFFFFF needs 419,431 blocks of 10,240 bytes: more than 32 bits, which would wrap to a
  // block of a few KiB in 32-bit arithmetic.
  for (DWORD cb : {0u, 0xFFFFFFFFu, 0xFFFFE000u}) {
    EXPECT_EQ(GrStreamReserve(s(), cb), nullptr) << cb;
    EXPECT_EQ(s()->tail, s()->head) << cb;
    EXPECT_EQ(s()->byteTotal, 0u) << cb;
  }
}

TEST_F(StreamTest, FlushInsideAReservationLeavesAnEmptyInlineBlockSentFirst) {
  ASSERT_NE(GrStreamReserve(s(), 16), nullptr);
  ASSERT_NE(GrStreamReserve(s(), kStreamFlushAbove), nullptr);
  EXPECT_TRUE(sink_.bytes.empty());
  // The big block has less than 8,000 bytes left and more than 1 MiB is buffered: flush.
  ASSERT_NE(GrStreamReserve(s(), 8000), nullptr);
  EXPECT_EQ(DisplayListLengths(), (std::vector<DWORD>{16, kStreamFlushAbove}));
  EXPECT_EQ(Used(s()->head), 0u);
  EXPECT_NE(s()->tail, s()->head) << "the new block is linked behind the emptied inline block";
  ASSERT_TRUE(GrStreamFlush(s()));
  EXPECT_EQ(DisplayListLengths(), (std::vector<DWORD>{16, kStreamFlushAbove, 0, 8000}));
  EXPECT_EQ(s()->tail, s()->head);
  EXPECT_EQ(s()->byteTotal, 0u);
}

TEST_F(StreamTest, EmptyStreamFlushSendsNothing) {
  EXPECT_TRUE(GrStreamFlush(s()));
  EXPECT_TRUE(sink_.bytes.empty());
}

TEST_F(StreamTest, JobBinderPageOneSendsNoDisplayList) {
  pdev_->jobBinderBit = 1;
  for (DWORD page : {1u, 2u}) {
    pdev_->pageNumber = page;
    ASSERT_NE(GrStreamReserve(s(), 4), nullptr);
    ASSERT_TRUE(GrStreamFlush(s()));
  }
  EXPECT_EQ(DisplayListLengths(), (std::vector<DWORD>{4})) << "page 2 only";
}

TEST_F(StreamTest, WritesGoOutIn4096BytePieces) {
  std::vector<BYTE> data(10000, 0x5A);
  ASSERT_TRUE(GrStreamWrite(s(), data.data(), DWORD(data.size())));
  EXPECT_EQ(sink_.pieces, (std::vector<DWORD>{4096, 4096, 1808}));
  EXPECT_EQ(sink_.bytes.size(), data.size());
}

TEST_F(StreamTest, ShortOrImpossibleWritesFailAndMarkTheOutputFailed) {
  std::vector<BYTE> data(5000, 1);
  const struct {
    const char* what;
    bool module, write;
    DWORD shortAt;
    size_t pieces;
  } kCases[] = {
      {"short second piece", true, true, 1, 2},
      {"no write function", true, false, 0xFFFFFFFF, 0},
      {"no spool module", false, true, 0xFFFFFFFF, 0},
  };
  for (const auto& c : kCases) {
    sink_ = Sink();
    sink_.shortAt = c.shortAt;
    pdev_->flags = 0;
    s()->spoolModule = c.module ? reinterpret_cast<HMODULE>(1) : nullptr;
    s()->write = c.write ? reinterpret_cast<PVOID>(&SinkWrite) : nullptr;
    EXPECT_FALSE(GrStreamWrite(s(), data.data(), DWORD(data.size()))) << c.what;
    EXPECT_TRUE(pdev_->flags & kPdevOutputFailed) << c.what;
    EXPECT_EQ(sink_.pieces.size(), c.pieces) << c.what;
  }
}

int g_result = 0;
const char* g_text = "";
int Walker(DriverContext*, TextBuffer* text) {
  PjlTextAppend(text, g_text);
  return g_result;
}

TEST_F(StreamTest, CommandBlockSendsHeadAndTextOnlyWhenTheBuilderSucceeds) {
  g_text = "@PJL\r\n";
  g_result = 1;
  ASSERT_TRUE(JobSendCommandBlock(s(), nullptr, kBlockJobHeader, Walker));
  const uint8_t expected[] = {243, 0, 0, 0, 6, 0, 0, 0, '@', 'P', 'J', 'L', '\r', '\n'};
  EXPECT_EQ(sink_.bytes, std::vector<uint8_t>(expected, expected + sizeof expected));
  sink_ = Sink();
  g_result = -1;  // a missing item or option command: nothing goes out
  EXPECT_FALSE(JobSendCommandBlock(s(), nullptr, kBlockPageEnd, Walker));
  EXPECT_TRUE(sink_.bytes.empty());
}

// ---- records ----

std::vector<uint8_t> Bytes(const BYTE* p, size_t n) { return std::vector<uint8_t>(p, p + n); }

TEST_F(StreamTest, PageFrameAndStateRecordsAreByteExact) {
  BYTE* start = GrRecPageStart(s(), 4961, 7016, 600, 600);
  ASSERT_NE(start, nullptr);
  EXPECT_EQ(Bytes(start, 16), (std::vector<uint8_t>{96, 0, 0, 0, 0x61, 0x13, 0, 0, 0x68, 0x1B, 0, 0, 0x58, 2, 0x58, 2}));
  const struct {
    BYTE in, out;
  } kRops[] = {{0xF0, 0xCC}, {0xCC, 0xCC}, {0x5A, 0x5A}, {0x00, 0x00}};
  for (const auto& r : kRops)
    EXPECT_EQ(Bytes(GrRecRop(s(), r.in), 4), (std::vector<uint8_t>{49, r.out, 0, 0})) << int(r.in);
  EXPECT_EQ(Bytes(GrRecClipReset(s()), 4), (std::vector<uint8_t>{55, 0, 0, 0}));
  EXPECT_EQ(Bytes(GrRecPageEnd(s()), 4), (std::vector<uint8_t>{97, 0, 0, 0}));
}

TEST_F(StreamTest, OneBppPalettedImageIs76BytesWithRowsFromByte62InBothForms) {
  const BYTE rows[3][4] = {{0x11, 0x22, 0x33, 0x44}, {0x55, 0x66, 0x77, 0x88}, {0x99, 0xAA, 0xBB, 0xCC}};
  const ULONG palette[2] = {0x000000, 0xFFFFFF};
  GrImage image = {{10, 20, 42, 23}, {0, 0}, 32, 3, kImage1Bpp, &rows[0][0], 4, palette};
  std::vector<uint8_t> expected = {32, 0, 0, 0, 76, 0, 0, 0, 10, 0, 0, 0, 20, 0, 0, 0, 42, 0, 0, 0, 23, 0, 0, 0,
                                   0,  0, 0, 0, 0,  0, 0, 0, 32, 0, 0, 0, 3,  0, 0, 0, 10, 0, 0, 0, 20, 0, 0, 0,
                                   32, 0, 0, 0, 3,  0, 0, 0, 0,  0, 0, 0xFF, 0xFF, 0xFF};
  for (int r = 0; r < 3; ++r) expected.insert(expected.end(), rows[r], rows[r] + 4);
  expected.insert(expected.end(), {0, 0});
  ASSERT_EQ(expected.size(), 76u);
  for (BOOL plain : {TRUE, FALSE}) {
    GrStreamReset(s());
    std::vector<uint8_t> before(76, 0xEE);  // stale bytes must all be overwritten
    memcpy(s()->inlineData, before.data(), before.size());
    BYTE* rec = GrRecImage(s(), image, plain, FALSE);
    ASSERT_NE(rec, nullptr);
    EXPECT_EQ(s()->byteTotal, 76u) << "plain " << plain;
    EXPECT_EQ(Bytes(rec, 76), expected) << "plain " << plain;
  }
}

TEST_F(StreamTest, TwentyFourBitPixelsBecomeGrey) {
  // Pixels stored B, G, R: white, pure red, pure green, pure blue, one grey level.
  const BYTE row[15] = {255, 255, 255, 0, 0, 255, 0, 255, 0, 255, 0, 0, 100, 100, 100};
  GrImage image = {{0, 0, 5, 1}, {0, 0}, 5, 1, kImage24Bpp, row, 15, nullptr};
  BYTE* rec = GrRecImage(s(), image, FALSE, TRUE);
  ASSERT_NE(rec, nullptr);
  EXPECT_EQ(rec[2], 0x32) << "no palette, grey, 8 bpp";
  EXPECT_EQ(rec[4], 64) << "56 + one row of 8 bytes";
  EXPECT_EQ(Bytes(rec + 56, 8), (std::vector<uint8_t>{(255 * 1024) >> 10, (255 * 306) >> 10, (255 * 601) >> 10,
                                                      (255 * 117) >> 10, (100 * 1024) >> 10, 0, 0, 0}));
}

// A page whose image is reserved in pieces with a flush between them reads back whole.
TEST_F(StreamTest, ImageContinuedAcrossBlocksWithAFlushReadsBackWhole) {
  const DWORD width = 1024, rowsCount = 800, rowBytes = width * 3;
  std::vector<BYTE> bits(size_t(rowBytes) * rowsCount);
  for (size_t i = 0; i < bits.size(); ++i) bits[i] = BYTE(i * 7 + i / 3071);
  const DWORD header[4] = {kBlockPageHeader, 0, kBlockPageHeaderEnd, 0};
  ASSERT_TRUE(GrStreamWrite(s(), header, sizeof header));
  ASSERT_NE(GrRecPageStart(s(), width, rowsCount, 600, 600), nullptr);
  GrImage image = {{0, 0, LONG(width), LONG(rowsCount)}, {0, 0}, width, rowsCount, kImage24Bpp | kImageFromBand,
                   bits.data(), LONG(rowBytes), nullptr};
  ASSERT_NE(GrRecImage(s(), image, FALSE, FALSE), nullptr);
  ASSERT_GE(DisplayListLengths().size(), 3u) << "the page so far went out inside the image";
  ASSERT_NE(GrRecPageEnd(s()), nullptr);
  ASSERT_TRUE(GrStreamFlush(s()));
  const DWORD end[2] = {kBlockPageEnd, 0};
  ASSERT_TRUE(GrStreamWrite(s(), end, sizeof end));

  JsJob job;
  JsError err;
  ASSERT_TRUE(JsRead(sink_.bytes.data(), sink_.bytes.size(), &job, &err)) << err.message << " at " << err.offset;
  ASSERT_EQ(job.pages.size(), 1u);
  ASSERT_EQ(job.pages[0].records.size(), 3u);
  const JsRecord& rec = job.pages[0].records[1];
  ASSERT_EQ(rec.opcode, 32);
  ASSERT_EQ(rec.length, 56 + bits.size());
  EXPECT_EQ(rec.bytes[3], 4) << "band image";
  EXPECT_TRUE(memcmp(rec.bytes + 56, bits.data(), bits.size()) == 0);
}

// A band sent to be drawn again is recorded as it was and left white: rows whose bytes lie in
// memory as in the record (1 bpp, top-down or bottom-up, with or without bytes past the pixels,
// which the record holds as 0) and rows with padding of their own (24 bpp), each with white and
// drawn stretches and a last piece shorter than 64 bytes.
TEST_F(StreamTest, BandSentForTheNextIsRecordedAsItWasAndLeftWhite) {
  const struct {
    const char* what;
    ULONG format;
    LONG width, rows, stride;
    bool bottomUp;
    DWORD rowBytes, first;  // the record's row bytes, and where its rows start
  } kCases[] = {
      {"1 bpp", BMF_1BPP, 1024, 41, 128, false, 128, 62},
      {"1 bpp bottom-up", BMF_1BPP, 1000, 41, 128, true, 128, 62},
      {"1 bpp, bytes past the pixels", BMF_1BPP, 1000, 41, 128, false, 128, 62},
      {"24 bpp", BMF_24BPP, 50, 30, 152, false, 152, 56},
  };
  pdev_->colourMachine = 1;
  for (const auto& c : kCases) {
    GrStreamReset(s());
    std::vector<BYTE> bits(size_t(c.stride) * size_t(c.rows), 0xFF);
    // Drawn stretches: every third 64 bytes, and the last bytes of the band.
    for (size_t i = 0; i < bits.size(); ++i)
      if ((i / 64) % 3 == 1 || i + 5 >= bits.size()) bits[i] = BYTE(i * 13 + 1);
    const std::vector<BYTE> drawn = bits;
    SURFOBJ so = {};
    so.sizlBitmap = SIZEL{c.width, c.rows};
    so.iBitmapFormat = c.format;
    so.pvScan0 = c.bottomUp ? &bits[size_t(c.rows - 1) * size_t(c.stride)] : bits.data();
    so.lDelta = c.bottomUp ? -c.stride : c.stride;
    so.iType = STYPE_BITMAP;
    POINTL from = {0, 0};
    RECTL dest = {0, 0, c.width, c.rows};
    ASSERT_TRUE(GrSendBandWhitening(pdev_.get(), &so, &from, &dest)) << c.what;
    const BYTE* rows = s()->inlineData + c.first;
    DWORD used = DWORD(c.format == BMF_1BPP ? (c.width + 7) / 8 : c.width * 3);
    for (LONG r = 0; r < c.rows; ++r) {
      const BYTE* was = &drawn[size_t(c.bottomUp ? c.rows - 1 - r : r) * size_t(c.stride)];
      std::vector<uint8_t> expected(was, was + used);
      expected.resize(c.rowBytes, 0);
      ASSERT_EQ(Bytes(rows + size_t(r) * c.rowBytes, c.rowBytes), expected) << c.what << ", row " << r;
    }
    EXPECT_EQ(std::count(bits.begin(), bits.end(), 0xFF), LONG(bits.size())) << c.what << ": the band is white";
  }
}

TEST_F(StreamTest, WhitenLeavesEveryByteWhite) {
  for (size_t size : {size_t(0), size_t(1), size_t(63), size_t(64), size_t(65), size_t(200)}) {
    for (size_t drawn = 0; drawn < size; drawn += 13) {
      std::vector<BYTE> bytes(size + 1, 0xFF);
      bytes[drawn] = 0x12;
      bytes[size] = 0x34;  // beyond the bytes given: left alone
      GrWhiten(bytes.data(), size);
      EXPECT_EQ(std::count(bytes.begin(), bytes.end() - 1, 0xFF), LONG(size)) << size << ", drawn at " << drawn;
      EXPECT_EQ(bytes[size], 0x34) << size;
    }
  }
}

// A band source point is taken as given: one outside the surface writes nothing, and the rows
// sent never run past the surface.
TEST_F(StreamTest, BandFromOutsideTheSurfaceWritesNothing) {
  std::vector<BYTE> bits(64 * 3 * 4, 0x80);
  SURFOBJ so = {};
  so.sizlBitmap = SIZEL{64, 4};
  so.iBitmapFormat = BMF_24BPP;
  so.pvScan0 = bits.data();
  so.lDelta = 64 * 3;
  so.iType = STYPE_BITMAP;
  pdev_->colourMachine = 1;
  const struct {
    POINTL from;
    bool ok;
    DWORD rows;
  } kCases[] = {{{64, 0}, false, 0}, {{0, 4}, false, 0}, {{-1, 0}, false, 0}, {{0, -8}, false, 0},
                {{0, 2}, true, 2}, {{0, 0}, true, 4}};
  for (const auto& c : kCases) {
    GrStreamReset(s());
    RECTL dest = {0, 100, 64, 104};
    EXPECT_EQ(GrSendBand(pdev_.get(), nullptr, &so, &c.from, &dest) != FALSE, c.ok) << c.from.x << "," << c.from.y;
    EXPECT_EQ(s()->byteTotal, c.ok ? 56 + c.rows * 192 : 0u) << c.from.x << "," << c.from.y;
  }
}

}  // namespace
