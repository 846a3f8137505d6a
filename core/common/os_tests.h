// Where the driver runs: Windows version tests, terminal-server (multi-session) host tests,
// the Explorer host test and the administrator test. Every test answers 0 when a system call
// fails.
#pragma once
#include "core/context/driver_context.h"
#include "platform/win32.h"

// GetVersionExW on a zeroed OSVERSIONINFOW; its result.
BOOL OsGetVersion(OSVERSIONINFOW* info);
// Major version 5 or later; cached for the process.
int OsIsNt5OrLater();
// Windows Server 2003, Vista and later (5.x after 5.1, or 6 and up).
int OsIsAfterXp();
// Major version above 5.
int OsIsVistaOrLater();
// The Windows 9x platform.
int OsIsWin9x();
// Windows 2000 with a service pack below 4, or with service pack 4.
int OsIsWin2000PreSp4();
int OsIsWin2000Sp4();

// 1 on a terminal server. After Windows XP with a printer handle, the terminal-server check
// DLL in the printer's driver folder decides; otherwise the terminal suite of the version
// information. A missing check DLL or export answers 0.
int OsIsTerminalServer(HANDLE hPrinter);
int OsIsTerminalServerFor(HANDLE hPrinter, const DRIVER_INFO_3* driverInfo);
// The terminal-server answer of the first printer that asked, kept for the life of the
// process whichever printer asks later.
int OsIsMultiSessionHost(HANDLE hPrinter);
int OsIsMultiSessionHostFor(HANDLE hPrinter, const DRIVER_INFO_3* driverInfo);
// 1 when the process is <Windows directory>\explorer.exe (compared without case).
int OsIsExplorerHost();

// 1 when the calling user's token holds BUILTIN\Administrators.
int OsIsUserAdmin();
// OsIsUserAdmin when ctx is null or asks for the check; 1 without a test otherwise.
int OsIsAdminIfAsked(DriverContext* ctx);

// Forgets the cached answers. Only for tests, which switch machines within one process; the
// driver itself never resets them.
void OsForgetCachedAnswers();
