// Handlers of the watermark, header/footer and copy-guard status items.
#pragma once
#include "exclude/api/api_records.h"  // the shared verify handlers of the rows
#include "platform/win32.h"

struct ApiContext;

// Item 16: the working watermark (stored watermark 256); the job's settings stay as they are.
// A version-3 text record whose two-plane stamp serves text gets its colour field zeroed.
LONG ApiSetWatermark(ApiContext* api, DWORD id, void* record, BYTE* changedBits, LONG mode);
LONG ApiGetWatermark(ApiContext* api, DWORD id, void* record, DWORD version);
// Item 17: the watermark choice.
LONG ApiSetWatermarkChoice(ApiContext* api, DWORD id, void* record, BYTE* changedBits, LONG mode);
LONG ApiGetWatermarkChoice(ApiContext* api, DWORD id, void* record, DWORD version);
// Item 47: header/footer; the set keeps only the three part bits of the caller's record.
LONG ApiSetHeaderFooter(ApiContext* api, DWORD id, void* record, BYTE* changedBits, LONG mode);
LONG ApiVerifyHeaderFooter(ApiContext* api, DWORD id, void* record, BYTE* changedBits, LONG mode);
LONG ApiGetHeaderFooter(ApiContext* api, DWORD id, void* record, DWORD version);
// Item 55: copy guard.
LONG ApiSetCopyGuard(ApiContext* api, DWORD id, void* record, BYTE* changedBits, LONG mode);
LONG ApiVerifyCopyGuard(ApiContext* api, DWORD id, void* record, BYTE* changedBits, LONG mode);
LONG ApiGetCopyGuard(ApiContext* api, DWORD id, void* record, DWORD version);
