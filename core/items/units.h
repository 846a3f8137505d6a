// Lengths: the settings keep them in 1/1200 inch, the user sees 0.1 mm or 0.01 inch. The
// conversions round so that a value survives the trip there and back, and display ranges are
// rounded inward. The arithmetic is unsigned 32-bit (UnitMulDiv signed) as the stored
// settings were computed with it.
#pragma once
#include "core/context/driver_context.h"
#include "core/items/item_table.h"
#include "platform/win32.h"

struct DlgControlRecord;

// Unit flags of the display conversions.
enum : int { kUnitTenthMm = 1, kUnitHundredthInch = 2 };

// a in 1/b inch as 0.1 mm; 0 when b is 0.
DWORD UnitToTenthMm(DWORD a, DWORD b);
// a in 1/b inch as 0.01 inch: a / (b / 100); 0 when b is below 100.
DWORD UnitToHundredthInch(DWORD a, DWORD b);
// a in 0.1 mm as 1/b inch.
DWORD UnitFromTenthMm(DWORD a, DWORD b);
// a in 0.01 inch as 1/b inch: a * (b / 100).
DWORD UnitFromHundredthInch(DWORD a, DWORD b);
// a * c / b without overflow of the product; 0 when b or c is 0.
DWORD UnitRescale(DWORD a, DWORD b, DWORD c);
// a * b / c in signed 32-bit, the quotient floored (-21 / 2 is -11); -1 when c is 0.
LONG UnitMulDiv(LONG a, LONG b, LONG c);

// Display value (flag 1: 0.1 mm, 2: 0.01 inch) to a count at dpi: the largest even count of
// 1/1200 inch that does not display above the value, rescaled. 0 for another flag.
DWORD UnitDisplayToDots(int flag, DWORD value, DWORD dpi);
// Count at dpi to the smallest display value whose 1/1200-inch count is not below it.
DWORD UnitDotsToDisplay(int flag, DWORD value, DWORD dpi);

// The value (1/1200 inch), or with a nonzero id that item's logical value, in the context's
// display unit; a negative value gives 0.
LONG ItemDotsToDisplay(DriverContext* ctx, WORD id, LONG value);
// A display value in 1/1200 inch; with a nonzero id it is also written to that item. A
// negative value counts as 0.
LONG ItemDisplayToDots(DriverContext* ctx, WORD id, LONG value);

// Custom paper width (wdmFreeSizeWidth) or length (wdmFreeSizeLength) limits of the model
// record in display units, rounded inward. 1 with the range, 0 for other ids.
BOOL ModelFreeSizeRange(DriverContext* ctx, WORD id, LONG* min, LONG* max);
// Display range of a size edit control: the custom-paper module's limits when it gives them,
// else the control's numeric description rounded inward. 0 when neither exists.
BOOL CtlDisplayRange(DriverContext* ctx, const DlgControlRecord* control, LONG* min, LONG* max);

// 1 when the display language (zdmLanguageID) shows numbers with a decimal comma.
int ItemLangUsesDecimalComma(const DriverContext* ctx);

