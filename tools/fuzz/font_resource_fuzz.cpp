// Fuzz target: any bytes as a device-font resource and as a glyph-set resource of zemsgr's
// resource image. The checks either refuse them or accept only what lies inside the bytes: the
// accepted metrics, names and strings are read whole, and an accepted glyph set gets its runs
// rebuilt and every handle read; a crash or a sanitizer report is a finding. Both readers
// see every input; the test command seeds it from the build's generated resources.
#include <stdint.h>
#include <string.h>

#include <vector>

#include "gr2k/font_resources.h"

namespace {

unsigned ReadFont(const BYTE* data, ULONG size) {
  // A private copy, aligned as the driver's pool copy is.
  std::vector<ULONG> store(size / 4 + 1);
  BYTE* copy = reinterpret_cast<BYTE*>(store.data());
  memcpy(copy, data, size);
  ULONG used = FontCheckResource(copy, size);
  if (!used) return 0;
  unsigned sum = 0;
  IFIMETRICS* m = FontResourceMetrics(copy);
  const BYTE* base = reinterpret_cast<const BYTE*>(m);
  for (PTRDIFF name : {m->dpwszFamilyName, m->dpwszStyleName, m->dpwszFaceName, m->dpwszUniqueName})
    for (const BYTE* p = base + name; p[0] || p[1]; p += 2) sum += p[0];
  for (int i = 0; i < kFontStringCount; ++i)
    for (const char* s = FontResourceString(copy, i); *s; ++s) sum += BYTE(*s);
  for (HGLYPH g : {0x41u, 0x8540u, 0x8260u}) sum += unsigned(FontGlyphWidth(m, g));
  return sum;
}

unsigned ReadGlyphSet(const BYTE* data, ULONG size) {
  ULONG used = FontCheckGlyphSet(data, size);
  if (!used) return 0;
  std::vector<ULONG> store(used / 4 + 1);
  memcpy(store.data(), data, used);
  FD_GLYPHSET* set = reinterpret_cast<FD_GLYPHSET*>(store.data());
  FontRebuildRuns(set);
  unsigned sum = 0;
  const WCRUN* runs = set->awcrun;
  for (ULONG r = 0; r < set->cRuns; ++r)
    for (ULONG g = 0; g < runs[r].cGlyphs; ++g) sum += runs[r].phg[g];
  return sum;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, size_t size) {
  if (size < 1 || size > (1u << 20)) return 0;
  volatile unsigned sum = 0;
  sum = sum + ReadFont(data, ULONG(size)) + ReadGlyphSet(data, ULONG(size));
  return 0;
}
