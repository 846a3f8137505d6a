// DrvRealizeBrush: hatches and pattern bitmaps become 32 x 32 patterns of 1 bpp (two colours)
// or 24 bpp. A pattern is read only within its surface: its rows must lie inside the bits the
// surface holds, and a pattern of size 0 is refused.
#include <string.h>

#include "gr2k/ddi_bodies.h"
#include "gr2k/draw_state.h"

namespace {

// The six hatches, one byte per row, bit 7 leftmost.
const BYTE kHatches[HS_DDI_MAX][8] = {
    {0x00, 0x00, 0x00, 0x00, 0xFF, 0x00, 0x00, 0x00}, {0x08, 0x08, 0x08, 0x08, 0x08, 0x08, 0x08, 0x08},
    {0x80, 0x40, 0x20, 0x10, 0x08, 0x04, 0x02, 0x01}, {0x01, 0x02, 0x04, 0x08, 0x10, 0x20, 0x40, 0x80},
    {0x08, 0x08, 0x08, 0x08, 0xFF, 0x08, 0x08, 0x08}, {0x81, 0x42, 0x24, 0x18, 0x18, 0x24, 0x42, 0x81},
};

constexpr DWORD kSide = kBrushPatternSize;

ULONG XlateEntry(const XLATEOBJ* xlate, ULONG index, ULONG otherwise) {
  return xlate && xlate->pulXlate && index < xlate->cEntries ? xlate->pulXlate[index] : otherwise;
}

// The pattern surface as the brush reads it: rows from its first bytes in memory, the top row
// first (a bottom-up surface has its rows reversed).
class PatternReader {
 public:
  // FALSE for a pattern of size 0, of an unknown format, or whose rows do not lie within the
  // bits the surface holds.
  BOOL Open(const SURFOBJ* so) {
    if (!so || !so->pvBits || so->sizlBitmap.cx <= 0 || so->sizlBitmap.cy <= 0) return FALSE;
    switch (so->iBitmapFormat) {
      case BMF_1BPP: bits_ = 1; break;
      case BMF_4BPP: bits_ = 4; break;
      case BMF_8BPP: bits_ = 8; break;
      case BMF_16BPP: bits_ = 16; break;
      case BMF_24BPP: bits_ = 24; break;
      case BMF_32BPP: bits_ = 32; break;
      default: bits_ = 0; break;
    }
    width_ = so->sizlBitmap.cx;
    height_ = so->sizlBitmap.cy;
    stride_ = so->lDelta < 0 ? -static_cast<long long>(so->lDelta) : so->lDelta;
    unsigned long long rowBytes = (static_cast<unsigned long long>(width_) * (bits_ ? bits_ : 1) + 7) / 8;
    if (static_cast<unsigned long long>(stride_) < rowBytes) return FALSE;
    if (static_cast<unsigned long long>(stride_) * static_cast<unsigned long long>(height_) > so->cjBits) return FALSE;
    base_ = static_cast<const BYTE*>(so->pvBits);
    topDown_ = (so->fjBitmap & BMF_TOPDOWN) != 0;
    format_ = so->iBitmapFormat;
    return TRUE;
  }
  LONG Width() const { return width_; }
  LONG Height() const { return height_; }
  ULONG Format() const { return format_; }
  // The pixel value at (x, y) of the pattern, top row 0.
  ULONG Pixel(LONG x, LONG y) const {
    LONG memoryRow = topDown_ ? y : height_ - 1 - y;
    const BYTE* row = base_ + static_cast<long long>(memoryRow) * stride_;
    switch (bits_) {
      case 1: return (row[x >> 3] >> (7 - (x & 7))) & 1;
      case 4: return (row[x >> 1] >> ((x & 1) ? 0 : 4)) & 0xF;
      case 8: return row[x];
      case 16: return ULONG(row[2 * x]) | ULONG(row[2 * x + 1]) << 8;
      case 24: return ULONG(row[3 * x]) | ULONG(row[3 * x + 1]) << 8 | ULONG(row[3 * x + 2]) << 16;
      case 32: return ULONG(row[4 * x]) | ULONG(row[4 * x + 1]) << 8 | ULONG(row[4 * x + 2]) << 16;
    }
    return 0;
  }

