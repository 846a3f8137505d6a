// Fuzz target: any bytes as glyph rows. The driver's packer packs them into a buffer of the
// rows' size rounded up to 4 (as the glyph senders do); when it packs, the reader's unpacker must
// give the rows back into an output of exactly their size. A first byte of 0x80 or more packs
// into a capacity of its low bits instead, so the capacity edge is reached as well. Any bytes
// also go straight to the unpacker.
#include <stddef.h>
#include <stdint.h>
#include <stdlib.h>
#include <string.h>

#include <vector>

#include "gr2k/glyph_bits.h"
#include "host/job_stream/job_stream.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size > 0x20000) return 0;
  std::vector<uint8_t> rows(data, data + size);
  size_t capacity = (size + 3) & ~size_t(3);
  if (size && data[0] >= 0x80) capacity = data[0] & 0x7F;
  // Exactly the capacity, so a write at or beyond it is a sanitizer report.
  uint8_t* packed = static_cast<uint8_t*>(malloc(capacity ? capacity : 1));
  LONG n = GlyphBitsCompress(rows.data(), DWORD(size), packed, DWORD(capacity));
  if (n > LONG(capacity)) abort();
  if (n > 0) {
    uint8_t* back = static_cast<uint8_t*>(malloc(size ? size : 1));
    if (!JsGlyphUnpack(packed, size_t(n), back, size) || memcmp(back, rows.data(), size) != 0) abort();
    free(back);
  } else if (n == 0) {
    for (uint8_t b : rows)
      if (b) abort();
  }
  free(packed);
  std::vector<uint8_t> out(64);
  JsGlyphUnpack(data, size, out.data(), out.size());
  return 0;
}
