// Minimal version until the UI-module event bus is built: no module takes any event, so every
// argument record keeps what its sender put in it.
#include "core/engine/module_bus.h"

void ModBusSendEvent(DriverContext*, int, void*) {}

