// Minimal version of the static-table operation whose work belongs to a feature not built
// yet; it says what it waits for.
#include "core/tables/static_tables.h"

// Waits for the transfer of a terminal-server client's configuration (the remote
// configuration binding and the client settings import); until it is built the hook runs
// nothing, also in a build that sets feature bit 7.
int BuildRunFeatureHook(DriverContext* ctx, const PRINTER_INFO_2W* info, const DRIVER_INFO_3W* driverInfo) {
  (void)ctx;
  (void)info;
  (void)driverInfo;
  return 0;
}
