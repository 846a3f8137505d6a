// Services of the interface over settings, dialog controls and locks, and the small settings
// resets and tables.
#include <string.h>

#include "core/common/os_tests.h"
#include "core/context/module_bus.h"
#include "core/context/driver_context.h"
#include "core/devmode/dm_layout.h"
#include "core/front/control_lookup.h"
#include "core/front/page_lookup.h"
#include "core/items/derived_settings.h"
#include "core/items/item_access.h"
#include "core/items/item_ids.h"
#include "core/items/item_table.h"
#include "core/model/model_lookup.h"
#include "core/model/model_types.h"
#include "core/rules/alerts.h"
#include "core/rules/api_readers.h"
#include "core/rules/judge_eval.h"
#include "core/rules/model_rules.h"
#include "core/tables/symbol_table.h"
#include "core/tables/value_symbols.h"
#include "exclude/api/api_context.h"
#include "exclude/api/api_records.h"
#include "exclude/api/api_services.h"

const ApiLoadShareRow ApiLoadShareTable[kApiLoadShareRows] = {
    {0, 0, 2669}, {0, 16, 2672}, {1, 1, 2670}, {1, 17, 2673}, {2, 2, 2671}, {3, 18, 2674},
};

const ApiAdjustVariant ApiAdjustVariantTable[kApiAdjustVariantRows] = {
    {kItem_zdmDitherType, 967, 968, 969},
    {kItem_zdmColorMatchingMode, 961, 962, 963},
    {kItem_zdmColorMode, 964, 965, 966},
    {kItem_zdmICMIntent, 958, 959, 960},
    {kItem_zdmQualityFuncColorRevision, 1043, 1059, 1075},
    {kItem_zdmBrightness, 970, 971, 972},
    {kItem_zdmContrast, 973, 974, 975},
    {kItem_zdmSaturation, 976, 977, 978},
    {kItem_zdmColorBalanceR, 979, 980, 981},
    {kItem_zdmColorBalanceG, 982, 983, 984},
    {kItem_zdmColorBalanceB, 985, 986, 987},
};

namespace {

constexpr WORD kPageKindNodeDialogs = 0x0001 | 0x0020;

bool SymbolDisabled(DriverContext* ctx, WORD symbol) {
  const ExclusiveRecord* node = ModelFindExclusive(symbol, ctx);
  return node && ModelEvalDisableRule(node, 0, ctx);
}

}  // namespace

int ApiIsAdminLocked(ApiContext* api) {
  DriverContext* ctx = ApiDriverCtx(api);
  return ctx && !OsIsWin9x() && CtxGetTSE(ctx) ? 1 : 0;
}

int ApiIsFeatureUsable(ApiContext* api, WORD setting) {
  DriverContext* ctx = ApiDriverCtx(api);
  if (!ctx) return 0;
  const ModelItemDescriptor* desc = ModelFindDescriptor(setting, ctx);
  if (!desc || !desc->symbolId) return 0;
  if (!CtlFindBySymbol(ctx, nullptr, desc->symbolId)) return 0;
  return ApiIsValueDisabled(setting, 0, ctx) == 1 ? 0 : 1;
}

int ApiIsAvailableOnDialog(ApiContext* api, WORD setting, WORD dialogId) {
  DriverContext* ctx = ApiDriverCtx(api);
  if (!ctx) return 0;
  const ModelItemDescriptor* desc = ModelFindDescriptor(setting, ctx);
  DlgPageRecord* page = PageFind(ctx, dialogId);
  if (!desc || !desc->symbolId || !page) return 0;
  if (!CtlFindBySymbol(ctx, page, desc->symbolId)) return 0;
  return ApiIsValueDisabled(setting, 0, ctx) == 1 ? 0 : 1;
}

// A control's rules stand under its own symbol or, for a control that shows an item, under the
// item's symbol.
static const ExclusiveRecord* ControlExclusive(DriverContext* ctx, const DlgControlRecord* control) {
  if (const ExclusiveRecord* node = ModelFindExclusive(control->symbolId, ctx)) return node;
  WORD item = CtlSymbolItem(control->symbolId);
  SettingItem* row = item ? ItemFind(ctx, item) : nullptr;
  return row && row->symbolId ? ModelFindExclusive(row->symbolId, ctx) : nullptr;
}

