// List boxes, combos, owner-drawn lists and combos with pictures, and the check-box list.
#include "core/front/ctl_lists.h"

#include "core/common/draw_ui.h"
#include "core/common/window_ui.h"
#include "core/context/module_bus.h"
#include "core/context/ui_state.h"
#include "core/front/ctl_simple.h"
#include "core/front/ctl_subclass.h"
#include "core/front/dialog_engine.h"
#include "core/front/image_draw.h"
#include "core/items/item_access.h"
#include "core/items/item_table.h"
#include "core/model/model_types.h"
#include "core/rules/judge_eval.h"
#include "core/system/resources.h"

// ---- the records the list types' rows name ----

const CtlExtPicture kListExtRestrictedChoice = {kCtlExtPicture, 0, 1, 7005, 0, 0, nullptr};
// The settings summary: label, condition symbol, value symbol (the control symbols of the
// quality pages, the per-object items' own symbols). Never reordered: the lines show in this
// order.
const SummaryLine kSummaryLines[] = {
    {240, 0, 6480},     // TOV_IDC_USER_QUALITY_CHOICE_RESOLUTION
    {388, 0, 6468},     // TOV_IDC_USER_QUALITY_CHOICE_SMOOTHING
    {241, 0, 6484},     // TOV_IDC_USER_QUALITY_CHOICE_IMAGE
    {1101, 6475, 0},    // TOV_IDC_USER_QUALITY_CHOICE_CHARBLACK
    {1148, 6476, 0},    // TOV_IDC_USER_QUALITY_CHOICE_ENHANCEBOLD
    {242, 0, 6511},     // TOV_RADIOLIST_8
    {1105, 6520, 0},    // TOV_IDC_USER_OTHERS_CHOICE_IMAGE
    {1106, 6521, 0},    // TOV_IDC_USER_OTHERS_CHOICE_APPLICATION
    {13041, 6531, 0},   // TOV_IDC_USER_OTHERS_CHOICE_TTF
    {1149, 6204, 6207}, // TOV_IDC_PRINTQUALITY_CHOICE_TONERSAVE_MODE, ..._DENSITY
    {1202, 0, 0},
    {1112, 0, 0},
    {244, 0, 6486},     // TOV_IDC_USER_QUALITY_CHOICE_DITHERING
    {1114, 0, 6493},    // TOV_IDC_USER_QUALITY_EDIT_BRIGHTNESS
    {1115, 0, 6496},    // TOV_IDC_USER_QUALITY_EDIT_CONTRAST
    {1121, 0, 0},
    {1122, 0, 0},
    {244, 0, 1966},     // TOV_wdmDitherTypeText
    {1114, 0, 1969},    // TOV_wdmBrightnessText
    {1115, 0, 1972},    // TOV_wdmContrastText
    {1123, 0, 0},
    {244, 0, 1967},     // TOV_wdmDitherTypeLine
    {1114, 0, 1970},    // TOV_wdmBrightnessLine
    {1115, 0, 1973},    // TOV_wdmContrastLine
    {1124, 0, 0},
    {244, 0, 1968},     // TOV_wdmDitherTypeImage
    {1114, 0, 1971},    // TOV_wdmBrightnessImage
    {1115, 0, 1974},    // TOV_wdmContrastImage
};
static_assert(sizeof(kSummaryLines) / sizeof(kSummaryLines[0]) == 28, "the summary has 28 lines");
const WORD kSummaryLineCount = 28;
// Both summary edits carry the line list.
const CtlExtPicture kListExtStatusSummary = {kCtlExtPicture, 0, 0, 0, 28, 0, kSummaryLines};
const CtlExtPicture kListExtSettingsSummary = {kCtlExtPicture, 0, 0, 0, 28, 0, kSummaryLines};
// The hidden-function switches zdmHidden2Func0-7, one per entry of 2817's list.
const WORD kListExtHiddenFunctions[] = {447, 448, 449, 450, 451, 452, 453, 454};

