// What the status item handlers share: the record head, the simple 32-byte record, the level
// check of versioned records, the value test, reads and writes of settings, the persist step
// (through the store-write journal) and capability questions.
#pragma once
#include "platform/win32.h"

struct ApiContext;
struct SettingItem;

// The simple record (32 bytes).
#pragma pack(push, 4)
struct ApiSimpleRecord {
  DWORD version;
  LONG value;
  LONG value2;
  LONG value3;
  LONG value4;
  BYTE unused[8];
  DWORD masterSwitch;  // offset 28: the master setting's value for items that have one
};
#pragma pack(pop)
static_assert(sizeof(ApiSimpleRecord) == 32, "simple record is 32 bytes");
constexpr DWORD kApiSimpleRecordSize = 32;

// The version field of a record (its first 32 bits); 0 for null.
DWORD ApiRecordVersionOf(const void* record);
// A field of a record by byte offset (no bounds: the record is the caller's fixed-size block).
LONG ApiRecordLong(const void* record, UINT offset);
WORD ApiRecordWord(const void* record, UINT offset);
// Writes a 32-bit field of a record by byte offset (same terms as ApiRecordLong).
void ApiPutRecordLong(void* record, UINT offset, LONG value);

// The version a handler works with for item id: 0 and versions above the item's newest read as
// the newest; 1 for an item without versions.
DWORD ApiUsedRecordVersion(DWORD id, DWORD version);
// Level check of a versioned record's version v at the call's level: 1 when usable, 0 when the
// version needs a higher level or is unknown. A get handler then stores error 6 itself.
int ApiRecordLevelOk(ApiContext* api, DWORD id, DWORD version);
// A get handler's level check: the record size of version v (the newest for 0), or -1 with
// error 6 when the level is too low.
LONG ApiGetRecordSize(ApiContext* api, DWORD id, DWORD version);

// Value test of (setting, value): 1 when ItemIsValueAllowed answers 1 or 5, else 0.
int ApiValueTest(ApiContext* api, WORD setting, LONG_PTR value);
// Raw read and write of a setting (ItemGetRawById / ItemSetRawById).
LONG_PTR ApiRead(ApiContext* api, WORD setting);
// ApiRead of a setting whose value is a number (not a text's address).
LONG ApiReadLong(ApiContext* api, WORD setting);
int ApiWrite(ApiContext* api, WORD setting, LONG_PTR value);
// Value test, then write: 1, or 0 (nothing written).
int ApiTestAndWrite(ApiContext* api, WORD setting, LONG_PTR value);
// Sets bits of dmFields of the context's public DEVMODE.
void ApiMarkDmFields(ApiContext* api, DWORD bits);

// Reloads one setting from the settings store (StoreReadItemIni): 1 when read.
int ApiReloadStoredSetting(ApiContext* api, WORD setting);
// Persist a setting to the printer's settings store (StoreSaveItem), journalled: 1 when saved.
int ApiPersistSetting(ApiContext* api, WORD setting);
// Persist the whole action word under "zdmAction" (the 16 job-action bits), journalled.
int ApiPersistActionWord(ApiContext* api, WORD setting);

// Capability N as ZEMSDrvGetCaps answers it (all its gates), for handlers.
LONG ApiAskCaps(ApiContext* api, DWORD capsId, void* buffer);
// 1 when capability N answers neither -1 nor 0.
int ApiCapsPresent(ApiContext* api, DWORD capsId);
// Capability N's handler called directly (no gates): its answer, 0 without handler.
LONG ApiCallCapsHandler(ApiContext* api, DWORD capsId, void* buffer);

// Shared verify handlers: always 1 (items 1, 16, 17, 26, 34, 59, 66); the switch-only verify
// (15, 18, 20, 21, 51: the master setting nonzero when the record's switch asked for on); the
// master-switch verify (-1 without master, 1 for switch 0, else master nonzero).
LONG ApiVerifyAlways(ApiContext* api, DWORD id, void* record, BYTE* changedBits, LONG mode);
LONG ApiVerifySwitchOnly(ApiContext* api, DWORD id, void* record, BYTE* changedBits, LONG mode);
LONG ApiVerifyMasterSwitch(ApiContext* api, DWORD id, void* record, BYTE* changedBits, LONG mode);
// The master-switch step of a set handler: when the item has a master setting and the record's
// switch (offset 28) is 0, writes 0 to the master and answers 1 (the handler returns 1 at
// once); otherwise 0 (the handler goes on, then calls ApiWriteMasterSwitch).
int ApiMasterSwitchOff(ApiContext* api, DWORD id, const void* record);
void ApiWriteMasterSwitch(ApiContext* api, DWORD id, const void* record);
// The value of item id's master setting, as a get handler puts it in the record's switch.
LONG ApiReadMasterSwitch(ApiContext* api, DWORD id);
