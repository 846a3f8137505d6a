// The watermark store.
#include "core/store/stamp_store.h"

#include "core/common/ini_access.h"
#include "core/common/text.h"
#include "core/context/settings_snapshot.h"
#include "core/context/ui_state.h"
#include "core/items/item_access.h"
#include "core/modules/preset_cache.h"
#include "core/store/settings_file.h"
#include "core/store/store_keys.h"
#include "core/tables/value_symbols.h"

namespace {

constexpr WORD kIdFuncWatermark = 60, kIdWmKind = 117, kIdWmId = 118;
constexpr DWORD kSectionChars = 261;
const WCHAR kCountKey[] = TEXT("StampCount");

}  // namespace

WCHAR* StampSectionName(WCHAR* buffer, DWORD cchBuffer, int n, DriverContext* ctx) {
  return StoreFormatKey(buffer, cchBuffer, TEXT("Stamp"), n, StoreListLangCode(ctx));
}

LONG StampGetCountIn(LPCWSTR path, LPCWSTR section) {
  if (!path || !path[0] || !section) return 0;
  return StoreReadCount(section, kCountKey, kStoreLimitStamps, path);
}

int StampGetCount(DriverContext* ctx) {
  WCHAR ini[kPathChars];
  StoreCopySettingsIni(ctx, ini);
  return int(StampGetCountIn(ini, StoreListLangCode(ctx)));
}

BOOL StampSetCount(DriverContext* ctx, LONG count) {
  WCHAR ini[kPathChars], value[16];
  StoreCopySettingsIni(ctx, ini);
  if (!ini[0]) return FALSE;
  StoreMutexHold hold(ctx);
  return IniWriteString(StoreListLangCode(ctx), kCountKey, StoreFormatNumber(value, count), ini);
}

void StampLoadSlotFrom(DriverContext* ctx, LPCWSTR path, int n) {
  if (!ctx || !ctx->ui || !path || !path[0]) return;
  WCHAR section[kSectionChars];
  StampSectionName(section, kSectionChars, n, ctx);
  StoreSectionTransfer(ctx, path, section, kStoreFileWatermark | kStoreFileRead);
}

void StampSelect(DriverContext* ctx, int n) {
  if (!ctx || !ctx->ui) return;
  WCHAR ini[kPathChars];
  StoreCopySettingsIni(ctx, ini);
  StampLoadSlotFrom(ctx, ini, n);
  ItemSetValueById(ctx, kIdWmId, n);
}

int StampSave(DriverContext* ctx, int n) {
  if (!ctx || !ctx->ui || n < 0) return 0;
  WCHAR ini[kPathChars], section[kSectionChars];
  StoreCopySettingsIni(ctx, ini);
  if (!ini[0]) return 0;
  StampSectionName(section, kSectionChars, n, ctx);
  StoreMutexHold hold(ctx);
  ItemSetValueById(ctx, kIdWmId, n);
  // The section first: a watermark is counted only once it is stored.
  int result = StoreSectionTransfer(ctx, ini, section, kStoreFileWatermark | kStoreFileWrite);
  if (result && n != kStampScratch && n >= StampGetCount(ctx) && !StampSetCount(ctx, n + 1)) result = 0;
  PresetCacheOp(ctx, nullptr, kPresetCacheFreeAll);
  return result;
}

void StampDelete(DriverContext* ctx, int n) {
  if (!ctx || !ctx->ui || !ctx->settings) return;
  StoreMutexHold hold(ctx);
  const LONG count = StampGetCount(ctx);
  if (n < 0 || n >= count) return;
  CtxSnapshotPush(ctx);
  StampSetCount(ctx, 0);
  for (LONG b = n + 1; b < count; ++b) {
    StampSelect(ctx, int(b));
    StampSave(ctx, int(b - 1));
  }
  CtxSnapshotPop(ctx, TRUE);
  StampSetCount(ctx, count - 1);
  PresetCacheOp(ctx, nullptr, kPresetCacheFreeAll);
}

void StampResaveAll(DriverContext* ctx) {
  if (!ctx || !ctx->ui || !ctx->settings) return;
  StoreMutexHold hold(ctx);
  const LONG count = StampGetCount(ctx);
  WCHAR ini[kPathChars], section[kSectionChars];
  StoreCopySettingsIni(ctx, ini);
  CtxSnapshotPush(ctx);
  for (LONG i = 0; i < count; ++i) {
    // What a failed select left (another watermark's values, or none) is not watermark i.
    if (!StoreSectionPresent(ini, StampSectionName(section, kSectionChars, int(i), ctx))) continue;
    StampSelect(ctx, int(i));
    if (CtxGetFileStatus(ctx) == kFileStatusOk) StampSave(ctx, int(i));
  }
  CtxSnapshotPop(ctx, TRUE);
}

void StampReselect(DriverContext* ctx) {
  if (!ctx || !ctx->ui) return;
  if (!ItemGetRawById(ctx, kIdFuncWatermark)) return;
  if (!TblIsKnownValue(kIdWmKind, LONG(ItemGetValueById(ctx, kIdWmKind)))) return;
  StampSelect(ctx, int(ItemGetRawById(ctx, kIdWmId)));
}

LONG StampGetFactoryCount(DriverContext* ctx) {
  WCHAR model[kPathChars];
  StoreCopyModelDataFile(ctx, model);
  return StampGetCountIn(model, StoreListLangCode(ctx));
}

void StampLoadFactorySlot(DriverContext* ctx, int n) {
  WCHAR model[kPathChars];
  StoreCopyModelDataFile(ctx, model);
  StampLoadSlotFrom(ctx, model, n);
}
