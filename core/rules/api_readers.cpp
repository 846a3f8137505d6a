// Readers of the model description for the application interface of zemsexc.
#include "core/rules/api_readers.h"

#include "core/items/item_caps.h"
#include "core/items/item_checks.h"
#include "core/items/item_ids.h"
#include "core/model/model_lookup.h"
#include "core/model/model_types.h"
#include "core/rules/judge_eval.h"
#include "core/rules/model_rules.h"
#include "core/tables/model_record.h"
#include "core/tables/value_symbols.h"

namespace {

const NumericValueRecord* NumberOf(DriverContext* ctx, WORD id) {
  const ModelItemDescriptor* desc = ModelGetDescriptor(id, ctx);
  if (!desc || ModelValueShapeOf(desc->type) != kModelShapeNumeric) return nullptr;
  return static_cast<const NumericValueRecord*>(desc->values);
}

int TwoRanges(DriverContext* ctx, WORD first, WORD second, LONG* firstMin, LONG* firstMax, LONG* secondMin,
              LONG* secondMax) {
  const NumericValueRecord* a = NumberOf(ctx, first);
  const NumericValueRecord* b = NumberOf(ctx, second);
  if ((firstMin || firstMax) && !a) return 0;
  if ((secondMin || secondMax) && !b) return 0;
  if (firstMin) *firstMin = a->minimum;
  if (firstMax) *firstMax = a->maximum;
  if (secondMin) *secondMin = b->minimum;
  if (secondMax) *secondMax = b->maximum;
  return 1;
}

}  // namespace

int ApiIsAbsolutePath(const WCHAR* path) {
  if (!path) return 0;
  const bool letter = (path[0] >= 'A' && path[0] <= 'Z') || (path[0] >= 'a' && path[0] <= 'z');
  if (letter && path[1] == ':' && path[2] == '\\') return 1;
  return path[0] == '\\' && path[1] == '\\' ? 1 : 0;
}

int ApiSettingHasOptions(DriverContext* ctx, WORD setting) {
  const ModelItemDescriptor* desc = ModelGetDescriptor(setting, ctx);
  return desc && desc->type != kModelTypeUnknown ? 1 : 0;
}

int ApiAllowedValues(DriverContext* ctx, LONG* out, WORD setting) {
  const ModelItemDescriptor* desc = ModelGetDescriptor(setting, ctx);
  if (!desc || (desc->type & ~kModelTypeFlags & 0x0003) != kModelTypePickOne || !desc->values) return -1;
  int count = 0;
  for (const void* c = desc->values; c; c = ModelNextChoice(desc, c)) {
    const WORD value = ModelChoiceValue(desc, c, nullptr);
    if (ModelEvalDisableRule(desc->exclusive, value, ctx)) continue;
    const ValueSymbol* symbol = TblFindValueSymbol(setting, value);
    if (!symbol || symbol->kind == ValueKindNone) return -1;
    if (out) out[count] = static_cast<LONG>(symbol->stored);
    ++count;
  }
  return count ? count : -1;
}

LONG ApiGetMaxCopies(DriverContext* ctx) {
  if (const NumericValueRecord* r = NumberOf(ctx, kItem_dmCopies)) return r->maximum;
  const ModelRecord* record = CtxModelRecord(ctx);
  return record ? record->maxCopies : 0;
}

int ApiGetScaleRanges(DriverContext* ctx, WORD* minimum, WORD* maximum) {
  if (!minimum && !maximum) return 0;
  const NumericValueRecord* h = NumberOf(ctx, kItem_zdmScaleH);
  const NumericValueRecord* v = NumberOf(ctx, kItem_zdmScaleV);
  if (!h || !v) return 0;
  if (minimum) {
    minimum[0] = static_cast<WORD>(h->minimum);
    minimum[1] = static_cast<WORD>(v->minimum);
  }
  if (maximum) {
    maximum[0] = static_cast<WORD>(h->maximum);
    maximum[1] = static_cast<WORD>(v->maximum);
  }
  return 1;
}

int ApiGetMarginRanges(DriverContext* ctx, LONG* oddMin, LONG* oddMax, LONG* evenMin, LONG* evenMax) {
  return TwoRanges(ctx, kItem_zdmMarginOdd, kItem_zdmMarginEven, oddMin, oddMax, evenMin, evenMax);
}

int ApiGetShiftRanges(DriverContext* ctx, LONG* xMin, LONG* xMax, LONG* yMin, LONG* yMax) {
  return TwoRanges(ctx, kItem_zdmShiftMarginX, kItem_zdmShiftMarginY, xMin, xMax, yMin, yMax);
}

int ApiGetCreepRanges(DriverContext* ctx, LONG* insideMin, LONG* insideMax, LONG* outsideMin, LONG* outsideMax) {
  return TwoRanges(ctx, kItem_zdmCreepMarginInside, kItem_zdmCreepMarginOutside, insideMin, insideMax, outsideMin, outsideMax);
}

int ApiListResolutions(DriverContext* ctx, LONG* out) { return ItemListResolutionMacros(ctx, out); }

const ExclusiveRecord* ModelFindExclusiveById(WORD setting, DriverContext* ctx) {
  if (setting == 0) return nullptr;
  const ModelItemDescriptor* desc = ModelFindDescriptor(setting, ctx);
  return desc ? desc->exclusive : nullptr;
}

int ModelEvalFirstJudge(const ExclusiveRecord* record, WORD value, DriverContext* ctx) {
  if (!record) return 0;
  if (value == 0) return JudgeEvaluate(record->judgeDisabled, ctx);
  const ValueRule* rule = ModelFindValueRule(record, value);
  return rule ? JudgeEvaluate(rule->judgeDisabled, ctx) : 1;
}

int ApiQueryCommandNode(WORD setting, WORD value, DriverContext* ctx) {
  const ExclusiveRecord* record = ModelFindExclusiveById(setting, ctx);
  return record ? ModelEvalFirstJudge(record, value, ctx) : -1;
}

int ApiIsValueDisabled(WORD setting, WORD value, DriverContext* ctx) {
  const ExclusiveRecord* record = ModelFindExclusiveById(setting, ctx);
  return record ? ModelEvalDisableRule(record, value, ctx) : -1;
}

int ApiIsValueRestricted(WORD setting, WORD value, DriverContext* ctx) {
  const ExclusiveRecord* record = ModelFindExclusiveById(setting, ctx);
  return record ? ModelEvalSecondRule(record, value, ctx) : -1;
}

int ApiClassifyValue(const SettingItem* record, WORD setting, LONG_PTR value, DriverContext* ctx) {
  return ItemCheckValueRules(record, setting, value, ctx, ModelGetDescriptor(setting, ctx));
}
