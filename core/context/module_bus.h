// The UI-module event bus of a context.
#pragma once

struct DriverContext;

// Gives the context its module table (with the modules' private data) and sends event 1
// (create). Returns 1, 0 when the table cannot be allocated.
int ModBusLoad(DriverContext* ctx);
// Sends event 2 (destroy) and frees the context's module table; nothing without one.
void ModBusFree(DriverContext* ctx);
// Offers the event to each module's event callback in table order until one returns nonzero.
// Answers come back through the argument record, which the sender initialises.
void ModBusSendEvent(DriverContext* ctx, int event, void* argument);