namespace {

struct ItemList {
  const WORD* items;
  int count;
};
const ItemList kItemLists[] = {
    {kListExtHiddenFunctions, static_cast<int>(sizeof(kListExtHiddenFunctions) / sizeof(WORD))},
};

constexpr WORD kTypeOwnerList = 47;
constexpr WORD kTypeIconList = 50;

// The entry (0 ..) holding value, or -1: compared as unsigned 16-bit numbers when narrow.
int FindEntry(HWND window, LONG_PTR value, bool narrow) {
  const int count = WuiChoiceCount(window);
  for (int i = 0; i < count; ++i) {
    const LPARAM data = WuiChoiceData(window, i);
    if (narrow ? static_cast<WORD>(data) == static_cast<WORD>(value) : data == value) return i;
  }
  return -1;
}

// Selects the entry of the item's value; with none the selection is cleared unless keep.
void SelectValue(DriverContext* ctx, DlgPageRecord* page, DlgControlRecord* control, bool narrow, bool keep) {
  HWND window = CtlChoiceWindow(page, control);
  if (!window) return;
  const int index = FindEntry(window, ItemGetControlValue(ctx, control), narrow);
  if (index >= 0) {
    if (WuiChoiceSelection(window) != index) WuiChoiceSelect(window, index);
  } else if (!keep) {
    WuiChoiceSelect(window, -1);
  }
}

// An s16 or u16 item's value is compared as its 16 bits.
bool IsNarrowItem(const DlgControlRecord* control) {
  const UINT type = control->item ? ItemDescType(control->item->descriptor) : 0;
  return type == ItemTypeS16 || type == ItemTypeU16;
}

// Fills the control with one entry per value (text loaded, or empty); false without an item or
// a window.
bool FillEntries(DriverContext* ctx, DlgPageRecord* page, DlgControlRecord* control, bool withText) {
  if (!control->item) return false;
  HWND window = CtlChoiceWindow(page, control);
  if (!window) return false;
  WuiChoiceReset(window);
  WORD values[kCtlMaxEntries];
  const int count = CtlChoiceEntries(ctx, control, values, kCtlMaxEntries);
  WCHAR text[kCtlTextChars];
  for (int i = 0; i < count; ++i) {
    text[0] = 0;
    if (withText) ResLoadString(ctx, values[i], text, kCtlTextChars, TRUE);
    WuiChoiceAdd(window, text, values[i]);
  }
  return true;
}

bool Restricted(const DlgControlRecord* control) { return (control->state & kControlRestrictedMask) != 0; }

const CtlExtPicture* PictureExtension(const DlgControlRecord* control) {
  return reinterpret_cast<const CtlExtPicture*>(CtlGetExtension(control, kCtlExtPicture));
}

// A restricted value of a control whose extension asks for it: the control's information
// string is shown and true answered, so that the caller keeps the old value.
bool ShowRestrictedInformation(DriverContext* ctx, DlgPageRecord* page, DlgControlRecord* control, WORD value) {
  const CtlExtPicture* ext = PictureExtension(control);
  if (!ext || !ext->restrictedInfo || !control->infoString) return false;
  if (!ModelIsValueRestricted(control->descriptor, value, ctx)) return false;
  WCHAR text[kCtlTextChars];
  text[0] = 0;
  ResLoadString(ctx, control->infoString, text, kCtlTextChars, TRUE);
  if (!text[0]) return false;
  WuiMessageBox(page ? page->window : NULL, text, TEXT("Information"), MB_OK | MB_ICONINFORMATION);
  return true;
}

// Background and text colours of an owner-drawn entry.
COLORREF EntryFill(const DlgControlRecord* control, const DRAWITEMSTRUCT* item) {
  if (Restricted(control)) return DuiSysColor(COLOR_BTNFACE);
  return DuiSysColor((item->itemState & ODS_SELECTED) ? COLOR_HIGHLIGHT : COLOR_WINDOW);
}
COLORREF EntryTextColour(const DlgControlRecord* control, const DRAWITEMSTRUCT* item) {
  if (Restricted(control)) return DuiSysColor(COLOR_GRAYTEXT);
  return DuiSysColor((item->itemState & ODS_SELECTED) ? COLOR_HIGHLIGHTTEXT : COLOR_MENUTEXT);
}

void DrawFocus(const DRAWITEMSTRUCT* item) {
  if ((item->itemAction & ODA_FOCUS) || (item->itemState & ODS_FOCUS)) DuiFocusRect(item->hDC, &item->rcItem);
}

// The entry's text with its picture square at the left (no picture: the text alone at the
// left), vertically centred, clipped and opaque on the fill colour.
void DrawEntry(DriverContext* ctx, DlgPageRecord* page, DlgControlRecord* control, const DRAWITEMSTRUCT* item,
               const WCHAR* text, COLORREF fill, COLORREF textColour) {
  HDC dc = item->hDC;
  const RECT& rc = item->rcItem;
  const LONG height = rc.bottom - rc.top;
  const WORD value = static_cast<WORD>(item->itemData);
  UINT picture = 0;
  const CtlExtPicture* ext = PictureExtension(control);
  if (ext && ext->restrictedInfo && ext->restrictedPicture && ModelIsValueRestricted(control->descriptor, value, ctx)) {
    picture = ext->restrictedPicture;
    textColour = DuiSysColor(COLOR_GRAYTEXT);
  } else {
    picture = CtlPictureForValue(control, value);
  }
  SIZE extent = {0, 0};
  DuiTextExtent(dc, text, -1, &extent);
  DuiSetTextColor(dc, textColour);
  const COLORREF oldBack = DuiSetBkColor(dc, fill);
  const LONG x = picture ? rc.left + height : rc.left;
  const LONG y = rc.top + (height - extent.cy) / 2;
  DuiTextOut(dc, x, y, ETO_CLIPPED | ETO_OPAQUE, &rc, text, -1);
  if (picture) {
    const RECT square = {rc.left, rc.top, rc.left + height, rc.bottom};
    ResDrawImage(ctx, page, control, dc, &square, rc.left, rc.top, MAKEINTRESOURCEW(picture), 0, FALSE);
  }
  DuiSetTextColor(dc, DuiSysColor(COLOR_MENUTEXT));
  DuiSetBkColor(dc, oldBack);
}

// The page's answer to WM_CTLCOLORLISTBOX, through its result slot.
int AnswerBrush(DlgPageRecord* page, HBRUSH brush) {
  WuiSetSlot(page->window, DWL_MSGRESULT, reinterpret_cast<LONG_PTR>(brush));
  return 1;
}

bool OwnWindow(DlgPageRecord* page, DlgControlRecord* control, LPARAM lParam) {
  HWND window = CtlChoiceWindow(page, control);
  return window && reinterpret_cast<HWND>(lParam) == window;
}

HBRUSH GreyBrush(DriverContext* ctx) { return ctx->ui ? ctx->ui->dialog.draw.greyBrush : NULL; }

}  // namespace

