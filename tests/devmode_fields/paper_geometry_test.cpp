// Paper geometry: printable areas from the page records, extents in 0.1 mm by orientation,
// output extents and custom extents.
#include <gtest/gtest.h>

#include "core/devmode/paper_geometry.h"
#include "devmode_fields/paper_items_fixture.h"

namespace zems_test {
namespace {

constexpr char kGeometryModel[] = "tests/fixtures/model/paper_geometry.zmd";

class PaperGeometryTest : public PaperItemsTest {
 protected:
  void SetUp() override {
    PaperItemsTest::SetUp();
    ASSERT_TRUE(UseModel(kGeometryModel));
    Set(kItem_zdmDstResolutionW, 600);
  }
  WORD PaperId(const char* name) {
    const ValueSymbol* v = TblFindValueSymbolByName(name);
    return v ? v->logical : 0;
  }
};

TEST_F(PaperGeometryTest, PrintableAreaByResolutionOrientationAndCondition) {
  struct Case {
    const char* what;
    const char* paper;
    LONG dpi;
    LONG orientation;
    LONG extendedArea;
    int found;
    PaperRect rect;
    PaperExtents extents;
  };
  const Case cases[] = {
      {"A4 portrait, landscape records only: axes exchanged", "DMPAPERSIZE_A4", 600, 1, 0, 1, {20, 10, 4020, 6010},
       {4961, 7016}},
      {"A4 landscape: its own record", "DMPAPERSIZE_A4", 600, 2, 0, 1, {10, 20, 6010, 4020}, {7016, 4961}},
      {"A5 portrait, standard area: the conditional record is passed over", "DMPAPERSIZE_A5", 600, 1, 0, 1,
       {99, 98, 3397, 4861}, {3496, 4961}},
      {"A5 portrait, extended area: the conditional record comes first", "DMPAPERSIZE_A5", 600, 1, 1, 1,
       {50, 50, 3446, 4911}, {3496, 4961}},
      {"A5 landscape, standard area: passed over in both passes, the plain portrait exchanged",
       "DMPAPERSIZE_A5", 600, 2, 0, 1, {98, 99, 4861, 3397}, {4961, 3496}},
      {"A5 landscape, extended area", "DMPAPERSIZE_A5", 600, 2, 1, 1, {50, 50, 4911, 3446}, {4961, 3496}},
      {"A4 at 1200 dpi: no record", "DMPAPERSIZE_A4", 1200, 1, 0, 0, {}, {}},
      {"Letter: no record at all", "DMPAPERSIZE_LETTER", 600, 1, 0, 0, {}, {}},
  };
  for (const Case& c : cases) {
    Set(kItem_zdmDstResolutionW, c.dpi);
    Set(kItem_dmOrientation, c.orientation);
    ItemSetRawById(ctx(), ItemFindByName(ctx(), u"zdmExtPrintArea")->id, c.extendedArea);
    PaperRect rect = {};
    PaperExtents extents = {};
    EXPECT_EQ(c.found, PaperGetPrintableArea(ctx(), &rect, &extents, PaperId(c.paper))) << c.what;
    if (!c.found) continue;
    EXPECT_EQ(c.rect.left, rect.left) << c.what;
    EXPECT_EQ(c.rect.top, rect.top) << c.what;
    EXPECT_EQ(c.rect.right, rect.right) << c.what;
    EXPECT_EQ(c.rect.bottom, rect.bottom) << c.what;
    EXPECT_EQ(c.extents.width, extents.width) << c.what;
    EXPECT_EQ(c.extents.length, extents.length) << c.what;
  }
}

TEST_F(PaperGeometryTest, ExtentsPutTheLengthFirstInLandscape) {
  Set(kItem_dmPaperSize, Stored("DMPAPERSIZE_A4"));
  PaperExtents e = {};
  Set(kItem_dmOrientation, 1);
  ASSERT_EQ(1, PaperGetExtents(ctx(), &e, 0));
  EXPECT_EQ(2100, e.width);
  EXPECT_EQ(2970, e.length);
  Set(kItem_dmOrientation, 2);
  ASSERT_EQ(1, PaperGetExtents(ctx(), &e, 0));
  EXPECT_EQ(2970, e.width);
  EXPECT_EQ(2100, e.length);
  Set(kItem_dmPaperSize, Stored("DMPAPERSIZE_B4"));
  EXPECT_EQ(0, PaperGetExtents(ctx(), &e, 0)) << "a paper the description does not list";
}

TEST_F(PaperGeometryTest, OutputExtentsRestoreThePaperButMarkItChanged) {
  Set(kItem_dmOrientation, 1);
  Set(kItem_dmPaperSize, Stored("DMPAPERSIZE_A4"));
  Set(kItem_zdmOutPaperSize, Stored("ZDMOUTPAPERSIZE_A5"));
  Ui()->modified = 0;
  PaperExtents e = {};
  ASSERT_EQ(1, PaperGetOutputExtents(ctx(), &e));
  EXPECT_EQ(1480, e.width);
  EXPECT_EQ(2100, e.length);
  EXPECT_EQ(Stored("DMPAPERSIZE_A4"), Get(kItem_dmPaperSize)) << "the paper gets its value back";
  EXPECT_EQ(1, ModifiedFlag()) << "the paper's writes are marked";

  Set(kItem_zdmOutPaperSize, Stored("ZDMOUTPAPERSIZE_SAME"));
  ASSERT_EQ(1, PaperGetOutputExtents(ctx(), &e));
  EXPECT_EQ(2100, e.width) << "the output follows the current paper";
}

// The custom extents of a custom paper: the current paper from the DEVMODE's own fields
// (exchanged in landscape, except in the exclusion DLL, which keeps them in portrait order) or,
// while oversize, from its slot; a slot code from its slot, which the graphics DLL turns by the
// slot's own orientation. The user paper's slot is 2400 x 4800 (1/1200 inch), the fields
// 1000 x 2000 (0.1 mm).
TEST_F(PaperGeometryTest, CustomExtents) {
  struct Case {
    const char* what;
    int fieldsPortrait;
    int bySlotOrientation;  // the graphics DLL's form
    BOOL devmodeInView;
    LONG orientation;
    LONG oversize;
    LONG slotOrientation;
    PaperExtents expected;
  };
  const Case cases[] = {
      {"portrait", 0, 0, TRUE, 1, 0, 1, {1000, 2000}},
      {"landscape: exchanged", 0, 0, TRUE, 2, 0, 1, {2000, 1000}},
      {"exclusion DLL, landscape: not exchanged", 1, 0, TRUE, 2, 0, 1, {1000, 2000}},
      {"oversize: the slot", 0, 0, TRUE, 1, 1, 1, {508, 1016}},
      {"oversize in landscape: the slot exchanged", 0, 0, TRUE, 2, 1, 1, {1016, 508}},
      {"a slot code: its size whatever the orientation", 0, 0, FALSE, 2, 0, 2, {508, 1016}},
      {"graphics DLL, a slot in portrait", 0, 1, FALSE, 2, 0, 1, {508, 1016}},
      {"graphics DLL, a slot in landscape: exchanged", 0, 1, FALSE, 1, 0, 2, {1016, 508}},
  };
  for (const Case& c : cases) {
    TestVariant().paperFieldsPortrait = c.fieldsPortrait;
    TestVariant().size1200BySlotOrientation = c.bySlotOrientation;
    Set(kItem_zdmPaperFreeSizeWidth, 2400);
    Set(kItem_zdmPaperFreeSizeLength, 4800);
    Set(kItem_zdmPaperFreeSizeOrient, c.slotOrientation);
    Set(kItem_zdmFuncSelectFreeShortOver, c.oversize);
    Dm()->dmFields = DM_PAPERLENGTH | DM_PAPERWIDTH;
    Dm()->dmPaperSize = DMPAPER_USER;
    Dm()->dmPaperWidth = 1000;
    Dm()->dmPaperLength = 2000;
    Set(kItem_dmOrientation, c.orientation);
    PaperExtents e = {};
    EXPECT_EQ(1, PaperGetCustomExtents(&e, ctx(), DMPAPER_USER, c.devmodeInView)) << c.what;
    EXPECT_EQ(c.expected.width, e.width) << c.what;
    EXPECT_EQ(c.expected.length, e.length) << c.what;
  }
}

TEST(PaperGeometryWithoutModel, EveryLookupFails) {
  DriverContext ctx = {};
  PaperRect rect = {};
  PaperExtents e = {};
  EXPECT_EQ(0, PaperGetPrintableArea(&ctx, &rect, &e, 3006));
  EXPECT_EQ(0, PaperGetPrintableArea(nullptr, &rect, &e, 3006));
  EXPECT_EQ(0, PaperGetExtents(nullptr, &e, 0));
}

}  // namespace
}  // namespace zems_test
