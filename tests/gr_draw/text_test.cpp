// Text in vector mode on our outline fonts: the font kind a call takes (a table), the forms of
// codes, cells and outlines, the opaque and extra rectangles, and glyph bitmaps with the
// page's glyph cache.
#include <string>

#include "draw_fixture.h"
#include "gr2k/glyph_cache.h"
#include "gr2k/text_out.h"
#include "platform/sim.h"

namespace {

const XFORML kScale = {0.05f, 0, 0, 0.05f, 0, 0};  // 50-dot em, ascent 40

struct FontSpec {
  const char16_t* family = u"Sim Sans";
  const char16_t* face = nullptr;
  USHORT fsType = 0;
  XFORML xform = kScale;
  BOOL mono = FALSE;
};

struct StrSpec {
  std::u16string text = u"Ab";
  POINTL origin = {100, 200};
  FLONG accel = SO_HORIZONTAL;
  ULONG charInc = 0;
  ULONG batch = 0;
  BOOL array = TRUE;
  std::vector<POINTL> positions;
};

class TextTest : public DrawTest {
 protected:
  void TearDown() override {
    for (STROBJ* s : strings_) SimGdiDeleteString(s);
    for (FONTOBJ* f : fonts_) SimGdiDeleteFont(f);
    SimSetAnsiCodePage(1252);
    SimFailAllocations(-1);
    DrawTest::TearDown();
  }
  FONTOBJ* Font(const FontSpec& spec) {
    SimOutlineFontSpec s = {reinterpret_cast<const WCHAR*>(spec.family), reinterpret_cast<const WCHAR*>(spec.face),
                            spec.mono, spec.fsType, 0, 0, 0};
    FONTOBJ* f = SimGdiCreateOutlineFont(&s, &spec.xform);
    EXPECT_NE(f, nullptr);
    fonts_.push_back(f);
    return f;
  }
  STROBJ* Str(FONTOBJ* font, const StrSpec& spec) {
    SimStringSpec s = {reinterpret_cast<const WCHAR*>(spec.text.c_str()), ULONG(spec.text.size()), spec.origin,
                       spec.positions.empty() ? nullptr : spec.positions.data(), spec.accel, spec.charInc,
                       spec.batch, spec.array};
    STROBJ* str = SimGdiCreateString(font, &s);
    EXPECT_NE(str, nullptr);
    strings_.push_back(str);
    return str;
  }
  BOOL Text(FONTOBJ* font, STROBJ* str, RECTL* extra = nullptr, RECTL* opaque = nullptr,
            BRUSHOBJ* opaqueBrush = nullptr) {
    return VecTextOut(pdev(), &device_, str, font, nullptr, extra, opaque, Solid(0x000000), opaqueBrush, nullptr,
                      0x0D0D);
  }
  // The records of the given opcode.
  static std::vector<DrawRecord> Of(const std::vector<DrawRecord>& records, uint8_t opcode) {
    std::vector<DrawRecord> out;
    for (const DrawRecord& r : records)
      if (r.opcode == opcode) out.push_back(r);
    return out;
  }
  std::vector<FONTOBJ*> fonts_;
  std::vector<STROBJ*> strings_;
};

// The kind a call takes, read from its record 80 and the form that follows.
TEST_F(TextTest, FontKinds) {
  const struct {
    const char* what;
    FontSpec font;
    DWORD osMajor;
    DWORD eudc;
    DWORD printMethod;
    FLONG accel;
    std::u16string text;
    bool glyphs;
    const char* name;  // the face name record 80 carries; null: the face as given
  } cases[] = {
      {"fsType 2 before Vista", {u"Sim Sans", nullptr, 2}, 5, 0, 0, SO_HORIZONTAL, u"Ab", false, nullptr},
      {"fsType 4 before Vista", {u"Sim Sans", nullptr, 4}, 5, 0, 0, SO_HORIZONTAL, u"Ab", true, nullptr},
      {"fsType 8 before Vista", {u"Sim Sans", nullptr, 8}, 5, 0, 0, SO_HORIZONTAL, u"Ab", true, nullptr},
      {"fsType 8 from Vista", {u"Sim Sans", nullptr, 8}, 6, 0, 0, SO_HORIZONTAL, u"Ab", false, nullptr},
      {"fsType 4 from Vista", {u"Sim Sans", nullptr, 4}, 6, 0, 0, SO_HORIZONTAL, u"Ab", true, nullptr},
      {"mirrored", {u"Sim Sans", nullptr, 0, {0.05f, 0, 0, -0.05f, 0, 0}}, 6, 0, 0, SO_HORIZONTAL, u"Ab", true,
       nullptr},
      {"EUDC, switch off, fsType 4", {u"EUDC", nullptr, 4}, 6, 0, 0, SO_HORIZONTAL, u"Ab", false, nullptr},
      {"EUDC, switch on", {u"EUDC", nullptr, 0}, 6, 1, 0, SO_HORIZONTAL, u"Ab", true, "EUDC_"},
      {"full-width DFG prefix", {u"\uFF24\uFF26\uFF27Gothic"}, 6, 0, 0, SO_HORIZONTAL, u"Ab", true, nullptr},
      {"gaiji, switch on", {u"My\u5916\u5B57"}, 6, 1, 0, SO_HORIZONTAL, u"Ab", true, nullptr},
      {"gaiji, switch off", {u"My\u5916\u5B57"}, 6, 0, 0, SO_HORIZONTAL, u"Ab", false, nullptr},
      {".tmp before Vista", {u"font.tmp"}, 5, 0, 0, SO_HORIZONTAL, u"Ab", true, nullptr},
      {"___ before Vista", {u"a___b"}, 5, 0, 0, SO_HORIZONTAL, u"Ab", false, nullptr},
      {"___ from Vista", {u"a___b"}, 6, 0, 0, SO_HORIZONTAL, u"Ab", true, nullptr},
      {"digits before Vista", {u"0123"}, 5, 0, 0, SO_HORIZONTAL, u"Ab", false, nullptr},
      {"digits from Vista", {u"0123"}, 6, 0, 0, SO_HORIZONTAL, u"Ab", true, nullptr},
      {"face .TMP, plain job", {u"Sim Sans", u"X.TMP"}, 6, 0, 0, SO_HORIZONTAL, u"Ab", false, nullptr},
      {"face .TMP, special-output job", {u"Sim Sans", u"X.TMP"}, 6, 0, 5, SO_HORIZONTAL, u"Ab", true, nullptr},
      {"glyph-index text", {u"Sim Sans"}, 6, 0, 0, SO_HORIZONTAL | SO_GLYPHINDEX_TEXTOUT, u"Ab", true, nullptr},
      {"private-use character", {u"Sim Sans"}, 6, 1, 0, SO_HORIZONTAL, u"A\uE001", true, "Sim Sans_"},
      {"private-use character, switch off", {u"Sim Sans"}, 6, 0, 0, SO_HORIZONTAL, u"A\uE001", false, nullptr},
  };
  SimSetAnsiCodePage(932);
  for (const auto& c : cases) {
    pdev()->osVersion.dwMajorVersion = c.osMajor;
    pdev()->eudcSwitch = c.eudc;
    pdev()->printMethod = c.printMethod;
    FONTOBJ* font = Font(c.font);
    StrSpec s;
    s.text = c.text;
    s.accel = c.accel;
    ASSERT_TRUE(Text(font, Str(font, s))) << c.what;
    std::vector<DrawRecord> records = Records();
    std::vector<DrawRecord> selects = Of(records, 80);
    ASSERT_EQ(selects.size(), 1u) << c.what;
    WORD flags = WORD(selects[0].I16(4));
    EXPECT_EQ((flags & 0x200) != 0, c.glyphs) << c.what;
    EXPECT_EQ((flags & 0x08) != 0, !c.glyphs) << c.what;
    EXPECT_EQ((flags & 0x10) != 0, (c.accel & SO_GLYPHINDEX_TEXTOUT) != 0) << c.what;
    EXPECT_EQ(Of(records, 82).size(), c.glyphs ? 0u : 1u) << c.what;
    EXPECT_EQ(Of(records, 81).size(), c.glyphs ? 2u : 0u) << c.what << ": one outline per glyph";
    std::string face(reinterpret_cast<const char*>(selects[0].bytes.data() + 24));
    if (c.name) {
      char id[16];
      snprintf(id, sizeof id, "%lx", (unsigned long)font->iUniq);
      EXPECT_EQ(face, c.name + std::string(id)) << c.what;
    }
    NewPage();
  }
}

TEST_F(TextTest, PrivateCallSelectsOnThatCallAndTheNext) {
  pdev()->eudcSwitch = 1;
  FONTOBJ* font = Font({});
  StrSpec priv;
  priv.text = u"\uE000";
  ASSERT_TRUE(Text(font, Str(font, priv)));
  ASSERT_TRUE(Text(font, Str(font, StrSpec())));
  ASSERT_TRUE(Text(font, Str(font, StrSpec())));
  std::vector<DrawRecord> selects = Of(Records(), 80);
  ASSERT_EQ(selects.size(), 2u) << "the private call and the one after it; the third reuses the second's";
  EXPECT_NE(std::string(reinterpret_cast<const char*>(selects[0].bytes.data() + 24)).find('_'), std::string::npos);
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(selects[1].bytes.data() + 24)), "Sim Sans");
}

