// The condition items on a context of the sample printer, as its settings change, and the
// readers' kept records across parking in the context cache.
#include <gtest/gtest.h>

#include "core/devmode/fin_readers.h"
#include "core/devmode/finishing_conditions.h"
#include "core/items/item_access.h"
#include "core/items/item_ids.h"
#include "core/model/model_lookup.h"
#include "core/rules/judge_eval.h"
#include "support/test_printer.h"

namespace zems_test {
namespace {

class FinSamplePrinterTest : public ContextTest {
 protected:
  void Set(DriverContext* ctx, WORD id, LONG value) {
    ASSERT_TRUE(ItemSetRawById(ctx, id, value)) << id;
  }
  // The sample's staple rules: the item disabled (the finisher cannot take the paper as fed)
  // and the chosen position restricted (refused by the finisher's staple rule).
  static int StaplingDisabled(DriverContext* ctx) {
    return ModelIsValueDisabled(ModelFindDescriptor(kItem_zdmStapleType, ctx), 0, ctx);
  }
  static int PositionRefused(DriverContext* ctx) {
    return ModelIsValueRestricted(ModelFindDescriptor(kItem_zdmStapleType, ctx), 0, ctx);
  }
};

TEST_F(FinSamplePrinterTest, ConditionsFollowPaperTrayAndOrientation) {
  DriverContext* ctx = CtxOpen(office_, office_, nullptr, 0, kKindSettings, 0, nullptr);
  ASSERT_NE(ctx, nullptr);
  ASSERT_NE(ModelFindDescriptor(kItem_zdmStapleType, ctx), nullptr);
  Set(ctx, 13, 1);      // tray 1
  Set(ctx, 10175, 8);   // holding A3 in orientation 0
  Set(ctx, 10143, 0);
  Set(ctx, 46, 9);      // the job asks for A4
  Set(ctx, 7, 1);
  Set(ctx, 121, 0x41);  // staple on the left
  EXPECT_EQ(StaplingDisabled(ctx), 0) << "without a finisher the finisher's rules stay out";
  EXPECT_EQ(PositionRefused(ctx), 0);
  Set(ctx, 10058, 1);   // the kind A finisher
  EXPECT_EQ(StaplingDisabled(ctx), 1) << "the tray cannot feed A4";
  EXPECT_EQ(PositionRefused(ctx), 1);
  Set(ctx, 10175, 9);   // the tray now holds A4
  EXPECT_EQ(FinComputeConditionItem(ctx, 723), 1);
  EXPECT_EQ(FinComputeConditionItem(ctx, 727), 1);
  EXPECT_EQ(FinComputeConditionItem(ctx, 821), 1);
  EXPECT_EQ(StaplingDisabled(ctx), 0);
  EXPECT_EQ(PositionRefused(ctx), 0);

  Set(ctx, 7, 2);       // landscape: the left edge is no longer the fed side
  EXPECT_EQ(FinComputeConditionItem(ctx, 727), 0);
  EXPECT_EQ(FinComputeConditionItem(ctx, 819), 1);
  EXPECT_EQ(StaplingDisabled(ctx), 0) << "the paper is still fed";
  EXPECT_EQ(PositionRefused(ctx), 1);
  Set(ctx, 7, 1);
  EXPECT_EQ(PositionRefused(ctx), 0);
  Set(ctx, 10175, 8);   // the tray holds A3 again
  EXPECT_EQ(FinComputeConditionItem(ctx, 723), 0);
  EXPECT_EQ(FinComputeConditionItem(ctx, 727), 0);
  EXPECT_EQ(StaplingDisabled(ctx), 1);
  Set(ctx, 46, 8);      // and the job asks for A3
  EXPECT_EQ(FinComputeConditionItem(ctx, 723), 1);
  EXPECT_EQ(FinComputeConditionItem(ctx, 724), 0);
  EXPECT_EQ(StaplingDisabled(ctx), 0);
  SettingItem* kept = ctx->ui->finReaders.slot[kFinTray1Paper];
  ASSERT_NE(kept, nullptr);

  CtxClose(ctx);
  DriverContext* again = CtxOpen(office_, office_, nullptr, 0, kKindSettings, 0, nullptr);
  ASSERT_EQ(again, ctx) << "served from the context cache";
  EXPECT_EQ(again->ui->finReaders.slot[kFinTray1Paper], kept) << "a parked context keeps its slots";
  Set(again, 10175, 9);
  EXPECT_EQ(FinRead(again, kFinTray1Paper), 9);
  CtxRelease(again, kReleaseExpired);
}

}  // namespace
}  // namespace zems_test
