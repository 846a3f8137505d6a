// Minimal declarations until typed item access is built: what the common services and the
// ini text writer call of it.
#pragma once
#include "core/engine/item_table.h"
#include "platform/win32.h"

LONG_PTR ItemGetRawById(DriverContext* ctx, WORD id, SettingItem** found = nullptr);
void CtxSetFileStatus(DriverContext* ctx, LONG status);
LONG CtxGetFileStatus(DriverContext* ctx);
