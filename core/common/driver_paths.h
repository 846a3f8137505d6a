// Paths of the driver's own files and the printer's driver name.
#pragma once
#include "core/engine/driver_context.h"
#include "platform/win32.h"

// The model data file: the model record's name when it is a full path, else in the driver
// folder. Kept in the UI state; empty when it cannot be had.
const WCHAR* PathModelDataFile(DriverContext* ctx);
