// Couplings between public DEVMODE fields and the private items: papers in printer dots.
#pragma once
#include "core/context/driver_context.h"
#include "platform/win32.h"

// Items 40-45 and the DEVMODE paper fields for the input paper code (mapped through item's
// value list).
void DmApplyInputPaper(short code, WORD item, DriverContext* ctx, void* devmode);
// Items 47-52 and 596/597 for the output paper code.
void DmApplyOutputPaper(short code, WORD item, DriverContext* ctx, void* devmode);

