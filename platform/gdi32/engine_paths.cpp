// The engine's own path drawing, which a driver hands back the paths it does not draw itself.
#include "platform/gdi32/engine_internal.h"
#include "platform/sim/trace.h"

// Simplified: the engine does not rasterise paths yet; the calls fail without drawing.
WINSIM_API BOOL WINAPI EngStrokePath(SURFOBJ*, PATHOBJ*, CLIPOBJ*, XFORMOBJ*, BRUSHOBJ*, POINTL*, LINEATTRS*, MIX) {
  WINSIM_SIMPLIFIED("EngStrokePath", "does not rasterise paths yet: fails without drawing");
  SetLastError(ERROR_CALL_NOT_IMPLEMENTED);
  return FALSE;
}

WINSIM_API BOOL WINAPI EngFillPath(SURFOBJ*, PATHOBJ*, CLIPOBJ*, BRUSHOBJ*, POINTL*, MIX, FLONG) {
  WINSIM_SIMPLIFIED("EngFillPath", "does not rasterise paths yet: fails without drawing");
  SetLastError(ERROR_CALL_NOT_IMPLEMENTED);
  return FALSE;
}

WINSIM_API BOOL WINAPI EngStrokeAndFillPath(SURFOBJ*, PATHOBJ*, CLIPOBJ*, XFORMOBJ*, BRUSHOBJ*, LINEATTRS*, BRUSHOBJ*,
                                            POINTL*, MIX, FLONG) {
  WINSIM_SIMPLIFIED("EngStrokeAndFillPath", "does not rasterise paths yet: fails without drawing");
  SetLastError(ERROR_CALL_NOT_IMPLEMENTED);
  return FALSE;
}
