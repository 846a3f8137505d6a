// Resetting one item to the model description's default.
#include "core/devmode/item_reset.h"

#include "core/items/item_access.h"
#include "core/items/item_checks.h"
#include "core/items/item_values.h"
#include "core/items/item_table.h"
#include "core/model/model_lookup.h"
#include "core/model/model_types.h"

void DmResetItemToModelDefault(DriverContext* ctx, SettingItem* item) {
  if (!ctx || !item) return;
  // An item the description does not describe has no default to take: it keeps its value
  // rather than becoming 0.
  const ModelItemDescriptor* desc = ModelFindDescriptor(item->id, ctx);
  if (!desc) return;
  // The default is a logical value (a list's value id, a number, or a String item's string
  // id), stored through the item's value list; a text item loads the string. An item that
  // mirrors another shares that item's default, a value of the mirrored item's list.
  const LONG_PTR value = ModelGetItemDefault(item->id, ctx);
  const SettingItem* listItem = ItemValueListOwner(ctx, item, desc);
  if (listItem && listItem != item) {
    ItemSetRaw(ctx, item, ItemUnmapValue(ctx, listItem, value));
    return;
  }
  ItemSetValueOrString(ctx, item->id, value);
}
