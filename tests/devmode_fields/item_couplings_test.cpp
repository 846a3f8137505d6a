// The coupling pass on a context of the sample printer: the print-quality flag, the resolution
// pair from the print quality, the paper items, and the model's Transact lists.
#include <gtest/gtest.h>

#include "core/devmode/item_couplings.h"
#include "core/items/item_access.h"
#include "core/items/item_ids.h"
#include "core/items/item_table.h"
#include "support/test_printer.h"

namespace zems_test {
namespace {

class ItemCouplingsTest : public ContextTest {};

TEST_F(ItemCouplingsTest, ResolutionPaperAndTransacts) {
  DriverContext* ctx = CtxOpen(office_, office_, nullptr, 0, kKindSettings, 0, nullptr);
  ASSERT_NE(nullptr, ctx);
  DEVMODEW* dm = reinterpret_cast<DEVMODEW*>(CtxGetSettings(ctx));
  ASSERT_NE(nullptr, dm);
  dm->dmFields &= ~static_cast<DWORD>(DM_PRINTQUALITY);
  ItemSetRawById(ctx, kItem_dmPaperSize, 9);  // A4
  ItemSetRawById(ctx, kItem_dmPrintQuality, 1200);
  ItemSetRawById(ctx, kItem_zdmDstResolutionW, 600);
  ItemSetRawById(ctx, kItem_zdmSourceOptionTypeDuplex, 0);
  ItemSetRawById(ctx, kItem_zdmFuncSelectDuplex, 1);
  ItemSetRawById(ctx, kItem_zdmFuncSelectNup, 1);
  ItemSetRawById(ctx, kItem_zdmScaleType, 1);
  ItemSetRawById(ctx, kItem_zdmFuncSelectScale, 1);
  EXPECT_EQ(0, ItemApplyCouplings(ctx));
  EXPECT_TRUE(dm->dmFields & DM_PRINTQUALITY);
  EXPECT_EQ(1200, ItemGetRawById(ctx, kItem_zdmDstResolutionW)) << "the pair follows the print quality";
  EXPECT_EQ(1200, ItemGetRawById(ctx, kItem_dmYResolution));
  LONG_PTR a = ItemGetRawById(ctx, kItem_zdmSrcPaperLengthDot), b = ItemGetRawById(ctx, kItem_zdmSrcPaperWidthDot);
  EXPECT_EQ(9921 + 14031, a + b) << "the A4 page record at 1200 dpi";
  EXPECT_EQ(0, ItemGetRawById(ctx, kItem_zdmFuncSelectDuplex)) << "no duplex unit: the sample's rule";
  EXPECT_EQ(0, ItemGetRawById(ctx, kItem_zdmScaleType)) << "N-up turns scaling off";
  EXPECT_EQ(0, ItemGetRawById(ctx, kItem_zdmFuncSelectScale));
  EXPECT_EQ(0, ItemApplyCouplings(nullptr));
  CtxRelease(ctx, kReleaseExpired);
}

}  // namespace
}  // namespace zems_test