int ApiIsControlAvailable(ApiContext* api, WORD dialogId, WORD controlId, DWORD flags) {
  DriverContext* ctx = ApiDriverCtx(api);
  DlgPageRecord* page = ctx ? PageFind(ctx, dialogId) : nullptr;
  DlgControlRecord* control = page ? CtlFind(ctx, page, controlId) : nullptr;
  if (!control || !control->symbolId) return 0;
  const ExclusiveRecord* node = ControlExclusive(ctx, control);
  if ((flags & 1) && node && ModelEvalDisableRule(node, 0, ctx)) return 0;
  if ((flags & 2) && node && ModelEvalSecondRule(node, 0, ctx)) return 0;
  return 1;
}

const ExclusiveRecord* ApiFindConstraintNode(WORD setting, ApiContext* api) {
  DriverContext* ctx = ApiDriverCtx(api);
  if (!ctx || !setting) return nullptr;
  if (const ItemMainControl* main = TblFindItemControl(setting)) {
    DlgPageRecord* page = PageFind(ctx, main->page);
    if (page && (page->kind & kPageKindNodeDialogs) && !SymbolDisabled(ctx, page->symbolId)) {
      DlgControlRecord* control = CtlFind(ctx, page, main->control);
      if (control && control->symbolId)
        if (const ExclusiveRecord* node = ControlExclusive(ctx, control)) return node;
    }
  }
  return ModelFindExclusiveById(setting, ctx);
}

int ApiNodeDisabled(ApiContext* api, const ExclusiveRecord* node) {
  DriverContext* ctx = ApiDriverCtx(api);
  return node && ctx && ModelEvalDisableRule(node, 0, ctx) ? 1 : 0;
}

int ApiNodeRestricted(ApiContext* api, const ExclusiveRecord* node) {
  DriverContext* ctx = ApiDriverCtx(api);
  return node && ctx && ModelEvalSecondRule(node, 0, ctx) ? 1 : 0;
}

int ApiIsSettingOffered(ApiContext* api, WORD setting, WORD value, DWORD flags) {
  DriverContext* ctx = ApiDriverCtx(api);
  if (!ctx || !ApiSettingHasOptions(ctx, setting)) return 0;
  const ExclusiveRecord* node = ApiFindConstraintNode(setting, api);
  if (!node) return 0;
  if ((flags & 1) && ModelEvalDisableRule(node, value, ctx)) return 0;
  if ((flags & 2) && ModelEvalSecondRule(node, value, ctx)) return 0;
  return 1;
}

WORD ApiFindValueBySymbolCode(ApiContext* api, WORD setting, DWORD code) {
  DriverContext* ctx = ApiDriverCtx(api);
  const ModelItemDescriptor* desc = ctx ? ModelGetDescriptor(setting, ctx) : nullptr;
  if (!desc || (desc->type & ~kModelTypeFlags & 0x0003) != kModelTypePickOne || !desc->values) return 0;
  for (const void* c = desc->values; c; c = ModelNextChoice(desc, c)) {
    const WORD value = ModelChoiceValue(desc, c, nullptr);
    const ValueSymbol* symbol = TblFindValueSymbol(setting, value);
    if (!symbol) return 0;
    if (symbol->stored == code) return value;
  }
  return 0;
}

int ApiAlertMatches(ApiContext* api, WORD setting, WORD textId, LONG_PTR value, int mode) {
  DriverContext* ctx = ApiDriverCtx(api);
  if (!ctx) return 0;
  const LONG_PTR previous = ItemGetRawById(ctx, setting);
  if (mode == 1) ItemSetRawById(ctx, setting, value);
  int answer = 0;
  const ModelItemDescriptor* desc = ModelGetDescriptor(setting, ctx);
  const int alert = desc ? ModelCheckItemAlert(desc, ctx) : 0;
  if (alert > 0 && desc->exclusive) {
    for (const AlertRecord* a = desc->exclusive->alert; a; a = a->next)
      if (a->messageId == alert) {
        const MessageEntry* message = TblFindMessage(ctx, static_cast<WORD>(alert));
        answer = message && message->stringId == textId ? 1 : 0;
        break;
      }
  }
  if (mode == 1) ItemSetRawById(ctx, setting, previous);
  return answer;
}

