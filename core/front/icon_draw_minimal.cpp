// Minimal icon drawing, until the image drawing draws icons: the icon is handed to the drawing
// interface as a picture at (0, 0) of the window's client area.
#include "core/common/draw_ui.h"
#include "core/common/window_ui.h"
#include "core/front/draw_helpers.h"
#include "core/front/icon_draw.h"
#include "core/system/resources.h"

void ResDrawIcon(DriverContext* ctx, HWND window, UINT iconId) {
  RECT client = {0, 0, 0, 0};
  if (!window || !WuiGetClientRect(window, &client)) return;
  HDC dc = UiGetControlDc(ctx, window);
  if (!dc) return;
  DuiDrawPicture(dc, ResLoadLanguageDll(ctx), iconId, &client, 0, 0, 0);
  UiReleaseControlDc(ctx, window, dc);
}
