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
