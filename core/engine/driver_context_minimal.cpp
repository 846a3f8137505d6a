// Minimal version until the driver context is built: no context keeps an initial-settings or
// lock-default copy of its settings, so both accessors answer null.
#include "core/engine/driver_context.h"

BYTE* CtxInitialSettingsBlock(DriverContext*) { return nullptr; }
BYTE* CtxLockDefaultSettingsBlock(DriverContext*) { return nullptr; }
