// Capability handlers that the status items and the engine ask: the vertical shift range, the
// separation-sheet cycle, the authentication kinds and the colour-matching options.
#include "core/devmode/dm_layout.h"
#include "core/front/page_lookup.h"
#include "core/rules/judge_eval.h"
#include "core/rules/model_rules.h"
#include "core/items/item_ids.h"
#include "core/model/model_lookup.h"
#include "core/model/model_types.h"
#include "core/rules/api_readers.h"
#include "exclude/api/api_caps_handlers.h"
#include "exclude/api/api_caps_lists.h"
#include "exclude/api/api_context.h"
#include "exclude/api/api_records.h"
#include "exclude/api/api_services.h"

LONG ApiCapsShiftYRange(ApiContext* api, DWORD, void*) {
  DriverContext* ctx = ApiDriverCtx(api);
  LONG minimum = 0, maximum = 0;
  return ctx && ApiGetShiftRanges(ctx, nullptr, nullptr, &minimum, &maximum) ? 1 : 0;
}

LONG ApiCapsSeparationCycle(ApiContext* api, DWORD, void*) {
  if (!ApiIsSettingOffered(api, kItem_zdmExtOutput2SeparationSheet, 0, 1)) return 0;
  const NumericValueRecord* cycle = ApiCapsNumberOf(api, kItem_zdmSeparationSheetCycle);
  return cycle ? static_cast<LONG>(static_cast<WORD>(cycle->maximum)) : -1;
}

int ApiAuthSecureOffered(ApiContext* api) {
  DriverContext* ctx = ApiDriverCtx(api);
  DlgPageRecord* page = ctx ? PageFindByName(ctx, "TOV_IDD_ADVANCED") : nullptr;
  if (!page) return 0;
  const ExclusiveRecord* node = ModelFindExclusive(page->symbolId, ctx);
  if (node && ModelEvalDisableRule(node, 0, ctx)) return 0;
  return ApiIsSettingOffered(api, kItem_zdmPrnFuncAuthenticationSecureMode, 0, 1);
}

LONG ApiCapsAuthMode(ApiContext* api, DWORD, void*) {
  if (!ApiIsSettingOffered(api, kItem_zdmPrnFuncAuthenticationMode, 0, 1)) return 0;
  return ApiAuthSecureOffered(api) ? 2 : 1;
}

LONG ApiCapsColorMatching(ApiContext* api, DWORD, void*) {
  DriverContext* ctx = ApiDriverCtx(api);
  if (!ctx) return 0;
  const int os = CtxGetOSKind(ctx);
  if (os == 0 || os == 1) return 0;
  return ApiSettingHasOptions(ctx, kItem_zdmColorMatching) ? 1 : 0;
}

LONG ApiCapsIcmTypes(ApiContext* api, DWORD, void* buffer) {
  if (!ApiCapsPresent(api, 276)) return 0;
  const int count = ApiAllowedValues(ApiDriverCtx(api), static_cast<LONG*>(buffer), kItem_zdmICMType);
  return count == -1 ? 0 : count;
}
