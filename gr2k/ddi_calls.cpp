// The common checks every DDI function makes before its work: the PDEV test, then for the
// drawing calls the no-output switch, the output-failed flag and the raster hand-off to the
// engine (the band bitmap is an engine surface, so the engine draws into it).
#include "gr2k/ddi_bodies.h"
#include "gr2k/ddi_functions.h"

namespace {

// The PDEV of a call, or null with ERROR_INVALID_PARAMETER.
GraphicsPdev* CheckedPdev(DHPDEV dhpdev) {
  if (!PdevIsValid(dhpdev)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  return reinterpret_cast<GraphicsPdev*>(dhpdev);
}

GraphicsPdev* CheckedPdev(SURFOBJ* so) { return CheckedPdev(so ? so->dhpdev : nullptr); }

// The tests of a drawing call after its PDEV test: the no-output switch succeeds without
// drawing (even after a failed write), the output-failed flag fails. False when the call ends
// here, with its result.
bool OutputDue(const GraphicsPdev* pdev, BOOL* result) {
  *result = pdev->noOutput ? TRUE : FALSE;
  return !pdev->noOutput && !(pdev->flags & kPdevOutputFailed);
}

}  // namespace

BOOL PdevIsValid(const void* pdev) {
  if (!pdev) return FALSE;
  const GraphicsPdev* p = static_cast<const GraphicsPdev*>(pdev);
  return p->magic == kPdevMagic && p->magicEnd == kPdevMagic;
}

ZEMS_EXPORT VOID WINAPI DrvCompletePDEV(DHPDEV dhpdev, HDEV hdev) {
  GraphicsPdev* pdev = CheckedPdev(dhpdev);
  if (pdev) pdev->hdev = hdev;
}

ZEMS_EXPORT BOOL WINAPI DrvStartDoc(SURFOBJ* so, LPWSTR docName, DWORD jobId) {
  GraphicsPdev* pdev = CheckedPdev(so);
  return pdev ? SeqStartDoc(pdev, so, docName, jobId) : FALSE;
}
ZEMS_EXPORT BOOL WINAPI DrvEndDoc(SURFOBJ* so, FLONG fl) {
  GraphicsPdev* pdev = CheckedPdev(so);
  return pdev ? SeqEndDoc(pdev, so, fl) : FALSE;
}
ZEMS_EXPORT BOOL WINAPI DrvStartPage(SURFOBJ* so) {
  GraphicsPdev* pdev = CheckedPdev(so);
  return pdev ? SeqStartPage(pdev, so) : FALSE;
}
ZEMS_EXPORT BOOL WINAPI DrvSendPage(SURFOBJ* so) {
  GraphicsPdev* pdev = CheckedPdev(so);
  return pdev ? SeqSendPage(pdev, so) : FALSE;
}
ZEMS_EXPORT BOOL WINAPI DrvStartBanding(SURFOBJ* so, POINTL* origin) {
  GraphicsPdev* pdev = CheckedPdev(so);
  return pdev ? BandStart(pdev, so, origin) : FALSE;
}
ZEMS_EXPORT BOOL WINAPI DrvNextBand(SURFOBJ* so, POINTL* origin) {
  GraphicsPdev* pdev = CheckedPdev(so);
  return pdev ? BandNext(pdev, so, origin) : FALSE;
}

ZEMS_EXPORT BOOL WINAPI DrvBitBlt(SURFOBJ* trg, SURFOBJ* src, SURFOBJ* mask, CLIPOBJ* clip, XLATEOBJ* xlate,
                                  RECTL* rclTrg, POINTL* ptlSrc, POINTL* ptlMask, BRUSHOBJ* brush, POINTL* ptlBrush,
                                  ROP4 rop4) {
  GraphicsPdev* pdev = CheckedPdev(trg);
  if (!pdev) return FALSE;
  BOOL result;
  if (!OutputDue(pdev, &result)) return result;
  if (pdev->rasterMode) return EngBitBlt(trg, src, mask, clip, xlate, rclTrg, ptlSrc, ptlMask, brush, ptlBrush, rop4);
  return VecBitBlt(pdev, trg, src, mask, clip, xlate, rclTrg, ptlSrc, ptlMask, brush, ptlBrush, rop4);
}

ZEMS_EXPORT BOOL WINAPI DrvStretchBlt(SURFOBJ* dst, SURFOBJ* src, SURFOBJ* mask, CLIPOBJ* clip, XLATEOBJ* xlate,
                                      COLORADJUSTMENT* ca, POINTL* ptlHTOrg, RECTL* rclDst, RECTL* rclSrc,
                                      POINTL* ptlMask, ULONG mode) {
  GraphicsPdev* pdev = CheckedPdev(dst);
  if (!pdev) return FALSE;
  BOOL result;
  if (!OutputDue(pdev, &result)) return result;
  if (pdev->rasterMode)
    return EngStretchBlt(dst, src, mask, clip, xlate, ca, ptlHTOrg, rclDst, rclSrc, ptlMask,
                         PdevIsMonochrome(pdev) ? HALFTONE : mode);
  return VecStretchBlt(pdev, dst, src, mask, clip, xlate, ca, ptlHTOrg, rclDst, rclSrc, ptlMask, mode, nullptr, 0xCCCC);
}

ZEMS_EXPORT BOOL WINAPI DrvStretchBltROP(SURFOBJ* dst, SURFOBJ* src, SURFOBJ* mask, CLIPOBJ* clip, XLATEOBJ* xlate,
                                         COLORADJUSTMENT* ca, POINTL* ptlHTOrg, RECTL* rclDst, RECTL* rclSrc,
                                         POINTL* ptlMask, ULONG mode, BRUSHOBJ* brush, DWORD rop4) {
  GraphicsPdev* pdev = CheckedPdev(dst);
  if (!pdev) return FALSE;
  BOOL result;
  if (!OutputDue(pdev, &result)) return result;
  return VecStretchBltRop(pdev, dst, src, mask, clip, xlate, ca, ptlHTOrg, rclDst, rclSrc, ptlMask, mode, brush, rop4);
}

ZEMS_EXPORT BOOL WINAPI DrvCopyBits(SURFOBJ* dst, SURFOBJ* src, CLIPOBJ* clip, XLATEOBJ* xlate, RECTL* rclDst,
                                    POINTL* ptlSrc) {
  // Copies that do not go from a bitmap to the device are settled before the PDEV is looked
  // at: a device source leaves white behind, and a copy into a bitmap is not the driver's.
  if (src && src->iType != STYPE_BITMAP) return dst ? EngEraseSurface(dst, rclDst, 0xFFFFFFFFu) : FALSE;
  if (!dst || dst->iType != STYPE_DEVICE) return FALSE;
  GraphicsPdev* pdev = CheckedPdev(dst);
  if (!pdev) return FALSE;
  BOOL result;
  if (!OutputDue(pdev, &result)) return result;
  return VecCopyBits(pdev, dst, src, clip, xlate, rclDst, ptlSrc);
}

ZEMS_EXPORT BOOL WINAPI DrvStrokePath(SURFOBJ* so, PATHOBJ* path, CLIPOBJ* clip, XFORMOBJ* xform, BRUSHOBJ* brush,
                                      POINTL* ptlBrush, LINEATTRS* la, MIX mix) {
  GraphicsPdev* pdev = CheckedPdev(so);
  if (!pdev) return BOOL(DDI_ERROR);
  BOOL result;
  if (!OutputDue(pdev, &result)) return result;
  return VecStrokePath(pdev, so, path, clip, xform, brush, ptlBrush, la, mix);
}

ZEMS_EXPORT BOOL WINAPI DrvFillPath(SURFOBJ* so, PATHOBJ* path, CLIPOBJ* clip, BRUSHOBJ* brush, POINTL* ptlBrush,
                                    MIX mix, FLONG options) {
  GraphicsPdev* pdev = CheckedPdev(so);
  if (!pdev) return BOOL(DDI_ERROR);
  BOOL result;
  if (!OutputDue(pdev, &result)) return result;
  return VecFillPath(pdev, so, path, clip, brush, ptlBrush, mix, options);
}

ZEMS_EXPORT BOOL WINAPI DrvStrokeAndFillPath(SURFOBJ* so, PATHOBJ* path, CLIPOBJ* clip, XFORMOBJ* xform,
                                             BRUSHOBJ* stroke, LINEATTRS* la, BRUSHOBJ* fill, POINTL* ptlBrush,
                                             MIX mixFill, FLONG options) {
  GraphicsPdev* pdev = CheckedPdev(so);
  if (!pdev) return BOOL(DDI_ERROR);
  BOOL result;
  if (!OutputDue(pdev, &result)) return result;
  return VecStrokeAndFillPath(pdev, so, path, clip, xform, stroke, la, fill, ptlBrush, mixFill, options);
}

ZEMS_EXPORT BOOL WINAPI DrvTextOut(SURFOBJ* so, STROBJ* str, FONTOBJ* font, CLIPOBJ* clip, RECTL* extra, RECTL* opaque,
                                   BRUSHOBJ* fore, BRUSHOBJ* opaqueBrush, POINTL* org, MIX mix) {
  if (!so || !str || !font || !FONTOBJ_pifi(font)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  GraphicsPdev* pdev = CheckedPdev(so);
  if (!pdev) return FALSE;
  BOOL result;
  if (!OutputDue(pdev, &result)) return result;
  if (pdev->rasterMode) {
    POINTL zero = {0, 0};
    return EngTextOut(so, str, font, clip, extra, opaque, fore, opaqueBrush, org ? org : &zero, mix);
  }
  return VecTextOut(pdev, so, str, font, clip, extra, opaque, fore, opaqueBrush, org, mix);
}

ZEMS_EXPORT BOOL WINAPI DrvRealizeBrush(BRUSHOBJ* brush, SURFOBJ* target, SURFOBJ* pattern, SURFOBJ* mask,
                                        XLATEOBJ* xlate, ULONG hatch) {
  GraphicsPdev* pdev = CheckedPdev(target);
  return pdev ? BrushRealize(pdev, brush, target, pattern, mask, xlate, hatch) : FALSE;
}

ZEMS_EXPORT ULONG WINAPI DrvEscape(SURFOBJ* so, ULONG escape, ULONG cbIn, PVOID in, ULONG cbOut, PVOID out) {
  GraphicsPdev* pdev = CheckedPdev(so);
  return pdev ? EscHandle(pdev, so, escape, cbIn, in, cbOut, out) : 0;
}

ZEMS_EXPORT ULONG WINAPI DrvGetGlyphMode(DHPDEV, FONTOBJ*) { return FO_GLYPHBITS; }

ZEMS_EXPORT ULONG WINAPI DrvDitherColor(DHPDEV, ULONG, ULONG, ULONG*) { return DCR_HALFTONE; }

ZEMS_EXPORT IFIMETRICS* WINAPI DrvQueryFont(DHPDEV dhpdev, ULONG_PTR file, ULONG face, ULONG_PTR* id) {
  GraphicsPdev* pdev = CheckedPdev(dhpdev);
  return pdev ? FontQuery(pdev, file, face, id) : nullptr;
}
ZEMS_EXPORT LONG WINAPI DrvQueryFontData(DHPDEV dhpdev, FONTOBJ* font, ULONG mode, HGLYPH glyph, GLYPHDATA* data,
                                         PVOID buffer, ULONG cbBuffer) {
  GraphicsPdev* pdev = CheckedPdev(dhpdev);
  return pdev ? FontQueryData(pdev, font, mode, glyph, data, buffer, cbBuffer) : LONG(FD_ERROR);
}
ZEMS_EXPORT PVOID WINAPI DrvQueryFontTree(DHPDEV dhpdev, ULONG_PTR file, ULONG face, ULONG mode, ULONG_PTR* id) {
  GraphicsPdev* pdev = CheckedPdev(dhpdev);
  return pdev ? FontQueryTree(pdev, file, face, mode, id) : nullptr;
}
ZEMS_EXPORT BOOL WINAPI DrvQueryAdvanceWidths(DHPDEV dhpdev, FONTOBJ* font, ULONG mode, HGLYPH* glyphs, PVOID widths,
                                              ULONG cGlyphs) {
  GraphicsPdev* pdev = CheckedPdev(dhpdev);
  return pdev ? FontQueryAdvanceWidths(pdev, font, mode, glyphs, widths, cGlyphs) : FALSE;
}
ZEMS_EXPORT HANDLE WINAPI DrvIcmCreateColorTransform(DHPDEV dhpdev, LPLOGCOLORSPACEW colorSpace, PVOID source,
                                                     ULONG cbSource, PVOID dest, ULONG cbDest, PVOID target,
                                                     ULONG cbTarget, DWORD) {
  GraphicsPdev* pdev = CheckedPdev(dhpdev);
  return pdev ? IcmCreateTransform(pdev, colorSpace, source, cbSource, dest, cbDest, target, cbTarget) : nullptr;
}
ZEMS_EXPORT BOOL WINAPI DrvIcmDeleteColorTransform(DHPDEV dhpdev, HANDLE transform) {
  GraphicsPdev* pdev = CheckedPdev(dhpdev);
  return pdev ? IcmDeleteTransform(pdev, transform) : FALSE;
}
