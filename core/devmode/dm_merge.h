// Merging a DEVMODE into a context's settings, and the identity tests that decide how much of
// it is trusted.
#pragma once
#include "platform/win32.h"

struct DriverContext;

// Merge flags (kept in the UI state while the merge runs and until the next one).
enum : DWORD {
  kMergeGate = 0x00000008,            // this or kMergeGateSheets must be set, or nothing happens
  kMergeWorkPrompt = 0x00000004,      // item 1010 := 1, job-control fetch, recompute at the end
  kMergeKeepLockPrnMethod = 0x00010000,  // the context's zdmLockPrnMethod is not restored
  kMergeImageFormReset = 0x00020000,  // image-form jobs drop scaling and output paper
  kMergeKeepNotifyBits = 0x00400000,  // support-2 bits 0 and 1 keep the context's values
  kMergeGateSheets = 0x02000000,
  kMergeFromSettingsFile = 0x10000000,  // item 1010 left alone, no device settings, no sync
  kMergeOptionApplied = 0x40000000,   // added when an option request was carried out
  kMergeLoadMask = 0x0C220004,        // lock data and device settings are loaded
  kMergeRepairMask = 0x1D220004,      // every item's transact list runs
};

// Identity of a DEVMODE against this driver's static model record: tag, private size,
// layout version, machine code and the driver-type rule (the last three tests leave out what
// their names say). 0 for null, and 0 unless dmSize is 220 and the private part reaches
// through offset 814.
int DmIsOwnDevmode(const void* dm);
int DmIsOwnDevmodeAnyVersion(const void* dm);
int DmIsSameModelDevmode(const void* dm);

// Trust level of a DEVMODE that the context's private part was copied under: 0 whole,
// 1 upgradable, 2 public part only.
int DmTrustLevel(const void* dm);

// Merges the DEVMODE (or, for null, the context's own settings again) into the context. 1 on
// success, also when neither gate bit is set; 0 when memory runs out (the settings are then
// unchanged) or the context has no settings block.
int DmMergeIntoContext(DriverContext* ctx, const void* dm, DWORD flags);
// The same for a DEVMODE of which known bytes are there (kDmUnknownLength of dm_convert.h:
// as many as it claims).
int DmMergeIntoContextSized(DriverContext* ctx, const void* dm, DWORD known, DWORD flags);
// The exclusion DLL's name of the merge; its differences are the deliverable's build switches.
inline int MergeDevmode(DriverContext* ctx, const void* dm, DWORD flags) { return DmMergeIntoContext(ctx, dm, flags); }
