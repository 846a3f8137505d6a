// The installable-options module: the check list of installed options and the tray list with
// the four controls of the selected tray (paper size, paper type, orientation, tray lock), on
// the printer-properties page 1011. Its notify and event callbacks are the ignoring ones.
#include "core/modules/options_module.h"

#include "core/common/draw_ui.h"
#include "core/common/window_ui.h"
#include "core/context/ui_state.h"
#include "core/devmode/couplings.h"
#include "core/front/control_lookup.h"
#include "core/front/ctl_lists.h"
#include "core/front/dialog_engine.h"
#include "core/front/image_draw.h"
#include "core/items/item_access.h"
#include "core/items/item_ids.h"
#include "core/items/item_values.h"
#include "core/modules/chapter_records.h"
#include "core/model/model_types.h"
#include "core/modules/module_rows.h"
#include "core/rules/judge_eval.h"
#include "core/system/resources.h"

namespace {

constexpr int kTextChars = 260;
constexpr WORD kRemoteKeysFirst = 285, kRemoteKeysLast = 288;  // greyed without the remote option
constexpr LONG kFirstTrayValue = 2;

bool Restricted(const DlgControlRecord* control) { return (control->state & kControlRestrictedMask) != 0; }

HWND Window(DlgPageRecord* page, DlgControlRecord* control) {
  if (!control) return NULL;
  if (control->window) return control->window;
  return page && page->window ? WuiFindControl(page->window, control->controlId) : NULL;
}

DlgControlRecord* Control(DriverContext* ctx, DlgPageRecord* page, WORD id) { return CtlFind(ctx, page, id); }

void TellChanged(DlgPageRecord* page) {
  if (page && page->window) WuiSend(WuiParent(page->window), PSM_CHANGED, reinterpret_cast<WPARAM>(page->window), 0);
}

bool PairHolds(DriverContext* ctx, const ItemValuePair* pair) {
  return pair && pair->item && ItemGetValueById(ctx, static_cast<WORD>(pair->item)) == static_cast<LONG_PTR>(pair->value);
}

void StoreList(DriverContext* ctx, const ItemValuePair* list) {
  // The lists are zero-ended static rows; none is longer than a few pairs.
  for (int n = 0; list && n < 64 && list[n].item; ++n)
    ItemSetValueById(ctx, static_cast<WORD>(list[n].item), static_cast<LONG_PTR>(list[n].value));
}

void CheckEntry(DriverContext* ctx, const ChecklistRow* row) {
  ItemSetValueById(ctx, static_cast<WORD>(row->item1), static_cast<LONG_PTR>(row->value1));
  if (row->item2) ItemSetValueById(ctx, static_cast<WORD>(row->item2), static_cast<LONG_PTR>(row->value2));
}

bool Greyed(DriverContext* ctx, const DlgControlRecord* control, const ChecklistRow* row, WORD key) {
  if (Restricted(control)) return true;
  if (row) return PairHolds(ctx, row->greyCondition);
  return key >= kRemoteKeysFirst && key <= kRemoteKeysLast && ItemGetRawById(ctx, kItem_zdmOutputOptionTypeRemote) == 0;
}

// ---- the selected tray ----

// The tray list's value: its item's, or without an item the selected row's tray.
LONG TrayListValue(DriverContext* ctx, DlgPageRecord* page, DlgControlRecord* list) {
  if (!list) return 0;
  if (list->item) return static_cast<LONG>(ItemGetControlValue(ctx, list));
  HWND window = Window(page, list);
  const int selected = window ? WuiListViewSelection(window) : -1;
  return selected >= 0 ? static_cast<LONG>(WuiListViewData(window, selected)) : 0;
}

// The selected tray's index, or kOptTrayCount when its tray has no per-tray items.
DWORD SelectedTray(DriverContext* ctx, DlgPageRecord* page) {
  const DWORD t = OptTrayIndexOf(TrayListValue(ctx, page, Control(ctx, page, kOptTrayList)));
  return t < kOptTrayCount ? t : kOptTrayCount;
}

WORD TrayItem(WORD first, DWORD t) { return static_cast<WORD>(first + t); }

// Shows tray t's settings in the four tray controls (their items take the tray items' values).
void LoadTrayControls(DriverContext* ctx, DlgPageRecord* page, DWORD t) {
  if (t >= kOptTrayCount) return;
  if (DlgControlRecord* paper = Control(ctx, page, kOptTrayPaper))
    if (paper->item) ItemSetRaw(ctx, paper->item, ItemGetRawById(ctx, TrayItem(kOptTrayPaperFirst, t)));
  if (DlgControlRecord* media = Control(ctx, page, kOptTrayMedia))
    if (media->item) ItemSetRaw(ctx, media->item, ItemGetRawById(ctx, TrayItem(kOptTrayMediaFirst, t)));
  if (DlgControlRecord* radio = Control(ctx, page, kOptPortrait))
    ItemSetControlValue(ctx, radio, ItemGetRawById(ctx, TrayItem(kOptTrayOrientFirst, t)) ? kOptLandscape : kOptPortrait);
  if (DlgControlRecord* lock = Control(ctx, page, kOptTrayLock))
    if (lock->item) ItemSetRaw(ctx, lock->item, ItemGetRawById(ctx, TrayItem(kOptTrayLockFirst, t)));
}

// Fills the empty tray list: the four columns, then every tray of the list's description the
// model leaves enabled; a disabled tray is marked not installed. The first tray listed becomes
// the list's value when the value is not listed.
void FillTrayList(DriverContext* ctx, DlgPageRecord* page, DlgControlRecord* list) {
  HWND window = Window(page, list);
  if (!window || WuiListViewCount(window) > 0) return;
  if (ctx->ui && ctx->ui->dialog.refreshRunning) return;
  RECT client = {0, 0, 0, 0};
  WuiGetClientRect(window, &client);
  WCHAR text[kTextChars];
  for (int c = 0; c < 4; ++c) {
    text[0] = 0;
    ResLoadString(ctx, kOptColumnTexts[c], text, kTextChars, TRUE);
    const RECT column = OptTrayColumnRect(client, client.right - client.left, c);
    WuiListViewAddColumn(window, c, text, column.right - column.left);
  }
  ItemSetControlValue(ctx, list, kFirstTrayValue);
  LONG value = kFirstTrayValue;
  int listed = 0;
  const ModelItemDescriptor* desc = list->descriptor;
  const ListValueRecord* first = desc && ModelValueShapeOf(desc->type) == kModelShapeList
                                     ? static_cast<const ListValueRecord*>(desc->values)
                                     : nullptr;
  // The description's list is the model's; it is bounded by the values a list can hold.
  int n = 0;
  for (const ListValueRecord* v = first; v && n < 4096; v = v->next, ++n) {
    const DWORD t = OptTrayIndexOf(v->valueId);
    if (t >= kOptTrayCount) continue;  // no per-tray items: never listed, nothing touched
    const WORD installed = TrayItem(kOptTrayInstalledFirst, t);
    if (ModelIsValueDisabled(desc, v->valueId, ctx)) {
      if (ItemGetRawById(ctx, installed) != 0) ItemSetRawById(ctx, installed, 0);
      continue;
    }
    // The first tray listed becomes the list's value, and shows selected.
    if (listed == 0 && v->valueId != value) {
      ItemSetControlValue(ctx, list, v->valueId);
      value = v->valueId;
    }
    text[0] = 0;
    ResLoadString(ctx, v->valueId, text, kTextChars, TRUE);
    WuiListViewInsert(window, listed, text, v->valueId, v->valueId == value);
    ++listed;
    if (ItemGetRawById(ctx, installed) != 1) ItemSetRawById(ctx, installed, 1);
  }
  LoadTrayControls(ctx, page, SelectedTray(ctx, page));
}

void RebuildTrayList(DriverContext* ctx, DlgPageRecord* page) {
  DlgControlRecord* list = Control(ctx, page, kOptTrayList);
  HWND window = Window(page, list);
  if (!window) return;
  WuiListViewClear(window);
  CtlInitControl(ctx, page, list);
}

void InvalidateControl(DriverContext* ctx, DlgPageRecord* page, WORD id) {
  if (HWND window = Window(page, Control(ctx, page, id))) WuiInvalidate(window, TRUE);
}

int RunTypeCommand(DriverContext* ctx, DlgPageRecord* page, DlgControlRecord* control, WPARAM wParam, LPARAM lParam) {
  const CtlTypeRecord* type = CtlTypeOf(ctx, control->type);
  return type && type->command ? type->command(ctx, page, control, wParam, lParam) : 0;
}

// ---- the check list ----

int ClickCheckList(DriverContext* ctx, DlgPageRecord* page, DlgControlRecord* control) {
  HWND window = Window(page, control);
  const int selected = window ? WuiChoiceSelection(window) : -1;
  const WORD key = selected >= 0 ? static_cast<WORD>(WuiChoiceData(window, selected)) : 0;
  const ChecklistRow* row = key ? OptFindChecklistRow(key) : nullptr;
  if (row && !Restricted(control) && !PairHolds(ctx, row->greyCondition)) {
    OptToggleEntry(ctx, row);
    const int flags = OptApplyLinkedEntries(ctx, row);
    if (row->redraw || (flags & kOptRedrawList)) WuiInvalidate(window, TRUE);
    if (row->trayListRefresh || (flags & kOptRefreshTrays)) RebuildTrayList(ctx, page);
  }
  ItemSetControlValue(ctx, control, 0);
  RunTypeCommand(ctx, page, control, MAKEWPARAM(control->controlId, LBN_SELCHANGE), reinterpret_cast<LPARAM>(window));
  TellChanged(page);
  DlgRefreshControls(ctx, page, 0);
  return 0;
}

int DrawCheckEntry(DriverContext* ctx, DlgPageRecord* page, DlgControlRecord* control, const DRAWITEMSTRUCT* item) {
  if ((item->itemAction & (ODA_DRAWENTIRE | ODA_SELECT)) && item->itemData) {
    HDC dc = item->hDC;
    const WORD key = static_cast<WORD>(item->itemData);
    const ChecklistRow* row = OptFindChecklistRow(key);
    const bool grey = Greyed(ctx, control, row, key);
    const bool checked = row && OptIsEntryChecked(ctx, row);
    DuiFillRect(dc, &item->rcItem, DuiSysColor(grey ? COLOR_BTNFACE : COLOR_WINDOW));
    LONG textHeight = 0, average = 0;
    DuiTextMetrics(dc, &textHeight, &average);
    OptEntryLayout layout = OptCheckEntryLayout(item->rcItem, textHeight);
    WCHAR text[kTextChars];
    text[0] = 0;
    ResLoadString(ctx, key, text, kTextChars, TRUE);
    const COLORREF oldText = DuiSetTextColor(dc, DuiSysColor(grey ? COLOR_GRAYTEXT : COLOR_MENUTEXT));
    const int oldMode = DuiSetBkMode(dc, TRANSPARENT);
    DuiDrawText(dc, text, -1, &layout.text, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    ResDrawImage(ctx, page, control, dc, &layout.square, layout.square.left, layout.square.top,
                 MAKEINTRESOURCEW(OptCheckPicture(checked, grey)), 1, FALSE);
    DuiSetBkMode(dc, oldMode);
    DuiSetTextColor(dc, oldText);
  }
  if ((item->itemAction & ODA_FOCUS) || (item->itemState & ODS_FOCUS)) DuiFocusRect(item->hDC, &item->rcItem);
  return 1;
}

int CheckListMessage(DriverContext* ctx, DlgPageRecord* page, DlgControlRecord* control, UINT message, WPARAM wParam,
                     LPARAM lParam) {
  if (message == WM_LBUTTONUP || (message == WM_CHAR && wParam == ' ')) return ClickCheckList(ctx, page, control);
  if (message == WM_DRAWITEM && lParam) {
    const DRAWITEMSTRUCT* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
    if (item->CtlID != control->controlId) return 0;
    return DrawCheckEntry(ctx, page, control, item);
  }
  return 0;
}

// ---- the tray list ----

void TrayColumnText(HDC dc, const RECT& column, const WCHAR* text) {
  SIZE extent = {0, 0};
  DuiTextExtent(dc, text, -1, &extent);
  const LONG y = column.top + (column.bottom - column.top - extent.cy) / 2;
  DuiTextOut(dc, column.left, y, ETO_CLIPPED | ETO_OPAQUE, &column, text, -1);
}

// The text of a per-tray value mapped through the value list of the control's item.
void MappedText(DriverContext* ctx, DlgPageRecord* page, WORD controlId, WORD trayItem, WCHAR* text) {
  DlgControlRecord* control = Control(ctx, page, controlId);
  const LONG_PTR logical = ItemMapValue(ctx, control ? control->item : nullptr, ItemGetRawById(ctx, trayItem));
  text[0] = 0;
  if (logical > 0 && logical <= 0xFFFF) ResLoadString(ctx, static_cast<UINT>(logical), text, kTextChars, TRUE);
}

int DrawTrayRow(DriverContext* ctx, DlgPageRecord* page, DlgControlRecord* control, const DRAWITEMSTRUCT* item) {
  if (item->itemAction & (ODA_DRAWENTIRE | ODA_SELECT)) {
    HDC dc = item->hDC;
    const LONG value = static_cast<LONG>(item->itemData);
    const DWORD t = OptTrayIndexOf(value);
    const OptRowColours colours = OptTrayRowColours(Restricted(control), (item->itemState & ODS_SELECTED) != 0);
    const COLORREF oldText = DuiSetTextColor(dc, DuiSysColor(colours.text));
    const COLORREF oldBack = DuiSetBkColor(dc, DuiSysColor(colours.fill));
    RECT client = {0, 0, 0, 0};
    WuiGetClientRect(item->hwndItem, &client);
    const LONG width = client.right - client.left;
    WCHAR text[kTextChars];
    text[0] = 0;
    ResLoadString(ctx, static_cast<UINT>(value), text, kTextChars, TRUE);
    TrayColumnText(dc, OptTrayColumnRect(item->rcItem, width, 0), text);
    if (t < kOptTrayCount) {
      MappedText(ctx, page, kOptTrayPaper, TrayItem(kOptTrayPaperFirst, t), text);
      TrayColumnText(dc, OptTrayColumnRect(item->rcItem, width, 1), text);
      const RECT orient = OptTrayColumnRect(item->rcItem, width, 2);
      DuiFillRect(dc, &orient, DuiSysColor(colours.fill));
      const WORD picture = OptOrientationPicture(static_cast<LONG>(ItemGetRawById(ctx, TrayItem(kOptTrayOrientFirst, t))),
                                                 static_cast<LONG>(ItemGetRawById(ctx, kItem_zdmMachineTypeFeed)));
      ResDrawImage(ctx, page, control, dc, &orient, orient.left, orient.top, MAKEINTRESOURCEW(picture), 1, FALSE);
      MappedText(ctx, page, kOptTrayMedia, TrayItem(kOptTrayMediaFirst, t), text);
      TrayColumnText(dc, OptTrayColumnRect(item->rcItem, width, 3), text);
    }
    DuiSetTextColor(dc, oldText);
    DuiSetBkColor(dc, oldBack);
  }
  if ((item->itemAction & ODA_FOCUS) || (item->itemState & ODS_FOCUS)) DuiFocusRect(item->hDC, &item->rcItem);
  return 1;
}

int TrayChanged(DriverContext* ctx, DlgPageRecord* page, DlgControlRecord* list, const NMLISTVIEW* notice) {
  DmRecheckChapterTrays(ctx);
  // Without an item the list's value is its selection, which already is the new tray.
  if ((notice->uNewState & LVIS_SELECTED) && (!list->item || notice->lParam != TrayListValue(ctx, page, list))) {
    ItemSetControlValue(ctx, list, notice->lParam);
    LoadTrayControls(ctx, page, OptTrayIndexOf(static_cast<LONG>(notice->lParam)));
  }
  DlgRefreshControls(ctx, page, 0);
  return 1;
}

// The tray list takes every message of its own: it is a list view, not the tree its type code
// names, so the type's handlers never see it.
int TrayListMessage(DriverContext* ctx, DlgPageRecord* page, DlgControlRecord* control, UINT message, WPARAM wParam,
                    LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG:
      FillTrayList(ctx, page, control);
      return 1;
    case WM_DRAWITEM: {
      const DRAWITEMSTRUCT* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
      return item && item->CtlID == control->controlId ? DrawTrayRow(ctx, page, control, item) : 1;
    }
    case WM_NOTIFY: {
      const NMHDR* header = reinterpret_cast<const NMHDR*>(lParam);
      if (header && header->code == LVN_ITEMCHANGED)
        return TrayChanged(ctx, page, control, reinterpret_cast<const NMLISTVIEW*>(lParam));
      return 1;
    }
    default:
      (void)wParam;
      return 1;
  }
}

// ---- the selected tray's controls and the defaults button ----

int TrayControlCommand(DriverContext* ctx, DlgPageRecord* page, DlgControlRecord* control, WPARAM wParam,
                       LPARAM lParam, WORD first) {
  RunTypeCommand(ctx, page, control, wParam, lParam);
  const DWORD t = SelectedTray(ctx, page);
  if (t < kOptTrayCount && control->item) ItemSetRawById(ctx, TrayItem(first, t), ItemGetRaw(ctx, control->item));
  InvalidateControl(ctx, page, kOptTrayList);
  return 1;
}

// The orientation buttons store the selected tray's orientation item: on a click always, on a
// repaint only when it differs.
int OrientationMessage(DriverContext* ctx, DlgPageRecord* page, DlgControlRecord* control, UINT message, WPARAM wParam,
                       LPARAM lParam) {
  const bool command = message == WM_COMMAND;
  if (command) RunTypeCommand(ctx, page, control, wParam, lParam);
  const DWORD t = SelectedTray(ctx, page);
  // Without an item the buttons hold no value to store.
  if (t < kOptTrayCount && control->item) {
    const LONG wanted = ItemGetControlValue(ctx, control) != kOptPortrait ? 1 : 0;
    const WORD id = TrayItem(kOptTrayOrientFirst, t);
    if (command || ItemGetRawById(ctx, id) != wanted) {
      ItemSetRawById(ctx, id, wanted);
      InvalidateControl(ctx, page, kOptTrayList);
    }
  }
  if (!command) return 0;
  TellChanged(page);
  DlgRefreshControls(ctx, page, 1);
  return 1;
}

int DefaultsCommand(DriverContext* ctx, DlgPageRecord* page, DlgControlRecord* control, WPARAM wParam, LPARAM lParam) {
  RunTypeCommand(ctx, page, control, wParam, lParam);
  TellChanged(page);
  InvalidateControl(ctx, page, kOptCheckList);
  RebuildTrayList(ctx, page);
  DlgRefreshControls(ctx, page, 1);
  return 1;
}

}  // namespace