TEST_F(TextTest, PrivateSuffixFitsALongDoubleByteName) {
  SimSetAnsiCodePage(932);
  pdev()->eudcSwitch = 1;
  std::u16string name(128, u'\u660E');  // 128 double-byte characters fill 256 bytes
  FontSpec spec;
  spec.family = name.c_str();
  FONTOBJ* font = Font(spec);
  StrSpec s;
  s.text = u"\uE000";
  ASSERT_TRUE(Text(font, Str(font, s)));
  std::vector<DrawRecord> selects = Of(Records(), 80);
  ASSERT_EQ(selects.size(), 1u);
  std::string face(reinterpret_cast<const char*>(selects[0].bytes.data() + 24));
  char id[16];
  snprintf(id, sizeof id, "_%lx", (unsigned long)font->iUniq);
  ASSERT_LT(face.size(), 260u);
  EXPECT_EQ(face.substr(face.size() - strlen(id)), id);
  EXPECT_EQ((face.size() - strlen(id)) % 2, 0u) << "cut at a character boundary";
}

TEST_F(TextTest, FixedPitchGlyphIsOneRunWithOneAdvance) {
  FontSpec mono;
  mono.family = u"Sim Mono";
  mono.mono = TRUE;
  FONTOBJ* font = Font(mono);
  StrSpec s;
  s.text = u"M";
  s.accel = SO_HORIZONTAL | SO_FLAG_DEFAULT_PLACEMENT;
  s.charInc = 30;
  ASSERT_TRUE(Text(font, Str(font, s)));
  std::vector<DrawRecord> codes = Of(Records(), 82);
  ASSERT_EQ(codes.size(), 1u);
  EXPECT_EQ(codes[0].bytes[2], 0x80) << "one glyph, one advance: the all-advances flag";
  EXPECT_EQ(codes[0].I16(32), 1);
  EXPECT_EQ(codes[0].I16(36), 30);
  EXPECT_EQ(codes[0].I16(38), u'M');
}

