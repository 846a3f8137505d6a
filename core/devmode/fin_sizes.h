// Size classes of the papers a machine's trays feed, and the width limits of custom papers for
// the punch units.
#pragma once
#include "core/context/driver_context.h"
#include "platform/win32.h"

// The paper's class in the machine's size-class table: 1 large, 2 A4/Letter, 3 smaller and
// custom; 0 without a table or a row.
BYTE FinSizeClassOf(DriverContext* ctx, SHORT paper);
int FinSizeClassIs(DriverContext* ctx, BYTE sizeClass);
// 0 when the bypass source feeds the document or an active insert, else 1.
int FinSizeClassApplies(DriverContext* ctx);
int FinAnySourceHoldsPaper(DriverContext* ctx, SHORT paper, int orientation);
int FinAnySourceHoldsClass(DriverContext* ctx, BYTE sizeClass, int orientation);
int FinSizeClassFeedable(DriverContext* ctx, int layoutFlag);
// 1 unless the paper is a custom size not wider than the limit (wide: 8501, else the installed
// punch variant group's limit).
int FinCustomWidthAbove(DriverContext* ctx, int wide, SHORT paper);
// The same, with the limit that the chosen punch class needs.
int FinCustomWidthForPunch(DriverContext* ctx, int wide, SHORT paper);
