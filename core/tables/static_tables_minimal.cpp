// Minimal versions of the two static-table operations whose work belongs to features not built
// yet; each says what it waits for.
#include "core/tables/static_tables.h"

// Waits for the lister of the allowed values of PJL-mapped items, which decides what
// zdmSortType may take on this printer; until it is built no sort choice is offered.
int ItemHasSortChoice(DriverContext* ctx) {
  (void)ctx;
  return 0;
}

// Waits for the transfer of a terminal-server client's configuration (the remote
// configuration binding and the client settings import); until it is built the hook runs
// nothing, also in a build that sets feature bit 7.
int BuildRunFeatureHook(DriverContext* ctx, const PRINTER_INFO_2W* info, const DRIVER_INFO_3W* driverInfo) {
  (void)ctx;
  (void)info;
  (void)driverInfo;
  return 0;
}
