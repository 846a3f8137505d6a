// Public DEVMODE codes the driver accepts without a rule of the model.
#pragma once
#include "platform/win32.h"

// 1 for the standard paper codes 1-118 and the known values of dmPaperSize.
int DmIsKnownPaperSize(LONG code);
// 1 for the standard negative print-quality codes (-4 draft to -1 high).
int DmIsStdResolutionCode(LONG code);
