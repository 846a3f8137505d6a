// Resetting one item to the model description's default.
#include "core/devmode/item_reset.h"

#include "core/items/item_access.h"
#include "core/items/item_table.h"
#include "core/model/model_lookup.h"

void DmResetItemToModelDefault(DriverContext* ctx, SettingItem* item) {
  if (!ctx || !item) return;
  // An item the description does not describe has no default to take: it keeps its value
  // rather than becoming 0.
  if (!ModelFindDescriptor(item->id, ctx)) return;
  // The default is a logical value (a list's value id, a number, or a String item's string
  // id), stored through the item's value list; a text item loads the string.
  ItemSetValueOrString(ctx, item->id, ModelGetItemDefault(item->id, ctx));
}
