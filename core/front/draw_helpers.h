// Small drawing services of the control types and the modules: the DC for drawing into a
// control, text measuring, filled rectangles, button faces, picture stepping and tray labels.
#pragma once
#include "core/context/driver_context.h"
#include "core/front/dialog_records.h"
#include "platform/win32.h"

// The DC to draw into a control: the paint DC a WM_PAINT in progress published, else the
// window's own DC clipped to its client area. Released with UiReleaseControlDc (which keeps a
// published paint DC).
HDC UiGetControlDc(DriverContext* ctx, HWND window);
void UiReleaseControlDc(DriverContext* ctx, HWND window, HDC dc);

// The face of the driver's own buttons in rect: style low nibble 2 a raised (or pressed) frame,
// 4 split picture halves; the caption is the string the UI state's alternate caption names,
// drawn with the font of textWindow (NULL: no text); the focus look when focused. Answers the
// drawn text's width.
int CtlDrawButtonFace(DriverContext* ctx, DlgPageRecord* page, DlgControlRecord* control, HWND textWindow, HDC dc,
                      const RECT* rect, int style, BOOL pressed, BOOL focused);

// The window of a described control: its own while it is known, else the page's child of its id.
HWND UiControlWindow(DlgPageRecord* page, const DlgControlRecord* control);
// The text's extent in the DC's font; with no text the font's average character width and
// line height.
void UiMeasureText(HDC dc, LPCWSTR text, SIZE* size);
// A rectangle filled and outlined in one colour.
void UiFillRectColor(HDC dc, const RECT* rect, COLORREF colour);
// The upper 16 bits of a value; whether two values are equal.
WORD UiGetHighWord(DWORD value);
int UiIsEqual(LONG_PTR a, LONG_PTR b);

// The click of a picture: its item takes the next enabled nonzero value of its description
// after the current one, wrapping to the first; 1 when a value was stored (the current one
// again when it is the only one allowed), 0 without description or current value.
int CtlStepPictureValue(DriverContext* ctx, DlgPageRecord* page, DlgControlRecord* control, UINT message,
                        WPARAM wParam, LPARAM lParam);

// Tray labels: next to a tray's name the paper, media and orientation loaded in it. Modes:
// slashed (paper, orientation icon, "/" and media), plain (paper and icon), text only (the
// tray name). Answers 1 for a painted WM_PAINT or a WM_ERASEBKGND, else 0.
enum : int {
  kTrayLabelSlashed = 0,
  kTrayLabelPlain = 1,
  kTrayLabelTextOnly = 2,
};
// The tray index of a label without orientation icon.
constexpr WORD kTrayLabelNoIcon = 29;
int CtlPaintTrayLabel(DriverContext* ctx, DlgPageRecord* page, DlgControlRecord* control, UINT message,
                      WORD trayIndex, int mode);
int CtlPaintTrayLabelSlashed(DriverContext* ctx, DlgPageRecord* page, DlgControlRecord* control, UINT message,
                             WORD trayIndex);
int CtlPaintTrayLabelPlain(DriverContext* ctx, DlgPageRecord* page, DlgControlRecord* control, UINT message,
                           WORD trayIndex);
int CtlPaintTrayLabelTextOnly(DriverContext* ctx, DlgPageRecord* page, DlgControlRecord* control, UINT message,
                              WORD trayIndex);
// The table-driven form: a label of the tray-label table is painted in the slashed mode; a
// WM_ERASEBKGND without control paints the page's first shown label of the table.
int CtlPaintTrayLabels(DriverContext* ctx, DlgPageRecord* page, DlgControlRecord* control, UINT message);

struct TrayLabelRow {
  WORD controlId;
  WORD trayIndex;
};
// The tray labels, ended by a row of control id 0; the row of a control id, or null.
const TrayLabelRow* TblGetTrayLabels();
const TrayLabelRow* TblFindTrayLabel(WORD controlId);
