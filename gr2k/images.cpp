// The image senders of vector mode and the fallbacks that keep an image printable when the
// engine cannot give the driver memory for it.
#include "gr2k/images.h"

#include <string.h>

#include "gr2k/draw_state.h"
#include "gr2k/stream.h"

namespace {

constexpr unsigned long long kRowsHalvedAbove = 0xA00000;  // bytes at 3 per pixel
constexpr ROP4 kMaskCopy = 0xAACC;                         // the source where the mask is set
constexpr ROP4 kMaskInverse = 0xCCAA;                      // the source where it is clear

DWORD Entries(DWORD code) { return code == kImage1Bpp ? 2 : code == kImage4Bpp ? 16 : code == kImage8Bpp ? 256 : 0; }

LONG Abs(LONG v) { return v < 0 ? -v : v; }

DWORD BottomUp(const SURFOBJ* so) { return (so->fjBitmap & BMF_TOPDOWN) ? 0u : DWORD(kImageBottomUp); }

// A temporary surface with its handle, deleted when it goes.
class TempSurface {
 public:
  explicit TempSurface(GraphicsPdev* pdev) : pdev_(pdev) {}
  ~TempSurface() { Free(); }
  TempSurface(const TempSurface&) = delete;
  TempSurface& operator=(const TempSurface&) = delete;
  SURFOBJ* Make(LONG width, LONG height, ULONG format) {
    Free();
    so_ = GrCreateTempSurface(pdev_, &handle_, width, height, format);
    return so_;
  }
  void Free() {
    if (so_) GrDeleteTempSurface(so_, handle_);
    so_ = nullptr;
    handle_ = nullptr;
  }
  SURFOBJ* so() const { return so_; }

 private:
  GraphicsPdev* pdev_;
  SURFOBJ* so_ = nullptr;
  HSURF handle_ = nullptr;
};

// A surface erased to white.
BOOL White(SURFOBJ* so) {
  RECTL all = {0, 0, so->sizlBitmap.cx, so->sizlBitmap.cy};
  return EngEraseSurface(so, &all, 0xFFFFFFFFu);
}

// The mask of a masked transfer as a 1-bpp image at the destination between records 49 0xEE
// and 0x88: read from ptlMask at width x height, inverted for 0xCCAA (the source goes where the
// mask is clear).
BOOL SendMask(GraphicsPdev* pdev, SURFOBJ* mask, POINTL* ptlMask, LONG width, LONG height, ROP4 rop4,
              const RECTL& dest, DWORD formatFlags) {
  TempSurface bits(pdev);
  if (!bits.Make(width, height, BMF_1BPP) || !White(bits.so())) return FALSE;
  RECTL all = {0, 0, width, height};
  POINTL from = ptlMask ? *ptlMask : POINTL{0, 0};
  if (!EngBitBlt(bits.so(), mask, nullptr, nullptr, nullptr, &all, &from, nullptr, nullptr, nullptr,
                 rop4 == kMaskCopy ? 0xCCCC : 0x6666))
    return FALSE;
  if (!GrStateRop(pdev, 0xEE)) return FALSE;
  GrImage image = {dest, {0, 0}, DWORD(width), DWORD(height), kImage1Bpp | formatFlags, static_cast<BYTE*>(bits.so()->pvScan0),
                   bits.so()->lDelta, nullptr};
  return GrSendImageRecord(pdev, image) && GrStateRop(pdev, 0x88);
}

BOOL Masked(SURFOBJ* mask, ROP4 rop4) { return mask && (rop4 == kMaskCopy || rop4 == kMaskInverse); }

}  // namespace

