// Minimal version until the pending housekeeping and the per-user upgrade are built: nothing is
// ever pending, and every user's settings count as current.
#include "core/store/pending_housekeeping.h"

int InstRunPendingHousekeeping(HANDLE, DWORD, const PRINTER_INFO_2W*, const DRIVER_INFO_3W*) { return 1; }

int InstReadUserStampState(HANDLE, DWORD* state, const PRINTER_INFO_2W*) {
  if (state) *state = kInstUserStateCurrent;
  return 1;
}
