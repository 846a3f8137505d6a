// The forms of text the device renders from codes or outlines: one run of codes with their
// advances (record 82), one cell per character (record 81, cell kind) and glyph outlines
// (record 81, outline kind).
#include <string.h>

#include <vector>

#include "gr2k/draw_path.h"
#include "gr2k/text_out.h"

namespace {

// Runs carry int16 advances and 16-bit counts.
constexpr LONG kMaxAdvance = 32767;
constexpr ULONG kMaxRun = 0xFFFF;

const WCHAR* Codes(const STROBJ* str) { return str->pwszOrg; }

// The string's positions as GDI gives them.
bool GatherPositions(STROBJ* str, std::vector<POINTL>* out, bool* firstBatchEmpty) {
  out->clear();
  *firstBatchEmpty = false;
  if (!str->pgp) {
    STROBJ_vEnumStart(str);
    ULONG count = 0;
    GLYPHPOS* batch = nullptr;
    BOOL more = STROBJ_bEnum(str, &count, &batch);
    if (!count || !batch) *firstBatchEmpty = true;
    ULONG index = 0;
    for (;;) {
      for (ULONG i = 0; batch && i < count && index < str->cGlyphs; ++i, ++index) out->push_back(batch[i].ptl);
      if (!more || index >= str->cGlyphs) break;
      more = STROBJ_bEnum(str, &count, &batch);
      if (!batch) break;
    }
    return true;
  }
  for (ULONG i = 0; i < str->cGlyphs; ++i) out->push_back(str->pgp[i].ptl);
  return true;
}

}  // namespace

POINTL FontPlacedAt(const STROBJ* str, const GLYPHPOS& glyph, POINTL batchFirst, ULONG inBatch) {
  if (!(str->flAccel & SO_FLAG_DEFAULT_PLACEMENT) || !str->ulCharInc || inBatch == 0) return glyph.ptl;
  long long step = (long long)inBatch * str->ulCharInc;
  if (str->flAccel & SO_HORIZONTAL) return POINTL{FontClamp32(batchFirst.x + step), batchFirst.y};
  return POINTL{batchFirst.x, FontClamp32(batchFirst.y + step)};
}

BOOL FontSendCodes(const TextCall& call, const FontSelection& sel) {
  STROBJ* str = call.str;
  PdevOutputStream* stream = &call.pdev->stream;
  const WCHAR* codes = Codes(str);
  if (!codes && str->cGlyphs) return FALSE;
  bool horizontal = !(str->flAccel & SO_VERTICAL);

  // Fixed pitch: one advance for every glyph.
  if ((str->flAccel & SO_FLAG_DEFAULT_PLACEMENT) && str->ulCharInc && str->ulCharInc <= ULONG(kMaxAdvance)) {
    SHORT advance = SHORT((str->flAccel & SO_REVERSED) ? -LONG(str->ulCharInc) : LONG(str->ulCharInc));
    POINTL start = {str->rclBkGround.left, str->rclBkGround.top};
    for (ULONG from = 0; from < str->cGlyphs || from == 0; from += kMaxRun) {
      WORD count = WORD(str->cGlyphs - from < kMaxRun ? str->cGlyphs - from : kMaxRun);
      long long along = (long long)from * advance;
      POINTL at = horizontal ? POINTL{FontClamp32(start.x + along), start.y} : POINTL{start.x, FontClamp32(start.y + along)};
      if (!GrRecGlyphCodes(stream, str->rclBkGround, at, &advance, 1, codes + from, count)) return FALSE;
      if (str->cGlyphs <= from + kMaxRun) break;
    }
    return TRUE;
  }

  std::vector<POINTL> positions;
  bool firstEmpty = false;
  if (sel.rotation == 0 && (str->flAccel & (SO_HORIZONTAL | SO_VERTICAL))) {
    GatherPositions(str, &positions, &firstEmpty);
    bool run = positions.size() == str->cGlyphs;
    std::vector<SHORT> advances(positions.size(), 0);
    for (size_t i = 0; run && i + 1 < positions.size(); ++i) {
      const POINTL &a = positions[i], &b = positions[i + 1];
      bool sameLine = horizontal ? a.y == b.y : a.x == b.x;
      long long step = horizontal ? (long long)b.x - a.x : (long long)b.y - a.y;
      if (!sameLine || step > kMaxAdvance || step < -kMaxAdvance) run = false;
      else advances[i] = SHORT(step);
    }
    if (run) {
      for (ULONG from = 0; from < str->cGlyphs || from == 0; from += kMaxRun) {
        WORD count = WORD(str->cGlyphs - from < kMaxRun ? str->cGlyphs - from : kMaxRun);
        POINTL at = {str->rclBkGround.left, str->rclBkGround.top};
        if (!(firstEmpty && from == 0) && from < positions.size())
          at = POINTL{positions[from].x, FontClamp32((long long)positions[from].y - call.sizes.ascent)};
        // The last glyph of each record has no advance.
        SHORT last = count ? advances[from + count - 1] : 0;
        if (count) advances[from + count - 1] = 0;
        BYTE* rec = GrRecGlyphCodes(stream, str->rclBkGround, at, advances.data() + from, count, codes + from, count);
        if (count) advances[from + count - 1] = last;
        if (!rec) return FALSE;
        if (str->cGlyphs <= from + kMaxRun) break;
      }
      return TRUE;
    }
    return FontSendCells(call, sel, positions.data(), ULONG(positions.size()));
  }
  return FontSendCells(call, sel, nullptr, 0);
}