SURFOBJ* GrCreateTempSurface(GraphicsPdev* pdev, HSURF* surface, LONG width, LONG height, ULONG format) {
  if (surface) *surface = nullptr;
  if (!pdev || !surface || width <= 0 || height <= 0) return nullptr;
  unsigned long long bits;
  switch (format) {
    case BMF_1BPP: bits = 1; break;
    case BMF_4BPP: bits = 4; break;
    case BMF_8BPP: bits = 8; break;
    case BMF_16BPP: bits = 16; break;
    case BMF_24BPP: bits = 24; break;
    case BMF_32BPP: bits = 32; break;
    default: return nullptr;
  }
  unsigned long long stride = ((static_cast<unsigned long long>(width) * bits + 7) / 8 + 3) & ~3ull;
  if (stride > 0x7FFFFFFFull || stride * static_cast<unsigned long long>(height) > 0xFFFFFFFFull) return nullptr;
  HBITMAP bitmap = EngCreateBitmap(SIZEL{width, height}, LONG(stride), format, BMF_TOPDOWN | BMF_NOZEROINIT, nullptr);
  if (!bitmap) return nullptr;
  HSURF handle = reinterpret_cast<HSURF>(bitmap);
  SURFOBJ* so = nullptr;
  if (EngAssociateSurface(handle, pdev->hdev, 0)) so = EngLockSurface(handle);
  if (!so) {
    EngDeleteSurface(handle);
    return nullptr;
  }
  *surface = handle;
  return so;
}

void GrDeleteTempSurface(SURFOBJ* so, HSURF surface) {
  if (so) EngUnlockSurface(so);
  if (surface) EngDeleteSurface(surface);
}

BOOL GrImageFormatOf(ULONG bitmapFormat, DWORD* code) {
  switch (bitmapFormat) {
    case BMF_1BPP: *code = kImage1Bpp; return TRUE;
    case BMF_4BPP: *code = kImage4Bpp; return TRUE;
    case BMF_8BPP: *code = kImage8Bpp; return TRUE;
    case BMF_24BPP: *code = kImage24Bpp; return TRUE;
  }
  *code = kImage24Bpp;
  return FALSE;
}

ULONG GrImageEngineFormat(DWORD code) {
  switch (code & 0xF) {
    case kImage1Bpp: return BMF_1BPP;
    case kImage4Bpp: return BMF_4BPP;
    case kImage8Bpp: return BMF_8BPP;
  }
  return BMF_24BPP;
}

DWORD GrImageHostIcm(const XLATEOBJ* xlate) {
  return xlate && (xlate->flXlate & XO_HOST_ICM) ? DWORD(kImageHostIcm) : 0u;
}

const ULONG* GrImagePalette(const XLATEOBJ* xlate, DWORD code, ULONG copy[256]) {
  DWORD n = Entries(code & 0xF);
  if (!n || !xlate || (xlate->flXlate & XO_TRIVIAL) || !xlate->pulXlate || xlate->cEntries == 0) return nullptr;
  memset(copy, 0, 256 * sizeof(ULONG));
  for (DWORD i = 0; i < n && i < xlate->cEntries; ++i) copy[i] = xlate->pulXlate[i] & 0xFFFFFF;
  if (xlate->cEntries == n) {
    bool ramp = true;
    for (DWORD i = 0; i < n && ramp; ++i) ramp = copy[i] == (i * 255 / (n - 1)) * 0x010101u;
    if (ramp) return nullptr;
  }
  return copy;
}

BOOL GrSendImageRecord(GraphicsPdev* pdev, const GrImage& image) {
  PdevOutputStream* stream = &pdev->stream;
  GrStreamMark mark;
  GrStreamSetMark(stream, &mark);
  if (GrRecImage(stream, image, GrImagePlainForm(pdev), GrImageGrey(pdev))) return TRUE;
  if (!GrStreamRollback(stream, mark)) return FALSE;
  if (GrRecImageByRows(stream, image)) return TRUE;
  GrStreamRollback(stream, mark);
  return FALSE;
}

