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
