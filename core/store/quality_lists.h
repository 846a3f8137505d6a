// Quality lists: named settings files of the print-quality group, listed under the keys
// "QualityList<n>" of the printer's section of the settings ini.
#pragma once
#include "platform/win32.h"

struct DriverContext;

// wdmUserSetName := the "Name" value of the key's list.
void QualityLoadName(DriverContext* ctx, LPCWSTR key);

// Loads a settings file into the context (flags 0 plain, or a combination of the settings-file
// flags); 1 or 0 with the status in the context. The settings-file store defines it.
int StoreLoadSettingsFile(HANDLE printer, LPCWSTR path, DWORD flags, DriverContext* ctx);