BOOL FontSendCells(const TextCall& call, const FontSelection& sel, const POINTL* positions, ULONG count) {
  STROBJ* str = call.str;
  const WCHAR* codes = Codes(str);
  if (!codes && str->cGlyphs) return FALSE;
  long long a = call.sizes.ascent;
  long long across = (a * FontSin16(sel.rotation)) >> 14, down = (a * FontCos16(sel.rotation)) >> 14;
  auto cell = [&](ULONG i, POINTL p) {
    LONG left = FontClamp32(p.x - across), top = FontClamp32(p.y - down);
    RECTL r = {left, top, FontClamp32((long long)left + call.sizes.width), FontClamp32((long long)top + call.sizes.height)};
    return GrRecTextBlock(&call.pdev->stream, r, codes[i]) != nullptr;
  };
  if (positions) {
    for (ULONG i = 0; i < count && i < str->cGlyphs; ++i)
      if (!cell(i, positions[i])) return FALSE;
    return TRUE;
  }
  return FontForEachGlyph(str, [&](ULONG i, const GLYPHPOS& g, POINTL, ULONG) -> bool { return cell(i, g.ptl); });
}

BOOL FontSendOutlines(const TextCall& call) {
  STROBJ* str = call.str;
  GraphicsPdev* pdev = call.pdev;
  const WCHAR* codes = Codes(str);
  if (!codes && str->cGlyphs) return FALSE;
  return FontForEachGlyph(str, [&](ULONG i, const GLYPHPOS& g, POINTL first, ULONG inBatch) -> bool {
    HGLYPH hg = g.hg;
    PATHOBJ* path = nullptr;
    if (FONTOBJ_cGetGlyphs(call.font, FO_PATHOBJ, 1, &hg, reinterpret_cast<PVOID*>(&path)) != 1 || !path)
      return FALSE;
    RECTFX b;
    PATHOBJ_vGetBounds(path, &b);
    POINTL at = FontPlacedAt(str, g, first, inBatch);
    LONG left = FontClamp32((long long)at.x + (b.xLeft >> 4)), top = FontClamp32((long long)at.y + (b.yTop >> 4));
    RECTL cell = {left, top, FontClamp32((long long)left + ((long long)b.xRight - b.xLeft) / 16),
                  FontClamp32((long long)top + ((long long)b.yBottom - b.yTop) / 16)};
    // The buffer the curves ask for; the encoder checks the path's own points against it, so a
    // count that claims too little gives no outline rather than a write beyond the buffer.
    unsigned long long cb = 40ull * path->cCurves + 16;
    if (cb > 0x7FFFFFF0ull) {
      SetLastError(ERROR_NOT_ENOUGH_MEMORY);
      return FALSE;
    }
    BYTE* buffer = static_cast<BYTE*>(PdevPoolAlloc(pdev->pool, DWORD(cb)));
    if (!buffer) {
      SetLastError(ERROR_NOT_ENOUGH_MEMORY);
      return FALSE;
    }
    DWORD used = GrEncodeOutline(pdev, path, nullptr, buffer, DWORD(cb), -b.xLeft, -b.yTop);
    bool ok = !used || GrRecTextOutline(&pdev->stream, cell, codes[i], buffer, used) != nullptr;
    PdevPoolFree(pdev->pool, buffer);
    return ok ? TRUE : FALSE;
  });
}
