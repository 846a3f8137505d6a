// Whether the chosen punch and staple positions are possible on a finisher kind, given the
// output paper, the way the selected source feeds it and the layout of the page on the sheet.
#pragma once
#include "core/context/driver_context.h"
#include "platform/win32.h"

// 1 when the zdmPunchType position is possible on the kind (kinds A, B, E, G, I, J, K).
int FinPunchFeasible(DriverContext* ctx, int kind);
// 1 when the zdmStapleType position is possible on the kind (every kind A to K).
int FinStapleFeasible(DriverContext* ctx, int kind);
// The answers of the saddle-and-bind finisher's own condition items (ids 787 to 791).
int FinBindFinisherItem(DriverContext* ctx, WORD id);
