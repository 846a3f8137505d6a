// The engine's own per-dialog hook, offered every control message before the UI modules (it
// sets a few dialog texts when a dialog is initialised and consumes nothing), and the
// re-initialisation of the choice controls of open dialogs after their choices changed.
#include "core/front/dialog_builtin.h"

#include "core/common/window_ui.h"
#include "core/front/control_lookup.h"
#include "core/front/dialog_engine.h"
#include "core/front/page_lookup.h"
#include "core/items/item_access.h"
#include "core/items/item_ids.h"
#include "core/items/item_repair.h"
#include "core/model/model_lookup.h"
#include "core/store/preset_store.h"
#include "core/system/resources.h"

namespace {

constexpr int kStringChars = 1025;
constexpr UINT kStringOverlayPrint = 563;
constexpr UINT kStringFeedSide = 13724, kStringFeedCentre = 13725;

const DlgControlPair kSourceTrayChoices[] = {{1001, 2007}, {1002, 2007}, {0, 0}};
const DlgControlPair kPaperSizeChoices[] = {{1001, 2017}, {1001, 2023}, {1002, 2017}, {1002, 2053}, {0, 0}};
const DlgControlPair kOutputTrayChoices[] = {{1001, 2011}, {1002, 2066}, {0, 0}};
// The two preset icon lists first, then each page's preset choice and preset-name edit.
const DlgControlPair kPresetChoices[] = {
    {1007, 2139}, {1001, 2001}, {1002, 2036}, {1002, 2388}, {1003, 2078}, {1003, 2389},
    {1004, 2095}, {1004, 2390}, {4016, 2921}, {4016, 2924}, {4030, 3112}, {4030, 3113},
    {1005, 2109}, {1005, 2391}, {1042, 2713}, {1042, 2733}, {0, 0}};
const DlgControlPair kLayoutTypeChoices[] = {{1003, 2085}, {1003, 2087}, {0, 0}};

void SetControlString(DriverContext* ctx, DlgPageRecord* page, WORD controlId, UINT stringId) {
  HWND control = WuiFindControl(page->window, controlId);
  if (!control) return;
  WCHAR text[kStringChars];
  ResLoadString(ctx, stringId, text, kStringChars, FALSE);
  WuiSetText(control, text);
}

// The open page of a dialog, with its control; false when the dialog has no window or the page
// has no such control.
bool OpenControl(DriverContext* ctx, const DlgControlPair& pair, DlgPageRecord** page, DlgControlRecord** control) {
  *page = PageFind(ctx, pair.dialogId);
  if (!*page || !(*page)->window) return false;
  *control = CtlFind(ctx, *page, pair.controlId);
  return *control != nullptr;
}

}  // namespace

int DlgHandleBuiltinMessage(DriverContext* ctx, DlgPageRecord* page, DlgControlRecord* control, UINT message,
                            WPARAM wParam, LPARAM lParam) {
  (void)wParam;
  (void)lParam;
  if (!ctx || !page || control || message != WM_INITDIALOG) return 0;
  if (page->dialogId == 1003) {
    DlgControlRecord* overlay = CtlFind(ctx, page, 2407);
    if (overlay && !ModelIsDescriptorDisabled(ctx, overlay->descriptor, 0))
      SetControlString(ctx, page, 2088, kStringOverlayPrint);
  } else if (page->dialogId == 1011) {
    const bool centre = ItemGetValueById(ctx, kItem_zdmMachineTypeFeed) != 0;
    if (CtlFind(ctx, page, 2173)) SetControlString(ctx, page, 2173, centre ? kStringFeedSide : kStringFeedCentre);
    if (CtlFind(ctx, page, 2175)) SetControlString(ctx, page, 2175, centre ? kStringFeedCentre : kStringFeedSide);
  }
  return 0;
}

WORD DlgReinitControlList(DriverContext* ctx, const DlgControlPair* list) {
  if (!list) return 0;
  for (; list->dialogId; ++list) {
    DlgPageRecord* page = nullptr;
    DlgControlRecord* control = nullptr;
    if (OpenControl(ctx, *list, &page, &control)) CtlInitControl(ctx, page, control);
  }
  return list->dialogId;
}

void DlgReinitSourceTrayChoices(DriverContext* ctx) { DlgReinitControlList(ctx, kSourceTrayChoices); }
void DlgReinitPaperSizeChoices(DriverContext* ctx) { DlgReinitControlList(ctx, kPaperSizeChoices); }
void DlgReinitOutputTrayChoices(DriverContext* ctx) { DlgReinitControlList(ctx, kOutputTrayChoices); }
void DlgReinitLayoutTypeChoices(DriverContext* ctx) { DlgReinitControlList(ctx, kLayoutTypeChoices); }

void DlgReinitPresetChoices(DriverContext* ctx) {
  const LONG count = PresetGetCount(ctx);
  for (int i = 0; kPresetChoices[i].dialogId; ++i) {
    DlgPageRecord* page = nullptr;
    DlgControlRecord* control = nullptr;
    if (!OpenControl(ctx, kPresetChoices[i], &page, &control)) continue;
    // An icon list still showing a preset that is gone falls back to the first preset.
    if (i < 2 && ItemGetControlValue(ctx, control) - kPresetFirstLogical >= count)
      ItemSetControlValue(ctx, control, kPresetFirstLogical);
    CtlInitControl(ctx, page, control);
  }
}

void DlgRefillStampChoice(DriverContext* ctx) {
  if (ItemGetActiveWatermarkId(ctx) == -1) return;
  DlgPageRecord* page = PageFind(ctx, 1003);
  if (!page || !page->window) return;
  DlgControlRecord* control = CtlFind(ctx, page, 2089);
  if (!control) return;
  if (HWND window = WuiFindControl(page->window, 2089)) WuiChoiceReset(window);
  CtlInitControl(ctx, page, control);
}
