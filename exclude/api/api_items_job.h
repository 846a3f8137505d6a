// Handlers of the job type, user, authentication and information status items.
#pragma once
#include "exclude/api/api_records.h"  // the shared verify handlers of the rows
#include "platform/win32.h"

struct ApiContext;

// Item 10: the print method with user ID, passwords, names, merge file and overlay path.
LONG ApiSetJobType(ApiContext* api, DWORD id, void* record, BYTE* changedBits, LONG mode);
LONG ApiVerifyJobType(ApiContext* api, DWORD id, void* record, BYTE* changedBits, LONG mode);
LONG ApiGetJobType(ApiContext* api, DWORD id, void* record, DWORD version);
// Item 26: the user ID alone.
LONG ApiSetUserId(ApiContext* api, DWORD id, void* record, BYTE* changedBits, LONG mode);
LONG ApiGetUserId(ApiContext* api, DWORD id, void* record, DWORD version);
// Item 50: information sub-codes.
LONG ApiSetInfo(ApiContext* api, DWORD id, void* record, BYTE* changedBits, LONG mode);
LONG ApiVerifyInfo(ApiContext* api, DWORD id, void* record, BYTE* changedBits, LONG mode);
LONG ApiGetInfo(ApiContext* api, DWORD id, void* record, DWORD version);
// Item 59: authentication user name and password; item 60: the network key and mode.
LONG ApiSetAuthUser(ApiContext* api, DWORD id, void* record, BYTE* changedBits, LONG mode);
LONG ApiGetAuthUser(ApiContext* api, DWORD id, void* record, DWORD version);
LONG ApiSetNetworkKey(ApiContext* api, DWORD id, void* record, BYTE* changedBits, LONG mode);
LONG ApiVerifyNetworkKey(ApiContext* api, DWORD id, void* record, BYTE* changedBits, LONG mode);
LONG ApiGetNetworkKey(ApiContext* api, DWORD id, void* record, DWORD version);
