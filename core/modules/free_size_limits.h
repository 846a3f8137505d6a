// Custom paper limits that the custom-paper module gives for its size edits, and the records
// of the module's events.
#pragma once
#include "core/context/driver_context.h"
#include "platform/win32.h"

struct DlgControlRecord;
struct DlgPageRecord;

// Custom-size limits of a tray and orientation in 1/1200 inch: the length pair (length
// nonzero) or the width pair, for the display unit in force, moved inward to values the
// display unit shows exactly. The model's rows come first, then the default table; the first
// row for the tray and orientation whose system kind is 3 or the running one decides. 1 with
// the limits, 0 (nothing written) when no row has them.
int FreeSizeGetLimits(DriverContext* ctx, WORD tray, WORD orientation, LONG* maximum, LONG* minimum, BOOL length);

// For a length or width edit or spin of the custom-size dialogs (1017: the slot being edited;
// 1041: the paper or print size by wdmInputFreeSizeType): 1 with the limits in 1/1200 inch,
// moved inward to whole display units; 0 for any other control or without a limits row.
int FreeSizeGetControlLimits(DriverContext* ctx, const DlgControlRecord* control, DWORD* maximum,
                             DWORD* minimum);
// The same for the control with this id on the given dialog.
int FreeSizeGetPageLimits(DriverContext* ctx, WORD dialog, WORD controlId, LONG* maximum, LONG* minimum);
// The limits of a size control of the given dialog in display units; without a limits row the
// control's numeric description rounded inward. 0 when neither applies.
int FreeSizeDisplayLimits(DriverContext* ctx, WORD dialog, const DlgControlRecord* control, LONG* minimum,
                          LONG* maximum);
// In inch mode: zdmPaperINCHLength/Width from the 1/1200-inch paper size, in 0.01 inch and
// held within the size edits' display limits; an item is written only when it changes.
void FreeSizeSyncInchItems(DriverContext* ctx);
// 1 while the paper size is typed in inches: a user paper size, the inch display unit and
// dialog 1041 editing the paper size.
int FreeSizeInInchMode(DriverContext* ctx);

// Events 38-41, 43 and 55: a size control and its value (in or out).
struct FreeSizeValueEvent {
  DlgControlRecord* control;
  LONG value;
};
// Event 46: a scroll bar's range, given when the module knows it.
struct FreeSizeRangeEvent {
  DlgControlRecord* control;
  LONG maximum;
  LONG minimum;
  LONG given;
};
// Event 51: whether a numeric edit can show inches.
struct FreeSizeInchFlagEvent {
  DlgControlRecord* control;
  LONG flag;
};
// Event 47: the page and description node of an accepted change.
struct FreeSizeChangeEvent {
  DlgPageRecord* page;
  const void* node;
};
