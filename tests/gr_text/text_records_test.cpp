// The text records byte for byte and as the reader shows them; the glyph packer's vectors and
// its round trip through the reader's unpacker; the glyph cache's chains and clear.
#include <string.h>

#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "gr2k/glyph_bits.h"
#include "gr2k/glyph_cache.h"
#include "gr2k/records.h"
#include "gr2k/records_text.h"
#include "gr2k/stream.h"
#include "host/job_stream/job_stream.h"
#include "support/bare_stream.h"

namespace {

std::vector<uint8_t>* g_sink = nullptr;

BOOL WINAPI SinkWrite(HANDLE, LPVOID bytes, DWORD cb, LPDWORD written) {
  const uint8_t* p = static_cast<const uint8_t*>(bytes);
  g_sink->insert(g_sink->end(), p, p + cb);
  *written = cb;
  return TRUE;
}

class TextRecordsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    pdev_.reset(new GraphicsPdev());
    zems_test::BareStreamPdevOpen(pdev_.get(), &SinkWrite);
    g_sink = &sink_;
    const DWORD header[4] = {kBlockPageHeader, 0, kBlockPageHeaderEnd, 0};
    GrStreamWrite(s(), header, sizeof header);
    GrRecPageStart(s(), 100, 100, 600, 600);
  }
  void TearDown() override {
    PdevPoolDestroy(pdev_->pool);
    g_sink = nullptr;
  }
  PdevOutputStream* s() { return &pdev_->stream; }
  // Ends the page, reads the stream back and returns its records' dump.
  std::string Dump(bool hex = false) {
    EXPECT_NE(GrRecPageEnd(s()), nullptr);
    EXPECT_TRUE(GrStreamFlush(s()));
    const DWORD end[2] = {kBlockPageEnd, 0};
    GrStreamWrite(s(), end, sizeof end);
    JsError err;
    EXPECT_TRUE(JsRead(sink_.data(), sink_.size(), &job_, &err)) << err.message << " at " << err.offset;
    std::string out;
    JsDump(job_, kJsDumpRecords | (hex ? unsigned(kJsDumpHex) : 0u), 0, &out);
    return out;
  }
  std::unique_ptr<GraphicsPdev> pdev_;
  std::vector<uint8_t> sink_;
  JsJob job_;
};

FontSelection Selection(const char* face) {
  FontSelection sel = {};
  sel.kind = kFontKindCodes;
  sel.codeKind = kCodeKindChars;
  sel.charset = 128;
  sel.pitchAndFamily = 0x31;
  sel.weight = 400;
  sel.height = 50;
  sel.width = 25;
  sel.leading = 3;
  sel.defaultChar = 0x30FB;
  strcpy(sel.faceName, face);
  return sel;
}

TEST_F(TextRecordsTest, FontSelectionCopiesTheNameInUnitsToItsZeroUnit) {
  const struct {
    const char* face;
    WORD length;
  } cases[] = {{"", 28}, {"A", 28}, {"AB", 28}, {"ABC", 32}, {"Sim Sans", 36}};
  for (const auto& c : cases) {
    FontSelection sel = Selection(c.face);
    BYTE* rec = GrRecFontSelect(s(), sel);
    ASSERT_NE(rec, nullptr);
    WORD length;
    memcpy(&length, rec + 14, 2);
    EXPECT_EQ(length, c.length) << c.face;
    EXPECT_EQ(std::string(reinterpret_cast<char*>(rec + 24)), c.face);
    EXPECT_EQ(rec[2], 128);
    EXPECT_EQ(rec[3], 0x31);
    EXPECT_EQ(rec[4], 0x08) << "device codes";
  }
  // A name that fills its whole field still ends inside the record.
  FontSelection full = Selection("");
  memset(full.faceName, 'x', kFontNameBytes - 1);
  BYTE* rec = GrRecFontSelect(s(), full);
  ASSERT_NE(rec, nullptr);
  WORD length;
  memcpy(&length, rec + 14, 2);
  EXPECT_EQ(length, (2 * 130 + 28) & ~3);
  EXPECT_EQ(rec[24 + kFontNameBytes - 1], 0);
}

TEST_F(TextRecordsTest, SelectionFlagsAndTheDownloadForm) {
  FontSelection sel = Selection("Sim");
  sel.kind = kFontKindGlyphs;
  sel.italic = sel.bold = sel.embolden = sel.vertical = 1;
  sel.codeKind = kCodeKindGlyphIndex;
  BYTE* rec = GrRecFontSelect(s(), sel);
  ASSERT_NE(rec, nullptr);
  WORD flags;
  memcpy(&flags, rec + 4, 2);
  EXPECT_EQ(flags, 0x01 | 0x02 | 0x20 | 0x10 | 0x200 | 0x80 | 0x2000);
  sel.kind = kFontKindDownload;
  rec = GrRecDownloadFont(s(), sel);
  ASSERT_NE(rec, nullptr);
  EXPECT_EQ(rec[0], 86);
  EXPECT_EQ(rec[1], 128) << "character set at byte 1";
  EXPECT_EQ(rec[2], 0x31);
  EXPECT_EQ(std::string(reinterpret_cast<char*>(rec + 32)), "Sim");
  memcpy(&flags, rec + 14, 2);
  EXPECT_EQ(flags, 40) << "(2 x 2 units + 36) rounded down to 4";
  std::string dump = Dump();
  EXPECT_NE(dump.find("font-select"), std::string::npos) << dump;
  EXPECT_NE(dump.find("download-font-select"), std::string::npos) << dump;
  EXPECT_NE(dump.find("name=\"Sim\""), std::string::npos) << dump;
}

