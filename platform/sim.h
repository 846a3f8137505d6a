// Control of the simulated machine for zemshost and the tests (not part of the Windows API).
// The machine's state lives under one root folder; the environment variable ZEMS_MACHINE_ROOT
// names it when the process starts, and SimSetMachineRoot switches to another one.
#pragma once
#ifndef _WIN32
#include "platform/include/win_base.h"

// Host path of the current machine root (a folder; created on first use).
WINSIM_API const char* SimMachineRoot(void);

// Switches the process to another machine root and drops every cached state of the old one
// (open registry keys stay valid handles but see the new machine). Used by each test.
WINSIM_API void SimSetMachineRoot(const char* hostPath);
#endif

// ---- access control, processes, environment and user locale ----
#ifndef _WIN32
// The security that SetFileSecurityW last recorded for a file or folder, as text:
// "O:<owner sid>" and "D:" followed by one "(<type>;0x<flags>;0x<mask>;<sid>)" per ACE, the
// parts separated by a blank; "D:NULL" for a null DACL. Empty when nothing was recorded.
WINSIM_API const char* SimRecordedFileSecurity(LPCWSTR winPath);
// Number of SetFileSecurityW calls that succeeded since the machine root was set.
WINSIM_API DWORD SimFileSecurityCallCount(void);
// Makes every later SetFileSecurityW fail with this error code (0: succeed again).
WINSIM_API void SimSetFileSecurityError(DWORD errorCode);

// A stand-in program: runs on its own thread when CreateProcessW starts a file whose name
// (leaf, case ignored) it was registered for; its result is the process's exit code.
typedef DWORD (*SimProgramProc)(LPCWSTR applicationName, LPCWSTR commandLine, LPCWSTR currentDirectory);
WINSIM_API void SimRegisterProgram(LPCWSTR leafName, SimProgramProc program);
// Starts recorded since the machine root was set, each as UTF-8 text
// "app=<path>|cmd=<command line>|dir=<current directory>|inherit=<0|1>|show=<n or ->".
WINSIM_API DWORD SimProcessStartCount(void);
WINSIM_API const char* SimProcessStart(DWORD index);

// The user's default locale (0x0409 on a fresh machine).
WINSIM_API void SimSetUserDefaultLCID(LCID lcid);
#endif
