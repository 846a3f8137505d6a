// The sheet bindings: one property page per dialog of a kind, the pages' procedure and the
// common property-sheet UI.
#include "core/common/module_handle.h"
#include "core/common/window_ui.h"
#include "core/context/ui_state.h"
#include "core/front/dialog_records.h"
#include "core/front/page_lookup.h"
#include "core/model/model_lookup.h"
#include "core/system/resources.h"
#include "core/front/dialog_engine.h"
#include "ui2k/sheets.h"

namespace {

// The size of the page description the sheets give (the form with header titles).
constexpr DWORD kPageDescriptionSize = 48;
// The common property-sheet UI's printer icon.
constexpr ULONG_PTR kPrinterIconId = 64082;
constexpr UINT kCallbackCreateMessage = 6;

DriverContext* ContextOf(HWND window) { return reinterpret_cast<DriverContext*>(WuiGetSlot(window, DWL_USER)); }

DlgPageRecord* PageOfWindow(HWND window) {
  DriverContext* ctx = ContextOf(window);
  return ctx ? PageFindByWindow(ctx, window) : nullptr;
}

}  // namespace

int SheetAddPages(DriverContext* ctx, WORD kindBit) {
  if (!ctx || !ctx->ui || !ctx->pages) return 0;
  FrontUiState& front = ctx->ui->front;
  front.okFlag = 0;
  PFNCOMPROPSHEET add = reinterpret_cast<PFNCOMPROPSHEET>(front.sheetCallback);
  HANDLE sheet = reinterpret_cast<HANDLE>(front.sheetHandle);
  if (!add || !sheet) return 0;
  int accepted = 0;
  for (SHORT i = 0; i < ctx->pages->count; ++i) {
    const DlgPageRecord& page = ctx->pages->rows[i];
    if (!(page.kind & kindBit) || ModelIsSymbolDisabled(ctx, page.symbolId)) continue;
    PROPSHEETPAGEW description = {};
    description.dwSize = kPageDescriptionSize;
    description.dwFlags = PSP_HASHELP;
    description.hInstance = ResLoadLanguageDll(ctx);
    description.pszTemplate = MAKEINTRESOURCEW(page.dialogId);
    description.pfnDlgProc = SheetPageDialogProc;
    description.lParam = reinterpret_cast<LPARAM>(ctx);
    description.pfnCallback = SheetPageCallback;
    HPROPSHEETPAGE handle = WuiCreatePropertyPage(&description);
    if (handle && add(sheet, CPSFUNC_ADD_HPROPSHEETPAGE, reinterpret_cast<LPARAM>(handle), 0) > 0) ++accepted;
  }
  return accepted;
}

UINT CALLBACK SheetPageCallback(HWND window, UINT message, PROPSHEETPAGEW* page) {
  (void)window;
  (void)page;
  return message == kCallbackCreateMessage ? 3 : 0;
}

// A sheet page's dialog procedure: the dialog engine's page procedure, which keeps the context
// with the page, binds its controls, makes it the current page and takes the sheet's
// confirmation; a destroyed page forgets its window.
INT_PTR CALLBACK SheetPageDialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_DESTROY)
    if (DlgPageRecord* page = PageOfWindow(window)) page->window = nullptr;
  return DlgSheetPageProc(window, message, wParam, lParam);
}

LONG SheetRunCommonPropertySheet(HWND owner, SheetUiCallback callback, LPARAM lParam, DWORD* result) {
  return WuiRunCommonPropertySheet(owner, callback, lParam, result);
}

void SheetFillInfoHeader(PROPSHEETUI_INFO_HEADER* header, LPWSTR title) {
  header->Flags = PSUIHDRF_NOAPPLYNOW | PSUIHDRF_PROPTITLE;
  header->pTitle = title;
  header->hInst = ResModuleHandle();
  header->IconID = kPrinterIconId;
}

LONG SheetAnswerOtherReason(PROPSHEETUI_INFO* info, LPARAM lParam) {
  if (info->Reason == PROPSHEETUI_REASON_SET_RESULT) {
    const SETRESULT_INFO* result = reinterpret_cast<const SETRESULT_INFO*>(lParam);
    if (!result) return -1;
    info->Result = static_cast<ULONG_PTR>(result->Result);
    return 1;
  }
  return info->Reason == PROPSHEETUI_REASON_GET_ICON ? -1 : 1;
}
