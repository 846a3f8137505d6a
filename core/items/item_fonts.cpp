// The font lists and the font-substitution table of the settings.
#include "core/items/item_fonts.h"

#include <string.h>

#include "core/common/mem.h"
#include "core/items/item_access.h"
#include "core/items/item_ids.h"
#include "core/store/font_tables.h"

namespace {

const WCHAR kEmpty[1] = {0};

template <typename T>
T* TableOf(DriverContext* ctx, WORD tableId, WORD countId, int* count) {
  LONG_PTR n = ItemGetRawById(ctx, countId);
  T* table = reinterpret_cast<T*>(static_cast<ULONG_PTR>(static_cast<DWORD>(ItemGetRawById(ctx, tableId))));
  *count = (table && n > 0) ? static_cast<int>(n) : 0;
  return *count ? table : nullptr;
}

bool Terminated(const WCHAR* name) {
  for (int i = 0; i < kFontNameChars; ++i)
    if (name[i] == 0) return true;
  return false;
}

const WCHAR* NameOrEmpty(const WCHAR* name) { return Terminated(name) ? name : kEmpty; }

}  // namespace

int ItemFontCount(DriverContext* ctx) {
  int devices = 0, options = 0;
  TableOf<ItemFontEntry>(ctx, kItem_zdmDeviceFont, kItem_zdmDeviceFontNum, &devices);
  TableOf<ItemFontEntry>(ctx, kItem_zdmOptionFont, kItem_zdmOptionFontNum, &options);
  return devices + options;
}

const WCHAR* ItemFontName(DriverContext* ctx, int n) {
  if (n < 0) return kEmpty;
  int devices = 0, options = 0;
  const ItemFontEntry* device = TableOf<ItemFontEntry>(ctx, kItem_zdmDeviceFont, kItem_zdmDeviceFontNum, &devices);
  if (n < devices) return NameOrEmpty(device[n].name);
  const ItemFontEntry* option = TableOf<ItemFontEntry>(ctx, kItem_zdmOptionFont, kItem_zdmOptionFontNum, &options);
  n -= devices;
  if (n < options) return NameOrEmpty(option[n].name);
  return kEmpty;
}

void ItemFontTableReplace(DriverContext* ctx, int count, ItemFontSubstEntry* table) {
  SettingItem* tableItem = ItemFind(ctx, kItem_zdmFontTable);
  SettingItem* countItem = ItemFind(ctx, kItem_zdmFontTableNum);
  if (!ItemStoragePtr(ctx, tableItem) || !ItemStoragePtr(ctx, countItem)) {
    MemFree(table);  // the caller handed it over; nothing else will hold it
    return;
  }
  if (!table) {
    StoreLoadDefaultFontSubstTable(ctx->printer, ctx);
    return;
  }
  void* inForce = reinterpret_cast<void*>(static_cast<ULONG_PTR>(static_cast<DWORD>(ItemGetRaw(ctx, tableItem))));
  if (count <= 0) {
    if (table != inForce) MemFree(table);
    table = nullptr;
    count = 0;
  } else {
    for (int i = 0; i < count; ++i) {
      table[i].face[kFontNameChars - 1] = 0;
      table[i].deviceFont[kFontNameChars - 1] = 0;
    }
  }
  // The table given may be the one in force (its count changed): it is then kept.
  if (inForce != table) MemFree(inForce);
  ItemSetRaw(ctx, tableItem, static_cast<LONG_PTR>(reinterpret_cast<ULONG_PTR>(table)));
  ItemSetRaw(ctx, countItem, count);
}

const WCHAR* ItemFontSubstFor(DriverContext* ctx, const WCHAR* face) {
  int count = 0;
  const ItemFontSubstEntry* table = TableOf<ItemFontSubstEntry>(ctx, kItem_zdmFontTable, kItem_zdmFontTableNum, &count);
  if (face)
    for (int i = 0; i < count; ++i) {
      const WCHAR* entry = table[i].face;
      if (!Terminated(entry)) continue;
      int k = 0;
      while (entry[k] && entry[k] == face[k]) ++k;
      if (entry[k] == face[k]) return NameOrEmpty(table[i].deviceFont);
    }
  return ItemFontName(ctx, 0);
}
