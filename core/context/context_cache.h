// The per-process cache of released driver contexts: two tables of two slots, table 1 for
// capabilities contexts (guarded by context-cache lock 1), table 2 for all others (lock 2).
// A parked context older than 500 ms is destroyed by the next open that looks in the cache
// (every lookup expires first) or at process detach; parking never expires anything, it only
// evicts the oldest entry of a full table.
#pragma once
#include "platform/win32.h"

struct DriverContext;

constexpr DWORD kCacheMaxAgeMs = 500;

// Empties both tables without destroying anything (process attach).
void CtxCacheInit();
// Destroys every parked context older than 500 ms, or every one when all is nonzero.
void CtxCacheExpire(BOOL all);
// Takes the first parked context that matches the open (same handle unless kOpenAnyHandle,
// flags 0 or kOpenCacheAllowed, and the same mode, mutex use, administrator test, kind and
// printer name; see the source)
// out of its slot, after expiring old entries. Null when none matches or the printer has no
// name.
DriverContext* CtxCacheFind(const PRINTER_INFO_2W* info, HANDLE printer, void* reserved, WORD flags,
                            DWORD kind, LONG fMode);
// Parks a context (reason 0 in table 2, reason 4 in table 1). FALSE when it must not be parked
// (zdmJobBinder bit 0 set); the caller then destroys it. When both slots are taken the oldest
// entry is destroyed and replaced.
BOOL CtxCacheRelease(DriverContext* ctx, WORD reason);
// The context parked in a slot (table 1 or 2, slot 0 or 1), for inspection; null when empty.
DriverContext* CtxCacheSlot(int table, int slot);

