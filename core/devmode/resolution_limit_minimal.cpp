// Minimal version until the resolution cap is built: no paper limits the resolution.
#include "core/devmode/resolution_limit.h"

SHORT FinResolutionLimit(DriverContext*, int, int) { return 0; }
SHORT DmResolutionLimitFor(DriverContext*, int) { return 0; }
SHORT FinResolutionOverLimit(DriverContext*, int) { return 0; }
