// User messages: message boxes composed from the language DLL's strings and the wait dialog.
#pragma once
#include "platform/win32.h"

struct DriverContext;

// A warning box with string textId, captioned with the printer name; a null owner is replaced
// by the active window. The button chosen, 0 when nothing was shown.
int UiWarnById(DriverContext* ctx, HWND owner, WORD textId, UINT buttons);
// The modeless wait dialog showing string textId, owned by the active window; null when it
// cannot be created.
HWND UiShowWaitDialog(DriverContext* ctx, WORD textId);
// Closes a wait dialog of UiShowWaitDialog; null is ignored.
void UiCloseWaitDialog(HWND window);
// Shows string textId (loaded with completion) with MB_ICONWARNING | MB_OK; each "%s" of the
// string stands for text ("%%" for a percent sign). A null owner is replaced by the active
// window. Returns the button chosen, 0 when nothing was shown.
int UiWarnWithArgument(DriverContext* ctx, HWND owner, UINT textId, LPCWSTR text);
