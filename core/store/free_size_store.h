// The ten custom paper sizes kept in the settings ini.
#pragma once
#include "core/context/driver_context.h"

// Loads custom-size slot n (0-9) into the custom-size items and the slot's paper items.
void FreeSizeLoadSlot(DriverContext* ctx, int n);

