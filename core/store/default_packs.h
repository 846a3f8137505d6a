// Default packs and the preset import.
#pragma once
#include "platform/win32.h"

struct DriverContext;

// 1 when the printer's section of the settings ini holds "BatchInstRst" (a batch pack names
// the printer's settings), else 0.
int InstHasBatchPack(DriverContext* ctx);
