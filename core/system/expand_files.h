// Runner of the programs that the model data file's "Expand File" section lists.
#pragma once
#include "platform/win32.h"

struct DriverContext;

// Runs, one after the other and each to its end, the programs named by "SystemDir1".. and
// "DriverDir1".. (counts "SystemDirfiles", "DriverDirfiles") of section "Expand File" of the
// model data file. Every program is taken from the driver folder; the first list runs in the
// System directory, the second in the driver folder. A program that cannot start is skipped.
void InstallRunExpandFiles(DriverContext* ctx);
