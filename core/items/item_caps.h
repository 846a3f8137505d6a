// Device capabilities that follow from the settings: the paper extents and the duplex unit.
#pragma once
#include "core/context/driver_context.h"
#include "platform/win32.h"

enum : int { kExtentMinimum = 4 };

// The model record's minimum (which 4) or maximum custom width and length in the context's
// display unit, each limited to the custom width and length ranges. Written through out (width,
// then length) when given, and returned with the width in the low word.
DWORD ItemGetPaperExtent(DriverContext* ctx, WORD* out, int which);
// 1 when the duplex unit (zdmSourceOptionTypeDuplex) is installed.
int ItemHasDuplexUnit(DriverContext* ctx);
