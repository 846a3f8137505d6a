// Couplings between the public fields and the private items: the duplex field, the paper
// items in dots for custom and standard papers, and the user macro's quality list.
#include <gtest/gtest.h>

#include <string>

#include "core/devmode/couplings.h"
#include "devmode_fields/paper_items_fixture.h"

namespace zems_test {
namespace {

constexpr char kGeometryModel[] = "tests/fixtures/model/paper_geometry.zmd";

using CouplingsTest = PaperItemsTest;

TEST_F(CouplingsTest, DuplexFieldFromTheDuplexItems) {
  struct Case {
    const char* what;
    LONG duplexOn;
    LONG type;
    short orientation;
    LONG customFunc0;
    short before;
    short expected;
  };
  const Case cases[] = {
      {"duplex off, whatever the type", 0, 17, 1, 0, 2, DMDUP_SIMPLEX},
      {"booklet top binding in portrait", 1, 17, 1, 0, 1, DMDUP_HORIZONTAL},
      {"booklet top binding in landscape", 1, 17, 2, 0, 1, DMDUP_VERTICAL},
      {"right binding in portrait", 1, 2, 1, 0, 1, DMDUP_VERTICAL},
      {"right binding in landscape", 1, 2, 2, 0, 1, DMDUP_HORIZONTAL},
      {"no type", 1, 0, 1, 0, 2, DMDUP_SIMPLEX},
      {"custom function 0 keeps a one-sided field", 1, 17, 1, 1, DMDUP_SIMPLEX, DMDUP_SIMPLEX},
      {"custom function 0 with a two-sided field", 1, 17, 1, 1, DMDUP_VERTICAL, DMDUP_HORIZONTAL},
  };
  for (const Case& c : cases) {
    Set(kItem_zdmFuncSelectDuplex, c.duplexOn);
    Set(kItem_zdmDuplexType, c.type);
    Set(kItem_wdmCustomFunc0, c.customFunc0);
    Dm()->dmOrientation = c.orientation;
    Dm()->dmDuplex = c.before;
    DmSetDuplexField(Dm(), ctx());
    EXPECT_EQ(c.expected, Dm()->dmDuplex) << c.what;
  }
}

TEST_F(CouplingsTest, StandardInputPaperTakesItsPageRecord) {
  ASSERT_TRUE(UseModel());
  Set(kItem_zdmDstResolutionW, 1200);
  Set(kItem_dmOrientation, 2);
  Set(kItem_dmPaperSize, Stored("DMPAPERSIZE_A4"));
  Dm()->dmFields = DM_PAPERLENGTH | DM_PAPERWIDTH;
  DmApplyInputPaper(Dm()->dmPaperSize, kItem_dmPaperSize, ctx(), Dm());
  // Sample: A4 at 1200 dpi in landscape is "198 198 13635 9525 14031 9921".
  EXPECT_EQ(9921, Get(kItem_zdmSrcPaperLengthDot));
  EXPECT_EQ(14031, Get(kItem_zdmSrcPaperWidthDot));
  EXPECT_EQ(9525, Get(kItem_zdmSrcPaperPrnLengthDot));
  EXPECT_EQ(13635, Get(kItem_zdmSrcPaperPrnWidthDot));
  EXPECT_EQ(198, Get(kItem_zdmSrcXOffset));
  EXPECT_EQ(198, Get(kItem_zdmSrcYOffset));
  EXPECT_EQ(2100, Dm()->dmPaperLength) << "the DEVMODE takes the extents as landscape sees them";
  EXPECT_EQ(2970, Dm()->dmPaperWidth);
  EXPECT_EQ(static_cast<DWORD>(DM_PAPERSIZE), Dm()->dmFields);
}

// Output paper 1024 follows the input paper: a custom one is copied item by item, a standard
// one computed for that paper at the destination resolution.
TEST_F(CouplingsTest, OutputPaperFollowingTheInput) {
  ASSERT_TRUE(UseModel());
  Set(kItem_zdmDstResolutionW, 600);
  Set(kItem_zdmDstResolutionH, 600);
  Set(kItem_dmOrientation, 1);
  const WORD src[] = {kItem_zdmSrcPaperLengthDot, kItem_zdmSrcPaperWidthDot, kItem_zdmSrcPaperPrnLengthDot,
                      kItem_zdmSrcPaperPrnWidthDot, kItem_zdmSrcXOffset, kItem_zdmSrcYOffset};
  const WORD dst[] = {kItem_zdmDstPaperLengthDot, kItem_zdmDstPaperWidthDot, kItem_zdmDstPaperPrnLengthDot,
                      kItem_zdmDstPaperPrnWidthDot, kItem_zdmDstXOffset, kItem_zdmDstYOffset};
  for (int i = 0; i < 6; ++i) Set(src[i], 1000 + i);
  Set(kItem_zdmOutPaperSize, 1024);
  Set(kItem_dmPaperSize, DMPAPER_USER);
  DmApplyOutputPaper(1024, kItem_zdmOutPaperSize, ctx(), Dm());
  for (int i = 0; i < 6; ++i) EXPECT_EQ(1000 + i, Get(dst[i])) << "custom input: item " << dst[i] << " copied";

  Set(kItem_dmPaperSize, Stored("DMPAPERSIZE_A4"));
  DmApplyOutputPaper(1024, kItem_zdmOutPaperSize, ctx(), Dm());
  // Sample: A4 at 600 dpi in portrait is "99 99 4763 6818 4961 7016".
  const LONG expected[] = {7016, 4961, 6818, 4763, 99, 99};
  for (int i = 0; i < 6; ++i) EXPECT_EQ(expected[i], Get(dst[i])) << "standard input: item " << dst[i];
  EXPECT_EQ(2970, Get(kItem_zdmDstPaperLengthMM));
  EXPECT_EQ(2100, Get(kItem_zdmDstPaperWidthMM));
}

// An output paper of its own: the custom print size in dots, the length at the vertical and
// the width at the horizontal resolution, its axes exchanged by the oriented form in landscape
// only; a standard paper from its page record.
TEST_F(CouplingsTest, OutputPaperOfItsOwn) {
  ASSERT_TRUE(UseModel());
  struct Case {
    const char* what;
    const char* paper;
    bool oriented;
    short orientation;
    LONG xDpi, yDpi;
    LONG expected[6];
  };
  // The print size is 2400 wide and 4800 long (1/1200 inch); the sample has no page record
  // for it, so its margins are 0.
  const Case cases[] = {
      {"custom print size", "ZDMOUTPAPERSIZE_CUSTOMOUT", false, 1, 300, 1200, {4800, 600, 4800, 600, 0, 0}},
      {"custom print size in landscape, plain form", "ZDMOUTPAPERSIZE_CUSTOMOUT", false, 2, 300, 1200,
       {4800, 600, 4800, 600, 0, 0}},
      {"custom print size, oriented form in portrait", "ZDMOUTPAPERSIZE_CUSTOMOUT", true, 1, 300, 1200,
       {4800, 600, 4800, 600, 0, 0}},
      {"custom print size, oriented form in landscape", "ZDMOUTPAPERSIZE_CUSTOMOUT", true, 2, 300, 1200,
       {2400, 1200, 2400, 1200, 0, 0}},
      // Sample: A4 at 600 dpi in portrait is "99 99 4763 6818 4961 7016".
      {"A4", "ZDMOUTPAPERSIZE_A4", false, 1, 600, 600, {7016, 4961, 6818, 4763, 99, 99}},
  };
  const WORD dst[] = {kItem_zdmDstPaperLengthDot, kItem_zdmDstPaperWidthDot, kItem_zdmDstPaperPrnLengthDot,
                      kItem_zdmDstPaperPrnWidthDot, kItem_zdmDstXOffset, kItem_zdmDstYOffset};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Set(kItem_zdmPrintFreeSizeWidth, 2400);
    Set(kItem_zdmPrintFreeSizeLength, 4800);
    Set(kItem_zdmDstResolutionW, c.xDpi);
    Set(kItem_zdmDstResolutionH, c.yDpi);
    Set(kItem_dmOrientation, c.orientation);
    Set(kItem_dmPaperSize, Stored("DMPAPERSIZE_A4"));
    for (WORD id : dst) Set(id, 7);
    const LONG code = Stored(c.paper);
    Set(kItem_zdmOutPaperSize, code);
    if (c.oriented)
      DmApplyOutputPaperOriented(static_cast<short>(code), kItem_zdmOutPaperSize, ctx(), Dm());
    else
      DmApplyOutputPaper(static_cast<short>(code), kItem_zdmOutPaperSize, ctx(), Dm());
    for (int i = 0; i < 6; ++i) EXPECT_EQ(c.expected[i], Get(dst[i])) << "item " << dst[i];
  }
}

// The tray of a custom size's slot (the user paper's, slot 10): returned, written into
// dmDefaultSource, or neither.
TEST_F(CouplingsTest, CustomPaperTray) {
  ASSERT_TRUE(UseModel());
  ASSERT_NE(PaperSlot(), nullptr);
  struct Case {
    const char* what;
    LONG code;
    int mode;
    LONG result;
    LONG source;  // dmDefaultSource afterwards (15 before)
  };
  const Case cases[] = {
      {"mode 0 returns the tray", DMPAPER_USER, 0, 7, 15},
      {"mode 1 writes it", DMPAPER_USER, 1, 1, 7},
      {"mode 2 does neither", DMPAPER_USER, 2, 0, 15},
      {"a standard paper has none", 9, 1, 0, 15},
  };
  for (const Case& c : cases) {
    Ui()->freeSizes[10].tray = 7;
    Set(kItem_dmDefaultSource, 15);
    EXPECT_EQ(c.result, DmCustomPaperTray(ctx(), c.code, c.mode)) << c.what;
    EXPECT_EQ(c.source, Get(kItem_dmDefaultSource)) << c.what;
  }
}

// The print quality gives the resolutions and, unless the user's macro is on, the balance
// macro: 17 for the standard resolutions, 18 for any other.
TEST_F(CouplingsTest, ResolutionsAndBalanceMacroFromTheQuality) {
  struct Case {
    LONG quality;
    LONG userMacro;
    LONG balance;  // 5 before
  };
  const Case cases[] = {{200, 0, 17}, {300, 0, 17}, {400, 0, 17}, {600, 0, 17},
                        {1200, 0, 18}, {150, 0, 18}, {600, 1, 5},  {1200, 1, 5}};
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.quality << " user macro " << c.userMacro);
    Set(kItem_zdmUseUserMacro, c.userMacro);
    Set(kItem_zdmBalanceMacro, 5);
    Set(kItem_dmPrintQuality, c.quality);
    DmSyncResolutionFromQuality(Dm(), ctx());
    EXPECT_EQ(c.quality, Get(kItem_dmYResolution));
    EXPECT_EQ(c.quality, Get(kItem_zdmDstResolutionW));
    EXPECT_EQ(c.quality, Get(kItem_zdmDstResolutionH));
    EXPECT_EQ(c.balance, Get(kItem_zdmBalanceMacro));
  }
}

