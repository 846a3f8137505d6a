// Device capabilities that follow from the settings: the paper extents and the duplex unit.
#pragma once
#include "core/context/driver_context.h"
#include "platform/win32.h"

enum : int { kExtentMinimum = 4 };

// The model record's minimum (which 4) or maximum custom width and length in the context's
// display unit, each limited to the custom width and length ranges. Written through out (width,
// then length) when given, and returned with the width in the low word.
DWORD ItemGetPaperExtent(DriverContext* ctx, WORD* out, int which);
// The same extent as two 32-bit values {width, length}: the maximum when maximum is nonzero,
// else the minimum. 1.
int ItemGetPaperExtentPair(DriverContext* ctx, LONG* out, int maximum);
// 1 when the duplex unit (zdmSourceOptionTypeDuplex) is installed.
int ItemHasDuplexUnit(DriverContext* ctx);

// DeviceCapabilities lists from the model description and the current settings: a value is
// listed when the model offers it and its disable judge is false. Each returns the number of
// entries, or -1 when the answer fails; a null out only counts.

// Events sent before a list is built; a module that sets all nonzero has every value listed.
enum : int {
  kEventResolutionList = 30,
  kEventBinList = 33,
};

// Paper codes (WORD each), names (step wide characters each, DC_PAPERNAMES 64) and sizes
// (POINT, 0.1 mm) of the paper item 8 (PickPage, enabled values only) or of another PickOne
// item (every value).
int ItemListPaperCodes(DriverContext* ctx, WORD* out, WORD item);
int ItemListPaperNames(DriverContext* ctx, WCHAR* out, int step, WORD item);
int ItemListPaperSizes(DriverContext* ctx, POINT* out, WORD item);
// The name of custom-size slot n (FreeSizeLoadAll first), at most step characters into out,
// which the caller has zero-filled; nothing for a slot the table lacks.
void ItemCustomSlotName(DriverContext* ctx, int n, WCHAR* out, int step);
// Bin codes (WORD each) and names (step wide characters each) of dmDefaultSource (PickSlot).
int ItemListBinCodes(DriverContext* ctx, WORD* out);
int ItemListBinNames(DriverContext* ctx, WCHAR* out, int step);
// Resolutions as pairs (x dpi, y dpi); on failure the one pair of the model's base resolution.
int ItemListResolutions(DriverContext* ctx, LONG* out);
// The same walk as print-macro ids (one LONG each); on failure the macro of the base resolution.
int ItemListResolutionMacros(DriverContext* ctx, LONG* out);
