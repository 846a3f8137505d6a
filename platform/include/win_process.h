// kernel32 processes, environment variables and the user locale of the simulated machine.
// Declared from the public API documentation; layouts are those of the 32-bit system.
#pragma once
#include "platform/include/win_base.h"
#include "platform/include/win_kernel.h"  // STILL_ACTIVE

typedef struct _STARTUPINFOW {
  DWORD cb;
  LPWSTR lpReserved;
  LPWSTR lpDesktop;
  LPWSTR lpTitle;
  DWORD dwX;
  DWORD dwY;
  DWORD dwXSize;
  DWORD dwYSize;
  DWORD dwXCountChars;
  DWORD dwYCountChars;
  DWORD dwFillAttribute;
  DWORD dwFlags;
  WORD wShowWindow;
  WORD cbReserved2;
  LPBYTE lpReserved2;
  HANDLE hStdInput;
  HANDLE hStdOutput;
  HANDLE hStdError;
} STARTUPINFOW, *LPSTARTUPINFOW;

typedef struct _PROCESS_INFORMATION {
  HANDLE hProcess;
  HANDLE hThread;
  DWORD dwProcessId;
  DWORD dwThreadId;
} PROCESS_INFORMATION, *PPROCESS_INFORMATION, *LPPROCESS_INFORMATION;

static_assert(sizeof(STARTUPINFOW) == 68 && sizeof(PROCESS_INFORMATION) == 16, "process layouts");

#define STARTF_USESHOWWINDOW 0x00000001
#define STARTF_USESTDHANDLES 0x00000100
#define CREATE_NO_WINDOW 0x08000000
#ifndef SW_HIDE
#define SW_HIDE 0
#endif

// Starts the program file lpApplicationName (or the first token of lpCommandLine). The file
// must exist; a stand-in registered for its name (SimRegisterProgram) runs on a thread of this
// process, any other program ends at once with exit code 0. Every start is recorded.
WINSIM_API BOOL WINAPI CreateProcessW(LPCWSTR lpApplicationName, LPWSTR lpCommandLine,
                                      LPSECURITY_ATTRIBUTES lpProcessAttributes,
                                      LPSECURITY_ATTRIBUTES lpThreadAttributes, BOOL bInheritHandles,
                                      DWORD dwCreationFlags, LPVOID lpEnvironment,
                                      LPCWSTR lpCurrentDirectory, LPSTARTUPINFOW lpStartupInfo,
                                      LPPROCESS_INFORMATION lpProcessInformation);
WINSIM_API BOOL WINAPI GetExitCodeProcess(HANDLE hProcess, LPDWORD lpExitCode);

WINSIM_API DWORD WINAPI GetEnvironmentVariableW(LPCWSTR lpName, LPWSTR lpBuffer, DWORD nSize);
WINSIM_API BOOL WINAPI SetEnvironmentVariableW(LPCWSTR lpName, LPCWSTR lpValue);
WINSIM_API DWORD WINAPI ExpandEnvironmentStringsW(LPCWSTR lpSrc, LPWSTR lpDst, DWORD nSize);

WINSIM_API LCID WINAPI GetUserDefaultLCID(void);
WINSIM_API LANGID WINAPI GetUserDefaultLangID(void);

typedef DWORD LCTYPE;
#define LOCALE_NOUSEROVERRIDE 0x80000000
#define LOCALE_ICOUNTRY 0x00000005
// Locale information; the machine knows LOCALE_ICOUNTRY for the locales of the driver's
// languages. Returns the characters written with the terminator (cchData 0: the size needed).
WINSIM_API int WINAPI GetLocaleInfoW(LCID Locale, LCTYPE LCType, LPWSTR lpLCData, int cchData);
