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
// A driver context does not know the interface's state that owns it: while the interface asks
// for an acquisition it names, for this thread, who hears of the context's failures. A null
// sink ends that.
typedef void (*BidiApiErrorSink)(void* owner, DWORD apiError);
void BidiSetApiErrorSink(DriverContext* ctx, BidiApiErrorSink sink, void* owner);
// Called where a call of the communication library failed: the last error, mapped, goes to
// the sink named for the context; without one (every build but the interface's) nothing.
void BidiRecordApiError(DriverContext* ctx);
// Unless the settings ini names a batch pack for the printer: the acquired default trays
// into the tray settings, at every call, with nothing written to any store.
void ApiBidiApplyDefaultTrays(DriverContext* ctx);