HWND CtlChoiceWindow(DlgPageRecord* page, DlgControlRecord* control) {
  if (!control) return NULL;
  if (control->window) return control->window;
  return page && page->window ? WuiFindControl(page->window, control->controlId) : NULL;
}

int CtlChoiceSelected(DlgPageRecord* page, DlgControlRecord* control, HWND* window) {
  HWND found = CtlChoiceWindow(page, control);
  if (window) *window = found;
  return found ? WuiChoiceSelection(found) : -1;
}

int CtlChoiceEntries(DriverContext* ctx, const DlgControlRecord* control, WORD* values, int capacity) {
  const ModelItemDescriptor* desc = control ? control->descriptor : nullptr;
  if (!desc || !values) return 0;
  const ModelValueShape shape = ModelValueShapeOf(desc->type);
  if (shape != kModelShapeList && shape != kModelShapePage && shape != kModelShapeSlot &&
      shape != kModelShapeFontTable)
    return 0;
  // Every entry shape begins with the next link and the value id.
  int count = 0;
  for (const ListValueRecord* v = static_cast<const ListValueRecord*>(desc->values); v && count < capacity;
       v = v->next)
    if (!ModelIsValueDisabled(desc, v->valueId, ctx)) values[count++] = v->valueId;
  return count;
}

const WORD* CtlCheckListItems(const DlgControlRecord* control, int* count) {
  if (count) *count = 0;
  if (!control || !control->extension) return nullptr;
  for (const ItemList& list : kItemLists)
    if (control->extension == list.items) {
      if (count) *count = list.count;
      return list.items;
    }
  return nullptr;
}

// ---- list boxes ----

void CtlFillListBox(const CtlTypeRecord* type, DriverContext* ctx, DlgPageRecord* page, DlgControlRecord* control) {
  (void)type;
  FillEntries(ctx, page, control, true);
}

void CtlFillOwnerListBox(const CtlTypeRecord* type, DriverContext* ctx, DlgPageRecord* page,
                         DlgControlRecord* control) {
  (void)type;
  if (FillEntries(ctx, page, control, false)) CtlShowListBoxValue(ctx, page, control);
}

void CtlShowListBoxValue(DriverContext* ctx, DlgPageRecord* page, DlgControlRecord* control) {
  SelectValue(ctx, page, control, false, false);
}

int CtlTakeListBoxValue(DriverContext* ctx, DlgPageRecord* page, DlgControlRecord* control, WPARAM wParam,
                        LPARAM lParam) {
  (void)lParam;
  if (HIWORD(wParam) != LBN_SELCHANGE) return 0;
  HWND window = NULL;
  const int index = CtlChoiceSelected(page, control, &window);
  if (index < 0) return 0;
  const LPARAM value = WuiChoiceData(window, index);
  const LONG_PTR old = ItemGetControlValue(ctx, control);
  if (value == old) return 0;
  if (ShowRestrictedInformation(ctx, page, control, static_cast<WORD>(value))) {
    const int back = FindEntry(window, old, false);
    WuiChoiceSelect(window, back);
    return 1;
  }
  CtlApplyValue(ctx, page, control, value);
  return 1;
}

