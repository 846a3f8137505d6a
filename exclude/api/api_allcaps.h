// The all-capabilities record of ZEMSDrvGetCaps (0x80000001 builds it, 0x80000002 frees it).
#pragma once
#include "platform/win32.h"

struct ApiContext;

// The record's address, or null with the last error set.
void* ApiBuildAllCapsRecord(ApiContext* api);
// Frees a record and all its arrays (null accepted).
void ApiFreeAllCapsRecord(void* record);
