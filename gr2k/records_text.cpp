// The text records. Both builds run on little-endian x86, so multi-byte fields are stored as
// they lie in memory.
#include "gr2k/records_text.h"

#include <string.h>

#include "gr2k/record_bytes.h"
#include "gr2k/stream.h"

namespace {

WORD SelectionFlags(const FontSelection& sel) {
  WORD flags = 0;
  if (sel.italic) flags |= 0x01;
  if (sel.bold) flags |= 0x02;
  if (sel.embolden) flags |= 0x20;
  if (sel.kind == 1) flags |= 0x04;
  if (sel.kind == kFontKindCodes) flags |= 0x08;
  if (sel.kind == 3 || sel.codeKind == kCodeKindGlyphIndex) flags |= 0x10;
  if (sel.kind == kFontKindGlyphs) flags |= 0x200;
  if (sel.vertical) flags |= 0x80;
  if (sel.reserved == 1) flags |= 0x40;
  if (sel.kind != kFontKindCodes) flags |= 0x2000;
  return flags;
}

// 2-byte units of the face name before its zero unit; the field's zero fill bounds it.
DWORD NameUnits(const char* name) {
  DWORD units = 0;
  while (units < kFontNameBytes / 2 && (name[2 * units] || name[2 * units + 1])) ++units;
  return units;
}

// Bytes 4 to 23, shared by records 80 and 86.
void PutSelection(BYTE* rec, const FontSelection& sel, WORD length) {
  RecPut<WORD>(rec + 4, SelectionFlags(sel));
  RecPut<SHORT>(rec + 6, sel.weight);
  RecPut<SHORT>(rec + 8, sel.rotation);
  RecPut<SHORT>(rec + 10, sel.width);
  RecPut<SHORT>(rec + 12, sel.height);
  RecPut<WORD>(rec + 14, length);
  RecPut<DWORD>(rec + 16, 0);
  RecPut<SHORT>(rec + 20, sel.leading);
  RecPut<WORD>(rec + 22, sel.defaultChar);
}

BYTE* FontRecord(PdevOutputStream* stream, const FontSelection& sel, BYTE opcode, DWORD nameAt) {
  DWORD units = NameUnits(sel.faceName);
  WORD length = WORD((2 * units + nameAt + 4) & ~3u);
  BYTE* rec = GrStreamReserve(stream, length);
  if (!rec) return nullptr;
  memset(rec, 0, length);
  rec[0] = opcode;
  if (opcode == kRecFontSelect) {
    rec[2] = sel.charset;
    rec[3] = sel.pitchAndFamily;
  } else {
    rec[1] = sel.charset;
    rec[2] = sel.pitchAndFamily;
  }
  PutSelection(rec, sel, length);
  memcpy(rec + nameAt, sel.faceName, 2 * units);
  return rec;
}

}  // namespace

BYTE* GrRecFontSelect(PdevOutputStream* stream, const FontSelection& sel) {
  return FontRecord(stream, sel, kRecFontSelect, 24);
}

BYTE* GrRecDownloadFont(PdevOutputStream* stream, const FontSelection& sel) {
  return FontRecord(stream, sel, kRecDownloadFont, 32);
}

BYTE* GrRecTextBlock(PdevOutputStream* stream, const RECTL& cell, WCHAR code) {
  BYTE* rec = GrStreamReserve(stream, 36);
  if (!rec) return nullptr;
  memset(rec, 0, 36);
  rec[0] = kRecTextBlock;
  RecPut<DWORD>(rec + 4, 36);
  RecPutRect(rec + 8, cell);
  RecPut<LONG>(rec + 24, cell.left);
  RecPut<LONG>(rec + 28, cell.top);
  RecPut<WORD>(rec + 32, code);
  return rec;
}

BYTE* GrRecTextOutline(PdevOutputStream* stream, const RECTL& bounds, WCHAR code, const BYTE* data, DWORD cb) {
  if (cb > 0xFFFFFF00u) return nullptr;
  DWORD length = (cb + 39) & ~3u;
  BYTE* rec = GrStreamReserve(stream, length);
  if (!rec) return nullptr;
  memset(rec, 0, length);
  rec[0] = kRecTextBlock;
  rec[2] = 1;
  RecPut<DWORD>(rec + 4, length);
  RecPutRect(rec + 8, bounds);
  RecPut<LONG>(rec + 24, bounds.left);
  RecPut<LONG>(rec + 28, bounds.top);
  RecPut<WORD>(rec + 32, code);
  memcpy(rec + 36, data, cb);
  return rec;
}

