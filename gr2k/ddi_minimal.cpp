// Minimal: text, escapes, device fonts, the job strings and the glyph cache are not built yet.
// Until they are, the DDI functions stop behind their real common checks here: text succeeds
// without output, font queries answer
// NULL, escapes 0, and the device fonts cannot be loaded (so DEVINFO announces none); a reset
// copies no job strings and never finds the same job in two DEVMODEs, and there is no glyph
// cache to clear. Each body is replaced by the code of its own area.
#include "gr2k/ddi_bodies.h"

BOOL VecTextOut(GraphicsPdev*, SURFOBJ*, STROBJ*, FONTOBJ*, CLIPOBJ*, RECTL*, RECTL*, BRUSHOBJ*, BRUSHOBJ*, POINTL*,
                MIX) {
  return TRUE;
}

ULONG EscHandle(GraphicsPdev*, SURFOBJ*, ULONG, ULONG, PVOID, ULONG, PVOID) { return 0; }
IFIMETRICS* FontQuery(GraphicsPdev*, ULONG_PTR, ULONG, ULONG_PTR*) { return nullptr; }
LONG FontQueryData(GraphicsPdev*, FONTOBJ*, ULONG, HGLYPH, GLYPHDATA*, PVOID, ULONG) { return LONG(DDI_ERROR); }
PVOID FontQueryTree(GraphicsPdev*, ULONG_PTR, ULONG, ULONG, ULONG_PTR*) { return nullptr; }
BOOL FontQueryAdvanceWidths(GraphicsPdev*, FONTOBJ*, ULONG, HGLYPH*, PVOID, ULONG) { return FALSE; }

LONG FontLoadDeviceFonts(GraphicsPdev*) { return -1; }
void FontFreeDeviceFonts(GraphicsPdev* pdev) { pdev->deviceFonts = nullptr; }
BOOL JobCopyStrings(DriverContext*, DriverContext*) { return TRUE; }
int JobCompareDevmodes(const DEVMODEW*, const DEVMODEW*) { return 0; }
void FontGlyphCacheClear(GraphicsPdev*) {}
