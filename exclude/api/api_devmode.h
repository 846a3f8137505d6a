// DEVMODE retrieval: bringing the context's settings into a consistent state by flags and
// handing out its DEVMODE.
#pragma once
#include "platform/win32.h"

struct ApiContext;

enum : DWORD {
  kApiDmRebuild = 0x1,
  kApiDmDefaults = 0x2,
  kApiDmCurrent = 0x4,
  kApiDmMergeGiven = 0x8,
  kApiDmAcquire = 0x10,
  kApiDmNotification = 0x20,
  kApiDmPruneUsers = 0x40,
};

// ZEMSDrvGetDevmode's body: the DEVMODE size (1236) or -1.
LONG ApiGetDevmode(ApiContext* api, DWORD flags, void* buffer);
// ZEMSDrvGetDevmodeEx's body.
LONG ApiGetDevmodeEx(ApiContext* api, DWORD flags, void* buffer, const void* input);
// Merges a DEVMODE (or a copy of the context's own) through the full merge, keeping the kinds of
// restricted switches: 1, or 0 when the copy of the context's own could not be made (then
// nothing was merged).
int ApiMergeStoredDevmode(ApiContext* api, const void* devmode);
// The preparation of every retrieval.
void ApiPrepareForGet(ApiContext* api, DWORD flags);
// zdmMachineID 130 and the 600-dpi conditions.
int ApiNeedsResolution600(ApiContext* api);
