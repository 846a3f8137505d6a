// The page procedure of every property page and modal dialog: it binds and initialises the
// controls, offers each message to the UI modules and then to the control types, handles the
// sheet notifications, the preset confirm buttons, the closing buttons and context help, and
// fits the page's children into the page once it exists.
#include <string.h>

#include "core/common/os_tests.h"
#include "core/common/text.h"
#include "core/common/window_ui.h"
#include "core/context/module_bus.h"
#include "core/context/ui_state.h"
#include "core/devmode/sheet_commit.h"
#include "core/front/control_lookup.h"
#include "core/front/ctl_subclass.h"
#include "core/front/dialog_engine.h"
#include "core/front/page_lookup.h"
#include "core/items/item_access.h"
#include "core/items/item_ids.h"
#include "core/items/item_table.h"
#include "core/model/model_lookup.h"
#include "core/modules/preset_entries.h"
#include "core/store/free_size_store.h"
#include "core/store/lock_data.h"
#include "core/store/preset_store.h"
#include "core/system/driver_paths.h"
#include "core/system/printer_names.h"
#include "core/system/resources.h"
#include "core/system/sub_dialog.h"
#include "core/system/user_messages.h"
#include "core/tables/build_switches.h"

namespace {

constexpr int kTextChars = 1025;
constexpr int kModeModal = 4;
constexpr UINT kStringSaveNew = 372, kStringOverwrite = 373;
constexpr UINT kMsgPresetReadOnly = 10024, kMsgNoPresetName = 10031, kMsgPresetExists = 10032;
constexpr UINT kMsgBadFile = 10043, kMsgPresetListFull = 10049;
constexpr WORD kNotifyDocumentApply = 326;

DlgEngineState& State(DriverContext* ctx) { return ctx->ui->dialog; }

// A mouse message's point: signed x in the low word, y in the high word.
POINT PointOf(LPARAM lParam) {
  POINT at = {static_cast<SHORT>(LOWORD(lParam)), static_cast<SHORT>(HIWORD(lParam))};
  return at;
}

LONG ValueOf(DriverContext* ctx, WORD id) { return static_cast<LONG>(ItemGetValueById(ctx, id)); }

// A warning (or with extra buttons a question) captioned with the printer name.
int ShowMessage(DriverContext* ctx, HWND owner, UINT stringId, UINT buttons) {
  return UiWarnById(ctx, owner, static_cast<WORD>(stringId), buttons);
}

void RepairHost(DriverContext* ctx, HWND window) {
  if (void (*repair)(DriverContext*, HWND) = BuildGetVariant().repairHostSubclassing) repair(ctx, window);
}

void SetResult(HWND window, LONG_PTR result) { WuiSetSlot(window, DWL_MSGRESULT, result); }

// The page's own description checked as a change without a value: false when it refuses or
// clears the OK flag.
bool PageCheckPasses(DriverContext* ctx, DlgPageRecord* page) {
  const ModelItemDescriptor* desc = ModelDescriptorOf(ctx, page->symbolId);
  if (!desc) return true;
  DlgControlRecord empty = {};
  empty.descriptor = desc;
  LONG& ok = ctx->ui->front.okFlag;
  const LONG saved = ok;
  ok = 1;
  const int refused = CtlCommitValue(ctx, page, &empty, 0, 0);
  const bool passes = refused != 1 && ok != 0;
  ok = saved;
  return passes;
}

WCHAR* ControlItemText(DriverContext* ctx, WORD controlId, WCHAR* buffer, int cch) {
  buffer[0] = 0;
  DlgControlRecord* control = CtlFind(ctx, nullptr, controlId);
  if (control && control->item) ItemGetTextBounded(ctx, control->item, buffer, cch);
  return buffer;
}

// Stops a confirm: the modules hear that the change was refused.
void StopConfirm(DriverContext* ctx, DlgPageRecord* page, DlgControlRecord* control) {
  ModBusRouteControl(ctx, page, control, kDlgMsgChangeRefused, 0, 0);
}

// The preset confirm: 11111 saves the settings as a new preset, 22222 overwrites the preset
// named by the preset-name edit.
void RunConfirm(DriverContext* ctx, DlgPageRecord* page, HWND window, WORD command, WORD pressed,
                DlgControlRecord* control) {
  if (command == kDlgCmdSaveNewPreset) CtxAddChangeFlags(ctx, kChangeNewPreset);
  if (!PageCheckPasses(ctx, page)) {
    CtxClearChangeFlags(ctx, kChangeNewPreset);
    DlgRefreshControls(ctx, page, 0);
    return;
  }
  if (command == kDlgCmdOverwritePreset) {
    WCHAR name[kTextChars];
    if (!ControlItemText(ctx, 2145, name, kTextChars)[0]) {
      ShowMessage(ctx, window, kMsgNoPresetName, MB_OK);
      StopConfirm(ctx, page, control);
      return;
    }
    const LONG slot = ValueOf(ctx, kItem_zdmPresetNo) - kPresetFirstLogical;
    const int found = PresetFindByName(ctx, name, slot);
    if (found == 0 || (found > 0 && !PresetSlotIsWritable(ctx, found))) {
      ShowMessage(ctx, window, kMsgPresetReadOnly, MB_OK);
      StopConfirm(ctx, page, control);
      return;
    }
    if (found > 0 && found != slot) {
      if (ShowMessage(ctx, window, kMsgPresetExists, MB_YESNO) != IDYES) {
        StopConfirm(ctx, page, control);
        return;
      }
      ItemSetValueById(ctx, kItem_zdmPresetNo, found + kPresetFirstLogical);
    }
  } else if (const INT_PTR answer = DlgRunSubDialog(ctx, kModeModal, 1032, window); answer == IDCANCEL || answer == -1) {
    // A save dialog that could not be shown confirmed nothing: its checks never ran.
    return;
  }
  if (ValueOf(ctx, kItem_zdmPresetNo) > kPresetNoneLogical) {
    PresetAssignUserFile(ctx, ValueOf(ctx, kItem_zdmPresetNo) - kPresetFirstLogical);
  } else {
    // A full list takes no more presets: a seventeenth entry would never be saved.
    if (PresetGetCount(ctx) >= kPresetSlots) {
      ShowMessage(ctx, window, kMsgPresetListFull, MB_OK);
      StopConfirm(ctx, page, control);
      return;
    }
    WCHAR path[MAX_PATH], name[64], comment[520];
    const char* nameText = PresetNameBuf(ctx);
    const char* commentText = PresetCommentBuf(ctx);
    StrAnsiToWide(name, nameText ? nameText : "", 64);
    StrAnsiToWide(comment, commentText ? commentText : "", 520);
    const int before = PresetGetCount(ctx);
    if (PresetNewUserFile(ctx, path, MAX_PATH)) PresetAppendEntry(ctx, path, name, comment);
    if (PresetGetCount(ctx) == before) {
      StopConfirm(ctx, page, control);
      return;
    }
    ItemSetValueById(ctx, kItem_zdmPresetNo, PresetGetCount(ctx) + kPresetNoneLogical);
  }
  const LONG slot = ValueOf(ctx, kItem_zdmPresetNo) - kPresetFirstLogical;
  if (slot >= 1 && slot < kPresetSlots) PresetSaveSlot(ctx, slot);
  DlgReinitPresetChoices(ctx);
  ItemSetValueById(ctx, kItem_zdmPresetNo, slot + kPresetFirstLogical);
  if (pressed == kDlgCmdSaveNewPreset || pressed == kDlgCmdOverwritePreset) {
    CtxClearChangeFlags(ctx, kChangeConfirmButtons);
    WuiPost(window, WM_COMMAND, kDlgMsgPressOk, 0);
  }
  DlgRefreshControls(ctx, page, 0);
}

// The file a text item names, checked as the dialog's OK needs it.
bool FileCheckPasses(DriverContext* ctx, DlgPageRecord* page) {
  WCHAR path[kTextChars];
  if (page->dialogId == 1023) {
    HANDLE file = INVALID_HANDLE_VALUE;
    if (!ResOpenBmpFile(ControlItemText(ctx, 2341, path, kTextChars), &file)) return false;
    CloseHandle(file);
    return true;
  }
  ControlItemText(ctx, 2586, path, kTextChars);
  int length = 0;
  while (path[length]) ++length;
  return DlgFileExists(path) && length >= 4 && DlgMatchFileExtension(page, path + length - 4);
}

void ClearWindows(DlgPageRecord* page) {
  page->window = NULL;
  for (int c = 0; c < page->controlCount; ++c) page->controls[c].window = NULL;
}

// The closing buttons of a modal dialog (1, 2, 6, 7, 8).
INT_PTR CloseDialog(DriverContext* ctx, DlgPageRecord* page, HWND window, WORD command) {
  DlgControlRecord* control = CtlFind(ctx, page, command);
  const bool bidi = ValueOf(ctx, kItem_zdmBiDirect) == 1;
  if (page->dialogId == 1011 && bidi) control = CtlFind(ctx, page, IDOK);
  if (command == IDOK) {
    WuiSetFocus(WuiFindControl(window, IDOK));
    if (WuiIsPosted(window, kDlgMsgDeferredAlert)) return TRUE;
  }
  if (control && CtlCommitValue(ctx, page, control, 0, 0)) {
    DlgRefreshControls(ctx, page, 0);
    return TRUE;
  }
  LONG& ok = ctx->ui->front.okFlag;
  ok = (command == IDCANCEL || command == IDNO) ? 0 : 1;
  DlgControlRecord* okButton = CtlFind(ctx, page, IDOK);
  switch (page->dialogId) {
    case 1041:
      if (command == IDOK && okButton) DlgRunNodeActions(ctx, page, okButton->descriptor, okButton->notifyCode);
      break;
    case 1017:
      if (command == IDOK) {
        if (okButton) DlgRunNodeActions(ctx, page, okButton->descriptor, okButton->notifyCode);
        FreeSizeSaveAll(ctx);
        DlgNotifyCode(ctx, 1);
        DlgReinitPaperSizeChoices(ctx);
      } else {
        CtxClearChangeFlags(ctx, 0x4000000);
        FreeSizeLoadAll(ctx);
      }
      break;
    case 1011:
      if (command == IDOK || bidi) {
        ok = 1;
        DlgReinitSourceTrayChoices(ctx);
        DlgReinitOutputTrayChoices(ctx);
      }
      break;
    case 1007: {
      if (command == 8) {
        HWND button = WuiFindControl(window, 8);
        WuiSetFocus(button);
        if (!button || WuiGetFocus() != button) return TRUE;
      }
      // The posted message warns of the repeated name once the close is refused.
      const int duplicate = PresetCheckDuplicateName(ctx, window);
      if (duplicate >= 0) {
        if (HWND list = WuiFindControl(window, 2139)) WuiChoiceSelect(list, duplicate);
        if (HWND edit = WuiFindControl(window, 2145)) {
          WuiSetFocus(edit);
          WuiEditSelect(edit, 0, -1);
        }
        PresetApplySlot(ctx, duplicate);
        if (DlgControlRecord* list = CtlFind(ctx, page, 2139)) {
          ItemSetControlValue(ctx, list, duplicate + kPresetFirstLogical);
          CtlCommitValue(ctx, page, list, 0, 0);
        }
        DlgRefreshControls(ctx, page, 1);
        ok = 0;
        return TRUE;
      }
      break;
    }
    case 1023:
    case 1037:
      if (command == IDOK && !FileCheckPasses(ctx, page)) {
        ShowMessage(ctx, window, kMsgBadFile, MB_OK);
        ok = 0;
        return TRUE;
      }
      break;
    default: {
      DlgClosingEvent event = {page, control, command};
      ModBusSendEvent(ctx, kEventDialogClosing, &event);
      break;
    }
  }
  ClearWindows(page);
  if (!DlgIsFileDialog(page)) {
    WuiEndDialog(window, command);
    return TRUE;
  }
  return TRUE;
}

// The lock settings a device page commits when they changed.
void ApplyLockSettings(DriverContext* ctx) {
  if (!State(ctx).lockChanged || ValueOf(ctx, kItem_zdmLockInfoLockInfo) != 0) return;
  // The value-substitution table has no rows, so a locked tray never maps to the small tray.
  if (!ValueOf(ctx, kItem_zdmLock000InfoBitTray)) ItemSetRawById(ctx, kItem_zdmLockInfoLockSmallPaperTray, 0);
}

void SaveLockSettings(DriverContext* ctx) {
  if (!State(ctx).lockChanged || ValueOf(ctx, kItem_zdmLockInfoLockInfo) != 0) return;
  ModBusSendEvent(ctx, kEventLocksApplied, nullptr);
  ModBusSendEvent(ctx, kEventLockDefaultsKept, nullptr);
  if (ValueOf(ctx, kItem_zdmLock000InfoBitDefault)) {
    BYTE* copy = CtxLockDefaultSettingsBlock(ctx);
    if (copy && ctx->settings) memcpy(copy, ctx->settings, kSettingsBlockSize);
    StoreSaveLockDefaults(ctx->printer, ctx);
    StoreSaveDefaultSection(ctx);
    ModBusSendEvent(ctx, kEventLockDefaultsSaved, nullptr);
  } else {
    ModBusSendEvent(ctx, kEventLockDefaultsNotSaved, nullptr);
  }
  if (!PrnIsOnServer(ctx)) StoreSaveLockData(ctx->printer, ctx);
  State(ctx).lockChanged = 0;
}

void ApplyPage(DriverContext* ctx, DlgPageRecord* page, HWND window) {
  DlgEngineState& state = State(ctx);
  HWND sheet = WuiParent(window);
  state.applyFlag = 1;
  if (CtxGetChangeFlags(ctx) & kChangeConfirmButtons) {
    SetResult(window, PSNRET_INVALID_NOCHANGEPAGE);
    const WORD button = WuiFindControl(sheet, kDlgCmdOverwritePreset) ? kDlgCmdOverwritePreset : kDlgCmdSaveNewPreset;
    WuiPost(window, WM_COMMAND, button, 0);
    state.applyFlag = 0;
    return;
  }
  ctx->ui->front.okFlag = 1;
  if (!PageCheckPasses(ctx, page) || !ctx->ui->front.okFlag) {
    HWND shown = reinterpret_cast<HWND>(WuiSend(sheet, PSM_GETCURRENTPAGEHWND, 0, 0));
    DlgRefreshControls(ctx, PageFindByWindow(ctx, shown), 1);
    SetResult(window, PSNRET_INVALID_NOCHANGEPAGE);
    state.applyFlag = 0;
    return;
  }
  SetResult(window, PSNRET_NOERROR);
  ctx->ui->front.okFlag = 1;
  const bool document = (page->kind & kPageDocumentSheet) != 0;
  const bool device = (page->kind & kPagePrinterSheet) != 0;
  const bool presetEdit =
      (page->kind & kPagePresetEdit) != 0 && ValueOf(ctx, kItem_zdmPresentUIMode) != 1;
  if (page->dialogId == state.firstPage && (document || device || presetEdit)) {
    if (document) ModBusNotify(ctx, kNotifyDocumentApply);
    if (device) ApplyLockSettings(ctx);
    if (OsIsNt5OrLater()) {
      WuiSend(sheet, PSM_UNCHANGED, reinterpret_cast<WPARAM>(window), 0);
      ItemSetRawById(ctx, kItem_wdmUIStart, 0);
      DmApplySheetChanges(ctx);
      ItemSetRawById(ctx, kItem_wdmUIStart, 1);
    } else {
      ItemSetRawById(ctx, kItem_wdmUIStart, 0);
    }
    UiClearChangedItems(ctx);
    DlgRefreshControls(ctx, page, 1);
    if (document) ModBusSendEvent(ctx, kEventDocumentApplied, nullptr);
    if (device) SaveLockSettings(ctx);
  }
  state.applyFlag = 0;
}

void InitialisePage(DriverContext* ctx, DlgPageRecord* page, HWND window) {
  State(ctx).layoutFlag = 1;
  WuiEnable(window, FALSE);
  if (OsIsVistaOrLater())
    WuiSetSlot(window, GWL_EXSTYLE, WuiGetSlot(window, GWL_EXSTYLE) & ~static_cast<LONG_PTR>(WS_EX_CONTEXTHELP));
  WCHAR caption[4];
  if (!WuiGetText(window, caption, 4)) WuiSetText(window, PrnGetPrinterName(ctx));
  DlgBindControls(ctx, page);
  RepairHost(ctx, window);
  for (int c = 0; c < page->controlCount; ++c) {
    DlgControlRecord* control = &page->controls[c];
    control->window = WuiFindControl(window, control->controlId);
    control->savedWindowProc = nullptr;
    CtlInitControl(ctx, page, control);
  }
  WuiPost(window, kDlgMsgFinishLayout, 0, 0);
}

// The deferred alert box of a numeric edit: its answer decides as it would have at commit.
void ShowDeferredAlert(DriverContext* ctx, DlgPageRecord* page, HWND window, WPARAM controlId, LPARAM alertParam) {
  DlgControlRecord* control = CtlFind(ctx, page, static_cast<WORD>(controlId));
  if (!control || !alertParam) return;
  const AlertRecord* alert = reinterpret_cast<const AlertRecord*>(alertParam);
  const int answer = DlgShowAlert(alert, ctx, window);
  WuiSetFocus(control->window ? control->window : WuiFindControl(window, control->controlId));
  DlgEngineState& state = State(ctx);
  if (state.deferredControl != control) return;
  state.deferredControl = nullptr;
  if (DlgAlertKeepsChange(alert, answer)) return;
  if (state.deferredSet) ItemSetControlValue(ctx, control, state.deferredPrevious);
  DlgRefuseChange(ctx, page, control, alert, answer, state.deferredPreset);
  DlgRefreshControls(ctx, page, 0);
}

INT_PTR HandleCommand(DriverContext* ctx, DlgPageRecord* page, HWND window, WPARAM wParam, LPARAM lParam) {
  const WORD pressed = LOWORD(wParam);
  DlgControlRecord* control = CtlFind(ctx, page, pressed);
  const WORD command = control && (control->flags & kCtlSavesNewPreset) ? static_cast<WORD>(kDlgCmdSaveNewPreset) : pressed;
  switch (command) {
    case kDlgCmdSaveNewPreset:
    case kDlgCmdOverwritePreset:
      RunConfirm(ctx, page, window, command, pressed, control);
      return TRUE;
    case kDlgMsgPressOk:
      WuiPost(WuiParent(window), PSM_PRESSBUTTON, PSBTN_OK, 0);
      return TRUE;
    case IDHELP:
      WuiHelp(window, PathHelpFile(ctx), HELP_CONTEXT, page->helpId);
      return TRUE;
    case IDOK:
    case IDCANCEL:
    case IDYES:
    case IDNO:
    case 8:
      return CloseDialog(ctx, page, window, command);
    default:
      break;
  }
  for (int c = 0; c < page->controlCount; ++c) {
    DlgControlRecord* candidate = &page->controls[c];
    if (!candidate->window || !CtlRouteCommand(ctx, page, candidate, wParam, lParam)) continue;
    DlgControlRecord* presets = page->dialogId == 1001 ? CtlFind(ctx, page, 2001) : nullptr;
    const LONG slot = ValueOf(ctx, kItem_zdmPresetNo) - kPresetFirstLogical;
    if (presets && presets->window && slot >= 0 && slot < kPresetSlots) {
      // The preset's own settings, but the paper source, media, output tray and colour stay.
      static const WORD kKept[] = {kItem_dmDefaultSource, kItem_zdmMediaType, kItem_zdmOutputTrayID, kItem_dmColor};
      LONG_PTR kept[4];
      for (int i = 0; i < 4; ++i) kept[i] = ItemGetValueById(ctx, kKept[i]);
      PresetApplySlot(ctx, slot);
      for (int i = 0; i < 4; ++i) ItemSetValueById(ctx, kKept[i], kept[i]);
      DlgRunNodeActions(ctx, page, presets->descriptor, presets->notifyCode);
    }
    if (UiHasChangedItems(ctx)) WuiSend(WuiParent(window), PSM_CHANGED, reinterpret_cast<WPARAM>(window), 0);
    DlgRefreshControls(ctx, page, 0);
    return TRUE;
  }
  return 0;
}

// Every other message goes to the page's controls; the first that takes it answers.
INT_PTR RouteToControls(DriverContext* ctx, DlgPageRecord* page, HWND window, UINT message, WPARAM wParam,
                        LPARAM lParam) {
  const bool measure = message == WM_MEASUREITEM;
  const bool oneControl = measure || message == WM_DRAWITEM;
  for (int c = 0; c < page->controlCount; ++c) {
    DlgControlRecord* control = &page->controls[c];
    if (!control->window && !measure) continue;
    if (oneControl && control->controlId != LOWORD(wParam)) continue;
    if (!CtlRouteMessage(ctx, page, control, message, wParam, lParam)) continue;
    if (message == WM_CTLCOLORSCROLLBAR || message == WM_CTLCOLORLISTBOX) return WuiGetSlot(window, DWL_MSGRESULT);
    return TRUE;
  }
  return 0;
}

INT_PTR HandleNotify(DriverContext* ctx, DlgPageRecord* page, HWND window, WPARAM wParam, LPARAM lParam) {
  const NMHDR* header = reinterpret_cast<const NMHDR*>(lParam);
  const UINT code = header ? header->code : 0;
  switch (code) {
    case PSN_HELP:
      WuiHelp(window, PathHelpFile(ctx), HELP_CONTEXT, page->helpId);
      break;
    case PSN_RESET:
      ctx->ui->front.okFlag = 0;
      break;
    case PSN_APPLY:
      ApplyPage(ctx, page, window);
      break;
    case PSN_SETACTIVE:
      ctx->currentPage = page->dialogId;
      DlgRefreshControls(ctx, page, 1);
      break;
    default:
      break;
  }
  const INT_PTR routed = RouteToControls(ctx, page, window, WM_NOTIFY, wParam, lParam);
  // The sheet reads an apply's answer from the result slot only when the procedure says so.
  return code == PSN_APPLY ? TRUE : routed;
}

}  // namespace

