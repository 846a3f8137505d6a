// Minimal version until the persisted item store is built: loading at open leaves the
// settings as the open built them, no item is found in printer data and none is written there.
#include "core/store/item_store.h"

int StoreLoadAtOpen(DriverContext* ctx) {
  (void)ctx;
  return 1;
}

int StoreReadItemDefaultName(HANDLE printer, DriverContext* ctx, SettingItem* row) {
  (void)printer;
  (void)ctx;
  (void)row;
  return 0;
}


int StoreWriteItemDefaultName(HANDLE printer, DriverContext* ctx, SettingItem* row) {
  (void)printer;
  (void)ctx;
  (void)row;
  return 0;
}
