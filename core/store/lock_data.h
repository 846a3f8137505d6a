// Lock data of a printer: the locked setting values kept in printer data.
#pragma once
#include "platform/win32.h"

struct DriverContext;

// Reads the locked values into the context: 1 when every locked value was read, 0 at the
// first that was not.
int StoreLoadLockData(HANDLE printer, DriverContext* ctx);
