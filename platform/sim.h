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
