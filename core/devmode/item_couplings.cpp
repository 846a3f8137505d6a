// The coupling pass.
#include "core/devmode/item_couplings.h"

#include "core/devmode/couplings.h"
#include "core/devmode/resolution_limit.h"
#include "core/items/item_access.h"
#include "core/items/item_ids.h"
#include "core/model/model_lookup.h"
#include "core/model/model_types.h"
#include "core/rules/model_rules.h"
#include "core/rules/transacts.h"

int ItemApplyCouplings(DriverContext* ctx) {
  DEVMODEW* dm = ctx ? reinterpret_cast<DEVMODEW*>(CtxGetSettings(ctx)) : nullptr;
  if (!dm) return 0;
  SHORT limit = DmResolutionLimitFor(ctx, 0);
  if (limit != 0) ItemSetRawById(ctx, kItem_dmPrintQuality, limit);
  dm->dmFields |= DM_PRINTQUALITY;
  DmSyncResolutionFromQuality(dm, ctx);
  DmApplyInputPaper(static_cast<short>(ItemGetRawById(ctx, kItem_dmPaperSize)), kItem_dmPaperSize, ctx, dm);
  DmApplyOutputPaper(static_cast<short>(ItemGetRawById(ctx, kItem_zdmOutPaperSize)), kItem_zdmOutPaperSize, ctx, dm);
  if (const ModelImageHeader* image = ModelImageOfContext(ctx))
    for (const ExclusiveRecord* r = image->exclusives; r; r = r->next)
      if (r->transact) JudgeRunTransactList(r->transact, ctx);
  return 0;
}
