// The desktop window and its DC of the simulated machine, simplified: the machine draws
// nothing, so both are tokens that the font enumeration accepts.
#include "platform/sim/trace.h"
#include "platform/win32.h"

namespace {
int g_desktop;
int g_desktopDc;
}  // namespace

WINSIM_API HWND WINAPI GetDesktopWindow(void) { return reinterpret_cast<HWND>(&g_desktop); }

WINSIM_API HDC WINAPI GetDC(HWND hWnd) {
  (void)hWnd;
  WINSIM_SIMPLIFIED("GetDC", "answers a token DC that draws nothing");
  return reinterpret_cast<HDC>(&g_desktopDc);
}

WINSIM_API int WINAPI ReleaseDC(HWND hWnd, HDC hDC) {
  (void)hWnd;
  return hDC == reinterpret_cast<HDC>(&g_desktopDc) ? 1 : 0;
}