 private:
  const BYTE* base_ = nullptr;
  long long stride_ = 0;
  LONG width_ = 0, height_ = 0;
  ULONG bits_ = 0, format_ = 0;
  bool topDown_ = false;
};

RealizedBrush* Allocate(BRUSHOBJ* bo, WORD kind, WORD bitsPerPixel) {
  DWORD bytes = bitsPerPixel == 1 ? kBrushMonoBytes : kBrushColourBytes;
  RealizedBrush* brush = static_cast<RealizedBrush*>(BRUSHOBJ_pvAllocRbrush(bo, sizeof(RealizedBrush) + bytes));
  if (!brush) return nullptr;
  memset(brush, 0, sizeof(RealizedBrush) + bytes);
  brush->kind = kind;
  brush->bitsPerPixel = bitsPerPixel;
  brush->size = kBrushPatternSize;
  return brush;
}

void SetBit(BYTE* pattern, DWORD x, DWORD y) { pattern[y * 4 + x / 8] |= BYTE(0x80 >> (x & 7)); }

// An 8 x 8 24-bpp pattern of at most two colours: TRUE with the colours (the second is 0 when
// there is one).
BOOL TwoColours(const PatternReader& reader, ULONG* first, ULONG* second) {
  if (reader.Format() != BMF_24BPP || reader.Width() != 8 || reader.Height() != 8) return FALSE;
  *first = reader.Pixel(0, 0);
  *second = 0;
  BOOL haveSecond = FALSE;
  for (LONG y = 0; y < 8; ++y)
    for (LONG x = 0; x < 8; ++x) {
      ULONG p = reader.Pixel(x, y);
      if (p == *first || (haveSecond && p == *second)) continue;
      if (haveSecond) return FALSE;
      *second = p;
      haveSecond = TRUE;
    }
  return TRUE;
}

// A monochrome brush: a set bit where ink(x, y) holds. 8 x 8 patterns are enlarged two times
// and tiled twice; other sizes are tiled as they are.
template <class Ink>
void FillMono(RealizedBrush* brush, const PatternReader& reader, Ink ink) {
  BYTE* pattern = BrushPattern(brush);
  bool small = reader.Width() == 8 && reader.Height() == 8;
  for (DWORD y = 0; y < kSide; ++y)
    for (DWORD x = 0; x < kSide; ++x) {
      LONG sx = small ? LONG((x / 2) % 8) : LONG(x % DWORD(reader.Width()));
      LONG sy = small ? LONG((y / 2) % 8) : LONG(y % DWORD(reader.Height()));
      if (ink(reader.Pixel(sx, sy))) SetBit(pattern, x, y);
    }
}

// The three bytes of a pixel of a colour pattern, in memory order.
ULONG ColourOf(const PatternReader& reader, ULONG pixel, const XLATEOBJ* xlate) {
  switch (reader.Format()) {
    case BMF_4BPP:
    case BMF_8BPP:
      return XlateEntry(xlate, pixel, 0);
    case BMF_16BPP:
      return ((pixel & 0x1F) * 255 >> 5) | (((pixel >> 5) & 0x1F) * 255 >> 5) << 8 |
             (((pixel >> 10) & 0x1F) * 255 >> 5) << 16;
    case BMF_24BPP:
    case BMF_32BPP:
      return pixel & 0xFFFFFF;
  }
  return 0;
}

// 8- and 24-bpp patterns that are not 8 x 8 are first offered to the engine: a square 24-bpp
// surface of side 4, 8, 16 or 32 (by the pattern's width) receives the pattern by a halftoned
// EngStretchBlt, and is copied whole (side 32) or tiled into the brush. FALSE when the engine
// cannot do it (the caller then tiles the pattern itself).
BOOL StretchedByEngine(SURFOBJ* pattern, XLATEOBJ* xlate, BYTE* out) {
  LONG width = pattern->sizlBitmap.cx;
  LONG side = width <= 2 ? 4 : width <= 4 ? 8 : width <= 10 ? 16 : 32;
  HBITMAP bitmap = EngCreateBitmap(SIZEL{side, side}, 0, BMF_24BPP, BMF_TOPDOWN, nullptr);
  if (!bitmap) return FALSE;
  HSURF handle = reinterpret_cast<HSURF>(bitmap);
  SURFOBJ* temp = EngLockSurface(handle);
  BOOL ok = FALSE;
  if (temp) {
    RECTL to = {0, 0, side, side};
    RECTL from = {0, 0, width, pattern->sizlBitmap.cy};
    ok = EngStretchBlt(temp, pattern, nullptr, nullptr, pattern->iBitmapFormat == BMF_8BPP ? xlate : nullptr,
                       nullptr, nullptr, &to, &from, nullptr, HALFTONE);
    if (ok) {
      const BYTE* rows = static_cast<const BYTE*>(temp->pvScan0);
      for (DWORD y = 0; y < kSide; ++y)
        for (DWORD x = 0; x < kSide; ++x)
          memcpy(out + y * kSide * 3 + x * 3, rows + LONG(y % DWORD(side)) * temp->lDelta + (x % DWORD(side)) * 3, 3);
    }
    EngUnlockSurface(temp);
  }
  EngDeleteSurface(handle);
  return ok;
}

}  // namespace

