// The resolution cap: 600 dpi for a page above 600 dpi whose extents in dots pass the limit of
// the command mode, with scaling, poster sheets and the resolution lock.
#include <gtest/gtest.h>

#include "core/devmode/finishing_conditions.h"
#include "core/devmode/resolution_limit.h"
#include "core/items/item_access.h"
#include "core/items/item_ids.h"
#include "support/item_context.h"

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

}  // namespace
}  // namespace zems_test
