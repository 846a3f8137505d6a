// The preset cache.
#include "core/modules/preset_cache.h"

#include <string.h>

#include "core/common/mem.h"
#include "core/context/ui_state.h"
#include "core/items/item_table.h"

namespace {

constexpr int kSlots = 16;
constexpr WORD kGroupBits = 0x000C | 0x00C0;  // preset group (bits 2-3), watermark group (6-7)

// A cached copy: its size, then the items' bytes in table order.
struct CacheBlock {
  DWORD size;
  BYTE bytes[1];
};

bool InGroups(const SettingItem& row) { return (row.state & kGroupBits) != 0; }

// The slot whose key "PresetList%d" is key (case ignored), or -1.
int SlotOfKey(const WCHAR* key) {
  if (!key) return -1;
  static const char kPrefix[] = "PresetList";
  int i = 0;
  for (; kPrefix[i]; ++i) {
    WCHAR c = key[i];
    if (c >= u'A' && c <= u'Z') c = WCHAR(c - u'A' + u'a');
    char p = kPrefix[i];
    if (p >= 'A' && p <= 'Z') p = char(p - 'A' + 'a');
    if (c != WCHAR(p)) return -1;
  }
  int n = 0, digits = 0;
  for (; key[i] >= u'0' && key[i] <= u'9'; ++i, ++digits) {
    n = n * 10 + (key[i] - u'0');
    if (n >= kSlots) return -1;
  }
  if (!digits || key[i] || (digits > 1 && key[i - digits] == u'0')) return -1;
  return n;
}

DWORD GroupBytes(DriverContext* ctx) {
  DWORD total = 0;
  for (int i = 0; i < ctx->items->count; ++i)
    if (InGroups(ctx->items->rows[i])) total += ItemDescSize(ctx->items->rows[i].descriptor);
  return total;
}

void Save(DriverContext* ctx, int n) {
  BYTE*& slot = ctx->ui->presetCache[n];
  if (!slot) {
    DWORD size = GroupBytes(ctx);
    slot = static_cast<BYTE*>(MemAllocZero(sizeof(DWORD) + size));
    if (!slot) return;
    memcpy(slot, &size, sizeof size);
  }
  DWORD size;
  memcpy(&size, slot, sizeof size);
  BYTE* bytes = slot + sizeof(DWORD);
  DWORD offset = 0;
  for (int i = 0; i < ctx->items->count; ++i) {
    const SettingItem& row = ctx->items->rows[i];
    if (!InGroups(row)) continue;
    const DWORD itemSize = ItemDescSize(row.descriptor);
    if (offset + itemSize > size) break;  // the block was sized for another table
    const BYTE* value = ItemStorageIn(ctx->settings, &row);
    if (value) memcpy(bytes + offset, value, itemSize);
    offset += itemSize;
  }
}

int Restore(DriverContext* ctx, int n) {
  const BYTE* slot = ctx->ui->presetCache[n];
  if (!slot) return 0;
  DWORD size;
  memcpy(&size, slot, sizeof size);
  const BYTE* bytes = slot + sizeof(DWORD);
  DWORD offset = 0;
  for (int i = 0; i < ctx->items->count; ++i) {
    const SettingItem& row = ctx->items->rows[i];
    if (!InGroups(row)) continue;
    const DWORD itemSize = ItemDescSize(row.descriptor);
    if (offset + itemSize > size) break;  // never past the block
    BYTE* value = ItemStorageIn(ctx->settings, &row);
    const UINT type = ItemDescType(row.descriptor);
    if (value) {
      if (ItemTypeIsBit(type)) {
        const UINT byte = ItemBitByte(type);
        const BYTE mask = BYTE(1u << ItemBitIndex(type));
        if (byte < itemSize) value[byte] = BYTE((value[byte] & ~mask) | (bytes[offset + byte] & mask));
      } else {
        memcpy(value, bytes + offset, itemSize);
      }
    }
    offset += itemSize;
  }
  return 1;
}

}  // namespace

int PresetCacheOp(DriverContext* ctx, const WCHAR* key, int op) {
  if (!ctx || !ctx->ui) return 0;
  UiState* ui = ctx->ui;
  if (op == kPresetCacheForget || op == kPresetCacheFreeAll) {
    for (BYTE*& slot : ui->presetCache) {
      if (op == kPresetCacheFreeAll) MemFree(slot);
      slot = nullptr;
    }
    return 0;
  }
  if (op != kPresetCacheRestore && op != kPresetCacheSave) return 0;
  const int n = SlotOfKey(key);
  if (n < 0 || !ctx->items || !ctx->items->rows || !ctx->settings) return 0;
  if (op == kPresetCacheSave) {
    Save(ctx, n);
    return 0;
  }
  return Restore(ctx, n);
}
