// Engine transfers with a source: block transfers, copies and stretches between engine bitmaps
// of any of the six formats, with format conversion through the XLATEOBJ, mirroring, masks,
// ROP4s and the halftone mode; a transfer aimed at a device surface is drawn into a bitmap
// first and handed to the device's DrvCopyBits, as GDI breaks it down.
#include <stdint.h>
#include <string.h>

#include <map>
#include <mutex>
#include <utility>

#include "platform/gdi32/engine_internal.h"
#include "platform/sim/trace.h"
#include "platform/sim_gdi.h"

namespace {

std::mutex g_lock;
std::map<HDEV, PFN_DrvCopyBits> g_deviceCopies;

bool IsEngineBitmap(const SURFOBJ* so) { return so && so->iType == STYPE_BITMAP && so->pvScan0; }
bool Indexed(ULONG format) { return format == BMF_1BPP || format == BMF_4BPP || format == BMF_8BPP; }

// Ordered-dither thresholds of a 4 x 4 cell, 0 to 15.
const BYTE kBayer[4][4] = {{0, 8, 2, 10}, {12, 4, 14, 6}, {3, 11, 1, 9}, {15, 7, 13, 5}};

ULONG Luminance(ULONG colour) {
  ULONG b = colour & 0xFF, g = (colour >> 8) & 0xFF, r = (colour >> 16) & 0xFF;
  return (r * 306 + g * 601 + b * 117) >> 10;
}

// The grey colour an index of an indexed bitmap without a palette stands for.
ULONG GreyOfIndex(ULONG format, ULONG index) {
  switch (format) {
    case BMF_1BPP: return index ? 0xFFFFFF : 0;
    case BMF_4BPP: return index * 0x111111;
    default: return index * 0x010101;
  }
}

// A colour (blue in the low byte) as a pixel of the target: the nearest grey level of an
// indexed target, over the ordered dither in halftone mode.
ULONG ColourToPixel(ULONG format, ULONG colour, LONG x, LONG y, bool halftone) {
  switch (format) {
    case BMF_16BPP:
      return ((colour >> 3) & 0x1F) | ((colour >> 11) & 0x1F) << 5 | ((colour >> 19) & 0x1F) << 10;
    case BMF_24BPP: return colour & 0xFFFFFF;
    case BMF_32BPP: return colour & 0xFFFFFF;
  }
  ULONG levels = format == BMF_1BPP ? 1 : format == BMF_4BPP ? 15 : 255;
  ULONG l = Luminance(colour);
  ULONG offset = halftone ? (kBayer[y & 3][x & 3] * 255u + 127u) / 16u : 127u;
  ULONG level = (l * levels + offset) / 255u;
  return level > levels ? levels : level;
}

// A source pixel as the target stores it. False when the XLATEOBJ has no entry for it.
bool Convert(const SURFOBJ* src, ULONG raw, const XLATEOBJ* xlate, const SURFOBJ* trg, LONG x, LONG y,
             bool halftone, ULONG* out) {
  ULONG sf = src->iBitmapFormat, tf = trg->iBitmapFormat;
  if (xlate && !(xlate->flXlate & XO_TRIVIAL) && (xlate->flXlate & XO_TABLE) && xlate->pulXlate) {
    if (raw >= xlate->cEntries) return false;
    ULONG v = xlate->pulXlate[raw];
    // A table into an indexed target gives its indices, into any other its colours.
    *out = Indexed(tf) ? v : ColourToPixel(tf, v, x, y, halftone);
    return true;
  }
  if (Indexed(sf) && sf == tf) {
    *out = raw;
    return true;
  }
  ULONG colour;
  if (Indexed(sf)) {
    colour = GreyOfIndex(sf, raw);
  } else if (sf == BMF_16BPP) {
    colour = ((raw & 0x1F) * 255 / 31) | ((((raw >> 5) & 0x1F) * 255 / 31) << 8) | ((((raw >> 10) & 0x1F) * 255 / 31) << 16);
  } else {
    colour = raw & 0xFFFFFF;
  }
  if (xlate && !(xlate->flXlate & XO_TRIVIAL) && xlate->iSrcType == PAL_RGB && xlate->iDstType == PAL_BGR)
    colour = ((colour >> 16) & 0xFF) | (colour & 0xFF00) | ((colour & 0xFF) << 16);
  *out = ColourToPixel(tf, colour, x, y, halftone);
  return true;
}

void Order(RECTL* r, bool* mirrorX, bool* mirrorY) {
  if (r->left > r->right) std::swap(r->left, r->right), *mirrorX = !*mirrorX;
  if (r->top > r->bottom) std::swap(r->top, r->bottom), *mirrorY = !*mirrorY;
}

struct Transfer {
  SURFOBJ* trg;
  SURFOBJ* src;
  SURFOBJ* mask;
  CLIPOBJ* clip;
  XLATEOBJ* xlate;
  RECTL dst;   // may be mirrored
  RECTL from;  // the source rectangle; may be mirrored
  POINTL maskOrg;
  BRUSHOBJ* brush;
  ROP4 rop4;
  bool halftone;
};

// Draws a transfer between engine bitmaps (nearest pixel when the sizes differ).
BOOL DrawOnBitmap(const Transfer& t) {
  RECTL d = t.dst, s = t.from;
  bool mirrorX = false, mirrorY = false;
  Order(&d, &mirrorX, &mirrorY);
  Order(&s, &mirrorX, &mirrorY);
  int64_t dw = int64_t(d.right) - d.left, dh = int64_t(d.bottom) - d.top;
  int64_t sw = int64_t(s.right) - s.left, sh = int64_t(s.bottom) - s.top;
  if (dw <= 0 || dh <= 0 || sw <= 0 || sh <= 0) return TRUE;
  RECTL cut = d;
  if (cut.left < 0) cut.left = 0;
  if (cut.top < 0) cut.top = 0;
  if (cut.right > t.trg->sizlBitmap.cx) cut.right = t.trg->sizlBitmap.cx;
  if (cut.bottom > t.trg->sizlBitmap.cy) cut.bottom = t.trg->sizlBitmap.cy;
  if (cut.left >= cut.right || cut.top >= cut.bottom) return TRUE;
  ULONG bits = winsim::EngineBitsPerPixel(t.trg->iBitmapFormat);
  ULONG keep = bits >= 32 ? 0xFFFFFFFFu : ((1u << bits) - 1);
  ULONG pattern = t.brush ? t.brush->iSolidColor : 0;
  if (t.brush && pattern == 0xFFFFFFFFu) {
    WINSIM_SIMPLIFIED("EngStretchBltROP", "draws a pattern brush of a source transfer as black");
    pattern = 0;
  }
  for (const RECTL& part : winsim::EngineClipRects(t.clip, cut)) {
    for (LONG y = part.top; y < part.bottom; ++y) {
      int64_t iy = y - d.top;
      if (mirrorY) iy = dh - 1 - iy;
      LONG sy = LONG(s.top + iy * sh / dh);
      if (sy < 0 || sy >= t.src->sizlBitmap.cy) continue;
      for (LONG x = part.left; x < part.right; ++x) {
        int64_t ix = x - d.left;
        if (mirrorX) ix = dw - 1 - ix;
        LONG sx = LONG(s.left + ix * sw / dw);
        // Nothing is drawn where the rectangle reaches past the source.
        if (sx < 0 || sx >= t.src->sizlBitmap.cx) continue;
        BYTE rop = BYTE(t.rop4);
        if (t.mask) {
          LONG mx = t.maskOrg.x + (sx - s.left), my = t.maskOrg.y + (sy - s.top);
          bool on = mx >= 0 && my >= 0 && mx < t.mask->sizlBitmap.cx && my < t.mask->sizlBitmap.cy &&
                    winsim::EngineGetPixel(t.mask, mx, my) != 0;
          if (!on) rop = BYTE(t.rop4 >> 8);
        }
        ULONG value;
        if (!Convert(t.src, winsim::EngineGetPixel(t.src, sx, sy), t.xlate, t.trg, x, y, t.halftone, &value)) {
          WINSIM_SIMPLIFIED("EngBitBlt", "fails for a source index beyond its XLATEOBJ's table");
          SetLastError(ERROR_INVALID_PARAMETER);
          return FALSE;
        }
        ULONG dv = winsim::EngineGetPixel(t.trg, x, y);
        winsim::EnginePutPixel(t.trg, x, y, winsim::EngineRop3(rop, pattern, value, dv) & keep);
      }
    }
  }
  return TRUE;
}

// A transfer aimed at a device surface: drawn into a white bitmap of the device's format and
// the destination's size (a ROP that reads the destination reads white), then handed to the
// device's DrvCopyBits with the clip.
BOOL DrawOnDevice(const Transfer& t) {
  PFN_DrvCopyBits copy = nullptr;
  {
    std::lock_guard<std::mutex> hold(g_lock);
    auto it = g_deviceCopies.find(t.trg->hdev);
    if (it != g_deviceCopies.end()) copy = it->second;
  }
  if (!copy) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  WINSIM_SIMPLIFIED("EngBitBlt", "a transfer to a device surface reads its destination as white");
  RECTL d = t.dst;
  bool mx = false, my = false;
  Order(&d, &mx, &my);
  LONG w = d.right - d.left, h = d.bottom - d.top;
  if (w <= 0 || h <= 0) return TRUE;
  ULONG format = winsim::EngineBitsPerPixel(t.trg->iBitmapFormat) ? t.trg->iBitmapFormat : ULONG(BMF_24BPP);
  HBITMAP bitmap = EngCreateBitmap(SIZEL{w, h}, 0, format, BMF_TOPDOWN, nullptr);
  if (!bitmap) return FALSE;
  HSURF handle = reinterpret_cast<HSURF>(bitmap);
  SURFOBJ* temp = EngLockSurface(handle);
  BOOL ok = FALSE;
  if (temp) {
    RECTL all = {0, 0, w, h};
    EngEraseSurface(temp, &all, 0xFFFFFFFFu);
    Transfer inner = t;
    inner.trg = temp;
    inner.clip = nullptr;
    inner.dst = RECTL{t.dst.left - d.left, t.dst.top - d.top, t.dst.right - d.left, t.dst.bottom - d.top};
    POINTL origin = {0, 0};
    ok = DrawOnBitmap(inner) && copy(t.trg, temp, t.clip, nullptr, &d, &origin);
    EngUnlockSurface(temp);
  }
  EngDeleteSurface(handle);
  return ok;
}

BOOL Draw(const Transfer& t) {
  if (!t.trg || !IsEngineBitmap(t.src)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  if (t.mask && (!IsEngineBitmap(t.mask) || t.mask->iBitmapFormat != BMF_1BPP)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  if (IsEngineBitmap(t.trg)) return DrawOnBitmap(t);
  return DrawOnDevice(t);
}

}  // namespace

namespace winsim {

BOOL EngineSourceBlt(SURFOBJ* trg, SURFOBJ* src, SURFOBJ* mask, CLIPOBJ* clip, XLATEOBJ* xlate, const RECTL& dst,
                     const POINTL& ptlSrc, const POINTL* ptlMask, BRUSHOBJ* brush, ROP4 rop4) {
  LONG w = dst.right > dst.left ? dst.right - dst.left : dst.left - dst.right;
  LONG h = dst.bottom > dst.top ? dst.bottom - dst.top : dst.top - dst.bottom;
  // A block transfer does not mirror: the rectangle is only ordered.
  RECTL d = {dst.left < dst.right ? dst.left : dst.right, dst.top < dst.bottom ? dst.top : dst.bottom, 0, 0};
  d.right = d.left + w;
  d.bottom = d.top + h;
  Transfer t = {trg, src, mask, clip, xlate, d, {ptlSrc.x, ptlSrc.y, ptlSrc.x + w, ptlSrc.y + h},
                ptlMask ? *ptlMask : POINTL{0, 0}, brush, rop4, false};
  return Draw(t);
}

}  // namespace winsim

// Simplified: nearest pixel; HALFTONE is the nearest colour (an indexed target: the nearest
// grey level) over a 4 x 4 ordered dither; the colour adjustment and halftone origin are not
// used. A mask is the size of the source rectangle, from ptlMask.
WINSIM_API BOOL WINAPI EngStretchBltROP(SURFOBJ* dst, SURFOBJ* src, SURFOBJ* mask, CLIPOBJ* clip, XLATEOBJ* xlate,
                                        COLORADJUSTMENT*, POINTL*, RECTL* rclDst, RECTL* rclSrc, POINTL* ptlMask,
                                        ULONG mode, BRUSHOBJ* brush, DWORD rop4) {
  if (!rclDst || !rclSrc) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  if (mode == HALFTONE) WINSIM_SIMPLIFIED("EngStretchBlt", "halftones as nearest colour over a 4 x 4 ordered dither");
  Transfer t = {dst, src, mask, clip, xlate, *rclDst, *rclSrc, ptlMask ? *ptlMask : POINTL{0, 0}, brush,
                ROP4(rop4), mode == HALFTONE};
  return Draw(t);
}

WINSIM_API BOOL WINAPI EngStretchBlt(SURFOBJ* dst, SURFOBJ* src, SURFOBJ* mask, CLIPOBJ* clip, XLATEOBJ* xlate,
                                     COLORADJUSTMENT* ca, POINTL* org, RECTL* rclDst, RECTL* rclSrc, POINTL* ptlMask,
                                     ULONG mode) {
  // With a mask, the source goes where the mask is set and the destination stays elsewhere.
  return EngStretchBltROP(dst, src, mask, clip, xlate, ca, org, rclDst, rclSrc, ptlMask, mode, nullptr,
                          mask ? 0xAACC : 0xCCCC);
}

WINSIM_API void SimGdiSetDeviceCopyBits(HDEV hdev, PFN_DrvCopyBits copy) {
  std::lock_guard<std::mutex> hold(g_lock);
  if (copy) g_deviceCopies[hdev] = copy;
  else g_deviceCopies.erase(hdev);
}
