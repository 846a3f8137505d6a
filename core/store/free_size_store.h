// The ten custom paper sizes kept in the settings ini.
#pragma once
#include "core/context/driver_context.h"
#include "core/context/ui_state.h"

// Loads custom-size slot n (0-9) into the custom-size items and the slot's paper items.
void FreeSizeLoadSlot(DriverContext* ctx, int n);


// FreeSizeSlot, the record of one custom-size slot, lives with the UI state that holds the
// table.

// Loads the custom-size slots of the context once.
void FreeSizeLoadAll(DriverContext* ctx);
// Slot n (0-11) of the context's table, or null.
const FreeSizeSlot* FreeSizeGetSlot(DriverContext* ctx, int n);
// Writes every custom-size slot again in the current form.
void FreeSizeRewriteAll(DriverContext* ctx);
