// Where the driver runs: Windows version tests, the Explorer host test and the administrator
// test (those that need a printer or a context are in core/system/terminal_server.h). Every
// test answers 0 when a system call fails.
#pragma once
#include "platform/win32.h"

struct DriverContext;

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
// Windows 98 or Me: the 9x platform with a nonzero minor version.
int OsIsWin98OrMe();
// Windows 2000 with a service pack below 4, or with service pack 4.
int OsIsWin2000PreSp4();
int OsIsWin2000Sp4();

// 1 when the process is <Windows directory>\explorer.exe (compared without case).
int OsIsExplorerHost();

// 1 when the calling user's token holds BUILTIN\Administrators.
int OsIsUserAdmin();

// Charset code of the ANSI code page: 1 Shift-JIS, 2 ANSI, 3 East Europe, 4 Greek,
// 5 Russian, 6 Turkish, 7 Baltic, 8 GB2312, 9 Big5, 10 Hebrew, 11 Arabic, 12 Thai,
// 13 Johab or Hangeul; 0 for any other character set or a failed lookup.
int OsAnsiCharsetCode();
// The same code for a character set value (SHIFTJIS_CHARSET ...).
int OsCharsetCode(UINT charset);

// The System directory; the length placed (0 when it cannot be had or does not fit). The
// context is not used.
UINT OsGetSystemDir(WCHAR* buffer, UINT cchBuffer, DriverContext* ctx);
// The system Windows directory; always answers 1 (the buffer is empty when it does not fit).
int OsGetSystemWindowsDir(WCHAR* buffer, UINT cchBuffer);

// Forgets the cached version answer (OsForgetCachedAnswers forgets every cached answer).
void OsForgetVersionAnswer();
