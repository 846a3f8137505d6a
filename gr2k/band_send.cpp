// A band bitmap (or a bitmap GDI copies) becomes image records at its place on the page.
#include "gr2k/band_send.h"

#include "gr2k/images.h"
#include "gr2k/records.h"

namespace {

const ULONG kMonoPalette[2] = {0x000000, 0xFFFFFF};

// The source rectangle from ptlSrc with the destination's size, cut to the surface; FALSE when
// the point lies outside it (a negative size would follow).
BOOL SourceArea(SURFOBJ* src, const POINTL* ptlSrc, const RECTL* dest, LONG* width, LONG* height) {
  if (!src || !src->pvScan0 || !ptlSrc || !dest) return FALSE;
  LONG cx = src->sizlBitmap.cx, cy = src->sizlBitmap.cy;
  if (ptlSrc->x < 0 || ptlSrc->y < 0 || ptlSrc->x >= cx || ptlSrc->y >= cy) return FALSE;
  LONG w = dest->right - dest->left, h = dest->bottom - dest->top;
  if (w < 0) w = -w;
  if (h < 0) h = -h;
  if (w > cx - ptlSrc->x) w = cx - ptlSrc->x;
  if (h > cy - ptlSrc->y) h = cy - ptlSrc->y;
  if (w <= 0 || h <= 0) return FALSE;
  *width = w;
  *height = h;
  return TRUE;
}

BOOL SendBand(GraphicsPdev* pdev, SURFOBJ* src, const POINTL* ptlSrc, const RECTL* dest, BOOL whiten) {
  LONG w = 0, h = 0;
  if (!SourceArea(src, ptlSrc, dest, &w, &h)) return FALSE;
  DWORD format;
  LONG bytesPerPixelX8;  // bits per pixel
  switch (src->iBitmapFormat) {
    case BMF_1BPP: format = kImage1Bpp, bytesPerPixelX8 = 1; break;
    case BMF_24BPP: format = kImage24Bpp, bytesPerPixelX8 = 24; break;
    default: return FALSE;  // other band formats come with their converting transfers
  }
  if (pdev->rasterMode) format |= kImageFromBand;
  // A 1-bpp source point inside a byte would need shifted rows; the band is sent from x 0.
  if (bytesPerPixelX8 == 1 && (ptlSrc->x & 7)) return FALSE;
  const BYTE* first = static_cast<const BYTE*>(src->pvScan0) + ptlSrc->y * src->lDelta + ptlSrc->x * bytesPerPixelX8 / 8;
  LONG left = dest->left < dest->right ? dest->left : dest->right;
  LONG top = dest->top < dest->bottom ? dest->top : dest->bottom;
  GrImage image = {{left, top, left + w, top + h}, {0, 0}, DWORD(w), DWORD(h), format, first, src->lDelta,
                   bytesPerPixelX8 == 1 ? kMonoPalette : nullptr};
  // Whole rows only: a band sent from x 0.
  if (whiten && ptlSrc->x == 0) image.whiten = TRUE;
  return GrRecImage(&pdev->stream, image, GrImagePlainForm(pdev), GrImageGrey(pdev)) != nullptr;
}

}  // namespace

BYTE* GrSendRgbBand(GraphicsPdev* pdev, SURFOBJ* src, const POINTL* ptlSrc, const RECTL* dest) {
  if (!src || src->iBitmapFormat != BMF_24BPP || !ptlSrc || !dest) return nullptr;
  LONG w = dest->right - dest->left, h = dest->bottom - dest->top;
  if (w <= 0 || h <= 0 || ptlSrc->x < 0 || ptlSrc->y < 0 || ptlSrc->x + w > src->sizlBitmap.cx ||
      ptlSrc->y + h > src->sizlBitmap.cy)
    return nullptr;
  const BYTE* first = static_cast<const BYTE*>(src->pvScan0) + ptlSrc->y * src->lDelta + ptlSrc->x * 3;
  GrImage image = {{dest->left, dest->top, dest->left + w, dest->top + h}, {0, 0}, DWORD(w), DWORD(h),
                   kImage24Bpp | (pdev->rasterMode ? DWORD(kImageFromBand) : 0u), first, src->lDelta, nullptr};
  return GrRecImage(&pdev->stream, image, GrImagePlainForm(pdev), GrImageGrey(pdev));
}

