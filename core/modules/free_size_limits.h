// Custom paper limits that the custom-paper module gives for its size edits.
#pragma once
#include "core/context/driver_context.h"
#include "platform/win32.h"

struct DlgControlRecord;

// Custom-size limits of a tray and orientation in 1/1200 inch: the length pair (length
// nonzero) or the width pair, for the display unit in force, moved inward to values the
// display unit shows exactly. The model's rows come first, then the default table; the first
// row for the tray and orientation whose system kind is 3 or the running one decides. 1 with
// the limits, 0 (nothing written) when no row has them.
int FreeSizeGetLimits(DriverContext* ctx, WORD tray, WORD orientation, LONG* maximum, LONG* minimum, BOOL length);

// For a width or length edit of the custom-size dialogs: 1 with the limits in 1/1200 inch,
// moved inward to whole display units; 0 for any other control or without a limits row.
int FreeSizeGetControlLimits(DriverContext* ctx, const DlgControlRecord* control, DWORD* maximum,
                             DWORD* minimum);

