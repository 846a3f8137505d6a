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

// ---- kernel: clock, code page, failure injection ----
// GetTickCount answers a set value from now on (the simulated clock stands still until it is
// set or advanced again); SimUseRealTickCount goes back to the host's clock. A machine root
// switch also goes back to the real clock.
WINSIM_API void SimSetTickCount(DWORD ticks);
WINSIM_API void SimAdvanceTickCount(DWORD milliseconds);
WINSIM_API void SimUseRealTickCount(void);

// Sets the machine's ANSI code page: 1252 (the default after a root switch) or 932; the OEM
// code page follows (437 or 932). FALSE for any other code page, which leaves it unchanged.
WINSIM_API BOOL SimSetAnsiCodePage(UINT codePage);

// The next `count` critical-section initialisations fail (ERROR_NOT_ENOUGH_MEMORY), so tests
// can reach the paths that must survive a failed initialisation.
WINSIM_API void SimFailCriticalSectionInits(int count);
#endif

// ---- machine area: module table, process name, system identity ----
#ifndef _WIN32
// Registers a Windows DLL file name (leaf, compared without case) as one of our shared
// objects (host path) in the module table of the current machine root. A later entry for the
// same name replaces the earlier one. FALSE when the table cannot be written.
WINSIM_API BOOL SimRegisterModule(const char* windowsFileName, const char* hostPath);

// Sets the Windows path that GetModuleFileNameW(NULL) reports for this process (its folder is
// the first one searched for DLLs). Switching the machine root restores the default,
// C:\WINDOWS\system32\spoolsv.exe.
WINSIM_API void SimSetProcessName(const char* windowsPath);

// Windows version, service pack, suites, user name and administrator membership of the
// machine; persisted under the root, so every process on the machine sees them.
typedef struct SimSystemIdentity {
  DWORD majorVersion;
  DWORD minorVersion;
  DWORD buildNumber;
  DWORD platformId;  // 1 Windows 9x, 2 NT
  WORD servicePackMajor;
  WORD servicePackMinor;
  WORD suiteMask;    // VER_SUITE_... bits, VER_SUITE_TERMINAL = 0x10
  BYTE productType;  // 1 workstation, 2 domain controller, 3 server
  char csdVersion[128];
  char userName[257];
  BOOL userIsAdmin;
} SimSystemIdentity;
WINSIM_API BOOL SimGetSystemIdentity(SimSystemIdentity* identity);
WINSIM_API BOOL SimSetSystemIdentity(const SimSystemIdentity* identity);
#endif
