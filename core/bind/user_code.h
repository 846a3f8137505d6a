// Where a printer's user code comes from: the settings an administrator put into the
// printer's data for all users of a server, or the user-code store of the settings folder,
// which remembers each printer's last code and the most recently used one.
#pragma once
#include "platform/win32.h"

struct DriverContext;

// 1 when the server's settings were taken or the store was read into the user-code items; 0
// for a printer reached through a server and when the store cannot be read.
int UserCodeFromServer(DriverContext* ctx);
// Reads (creating it when missing) the user-code store into zdmLogCodeUse, zdmLogCode,
// zdmDllLogCode and zdmUserCodeFIX. 1, or 0 when its path cannot be had.
int UserCodeReadStore(DriverContext* ctx);
// The user-code provider state: no provider is loaded by this driver, so the two flags
// zdmUserCodeGet and zdmUserCodeDLL become 0.
void UserCodeApplyProviderState(DriverContext* ctx);
