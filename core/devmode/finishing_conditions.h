// The finishing condition items (ids 723-914): never stored, computed from the current
// settings whenever a judge asks for one.
#pragma once
#include "platform/win32.h"

struct DriverContext;

// The answer for one condition item id, like an item value; 0 for ids without a rule.
LONG FinComputeConditionItem(DriverContext* ctx, WORD id);
