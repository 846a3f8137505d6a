// Minimal: images, escapes and the job strings are not built yet. Until they are, the DDI
// functions stop behind their real common checks here: transfers with a source, copies and
// stretches succeed without output and escapes answer 0; a reset copies no job strings and
// never finds the same job in two DEVMODEs. Each body is replaced by the code of its own area.
#include "gr2k/ddi_bodies.h"

BOOL VecBitBltImage(GraphicsPdev*, SURFOBJ*, SURFOBJ*, SURFOBJ*, CLIPOBJ*, XLATEOBJ*, RECTL*, POINTL*, POINTL*,
                    BRUSHOBJ*, POINTL*, ROP4) {
  return TRUE;
}
BOOL VecCopyBits(GraphicsPdev*, SURFOBJ*, SURFOBJ*, CLIPOBJ*, XLATEOBJ*, RECTL*, POINTL*) { return TRUE; }
BOOL VecStretchBlt(GraphicsPdev*, SURFOBJ*, SURFOBJ*, SURFOBJ*, CLIPOBJ*, XLATEOBJ*, COLORADJUSTMENT*, POINTL*, RECTL*,
                   RECTL*, POINTL*, ULONG, BRUSHOBJ*, DWORD) {
  return TRUE;
}

ULONG EscHandle(GraphicsPdev*, SURFOBJ*, ULONG, ULONG, PVOID, ULONG, PVOID) { return 0; }

BOOL JobCopyStrings(DriverContext*, DriverContext*) { return TRUE; }
int JobCompareDevmodes(const DEVMODEW*, const DEVMODEW*) { return 0; }
