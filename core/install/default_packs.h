// Default settings packs: the preset and quality files a pack lists, imported into the
// printer's settings folders.
#pragma once
#include "platform/win32.h"

struct DriverContext;

// Imports the preset files that the pack's section (the language code) lists into the
// printer's preset list with per-printer ".rsr" copies. Flags: 0x1 list, 0x2 copy, 0x10 fill
// the copy, 0x20 delete the copy, 0x40 list only files that pass the conditions, the driver
// and the watermark tests, 0x80 (with 0x40) only files new to the old entries (oldCount paths
// of 260 characters each) and not the first, 0x100 keep status ("DrvInstPresetDone"), 0x1000
// keep an existing copy. 1 on success or when the pack lists nothing (with 0x2 the last
// entry's copy), 0 when the settings ini path is not drive-rooted or memory runs out. Every
// file written or deleted passes StorePathIsDriverTarget; one outside is skipped.
int InstImportPresetFiles(const WCHAR* pack, const WCHAR* section, DWORD flags, DriverContext* ctx, int oldCount,
                          const WCHAR* oldEntries);
// The same for the quality files (no tests, no limit of 16 entries, "DrvInstQualityDone").
int InstImportQualityFiles(const WCHAR* pack, const WCHAR* section, DWORD flags, DriverContext* ctx);

// Writes the "condition", "disable" and language sections that the driver's combined pack
// files ("Deficonfiles0", "Defqualityfiles0") hold into each listed file; 1.
int InstSplitDefaultPack(DriverContext* ctx);

// Splits the driver's pack, copies the model data file's "Installfiles", imports the driver's
// pack lists with flags | 0x2 and copies the model's two component DLLs into the System
// directory. 0 only when memory runs out.
int InstImportInstallFiles(DriverContext* ctx, DWORD flags);
// As the spooler's own identity: copies the kind-2 companion files and the component DLLs
// from the printer's driver folder into the System directory. 1 once the copies were tried,
// 0 when the driver information or the System directory cannot be had or memory runs out.
int InstCopyComponentFiles(HANDLE printer);

// 1 when the printer's section of the settings ini holds "BatchInstRst" (a batch pack names
// the printer's settings), else 0.
int InstHasBatchPack(DriverContext* ctx);

// Imports the installer's pack (DefaultRst of the install ini, or on a multi-session host with
// an empty section the settings ini's, when batch is set and the install ini's
// "BatchInstallDone" is nonzero): its settings and device settings, lists (flags | 0x101),
// custom sizes and watermarks. The user ID, the owner and the authentication values that the
// install ini set survive the pack. 1 when the pack was taken over; 0 when there was none or
// its lists failed (the settings block is then put back). Whenever a pack was named, the
// install ini records it ("BatchInstallDone", "DefaultRstName") and loses its "DefaultRst".
int InstImportDefaultPack(DWORD flags, DriverContext* ctx, int batch);
// Imports the driver's own pack (DefaultRst of the model data file, an existing ".rsb") with
// flags | 0x1 and records the result in "BatchInstallDone" (settings ini, and printer data
// unless kind is 2) and zdmBatchInst. "BatchInstRst" and the install ini's "DefaultRstName"
// and "BatchInstallDone" are removed in every case. Always 1.
int InstImportDriverDefaultPack(DWORD flags, int kind, DriverContext* ctx);
// The pack's custom sizes ("FreeSizeCount" of its language section) and watermarks
// ("StampCount", the printer's count raised to it) saved as the printer's; zdmWmID is kept.
void InstImportPackStores(const WCHAR* pack, DriverContext* ctx);
