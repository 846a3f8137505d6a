// Minimal declarations until the operating-system tests are built.
#pragma once
#include "platform/win32.h"

BOOL OsIsNt5OrLater();
BOOL OsIsMultiSessionHost(HANDLE hPrinter);
