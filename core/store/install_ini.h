// The install ini "ZEMS.ini" in the System directory and its per-printer keys.
#pragma once
#include "platform/win32.h"

struct DriverContext;

// Full path of the install ini, built in the context's UI state.
const WCHAR* InstIniPath(DriverContext* ctx);
// 1 when DrvInstSet of the printer's section reads as an integer other than 0.
int InstGetDrvInstSet(const WCHAR* iniPath, const WCHAR* printerName);
// Writes DrvInstSet as decimal text.
void InstSetDrvInstSet(const WCHAR* iniPath, const WCHAR* printerName, int value);

