// Custom paper limits that the custom-paper module gives for its size edits.
#pragma once
#include "core/context/driver_context.h"
#include "platform/win32.h"

struct DlgControlRecord;

// For a width or length edit of the custom-size dialogs: 1 with the limits in 1/1200 inch,
// moved inward to whole display units; 0 for any other control or without a limits row.
int FreeSizeGetControlLimits(DriverContext* ctx, const DlgControlRecord* control, DWORD* maximum,
                             DWORD* minimum);

