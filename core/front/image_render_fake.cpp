// The native builds' pixel half: each picture is recorded through the drawing interface with its
// id, the target rectangle, its top-left and the final flags; the buffer is a DC token of no
// window. The display is not palette-based.
#include "core/common/draw_ui.h"
#include "core/front/image_render.h"
#include "platform/sim.h"

BOOL ImgRender(const ImgRenderJob* job, ImgRenderMode mode) {
  (void)mode;
  if (!job || !job->target || !job->bitmap) return FALSE;
  return DuiDrawPicture(job->target, job->module, job->pictureId, &job->rect, job->at.x, job->at.y, job->flags);
}

BOOL ImgMakeBuffer(DlgDrawState* draw, HDC target, const RECT* rect) {
  (void)target;
  (void)rect;
  draw->memoryDc = SimDrawFreeDc();
  draw->memoryPrevious = NULL;
  return draw->memoryDc != NULL;
}

void ImgCopyBuffer(const DlgDrawState* draw, HDC dc, const RECT* rect) {
  (void)draw;
  (void)dc;
  (void)rect;
}

void ImgFreeBuffer(DlgDrawState* draw) {
  draw->memoryDc = NULL;
  draw->memoryPrevious = NULL;
}

BOOL ImgDisplayUsesPalette() { return FALSE; }

HPALETTE ImgRealisePalette(HDC dc, const COLORREF* entries) {
  (void)dc;
  (void)entries;
  return NULL;
}
