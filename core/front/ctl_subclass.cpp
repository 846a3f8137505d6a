// Minimal subclassing until the full procedure is built: the modules see each message first and
// the rest goes to the control's saved procedure. No hint is shown.
#include "core/front/ctl_subclass.h"

#include "core/common/window_ui.h"
#include "core/context/module_bus.h"
#include "core/front/page_lookup.h"

LRESULT CALLBACK CtlSubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* control = reinterpret_cast<DlgControlRecord*>(WuiGetSlot(window, GWL_USERDATA));
  HWND parent = WuiParent(window);
  auto* ctx = parent ? reinterpret_cast<DriverContext*>(WuiGetSlot(parent, DWL_USER)) : nullptr;
  DlgPageRecord* page = ctx && ctx->ui ? PageFindByWindow(ctx, parent) : nullptr;
  if (ctx && ctx->ui && control && ModBusRouteControl(ctx, page, control, message, wParam, lParam)) return 0;
  WNDPROC saved = control ? reinterpret_cast<WNDPROC>(control->savedWindowProc) : nullptr;
  return saved ? WuiCallProcedure(saved, window, message, wParam, lParam) : 0;
}

void DlgShowHint(DriverContext* ctx, DlgControlRecord* control, HWND pageWindow, int x, int y, int listIndex) {
  (void)ctx; (void)control; (void)pageWindow; (void)x; (void)y; (void)listIndex;
}

void DlgUpdateHint(DriverContext* ctx, DlgControlRecord* control, HWND pageWindow, int x, int y) {
  DlgShowHint(ctx, control, pageWindow, x, y, -1);
}
