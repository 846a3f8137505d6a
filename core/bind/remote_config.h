// The remote-configuration library of a terminal server.
#pragma once
#include "platform/win32.h"

struct DriverContext;

// Asks the library for the server type of a printer; 1 when the type was obtained.
int RemoteQueryServerType(const WCHAR* printerName, DWORD* type);
// The state of the terminal-server configuration transfer: 0 when the host is not a terminal
// server or the transfer is off, 1 while a transfer is connected, 2 when one is due.
int RemoteConfigState(DriverContext* ctx);
