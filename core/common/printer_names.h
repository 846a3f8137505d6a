// Printer facts a context needs (name, driver name, server, attributes), fetched from the
// spooler at most once per context.
#pragma once
#include "platform/win32.h"

struct DriverContext;

// The UI state's driver name (the model record's fallback when unreadable).
const WCHAR* PrnGetDriverName(DriverContext* ctx);
