// The font lists of the settings: the device fonts and option fonts the printer offers, and the
// substitution table that maps TrueType faces to device fonts. Names are 32 wide characters; a
// name that fills all 32 without a terminator reads as empty.
#pragma once
#include "core/context/driver_context.h"
#include "core/store/font_tables.h"
#include "platform/win32.h"

// The entries are the records the store keeps in printer data: one layout for both.
typedef DeviceFontRecord ItemFontEntry;       // device-font and option-font lists (68 bytes)
typedef FontSubstEntry ItemFontSubstEntry;    // substitution table (128 bytes)

// Device fonts plus option fonts; a negative count, or a count without a table, counts 0.
int ItemFontCount(DriverContext* ctx);
// Name of font n over the device fonts followed by the option fonts; empty past the end.
const WCHAR* ItemFontName(DriverContext* ctx, int n);
// Installs a new substitution table: the table in force is freed and the settings own the one
// given, each name cut to 31 characters. A count of 0 or less frees the table given and leaves
// none; a null table restores the printer's default table.
void ItemFontTableReplace(DriverContext* ctx, int count, ItemFontSubstEntry* table);
// The device font that replaces a TrueType face (the first entry whose face is equal, case
// sensitive); without a table or a match, the first device font.
const WCHAR* ItemFontSubstFor(DriverContext* ctx, const WCHAR* face);
