// Resetting one item to the model description's default.
#pragma once

struct DriverContext;
struct SettingItem;

// Sets the item to the description's default value through the logical-value path.
void DmResetItemToModelDefault(DriverContext* ctx, SettingItem* item);
