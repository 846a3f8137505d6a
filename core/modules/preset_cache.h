// The preset cache of a context's UI state: one heap copy per preset slot ("PresetList%d") of
// the items of the preset and watermark groups, so that moving between presets already
// applied in this context does not read their files again.
#pragma once
#include "core/context/driver_context.h"
#include "platform/win32.h"

enum : int {
  kPresetCacheForget = 0,   // forget every slot (a fresh context; nothing is freed)
  kPresetCacheRestore = 1,  // the slot's copy back into the settings: 1 when there was one
  kPresetCacheSave = 2,     // the settings into the slot's copy
  kPresetCacheFreeAll = 3,  // free every cached copy
};

// Runs one cache operation for the preset whose key is key (null for ops 0 and 3); 1 only for
// a restore that took place.
int PresetCacheOp(DriverContext* ctx, const WCHAR* key, int op);
