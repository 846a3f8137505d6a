// The exclusion DLL's own critical section, created at process attach beside the cache locks.
#pragma once
#include "platform/win32.h"

// Null outside process attach .. detach, or when its creation failed.
CRITICAL_SECTION* ExcApiLock();
