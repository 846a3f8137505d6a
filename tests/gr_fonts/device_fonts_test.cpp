// The printer-resident fonts: the resources zemsgr carries, the faces a PDEV announces, and the
// engine's queries of their metrics, glyph sets, kerning pairs, extents and advances.
#include <gtest/gtest.h>
#include <string.h>

#include <string>
#include <vector>

#include "gr2k/font_resources.h"
#include "platform/sim.h"
#include "platform/sim_gdi.h"
#include "support/print_fixture.h"
#include "support/test_printer.h"

namespace zems_test {
namespace {

constexpr XFORML kIdentity = {1, 0, 0, 1, 0, 0};
constexpr XFORML kScale2 = {2, 0, 0, 2, 0, 0};
constexpr XFORML kTurned90 = {0, -1, 1, 0, 0, 0};  // the baseline points up the page

class DeviceFontsTest : public PrintTest {
 protected:
  void TearDown() override {
    for (FONTOBJ* f : fonts_) SimGdiDeleteFont(f);
    PrintTest::TearDown();
  }
  DHPDEV VectorPdev() { return EnableJob({{"zdmImagePrint", 0}}); }
  FONTOBJ* Font(ULONG face, const XFORML& xform) {
    fonts_.push_back(SimGdiCreateFont(face, &xform));
    return fonts_.back();
  }
  IFIMETRICS* QueryFont(DHPDEV pdev, ULONG face) {
    ULONG_PTR id = 99;
    IFIMETRICS* m = Ddi<PFN_DrvQueryFont>(INDEX_DrvQueryFont)(pdev, 0, face, &id);
    EXPECT_EQ(0u, id) << "the font id is always 0";
    return m;
  }
  PVOID QueryTree(DHPDEV pdev, ULONG face, ULONG mode) {
    ULONG_PTR id = 99;
    PVOID tree = Ddi<PFN_DrvQueryFontTree>(INDEX_DrvQueryFontTree)(pdev, 0, face, mode, &id);
    EXPECT_EQ(0u, id);
    return tree;
  }
  LONG FontData(DHPDEV pdev, FONTOBJ* font, ULONG mode, HGLYPH glyph, GLYPHDATA* data, PVOID buffer, ULONG cb) {
    return Ddi<PFN_DrvQueryFontData>(INDEX_DrvQueryFontData)(pdev, font, mode, glyph, data, buffer, cb);
  }
  BOOL Widths(DHPDEV pdev, FONTOBJ* font, ULONG mode, std::vector<HGLYPH> glyphs, std::vector<USHORT>* widths) {
    widths->assign(glyphs.size(), 0xEEEE);
    return Ddi<PFN_DrvQueryAdvanceWidths>(INDEX_DrvQueryAdvanceWidths)(pdev, font, mode, glyphs.data(),
                                                                        widths->data(), ULONG(glyphs.size()));
  }
  // zemsgr loaded afresh, paired with the resource image given (empty: its own).
  void ReloadWithResources(const std::string& image) {
    ASSERT_TRUE(SimPairModuleResources("zemsgr.dll", image.empty() ? (BinDir() + "/zemsgr.rsrc").c_str() : image.c_str()));
    ASSERT_TRUE(FreeLibrary(dll_));
    dll_ = LoadLibraryW(TEXT("zemsgr.dll"));
    ASSERT_NE(nullptr, dll_);
    auto enable = Export<BOOL(WINAPI*)(ULONG, ULONG, DRVENABLEDATA*)>("DrvEnableDriver");
    ASSERT_TRUE(enable(DDI_DRIVER_VERSION_NT5, sizeof enable_, &enable_));
  }
  // A resource of the loaded zemsgr as the engine hands it out.
  std::vector<BYTE> Resource(int id, int type) {
    ULONG size = 0;
    const BYTE* bytes = static_cast<const BYTE*>(EngFindResource(dll_, id, type, &size));
    return bytes ? std::vector<BYTE>(bytes, bytes + size) : std::vector<BYTE>();
  }

