// Restricted and disabled states of dialog controls, and the stale-state tests of the refresh.
#include "core/items/control_states.h"

#include "core/context/module_bus.h"
#include "core/front/dialog_records.h"
#include "core/items/item_table.h"
#include "core/model/model_lookup.h"
#include "core/model/model_types.h"
#include "core/rules/judge_eval.h"
#include "core/rules/model_rules.h"

namespace {

constexpr int kRestrictedShift = 2;

WORD RestrictedBits(const DlgControlRecord* control) {
  return static_cast<WORD>(control->state & kControlRestrictedMask);
}

bool IsListType(const ModelItemDescriptor* desc) {
  return desc && (desc->type & ~kModelTypeFlags & 0x0003) != 0;
}

// The number of cells that may be read from judge on: up to the end of the image that holds
// it, else the longest compiled judge.
DWORD CellLimit(DriverContext* ctx, const JudgeCell* judge) {
  DWORD limit = kJudgeMaxCells;
  const ModelImageHeader* image = ModelImageOfContext(ctx);
  if (!image) return limit;
  const BYTE* begin = reinterpret_cast<const BYTE*>(image);
  const BYTE* end = begin + image->totalSize;
  const BYTE* at = reinterpret_cast<const BYTE*>(judge);
  if (at >= begin && at < end) {
    const DWORD inImage = static_cast<DWORD>(end - at) / sizeof(JudgeCell);
    if (inImage < limit) limit = inImage;
  }
  return limit;
}

// 1 when the item-level judge or a value judge of the descriptor names a changed item.
int JudgesUseChangedItem(DriverContext* ctx, const ModelItemDescriptor* desc, bool restricted) {
  if (!desc || !desc->exclusive) return 0;
  const ExclusiveRecord* rules = desc->exclusive;
  if (ModelExprUsesChangedItem(ctx, restricted ? rules->judgeRestricted : rules->judgeDisabled)) return 1;
  // Value rules of a valid image are few; the bound only stops a damaged chain.
  int walked = 0;
  for (const ValueRule* r = rules->valueRules; r && walked < 65536; r = r->next, ++walked)
    if (ModelExprUsesChangedItem(ctx, restricted ? r->judgeRestricted : r->judgeDisabled)) return 1;
  return 0;
}

}  // namespace

int ModelExprUsesChangedItem(DriverContext* ctx, const JudgeCell* judge) {
  if (!ctx || !judge) return 0;
  const DWORD limit = CellLimit(ctx, judge);
  for (DWORD i = 0; i < limit; ++i) {
    const JudgeCell& cell = judge[i];
    if (cell.kind == kJudgeOperator && cell.value == kJudgeOpEnd) break;
    if (cell.kind != kJudgeItem) continue;
    const SettingItem* item = ItemFind(ctx, cell.value);
    if (item && (item->state & ItemStateChangeMask) == ItemStateChanged) return 1;
  }
  return 0;
}

int CtlEvalRestricted(DriverContext* ctx, DlgPageRecord* page, DlgControlRecord* control) {
  if (!ctx || !control) return 0;
  CtlRestrictedQuery query = {control, page, 0, RestrictedBits(control)};
  ModBusSendEvent(ctx, kEventControlRestricted, &query);
  const ModelItemDescriptor* desc = control->descriptor;
  int result;
  if (query.answered || !desc) {
    result = RestrictedBits(control) >> kRestrictedShift;
  } else {
    result = ModelIsValueRestricted(desc, 0, ctx) ? 1 : 0;
    if (!result && IsListType(desc)) result = ModelIsValueRestricted(desc, control->controlId, ctx) ? 1 : 0;
  }
  // Put back also when a module wrote the bits and ended the dispatch without answering.
  control->state = static_cast<WORD>((control->state & ~kControlRestrictedMask) |
                                     (query.savedState & kControlRestrictedMask));
  return result;
}

int CtlRestrictedStale(DriverContext* ctx, DlgPageRecord* page, DlgControlRecord* control) {
  if (!ctx || !control) return 0;
  if ((RestrictedBits(control) >> kRestrictedShift) != CtlEvalRestricted(ctx, page, control)) return 1;
  return JudgesUseChangedItem(ctx, control->descriptor, true);
}

int CtlDisabledStale(DriverContext* ctx, DlgControlRecord* control) {
  if (!ctx || !control) return 0;
  const int shown = control->state & kControlDisabledMask;
  if (shown != ModelIsDescriptorDisabled(ctx, control->descriptor, control->controlId)) return 1;
  return JudgesUseChangedItem(ctx, control->descriptor, false);
}
