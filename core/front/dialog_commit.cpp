// The path from a changed control to a consistent page: the value stored, the alert asked,
// the change kept or refused, the description's actions run, a follow-up dialog opened.
#include "core/common/text.h"
#include "core/common/window_ui.h"
#include "core/context/module_bus.h"
#include "core/context/ui_state.h"
#include "core/front/control_lookup.h"
#include "core/front/ctl_subclass.h"
#include "core/front/dialog_engine.h"
#include "core/items/item_access.h"
#include "core/items/item_ids.h"
#include "core/items/item_table_copy.h"
#include "core/rules/alerts.h"
#include "core/rules/model_rules.h"
#include "core/rules/transacts.h"
#include "core/store/preset_store.h"
#include "core/system/printer_names.h"
#include "core/system/resources.h"
#include "core/system/sub_dialog.h"
#include "core/tables/build_switches.h"
#include "core/tables/symbol_table.h"

namespace {

constexpr int kTextChars = 1025;
constexpr WORD kTypeNumericEdit = 63;
constexpr int kModeModal = 4;

LONG PresetNumber(DriverContext* ctx) { return static_cast<LONG>(ItemGetValueById(ctx, kItem_zdmPresetNo)); }

// The preset that moved while a change ran is applied again and shown selected.
void ReapplyPreset(DriverContext* ctx, DlgPageRecord* page) {
  const LONG slot = PresetNumber(ctx) - kPresetFirstLogical;
  PresetApplySlot(ctx, slot);
  ItemSetValueById(ctx, kItem_zdmPresetNo, slot + kPresetFirstLogical);
  if (page && CtlFind(ctx, page, 2001)) {
    if (HWND list = WuiFindControl(page->window, 2001)) WuiSend(list, LB_SETCURSEL, slot, 0);
    DlgRefreshControls(ctx, page, 1);
  }
}


// Runs a follow-up dialog owned by the page, with the guard on the description.
int RunFollowUp(DriverContext* ctx, DlgPageRecord* page, const ModelItemDescriptor* desc, int dialogId) {
  ctx->ui->dialog.guardActive = 1;
  ctx->ui->dialog.guardDescriptor = desc;
  const int result = DlgRunSubDialog(ctx, kModeModal, dialogId, page->window);
  if (result == IDCANCEL) DlgRefreshControls(ctx, page, 1);
  return result;
}

}  // namespace

void DlgNotifyCode(DriverContext* ctx, WORD code) {
  if (void (*notify)(DriverContext*, WORD) = BuildGetVariant().notifyChange) notify(ctx, code);
}

int DlgAlertKeepsChange(const AlertRecord* alert, int answer) {
  const UINT buttons = alert->buttons & 0xF;
  const UINT icon = alert->icon & 0xF0;
  if (buttons == MB_OKCANCEL) return answer == IDOK;
  return buttons == MB_OK && icon == MB_ICONINFORMATION;
}

int DlgShowAlert(const AlertRecord* alert, DriverContext* ctx, HWND owner) {
  if (!alert || !ctx) return 0;
  WCHAR text[kTextChars], caption[kTextChars];
  text[0] = caption[0] = 0;
  const MessageEntry* message = TblFindMessage(ctx, alert->messageId);
  if (message) {
    ResLoadString(ctx, message->stringId, text, kTextChars, TRUE);
    if (message->captionStringId) ResLoadString(ctx, message->captionStringId, caption, kTextChars, TRUE);
  }
  if (!caption[0]) StrCopyCut(caption, kTextChars, PrnGetPrinterName(ctx));
  WuiPost(owner, WM_PAINT, 0, 0);
  return WuiMessageBox(owner, text, caption, alert->buttons | alert->icon);
}

int DlgRunNodeActions(DriverContext* ctx, DlgPageRecord* page, const ModelItemDescriptor* desc, WORD notifyCode) {
  if (!ctx || !ctx->ui || !desc) return 0;
  if (ctx->ui->dialog.guardActive && ctx->ui->dialog.guardDescriptor == desc) return 0;
  DlgNodeEvent event = {page, desc};
  ModBusSendEvent(ctx, kEventNodeActions, &event);
  const int dialogId = ModelRunItemTransacts(desc, ctx);
  DlgNotifyCode(ctx, notifyCode);
  if (!dialogId || !page) return 0;
  RunFollowUp(ctx, page, desc, dialogId);
  return 1;
}

