// Value checks against the model description: the full check with its couplings, the basic
// check, and the check-and-repair operations.
#include "core/items/item_checks.h"

#include "core/context/ui_state.h"
#include "core/devmode/item_reset.h"
#include "core/items/item_access.h"
#include "core/items/item_ids.h"
#include "core/items/item_table.h"
#include "core/items/item_values.h"
#include "core/model/model_lookup.h"
#include "core/model/model_types.h"
#include "core/rules/judge_eval.h"
#include "core/rules/transacts.h"
#include "core/tables/build_switches.h"

namespace {

// A value list of a valid image is short; the bound only keeps a damaged link chain from
// running away.
constexpr int kMaxListWalk = 65536;

// Display string ids of the presets: 119-134 are presets 0-15, 118 is "none".
constexpr LONG kPresetFirstString = 119;
constexpr LONG kPresetLastString = 134;
constexpr LONG kPresetNoneString = 118;
constexpr LONG kPresetNone = 255;

constexpr LONG_PTR kOrientationPortrait = 1;  // stored dmOrientation

// zdmNUPType codes written when the current kind's own value is disabled.
constexpr LONG kNupKind10Portrait = 161;
constexpr LONG kNupKind10Landscape = 163;
constexpr LONG kNupKind11Portrait = 129;
constexpr LONG kNupKind11Landscape = 130;

WORD TypeOf(const ModelItemDescriptor* desc) {
  return desc ? static_cast<WORD>(desc->type & ~kModelTypeFlags) : 0;
}

bool IsCheckedListType(WORD type) {
  return type == kModelTypePickOne || type == kModelTypePickMany || type == kModelTypePickPage ||
         type == kModelTypePickSlot;
}

bool HasNoRule(const ModelItemDescriptor* desc) {
  return !desc || (desc->type & kModelTypeUnknown) != 0;
}

DWORD MergeFlags(const DriverContext* ctx) { return ctx && ctx->ui ? ctx->ui->mergeFlags : 0; }

// Steps shared by both checks for list types: the stored value mapped through the item's own
// list and looked up in the descriptor's list. Returns 0 or 1 when that already decides, -1
// when the value is listed and its judges decide; *logical receives the value to judge.
int CheckListMembership(const SettingItem* item, LONG_PTR value, DriverContext* ctx,
                        const ModelItemDescriptor* desc, LONG_PTR* logical) {
  *logical = value;
  const SettingItem* listItem = ItemValueListOwner(ctx, item, desc);
  const bool ownList = listItem != nullptr;
  if (ownList) {
    *logical = ItemMapValue(ctx, listItem, value);
    if (*logical == value && !ItemIsStoredValueListed(ctx, listItem, value)) return kCheckRefused;
  }
  if (!desc || !desc->values) return ownList && *logical != 0 ? kCheckAccepted : kCheckRefused;
  if (!ItemValueListContains(desc->values, *logical)) return kCheckRefused;
  return -1;
}

// The descriptor of a function gate when it is available: described, and neither disabled
// nor restricted at item level. Null otherwise.
const ModelItemDescriptor* AvailableGate(DriverContext* ctx, WORD gateId) {
  const ModelItemDescriptor* gate = ModelGetDescriptor(gateId, ctx);
  if (!gate) return nullptr;
  if (ModelIsValueDisabled(gate, 0, ctx) || ModelIsValueRestricted(gate, 0, ctx)) return nullptr;
  return gate;
}

bool GateIsOn(DriverContext* ctx, WORD gateId) { return ItemGetRawById(ctx, gateId) != 0; }

// The item that gates a finishing item, 0 for an item without a gate.
WORD GateOf(WORD id) {
  switch (id) {
    case kItem_zdmDuplexType: return kItem_zdmFuncSelectDuplex;
    case kItem_zdmPunchType: return kItem_zdmFuncSelectPunch;
    case kItem_zdmStapleType: return kItem_zdmFuncSelectStaple;
    case kItem_zdmFoldType: return kItem_zdmFuncSelectFold;
    case kItem_zdmCopyProtectTileMask: return kItem_zdmCopyProtectFuncSelectMaskPattern;
    default: return 0;
  }
}

bool IsColorMatchingItem(WORD id) {
  return id == kItem_zdmColorMatchingMode || id == kItem_wdmColorMatchingText ||
         id == kItem_wdmColorMatchingLine || id == kItem_wdmColorMatchingImage;
}

// Aligns the N-up settings with a zdmNUPType value while N-up is on. The writes are raw codes.
void AlignNup(DriverContext* ctx, LONG_PTR value, bool valueDisabled) {
  const DWORD current = static_cast<DWORD>(ItemGetRawById(ctx, kItem_zdmNUPPOSTKind));
  const DWORD kind = ItemNupTypeKind(value, nullptr);
  const bool portrait = ItemGetRawById(ctx, kItem_dmOrientation) == kOrientationPortrait;
  const LONG defaultType = portrait ? 1 : 3;
  auto takeKind = [&]() {
    if (kind != 0) ItemSetRawById(ctx, kItem_zdmNUPPOSTKind, kind);
    if (kind == 1) ItemSetRawById(ctx, kItem_zdmNUPType, defaultType);
  };
  switch (current) {
    case 1:
      if (kind != 1) {
        if (kind != 0) ItemSetRawById(ctx, kItem_zdmNUPPOSTKind, kind);
      } else if (valueDisabled) {
        ItemSetRawById(ctx, kItem_zdmNUPType, defaultType);
      }
      break;
    case 2: case 3: case 4: case 9:
      if (kind != current) takeKind();
      break;
    case 10:
      if (kind != 10) takeKind();
      else if (valueDisabled) ItemSetRawById(ctx, kItem_zdmNUPType, portrait ? kNupKind10Portrait : kNupKind10Landscape);
      break;
    case 11:
      if (kind != 11) takeKind();
      else if (valueDisabled) ItemSetRawById(ctx, kItem_zdmNUPType, portrait ? kNupKind11Portrait : kNupKind11Landscape);
      break;
    default:
      break;
  }
}

// Step 1.4 of the full check: the couplings by item, else the value's judges.
int CheckListCouplings(WORD id, LONG_PTR value, LONG_PTR logical, DriverContext* ctx,
                       const ModelItemDescriptor* desc) {
  const WORD judged = static_cast<WORD>(logical);
  if (id == kItem_zdmNUPType) {
    if (AvailableGate(ctx, kItem_zdmFuncSelectNup) && GateIsOn(ctx, kItem_zdmFuncSelectNup))
      AlignNup(ctx, value, ModelIsValueDisabled(desc, judged, ctx) != 0);
    return kCheckAccepted;
  }
  if (WORD gate = GateOf(id)) {
    if (!AvailableGate(ctx, gate)) return kCheckAccepted;
    return GateIsOn(ctx, gate) && ModelIsValueDisabled(desc, judged, ctx) ? kCheckDisabled : kCheckAccepted;
  }
  if (IsColorMatchingItem(id) && value >= 200 && value <= 215) return kCheckAccepted;
  if (ModelIsValueDisabled(desc, judged, ctx)) return kCheckDisabled;
  if (ModelIsValueRestricted(desc, judged, ctx)) return kCheckRestricted;
  return kCheckAccepted;
}

// The exclusion DLL's application codes, accepted whatever the description says.
bool IsAcceptedApiCode(WORD id, LONG_PTR value) {
  if (!BuildGetVariant().checkAcceptsApiCodes) return false;
  return (id == kItem_zdmUserPrintMacro && value == 160) || (id == kItem_zdmColorMode && value == 255);
}

// zdmPresetNo read as a preset: a listed value through its display string, any other stored
// value as the preset number itself (-1 and 255 are "none").
LONG PresetNumberOf(DriverContext* ctx, const SettingItem* item, LONG_PTR value) {
  const LONG_PTR logical = ItemMapValue(ctx, item, value);
  if (logical >= kPresetFirstString && logical <= kPresetLastString)
    return static_cast<LONG>(logical - kPresetFirstString);
  if (logical == kPresetNoneString) return kPresetNone;
  return static_cast<LONG>(value);
}

// Step 3 of the repair: a preset number that names no preset and is not "none" becomes 0.
void RepairPresetNo(DriverContext* ctx, SettingItem* item, LONG_PTR value) {
  const LONG preset = PresetNumberOf(ctx, item, value);
  if ((preset < 0 || preset > 127) && (preset & 0xFF) != 0xFF) ItemSetRaw(ctx, item, 0);
}

// The record and descriptor of a check by id; returns 2 or 3 when the item has no rule, else 0.
int FindRule(WORD id, DriverContext* ctx, SettingItem** item, const ModelItemDescriptor** desc) {
  *item = ItemFind(ctx, id);
  *desc = nullptr;
  if (!*item || (*item)->symbolId == 0) return kCheckNoItemRule;
  *desc = ModelGetDescriptor(id, ctx);
  if (HasNoRule(*desc)) return kCheckNoDescriptor;
  return 0;
}

// The repair of a refused value shared by both check-and-repair forms.
void Repair(WORD id, LONG_PTR value, DriverContext* ctx, SettingItem* item, int check) {
  if (id == kItem_zdmPresetNo) {
    RepairPresetNo(ctx, item, value);
    return;
  }
  const DWORD flags = MergeFlags(ctx);
  if (check == kCheckDisabled && (flags & kMergeKeepDisabled)) return;
  if (flags & kMergeOptionBlock)
    ItemClampOrReset(id, ctx, item, value);
  else
    DmResetItemToModelDefault(ctx, item);
}

}  // namespace

