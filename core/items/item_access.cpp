// Typed access to setting items in the settings block, text items, change marks and flags.
#include "core/items/item_access.h"

#include <string.h>

#include "core/common/mem.h"
#include "core/system/resources.h"
#include "core/common/text.h"
#include "core/front/control_lookup.h"
#include "core/context/driver_context.h"
#include "core/items/item_ids.h"
#include "core/items/item_table.h"
#include "core/items/item_values.h"
#include "core/context/settings_snapshot.h"
#include "core/context/ui_state.h"
#include "core/front/dialog_records.h"

namespace {

ItemReadObserver g_readObserver = nullptr;
void* g_readObserverData = nullptr;

// Change classes that an item write adds to the change flags.
constexpr DWORD kChangeClassMask = 0x11F0000;
constexpr WORD kChangeMarkMask = 0x3;

DWORD DataType(const SettingItem* item) { return ItemDescType(item->descriptor); }
DWORD DataSize(const SettingItem* item) { return ItemDescSize(item->descriptor); }

// Types whose value is the address of size bytes: narrow and wide texts, blocks (and the
// three types after them, which nothing in the table uses).
bool IsAddressType(DWORD type) { return type >= ItemTypeNarrowText && type <= 15; }
bool IsNarrowText(DWORD type) { return type == ItemTypeNarrowText || type == ItemTypeNarrowText2; }
bool IsWideText(DWORD type) { return ItemTypeIsWideText(type); }

// Byte of the unit that holds a bit item's bit, or -1 when the unit is too small for it.
int BitByte(const SettingItem* item) {
  UINT byte = ItemBitByte(DataType(item));
  return byte < DataSize(item) ? static_cast<int>(byte) : -1;
}

LONG_PTR LoadValue(const SettingItem* item, BYTE* p) {
  if (!p) return 0;
  DWORD type = DataType(item);
  if (ItemTypeIsBit(type)) {
    int byte = BitByte(item);
    return byte < 0 ? 0 : (p[byte] >> ItemBitIndex(type)) & 1;
  }
  switch (type) {
    case 1: return static_cast<signed char>(p[0]);
    case 2: { SHORT v; memcpy(&v, p, sizeof v); return v; }
    case 3: case 6: { LONG v; memcpy(&v, p, sizeof v); return v; }
    case 4: return p[0];
    case 5: { WORD v; memcpy(&v, p, sizeof v); return v; }
    default: break;
  }
  if (IsAddressType(type)) return reinterpret_cast<LONG_PTR>(p);
  return 0;
}

void StoreValue(const SettingItem* item, BYTE* p, LONG_PTR value) {
  DWORD type = DataType(item);
  if (ItemTypeIsBit(type)) {
    int byte = BitByte(item);
    if (byte < 0) return;
    BYTE mask = static_cast<BYTE>(1u << ItemBitIndex(type));
    if (value) p[byte] |= mask; else p[byte] &= static_cast<BYTE>(~mask);
    return;
  }
  switch (type) {
    case 1: case 4: p[0] = static_cast<BYTE>(value); return;
    case 2: case 5: { WORD v = static_cast<WORD>(value); memcpy(p, &v, sizeof v); return; }
    case 3: case 6: { DWORD v = static_cast<DWORD>(value); memcpy(p, &v, sizeof v); return; }
    default: break;
  }
  if (IsAddressType(type)) {
    const void* source = reinterpret_cast<const void*>(value);
    // The source may be the item itself (a read passed back): memmove keeps that safe.
    if (source) memmove(p, source, DataSize(item)); else memset(p, 0, DataSize(item));
  }
}

UiState* Ui(DriverContext* ctx) { return ctx ? ctx->ui : nullptr; }

// The item, also handed to the caller through found when found is given.
SettingItem* Reported(SettingItem* item, SettingItem** found) {
  if (found) *found = item;
  return item;
}

SettingItem* ControlItem(DriverContext* ctx, WORD control_id) {
  DlgControlRecord* control = CtlFind(ctx, nullptr, control_id);
  return control ? control->item : nullptr;
}

}  // namespace

void ItemSetReadObserver(ItemReadObserver observer, void* data) {
  g_readObserver = observer;
  g_readObserverData = data;
}

LONG_PTR ItemGetRaw(DriverContext* ctx, const SettingItem* item) {
  if (!ctx || !item) return 0;
  if (g_readObserver) g_readObserver(g_readObserverData, item->id);
  return LoadValue(item, static_cast<BYTE*>(ItemStoragePtr(ctx, item)));
}

LONG_PTR ItemGetInitialRaw(DriverContext* ctx, const SettingItem* item) {
  if (!ctx || !item) return 0;
  return LoadValue(item, static_cast<BYTE*>(ItemInitialStoragePtr(ctx, item)));
}

LONG_PTR ItemGetLockDefaultRaw(DriverContext* ctx, const SettingItem* item) {
  if (!ctx || !item) return 0;
  return LoadValue(item, static_cast<BYTE*>(ItemLockDefaultStoragePtr(ctx, item)));
}