// A paper given by its size in 0.1 mm: dots at the print quality, margins from the custom
// size's page record, and no printable extent below 0 for a paper smaller than its margins.
TEST_F(CouplingsTest, PaperDotsFromSize) {
  struct Case {
    const char* what;
    const char* model;  // null: the sample, which has no page record for the custom size
    short length;
    short width;
    LONG expected[6];
  };
  const Case cases[] = {
      {"no page record: margins 0", nullptr, 2970, 2100, {7015, 4960, 7015, 4960, 0, 0}},
      {"page record margins", kGeometryModel, 2970, 2100, {7015, 4960, 6215, 4360, 300, 400}},
      {"smaller than twice its margins", kGeometryModel, 30, 20, {70, 47, 0, 0, 300, 400}},
      {"negative fields count as 0", nullptr, -5, -5, {0, 0, 0, 0, 0, 0}},
  };
  const WORD ids[] = {kItem_zdmSrcPaperLengthDot, kItem_zdmSrcPaperWidthDot, kItem_zdmSrcPaperPrnLengthDot,
                      kItem_zdmSrcPaperPrnWidthDot, kItem_zdmSrcXOffset, kItem_zdmSrcYOffset};
  for (const Case& c : cases) {
    ASSERT_TRUE(UseModel(c.model)) << c.what;
    Set(kItem_dmPrintQuality, 600);
    Set(kItem_zdmDstResolutionW, 600);
    Set(kItem_dmOrientation, 1);
    Dm()->dmPaperLength = c.length;
    Dm()->dmPaperWidth = c.width;
    DmSetPaperDotsFromSize(Dm(), ctx());
    for (int i = 0; i < 6; ++i) EXPECT_EQ(c.expected[i], Get(ids[i])) << c.what << ", item " << ids[i];
  }
}