BOOL GrSendImage(GraphicsPdev* pdev, XLATEOBJ* xlate, SURFOBJ* src, COLORADJUSTMENT* ca, POINTL* htOrg, RECTL* dest,
                 RECTL* rclSrc, SURFOBJ* mask, POINTL* ptlMask, ROP4 rop4) {
  if (!pdev || !src || !src->pvScan0 || !dest || !rclSrc) return FALSE;
  LONG cx = src->sizlBitmap.cx, cy = src->sizlBitmap.cy;
  RECTL s = *rclSrc;
  auto clamp = [](LONG v, LONG size) { return v < 0 ? 0 : v > size ? size : v; };
  s.left = clamp(s.left, cx), s.right = clamp(s.right, cx);
  s.top = clamp(s.top, cy), s.bottom = clamp(s.bottom, cy);
  LONG left = dest->left < dest->right ? dest->left : dest->right;
  LONG top = dest->top < dest->bottom ? dest->top : dest->bottom;
  LONG dw = dest->right - dest->left, dh = dest->bottom - dest->top;
  LONG sw = s.right - s.left, sh = s.bottom - s.top;
  RECTL at = {left, top, left + Abs(dw), top + Abs(dh)};

  DWORD code;
  BOOL listed = GrImageFormatOf(src->iBitmapFormat, &code);
  bool convert = !listed || s.left != 0 || s.top != 0 || s.right != cx || s.bottom != cy || dw < 0 || dh < 0;
  ULONG copy[256];
  const ULONG* palette = GrImagePalette(xlate, code, copy);
  LONG tw = Abs(sw), th = Abs(sh);
  bool deep = src->iBitmapFormat == BMF_24BPP || src->iBitmapFormat == BMF_32BPP;
  if (pdev->reduceImages && pdev->drawState && pdev->drawState->ropSet && pdev->drawState->rop == 0xCC && deep &&
      sw && sh && dw && dh && (Abs(dw) < Abs(sw) || Abs(dh) < Abs(sh))) {
    tw = Abs(dw), th = Abs(dh);
    convert = true;
  }
  bool masked = Masked(mask, rop4);
  if (masked) {
    if (!SendMask(pdev, mask, ptlMask, Abs(sw), Abs(sh), rop4, at, 0)) return FALSE;
    convert = true;
  }
  DWORD format = code | GrImageHostIcm(xlate);
  if (!convert) {
    GrImage image = {at, {s.left, s.top}, DWORD(sw), DWORD(sh), format | BottomUp(src),
                     static_cast<const BYTE*>(src->pvScan0), src->lDelta, palette};
    return GrSendImageRecord(pdev, image);
  }

  ULONG tempFormat = GrImageEngineFormat(code);
  XLATEOBJ* useXlate = tempFormat != src->iBitmapFormat ? xlate : nullptr;
  TempSurface temp(pdev);
  if (tw <= 0 || th <= 0) return FALSE;
  if (!temp.Make(tw, th, tempFormat)) {
    if ((src->iBitmapFormat == BMF_8BPP || deep) && sw > 0 && sh > 0)
      return GrSendImageRows(pdev, src, &s, dest, xlate, ca, htOrg, xlate && !palette && code != kImage24Bpp) != nullptr;
    for (LONG by = 2; by <= 5 && !temp.so(); ++by) {
      if (tw / by == 0 || th / by == 0) return FALSE;
      if (temp.Make(tw / by, th / by, tempFormat)) format |= kImageReduced;
    }
    if (!temp.so()) return FALSE;
  }
  LONG w = temp.so()->sizlBitmap.cx, h = temp.so()->sizlBitmap.cy;
  RECTL into = {dw < 0 ? w : 0, dh < 0 ? h : 0, dw < 0 ? 0 : w, dh < 0 ? 0 : h};
  BOOL drawn;
  if (masked) {
    drawn = White(temp.so()) && EngStretchBltROP(temp.so(), src, mask, nullptr, useXlate, ca, htOrg, &into, &s,
                                                 ptlMask, HALFTONE, nullptr, rop4);
  } else {
    drawn = EngStretchBlt(temp.so(), src, nullptr, nullptr, useXlate, ca, htOrg, &into, &s, nullptr, HALFTONE);
  }
  if (!drawn) return FALSE;
  GrImage image = {at, {0, 0}, DWORD(w), DWORD(h), format, static_cast<const BYTE*>(temp.so()->pvScan0),
                   temp.so()->lDelta, tempFormat == BMF_24BPP ? nullptr : palette};
  return GrSendImageRecord(pdev, image);
}

