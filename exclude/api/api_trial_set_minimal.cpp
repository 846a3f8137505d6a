// Minimal: the trial of the paper and layout items is not built yet. This one switches the
// function on in a copy of the settings, runs the master setting's transacts and asks whether
// the function stayed on and the value passes its test; the DEVMODE synchronisation of the full
// trial is not run.
#include "exclude/api/api_trial_set.h"

#include "core/devmode/couplings.h"
#include "core/items/item_access.h"
#include "core/model/model_lookup.h"
#include "core/model/model_types.h"
#include "core/rules/transacts.h"
#include "exclude/api/api_context.h"
#include "exclude/api/api_levels.h"
#include "exclude/api/api_records.h"

int ApiTrialSetValue(ApiContext* api, DWORD statusId, WORD masterSetting, WORD setting, LONG_PTR value) {
  DriverContext* ctx = ApiDriverCtx(api);
  if (!ctx) return 0;
  if (ItemGetRawById(ctx, masterSetting) != 0) return 1;
  BYTE* copy = ApiCopySettingsBlock(api);
  if (!copy) {
    ApiSetLastError(api, kApiErrInternal);
    return 0;
  }
  ItemSetRawById(ctx, masterSetting, 1);
  ItemSetRawById(ctx, setting, value);
  if (statusId == 15) DmSetDuplexField(ApiSettings(api), ctx);
  for (const ModelItemDescriptor* d = ModelFindDescriptor(masterSetting, ctx); d; d = d->next)
    if (d->itemId == masterSetting) ModelRunItemTransacts(d, ctx);
  DmSetDuplexField(ApiSettings(api), ctx);
  const int allowed = ItemGetRawById(ctx, masterSetting) != 0 && ApiValueTest(api, setting, value) ? 1 : 0;
  ApiRestoreSettingsBlock(api, copy);
  return allowed;
}
