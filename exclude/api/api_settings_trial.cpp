#include "exclude/api/api_settings_trial.h"

#include <string.h>

#include <initializer_list>

#include "core/common/mem.h"
#include "core/devmode/dm_layout.h"
#include "core/items/item_ids.h"
#include "core/items/item_table.h"
#include "exclude/api/api_context.h"
#include "exclude/api/api_services.h"

ApiSettingsTrial::ApiSettingsTrial(ApiContext* api) : api_(api), raw_(nullptr), copy_(nullptr) {
  BYTE* block = ApiSettings(api);
  if (!block) return;
  raw_ = static_cast<BYTE*>(MemAllocZero(kDmBlockSize));
  if (raw_) memcpy(raw_, block, kDmBlockSize);
  copy_ = ApiCopySettingsBlock(api);
}

ApiSettingsTrial::~ApiSettingsTrial() {
  BYTE* block = ApiSettings(api_);
  if (block && raw_ && copy_) {
    bool tablesKept = true;
    for (WORD table : {kItem_zdmDeviceFont, kItem_zdmOptionFont, kItem_zdmFontTable}) {
      const SettingItem* row = ItemFind(api_->ctx, table);
      if (row && ApiReadSettingFromImage(api_, row, block) != ApiReadSettingFromImage(api_, row, raw_)) tablesKept = false;
    }
    if (tablesKept) {
      memcpy(block, raw_, kDmBlockSize);
      ApiDropSettingsBlock(api_, copy_);
    } else {
      ApiRestoreSettingsBlock(api_, copy_);
    }
  } else if (copy_) {
    ApiDropSettingsBlock(api_, copy_);
  }
  MemFree(raw_);
}

ApiDevmodeTrial::ApiDevmodeTrial(ApiContext* api) : api_(api), copy_(ApiSnapshotDevmode(api)) {}

ApiDevmodeTrial::~ApiDevmodeTrial() { ApiSnapshotDevmodeRestore(api_, copy_, 1); }
