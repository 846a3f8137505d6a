// The packing of glyph rows: zero runs are counted, repeats of a byte and literal stretches
// become tokens (the job-stream reader's JsGlyphUnpack gives the rows back).
#pragma once
#include "platform/win32.h"

// Packs cb bytes of rows into out, never writing at or beyond capacity. The packed length, 0
// when the rows are all zero, or -1 when the tokens do not fit; for either, and for a packed
// length above 65,535 (the device reads 16 bits), the rows go raw.
LONG GlyphBitsCompress(const BYTE* bits, DWORD cb, BYTE* out, DWORD capacity);
