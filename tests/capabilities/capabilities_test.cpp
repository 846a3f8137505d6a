// Device capabilities: print-macro lookups, paper extents, landscape angle, duplex and colour.
#include <gtest/gtest.h>

#include <string.h>

#include <vector>

#include "core/devmode/dm_codes.h"
#include "core/items/item_access.h"
#include "core/items/item_caps.h"
#include "core/items/item_ids.h"
#include "core/tables/model_record.h"
#include "core/tables/print_macros.h"
#include "support/item_context.h"
#include "support/test_variant.h"

namespace zems_test {
namespace {

TEST(PrintMacros, Lookups) {
  struct Case {
    const char* what;
    WORD result;
    WORD expected;
  };
  const PrintMacroResolution* row = TblFindPrintMacro(36);
  ASSERT_NE(nullptr, row);
  EXPECT_EQ(600, row->xDpi);
  EXPECT_EQ(600, row->yDpi);
  const Case cases[] = {
      {"row of 0", static_cast<WORD>(TblFindPrintMacro(0) != nullptr), 0},
      {"row of an unknown macro", static_cast<WORD>(TblFindPrintMacro(99) != nullptr), 0},
      {"600 x 600: first row", TblPrintMacroByDpi(600, 600), 3},
      {"150 x 150", TblPrintMacroByDpi(150, 150), 33},
      {"600 x 300: none", TblPrintMacroByDpi(600, 300), 0},
      {"x 0", TblPrintMacroByDpi(0, 600), 0},
      {"y 0", TblPrintMacroByDpi(600, 0), 0},
      {"x 300", TblPrintMacroByXDpi(300), 1},
      {"x 500: none", TblPrintMacroByXDpi(500), 0},
      {"after 3 at 600", TblNextPrintMacroByXDpi(600, 3), 17},
      {"after 19 at 600", TblNextPrintMacroByXDpi(600, 19), 36},
      {"after 36 at 600", TblNextPrintMacroByXDpi(600, 36), 20},
      {"after the last at 600", TblNextPrintMacroByXDpi(600, 20), 0},
      {"after 1 at 300", TblNextPrintMacroByXDpi(300, 1), 34},
      {"after a macro without a row", TblNextPrintMacroByXDpi(600, 99), 0},
  };
  for (const Case& c : cases) EXPECT_EQ(c.expected, c.result) << c.what;
}

TEST(PaperExtent, TemplateAnswersInTenthMillimetres) {
  DriverContext* tmpl = TblGetContextTemplate();
  WORD out[2] = {};
  DWORD packed = ItemGetPaperExtent(tmpl, out, kExtentMinimum);
  EXPECT_EQ(900, out[0]);
  EXPECT_EQ(1400, out[1]);
  EXPECT_EQ(MAKELONG(900, 1400), static_cast<LONG>(packed));
  packed = ItemGetPaperExtent(tmpl, nullptr, 5);
  const ModelRecord* record = TblGetModelRecord();
  EXPECT_GE(LOWORD(packed), 900);
  EXPECT_LE(LOWORD(packed), static_cast<WORD>(record->customWidthMax * 254 / 1200 + 1));
  EXPECT_GE(HIWORD(packed), 1400);
}

TEST_F(ItemContextTest, ExtentsFollowTheDisplayUnit) {
  ItemSetRawById(ctx(), kItem_zdmDspUnit, 1);  // 0.01 inch
  WORD out[2] = {};
  ItemGetPaperExtent(ctx(), out, kExtentMinimum);
  // 90 mm and 140 mm are 3.54 and 5.51 inch: the minimum rounded inward.
  EXPECT_EQ(355, out[0]);
  EXPECT_EQ(552, out[1]);
}

TEST_F(ItemContextTest, LandscapeAngleAndDuplexUnit) {
  EXPECT_EQ(90u, ModelGetLandscapeAngle(ctx()));
  EXPECT_EQ(90u, ModelGetLandscapeAngle(nullptr));
  EXPECT_EQ(0, ItemHasDuplexUnit(ctx()));
  ItemSetRawById(ctx(), kItem_zdmSourceOptionTypeDuplex, 1);
  EXPECT_EQ(1, ItemHasDuplexUnit(ctx()));
}

class ColorCapableTest : public ItemContextTest {
 protected:
  void TearDown() override {
    ResetTestVariant();
    ItemContextTest::TearDown();
  }
  // The context's settings block as a DEVMODE whose size fields say how much of it is there.
  std::vector<BYTE> Devmode(bool colour, SHORT dmColor, WORD driverExtra) {
    ItemSetRawById(ctx(), kItem_zdmMachineTypeColor, colour ? 1 : 0);
    ItemSetRawById(ctx(), kItem_dmColor, dmColor);
    std::vector<BYTE> dm(ctx()->settings, ctx()->settings + kSettingsBlockSize);
    const WORD sizes[2] = {220, driverExtra};
    memcpy(dm.data() + 68, sizes, sizeof sizes);
    dm.resize(220u + driverExtra);
    return dm;
  }
};

TEST_F(ColorCapableTest, Cases) {
  const WORD full = static_cast<WORD>(kSettingsBlockSize - 220);
  TestVariant().featureCount = 3;  // the setting-lock feature built in
  EXPECT_EQ(1, DmIsColorCapable(0, Devmode(true, 2, full).data()));
  EXPECT_EQ(0, DmIsColorCapable(0, Devmode(false, 2, full).data()));
  EXPECT_EQ(1, DmIsColorCapable(0, Devmode(true, 1, full).data()));
  EXPECT_EQ(0, DmIsColorCapable(1, Devmode(true, 1, full).data()));
  EXPECT_EQ(1, DmIsColorCapable(1, Devmode(true, 2, full).data()));
  // A DEVMODE that ends before the model type reads it as 0.
  EXPECT_EQ(0, DmIsColorCapable(0, Devmode(true, 2, 100).data()));
  EXPECT_EQ(0, DmIsColorCapable(0, nullptr));
  TestVariant().featureCount = 2;  // without the setting-lock feature, dmColor does not count
  EXPECT_EQ(1, DmIsColorCapable(1, Devmode(true, 1, full).data()));
}

}  // namespace
}  // namespace zems_test
