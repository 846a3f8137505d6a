// Process attach and detach of zemsui.
#include "core/common/locks.h"
#include "core/context/context_cache.h"
#include "core/model/model_cache.h"
#include "core/common/module_handle.h"
#include "platform/win32.h"

ZEMS_EXPORT BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved) {
  (void)reserved;
  switch (reason) {
    case DLL_PROCESS_ATTACH:
      ResSetModuleHandle(instance);
      LockInitProcess();
      break;
    case DLL_PROCESS_DETACH:
      ModelFreeImageCache();
      CtxCacheExpire(TRUE);  // every parked context goes before the locks do
      LockTermProcess();
      break;
  }
  return TRUE;
}
