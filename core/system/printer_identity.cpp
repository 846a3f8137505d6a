// Identity switches around copies the spooler makes for the printer.
#include "core/system/sub_dialog.h"

HANDLE UiRevertToPrinterSelf() { return RevertToPrinterSelf(); }

BOOL UiImpersonatePrinterClient(HANDLE token) { return token ? ImpersonatePrinterClient(token) : FALSE; }