BOOL GrSendBltImage(GraphicsPdev* pdev, XLATEOBJ* xlate, SURFOBJ* src, RECTL* trg, POINTL* ptlSrc, SURFOBJ* mask,
                    POINTL* ptlMask, ROP4 rop4) {
  if (!pdev || !src || !src->pvScan0 || !trg || !ptlSrc) return FALSE;
  LONG left = trg->left < trg->right ? trg->left : trg->right;
  LONG top = trg->top < trg->bottom ? trg->top : trg->bottom;
  LONG w = Abs(trg->right - trg->left), h = Abs(trg->bottom - trg->top);
  if (w == 0 || h == 0) return TRUE;
  RECTL at = {left, top, left + w, top + h};
  DWORD code;
  BOOL listed = GrImageFormatOf(src->iBitmapFormat, &code);
  bool convert = !listed || src->sizlBitmap.cx != w || src->sizlBitmap.cy != h;
  ULONG copy[256];
  const ULONG* palette = GrImagePalette(xlate, code, copy);
  bool masked = Masked(mask, rop4);
  if (masked) {
    if (!SendMask(pdev, mask, ptlMask, w, h, rop4, at, kImageBitBlt)) return FALSE;
    convert = true;
  }
  DWORD format = code | kImageBitBlt | GrImageHostIcm(xlate);
  if (!convert) {
    GrImage image = {at, *ptlSrc, DWORD(src->sizlBitmap.cx), DWORD(src->sizlBitmap.cy), format | BottomUp(src),
                     static_cast<const BYTE*>(src->pvScan0), src->lDelta, palette};
    return GrSendImageRecord(pdev, image);
  }
  ULONG tempFormat = GrImageEngineFormat(code);
  XLATEOBJ* useXlate = tempFormat != src->iBitmapFormat ? xlate : nullptr;
  TempSurface temp(pdev);
  if (!temp.Make(w, h, tempFormat)) return FALSE;
  RECTL into = {0, 0, w, h};
  BOOL drawn;
  if (masked) {
    drawn = White(temp.so()) &&
            EngBitBlt(temp.so(), src, mask, nullptr, useXlate, &into, ptlSrc, ptlMask, nullptr, nullptr, rop4);
  } else {
    drawn = EngBitBlt(temp.so(), src, nullptr, nullptr, useXlate, &into, ptlSrc, nullptr, nullptr, nullptr, 0xCCCC);
  }
  if (!drawn) return FALSE;
  GrImage image = {at, {0, 0}, DWORD(w), DWORD(h), format, static_cast<const BYTE*>(temp.so()->pvScan0),
                   temp.so()->lDelta, tempFormat == BMF_24BPP ? nullptr : palette};
  return GrSendImageRecord(pdev, image);
}

