// Merging a caller's public DEVMODE fields into a context's settings.
#pragma once
#include "platform/win32.h"

struct DriverContext;

// Each does nothing when either DEVMODE is null.
void DmMergePublicFields(void* ctxDevmode, const void* inDevmode, DriverContext* ctx);
void DmMergeResolutionPair(void* ctxDevmode, const void* inDevmode, DriverContext* ctx);
void DmApplyPublicFieldsToItems(void* ctxDevmode, const void* inDevmode, DriverContext* ctx);

// Argument of module event 32 (resolution merge): the module that answers puts the value the
// item takes in place of the DEVMODE's.
struct SettingItem;
struct ResolutionEvent {
  void* devmode;
  SettingItem* item;
  LONG value;
};