BOOL GrSendBand(GraphicsPdev* pdev, XLATEOBJ* xlate, SURFOBJ* src, const POINTL* ptlSrc, const RECTL* dest) {
  if (!pdev || !src || !src->pvScan0 || !ptlSrc || !dest) return FALSE;
  LONG dw = dest->right - dest->left, dh = dest->bottom - dest->top;
  LONG w = dw < 0 ? -dw : dw, h = dh < 0 ? -dh : dh;
  LONG left = dest->left < dest->right ? dest->left : dest->right;
  LONG top = dest->top < dest->bottom ? dest->top : dest->bottom;
  LONG cx = src->sizlBitmap.cx, cy = src->sizlBitmap.cy;
  DWORD code;
  BOOL listed = GrImageFormatOf(src->iBitmapFormat, &code);
  ULONG bits = src->iBitmapFormat == BMF_1BPP ? 1 : src->iBitmapFormat == BMF_4BPP ? 4
               : src->iBitmapFormat == BMF_8BPP ? 8 : 24;
  // A source point inside a byte would need shifted rows.
  bool convert = !listed || dw < 0 || dh < 0 || (ptlSrc->x * LONG(bits)) % 8 != 0;
  if (cx != w || cy != h) {
    if (src->iBitmapFormat == BMF_24BPP && dw > 0 && dh > 0 && GrSendRgbBand(pdev, src, ptlSrc, dest)) return TRUE;
    convert = true;
  }
  DWORD format = code | GrImageHostIcm(xlate);
  if (pdev->rasterMode) format |= kImageFromBand;
  ULONG copy[256];
  const ULONG* palette = GrImagePalette(xlate, code, copy);
  if (!xlate && code == kImage1Bpp) palette = kMonoPalette;
  if (!convert) {
    // The rows from the source point, cut to the surface.
    LONG sw = 0, sh = 0;
    if (!SourceArea(src, ptlSrc, dest, &sw, &sh)) return FALSE;
    if (!(src->fjBitmap & BMF_TOPDOWN)) format |= kImageBottomUp;
    const BYTE* first = static_cast<const BYTE*>(src->pvScan0) + ptlSrc->y * src->lDelta + ptlSrc->x * LONG(bits) / 8;
    GrImage image = {{left, top, left + sw, top + sh}, {0, 0}, DWORD(sw), DWORD(sh), format, first, src->lDelta,
                     palette};
    return GrSendImageRecord(pdev, image);
  }
  LONG tw = w < cx - ptlSrc->x ? w : cx - ptlSrc->x, th = h < cy - ptlSrc->y ? h : cy - ptlSrc->y;
  if (ptlSrc->x < 0 || ptlSrc->y < 0 || tw <= 0 || th <= 0) return FALSE;
  ULONG tempFormat = GrImageEngineFormat(code);
  HSURF handle;
  SURFOBJ* temp = GrCreateTempSurface(pdev, &handle, tw, th, tempFormat);
  if (!temp) return FALSE;
  RECTL into = {0, 0, tw, th};
  POINTL from = *ptlSrc;
  BOOL ok = EngCopyBits(temp, src, nullptr, tempFormat != src->iBitmapFormat ? xlate : nullptr, &into, &from);
  if (ok) {
    if (tempFormat == BMF_24BPP) palette = nullptr;
    GrImage image = {{left, top, left + w, top + h}, {0, 0}, DWORD(tw), DWORD(th), format,
                     static_cast<const BYTE*>(temp->pvScan0), temp->lDelta, palette};
    ok = GrSendImageRecord(pdev, image);
  }
  GrDeleteTempSurface(temp, handle);
  return ok;
}

BOOL GrSendBandWhitening(GraphicsPdev* pdev, SURFOBJ* src, const POINTL* ptlSrc, const RECTL* dest) {
  return SendBand(pdev, src, ptlSrc, dest, TRUE);
}
