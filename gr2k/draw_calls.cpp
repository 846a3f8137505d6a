// The vector drawing calls: strokes, fills, stroke-and-fills and brush-only block transfers.
// Each states its drawing state (line attributes, pattern, colours, background mode, ROP3),
// then its clip, then its geometry; a path the device should not get goes to the engine.
#include "gr2k/ddi_bodies.h"
#include "gr2k/draw_path.h"
#include "gr2k/records.h"
#include "gr2k/records_vector.h"

namespace {

constexpr ULONG kPatternBrush = 0xFFFFFFFFu;

BOOL MemoryError() {
  SetLastError(ERROR_NOT_ENOUGH_MEMORY);
  return BOOL(DDI_ERROR);
}

// The brush of a call with its record 64; NULL (the call fails with DDI_ERROR) when it cannot
// be realised or recorded.
RealizedBrush* StateBrush(GraphicsPdev* pdev, SURFOBJ* so, BRUSHOBJ* bo, POINTL* org) {
  RealizedBrush* brush = GrBrushColor(pdev, so, bo, org);
  return brush && GrStatePattern(pdev, brush) ? brush : nullptr;
}

BYTE FillMode(MIX mix, const RealizedBrush* brush) {
  ULONG rop2;
  DWORD mode;
  GrMixToState(mix, &rop2, &mode);
  return BYTE(brush->kind == kBrushColour ? 2 : mode);
}

// Two drawing results as one: a failure of either is the result (DDI_ERROR before FALSE).
BOOL Both(BOOL first, BOOL second) {
  if (first == BOOL(DDI_ERROR) || second == BOOL(DDI_ERROR)) return BOOL(DDI_ERROR);
  return first && second ? TRUE : FALSE;
}

}  // namespace

BOOL VecStrokePath(GraphicsPdev* pdev, SURFOBJ* so, PATHOBJ* path, CLIPOBJ* clip, XFORMOBJ* xform, BRUSHOBJ* bo,
                   POINTL* org, LINEATTRS* la, MIX mix) {
  if (bo && bo->iSolidColor == kPatternBrush) return FALSE;
  LineState line;
  BOOL geometric;
  if (!RopLineStyle(pdev, la, bo ? bo->iSolidColor : 0, xform, &line, &geometric)) return FALSE;
  if (!GrLineAttrState(pdev, line)) return FALSE;
  if (!StateBrush(pdev, so, bo, org)) return MemoryError();
  ULONG rop2;
  DWORD mode;
  GrMixToState(mix, &rop2, &mode);
  if (!GrStateMode(pdev, BYTE(mode)) || !GrStateRop(pdev, GrMixToRop3(rop2))) return FALSE;
  if (GrClipToRecords(pdev, clip) == -1) return FALSE;
  ColourState colour = {1, mode, line.colour, 0xFFFFFF, 0, 0, bo->flColorType & BR_HOST_ICM};
  if (!GrStateColour(pdev, colour)) return FALSE;
  if (GrPathSmallEnough(pdev, path) || !geometric) return GrSendPath(pdev, path, kPathStroke) ? TRUE : FALSE;
  return EngStrokePath(so, path, clip, xform, bo, org, la, mix);
}

BOOL VecFillPath(GraphicsPdev* pdev, SURFOBJ* so, PATHOBJ* path, CLIPOBJ* clip, BRUSHOBJ* bo, POINTL* org, MIX mix,
                 FLONG options) {
  RealizedBrush* brush = StateBrush(pdev, so, bo, org);
  if (!brush) return MemoryError();
  BYTE mode = FillMode(mix, brush);
  ColourState colour = {0, mode, brush->foreground, brush->background, 0, 0, brush->hostIcm};
  if (!GrStateColour(pdev, colour) || !GrStateMode(pdev, mode) || !GrStateRop(pdev, GrMixToRop3(mix & 0xFF)))
    return FALSE;
  if (GrClipToRecords(pdev, clip) == -1) return FALSE;
  BYTE kind = (options & FP_WINDINGMODE) ? kPathFillWinding : kPathFillAlternate;
  if (GrPathSmallEnough(pdev, path)) return GrSendPath(pdev, path, kind) ? TRUE : FALSE;
  return EngFillPath(so, path, clip, bo, org, mix, options);
}

