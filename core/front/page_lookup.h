// Pages of a context's dialog tables (defined with the control lookups, which share their
// scan). Every scan runs in table order and returns the first match.
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