  std::vector<FONTOBJ*> fonts_;
};

// The glyph set's handle of a character, or 0 when the set has none.
HGLYPH HandleOf(const FD_GLYPHSET* set, WCHAR c) {
  for (ULONG r = 0; r < set->cRuns; ++r) {
    const WCRUN& run = set->awcrun[r];
    if (c >= run.wcLow && ULONG(c) < ULONG(run.wcLow) + run.cGlyphs) return run.phg[c - run.wcLow];
  }
  return 0;
}

TEST_F(DeviceFontsTest, GlyphSetResourcesHoldTheirCodePagesCounts) {
  // Set 2 is code page 932 without its user-defined area; sets 1 and 3 are unions of
  // single-byte code pages (the generator's notes say which), whose counts differ from the
  // printer's own tables.
  struct Case {
    int id;
    ULONG glyphs, runs, accel;
  } cases[] = {{1, 653, 93, GS_8BIT_HANDLES}, {2, 7484, 4247, GS_16BIT_HANDLES}, {3, 631, 116, GS_8BIT_HANDLES}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.id);
    std::vector<BYTE> set = Resource(c.id, kGlyphSetResourceType);
    ASSERT_FALSE(set.empty());
    const FD_GLYPHSET* header = reinterpret_cast<const FD_GLYPHSET*>(set.data());
    EXPECT_EQ(c.glyphs, header->cGlyphsSupported);
    EXPECT_EQ(c.runs, header->cRuns);
    EXPECT_EQ(c.accel, header->flAccel);
    EXPECT_EQ(set.size(), FontCheckGlyphSet(set.data(), ULONG(set.size()))) << "runs and handles fill the resource";
  }
  // Through FindResourceW the module gives the very bytes the engine gives.
  HRSRC found = FindResourceW(dll_, MAKEINTRESOURCEW(2), MAKEINTRESOURCEW(kGlyphSetResourceType));
  ASSERT_NE(nullptr, found);
  ULONG size = 0;
  EXPECT_EQ(LockResource(LoadResource(dll_, found)), EngFindResource(dll_, 2, kGlyphSetResourceType, &size));
  EXPECT_EQ(SizeofResource(dll_, found), size);
}

TEST_F(DeviceFontsTest, FacesOneToFourHaveTheirMetrics) {
  DHPDEV pdev = VectorPdev();
  ASSERT_NE(nullptr, pdev);
  ASSERT_EQ(4u, devInfo_.cFonts);
  struct Case {
    ULONG face;
    std::u16string family;
    BYTE pitchAndFamily;
    ULONG cjThis;
  } cases[] = {{1, u"明朝", 0x11, 300}, {2, u"@明朝", 0x11, 308}, {3, u"ｺﾞｼｯｸ", 0x21, 324}, {4, u"@ｺﾞｼｯｸ", 0x21, 332}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.face);
    IFIMETRICS* m = QueryFont(pdev, c.face);
    ASSERT_NE(nullptr, m);
    EXPECT_EQ(c.cjThis, m->cjThis);
    const BYTE* base = reinterpret_cast<const BYTE*>(m);
    EXPECT_EQ(c.family, std::u16string(reinterpret_cast<const char16_t*>(base + m->dpwszFamilyName)));
    EXPECT_EQ(c.family, std::u16string(reinterpret_cast<const char16_t*>(base + m->dpwszFaceName)));
    EXPECT_EQ(u"Medium", std::u16string(reinterpret_cast<const char16_t*>(base + m->dpwszStyleName)));
    EXPECT_EQ(c.pitchAndFamily, m->jWinPitchAndFamily);
    EXPECT_EQ(SHIFTJIS_CHARSET, m->jWinCharSet);
    EXPECT_EQ(400, m->usWinWeight);
    EXPECT_EQ(0x18482038u, m->flInfo);
    EXPECT_EQ(1000, m->fwdUnitsPerEm);
    EXPECT_EQ(500, m->fwdAveCharWidth);
    EXPECT_EQ(1000, m->fwdMaxCharInc);
    EXPECT_EQ(-93, m->fwdUnderscorePosition);
    EXPECT_EQ(900, m->rclFontBox.top);
    EXPECT_EQ(-100, m->rclFontBox.bottom);
    EXPECT_EQ(0x30FB, m->wcDefaultChar);
  }
  for (ULONG face : {0u, 5u}) {
    SetLastError(0);
    EXPECT_EQ(nullptr, QueryFont(pdev, face)) << face;
    EXPECT_EQ(DWORD(ERROR_INVALID_PARAMETER), GetLastError()) << face;
  }
}

