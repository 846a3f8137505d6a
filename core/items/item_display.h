// Display text of an item's current value: option names and on/off texts from the string
// resources, lengths in the user's display unit, numbers and texts.
#pragma once
#include "core/context/driver_context.h"
#include "core/items/item_table.h"
#include "platform/win32.h"

struct ModelItemDescriptor;

// Writes the display text of the current value of the item that the symbol names into buffer
// (cchBuffer characters, always terminated, never written past). Returns the text's length.
int ItemFormatValue(DriverContext* ctx, WORD symbol, WCHAR* buffer, int cchBuffer);
// The same for an item and the descriptor that describes it (null: shown as a plain number).
int ItemFormatDescribedValue(DriverContext* ctx, const SettingItem* item,
                             const ModelItemDescriptor* descriptor, WCHAR* buffer, int cchBuffer);

// The number part of a numeric item's display text: with display conversion (change class
// 0x80000000) the length in display units as fixed point ("210.0", "8.50", with a decimal
// comma in the languages that use one), else the whole number. Returns the text's length.
int ItemFormatNumber(DriverContext* ctx, const SettingItem* item, LONG_PTR value,
                     WCHAR* buffer, int cchBuffer);

// The string id shown for a list value: the replacement of the fixed pair table, or the id.
WORD ItemDisplayStringId(WORD value_id);

