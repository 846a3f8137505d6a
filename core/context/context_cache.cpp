// The driver-context cache. A cache-table lock is held only while its table is scanned or
// changed; contexts taken out are destroyed after the lock is left, and the two locks are
// never held together.
#include "core/context/context_cache.h"

#include "core/common/locks.h"
#include "core/common/mem.h"
#include "core/common/text.h"
#include "core/context/driver_context.h"
#include "core/items/item_ids.h"
#include "core/items/item_table.h"
#include "core/context/ui_state.h"
#include "core/system/printer_names.h"

namespace {

struct CacheSlot {
  DriverContext* ctx;
  DWORD stamp;  // tick count at parking
};

constexpr int kTables = 2;
constexpr int kSlots = 2;
CacheSlot g_cache[kTables][kSlots];

// Table 1 (index 0) holds capabilities contexts; lock n guards table n.
int LockOf(int table) { return table + 1; }

bool Matches(const DriverContext* ctx, HANDLE printer, WORD flags, DWORD kind, LONG fMode,
             const WCHAR* name) {
  const UiState* ui = ctx->ui;
  if (!ui) return false;
  if (!(flags & kOpenAnyHandle) && ctx->printer != printer) return false;
  if (flags != 0 && !(flags & kOpenCacheAllowed)) return false;
  // The context must have been opened the way this open asks: a lighter mode lacks what a
  // fuller one loads, and a context that skipped the global mutex or the administrator test
  // must not hand that exemption to an opener that did not ask for it (nor the reverse).
  if (ui->openMode != (flags & kOpenModeMask)) return false;
  if (ui->useGlobalMutex != ((flags & kOpenNoGlobalMutex) ? 0 : 1)) return false;
  if (ui->checkAdministrator != ((flags & kOpenNoAdminCheck) ? 0 : 1)) return false;
  if (ui->openKind != kind) return false;
  if (!StrWideEqual(ui->printerName, name)) return false;
  // A document-properties call that fills an output buffer needs a context whose last call did
  // the same.
  if (kind == kKindDocumentProperties && fMode == kDocModeOutBuffer && ui->front.documentMode != kDocModeOutBuffer)
    return false;
  return true;
}

bool JobBinderSet(DriverContext* ctx) {
  const BYTE* value = ItemStoragePtr(ctx, ItemFind(ctx, kItem_zdmJobBinder));
  return value && (value[0] & 1);
}

}  // namespace

void CtxCacheInit() {
  for (auto& table : g_cache)
    for (CacheSlot& slot : table) slot = CacheSlot{};
}

void CtxCacheExpire(BOOL all) {
  const DWORD now = CtxTickCount();
  DriverContext* expired[kTables * kSlots] = {};
  int count = 0;
  for (int t = 0; t < kTables; ++t) {
    LockEnter(LockOf(t));
    for (CacheSlot& slot : g_cache[t]) {
      // Unsigned arithmetic: a stamp from before the tick count wrapped expires early, which
      // is harmless.
      if (slot.ctx && (all || slot.stamp + kCacheMaxAgeMs < now)) {
        expired[count++] = slot.ctx;
        slot = CacheSlot{};
      }
    }
    LockLeave(LockOf(t));
  }
  for (int i = 0; i < count; ++i) CtxDestroy(expired[i], kReleaseExpired);
}

DriverContext* CtxCacheFind(const PRINTER_INFO_2W* info, HANDLE printer, void* reserved, WORD flags,
                            DWORD kind, LONG fMode) {
  (void)reserved;
  CtxCacheExpire(FALSE);

  WCHAR name[kPrinterNameChars] = {};
  if (info && info->pPrinterName) {
    int i = 0;
    for (; i < kPrinterNameChars - 1 && info->pPrinterName[i]; ++i) name[i] = info->pPrinterName[i];
    PrnRebuildConnectionName(printer, name, kPrinterNameChars);
  } else if (WCHAR* fetched = PrnGetPrinterNameAlloc(printer)) {
    for (int i = 0; i < kPrinterNameChars - 1 && fetched[i]; ++i) name[i] = fetched[i];
    MemFree(fetched);
  }
  if (!name[0]) return nullptr;

  const int t = kind == kKindCapabilities ? 0 : 1;
  DriverContext* found = nullptr;
  LockEnter(LockOf(t));
  for (CacheSlot& slot : g_cache[t]) {
    if (slot.ctx && Matches(slot.ctx, printer, flags, kind, fMode, name)) {
      found = slot.ctx;
      slot = CacheSlot{};
      break;
    }
  }
  LockLeave(LockOf(t));
  return found;
}

BOOL CtxCacheRelease(DriverContext* ctx, WORD reason) {
  if (!ctx) return FALSE;
  // A context bound to a job binder carries that job's state; nobody else may take it over.
  if (JobBinderSet(ctx)) return FALSE;
  const int t = reason == kReleaseParkCaps ? 0 : 1;
  DriverContext* evicted = nullptr;
  LockEnter(LockOf(t));
  CacheSlot* target = nullptr;
  for (CacheSlot& slot : g_cache[t]) {
    if (!slot.ctx) {
      target = &slot;
      break;
    }
  }
  if (!target) {
    target = &g_cache[t][0];
    for (CacheSlot& slot : g_cache[t])
      if (slot.stamp < target->stamp) target = &slot;
    evicted = target->ctx;
  }
  target->ctx = ctx;
  target->stamp = CtxTickCount();
  LockLeave(LockOf(t));
  if (evicted) CtxDestroy(evicted, kReleaseExpired);
  return TRUE;
}

DriverContext* CtxCacheSlot(int table, int slot) {
  if (table < 1 || table > kTables || slot < 0 || slot >= kSlots) return nullptr;
  return g_cache[table - 1][slot].ctx;
}

