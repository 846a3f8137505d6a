// Minimal version until the font tables in printer data are built: the default substitution
// table is read as empty, so restoring it frees the table in force and leaves none.
#include <string.h>

#include "core/context/driver_context.h"
#include "core/items/item_access.h"
#include "core/items/item_ids.h"
#include "core/common/mem.h"
#include "core/store/font_tables.h"

int StoreLoadDefaultFontSubstTable(HANDLE printer, DriverContext* ctx) {
  (void)printer;
  BYTE* tableAt = ItemStoragePtr(ctx, ItemFind(ctx, kItem_zdmFontTable));
  BYTE* countAt = ItemStoragePtr(ctx, ItemFind(ctx, kItem_zdmFontTableNum));
  if (!tableAt || !countAt) return 0;
  DWORD address;
  memcpy(&address, tableAt, sizeof(address));
  MemFree(reinterpret_cast<void*>(static_cast<ULONG_PTR>(address)));
  memset(tableAt, 0, sizeof(address));
  memset(countAt, 0, sizeof(SHORT));
  return 1;
}