int CtlDrawListItem(DriverContext* ctx, DlgPageRecord* page, DlgControlRecord* control, UINT message, WPARAM wParam,
                    LPARAM lParam) {
  (void)wParam;
  if (message == WM_CTLCOLORLISTBOX) {
    if (!OwnWindow(page, control, lParam)) return 0;
    if (control->type != kTypeOwnerList && control->type != kTypeIconList) return 0;
    if (Restricted(control)) return AnswerBrush(page, GreyBrush(ctx));
    if (control->type == kTypeIconList) return AnswerBrush(page, ctx->ui ? ctx->ui->dialog.draw.iconListBrush : NULL);
    return AnswerBrush(page, DuiStockBrush(WHITE_BRUSH));
  }
  if (message != WM_DRAWITEM || !lParam) return 0;
  const DRAWITEMSTRUCT* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
  if ((item->itemAction & (ODA_DRAWENTIRE | ODA_SELECT)) && item->itemData) {
    const COLORREF fill = EntryFill(control, item);
    DuiFillRect(item->hDC, &item->rcItem, fill);
    if (control->flags & kCtlPictureItems) {
      // The value's own picture over the whole entry, the fill colour as its key colour.
      COLORREF saved = 0;
      if (ctx->ui) {
        saved = ctx->ui->dialog.draw.background;
        ctx->ui->dialog.draw.background = fill;
      }
      ResDrawImage(ctx, page, control, item->hDC, &item->rcItem, item->rcItem.left, item->rcItem.top,
                   MAKEINTRESOURCEW(static_cast<WORD>(item->itemData)), 9, FALSE);
      if (ctx->ui) ctx->ui->dialog.draw.background = saved;
    } else {
      WCHAR text[kCtlTextChars];
      if (WuiChoiceText(item->hwndItem, static_cast<int>(item->itemID), text, kCtlTextChars) < 0) text[0] = 0;
      DrawEntry(ctx, page, control, item, text, fill, EntryTextColour(control, item));
    }
  }
  DrawFocus(item);
  return 1;
}

