// Encoders of the text records: font selections (80, 86), character cells and outlines (81),
// glyph codes (82), glyph bitmaps (83, 87), glyph downloads (84) and glyph runs (85). As the other
// encoders, each reserves its record whole, sets every byte and returns it, or NULL when the
// reservation failed.
#pragma once
#include "gr2k/pdev.h"

enum : BYTE {
  kRecFontSelect = 80,
  kRecTextBlock = 81,
  kRecGlyphCodes = 82,
  kRecGlyphCached = 83,
  kRecGlyphDownload = 84,
  kRecGlyphRun = 85,
  kRecDownloadFont = 86,
  kRecGlyphOnce = 87,
};

// Font kinds of a selection: character codes the device renders, glyphs the driver renders
// (outlines, or bitmaps one per glyph), bitmaps downloaded into the device's glyph cache.
enum : BYTE { kFontKindCodes = 2, kFontKindGlyphs = 4, kFontKindDownload = 5 };
// Code kinds: UTF-16 characters, glyph indices.
enum : BYTE { kCodeKindChars = 2, kCodeKindGlyphIndex = 3 };

// Names are held in the printer's multibyte code, NUL-terminated and zero-filled to the end,
// so the records' 2-byte copy always finds its zero unit inside the field.
constexpr DWORD kFontNameBytes = 260;

// The font of one text call, as records 80 and 86 carry it.
struct FontSelection {
  BYTE italic;
  BYTE bold;
  BYTE kind;
  BYTE vertical;
  BYTE reserved;
  BYTE charset;
  BYTE pitchAndFamily;
  BYTE embolden;
  SHORT weight;
  SHORT rotation;  // degrees counter-clockwise, 0 to 359
  SHORT height;    // em height in dots
  SHORT width;     // em width in dots
  SHORT averageWidth;
  char familyName[kFontNameBytes];
  char faceName[kFontNameBytes];
  SHORT leading;
  WORD defaultChar;
  BYTE codeKind;
};

// Records 80 and 86 of a selection (the face name, copied in 2-byte units to its zero unit).
BYTE* GrRecFontSelect(PdevOutputStream* stream, const FontSelection& sel);
BYTE* GrRecDownloadFont(PdevOutputStream* stream, const FontSelection& sel);
// Record 81, cell kind: the cell, its corner again and the character.
BYTE* GrRecTextBlock(PdevOutputStream* stream, const RECTL& cell, WCHAR code);
// Record 81, outline kind: the outline's bounds, its corner, the character and cb bytes of path
// data (a multiple of 4).
BYTE* GrRecTextOutline(PdevOutputStream* stream, const RECTL& bounds, WCHAR code, const BYTE* data, DWORD cb);
// Record 82: count codes with either one advance for all (advanceCount 1) or one per code
// (advanceCount == count). The count is 16-bit: callers split longer strings.
BYTE* GrRecGlyphCodes(PdevOutputStream* stream, const RECTL& background, POINTL start, const SHORT* advances,
                      DWORD advanceCount, const WCHAR* codes, WORD count);

// A glyph bitmap as records 83, 84 and 87 carry it.
struct GlyphImage {
  WORD code;
  DWORD width;   // pixels
  DWORD height;  // rows
  const BYTE* bits;  // NULL: none follow
  DWORD cbBits;
  BYTE compression;  // 0 raw rows, 2 packed
};
enum : BYTE { kGlyphRaw = 0, kGlyphPacked = 2 };
// Flags of the glyph records: the code is a glyph index or a character; no bits follow.
enum : BYTE { kGlyphFlagIndex = 0x04, kGlyphFlagChar = 0x08, kGlyphFlagNoBits = 0x40 };

// Record 83 (cached) or 87 (for this use only): the glyph box, the reference point, the bitmap's
// corner and the image; flags 0x40 when the glyph has no bits here.
BYTE* GrRecGlyphBitmap(PdevOutputStream* stream, BYTE opcode, BYTE flags, const RECTL& box, POINTL reference,
                       POINTL corner, const GlyphImage& glyph);
// Record 84; NULL without writing when the glyph has no bits.
BYTE* GrRecCachedGlyph(PdevOutputStream* stream, BYTE flags, const GlyphImage& glyph);
// One item of a glyph run: the step from the previous glyph and the code.
struct GlyphRunItem {
  SHORT dx;
  SHORT dy;
  WORD code;
};
static_assert(sizeof(GlyphRunItem) == 6, "glyph-run items are 6 bytes");
// Record 85 of count items (16-bit: callers split longer strings).
BYTE* GrRecGlyphRun(PdevOutputStream* stream, const RECTL& background, BYTE flags, POINTL start,
                    const GlyphRunItem* items, WORD count);
