// Text as glyph bitmaps: one record per glyph (83 naming the device's cache, 87 for this use
// only), or each glyph downloaded once per page (84) and the text placed by one run (85). The
// driver's mirror of the device's cache says what has been sent; a glyph enters it only once its
// record is written, so a run never names a glyph the printer did not get.
#include <string.h>

#include "gr2k/glyph_bits.h"
#include "gr2k/glyph_cache.h"
#include "gr2k/text_out.h"

namespace {

// Glyph images above this many bytes are not sent (no engine hands out such glyphs).
constexpr unsigned long long kGlyphBytesLimit = 1u << 24;

// The bits of one glyph as the records carry them, from the PDEV pool.
struct GlyphBitsOut {
  BYTE* buffer = nullptr;
  GlyphImage image = {};
};

enum class Built { Ok, NoBits, NoMemory };

// Rows padded to bytes, packed when the packer gives 1 to 65,535 bytes, else raw.
Built BuildBits(GraphicsPdev* pdev, WORD code, const GLYPHBITS* gb, GlyphBitsOut* out) {
  *out = GlyphBitsOut();
  LONG cx = gb->sizlBitmap.cx, cy = gb->sizlBitmap.cy;
  if (cx <= 0 || cy <= 0) return Built::NoBits;
  unsigned long long rowBytes = (unsigned long long)(cx + 7ull) / 8, size = rowBytes * (unsigned long long)cy;
  if (size > kGlyphBytesLimit) return Built::NoBits;
  DWORD capacity = DWORD((size + 3) & ~3ull);
  BYTE* buffer = static_cast<BYTE*>(PdevPoolAlloc(pdev->pool, capacity));
  if (!buffer) return Built::NoMemory;
  memset(buffer, 0, capacity);
  LONG packed = GlyphBitsCompress(gb->aj, DWORD(size), buffer, capacity);
  BYTE compression = kGlyphPacked;
  DWORD cb = DWORD(packed);
  if (packed <= 0 || packed > 0xFFFF) {
    memset(buffer, 0, capacity);
    memcpy(buffer, gb->aj, size_t(size));
    compression = kGlyphRaw;
    cb = DWORD(size);
  }
  out->buffer = buffer;
  out->image = GlyphImage{code, DWORD(cx), DWORD(cy), buffer, cb, compression};
  return Built::Ok;
}

GLYPHBITS* BitsOf(FONTOBJ* font, HGLYPH hg) {
  GLYPHDATA* gd = nullptr;
  if (FONTOBJ_cGetGlyphs(font, FO_GLYPHBITS, 1, &hg, reinterpret_cast<PVOID*>(&gd)) != 1 || !gd) return nullptr;
  return gd->gdf.pgb;
}

BYTE GlyphFlags(const STROBJ* str) { return (str->flAccel & SO_GLYPHINDEX_TEXTOUT) ? kGlyphFlagIndex : kGlyphFlagChar; }

GlyphKey KeyOf(const TextCall& call, const FontSelection& sel, WORD code) {
  return GlyphKey{call.font->iUniq, WORD(call.pdev->glyphGeneration), code, sel.codeKind};
}

bool IsEudc(const char* name) { return strcmp(name, "EUDC") == 0; }

}  // namespace

BOOL FontSendBitmapText(const TextCall& call, const FontSelection& sel) {
  bool cacheable = !IsEudc(sel.familyName) && !IsEudc(sel.faceName) && !FontMirrored(call.xform);
  if (!cacheable || sel.rotation || (call.str->flAccel & SO_VERTICAL))
    return FontSendGlyphImages(call, sel, cacheable ? TRUE : FALSE);
  return FontSendDownloaded(call, sel);
}

BOOL FontSendGlyphImages(const TextCall& call, const FontSelection& sel, BOOL cached) {
  GraphicsPdev* pdev = call.pdev;
  STROBJ* str = call.str;
  if (!str->pwszOrg && str->cGlyphs) return FALSE;
  long long a = call.sizes.ascent;
  long long across = (a * FontSin16(sel.rotation)) >> 14, down = (a * FontCos16(sel.rotation)) >> 14;
  BYTE flags = GlyphFlags(str);
  return FontForEachGlyph(str, [&](ULONG i, const GLYPHPOS& g, POINTL, ULONG) -> bool {
    WORD code = str->pwszOrg[i];
    GLYPHBITS* gb = BitsOf(call.font, g.hg);
    if (!gb) return TRUE;  // a glyph the engine cannot give is left out
    RECTL box = {FontClamp32((long long)g.ptl.x + gb->ptlOrigin.x), FontClamp32((long long)g.ptl.y + gb->ptlOrigin.y), 0, 0};
    box.right = FontClamp32((long long)box.left + gb->sizlBitmap.cx);
    box.bottom = FontClamp32((long long)box.top + gb->sizlBitmap.cy);
    POINTL reference = {FontClamp32(g.ptl.x - across), FontClamp32(g.ptl.y - down)};
    GlyphKey key = KeyOf(call, sel, code);
    if (cached && GlyphCacheLookup(pdev, key)) {
      GlyphImage none = {code, DWORD(gb->sizlBitmap.cx), DWORD(gb->sizlBitmap.cy), nullptr, 0, kGlyphRaw};
      return GrRecGlyphBitmap(&pdev->stream, kRecGlyphCached, BYTE(flags | kGlyphFlagNoBits), box, reference, g.ptl,
                              none) != nullptr;
    }
    GlyphBitsOut bits;
    Built built = BuildBits(pdev, code, gb, &bits);
    if (built == Built::NoMemory) {
      // The pool is full: the cache's entries make room, once.
      FontGlyphCacheClear(pdev);
      key = KeyOf(call, sel, code);
      built = BuildBits(pdev, code, gb, &bits);
      if (built == Built::NoMemory) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return FALSE;
      }
    }
    if (built == Built::NoBits) return TRUE;
    BYTE* rec = GrRecGlyphBitmap(&pdev->stream, cached ? kRecGlyphCached : kRecGlyphOnce, flags, box, reference, g.ptl,
                                 bits.image);
    PdevPoolFree(pdev->pool, bits.buffer);
    if (!rec) return FALSE;
    if (cached && !GlyphCacheInsert(pdev, GlyphCacheBucket(key), key)) FontGlyphCacheClear(pdev);
    return TRUE;
  });
}

