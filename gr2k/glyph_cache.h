// The driver's mirror of the device's glyph cache: which glyphs of which font have been sent
// on this page. 1024 buckets in the PDEV, entries from its pool, a 16-bit generation that rises
// with every clear.
#pragma once
#include "gr2k/pdev.h"

struct GlyphKey {
  DWORD fontId;  // the font object's iUniq
  WORD generation;
  WORD code;
  BYTE codeKind;
};

constexpr DWORD kGlyphBuckets = 1024;

// The bucket of a key: (font id + generation + code) AND 0x3FF.
DWORD GlyphCacheBucket(const GlyphKey& key);
// TRUE when the key is in its bucket.
BOOL GlyphCacheLookup(const GraphicsPdev* pdev, const GlyphKey& key);
// Appends the key at the end of its bucket's chain; FALSE without memory or for a bucket index
// of 1024 or more.
BOOL GlyphCacheInsert(GraphicsPdev* pdev, DWORD bucket, const GlyphKey& key);
// Frees every entry, empties the buckets and adds 1 to the generation (wrapping): the device's
// cache is forgotten at each page and reset, and when the pool runs out.
void FontGlyphCacheClear(GraphicsPdev* pdev);