const SettingItem* ItemValueListOwner(DriverContext* ctx, const SettingItem* item,
                                      const ModelItemDescriptor* desc) {
  if (!item) return nullptr;
  if (ItemValueList(item)) return item;
  if (!desc || !(desc->type & kModelTypeIdentity) || desc->variant == 0) return nullptr;
  const SettingItem* mirrored = ItemFindBySymbol(ctx, desc->variant);
  return mirrored && mirrored != item && ItemValueList(mirrored) ? mirrored : nullptr;
}

int ItemValueListContains(const void* firstValue, LONG_PTR value) {
  const WORD wanted = static_cast<WORD>(value);
  int walked = 0;
  for (const ListValueRecord* r = static_cast<const ListValueRecord*>(firstValue); r && walked < kMaxListWalk;
       r = r->next, ++walked)
    if (r->valueId == wanted) return 1;
  return 0;
}

int ItemIsBooleanValue(LONG_PTR value) { return value == 0 || value == 1 ? 1 : 0; }

int ItemNumericInRange(const NumericValueRecord* range, LONG_PTR value) {
  if (!range) return 0;
  const LONG v = static_cast<LONG>(value);
  return range->minimum <= v && v <= range->maximum ? 1 : 0;
}

DWORD ItemNupTypeKind(LONG_PTR nupType, DWORD* kind) {
  DWORD k = 0;
  switch (nupType) {
    case 1: case 2: case 3: k = 1; break;
    case 33: case 34: case 37: case 38: k = 2; break;
    case 65: case 66: case 69: case 70: k = 3; break;
    case 97: case 98: case 101: case 102: k = 4; break;
    case 129: case 130: k = 11; break;
    case 161: case 162: case 163: case 164: k = 10; break;
    case 32769: case 32770: case 32771: k = 9; break;
    default: k = 0; break;
  }
  if (kind) *kind = k;
  return k;
}

