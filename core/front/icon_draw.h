// Icons of the language DLL drawn into a window.
#pragma once
#include "core/context/driver_context.h"
#include "platform/win32.h"

// Draws icon iconId of the language DLL at (0, 0) of the window's client area.
void ResDrawIcon(DriverContext* ctx, HWND window, UINT iconId);
