// The static item catalogue and the run-time item table made from it.
#include "core/items/item_table.h"

#include "core/common/mem.h"
#include "core/tables/value_symbols.h"

namespace {

#define S8 ItemTypeS8
#define S16 ItemTypeS16
#define S32 ItemTypeS32
#define U8 ItemTypeU8
#define U16 ItemTypeU16
#define U32 ItemTypeU32
#define TEXT_N ItemTypeNarrowText2
#define WTEXT ItemTypeWideText2
#define BIT(byte, bit) ItemBitType(byte, bit)
#define DM ItemAreaDevmode
#define EXT ItemAreaExtension
#define WRK ItemAreaWork
#define NONE ItemStoreNone
#define PDATA ItemStorePrinterData
#define INI ItemStoreSettingsIni
#define K(s) TEXT(s)

// TEXT is the Windows text macro; the catalogue's column name for narrow text is mapped here.
#define ITEM(id, sym, name, type, area, off, size, storage, section, key, special, groups, unit) \
  {id, sym, ItemDescriptorMake(area, ITEM_TYPE_##type, size), off, storage, section, key,      \
   special, groups, unit, TEXT(name)},
#define ITEM_TYPE_S8 S8
#define ITEM_TYPE_S16 S16
#define ITEM_TYPE_S32 S32
#define ITEM_TYPE_U8 U8
#define ITEM_TYPE_U16 U16
#define ITEM_TYPE_U32 U32
#define ITEM_TYPE_TEXT TEXT_N
#define ITEM_TYPE_WTEXT WTEXT
#define ITEM_TYPE_BIT(byte, bit) BIT(byte, bit)

const ItemTemplateRow kCatalogue[] = {
#include "core/items/item_catalogue.inc"
};

#undef ITEM

static_assert(sizeof(kCatalogue) / sizeof(kCatalogue[0]) == kItemCount, "catalogue row count");

}  // namespace

const ItemTemplateRow* TblItemTemplate(int* count) {
  if (count) *count = kItemCount;
  return kCatalogue;
}

// The catalogue's order makes the row index a function of the id: ids 1-1555 are rows
// 0-1554, ids 10001-10434 rows 1555-1988. Other ids have no row.
int ItemRowIndex(WORD id) {
  if (id >= 1 && id <= kItemLastLowId) return id - 1;
  if (id >= kItemFirstHighId && id <= kItemLastHighId) return kItemLastLowId + (id - kItemFirstHighId);
  return -1;
}

const ItemTemplateRow* TblItemTemplateRow(WORD id) {
  int index = ItemRowIndex(id);
  return index < 0 ? nullptr : &kCatalogue[index];
}

SettingItemTable* ItemTableCreate() {
  auto* table = static_cast<SettingItemTable*>(MemAllocZero(sizeof(SettingItemTable)));
  if (!table) return nullptr;
  // The rows and their references in one block of the machine's heap: two allocations a
  // context, and a refused one leaves no half-made table.
  static_assert(sizeof(SettingItem) % alignof(SettingItemRefs) == 0, "references follow the rows aligned");
  void* block = MemAllocZero(SIZE_T(kItemCount) * (sizeof(SettingItem) + sizeof(SettingItemRefs)));
  if (!block) {
    MemFree(table);
    return nullptr;
  }
  table->rows = static_cast<SettingItem*>(block);
  auto* allRefs = reinterpret_cast<SettingItemRefs*>(table->rows + kItemCount);
  table->count = static_cast<SHORT>(kItemCount);
  for (int i = 0; i < kItemCount; ++i) {
    const ItemTemplateRow& t = kCatalogue[i];
    SettingItemRefs* refs = &allRefs[i];
    refs->values = TblItemValueList(t.id);
    refs->name = t.name[0] ? t.name : nullptr;
    refs->unitKind = t.unitKind;
    SettingItem& row = table->rows[i];
    row.id = t.id;
    row.symbolId = t.symbolId;
    row.descriptor = t.descriptor;
    row.areaOffset = t.areaOffset;
    row.storageKind = t.storageKind;
    row.persistSection = t.persistSection;
    row.persistKey = t.persistKey;
    row.specialCode = t.specialCode;
    row.state = static_cast<WORD>(t.state & ItemStateTemplateMask);
    row.refs = refs;
    row.changeClasses = 0;
  }
  return table;
}

void ItemTableFree(SettingItemTable* table) {
  if (!table) return;
  MemFree(table->rows);  // the references share the rows' block
  MemFree(table);
}
