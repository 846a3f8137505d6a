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

// Fills slot (0-11) from the user paper items: code 256 from zdmPaperFreeSize* (340-343), 448
// from zdmPrintFreeSize* (344-347); other codes do nothing.
void FreeSizeSlotFromUserPaper(DriverContext* ctx, LONG code, int slot);
// Slot n into the custom-size work items (915-919) / the source custom-size items (920-924).
void FreeSizeSlotToItems(DriverContext* ctx, int n);
void FreeSizeSlotToSrcItems(DriverContext* ctx, int n);
