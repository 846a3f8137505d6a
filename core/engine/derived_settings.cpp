// Getters derived from several settings: paper region and output paper, paper-change
// follow-up, authentication texts, driver id, setting-lock bits, text-edit character filter.
#include "core/engine/derived_settings.h"

#include "core/common/ini_access.h"
#include "core/common/printer_names.h"
#include "core/common/text.h"
#include "core/devmode/couplings.h"
#include "core/engine/build_switches.h"
#include "core/engine/driver_context.h"
#include "core/engine/item_access.h"
#include "core/engine/item_table.h"
#include "core/engine/judge_eval.h"
#include "core/engine/model_rules.h"
#include "core/engine/model_types.h"
#include "core/engine/module_bus.h"
#include "core/engine/static_tables.h"
#include "core/engine/ui_state.h"
#include "core/engine/units.h"
#include "core/front/dialog_records.h"
#include "core/store/free_size_store.h"

namespace {

// Item ids this file reads.
enum : WORD {
  kDmPaperSize = 8,
  kZdmSrcPaperLengthDot = 40,
  kZdmSrcPaperWidthDot = 41,
  kZdmOutPaperSize = 46,
  kZdmDstPaperLengthDot = 47,
  kZdmDstPaperWidthDot = 48,
  kZdmFuncSelectScale = 55,
  kZdmScaleType = 87,
  kZdmScaleH = 89,
  kZdmScaleV = 90,
  kZdmLocaleID = 172,
  kZdmPrnMethod = 209,
  kZdmDriverType = 242,
  kZdmFrontFunc = 348,
  kZdmHiddenFunc16 = 365,
  kZdmExtOutput2A4Fit = 383,
  kZdmAuthUserNameCharSet = 613,
  kZdmAuthPasswordCharSet = 614,
  kZdmDriverID = 684,
  kWdmAuthenticationUserName = 1112,
  kWdmAuthenticationPassword = 1113,
  kWdmAuthenticationNetworkKey = 1114,
  kZdmPrnFuncAuthenticationMode = 10354,
  kZdmPrnFuncAuthenticationSecureMode = 10355,
  kZdmLockInfoLockInfo = 10386,
  kZdmLock000InfoBitDefault = 10418,  // ... 10425 resolution
  kZdmLock001InfoBitColor = 10426,    // ... 10433
};

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
    {13, 1002, 2007},   // dmDefaultSource
    {54, 1002, 2064},   // zdmMediaType
    {53, 1002, 2066},   // zdmOutputTrayID
    {8, 1002, 2017},    // dmPaperSize
    {46, 1002, 2053},   // zdmOutPaperSize
    {209, 1002, 2041},  // zdmPrnMethod
    {65, 1042, 2071},   // zdmFuncSelectCover
    {64, 1042, 2073},   // zdmFuncSelectMark
    {128, 1038, 2633},  // zdmAdjustMode
    {129, 1038, 2635},  // zdmAdjustObject
    {37, 1001, 2001},   // zdmPresetNo
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
  bool regional = Raw(ctx, kZdmDriverType) != 0 && Raw(ctx, kZdmLocaleID) != 0;
  bool swapped = Raw(ctx, kZdmHiddenFunc16) == 1;
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
  if ((Raw(ctx, kZdmFrontFunc) & 0x8) == 0) return 0;
  if (Raw(ctx, kZdmExtOutput2A4Fit) == 0) return 0;
  LONG out = Raw(ctx, kZdmOutPaperSize);
  if (out < kOutSameAsInput || out > kOutLastSymbolic) return 0;
  LONG method = Raw(ctx, kZdmPrnMethod);
  if (method == 5 || method == 7) return 0;
  if (Raw(ctx, kZdmFuncSelectScale) != 0 && Raw(ctx, kZdmScaleType) != 2) return 0;
  LONG symbolic = ItemSymbolicPaperSize(ctx);
  LONG paper = Raw(ctx, kDmPaperSize);
  if (symbolic == paper) return 0;
  return TblIsFitPaper(static_cast<WORD>(symbolic), static_cast<WORD>(paper)) ? 1 : 0;
}

short ItemEffectiveOutPaper(DriverContext* ctx) {
  LONG out = Raw(ctx, kZdmOutPaperSize);
  if (out == kOutSameAsInput) {
    if (ItemOutputFitApplies(ctx)) return ItemSymbolicPaperSize(ctx);
    return static_cast<short>(Raw(ctx, kDmPaperSize));
  }
  if (IsSymbolicOutput(out)) return ItemSymbolicPaperSize(ctx);
  return static_cast<short>(out);
}

