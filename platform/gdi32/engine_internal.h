// The engine's objects as the machine keeps them: surfaces with their bits and hooks,
// palettes, and the devices (HDEV) GDI makes for each PDEV. Not visible to driver code.
#pragma once
#include <stdint.h>

#include <string>
#include <vector>

#include "platform/ddi.h"

namespace winsim {

struct EngineSurface {
  SURFOBJ so = {};
  std::vector<BYTE> owned;  // bits the engine allocated
  bool banding = false;
  bool associated = false;
  FLONG hooks = 0;
  int locks = 0;
};

// The surface behind a handle, or null. The engine's objects belong to one thread at a time,
// as a PDEV does; the tables themselves are guarded.
EngineSurface* EngineFindSurface(HSURF surface);
// The surface of a SURFOBJ the engine handed out, or null.
EngineSurface* EngineSurfaceOf(const SURFOBJ* so);
// The PDEV a device handle was bound to, or null.
DHPDEV EngineDevicePdev(HDEV hdev);

// Bytes per pixel row of a format (0 for an unknown format); bits per pixel.
ULONG EngineBitsPerPixel(ULONG format);

// Pixel access of an engine bitmap: the pixel's colour index and its store.
ULONG EngineGetPixel(const SURFOBJ* so, LONG x, LONG y);
void EnginePutPixel(SURFOBJ* so, LONG x, LONG y, ULONG value);

// One ROP3 applied bit by bit to pattern, source and destination values.
ULONG EngineRop3(BYTE rop, ULONG p, ULONG s, ULONG d);

// What a brush draws with: a solid colour, a hatch (0-5) with its XLATEOBJ {background,
// foreground}, or a pattern surface with its XLATEOBJ. False for an object that is no brush.
struct EngineBrushSource {
  ULONG solid;
  ULONG hatch;
  SURFOBJ* pattern;
  XLATEOBJ* xlate;
};
bool EngineBrushSourceOf(BRUSHOBJ* brush, EngineBrushSource* out);
// The hatch rows of the engine, one byte per row, bit 7 leftmost.
extern const BYTE kEngineHatches[6][8];
// The rectangles a clip lets through within limit (a trivial clip: limit itself).
std::vector<RECTL> EngineClipRects(CLIPOBJ* clip, const RECTL& limit);
// Draws one row span [left, right) of row y with the brush and the ROP4 (through its
// foreground ROP3; a pattern's background pixels keep the destination when the background ROP3
// is 0xAA).
void EngineFillSpan(SURFOBJ* so, LONG y, LONG left, LONG right, BRUSHOBJ* brush, const POINTL* origin, ROP4 rop4);

// A block transfer with a source (engine_transfer.cpp): the rectangle ordered, the source from
// ptlSrc, format conversion through the XLATEOBJ, the mask's set bits taking the foreground ROP3.
BOOL EngineSourceBlt(SURFOBJ* trg, SURFOBJ* src, SURFOBJ* mask, CLIPOBJ* clip, XLATEOBJ* xlate, const RECTL& dst,
                     const POINTL& ptlSrc, const POINTL* ptlMask, BRUSHOBJ* brush, ROP4 rop4);

// The region a path fills (row spans within limit).
std::vector<RECTL> EngineFillRegion(PATHOBJ* path, bool winding, const RECTL& limit);

// A realised font: its face, its notional-to-device transform and its iUniq, the same for
// every font of the same key, face and transform. Delete with SimGdiDeleteFont.
FONTOBJ* EngineCreateFont(ULONG face, const XFORML* transform, const std::string& key);
// Forgets what the outline fonts keep of a font being deleted.
void EngineForgetOutline(FONTOBJ* font);

// ExtEscape on a print session's DC: answered by the session's driver (true, *result set);
// false for any other DC.
bool EngineSessionEscape(HDC dc, int code, int cbIn, LPCSTR in, int cbOut, LPSTR out, int* result);

}  // namespace winsim
