// The job's output-size adjustment and its two saved sets: set 1 belongs to bit 3 of
// zdmFrontFunc, set 2 to bit 5. Each keeps zdmOutPaperSize, zdmFuncSelectScale and zdmScaleType
// as they were before its adjustment, with a mark, in the context's UI state.
#pragma once
#include "platform/win32.h"

struct DriverContext;

enum : int { kOutputSizeSet1 = 0, kOutputSizeSet2 = 1 };

// Clears the set's mark.
void JobClearOutputSize(DriverContext* ctx, int set);
// The adjustments of the two sets.
void JobFitOutputSize1(DriverContext* ctx);
void JobFitOutputSize2(DriverContext* ctx);

// Around the job header's DEVMODE block, so that the printer receives the DEVMODE as the user
// chose it while the context keeps the adjusted values: before the block, each marked set whose
// zdmFrontFunc bit is set has its values stored back (returned as bits 1 << set); after it,
// each of those has its adjustment run again and its mark cleared.
DWORD JobOutputSizeBeforeDevmode(DriverContext* ctx);
void JobOutputSizeAfterDevmode(DriverContext* ctx, DWORD putBack);
