// Addresses of item values in a settings block: the DEVMODE area, the extension area and the
// work area, found through the area-offset words of the private DEVMODE header.
#include <cstring>

#include "core/context/driver_context.h"
#include "core/items/item_table.h"

namespace {

// One layout on every system: the public part is 220 bytes and the areas start at 0, 1236
// and 6500.
constexpr UINT kPublicSizeNt = 220;

// The three areas fill the settings block one after the other.
static_assert(kSettingsBlockSize == kDevmodeAreaSize + kExtensionAreaSize + kWorkAreaSize,
              "settings block");

WORD ReadWord(const BYTE* p) {
  WORD w;
  std::memcpy(&w, p, sizeof(w));
  return w;
}

// Start of an area inside a settings block, or -1 when the header words do not describe one
// the layout this driver writes: words copied in from outside, or not yet stamped,
// must not send an item's address outside the block.
int AreaStart(const BYTE* block, UINT area) {
  const BYTE* words = block + kDmAreaOffsetWords;
  WORD dm = ReadWord(words);
  WORD ext = ReadWord(words + 2);
  WORD work = ReadWord(words + 4);
  switch (area) {
    case ItemAreaDevmode:
      return dm == 0 ? 0 : -1;
    case ItemAreaExtension:
    case ItemAreaWork:
      if (dm != 0 || ext != kDevmodeAreaSize || work != ext + kExtensionAreaSize) {
        return -1;
      }
      return area == ItemAreaExtension ? ext : work;
    default:
      return -1;
  }
}

UINT AreaSize(UINT area) {
  switch (area) {
    case ItemAreaDevmode: return kDevmodeAreaSize;
    case ItemAreaExtension: return kExtensionAreaSize;
    case ItemAreaWork: return kWorkAreaSize;
    default: return 0;
  }
}

}  // namespace

BYTE* ItemStorageIn(BYTE* block, const SettingItem* item) {
  if (!block || !item) return nullptr;
  UINT area = ItemDescArea(item->descriptor);
  int start = AreaStart(block, area);
  if (start < 0) return nullptr;
  UINT size = ItemDescSize(item->descriptor);
  if (static_cast<UINT>(item->areaOffset) + size > AreaSize(area)) return nullptr;
  return block + start + item->areaOffset;
}

BYTE* CtxGetSettings(DriverContext* ctx) { return ctx ? ctx->settings : nullptr; }

BYTE* CtxGetPrivateDevmode(DriverContext* ctx) {
  BYTE* block = CtxGetSettings(ctx);
  if (!block) return nullptr;
  // The private part is always at 220; a block whose dmSize says otherwise was damaged.
  if (ReadWord(block + 68) != kPublicSizeNt) return nullptr;
  return block + kPublicSizeNt;
}

BYTE* CtxGetPrivatePart(DriverContext* ctx) { return CtxGetPrivateDevmode(ctx); }

// The start of an area of the context's settings block, or null.
static BYTE* AreaOf(DriverContext* ctx, UINT area) {
  BYTE* block = CtxGetSettings(ctx);
  if (!block) return nullptr;
  int start = AreaStart(block, area);
  return start < 0 ? nullptr : block + start;
}

BYTE* CtxGetExtArea(DriverContext* ctx) { return AreaOf(ctx, ItemAreaExtension); }

BYTE* CtxGetWorkArea(DriverContext* ctx) { return AreaOf(ctx, ItemAreaWork); }

BYTE* DmPrivateAt220(void* devmode) {
  return devmode ? static_cast<BYTE*>(devmode) + kPublicSizeNt : nullptr;
}

BYTE* ItemStoragePtr(DriverContext* ctx, const SettingItem* item) {
  return ItemStorageIn(CtxGetSettings(ctx), item);
}

BYTE* ItemInitialStoragePtr(DriverContext* ctx, const SettingItem* item) {
  return ctx ? ItemStorageIn(CtxInitialSettingsBlock(ctx), item) : nullptr;
}

BYTE* ItemLockDefaultStoragePtr(DriverContext* ctx, const SettingItem* item) {
  return ctx ? ItemStorageIn(CtxLockDefaultSettingsBlock(ctx), item) : nullptr;
}