DlgControlRecord* CtlHitTest(DriverContext* ctx, DlgPageRecord* page, POINT point) {
  (void)ctx;
  if (!page || !page->controls) return nullptr;
  // The last described control is the topmost; a hidden or disabled one is never hit.
  for (int i = page->controlCount - 1; i >= 0; --i) {
    DlgControlRecord* control = &page->controls[i];
    RECT rect;
    if (!control->window || (control->state & kControlDisabledMask) || !WuiGetRect(control->window, &rect)) continue;
    if (point.x >= rect.left && point.x < rect.right && point.y >= rect.top && point.y < rect.bottom) return control;
  }
  return nullptr;
}

int CtlRouteCommand(DriverContext* ctx, DlgPageRecord* page, DlgControlRecord* control, WPARAM wParam,
                    LPARAM lParam) {
  int handled = ModBusRouteControl(ctx, page, control, WM_COMMAND, wParam, lParam) ? 1 : 0;
  if (!handled && control->controlId == LOWORD(wParam)) {
    const CtlTypeRecord* type = CtlTypeOf(ctx, control->type);
    handled = type && type->command && type->command(ctx, page, control, wParam, lParam) ? 1 : 0;
  }
  if (handled) WuiPost(page->window, WM_PAINT, 0, 0);
  return handled;
}

