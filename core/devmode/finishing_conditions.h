// The finishing condition items (ids 723-914): never stored, computed from the current
// settings whenever a judge asks for one.
#pragma once
#include "platform/win32.h"

struct DriverContext;

// The answer for one condition item id, like an item value; 0 for ids without a rule.
LONG FinComputeConditionItem(DriverContext* ctx, WORD id);
// The items FinComputeConditionItem may read for the id, from the rule's row of inputs: up to
// cap ids into inputs (an id may repeat); the count (0 for an id without a rule), or -1 when
// there are more than cap.
int FinConditionInputs(WORD id, WORD* inputs, int cap);
// True when the id's reader only reads (every rule but the resolution cap's, which re-derives
// the settings it reads): its answer holds for as long as the settings do not change.
bool FinConditionPure(WORD id);
