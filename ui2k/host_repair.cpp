// Two host applications subclass the controls of every dialog their process shows; their
// procedures then swallow the driver's control messages. The driver's pages undo that while
// such a host is running, and only then.
#include "ui2k/host_repair.h"

#include "core/common/window_ui.h"

namespace {

// The hosts' main-window classes.
const WCHAR* const kHostClasses[] = {TEXT("CorelDRAW 8.0"), TEXT("CorelDRAW 9.0")};
constexpr int kClassNameChars = 48;
// A dialog has far fewer children; the bound keeps a window list that changes under the walk
// from running on.
constexpr int kMaxChildren = 4096;

bool HostIsRunning() {
  for (const WCHAR* name : kHostClasses)
    if (WuiFindTopLevel(name)) return true;
  return false;
}

}  // namespace

void CtxFixHostSubclassing(DriverContext* ctx, HWND window) {
  (void)ctx;
  if (!window || !HostIsRunning()) return;
  HWND child = WuiFirstChild(window);
  for (int i = 0; child && i < kMaxChildren; ++i, child = WuiNextSibling(child)) {
    WCHAR name[kClassNameChars] = {};
    if (!WuiClassName(child, name, kClassNameChars)) continue;
    // No class procedure found: installing none would leave the control without any.
    if (WNDPROC procedure = WuiClassProcedure(name)) WuiSubclass(child, procedure);
  }
}
