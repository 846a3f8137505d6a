// Dispatch of events to the UI extension modules of a context.
#pragma once
#include "core/engine/driver_context.h"

// Offers the event to each module's event callback in table order until one returns nonzero.
// Answers come back through the argument record, which the sender initialises.
void ModBusSendEvent(DriverContext* ctx, int event, void* argument);

