// The driver context as most code sees it: an opaque record it only passes on.
#pragma once

struct DriverContext;

// 1 when the context takes the machine-wide settings mutex (the use-global-mutex flag of its
// UI state, cleared by the open flag 0x100); 1 for a null context.
int CtxUsesGlobalMutex(const DriverContext* ctx);
// The machine-wide settings mutex for a context's work: LockGlobalMutex / UnlockGlobalMutex,
// except that nothing happens for a context that does not use the mutex. A null context uses it.
void CtxLockGlobalMutex(const DriverContext* ctx);
void CtxUnlockGlobalMutex(const DriverContext* ctx);
