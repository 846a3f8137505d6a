// Minimal version until the settings-file reader and writer are built: only the extended
// transfer (flag 0x100) is served, and only for the persisted extended device items, each
// under its item name in the printer's section, without header or mutex. Any other flags
// transfer nothing and answer 0.
#include "core/store/settings_file.h"

#include "core/items/item_access.h"
#include "core/items/item_table.h"
#include "core/store/item_store.h"

namespace {

bool IsExtendedDeviceItem(WORD id) { return id > 10011 && id <= 10434 && id != 10354 && id != 10355; }

// The row keyed by its name in the printer's section for one call.
class ByName {
 public:
  ByName(SettingItem* row, const WCHAR* name)
      : row_(row), key_(row->persistKey), section_(row->persistSection) {
    row->persistKey = name;
    row->persistSection = nullptr;
  }
  ~ByName() {
    row_->persistKey = key_;
    row_->persistSection = section_;
  }
  ByName(const ByName&) = delete;
  ByName& operator=(const ByName&) = delete;

 private:
  SettingItem* row_;
  const WCHAR* key_;
  const WCHAR* section_;
};

int Transfer(HANDLE printer, LPCWSTR path, DWORD flags, DriverContext* ctx, bool save) {
  if (!ctx || !ctx->items || !path || !path[0] || !(flags & kStoreFileExtended)) return 0;
  CtxSetFileStatus(ctx, 0);
  int result = 1;
  for (int i = 0; i < ctx->items->count; ++i) {
    SettingItem* row = &ctx->items->rows[i];
    if (!IsExtendedDeviceItem(row->id) || !row->persistKey) continue;
    const WCHAR* name = ItemGetName(ctx, row->id);
    if (!name || !name[0]) continue;
    ByName keyed(row, name);
    if (save) {
      if (!StoreWriteItemIni(printer, ctx, row, path, nullptr, nullptr)) result = 0;
    } else {
      StoreReadItemIni(ctx, row, path, nullptr, nullptr);
    }
  }
  return result;
}

}  // namespace

int StoreLoadSettingsFile(HANDLE printer, LPCWSTR path, DWORD flags, DriverContext* ctx) {
  return Transfer(printer, path, flags, ctx, false);
}

int StoreSaveSettingsFile(HANDLE printer, LPCWSTR path, DWORD flags, DriverContext* ctx) {
  return Transfer(printer, path, flags, ctx, true);
}
