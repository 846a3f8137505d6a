// Driver identity values in printer data.
#pragma once
#include "core/context/driver_context.h"
#include "platform/win32.h"

// Reads the printer data "HelpFileName" into buffer (cchBuffer characters, terminated); 1 when it
// was read, 0 for a null buffer, a cchBuffer of 0 or a missing value.
int InstReadHelpFileName(WCHAR* buffer, DWORD cchBuffer, DriverContext* ctx);
// The same for a printer handle.
int InstReadHelpFileNameByPrinter(WCHAR* buffer, DWORD cchBuffer, HANDLE hPrinter);

// 1 when the companion product is installed: kind 2 the job binder, kind 8 the preview; any
// other kind 0.
int InstIsCompanionInstalled(int kind, DriverContext* ctx);
