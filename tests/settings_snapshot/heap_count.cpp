// The test program's own GlobalAlloc and GlobalFree: they count, then call the machine's.
#include "settings_snapshot/heap_count.h"

#include <dlfcn.h>

#include <atomic>

#include "platform/win32.h"

namespace {

std::atomic<long> g_live{0};

template <typename Fn>
Fn Next(const char* name) {
  static_assert(sizeof(Fn) == sizeof(void*), "function pointer");
  void* symbol = dlsym(RTLD_NEXT, name);
  Fn fn;
  __builtin_memcpy(&fn, &symbol, sizeof fn);
  return fn;
}

}  // namespace

WINSIM_API HGLOBAL WINAPI GlobalAlloc(UINT flags, SIZE_T bytes) {
  using Fn = HGLOBAL(WINAPI*)(UINT, SIZE_T);
  static const Fn next = Next<Fn>("GlobalAlloc");
  HGLOBAL block = next(flags, bytes);
  if (block) ++g_live;
  return block;
}

WINSIM_API HGLOBAL WINAPI GlobalFree(HGLOBAL mem) {
  using Fn = HGLOBAL(WINAPI*)(HGLOBAL);
  static const Fn next = Next<Fn>("GlobalFree");
  HGLOBAL result = next(mem);
  if (mem && !result) --g_live;
  return result;
}

namespace zems_test {
long HeapLiveBlocks() { return g_live.load(); }
}  // namespace zems_test
