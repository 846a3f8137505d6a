// Minimal declarations until the driver identity values are built.
#pragma once
#include "platform/win32.h"

struct DriverContext;

BOOL InstReadHelpFileName(LPWSTR buffer, DWORD size, DriverContext* ctx);
BOOL InstReadHelpFileNameByPrinter(LPWSTR buffer, DWORD size, HANDLE hPrinter);
