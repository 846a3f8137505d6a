// Setting items: the item record, its type word and the lookups by id, symbol and name.
// Every setting of the driver (public DEVMODE field, private field, device setting, work
// value) is an item with a 16-bit id. The static catalogue (item_catalogue.inc) is the one
// source of truth for ids, names, types, places and persistence; each driver context gets a
// private run-time copy of it (ItemTableCreate).
#pragma once

#include "platform/win32.h"

struct DriverContext;

// ---- the type word (ItemDescriptor) ----
// bits 0-15 size in bytes (for bit items: of the unit holding the bit), 16-23 zero,
// 24-29 data type, 30-31 area.
enum ItemArea : UINT {
  ItemAreaNone = 0,
  ItemAreaDevmode = 1,
  ItemAreaExtension = 2,
  ItemAreaWork = 3,
};

enum ItemDataType : UINT {
  ItemTypeS8 = 1,
  ItemTypeS16 = 2,
  ItemTypeS32 = 3,
  ItemTypeU8 = 4,
  ItemTypeU16 = 5,
  ItemTypeU32 = 6,
  ItemTypeNarrowText = 7,
  ItemTypeWideText = 8,
  ItemTypeBlock = 9,
  ItemTypeNarrowText2 = 10,  // the narrow text type the catalogue uses
  ItemTypeWideText2 = 11,    // dmDeviceName, dmFormName
  ItemTypeBlock2 = 12,
  ItemTypeBitFirst = 16,  // 16 + 8 * byte + bit, byte 0-3 of the unit, bit 0-7
  ItemTypeBitLast = 47,
};

constexpr DWORD ItemDescriptorMake(UINT area, UINT type, UINT size) {
  return (static_cast<DWORD>(area & 3u) << 30) | (static_cast<DWORD>(type & 0x3Fu) << 24) |
         (static_cast<DWORD>(size) & 0xFFFFu);
}
constexpr UINT ItemDescArea(DWORD d) { return static_cast<UINT>(d >> 30); }
constexpr UINT ItemDescType(DWORD d) { return static_cast<UINT>((d >> 24) & 0x3Fu); }
constexpr UINT ItemDescSize(DWORD d) { return static_cast<UINT>(d & 0xFFFFu); }
constexpr bool ItemTypeIsBit(UINT type) { return type >= ItemTypeBitFirst && type <= ItemTypeBitLast; }
constexpr bool ItemTypeIsText(UINT type) { return type >= ItemTypeNarrowText && type <= ItemTypeBlock2; }
constexpr bool ItemTypeIsWideText(UINT type) {
  return type == ItemTypeWideText || type == ItemTypeWideText2;
}
// Byte of the unit (0-3) and bit in that byte (0-7) of a bit type.
constexpr UINT ItemBitByte(UINT type) { return (type - ItemTypeBitFirst) / 8u; }
constexpr UINT ItemBitIndex(UINT type) { return (type - ItemTypeBitFirst) % 8u; }
constexpr UINT ItemBitType(UINT byte, UINT bit) { return ItemTypeBitFirst + byte * 8u + bit; }

// ---- persistence ----
enum ItemStorageKind : WORD {
  ItemStoreNone = 0,
  ItemStorePrinterData = 1,
  ItemStoreSettingsIni = 2,
};

// State word (ItemPersistMask): bits 0-1 change mark, 2-3 preset group, 4-5 quality group,
// 6-7 watermark group. The catalogue sets only the low bit of each group.
enum ItemPersistMask : WORD {
  ItemStateChangeMask = 0x0003,
  ItemStateChanged = 0x0001,
  ItemPersistPreset = 0x0004,
  ItemPersistQuality = 0x0010,
  ItemPersistWatermark = 0x0040,
  ItemStateTemplateMask = 0x03FF,  // bits a run-time row keeps of the template
};

// Unit kind of a number item: how a number command value relates to the stored value.
enum ItemUnitKind : WORD {
  ItemUnitPlain = 0,
  ItemUnitDotsAtResolution = 2,  // stored in 1/1200 inch, command value in dots at zdmDstResolutionW
};

// ---- records ----
// One value of an item's own value list. A list ends at the first entry whose logical value
// is 0; logical 0xFFFF marks a stored value the field can hold but the driver never offers.
struct ItemValueEntry {
  DWORD stored;
  WORD logical;  // for list items the id of the value's display string
  WORD reserved;
};
static_assert(sizeof(ItemValueEntry) == 8, "value entry layout");
constexpr WORD ItemValueNeverOffered = 0xFFFF;

// Per run-time row: what a context may replace without touching the template.
struct SettingItemRefs {
  const ItemValueEntry* values;  // null without a list
  const WCHAR* name;             // null for unnamed items
  WORD unitKind;                 // ItemUnitKind
  WORD reserved;
};

