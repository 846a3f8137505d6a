// The exports' bodies: levels, enable and disable, and the dispatch of each call to its body.
#include "exclude/api/api_exports.h"

#include <string.h>

#include <initializer_list>

#include "core/context/driver_context.h"
#include "core/devmode/dm_layout.h"
#include "core/items/item_access.h"
#include "core/items/item_ids.h"
#include "core/items/item_table.h"
#include "exclude/api/api_allcaps.h"
#include "exclude/api/api_caps_lists.h"
#include "exclude/api/api_caps_table.h"
#include "exclude/api/api_context.h"
#include "exclude/api/api_devmode.h"
#include "exclude/api/api_engine.h"
#include "exclude/api/api_levels.h"
#include "exclude/api/api_services.h"

namespace {

// Holds a handle's context busy for the duration of one export.
class Call {
 public:
  explicit Call(void* handle) : api_(ApiEnterCall(handle)) {}
  ~Call() { ApiLeaveCall(api_); }
  Call(const Call&) = delete;
  Call& operator=(const Call&) = delete;
  ApiContext* get() const { return api_; }

 private:
  ApiContext* api_;
};

// The call's context when the status id is enabled; otherwise the last error says so, and null.
ApiContext* EnabledStatusCall(const Call& call, DWORD id) {
  ApiContext* api = call.get();
  if (api && !ApiIsStatusEnabled(id)) {
    ApiSetLastError(api, kApiErrNotEnabled);
    return nullptr;
  }
  return api;
}

// The offered level as CheckAPIVer reads a key: absent (-1) is 3, above 16 is 16, below 0 is 0.
LONG ApplyOffer(LONG level) {
  if (level == -1) level = kApiInitialLevel;
  if (level > kApiTopLevel) level = kApiTopLevel;
  if (level < 0) level = 0;
  ApiApplyOfferedLevel(level);
  return level;
}

}  // namespace

LONG ApiExportCheckApiVer(const char* printerName) {
  if (!printerName || !printerName[0]) return 0;
  return ApplyOffer(ApiReadLevel(printerName));
}

LONG ApiExportInit(LONG flag, const LONG* record) {
  if (flag == 0 || !record) return 0;
  ApiApplyWantedLevel(record[1]);
  return 1;
}

void* ApiExportEnable(const char* printerName) {
  if (!printerName || !printerName[0]) return nullptr;
  // A printer whose level cannot be read (not opened, no memory) is not enabled and changes
  // nothing; CheckAPIVer itself reads that as an absent key.
  int known = 0;
  const LONG offered = ApiReadLevelKnown(printerName, &known);
  if (!known) return nullptr;
  ApplyOffer(offered);
  ApiBuildEnabledMasks(ApiGetMaxLevel());
  return ApiContextOpen(printerName);
}

LONG ApiExportDisable(void* handle) { return ApiContextClose(handle); }

LONG_PTR ApiExportGetCaps(void* handle, DWORD id, void* buffer) {
  Call call(handle);
  ApiContext* api = call.get();
  if (!api) return -1;
  if (id == 0) {
    if (!buffer) {
      // The size query: what this context's bitmaps may hold from now on.
      const UINT size = ApiBitmapSizeForLevel(ApiLevel(api));
      if (ApiState* state = ApiGetState(api)) state->bitmapLimit = size;
      return static_cast<LONG_PTR>(size);
    }
    const UINT size = ApiBitmapBytes(api);
    auto* bits = static_cast<BYTE*>(buffer);
    memset(bits, 0, size);
    for (DWORD s = ApiNextStatusId(0, ApiLevel(api)); s; s = ApiNextStatusId(s, ApiLevel(api)))
      if (ApiIsStatusEnabled(s)) ApiBitmapSet(bits, size, s);
    return static_cast<LONG_PTR>(size);
  }
  if (id == kApiCapsAllRecord) return reinterpret_cast<LONG_PTR>(ApiGetAllCaps(api));
  if (id == kApiCapsFreeAllRecord) return ApiFreeAllCaps(api, buffer);
  if (!ApiIsCapsEnabled(id)) return 0;
  return ApiExportDispatchCaps(api, id, buffer);
}

LONG ApiExportGetDevmode(void* handle, DWORD flags, void* devmode) {
  Call call(handle);
  return call.get() ? ApiGetDevmode(call.get(), flags, devmode) : -1;
}

LONG ApiExportGetDevmodeEx(void* handle, DWORD flags, void* devmode, const void* input, void* reserved) {
  (void)reserved;
  Call call(handle);
  return call.get() ? ApiGetDevmodeEx(call.get(), flags, devmode, input) : -1;
}

LONG ApiExportGetLastError(void* handle) {
  Call call(handle);
  return ApiGetLastErrorCode(call.get());
}

LONG ApiExportGetStatus(void* handle, DWORD id, void* record, DWORD version) {
  Call call(handle);
  ApiContext* api = EnabledStatusCall(call, id);
  return api ? ApiGetStatusItem(api, id, record, version) : -1;
}

LONG ApiExportSetStatus(void* handle, DWORD id, void* record, BYTE* changedBits, LONG mode) {
  Call call(handle);
  ApiContext* api = EnabledStatusCall(call, id);
  return api ? ApiSetStatusItem(api, id, record, changedBits, mode) : -1;
}

LONG ApiExportSaveQualityData(void* handle) {
  Call call(handle);
  ApiState* state = ApiGetState(call.get());
  BYTE* block = ApiSettings(call.get());
  if (!state || !state->qualitySnapshot || !block) return 0;
  memcpy(state->qualitySnapshot, block, kDmBlockSize);
  return 1;
}

LONG ApiExportRestoreQualityData(void* handle) {
  Call call(handle);
  ApiContext* api = call.get();
  ApiState* state = ApiGetState(api);
  DriverContext* ctx = ApiDriverCtx(api);
  if (!state || !state->qualitySnapshot || !ctx || !ctx->items) return 0;
  const BYTE* image = state->qualitySnapshot;
  SettingItemTable* table = ctx->items;
  for (SHORT i = 0; i < table->count; ++i) {
    SettingItem* row = &table->rows[i];
    if (row->state & (ItemPersistQuality | (ItemPersistQuality << 1)))
      ItemSetRaw(ctx, row, ApiReadSettingFromImage(api, row, image));
  }
  for (WORD id : {kItem_zdmPrintMacro, kItem_zdmBalanceMacro, kItem_zdmUseUserMacro})
    if (SettingItem* row = ItemFind(ctx, static_cast<WORD>(id))) ItemSetRaw(ctx, row, ApiReadSettingFromImage(api, row, image));
  return 1;
}

const BYTE* ApiDevmodeForExclusion(DriverContext* ctx, const char* printerName) {
  if (!ctx || !printerName) return nullptr;
  ApiContext api = {};
  api.ctx = ctx;
  api.level = ApiGetLevel();
  api.printer = ctx->printer;  // the service's printer stays open around the retrieval
  strncpy(api.printerName, printerName, sizeof(api.printerName) - 1);
  if (ApiGetDevmode(&api, kApiDmRebuild, nullptr) < 0) return nullptr;
  return CtxGetSettings(ctx);
}
