// The UI-module event bus of a context.
#pragma once
#include "platform/win32.h"

struct DriverContext;

// Gives the context its module table (with the modules' private data) and sends event 1
// (create). Returns 1, 0 when the table cannot be allocated.
int ModBusLoad(DriverContext* ctx);
// Sends event 2 (destroy) and frees the context's module table; nothing without one.
void ModBusFree(DriverContext* ctx);
// Offers the event to each module's event callback in table order until one returns nonzero.
// Answers come back through the argument record, which the sender initialises.
void ModBusSendEvent(DriverContext* ctx, int event, void* argument);
// Value of a judge-hook item for the judge evaluator: 1292-1307 the quality module's,
// 1404-1419 the print-method module's, any other id 0.
int ModBusJudgeHookValue(DriverContext* ctx, WORD id);
