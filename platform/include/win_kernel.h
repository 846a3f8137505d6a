// kernel32 of the simulated machine: errors, memory, synchronisation, time, text, code pages.
#pragma once
#include "platform/include/win_base.h"

WINSIM_API DWORD WINAPI GetLastError(void);
WINSIM_API void WINAPI SetLastError(DWORD code);
