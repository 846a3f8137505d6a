// The resolution cap: 600 dpi for a page above 600 dpi whose extents in dots pass the limit of
// the command mode, with scaling, poster sheets and the resolution lock.
#include <gtest/gtest.h>

#include "core/context/ui_state.h"
#include "core/devmode/finishing_conditions.h"
#include "core/devmode/resolution_limit.h"
#include "core/items/item_access.h"
#include "core/items/item_checks.h"
#include "core/items/item_ids.h"
#include "core/model/model_lookup.h"
#include "core/rules/judge_eval.h"
#include "core/tables/value_symbols.h"
#include "support/item_context.h"
#include "support/sample_model.h"

namespace zems_test {
namespace {

// Without a model description the paper items keep the extents a test gives them; only the
// resolution pair is re-derived.
class ResolutionCapTest : public ItemContextTest {
 protected:
  void Set(WORD id, LONG value) { ASSERT_TRUE(ItemSetRawById(ctx(), id, value)) << id; }
  LONG Get(WORD id) { return static_cast<LONG>(ItemGetRawById(ctx(), id)); }
  void Page(LONG srcWidth, LONG srcLength, LONG dstWidth, LONG dstLength) {
    Set(kItem_zdmSrcPaperWidthDot, srcWidth);
    Set(kItem_zdmSrcPaperLengthDot, srcLength);
    Set(kItem_zdmDstPaperWidthDot, dstWidth);
    Set(kItem_zdmDstPaperLengthDot, dstLength);
  }
};

TEST_F(ResolutionCapTest, CapByCommandModeScalingAndPoster) {
  struct Case {
    const char* what;
    LONG quality;
    LONG loadShare;
    LONG outPaper;
    LONG src[2];  // width, length
    LONG dst[2];
    LONG scale[4];  // on, type, horizontal, vertical
    LONG poster[3];  // N-up on, kind, type
    SHORT cap;
  };
  const Case cases[] = {
      {"600 dpi is never capped", 600, 16, 9, {40000, 40000}, {40000, 40000}, {}, {}, 0},
      {"command mode 16, destination 30709 long", 1200, 16, 9, {20000, 20000}, {20000, 30709}, {}, {}, 600},
      {"command mode 0, other output paper: 30709 is within 32124", 1200, 0, 9, {20000, 20000}, {20000, 30709},
       {}, {}, 0},
      {"command mode 0, output as input: the source counts", 1200, 0, 1024, {20000, 32125}, {20000, 20000}, {},
       {}, 600},
      {"poster of 2 doubles only the smaller source extent", 1200, 16, 9, {16000, 20000}, {20000, 20000}, {},
       {1, 9, 32769}, 600},
      {"poster of 2, both below the limit after doubling", 1200, 16, 9, {15000, 20000}, {20000, 20000}, {},
       {1, 9, 32769}, 0},
      {"zoom 150 %", 1200, 16, 9, {20000, 20000}, {20000, 20000}, {1, 1, 150, 0}, {}, 0},
      {"independent 100 % by 160 %", 1200, 16, 9, {20000, 20000}, {20000, 20000}, {1, 3, 100, 160}, {}, 600},
      {"fit to paper is not scaled", 1200, 16, 9, {20000, 20000}, {20000, 20000}, {1, 2, 200, 200}, {}, 0},
  };
  for (const Case& c : cases) {
    Set(kItem_dmPrintQuality, c.quality);
    Set(kItem_zdmLoadShare, c.loadShare);
    Set(kItem_zdmOutPaperSize, c.outPaper);
    Page(c.src[0], c.src[1], c.dst[0], c.dst[1]);
    Set(kItem_zdmFuncSelectScale, c.scale[0]);
    Set(kItem_zdmScaleType, c.scale[1]);
    Set(kItem_zdmScaleH, c.scale[2]);
    Set(kItem_zdmScaleV, c.scale[3]);
    Set(kItem_zdmFuncSelectNup, c.poster[0]);
    Set(kItem_zdmNUPPOSTKind, c.poster[1]);
    Set(kItem_zdmNUPType, c.poster[2]);
    EXPECT_EQ(c.cap, DmResolutionLimitFor(ctx(), 0)) << c.what;
    EXPECT_EQ(c.quality, Get(kItem_zdmDstResolutionW)) << c.what << ": the resolution pair is re-derived";
  }
}

TEST_F(ResolutionCapTest, ResolutionLock) {
  struct Case {
    const char* what;
    LONG lockedMacro;
    LONG quality;
    int mode;
    SHORT cap;
    LONG qualityAfter;
  };
  const Case cases[] = {
      {"a locked macro without a record counts as no lock", 99, 1200, 0, 600, 1200},
      {"locked macro 0 counts as no lock", 0, 1200, 0, 600, 1200},
      {"locked 1200 dpi from 600: the cap equals the prior value", 4, 600, 0, 0, 1200},
      {"locked 1200 dpi from 2400, exact", 4, 2400, 0, 600, 1200},
      {"locked 1200 dpi from 600, at most", 4, 600, 1, 0, 1200},
      {"locked 300 dpi: below the cap", 1, 1200, 0, 0, 300},
  };
  for (const Case& c : cases) {
    Set(kItem_zdmLock000InfoBitResolution, 1);
    Set(kItem_zdmLockDstResolutionBoth, c.lockedMacro);
    Set(kItem_dmPrintQuality, c.quality);
    Set(kItem_zdmLoadShare, 16);
    Set(kItem_zdmOutPaperSize, 9);
    Page(20000, 20000, 20000, 30709);
    EXPECT_EQ(c.cap, FinResolutionLimit(ctx(), 0, c.mode)) << c.what;
    EXPECT_EQ(c.qualityAfter, Get(kItem_dmPrintQuality)) << c.what;
  }
}

// Without the lock, the condition item answers 1 exactly when the cap is 0.
TEST_F(ResolutionCapTest, ConditionItemWithinCap) {
  Set(kItem_zdmLoadShare, 16);
  Set(kItem_zdmOutPaperSize, 9);
  for (LONG length : {30708, 30709}) {
    for (LONG dpi : {600, 1200}) {
      Set(kItem_zdmDstResolutionW, dpi);
      Page(20000, 20000, 20000, length);
      const LONG expected = FinResolutionOverLimit(ctx(), 1) == 0 ? 1 : 0;
      EXPECT_EQ(expected, FinComputeConditionItem(ctx(), 835)) << length << " at " << dpi;
      EXPECT_EQ(dpi == 1200 && length == 30709 ? 0 : 1, FinComputeConditionItem(ctx(), 835)) << length << " at " << dpi;
      EXPECT_EQ(dpi, Get(kItem_dmPrintQuality)) << "item 835 re-derives the quality from the destination";
    }
  }
}

// Judges reading the condition item on a small model (tests/fixtures/model/fin_resolution_cap.zmd):
// the cap re-derives the resolution pair and the paper extents from the page records, writing
// them raw. A3's own value rule reads the item again, so the paper check inside the cap's
// re-derivation asks the cap once more; that inner ask changes nothing and answers "no cap".
constexpr LONG kPaperA3 = 8;   // stored dmPaperSize
constexpr LONG kPortrait = 1;  // stored dmOrientation

class ResolutionCapJudgeTest : public ResolutionCapTest {
 protected:
  void SetUp() override {
    ResolutionCapTest::SetUp();
    ASSERT_EQ(ModelAllocEvalStack(ctx()), 0);
    model_ = new SampleModel(ctx(), "tests/fixtures/model/fin_resolution_cap.zmd");
    ASSERT_NE(model_->image(), nullptr);
  }
  void TearDown() override {
    delete model_;
    ModelFreeEvalStack(ctx());
    ResolutionCapTest::TearDown();
  }
  static WORD A3() {
    const ValueSymbol* v = TblFindValueSymbolByName("DMPAPERSIZE_A3");
    EXPECT_NE(v, nullptr);
    return v ? v->logical : 0;
  }
  // A3 portrait, output as input, command mode 16, the paper items stale.
  void Start(LONG dpi) {
    Set(kItem_dmCopies, 1);
    Set(kItem_dmPaperSize, kPaperA3);
    Set(kItem_dmOrientation, kPortrait);
    Set(kItem_zdmOutPaperSize, 1024);
    Set(kItem_zdmLoadShare, 16);
    Set(kItem_zdmDstResolutionW, dpi);
    Set(kItem_dmPrintQuality, 300);
    Page(1, 1, 1, 1);
  }
  SampleModel* model_ = nullptr;
};

struct CapJudgeCase {
  LONG dpi;
  int beyondCap;
  LONG width;   // re-derived source and destination extents in dots
  LONG length;
};
const CapJudgeCase kCapJudgeCases[] = {
    {600, 0, 7016, 9921},
    {2400, 1, 28062, 39686},
};

TEST_F(ResolutionCapJudgeTest, JudgeGetsTheCapAndTheItemsStayWritten) {
  for (const CapJudgeCase& c : kCapJudgeCases) {
    SCOPED_TRACE(c.dpi);
    Start(c.dpi);
    EXPECT_EQ(c.beyondCap, ModelIsValueDisabled(ModelFindDescriptor(kItem_dmCopies, ctx()), 0, ctx()));
    EXPECT_EQ(Ui()->evaluatorDepth, 0);
    EXPECT_EQ(c.dpi, Get(kItem_dmPrintQuality));
    EXPECT_EQ(c.dpi, Get(kItem_dmYResolution));
    EXPECT_EQ(c.dpi, Get(kItem_zdmDstResolutionH));
    EXPECT_EQ(c.width, Get(kItem_zdmSrcPaperWidthDot));
    EXPECT_EQ(c.length, Get(kItem_zdmSrcPaperLengthDot));
    EXPECT_EQ(c.width, Get(kItem_zdmDstPaperWidthDot));
    EXPECT_EQ(c.length, Get(kItem_zdmDstPaperLengthDot));
    EXPECT_EQ(1, Get(kItem_dmCopies)) << "no transact ran";
  }
}

// The paper check itself evaluates A3's rule, which reads the item, whose re-derivation checks
// the paper: the check ends with the outer cap's answer.
TEST_F(ResolutionCapJudgeTest, PaperCheckReadingTheCapEnds) {
  for (const CapJudgeCase& c : kCapJudgeCases) {
    SCOPED_TRACE(c.dpi);
    Start(c.dpi);
    EXPECT_EQ(c.beyondCap ? 0 : 1, DmIsValidPaperSize(kPaperA3, ctx()));
    EXPECT_EQ(c.beyondCap, ModelIsValueDisabled(ModelFindDescriptor(kItem_dmPaperSize, ctx()), A3(), ctx()));
    EXPECT_EQ(c.length, Get(kItem_zdmDstPaperLengthDot));
    EXPECT_EQ(Ui()->evaluatorDepth, 0);
    EXPECT_EQ(1, Get(kItem_dmCopies)) << "no transact ran";
  }
}

}  // namespace
}  // namespace zems_test