BOOL FontDownloadGlyphs(const TextCall& call, const FontSelection& sel) {
  GraphicsPdev* pdev = call.pdev;
  STROBJ* str = call.str;
  if (!str->pwszOrg && str->cGlyphs) return FALSE;
  BYTE flags = GlyphFlags(str);
  return FontForEachGlyph(str, [&](ULONG i, const GLYPHPOS& g, POINTL, ULONG) -> bool {
    WORD code = str->pwszOrg[i];
    GlyphKey key = KeyOf(call, sel, code);
    if (GlyphCacheLookup(pdev, key)) return TRUE;
    GLYPHBITS* gb = BitsOf(call.font, g.hg);
    if (!gb) return TRUE;
    GlyphBitsOut bits;
    Built built = BuildBits(pdev, code, gb, &bits);
    if (built == Built::NoBits) return TRUE;
    if (built == Built::NoMemory) return FALSE;
    BYTE* rec = GrRecCachedGlyph(&pdev->stream, flags, bits.image);
    PdevPoolFree(pdev->pool, bits.buffer);
    return rec && GlyphCacheInsert(pdev, GlyphCacheBucket(key), key);
  });
}

BOOL FontSendDownloaded(const TextCall& call, const FontSelection& sel) {
  GraphicsPdev* pdev = call.pdev;
  STROBJ* str = call.str;
  if (!FontDownloadGlyphs(call, sel)) {
    // The device may hold part of the download: forget it all and send every glyph with its bits.
    FontGlyphCacheClear(pdev);
    return FontSendGlyphImages(call, sel, FALSE);
  }
  ULONG count = str->cGlyphs;
  unsigned long long cb = ((unsigned long long)count * sizeof(GlyphRunItem) + 3) & ~3ull;
  GlyphRunItem* items = static_cast<GlyphRunItem*>(cb && cb < 0x7FFFFFF0ull ? PdevPoolAlloc(pdev->pool, DWORD(cb)) : nullptr);
  if (!items) {
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return FALSE;
  }
  // Each item steps from the previous glyph with bits; a step beyond 16 bits cannot be a run.
  POINTL start = {str->rclBkGround.left, str->rclBkGround.top}, previous = start;
  bool placed = false, fits = true;
  ULONG written = 0;
  FontForEachGlyph(str, [&](ULONG i, const GLYPHPOS& g, POINTL first, ULONG inBatch) -> bool {
    GlyphRunItem item = {0, 0, str->pwszOrg ? WORD(str->pwszOrg[i]) : WORD(g.hg)};
    GLYPHBITS* gb = BitsOf(call.font, g.hg);
    if (gb && gb->sizlBitmap.cx > 0 && gb->sizlBitmap.cy > 0) {
      POINTL at = FontPlacedAt(str, g, first, inBatch);
      POINTL point = {FontClamp32((long long)at.x + gb->ptlOrigin.x), FontClamp32((long long)at.y + gb->ptlOrigin.y)};
      if (!placed && i == 0) {
        start = point;
      } else {
        long long dx = (long long)point.x - previous.x, dy = (long long)point.y - previous.y;
        fits = fits && dx >= -32768 && dx <= 32767 && dy >= -32768 && dy <= 32767;
        item.dx = SHORT(dx), item.dy = SHORT(dy);
      }
      placed = true;
      previous = point;
    }
    items[written++] = item;
    return TRUE;
  });
  BOOL ok = TRUE;
  if (!fits) {
    // Steps a run cannot carry: every glyph is in the cache now, so each is named by record 83.
    PdevPoolFree(pdev->pool, items);
    return FontSendGlyphImages(call, sel, TRUE);
  }
  // Runs of at most 65,535 glyphs; each later run starts where its first glyph lies.
  POINTL at = start;
  for (ULONG from = 0; ok && (from < written || from == 0); from += 0xFFFF) {
    WORD n = WORD(written - from < 0xFFFF ? written - from : 0xFFFF);
    if (from) {
      for (ULONG k = from - 0xFFFF + 1; k <= from; ++k)
        at = POINTL{FontClamp32((long long)at.x + items[k].dx), FontClamp32((long long)at.y + items[k].dy)};
      items[from].dx = items[from].dy = 0;
    }
    ok = GrRecGlyphRun(&pdev->stream, str->rclBkGround, GlyphFlags(str), at, items + from, n) != nullptr;
    if (written <= from + 0xFFFF) break;
  }
  PdevPoolFree(pdev->pool, items);
  return ok;
}
