// The structural types: tab controls that show one group of a page's controls at a time, and
// the tree of every page and control with its value.
#include "core/common/text.h"
#include "core/common/window_ui.h"
#include "core/front/ctl_lists.h"
#include "core/items/item_access.h"
#include "core/system/resources.h"
#include "core/tables/symbol_table.h"

namespace {

const CtlExtTabs* TabsOf(const DlgControlRecord* control) {
  return reinterpret_cast<const CtlExtTabs*>(CtlGetExtension(control, kCtlExtTabs));
}

void ShowGroup(HWND page, const CtlTab& tab, int command) {
  if (!tab.controls) return;
  for (int i = 0; i < tab.controlCount; ++i)
    if (HWND window = WuiFindControl(page, tab.controls[i])) WuiShow(window, command);
}

constexpr int kLineChars = 300;
// The full-width colon between a control's symbol name and its value.
constexpr WCHAR kWideColon = 0xFF1A;

}  // namespace

void CtlFillTabControl(const CtlTypeRecord* type, DriverContext* ctx, DlgPageRecord* page,
                       DlgControlRecord* control) {
  (void)type;
  const CtlExtTabs* tabs = TabsOf(control);
  if (!control->item || !tabs || !tabs->tabs) return;
  HWND window = CtlChoiceWindow(page, control);
  if (!window) return;
  WCHAR text[kCtlTextChars];
  for (int i = 0; i < tabs->count; ++i) {
    text[0] = 0;
    ResLoadString(ctx, tabs->tabs[i].textId, text, kCtlTextChars, TRUE);
    WuiTabInsert(window, i, text, reinterpret_cast<LPARAM>(ctx));
  }
  CtlShowTabGroup(page, control, 0);
}

void CtlShowTabGroup(DlgPageRecord* page, DlgControlRecord* control, int tab) {
  const CtlExtTabs* tabs = TabsOf(control);
  if (!page || !tabs || !tabs->tabs) return;
  // Hidden first, so that a control listed under two tabs ends shown when one of them is chosen.
  for (int i = 0; i < tabs->count; ++i)
    if (i != tab) ShowGroup(page->window, tabs->tabs[i], SW_HIDE);
  if (tab >= 0 && tab < tabs->count) ShowGroup(page->window, tabs->tabs[tab], SW_SHOW);
}

int CtlTabMessage(DriverContext* ctx, DlgPageRecord* page, DlgControlRecord* control, UINT message, WPARAM wParam,
                  LPARAM lParam) {
  (void)ctx;
  (void)wParam;
  if (message != WM_NOTIFY || !lParam) return 0;
  const NMHDR* header = reinterpret_cast<const NMHDR*>(lParam);
  // Every control of the page sees the page's notifications: only its own selection counts.
  if (header->code != TCN_SELCHANGE || header->idFrom != control->controlId) return 0;
  HWND window = header->hwndFrom ? header->hwndFrom : CtlChoiceWindow(page, control);
  CtlShowTabGroup(page, control, WuiTabSelection(window));
  return 0;
}

void CtlFillTreeView(const CtlTypeRecord* type, DriverContext* ctx, DlgPageRecord* page, DlgControlRecord* control) {
  (void)type;
  if (!control->item || !ctx->pages) return;
  HWND tree = CtlChoiceWindow(page, control);
  if (!tree) return;
  WuiTreeClear(tree);
  WCHAR line[kLineChars];
  for (int p = 0; p < ctx->pages->count; ++p) {
    DlgPageRecord* shown = &ctx->pages->rows[p];
    StrAnsiToWide(line, shown->name ? shown->name : "", kLineChars);
    HTREEITEM node = WuiTreeInsert(tree, NULL, line, reinterpret_cast<LPARAM>(ctx));
    if (!node) continue;
    for (int c = 0; c < shown->controlCount; ++c) {
      const DlgControlRecord* described = &shown->controls[c];
      const SymbolEntry* symbol = TblFindSymbol(described->symbolId);
      if (symbol && symbol->name) {
        StrAnsiToWide(line, symbol->name, kLineChars - 16);
        DWORD length = StrWideLength(line);
        line[length++] = kWideColon;
        StrFormatFixedPoint(line + length, kLineChars - static_cast<int>(length), 1,
                            static_cast<LONG>(ItemGetControlValue(ctx, described)), FALSE);
      } else {
        StrCopyCut(line, kLineChars, TEXT("none"));
      }
      WuiTreeInsert(tree, node, line, reinterpret_cast<LPARAM>(ctx));
    }
  }
}

int CtlIgnoreMessage(DriverContext* ctx, DlgPageRecord* page, DlgControlRecord* control, UINT message, WPARAM wParam,
                     LPARAM lParam) {
  (void)ctx;
  (void)page;
  (void)control;
  (void)message;
  (void)wParam;
  (void)lParam;
  return 0;
}