int DlgCheckNodeAlert(DriverContext* ctx, DlgPageRecord* page, const ModelItemDescriptor* desc) {
  if (!ctx || !ctx->ui || !desc || ModelCheckItemAlert(desc, ctx) <= 0) return 0;
  const AlertRecord* alert = JudgeFirstTrueEntry(desc->exclusive->alert, ctx);
  if (!alert) return 0;
  const int answer = DlgShowAlert(alert, ctx, page ? page->window : NULL);
  const int dialogId = ModelRunAlertActionFor(alert, ctx, answer);
  if (dialogId && page) RunFollowUp(ctx, page, desc, dialogId);
  return answer;
}

void DlgRefuseChange(DriverContext* ctx, DlgPageRecord* page, DlgControlRecord* control, const AlertRecord* alert,
                     int answer, LONG presetBefore) {
  ModelRunAlertActionFor(alert, ctx, answer);
  DlgControlEvent event = {page, control};
  ModBusSendEvent(ctx, kEventChangeRefused, &event);
  if (PresetNumber(ctx) != presetBefore) ReapplyPreset(ctx, page);
  ModBusRouteControl(ctx, page, control, kDlgMsgChangeRefused, alert->messageId, 0);
}

int CtlCommitValue(DriverContext* ctx, DlgPageRecord* page, DlgControlRecord* control, LONG_PTR value, int set) {
  if (!ctx || !ctx->ui || !page || !control) return 0;
  DlgUpdateHint(ctx, nullptr, page->window, 0, 0);
  LONG_PTR previous = 0;
  if (set) {
    previous = ItemGetControlValue(ctx, control);
    ItemSetControlValue(ctx, control, value);
  }
  const ModelItemDescriptor* desc = control->descriptor;
  if (!desc) return 0;
  const LONG presetBefore = PresetNumber(ctx);
  // While a sheet applies, the question must not leave the settings changed.
  int alerting;
  const AlertRecord* alert = nullptr;
  if (ctx->ui->dialog.applyFlag) {
    SettingItemTable* copy = ItemTableClone(ctx);
    alerting = ModelCheckItemAlert(desc, ctx);
    if (alerting > 0) alert = JudgeFirstTrueEntry(desc->exclusive->alert, ctx);
    ItemTableRestore(ctx, copy);
  } else {
    alerting = ModelCheckItemAlert(desc, ctx);
    if (alerting > 0) alert = JudgeFirstTrueEntry(desc->exclusive->alert, ctx);
  }
  if (alerting > 0 && alert) {
    int answer;
    if (control->type == kTypeNumericEdit) {
      // The box comes after the edit's own message; the answer then decides (DlgHandleMessage).
      DlgEngineState& state = ctx->ui->dialog;
      state.deferredControl = control;
      state.deferredPrevious = previous;
      state.deferredSet = set;
      state.deferredPreset = presetBefore;
      WuiPost(page->window, kDlgMsgDeferredAlert, control->controlId, reinterpret_cast<LPARAM>(alert));
      answer = IDOK;
    } else {
      answer = DlgShowAlert(alert, ctx, page->window);
    }
    if (!DlgAlertKeepsChange(alert, answer)) {
      ctx->ui->dialog.deferredControl = nullptr;
      if (set) ItemSetControlValue(ctx, control, previous);
      DlgRefuseChange(ctx, page, control, alert, answer, presetBefore);
      return 1;
    }
    ModelRunAlertActionFor(alert, ctx, answer);
  } else {
    // No alert, or an alert list none of whose entries holds: the change runs its actions.
    DlgRunNodeActions(ctx, page, desc, control->notifyCode);
  }
  if (PresetNumber(ctx) != presetBefore) ReapplyPreset(ctx, page);
  return 0;
}

int CtlApplyValue(DriverContext* ctx, DlgPageRecord* page, DlgControlRecord* control, LONG_PTR value) {
  return CtlCommitValue(ctx, page, control, value, 1);
}
