// Settings blocks of a new context: the printer's own DEVMODE or the model's defaults.
#pragma once
#include "platform/win32.h"

struct DriverContext;

// A newly allocated, filled settings block for the open mode (0-3; mode 3 always takes the full
// defaults), or null when there is no context or no memory. The caller owns it (MemFree). The
// context's block pointer is the new block while it is filled and is restored on every path.
BYTE* DmBuildDefault(DriverContext* ctx, int mode);
// The context's settings become the model's defaults.
void DmSetFullDefaults(DriverContext* ctx);
// The private header and every item's model default.
void DmSetModelDefaults(DriverContext* ctx);
// Copies the printer's stored DEVMODE into the context's settings when it is of this layout
// (220 + 1016 bytes inside the spooler's answer); 1 when it is this driver's in any version.
int DmTakePrinterDevmode(DriverContext* ctx);
// The name the committing of property sheets uses for the same copy.
inline int DmCopyPrinterDevmodeRaw(DriverContext* ctx) { return DmTakePrinterDevmode(ctx); }
// Replaces the context's DEVMODE by the printer's stored one when that is exactly this
// driver's and its sizes and driver version equal the context's.
void DmTakeMatchingPrinterDevmode(DriverContext* ctx);
