// Messages to the user: a string of the language DLL shown in a message box of the window
// interface, captioned with the printer's name.
#pragma once
#include "platform/win32.h"

struct DriverContext;

// Shows string textId (loaded with completion) with MB_ICONWARNING | MB_OK; each "%s" of the
// string stands for text ("%%" for a percent sign). A null owner is replaced by the active
// window. Returns the button chosen, 0 when nothing was shown.
int UiWarnWithArgument(DriverContext* ctx, HWND owner, UINT textId, LPCWSTR text);
