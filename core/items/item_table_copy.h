// A copy of a context's item table, to put the rows back after a trial change.
#pragma once
#include "core/context/driver_context.h"
#include "core/items/item_table.h"

// A heap copy {count, rows} of the context's item table; the rows' SettingItemRefs are shared,
// not copied. Null without a table or when out of memory.
SettingItemTable* ItemTableClone(DriverContext* ctx);
// Copies the clone's rows back over the context's table (at most the table's row count) and
// frees the clone; a null clone or one without rows only frees what there is.
void ItemTableRestore(DriverContext* ctx, SettingItemTable* clone);
