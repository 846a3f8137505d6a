// Names of outside DLLs that the model description gives.
#pragma once
#include "core/context/driver_context.h"
#include "platform/win32.h"

// The model's resource DLL name (a bare file name such as "zemsresus.dll"); null when the
// context has no model description or the description names none.
const WCHAR* ModelGetUiResDllName(DriverContext* ctx);
