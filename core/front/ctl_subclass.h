// The subclass procedure of the described controls and the hint popup.
#pragma once
#include "core/context/driver_context.h"
#include "core/front/dialog_records.h"
#include "platform/win32.h"

// The window procedure the control types install on their controls (GWL_USERDATA holds the
// control record, the parent's DWL_USER the context).
LRESULT CALLBACK CtlSubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
// Shows, moves or hides (no control) the hint of a control at (x, y) of the page window; a
// list index >= 0 names the entry of a combo's list.
void DlgShowHint(DriverContext* ctx, DlgControlRecord* control, HWND pageWindow, int x, int y, int listIndex);
void DlgUpdateHint(DriverContext* ctx, DlgControlRecord* control, HWND pageWindow, int x, int y);
