// Resource DLLs and strings of the language resource DLL.
#pragma once
#include "core/context/driver_context.h"
#include "platform/win32.h"

// Loads string id into buffer (cchBuffer characters, always terminated); with complete nonzero the
// string is completed with the values it stands for. Returns the characters loaded; 0 with an
// empty buffer when the language DLL cannot be had.
int ResLoadString(DriverContext* ctx, UINT id, WCHAR* buffer, int cchBuffer, BOOL complete);

// The language resource DLL's path, built in the UI state's driver-folder buffer.
const WCHAR* ResLanguageDllPath(DriverContext* ctx);
