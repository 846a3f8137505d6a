// The thread's last error.
#include "platform/win32.h"

static thread_local DWORD t_lastError = 0;

WINSIM_API DWORD WINAPI GetLastError(void) { return t_lastError; }
WINSIM_API void WINAPI SetLastError(DWORD code) { t_lastError = code; }
