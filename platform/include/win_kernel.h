// kernel32 of the simulated machine: errors, memory, synchronisation, time, text, code pages.
#pragma once
#include "platform/include/win_base.h"

WINSIM_API DWORD WINAPI GetLastError(void);
WINSIM_API void WINAPI SetLastError(DWORD code);

#define WAIT_OBJECT_0 0x00000000L
#define WAIT_ABANDONED 0x00000080L
#define WAIT_FAILED 0xFFFFFFFFUL

WINSIM_API BOOL WINAPI CloseHandle(HANDLE handle);
WINSIM_API DWORD WINAPI WaitForSingleObject(HANDLE handle, DWORD milliseconds);
