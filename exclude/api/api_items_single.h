// Handlers of the status items that stand for one setting (trays, media type, output options,
// job-action switches, colour-matching options), the load share and the index rotation.
#pragma once
#include "platform/win32.h"

struct ApiContext;

// The plain pattern, with each item's gates and side effects (dmFields bit, persist, capability
// gate, ini bit) taken from the item's row of the single-item table.
LONG ApiSetSingle(ApiContext* api, DWORD id, void* record, BYTE* changedBits, LONG mode);
LONG ApiVerifySingle(ApiContext* api, DWORD id, void* record, BYTE* changedBits, LONG mode);
LONG ApiGetSingle(ApiContext* api, DWORD id, void* record, DWORD version);
// Item 54: the authentication mode as 0, 1 or 2 (read-only).
LONG ApiGetAuthMode(ApiContext* api, DWORD id, void* record, DWORD version);
// Item 61: zdmLoadShare through the load-share table (this printer's usable rows).
LONG ApiSetLoadShare(ApiContext* api, DWORD id, void* record, BYTE* changedBits, LONG mode);
LONG ApiVerifyLoadShare(ApiContext* api, DWORD id, void* record, BYTE* changedBits, LONG mode);
LONG ApiGetLoadShare(ApiContext* api, DWORD id, void* record, DWORD version);
// Item 62: index rotation and shift print as one code 0-2.
LONG ApiSetIndexRotation(ApiContext* api, DWORD id, void* record, BYTE* changedBits, LONG mode);
LONG ApiVerifyIndexRotation(ApiContext* api, DWORD id, void* record, BYTE* changedBits, LONG mode);
LONG ApiGetIndexRotation(ApiContext* api, DWORD id, void* record, DWORD version);
