// Status items: the rows of ApiStatusItemTable with their handlers, the record versions, the
// master-switch and colour lookups.
#pragma once
#include "platform/win32.h"

struct ApiContext;

// Set and verify: (context, status id, record, changed-items bitmap or null, mode) -> 1 when the
// settings were changed as asked (verify: now hold what was asked); anything else fails.
typedef LONG (*ApiSetHandler)(ApiContext* api, DWORD id, void* record, BYTE* changedBits, LONG mode);
typedef ApiSetHandler ApiVerifyHandler;
// Get: (context, status id, record or null, caller's version) -> the record size of that
// version (also for a null record), -1 on failure. The dispatcher writes the version field.
typedef LONG (*ApiGetHandler)(ApiContext* api, DWORD id, void* record, DWORD version);

constexpr int kApiRelatedSettings = 8;

struct ApiStatusItem {
  DWORD id;
  DWORD enabled;
  DWORD versionCount;
  DWORD mainSettingId;  // low 16 bits; 0 when none
  DWORD reserved;
  ApiSetHandler set;
  ApiVerifyHandler verify;
  ApiGetHandler get;
  WORD relatedSettings[kApiRelatedSettings];  // 0 ends the list
};

constexpr DWORD kApiStatusBasicRows = 79;     // ids 1-79
constexpr DWORD kApiStatusExtendedRows = 13;  // ids 257-269
extern const ApiStatusItem ApiStatusItemTable[kApiStatusBasicRows];
extern const ApiStatusItem ApiStatusItemTableExt[kApiStatusExtendedRows];

// The row of a status id at a level (basic ids up to the level's last basic id, extended ids 257
// up to its last overall id), or null.
const ApiStatusItem* ApiFindStatusItem(DWORD id, LONG level);
// The row of a status id whatever the level (the enabled bitmaps), or null.
const ApiStatusItem* ApiStatusRow(DWORD id);

// ---- record versions ----
struct ApiRecordVersion {
  DWORD size;
  LONG minLevel;
};
// The version list of a versioned item (entries 0..count-1, entry 0 is {0, 0}); null for items
// with one version. *count gets the number of entries.
const ApiRecordVersion* ApiRecordVersions(DWORD id, DWORD* count);
// The record size of an item with one version (32 for the simple record; items 1, 26, 50, 55,
// 59, 60, 63 their own); for versioned items the size of version v (0 when v is unknown).
DWORD ApiRecordSize(DWORD id, DWORD version);
// 0 when the caller's version is 0 or equal to the item's, 1 when lower, 2 when higher.
int ApiCompareGetVersion(DWORD id, DWORD versionCount, DWORD version);

// ---- master switches ----
struct ApiMasterKey {
  DWORD statusId;
  DWORD masterSetting;
  DWORD flags;  // bit 0, bit 1: read by the change propagation
};
constexpr int kApiMasterKeyRows = 16;
extern const ApiMasterKey ApiMasterKeyTable[kApiMasterKeyRows];
// The master setting of a status id (and its row when out is given), 0 when none.
DWORD ApiFindMasterKey(DWORD statusId, const ApiMasterKey** out);

// ---- colours ----
struct ApiColor {
  BYTE index;
  BYTE red;
  BYTE green;
  BYTE blue;
};
constexpr int kApiColorRows = 7;
extern const ApiColor ApiColorTable[kApiColorRows];
const ApiColor* ApiFindColor(BYTE index);
