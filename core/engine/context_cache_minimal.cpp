// Minimal version until the driver-context cache is built: there is no cache to empty yet.
#include "core/engine/context_cache.h"

void CtxCacheInit() {}
