// The paper-dependent resolution cap of the finishing rules.
#pragma once
#include "platform/win32.h"

struct DriverContext;

// 0 (no change) or the resolution the current paper allows. Item choice 1 means
// zdmDstResolutionW, 0 dmPrintQuality; mode 0 exact, 1 at most.
SHORT FinResolutionLimit(DriverContext* ctx, int itemChoice, int mode);
// FinResolutionLimit in mode 0 / mode 1.
SHORT DmResolutionLimitFor(DriverContext* ctx, int itemChoice);
SHORT FinResolutionOverLimit(DriverContext* ctx, int itemChoice);
