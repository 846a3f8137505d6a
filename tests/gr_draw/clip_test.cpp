// The clip records through the clip cache across pages, a clip that cannot be written, and the
// span records of very complex clips.
#include "draw_fixture.h"

namespace {

class ClipTest : public DrawTest {
 protected:
  // A brush-only fill of the target through the clip.
  BOOL Fill(CLIPOBJ* clip, RECTL target = RECTL{0, 0, 100, 100}) {
    return VecBitBlt(pdev(), &device_, nullptr, nullptr, clip, nullptr, &target, nullptr, nullptr, Solid(0),
                     nullptr, 0xF0F0);
  }
  // Opcodes of the page without the drawing state.
  std::vector<uint8_t> Geometry() {
    std::vector<uint8_t> out;
    for (uint8_t op : Opcodes(Records()))
      if (op == 16 || op == 17 || op == 18 || op == 19 || op == 55) out.push_back(op);
    return out;
  }
};

TEST_F(ClipTest, TheCacheWritesAClipOncePerPage) {
  CLIPOBJ* rect = Clip(DC_RECT, {RECTL{10, 10, 50, 50}}, 1);
  // A repeated rectangle clip: one record 16 of kind 5; a trivial clip after it: one record 55.
  ASSERT_TRUE(Fill(rect));
  ASSERT_TRUE(Fill(rect));
  ASSERT_TRUE(Fill(nullptr));
  ASSERT_TRUE(Fill(nullptr));
  ASSERT_TRUE(Fill(rect));
  EXPECT_EQ(Geometry(), (std::vector<uint8_t>{16, 16, 16, 55, 16, 16, 16, 16}));
  // The page ended with the clip in force: the next page's first unclipped call resets it, and
  // the same rectangle is sent again.
  ASSERT_TRUE(Fill(nullptr));
  ASSERT_TRUE(Fill(rect));
  EXPECT_EQ(Geometry(), (std::vector<uint8_t>{55, 16, 16, 16}));
  // A complex clip is cached by its id; id 0 is never taken from the cache.
  CLIPOBJ* complex = Clip(DC_COMPLEX, {RECTL{0, 0, 5, 5}, RECTL{6, 6, 9, 9}}, 9);
  CLIPOBJ* unnamed = Clip(DC_COMPLEX, {RECTL{0, 0, 5, 5}}, 0);
  ASSERT_TRUE(Fill(complex));
  ASSERT_TRUE(Fill(complex));
  ASSERT_TRUE(Fill(unnamed));
  ASSERT_TRUE(Fill(unnamed));
  EXPECT_EQ(Geometry(), (std::vector<uint8_t>{18, 16, 16, 18, 16, 18, 16}));
}

TEST_F(ClipTest, AClipThatCannotBeWrittenFailsTheCall) {
  ASSERT_TRUE(Fill(nullptr));  // the drawing state is stated
  // The block keeps room for the 40-byte rectangle but not for the 76-byte clip path, and no
  // new block can be had.
  StreamBlock* tail = stream()->tail;
  DWORD left = DWORD(tail->end - tail->position);
  ASSERT_NE(GrStreamReserve(stream(), left - 48), nullptr);
  PdevPool* pool = pdev()->pool;
  pdev()->pool = nullptr;
  EXPECT_FALSE(Fill(Clip(DC_COMPLEX, {RECTL{1, 1, 2, 2}}, 3)));
  EXPECT_EQ(stream()->tail, tail);
  EXPECT_EQ(DWORD(tail->end - tail->position), 48u) << "nothing was drawn unclipped";
  pdev()->pool = pool;
}

struct SpanCase {
  const char* what;
  std::vector<RECTL> rects;
  RECTL target;
  std::vector<uint8_t> flags;   // of each record 19
  std::vector<uint32_t> entries;  // of each record 19
};

TEST_F(ClipTest, SpanListsEndWithTheirClosingRecord) {
  const SpanCase kCases[] = {
      {"one rectangle of 10 rows", {RECTL{5, 20, 40, 30}}, RECTL{0, 0, 100, 100}, {0x0A}, {10}},
      {"2000 rows", {RECTL{0, 0, 8, 2000}}, RECTL{0, 0, 10, 3000}, {0x0A}, {2000}},
      {"2001 rows", {RECTL{0, 0, 8, 2001}}, RECTL{0, 0, 10, 3000}, {0x02, 0x0C}, {2000, 1}},
      {"4000 rows", {RECTL{0, 0, 8, 1000}, RECTL{0, 1000, 8, 4000}}, RECTL{0, 0, 10, 5000}, {0x02, 0x0C},
       {2000, 2000}},
      {"a clip beyond 0x7FFF cut to a narrow target", {RECTL{0, 40000, 90000, 40003}}, RECTL{100, 40001, 200, 40002},
       {0x1A}, {1}},
      {"rows beyond the target are left out", {RECTL{0, 0, 8, 10}, RECTL{0, 50, 8, 60}}, RECTL{0, 0, 8, 5}, {0x0A},
       {5}},
  };
  for (const SpanCase& c : kCases) {
    CLIPOBJ* clip = Clip(DC_COMPLEX, c.rects, 0);
    BOOL failed = TRUE;
    EXPECT_NE(GrSendSpans(stream(), clip, &c.target, &failed), nullptr) << c.what;
    EXPECT_FALSE(failed);
    std::vector<DrawRecord> r = Records();
    std::vector<uint8_t> flags;
    std::vector<uint32_t> entries;
    for (const DrawRecord& rec : r) {
      flags.push_back(rec.bytes[2]);
      uint32_t size = (rec.bytes[2] & 0x10) ? 12 : 6;
      entries.push_back((rec.U32(4) - 24) / size);
      EXPECT_EQ(rec.U32(4), (entries.back() * size + 27) & ~3u) << c.what;
    }
    EXPECT_EQ(flags, c.flags) << c.what;
    EXPECT_EQ(entries, c.entries) << c.what;
  }
}

TEST_F(ClipTest, SpanEntriesAreCutToTheTargetAndNeverWrap) {
  // A target beyond 0x7FFF: 12-byte entries whose values are exact.
  CLIPOBJ* far = Clip(DC_COMPLEX, {RECTL{33000, 70000, 33010, 70002}}, 0);
  RECTL wide = {0, 0, 40000, 80000};
  BOOL failed;
  ASSERT_NE(GrSendSpans(stream(), far, &wide, &failed), nullptr);
  std::vector<DrawRecord> r = Records();
  ASSERT_EQ(r.size(), 1u);
  EXPECT_EQ(r[0].bytes[2], 0x1A);
  EXPECT_EQ(r[0].I32(24), 70000);
  EXPECT_EQ(r[0].I32(28), 33000);
  EXPECT_EQ(r[0].I32(32), 33009);
  // A narrow target: entries of 16 bits, cut to it.
  CLIPOBJ* big = Clip(DC_COMPLEX, {RECTL{-50000, 3, 90000, 4}}, 0);
  RECTL narrow = {10, 0, 20, 10};
  ASSERT_NE(GrSendSpans(stream(), big, &narrow, &failed), nullptr);
  r = Records();
  ASSERT_EQ(r.size(), 1u);
  EXPECT_EQ(r[0].bytes[2], 0x0A);
  EXPECT_EQ(r[0].I16(24), 3);
  EXPECT_EQ(r[0].I16(26), 10);
  EXPECT_EQ(r[0].I16(28), 19);
}

TEST_F(ClipTest, ABlitOverAVeryComplexClipIsFilledBySpans) {
  std::vector<RECTL> rects;
  for (LONG i = 0; i < 1700; ++i) rects.push_back(RECTL{i, i, i + 3, i + 1});  // 5100 lines
  CLIPOBJ* clip = Clip(DC_COMPLEX, rects, 4);
  // Without the wide-line switch the clip goes as a path.
  ASSERT_TRUE(Fill(clip, RECTL{0, 0, 2000, 2000}));
  EXPECT_EQ(Geometry(), (std::vector<uint8_t>{18, 16}));
  pdev()->wideLineSwitch = 1;
  ASSERT_TRUE(Fill(Clip(DC_RECT, {RECTL{0, 0, 9, 9}}, 5)));
  ASSERT_TRUE(Fill(clip, RECTL{0, 0, 2000, 2000}));
  // The rectangle clip is reset, the spans fill, and no rectangle follows them.
  EXPECT_EQ(Geometry(), (std::vector<uint8_t>{16, 16, 55, 19}));
  EXPECT_EQ(SimGdiLivePaths(), ULONG(paths_.size()));
}

}  // namespace
