// Minimal: the drawing records, device fonts, brushes, colour transforms and the glyph cache
// are not built yet. Until they are, the DDI functions stop behind their real common checks
// here: drawing calls succeed without output, font queries answer NULL, and the device fonts
// cannot be loaded (so DEVINFO announces none), and there is no glyph cache to clear. Each body
// is replaced by the code of its own area.
#include "gr2k/ddi_bodies.h"

BOOL VecBitBlt(GraphicsPdev*, SURFOBJ*, SURFOBJ*, SURFOBJ*, CLIPOBJ*, XLATEOBJ*, RECTL*, POINTL*, POINTL*,
               BRUSHOBJ*, POINTL*, ROP4) {
  return TRUE;
}
BOOL VecCopyBits(GraphicsPdev*, SURFOBJ*, SURFOBJ*, CLIPOBJ*, XLATEOBJ*, RECTL*, POINTL*) { return TRUE; }
BOOL VecStretchBlt(GraphicsPdev*, SURFOBJ*, SURFOBJ*, SURFOBJ*, CLIPOBJ*, XLATEOBJ*, COLORADJUSTMENT*, POINTL*, RECTL*,
                   RECTL*, POINTL*, ULONG, BRUSHOBJ*, DWORD) {
  return TRUE;
}
BOOL VecStrokePath(GraphicsPdev*, SURFOBJ*, PATHOBJ*, CLIPOBJ*, XFORMOBJ*, BRUSHOBJ*, POINTL*, LINEATTRS*, MIX) {
  return TRUE;
}
BOOL VecFillPath(GraphicsPdev*, SURFOBJ*, PATHOBJ*, CLIPOBJ*, BRUSHOBJ*, POINTL*, MIX, FLONG) { return TRUE; }
BOOL VecStrokeAndFillPath(GraphicsPdev*, SURFOBJ*, PATHOBJ*, CLIPOBJ*, XFORMOBJ*, BRUSHOBJ*, LINEATTRS*, BRUSHOBJ*,
                          POINTL*, MIX, FLONG) {
  return TRUE;
}
BOOL VecTextOut(GraphicsPdev*, SURFOBJ*, STROBJ*, FONTOBJ*, CLIPOBJ*, RECTL*, RECTL*, BRUSHOBJ*, BRUSHOBJ*, POINTL*,
                MIX) {
  return TRUE;
}
BOOL BrushRealize(GraphicsPdev*, BRUSHOBJ*, SURFOBJ*, SURFOBJ*, SURFOBJ*, XLATEOBJ*, ULONG) { return TRUE; }

IFIMETRICS* FontQuery(GraphicsPdev*, ULONG_PTR, ULONG, ULONG_PTR*) { return nullptr; }
LONG FontQueryData(GraphicsPdev*, FONTOBJ*, ULONG, HGLYPH, GLYPHDATA*, PVOID, ULONG) { return LONG(DDI_ERROR); }
PVOID FontQueryTree(GraphicsPdev*, ULONG_PTR, ULONG, ULONG, ULONG_PTR*) { return nullptr; }
BOOL FontQueryAdvanceWidths(GraphicsPdev*, FONTOBJ*, ULONG, HGLYPH*, PVOID, ULONG) { return FALSE; }
HANDLE IcmCreateTransform(GraphicsPdev*, LPLOGCOLORSPACEW, PVOID, ULONG, PVOID, ULONG, PVOID, ULONG) { return nullptr; }
BOOL IcmDeleteTransform(GraphicsPdev*, HANDLE) { return TRUE; }

LONG FontLoadDeviceFonts(GraphicsPdev*) { return -1; }
void FontFreeDeviceFonts(GraphicsPdev* pdev) { pdev->deviceFonts = nullptr; }
void FontGlyphCacheClear(GraphicsPdev*) {}
