// The exclusion DLL's own store operations for the application interface.
#include "core/store/exc_store.h"

#include "core/context/driver_context.h"
#include "core/context/settings_snapshot.h"
#include "core/context/ui_state.h"
#include "core/items/item_access.h"
#include "core/items/item_ids.h"
#include "core/model/model_lookup.h"
#include "core/rules/alerts.h"
#include "core/store/item_store.h"
#include "core/store/preset_files.h"
#include "core/store/preset_refresh.h"
#include "core/store/preset_store.h"
#include "core/store/settings_file.h"

namespace {

constexpr DWORD kTrialLoadFlags = kStoreFilePreset | kStoreFileNoWarning;

int KeepFactoryFile(LPCWSTR file, DriverContext* ctx) {
  return PresetEvalConditions(file, ctx) && PresetPassesTintBlockRule(file, ctx);
}

bool IsPassingError(DWORD error) {
  return error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION || error == ERROR_NOT_ENOUGH_MEMORY ||
         error == ERROR_OUTOFMEMORY;
}

// A file that could not be read because someone holds it, or for want of memory, is no
// reason to forget it. The load's later calls may have replaced its error, so an unreadable
// file is asked once more.
bool FailedInPassing(LPCWSTR file, DWORD error) {
  if (IsPassingError(error)) return true;
  HANDLE h = CreateFileW(file, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h != INVALID_HANDLE_VALUE) {
    CloseHandle(h);
    return false;
  }
  return IsPassingError(GetLastError());
}

// Loads the file on a snapshot of the settings that is put back afterwards. Without memory for
// the snapshot nothing is tried and the entry stays.
int KeepAfterTrialLoad(LPCWSTR file, DriverContext* ctx) {
  if (!ctx || !ctx->ui || !ctx->settings) return 1;
  const LONG status = CtxGetFileStatus(ctx);
  CtxSnapshotPush(ctx);
  if (ctx->ui->snapshotMissing > 0) {
    CtxSnapshotPop(ctx, FALSE);
    return 1;
  }
  // The file status tells whether the file was taken; the result also counts single values
  // that could not be read.
  SetLastError(ERROR_SUCCESS);
  StoreLoadSettingsFile(ctx->printer, file, kTrialLoadFlags, ctx);
  const DWORD error = GetLastError();
  const LONG trial = CtxGetFileStatus(ctx);
  bool keep;
  if (trial == kFileStatusOk)
    keep = ModelCheckItemAlert(ModelGetDescriptor(kItem_zdmPresetNo, ctx), ctx) <= 0;
  else
    keep = trial == kFileStatusUnreadable && FailedInPassing(file, error);
  CtxSnapshotPop(ctx, TRUE);
  CtxSetFileStatus(ctx, status);
  return keep ? 1 : 0;
}

}  // namespace

int ApiSavePersisted(DriverContext* ctx) {
  if (!ctx) return 0;
  return StoreSavePersistedItems(ctx->printer, ctx, kStoreClassWork, kStoreSaveModuleSelected);
}

int PruneUserSettingList(DriverContext* ctx) {
  PresetRebuildRules rules = {};
  rules.keepFactoryFile = KeepFactoryFile;
  rules.keepOtherFile = KeepAfterTrialLoad;
  rules.needsPackCount = 1;
  rules.freeCache = 1;
  if (PresetRebuildListWith(ctx, rules, nullptr) == kPresetRebuildUnusable) return -1;
  return PresetGetCount(ctx);
}
