// Paper geometry of the model description: the printable area of a paper at the current
// resolution and orientation (from the paper's page records), the paper's size in 0.1 mm as
// the current orientation sees it, and the size of a custom paper.
#pragma once
#include "core/context/driver_context.h"
#include "platform/win32.h"

// Printable rectangle, in dots at the record's resolution.
struct PaperRect {
  LONG left;
  LONG top;
  LONG right;
  LONG bottom;
};

// Width then length: dots for the printable-area lookup, 0.1 mm (or 1/1200 inch where a name
// says so) for all others.
struct PaperExtents {
  LONG width;
  LONG length;
};

// Printable area of the paper whose value id (the logical value of dmPaperSize) is given, at
// the resolution of zdmDstResolutionW and the orientation of dmOrientation (their stored
// values: dpi and the DEVMODE code). The first page record that matches wins; a record whose
// condition item holds another value is passed over. Without a record for this orientation the
// first one for the other orientation is taken with its axes exchanged. 1 with both outputs
// filled, 0 when no record matches or the model has no paper description.
int PaperGetPrintableArea(DriverContext* ctx, PaperRect* rect, PaperExtents* extents, WORD valueId);
// Size in 0.1 mm of the paper that the item (dmPaperSize for 0) holds, length first in
// landscape. 0 when the model does not describe the paper.
int PaperGetExtents(DriverContext* ctx, PaperExtents* out, WORD item);
// Size in 0.1 mm of the current paper: a custom-size code through PaperGetCustomExtents with
// the DEVMODE in view, any other through PaperGetExtents.
int PaperGetCurrentExtents(DriverContext* ctx, PaperExtents* out);
// Size in 0.1 mm of the output paper (zdmOutPaperSize): 1024 the current paper's, a custom-size
// slot code that slot's; any other code is looked up through dmPaperSize, which gets its value
// back afterwards but stays marked changed.
int PaperGetOutputExtents(DriverContext* ctx, PaperExtents* out);
// Size of a custom paper in 0.1 mm; always 1. With devmodeInView the current paper: its slot
// when the DEVMODE names a slot code, the slot's size when the paper is oversize, else the
// DEVMODE's own length and width; exchanged in landscape. Without it the slot of the code,
// never exchanged.
int PaperGetCustomExtents(PaperExtents* out, DriverContext* ctx, LONG code, BOOL devmodeInView);
// PaperGetCustomExtents in 1/1200 inch, before the conversion to 0.1 mm.
int PaperGetSize1200(PaperExtents* out, DriverContext* ctx, LONG code, BOOL devmodeInView);
