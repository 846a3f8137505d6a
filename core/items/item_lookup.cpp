// Lookups of a context's items by id, symbol and name.
#include "core/context/driver_context.h"
#include "core/items/item_table.h"
#include "core/tables/symbol_table.h"

namespace {

SettingItemTable* TableOf(DriverContext* ctx) {
  if (!ctx || !ctx->items || !ctx->items->rows || ctx->items->count <= 0) return nullptr;
  return ctx->items;
}

bool SameText(const WCHAR* a, const WCHAR* b) {
  while (*a && *a == *b) {
    ++a;
    ++b;
  }
  return *a == *b;
}

}  // namespace

SettingItem* ItemFind(DriverContext* ctx, WORD id) {
  SettingItemTable* table = TableOf(ctx);
  // Ids between the two runs and above the last item are no items: they must not land on
  // the row that their position would re-base to.
  int index = ItemRowIndex(id);
  if (!table || index < 0) return nullptr;
  if (index < table->count && table->rows[index].id == id) return &table->rows[index];
  // A table that is not in catalogue order (or has a zeroed row): search it by id.
  int lo = 0;
  int hi = table->count - 1;
  while (lo <= hi) {
    int mid = (lo + hi) / 2;
    WORD midId = table->rows[mid].id;
    if (midId == id) return &table->rows[mid];
    if (midId == 0 || midId > id) {
      hi = mid - 1;
    } else {
      lo = mid + 1;
    }
  }
  for (int i = table->count - 1; i >= 0; --i) {
    if (table->rows[i].id == id) return &table->rows[i];
  }
  return nullptr;
}

SettingItem* ItemFindBySymbol(DriverContext* ctx, WORD symbolId) {
  SettingItemTable* table = TableOf(ctx);
  if (!table || symbolId == 0) return nullptr;
  for (int i = 0; i < table->count; ++i) {
    if (table->rows[i].symbolId == symbolId) return &table->rows[i];
  }
  const SymbolEntry* symbol = TblFindSymbol(symbolId);
  if (!symbol || symbol->itemId == 0) return nullptr;
  return ItemFind(ctx, symbol->itemId);
}

SettingItem* ItemFindByName(DriverContext* ctx, const WCHAR* name) {
  SettingItemTable* table = TableOf(ctx);
  if (!table || !name || !*name) return nullptr;
  for (int i = 0; i < table->count; ++i) {
    const SettingItemRefs* refs = table->rows[i].refs;
    if (refs && refs->name && SameText(refs->name, name)) return &table->rows[i];
  }
  return nullptr;
}

const WCHAR* ItemGetName(DriverContext* ctx, WORD id) {
  SettingItem* item = ItemFind(ctx, id);
  return item && item->refs ? item->refs->name : nullptr;
}

const ItemValueEntry* ItemValueList(const SettingItem* item) {
  return item && item->refs ? item->refs->values : nullptr;
}

WORD ItemUnitKindOf(const SettingItem* item) {
  return item && item->refs ? item->refs->unitKind : static_cast<WORD>(ItemUnitPlain);
}