TEST_F(TextRecordsTest, CodesCellsAndRunsReadBack) {
  const SHORT advances[] = {20, 21, 0};
  const WCHAR codes[] = {'A', 'B', 'C'};
  BYTE* rec = GrRecGlyphCodes(s(), RECTL{1, 2, 3, 4}, POINTL{10, 20}, advances, 3, codes, 3);
  ASSERT_NE(rec, nullptr);
  EXPECT_EQ(rec[2], 0x80) << "one advance per glyph";
  EXPECT_EQ(rec[4], 36 + 12);
  rec = GrRecGlyphCodes(s(), RECTL{1, 2, 3, 4}, POINTL{10, 20}, advances, 1, codes, 1);
  ASSERT_NE(rec, nullptr);
  EXPECT_EQ(rec[2], 0x80) << "one glyph, one advance: every glyph has its advance";
  EXPECT_EQ(rec[4], 40);
  ASSERT_NE(GrRecGlyphCodes(s(), RECTL{1, 2, 3, 4}, POINTL{10, 20}, advances, 1, codes, 3), nullptr);
  ASSERT_NE(GrRecTextBlock(s(), RECTL{5, 6, 30, 56}, 0x3042), nullptr);
  const BYTE outline[8] = {3, 0, 0, 0, 0, 0, 0, 0};
  ASSERT_NE(GrRecTextOutline(s(), RECTL{5, 6, 30, 56}, 'O', outline, 8), nullptr);
  const GlyphRunItem items[] = {{0, 0, 'A'}, {12, 0, 'B'}};
  ASSERT_NE(GrRecGlyphRun(s(), RECTL{0, 0, 9, 9}, kGlyphFlagChar, POINTL{7, 8}, items, 2), nullptr);
  std::string dump = Dump();
  EXPECT_NE(dump.find("advances 20 21 0\n    codes 0041 0042 0043"), std::string::npos) << dump;
  EXPECT_NE(dump.find("advances 20\n    codes 0041 0042 0043"), std::string::npos) << dump;
  EXPECT_NE(dump.find("cell (5,6)-(30,56) at (5,6) U+3042"), std::string::npos) << dump;
  EXPECT_NE(dump.find("outline (5,6)-(30,56) at (5,6) U+004F"), std::string::npos) << dump;
  EXPECT_NE(dump.find("glyphs=2\n    0041+0+0 0042+12+0"), std::string::npos) << dump;
}

// The packer's vectors: zero runs, repeats, literals and both count extensions.
TEST(GlyphBitsCompress, Vectors) {
  const struct {
    const char* what;
    std::vector<BYTE> in;
    std::vector<BYTE> out;
  } cases[] = {
      {"repeat after two zeros, trailing zero dropped", {0, 0, 0x41, 0x41, 0x41, 0}, {0x91, 0x41}},
      {"literal", {0x41, 0x42, 0}, {0x01, 0x41, 0x42}},
      {"seventeen zeros", {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0x41}, {0x78, 2, 0x41}},
      {"nine-byte literal", {1, 2, 3, 4, 5, 6, 7, 8, 9}, {0x07, 1, 1, 2, 3, 4, 5, 6, 7, 8, 9}},
      {"literal stops before four equal", {1, 2, 5, 5, 5, 5}, {0x01, 1, 2, 0x82, 5}},
      {"literal stops before three equal and a zero", {1, 5, 5, 5, 0, 7}, {0x00, 1, 0x81, 5, 0x08, 7}},
      {"three equal and more go on in the literal", {1, 5, 5, 5, 6}, {0x04, 1, 5, 5, 5, 6}},
  };
  for (const auto& c : cases) {
    std::vector<BYTE> out(64, 0xEE);
    LONG n = GlyphBitsCompress(c.in.data(), DWORD(c.in.size()), out.data(), 64);
    ASSERT_GT(n, 0) << c.what;
    out.resize(size_t(n));
    EXPECT_EQ(out, c.out) << c.what;
    std::vector<uint8_t> back(c.in.size(), 0xEE);
    EXPECT_TRUE(JsGlyphUnpack(out.data(), out.size(), back.data(), back.size())) << c.what;
    EXPECT_EQ(back, std::vector<uint8_t>(c.in.begin(), c.in.end())) << c.what;
  }
  const BYTE zeros[8] = {};
  BYTE out[8];
  EXPECT_EQ(GlyphBitsCompress(zeros, 8, out, 8), 0) << "only zeros";
}