BYTE* GrRecGlyphCodes(PdevOutputStream* stream, const RECTL& background, POINTL start, const SHORT* advances,
                      DWORD advanceCount, const WCHAR* codes, WORD count) {
  if (advanceCount > count && advanceCount != 1) return nullptr;
  DWORD data = advanceCount * 2 + DWORD(count) * 2;
  DWORD length = ((data + 3) & ~3u) + 36;
  BYTE* rec = GrStreamReserve(stream, length);
  if (!rec) return nullptr;
  memset(rec, 0, length);
  rec[0] = kRecGlyphCodes;
  rec[2] = advanceCount == count ? 0x80 : 0;
  RecPut<DWORD>(rec + 4, length);
  RecPutRect(rec + 8, background);
  RecPut<LONG>(rec + 24, start.x);
  RecPut<LONG>(rec + 28, start.y);
  RecPut<WORD>(rec + 32, count);
  memcpy(rec + 36, advances, advanceCount * 2);
  memcpy(rec + 36 + advanceCount * 2, codes, DWORD(count) * 2);
  return rec;
}

BYTE* GrRecGlyphBitmap(PdevOutputStream* stream, BYTE opcode, BYTE flags, const RECTL& box, POINTL reference,
                       POINTL corner, const GlyphImage& glyph) {
  DWORD cb = glyph.bits ? glyph.cbBits : 0;
  if (cb > 0xFFFF0000u) return nullptr;
  DWORD length = ((cb + 3) & ~3u) + 64;
  BYTE* rec = GrStreamReserve(stream, length);
  if (!rec) return nullptr;
  memset(rec, 0, length);
  rec[0] = opcode;
  rec[2] = flags;
  RecPut<DWORD>(rec + 4, length);
  RecPutRect(rec + 8, box);
  RecPut<LONG>(rec + 24, reference.x);
  RecPut<LONG>(rec + 28, reference.y);
  RecPut<DWORD>(rec + 32, cb ? 64 : 0);
  RecPut<LONG>(rec + 36, corner.x);
  RecPut<LONG>(rec + 40, corner.y);
  RecPut<DWORD>(rec + 44, glyph.width);
  RecPut<DWORD>(rec + 48, glyph.height);
  RecPut<DWORD>(rec + 52, cb);
  RecPut<WORD>(rec + 60, glyph.code);
  rec[62] = glyph.compression;
  if (cb) memcpy(rec + 64, glyph.bits, cb);
  return rec;
}

BYTE* GrRecCachedGlyph(PdevOutputStream* stream, BYTE flags, const GlyphImage& glyph) {
  if (!glyph.bits || !glyph.cbBits || glyph.cbBits > 0xFFFF0000u) return nullptr;
  DWORD length = ((glyph.cbBits + 3) & ~3u) + 28;
  BYTE* rec = GrStreamReserve(stream, length);
  if (!rec) return nullptr;
  memset(rec, 0, length);
  rec[0] = kRecGlyphDownload;
  rec[2] = flags;
  RecPut<DWORD>(rec + 4, length);
  RecPut<DWORD>(rec + 8, glyph.cbBits);
  RecPut<DWORD>(rec + 12, glyph.width);
  RecPut<DWORD>(rec + 16, glyph.height);
  RecPut<WORD>(rec + 24, glyph.code);
  rec[26] = glyph.compression;
  memcpy(rec + 28, glyph.bits, glyph.cbBits);
  return rec;
}

BYTE* GrRecGlyphRun(PdevOutputStream* stream, const RECTL& background, BYTE flags, POINTL start,
                    const GlyphRunItem* items, WORD count) {
  DWORD length = 36 + ((DWORD(count) * 6 + 3) & ~3u);
  BYTE* rec = GrStreamReserve(stream, length);
  if (!rec) return nullptr;
  memset(rec, 0, length);
  rec[0] = kRecGlyphRun;
  rec[2] = flags;
  RecPut<DWORD>(rec + 4, length);
  RecPutRect(rec + 8, background);
  RecPut<LONG>(rec + 24, start.x);
  RecPut<LONG>(rec + 28, start.y);
  RecPut<WORD>(rec + 32, count);
  memcpy(rec + 36, items, DWORD(count) * 6);
  return rec;
}