int CtlRouteMessage(DriverContext* ctx, DlgPageRecord* page, DlgControlRecord* control, UINT message,
                    WPARAM wParam, LPARAM lParam) {
  if (message == WM_RBUTTONDOWN && control->controlId == 2001) return 0;
  if (control->state & kControlDisabledMask) return 0;
  int handled = ModBusRouteControl(ctx, page, control, message, wParam, lParam) ? 1 : 0;
  if (!handled && !(message == WM_LBUTTONDOWN && control->type == 84)) {
    const CtlTypeRecord* type = CtlTypeOf(ctx, control->type);
    handled = type && type->message && type->message(ctx, page, control, message, wParam, lParam) ? 1 : 0;
  }
  if (handled && message != WM_DRAWITEM && message != WM_CTLCOLORLISTBOX && message != WM_CTLCOLORSCROLLBAR)
    WuiPost(page->window, WM_PAINT, 0, 0);
  return handled;
}

void DlgShowControlHelp(DriverContext* ctx, HWND page, HWND control, UINT message) {
  DlgPageRecord* record = PageFindByWindow(ctx, page);
  DlgControlRecord* described = CtlFindByWindow(ctx, record, control);
  if (!described || (described->state & kControlDisabledMask)) return;
  DWORD pairs[4] = {described->controlId, described->helpId, 0, 0};
  if (message == WM_HELP)
    WuiHelp(control, PathHelpFile(ctx), HELP_WM_HELP, reinterpret_cast<ULONG_PTR>(pairs));
  else
    WuiHelp(described->type == 4 ? page : control, PathHelpFile(ctx), HELP_CONTEXTMENU,
            reinterpret_cast<ULONG_PTR>(pairs));
}

