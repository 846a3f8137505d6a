// The chapter dialogs: the page list typed into the chapter dialog imported into the chapter
// array, its deletes, the lists that show the chapters, and the chapter-on warning.
#include "core/modules/chapter_dialogs.h"

#include <stdio.h>

#include "core/common/draw_ui.h"
#include "core/common/window_ui.h"
#include "core/context/ui_state.h"
#include "core/front/control_lookup.h"
#include "core/front/control_types.h"
#include "core/front/dialog_engine.h"
#include "core/front/page_lookup.h"
#include "core/items/control_states.h"
#include "core/items/item_access.h"
#include "core/items/item_ids.h"
#include "core/items/item_values.h"
#include "core/modules/module_rows.h"
#include "core/modules/page_list.h"
#include "core/system/resources.h"
#include "core/system/user_messages.h"

namespace {

constexpr WORD kMessageDeleteOne = 10064;
constexpr WORD kMessageDeleteAll = 12001;
constexpr WORD kMessageChapterOnTray = 10074;
constexpr WORD kChapterTrayChoice = 2771;
constexpr LONG kAutoSource = 7;
constexpr int kEventRecheckChapterTrays = 11;  // the records' trays re-checked by the module
constexpr WORD kRestrictedBits = 0x000C, kRestricted = 0x0004;
const WCHAR kPlaceholder[] = {'A', 'B', 'C', 'D', 'E', 'F', 'G', 0};

// Names of the kinds 0-3 and of the print values 0-2 (string ids).
const WORD kKindNames[] = {906, 907, 908, 13535};
const WORD kPrintNames[] = {915, 909, 910};

HWND ControlWindow(DlgPageRecord* page, WORD id) {
  if (!page) return NULL;
  for (int c = 0; c < page->controlCount; ++c)
    if (page->controls[c].controlId == id && page->controls[c].window) return page->controls[c].window;
  return page->window ? WuiFindControl(page->window, id) : NULL;
}

void FocusPageEdit(DlgPageRecord* page) {
  if (HWND edit = ControlWindow(page, kChapterPageEdit)) WuiSetFocus(edit);
}

void Repaint(DlgPageRecord* page) {
  if (HWND list = ControlWindow(page, kChapterList)) WuiInvalidate(list, TRUE);
}

void ImportPageList(DriverContext* ctx, DlgPageRecord* page) {
  WCHAR text[kPageListTextChars] = {0};
  if (HWND edit = ControlWindow(page, kChapterPageEdit)) WuiGetText(edit, text, kPageListTextChars);
  const int result = PageListImport(ctx, text);
  if (result != kPageListOk) {
    if (result > 0) UiWarnOk(ctx, page ? page->window : NULL, static_cast<WORD>(result));
    FocusPageEdit(page);
    Repaint(page);
    return;
  }
  const LONG count = ChapterGetCount(ctx);
  if (HWND list = ControlWindow(page, kChapterList))
    if (count > 0) WuiChoiceSelect(list, count - 1);
  Repaint(page);
}

void DeleteSelected(DriverContext* ctx, DlgPageRecord* page) {
  HWND list = ControlWindow(page, kChapterList);
  const int selected = list ? WuiChoiceSelection(list) : -1;
  if (UiWarnOkCancel(ctx, page ? page->window : NULL, kMessageDeleteOne) != IDOK) return;
  const LONG before = ChapterGetCount(ctx);
  if (ChapterDeleteOne(ctx, selected) != 0) return;
  if (list && selected == before - 1 && selected > 0) WuiChoiceSelect(list, selected - 1);
  Repaint(page);
}

void DeleteAll(DriverContext* ctx, DlgPageRecord* page) {
  if (UiWarnOkCancel(ctx, page ? page->window : NULL, kMessageDeleteAll) != IDOK) return;
  ChapterDeleteAll(ctx);
  if (HWND list = ControlWindow(page, kChapterList)) WuiChoiceSelect(list, 0);
  Repaint(page);
}

void FillChapterList(DriverContext* ctx, DlgPageRecord* page, DlgControlRecord* control) {
  HWND list = control->window ? control->window : ControlWindow(page, control->controlId);
  if (!list) return;
  WuiChoiceReset(list);
  ModBusSendEvent(ctx, kEventRecheckChapterTrays, nullptr);
  const DWORD lines = ChapterLimit(ctx);
  for (DWORD i = 0; i < lines; ++i) WuiChoiceAdd(list, kPlaceholder, 0);
  WuiChoiceSelect(list, 0);
  WuiInvalidate(list, TRUE);
}

// The chapter-on box ticked while chapters use the tray the job starts from: a warning.
void WarnChapterOnTray(DriverContext* ctx, DlgPageRecord* page, DlgControlRecord* control) {
  if (!control->window || WuiGetCheck(control->window) != BST_CHECKED) return;
  if (ItemGetValue(ctx, control->item) != 0) return;
  const LONG source = static_cast<LONG>(ItemGetRawById(ctx, kItem_dmDefaultSource));
  if (source == kAutoSource) return;
  for (LONG n = 0; n < ChapterGetCount(ctx); ++n) {
    const ChapterRecord* record = ChapterGetRecord(ctx, n);
    if (record && record->tray == source) {
      UiWarnOk(ctx, page->window, kMessageChapterOnTray);
      return;
    }
  }
}

void PutText(WCHAR* out, const char* text) {
  int i = 0;
  for (; text[i] && i < 63; ++i) out[i] = static_cast<WCHAR>(text[i]);
  out[i] = 0;
}

void LoadName(DriverContext* ctx, WORD id, WCHAR* out) {
  out[0] = 0;
  if (id) ResLoadString(ctx, id, out, 64, TRUE);
}

int DrawChapterLine(DriverContext* ctx, DlgPageRecord* page, DlgControlRecord* control, const DRAWITEMSTRUCT* item) {
  if (!item) return 0;
  if ((item->itemAction & (ODA_DRAWENTIRE | ODA_SELECT)) && static_cast<int>(item->itemID) >= 0) {
    const ChapterLineStyle style = ChapterLineColours(page->dialogId, (item->itemState & ODS_SELECTED) != 0);
    RECT rect = item->rcItem;
    DuiFillRect(item->hDC, &rect, DuiSysColor(style.background));
    DuiSetTextColor(item->hDC, DuiSysColor(style.text));
    DuiSetBkColor(item->hDC, DuiSysColor(style.background));
    ChapterRecord record = {};
    DWORD records = 0;
    ChapterRecord* array = ChapterArray(ctx, &records);
    if (array && item->itemID < records) record = array[item->itemID];
    WCHAR texts[5][64];
    ChapterLineTexts(ctx, record, static_cast<int>(item->itemID), texts);
    LONG starts[5];
    ChapterColumnStarts(rect.left, rect.right, starts);
    for (int c = 0; c < 5; ++c) {
      RECT cell = {starts[c], rect.top, c < 4 ? starts[c + 1] - 1 : rect.right, rect.bottom};
      if (c > 0) DuiLine(item->hDC, starts[c] - 1, rect.top, starts[c] - 1, rect.bottom, DuiSysColor(COLOR_GRAYTEXT));
      DuiDrawText(item->hDC, texts[c], -1, &cell, DT_SINGLELINE | DT_VCENTER);
    }
    DuiLine(item->hDC, rect.left, rect.bottom - 1, rect.right, rect.bottom - 1, DuiSysColor(COLOR_GRAYTEXT));
    DuiSetTextColor(item->hDC, DuiSysColor(COLOR_MENUTEXT));
  }
  if ((item->itemAction & ODA_FOCUS) || (item->itemState & ODS_FOCUS)) {
    RECT rect = item->rcItem;
    DuiFocusRect(item->hDC, &rect);
  }
  (void)control;
  return 1;
}

int ChapterDialogControl(DriverContext* ctx, DlgPageRecord* page, DlgControlRecord* control, UINT message,
                         WPARAM wParam, LPARAM lParam) {
  const WORD id = control->controlId;
  if (id == kChapterList || id == kCoverMarkChapterList) {
    if (message == WM_INITDIALOG) {
      FillChapterList(ctx, page, control);
      return 1;
    }
    if (message == WM_COMMAND && HIWORD(wParam) == LBN_SELCHANGE) {
      DlgRefreshControls(ctx, page, 0);
      return 1;
    }
    if (message == WM_DRAWITEM) return DrawChapterLine(ctx, page, control, reinterpret_cast<DRAWITEMSTRUCT*>(lParam));
    return 0;
  }
  if (id == kChapterPageEdit && message == WM_INITDIALOG && page->dialogId == kChapterDialogId) {
    const WCHAR empty[1] = {0};
    if (control->window) WuiSetText(control->window, empty);
    return 0;
  }
  if (id == kCoverMarkChapterOn && message == WM_COMMAND && page->dialogId == kCoverMarkDialogId)
    WarnChapterOnTray(ctx, page, control);
  return 0;
}

}  // namespace

