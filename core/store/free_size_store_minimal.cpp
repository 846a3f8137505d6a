// Minimal version until the custom-size store is built: no slot has a stored section, so
// loading one changes nothing.
#include "core/store/free_size_store.h"

void FreeSizeLoadSlot(DriverContext*, int) {}