void DlgClearActionGuard(DriverContext* ctx, UINT message, WPARAM wParam, LPARAM lParam, int force) {
  if (!ctx || !ctx->ui) return;
  bool clear = force != 0;
  if (message == WM_NOTIFY && lParam) {
    const UINT code = reinterpret_cast<const NMHDR*>(lParam)->code;
    clear = clear || code == PSN_APPLY || code == PSN_RESET;
  }
  if (message == WM_COMMAND) {
    const WORD id = LOWORD(wParam);
    clear = clear || (id >= IDOK && id <= IDCANCEL) || (id >= IDYES && id <= 8);
  }
  if (!clear) return;
  State(ctx).guardActive = 0;
  State(ctx).guardDescriptor = nullptr;
}

void DlgFinishLayout(DriverContext* ctx, HWND page) {
  DlgPageRecord* record = PageFindByWindow(ctx, page);
  RECT client;
  if (WuiGetClientRect(page, &client)) {
    const LONG targetWidth = client.right - 3, targetHeight = client.bottom - 3;
    LONG width = targetWidth, height = targetHeight;
    for (HWND child = WuiFirstChild(page); child; child = WuiNextSibling(child)) {
      RECT r;
      if (!WuiGetRect(child, &r)) continue;
      if (r.right > width) width = r.right;
      if (r.bottom > height) height = r.bottom;
    }
    if (width > targetWidth || height > targetHeight) {
      for (HWND child = WuiFirstChild(page); child; child = WuiNextSibling(child)) {
        RECT r;
        if (!WuiGetRect(child, &r)) continue;
        RECT moved = {static_cast<LONG>(static_cast<long long>(r.left) * targetWidth / width),
                      static_cast<LONG>(static_cast<long long>(r.top) * targetHeight / height),
                      static_cast<LONG>(static_cast<long long>(r.right) * targetWidth / width),
                      static_cast<LONG>(static_cast<long long>(r.bottom) * targetHeight / height)};
        WuiMove(child, &moved, TRUE);
      }
    }
  }
  for (HWND child = WuiFirstChild(page); child; child = WuiNextSibling(child))
    if (!record || !CtlFindByWindow(ctx, record, child)) WuiShow(child, SW_SHOW);
  WuiEnable(page, TRUE);
  State(ctx).layoutFlag = 0;
  UiClearChangedItems(ctx);
  DlgRefreshControls(ctx, record, 1);
}

