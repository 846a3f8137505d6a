// The font tables that a settings block points at (device fonts, option fonts, font
// substitution): heap arrays owned by the block that holds their addresses.
#pragma once
#include "platform/win32.h"

struct DriverContext;

// Frees the three heap tables of the context's current settings and sets their items to 0;
// the count items are left. Returns 1; nothing happens without a context or settings block.
int StoreFreeFontTables(DriverContext* ctx);
// Replaces the font-substitution table of the current settings by the printer's default
// table. Returns 1, 0 when it cannot be read.
int StoreLoadDefaultFontSubstTable(HANDLE printer, DriverContext* ctx);
