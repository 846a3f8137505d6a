// Minimal version until the driver context is built: every context takes the global mutex.
#include "core/engine/driver_context_fwd.h"

int CtxUsesGlobalMutex(const DriverContext* ctx) {
  (void)ctx;
  return 1;
}