DriverContext* DlgPrepareSheetPage(HWND page, const PROPSHEETPAGEW* sheetPage) {
  DriverContext* ctx = sheetPage ? reinterpret_cast<DriverContext*>(sheetPage->lParam) : nullptr;
  if (!ctx || !ctx->ui) return ctx;
  ctx->currentPage = LOWORD(reinterpret_cast<ULONG_PTR>(sheetPage->pszTemplate));
  DWORD flags = CtxGetChangeFlags(ctx);
  if (flags & (kChangeConfirmNew | kChangeConfirmOverwrite)) {
    HWND sheet = WuiParent(page);
    HWND ok = WuiFindControl(sheet, IDOK);
    HWND cancel = WuiFindControl(sheet, IDCANCEL);
    RECT okRect, cancelRect;
    if (ok && cancel && WuiGetRect(ok, &okRect) && WuiGetRect(cancel, &cancelRect)) {
      const LONG width = (okRect.right - okRect.left) * 4 / 3;
      okRect.left = okRect.right - width;
      WuiMove(ok, &okRect, TRUE);
      WCHAR caption[kTextChars];
      if ((flags & kChangeConfirmNew) && (flags & kChangeConfirmOverwrite)) {
        const LONG left = 2 * okRect.left - cancelRect.left;
        RECT place = {left, cancelRect.top, left + width, cancelRect.top + (okRect.bottom - okRect.top)};
        ResLoadString(ctx, kStringSaveNew, caption, kTextChars, FALSE);
        HWND made = WuiCreateChild(sheet, TEXT("BUTTON"), caption, WuiGetStyle(ok) & ~BS_DEFPUSHBUTTON,
                                   static_cast<DWORD>(WuiGetSlot(ok, GWL_EXSTYLE)), &place, kDlgCmdSaveNewPreset,
                                   ctx->languageDll, NULL);
        if (made) WuiSetSlot(made, GWL_USERDATA, WuiGetSlot(ok, GWL_USERDATA));
        CtxClearChangeFlags(ctx, kChangeConfirmNew);
        flags &= ~kChangeConfirmNew;
      }
      const bool saveNew = (flags & kChangeConfirmNew) != 0;
      ResLoadString(ctx, saveNew ? kStringSaveNew : kStringOverwrite, caption, kTextChars, FALSE);
      WuiSetText(ok, caption);
      WuiSetSlot(ok, GWL_ID, saveNew ? kDlgCmdSaveNewPreset : kDlgCmdOverwritePreset);
      CtxClearChangeFlags(ctx, saveNew ? kChangeConfirmNew : kChangeConfirmOverwrite);
      CtxAddChangeFlags(ctx, kChangeConfirmButtons);
      RepairHost(ctx, sheet);
    }
  }
  for (HWND child = WuiFirstChild(page); child; child = WuiNextSibling(child)) WuiShow(child, SW_HIDE);
  return ctx;
}

