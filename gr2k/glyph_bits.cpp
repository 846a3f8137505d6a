// Glyph rows as tokens: a header byte (bit 7 repeat, bits 3-6 the zeros before the token, bits
// 0-2 the length code), count extensions for values of 15 and 7 or more, then the data byte of a
// repeat or the bytes of a literal. Trailing zero bytes are not coded.
#include "gr2k/glyph_bits.h"

namespace {

struct Writer {
  BYTE* out;
  DWORD capacity;
  DWORD at = 0;
  bool full = false;

  void Byte(BYTE b) {
    if (at >= capacity) {
      full = true;
      return;
    }
    out[at++] = b;
  }
  // The remainder above a field's top value: 255 while 255 or more remain, then the rest.
  void Extension(DWORD rest) {
    for (; rest >= 255 && !full; rest -= 255) Byte(255);
    Byte(BYTE(rest));
  }
};

// A literal stops before a run of four equal bytes or three equal bytes that a zero follows:
// those code shorter as repeats.
bool RepeatStartsAt(const BYTE* bits, DWORD cb, DWORD k) {
  if (k + 2 >= cb || bits[k] != bits[k + 1] || bits[k] != bits[k + 2]) return false;
  return k + 3 < cb && (bits[k + 3] == bits[k] || bits[k + 3] == 0);
}

}  // namespace

LONG GlyphBitsCompress(const BYTE* bits, DWORD cb, BYTE* out, DWORD capacity) {
  if (!bits || !out) return -1;
  Writer w{out, capacity};
  DWORD i = 0;
  while (i < cb) {
    DWORD zeros = 0;
    while (i < cb && bits[i] == 0) ++zeros, ++i;
    if (i == cb) break;
    BYTE b = bits[i];
    DWORD j = i + 1;
    while (j < cb && bits[j] == b) ++j;
    bool repeat = j - i >= 3;
    DWORD count = j - i;
    if (!repeat) {
      j = i + 1;
      while (j < cb && bits[j] != 0 && !RepeatStartsAt(bits, cb, j)) ++j;
      count = j - i;
    }
    DWORD code = repeat ? count - 2 : count - 1;
    w.Byte(BYTE((repeat ? 0x80 : 0) | (zeros < 15 ? zeros : 15) << 3 | (code < 7 ? code : 7)));
    if (zeros >= 15) w.Extension(zeros - 15);
    if (code >= 7) w.Extension(code - 7);
    if (repeat) {
      w.Byte(b);
    } else {
      for (DWORD k = i; k < j && !w.full; ++k) w.Byte(bits[k]);
    }
    if (w.full) return -1;
    i = j;
  }
  return LONG(w.at);
}
