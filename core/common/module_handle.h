// The module handle of the deliverable the core is linked into.
#pragma once
#include "platform/win32.h"

// The handle that DllMain received at process attach; null before it (and in zemsexc).
HINSTANCE ResModuleHandle();
void ResSetModuleHandle(HINSTANCE module);