// Items that are not lists: a Boolean takes 0 and 1, a number its description's range; other
// types take any value.
static int CheckByType(WORD type, const ModelItemDescriptor* desc, LONG_PTR value) {
  switch (type) {
    case kModelTypeBoolean:
      return ItemIsBooleanValue(value);
    case kModelTypeNumeric:
      return ItemNumericInRange(static_cast<const NumericValueRecord*>(desc->values), value);
    default:
      return kCheckAccepted;
  }
}

int ItemCheckValueRules(const SettingItem* item, WORD id, LONG_PTR value, DriverContext* ctx,
                        const ModelItemDescriptor* desc) {
  if (IsAcceptedApiCode(id, value)) return kCheckAccepted;
  const WORD type = TypeOf(desc);
  if (IsCheckedListType(type) || !desc) {
    // Without a descriptor only the item's own list can accept (step 1.2).
    LONG_PTR logical = value;
    const int listed = CheckListMembership(item, value, ctx, desc, &logical);
    if (listed >= 0) return listed;
    return CheckListCouplings(id, value, logical, ctx, desc);
  }
  return CheckByType(type, desc, value);
}

int ItemCheckValueBasic(const SettingItem* item, WORD id, LONG_PTR value, DriverContext* ctx) {
  const ModelItemDescriptor* desc = ModelGetDescriptor(id, ctx);
  const WORD type = TypeOf(desc);
  if (IsCheckedListType(type) || !desc) {
    LONG_PTR logical = value;
    const int listed = CheckListMembership(item, value, ctx, desc, &logical);
    if (listed >= 0) return listed;
    return ModelIsValueDisabled(desc, static_cast<WORD>(logical), ctx) ? kCheckRefused : kCheckAccepted;
  }
  return CheckByType(type, desc, value);
}

