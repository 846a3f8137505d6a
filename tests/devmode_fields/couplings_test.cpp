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
