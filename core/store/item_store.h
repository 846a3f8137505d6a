// The persisted item store: setting items kept in printer data and the settings ini.
#pragma once
#include "platform/win32.h"

struct DriverContext;
struct SettingItem;

// Loads every persisted item into a newly opened context (and the acquired settings of the
// bidirectional ini). Returns 1.
int StoreLoadAtOpen(DriverContext* ctx);
// Reads one item from printer data under the value name that equals the item's own name.
// 0 when the row or its name is missing, else the result of the read.
int StoreReadItemDefaultName(HANDLE printer, DriverContext* ctx, SettingItem* row);
// Writes one item to printer data under its own name; 0 when the row or its name is missing,
// else the result of the write.
int StoreWriteItemDefaultName(HANDLE printer, DriverContext* ctx, SettingItem* row);

