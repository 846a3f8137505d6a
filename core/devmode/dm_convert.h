// Version comparison of the private settings layout and the conversion scripts of the model
// description.
#pragma once
#include "platform/win32.h"

struct DriverContext;

// 0 current or newer, 1 upgradable (same major, older minor), 2 not upgradable.
int DmCompareVersion(DWORD a, DWORD b);
// Runs the description's conversion entry for each version after from up to to. 0 when the
// symbol table has no "TOV_ConvertDevmode", else 1.
int DmRunConvertScript(DWORD from, DWORD to, DriverContext* ctx);
