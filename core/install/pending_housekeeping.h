// The pending housekeeping of the entry points and the user's install state: whether a
// printer's stored settings are up to date for the current driver and user, and the stamps
// that record each step.
#pragma once
#include "platform/win32.h"

// User install states.
enum : DWORD {
  kInstUserStateCurrent = 0,      // nothing to do
  kInstUserStateMissing = 1,      // the user's settings are missing or older than the first install
  kInstUserStateReinstalled = 2,  // the machine was installed again after the user's stamp
  kInstUserStateAdminChange = 3,  // the same with "AdminChange" set
};

// Stamp scopes.
enum : int {
  kInstStampMachine = 0,       // the per-machine settings ini
  kInstStampUser = 1,          // the per-user settings ini
  kInstStampMachineFirst = 2,  // the per-machine settings ini, with "DrvFirstInstTime"
};

// 1 when the entry point may go on, 0 when a step failed. Flag bit 0 asks for the
// client-connection check. Missing information structures are fetched.
int InstRunPendingHousekeeping(HANDLE printer, DWORD flags, const PRINTER_INFO_2W* info,
                               const DRIVER_INFO_3W* driverInfo);
// 1 and the user's install state, or 0 (state 0) when a path cannot be built.
int InstReadUserStampState(HANDLE printer, DWORD* state, const PRINTER_INFO_2W* info);

// On a multi-session host only (elsewhere 1 at once), under the global mutex: "DrvInstTime"
// (local time "YYYYMMDDhhmmss"), with scope 2 also "DrvFirstInstTime", "DrvInstType" and
// "DrvInstVersion" in the printer's section of the scope's settings ini. 1 on success.
int InstWriteStamp(HANDLE printer, int type, int scope);

// Not a multi-session host: for a printer reached through a server whose "_ZEMSDirectoryClient"
// names a usable folder, InstUpgradeClientSettings; 0 when that value cannot be read as a
// folder at all; else 1.
int InstCheckClientSettings(HANDLE printer, const PRINTER_INFO_2W* info, const DRIVER_INFO_3W* driverInfo);
// Brings a client's stored settings to this driver by the stored "RstVersion" of the printer's
// section (settings ini and name default to the per-machine ini and the printer's name): a
// refresh, the connection pass or a re-import, then "RstVersion" and "DrvInstVersion". 1 when
// done (or "DrvInstVersion" already matched), 0 on failure.
int InstUpgradeClientSettings(HANDLE printer, const WCHAR* settingsIni, const WCHAR* printerName,
                              const PRINTER_INFO_2W* info, const DRIVER_INFO_3W* driverInfo);
// Copies the ".rsd" and ".rsq" files behind the machine's preset and quality lists into the
// user's settings folder (created first). 1; 0 when a path cannot be built.
int InstCopyPresetFilesToUser(HANDLE printer);
// The per-user upgrade for a user state: states 1 and 3 the full connection pass (kind 6),
// else by the language sections' "RstVersion" (user against machine) a refresh, the full pass
// or a re-import; then the user's job folders and the user stamp. 1 on success, also when a
// version is missing (nothing done); 0 on failure.
int InstUpgradeBySettingVersion(HANDLE printer, DWORD state, const PRINTER_INFO_2W* info,
                                const DRIVER_INFO_3W* driverInfo);
// Copies the machine's pack keys, batch pack settings, preset and quality lists (with their
// files' sections) into the user's settings ini. In states 2 and 3 the user's own presets
// (entries that copy no machine entry) follow the machine's, up to sixteen. 0 on success, 1 on
// failure.
int InstCopyBatchSettingsToUser(HANDLE printer, const PRINTER_INFO_2W* info, DWORD state = kInstUserStateMissing);
