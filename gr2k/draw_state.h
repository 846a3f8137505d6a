// The drawing state of vector mode: realised brushes, the colours, background mode, ROP3 and
// line attributes a drawing call states before its geometry, the cache that writes each state
// record only when its value changes on the page, and the clip cache.
#pragma once
#include <stddef.h>

#include "gr2k/pdev.h"
#include "platform/ddi.h"

// A brush as DrvRealizeBrush leaves it in the BRUSHOBJ (the PDEV keeps one for solid colours):
// this head, then the 32 x 32 pattern (1 bpp: 32 rows of 4 bytes, bit 7 of a row's first byte
// its leftmost pixel; 24 bpp: 32 rows of 96 bytes).
enum : WORD { kBrushSolid = 0, kBrushMono = 2, kBrushColour = 3 };
constexpr WORD kBrushPatternSize = 32;
constexpr DWORD kBrushMonoBytes = 128;
constexpr DWORD kBrushColourBytes = 3072;
struct RealizedBrush {
  WORD kind;
  WORD originX;  // brush origin AND 0xFF
  WORD originY;
  WORD reserved;
  DWORD foreground;  // set bits of a monochrome pattern, or the solid colour
  DWORD background;  // clear bits (0xFFFFFF for solid colours)
  WORD bitsPerPixel;  // 1 or 24
  WORD size;          // 32
  DWORD hostIcm;      // BR_HOST_ICM of the BRUSHOBJ, set at each use
};
static_assert(sizeof(RealizedBrush) == 24 && offsetof(RealizedBrush, hostIcm) == 20, "realised brush head");
inline BYTE* BrushPattern(RealizedBrush* brush) { return reinterpret_cast<BYTE*>(brush + 1); }
inline const BYTE* BrushPattern(const RealizedBrush* brush) { return reinterpret_cast<const BYTE*>(brush + 1); }

// The values record 48 is built from. Use kinds: 0 fill or brush-only transfer, 1 stroke,
// 2 text, 3 stroke and fill, 4 image transfer; background mode 1 transparent, 2 opaque.
struct ColourState {
  DWORD use;
  DWORD mode;
  DWORD foreground;
  DWORD background;
  DWORD hasThird;
  DWORD third;
  DWORD hostIcm;
};

// Line attributes as records 51 to 54 carry them.
struct LineState {
  SHORT width;   // dots
  SHORT unit;    // style repeat unit in dots
  BYTE join;     // 0 round, 1 bevel, 2 miter
  BYTE cap;      // 0 round, 1 butt, 2 square
  SHORT offset;  // style start offset within the 32 steps
  DWORD miter;   // miter limit x 256
  DWORD pattern; // bit 31 the first step, 1 = ink
  DWORD colour;
};

// The last value of each state record written on the page; forgotten at every page start.
struct DrawStateCache {
  BOOL ropSet;
  BYTE rop;
  BOOL modeSet;
  BYTE mode;
  BOOL patternSet;
  WORD patternKind;  // kind of the last brush stated
  POINTL patternOrigin;
  BOOL colourSet;
  ColourState colour;
  BOOL lineSet;
  LineState line;
  // The font last selected on the page (records 80 and 86): its id and code kind.
  BOOL fontSelected;
  ULONG fontId;
  BYTE fontCodeKind;
  // The PDEV's brush for solid colours.
  RealizedBrush solid;
  // Scratch memory of the path encoder, grown on demand.
  BYTE* scratch;
  DWORD scratchBytes;
};

// The clip cache (the PDEV's clipCache, 32 bytes). A page start clears only valid: the kind
// stays, so the first unclipped call of a page still resets the clip a previous page left.
enum : DWORD { kClipCacheNone = 0, kClipCacheRect = 1, kClipCachePath = 3 };
struct ClipCache {
  DWORD valid;
  ULONG id;       // the CLIPOBJ's iUniq
  BYTE* result;   // what GrClipToRecords answered (a token: never read through)
  DWORD kind;
  RECTL rect;
};
static_assert(sizeof(ClipCache) == 32, "the clip cache fills the PDEV's 32 bytes");

// Allocates the PDEV's state cache from its pool; FALSE without memory.
BOOL GrDrawStateCreate(GraphicsPdev* pdev);
// A page starts: every state is due again, the clip cache's valid flag is cleared.
void GrDrawStateNewPage(GraphicsPdev* pdev);

// ROP2 (the low byte of a mix) to ROP3 by the device's mix table: R2_BLACK gives 0xFF and
// R2_WHITE 0x00, the device's own convention.
BYTE GrMixToRop3(ULONG rop2);
// ROP3 to ROP2 for the sixteen codes of pattern and destination only (others 0), and a ROP4
// to a mix (foreground ROP2 in the low byte, background in the next).
ULONG GrRop3ToRop2(BYTE rop3);
MIX GrRop4ToMix(ROP4 rop4);
// The state of a mix: its foreground ROP2 and the background mode (1 when the background
// ROP2 is R2_NOP, else 2).
void GrMixToState(MIX mix, ULONG* rop2, DWORD* mode);
// A colour as the device takes it: bytes 0 and 2 exchanged.
DWORD GrDeviceColour(DWORD colour);

// The brush of a drawing call: the realised pattern brush (origin bytes from ptlBrushOrg) or
// the PDEV's solid brush filled with iSolidColor; NULL without a brush or a realisation.
RealizedBrush* GrBrushColor(GraphicsPdev* pdev, SURFOBJ* so, BRUSHOBJ* bo, POINTL* ptlBrushOrg);

// State writers: each writes its record when the value differs from the page's last one;
// FALSE when the record cannot be written.
BOOL GrStateRop(GraphicsPdev* pdev, BYTE rop3);
BOOL GrStateMode(GraphicsPdev* pdev, BYTE mode);
BOOL GrStatePattern(GraphicsPdev* pdev, const RealizedBrush* brush);
BOOL GrStateColour(GraphicsPdev* pdev, const ColourState& colour);
// Records 51 to 54: all four on a page's first stroke, later those whose values changed.
BOOL GrLineAttrState(GraphicsPdev* pdev, const LineState& line);
