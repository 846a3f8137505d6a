// Merging a caller's public DEVMODE fields into a context's settings.
#pragma once

struct DriverContext;

// Each does nothing when either DEVMODE is null.
void DmMergePublicFields(void* ctxDevmode, const void* inDevmode, DriverContext* ctx);
void DmMergeResolutionPair(void* ctxDevmode, const void* inDevmode, DriverContext* ctx);
void DmApplyPublicFieldsToItems(void* ctxDevmode, const void* inDevmode, DriverContext* ctx);
