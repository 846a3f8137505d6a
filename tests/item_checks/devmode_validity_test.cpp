// The validity tests of the public DEVMODE fields, with and without a rule of the model.
#include <gtest/gtest.h>

#include "core/items/item_checks.h"
#include "item_checks/checks_fixture.h"

namespace zems_test {
namespace {

TEST_F(ChecksTest, EachDevmodeFieldIsValidByTheModelsRuleElseByItsFixedRule) {
  struct Case {
    const char* what;
    int (*test)(LONG_PTR, DriverContext*);
    LONG_PTR value;
    int withoutRule;
    int withRule;  // check_devmode_fields.zmd
  } cases[] = {
      {"orientation portrait", DmIsValidOrientation, 1, 1, 1},
      // The model offers portrait only; the field's own list still has landscape, and the
      // orientation test answers whether the value is listed.
      {"orientation landscape", DmIsValidOrientation, 2, 1, 1},
      {"orientation 3", DmIsValidOrientation, 3, 0, 0},
      {"paper A4", DmIsValidPaperSize, 9, 0, 1},
      {"paper A5, not offered", DmIsValidPaperSize, 11, 0, 0},
      {"source auto", DmIsValidDefaultSource, 7, 1, 1},
      {"source tray 2, not offered", DmIsValidDefaultSource, 3, 1, 0},
      {"source 15", DmIsValidDefaultSource, 15, 1, 0},
      {"source 16", DmIsValidDefaultSource, 16, 0, 0},
      {"quality 600", DmIsValidPrintQuality, 600, 1, 1},
      {"quality 300, not offered", DmIsValidPrintQuality, 300, 1, 0},
      {"quality 333", DmIsValidPrintQuality, 333, 0, 0},
      {"colour", DmIsValidColor, 2, 1, 1},
      {"monochrome, not offered", DmIsValidColor, 1, 1, 0},
      {"colour 3", DmIsValidColor, 3, 0, 0},
      {"simplex", DmIsValidDuplex, 1, 1, 1},
      {"horizontal duplex, not offered", DmIsValidDuplex, 3, 1, 0},
      {"duplex 4", DmIsValidDuplex, 4, 0, 0},
      {"TrueType option 2", DmIsValidTTOption, 2, 1, 1},
      {"TrueType option 4, out of range", DmIsValidTTOption, 4, 1, 0},
      {"TrueType option 5", DmIsValidTTOption, 5, 0, 0},
      {"ICM method 1", DmIsValidICMMethod, 1, 1, 1},
      {"ICM method 4, out of range", DmIsValidICMMethod, 4, 1, 0},
      {"ICM method 5", DmIsValidICMMethod, 5, 0, 0},
      {"ICM intent 2", DmIsValidICMIntent, 2, 1, 1},
      {"ICM intent 1, out of range", DmIsValidICMIntent, 1, 1, 0},
      {"ICM intent 4, a known value", DmIsValidICMIntent, 4, 1, 0},
      {"ICM intent 5", DmIsValidICMIntent, 5, 0, 0},
      {"media 1", DmIsValidMediaType, 1, 1, 1},
      {"media 257, a known value", DmIsValidMediaType, 257, 1, 0},
      {"media 4", DmIsValidMediaType, 4, 0, 0},
      {"dither 4", DmIsValidDitherType, 4, 1, 1},
      {"dither 10, out of range", DmIsValidDitherType, 10, 1, 0},
      {"dither 5", DmIsValidDitherType, 5, 0, 0},
      {"always", DmIsValidAlways, 12345, 1, 1},
  };
  for (const Case& c : cases) EXPECT_EQ(c.withoutRule, c.test(c.value, ctx())) << c.what << ", without a rule";
  SampleModel model(ctx(), Fixture("check_devmode_fields.zmd").c_str());
  ASSERT_NE(nullptr, model.image());
  for (const Case& c : cases) EXPECT_EQ(c.withRule, c.test(c.value, ctx())) << c.what << ", with the model's rule";
}

}  // namespace
}  // namespace zems_test
