// The per-printer defaults ini ("OV00C170.ini": display language, default paper, display unit,
// user code), the job-merge, preview and pack keys of the printer's settings ini, and the
// copy of the factory custom sizes, watermarks and language keys from the model data file.
#pragma once
#include "platform/win32.h"

struct DriverContext;

// ---- the per-printer defaults ini ----

// "OV00C170.ini" in the per-machine settings folder into buffer; 1 when built.
int InstDefaultsIniPath(WCHAR* buffer, DWORD cchBuffer, DriverContext* ctx);
// The user defaults of the printer into the UI state and the items zdmLanguageID,
// zdmDspLanguageID, zdmLocaleID, zdmDspUnit and dmPaperSize: the installer's pending values
// when there are any (with the user code), else the locale's, written back to the defaults ini.
void InstLoadUserDefaults(DriverContext* ctx);
// Takes the installer's values ("ZemsInstDone" 0 and "DispLang" present) into the UI state and
// marks them taken ("ZemsInstDone" 1). 1 when taken, else 0.
int InstReadPendingDefaults(DriverContext* ctx);
// Display language, default paper, display unit and locale group from the user's locale. 1.
int InstComputeLocaleDefaults(DriverContext* ctx);
// Writes the current settings as pending defaults and takes them at once. 1 (0 without a path).
int InstWritePrinterDefaults(DriverContext* ctx);
// 1, 2 or 5 when the user's country code (LOCALE_ICOUNTRY) begins with that digit (the
// countries of Letter paper and inches), else 0.
int InstGetLocaleGroup(DriverContext* ctx);
// The locale's default paper and display unit in the UI state, and item zdmLocaleID.
void InstSetLocaleDefaults(DriverContext* ctx);

// ---- job-merge keys ----

// Operation 0: the model data file's job-merge and preview keys and "PresetRefresh"; 1:
// "DefaultRst" := text; 2: the upgrade form of 0 (keys whose model value is empty are
// cleared, the others keep the printer's value; "PresetRefresh" 1); 3 and 4: the keys of that
// kind := text (null deletes them); above 4: nothing, 1. 0 when the settings ini, the printer
// name or (0, 2) the language code is missing, and when a write fails.
int InstWriteJobMergeKeys(DriverContext* ctx, int operation, const WCHAR* text);
// "DrvDefJobMergePath" and "DrvDefPreviewPath" of the per-user settings ini := the user
// settings folder + "\OMP" and "\PREVIEW". 1 when both were built and written.
int InstWriteUserJobFolders(HANDLE hPrinter);

// ---- factory stores ----

// UI-module event 15 after the factory stores were copied: the modules copy their own keys.
constexpr int kEventFactoryStoresCopied = 15;
struct InstFactoryCopyEvent {
  const WCHAR* source;
  const WCHAR* target;
  DWORD targetCurrent;  // 1 when the target's language section was current and nothing was copied
};

// The copy lists: item ids whose names are the keys copied, ended by 0.
const WORD* InstFreeSizeKeyItems();
const WORD* InstStampKeyItems();

// 1 when "RstVersion" of the display-language section of settingsIni is missing (*missing :=
// 1) or its major differs from the major of the model's settings version.
int InstLangSectionOutdated(const WCHAR* settingsIni, void* reserved, int* missing, DriverContext* ctx);
// The factory custom sizes, watermarks and language keys of source (the model data file) into
// target, unless the target's language section is current. 1; 0 when an argument, the
// printer's name or the language code is missing, or a write fails.
int InstCopyLanguageStores(const WCHAR* target, const WCHAR* source, DriverContext* ctx, const PRINTER_INFO_2* info);
// "RstVersion" of the display-language section from source to target. 1, or 0 without the
// language code or when the write fails.
int InstCopySettingsVersion(const WCHAR* target, const WCHAR* source, DriverContext* ctx);
// The custom sizes of the driver's default pack into target, then "BatchInstallDone" into the
// model data file (its last-write time kept). The model data file is never created. 1; 0 when
// no pack is named, or in mode 1 when the model data file cannot be opened.
int InstCopyPackFreeSizes(const WCHAR* target, const WCHAR* modelDataFile, DriverContext* ctx,
                          const DRIVER_INFO_3* driverInfo, int mode);

// PrnGetPrinterNameOf under the name the install code calls.
WCHAR* PrnGetPrinterNameOfAlias(HANDLE hPrinter, WCHAR* buffer, DWORD cchBuffer);
