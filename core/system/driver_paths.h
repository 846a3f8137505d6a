// The driver folder and the paths of the driver's files, rebuilt at every call. Forms without
// a context take a printer handle ("Of"); forms given a DRIVER_INFO_3 already fetched end in
// "FromInfo".
#pragma once
#include "core/context/driver_context_fwd.h"
#include "platform/win32.h"

// ---- the driver folder and the driver's files ----

// The folder of the driver file (up to and including its last backslash) in the UI state;
// without driver information the System directory + "\spool\drivers\w32x86\2\".
const WCHAR* PathGetDriverDir(DriverContext* ctx);
WCHAR* PathGetDriverDirOf(HANDLE hPrinter, WCHAR* buffer, DWORD cchBuffer);
WCHAR* PathGetDriverDirOfFromInfo(HANDLE hPrinter, WCHAR* buffer, DWORD cchBuffer, const DRIVER_INFO_3* driverInfo);
// Driver folder + name; the buffer is untouched when the driver information cannot be had or
// an argument is missing, and empty when the result does not fit.
WCHAR* PathInDriverDir(WCHAR* buffer, DWORD cchBuffer, const WCHAR* name, HANDLE hPrinter);
WCHAR* PathInDriverDirFromInfo(WCHAR* buffer, DWORD cchBuffer, const WCHAR* name, const DRIVER_INFO_3* driverInfo);
// The model data file: the model record's name when absolute, else in the driver folder.
const WCHAR* PathModelDataFile(DriverContext* ctx);
WCHAR* PathModelDataFileOf(HANDLE hPrinter, WCHAR* buffer, DWORD cbBuffer);
// Driver folder + the model record's install ini name.
const WCHAR* PathInstallIniFile(DriverContext* ctx);
// Driver folder + the help file name of the printer data, else the language DLL path with
// "hlp" as its last three characters. Built in the UI state's driver-folder buffer.
const WCHAR* PathHelpFile(DriverContext* ctx);
