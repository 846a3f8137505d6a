// The glyph cache's buckets: singly linked chains of pool entries.
#include "gr2k/glyph_cache.h"

namespace {

struct GlyphEntry {
  DWORD fontId;
  WORD generation;
  WORD code;
  BYTE codeKind;
  GlyphEntry* next;
};

GlyphEntry* Head(const GraphicsPdev* pdev, DWORD bucket) { return static_cast<GlyphEntry*>(pdev->glyphCache[bucket]); }

}  // namespace

DWORD GlyphCacheBucket(const GlyphKey& key) { return (key.fontId + key.generation + key.code) & 0x3FF; }

BOOL GlyphCacheLookup(const GraphicsPdev* pdev, const GlyphKey& key) {
  for (const GlyphEntry* e = Head(pdev, GlyphCacheBucket(key)); e; e = e->next)
    if (e->fontId == key.fontId && e->generation == key.generation && e->code == key.code &&
        e->codeKind == key.codeKind)
      return TRUE;
  return FALSE;
}

BOOL GlyphCacheInsert(GraphicsPdev* pdev, DWORD bucket, const GlyphKey& key) {
  if (bucket >= kGlyphBuckets) return FALSE;
  GlyphEntry* entry = static_cast<GlyphEntry*>(PdevPoolAlloc(pdev->pool, sizeof(GlyphEntry)));
  if (!entry) return FALSE;
  *entry = GlyphEntry{key.fontId, key.generation, key.code, key.codeKind, nullptr};
  GlyphEntry** link = reinterpret_cast<GlyphEntry**>(&pdev->glyphCache[bucket]);
  while (*link) link = &(*link)->next;
  *link = entry;
  return TRUE;
}

void FontGlyphCacheClear(GraphicsPdev* pdev) {
  for (DWORD b = 0; b < kGlyphBuckets; ++b) {
    GlyphEntry* e = Head(pdev, b);
    while (e) {
      GlyphEntry* next = e->next;
      PdevPoolFree(pdev->pool, e);
      e = next;
    }
    pdev->glyphCache[b] = nullptr;
  }
  pdev->glyphGeneration = SHORT(WORD(pdev->glyphGeneration) + 1);
}