TEST_F(CouplingsTest, UserMacroQualityListKey) {
  struct Case {
    const char* what;
    LONG useMacro;
    LONG macro;
    int listsOnly;
    const char* key;  // null: no list
  };
  const Case cases[] = {
      {"macro 160", 1, 160, 0, "QualityList128"},
      {"macro 33", 1, 33, 0, "QualityList1"},
      {"macro 39", 1, 39, 0, "QualityList7"},
      {"exclusion DLL: macro 160 has no list", 1, 160, 1, nullptr},
      {"exclusion DLL: macro 32", 1, 32, 1, "QualityList0"},
      {"macro 40", 1, 40, 0, nullptr},
      {"user macro off", 0, 33, 0, nullptr},
  };
  for (const Case& c : cases) {
    TestVariant().userMacroListsOnly = c.listsOnly;
    Set(kItem_zdmUseUserMacro, c.useMacro);
    Set(kItem_zdmUserPrintMacro, c.macro);
    WCHAR key[16] = {};
    int has = DmUserMacroQualityKey(ctx(), key);
    EXPECT_EQ(c.key ? 1 : 0, has) << c.what;
    if (c.key && has) {
      std::string narrow;
      for (const WCHAR* p = key; *p; ++p) narrow += static_cast<char>(*p);
      EXPECT_EQ(c.key, narrow) << c.what;
    }
  }
}

