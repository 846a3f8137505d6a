// The print-quality module's answers to the judges.
#pragma once
#include "core/context/driver_context.h"
#include "platform/win32.h"

// Value of the quality module's judge-hook items (1292-1307); other ids 0.
int CmmAnswerJudgeHook(DriverContext* ctx, WORD id);
