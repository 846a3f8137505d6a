// The device-font resources of the DLL as stored: the font resource (type 258) with its width
// table, metrics and device strings, and the glyph set (type 260). Both are read from the
// DLL's resource image, so every offset and count is checked against the resource's size
// before anything is used; these checks need nothing but the bytes.
#pragma once
#include "platform/ddi.h"

constexpr int kFontResourceType = 258;
constexpr int kGlyphSetResourceType = 260;

// Font resource: u32 total size, u32 offset of the IFIMETRICS, zeros up to the width table
// (256 u16 widths by single-byte code), five u32 offsets of NUL-terminated ANSI strings, then
// the IFIMETRICS with its names and the strings.
constexpr ULONG kFontWidthTableOffset = 60;
constexpr ULONG kFontStringOffsets = 572;
constexpr ULONG kFontHeaderBytes = 592;
constexpr int kFontStringCount = 5;
enum : int { kFontGlyphSetName = 0, kFontDeviceName = 1, kFontSelection = 2 };

// The bytes of a font resource that may be used: its total size when every part lies inside
// the cb bytes found (the metrics and their names, the five strings with their NULs); 0 for a
// short or inconsistent resource.
ULONG FontCheckResource(const BYTE* resource, ULONG cb);
// The metrics and a string of a resource FontCheckResource accepted.
IFIMETRICS* FontResourceMetrics(BYTE* resource);
const char* FontResourceString(const BYTE* resource, int index);

// The bytes of a glyph set that may be used: its header, runs and handles when they fit the cb
// bytes found and the set's own size, the runs' glyphs add up to its glyph count and no run
// passes U+FFFF; 0 otherwise.
ULONG FontCheckGlyphSet(const BYTE* glyphSet, ULONG cb);
// Points each run of a checked copy at its handles, which follow the runs in run order.
void FontRebuildRuns(FD_GLYPHSET* glyphSet);

// Advance of a glyph in font units: the half width (fwdAveCharWidth) for a single-byte code,
// 0x8640 and the codes 0x85xx, the full width (fwdMaxCharInc) for every other code.
LONG FontGlyphWidth(const IFIMETRICS* metrics, HGLYPH glyph);
