// Encoders of the drawing records of vector mode: rectangles, colours, background mode, line
// attributes and pattern brushes. As the page-frame encoders, each reserves its record whole,
// sets every byte and returns it, or NULL when the reservation failed.
#pragma once
#include "gr2k/draw_state.h"
#include "gr2k/pdev.h"

enum : BYTE {
  kRecRect = 16,
  kRecPath = 17,
  kRecLinePath = 18,
  kRecSpans = 19,
  kRecColour = 48,
  kRecMode = 50,
  kRecLineAttr = 51,
  kRecLineOffset = 52,
  kRecLineCap = 53,
  kRecLineJoin = 54,
  kRecPattern = 64,
};

// Rectangle kinds: a filled rectangle in the current colour and ROP, a clipping rectangle.
enum : BYTE { kRectFill = 1, kRectClip = 5 };

// Record 16: 40 bytes with the rectangle twice, or 24 for the clipping kinds 5 and 6.
BYTE* GrRecRect(PdevOutputStream* stream, BYTE kind, const RECTL& rect);
// Record 48 from a colour state whose colours are already in the device's byte order: the
// foreground, the background when the mode is opaque, the third colour when there is one.
BYTE* GrRecColor(PdevOutputStream* stream, const ColourState& colour);
BYTE* GrRecMode(PdevOutputStream* stream, BYTE mode);
// Records 51 to 54.
BYTE* GrRecLineAttr(PdevOutputStream* stream, BYTE unit, SHORT width, DWORD pattern);
BYTE* GrRecLineOffset(PdevOutputStream* stream, BYTE offset);
BYTE* GrRecLineCap(PdevOutputStream* stream, BYTE cap);
BYTE* GrRecLineJoin(PdevOutputStream* stream, BYTE join, DWORD miter);
// Record 64 of a realised brush: no bytes for a solid brush, the 1 or 24-bpp pattern
// otherwise; NULL (nothing written) for another kind or depth.
BYTE* GrRecPattern(PdevOutputStream* stream, const RealizedBrush* brush);
