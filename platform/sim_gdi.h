// The GDI side of the simulated machine: the engine's devices and objects as tests see them,
// and the print session that loads a graphics driver and drives it as GDI does.
#pragma once
#include "platform/ddi.h"

// ---- engine objects ----

// A device handle as GDI makes one before DrvEnablePDEV; bound to the PDEV once it exists, so
// EngAssociateSurface can give the surface its dhpdev.
WINSIM_API HDEV SimGdiCreateDevice(void);
WINSIM_API void SimGdiBindDevice(HDEV hdev, DHPDEV pdev);
WINSIM_API void SimGdiDeleteDevice(HDEV hdev);

// What the engine knows of a surface; FALSE for a handle it does not know.
typedef struct SimGdiSurfaceInfo {
  USHORT type;    // STYPE_...
  ULONG format;   // BMF_...
  LONG width;
  LONG height;
  LONG stride;    // lDelta
  FLONG hooks;
  BOOL banding;   // EngMarkBandingSurface was called
  BOOL associated;
  HDEV hdev;
} SimGdiSurfaceInfo;
WINSIM_API BOOL SimGdiGetSurfaceInfo(HSURF surface, SimGdiSurfaceInfo* info);
// A palette's mode, its colours (at most cMax) and their count; FALSE for an unknown palette.
WINSIM_API BOOL SimGdiGetPalette(HPALETTE palette, ULONG* mode, ULONG* colours, ULONG cMax, ULONG* count);
// A realised font as the engine hands it to the driver's font queries: face index (the
// driver's device font 1..n) and its notional-to-device transform (null: identity). It lives
// until SimGdiDeleteFont or a machine root switch.
WINSIM_API FONTOBJ* SimGdiCreateFont(ULONG face, const XFORML* transform);
WINSIM_API void SimGdiDeleteFont(FONTOBJ* font);
// Our synthetic outline fonts (gdi32/engine_text.cpp), realised with a notional-to-device
// transform (notional units: 1000 to the em, y down, baseline at 0, ascent 800, descent 200).
// Each glyph is made from its code point by a fixed rule: a square outline of lines holding a
// hole of one Bezier and one line, its advance 600 units in the fixed-pitch rule ("Sim Mono")
// and 350 to 650 by the code in the proportional one ("Sim Sans"; 1000 from U+2E80 on); the
// space and the control characters have none. Simplified: the simulations are flags only.
typedef struct SimOutlineFontSpec {
  const WCHAR* family;  // IFIMETRICS family name
  const WCHAR* face;    // face name; null: the family
  BOOL fixedPitch;
  USHORT fsType;
  BYTE charset;
  USHORT weight;       // 0: 400
  FLONG simulations;   // FO_SIM_BOLD, FO_SIM_ITALIC
} SimOutlineFontSpec;
WINSIM_API FONTOBJ* SimGdiCreateOutlineFont(const SimOutlineFontSpec* spec, const XFORML* transform);
// The IFIMETRICS FONTOBJ_pifi gives for a device font (the driver's own, from DrvQueryFont).
WINSIM_API void SimGdiSetFontMetrics(FONTOBJ* font, IFIMETRICS* metrics);
// A glyph's advance in notional units (0 for a font without outlines).
WINSIM_API LONG SimGdiGlyphAdvance(FONTOBJ* font, WCHAR code);
// The next n calls of FONTOBJ_cGetGlyphs fail.
WINSIM_API void SimGdiFailGlyphs(ULONG n);

// A string as the engine hands it to DrvTextOut: its characters (also the glyph handles), the
// character origins (null: laid out from origin by the outline font's advances), the SO_ flags
// and ulCharInc given, and how STROBJ_bEnum hands the glyphs out: with array set the GLYPHPOS
// array is in pgp and one batch holds all; otherwise pgp is null and each batch holds at most
// batch glyphs (0: all). rclBkGround is the union of the glyphs' em boxes. Delete with
// SimGdiDeleteString.
typedef struct SimStringSpec {
  const WCHAR* text;
  ULONG count;
  POINTL origin;
  const POINTL* positions;
  FLONG accel;
  ULONG charInc;
  ULONG batch;
  BOOL array;
} SimStringSpec;
WINSIM_API STROBJ* SimGdiCreateString(FONTOBJ* font, const SimStringSpec* spec);
WINSIM_API void SimGdiDeleteString(STROBJ* str);
// EngFindResource calls since the machine root was set.
WINSIM_API DWORD SimGdiResourceLookups(void);
// Surfaces and palettes alive in this process.
WINSIM_API DWORD SimGdiLiveObjects(void);

// ---- drawing objects the engine hands a driver (gdi32/engine_objects.cpp) ----

// A brush: solid (iSolidColor the colour), hatched (hatch 0-5) or of a pattern surface. A
// hatched or pattern brush is realised by realize (the driver's DrvRealizeBrush, with target,
// pattern, xlate and hatch) on its first BRUSHOBJ_pvGetRbrush, as GDI does; the realisation
// lives as long as the brush. Delete with SimGdiDeleteBrush.
WINSIM_API BRUSHOBJ* SimGdiCreateBrush(ULONG solidColor, FLONG colorType, PFN_DrvRealizeBrush realize,
                                       SURFOBJ* target, SURFOBJ* pattern, XLATEOBJ* xlate, ULONG hatch);
