// Lengths of a context in its display unit, and display ranges rounded inward.
#include <gtest/gtest.h>

#include "core/engine/item_access.h"
#include "core/engine/model_types.h"
#include "core/engine/units.h"
#include "core/front/dialog_records.h"
#include "support/item_context.h"

namespace {

using zems_test::ItemContextTest;

enum : WORD {
  kZdmLanguageID = 169,
  kZdmDspUnit = 171,
  kWdmFreeSizeWidth = 916,
  kWdmFreeSizeLength = 917,
};

TEST_F(ItemContextTest, DotsToDisplayInTheContextsUnit) {
  ItemSetRawById(ctx(), kZdmDspUnit, 0);
  EXPECT_EQ(2100, ItemDotsToDisplay(ctx(), 0, 9920));
  EXPECT_EQ(2100, ItemDotsToDisplay(ctx(), 0, 9921));
  EXPECT_EQ(0, ItemDotsToDisplay(ctx(), 0, -1));
  ItemSetRawById(ctx(), kZdmDspUnit, 1);
  EXPECT_EQ(850, ItemDotsToDisplay(ctx(), 0, 10200));
  // With an id the item's value is converted instead of the argument.
  ItemSetRawById(ctx(), kWdmFreeSizeWidth, 10200);
  EXPECT_EQ(850, ItemDotsToDisplay(ctx(), kWdmFreeSizeWidth, 123));
}

TEST_F(ItemContextTest, DisplayToDotsWritesTheItemWhenGivenOne) {
  ItemSetRawById(ctx(), kZdmDspUnit, 0);
  EXPECT_EQ(9920, ItemDisplayToDots(ctx(), 0, 2100));
  EXPECT_EQ(0, ItemGetRawById(ctx(), kWdmFreeSizeWidth));
  EXPECT_EQ(9920, ItemDisplayToDots(ctx(), kWdmFreeSizeWidth, 2100));
  EXPECT_EQ(9920, ItemGetRawById(ctx(), kWdmFreeSizeWidth));
  EXPECT_EQ(0, ItemDisplayToDots(ctx(), 0, -5));
  ItemSetRawById(ctx(), kZdmDspUnit, 1);
  EXPECT_EQ(10200, ItemDisplayToDots(ctx(), 0, 850));
}

struct RangeCase {
  const char* what;
  LONG unit;
  WORD id;
  LONG min;
  LONG max;
};

// The model record's custom limits: width 4,250-10,204, length 6,614-42,518 (1/1200 inch).
TEST_F(ItemContextTest, CustomSizeRangesRoundInward) {
  const RangeCase cases[] = {
      {"width, millimetre", 0, kWdmFreeSizeWidth, 900, 2160},
      {"length, millimetre", 0, kWdmFreeSizeLength, 1400, 9000},
      {"width, inch", 1, kWdmFreeSizeWidth, 355, 850},
      {"length, inch", 1, kWdmFreeSizeLength, 552, 3543},
  };
  for (const RangeCase& c : cases) {
    ItemSetRawById(ctx(), kZdmDspUnit, c.unit);
    LONG min = -1, max = -1;
    ASSERT_TRUE(ModelFreeSizeRange(ctx(), c.id, &min, &max)) << c.what;
    EXPECT_EQ(c.min, min) << c.what;
    EXPECT_EQ(c.max, max) << c.what;
    // Inward: the range's ends convert back to lengths inside the limits.
    LONG lo = c.id == kWdmFreeSizeWidth ? 4250 : 6614;
    LONG hi = c.id == kWdmFreeSizeWidth ? 10204 : 42518;
    EXPECT_GE(ItemDisplayToDots(ctx(), 0, min), lo) << c.what;
    EXPECT_LE(ItemDisplayToDots(ctx(), 0, max), hi) << c.what;
  }
  LONG min = 0, max = 0;
  EXPECT_FALSE(ModelFreeSizeRange(ctx(), 918, &min, &max));
}

TEST_F(ItemContextTest, ControlRangeComesFromItsNumericDescription) {
  NumericValueRecord numeric{};
  numeric.minimum = 4250;
  numeric.maximum = 10204;
  ModelItemDescriptor descriptor{};
  descriptor.type = kModelTypeNumeric;
  descriptor.values = &numeric;
  DlgControlRecord control{};
  control.controlId = 2500;
  control.descriptor = &descriptor;
  ItemSetRawById(ctx(), kZdmDspUnit, 0);
  LONG min = 0, max = 0;
  ASSERT_TRUE(CtlDisplayRange(ctx(), &control, &min, &max));
  EXPECT_EQ(900, min);
  EXPECT_EQ(2160, max);
  // A control without a numeric description has no range.
  descriptor.type = kModelTypePickOne;
  EXPECT_FALSE(CtlDisplayRange(ctx(), &control, &min, &max));
  control.descriptor = nullptr;
  EXPECT_FALSE(CtlDisplayRange(ctx(), &control, &min, &max));
  EXPECT_FALSE(CtlDisplayRange(ctx(), nullptr, &min, &max));
}

struct LanguageCase {
  LONG language;
  BOOL comma;
};

TEST_F(ItemContextTest, DecimalCommaLanguages) {
  const LanguageCase cases[] = {{0, 0}, {1, 0}, {2, 1}, {8, 1}, {15, 1}, {16, 0}, {255, 0}};
  for (const LanguageCase& c : cases) {
    ItemSetRawById(ctx(), kZdmLanguageID, c.language);
    EXPECT_EQ(c.comma, ItemLangUsesDecimalComma(ctx())) << "language " << c.language;
  }
}

}  // namespace
