// Minimal version until the UI state is built with the driver context: the fields of the
// per-context work record that item access and the change flags use.
#pragma once
#include "platform/win32.h"

struct UiState {
  LONG modified;             // 1 after any item write
  DWORD changeFlags;         // change classes of item writes, latest class in the low word
  LONG fileStatus;           // last settings-file load or save status
  DWORD snapshotFlags[3];    // the change flags saved with each settings snapshot
  WCHAR textBuffer[1025];    // resource strings on their way into text items
};
