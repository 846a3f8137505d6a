// Engine drawing on engine bitmaps: block transfers without a source (brush and destination
// ROPs), erasing, and the stretch and text calls a raster driver hands back to the engine.
#include <string.h>

#include <utility>

#include "platform/gdi32/engine_internal.h"
#include "platform/sim/trace.h"

namespace winsim {

ULONG EngineGetPixel(const SURFOBJ* so, LONG x, LONG y) {
  const BYTE* row = static_cast<const BYTE*>(so->pvScan0) + y * so->lDelta;
  switch (so->iBitmapFormat) {
    case BMF_1BPP:
      return (row[x >> 3] >> (7 - (x & 7))) & 1;
    case BMF_4BPP:
      return (row[x >> 1] >> ((x & 1) ? 0 : 4)) & 0xF;
    case BMF_8BPP:
      return row[x];
    case BMF_16BPP:
      return ULONG(row[2 * x]) | ULONG(row[2 * x + 1]) << 8;
    case BMF_24BPP:
      return ULONG(row[3 * x]) | ULONG(row[3 * x + 1]) << 8 | ULONG(row[3 * x + 2]) << 16;
    case BMF_32BPP: {
      ULONG v;
      memcpy(&v, row + 4 * x, 4);
      return v;
    }
  }
  return 0;
}

void EnginePutPixel(SURFOBJ* so, LONG x, LONG y, ULONG value) {
  BYTE* row = static_cast<BYTE*>(so->pvScan0) + y * so->lDelta;
  switch (so->iBitmapFormat) {
    case BMF_1BPP: {
      BYTE bit = BYTE(0x80 >> (x & 7));
      row[x >> 3] = BYTE((value & 1) ? (row[x >> 3] | bit) : (row[x >> 3] & ~bit));
      break;
    }
    case BMF_4BPP: {
      BYTE& b = row[x >> 1];
      b = BYTE((x & 1) ? ((b & 0xF0) | (value & 0xF)) : ((b & 0x0F) | ((value & 0xF) << 4)));
      break;
    }
    case BMF_8BPP:
      row[x] = BYTE(value);
      break;
    case BMF_16BPP:
      row[2 * x] = BYTE(value), row[2 * x + 1] = BYTE(value >> 8);
      break;
    case BMF_24BPP:
      row[3 * x] = BYTE(value), row[3 * x + 1] = BYTE(value >> 8), row[3 * x + 2] = BYTE(value >> 16);
      break;
    case BMF_32BPP:
      memcpy(row + 4 * x, &value, 4);
      break;
  }
}

}  // namespace winsim

namespace {

// The rectangle r cut to the bitmap and to the clip's bounds; false when nothing is left.
bool CutToTarget(const SURFOBJ* so, const CLIPOBJ* clip, RECTL* r) {
  RECTL cut = *r;
  if (cut.left > cut.right) std::swap(cut.left, cut.right);
  if (cut.top > cut.bottom) std::swap(cut.top, cut.bottom);
  if (cut.left < 0) cut.left = 0;
  if (cut.top < 0) cut.top = 0;
  if (cut.right > so->sizlBitmap.cx) cut.right = so->sizlBitmap.cx;
  if (cut.bottom > so->sizlBitmap.cy) cut.bottom = so->sizlBitmap.cy;
  if (clip && clip->iDComplexity != DC_TRIVIAL) {
    if (cut.left < clip->rclBounds.left) cut.left = clip->rclBounds.left;
    if (cut.top < clip->rclBounds.top) cut.top = clip->rclBounds.top;
    if (cut.right > clip->rclBounds.right) cut.right = clip->rclBounds.right;
    if (cut.bottom > clip->rclBounds.bottom) cut.bottom = clip->rclBounds.bottom;
  }
  *r = cut;
  return cut.left < cut.right && cut.top < cut.bottom;
}

bool IsEngineBitmap(const SURFOBJ* so) { return so && so->iType == STYPE_BITMAP && so->pvScan0; }


// A source pixel as the target stores it: kept by a trivial XLATEOBJ, looked up in its table, or
// turned from RGB (blue in the low byte) to a BGR target. False when the engine cannot translate it.
bool Translate(const XLATEOBJ* xlate, ULONG* value) {
  if (!xlate || (xlate->flXlate & XO_TRIVIAL)) return true;
  if ((xlate->flXlate & XO_TABLE) && xlate->pulXlate) {
    if (*value >= xlate->cEntries) return false;
    *value = xlate->pulXlate[*value];
    return true;
  }
  if (xlate->iSrcType == PAL_RGB && xlate->iDstType == PAL_BGR) {
    ULONG v = *value;
    *value = ((v >> 16) & 0xFF) | (v & 0xFF00) | ((v & 0xFF) << 16);
    return true;
  }
  return false;
}

}  // namespace

