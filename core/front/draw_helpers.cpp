// Drawing helpers shared by the control types and the modules.
#include "core/front/draw_helpers.h"

#include "core/common/draw_ui.h"
#include "core/common/window_ui.h"
#include "core/context/ui_state.h"

HDC UiGetControlDc(DriverContext* ctx, HWND window) {
  if (ctx && ctx->ui && ctx->ui->dialog.draw.paintDc) return ctx->ui->dialog.draw.paintDc;
  HDC dc = DuiGetDc(window);
  if (!dc) return NULL;
  RECT client;
  if (WuiGetClientRect(window, &client)) DuiIntersectClip(dc, &client);
  return dc;
}

void UiReleaseControlDc(DriverContext* ctx, HWND window, HDC dc) {
  if (ctx && ctx->ui && ctx->ui->dialog.draw.paintDc) return;
  DuiReleaseDc(window, dc);
}
