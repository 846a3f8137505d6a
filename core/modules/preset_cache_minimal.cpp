// Minimal version until the preset module is built: nothing is cached, so there is nothing to
// forget or free.
#include "core/modules/preset_cache.h"

void PresetCacheOp(DriverContext* ctx, const WCHAR* key, int op) {
  (void)ctx;
  (void)key;
  (void)op;
}
