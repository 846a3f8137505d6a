// Folders the installation names in the driver's registry key and in printer data (defined
// with the settings folders, whose lookup order uses them).
#pragma once
#include "platform/win32.h"

// A text value of HKLM "SOFTWARE\ORVEL\ZemsDrv" (REG_SZ or REG_EXPAND_SZ, at most cbBuffer bytes
// with its terminator); the text placed is always terminated. 0 when missing, of another
// type or too long.
BOOL InstReadDriverRegValue(LPCWSTR valueName, LPWSTR buffer, DWORD cbBuffer);
// The folder named by a printer-data value: "%SYSTEMROOT%..." and plain folders must exist
// and get "\_zems"; "%USERPROFILE%..." gives the user folder. 1 found (copied when shorter
// than cchBuffer), 0 not usable, -1 when the work buffers or the user folder cannot be had.
int InstResolvePrinterDataDir(HANDLE hPrinter, LPCWSTR valueName, WCHAR* buffer, DWORD cchBuffer);
int InstResolvePrinterDataDirFromInfo(HANDLE hPrinter, LPCWSTR valueName, WCHAR* buffer, DWORD cchBuffer,
                                      const PRINTER_INFO_2* info);
