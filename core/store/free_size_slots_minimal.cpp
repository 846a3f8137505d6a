// Minimal version until the custom-size store is built: there is no slot table to fill, so the
// user paper items stay where they are and no slot reaches the custom-size items.
#include "core/store/free_size_store.h"

void FreeSizeSlotFromUserPaper(DriverContext*, LONG, int) {}
void FreeSizeSlotToItems(DriverContext*, int) {}
void FreeSizeSlotToSrcItems(DriverContext*, int) {}
