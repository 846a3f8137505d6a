// Process attach and detach of zemsexc.
#include "core/context/process_attach.h"
#include "exclude/exc_lock.h"
#include "platform/win32.h"

namespace {
CRITICAL_SECTION g_apiLock;
bool g_apiLockReady = false;
}  // namespace

CRITICAL_SECTION* ExcApiLock() { return g_apiLockReady ? &g_apiLock : nullptr; }

ZEMS_EXPORT BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved) {
  (void)instance;
  (void)reserved;
  switch (reason) {
    case DLL_PROCESS_ATTACH:
      CoreProcessAttach(nullptr);  // zemsexc loads no resources of its own
      if (!g_apiLockReady) g_apiLockReady = InitializeCriticalSectionAndSpinCount(&g_apiLock, 0) != FALSE;
      break;
    case DLL_PROCESS_DETACH:
      CoreProcessDetach();
      if (g_apiLockReady) {
        DeleteCriticalSection(&g_apiLock);
        g_apiLockReady = false;
      }
      break;
  }
  return TRUE;
}