LONG_PTR ItemGetRawById(DriverContext* ctx, WORD id, SettingItem** found) {
  return ItemGetRaw(ctx, Reported(ItemFind(ctx, id), found));
}

LONG_PTR ItemGetInitialRawById(DriverContext* ctx, WORD id, SettingItem** found) {
  return ItemGetInitialRaw(ctx, Reported(ItemFind(ctx, id), found));
}

LONG_PTR ItemGetLockDefaultRawById(DriverContext* ctx, WORD id, SettingItem** found) {
  return ItemGetLockDefaultRaw(ctx, Reported(ItemFind(ctx, id), found));
}

LONG_PTR ItemGetValue(DriverContext* ctx, const SettingItem* item) {
  if (!ctx || !item) return 0;
  return ItemMapValue(ctx, item, ItemGetRaw(ctx, item));
}

LONG_PTR ItemGetValueById(DriverContext* ctx, WORD id, SettingItem** found) {
  return ItemGetValue(ctx, Reported(ItemFind(ctx, id), found));
}

LONG_PTR ItemGetValueBySymbol(DriverContext* ctx, WORD symbol, SettingItem** found) {
  return ItemGetValue(ctx, Reported(ItemFindBySymbol(ctx, symbol), found));
}

LONG_PTR ItemGetControlValue(DriverContext* ctx, const DlgControlRecord* control) {
  return control ? ItemGetValue(ctx, control->item) : 0;
}

BOOL ItemSetRaw(DriverContext* ctx, SettingItem* item, LONG_PTR value) {
  if (!ctx || !item) return 0;
  BYTE* p = static_cast<BYTE*>(ItemStoragePtr(ctx, item));
  if (!p) return 0;
  StoreValue(item, p, value);
  item->state = static_cast<WORD>((item->state & ~kChangeMarkMask) | 1);
  if (UiState* ui = Ui(ctx)) ui->modified = 1;
  if (item->id == kItem_zdmScaleH && ItemGetRawById(ctx, kItem_zdmScaleType) == 1)
    ItemSetRawById(ctx, kItem_zdmScaleV, value);
  if (item->changeClasses & kChangeClassMask)
    CtxAddChangeFlags(ctx, item->changeClasses & kChangeClassMask);
  return 1;
}

BOOL ItemSetRawById(DriverContext* ctx, WORD id, LONG_PTR value) {
  return ItemSetRaw(ctx, ItemFind(ctx, id), value);
}

BOOL ItemSetInitialRaw(DriverContext* ctx, SettingItem* item, LONG_PTR value) {
  if (!ctx || !item) return 0;
  BYTE* p = static_cast<BYTE*>(ItemInitialStoragePtr(ctx, item));
  if (!p) return 0;
  StoreValue(item, p, value);
  return 1;
}

BOOL ItemSetInitialRawById(DriverContext* ctx, WORD id, LONG_PTR value) {
  return ItemSetInitialRaw(ctx, ItemFind(ctx, id), value);
}

BOOL ItemSetValue(DriverContext* ctx, SettingItem* item, LONG_PTR value) {
  if (!ctx || !item) return 0;
  LONG_PTR stored = ItemUnmapValue(ctx, item, value);
  if (IsAddressType(DataType(item)) && stored != 0) {
    // A logical value is a number: for a text or block item it would be taken as the address
    // to copy from. Only 0 (clear) and the item's own address (a value read back) are safe.
    BYTE* p = static_cast<BYTE*>(ItemStoragePtr(ctx, item));
    if (!p || stored != reinterpret_cast<LONG_PTR>(p)) return 0;
  }
  return ItemSetRaw(ctx, item, stored);
}

BOOL ItemSetValueById(DriverContext* ctx, WORD id, LONG_PTR value) {
  return ItemSetValue(ctx, ItemFind(ctx, id), value);
}

BOOL ItemSetControlValue(DriverContext* ctx, const DlgControlRecord* control, LONG_PTR value) {
  return control ? ItemSetValue(ctx, control->item, value) : 0;
}

BOOL ItemSetValueOrString(DriverContext* ctx, WORD id, LONG_PTR value) {
  SettingItem* item = ItemFind(ctx, id);
  if (!item) return 0;
  DWORD type = DataType(item);
  bool text = IsNarrowText(type) || IsWideText(type) || (type >= 13 && type <= 15);
  if (!text) return ItemSetValue(ctx, item, value);
  UiState* ui = Ui(ctx);
  if (!ui) return 0;
  const int capacity = static_cast<int>(sizeof ui->textBuffer / sizeof ui->textBuffer[0]);
  ResLoadString(ctx, static_cast<UINT>(value), ui->textBuffer, capacity, 1);
  return ItemSetText(ctx, item, ui->textBuffer) != nullptr;
}

