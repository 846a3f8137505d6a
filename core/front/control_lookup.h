// Controls of a context's dialog tables (the pages are found with page_lookup.h). Every scan
// runs in table order and returns the first match.
#pragma once
#include "core/context/driver_context.h"
#include "core/front/dialog_records.h"
#include "platform/win32.h"

// Controls on one page, or with a null page on all pages of the context in table order.
// The control with this id.
DlgControlRecord* CtlFind(DriverContext* ctx, DlgPageRecord* page, WORD control_id);
// The control whose window is this one; null for a null window.
DlgControlRecord* CtlFindByWindow(DriverContext* ctx, DlgPageRecord* page, HWND window);
// The control that carries this symbol id; null for symbol 0. An item's symbol also finds the
// first control whose symbol names that item (a model describes items by their own symbols).
DlgControlRecord* CtlFindBySymbol(DriverContext* ctx, DlgPageRecord* page, WORD symbolId);
// The id of the item a control symbol names (symbols_ui.inc), or 0 for none and for a symbol
// that is no control's.
WORD CtlSymbolItem(WORD symbolId);
// The control of the symbol with this name in the symbol table ("TOV_IDC_…").
DlgControlRecord* CtlFindByName(DriverContext* ctx, DlgPageRecord* page, const char* name);
