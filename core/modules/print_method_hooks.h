// The print-method module's answers to the judges.
#pragma once
#include "core/context/driver_context.h"
#include "platform/win32.h"

// Value of the print-method module's judge-hook items (1404-1419); other ids 0.
int PrnMethodAnswerJudgeHook(DriverContext* ctx, WORD id);