// Custom input papers take their size from the custom-size slot of the paper size.
TEST_F(CouplingsTest, CustomInputPaper) {
  ASSERT_TRUE(UseModel());
  ASSERT_NE(PaperSlot(), nullptr) << "the custom-size slot of the paper size";
  struct Case {
    const char* what;
    bool recordRange;
    LONG width;
    LONG length;
    LONG oversize;
    short fieldLength;  // -1: not checked
    DWORD fields;
  };
  const Case cases[] = {
      {"160000 long without a record range: oversize", false, 6000, 160000, 1, 0, DM_PAPERSIZE},
      {"160000 long with this build's range: clamped", true, 6000, 160000, 0, -1,
       DM_PAPERSIZE | DM_PAPERLENGTH | DM_PAPERWIDTH},
  };
  for (const Case& c : cases) {
    ModelRecord* record = Model();
    *record = *TblGetModelRecord();
    if (!c.recordRange) record->customWidthMin = record->customWidthMax = record->customLengthMin =
        record->customLengthMax = 0;
    Set(kItem_zdmPaperFreeSizeWidth, c.width);
    Set(kItem_zdmPaperFreeSizeLength, c.length);
    Set(kItem_zdmDstResolutionW, 600);
    Dm()->dmFields = 0;
    DmApplyInputPaper(DMPAPER_USER, kItem_dmPaperSize, ctx(), Dm());
    EXPECT_EQ(c.oversize, Get(kItem_zdmFuncSelectFreeShortOver)) << c.what;
    EXPECT_EQ(c.fields, Dm()->dmFields) << c.what;
    if (c.fieldLength >= 0) {
      EXPECT_EQ(c.fieldLength, Dm()->dmPaperLength) << c.what;
    }
    if (c.recordRange) {
      EXPECT_LE(Get(kItem_zdmSrcPaperLengthDot), 42518 * 600 / 1200) << c.what;
      EXPECT_GT(Get(kItem_zdmSrcPaperLengthDot), 42000 * 600 / 1200) << c.what;
    }
  }
  // A width below the minimum is raised to it before the dots are computed.
  Set(kItem_zdmPaperFreeSizeWidth, 1000);
  Set(kItem_zdmPaperFreeSizeLength, 10000);
  DmApplyInputPaper(DMPAPER_USER, kItem_dmPaperSize, ctx(), Dm());
  EXPECT_GE(Get(kItem_zdmSrcPaperWidthDot), 4250 * 600 / 1200);
  EXPECT_LT(Get(kItem_zdmSrcPaperWidthDot), 4300 * 600 / 1200);
  // The graphics DLL exchanges a custom size in landscape in every call.
  TestVariant().inputPaperSwapAlways = 1;
  Dm()->dmOrientation = 2;
  DmApplyInputPaper(DMPAPER_USER, kItem_dmPaperSize, ctx(), Dm());
  EXPECT_EQ(10000 * 600 / 1200, Get(kItem_zdmSrcPaperWidthDot));
  // The exclusion DLL exchanges the dot items only: the DEVMODE keeps the portrait order.
  TestVariant().inputPaperSwapAlways = 0;
  TestVariant().paperFieldsPortrait = 1;
  DmApplyInputPaperOriented(DMPAPER_USER, kItem_dmPaperSize, ctx(), Dm());
  EXPECT_EQ(10000 * 600 / 1200, Get(kItem_zdmSrcPaperWidthDot));
  EXPECT_GT(Dm()->dmPaperLength, Dm()->dmPaperWidth);
}

}  // namespace
}  // namespace zems_test