WINSIM_API void SimGdiDeleteBrush(BRUSHOBJ* brush);
// The next n calls of BRUSHOBJ_pvAllocRbrush fail (memory that cannot be had).
WINSIM_API void SimGdiFailRbrushAllocs(ULONG n);

// Kinds of the points of a path: each figure starts with a move; a curve point is one of a
// group of three Bezier points; kSimPathClose on a figure's last point closes it.
enum : BYTE { kSimPathMove = 1, kSimPathLine = 2, kSimPathCurve = 3, kSimPathClose = 0x80 };
// A path of count 28.4 points. The enumeration hands at most batch points a time (0: a whole
// run of lines or curves), so a test can split figures and Bezier groups; cCurves counts the
// lines and Bezier groups. Delete with EngDeletePath.
WINSIM_API PATHOBJ* SimGdiCreatePath(const POINTFIX* points, const BYTE* kinds, ULONG count, ULONG batch);
// How many paths are alive (each made by SimGdiCreatePath or CLIPOBJ_ppoGetPath).
WINSIM_API ULONG SimGdiLivePaths(void);

// A clip of complexity DC_TRIVIAL, DC_RECT or DC_COMPLEX: bounds, its rectangles (for the
// enumeration and, without path, the clip path) and its id (iUniq). path (copied; may be
// null) is what CLIPOBJ_ppoGetPath hands out. Delete with SimGdiDeleteClip.
WINSIM_API CLIPOBJ* SimGdiCreateClip(BYTE complexity, const RECTL* bounds, const RECTL* rects, ULONG count,
                                     PATHOBJ* path, ULONG uniq);
WINSIM_API void SimGdiDeleteClip(CLIPOBJ* clip);

// The driver's DrvBitBlt of a device: the engine's path calls on its device surface break a path
// down into one complex region drawn through it (null forgets it).
WINSIM_API void SimGdiSetDeviceBlt(HDEV hdev, PFN_DrvBitBlt blt);

// The driver's DrvCopyBits of a device: the engine's transfers with a source aimed at its device
// surface are drawn into a bitmap and handed to it (null forgets it).
WINSIM_API void SimGdiSetDeviceCopyBits(HDEV hdev, PFN_DrvCopyBits copy);
// Makes EngCreateBitmap fail as without memory: for a bitmap of more than maxBytes bytes (0: any
// size) and, once allowedCalls more calls have succeeded, for every call (negative: no count).
// SimGdiLimitBitmaps(0, -1) lifts both; a machine reset does too.
WINSIM_API void SimGdiLimitBitmaps(ULONG maxBytes, LONG allowedCalls);

// A transform of world to device (null: identity). Delete with SimGdiDeleteXform.
WINSIM_API XFORMOBJ* SimGdiCreateXform(const XFORML* matrix);
WINSIM_API void SimGdiDeleteXform(XFORMOBJ* xform);

// ---- the print session (gdi32/print_session.cpp) ----
#include <string>
#include <utility>
#include <vector>

#include "platform/gdi32/draw_script.h"

namespace winsim {

// Changes a job DEVMODE by setting names (the host knows the driver's catalogue; the engine
// only the public fields). True with the DEVMODE changed, false with a message.
typedef bool (*DevmodeEditor)(void* context, HANDLE printer,
                              const std::vector<std::pair<std::string, std::string>>& settings,
                              std::vector<BYTE>* devmode, std::string* error);

struct PrintSessionOptions {
  std::u16string printer;
  // Settings every job DEVMODE starts with (before the script's devmode statements).
  std::vector<std::pair<std::string, std::string>> settings;
  DevmodeEditor editDevmode = nullptr;  // null: the public fields by name only
  void* editorContext = nullptr;
  unsigned maxPages = 0;  // 0: every page of the script
  // A driver to drive instead of the one the spooler names (a recording fake in tests).
  PFN_DrvEnableDriver driver = nullptr;
  PFN_DrvDisableDriver disableDriver = nullptr;
};

struct PrintSessionResult {
  bool ok = false;
  std::string error;               // what stopped the session, with the script line
  std::vector<std::string> trace;  // every DDI call and its result, in order
  bool haveInfo = false;
  GDIINFO gdi = {};                // as the first PDEV answered
  DEVINFO devInfo = {};
  ULONG paletteMode = 0;               // of DEVINFO's default palette
  std::vector<ULONG> paletteColours;   // its entries when indexed
  unsigned pages = 0;
  DWORD jobId = 0;
};

// Opens the printer, loads its graphics driver and plays the statements as GDI would.
DRAW_SCRIPT_API PrintSessionResult RunPrintSession(const std::vector<DrawStatement>& statements,
                                                   const PrintSessionOptions& options);
// Sets a public DEVMODE field by its name (dmOrientation, dmPaperSize, dmCopies,
// dmPrintQuality, dmYResolution, dmColor, dmDuplex, dmScale); false for another name or a
// value that is no number.
DRAW_SCRIPT_API bool SetPublicDevmodeField(DEVMODEW* dm, const std::string& name, const std::string& value);

}  // namespace winsim