TEST_F(DeviceFontsTest, FacesShareOneLoadedGlyphSetWithRebuiltRuns) {
  DHPDEV pdev = VectorPdev();
  ASSERT_NE(nullptr, pdev);
  const FD_GLYPHSET* first = static_cast<const FD_GLYPHSET*>(QueryTree(pdev, 1, QFT_GLYPHSET));
  ASSERT_NE(nullptr, first);
  for (ULONG face : {2u, 3u, 4u}) EXPECT_EQ(first, QueryTree(pdev, face, QFT_GLYPHSET)) << face;
  // The stored run pointers meant nothing: each run now points at its handles in the copy.
  const BYTE* base = reinterpret_cast<const BYTE*>(first);
  ASSERT_EQ(base + 16 + 8 * first->cRuns, reinterpret_cast<const BYTE*>(first->awcrun[0].phg));
  const WCRUN& last = first->awcrun[first->cRuns - 1];
  ASSERT_EQ(base + first->cjThis, reinterpret_cast<const BYTE*>(last.phg + last.cGlyphs));
  struct Case {
    WCHAR c;
    HGLYPH code;
  } mapped[] = {{u'A', 0x41}, {u'あ', 0x82A0}, {u'漢', 0x8ABF}, {u'ｱ', 0xB1}, {u'Ａ', 0x8260}, {u'・', 0x8145}};
  for (const Case& m : mapped) EXPECT_EQ(m.code, HandleOf(first, m.c)) << std::hex << m.c;
  EXPECT_EQ(0u, HandleOf(first, 0xE000)) << "no user-defined character";
  SetLastError(0);
  EXPECT_EQ(nullptr, QueryTree(pdev, 5, QFT_GLYPHSET));
  EXPECT_EQ(0u, GetLastError()) << "an unknown face's glyph set sets no error";
}

TEST_F(DeviceFontsTest, KerningPairsAreAnEmptyListAndOtherTreesAreRefused) {
  DHPDEV pdev = VectorPdev();
  ASSERT_NE(nullptr, pdev);
  const FD_KERNINGPAIR* pairs = static_cast<const FD_KERNINGPAIR*>(QueryTree(pdev, 1, QFT_KERNPAIRS));
  ASSERT_NE(nullptr, pairs);
  EXPECT_EQ(0, pairs[0].wcFirst | pairs[0].wcSecond | pairs[0].fwdKern) << "the end mark alone";
  SetLastError(0);
  EXPECT_EQ(nullptr, QueryTree(pdev, 1, QFT_LIGATURES));
  EXPECT_EQ(DWORD(ERROR_INVALID_PARAMETER), GetLastError());
}

TEST_F(DeviceFontsTest, AdvanceWidthsFollowTheHandleAndTheTransform) {
  DHPDEV pdev = VectorPdev();
  ASSERT_NE(nullptr, pdev);
  // 0x41 and the 0x85xx codes are half width, 0x8260 full width; 28.4 device units.
  struct Case {
    const char* what;
    XFORML xform;
    USHORT half, full;
  } cases[] = {{"identity", kIdentity, 500 * 16, 1000 * 16},
               {"scale 2", kScale2, 1000 * 16, 2000 * 16},
               {"turned 90 degrees", kTurned90, 500 * 16, 1000 * 16},
               // 4096 notional units are 832 in 28.4: 101 and 203 round to whole pixels.
               {"small", {0.0127f, 0, 0, 0.0127f, 0, 0}, 96, 208}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    std::vector<USHORT> widths;
    ASSERT_TRUE(Widths(pdev, Font(1, c.xform), QAW_GETWIDTHS, {0x41, 0x8540, 0x8640, 0x8260}, &widths));
    EXPECT_EQ((std::vector<USHORT>{c.half, c.half, c.half, c.full}), widths);
  }
  std::vector<USHORT> widths;
  EXPECT_TRUE(Widths(pdev, Font(9, kIdentity), QAW_GETWIDTHS, {}, &widths)) << "no glyphs: nothing to check";
  SetLastError(0);
  EXPECT_FALSE(Widths(pdev, Font(5, kIdentity), QAW_GETEASYWIDTHS, {0x41}, &widths));
  EXPECT_EQ(DWORD(ERROR_INVALID_PARAMETER), GetLastError());
  SetLastError(0);
  EXPECT_FALSE(Widths(pdev, Font(1, kIdentity), 7, {0x41}, &widths));
  EXPECT_EQ(DWORD(ERROR_INVALID_PARAMETER), GetLastError());
  FONTOBJ unrealised = {};
  unrealised.iFace = 1;
  EXPECT_FALSE(Widths(pdev, &unrealised, QAW_GETWIDTHS, {0x41}, &widths)) << "a font without a transform";
}

