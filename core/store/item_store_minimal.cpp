// Minimal version until the persisted item store is built: loading at open leaves the
// settings as the open built them, and no item is found in printer data.
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

