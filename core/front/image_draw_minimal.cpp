// Minimal image drawing, until the full drawing (key colour, themes, buffering, colour
// adjustment) replaces it: each picture is handed to the drawing interface as it is, anchored as
// its flags say, with no layout row, no buffering and no adjustment.
#include "core/common/draw_ui.h"
#include "core/context/ui_state.h"
#include "core/front/draw_helpers.h"
#include "core/front/image_draw.h"
#include "core/common/window_ui.h"
#include "core/system/resources.h"

namespace {

POINT Anchor(const RECT& rect, int x, int y, DWORD flags) {
  POINT at = {x, y};
  if (flags & kImgRight) at.x += rect.right - rect.left;
  if (flags & kImgCentreX) at.x += (rect.right - rect.left) / 2;
  if (flags & kImgBottom) at.y += rect.bottom - rect.top;
  if (flags & kImgCentreY) at.y += (rect.bottom - rect.top) / 2;
  return at;
}

}  // namespace

void ResDrawImageInWindow(DriverContext* ctx, DlgPageRecord* page, DlgControlRecord* control, HWND window,
                          const RECT* rect, UINT pictureId, DWORD flags, BOOL noTheme) {
  RECT target = {0, 0, 0, 0};
  if (window) {
    WuiGetClientRect(window, &target);
  } else if (rect) {
    target = *rect;
    flags |= kImgCentreX | kImgCentreY;
  }
  POINT at = Anchor(target, 0, 0, flags);
  HDC dc = UiGetControlDc(ctx, window);
  if (!dc) return;
  ResDrawImage(ctx, page, control, dc, &target, at.x, at.y, MAKEINTRESOURCEW(pictureId), flags, noTheme);
  UiReleaseControlDc(ctx, window, dc);
}

void ResDrawImage(DriverContext* ctx, DlgPageRecord* page, DlgControlRecord* control, HDC dc, const RECT* rect,
                  int x, int y, LPCWSTR picture, DWORD flags, BOOL noTheme) {
  (void)page;
  (void)control;
  (void)noTheme;
  UINT_PTR id = reinterpret_cast<UINT_PTR>(picture);
  if (!dc || id >= 0x10000) return;  // files and names come with the full drawing
  RECT target = rect ? *rect : RECT{0, 0, 0, 0};
  DuiDrawPicture(dc, ResLoadLanguageDll(ctx), static_cast<UINT>(id), &target, x, y, flags);
}

void ResDrawImageAdjusted(DriverContext* ctx, HDC dc, const RECT* rect, int x, int y, UINT pictureId, DWORD flags) {
  if (flags == 0) return;
  ResDrawImage(ctx, nullptr, nullptr, dc, rect, x, y, MAKEINTRESOURCEW(pictureId), flags, FALSE);
}

void ResBeginBufferedDraw(DriverContext* ctx) {
  if (ctx && ctx->ui) ctx->ui->dialog.draw.buffering = 1;
}

void ResEndBufferedDraw(DriverContext* ctx, HWND window, const RECT* rect) {
  (void)window;
  (void)rect;
  if (ctx && ctx->ui) ctx->ui->dialog.draw.buffering = 0;
}
