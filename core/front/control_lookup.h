// Pages and controls of a context's dialog tables. Every scan runs in table order and returns
// the first match.
#pragma once
#include "core/context/driver_context.h"
#include "core/front/dialog_records.h"
#include "platform/win32.h"

// The page with this dialog id, or null.
DlgPageRecord* PageFind(DriverContext* ctx, WORD pageId);
// The page whose window is this one; null for a null window.
DlgPageRecord* PageFindByWindow(DriverContext* ctx, HWND window);
// The page with this name ("TOV_IDD_PRESET", exact); a null context searches the static page
// table every context copies.
DlgPageRecord* PageFindByName(DriverContext* ctx, const char* name);
// The index-th control of the page; null for a null page or an index outside its controls.
DlgControlRecord* PageControlAt(DlgPageRecord* page, int index);

// Controls on one page, or with a null page on all pages of the context in table order.
// The control with this id.
DlgControlRecord* CtlFind(DriverContext* ctx, DlgPageRecord* page, WORD control_id);
// The control whose window is this one; null for a null window.
DlgControlRecord* CtlFindByWindow(DriverContext* ctx, DlgPageRecord* page, HWND window);
// The control that carries this symbol id; null for symbol 0.
DlgControlRecord* CtlFindBySymbol(DriverContext* ctx, DlgPageRecord* page, WORD symbolId);
// The control of the symbol with this name in the symbol table ("TOV_IDC_…").
DlgControlRecord* CtlFindByName(DriverContext* ctx, DlgPageRecord* page, const char* name);
