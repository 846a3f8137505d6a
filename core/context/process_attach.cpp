// Process attach and detach of the core.
#include "core/context/process_attach.h"

#include "core/common/locks.h"
#include "core/common/module_handle.h"
#include "core/context/context_cache.h"
#include "core/model/model_cache.h"

namespace {
// DllMain runs under the loader lock, one call at a time: a plain flag is enough.
bool g_cacheReady = false;
}  // namespace

void CoreProcessAttach(HINSTANCE module) {
  ResSetModuleHandle(module);
  if (!g_cacheReady) {
    CtxCacheInit();
    g_cacheReady = true;
  }
  LockInitProcess();
}

void CoreProcessDetach() {
  ModelFreeImageCache();
  CtxCacheExpire(TRUE);  // every parked context goes before the locks do
  LockTermProcess();
  g_cacheReady = false;
}
