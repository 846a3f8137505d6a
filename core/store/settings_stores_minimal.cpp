// Minimal version until the locale defaults are built: nothing is set.
#include "core/store/settings_stores.h"

void InstSetLocaleDefaults(DriverContext*) {}
