// The output-size sets' marks and their round trip around the DEVMODE block.
#include "gr2k/output_size.h"

#include "core/context/driver_context.h"
#include "core/context/ui_state.h"
#include "core/items/item_access.h"
#include "core/items/item_ids.h"

namespace {

const WORD kSetItems[3] = {kItem_zdmOutPaperSize, kItem_zdmFuncSelectScale, kItem_zdmScaleType};
const DWORD kFrontFuncBit[2] = {0x08, 0x20};

bool ValidSet(DriverContext* ctx, int set) { return ctx && ctx->ui && (set == kOutputSizeSet1 || set == kOutputSizeSet2); }

}  // namespace

void JobClearOutputSize(DriverContext* ctx, int set) {
  if (ValidSet(ctx, set)) ctx->ui->outputSizeSaved[set] = 0;
}

DWORD JobOutputSizeBeforeDevmode(DriverContext* ctx) {
  if (!ctx || !ctx->ui) return 0;
  DWORD front = DWORD(ItemGetRawById(ctx, kItem_zdmFrontFunc));
  DWORD putBack = 0;
  for (int set = kOutputSizeSet1; set <= kOutputSizeSet2; ++set) {
    if (!(front & kFrontFuncBit[set]) || !ctx->ui->outputSizeSaved[set]) continue;
    for (int i = 0; i < 3; ++i) ItemSetRawById(ctx, kSetItems[i], ctx->ui->outputSizeSets[set][i]);
    putBack |= 1u << set;
  }
  return putBack;
}

void JobOutputSizeAfterDevmode(DriverContext* ctx, DWORD putBack) {
  if (putBack & (1u << kOutputSizeSet1)) {
    JobFitOutputSize1(ctx);
    JobClearOutputSize(ctx, kOutputSizeSet1);
  }
  if (putBack & (1u << kOutputSizeSet2)) {
    JobFitOutputSize2(ctx);
    JobClearOutputSize(ctx, kOutputSizeSet2);
  }
}
