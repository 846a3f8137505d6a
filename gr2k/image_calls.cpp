// The transfers with a source in vector mode: each states its drawing state (brush, background
// mode, ROP3, colours), then its clip, then sends its image.
#include "gr2k/band_send.h"
#include "gr2k/ddi_bodies.h"
#include "gr2k/draw_path.h"
#include "gr2k/draw_state.h"
#include "gr2k/images.h"

namespace {

// The state of an image transfer with a ROP: the brush's colours (white without one), the
// background mode from the background ROP3, the ROP3 (SRCCOPY for 0xCCAA without a mask) and
// colour kind 4; then the clip. FALSE when a record cannot be written.
BOOL ImageState(GraphicsPdev* pdev, SURFOBJ* so, SURFOBJ* mask, CLIPOBJ* clip, BRUSHOBJ* bo, POINTL* org, ROP4 rop4) {
  DWORD fore = 0xFFFFFF, back = 0xFFFFFF, hostIcm = 0;
  if (bo) {
    RealizedBrush* brush = GrBrushColor(pdev, so, bo, org);
    if (!brush || !GrStatePattern(pdev, brush)) return FALSE;
    fore = brush->foreground, back = brush->background;
    hostIcm = bo->flColorType & BR_HOST_ICM;
  }
  BYTE mode = BYTE((rop4 >> 8) & 0xFF) == 0xAA ? 1 : 2;
  BYTE rop3 = rop4 == 0xCCAA && !mask ? 0xCC : BYTE(rop4);
  ColourState colour = {4, mode, fore, back, 0, 0, hostIcm};
  if (!GrStateMode(pdev, mode) || !GrStateRop(pdev, rop3) || !GrStateColour(pdev, colour)) return FALSE;
  return GrClipToRecords(pdev, clip) != -1;
}

}  // namespace

BOOL VecBitBltImage(GraphicsPdev* pdev, SURFOBJ* trg, SURFOBJ* src, SURFOBJ* mask, CLIPOBJ* clip, XLATEOBJ* xlate,
                    RECTL* rclTrg, POINTL* ptlSrc, POINTL* ptlMask, BRUSHOBJ* bo, POINTL* org, ROP4 rop4) {
  if (!ImageState(pdev, trg, mask, clip, bo, org, rop4)) return FALSE;
  return GrSendBltImage(pdev, xlate, src, rclTrg, ptlSrc, mask, ptlMask, rop4);
}

BOOL VecStretchBlt(GraphicsPdev* pdev, SURFOBJ* dst, SURFOBJ* src, SURFOBJ* mask, CLIPOBJ* clip, XLATEOBJ* xlate,
                   COLORADJUSTMENT* ca, POINTL* ptlHTOrg, RECTL* rclDst, RECTL* rclSrc, POINTL* ptlMask, ULONG,
                   BRUSHOBJ*, DWORD) {
  if (!src || src->iType != STYPE_BITMAP) return FALSE;
  if (pdev->oneBppSurface && PdevIsMonochrome(pdev)) {
    // The engine halftones a monochrome job's images itself.
    COLORADJUSTMENT plain = {24, 0, 0, 10000, 10000, 10000, 0, 10000, 0, 0, 0, 0};
    return EngStretchBlt(dst, src, mask, clip, xlate, ca ? ca : &plain, ptlHTOrg, rclDst, rclSrc, ptlMask, HALFTONE);
  }
  if (GrClipToRecords(pdev, clip) == -1 || !GrStateRop(pdev, 0xCC)) return FALSE;
  return GrSendImage(pdev, xlate, src, ca, ptlHTOrg, rclDst, rclSrc, mask, ptlMask, mask ? 0xCCAA : 0xCCCC);
}

BOOL VecStretchBltRop(GraphicsPdev* pdev, SURFOBJ* dst, SURFOBJ* src, SURFOBJ* mask, CLIPOBJ* clip, XLATEOBJ* xlate,
                      COLORADJUSTMENT* ca, POINTL* ptlHTOrg, RECTL* rclDst, RECTL* rclSrc, POINTL* ptlMask, ULONG,
                      BRUSHOBJ* bo, DWORD rop4) {
  if (!src || src->iType != STYPE_BITMAP) return FALSE;
  if (!ImageState(pdev, dst, mask, clip, bo, nullptr, ROP4(rop4))) return FALSE;
  return GrSendImage(pdev, xlate, src, ca, ptlHTOrg, rclDst, rclSrc, mask, ptlMask, ROP4(rop4));
}

BOOL VecCopyBits(GraphicsPdev* pdev, SURFOBJ*, SURFOBJ* src, CLIPOBJ* clip, XLATEOBJ* xlate, RECTL* rclDst,
                 POINTL* ptlSrc) {
  if (!GrStateRop(pdev, 0xCC) || GrClipToRecords(pdev, clip) == -1) return FALSE;
  return GrSendBand(pdev, xlate, src, ptlSrc, rclDst);
}
