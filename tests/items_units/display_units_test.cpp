// Lengths of a context in its display unit, and display ranges rounded inward.
#include <gtest/gtest.h>

#include "core/items/item_access.h"
#include "core/items/item_ids.h"
#include "core/model/model_types.h"
#include "core/items/units.h"
#include "core/front/dialog_records.h"
#include "support/item_context.h"

namespace {

using zems_test::ItemContextTest;

TEST_F(ItemContextTest, DotsToDisplayInTheContextsUnit) {
  ItemSetRawById(ctx(), kItem_zdmDspUnit, 0);
  EXPECT_EQ(2100, ItemDotsToDisplay(ctx(), 0, 9920));
  EXPECT_EQ(2100, ItemDotsToDisplay(ctx(), 0, 9921));
  EXPECT_EQ(0, ItemDotsToDisplay(ctx(), 0, -1));
  ItemSetRawById(ctx(), kItem_zdmDspUnit, 1);
  EXPECT_EQ(850, ItemDotsToDisplay(ctx(), 0, 10200));
  // With an id the item's value is converted instead of the argument.
  ItemSetRawById(ctx(), kItem_wdmFreeSizeWidth, 10200);
  EXPECT_EQ(850, ItemDotsToDisplay(ctx(), kItem_wdmFreeSizeWidth, 123));
}

TEST_F(ItemContextTest, DisplayToDotsWritesTheItemWhenGivenOne) {
  ItemSetRawById(ctx(), kItem_zdmDspUnit, 0);
  EXPECT_EQ(9920, ItemDisplayToDots(ctx(), 0, 2100));
  EXPECT_EQ(0, ItemGetRawById(ctx(), kItem_wdmFreeSizeWidth));
  EXPECT_EQ(9920, ItemDisplayToDots(ctx(), kItem_wdmFreeSizeWidth, 2100));
  EXPECT_EQ(9920, ItemGetRawById(ctx(), kItem_wdmFreeSizeWidth));
  EXPECT_EQ(0, ItemDisplayToDots(ctx(), 0, -5));
  ItemSetRawById(ctx(), kItem_zdmDspUnit, 1);
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
      {"width, millimetre", 0, kItem_wdmFreeSizeWidth, 900, 2160},
      {"length, millimetre", 0, kItem_wdmFreeSizeLength, 1400, 9000},
      {"width, inch", 1, kItem_wdmFreeSizeWidth, 355, 850},
      {"length, inch", 1, kItem_wdmFreeSizeLength, 552, 3543},
  };
  for (const RangeCase& c : cases) {
    ItemSetRawById(ctx(), kItem_zdmDspUnit, c.unit);
    LONG min = -1, max = -1;
    ASSERT_TRUE(ModelFreeSizeRange(ctx(), c.id, &min, &max)) << c.what;
    EXPECT_EQ(c.min, min) << c.what;
    EXPECT_EQ(c.max, max) << c.what;
    // Inward: the range's ends convert back to lengths inside the limits.
    LONG lo = c.id == kItem_wdmFreeSizeWidth ? 4250 : 6614;
    LONG hi = c.id == kItem_wdmFreeSizeWidth ? 10204 : 42518;
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
  ItemSetRawById(ctx(), kItem_zdmDspUnit, 0);
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
    ItemSetRawById(ctx(), kItem_zdmLanguageID, c.language);
    EXPECT_EQ(c.comma, ItemLangUsesDecimalComma(ctx())) << "language " << c.language;
  }
}

}  // namespace
