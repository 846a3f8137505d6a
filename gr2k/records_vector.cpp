// The drawing records of vector mode. Both builds run on little-endian x86, so multi-byte
// fields are stored as they lie in memory.
#include "gr2k/records_vector.h"

#include <string.h>

#include "gr2k/record_bytes.h"
#include "gr2k/records.h"
#include "gr2k/stream.h"

namespace {

void PutColour(BYTE* at, DWORD colour) {
  at[0] = BYTE(colour);
  at[1] = BYTE(colour >> 8);
  at[2] = BYTE(colour >> 16);
}

}  // namespace

BYTE* GrRecRect(PdevOutputStream* stream, BYTE kind, const RECTL& rect) {
  bool clipKind = kind == 5 || kind == 6;
  DWORD length = clipKind ? 24 : 40;
  BYTE* rec = GrStreamReserve(stream, length);
  if (!rec) return nullptr;
  rec[0] = kRecRect;
  rec[1] = 0;
  rec[2] = kind;
  rec[3] = 0;
  RecPut<DWORD>(rec + 4, length);
  RecPutRect(rec + 8, rect);
  if (!clipKind) RecPutRect(rec + 24, rect);
  return rec;
}

BYTE* GrRecColor(PdevOutputStream* stream, const ColourState& colour) {
  BYTE flags = 0x01;
  DWORD count = 1;
  if (colour.mode == 2) flags |= 0x08, ++count;
  if (colour.hasThird) flags |= 0x10, ++count;
  if (colour.use == 2) flags |= 0x40;
  if (colour.hostIcm) flags |= 0x80;
  DWORD length = (4 + 3 * count + 3) & ~3u;
  BYTE* rec = GrStreamReserve(stream, length);
  if (!rec) return nullptr;
  memset(rec, 0, length);
  rec[0] = kRecColour;
  rec[1] = BYTE(length);
  rec[2] = flags;
  BYTE* at = rec + 4;
  PutColour(at, colour.foreground);
  at += 3;
  if (flags & 0x08) {
    PutColour(at, colour.background);
    at += 3;
  }
  if (flags & 0x10) PutColour(at, colour.third);
  return rec;
}

BYTE* GrRecMode(PdevOutputStream* stream, BYTE mode) { return GrRecSmall(stream, kRecMode, mode); }

BYTE* GrRecLineAttr(PdevOutputStream* stream, BYTE unit, SHORT width, DWORD pattern) {
  BYTE* rec = GrStreamReserve(stream, 8);
  if (!rec) return nullptr;
  rec[0] = kRecLineAttr;
  rec[1] = unit;
  RecPut<SHORT>(rec + 2, width);
  RecPut<DWORD>(rec + 4, pattern);
  return rec;
}

BYTE* GrRecLineOffset(PdevOutputStream* stream, BYTE offset) { return GrRecSmall(stream, kRecLineOffset, offset); }
BYTE* GrRecLineCap(PdevOutputStream* stream, BYTE cap) { return GrRecSmall(stream, kRecLineCap, cap); }

BYTE* GrRecLineJoin(PdevOutputStream* stream, BYTE join, DWORD miter) {
  BYTE* rec = GrStreamReserve(stream, 8);
  if (!rec) return nullptr;
  rec[0] = kRecLineJoin;
  rec[1] = join;
  rec[2] = rec[3] = 0;
  RecPut<DWORD>(rec + 4, miter);
  return rec;
}

BYTE* GrRecPattern(PdevOutputStream* stream, const RealizedBrush* brush) {
  if (!brush) return nullptr;
  DWORD count = 0;
  BYTE flags = 0;
  if (brush->kind == kBrushSolid) {
    count = 0;
  } else if (brush->kind == kBrushMono || brush->kind == kBrushColour) {
    if (brush->bitsPerPixel == 1) {
      count = DWORD(brush->size) * brush->size / 8;
    } else if (brush->bitsPerPixel == 24) {
      count = DWORD(brush->size) * brush->size * 3;
      flags |= 0x01;
    } else {
      return nullptr;
    }
    flags |= 0x80;
  } else {
    return nullptr;
  }
  if (brush->hostIcm) flags |= 0x40;
  // The data length is a 16-bit field: a realisation never holds more than 64 x 64 x 3.
  if (count > 0xFFFF) return nullptr;
  DWORD length = (6 + count + 3) & ~3u;
  BYTE* rec = GrStreamReserve(stream, length);
  if (!rec) return nullptr;
  rec[0] = kRecPattern;
  rec[1] = flags;
  rec[2] = BYTE(brush->size == 16 || brush->size == 32 || brush->size == 64 ? brush->size : 0);
  rec[3] = 1;
  RecPut<WORD>(rec + 4, WORD(count));
  if (count) memcpy(rec + 6, BrushPattern(brush), count);
  memset(rec + 6 + count, 0, length - 6 - count);
  return rec;
}
