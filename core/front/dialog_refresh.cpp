// The refresh of a page from the settings: controls re-initialised by their refresh classes or
// stale states, then enabled, greyed, hidden, marked and shown again; every change mark is
// seen by exactly one refresh.
#include "core/common/window_ui.h"
#include "core/context/module_bus.h"
#include "core/context/ui_state.h"
#include "core/front/control_lookup.h"
#include "core/front/ctl_subclass.h"
#include "core/front/dialog_engine.h"
#include "core/front/page_lookup.h"
#include "core/items/control_states.h"
#include "core/items/derived_settings.h"
#include "core/items/item_access.h"
#include "core/items/item_ids.h"
#include "core/items/item_table.h"
#include "core/model/model_lookup.h"
#include "core/store/preset_store.h"

namespace {

constexpr int kMarkSize = 20;
constexpr DWORD kMarkStyle = 0x5081000E;  // child, visible, border, tab stop, bitmap
constexpr WORD kTypeScrollBar = 23, kTypeOwnerList = 47, kTypeIconList = 50;

// Items whose changes never make the settings differ from the chosen preset.
bool PresetNeutral(DriverContext* ctx, const SettingItem* item) {
  switch (item->id) {
    case kItem_wdmPresetName:
    case kItem_zdmUIModeChange:
    case kItem_zdmLogCode:
    case kItem_wdmChapterNum:
      return true;
    default:
      break;
  }
  DlgPageRecord* maintenance = PageFind(ctx, 1007);
  DlgControlRecord* comment = maintenance ? CtlFind(ctx, maintenance, 2146) : nullptr;
  return comment && comment->item == item;
}

bool Changed(const SettingItem* item) { return item && (item->state & ItemStateChangeMask) != 0; }

bool ChangedById(DriverContext* ctx, WORD id) { return Changed(ItemFind(ctx, id)); }

bool AnyChanged(DriverContext* ctx, bool (*skip)(DriverContext*, const SettingItem*)) {
  if (!ctx->items) return false;
  for (int i = 0; i < ctx->items->count; ++i) {
    const SettingItem* item = &ctx->items->rows[i];
    if (Changed(item) && !(skip && skip(ctx, item))) return true;
  }
  return false;
}

bool NotCopies(DriverContext*, const SettingItem* item) { return item->id == kItem_dmCopies; }

void MarkAllChanged(DriverContext* ctx) {
  for (int i = 0; ctx->items && i < ctx->items->count; ++i) ctx->items->rows[i].state |= ItemStateChanged;
}

// The preset check: a change that is not the preset's own makes the settings a custom set.
void CheckPreset(DriverContext* ctx, DlgPageRecord* page) {
  if (page->dialogId == 1007 || page->dialogId == 1032) return;
  SettingItem* preset = nullptr;
  const LONG slot = static_cast<LONG>(ItemGetValueById(ctx, kItem_zdmPresetNo, &preset)) - kPresetFirstLogical;
  if (slot < 0 || slot >= kPresetSlots || ItemGetValueById(ctx, kItem_zdmPresentUIMode) != 0 || Changed(preset))
    return;
  if (page->dialogId == 1011) {
    HWND parent = WuiParent(page->window);
    if (!parent || !PageFindByWindow(ctx, parent)) return;
  }
  if (!AnyChanged(ctx, PresetNeutral)) return;
  ItemSetValueById(ctx, kItem_zdmPresetNo, kPresetNoneLogical);
  DlgReinitPresetChoices(ctx);
  PresetApplySlot(ctx, -1);
}

// Items a control shows besides its own, whose changes make it look again.
bool RelatedChanged(DriverContext* ctx, DlgPageRecord* page, DlgControlRecord* control) {
  const WORD* ext = static_cast<const WORD*>(control->extension);
  if (ext && ext[0] == 1)
    for (int i = 3; i < kCtlExtColourWords; ++i)
      if (ChangedById(ctx, ext[i])) return true;
  if (ext && ext[0] == 8) {
    if (ChangedById(ctx, kItem_zdmFuncSelectWaterMark)) return true;
    if (ItemGetValueById(ctx, kItem_zdmFuncSelectWaterMark))
      for (int i = 1; i < kCtlExtWatermarkWords; ++i)
        if (ChangedById(ctx, ext[i])) return true;
  }
  if (ItemGetValueById(ctx, kItem_zdmFuncSelectCopyProtect))
    for (WORD id = 512; id <= 529; ++id)
      if (id != 521 && ChangedById(ctx, id)) return true;
  static const WORD kCustomSize[] = {918, 919, 342, 343, 346, 347, 1167, 1168, 1163, 1164, 1165, 1166};
  static const WORD kDensities[] = {604, 605, 606};
  if (page->dialogId == 1017 || page->dialogId == 1041)
    for (WORD id : kCustomSize)
      if (ChangedById(ctx, id)) return true;
  if (page->dialogId == 4024)
    for (WORD id : kDensities)
      if (ChangedById(ctx, id)) return true;
  if (page->dialogId == 4031 && ChangedById(ctx, 10422)) return true;
  return false;
}

HWND FindMark(DlgPageRecord* page, DlgControlRecord* control) {
  for (HWND child = WuiFirstChild(page->window); child; child = WuiNextSibling(child))
    if (WuiGetSlot(child, GWL_USERDATA) == reinterpret_cast<LONG_PTR>(control) &&
        WuiControlId(child) != control->controlId)
      return child;
  return NULL;
}

void MakeMark(DriverContext* ctx, DlgPageRecord* page, DlgControlRecord* control) {
  if (FindMark(page, control)) return;
  RECT at;
  if (!WuiGetRect(control->window, &at)) return;
  const POINT corner = DlgMarkPosition(at);
  RECT mark = {corner.x, corner.y, corner.x + kMarkSize, corner.y + kMarkSize};
  HWND made = WuiCreateChild(page->window, TEXT("STATIC"), TEXT(""), kMarkStyle, 0, &mark, 0, ctx->languageDll,
                             control->window);
  if (!made) return;
  WuiSetSlot(made, GWL_USERDATA, reinterpret_cast<LONG_PTR>(control));
  CtlInstallMarkProc(made);
}

void DropMark(DlgPageRecord* page, DlgControlRecord* control) {
  if (HWND mark = FindMark(page, control)) WuiDestroy(mark);
}

bool WithoutMarkRights(DriverContext* ctx) {
  const LONG_PTR os = ItemGetValueById(ctx, kItem_zdmOSKind);
  return (os == 1 || os == 2) && ItemGetValueById(ctx, kItem_zdmNoPermission) == 1 &&
         ItemGetValueById(ctx, kItem_zdmCallSrc) == 1;
}

void UpdateMarks(DriverContext* ctx, DlgPageRecord* page, DlgControlRecord* control, bool restricted,
                 bool stateChanged) {
  const bool markable = (control->infoString || control->lockMessage) && !(control->state & kControlDisabledMask);
  const bool lockedByRule = CtlIsLockedByRule(ctx, control) != 0;
  const bool restrictedMark = restricted && (control->infoString || (control->lockState & 1));
  if (stateChanged) {
    if (!markable) return;
    if (WithoutMarkRights(ctx)) {
      control->infoString = 0;
      control->lockMessage = 0;
      control->guardItem = 0;
      DropMark(page, control);
    } else if (restrictedMark || lockedByRule) {
      MakeMark(ctx, page, control);
    } else {
      DropMark(page, control);
    }
    return;
  }
  if (lockedByRule && markable)
    MakeMark(ctx, page, control);
  else if (!restrictedMark)
    DropMark(page, control);
}

void RefreshControl(DriverContext* ctx, DlgPageRecord* page, DlgControlRecord* control, int full, bool icons) {
  if (!control->window) control->window = WuiFindControl(page->window, control->controlId);
  if (!control->window) return;
  const bool hiddenBefore = (control->state & kControlDisabledMask) != 0;
  if (control->type == kTypeIconList && !hiddenBefore && (full || icons)) WuiInvalidate(control->window, FALSE);

  const DWORD pending = CtxGetChangeFlags(ctx) & kChangeRefreshClasses;
  if (control->flags & pending) {
    CtxClearChangeFlags(ctx, control->flags & pending);
    CtlInitControl(ctx, page, control);
  } else if (CtlRestrictedStale(ctx, page, control) || CtlDisabledStale(ctx, control)) {
    if (control->type >= 42 && control->type <= 49 && !(control->flags & kCtlNoStaleRefill) &&
        !(control->lockState & 2))
      CtlInitControl(ctx, page, control);
  } else if (!full && !Changed(control->item)) {
    if (!RelatedChanged(ctx, page, control) && control->controlId != 2406 && !WuiHasUpdate(control->window)) return;
  }
  control->lockState &= ~2u;

  WORD disabled = control->state & kControlDisabledMask;
  if (control->descriptor) disabled = ModelIsDescriptorDisabled(ctx, control->descriptor, control->controlId) ? 1 : 0;
  if (ctx->ui->presetRefreshRunning && page->dialogId == 1011 && control->controlId == IDCANCEL) disabled = 1;
  control->state = static_cast<WORD>((control->state & ~kControlDisabledMask) | disabled);
  const WORD restricted = disabled ? 1 : (CtlEvalRestricted(ctx, page, control) ? 1 : 0);
  control->state = static_cast<WORD>((control->state & ~kControlRestrictedMask) | (restricted << 2));

  const bool enabled = WuiIsEnabled(control->window) != 0;
  if (enabled != (restricted == 0)) {
    if (!restricted)
      WuiEnable(control->window, TRUE);
    else if (control->controlId != 2164)
      WuiEnable(control->window, FALSE);
    if (control->type == kTypeScrollBar)
      WuiEnableScrollBar(control->window, restricted ? ESB_DISABLE_BOTH : ESB_ENABLE_BOTH);
    if (control->type == kTypeOwnerList || control->type == kTypeIconList) WuiInvalidate(control->window, TRUE);
    UpdateMarks(ctx, page, control, restricted != 0, true);
  } else {
    UpdateMarks(ctx, page, control, restricted != 0, false);
  }

  const bool visible = WuiIsVisible(control->window) != 0;
  if (visible && disabled) WuiShow(control->window, SW_HIDE);
  if (!visible && !disabled) WuiShow(control->window, SW_SHOW);

  if (!disabled || (control->flags & kCtlDisplayLength))
    if (control->type != kTypeScrollBar || restricted != 1) CtlShowValue(ctx, page, control);
}

// The focus leaves a window that was disabled under it for the next enabled one in z-order.
void MoveFocus(HWND page, HWND focus) {
  if (!focus || !WuiIsWindow(focus) || WuiIsEnabled(focus)) return;
  HWND next = WuiNextSibling(focus);
  for (int rounds = 0; rounds < 2; ++rounds) {
    for (; next; next = WuiNextSibling(next))
      if (next != focus && WuiIsEnabled(next)) {
        WuiSetFocus(next);
        return;
      }
    next = WuiFirstChild(page);
  }
}

}  // namespace