WORD ApiSelectVariant(ApiContext* api, WORD setting, int variant) {
  (void)api;
  for (const ApiAdjustVariant& row : ApiAdjustVariantTable)
    if (row.setting == setting) {
      if (variant == 0) return row.text;
      if (variant == 1) return row.line;
      if (variant == 2) return row.image;
      return setting;
    }
  return setting;
}

WORD ApiRemapAdjustSetting(ApiContext* api, WORD setting) {
  if (ApiRead(api, kItem_zdmAdjustMode) != 1) return setting;
  return ApiSelectVariant(api, setting, static_cast<int>(ApiRead(api, kItem_zdmAdjustObject)));
}

int ApiPrintMacroRuleHolds(ApiContext* api) {
  return ApiRead(api, kItem_zdmUseUserMacro) != 0 && ApiRead(api, kItem_zdmUserPrintMacro) == 160 ? 1 : 0;
}

void ApiNotifyPaperChange(ApiContext* api, int kind) {
  DriverContext* ctx = ApiDriverCtx(api);
  if (!ctx) return;
  if (kind == 1)
    ItemApplyPaperChange(ctx, 1);
  else
    ModBusNotify(ctx, static_cast<WORD>(kind));
}

void ApiResetShiftIfNoRange(ApiContext* api) {
  DriverContext* ctx = ApiDriverCtx(api);
  if (!ctx || ApiCapsPresent(api, 34)) return;
  ApiWrite(api, kItem_zdmShiftDir, ModelGetItemDefault(kItem_zdmShiftDir, ctx));
  ApiWrite(api, kItem_zdmShiftMarginX, ModelGetItemDefault(kItem_zdmShiftMarginX, ctx));
}

void ApiResetPageEdges(ApiContext* api) {
  DriverContext* ctx = ApiDriverCtx(api);
  if (!ctx) return;
  ApiWrite(api, kItem_zdmShiftDir, ModelGetItemDefault(kItem_zdmShiftDir, ctx));
  static const WORD kZeroed[] = {kItem_zdmShiftMarginX,         kItem_zdmShiftMarginY,        kItem_zdmMarginOdd,
                                 kItem_zdmMarginEven,           kItem_zdmHFFuncSelectDate,    kItem_zdmHFFuncSelectPage,
                                 kItem_zdmHFFuncSelectString,   kItem_zdmFunc2SelectEdgeCorner, kItem_zdmFuncSelectCrops,
                                 kItem_zdmFuncSelectCropsFirst, kItem_zdmCreepMarginInside,   kItem_zdmCreepMarginOutside};
  for (WORD id : kZeroed) ApiWrite(api, id, 0);
}

void ApiSetEnvironmentFlagsOS(ApiContext* api) {
  DriverContext* ctx = ApiDriverCtx(api);
  if (!ctx) return;
  if (OsIsWin98OrMe()) {
    DmSetOsKindWin98(ctx);
    return;
  }
  OSVERSIONINFOW info = {};
  OsGetVersion(&info);
  CtxSetOSKind(ctx, info.dwPlatformId == 1 ? 0 : info.dwMajorVersion >= 5 ? 2 : 1);
}

void ApiBindPresetControl(WORD setting, ApiContext* api) {
  DriverContext* ctx = ApiDriverCtx(api);
  const ItemMainControl* main = ctx ? TblFindItemControl(setting) : nullptr;
  DlgPageRecord* page = main ? PageFind(ctx, main->page) : nullptr;
  DlgControlRecord* control = page ? CtlFind(ctx, page, main->control) : nullptr;
  if (!control || !control->symbolId) return;
  if (const ModelItemDescriptor* desc = ModelGetDescriptorBySymbol(control->symbolId, ctx)) control->descriptor = desc;
}

void ApiMarkUsableEntries(ApiContext* api) {
  ApiState* state = ApiGetState(api);
  DriverContext* ctx = ApiDriverCtx(api);
  if (!state || !ctx) return;
  for (int i = 0; i < kApiLoadShareRows; ++i)
    if (ApiQueryCommandNode(kItem_zdmLoadShare, ApiLoadShareTable[i].valueId, ctx) == 0) state->loadShareUsable[i] = 1;
}
