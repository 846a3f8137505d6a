// The ten custom paper sizes kept in the settings ini.
#pragma once
#include "core/context/driver_context.h"

// Loads custom-size slot n (0-9) into the custom-size items and the slot's paper items.
void FreeSizeLoadSlot(DriverContext* ctx, int n);


// One custom-size slot (204 bytes): slots 0-9 the user's named sizes, 10 and 11 the sizes of
// the paper codes 256 and 448.
struct FreeSizeSlot {
  char name1[64];        // the default name; wide text (at most 31 characters) in slots 10 and 11
  char name2[64];
  char currentName[64];  // the name the user gave
  LONG width;            // 1/1200 inch
  LONG length;
  SHORT tray;
  SHORT orientation;
};
static_assert(sizeof(FreeSizeSlot) == 204, "custom-size slot is 204 bytes");

// Loads the custom-size slots of the context once.
void FreeSizeLoadAll(DriverContext* ctx);
// Slot n (0-11) of the context's table, or null.
const FreeSizeSlot* FreeSizeGetSlot(DriverContext* ctx, int n);