void ItemApplyPaperChange(DriverContext* ctx, int kind) {
  if (!ctx) return;
  if (kind == 1) {
    void* devmode = CtxGetSettings(ctx);
    if (!devmode) return;
    LONG out = Raw(ctx, kZdmOutPaperSize);
    bool symbolic = IsSymbolicOutput(out);
    DmApplyInputPaper(static_cast<short>(Raw(ctx, kDmPaperSize)), kDmPaperSize, ctx, devmode);
    DmApplyOutputPaper(symbolic ? ItemSymbolicPaperSize(ctx) : static_cast<short>(out),
                       kZdmOutPaperSize, ctx, devmode);
    bool scaling = Raw(ctx, kZdmFuncSelectScale) == 1;
    bool fit_scaling = scaling && Raw(ctx, kZdmScaleType) == 2;
    if (symbolic || fit_scaling) {
      LONG src_width = Raw(ctx, kZdmSrcPaperWidthDot);
      LONG src_length = Raw(ctx, kZdmSrcPaperLengthDot);
      // Without a source extent there is no ratio; the scale the user had stays.
      if (src_width == 0 || src_length == 0) return;
      LONG by_width = UnitMulDiv(Raw(ctx, kZdmDstPaperWidthDot), 100, src_width);
      LONG by_length = UnitMulDiv(Raw(ctx, kZdmDstPaperLengthDot), 100, src_length);
      LONG scale = by_width < by_length ? by_width : by_length;
      ItemSetRawById(ctx, kZdmScaleH, scale);
      ItemSetRawById(ctx, kZdmScaleV, scale);
    } else if (out == kOutSameAsInput && !scaling) {
      ItemSetRawById(ctx, kZdmScaleH, 100);
      ItemSetRawById(ctx, kZdmScaleV, 100);
    }
    return;
  }
  WORD id = kind == 3 ? kDmPaperSize : kind == 4 ? kZdmOutPaperSize : 0;
  if (id == 0) return;
  LONG code = Raw(ctx, id);
  if (code >= kPaperFirstCustomSlot && code <= kPaperLastCustomSlot)
    FreeSizeLoadSlot(ctx, static_cast<int>(code - kPaperFirstCustomSlot));
}

DWORD ItemAuthTextsPresent(DriverContext* ctx, DWORD mask) {
  if (Raw(ctx, kZdmPrnFuncAuthenticationMode) == 0) return 0;
  DWORD present = 0;
  if ((mask & 1) && TextPresent(ctx, kWdmAuthenticationUserName)) present |= 1;
  if ((mask & 2) && TextPresent(ctx, kWdmAuthenticationPassword)) present |= 2;
  if ((mask & 4) && Raw(ctx, kZdmPrnFuncAuthenticationSecureMode) != 0 &&
      TextPresent(ctx, kWdmAuthenticationNetworkKey))
    present |= 4;
  return present;
}

void ItemSetAuthCharsets(DriverContext* ctx, DWORD mask) {
  if (mask & 1) ItemSetCharsetCode(ctx, kZdmAuthUserNameCharSet);
  if (mask & 2) ItemSetCharsetCode(ctx, kZdmAuthPasswordCharSet);
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
  ItemSetValueById(ctx, kZdmDriverID, id);
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
  for (WORD id = kZdmLock000InfoBitDefault; id < kZdmLock001InfoBitColor + 8; ++id)
    if (LockBit(ctx, id)) return 1;
  return 0;
}

LONG ItemGetLockInfo(DriverContext* ctx) { return Raw(ctx, kZdmLockInfoLockInfo); }
BOOL ItemLockDefault(DriverContext* ctx) { return LockBit(ctx, 10418); }
BOOL ItemLockTray(DriverContext* ctx) { return LockBit(ctx, 10419); }
BOOL ItemLockMedia(DriverContext* ctx) { return LockBit(ctx, 10420); }
BOOL ItemLockNupKind(DriverContext* ctx) { return LockBit(ctx, 10421); }
BOOL ItemLockNupKindAll(DriverContext* ctx) { return LockBit(ctx, 10422); }
BOOL ItemLockDuplex(DriverContext* ctx) { return LockBit(ctx, 10423); }
BOOL ItemLockPrintType(DriverContext* ctx) { return LockBit(ctx, 10424); }
BOOL ItemLockResolution(DriverContext* ctx) { return LockBit(ctx, 10425); }
BOOL ItemLockColor(DriverContext* ctx) { return LockBit(ctx, 10426); }

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

