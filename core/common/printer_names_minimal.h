// Minimal declarations until the printer names and driver file paths are built: what the ini,
// file and settings-folder code calls of them.
#pragma once
#include "platform/win32.h"

struct DriverContext;

BOOL PrnIsOnServer(DriverContext* ctx);
BOOL PrnInfoIsOnServer(const PRINTER_INFO_2W* info);
BOOL PrnIsOnServerOf(HANDLE hPrinter);
LPVOID PrnGetDriverInfo(HANDLE hPrinter, DWORD level);
LPCWSTR PathGetDriverDir(DriverContext* ctx);
LPCWSTR PathModelDataFile(DriverContext* ctx);
void PathInSystemDir(LPWSTR buffer, DWORD size, LPCWSTR name);
BOOL OsGetSystemDir(LPWSTR buffer, DWORD size, DriverContext* ctx);