const ChecklistRow* OptFindChecklistRow(WORD key) {
  if (!key) return nullptr;
  const ChecklistRow* rows = TblGetChecklistEntries(0);
  for (int n = 0; rows && rows[n].key; ++n)
    if (rows[n].key == key) return &rows[n];
  return nullptr;
}

DWORD OptTrayIndexOf(LONG trayValue) { return ChapterTrayNumber(trayValue); }

int OptIsEntryChecked(DriverContext* ctx, const ChecklistRow* row) {
  if (!row) return 0;
  if (ItemGetValueById(ctx, static_cast<WORD>(row->item1)) != static_cast<LONG_PTR>(row->value1)) return 0;
  return !row->item2 || ItemGetValueById(ctx, static_cast<WORD>(row->item2)) == static_cast<LONG_PTR>(row->value2);
}

int OptToggleEntry(DriverContext* ctx, const ChecklistRow* row) {
  if (!row) return 0;
  if (!OptIsEntryChecked(ctx, row)) {
    CheckEntry(ctx, row);
    StoreList(ctx, row->onList);
    return 1;
  }
  // Only an on/off setting can be turned off by a click; a value such as memory type 196 would
  // become -195 in a one-byte item.
  if (row->value1 > 1) return 0;
  ItemSetValueById(ctx, static_cast<WORD>(row->item1), static_cast<LONG_PTR>(1 - row->value1));
  StoreList(ctx, row->offList);
  return 1;
}

