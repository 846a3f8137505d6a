// Minimal version until the watermark store is built: no watermark is stored, so there is
// nothing to save again.
#include "core/store/stamp_store.h"

void StampResaveAll(DriverContext*) {}
