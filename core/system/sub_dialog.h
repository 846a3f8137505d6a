// Sub-dialogs of the property sheets and the identity switches of spooler-side copies.
#pragma once
#include "platform/win32.h"

struct DriverContext;

// Runs the dialog of the dialog table with that id in mode; the dialog's result, 0 for an id not
// in the table, -1 when the language resource DLL cannot be loaded.
int DlgRunSubDialog(DriverContext* ctx, int mode, int dialogId, HWND owner);
// The spooler's own identity: the client's token to give back later (0 when there was nothing to
// revert).
HANDLE UiRevertToPrinterSelf();
// Back to the client's identity; a null token is skipped and gives 0.
BOOL UiImpersonatePrinterClient(HANDLE token);
