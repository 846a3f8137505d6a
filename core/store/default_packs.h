// Default settings packs: the preset and quality files a pack lists, imported into the
// printer's settings folders.
#pragma once
#include "platform/win32.h"

struct DriverContext;

// Imports the preset files the pack's section lists (flags: 0x2 copy, 0x100 keep status);
// 1 on success or when the pack lists nothing, 0 when the settings ini path is not
// drive-rooted or memory runs out.
int InstImportPresetFiles(const WCHAR* pack, const WCHAR* section, DWORD flags, DriverContext* ctx, int oldCount,
                          const WCHAR* oldEntries);
// The same for the quality files.
int InstImportQualityFiles(const WCHAR* pack, const WCHAR* section, DWORD flags, DriverContext* ctx);

// 1 when the printer's section of the settings ini holds "BatchInstRst" (a batch pack names
// the printer's settings), else 0.
int InstHasBatchPack(DriverContext* ctx);
