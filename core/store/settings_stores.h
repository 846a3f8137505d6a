// The stores built on the settings-file format that a settings-file load or save calls: the
// custom-size slots, watermarks, quality lists, the modules' stored items, the locale defaults
// and the preset-file copy.
#pragma once
#include "platform/win32.h"

struct DriverContext;

// Custom-size slot n: the custom-size items 915-919 saved into its section and the slot table;
// the source items 920-924 loaded from its section; the slot table taken from the source items,
// items 915-919 set from the slot and its section saved. A save answers 1 when the section
// was written (else the old file stays and the context's file status tells why).
int FreeSizeSaveSlot(DriverContext* ctx, int n);
void FreeSizeLoadSourceSlot(DriverContext* ctx, int n);
void FreeSizeSaveFromSource(DriverContext* ctx, int n);

// The printer's number of stored watermarks; watermark n saved from and loaded into the
// watermark items (1 when stored).
int StampGetCount(DriverContext* ctx);
int StampSave(DriverContext* ctx, int n);
void StampSelect(DriverContext* ctx, int n);

// Quality list n saved from the quality items (1 when stored) / applied to them.
int QualitySaveSlot(DriverContext* ctx, int n);
void QualityApplySlot(DriverContext* ctx, int n);

// UI-module event 12: each module loads its stored items; the modules' reply (1 by default).
int StoreLoadModuleItems(DriverContext* ctx);

// The locale's default paper and display unit, and item zdmLocaleID.
void InstSetLocaleDefaults(DriverContext* ctx);

// The per-machine settings folder followed by the file name of file, its extension replaced
// by "rsq" (into target, cchTarget characters); 1 on success.
int QualityRsqPath(WCHAR* target, DWORD cchTarget, LPCWSTR file, DriverContext* ctx);
// Copies the condition sections, the settings of a group (group flags as StoreFileFlags) and
// the read-only key from source to target; 1 on success.
int PresetCopyFile(LPCWSTR target, LPCWSTR source, DWORD groupFlags, DriverContext* ctx);
