// Checks of the device-font resources before the driver copies and uses them.
#include "gr2k/font_resources.h"

#include <string.h>

namespace {

ULONG U32At(const BYTE* p) {
  ULONG v;
  memcpy(&v, p, sizeof v);
  return v;
}

// True when [offset, offset + size) lies inside total bytes.
bool Fits(unsigned long long offset, unsigned long long size, unsigned long long total) {
  return offset <= total && size <= total - offset;
}

// A NUL-terminated ANSI string at offset, ending before end.
bool AnsiStringFits(const BYTE* base, ULONG offset, ULONG end) {
  return offset < end && memchr(base + offset, 0, end - offset) != nullptr;
}

// A NUL-terminated UTF-16 name at offset (from the metrics' start) inside its cjThis bytes.
bool NameFits(const BYTE* metrics, LONG_PTR offset, ULONG cjThis) {
  if (offset < LONG_PTR(sizeof(IFIMETRICS)) || offset % 2 || ULONG(offset) >= cjThis) return false;
  for (ULONG at = ULONG(offset); at + 2 <= cjThis; at += 2)
    if (metrics[at] == 0 && metrics[at + 1] == 0) return true;
  return false;
}

}  // namespace

ULONG FontCheckResource(const BYTE* resource, ULONG cb) {
  if (!resource || cb < kFontHeaderBytes + sizeof(IFIMETRICS)) return 0;
  ULONG total = U32At(resource);
  ULONG ifiOffset = U32At(resource + 4);
  if (total > cb || ifiOffset < kFontHeaderBytes || ifiOffset % 4 || !Fits(ifiOffset, sizeof(IFIMETRICS), total))
    return 0;
  IFIMETRICS ifi;
  memcpy(&ifi, resource + ifiOffset, sizeof ifi);
  if (ifi.cjThis < sizeof(IFIMETRICS) || !Fits(ifiOffset, ifi.cjThis, total)) return 0;
  const BYTE* metrics = resource + ifiOffset;
  const LONG_PTR names[] = {ifi.dpwszFamilyName, ifi.dpwszStyleName, ifi.dpwszFaceName, ifi.dpwszUniqueName};
  for (LONG_PTR name : names)
    if (!NameFits(metrics, name, ifi.cjThis)) return 0;
  // The engine may follow these two as well: none, or inside the record.
  if ((ifi.dpFontSim && !Fits(ULONG_PTR(ifi.dpFontSim), 1, ifi.cjThis)) ||
      (ifi.dpCharSets && !Fits(ULONG_PTR(ifi.dpCharSets), 1, ifi.cjThis)))
    return 0;
  if (ifi.fwdUnitsPerEm <= 0) return 0;
  for (int i = 0; i < kFontStringCount; ++i)
    if (!AnsiStringFits(resource, U32At(resource + kFontStringOffsets + 4 * i), total)) return 0;
  return total;
}

IFIMETRICS* FontResourceMetrics(BYTE* resource) {
  return reinterpret_cast<IFIMETRICS*>(resource + U32At(resource + 4));
}

const char* FontResourceString(const BYTE* resource, int index) {
  if (index < 0 || index >= kFontStringCount) return nullptr;
  return reinterpret_cast<const char*>(resource + U32At(resource + kFontStringOffsets + 4 * index));
}

ULONG FontCheckGlyphSet(const BYTE* glyphSet, ULONG cb) {
  constexpr ULONG kHeader = offsetof(FD_GLYPHSET, awcrun);
  if (!glyphSet || cb < kHeader) return 0;
  ULONG cjThis = U32At(glyphSet), glyphs = U32At(glyphSet + 8), runs = U32At(glyphSet + 12);
  ULONG limit = cjThis < cb ? cjThis : cb;
  if (!Fits(kHeader, 8ull * runs, limit)) return 0;
  unsigned long long sum = 0;
  for (ULONG r = 0; r < runs; ++r) {
    const BYTE* run = glyphSet + kHeader + 8 * r;
    ULONG low = ULONG(run[0] | (run[1] << 8)), count = ULONG(run[2] | (run[3] << 8));
    if (low + count > 0x10000) return 0;
    sum += count;
  }
  unsigned long long used = kHeader + 8ull * runs + 4 * sum;
  if (sum != glyphs || used > limit) return 0;
  return ULONG(used);
}

void FontRebuildRuns(FD_GLYPHSET* glyphSet) {
  HGLYPH* next = reinterpret_cast<HGLYPH*>(reinterpret_cast<BYTE*>(glyphSet) + offsetof(FD_GLYPHSET, awcrun) +
                                           sizeof(WCRUN) * glyphSet->cRuns);
  WCRUN* runs = glyphSet->awcrun;
  for (ULONG r = 0; r < glyphSet->cRuns; ++r) {
    runs[r].phg = next;
    next += runs[r].cGlyphs;
  }
}

LONG FontGlyphWidth(const IFIMETRICS* metrics, HGLYPH glyph) {
  bool half = glyph < 0x100 || glyph == 0x8640 || (glyph >> 8) == 0x85;
  return half ? metrics->fwdAveCharWidth : metrics->fwdMaxCharInc;
}