TEST(GlyphBitsCompress, NothingAtOrBeyondTheCapacity) {
  std::vector<BYTE> in(40);
  for (size_t i = 0; i < in.size(); ++i) in[i] = BYTE(i * 37 + 1);
  std::vector<BYTE> out(64, 0xEE);
  EXPECT_EQ(GlyphBitsCompress(in.data(), 40, out.data(), 40), -1) << "a literal of 40 needs 42 bytes";
  for (size_t i = 40; i < out.size(); ++i) ASSERT_EQ(out[i], 0xEE) << "byte " << i << " written";
  EXPECT_EQ(GlyphBitsCompress(in.data(), 40, out.data(), 42), 42);
}

TEST(GlyphUnpack, RefusesTokensBeyondTheRowsOrCutOff) {
  std::vector<uint8_t> rows(4);
  const uint8_t tooLong[] = {0x87, 0x05, 0x41};  // a repeat of 14
  EXPECT_FALSE(JsGlyphUnpack(tooLong, 3, rows.data(), rows.size()));
  const uint8_t cutOff[] = {0x03, 1, 2};  // a literal of 4 with 2 bytes
  EXPECT_FALSE(JsGlyphUnpack(cutOff, 3, rows.data(), rows.size()));
  const uint8_t zerosCut[] = {0x78, 255};  // zero extension without its end
  EXPECT_FALSE(JsGlyphUnpack(zerosCut, 2, rows.data(), rows.size()));
}

TEST_F(TextRecordsTest, GlyphBitmapsShowTheirUnpackedRows) {
  // A 10 x 3 glyph: rows of 2 bytes.
  const BYTE rows[6] = {0xC0, 0x40, 0x00, 0x00, 0xFF, 0xC0};
  BYTE packed[8];
  LONG n = GlyphBitsCompress(rows, 6, packed, 8);
  ASSERT_GT(n, 0);
  GlyphImage glyph = {'g', 10, 3, packed, DWORD(n), kGlyphPacked};
  ASSERT_NE(GrRecGlyphBitmap(s(), kRecGlyphCached, kGlyphFlagChar, RECTL{1, 2, 11, 5}, POINTL{1, 0}, POINTL{1, 2},
                             glyph),
            nullptr);
  GlyphImage raw = {'g', 10, 3, rows, 6, kGlyphRaw};
  ASSERT_NE(GrRecCachedGlyph(s(), kGlyphFlagChar, raw), nullptr);
  GlyphImage none = {'g', 10, 3, nullptr, 0, kGlyphRaw};
  EXPECT_EQ(GrRecCachedGlyph(s(), kGlyphFlagChar, none), nullptr) << "no record without bits";
  BYTE* again = GrRecGlyphBitmap(s(), kRecGlyphCached, kGlyphFlagChar | kGlyphFlagNoBits, RECTL{1, 2, 11, 5},
                                 POINTL{1, 0}, POINTL{1, 2}, none);
  ASSERT_NE(again, nullptr);
  EXPECT_EQ(again[4], 64);
  std::string dump = Dump(true);
  const char* picture = "    ##.......#\n    ..........\n    ##########\n";
  size_t first = dump.find(picture);
  ASSERT_NE(first, std::string::npos) << dump;
  EXPECT_NE(dump.find(picture, first + 1), std::string::npos) << "packed and raw show the same rows\n" << dump;
  EXPECT_NE(dump.find("flags=0x48 box=(1,2)-(11,5)"), std::string::npos) << dump;
}

TEST_F(TextRecordsTest, GlyphCacheChainsEveryKeyAndClearsToANewGeneration) {
  // Keys of one bucket: (id + generation + code) AND 0x3FF equal.
  const GlyphKey a = {1, 0, 0x41, kCodeKindChars}, b = {1 + 0x400, 0, 0x41, kCodeKindChars},
                 c = {1, 0, 0x41 + 0x400, kCodeKindChars}, d = {1, 0, 0x41, kCodeKindGlyphIndex};
  ASSERT_EQ(GlyphCacheBucket(a), GlyphCacheBucket(b));
  for (const GlyphKey& k : {a, b, c}) ASSERT_TRUE(GlyphCacheInsert(pdev_.get(), GlyphCacheBucket(k), k));
  for (const GlyphKey& k : {a, b, c}) EXPECT_TRUE(GlyphCacheLookup(pdev_.get(), k)) << k.fontId << " " << k.code;
  EXPECT_FALSE(GlyphCacheLookup(pdev_.get(), d)) << "the code kind is part of the key";
  EXPECT_FALSE(GlyphCacheInsert(pdev_.get(), 1024, a)) << "a bucket beyond the table";
  pdev_->glyphGeneration = -1;
  FontGlyphCacheClear(pdev_.get());
  EXPECT_EQ(pdev_->glyphGeneration, 0) << "the generation wraps";
  EXPECT_FALSE(GlyphCacheLookup(pdev_.get(), a));
  for (DWORD i = 0; i < kGlyphBuckets; ++i) ASSERT_EQ(pdev_->glyphCache[i], nullptr);
}

}  // namespace
