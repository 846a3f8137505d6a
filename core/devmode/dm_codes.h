// Public DEVMODE codes the driver accepts without a rule of the model.
#pragma once
#include "platform/win32.h"

// 1 for the standard paper codes 1-118 and the known values of dmPaperSize.
int DmIsKnownPaperSize(LONG code);
// 1 for the standard negative print-quality codes (-4 draft to -1 high).
int DmIsStdResolutionCode(LONG code);

// 1 when a DEVMODE of this driver describes a colour device: 0 when the model type's colour bit
// is clear, or when the setting-lock feature is built in, flags bit 0 is set and dmColor is 1
// (monochrome). The DEVMODE is read only within dmSize + dmDriverExtra, the bytes beyond as 0;
// a null DEVMODE answers 0.
int DmIsColorCapable(DWORD flags, const void* devmode);
