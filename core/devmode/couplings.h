// Couplings between public DEVMODE fields and the private items: papers in printer dots.
#pragma once
#include "core/context/driver_context.h"
#include "platform/win32.h"

// Items 40-45 and the DEVMODE paper fields for the input paper code (mapped through item's
// value list).
void DmApplyInputPaper(short code, WORD item, DriverContext* ctx, void* devmode);
// Items 47-52 and 596/597 for the output paper code.
void DmApplyOutputPaper(short code, WORD item, DriverContext* ctx, void* devmode);


// dmDuplex from the duplex items 58 and 94.
void DmSetDuplexField(void* devmode, DriverContext* ctx);
// dmMediaType from item 54.
void DmSetMediaTypeField(void* devmode, DriverContext* ctx);
// Items 40-45 for a paper given by dmPaperLength/dmPaperWidth.
void DmSetPaperDotsFromSize(void* devmode, DriverContext* ctx);
// Items 17, 38 and 39 from the print quality (item 14), and the other way from item 38.
void DmSyncResolutionFromQuality(void* devmode, DriverContext* ctx);
void DmSyncResolutionFromDst(void* devmode, DriverContext* ctx);
// The quality of the chosen user print macro.
void DmApplyUserMacroQuality(DriverContext* ctx);
