// The all-capabilities record of ZEMSDrvGetCaps (0x80000001 builds it, 0x80000002 frees it):
// 812 bytes in the global heap, keyed by the status-support bitmap; each array it points to is
// a global block the record owns.
#pragma once
#include "platform/win32.h"

struct ApiContext;

constexpr UINT kAllCapsRecordBytes = 812;

// The record's address, or null with last error 100 (nothing left allocated).
void* ApiGetAllCaps(ApiContext* api);
// Frees a record this context issued and has not freed, with all its arrays: 1. A null record
// answers 1; any other pointer 0, nothing freed.
LONG ApiFreeAllCaps(ApiContext* api, void* record);