TEST_F(DeviceFontsTest, GlyphDataGivesTheAdvanceAndInkOfTheCell) {
  DHPDEV pdev = VectorPdev();
  ASSERT_NE(nullptr, pdev);
  struct Case {
    const char* what;
    XFORML xform;
    HGLYPH glyph;
    FIX d, inkTop, inkBottom;
    LONG advanceX, advanceY;
  } cases[] = {
      {"identity, full width", kIdentity, 0x8260, 16000, 14400, -1600, 16000, 0},
      {"identity, half width", kIdentity, 0x41, 8000, 14400, -1600, 8000, 0},
      {"scale 2", kScale2, 0x8260, 32000, 28800, -3200, 32000, 0},
      {"turned 90 degrees", kTurned90, 0x8260, 16000, 14400, -1600, 0, -16000},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    GLYPHDATA data;
    memset(&data, 0xCD, sizeof data);
    ASSERT_EQ(0, FontData(pdev, Font(2, c.xform), QFD_GLYPHANDBITMAP, c.glyph, &data, nullptr, 0));
    EXPECT_EQ(c.glyph, data.hg);
    EXPECT_EQ(c.d, data.fxD);
    EXPECT_EQ(0, data.fxA);
    EXPECT_EQ(c.d, data.fxAB);
    EXPECT_EQ(c.inkTop, data.fxInkTop);
    EXPECT_EQ(c.inkBottom, data.fxInkBottom);
    EXPECT_EQ(c.advanceX, data.ptqD.x.u.HighPart);
    EXPECT_EQ(c.advanceY, data.ptqD.y.u.HighPart);
    EXPECT_EQ(0u, data.ptqD.x.u.LowPart | data.ptqD.y.u.LowPart);
  }
  EXPECT_EQ(0, FontData(pdev, Font(1, kIdentity), QFD_GLYPHANDBITMAP, 0x41, nullptr, nullptr, 0)) << "nothing asked";
  SetLastError(0);
  EXPECT_EQ(LONG(FD_ERROR), FontData(pdev, Font(1, kIdentity), QFD_GLYPHANDOUTLINE, 0x41, nullptr, nullptr, 0));
  EXPECT_EQ(0u, GetLastError()) << "an outline is no error of the arguments";
  EXPECT_EQ(LONG(FD_ERROR), FontData(pdev, Font(0, kIdentity), QFD_GLYPHANDBITMAP, 0x41, nullptr, nullptr, 0));
  EXPECT_EQ(DWORD(ERROR_INVALID_PARAMETER), GetLastError());
}

