// Record conventions and the common steps of the status item handlers.
#include "exclude/api/api_records.h"

#include <string.h>

#include "core/devmode/dm_layout.h"
#include "core/items/item_access.h"
#include "core/items/item_checks.h"
#include "core/items/item_table.h"
#include "core/store/item_store.h"
#include "core/system/settings_folders.h"
#include "exclude/api/api_caps_table.h"
#include "exclude/api/api_context.h"
#include "exclude/api/api_journal.h"
#include "exclude/api/api_levels.h"
#include "exclude/api/api_services.h"
#include "exclude/api/api_status_table.h"

DWORD ApiRecordVersionOf(const void* record) {
  if (!record) return 0;
  DWORD version = 0;
  memcpy(&version, record, sizeof(version));
  return version;
}

LONG ApiRecordLong(const void* record, UINT offset) {
  LONG value = 0;
  if (record) memcpy(&value, static_cast<const BYTE*>(record) + offset, sizeof(value));
  return value;
}

WORD ApiRecordWord(const void* record, UINT offset) {
  WORD value = 0;
  if (record) memcpy(&value, static_cast<const BYTE*>(record) + offset, sizeof(value));
  return value;
}

void ApiPutRecordLong(void* record, UINT offset, LONG value) {
  if (record) memcpy(static_cast<BYTE*>(record) + offset, &value, sizeof(value));
}

DWORD ApiUsedRecordVersion(DWORD id, DWORD version) {
  DWORD count = 0;
  ApiRecordVersions(id, &count);
  if (count < 2) return 1;
  return version == 0 || version >= count ? count - 1 : version;
}

int ApiRecordLevelOk(ApiContext* api, DWORD id, DWORD version) {
  DWORD count = 0;
  const ApiRecordVersion* list = ApiRecordVersions(id, &count);
  if (!list) return 1;
  // A version above the newest is read as the newest (the engine passes such records on).
  if (version == 0 || version >= count) version = count - 1;
  return ApiLevel(api) >= list[version].minLevel ? 1 : 0;
}

LONG ApiGetRecordSize(ApiContext* api, DWORD id, DWORD version) {
  DWORD count = 0;
  const ApiRecordVersion* list = ApiRecordVersions(id, &count);
  if (!list) return static_cast<LONG>(ApiRecordSize(id, 1));
  // Version 0 asks for the newest version in full.
  if (version == 0 || version >= count) version = count - 1;
  if (ApiLevel(api) < list[version].minLevel) {
    ApiSetLastError(api, kApiErrVersion);
    return -1;
  }
  return static_cast<LONG>(list[version].size);
}

int ApiValueTest(ApiContext* api, WORD setting, LONG_PTR value) {
  DriverContext* ctx = ApiDriverCtx(api);
  return ctx && ItemIsValueAllowed(setting, value, ctx) == 1 ? 1 : 0;
}

LONG_PTR ApiRead(ApiContext* api, WORD setting) {
  DriverContext* ctx = ApiDriverCtx(api);
  return ctx ? ItemGetRawById(ctx, setting) : 0;
}

LONG ApiReadLong(ApiContext* api, WORD setting) { return static_cast<LONG>(ApiRead(api, setting)); }

int ApiWrite(ApiContext* api, WORD setting, LONG_PTR value) {
  DriverContext* ctx = ApiDriverCtx(api);
  return ctx && ItemSetRawById(ctx, setting, value) ? 1 : 0;
}

int ApiTestAndWrite(ApiContext* api, WORD setting, LONG_PTR value) {
  if (!ApiValueTest(api, setting, value)) return 0;
  return ApiWrite(api, setting, value);
}

void ApiMarkDmFields(ApiContext* api, DWORD bits) {
  BYTE* block = ApiSettings(api);
  if (!block) return;
  DWORD fields = 0;
  memcpy(&fields, block + kDmOffFields, sizeof(fields));
  fields |= bits;
  memcpy(block + kDmOffFields, &fields, sizeof(fields));
}

int ApiReloadStoredSetting(ApiContext* api, WORD setting) {
  DriverContext* ctx = ApiDriverCtx(api);
  SettingItem* row = ItemFind(ctx, setting);
  return row ? StoreReadItemIni(ctx, row, PathSettingsFile(ctx), nullptr, nullptr) : 0;
}

int ApiPersistSetting(ApiContext* api, WORD setting) {
  SettingItem* row = ItemFind(ApiDriverCtx(api), setting);
  return row ? ApiStoreSaveItem(api, row, nullptr) : 0;
}

int ApiPersistActionWord(ApiContext* api, WORD setting) {
  SettingItem* row = ItemFind(ApiDriverCtx(api), setting);
  return row ? ApiSaveActionItem(api, row, nullptr) : 0;
}

LONG ApiAskCaps(ApiContext* api, DWORD capsId, void* buffer) {
  if (!api) return -1;
  if (!ApiIsCapsEnabled(capsId)) return 0;
  return ApiDispatchGetCaps(api, capsId, buffer);
}

int ApiCapsPresent(ApiContext* api, DWORD capsId) {
  const LONG answer = ApiAskCaps(api, capsId, nullptr);
  return answer != -1 && answer != 0 ? 1 : 0;
}

LONG ApiCallCapsHandler(ApiContext* api, DWORD capsId, void* buffer) {
  const ApiCapsItem* row = ApiCapsRow(capsId);
  return row && row->handler ? row->handler(api, capsId, buffer) : 0;
}

LONG ApiVerifyAlways(ApiContext*, DWORD, void*, BYTE*, LONG) { return 1; }

LONG ApiVerifySwitchOnly(ApiContext* api, DWORD id, void* record, BYTE*, LONG) {
  const DWORD master = ApiFindMasterKey(id, nullptr);
  if (!master) return -1;
  if (ApiRecordLong(record, 28) == 0) return 1;
  return ApiRead(api, static_cast<WORD>(master)) != 0 ? 1 : -1;
}

LONG ApiVerifyMasterSwitch(ApiContext* api, DWORD id, void* record, BYTE* changedBits, LONG mode) {
  return ApiVerifySwitchOnly(api, id, record, changedBits, mode);
}

int ApiMasterSwitchOff(ApiContext* api, DWORD id, const void* record) {
  const DWORD master = ApiFindMasterKey(id, nullptr);
  if (!master || ApiRecordLong(record, 28) != 0) return 0;
  ApiWrite(api, static_cast<WORD>(master), 0);
  return 1;
}

void ApiWriteMasterSwitch(ApiContext* api, DWORD id, const void* record) {
  const DWORD master = ApiFindMasterKey(id, nullptr);
  if (master) ApiWrite(api, static_cast<WORD>(master), ApiRecordLong(record, 28));
}

LONG ApiReadMasterSwitch(ApiContext* api, DWORD id) {
  return static_cast<LONG>(ApiRead(api, static_cast<WORD>(ApiFindMasterKey(id, nullptr))));
}
