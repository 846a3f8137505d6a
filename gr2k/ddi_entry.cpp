// The graphics DLL's own entry points: the user-mode query, the driver enable that hands GDI
// the table of DDI functions, and the driver disable.
#include "core/common/locks.h"
#include "gr2k/ddi_functions.h"
#include "platform/ddi.h"

namespace {

#define ZEMS_DDI_ENTRY(name) \
  { INDEX_##name, DdiFunctionCast<PFN>(name) }
DRVFN g_ddiTable[] = {
    ZEMS_DDI_ENTRY(DrvEnablePDEV),
    ZEMS_DDI_ENTRY(DrvDisablePDEV),
    ZEMS_DDI_ENTRY(DrvCompletePDEV),
    ZEMS_DDI_ENTRY(DrvResetPDEV),
    ZEMS_DDI_ENTRY(DrvEnableSurface),
    ZEMS_DDI_ENTRY(DrvDisableSurface),
    ZEMS_DDI_ENTRY(DrvStartPage),
    ZEMS_DDI_ENTRY(DrvSendPage),
    ZEMS_DDI_ENTRY(DrvStartDoc),
    ZEMS_DDI_ENTRY(DrvEndDoc),
    ZEMS_DDI_ENTRY(DrvStartBanding),
    ZEMS_DDI_ENTRY(DrvNextBand),
    ZEMS_DDI_ENTRY(DrvBitBlt),
    ZEMS_DDI_ENTRY(DrvStretchBlt),
    ZEMS_DDI_ENTRY(DrvStrokePath),
    ZEMS_DDI_ENTRY(DrvFillPath),
    ZEMS_DDI_ENTRY(DrvStrokeAndFillPath),
    ZEMS_DDI_ENTRY(DrvRealizeBrush),
    ZEMS_DDI_ENTRY(DrvEscape),
    ZEMS_DDI_ENTRY(DrvGetGlyphMode),
    ZEMS_DDI_ENTRY(DrvDitherColor),
    ZEMS_DDI_ENTRY(DrvCopyBits),
    ZEMS_DDI_ENTRY(DrvQueryFont),
    ZEMS_DDI_ENTRY(DrvQueryFontData),
    ZEMS_DDI_ENTRY(DrvQueryFontTree),
    ZEMS_DDI_ENTRY(DrvIcmCreateColorTransform),
    ZEMS_DDI_ENTRY(DrvIcmDeleteColorTransform),
    ZEMS_DDI_ENTRY(DrvStretchBltROP),
    ZEMS_DDI_ENTRY(DrvQueryAdvanceWidths),
    ZEMS_DDI_ENTRY(DrvTextOut),
};
#undef ZEMS_DDI_ENTRY
static_assert(sizeof(g_ddiTable) / sizeof(g_ddiTable[0]) == 30, "GDI is handed 30 functions");

}  // namespace

ZEMS_EXPORT BOOL WINAPI DrvQueryDriverInfo(DWORD mode, PVOID buffer, DWORD cbBuffer, PDWORD cbNeeded) {
  if (mode != DRVQUERY_USERMODE) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  if (cbNeeded) *cbNeeded = sizeof(DWORD);
  if (!buffer || cbBuffer < sizeof(DWORD)) {
    SetLastError(ERROR_INSUFFICIENT_BUFFER);
    return FALSE;
  }
  *static_cast<DWORD*>(buffer) = 1;  // the driver runs in user mode
  return TRUE;
}

ZEMS_EXPORT BOOL WINAPI DrvEnableDriver(ULONG engineVersion, ULONG cbData, DRVENABLEDATA* data) {
  // The engine version is tested first: an old engine fails as such whatever it passes.
  if (engineVersion < DDI_DRIVER_VERSION_NT5) {
    SetLastError(ERROR_BAD_DRIVER_LEVEL);
    return FALSE;
  }
  if (cbData < sizeof(DRVENABLEDATA) || !data) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  data->iDriverVersion = DDI_DRIVER_VERSION_NT5_01;
  data->c = sizeof(g_ddiTable) / sizeof(g_ddiTable[0]);
  data->pdrvfn = g_ddiTable;
  // Only makes sure the locks exist: a section a parked context or another caller holds stays
  // as it is, and the context cache keeps its entries.
  LockInitProcess();
  return TRUE;
}

ZEMS_EXPORT VOID WINAPI DrvDisableDriver(VOID) {}
