// The font lists of the model description in the row formats of the font tables: the resident
// device fonts, the font cartridges and the TrueType-to-device-font pairs of the first FontTbl
// item. Each list is a fresh zeroed block (MemAllocZero) that the caller frees with MemFree.
// Names are converted with the ANSI code page and cut to 31 characters after the conversion,
// so a double-byte character is never split.
#pragma once
#include "core/store/font_tables.h"

struct DriverContext;

// One row per device-font entry of the description, in list order. Null when the context has
// no description, the list is empty or the block cannot be allocated; *count (when given)
// receives the number of rows, 0 on every failure.
DeviceFontRecord* ModelListDeviceFonts(DriverContext* ctx, DWORD* count);
// The same for the font-cartridge entries.
DeviceFontRecord* ModelListFontCartridges(DriverContext* ctx, DWORD* count);
// One row per pair of the first value entry with pairs of the first FontTbl item (type word
// exactly FontTbl); later FontTbl items are never read. Null, with *count 0, when there is no
// such item or entry, or no memory.
FontSubstEntry* ModelListFontSubstitutions(DriverContext* ctx, DWORD* count);

// The lists as the font tables load them, with their WORD counts: cartridges 0 the device
// fonts, 1 the cartridges. A list longer than the count items can hold (kFontTableMaxCount)
// is refused like a missing one.
DeviceFontRecord* StoreModelFontRecords(DriverContext* ctx, int cartridges, WORD* count);
FontSubstEntry* StoreModelFontSubstTable(DriverContext* ctx, WORD* count);
