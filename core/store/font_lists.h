// The font lists of the model description, as the font tables store them: fresh arrays of
// MemAllocZero the caller frees with MemFree, or null when the model lists none.
#pragma once
#include "core/store/font_tables.h"

struct DriverContext;

// cartridges 0: the resident device fonts; 1: the fonts of the installed cartridges.
DeviceFontRecord* StoreModelFontRecords(DriverContext* ctx, int cartridges, WORD* count);
// The model's font-substitution table.
FontSubstEntry* StoreModelFontSubstTable(DriverContext* ctx, WORD* count);
