// The sample model's rules on an opened context: what an envelope, a small paper, landscape
// and a missing duplex unit disable, restrict and lock.
#include <gtest/gtest.h>

#include "core/common/locks.h"
#include "core/context/driver_context.h"
#include "core/context/ui_state.h"
#include "core/items/item_access.h"
#include "core/items/item_ids.h"
#include "core/model/model_cache.h"
#include "core/model/model_lookup.h"
#include "core/model/model_types.h"
#include "core/rules/judge_eval.h"
#include "core/tables/symbol_table.h"
#include "core/tables/value_symbols.h"
#include "support/sample_model.h"
#include "support/test_printer.h"

namespace {

// Logical values of value symbols by name.
WORD Val(const char* name) { return zems_test::SymbolLogical(name); }

class SampleRulesTest : public zems_test::ContextTest {
 protected:
  void SetUp() override {
    ContextTest::SetUp();
    ctx_ = CtxOpen(office_, office_, nullptr, 0, kKindSettings, 0, nullptr);
    ASSERT_NE(ctx_, nullptr);
    ASSERT_NE(ctx_->modelImage, nullptr);
    ASSERT_NE(ctx_->ui->evaluatorStack, nullptr);
    SetItem("TOV_dmPaperSize", "DMPAPERSIZE_A4");
    SetItem("TOV_dmOrientation", "DMORIENTATION_PORTRAIT");
    ASSERT_TRUE(ItemSetRawById(ctx_, kItem_zdmSourceOptionTypeDuplex, 1));
  }
  void TearDown() override {
    CtxRelease(ctx_, kReleaseExpired);
    ModelFreeImageCache();
    // The open took the machine-wide mutex: close the process's handle while the machine is
    // there (the machine's tables go before a handle left to the end of the process).
    LockTermProcess();
    LockInitProcess();
    ContextTest::TearDown();
  }
  void SetItem(const char* symbol, const char* value) {
    const SymbolEntry* s = TblFindSymbolByName(symbol);
    ASSERT_NE(s, nullptr);
    ASSERT_TRUE(ItemSetValueById(ctx_, s->itemId, Val(value))) << symbol << " " << value;
  }
  const ModelItemDescriptor* Desc(const char* symbol) {
    return ModelDescriptorOf(ctx_, TblFindSymbolByName(symbol)->symbolId);
  }
  int Disabled(const char* symbol, const char* value = nullptr) {
    return ModelIsDescriptorDisabled(ctx_, Desc(symbol), value ? Val(value) : 0);
  }

  DriverContext* ctx_ = nullptr;
};

TEST_F(SampleRulesTest, AnEnvelopeDisablesFinishingAndDuplexOnAndLocksTheMedia) {
  EXPECT_EQ(Disabled("TOV_zdmStapleType"), 0);
  EXPECT_EQ(ModelEvalLockRule(Desc("TOV_zdmMediaType"), 0, ctx_), 0);
  SetItem("TOV_dmPaperSize", "DMPAPERSIZE_ENV10");
  EXPECT_EQ(ModelIsSymbolDisabled(ctx_, TblFindSymbolByName("TOV_zdmStapleType")->symbolId), 1);
  EXPECT_EQ(ModelIsSymbolDisabled(ctx_, TblFindSymbolByName("TOV_zdmPunchType")->symbolId), 1);
  EXPECT_EQ(Disabled("TOV_zdmFuncSelectDuplex", "ZDMFUNCSELECTDUPLEX_ON"), 1);
  EXPECT_EQ(Disabled("TOV_zdmFuncSelectDuplex", "ZDMFUNCSELECTDUPLEX_OFF"), 0);
  EXPECT_NE(ModelEvalLockRule(Desc("TOV_zdmMediaType"), 0, ctx_), 0);
}

TEST_F(SampleRulesTest, A5RestrictsDuplexOn) {
  const WORD on = Val("ZDMFUNCSELECTDUPLEX_ON");
  EXPECT_EQ(ModelIsValueRestricted(Desc("TOV_zdmFuncSelectDuplex"), on, ctx_), 0);
  SetItem("TOV_dmPaperSize", "DMPAPERSIZE_A5");
  EXPECT_EQ(ModelIsValueRestricted(Desc("TOV_zdmFuncSelectDuplex"), on, ctx_), 1);
  EXPECT_EQ(Disabled("TOV_zdmFuncSelectDuplex", "ZDMFUNCSELECTDUPLEX_ON"), 0);
}

TEST_F(SampleRulesTest, LandscapeDisablesLeftStapling) {
  EXPECT_EQ(Disabled("TOV_zdmStapleType", "ZDMSTAPLETYPE_LEFT2"), 0);
  EXPECT_EQ(Disabled("TOV_zdmStapleType", "ZDMSTAPLETYPE_TOP2"), 1);
  SetItem("TOV_dmOrientation", "DMORIENTATION_LANDSCAPE");
  EXPECT_EQ(Disabled("TOV_zdmStapleType", "ZDMSTAPLETYPE_LEFT2"), 1);
  EXPECT_EQ(Disabled("TOV_zdmStapleType", "ZDMSTAPLETYPE_TOP2"), 0);
}

TEST_F(SampleRulesTest, NoDuplexUnitDisablesDuplexAndLocksOn) {
  const WORD on = Val("ZDMFUNCSELECTDUPLEX_ON");
  EXPECT_EQ(ModelEvalLockRule(Desc("TOV_zdmFuncSelectDuplex"), on, ctx_), 0);
  ASSERT_TRUE(ItemSetRawById(ctx_, kItem_zdmSourceOptionTypeDuplex, 0));
  EXPECT_EQ(Disabled("TOV_zdmFuncSelectDuplex"), 1);
  EXPECT_EQ(ModelEvalLockRule(Desc("TOV_zdmFuncSelectDuplex"), on, ctx_), 1);
}

TEST_F(SampleRulesTest, FreeSizeOfTheInputOnAnOpenedContext) {
  const ModelItemDescriptor* w = ModelGetDescriptor(kItem_zdmPaperFreeSizeWidth, ctx_);
  ASSERT_NE(w, nullptr);
  EXPECT_EQ(w->symbolId, TblFindSymbolByName("TOV_zdmPaperFreeSizeWidthIn")->symbolId);
}

}  // namespace
