// Minimal version until the module bus is built: no module is loaded, so a context has no
// module table, no event is sent and every argument record keeps what its sender put in it.
#include "core/context/module_bus.h"

int ModBusLoad(DriverContext* ctx) {
  (void)ctx;
  return 1;
}

void ModBusFree(DriverContext* ctx) { (void)ctx; }

void ModBusSendEvent(DriverContext* ctx, int event, void* argument) {
  (void)ctx;
  (void)event;
  (void)argument;
}

int ModBusJudgeHookValue(DriverContext* ctx, WORD id) {
  (void)ctx;
  (void)id;
  return 0;
}