namespace winsim {

ULONG EngineRop3(BYTE rop, ULONG p, ULONG s, ULONG d) {
  ULONG result = 0;
  for (int i = 0; i < 8; ++i) {
    if (!(rop & (1 << i))) continue;
    result |= ((i & 4) ? p : ~p) & ((i & 2) ? s : ~s) & ((i & 1) ? d : ~d);
  }
  return result;
}

void EngineFillSpan(SURFOBJ* so, LONG y, LONG left, LONG right, BRUSHOBJ* brush, const POINTL* origin, ROP4 rop4) {
  BYTE rop = BYTE(rop4), backRop = BYTE(rop4 >> 8);
  ULONG bits = EngineBitsPerPixel(so->iBitmapFormat);
  ULONG keep = bits >= 32 ? 0xFFFFFFFFu : ((1u << bits) - 1);
  EngineBrushSource source = {brush ? brush->iSolidColor : 0, 0xFFFFFFFFu, nullptr, nullptr};
  if (brush) EngineBrushSourceOf(brush, &source);
  bool hatched = source.hatch < 6 && source.xlate && source.xlate->pulXlate && source.xlate->cEntries >= 2;
  bool patterned = !hatched && source.pattern && source.pattern->pvScan0 && source.pattern->sizlBitmap.cx > 0 &&
                   source.pattern->sizlBitmap.cy > 0;
  LONG ox = origin ? origin->x : 0, oy = origin ? origin->y : 0;
  for (LONG x = left; x < right; ++x) {
    ULONG p = source.solid;
    bool fore = true;
    if (hatched) {
      LONG hx = ((x - ox) % 8 + 8) % 8, hy = ((y - oy) % 8 + 8) % 8;
      fore = (kEngineHatches[source.hatch][hy] & (0x80 >> hx)) != 0;
      p = source.xlate->pulXlate[fore ? 1 : 0];
    } else if (patterned) {
      LONG w = source.pattern->sizlBitmap.cx, h = source.pattern->sizlBitmap.cy;
      p = EngineGetPixel(source.pattern, ((x - ox) % w + w) % w, ((y - oy) % h + h) % h);
      if (source.pattern->iBitmapFormat == BMF_1BPP) fore = p == 0;
      if (!Translate(source.xlate, &p)) p = 0;
    }
    if (!fore && backRop == 0xAA) continue;
    ULONG d = EngineGetPixel(so, x, y);
    EnginePutPixel(so, x, y, EngineRop3(fore ? rop : backRop, p, 0, d) & keep);
  }
}

}  // namespace winsim

// Simplified: a pattern brush of a transfer with a source draws as black (see
// engine_transfer.cpp); brush-only transfers draw every brush.
WINSIM_API BOOL WINAPI EngBitBlt(SURFOBJ* trg, SURFOBJ* src, SURFOBJ* mask, CLIPOBJ* clip, XLATEOBJ* xlate,
                                 RECTL* rclTrg, POINTL* ptlSrc, POINTL* ptlMask, BRUSHOBJ* brush, POINTL* ptlBrush,
                                 ROP4 rop4) {
  BYTE rop = BYTE(rop4 & 0xFF), backRop = BYTE(rop4 >> 8);
  bool usesSource = (((rop >> 2) ^ rop) & 0x33) || (mask && (((backRop >> 2) ^ backRop) & 0x33));
  if (!trg || !rclTrg || (usesSource && (!src || !ptlSrc))) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  if (usesSource) return winsim::EngineSourceBlt(trg, src, mask, clip, xlate, *rclTrg, *ptlSrc, ptlMask, brush, rop4);
  if (!IsEngineBitmap(trg)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  if (mask) WINSIM_SIMPLIFIED("EngBitBlt", "draws a brush-only transfer without its mask");
  RECTL r = *rclTrg;
  if (r.left > r.right) std::swap(r.left, r.right);
  if (r.top > r.bottom) std::swap(r.top, r.bottom);
  if (!CutToTarget(trg, nullptr, &r)) return TRUE;
  for (const RECTL& part : winsim::EngineClipRects(clip, r))
    for (LONG y = part.top; y < part.bottom; ++y) winsim::EngineFillSpan(trg, y, part.left, part.right, brush, ptlBrush, rop4);
  return TRUE;
}

// A copy is a block transfer with the source as it is (SRCCOPY).
WINSIM_API BOOL WINAPI EngCopyBits(SURFOBJ* dst, SURFOBJ* src, CLIPOBJ* clip, XLATEOBJ* xlate, RECTL* rclDst,
                                   POINTL* ptlSrc) {
  return EngBitBlt(dst, src, nullptr, clip, xlate, rclDst, ptlSrc, nullptr, nullptr, nullptr, 0xCCCC);
}

WINSIM_API BOOL WINAPI EngEraseSurface(SURFOBJ* so, RECTL* rect, ULONG color) {
  if (!IsEngineBitmap(so) || !rect) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  RECTL r = *rect;
  if (!CutToTarget(so, nullptr, &r)) return TRUE;
  for (LONG y = r.top; y < r.bottom; ++y)
    for (LONG x = r.left; x < r.right; ++x) winsim::EnginePutPixel(so, x, y, color);
  return TRUE;
}