POINT DlgMarkPosition(const RECT& control) {
  POINT at;
  at.x = control.left - kMarkSize;
  at.y = control.bottom - control.top <= kMarkSize ? control.bottom - kMarkSize : control.top;
  if (at.x < 0) at.x = 0;
  if (at.y < 0) at.y = 0;
  return at;
}

int UiHasChangedItems(DriverContext* ctx) { return ctx && AnyChanged(ctx, nullptr) ? 1 : 0; }

int UiClearChangedItems(DriverContext* ctx) {
  if (!ctx || !ctx->items) return 0;
  for (int i = 0; i < ctx->items->count; ++i) ctx->items->rows[i].state &= static_cast<WORD>(~ItemStateChangeMask);
  return ctx->items->count;
}

void CtlShowValue(DriverContext* ctx, DlgPageRecord* page, DlgControlRecord* control) {
  if (ModBusRouteControl(ctx, page, control, WM_PAINT, 0, 0)) return;
  const CtlTypeRecord* type = CtlTypeOf(ctx, control->type);
  if (type && type->show) type->show(ctx, page, control);
}

void DlgRefreshControls(DriverContext* ctx, DlgPageRecord* page, int full) {
  if (!ctx || !ctx->ui || !page) return;
  DlgEngineState& state = ctx->ui->dialog;
  if (state.layoutFlag || state.refreshRunning) return;
  HWND focus = WuiGetFocus();
  state.refreshRunning = 1;

  CheckPreset(ctx, page);
  const bool modified = ctx->ui->modified != 0;
  ctx->ui->modified = 0;
  const bool icons = modified && AnyChanged(ctx, NotCopies);
  if (ChangedById(ctx, kItem_dmOrientation)) DlgReinitLayoutTypeChoices(ctx);
  if (full) MarkAllChanged(ctx);

  for (int c = 0; c < page->controlCount; ++c) RefreshControl(ctx, page, &page->controls[c], full, icons);

  UiClearChangedItems(ctx);
  for (int c = 0; c < page->controlCount; ++c)
    if (page->controls[c].window)
      if (HWND mark = FindMark(page, &page->controls[c])) WuiInvalidate(mark, FALSE);
  MoveFocus(page->window, focus);
  state.refreshRunning = 0;
}
