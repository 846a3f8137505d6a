// One job-control property of a printer read as text, for callers without a context (the
// exclusion service takes the user code this way).
#pragma once
#include "platform/win32.h"

// Reads the property through the job-control DLL into buffer (bufferChars UTF-16 characters,
// always terminated, never written past). The value is cut to the property's expected size:
// 9 characters with the NUL for properties 1, 3, 4, 7 and 8 (17 for 2 and 5, 65 for 6, 1 for
// others). 1 when a value was read, else 0 (no printer, no DLL, no interface, no value).
int ApiJcGetString(HANDLE printer, DWORD property, DWORD flag, WCHAR* buffer, DWORD bufferChars);

// The job-control DLL from the system directory, never by bare name: an application that
// loads these readers could otherwise run a DLL of that name from its own folder. Null when
// it cannot be loaded.
HMODULE ApiJcLoadLibrary();
