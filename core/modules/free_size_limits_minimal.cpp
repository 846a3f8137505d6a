// Minimal version until the custom-paper module is built: no control has module limits.
#include "core/modules/free_size_limits.h"

int FreeSizeGetControlLimits(DriverContext*, const DlgControlRecord*, DWORD*, DWORD*) {
  return 0;
}

