// Settings blocks of a new context.
#pragma once
#include "platform/win32.h"

struct DriverContext;

// A newly allocated, filled settings block for the open mode (0-3; mode 3 always takes the full
// defaults), or null when there is no context or no memory. The caller owns it (MemFree).
BYTE* DmBuildDefault(DriverContext* ctx, int mode);

