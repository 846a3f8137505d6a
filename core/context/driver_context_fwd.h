// The driver context as the common services see it: an opaque record they only pass on.
#pragma once

struct DriverContext;

// 1 when the context takes the machine-wide settings mutex (the use-global-mutex flag of its
// UI state, cleared by the open flag 0x100); 1 for a null context.
int CtxUsesGlobalMutex(const DriverContext* ctx);
