// The print-method module's window-less answers: the separation-sheet cycle and its judge
// hook, the bidirectional and resolution questions, the colour-matching restore after a
// cancelled tabbed dialog and the controls that plug-ins take over.
#include "core/bind/bidi_acquire.h"
#include "core/bind/bidi_store.h"
#include "core/bind/job_control.h"
#include "core/common/window_ui.h"
#include "core/context/driver_context.h"
#include "core/context/module_bus.h"
#include "core/context/ui_state.h"
#include "core/devmode/field_merge.h"
#include "core/front/dialog_records.h"
#include "core/front/control_lookup.h"
#include "core/front/dialog_engine.h"
#include "core/front/page_lookup.h"
#include "core/items/item_access.h"
#include "core/items/item_ids.h"
#include "core/items/item_repair.h"
#include "core/items/item_table.h"
#include "core/items/item_values.h"
#include "core/model/model_lookup.h"
#include "core/modules/module_rows.h"
#include "core/modules/print_method_hooks.h"
#include "core/store/settings_stores.h"
#include "core/system/sub_dialog.h"

namespace {

enum : int {
  kEventHiddenFunctions = 14,
  kEventAskAcquire = 17,
  kEventTrayDetails = 21,
  kEventResolutionList = 30,
  kEventResolution = 32,
  kEventSubDialogCancelled = 34,
  kEventSubDialogAccepted = 35,
  kEventMatchingFallback = 36,
  kEventSymbolicSize = 54,
  kEventControlRefresh = 66,
  kEventComboTaken = 67,
};
constexpr WORD kNotifySeparationCycle = 901;
constexpr WORD kNotifyAcquireStatus = 250;
constexpr WORD kNotifyPendingAlert = 324;
constexpr WORD kHookSeparationCycle = 1404;
constexpr WORD kPageEdit = 1003;
constexpr WORD kPageKindTabbed = 0x20;
constexpr WORD kPageHiddenFunctions = 1065;
constexpr int kModeModal = 4;
constexpr DWORD kLockSkipRefill = 0x2;
constexpr WORD kItemCopyGuardPlugIn = 541;  // zdmFunc2SelectUICtrlCopyGuard
constexpr WORD kItemWatermarkPlugIn = 542;  // zdmFunc2SelectUICtrlWaterMark

struct PageArgument {
  DlgPageRecord* page;
};
struct PageControlArgument {
  DlgPageRecord* page;
  DlgControlRecord* control;
};

// The controls of the edit page that an enabled plug-in draws itself.
struct TakeOver {
  WORD item;
  WORD controls[7];
};
const TakeOver kTakeOvers[] = {
    {kItemCopyGuardPlugIn, {2928, 2929, 2974, 0, 0, 0, 0}},
    {kItemWatermarkPlugIn, {2088, 2089, 2090, 2091, 2092, 2406, 2407}},
};

bool TakenOver(DriverContext* ctx, WORD controlId) {
  for (const TakeOver& t : kTakeOvers) {
    if (ItemGetRawById(ctx, t.item) == 0) continue;
    for (WORD c : t.controls)
      if (c && c == controlId) return true;
  }
  return false;
}

// After a tabbed dialog was cancelled the colour-matching items get back the values the
// quality module noted, and the quality list in use keeps them.
void RestoreColorMatching(DriverContext* ctx, DlgPageRecord* page) {
  static const WORD kItems[4] = {kItem_zdmColorMatchingMode, kItem_wdmColorMatchingText, kItem_wdmColorMatchingLine,
                                 kItem_wdmColorMatchingImage};
  UiState* ui = ctx->ui;
  for (int i = 0; i < 4; ++i)
    if (ui->cmmMatchingNoted & (1u << i)) ItemSetRawById(ctx, kItems[i], ui->cmmMatching[i]);
  ModBusSendEvent(ctx, kEventMatchingFallback, nullptr);
  const LONG list = ItemGetUserMacroIndex(ctx);
  if (list >= 0) QualitySaveSlot(ctx, static_cast<int>(list));
  PageArgument accepted = {page};
  ModBusSendEvent(ctx, kEventSubDialogAccepted, &accepted);
}

// The events every build answers; -1 for the others.
int CommonEvent(DriverContext* ctx, int event, void* argument) {
  switch (event) {
    case kEventResolutionList:
      if (argument) *static_cast<LONG*>(argument) = 0;
      return 1;
    case kEventResolution: {
      auto* e = static_cast<ResolutionEvent*>(argument);
      // The model's default is a logical value; the DEVMODE holds the stored one (dots per
      // inch, or the print macro's id).
      if (e && e->item)
        e->value = static_cast<LONG>(ItemUnmapValue(ctx, e->item, ModelGetItemDefault(e->item->id, ctx)));
      return 1;
    }
    case kEventSubDialogCancelled: {
      auto* e = static_cast<PageArgument*>(argument);
      if (ctx && ctx->ui && e && e->page && (e->page->kind & kPageKindTabbed)) RestoreColorMatching(ctx, e->page);
      return 1;
    }
    case kEventSubDialogAccepted:
      if (ctx && ctx->ui) ctx->ui->cmmMatchingNoted = 0;
      return 1;
    case kEventSymbolicSize:
      if (argument) *static_cast<LONG*>(argument) = 1;
      return 1;
    case kEventControlRefresh: {
      auto* e = static_cast<PageControlArgument*>(argument);
      if (!e || !e->page || !e->control || e->page->dialogId != kPageEdit || !TakenOver(ctx, e->control->controlId))
        return 0;
      e->control->state = static_cast<WORD>((e->control->state & ~0x3) | 0x1);
      return 1;
    }
    case kEventComboTaken: {
      auto* control = argument ? *static_cast<DlgControlRecord**>(argument) : nullptr;
      if (!control) return 0;
      control->lockState |= kLockSkipRefill;
      return 1;
    }
    default:
      return -1;
  }
}

int Done(int result) { return result < 0 ? 0 : result; }

}  // namespace

