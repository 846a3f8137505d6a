// Consistency of the item catalogue: ids, areas, sizes, places, names and persistence.
#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>
#include <tuple>

#include "core/items/item_table.h"
#include "core/tables/symbol_table.h"

namespace {

std::string Narrow(const WCHAR* w) {
  std::string s;
  for (; w && *w; ++w) s += static_cast<char>(*w);
  return s;
}

UINT ExpectedArea(WORD id) {
  if (id <= 722) return ItemAreaDevmode;
  if (id <= 1452) return ItemAreaWork;
  if (id <= 1543) return ItemAreaExtension;
  if (id <= 1555) return ItemAreaWork;
  return ItemAreaExtension;
}

bool ValidType(UINT type) {
  return (type >= ItemTypeS8 && type <= ItemTypeU32) || type == ItemTypeNarrowText2 ||
         type == ItemTypeWideText2 || ItemTypeIsBit(type);
}

const ItemTemplateRow* Row(WORD id) { return TblItemTemplateRow(id); }

TEST(ItemCatalogue, IdsRunWithoutGapsInRowOrder) {
  int count = 0;
  const ItemTemplateRow* rows = TblItemTemplate(&count);
  ASSERT_EQ(count, 1989);
  for (int i = 0; i < count; ++i) {
    WORD expected = static_cast<WORD>(i < 1555 ? i + 1 : 10001 + (i - 1555));
    ASSERT_EQ(rows[i].id, expected) << "row " << i;
    ASSERT_EQ(ItemRowIndex(expected), i);
  }
}

TEST(ItemCatalogue, EveryItemLiesInsideItsAreaWithAValidType) {
  int count = 0;
  const ItemTemplateRow* rows = TblItemTemplate(&count);
  const UINT areaSize[] = {0, kDevmodeAreaSize, kExtensionAreaSize, kWorkAreaSize};
  for (int i = 0; i < count; ++i) {
    const ItemTemplateRow& r = rows[i];
    UINT area = ItemDescArea(r.descriptor);
    UINT type = ItemDescType(r.descriptor);
    UINT size = ItemDescSize(r.descriptor);
    EXPECT_EQ(area, ExpectedArea(r.id)) << "item " << r.id;
    EXPECT_TRUE(ValidType(type)) << "item " << r.id << " type " << type;
    EXPECT_EQ((r.descriptor >> 16) & 0xFFu, 0u) << "item " << r.id;
    EXPECT_GT(size, 0u) << "item " << r.id;
    EXPECT_LE(r.areaOffset + size, areaSize[area]) << "item " << r.id << " leaves its area";
    if (ItemTypeIsBit(type)) {
      EXPECT_TRUE(size == 1 || size == 2 || size == 4) << "item " << r.id;
      EXPECT_LT(ItemBitByte(type), size) << "bit outside its unit, item " << r.id;
    } else if (type <= ItemTypeU32) {
      static const UINT kSize[] = {0, 1, 2, 4, 1, 2, 4};
      EXPECT_EQ(size, kSize[type]) << "item " << r.id;
    }
  }
}

// Every byte of an area belongs to one item, or to one bit unit shared by its bit items.
TEST(ItemCatalogue, NothingOverlapsExceptTheBitsOfOneUnit) {
  int count = 0;
  const ItemTemplateRow* rows = TblItemTemplate(&count);
  std::map<std::pair<UINT, UINT>, std::tuple<int, UINT, UINT>> owner;  // (area, byte) -> owner
  std::set<std::tuple<UINT, UINT, UINT>> bitsTaken;                    // (area, unit, bit)
  for (int i = 0; i < count; ++i) {
    const ItemTemplateRow& r = rows[i];
    UINT area = ItemDescArea(r.descriptor);
    UINT type = ItemDescType(r.descriptor);
    UINT size = ItemDescSize(r.descriptor);
    bool bit = ItemTypeIsBit(type);
    // A bit item's owner is its unit (offset and size); any other item owns its bytes alone.
    std::tuple<int, UINT, UINT> me = bit ? std::make_tuple(-1, UINT(r.areaOffset), size)
                                         : std::make_tuple(int(r.id), 0u, 0u);
    for (UINT b = r.areaOffset; b < r.areaOffset + size; ++b) {
      auto [it, inserted] = owner.emplace(std::make_pair(area, b), me);
      ASSERT_TRUE(inserted || it->second == me)
          << "item " << r.id << " overlaps another value at area " << area << " byte " << b;
    }
    if (bit) {
      bool fresh = bitsTaken.emplace(area, r.areaOffset, type).second;
      EXPECT_TRUE(fresh) << "item " << r.id << " shares its bit with another item";
    }
  }
}

TEST(ItemCatalogue, DevmodeOffsetsFollowTheDevmodeLayout) {
  struct Case {
    WORD id;
    UINT offset;
    UINT type;
    UINT size;
  } cases[] = {
      {1, 0, ItemTypeWideText2, 64},  {8, 78, ItemTypeS16, 2},       {34, 216, ItemTypeU32, 4},
      {35, 368, ItemTypeU8, 1},       {37, 370, ItemTypeS8, 1},      {55, 436, ItemBitType(0, 0), 4},
      {86, 436, ItemBitType(3, 7), 4}, {153, 576, ItemBitType(0, 0), 2}, {168, 576, ItemBitType(1, 7), 2},
      {234, 810, ItemBitType(0, 0), 1}, {242, 811, ItemTypeU8, 1},   {348, 852, ItemTypeU32, 4},
      {562, 1020, ItemBitType(0, 0), 4}, {689, 1178, ItemTypeU8, 1}, {697, 228, ItemTypeNarrowText2, 16},
      {704, 224, ItemTypeU32, 4},     {705, 1218, ItemTypeU8, 1},    {722, 1235, ItemTypeU8, 1},
  };
  for (const Case& c : cases) {
    const ItemTemplateRow* r = Row(c.id);
    ASSERT_NE(r, nullptr);
    EXPECT_EQ(r->areaOffset, c.offset) << "item " << c.id;
    EXPECT_EQ(ItemDescType(r->descriptor), c.type) << "item " << c.id;
    EXPECT_EQ(ItemDescSize(r->descriptor), c.size) << "item " << c.id;
  }
}

// The condition items with a rule are named so a model description can test them; the others of
// the block stay unnamed.
bool ConditionItemWithoutRule(int id) {
  static const int kWithoutRule[][2] = {{737, 738}, {747, 754}, {766, 770}, {782, 786}, {793, 794},
                                        {802, 802}, {810, 810}, {818, 818}, {831, 831}, {834, 834},
                                        {847, 914}};
  for (const auto& range : kWithoutRule) {
    if (id >= range[0] && id <= range[1]) return true;
  }
  return false;
}

TEST(ItemCatalogue, NamesAndSymbolsAreUnique) {
  int count = 0;
  const ItemTemplateRow* rows = TblItemTemplate(&count);
  std::set<std::string> names;
  std::set<WORD> symbols;
  for (int i = 0; i < count; ++i) {
    const ItemTemplateRow& r = rows[i];
    bool unnamed = ConditionItemWithoutRule(r.id) || (r.id >= 1544 && r.id <= 1555);
    std::string name = Narrow(r.name);
    EXPECT_EQ(name.empty(), unnamed) << "item " << r.id;
    if (unnamed) {
      EXPECT_EQ(r.symbolId, 0) << "item " << r.id;
      continue;
    }
    EXPECT_TRUE(names.insert(name).second) << "duplicate name " << name;
    const SymbolEntry* symbol = TblSymbolAt(i);
    ASSERT_NE(symbol, nullptr);
    EXPECT_EQ(std::string(symbol->name), "TOV_" + name);
    EXPECT_EQ(symbol->itemId, r.id);
    EXPECT_EQ(r.symbolId, kItemSymbolBase + i) << "item " << r.id;
    EXPECT_TRUE(symbols.insert(r.symbolId).second);
  }
  EXPECT_EQ(names.size(), 1989u - 95u - 12u);
}

TEST(ItemCatalogue, PersistenceGroupsAndSpecialKinds) {
  int count = 0;
  const ItemTemplateRow* rows = TblItemTemplate(&count);
  int preset = 0, quality = 0, watermark = 0;
  for (int i = 0; i < count; ++i) {
    preset += (rows[i].state & ItemPersistPreset) != 0;
    quality += (rows[i].state & ItemPersistQuality) != 0;
    watermark += (rows[i].state & ItemPersistWatermark) != 0;
    EXPECT_EQ(rows[i].state & ~0x54u, 0u) << "item " << rows[i].id;
  }
  EXPECT_EQ(preset, 53);
  EXPECT_EQ(quality, 28);
  EXPECT_EQ(watermark, 26);
  EXPECT_EQ(Row(118)->state, 0x44) << "zdmWmID is in the preset and watermark groups";

  const std::pair<WORD, WORD> specials[] = {{210, 1}, {98, 2}, {99, 2}, {1, 3}, {697, 5}, {992, 6},
                                            {993, 7}, {96, 9}, {97, 10}, {1251, 12}, {111, 13},
                                            // the kinds our model data gives items
                                            {231, 8}, {69, 11}, {1452, 101}, {991, 102}};
  int withSpecial = 0;
  for (int i = 0; i < count; ++i) withSpecial += rows[i].specialCode != 0;
  EXPECT_EQ(withSpecial, 15);
  for (auto [id, kind] : specials) EXPECT_EQ(Row(id)->specialCode, kind) << "item " << id;
  EXPECT_EQ(Row(98)->unitKind, ItemUnitDotsAtResolution);
}

TEST(ItemCatalogue, StorageKeysOfPersistedItems) {
  struct Case {
    WORD id;
    WORD kind;
    const char* section;
    const char* key;
  } cases[] = {
      {1453, ItemStorePrinterData, "", "Tray1"},   {10012, ItemStorePrinterData, "", "RAM"},
      {10139, ItemStorePrinterData, "", "MultiTrayField"}, {10203, ItemStorePrinterData, "", "MultiTrayPaper"},
      {10267, ItemStorePrinterData, "", "MultiTrayLock"}, {209, ItemStoreSettingsIni, "", "PrnMethod"},
      {211, ItemStoreSettingsIni, "", "ACT_SECUREPRINT"}, {214, ItemStoreSettingsIni, "", ""},
      {953, ItemStoreSettingsIni, "", "OverlayDataPath"}, {203, ItemStorePrinterData, "PRINTLOG", "UserCode"},
      {10386, ItemStorePrinterData, "", ""},       {10005, ItemStoreNone, "", ""},
  };
  for (const Case& c : cases) {
    const ItemTemplateRow* r = Row(c.id);
    EXPECT_EQ(r->storageKind, c.kind) << "item " << c.id;
    EXPECT_EQ(Narrow(r->persistSection), c.section) << "item " << c.id;
    EXPECT_EQ(Narrow(r->persistKey), c.key) << "item " << c.id;
  }
}

}  // namespace