WORD ChapterKindName(BYTE kind) { return kind < sizeof(kKindNames) / sizeof(kKindNames[0]) ? kKindNames[kind] : 0; }
WORD ChapterPrintName(BYTE print) {
  return print < sizeof(kPrintNames) / sizeof(kPrintNames[0]) ? kPrintNames[print] : 0;
}

void ChapterColumnStarts(LONG left, LONG right, LONG starts[5]) {
  const LONG w = left + right;
  starts[0] = 0;
  starts[1] = w * 24 / 320;
  starts[2] = w * 50 / 320;
  starts[3] = w * 142 / 320;
  starts[4] = w * 246 / 320;
}

ChapterLineStyle ChapterLineColours(WORD dialog, bool selected) {
  if (dialog == kCoverMarkDialogId) return {COLOR_BTNFACE, COLOR_GRAYTEXT};
  if (selected) return {COLOR_HIGHLIGHT, COLOR_HIGHLIGHTTEXT};
  return {COLOR_WINDOW, COLOR_WINDOWTEXT};
}

void ChapterLineTexts(DriverContext* ctx, const ChapterRecord& record, int line, WCHAR texts[5][64]) {
  for (int c = 0; c < 5; ++c) texts[c][0] = 0;
  char number[16];
  snprintf(number, sizeof number, "%d", line + 1);
  PutText(texts[0], number);
  if (record.page == 0) return;
  if (record.kind == kChapterKindRange) {
    int i = 0;
    for (; i < 15 && record.range[i]; ++i) texts[1][i] = record.range[i];
    texts[1][i] = 0;
  } else {
    snprintf(number, sizeof number, "%u", static_cast<unsigned>(record.page));
    PutText(texts[1], number);
  }
  LoadName(ctx, ChapterKindName(record.kind), texts[2]);
  if (record.kind == 0 || record.kind == kChapterKindRange) {
    DlgControlRecord* choice = CtlFind(ctx, PageFind(ctx, kChapterDialogId), kChapterTrayChoice);
    const SettingItem* trayItem = choice && choice->item ? choice->item : ItemFind(ctx, kItem_wdmChapterTray);
    LoadName(ctx, static_cast<WORD>(ItemMapValue(ctx, trayItem, record.tray)), texts[3]);
    LoadName(ctx, ChapterPrintName(record.print), texts[4]);
  }
}

