// The printer-resident fonts the PDEV offers the engine: their list in the PDEV pool, loaded
// from the DLL's resources, and the glyph sets loaded on first query.
#pragma once
#include "gr2k/pdev.h"

constexpr ULONG kDeviceFontCount = 4;
constexpr int kGlyphSetRows = 6;

// A row of the glyph-set table: the name a font resource gives, its character set and the
// loaded glyph set (null until first use; rows 0 and 1 share one copy).
struct GlyphSetRow {
  const char* name;
  DWORD charset;
  FD_GLYPHSET* glyphSet;
};

struct DeviceFontEntry {
  DWORD glyphSetIndex;
  BYTE* resource;  // the checked copy of the font resource
};

struct DeviceFontList {
  DWORD count;
  HMODULE module;
  GlyphSetRow glyphSets[kGlyphSetRows];
  DeviceFontEntry fonts[kDeviceFontCount];
};

// Loads the four font resources of the module into the PDEV pool. *count is set to 4 first;
// null when a resource is missing, short or inconsistent, or the pool is exhausted (nothing of
// the list is left in the pool then).
DeviceFontList* FontLoadDeviceFonts(GraphicsPdev* pdev, HMODULE module, ULONG* count);
// Frees the PDEV's list: each distinct glyph set once, the resource copies, the list.
void FontFreeDeviceFonts(GraphicsPdev* pdev);
// A glyph-set resource copied into the pool with its run pointers rebuilt; null when it is
// missing, its runs and counts do not fit it, or the pool is exhausted.
FD_GLYPHSET* FontLoadGlyphSet(GraphicsPdev* pdev, HMODULE module, int id);

// The font entry of face 1..count of the PDEV's list, or null.
DeviceFontEntry* FontEntryOfFace(GraphicsPdev* pdev, ULONG face);
// The glyph set of face 1..count, loaded on first use; null for another face, a row without a
// glyph set or a load that failed.
FD_GLYPHSET* FontGlyphSetOfFace(GraphicsPdev* pdev, ULONG face);

// The integer length of (a, b): the smallest m >= max(|a|, |b|) with m * m >= a * a + b * b.
LONG FontIntLength(LONG a, LONG b);