int CtlDrawListItemAlt(DriverContext* ctx, DlgPageRecord* page, DlgControlRecord* control, UINT message,
                       WPARAM wParam, LPARAM lParam) {
  if (message == WM_CTLCOLORLISTBOX) {
    if (!OwnWindow(page, control, lParam)) return 0;
    return AnswerBrush(page, Restricted(control) ? GreyBrush(ctx) : DuiStockBrush(WHITE_BRUSH));
  }
  int count = 0;
  const WORD* items = CtlCheckListItems(control, &count);
  if (message == WM_DRAWITEM) {
    const DRAWITEMSTRUCT* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
    if (!item || LOWORD(wParam) != control->controlId) return 0;
    if ((item->itemAction & (ODA_DRAWENTIRE | ODA_SELECT)) && item->itemData) {
      HDC dc = item->hDC;
      const RECT& rc = item->rcItem;
      const WORD value = static_cast<WORD>(item->itemData);
      // Only entries below the list's count have an item; any other is drawn unchecked.
      const int index = static_cast<int>(item->itemID);
      const bool checked = index >= 0 && index < count && ItemGetValueById(ctx, items[index]) != 0;
      const bool grey = Restricted(control) || ModelIsValueRestricted(control->descriptor, value, ctx);
      DuiFillRect(dc, &rc, DuiSysColor(grey ? COLOR_BTNFACE : COLOR_WINDOW));
      WCHAR text[kCtlTextChars];
      text[0] = 0;
      ResLoadString(ctx, value, text, kCtlTextChars, TRUE);
      LONG textHeight = 0, average = 0;
      DuiTextMetrics(dc, &textHeight, &average);
      const COLORREF oldText = DuiSetTextColor(dc, DuiSysColor(grey ? COLOR_GRAYTEXT : COLOR_MENUTEXT));
      const int oldMode = DuiSetBkMode(dc, TRANSPARENT);
      RECT band = {rc.left + 2 * textHeight, rc.top, rc.right, rc.bottom};
      DuiDrawText(dc, text, -1, &band, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
      DuiSetBkMode(dc, oldMode);
      DuiSetTextColor(dc, oldText);
      const WORD picture = checked ? (grey ? kPictureCheckOnGrey : kPictureCheckOn)
                                   : (grey ? kPictureCheckOffGrey : kPictureCheckOff);
      const RECT square = {rc.left, rc.top, rc.left + (rc.bottom - rc.top), rc.bottom};
      ResDrawImage(ctx, page, control, dc, &square, rc.left, rc.top, MAKEINTRESOURCEW(picture), 1, FALSE);
    }
    DrawFocus(item);
    return 1;
  }
  if (message == WM_LBUTTONUP || (message == WM_CHAR && wParam == ' ')) {
    if (Restricted(control)) return 0;
    HWND window = NULL;
    const int index = CtlChoiceSelected(page, control, &window);
    if (index < 0 || index >= count) return 0;
    ItemSetValueById(ctx, items[index], ItemGetValueById(ctx, items[index]) ? 0 : 1);
    WuiInvalidate(window, TRUE);
    WuiSend(WuiParent(page->window), PSM_CHANGED, reinterpret_cast<WPARAM>(page->window), 0);
    return 0;
  }
  return 0;
}

// ---- combos ----

void CtlFillCombo(const CtlTypeRecord* type, DriverContext* ctx, DlgPageRecord* page, DlgControlRecord* control) {
  (void)type;
  if (FillEntries(ctx, page, control, true)) CtlShowComboValue(ctx, page, control);
}

void CtlShowComboValue(DriverContext* ctx, DlgPageRecord* page, DlgControlRecord* control) {
  SelectValue(ctx, page, control, IsNarrowItem(control), false);
}

void CtlShowOwnerComboValue(DriverContext* ctx, DlgPageRecord* page, DlgControlRecord* control) {
  if (!control->item || !(control->item->state & ItemStateChangeMask)) return;
  SelectValue(ctx, page, control, IsNarrowItem(control), true);
}

int CtlTakeComboValue(DriverContext* ctx, DlgPageRecord* page, DlgControlRecord* control, WPARAM wParam,
                      LPARAM lParam) {
  (void)lParam;
  // CBN_DROPDOWN answers 0: the message the list once posted for its first entries has no
  // handler in this driver.
  if (HIWORD(wParam) != CBN_SELCHANGE) return 0;
  if (!page || ctx->currentPage != page->dialogId) return 0;
  HWND window = NULL;
  const int index = CtlChoiceSelected(page, control, &window);
  if (index < 0) return 0;
  const LPARAM value = WuiChoiceData(window, index);
  const LONG_PTR old = ItemGetControlValue(ctx, control);
  const bool narrow = IsNarrowItem(control);
  if (ShowRestrictedInformation(ctx, page, control, static_cast<WORD>(value))) {
    WuiChoiceSelect(window, FindEntry(window, old, narrow));
    return 1;
  }
  const bool same = narrow ? static_cast<WORD>(value) == static_cast<WORD>(old) : value == old;
  if (same) {
    CtlCommitValue(ctx, page, control, 0, 0);
    return 1;
  }
  CtlApplyValue(ctx, page, control, value);
  if (ItemGetControlValue(ctx, control) != old) {
    DlgControlRecord* argument = control;
    ModBusSendEvent(ctx, kEventComboTaken, &argument);
  }
  return 1;
}

int CtlDrawComboItem(DriverContext* ctx, DlgPageRecord* page, DlgControlRecord* control, UINT message, WPARAM wParam,
                     LPARAM lParam) {
  (void)wParam;
  if (message != WM_DRAWITEM || !lParam) return 0;
  const DRAWITEMSTRUCT* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
  if (item->itemAction & (ODA_DRAWENTIRE | ODA_SELECT)) {
    const COLORREF fill = EntryFill(control, item);
    HWND combo = CtlChoiceWindow(page, control);
    if ((item->itemState & ODS_SELECTED) && combo && WuiSend(combo, CB_GETDROPPEDSTATE, 0, 0)) {
      RECT list = {0, 0, 0, 0};
      WuiGetRect(combo, &list);
      DlgShowHint(ctx, control, page->window, list.right, list.top + item->rcItem.top,
                  static_cast<int>(item->itemID));
    }
    WCHAR text[kCtlTextChars];
    text[0] = 0;
    if (static_cast<int>(item->itemID) >= 0 &&
        WuiChoiceText(item->hwndItem ? item->hwndItem : combo, static_cast<int>(item->itemID), text,
                      kCtlTextChars) < 0)
      text[0] = 0;
    DrawEntry(ctx, page, control, item, text, fill, EntryTextColour(control, item));
  }
  DrawFocus(item);
  return 1;
}
