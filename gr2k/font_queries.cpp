// The engine's questions about the device fonts: their metrics, glyph sets and kerning pairs,
// the device metrics and glyph advances of a realised font, and its advance widths. The
// device draws these fonts from character codes, so no glyph bits or outlines are returned.
#include <string.h>

#include "gr2k/ddi_bodies.h"
#include "gr2k/device_fonts.h"
#include "gr2k/font_resources.h"

namespace {

// The device fonts have no kerning pairs: the list is its end mark alone.
FD_KERNINGPAIR g_noKerningPairs[1] = {{0, 0, 0}};

// Whole pixels in 28.4: rounded to the nearest sixteenth boundary.
LONG R16(long long v) { return LONG((v + 8) & ~15ll); }

// One point through the font's transform; false when the engine refuses it.
bool Apply(XFORMOBJ* xform, ULONG mode, LONG x, LONG y, POINTL* out) {
  POINTL in = {x, y};
  return XFORMOBJ_bApplyXform(xform, mode, 1, &in, out) != FALSE;
}

// |T(x, y)| in 28.4.
bool Length(XFORMOBJ* xform, ULONG mode, LONG x, LONG y, LONG* length) {
  POINTL p;
  if (!Apply(xform, mode, x, y, &p)) return false;
  *length = FontIntLength(p.x, p.y);
  return true;
}

IFIMETRICS* MetricsOf(const DeviceFontEntry* entry) { return FontResourceMetrics(entry->resource); }

LONG GlyphAndAdvance(const IFIMETRICS* ifi, XFORMOBJ* xform, HGLYPH glyph, GLYPHDATA* data) {
  if (!data) return 0;
  LONG w = FontGlyphWidth(ifi, glyph);
  LONG bottom, top, unit;
  POINTL advance;
  if (!Length(xform, XF_LTOFX, 0, ifi->rclFontBox.bottom, &bottom) ||
      !Length(xform, XF_LTOFX, 0, ifi->rclFontBox.top, &top) || !Apply(xform, XF_LTOFX, 4096, 0, &advance))
    return LONG(FD_ERROR);
  unit = FontIntLength(advance.x, advance.y);
  data->fxInkBottom = R16(ifi->rclFontBox.bottom < 0 ? -(long long)bottom : bottom);
  data->fxInkTop = R16(ifi->rclFontBox.top < 0 ? -(long long)top : top);
  data->fxD = R16((long long)w * unit >> 12);
  data->fxA = 0;
  data->fxAB = data->fxD;
  data->ptqD.x.u.LowPart = 0;
  data->ptqD.x.u.HighPart = R16((long long)advance.x * w >> 12);
  data->ptqD.y.u.LowPart = 0;
  data->ptqD.y.u.HighPart = R16((long long)advance.y * w >> 12);
  data->hg = glyph;
  return 0;
}

// The square root by Newton's steps from above, which only decrease until they settle; the
// driver takes nothing of the C runtime's mathematics (whose error hooks it would import).
double SquareRoot(double v) {
  if (!(v > 0)) return 0;
  double r = v > 1 ? v : 1;
  for (int i = 0; i < 200; ++i) {  // from 2^64 down: about 32 halvings, then a few steps
    double next = 0.5 * (r + v / r);
    if (!(next < r)) break;
    r = next;
  }
  return r;
}

// A direction of unit length in floating point; zero for a transform that collapses it.
POINTE Unit(const POINTL& p) {
  double length = SquareRoot(double(p.x) * p.x + double(p.y) * p.y);
  POINTE e = {0, 0};
  if (length > 0) e = {FLOATL(p.x / length), FLOATL(p.y / length)};
  return e;
}

LONG MaxExtents(const IFIMETRICS* ifi, XFORMOBJ* xform, PVOID buffer, ULONG cbBuffer) {
  if (!buffer) return LONG(sizeof(FD_DEVICEMETRICS));
  if (cbBuffer < sizeof(FD_DEVICEMETRICS)) {
    SetLastError(ERROR_INSUFFICIENT_BUFFER);
    return LONG(FD_ERROR);
  }
  POINTL base, side, maxInc, underline, strikeOut, thickness;
  LONG ascender, descender;
  LONG d = ifi->rclFontBox.bottom < 0 ? -ifi->rclFontBox.bottom : ifi->rclFontBox.bottom;
  if ((ifi->jWinPitchAndFamily & FIXED_PITCH) && !(ifi->flInfo & FM_INFO_DBCS_FIXED_PITCH)) {
    LONG excess = ifi->rclFontBox.top - ifi->rclFontBox.bottom - 1000;
    d = excess > 0 ? (d > excess ? d - excess : 0) : d;
  }
  if (!Apply(xform, XF_LTOFX, 1000, 0, &base) || !Apply(xform, XF_LTOFX, 0, -1000, &side) ||
      !Apply(xform, XF_LTOL, ifi->fwdMaxCharInc, 0, &maxInc) ||
      !Length(xform, XF_LTOFX, 0, ifi->rclFontBox.top, &ascender) || !Length(xform, XF_LTOFX, 0, d, &descender) ||
      !Apply(xform, XF_LTOL, 0, -ifi->fwdUnderscorePosition, &underline) ||
      !Apply(xform, XF_LTOL, 0, -ifi->fwdStrikeoutPosition, &strikeOut) ||
      !Apply(xform, XF_LTOL, 0, ifi->fwdUnderscoreSize, &thickness))
    return LONG(FD_ERROR);
  // Only the members below are the driver's to give; the rest of GDI's buffer stays as it is.
  FD_DEVICEMETRICS* m = static_cast<FD_DEVICEMETRICS*>(buffer);
  m->flRealizedType = 0;
  m->pteBase = Unit(base);
  m->pteSide = Unit(side);
  m->cxMax = ULONG(FontIntLength(maxInc.x, maxInc.y));
  m->lD = (ifi->flInfo & FM_INFO_CONSTANT_WIDTH) ? LONG(m->cxMax) : 0;
  m->fxMaxAscender = R16(ascender);
  m->fxMaxDescender = R16(descender);
  m->ptlUnderline1 = underline;
  m->ptlStrikeOut = strikeOut;
  m->ptlULThickness = thickness;
  m->ptlSOThickness = thickness;
  return LONG(sizeof(FD_DEVICEMETRICS));
}

}  // namespace

