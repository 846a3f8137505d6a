// Process attach and detach of zemsui.
#include "core/context/process_attach.h"
#include "platform/win32.h"

ZEMS_EXPORT BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved) {
  (void)reserved;
  switch (reason) {
    case DLL_PROCESS_ATTACH:
      CoreProcessAttach(instance);
      break;
    case DLL_PROCESS_DETACH:
      CoreProcessDetach();
      break;
  }
  return TRUE;
}
