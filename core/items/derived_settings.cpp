// Getters derived from several settings: paper region and output paper, paper-change
// follow-up, authentication texts, driver id, setting-lock bits, text-edit character filter.
#include "core/items/derived_settings.h"

#include "core/common/ini_access.h"
#include "core/system/printer_names.h"
#include "core/common/text.h"
#include "core/devmode/couplings.h"
#include "core/tables/build_switches.h"
#include "core/context/driver_context.h"
#include "core/items/item_access.h"
#include "core/items/item_ids.h"
#include "core/items/item_table.h"
#include "core/rules/judge_eval.h"
#include "core/rules/model_rules.h"
#include "core/model/model_types.h"
#include "core/context/module_bus.h"
#include "core/tables/static_tables.h"
#include "core/context/ui_state.h"
#include "core/items/units.h"
#include "core/front/dialog_records.h"
#include "core/store/free_size_store.h"
#include "core/system/driver_paths.h"
#include "core/common/os_tests.h"

namespace {

// Paper codes.
enum : LONG {
  kPaperLetter = 1,
  kPaperTabloid = 3,
  kPaperA3 = 8,
  kPaperA4 = 9,
  kPaperFirstCustomSlot = 384,
  kPaperLastCustomSlot = 393,
  kOutSameAsInput = 1024,
  kOutLastSymbolic = 1028,
};

constexpr int kEventSymbolicSize = 54;

const ItemMainControl kItemMainControls[] = {
    {kItem_dmDefaultSource, 1002, 2007},
    {kItem_zdmMediaType, 1002, 2064},
    {kItem_zdmOutputTrayID, 1002, 2066},
    {kItem_dmPaperSize, 1002, 2017},
    {kItem_zdmOutPaperSize, 1002, 2053},
    {kItem_zdmPrnMethod, 1002, 2041},
    {kItem_zdmFuncSelectCover, 1042, 2071},
    {kItem_zdmFuncSelectMark, 1042, 2073},
    {kItem_zdmAdjustMode, 1038, 2633},
    {kItem_zdmAdjustObject, 1038, 2635},
    {kItem_zdmPresetNo, 1001, 2001},
};

LONG Raw(DriverContext* ctx, WORD id) { return static_cast<LONG>(ItemGetRawById(ctx, id)); }

bool IsSymbolicOutput(LONG out) { return out > kOutSameAsInput && out <= kOutLastSymbolic; }

bool LockBit(DriverContext* ctx, WORD id) { return Raw(ctx, id) != 0; }

// A text item holds text when its first character is not the terminator.
bool TextPresent(DriverContext* ctx, WORD id) {
  SettingItem* item = nullptr;
  LONG_PTR address = ItemGetRawById(ctx, id, &item);
  if (!item || address == 0) return false;
  const BYTE* p = reinterpret_cast<const BYTE*>(address);
  if (ItemTypeIsWideText(ItemDescType(item->descriptor))) return (p[0] | p[1]) != 0;
  return p[0] != 0;
}

}  // namespace

BOOL ItemUsesInchPapers(DriverContext* ctx) {
  bool regional = Raw(ctx, kItem_zdmDriverType) != 0 && Raw(ctx, kItem_zdmLocaleID) != 0;
  bool swapped = Raw(ctx, kItem_zdmHiddenFunc16) == 1;
  return regional != swapped;
}

short ItemSymbolicPaperSize(DriverContext* ctx) {
  // The print-method module answers 1 (small) in every deliverable; starting from the same
  // answer keeps the result defined while no module takes the event.
  LONG answer = 1;
  ModBusSendEvent(ctx, kEventSymbolicSize, &answer);
  bool small = answer == 1;
  if (ItemUsesInchPapers(ctx)) return small ? kPaperLetter : kPaperTabloid;
  return small ? kPaperA4 : kPaperA3;
}

