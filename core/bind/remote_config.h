// The remote-configuration library of a terminal server.
#pragma once
#include "platform/win32.h"

// Asks the library for the server type of a printer; 1 when the type was obtained.
int RemoteQueryServerType(const WCHAR* printerName, DWORD* type);
