// Compile-time check of the named item ids (item_ids.inc): each must be the id that the item
// catalogue gives the item of that name.
#include "core/items/item_ids.h"

namespace {

struct NameId {
  const char* name;
  WORD id;
};

constexpr NameId kCatalogue[] = {
#define ITEM(id, symbol, name, ...) {name, id},
#include "core/items/item_catalogue.inc"
#undef ITEM
};

constexpr bool SameName(const char* a, const char* b) {
  while (*a && *a == *b) ++a, ++b;
  return *a == *b;
}

// The id of the named item, 0 when the catalogue has no such name.
constexpr WORD ItemIdByName(const char* name) {
  for (const NameId& row : kCatalogue)
    if (row.name[0] && SameName(row.name, name)) return row.id;
  return 0;
}

#define ITEM_ID(name, id) static_assert(ItemIdByName(#name) == (id), #name);
#include "core/items/item_ids.inc"
#undef ITEM_ID

}  // namespace
