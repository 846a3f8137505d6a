// The item filters of the settings-file transfer: each keeps (1) or refuses (0) a row.
#include "core/store/settings_file.h"

#include "core/items/item_access.h"
#include "core/items/item_table.h"

namespace {
constexpr WORD kIdExtFirst = 10001, kIdExtLast = 10434;
constexpr WORD kIdAuthMode = 10354, kIdAuthSecureMode = 10355;
constexpr WORD kIdLockInfo = 10386;
constexpr WORD kIdCustomMediaMax = 1494, kIdCustomMediaFirst = 1495, kIdCustomMediaLast = 1543;
}  // namespace

int StoreFilterText(const SettingItem* row) { return row && row->id >= 1 && row->id <= 5 ? 0 : 1; }

int StoreFilterPlainRead(const SettingItem* row) {
  if (!row) return 0;
  WORD id = row->id;
  if ((id >= 1 && id <= 5) || (id >= 697 && id <= 914) || (id >= 1250 && id <= 1543) ||
      (id >= kIdExtFirst && id <= kIdExtLast))
    return 0;
  if (id == 207 || id == 208 || (id >= 608 && id <= 610) || id == 682 || id == 683) return 0;
  return 1;
}

int StoreFilterExtended(const SettingItem* row) {
  if (!row || row->id < kIdExtFirst || row->id > kIdExtLast) return 0;
  return row->id <= 10011 || row->id == kIdAuthMode || row->id == kIdAuthSecureMode ? 0 : 1;
}

int StoreFilterCustomMedia(DriverContext* ctx, const SettingItem* row) {
  if (!row || row->id < kIdCustomMediaFirst || row->id > kIdCustomMediaLast) return 0;
  return ItemGetRawById(ctx, kIdCustomMediaMax) > 0 ? 1 : 0;
}

int StoreFilterNoSecrets(const SettingItem* row) { return row && row->id >= 1113 && row->id <= 1116 ? 0 : 1; }

int StoreFilterNoSupportFlags(const SettingItem* row) { return row && (row->id == 562 || row->id == 563) ? 0 : 1; }

int StoreFilterTextNoNotify(const SettingItem* row) {
  return row && (row->id == 530 || row->id == 531 || row->id == 562 || row->id == 563) ? 0 : 1;
}

int StoreFilterNoLockInfo(WORD id) { return id >= 1201 && id <= 1216 ? 0 : 1; }

int StoreFilterNoJobSecrets(const SettingItem* row) {
  if (!row) return 0;
  WORD id = row->id;
  return id == 207 || id == 208 || (id >= 608 && id <= 610) || (id >= 681 && id <= 683) ? 0 : 1;
}

int StoreIsLockExtendedItem(WORD id) { return id == kIdLockInfo || (id >= 10418 && id <= 10434) ? 1 : 0; }
