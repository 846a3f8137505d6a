// Mapping between the stored value of an item (what the DEVMODE or the device holds) and its
// logical value (what the model description and the dialogs speak of), through the item's
// value list. zdmNUPType and zdmDuplexType carry a second list for landscape.
#pragma once
#include "core/context/driver_context.h"
#include "core/items/item_table.h"
#include "platform/win32.h"

// The list that applies to the item now: for zdmNUPType and zdmDuplexType in landscape
// (dmOrientation 2) the list after the first list's end entry, else the first list; null for
// an item without a list.
const ItemValueEntry* ItemChooseValueList(DriverContext* ctx, const SettingItem* item);
// Logical value of a stored value: the first entry with that stored value whose logical value
// is not 0xFFFF; without a list or a match the stored value itself.
LONG_PTR ItemMapValue(DriverContext* ctx, const SettingItem* item, LONG_PTR stored);
// Stored value of a logical value (compared as 16-bit); without a list or a match the value.
LONG_PTR ItemUnmapValue(DriverContext* ctx, const SettingItem* item, LONG_PTR logical);
// 1 when the applicable list offers the stored value (logical value other than 0xFFFF).
BOOL ItemIsStoredValueListed(DriverContext* ctx, const SettingItem* item, LONG_PTR stored);