int ChapterDialogNotify(DriverContext* ctx, WORD code) {
  if (code < kNotifyChapterAdd || code > kNotifyChapterDeleteAll) return 0;
  if (!ctx || !ctx->ui) return 1;
  DlgPageRecord* page = PageFind(ctx, kChapterDialogId);
  if (code == kNotifyChapterAdd) ImportPageList(ctx, page);
  if (code == kNotifyChapterDelete) DeleteSelected(ctx, page);
  if (code == kNotifyChapterDeleteAll) DeleteAll(ctx, page);
  return 1;
}

int ChapterDeleteRestricted(DriverContext* ctx, DlgPageRecord* page, DlgControlRecord* control) {
  if (!control || control->controlId != kChapterDeleteButton) return 0;
  DlgPageRecord* dialog = page ? page : PageFind(ctx, kChapterDialogId);
  HWND list = ControlWindow(dialog, kChapterList);
  const int selected = list ? WuiChoiceSelection(list) : -1;
  DWORD records = 0;
  ChapterRecord* array = ChapterArray(ctx, &records);
  const bool restricted = selected < 0 || !array || static_cast<DWORD>(selected) >= records || array[selected].page == 0;
  control->state = static_cast<WORD>((control->state & ~kRestrictedBits) | (restricted ? kRestricted : 0));
  return 1;
}

int ChapterHandleControl(DriverContext* ctx, DlgPageRecord* page, DlgControlRecord* control, UINT message,
                         WPARAM wParam, LPARAM lParam, void*) {
  if (!ctx || !ctx->ui || !page || !control) return 0;
  if (page->dialogId != kChapterDialogId && page->dialogId != kCoverMarkDialogId) return 0;
  return ChapterDialogControl(ctx, page, control, message, wParam, lParam);
}
