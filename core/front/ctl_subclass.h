// The subclass procedure of the described controls, the hint popup and the information and
// lock marks.
#pragma once
#include "core/context/driver_context.h"
#include "core/front/dialog_records.h"
#include "core/tables/static_tables.h"
#include "platform/win32.h"

// The window procedure the control types install on their controls (GWL_USERDATA holds the
// control record, the parent's DWL_USER the context).
LRESULT CALLBACK CtlSubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
// Shows, moves or hides (no control) the hint of a control at (x, y) of the page window; a
// list index >= 0 names the entry of a combo's list.
void DlgShowHint(DriverContext* ctx, DlgControlRecord* control, HWND pageWindow, int x, int y, int listIndex);
void DlgUpdateHint(DriverContext* ctx, DlgControlRecord* control, HWND pageWindow, int x, int y);
// Paints the hint popup (light yellow, its text in black).
void DlgPaintHintPopup(DriverContext* ctx);
// The page's hint timer fired: shows the waiting popup while the cursor is still over its
// control and the focus is in the same dialog.
void DlgHintTimer(DriverContext* ctx, HWND pageWindow);

// The window procedure of the information and lock marks; CtlInstallMarkProc puts it on a new
// mark (keeping the STATIC procedure for the rest).
LRESULT CALLBACK CtlLockMarkProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
void CtlInstallMarkProc(HWND mark);

// The first row of the hotspot table whose conditions hold and whose shifted area holds the
// point (relative to the picture; a negative x counts from its right edge), with that area in
// *area; null when none.
const HitAreaRow* CtlFindHotspotAtPoint(DriverContext* ctx, RECT* area, POINT point, const HitAreaRow* table);
// Selects the entry of combo controlId on the page whose item data is value and runs the type's
// command handler as for CBN_SELCHANGE; nothing when the control or the value is missing.
void CtlSelectComboByData(DriverContext* ctx, DlgPageRecord* page, WORD controlId, LONG_PTR value);
// The characters at the start of text (length characters) whose ANSI bytes fit roomBytes; a
// double-byte character or a surrogate pair is taken whole or not at all.
int CtlPasteFitChars(const WCHAR* text, int length, int roomBytes);
// 1 for the digits, backspace and the language's decimal separator.
int CtlIsNumericChar(DriverContext* ctx, WCHAR ch);
// The hint's font height: the page's font is used as it is.
int UiScaleFontHeight(HDC dc, int height);

// The hand cursor (resource 8000 of the language DLL) or the pressed hand (8001), loaded once
// per context.
HCURSOR CtlHandCursor(DriverContext* ctx, bool pressed);

// One-shot switches of the edit types: the next character typed into a numeric (or text) edit
// is dropped. Nothing sets them yet; the subclass procedure honours them.
extern LONG g_ctlDropNextNumericChar;
extern LONG g_ctlDropNextTextChar;
