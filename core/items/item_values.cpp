// Stored <-> logical value mapping through the item value lists.
#include "core/items/item_values.h"

#include "core/items/item_access.h"
#include "core/items/item_ids.h"
#include "core/items/item_table.h"

namespace {

constexpr LONG kLandscape = 2;
// A value the field can hold but this driver never offers.
constexpr WORD kNotOffered = 0xFFFF;

const ItemValueEntry* FirstList(const SettingItem* item) {
  return item ? ItemValueList(item) : nullptr;
}

}  // namespace

const ItemValueEntry* ItemChooseValueList(DriverContext* ctx, const SettingItem* item) {
  const ItemValueEntry* list = FirstList(item);
  if (!list) return nullptr;
  if ((item->id == kItem_zdmNUPType || item->id == kItem_zdmDuplexType) &&
      ItemGetRawById(ctx, kItem_dmOrientation) == kLandscape) {
    // The landscape list follows the portrait list's end entry.
    while (list->logical != 0) ++list;
    ++list;
  }
  return list;
}

LONG_PTR ItemMapValue(DriverContext* ctx, const SettingItem* item, LONG_PTR stored) {
  for (const ItemValueEntry* e = ItemChooseValueList(ctx, item); e && e->logical != 0; ++e)
    if (static_cast<LONG_PTR>(e->stored) == stored && e->logical != kNotOffered)
      return e->logical;
  return stored;
}

LONG_PTR ItemUnmapValue(DriverContext* ctx, const SettingItem* item, LONG_PTR logical) {
  for (const ItemValueEntry* e = ItemChooseValueList(ctx, item); e && e->logical != 0; ++e)
    if (e->logical == static_cast<WORD>(logical)) return static_cast<LONG_PTR>(e->stored);
  return logical;
}

BOOL ItemIsStoredValueListed(DriverContext* ctx, const SettingItem* item, LONG_PTR stored) {
  for (const ItemValueEntry* e = ItemChooseValueList(ctx, item); e && e->logical != 0; ++e)
    if (static_cast<LONG_PTR>(e->stored) == stored && e->logical != kNotOffered)
      return 1;
  return 0;
}