TEST_F(TextTest, RunsCellsAndOneSelectionPerFont) {
  FONTOBJ* font = Font({});
  StrSpec line;
  line.text = u"Abc";
  ASSERT_TRUE(Text(font, Str(font, line)));  // laid out on one baseline: one run
  StrSpec twoLines;
  twoLines.positions = {{100, 200}, {130, 260}};
  ASSERT_TRUE(Text(font, Str(font, twoLines)));
  StrSpec vertical;
  vertical.accel = SO_VERTICAL;
  vertical.positions = {{100, 200}, {100, 250}};
  ASSERT_TRUE(Text(font, Str(font, vertical)));
  std::vector<DrawRecord> records = Records();
  EXPECT_EQ(Of(records, 80).size(), 1u) << "the same font three times";
  std::vector<DrawRecord> runs = Of(records, 82), cells = Of(records, 81);
  ASSERT_EQ(runs.size(), 2u);
  EXPECT_EQ(runs[0].I32(28), 200 - 40) << "start at the baseline less the ascent";
  EXPECT_EQ(runs[0].I16(40), 0) << "the last advance is 0";
  EXPECT_EQ(runs[1].I16(36), 50) << "a vertical run steps along y";
  ASSERT_EQ(cells.size(), 2u) << "two baselines: a cell per character";
  EXPECT_EQ(cells[1].I32(8), 130);
  EXPECT_EQ(cells[1].I32(12), 260 - 40);
  EXPECT_EQ(cells[1].I32(16), 130 + 50);
}