BOOL BrushRealize(GraphicsPdev*, BRUSHOBJ* bo, SURFOBJ*, SURFOBJ* patternSurface, SURFOBJ*, XLATEOBJ* xlate,
                  ULONG hatch) {
  if (!bo) return FALSE;
  RealizedBrush* brush = nullptr;
  if (hatch < HS_DDI_MAX) {
    if (!xlate || !xlate->pulXlate || xlate->cEntries < 2) return FALSE;
    brush = Allocate(bo, kBrushMono, 1);
    if (!brush) return FALSE;
    brush->foreground = xlate->pulXlate[1];
    brush->background = xlate->pulXlate[0];
    BYTE* pattern = BrushPattern(brush);
    for (DWORD y = 0; y < kSide; ++y)
      for (DWORD x = 0; x < kSide; ++x)
        if (kHatches[hatch][(y / 4) % 8] & (0x80 >> ((x / 4) % 8))) SetBit(pattern, x, y);
  } else {
    PatternReader reader;
    if (!patternSurface || !reader.Open(patternSurface)) return FALSE;
    ULONG first = 0, second = 0;
    if (reader.Format() == BMF_1BPP) {
      brush = Allocate(bo, kBrushMono, 1);
      if (!brush) return FALSE;
      brush->foreground = XlateEntry(xlate, 0, 0);
      brush->background = XlateEntry(xlate, 1, 0xFFFFFF);
      // A set bit stands for a 0 pixel.
      FillMono(brush, reader, [](ULONG p) { return p == 0; });
    } else if (TwoColours(reader, &first, &second)) {
      brush = Allocate(bo, kBrushMono, 1);
      if (!brush) return FALSE;
      brush->foreground = first;
      brush->background = second;
      FillMono(brush, reader, [first](ULONG p) { return p == first; });
    } else {
      brush = Allocate(bo, kBrushColour, 24);
      if (!brush) return FALSE;
      brush->foreground = 0;
      brush->background = 0xFFFFFF;
      BYTE* pattern = BrushPattern(brush);
      bool small = reader.Width() == 8 && reader.Height() == 8;
      bool engine = !small && (reader.Format() == BMF_8BPP || reader.Format() == BMF_24BPP);
      // Every depth is tiled from its real width, height and stride when the engine does not
      // stretch it.
      if (!engine || !StretchedByEngine(patternSurface, xlate, pattern))
        for (DWORD y = 0; y < kSide; ++y)
          for (DWORD x = 0; x < kSide; ++x) {
            ULONG pixel = reader.Pixel(LONG(x % DWORD(reader.Width())), LONG(y % DWORD(reader.Height())));
            ULONG c = ColourOf(reader, pixel, xlate);
            BYTE* out = pattern + y * kSide * 3 + x * 3;
            out[0] = BYTE(c);
            out[1] = BYTE(c >> 8);
            out[2] = BYTE(c >> 16);
          }
    }
  }
  bo->pvRbrush = brush;
  return TRUE;
}