int OptApplyLinkedEntries(DriverContext* ctx, const ChecklistRow* clicked) {
  int flags = 0;
  const ChecklistRow* rows = TblGetChecklistEntries(0);
  for (int n = 0; rows && rows[n].key; ++n) {
    const ChecklistRow* row = &rows[n];
    if (!row->linkedEntries || !OptIsEntryChecked(ctx, row)) continue;
    bool any = false;
    for (int k = 0; k < 64 && row->linkedEntries[k].key; ++k)
      if (OptIsEntryChecked(ctx, OptFindChecklistRow(static_cast<WORD>(row->linkedEntries[k].key)))) any = true;
    if (any || !row->linkedEntries[0].key) continue;
    const ChecklistRow* chosen = OptFindChecklistRow(static_cast<WORD>(row->linkedEntries[0].key));
    if ((!chosen || chosen == clicked) && row->linkedEntries[1].key)
      chosen = OptFindChecklistRow(static_cast<WORD>(row->linkedEntries[1].key));
    if (!chosen) continue;
    CheckEntry(ctx, chosen);
    if (chosen->trayListRefresh) flags |= kOptRefreshTrays;
    if (chosen->redraw) flags |= kOptRedrawList;
  }
  return flags;
}

OptEntryLayout OptCheckEntryLayout(const RECT& entry, LONG textHeight) {
  OptEntryLayout layout;
  layout.square = {entry.left, entry.top, entry.left + (entry.bottom - entry.top), entry.bottom};
  layout.text = {entry.left + 2 * textHeight, entry.top, entry.right, entry.bottom};
  return layout;
}

