// Minimal version until the driver file paths are built: the driver folder is unknown, so the
// model data file has no path.
#include "core/common/driver_paths.h"

const WCHAR* PathModelDataFile(DriverContext*) {
  static const WCHAR kNone[] = {0};
  return kNone;
}

