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
// EngFindResource calls since the machine root was set.
WINSIM_API DWORD SimGdiResourceLookups(void);
// Surfaces and palettes alive in this process.
WINSIM_API DWORD SimGdiLiveObjects(void);

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