WORD OptCheckPicture(bool checked, bool grey) {
  if (checked) return grey ? kPictureCheckOnGrey : kPictureCheckOn;
  return grey ? kPictureCheckOffGrey : kPictureCheckOff;
}

RECT OptTrayColumnRect(const RECT& row, LONG clientWidth, int column) {
  const LONG quarter = clientWidth / 4;
  RECT rect = row;
  rect.left = row.left + quarter * column;
  rect.right = rect.left + quarter;
  return rect;
}

OptRowColours OptTrayRowColours(bool restricted, bool selected) {
  if (restricted) return {COLOR_BTNFACE, COLOR_GRAYTEXT};
  if (selected) return {COLOR_HIGHLIGHT, COLOR_HIGHLIGHTTEXT};
  return {COLOR_WINDOW, COLOR_MENUTEXT};
}

WORD OptOrientationPicture(LONG trayOrient, LONG machineFeed) {
  const bool turned = (trayOrient != 0 && machineFeed == 1) || (trayOrient == 0 && machineFeed != 1);
  return turned ? kOptPictureOrientTurned : kOptPictureOrientPlain;
}

int OptDialogControl(DriverContext* ctx, DlgPageRecord* page, DlgControlRecord* control, UINT message, WPARAM wParam,
                     LPARAM lParam) {
  if (!ctx || !page || !control) return 0;
  const WORD id = control->controlId;
  if ((message == WM_COMMAND || message == WM_NOTIFY) && LOWORD(wParam) != id) return 0;
  switch (id) {
    case kOptCheckList:
      return CheckListMessage(ctx, page, control, message, wParam, lParam);
    case kOptTrayList:
      return TrayListMessage(ctx, page, control, message, wParam, lParam);
    case kOptTrayPaper:
    case kOptTrayMedia:
      if (message != WM_COMMAND || HIWORD(wParam) != CBN_SELCHANGE) return 0;
      return TrayControlCommand(ctx, page, control, wParam, lParam,
                                id == kOptTrayPaper ? kOptTrayPaperFirst : kOptTrayMediaFirst);
    case kOptTrayLock:
      if (message != WM_COMMAND) return 0;
      return TrayControlCommand(ctx, page, control, wParam, lParam, kOptTrayLockFirst);
    case kOptPortrait:
    case kOptLandscape:
      if (message != WM_COMMAND && message != WM_PAINT) return 0;
      return OrientationMessage(ctx, page, control, message, wParam, lParam);
    case kOptDefaults:
      if (message != WM_COMMAND) return 0;
      return DefaultsCommand(ctx, page, control, wParam, lParam);
    default:
      return 0;
  }
}

int OptHandleControl(DriverContext* ctx, DlgPageRecord* page, DlgControlRecord* control, UINT message, WPARAM wParam,
                     LPARAM lParam, void*) {
  if (!page || page->dialogId != kOptPage) return 0;
  return OptDialogControl(ctx, page, control, message, wParam, lParam);
}