BOOL ItemOutputFitApplies(DriverContext* ctx) {
  if ((Raw(ctx, kItem_zdmFrontFunc) & 0x8) == 0) return 0;
  if (Raw(ctx, kItem_zdmExtOutput2A4Fit) == 0) return 0;
  LONG out = Raw(ctx, kItem_zdmOutPaperSize);
  if (out < kOutSameAsInput || out > kOutLastSymbolic) return 0;
  LONG method = Raw(ctx, kItem_zdmPrnMethod);
  if (method == 5 || method == 7) return 0;
  if (Raw(ctx, kItem_zdmFuncSelectScale) != 0 && Raw(ctx, kItem_zdmScaleType) != 2) return 0;
  LONG symbolic = ItemSymbolicPaperSize(ctx);
  LONG paper = Raw(ctx, kItem_dmPaperSize);
  if (symbolic == paper) return 0;
  return TblIsFitPaper(static_cast<WORD>(symbolic), static_cast<WORD>(paper)) ? 1 : 0;
}

short ItemEffectiveOutPaper(DriverContext* ctx) {
  LONG out = Raw(ctx, kItem_zdmOutPaperSize);
  if (out == kOutSameAsInput) {
    if (ItemOutputFitApplies(ctx)) return ItemSymbolicPaperSize(ctx);
    return static_cast<short>(Raw(ctx, kItem_dmPaperSize));
  }
  if (IsSymbolicOutput(out)) return ItemSymbolicPaperSize(ctx);
  return static_cast<short>(out);
}

void ItemApplyPaperChange(DriverContext* ctx, int kind) {
  if (!ctx) return;
  if (kind == 1) {
    void* devmode = CtxGetSettings(ctx);
    if (!devmode) return;
    LONG out = Raw(ctx, kItem_zdmOutPaperSize);
    bool symbolic = IsSymbolicOutput(out);
    DmApplyInputPaper(static_cast<short>(Raw(ctx, kItem_dmPaperSize)), kItem_dmPaperSize, ctx,
                      devmode);
    DmApplyOutputPaper(symbolic ? ItemSymbolicPaperSize(ctx) : static_cast<short>(out),
                       kItem_zdmOutPaperSize, ctx, devmode);
    bool scaling = Raw(ctx, kItem_zdmFuncSelectScale) == 1;
    bool fit_scaling = scaling && Raw(ctx, kItem_zdmScaleType) == 2;
    if (symbolic || fit_scaling) {
      LONG src_width = Raw(ctx, kItem_zdmSrcPaperWidthDot);
      LONG src_length = Raw(ctx, kItem_zdmSrcPaperLengthDot);
      // Without a source extent there is no ratio; the scale the user had stays.
      if (src_width == 0 || src_length == 0) return;
      LONG by_width = UnitMulDiv(Raw(ctx, kItem_zdmDstPaperWidthDot), 100, src_width);
      LONG by_length = UnitMulDiv(Raw(ctx, kItem_zdmDstPaperLengthDot), 100, src_length);
      LONG scale = by_width < by_length ? by_width : by_length;
      ItemSetRawById(ctx, kItem_zdmScaleH, scale);
      ItemSetRawById(ctx, kItem_zdmScaleV, scale);
    } else if (out == kOutSameAsInput && !scaling) {
      ItemSetRawById(ctx, kItem_zdmScaleH, 100);
      ItemSetRawById(ctx, kItem_zdmScaleV, 100);
    }
    return;
  }
  WORD id = 0;
  if (kind == 3) id = kItem_dmPaperSize;
  else if (kind == 4) id = kItem_zdmOutPaperSize;
  else return;
  LONG code = Raw(ctx, id);
  if (code >= kPaperFirstCustomSlot && code <= kPaperLastCustomSlot)
    FreeSizeLoadSlot(ctx, static_cast<int>(code - kPaperFirstCustomSlot));
}

DWORD ItemAuthTextsPresent(DriverContext* ctx, DWORD mask) {
  if (Raw(ctx, kItem_zdmPrnFuncAuthenticationMode) == 0) return 0;
  DWORD present = 0;
  if ((mask & 1) && TextPresent(ctx, kItem_wdmAuthenticationUserName)) present |= 1;
  if ((mask & 2) && TextPresent(ctx, kItem_wdmAuthenticationPassword)) present |= 2;
  if ((mask & 4) && Raw(ctx, kItem_zdmPrnFuncAuthenticationSecureMode) != 0 &&
      TextPresent(ctx, kItem_wdmAuthenticationNetworkKey))
    present |= 4;
  return present;
}