TEST_F(TextTest, RotatedTextGoesAsCellsAlongItsBaseline) {
  FontSpec rotated;
  rotated.xform = {0, -0.05f, 0.05f, 0, 0, 0};  // 90 degrees counter-clockwise
  FONTOBJ* font = Font(rotated);
  ASSERT_TRUE(Text(font, Str(font, StrSpec())));
  std::vector<DrawRecord> records = Records();
  EXPECT_EQ(Of(records, 80)[0].I16(8), 90);
  std::vector<DrawRecord> cells = Of(records, 81);
  ASSERT_EQ(cells.size(), 2u);
  EXPECT_EQ(cells[0].I32(8), 100 - 40) << "the ascent lies left of a baseline turned upwards";
  EXPECT_EQ(cells[0].I32(12), 200);
}

TEST_F(TextTest, OutlinesWithAndWithoutDefaultPlacement) {
  FontSpec spec;
  spec.fsType = 4;
  FONTOBJ* font = Font(spec);
  StrSpec own;
  own.text = u"AB";
  ASSERT_TRUE(Text(font, Str(font, own)));
  StrSpec placed = own;
  placed.accel = SO_HORIZONTAL | SO_FLAG_DEFAULT_PLACEMENT;
  placed.charInc = 100;
  placed.batch = 2;
  placed.array = FALSE;
  ASSERT_TRUE(Text(font, Str(font, placed)));
  std::vector<DrawRecord> outlines = Of(Records(), 81);
  ASSERT_EQ(outlines.size(), 4u);
  for (const DrawRecord& r : outlines) {
    EXPECT_EQ(r.bytes[2], 1) << "outline kind";
    EXPECT_GT(r.bytes.size(), 40u) << "with path data";
    EXPECT_EQ(r.I32(24), r.I32(8)) << "the cell's corner";
  }
  // 'A' of Sim Sans advances 350 + (65 % 4) * 100 = 450 units, 22.5 dots; its outline starts
  // 60 units (3 dots) right of its origin.
  EXPECT_EQ(outlines[0].I32(8), 103);
  EXPECT_EQ(outlines[1].I32(8), 103 + 23) << "B at its own laid-out position";
  EXPECT_EQ(outlines[3].I32(8), 103 + 100) << "B one increment after the batch's first";
}

// The outline buffer is sized from cCurves; a path whose count claims less than it holds gives
// no outline rather than a write beyond the buffer.
TEST_F(TextTest, OutlineBufferHoldsWhateverCCurvesClaims) {
  FontSpec spec;
  spec.fsType = 4;
  FONTOBJ* font = Font(spec);
  HGLYPH hg = u'A';
  PATHOBJ* path = nullptr;
  ASSERT_EQ(FONTOBJ_cGetGlyphs(font, FO_PATHOBJ, 1, &hg, reinterpret_cast<PVOID*>(&path)), 1u);
  ULONG real = path->cCurves;
  path->cCurves = 0;  // the engine's glyph path, shared with the call below
  StrSpec s;
  s.text = u"AA";
  EXPECT_TRUE(Text(font, Str(font, s)));
  path->cCurves = real;
  EXPECT_TRUE(Of(Records(), 81).empty());
}

