// The print-quality module's answers to the judges.
#pragma once
#include "core/context/driver_context.h"
#include "platform/win32.h"

// Value of the quality module's judge-hook items (1292-1307); other ids 0.
int CmmAnswerJudgeHook(DriverContext* ctx, WORD id);
// The items CmmAnswerJudgeHook reads for the id: up to cap ids into inputs; the count, or -1
// when there are more than cap.
int CmmJudgeHookInputs(WORD id, WORD* inputs, int cap);
