// Resetting one item to the model description's default.
#pragma once

struct DriverContext;
struct SettingItem;

// Sets the item to the description's default value through the logical-value path (a text
// item loads its default string). An item without a descriptor, a null item or context, and a
// context without a settings block are left as they are.
void DmResetItemToModelDefault(DriverContext* ctx, SettingItem* item);
