// Minimal version until the module bus is built: no module is loaded, so a context has no
// module table and no event is sent.
#include "core/engine/module_bus.h"

int ModBusLoad(DriverContext* ctx) {
  (void)ctx;
  return 1;
}

void ModBusFree(DriverContext* ctx) { (void)ctx; }