void ItemSetAuthCharsets(DriverContext* ctx, DWORD mask) {
  if (mask & 1) ItemSetCharsetCode(ctx, kItem_zdmAuthUserNameCharSet);
  if (mask & 2) ItemSetCharsetCode(ctx, kItem_zdmAuthPasswordCharSet);
}

void ItemSetCharsetCode(DriverContext* ctx, WORD id) {
  ItemSetValueById(ctx, id, OsAnsiCharsetCode());
}

void ItemLoadDriverId(DriverContext* ctx) {
  if (!ctx) return;
  LONG id = 0;
  const WCHAR* path = PathModelDataFile(ctx);
  if (path && path[0] != 0 && path[1] == u':') {
    const WCHAR* driver = PrnGetDriverName(ctx);
    if (driver && driver[0] != 0) id = static_cast<LONG>(IniReadInt(driver, TEXT("DriverID"), 0, path));
  }
  ItemSetValueById(ctx, kItem_zdmDriverID, id);
}

const ItemMainControl* TblFindItemControl(WORD item) {
  for (const ItemMainControl& row : kItemMainControls)
    if (row.item == item) return &row;
  return nullptr;
}

BOOL ItemTextCharAllowed(WCHAR ch, int mode) {
  if (mode != 1 && mode != 2) return 0;
  if (ch == 8) return 1;
  if (ch < 0x20 || ch > 0x7E) return 0;
  if (mode == 1 && (ch == u'"' || ch == u':')) return 0;
  return 1;
}

BOOL ItemAnyLockBit(DriverContext* ctx) {
  for (WORD id = kItem_zdmLock000InfoBitDefault; id <= kItem_zdmLock001InfoBit7; ++id)
    if (LockBit(ctx, id)) return 1;
  return 0;
}

LONG ItemGetLockInfo(DriverContext* ctx) { return Raw(ctx, kItem_zdmLockInfoLockInfo); }
BOOL ItemLockDefault(DriverContext* ctx) { return LockBit(ctx, kItem_zdmLock000InfoBitDefault); }
BOOL ItemLockTray(DriverContext* ctx) { return LockBit(ctx, kItem_zdmLock000InfoBitTray); }
BOOL ItemLockMedia(DriverContext* ctx) { return LockBit(ctx, kItem_zdmLock000InfoBitMedia); }
BOOL ItemLockNupKind(DriverContext* ctx) { return LockBit(ctx, kItem_zdmLock000InfoBitNupKind); }
BOOL ItemLockNupKindAll(DriverContext* ctx) { return LockBit(ctx, kItem_zdmLock000InfoBitNupKindAll); }
BOOL ItemLockDuplex(DriverContext* ctx) { return LockBit(ctx, kItem_zdmLock000InfoBitDuplex); }
BOOL ItemLockPrintType(DriverContext* ctx) { return LockBit(ctx, kItem_zdmLock000InfoBitPrintType); }
BOOL ItemLockResolution(DriverContext* ctx) { return LockBit(ctx, kItem_zdmLock000InfoBitResolution); }
BOOL ItemLockColor(DriverContext* ctx) { return LockBit(ctx, kItem_zdmLock001InfoBitColor); }

BOOL CtlIsLockedByRule(DriverContext* ctx, const DlgControlRecord* control) {
  if (!ctx || !control) return 0;
  if (!BuildHasFeature(ctx, 2) || control->lockMessage == 0) return 0;
  const ExclusiveRecord* rules = control->descriptor ? control->descriptor->exclusive : nullptr;
  if (rules) {
    // The value the control stands for decides first, then the item as a whole.
    const ValueRule* rule = ModelFindValueRule(rules, control->controlId);
    if (rule && rule->judgeLocked) return JudgeEvaluate(rule->judgeLocked, ctx) ? 1 : 0;
    if (rules->judgeLocked) return JudgeEvaluate(rules->judgeLocked, ctx) ? 1 : 0;
  }
  return control->guardItem != 0 && ItemGetValueById(ctx, control->guardItem) != 0;
}