TEST_F(TextTest, OpaqueAndExtraRectangles) {
  FONTOBJ* font = Font({});
  RECTL opaque = {90, 150, 200, 220};
  RECTL extra[] = {{90, 210, 200, 212}, {0, 0, 0, 5}, {1, 1, 9, 9}};
  ASSERT_TRUE(Text(font, Str(font, StrSpec()), extra, &opaque, Solid(0xFFFF00)));
  std::vector<DrawRecord> rects = Of(Records(), 16);
  ASSERT_EQ(rects.size(), 2u) << "the opaque rectangle and the extra one before the empty one";
  EXPECT_EQ(rects[0].I32(8), 90);
  EXPECT_EQ(rects[1].I32(12), 210);
  RECTL emptyFirst[] = {{5, 5, 5, 9}, {1, 1, 9, 9}};
  ASSERT_TRUE(Text(font, Str(font, StrSpec()), emptyFirst));
  EXPECT_TRUE(Of(Records(), 16).empty());
}

// Glyph bitmaps under the text-as-bitmap switch.
class GlyphTextTest : public TextTest {
 protected:
  void SetUp() override {
    TextTest::SetUp();
    pdev()->textAsBitmap = 1;
  }
};

TEST_F(GlyphTextTest, AWordTwiceOnAPageIsDownloadedOnceAndAgainOnTheNext) {
  FONTOBJ* font = Font({});
  StrSpec word;
  word.text = u"Hi";
  ASSERT_TRUE(Text(font, Str(font, word)));
  ASSERT_TRUE(Text(font, Str(font, word)));
  std::vector<DrawRecord> records = Records();
  EXPECT_EQ(Of(records, 86).size(), 1u);
  EXPECT_EQ(Of(records, 84).size(), 2u) << "each glyph once";
  std::vector<DrawRecord> runs = Of(records, 85);
  ASSERT_EQ(runs.size(), 2u);
  EXPECT_EQ(runs[0].I16(32), 2);
  EXPECT_EQ(runs[0].I16(36 + 4), u'H');
  EXPECT_EQ(runs[0].I16(42), runs[1].I16(42)) << "the same step to the second glyph";
  FontGlyphCacheClear(pdev());  // the page is sent
  ASSERT_TRUE(Text(font, Str(font, word)));
  EXPECT_EQ(Of(Records(), 84).size(), 2u) << "downloaded again on the next page";
}

TEST_F(GlyphTextTest, ResidentFaceKeepsItsCodes) {
  SimSetAnsiCodePage(932);
  FontSpec mincho;
  mincho.family = u"\u660E\u671D";
  FONTOBJ* font = Font(mincho);
  ASSERT_TRUE(Text(font, Str(font, StrSpec())));
  std::vector<DrawRecord> records = Records();
  EXPECT_EQ(Of(records, 80).size(), 1u);
  EXPECT_EQ(Of(records, 82).size(), 1u);
  EXPECT_TRUE(Of(records, 84).empty());
}

TEST_F(GlyphTextTest, VerticalAndRotatedTextIsNeverDownloaded) {
  FONTOBJ* font = Font({});
  StrSpec vertical;
  vertical.accel = SO_VERTICAL;
  ASSERT_TRUE(Text(font, Str(font, vertical)));
  ASSERT_TRUE(Text(font, Str(font, vertical)));
  FontSpec rotated;
  rotated.xform = {0, -0.05f, 0.05f, 0, 0, 0};
  FONTOBJ* turned = Font(rotated);
  ASSERT_TRUE(Text(turned, Str(turned, StrSpec())));
  std::vector<DrawRecord> records = Records();
  EXPECT_TRUE(Of(records, 84).empty());
  EXPECT_TRUE(Of(records, 85).empty());
  std::vector<DrawRecord> bitmaps = Of(records, 83);
  ASSERT_EQ(bitmaps.size(), 6u);
  EXPECT_EQ(bitmaps[0].bytes[2], 0x08) << "sent with its bits";
  EXPECT_EQ(bitmaps[2].bytes[2], 0x48) << "the second time named from the cache";
  EXPECT_EQ(bitmaps[2].bytes.size(), 64u);
}

