// Evaluation of the model's judges against the current settings.
#pragma once
#include "core/context/driver_context.h"
#include "platform/win32.h"

struct ExclusiveRecord;
struct JudgeCell;
struct ValueRule;

// Result of the judge (0 false, nonzero true); a missing judge gives 0.
int JudgeEvaluate(const JudgeCell* first, DriverContext* ctx);
// The first rule of the value, or null.
const ValueRule* ModelFindValueRule(const ExclusiveRecord* rules, WORD value_id);

