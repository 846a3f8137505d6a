// The calling user's profile folder (defined with the settings folders: the per-machine
// folder stands in for a profile that cannot be had).
#pragma once
#include "platform/win32.h"

// The profile folder of the calling thread's (or else the process's) token through
// "UserEnv.dll"; when that cannot be had, the per-machine folder stands in and the answer is
// still 1. The strict form has no stand-in and answers 0.
BOOL OsGetUserProfileDir(WCHAR* buffer, DWORD cchBuffer, HANDLE hPrinter);
BOOL OsGetUserProfileDirFromInfo(WCHAR* buffer, DWORD cchBuffer, HANDLE hPrinter, const PRINTER_INFO_2* info);
BOOL OsGetUserProfileDirStrict(WCHAR* buffer, DWORD cchBuffer);
