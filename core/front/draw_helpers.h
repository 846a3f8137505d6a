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
