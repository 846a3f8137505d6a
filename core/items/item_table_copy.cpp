// Cloning and restoring a context's item table.
#include "core/items/item_table_copy.h"

#include <string.h>

#include "core/common/mem.h"

SettingItemTable* ItemTableClone(DriverContext* ctx) {
  if (!ctx || !ctx->items || !ctx->items->rows || ctx->items->count <= 0) return nullptr;
  const SettingItemTable* from = ctx->items;
  auto* clone = static_cast<SettingItemTable*>(MemAllocZero(sizeof(SettingItemTable)));
  if (!clone) return nullptr;
  clone->rows = static_cast<SettingItem*>(MemAllocZero(sizeof(SettingItem) * static_cast<SIZE_T>(from->count)));
  if (!clone->rows) {
    MemFree(clone);
    return nullptr;
  }
  clone->count = from->count;
  memcpy(clone->rows, from->rows, sizeof(SettingItem) * static_cast<SIZE_T>(from->count));
  return clone;
}

void ItemTableRestore(DriverContext* ctx, SettingItemTable* clone) {
  if (!clone) return;
  if (clone->rows && ctx && ctx->items && ctx->items->rows) {
    SHORT n = clone->count < ctx->items->count ? clone->count : ctx->items->count;
    if (n > 0) memcpy(ctx->items->rows, clone->rows, sizeof(SettingItem) * static_cast<SIZE_T>(n));
  }
  MemFree(clone->rows);
  MemFree(clone);
}