TEST_F(DeviceFontsTest, MaxExtentsUnderTheTransform) {
  DHPDEV pdev = VectorPdev();
  ASSERT_NE(nullptr, pdev);
  struct Case {
    const char* what;
    XFORML xform;
    FLOATL baseX, baseY, sideX, sideY;
    ULONG cxMax;
    FIX ascender, descender;
    POINTL underline, strikeOut, thickness;
  } cases[] = {
      {"identity", kIdentity, 1, 0, 0, -1, 1000, 14400, 1600, {0, 93}, {0, -450}, {0, 46}},
      {"scale 2", kScale2, 1, 0, 0, -1, 2000, 28800, 3200, {0, 186}, {0, -900}, {0, 92}},
      {"turned 90 degrees", kTurned90, 0, -1, -1, 0, 1000, 14400, 1600, {93, 0}, {-450, 0}, {46, 0}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    FONTOBJ* font = Font(3, c.xform);
    EXPECT_EQ(LONG(sizeof(FD_DEVICEMETRICS)), FontData(pdev, font, QFD_MAXEXTENTS, 0, nullptr, nullptr, 0));
    FD_DEVICEMETRICS m;
    memset(&m, 0xCD, sizeof m);
    ASSERT_EQ(LONG(sizeof m), FontData(pdev, font, QFD_MAXEXTENTS, 0, nullptr, &m, sizeof m));
    EXPECT_EQ(0u, m.flRealizedType);
    EXPECT_FLOAT_EQ(c.baseX, m.pteBase.x);
    EXPECT_FLOAT_EQ(c.baseY, m.pteBase.y);
    EXPECT_FLOAT_EQ(c.sideX, m.pteSide.x);
    EXPECT_FLOAT_EQ(c.sideY, m.pteSide.y);
    EXPECT_EQ(c.cxMax, m.cxMax);
    EXPECT_EQ(0, m.lD) << "not a constant-width font";
    EXPECT_EQ(c.ascender, m.fxMaxAscender);
    EXPECT_EQ(c.descender, m.fxMaxDescender);
    EXPECT_EQ(c.underline.x, m.ptlUnderline1.x);
    EXPECT_EQ(c.underline.y, m.ptlUnderline1.y);
    EXPECT_EQ(c.strikeOut.x, m.ptlStrikeOut.x);
    EXPECT_EQ(c.strikeOut.y, m.ptlStrikeOut.y);
    EXPECT_EQ(c.thickness.x, m.ptlULThickness.x);
    EXPECT_EQ(c.thickness.y, m.ptlULThickness.y);
    EXPECT_EQ(c.thickness.y, m.ptlSOThickness.y);
    EXPECT_EQ(0xCDCDCDCDu, m.cyMax) << "members the driver does not give stay as they were";
  }
  // A buffer shorter than the record is refused, not overrun.
  BYTE small[100];
  SetLastError(0);
  EXPECT_EQ(LONG(FD_ERROR), FontData(pdev, Font(3, kIdentity), QFD_MAXEXTENTS, 0, nullptr, small, sizeof small));
  EXPECT_EQ(DWORD(ERROR_INSUFFICIENT_BUFFER), GetLastError());
}

TEST_F(DeviceFontsTest, DevinfoAnnouncesTheFontsThatLoaded) {
  // Driver type 1 announces none either, but no job reaches it here: the sample's model
  // record takes DEVMODEs of driver type 0 only, so a job DEVMODE of type 1 is not merged.
  struct Case {
    const char* what;
    std::vector<ItemValue> items;
    std::string resources;  // the resource image paired with zemsgr; empty: its own
    ULONG fonts;
    bool lookups;
  } cases[] = {
      {"vector mode", {{"zdmImagePrint", 0}}, "", 4, true},
      {"raster mode", {{"zdmImagePrint", 1}}, "", 0, false},
      // A DLL whose resources lack the fonts: a failed load announces none, so the engine
      // never lists faces whose every query fails.
      {"failed load", {{"zdmImagePrint", 0}}, BinDir() + "/zemsrCsXX.dll", 0, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ReloadWithResources(c.resources);
    DWORD before = SimGdiResourceLookups();
    DHPDEV pdev = EnableJob(c.items);
    ASSERT_NE(nullptr, pdev);
    EXPECT_EQ(c.fonts, devInfo_.cFonts);
    EXPECT_EQ(c.lookups, SimGdiResourceLookups() != before) << "resources read";
    SetLastError(0);
    EXPECT_EQ(c.fonts != 0, QueryFont(pdev, 1) != nullptr);
    if (!c.fonts) {
      EXPECT_EQ(DWORD(ERROR_INVALID_PARAMETER), GetLastError());
    }
    DisablePdev(pdev);
  }
}

void Put32(std::vector<BYTE>& b, size_t at, ULONG v) { memcpy(b.data() + at, &v, 4); }

// Damaged resources: every part must lie inside the bytes found, else the resource is unused.
TEST_F(DeviceFontsTest, ShortOrInconsistentResourcesAreRefused) {
  const std::vector<BYTE> font = Resource(1, kFontResourceType);
  ASSERT_EQ(font.size(), FontCheckResource(font.data(), ULONG(font.size())));
  const IFIMETRICS* ifi = reinterpret_cast<const IFIMETRICS*>(font.data() + kFontHeaderBytes);
  struct FontCase {
    const char* what;
    void (*damage)(std::vector<BYTE>&, const IFIMETRICS*);
  };
  const FontCase fontCases[] = {
      {"cut short", [](std::vector<BYTE>& b, const IFIMETRICS*) { b.resize(b.size() - 1); }},
      {"total beyond the bytes", [](std::vector<BYTE>& b, const IFIMETRICS*) { Put32(b, 0, ULONG(b.size() + 1)); }},
      {"metrics beyond the total", [](std::vector<BYTE>& b, const IFIMETRICS*) { Put32(b, 4, ULONG(b.size() - 8)); }},
      {"metrics inside the header", [](std::vector<BYTE>& b, const IFIMETRICS*) { Put32(b, 4, 60); }},
      {"cjThis beyond the total",
       [](std::vector<BYTE>& b, const IFIMETRICS*) { Put32(b, kFontHeaderBytes, ULONG(b.size())); }},
      {"name beyond the metrics",
       [](std::vector<BYTE>& b, const IFIMETRICS* m) {
         Put32(b, kFontHeaderBytes + offsetof(IFIMETRICS, dpwszFaceName), m->cjThis);
       }},
      {"name without its end",
       [](std::vector<BYTE>& b, const IFIMETRICS* m) {
         Put32(b, kFontHeaderBytes + offsetof(IFIMETRICS, dpwszFaceName), m->cjThis - 2);
         b[kFontHeaderBytes + m->cjThis - 2] = 'x';
       }},
      {"string beyond the total", [](std::vector<BYTE>& b, const IFIMETRICS*) { Put32(b, 572, ULONG(b.size())); }},
      {"last string without its end", [](std::vector<BYTE>& b, const IFIMETRICS*) { b.back() = 'x'; }},
  };
  for (const FontCase& c : fontCases) {
    std::vector<BYTE> bytes = font;
    c.damage(bytes, ifi);
    EXPECT_EQ(0u, FontCheckResource(bytes.data(), ULONG(bytes.size()))) << c.what;
  }

  const std::vector<BYTE> set = Resource(3, kGlyphSetResourceType);
  ASSERT_EQ(set.size(), FontCheckGlyphSet(set.data(), ULONG(set.size())));
  struct SetCase {
    const char* what;
    void (*damage)(std::vector<BYTE>&);
  } setCases[] = {
      {"cut short", [](std::vector<BYTE>& b) { b.resize(b.size() - 4); }},
      {"more runs than fit", [](std::vector<BYTE>& b) { Put32(b, 12, ULONG(b.size())); }},
      {"glyph count unlike the runs'", [](std::vector<BYTE>& b) { Put32(b, 8, 600); }},
      {"cjThis below the handles", [](std::vector<BYTE>& b) { Put32(b, 0, ULONG(b.size() - 4)); }},
      {"run past U+FFFF",
       [](std::vector<BYTE>& b) {
         b[16] = 0xFF, b[17] = 0xFF;  // the first run starts at U+FFFF with more than one glyph
         b[18] = 2, b[19] = 0;
       }},
  };
  for (const SetCase& c : setCases) {
    std::vector<BYTE> bytes = set;
    c.damage(bytes);
    EXPECT_EQ(0u, FontCheckGlyphSet(bytes.data(), ULONG(bytes.size()))) << c.what;
  }
}

TEST_F(DeviceFontsTest, SessionLaysOutTextInADeviceFont) {
  winsim::PrintSessionResult r = RunScript(
      "doc \"fonts\"\npage\nfont \"明朝\" device=1 size=100\ntext 100 200 \"Aあ\"\n"
      "font \"ｺﾞｼｯｸ\" device=3 size=50 angle=90\ntext 300 400 \"AB\"\nendpage\nenddoc\n");
  ASSERT_TRUE(r.ok) << r.error;
  auto has = [&](const std::string& line) {
    for (const std::string& l : r.trace)
      if (l == line) return true;
    return false;
  };
  EXPECT_TRUE(has("DrvGetGlyphMode 1 -> 1"));
  EXPECT_TRUE(has("DrvQueryFontData 1 max extents -> 124 cxMax 100 ascender 1440 descender 160"));
  EXPECT_TRUE(has("DrvQueryAdvanceWidths 2 glyphs -> TRUE 800,1600"));
  EXPECT_TRUE(has("DrvTextOut device font 1 at 100,200 150,200 -> TRUE"));
  EXPECT_TRUE(has("DrvTextOut device font 3 at 300,400 300,375 -> TRUE")) << "the baseline turned up the page";

  struct Case {
    std::vector<ItemValue> items;
    const char* script;
    const char* error;
  } refused[] = {
      {{}, "font \"x\" device=5\n", "line 1: font device=5: the driver announces 4 device fonts"},
  };
  for (const Case& c : refused) {
    winsim::PrintSessionResult bad = RunScript(c.script);
    EXPECT_FALSE(bad.ok);
    EXPECT_EQ(c.error, bad.error);
  }
  winsim::PrintSessionOptions raster;
  raster.settings = {{"zdmImagePrint", "1"}};
  winsim::PrintSessionResult bad = RunScript("font \"x\" device=1\n", raster);
  EXPECT_EQ("line 1: font device=1: the driver announces 0 device fonts", bad.error) << "raster mode has none";
}

}  // namespace
}  // namespace zems_test