LONG FontIntLength(LONG a, LONG b) {
  unsigned long long x = a < 0 ? 0ull - (unsigned long long)(long long)a : (unsigned long long)a;
  unsigned long long y = b < 0 ? 0ull - (unsigned long long)(long long)b : (unsigned long long)b;
  if (x == 0) return LONG(y);
  if (y == 0) return LONG(x);
  // The smallest m with m * m >= x * x + y * y, from the square root corrected by the exact
  // integer test (it is never below max(x, y)).
  unsigned long long sum = x * x + y * y;
  unsigned long long m = (unsigned long long)SquareRoot(double(sum));
  while (m * m < sum) ++m;
  while (m > 0 && (m - 1) * (m - 1) >= sum) --m;
  return m > 0x7FFFFFFFull ? 0x7FFFFFFF : LONG(m);
}

IFIMETRICS* FontQuery(GraphicsPdev* pdev, ULONG_PTR, ULONG face, ULONG_PTR* id) {
  if (id) *id = 0;
  DeviceFontEntry* entry = FontEntryOfFace(pdev, face);
  if (!entry) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  return MetricsOf(entry);
}

PVOID FontQueryTree(GraphicsPdev* pdev, ULONG_PTR, ULONG face, ULONG mode, ULONG_PTR* id) {
  if (id) *id = 0;
  if (mode == QFT_KERNPAIRS) return g_noKerningPairs;
  if (mode == QFT_GLYPHSET) return FontGlyphSetOfFace(pdev, face);
  SetLastError(ERROR_INVALID_PARAMETER);
  return nullptr;
}

LONG FontQueryData(GraphicsPdev* pdev, FONTOBJ* font, ULONG mode, HGLYPH glyph, GLYPHDATA* data, PVOID buffer,
                   ULONG cbBuffer) {
  DeviceFontEntry* entry = font ? FontEntryOfFace(pdev, font->iFace) : nullptr;
  if (!entry) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return LONG(FD_ERROR);
  }
  if (mode != QFD_GLYPHANDBITMAP && mode != QFD_MAXEXTENTS) return LONG(FD_ERROR);
  // The measuring call of the extents needs no transform.
  if (mode == QFD_MAXEXTENTS && !buffer) return LONG(sizeof(FD_DEVICEMETRICS));
  if (mode == QFD_GLYPHANDBITMAP && !data) return 0;
  XFORMOBJ* xform = FONTOBJ_pxoGetXform(font);
  if (!xform) return LONG(FD_ERROR);
  const IFIMETRICS* ifi = MetricsOf(entry);
  if (mode == QFD_GLYPHANDBITMAP) return GlyphAndAdvance(ifi, xform, glyph, data);
  return MaxExtents(ifi, xform, buffer, cbBuffer);
}

BOOL FontQueryAdvanceWidths(GraphicsPdev* pdev, FONTOBJ* font, ULONG mode, HGLYPH* glyphs, PVOID widths,
                            ULONG cGlyphs) {
  if (mode != QAW_GETWIDTHS && mode != QAW_GETEASYWIDTHS) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  if (cGlyphs == 0) return TRUE;
  DeviceFontEntry* entry = font ? FontEntryOfFace(pdev, font->iFace) : nullptr;
  if (!entry || !glyphs || !widths) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  XFORMOBJ* xform = FONTOBJ_pxoGetXform(font);
  LONG unit;
  if (!xform || !Length(xform, XF_LTOFX, 4096, 0, &unit)) return FALSE;
  const IFIMETRICS* ifi = MetricsOf(entry);
  USHORT* out = static_cast<USHORT*>(widths);
  for (ULONG i = 0; i < cGlyphs; ++i) out[i] = USHORT(R16((long long)FontGlyphWidth(ifi, glyphs[i]) * unit >> 12));
  return TRUE;
}
