// The watermark store of the printer's settings ini.
#pragma once
#include "platform/win32.h"

struct DriverContext;

// Loads and saves again every stored watermark in the current form.
void StampResaveAll(DriverContext* ctx);

// Selects the chosen watermark again when watermarks are on and its kind is a known one.
void StampReselect(DriverContext* ctx);