// The version button's notification: the printer's status and the user code, fetched once.
static int AcquireStatus(DriverContext* ctx) {
  DlgPageRecord* page = PageFind(ctx, ctx->currentPage);
  BidiAcquireStatusBlobs(ctx, page ? page->window : NULL);
  JcFetchPropertiesOnceUi(ctx, kJcMaskUserCode);
  return 1;
}

// The alert check a control left waiting.
static int PendingAlert(DriverContext* ctx) {
  DlgPageRecord* page = PageFind(ctx, ctx->currentPage);
  DlgControlRecord* control = page ? CtlFind(ctx, page, ctx->ui->alertPendingControl) : nullptr;
  if (control && control->descriptor) DlgCheckNodeAlert(ctx, page, control->descriptor);
  return 1;
}

int PrnMethodHandleNotifyNoWindow(DriverContext* ctx, WORD code, void*) {
  if (code != kNotifySeparationCycle) return 0;
  const LONG_PTR copies = ItemGetRawById(ctx, kItem_dmCopies);
  if (copies > 0) ItemSetRawById(ctx, kItem_zdmSeparationSheetCycle, copies);
  return 1;
}

int PrnMethodHandleNotify(DriverContext* ctx, WORD code, void* data) {
  if (ctx && ctx->ui && code == kNotifyAcquireStatus) return AcquireStatus(ctx);
  if (ctx && ctx->ui && code == kNotifyPendingAlert) return PendingAlert(ctx);
  return PrnMethodHandleNotifyNoWindow(ctx, code, data);
}

// The printer interface and the exclusion DLL also answer the acquisition's questions; the
// acquisition runs with a wait window in the one and silently in the other.
static int AcquisitionEvent(DriverContext* ctx, int event, void* argument, bool withWindow) {
  switch (event) {
    case kEventAskAcquire: {
      auto* ask = static_cast<BidiAskEvent*>(argument);
      if (!ask) return 1;
      const HWND owner = reinterpret_cast<HWND>(static_cast<UINT_PTR>(ask->value));
      ask->answer = static_cast<DWORD>(withWindow ? BidiUpdateFromPrinterUi(ctx, owner) : BidiUpdateFromPrinterSilent(ctx));
      return 1;
    }
    case kEventTrayDetails:
      if (argument) *static_cast<DWORD*>(argument) = 1;
      return 1;
    default:
      return Done(CommonEvent(ctx, event, argument));
  }
}

// A Ctrl+Shift right double-click on a marked control, in a sheet the driver opened itself:
// the hidden-function dialog; its OK marks the sheet changed.
static int HiddenFunctionsEvent(DriverContext* ctx, void* argument) {
  auto* e = static_cast<PageControlArgument*>(argument);
  if (!ctx || !ctx->ui || ItemGetRawById(ctx, kItem_zdmCallSrc) != 1) return 1;
  const HWND owner = e && e->page ? e->page->window : NULL;
  if (DlgRunSubDialog(ctx, kModeModal, kPageHiddenFunctions, owner) != IDOK) return 1;
  DlgPageRecord* current = PageFind(ctx, ctx->currentPage);
  if (current && current->window)
    WuiSend(WuiParent(current->window), PSM_CHANGED, reinterpret_cast<WPARAM>(current->window), 0);
  return 1;
}

int PrnMethodHandleEvent(DriverContext* ctx, int event, void* argument, void*) {
  if (event == kEventHiddenFunctions) return HiddenFunctionsEvent(ctx, argument);
  return AcquisitionEvent(ctx, event, argument, true);
}

int PrnMethodHandleEventExclusion(DriverContext* ctx, int event, void* argument, void*) {
  return AcquisitionEvent(ctx, event, argument, false);
}

int PrnMethodHandleEventGraphics(DriverContext* ctx, int event, void* argument, void*) {
  return Done(CommonEvent(ctx, event, argument));
}

// What PrnMethodAnswerJudgeHook reads, beside it.
int PrnMethodJudgeHookInputs(WORD id, WORD* inputs, int cap) {
  if (id != kHookSeparationCycle) return 0;
  if (cap < 2) return -1;
  inputs[0] = kItem_dmCopies;
  inputs[1] = kItem_zdmSeparationSheetCycle;
  return 2;
}

int PrnMethodAnswerJudgeHook(DriverContext* ctx, WORD id) {
  if (id != kHookSeparationCycle) return 0;
  const auto copies = static_cast<SHORT>(ItemGetRawById(ctx, kItem_dmCopies));
  const auto cycle = static_cast<SHORT>(ItemGetRawById(ctx, kItem_zdmSeparationSheetCycle));
  return copies < cycle ? 1 : 0;
}
