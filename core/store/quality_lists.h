// Quality lists: named settings files of the print-quality group, listed under the keys
// "QualityList<n>" of the printer's section of the settings ini.
#pragma once
#include "platform/win32.h"

struct DriverContext;

// wdmUserSetName := the "Name" value of the key's list.
void QualityLoadName(DriverContext* ctx, LPCWSTR key);