// Run-time row of a context's item table (32 bytes in the 32-bit builds).
struct SettingItem {
  WORD id;
  WORD symbolId;        // 0 without a symbol
  DWORD descriptor;     // the type word
  WORD areaOffset;      // offset of the value inside its area
  WORD storageKind;     // ItemStorageKind
  const WCHAR* persistSection;  // null: the printer's name
  const WCHAR* persistKey;      // null: not persisted
  WORD specialCode;     // job-header special kind: 0, 1-3, 5-13, 101, 102
  WORD state;           // ItemPersistMask
  SettingItemRefs* refs;
  DWORD changeClasses;  // filled when the dialog tables are bound
};
static_assert(sizeof(void*) != 4 || sizeof(SettingItem) == 32, "item record is 32 bytes");

struct SettingItemTable {
  SHORT count;
  SettingItem* rows;
};

// Row of the static catalogue (the template every run-time table is made from).
struct ItemTemplateRow {
  WORD id;
  WORD symbolId;
  DWORD descriptor;
  WORD areaOffset;
  WORD storageKind;
  const WCHAR* persistSection;
  const WCHAR* persistKey;
  WORD specialCode;
  WORD state;
  WORD unitKind;
  const WCHAR* name;  // empty text for unnamed items
};

// ---- catalogue (static, no context) ----
constexpr int kItemCount = 1989;
constexpr WORD kItemLastLowId = 1555;     // ids 1-1555 without a gap
constexpr WORD kItemFirstHighId = 10001;  // then ids 10001-10434 without a gap
constexpr WORD kItemLastHighId = 10434;
constexpr UINT kDevmodeAreaSize = 1236;
constexpr UINT kExtensionAreaSize = 5264;
constexpr UINT kWorkAreaSize = 3576;

// The catalogue rows in id order; writes the row count to *count when count is not null.
const ItemTemplateRow* TblItemTemplate(int* count);
// Catalogue row of an item id, or null when the id is not an item.
const ItemTemplateRow* TblItemTemplateRow(WORD id);
// Value list of an item of the catalogue, or null when it has none.
const ItemValueEntry* TblItemValueList(WORD id);
// Row index of an item id in every item table (catalogue or run-time), or -1.
int ItemRowIndex(WORD id);

// ---- run-time table ----
// Builds a context's private copy of the catalogue: rows with bits 0-9 of the state word and a
// SettingItemRefs record each. A refs record that cannot be allocated leaves its row zero.
// Returns null when the table itself cannot be allocated. Free with ItemTableFree.
SettingItemTable* ItemTableCreate();
// Frees a table made by ItemTableCreate with every refs record; null is ignored.
void ItemTableFree(SettingItemTable* table);

// ---- lookups (context first) ----
// Finds the item with this id. Ids 1-1555 and 10001-10434 exist; any other id (0, 1556-10000,
// above 10434) gives null, never another item's row. A null context or a context without an
// item table gives null.
SettingItem* ItemFind(DriverContext* ctx, WORD id);
// The item whose row carries this symbol id, else the item the symbol table links to it.
SettingItem* ItemFindBySymbol(DriverContext* ctx, WORD symbolId);
// The item with this wide name (exact, case-sensitive), or null.
SettingItem* ItemFindByName(DriverContext* ctx, const WCHAR* name);
// The item's wide name ("zdmWmKind"), or null for unnamed and unknown items.
const WCHAR* ItemGetName(DriverContext* ctx, WORD id);
// The value list of a run-time row, or null.
const ItemValueEntry* ItemValueList(const SettingItem* item);
// The unit kind of a run-time row (ItemUnitPlain when unknown).
WORD ItemUnitKindOf(const SettingItem* item);

// ---- settings-block addressing ----
// Where the private header's three area-offset words (DEVMODE, extension and work area)
// start, counted from the start of the settings block.
constexpr UINT kDmAreaOffsetWords = 361;
// The current settings block (it starts with the public DEVMODE), or null.
BYTE* CtxGetSettings(DriverContext* ctx);
// The private DEVMODE part: the settings block plus 220; null when the block is missing or
// its dmSize is not 220.
BYTE* CtxGetPrivateDevmode(DriverContext* ctx);
BYTE* CtxGetPrivatePart(DriverContext* ctx);
// The extension area: the block plus the extension-area word of its private header; null
// when the header words are not stamped with a layout this driver knows.
BYTE* CtxGetExtArea(DriverContext* ctx);
// The work area (3,576 bytes): the block plus the work-area word of its private header; null
// as for the extension area. The application interface snapshots it through this.
BYTE* CtxGetWorkArea(DriverContext* ctx);
// The DEVMODE plus 220, where the private part starts after an NT-size public part.
BYTE* DmPrivateAt220(void* devmode);
// Address of the item's value in the current settings block, or null (null item, area 0, no
// settings block, unstamped header, value outside its area).
BYTE* ItemStoragePtr(DriverContext* ctx, const SettingItem* item);
// The same address in the initial-settings copy and in the lock-default copy, or null.
BYTE* ItemInitialStoragePtr(DriverContext* ctx, const SettingItem* item);
BYTE* ItemLockDefaultStoragePtr(DriverContext* ctx, const SettingItem* item);
// Address of the item's value inside any settings block laid out like the current one.
BYTE* ItemStorageIn(BYTE* block, const SettingItem* item);