BYTE* GrSendImageRows(GraphicsPdev* pdev, SURFOBJ* src, const RECTL* rclSrc, const RECTL* dest, XLATEOBJ* xlate,
                      COLORADJUSTMENT* ca, POINTL* htOrg, BOOL greyPalette) {
  if (!pdev || !src || !src->pvScan0 || !rclSrc || !dest) return nullptr;
  ULONG sf = src->iBitmapFormat;
  if (sf != BMF_8BPP && sf != BMF_24BPP && sf != BMF_32BPP) return nullptr;
  LONG sw = rclSrc->right - rclSrc->left, sh = rclSrc->bottom - rclSrc->top;
  if (sw <= 0 || sh <= 0 || rclSrc->left < 0 || rclSrc->top < 0 || rclSrc->right > src->sizlBitmap.cx ||
      rclSrc->bottom > src->sizlBitmap.cy)
    return nullptr;
  LONG dw = Abs(dest->right - dest->left), dh = Abs(dest->bottom - dest->top);
  LONG left = dest->left < dest->right ? dest->left : dest->right;
  LONG top = dest->top < dest->bottom ? dest->top : dest->bottom;

  DWORD format = (sf == BMF_8BPP ? kImage8Bpp : kImage24Bpp) | GrImageHostIcm(xlate);
  DWORD step = 1;
  if (sf == BMF_32BPP) {
    bool smaller = dw < sw && dh < sh;
    if (smaller || static_cast<unsigned long long>(sw) * static_cast<unsigned long long>(sh) * 3 > kRowsHalvedAbove) {
      step = 2;
      format |= kImageReduced;
    }
  } else {
    format |= BottomUp(src);
  }
  DWORD width = DWORD(sw) / step, rows = DWORD(sh) / step;
  if (width == 0 || rows == 0) return nullptr;
  // The caller's grey test decides: a palette of all 256 entries unless it found a ramp.
  ULONG copy[256];
  const ULONG* palette = nullptr;
  if (sf == BMF_8BPP && xlate && xlate->pulXlate && !greyPalette) {
    memset(copy, 0, sizeof copy);
    for (DWORD i = 0; i < 256 && i < xlate->cEntries; ++i) copy[i] = xlate->pulXlate[i] & 0xFFFFFF;
    palette = copy;
  }
  // The head with the palette; the rows follow one reservation each.
  GrImage head = {{left, top, left + dw, top + dh}, {0, 0}, width, rows, format, nullptr, 0, palette};
  if (!GrImageRecordBytes(head, FALSE)) return nullptr;
  head.rows = 0;
  PdevOutputStream* stream = &pdev->stream;
  GrStreamMark mark;
  GrStreamSetMark(stream, &mark);
  DWORD rowBytes = GrImageRowBytes(width, format);
  // Reserve the head through the fallback writer with no rows, then patch its counts.
  BYTE* rec = GrRecImageByRows(stream, head);
  if (!rec) {
    GrStreamRollback(stream, mark);
    return nullptr;
  }
  unsigned long long length = GrImageRecordBytes(GrImage{head.destination, {0, 0}, width, rows, format, nullptr, 0, palette}, FALSE);
  rec[4] = BYTE(length), rec[5] = BYTE(length >> 8), rec[6] = BYTE(length >> 16), rec[7] = BYTE(length >> 24);
  rec[36] = BYTE(rows), rec[37] = BYTE(rows >> 8), rec[38] = BYTE(rows >> 16), rec[39] = BYTE(rows >> 24);

  TempSurface line(pdev);
  if (sf == BMF_32BPP && !line.Make(sw, 1, BMF_24BPP)) {
    GrStreamRollback(stream, mark);
    return nullptr;
  }
  const BYTE* first = static_cast<const BYTE*>(src->pvScan0) + LONG(rclSrc->top) * src->lDelta;
  for (DWORD row = 0; row < rows; ++row) {
    BYTE* out = GrStreamReserve(stream, rowBytes);
    if (!out) {
      GrStreamRollback(stream, mark);
      return nullptr;
    }
    memset(out, 0, rowBytes);
    if (sf == BMF_32BPP) {
      LONG y = rclSrc->top + LONG(row * step);
      RECTL to = {0, 0, sw, 1};
      RECTL from = {rclSrc->left, y, rclSrc->right, y + 1};
      if (!EngStretchBlt(line.so(), src, nullptr, nullptr, xlate, ca, htOrg, &to, &from, nullptr, HALFTONE)) {
        GrStreamRollback(stream, mark);
        return nullptr;
      }
      const BYTE* pixels = static_cast<const BYTE*>(line.so()->pvScan0);
      for (DWORD x = 0; x < width; ++x) memcpy(out + 3 * x, pixels + 3 * (x * step), 3);
    } else {
      DWORD bytes = sf == BMF_8BPP ? 1 : 3;
      memcpy(out, first + LONG(row) * src->lDelta + rclSrc->left * LONG(bytes), width * bytes);
    }
  }
  return rec;
}
