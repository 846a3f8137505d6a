// Minimal version until the value checks land: the item keeps its value.
#include "core/devmode/item_reset.h"

void DmResetItemToModelDefault(DriverContext*, SettingItem*) {}
