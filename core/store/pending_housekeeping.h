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
