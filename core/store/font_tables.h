// The font tables that a settings block points at (device fonts, option fonts, font
// substitution): heap arrays owned by the block that holds their addresses.
#pragma once

struct DriverContext;

// Frees the three heap tables of the context's current settings and sets their items to 0;
// the count items are left. Returns 1; nothing happens without a context or settings block.
int StoreFreeFontTables(DriverContext* ctx);

