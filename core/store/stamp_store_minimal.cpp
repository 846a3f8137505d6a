// Minimal version until the watermark store is built: the watermark items stay as they are.
#include "core/store/stamp_store.h"

void StampReselect(DriverContext*) {}
