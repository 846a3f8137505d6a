// Minimal version until typed item access is built: an item's stored value is read as an
// unsigned integer of its size (1, 2 or 4 bytes); the settings-file status is kept in a table
// beside the context.
#include <map>
#include <mutex>

#include "core/engine/item_access_minimal.h"

namespace {
std::mutex g_lock;
std::map<const DriverContext*, LONG>& Statuses() {
  static std::map<const DriverContext*, LONG> table;
  return table;
}
}  // namespace

LONG_PTR ItemGetRawById(DriverContext* ctx, WORD id, SettingItem** found) {
  SettingItem* item = ctx ? ItemFind(ctx, id) : nullptr;
  if (found) *found = item;
  const BYTE* p = item ? ItemStoragePtr(ctx, item) : nullptr;
  if (!p) return 0;
  switch (ItemDescSize(item->descriptor)) {
    case 1:
      return p[0];
    case 2:
      return LONG_PTR(p[0] | (p[1] << 8));
    default:
      return LONG_PTR(DWORD(p[0]) | (DWORD(p[1]) << 8) | (DWORD(p[2]) << 16) | (DWORD(p[3]) << 24));
  }
}

void CtxSetFileStatus(DriverContext* ctx, LONG status) {
  if (!ctx) return;
  std::lock_guard<std::mutex> hold(g_lock);
  Statuses()[ctx] = status;
}

LONG CtxGetFileStatus(DriverContext* ctx) {
  std::lock_guard<std::mutex> hold(g_lock);
  auto it = Statuses().find(ctx);
  return it == Statuses().end() ? 0 : it->second;
}
