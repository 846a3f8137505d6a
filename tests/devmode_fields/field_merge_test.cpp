// Merging a caller's public fields into the context's DEVMODE, and carrying them into the
// private items.
#include <gtest/gtest.h>

#include <string.h>

#include <string>

#include "core/devmode/dm_merge.h"
#include "core/devmode/field_merge.h"
#include "devmode_fields/paper_items_fixture.h"

namespace zems_test {
namespace {

constexpr char kGeometryModel[] = "tests/fixtures/model/paper_geometry.zmd";

class FieldMergeTest : public PaperItemsTest {
 protected:
  DEVMODEW Incoming(DWORD fields) {
    DEVMODEW in = {};
    in.dmSize = sizeof in;
    in.dmFields = fields;
    return in;
  }
  void Merge(const DEVMODEW& in) { DmMergePublicFields(Dm(), &in, ctx()); }
  void MergeAndApply(const DEVMODEW& in) {
    DmMergePublicFields(Dm(), &in, ctx());
    DmApplyPublicFieldsToItems(Dm(), &in, ctx());
  }
  static void SetName(WCHAR* field, const char* text) {
    size_t i = 0;
    for (; text[i] && i < CCHFORMNAME - 1; ++i) field[i] = static_cast<WCHAR>(text[i]);
    field[i] = 0;
  }
  static std::string Name(const WCHAR* field) {
    std::string s;
    for (; *field; ++field) s += static_cast<char>(*field);
    return s;
  }
};

// dmPaperSize 256 with a positive size is a paper by dimensions even when only DM_PAPERSIZE
// is flagged: the custom paper items get the size in 1/1200 inch.
TEST_F(FieldMergeTest, CustomCodeIsAPaperByDimensions) {
  DEVMODEW in = Incoming(DM_PAPERSIZE);
  in.dmPaperSize = DMPAPER_USER;
  in.dmPaperLength = 2000;
  in.dmPaperWidth = 1000;
  Merge(in);
  EXPECT_EQ(4724, Get(kItem_zdmPaperFreeSizeWidth));
  EXPECT_EQ(9448, Get(kItem_zdmPaperFreeSizeLength));
  EXPECT_EQ(static_cast<DWORD>(DM_PAPERLENGTH | DM_PAPERWIDTH),
            Dm()->dmFields & (DM_PAPERSIZE | DM_PAPERLENGTH | DM_PAPERWIDTH));
  EXPECT_EQ(2000, Dm()->dmPaperLength);
  EXPECT_EQ(1000, Dm()->dmPaperWidth);
}

// Sizes of 0 or less describe no paper: the context keeps its own length and width.
TEST_F(FieldMergeTest, ZeroAndNegativeSizesAreNotTaken) {
  const short sizes[][2] = {{0, 0}, {-10, -10}, {0, 1000}, {2000, -1}};
  for (const auto& size : sizes) {
    Dm()->dmPaperLength = 1234;
    Dm()->dmPaperWidth = 567;
    Set(kItem_zdmPaperFreeSizeWidth, 0);
    DEVMODEW in = Incoming(DM_PAPERLENGTH | DM_PAPERWIDTH);
    in.dmPaperLength = size[0];
    in.dmPaperWidth = size[1];
    Merge(in);
    EXPECT_EQ(size[0] > 0 ? size[0] : 1234, Dm()->dmPaperLength) << size[0] << " x " << size[1];
    EXPECT_EQ(size[1] > 0 ? size[1] : 567, Dm()->dmPaperWidth) << size[0] << " x " << size[1];
    EXPECT_EQ(0, Get(kItem_zdmPaperFreeSizeWidth)) << "not a paper by dimensions";
  }
}

TEST_F(FieldMergeTest, ScaleCopiesAndQuality) {
  struct Case {
    const char* what;
    DWORD field;
    short value;
    short expected;
    bool bitAfter;
  };
  const Case cases[] = {
      {"scale 1500: the record's scale", DM_SCALE, 1500, 100, false},
      {"scale 50 stays, the bit still goes", DM_SCALE, 50, 50, false},
      {"copies 0: the record's", DM_COPIES, 0, 1, true},
      {"copies 1000: above the range", DM_COPIES, 1000, 1, true},
      {"copies 5", DM_COPIES, 5, 5, true},
      {"quality -4: the record's", DM_PRINTQUALITY, -4, 600, true},
      {"quality -1: the record's", DM_PRINTQUALITY, -1, 600, true},
      {"quality 1200", DM_PRINTQUALITY, 1200, 1200, true},
  };
  for (const Case& c : cases) {
    Dm()->dmFields = 0;
    DEVMODEW in = Incoming(c.field);
    short* field = c.field == DM_SCALE ? &in.dmScale : c.field == DM_COPIES ? &in.dmCopies : &in.dmPrintQuality;
    *field = c.value;
    Merge(in);
    const short* result = c.field == DM_SCALE    ? &Dm()->dmScale
                          : c.field == DM_COPIES ? &Dm()->dmCopies
                                                 : &Dm()->dmPrintQuality;
    EXPECT_EQ(c.expected, *result) << c.what;
    EXPECT_EQ(c.bitAfter, (Dm()->dmFields & c.field) != 0) << c.what;
  }
}

TEST_F(FieldMergeTest, YResolutionFollowsTheQuality) {
  DEVMODEW in = Incoming(DM_PRINTQUALITY | DM_YRESOLUTION);
  in.dmPrintQuality = 1200;
  in.dmYResolution = 300;
  Merge(in);
  EXPECT_EQ(1200, Dm()->dmYResolution);
  EXPECT_NE(0u, Dm()->dmFields & DM_YRESOLUTION);
  Merge(Incoming(0));
  EXPECT_EQ(Dm()->dmPrintQuality, Dm()->dmYResolution) << "also when the caller gives no quality";
}

// A page too large for 1200 dpi in the command mode is merged at 600 dpi, unless the merge
// comes from a settings file.
TEST_F(FieldMergeTest, ResolutionCapAppliesToTheQuality) {
  for (DWORD flags : {0u, 0x10000000u}) {
    Ui()->mergeFlags = flags;
    Set(kItem_zdmLoadShare, 16);
    Set(kItem_zdmOutPaperSize, 9);
    Set(kItem_zdmDstPaperWidthDot, 20000);
    Set(kItem_zdmDstPaperLengthDot, 30709);
    Set(kItem_zdmSrcPaperWidthDot, 20000);
    Set(kItem_zdmSrcPaperLengthDot, 20000);
    DEVMODEW in = Incoming(DM_PRINTQUALITY);
    in.dmPrintQuality = 1200;
    Merge(in);
    EXPECT_EQ(flags ? 1200 : 600, Dm()->dmPrintQuality) << std::hex << flags;
    EXPECT_EQ(Dm()->dmPrintQuality, Dm()->dmYResolution);
  }
}

TEST_F(FieldMergeTest, FormNameAlone) {
  struct Case {
    const char* what;
    const char* own;
    const char* incoming;
    const char* expected;
    bool bit;
  };
  const Case cases[] = {
      {"a named form is replaced", "A4", "Letter", "Letter", true},
      {"an empty name is never filled", "", "Letter", "", false},
      {"an empty incoming name empties it", "A4", "", "", false},
  };
  for (const Case& c : cases) {
    SetName(Dm()->dmFormName, c.own);
    Dm()->dmFields = DM_FORMNAME;
    DEVMODEW in = Incoming(DM_FORMNAME);
    SetName(in.dmFormName, c.incoming);
    Merge(in);
    EXPECT_EQ(c.expected, Name(Dm()->dmFormName)) << c.what;
    EXPECT_EQ(c.bit, (Dm()->dmFields & DM_FORMNAME) != 0) << c.what;
  }
}

// Duplex binding in the items follows the public duplex field and the orientation. The model
// describes duplex with every binding, so the repair sweep that ends the merge keeps them.
TEST_F(FieldMergeTest, DuplexBindingRewrite) {
  ASSERT_TRUE(UseModel(kGeometryModel));
  struct Case {
    const char* what;
    LONG duplexOn;
    LONG type;
    short orientation;
    short duplex;
    LONG customFunc0;
    LONG duplexAfter;
    LONG typeAfter;
  };
  const Case cases[] = {
      {"booklet left, long edge in portrait: booklet top", 1, 19, 1, DMDUP_HORIZONTAL, 0, 1, 17},
      {"booklet left, short edge in landscape: booklet top", 1, 19, 2, DMDUP_VERTICAL, 0, 1, 17},
      {"booklet top, long edge in landscape: booklet left", 1, 17, 2, DMDUP_HORIZONTAL, 0, 1, 19},
      {"booklet A top, side binding in portrait", 1, 20, 1, DMDUP_VERTICAL, 0, 1, 22},
      {"right binding asked to the top", 1, 2, 1, DMDUP_HORIZONTAL, 0, 1, 1},
      {"duplex off, side binding in portrait", 0, 0, 1, DMDUP_VERTICAL, 0, 1, 3},
      {"duplex off, top binding in landscape", 0, 0, 2, DMDUP_VERTICAL, 0, 1, 1},
      {"simplex switches duplex off", 1, 3, 1, DMDUP_SIMPLEX, 0, 0, 3},
      {"simplex with custom function 0", 1, 3, 1, DMDUP_SIMPLEX, 1, 1, 3},
  };
  for (const Case& c : cases) {
    Set(kItem_zdmFuncSelectDuplex, c.duplexOn);
    Set(kItem_zdmDuplexType, c.type);
    Set(kItem_wdmCustomFunc0, c.customFunc0);
    Dm()->dmOrientation = c.orientation;
    Dm()->dmDuplex = c.duplex;
    Dm()->dmFields = DM_DUPLEX;
    DEVMODEW in = Incoming(DM_DUPLEX);
    DmApplyPublicFieldsToItems(Dm(), &in, ctx());
    EXPECT_EQ(c.duplexAfter, Get(kItem_zdmFuncSelectDuplex)) << c.what;
    EXPECT_EQ(c.typeAfter, Get(kItem_zdmDuplexType)) << c.what;
  }
}

// The graphics DLL keeps a caller's explicit size with a slot paper code; the shared merge
// takes the slot's size by the code.
TEST_F(FieldMergeTest, GraphicsKeepsAnExplicitSizeWithASlotCode) {
  for (int graphics : {1, 0}) {
    TestVariant().mergeKeepsExplicitSize = graphics;
    Set(kItem_zdmPaperFreeSizeWidth, 0);
    Set(kItem_zdmPaperFreeSizeLength, 0);
    Dm()->dmFields = 0;
    DEVMODEW in = Incoming(DM_PAPERSIZE | DM_PAPERLENGTH | DM_PAPERWIDTH);
    in.dmPaperSize = 384;
    in.dmPaperLength = 2000;
    in.dmPaperWidth = 1000;
    Merge(in);
    if (graphics) {
      EXPECT_EQ(4724, Get(kItem_zdmPaperFreeSizeWidth));
      EXPECT_EQ(9448, Get(kItem_zdmPaperFreeSizeLength));
      EXPECT_EQ(2000, Dm()->dmPaperLength);
      EXPECT_EQ(1000, Dm()->dmPaperWidth);
    } else {
      EXPECT_EQ(0, Get(kItem_zdmPaperFreeSizeWidth)) << "a paper by code";
      EXPECT_NE(0u, Dm()->dmFields & DM_PAPERSIZE);
    }
  }
}

// The graphics DLL: turning a custom size to landscape exchanges its length and width in the
// custom paper items; the shared merge leaves a custom size as it is.
TEST_F(FieldMergeTest, GraphicsLandscapeExchangesACustomSize) {
  for (int graphics : {1, 0}) {
    TestVariant().mergeKeepsExplicitSize = graphics;
    Set(kItem_zdmPaperFreeSizeWidth, 0);
    Set(kItem_zdmPaperFreeSizeLength, 0);
    Dm()->dmFields = DM_PAPERLENGTH | DM_PAPERWIDTH;
    Dm()->dmPaperSize = DMPAPER_USER;
    Dm()->dmPaperLength = 2000;
    Dm()->dmPaperWidth = 1000;
    DEVMODEW in = Incoming(DM_ORIENTATION);
    in.dmOrientation = 2;
    Merge(in);
    EXPECT_EQ(graphics ? 9448 : 0, Get(kItem_zdmPaperFreeSizeWidth)) << graphics;
    EXPECT_EQ(graphics ? 4724 : 0, Get(kItem_zdmPaperFreeSizeLength)) << graphics;
    EXPECT_EQ(2000, Dm()->dmPaperLength) << "the fields keep the caller's order";
  }
}

// A caller's paper smaller than twice the custom size's margins has no printable area.
TEST_F(FieldMergeTest, SmallPaperHasNoPrintableExtent) {
  ASSERT_TRUE(UseModel(kGeometryModel));
  Set(kItem_zdmOutPaperSize, 1024);
  DEVMODEW in = Incoming(DM_PAPERSIZE | DM_PAPERLENGTH | DM_PAPERWIDTH | DM_PRINTQUALITY | DM_ORIENTATION);
  in.dmOrientation = 1;
  in.dmPaperSize = DMPAPER_USER;
  in.dmPaperLength = 30;
  in.dmPaperWidth = 20;
  in.dmPrintQuality = 600;
  MergeAndApply(in);
  EXPECT_EQ(70, Get(kItem_zdmSrcPaperLengthDot));
  EXPECT_EQ(0, Get(kItem_zdmSrcPaperPrnLengthDot));
  EXPECT_EQ(0, Get(kItem_zdmSrcPaperPrnWidthDot));
  EXPECT_EQ(300, Get(kItem_zdmSrcXOffset));
}

class SampleMergeTest : public FieldMergeTest {
 protected:
  void SetUp() override {
    FieldMergeTest::SetUp();
    ASSERT_TRUE(UseModel());
    Set(kItem_zdmOutPaperSize, 1024);
  }
};

// A4 landscape at 1200 dpi, short-edge duplex, 2 copies: the paper items are the sample's
// 1200-dpi landscape A4 record "198 198 13635 9525 14031 9921" for input and output.
TEST_F(SampleMergeTest, CallerDevmodeReachesThePaperAndDuplexItems) {
  DEVMODEW in = Incoming(DM_ORIENTATION | DM_PAPERSIZE | DM_PRINTQUALITY | DM_DUPLEX | DM_COPIES);
  in.dmOrientation = 2;
  in.dmPaperSize = static_cast<short>(Stored("DMPAPERSIZE_A4"));
  in.dmPrintQuality = 1200;
  in.dmDuplex = DMDUP_VERTICAL;
  in.dmCopies = 2;
  MergeAndApply(in);
  const LONG expected[] = {9921, 14031, 9525, 13635, 198, 198};
  const WORD src[] = {kItem_zdmSrcPaperLengthDot, kItem_zdmSrcPaperWidthDot, kItem_zdmSrcPaperPrnLengthDot,
                      kItem_zdmSrcPaperPrnWidthDot, kItem_zdmSrcXOffset, kItem_zdmSrcYOffset};
  const WORD dst[] = {kItem_zdmDstPaperLengthDot, kItem_zdmDstPaperWidthDot, kItem_zdmDstPaperPrnLengthDot,
                      kItem_zdmDstPaperPrnWidthDot, kItem_zdmDstXOffset, kItem_zdmDstYOffset};
  for (int i = 0; i < 6; ++i) {
    EXPECT_EQ(expected[i], Get(src[i])) << "item " << src[i];
    EXPECT_EQ(expected[i], Get(dst[i])) << "item " << dst[i];
  }
  EXPECT_EQ(1, Get(kItem_zdmFuncSelectDuplex));
  EXPECT_EQ(1, Get(kItem_zdmDuplexType)) << "short edge in landscape binds at the top";
  EXPECT_EQ(1200, Dm()->dmYResolution);
  EXPECT_EQ(1200, Get(kItem_zdmDstResolutionW));
  EXPECT_EQ(2, Dm()->dmCopies);
}

// The extended print area's record stands before the plain one, so it is found first.
TEST_F(SampleMergeTest, ExtendedPrintAreaTakesTheLargerArea) {
  ItemSetRawById(ctx(), ItemFindByName(ctx(), u"zdmExtPrintArea")->id, Stored("ZDMEXTPRINTAREA_EXTENDED"));
  DEVMODEW in = Incoming(DM_ORIENTATION | DM_PAPERSIZE | DM_PRINTQUALITY);
  in.dmOrientation = 1;
  in.dmPaperSize = static_cast<short>(Stored("DMPAPERSIZE_A4"));
  in.dmPrintQuality = 600;
  MergeAndApply(in);
  // Sample: "50 50 4861 6916 4961 7016".
  EXPECT_EQ(6916, Get(kItem_zdmSrcPaperPrnLengthDot));
  EXPECT_EQ(4861, Get(kItem_zdmSrcPaperPrnWidthDot));
  EXPECT_EQ(50, Get(kItem_zdmSrcXOffset));
}

// Whatever a caller sends, the printable extents never exceed the paper extents.
TEST_F(SampleMergeTest, PrintableExtentsStayWithinThePaper) {
  const short papers[] = {0, 1, 8, 9, 11, 37, 256, 384, 448, -3, 999};
  const short sizes[] = {-1, 0, 1, 30, 2100, 2970, 32767};
  const short qualities[] = {-4, 0, 300, 600, 1200, 2400};
  unsigned seed = 12345;
  auto next = [&seed](unsigned n) {
    seed = seed * 1103515245u + 12345u;
    return (seed >> 16) % n;
  };
  for (int run = 0; run < 2000; ++run) {
    DEVMODEW in = Incoming(static_cast<DWORD>(next(0x10000)) | (next(2) ? DM_PAPERSIZE : 0));
    in.dmOrientation = static_cast<short>(next(4));
    in.dmPaperSize = papers[next(sizeof papers / sizeof papers[0])];
    in.dmPaperLength = sizes[next(sizeof sizes / sizeof sizes[0])];
    in.dmPaperWidth = sizes[next(sizeof sizes / sizeof sizes[0])];
    in.dmPrintQuality = qualities[next(sizeof qualities / sizeof qualities[0])];
    in.dmDuplex = static_cast<short>(next(5));
    MergeAndApply(in);
    const DWORD l40 = static_cast<DWORD>(Get(kItem_zdmSrcPaperLengthDot));
    const DWORD l41 = static_cast<DWORD>(Get(kItem_zdmSrcPaperWidthDot));
    const DWORD l47 = static_cast<DWORD>(Get(kItem_zdmDstPaperLengthDot));
    const DWORD l48 = static_cast<DWORD>(Get(kItem_zdmDstPaperWidthDot));
    ASSERT_LE(static_cast<DWORD>(Get(kItem_zdmSrcPaperPrnLengthDot)), l40) << "run " << run;
    ASSERT_LE(static_cast<DWORD>(Get(kItem_zdmSrcPaperPrnWidthDot)), l41) << "run " << run;
    ASSERT_LE(static_cast<DWORD>(Get(kItem_zdmDstPaperPrnLengthDot)), l47) << "run " << run;
    ASSERT_LE(static_cast<DWORD>(Get(kItem_zdmDstPaperPrnWidthDot)), l48) << "run " << run;
  }
}

// The same caller DEVMODE (public part only) through the whole merge: the field merge, the
// items, the repair sweep and the output paper leave the same paper, duplex and resolution.
TEST_F(SampleMergeTest, ThroughTheDevmodeMerge) {
  DEVMODEW in = Incoming(DM_ORIENTATION | DM_PAPERSIZE | DM_PRINTQUALITY | DM_DUPLEX | DM_COPIES);
  in.dmSpecVersion = 0x401;
  in.dmOrientation = 2;
  in.dmPaperSize = static_cast<short>(Stored("DMPAPERSIZE_A4"));
  in.dmPrintQuality = 1200;
  in.dmDuplex = DMDUP_VERTICAL;
  in.dmCopies = 2;
  ASSERT_EQ(1, DmMergeIntoContext(ctx(), &in, 0x8));
  const LONG expected[] = {9921, 14031, 9525, 13635, 198, 198};
  const WORD src[] = {kItem_zdmSrcPaperLengthDot, kItem_zdmSrcPaperWidthDot, kItem_zdmSrcPaperPrnLengthDot,
                      kItem_zdmSrcPaperPrnWidthDot, kItem_zdmSrcXOffset, kItem_zdmSrcYOffset};
  const WORD dst[] = {kItem_zdmDstPaperLengthDot, kItem_zdmDstPaperWidthDot, kItem_zdmDstPaperPrnLengthDot,
                      kItem_zdmDstPaperPrnWidthDot, kItem_zdmDstXOffset, kItem_zdmDstYOffset};
  for (int i = 0; i < 6; ++i) {
    EXPECT_EQ(expected[i], Get(src[i])) << "item " << src[i];
    EXPECT_EQ(expected[i], Get(dst[i])) << "item " << dst[i];
  }
  EXPECT_EQ(1, Get(kItem_zdmFuncSelectDuplex));
  EXPECT_EQ(1, Get(kItem_zdmDuplexType));
  EXPECT_EQ(1200, Dm()->dmYResolution);
  EXPECT_EQ(1200, Get(kItem_zdmDstResolutionW));
  EXPECT_EQ(1200, Get(kItem_zdmDstResolutionH));
  EXPECT_EQ(2, Dm()->dmCopies);
}

TEST(FieldMergeNull, NullDevmodesDoNothing) {
  DEVMODEW dm = {};
  DmMergePublicFields(nullptr, &dm, nullptr);
  DmMergePublicFields(&dm, nullptr, nullptr);
  DmMergeResolutionPair(nullptr, &dm, nullptr);
  DmApplyPublicFieldsToItems(&dm, nullptr, nullptr);
  EXPECT_EQ(0u, dm.dmFields);
}

}  // namespace
}  // namespace zems_test
