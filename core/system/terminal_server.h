// Where the driver runs, as far as a printer or a context tells: the terminal-server
// (multi-session) host tests, which ask a check DLL in the printer's driver folder, and the
// administrator test a context may switch off. Every test answers 0 when a system call fails.
#pragma once
#include "core/context/driver_context_fwd.h"
#include "platform/win32.h"

// 1 on a terminal server. After Windows XP with a printer handle, the terminal-server check
// DLL in the printer's driver folder decides; otherwise the terminal suite of the version
// information. A missing check DLL or export answers 0.
int OsIsTerminalServer(HANDLE hPrinter);
int OsIsTerminalServerFromInfo(HANDLE hPrinter, const DRIVER_INFO_3* driverInfo);
// The terminal-server answer of the first printer that asked, kept for the life of the
// process whichever printer asks later.
int OsIsMultiSessionHost(HANDLE hPrinter);
int OsIsMultiSessionHostFromInfo(HANDLE hPrinter, const DRIVER_INFO_3* driverInfo);
// OsIsUserAdmin when ctx is null or asks for the check; 1 without a test otherwise.
int OsIsAdminIfAsked(DriverContext* ctx);

// Forgets every cached answer (this file's and the version answer). Only for tests, which
// switch machines within one process; the driver itself never resets them.
void OsForgetCachedAnswers();