int ItemIsValueAllowed(WORD id, LONG_PTR value, DriverContext* ctx) {
  SettingItem* item;
  const ModelItemDescriptor* desc;
  if (int none = FindRule(id, ctx, &item, &desc)) return none;
  const int check = ItemCheckValueRules(item, id, value, ctx, desc);
  return check == kCheckAccepted || check == kCheckRestricted ? 1 : 0;
}

int ItemIsValueAllowedBasic(WORD id, LONG_PTR value, DriverContext* ctx) {
  SettingItem* item;
  const ModelItemDescriptor* desc;
  if (int none = FindRule(id, ctx, &item, &desc)) return none;
  return ItemCheckValueBasic(item, id, value, ctx) == kCheckAccepted ? 1 : 0;
}

int ItemCheckAndRepair(WORD id, LONG_PTR value, DriverContext* ctx) {
  SettingItem* item;
  const ModelItemDescriptor* desc;
  if (int none = FindRule(id, ctx, &item, &desc)) return none;
  const int check = ItemCheckValueRules(item, id, value, ctx, desc);
  if (check == kCheckAccepted || check == kCheckRestricted) return 1;
  Repair(id, value, ctx, item, check);
  return 1;
}

int ItemCheckAndRepairBasic(WORD id, LONG_PTR value, DriverContext* ctx) {
  SettingItem* item;
  const ModelItemDescriptor* desc;
  if (int none = FindRule(id, ctx, &item, &desc)) return none;
  const int check = ItemCheckValueBasic(item, id, value, ctx);
  if (check == kCheckAccepted) return 1;
  if (IsCheckedListType(TypeOf(desc)) && ItemValueList(item))
    return ItemIsStoredValueListed(ctx, item, value) ? 1 : 0;
  Repair(id, value, ctx, item, check);
  return 1;
}

void ItemClampOrReset(WORD id, DriverContext* ctx, SettingItem* item, LONG_PTR value) {
  if (!item) return;
  if (id == kItem_zdmScaleH || id == kItem_zdmScaleV) {
    const ModelItemDescriptor* desc = ModelGetDescriptor(id, ctx);
    if (TypeOf(desc) == kModelTypeNumeric && desc->values) {
      const NumericValueRecord* range = static_cast<const NumericValueRecord*>(desc->values);
      const LONG v = static_cast<LONG>(value);
      if (v < range->minimum) {
        ItemSetRaw(ctx, item, range->minimum);
        return;
      }
      if (v > range->maximum) {
        ItemSetRaw(ctx, item, range->maximum);
        return;
      }
    }
  }
  DmResetItemToModelDefault(ctx, item);
}

void ItemRunAllTransacts(DriverContext* ctx) {
  if (!ctx || !ctx->items || !ctx->items->rows) return;
  for (int row = 0; row < ctx->items->count; ++row) {
    // The slot lookup: the check descriptor of the custom-size items would write an item.
    if (const ModelItemDescriptor* desc = ModelFindDescriptor(ctx->items->rows[row].id, ctx))
      ModelRunItemTransacts(desc, ctx);
  }
}
