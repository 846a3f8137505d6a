// The preset module's cache of preset copies in a context's UI state.
#pragma once
#include "core/context/driver_context.h"
#include "platform/win32.h"

enum : int {
  kPresetCacheForget = 0,   // forget every slot (a fresh context)
  kPresetCacheRestore = 1,
  kPresetCacheSave = 2,
  kPresetCacheFreeAll = 3,  // free every cached copy
};

// Runs one cache operation for the preset named by key (null for the whole cache).
void PresetCacheOp(DriverContext* ctx, const WCHAR* key, int op);
