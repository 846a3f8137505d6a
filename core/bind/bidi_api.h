// The exclusion DLL's side of option acquisition: failures of the communication library as
// application-interface error codes, and the acquired default trays copied before the
// interface hands out a DEVMODE.
#pragma once
#include "platform/win32.h"

struct DriverContext;

// Application-interface error codes of the acquisition.
enum : DWORD {
  kApiErrorNone = 0,
  kApiErrorComm = 200,       // the printer or the library could not be reached
  kApiErrorNoMemory = 201,
  kApiErrorBadFormat = 202,
};

// The interface's code of a system error: unlisted errors are kApiErrorComm.
DWORD BidiMapApiError(DWORD systemError);
// Minimal: records nothing. A driver context cannot reach the interface's per-context state,
// so the interface's DEVMODE retrieval records the mapped code itself (ApiSetLastError) when
// the acquisition it asked for fails; nothing in core calls this.
void BidiRecordApiError(DriverContext* ctx);
// Unless the settings ini names a batch pack for the printer: the acquired default trays
// into the tray settings, at every call, with nothing written to any store.
void ApiBidiApplyDefaultTrays(DriverContext* ctx);
