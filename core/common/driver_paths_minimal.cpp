// Minimal version until the driver file paths are built: the driver folder is unknown, so the
// model data file has no path.
#include "core/common/driver_paths.h"
#include "core/common/printer_names.h"

const WCHAR* PathModelDataFile(DriverContext*) {
  static const WCHAR kNone[] = {0};
  return kNone;
}

// The driver name is not asked for while the model data file has no path.
const WCHAR* PrnGetDriverName(DriverContext*) {
  static const WCHAR kNone[] = {0};
  return kNone;
}
