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

// Minimal until the button faces are drawn: a filled face of the button colour, no frame or text.
int CtlDrawButtonFace(DriverContext* ctx, DlgPageRecord* page, DlgControlRecord* control, HWND textWindow, HDC dc,
                      const RECT* rect, int style, BOOL pressed, BOOL focused) {
  (void)ctx; (void)page; (void)control; (void)textWindow; (void)style; (void)pressed; (void)focused;
  if (dc && rect) DuiFillRect(dc, rect, DuiSysColor(COLOR_BTNFACE));
  return 0;
}
