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
// Surfaces and palettes alive in this process.
WINSIM_API DWORD SimGdiLiveObjects(void);