TEST_F(GlyphTextTest, MirroredTextIsSentOncePerUse) {
  FontSpec mirrored;
  mirrored.xform = {0.05f, 0, 0, -0.05f, 0, 0};
  FONTOBJ* font = Font(mirrored);
  ASSERT_TRUE(Text(font, Str(font, StrSpec())));
  std::vector<DrawRecord> records = Records();
  EXPECT_EQ(Of(records, 87).size(), 2u);
  EXPECT_TRUE(Of(records, 83).empty());
}

TEST_F(GlyphTextTest, APoolFailureClearsTheCacheAndIsRetriedOnce) {
  FONTOBJ* font = Font({});
  StrSpec vertical;
  vertical.accel = SO_VERTICAL;
  vertical.text = u"A";
  ASSERT_TRUE(Text(font, Str(font, vertical)));
  SHORT generation = pdev()->glyphGeneration;
  StrSpec other = vertical;
  other.text = u"B";
  STROBJ* str = Str(font, other);
  SimFailAllocationsFor(0, 1);
  ASSERT_TRUE(Text(font, str)) << "the retry gets the memory";
  EXPECT_EQ(pdev()->glyphGeneration, SHORT(generation + 1)) << "the cache was cleared";
  SimFailAllocationsFor(0, 2);
  StrSpec third = vertical;
  third.text = u"C";
  EXPECT_FALSE(Text(font, Str(font, third))) << "a second failure ends the call";
  SimFailAllocations(-1);
  std::vector<DrawRecord> bitmaps = Of(Records(), 83);
  ASSERT_EQ(bitmaps.size(), 2u);
  EXPECT_EQ(bitmaps[1].I16(60), u'B');
}

// A glyph enters the cache only once its record is written: a record that cannot be written
// ends the call, and the next call sends the glyph with its bits.
TEST_F(GlyphTextTest, AGlyphWhoseRecordFailedIsNotCached) {
  FONTOBJ* font = Font({});
  StrSpec vertical;
  vertical.accel = SO_VERTICAL;
  vertical.text = u"A";
  // The stream's block keeps 120 bytes: the call's state records fit, its glyph record needs a
  // new block, whose memory is refused once (after the glyph's bits got theirs).
  StreamBlock* tail = stream()->tail;
  DWORD fill = (DWORD(tail->end - tail->position) - 120) & ~3u;
  BYTE* filler = GrStreamReserve(stream(), fill);
  ASSERT_NE(filler, nullptr);
  memset(filler, 0, fill);  // read back as an empty outline record
  filler[0] = 81;
  filler[2] = 1;
  memcpy(filler + 4, &fill, 4);
  SimFailAllocationsFor(1, 1);
  EXPECT_FALSE(Text(font, Str(font, vertical)));
  SimFailAllocations(-1);
  EXPECT_FALSE(GlyphCacheLookup(pdev(), GlyphKey{font->iUniq, WORD(pdev()->glyphGeneration), u'A', 2}));
  ASSERT_TRUE(Text(font, Str(font, vertical)));
  std::vector<DrawRecord> bitmaps = Of(Records(), 83);
  ASSERT_EQ(bitmaps.size(), 1u);
  EXPECT_EQ(bitmaps[0].bytes[2], 0x08) << "sent with its bits, not named from the cache";
}

TEST_F(GlyphTextTest, AFailedDownloadFallsBackToOneBitmapPerGlyph) {
  FONTOBJ* font = Font({});
  StrSpec word;
  word.text = u"Hi";
  // The first glyph's bits and its cache entry, then the second glyph's bits fail.
  SimFailAllocationsFor(2, 1);
  ASSERT_TRUE(Text(font, Str(font, word)));
  std::vector<DrawRecord> records = Records();
  EXPECT_EQ(Of(records, 84).size(), 1u) << "the first glyph went before the failure";
  EXPECT_EQ(Of(records, 87).size(), 2u) << "then every glyph with its bits";
  EXPECT_TRUE(Of(records, 85).empty()) << "no run names a glyph";
  EXPECT_FALSE(GlyphCacheLookup(pdev(), GlyphKey{font->iUniq, WORD(pdev()->glyphGeneration), u'H', 2}));
}

}  // namespace
