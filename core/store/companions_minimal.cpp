// Minimal version until the companion-product registrations are read: no companion product
// counts as installed.
#include "core/store/driver_identity.h"

int InstIsCompanionInstalled(int, DriverContext*) { return 0; }
