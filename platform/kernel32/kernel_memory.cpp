// Global, local and process-heap memory of the simulated machine. Every block carries a small
// header with its size, so GlobalSize works and a foreign pointer is refused, not freed.
// SimFailAllocations makes the heap run out on demand.
#include <stdlib.h>
#include <string.h>

#include <atomic>

#include "platform/sim.h"
#include "platform/sim/internal.h"
#include "platform/kernel32/kernel_internal.h"

namespace {

// Allocations that still succeed before the heap runs out; -1: no limit.
std::atomic<long> g_allocationsLeft{-1};
// Failures still to come once the limit is reached, after which it is lifted; -1: every one fails.
std::atomic<long> g_failuresLeft{-1};

// A new machine has no limit.
struct AllocationLimitReset {
  AllocationLimitReset() {
    winsim::RegisterResetHook([] {
      g_allocationsLeft = -1;
      g_failuresLeft = -1;
    });
  }
} g_allocationLimitReset;

// Takes one allocation from the limit; false when the heap has run out.
bool DrawAllocation() {
  long left = g_allocationsLeft.load();
  while (left > 0 && !g_allocationsLeft.compare_exchange_weak(left, left - 1)) {
  }
  if (left != 0) return true;
  long failures = g_failuresLeft.load();
  while (failures > 0 && !g_failuresLeft.compare_exchange_weak(failures, failures - 1)) {
  }
  if (failures == 1) g_allocationsLeft = -1;
  return false;
}

constexpr uint32_t kBlockMagic = 0x5A4D454Du;

struct alignas(16) BlockHeader {
  uint32_t magic;
  uint32_t size;
  uint32_t lockCount;
  uint32_t flags;
};
static_assert(sizeof(BlockHeader) == 16, "keeps the payload 16-byte aligned");

void* Allocate(SIZE_T bytes, bool zero) {
  if (bytes > 0x7FFFFFF0u) {
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return nullptr;
  }
  if (!DrawAllocation()) {
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return nullptr;
  }
  void* raw = zero ? calloc(1, sizeof(BlockHeader) + bytes) : malloc(sizeof(BlockHeader) + bytes);
  if (!raw) {
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return nullptr;
  }
  BlockHeader* h = static_cast<BlockHeader*>(raw);
  h->magic = kBlockMagic;
  h->size = uint32_t(bytes);
  h->lockCount = 0;
  h->flags = 0;
  return h + 1;
}

BlockHeader* HeaderOf(LPCVOID mem) {
  if (!mem || (uintptr_t(mem) & 15) != 0) return nullptr;
  BlockHeader* h = const_cast<BlockHeader*>(static_cast<const BlockHeader*>(mem)) - 1;
  return h->magic == kBlockMagic ? h : nullptr;
}

bool Release(HANDLE mem) {
  BlockHeader* h = HeaderOf(mem);
  if (!h) {
    SetLastError(ERROR_INVALID_HANDLE);
    return false;
  }
  h->magic = 0;
  free(h);
  return true;
}

}  // namespace

WINSIM_API void SimFailAllocations(int count) {
  g_failuresLeft = -1;
  g_allocationsLeft = count < 0 ? -1 : count;
}

WINSIM_API void SimFailAllocationsFor(int count, int failures) {
  g_failuresLeft = failures < 1 ? 1 : failures;
  g_allocationsLeft = count < 0 ? 0 : count;
}

// Moveable blocks are handed out as their own address: callers still lock them, and a
// lock of a fixed block answers the same pointer, as Windows does.
WINSIM_API HGLOBAL WINAPI GlobalAlloc(UINT flags, SIZE_T bytes) { return Allocate(bytes, flags & GMEM_ZEROINIT); }

WINSIM_API HGLOBAL WINAPI GlobalFree(HGLOBAL mem) {
  if (!mem) return nullptr;
  return Release(mem) ? nullptr : mem;
}

WINSIM_API LPVOID WINAPI GlobalLock(HGLOBAL mem) {
  BlockHeader* h = HeaderOf(mem);
  if (!h) {
    SetLastError(ERROR_INVALID_HANDLE);
    return nullptr;
  }
  ++h->lockCount;
  return mem;
}

WINSIM_API BOOL WINAPI GlobalUnlock(HGLOBAL mem) {
  BlockHeader* h = HeaderOf(mem);
  if (!h) {
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  if (h->lockCount == 0) {
    SetLastError(ERROR_NOT_LOCKED);
    return FALSE;
  }
  --h->lockCount;
  if (h->lockCount == 0) {
    SetLastError(NO_ERROR);
    return FALSE;  // FALSE with NO_ERROR: the block is now unlocked
  }
  return TRUE;
}

WINSIM_API SIZE_T WINAPI GlobalSize(HGLOBAL mem) {
  BlockHeader* h = HeaderOf(mem);
  if (!h) {
    SetLastError(ERROR_INVALID_HANDLE);
    return 0;
  }
  return h->size;
}

WINSIM_API HGLOBAL WINAPI GlobalHandle(LPCVOID mem) {
  if (!HeaderOf(mem)) {
    SetLastError(ERROR_INVALID_HANDLE);
    return nullptr;
  }
  return const_cast<LPVOID>(mem);
}

WINSIM_API HLOCAL WINAPI LocalAlloc(UINT flags, SIZE_T bytes) { return Allocate(bytes, flags & LMEM_ZEROINIT); }
WINSIM_API HLOCAL WINAPI LocalFree(HLOCAL mem) { return GlobalFree(mem); }
WINSIM_API LPVOID WINAPI LocalLock(HLOCAL mem) { return GlobalLock(mem); }
WINSIM_API BOOL WINAPI LocalUnlock(HLOCAL mem) { return GlobalUnlock(mem); }
WINSIM_API SIZE_T WINAPI LocalSize(HLOCAL mem) { return GlobalSize(mem); }

static int g_processHeap;
WINSIM_API HANDLE WINAPI GetProcessHeap(void) { return &g_processHeap; }

WINSIM_API LPVOID WINAPI HeapAlloc(HANDLE heap, DWORD flags, SIZE_T bytes) {
  if (heap != &g_processHeap) {
    SetLastError(ERROR_INVALID_HANDLE);
    return nullptr;
  }
  return Allocate(bytes, flags & HEAP_ZERO_MEMORY);
}

WINSIM_API BOOL WINAPI HeapFree(HANDLE heap, DWORD flags, LPVOID mem) {
  if (heap != &g_processHeap) {
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  if (!mem) return TRUE;
  return Release(mem);
}

WINSIM_API LONG WINAPI InterlockedIncrement(LONG volatile* target) { return __atomic_add_fetch(target, 1, __ATOMIC_SEQ_CST); }
WINSIM_API LONG WINAPI InterlockedDecrement(LONG volatile* target) { return __atomic_sub_fetch(target, 1, __ATOMIC_SEQ_CST); }
WINSIM_API LONG WINAPI InterlockedExchange(LONG volatile* target, LONG value) {
  return __atomic_exchange_n(target, value, __ATOMIC_SEQ_CST);
}
WINSIM_API LONG WINAPI InterlockedCompareExchange(LONG volatile* target, LONG exchange, LONG comparand) {
  __atomic_compare_exchange_n(target, &comparand, exchange, false, __ATOMIC_SEQ_CST, __ATOMIC_SEQ_CST);
  return comparand;
}