BOOL VecStrokeAndFillPath(GraphicsPdev* pdev, SURFOBJ* so, PATHOBJ* path, CLIPOBJ* clip, XFORMOBJ* xform,
                          BRUSHOBJ* stroke, LINEATTRS* la, BRUSHOBJ* fill, POINTL* org, MIX mixFill,
                          FLONG options) {
  // The stroke's mix is the fill's: GDI gives one mix for both.
  if ((fill && fill->iSolidColor == kPatternBrush) || (stroke && stroke->iSolidColor == kPatternBrush)) {
    BOOL filled = VecFillPath(pdev, so, path, clip, fill, org, mixFill, options);
    return Both(filled, VecStrokePath(pdev, so, path, clip, xform, stroke, org, la, mixFill));
  }
  LineState line;
  BOOL geometric;
  if (!RopLineStyle(pdev, la, stroke ? stroke->iSolidColor : 0, xform, &line, &geometric)) return FALSE;
  BOOL small = GrPathSmallEnough(pdev, path);
  if (!geometric && !small) {
    BOOL filled = VecFillPath(pdev, so, path, clip, fill, org, mixFill, options);
    return Both(filled, VecStrokePath(pdev, so, path, clip, xform, stroke, org, la, mixFill));
  }
  if (!GrLineAttrState(pdev, line)) return FALSE;
  RealizedBrush* brush = StateBrush(pdev, so, fill, org);
  if (!brush) return MemoryError();
  BYTE mode = FillMode(mixFill, brush);
  if (!GrStateMode(pdev, mode) || !GrStateRop(pdev, GrMixToRop3(mixFill & 0xFF))) return FALSE;
  if (GrClipToRecords(pdev, clip) == -1) return FALSE;
  ColourState colour = {3, mode, brush->foreground, brush->background, 1, line.colour, brush->hostIcm};
  if (!GrStateColour(pdev, colour)) return FALSE;
  BYTE kind = (options & FP_WINDINGMODE) ? kPathStrokeFillWinding : kPathStrokeFillAlternate;
  if (small) return GrSendPath(pdev, path, kind) ? TRUE : FALSE;
  return EngStrokeAndFillPath(so, path, clip, xform, stroke, la, fill, org, mixFill, options);
}

BOOL VecBitBlt(GraphicsPdev* pdev, SURFOBJ* trg, SURFOBJ* src, SURFOBJ* mask, CLIPOBJ* clip, XLATEOBJ* xlate,
               RECTL* rclTrg, POINTL* ptlSrc, POINTL* ptlMask, BRUSHOBJ* bo, POINTL* org, ROP4 rop4) {
  if (rop4 == 0xAAAA) return TRUE;  // the destination stays as it is
  BYTE rop3 = BYTE(rop4);
  if (src && rop3 != 0x00 && rop3 != 0xFF)
    return VecBitBltImage(pdev, trg, src, mask, clip, xlate, rclTrg, ptlSrc, ptlMask, bo, org, rop4);
  if (!rclTrg) return FALSE;

  // Black and white fills need no brush of the caller.
  BRUSHOBJ fixed = {0, nullptr, 0};
  BRUSHOBJ* use = bo;
  if (rop3 == 0x00 || rop3 == 0xFF || (rop3 == 0x55 && !bo)) {
    fixed.iSolidColor = rop3 == 0x00 ? 0x000000 : 0xFFFFFF;
    use = &fixed;
  }
  RealizedBrush* brush = StateBrush(pdev, trg, use, org);
  if (!brush) return FALSE;
  ULONG rop2;
  DWORD mode;
  GrMixToState(GrRop4ToMix(rop4), &rop2, &mode);
  ColourState colour = {0, mode, brush->foreground, brush->background, 0, 0, brush->hostIcm};
  if (!GrStateColour(pdev, colour) || !GrStateMode(pdev, BYTE(mode)) || !GrStateRop(pdev, GrMixToRop3(rop2)))
    return FALSE;

  // A very complex clip is filled as scan-line spans; once spans are written the call ends.
  if (pdev->wideLineSwitch && clip && clip->iDComplexity == DC_COMPLEX) {
    PATHOBJ* path = CLIPOBJ_ppoGetPath(clip);
    if (path) {
      bool many = path->cCurves > kPathCurvesLimit;
      EngDeletePath(path);
      if (many) {
        if (GrClipToRecords(pdev, nullptr) == -1) return FALSE;
        BOOL failed;
        BYTE* spans = GrSendSpans(&pdev->stream, clip, rclTrg, &failed);
        if (failed) return FALSE;
        if (spans) return TRUE;
      }
    }
  }
  if (GrClipToRecords(pdev, clip) == -1) return FALSE;
  return GrRecRect(&pdev->stream, kRectFill, *rclTrg) ? TRUE : FALSE;
}
