// The DeviceCapabilities lists of papers, bins and resolutions.
#include <gtest/gtest.h>

#include "core/items/item_caps.h"
#include "core/items/item_ids.h"
#include "support/item_context.h"

namespace zems_test {
namespace {

TEST_F(ItemContextTest, WithoutAResolutionDescriptorTheBaseResolutionIsTheAnswer) {
  LONG pairs[4] = {};
  EXPECT_EQ(1, ItemListResolutions(ctx(), nullptr));
  EXPECT_EQ(1, ItemListResolutions(ctx(), pairs));
  EXPECT_EQ(600, pairs[0]);
  EXPECT_EQ(600, pairs[1]);
  LONG macros[2] = {};
  EXPECT_EQ(1, ItemListResolutionMacros(ctx(), macros));
  EXPECT_EQ(3, macros[0]) << "the macro of 600 x 600";
}

TEST_F(ItemContextTest, ANameStepOfZeroOrLessFails) {
  WCHAR names[64] = {};
  EXPECT_EQ(-1, ItemListPaperNames(ctx(), names, 0, kItem_dmPaperSize));
  EXPECT_EQ(-1, ItemListPaperNames(ctx(), names, -64, kItem_dmPaperSize));
  EXPECT_EQ(-1, ItemListBinNames(ctx(), names, 0));
  EXPECT_EQ(-1, ItemListBinNames(ctx(), names, -1));
}

TEST_F(ItemContextTest, WithoutAModelDescriptionEveryPaperAndBinListFails) {
  WORD codes[8];
  POINT sizes[8];
  EXPECT_EQ(-1, ItemListPaperCodes(ctx(), codes, kItem_dmPaperSize));
  EXPECT_EQ(-1, ItemListPaperSizes(ctx(), sizes, kItem_dmPaperSize));
  EXPECT_EQ(-1, ItemListBinCodes(ctx(), codes));
}

// A disabled paper missing from all three paper lists, a paper item not PickPage, value symbols
// missing or of kind 0, custom codes from filled slots, bins with event 33's all, resolutions
// for PickOne and Numeric: these need a fixture model read through the model lookups.
TEST_F(ItemContextTest, ListsOnFixtureModels) {
  GTEST_SKIP() << "the model lookups find no descriptor yet (ModelFindDescriptor is minimal) and the "
                  "judges are all false, so no fixture model can offer papers, bins or resolutions";
}

}  // namespace
}  // namespace zems_test
