// Packed glyph rows: tokens of a header byte (bit 7 repeat, bits 3-6 zeros before, bits 0-2 the
// length code), the count extensions (bytes added while each is 255) and the data.
#include <string.h>

#include "host/job_stream/job_stream.h"

namespace {

struct Reader {
  const uint8_t* in;
  size_t cb;
  size_t at = 0;

  bool Byte(uint8_t* b) {
    if (at >= cb) return false;
    *b = in[at++];
    return true;
  }
  // Adds extension bytes to *value: each 255 says another follows.
  bool Extension(size_t* value) {
    uint8_t b = 255;
    while (b == 255) {
      if (!Byte(&b)) return false;
      *value += b;
    }
    return true;
  }
};

}  // namespace

bool JsGlyphUnpack(const uint8_t* in, size_t cb, uint8_t* out, size_t capacity) {
  if (capacity) memset(out, 0, capacity);
  Reader r{in, cb};
  size_t put = 0;
  uint8_t head = 0;
  while (r.Byte(&head)) {
    size_t zeros = (head >> 3) & 15, code = head & 7;
    if (zeros == 15 && !r.Extension(&zeros)) return false;
    if (code == 7 && !r.Extension(&code)) return false;
    bool repeat = head & 0x80;
    size_t count = repeat ? code + 2 : code + 1;
    if (zeros > capacity - put || count > capacity - put - zeros) return false;
    put += zeros;
    if (repeat) {
      uint8_t b = 0;
      if (!r.Byte(&b)) return false;
      memset(out + put, b, count);
    } else {
      if (count > cb - r.at) return false;
      memcpy(out + put, in + r.at, count);
      r.at += count;
    }
    put += count;
  }
  return true;
}