void* ItemSetText(DriverContext* ctx, SettingItem* item, const WCHAR* text) {
  if (!ctx || !item) return nullptr;
  BYTE* p = static_cast<BYTE*>(ItemStoragePtr(ctx, item));
  if (!p) return nullptr;
  ItemSetRaw(ctx, item, 0);
  if (!text) return nullptr;
  DWORD type = DataType(item);
  DWORD size = DataSize(item);
  if (IsNarrowText(type) && size > 0) {
    StrWideToAnsi(reinterpret_cast<char*>(p), text, static_cast<int>(size));
  } else if (IsWideText(type) && size >= sizeof(WCHAR)) {
    // The item holds size bytes with its terminator: a longer text is cut to fit.
    DWORD room = size / sizeof(WCHAR) - 1;
    DWORD n = 0;
    while (n < room && text[n] != 0) ++n;
    memcpy(p, text, n * sizeof(WCHAR));
    memset(p + n * sizeof(WCHAR), 0, sizeof(WCHAR));
  }
  return p;
}

void* ItemSetControlText(DriverContext* ctx, WORD control_id, const WCHAR* text) {
  return ItemSetText(ctx, ControlItem(ctx, control_id), text);
}

void* ItemGetTextBounded(DriverContext* ctx, const SettingItem* item, WCHAR* buffer, int cchBuffer) {
  if (!ctx || !item || !buffer || cchBuffer <= 0) return nullptr;
  if (g_readObserver) g_readObserver(g_readObserverData, item->id);
  buffer[0] = 0;
  BYTE* p = static_cast<BYTE*>(ItemStoragePtr(ctx, item));
  if (!p) return nullptr;
  DWORD type = DataType(item);
  DWORD item_size = DataSize(item);
  if (IsNarrowText(type)) {
    // The stored text need not be terminated inside the item: convert a terminated copy.
    const void* end = memchr(p, 0, item_size);
    DWORD length = end ? static_cast<DWORD>(static_cast<const BYTE*>(end) - p) : item_size;
    char local[1024];
    char* copy = length < sizeof local ? local : static_cast<char*>(MemAllocZero(length + 1));
    if (!copy) return nullptr;
    memcpy(copy, p, length);
    copy[length] = 0;
    int limit = static_cast<int>(item_size) < cchBuffer ? static_cast<int>(item_size) : cchBuffer;
    if (limit > 0) StrAnsiToWide(buffer, copy, limit);
    if (copy != local) MemFree(copy);
  } else if (IsWideText(type)) {
    // At most the item's characters less its terminator, and what the buffer holds.
    DWORD chars = item_size / sizeof(WCHAR);
    DWORD room = static_cast<DWORD>(cchBuffer) - 1;
    if (chars == 0) room = 0;
    else if (chars - 1 < room) room = chars - 1;
    DWORD n = 0;
    for (WCHAR c; n < room; ++n) {
      memcpy(&c, p + n * sizeof(WCHAR), sizeof c);
      if (c == 0) break;
      buffer[n] = c;
    }
    buffer[n] = 0;
  } else {
    static const WCHAR kWrong[] = {u'w', u'r', u'o', u'n', u'g', 0};
    int n = 0;
    for (; n < cchBuffer - 1 && kWrong[n]; ++n) buffer[n] = kWrong[n];
    buffer[n] = 0;
  }
  return p;
}

void* ItemGetText(DriverContext* ctx, const SettingItem* item, WCHAR* buffer) {
  if (!item) return nullptr;
  // The caller's buffer holds the item's size in characters (at least the 6 of "wrong").
  int size = static_cast<int>(DataSize(item));
  if (IsWideText(DataType(item))) size /= static_cast<int>(sizeof(WCHAR));
  if (size < 6) size = 6;
  return ItemGetTextBounded(ctx, item, buffer, size);
}

void* ItemGetControlText(DriverContext* ctx, WORD control_id, WCHAR* buffer) {
  return ItemGetText(ctx, ControlItem(ctx, control_id), buffer);
}

BOOL ItemIsMetricUnit(DriverContext* ctx) {
  return ItemGetRawById(ctx, kItem_zdmDspUnit) == 0 ? 1 : 0;
}

void CtxAddChangeFlags(DriverContext* ctx, DWORD value) {
  UiState* ui = Ui(ctx);
  if (!ui) return;
  if (value == 0) {
    ui->changeFlags = 0;
    return;
  }
  if (value & 0xFFFF) ui->changeFlags &= ~0xFFFFul;
  ui->changeFlags |= value;
}

DWORD CtxGetChangeFlags(DriverContext* ctx) {
  UiState* ui = Ui(ctx);
  return ui ? ui->changeFlags : 0;
}

void CtxClearChangeFlags(DriverContext* ctx, DWORD mask) {
  UiState* ui = Ui(ctx);
  if (!ui) return;
  ui->changeFlags &= ~mask;
  if (mask >= 0x10000000) CtxSnapshotClearChangeFlags(ctx, mask);
}

void CtxSetFileStatus(DriverContext* ctx, LONG status) {
  if (UiState* ui = Ui(ctx)) ui->fileStatus = status;
}

LONG CtxGetFileStatus(DriverContext* ctx) {
  UiState* ui = Ui(ctx);
  return ui ? ui->fileStatus : 0;
}

