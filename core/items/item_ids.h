// Ids of the setting items that the code names, as kItem_<catalogue name>. The numbers stand
// in item_ids.inc, which item_ids.cpp checks against the catalogue by name at compile time, so
// no table or getter can drift from the catalogue while this header stays cheap to include.
#pragma once
#include "platform/win32.h"

enum : DWORD {
#define ITEM_ID(name, id) kItem_##name = id,
#include "core/items/item_ids.inc"
#undef ITEM_ID
};
