// The locks of the core: two process-local critical sections that guard the two tables of the
// driver-context cache, and the machine-wide named mutex that serialises work on shared
// files and persisted settings across every process and session.
#pragma once
#include "platform/win32.h"

// Process attach (and again when the graphics DLL enables its driver): creates the two
// critical sections, each only when not done yet, so a second call keeps entered sections and
// an open mutex handle. The context cache is emptied by the core's process attach, not here.
void LockInitProcess();
// Process detach: deletes the critical sections that exist and closes the mutex handle.
void LockTermProcess();

// Enter or leave cache lock n (1 or 2; any other n does nothing). A section whose creation
// failed is created on the next enter; while that keeps failing both do nothing.
void LockEnter(int n);
void LockLeave(int n);

// Creates (or opens, when another process made it) the named mutex "Global\ZemsMutexTse"
// with a null DACL, not owned. Null on failure. The caller owns the handle.
HANDLE GlobalDriverMutex();

// Waits without time-out for the named mutex, creating the process's handle on first use;
// an abandoned mutex counts as acquired. Re-entrant on the thread. Nothing happens when the
// mutex cannot be created. (A context that opts out goes through CtxLockGlobalMutex.)
void LockGlobalMutex();
// Releases one acquisition of LockGlobalMutex.
void UnlockGlobalMutex();

// State for diagnostics and tests: 1 when cache lock n is initialised, else 0; the
// process's mutex handle or null.
int LockState(int n);
HANDLE LockMutexHandle();
