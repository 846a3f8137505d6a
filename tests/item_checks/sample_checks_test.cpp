// The value checks on the sample model: stapling positions and papers its rules disable.
#include <gtest/gtest.h>

#include "core/items/item_checks.h"
#include "core/model/model_lookup.h"
#include "item_checks/checks_fixture.h"

namespace zems_test {
namespace {

TEST_F(ChecksTest, ALandscapeStaplePositionIsRefusedWhileStaplingIsOn) {
  SampleModel model(ctx());
  ASSERT_NE(nullptr, model.image());
  const LONG_PTR left2 = Stored("ZDMSTAPLETYPE_LEFT2");
  const ModelItemDescriptor* desc = ModelGetDescriptor(kItem_zdmStapleType, ctx());
  ASSERT_NE(nullptr, desc);
  ASSERT_NE(nullptr, ModelGetDescriptor(kItem_zdmFuncSelectStaple, ctx())) << "the sample gates stapling";
  ASSERT_NE(nullptr, ModelGetDescriptor(kItem_zdmFuncSelectPunch, ctx())) << "the sample gates punching";
  auto check = [&] { return ItemCheckValueRules(Item(kItem_zdmStapleType), kItem_zdmStapleType, left2, ctx(), desc); };
  Landscape(false);
  SetRaw(kItem_zdmFuncSelectStaple, 1);
  EXPECT_EQ(1, check()) << "portrait";
  Landscape(true);
  SetRaw(kItem_zdmFuncSelectStaple, 0);
  EXPECT_EQ(1, check()) << "stapling off";
  SetRaw(kItem_zdmFuncSelectStaple, 1);
  EXPECT_EQ(4, check());
  EXPECT_EQ(0, ItemIsValueAllowed(kItem_zdmStapleType, left2, ctx()));

  SetRaw(kItem_zdmStapleType, left2);
  Ui()->mergeFlags = 0x80000;
  EXPECT_EQ(1, ItemCheckAndRepair(kItem_zdmStapleType, left2, ctx()));
  EXPECT_EQ(left2, Raw(kItem_zdmStapleType)) << "the setting-lock merge keeps a disabled value";
  Ui()->mergeFlags = 0;
  EXPECT_EQ(1, ItemCheckAndRepair(kItem_zdmStapleType, left2, ctx()));
  EXPECT_EQ(Stored("ZDMSTAPLETYPE_OFF"), Raw(kItem_zdmStapleType)) << "reset to the model default";
}

// The height resolution mirrors the width resolution: its descriptor shares the width's
// values and default, which are values of the width's list, so its stored dpi is judged and
// repaired through that list.
TEST_F(ChecksTest, AMirroredItemIsCheckedThroughTheMirroredItemsList) {
  SampleModel model(ctx());
  ASSERT_NE(nullptr, model.image());
  ASSERT_NE(nullptr, ModelGetDescriptor(kItem_zdmDstResolutionH, ctx()));
  SetRaw(kItem_zdmDstResolutionH, 1200);
  EXPECT_EQ(1, ItemIsValueAllowed(kItem_zdmDstResolutionH, 1200, ctx()));
  EXPECT_EQ(1, ItemCheckAndRepair(kItem_zdmDstResolutionH, 1200, ctx()));
  EXPECT_EQ(1200, Raw(kItem_zdmDstResolutionH)) << "a listed dpi stays";
  SetRaw(kItem_zdmDstResolutionH, 700);
  EXPECT_EQ(0, ItemIsValueAllowed(kItem_zdmDstResolutionH, 700, ctx()));
  EXPECT_EQ(1, ItemCheckAndRepair(kItem_zdmDstResolutionH, 700, ctx()));
  EXPECT_EQ(600, Raw(kItem_zdmDstResolutionH)) << "the default as a dpi, not as the width's value id";
}

TEST_F(ChecksTest, APunchPositionFollowsItsGateOnTheSample) {
  SampleModel model(ctx());
  ASSERT_NE(nullptr, model.image());
  const LONG_PTR top2 = Stored("ZDMPUNCHTYPE_TOP2");  // disabled in portrait
  Landscape(false);
  SetRaw(kItem_zdmFuncSelectPunch, 0);
  EXPECT_EQ(1, ItemIsValueAllowed(kItem_zdmPunchType, top2, ctx()));
  SetRaw(kItem_zdmFuncSelectPunch, 1);
  EXPECT_EQ(0, ItemIsValueAllowed(kItem_zdmPunchType, top2, ctx()));
}

TEST_F(ChecksTest, APaperTheSampleDisablesIsRefusedAndRepaired) {
  SampleModel model(ctx());
  ASSERT_NE(nullptr, model.image());
  const LONG_PTR b4 = Stored("DMPAPERSIZE_B4");  // feeds only from the optional feeder
  SetRaw(kItem_zdmSourceOptionType1Step, 0);
  EXPECT_EQ(0, ItemIsValueAllowed(kItem_dmPaperSize, b4, ctx()));
  SetRaw(kItem_dmPaperSize, b4);
  EXPECT_EQ(1, ItemCheckAndRepair(kItem_dmPaperSize, b4, ctx()));
  EXPECT_EQ(Stored("DMPAPERSIZE_A4"), Raw(kItem_dmPaperSize));
  SetRaw(kItem_zdmSourceOptionType1Step, 1);
  EXPECT_EQ(1, ItemIsValueAllowed(kItem_dmPaperSize, b4, ctx()));
}

}  // namespace
}  // namespace zems_test
