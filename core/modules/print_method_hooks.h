// The print-method module's answers to the judges.
#pragma once
#include "core/context/driver_context.h"
#include "platform/win32.h"

// Value of the print-method module's judge-hook items (1404-1419); other ids 0.
int PrnMethodAnswerJudgeHook(DriverContext* ctx, WORD id);
// The items PrnMethodAnswerJudgeHook reads for the id: up to cap ids into inputs; the count,
// or -1 when there are more than cap.
int PrnMethodJudgeHookInputs(WORD id, WORD* inputs, int cap);