INT_PTR CALLBACK DlgHandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_MEASUREITEM) {
    // Item sizes need no context: a module may answer, else the picture-size table.
    if (ModBusRouteControl(nullptr, nullptr, nullptr, message, wParam, lParam)) return TRUE;
    auto* measure = reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
    if (measure && DlgApplyMeasureEntry(static_cast<WORD>(measure->CtlID), &measure->itemWidth, &measure->itemHeight))
      return TRUE;
  }
  DriverContext* ctx = nullptr;
  DlgPageRecord* page = nullptr;
  if (message == WM_INITDIALOG) {
    ctx = reinterpret_cast<DriverContext*>(lParam);
    if (!ctx || !ctx->ui) return FALSE;
    WuiSetSlot(window, DWL_USER, lParam);
    page = PageFind(ctx, ctx->currentPage);
    if (page) {
      page->window = window;
      if (!State(ctx).firstPage) State(ctx).firstPage = page->dialogId;
      DlgBindControls(ctx, page);
    }
  } else {
    ctx = reinterpret_cast<DriverContext*>(WuiGetSlot(window, DWL_USER));
    if (!ctx || !ctx->ui) return FALSE;
    page = PageFindByWindow(ctx, window);
  }
  if (message == WM_COMMAND) State(ctx).lastCommand = LOWORD(wParam);
  // A command, a notification or a help request closes the hint popup.
  if (message == WM_COMMAND || message == WM_NOTIFY || message == WM_HELP) DlgUpdateHint(ctx, nullptr, window, 0, 0);
  DlgClearActionGuard(ctx, message, wParam, lParam, 0);
  if (ModBusRouteControl(ctx, page, nullptr, message, wParam, lParam)) {
    DlgRefreshControls(ctx, page, 0);
    return message == WM_PAINT ? FALSE : TRUE;
  }
  if (!page) return FALSE;
  switch (message) {
    case WM_INITDIALOG:
      InitialisePage(ctx, page, window);
      return TRUE;
    case WM_PAINT:
      if (UiHasChangedItems(ctx) || WuiHasUpdate(window)) DlgRefreshControls(ctx, page, 0);
      return 0;
    case WM_ERASEBKGND:
      DlgUpdateHint(ctx, nullptr, window, 0, 0);
      DlgRefreshControls(ctx, page, 0);
      return 0;
    case WM_NOTIFY:
      return HandleNotify(ctx, page, window, wParam, lParam);
    case WM_HELP: {
      const HELPINFO* info = reinterpret_cast<const HELPINFO*>(lParam);
      if (info) DlgShowControlHelp(ctx, window, reinterpret_cast<HWND>(info->hItemHandle), message);
      return TRUE;
    }
    case WM_CONTEXTMENU:
      if (reinterpret_cast<HWND>(wParam) != window) {
        DlgShowControlHelp(ctx, window, reinterpret_cast<HWND>(wParam), message);
      } else {
        POINT at = PointOf(lParam);
        WuiScreenToClient(window, &at);
        DlgControlRecord* under = CtlHitTest(ctx, page, at);
        if (under && under->window && !(under->flags & kCtlSecretEvent))
          DlgShowControlHelp(ctx, window, under->window, message);
      }
      return TRUE;
    case WM_TIMER:
      if (wParam == 1) DlgHintTimer(ctx, window);
      return 0;
    case WM_NCPAINT:
    case WM_LBUTTONDBLCLK:
      return 0;
    case WM_MOUSEMOVE:
    case WM_LBUTTONUP:
    case WM_RBUTTONUP: {
      const POINT at = PointOf(lParam);
      if (DlgControlRecord* under = CtlHitTest(ctx, page, at))
        CtlRouteMessage(ctx, page, under, message, wParam, lParam);
      return 0;
    }
    case WM_RBUTTONDBLCLK:
      if ((wParam & (MK_SHIFT | MK_CONTROL)) == (MK_SHIFT | MK_CONTROL)) {
        const POINT at = PointOf(lParam);
        DlgControlRecord* under = CtlHitTest(ctx, page, at);
        if (under && (under->flags & kCtlSecretEvent)) {
          DlgControlEvent event = {page, under};
          ModBusSendEvent(ctx, kEventSecretClick, &event);
        }
      }
      return 0;
    case kDlgMsgDeferredAlert:
      ShowDeferredAlert(ctx, page, window, wParam, lParam);
      return 0;
    case kDlgMsgFinishLayout:
      DlgFinishLayout(ctx, window);
      return 0;
    case WM_COMMAND:
      return HandleCommand(ctx, page, window, wParam, lParam);
    default:
      return RouteToControls(ctx, page, window, message, wParam, lParam);
  }
}
