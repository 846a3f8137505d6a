// Value lists, value symbols, messages, known values and key-item pairs.
#include <gtest/gtest.h>

#include <cctype>
#include <set>
#include <string>

#include "core/items/item_table.h"
#include "core/tables/symbol_table.h"
#include "core/tables/value_symbols.h"

namespace {

std::string Upper(const WCHAR* w) {
  std::string s;
  for (; w && *w; ++w) s += static_cast<char>(std::toupper(static_cast<int>(*w)));
  return s;
}

// Whether a stored value fits the item's data type.
bool Fits(UINT type, DWORD stored) {
  LONG v = static_cast<LONG>(stored);
  switch (type) {
    case ItemTypeS8: return v >= -128 && v <= 127;
    case ItemTypeU8: return stored <= 0xFF;
    case ItemTypeS16: return v >= -32768 && v <= 32767;
    case ItemTypeU16: return stored <= 0xFFFF;
    default: return true;
  }
}

const WORD kTwoListItems[] = {92, 94};

TEST(ValueLists, SeventyFourItemsWithWellFormedLists) {
  int count = 0;
  const ItemTemplateRow* rows = TblItemTemplate(&count);
  int withList = 0;
  for (int i = 0; i < count; ++i) {
    const ItemValueEntry* list = TblItemValueList(rows[i].id);
    if (!list) continue;
    ++withList;
    WORD id = rows[i].id;
    UINT type = ItemDescType(rows[i].descriptor);
    bool twoLists = id == kTwoListItems[0] || id == kTwoListItems[1];
    std::set<WORD> first;
    int n = 0;
    for (; list[n].logical != 0; ++n) {
      ASSERT_LT(n, 100) << "unended list of item " << id;
      EXPECT_TRUE(first.insert(list[n].logical).second) << "logical value twice in item " << id;
      EXPECT_TRUE(Fits(type, list[n].stored)) << "item " << id << " stored " << list[n].stored;
      EXPECT_EQ(list[n].reserved, 0);
      const ValueSymbol* symbol = TblFindValueSymbol(id, list[n].logical);
      ASSERT_NE(symbol, nullptr) << "listed value without a symbol, item " << id;
      EXPECT_EQ(symbol->stored, list[n].stored);
    }
    EXPECT_GT(n, 0) << "empty list of item " << id;
    if (twoLists) {
      // The landscape list offers the same logical values with the codes of the rotated layout.
      std::set<WORD> second;
      const ItemValueEntry* land = list + n + 1;
      for (int k = 0; land[k].logical != 0; ++k) {
        ASSERT_LT(k, 100);
        second.insert(land[k].logical);
        EXPECT_TRUE(Fits(type, land[k].stored));
      }
      EXPECT_EQ(second, first) << "item " << id;
    }
  }
  // zdmDstResolutionH has the list of zdmDstResolutionW, whose identity it is; the back-cover,
  // reverse-cover and folding types list the values their radio buttons stand for.
  EXPECT_EQ(withList, 74);
}

TEST(ValueSymbols, NamesAreItemNameAndWordAndUnique) {
  std::set<std::string> names;
  std::set<WORD> ids;
  for (int i = 0; i < TblValueSymbolCount(0); ++i) {
    const ValueSymbol* v = TblValueSymbolAt(0, i);
    if (v->itemId == 0) {
      // The values of the pseudo-item "TOV_ConditionOption", which is no item.
      EXPECT_EQ(std::string(v->name).compare(0, 16, "CONDITIONOPTION_"), 0) << v->name;
      EXPECT_TRUE(names.insert(v->name).second) << "duplicate " << v->name;
      EXPECT_TRUE(ids.insert(v->symbolId).second) << "duplicate symbol id of " << v->name;
      EXPECT_EQ(TblFindValueSymbolByName(v->name), v);
      continue;
    }
    const ItemTemplateRow* item = TblItemTemplateRow(v->itemId);
    ASSERT_NE(item, nullptr) << v->name;
    std::string prefix = Upper(item->name) + "_";
    EXPECT_EQ(std::string(v->name).compare(0, prefix.size(), prefix), 0) << v->name;
    EXPECT_GT(std::string(v->name).size(), prefix.size()) << v->name;
    EXPECT_TRUE(names.insert(v->name).second) << "duplicate " << v->name;
    EXPECT_TRUE(ids.insert(v->symbolId).second) << "duplicate symbol id of " << v->name;
    EXPECT_NE(v->symbolId, 0);
    EXPECT_EQ(v->kind, ValueKindItemValue);
    EXPECT_TRUE(Fits(ItemDescType(item->descriptor), v->stored)) << v->name;
    EXPECT_EQ(TblFindValueSymbolByName(v->name), v);
  }
}

TEST(ValueSymbols, LookupsByItemValueAndName) {
  struct Case {
    const char* name;
    WORD item;
    WORD logical;
    DWORD stored;
  } cases[] = {
      {"ZDMJOBBINDER_OFF", 704, 0, 0},
      {"ZDMJOBBINDER_PASSTHROUGH", 704, 1, 1},
      {"DMORIENTATION_PORTRAIT", 7, 2026, 1},
      {"DMORIENTATION_LANDSCAPE", 7, 2027, 2},
      {"ZDMDSPUNIT_INCH", 171, 2183, 1},
      {"ZDMPRESETNO_PRESET16", 37, 134, 15},
      {"ZDMUSERPRINTMACRO_USER1", 179, 135, 32},
      {"ZDMHFPAGEFORM_PAGEOFTOTAL", 111, 735, 5},
  };
  for (const Case& c : cases) {
    const ValueSymbol* byName = TblFindValueSymbolByName(c.name);
    ASSERT_NE(byName, nullptr) << c.name;
    EXPECT_EQ(byName->itemId, c.item) << c.name;
    EXPECT_EQ(byName->logical, c.logical) << c.name;
    EXPECT_EQ(byName->stored, c.stored) << c.name;
    EXPECT_EQ(TblFindValueSymbol(c.item, c.logical), byName) << c.name;
  }
  EXPECT_EQ(TblFindValueSymbolByName("zdmjobbinder_off"), nullptr) << "names are case-sensitive";
  EXPECT_EQ(TblFindValueSymbolByName(nullptr), nullptr);
  EXPECT_EQ(TblFindValueSymbol(704, 77), nullptr);
}

// The values the sample model description names must exist.
TEST(ValueSymbols, SampleModelVocabulary) {
  const char* names[] = {
      "DMPAPERSIZE_A3",          "DMPAPERSIZE_A4",         "DMPAPERSIZE_A5",       "DMPAPERSIZE_B4",
      "DMPAPERSIZE_B5",          "DMPAPERSIZE_LETTER",     "DMPAPERSIZE_LEGAL",    "DMPAPERSIZE_EXECUTIVE",
      "DMPAPERSIZE_ENV10",       "DMPAPERSIZE_ENVDL",      "DMPAPERSIZE_CUSTOM",   "DMDEFAULTSOURCE_AUTO",
      "DMDEFAULTSOURCE_TRAY1",   "DMDEFAULTSOURCE_MULTI",  "DMCOLOR_MONO",         "DMCOLOR_COLOR",
      "ZDMDSTRESOLUTIONW_600",   "ZDMDSTRESOLUTIONW_1200", "ZDMDUPLEXTYPE_LEFT",   "ZDMFUNCSELECTDUPLEX_ON",
      "ZDMNUPTYPE_4IN1P1",       "ZDMSCALETYPE_FITPAPER",  "ZDMSTAPLETYPE_TOPLEFT", "ZDMPUNCHTYPE_LEFT2",
      "ZDMOUTPUTTRAYID_UPPER",   "ZDMMEDIATYPE_PLAIN",     "ZDMMEDIATYPE_THICK",   "ZDMCOLORMODE_MONO",
  };
  for (const char* name : names) EXPECT_NE(TblFindValueSymbolByName(name), nullptr) << name;
}

TEST(Messages, RowsAndLookups) {
  EXPECT_EQ(TblMessageCount(nullptr), 31);
  std::set<WORD> ids;
  for (int i = 0; i < TblMessageCount(nullptr); ++i) {
    const MessageEntry* m = TblMessageAt(nullptr, i);
    ASSERT_NE(m, nullptr);
    EXPECT_TRUE(ids.insert(m->messageId).second);
    EXPECT_EQ(TblFindMessageByName(nullptr, m->name), m);
  }
  EXPECT_EQ(TblMessageAt(nullptr, 31), nullptr);
  const MessageEntry* scale = TblFindMessage(nullptr, 253);
  ASSERT_NE(scale, nullptr);
  EXPECT_EQ(scale->stringId, 235);
  EXPECT_STREQ(scale->name, "TOV_ScaleIllegalMessage");
  EXPECT_EQ(TblFindMessage(nullptr, 252), nullptr);
}

TEST(KnownValues, ListedValuesOnly) {
  struct Case {
    WORD item;
    LONG value;
    int known;
  } cases[] = {
      {14, 600, 1},  {14, 2400, 1}, {14, 601, 0}, {171, 1, 1}, {171, 2, 0}, {87, 3, 1},
      {87, 4, 0},    {117, 128, 1}, {939, 96, 1}, {939, 3, 0}, {8, 9, 1},   {9, 0, 0},
  };
  for (const Case& c : cases) EXPECT_EQ(TblIsKnownValue(c.item, c.value), c.known) << c.item << "/" << c.value;
  std::set<WORD> items;
  for (const KnownValueList* k = TblGetKnownValueLists(); k->itemId; ++k) {
    EXPECT_NE(TblItemTemplateRow(k->itemId), nullptr) << k->itemId;
    EXPECT_TRUE(items.insert(k->itemId).second) << k->itemId;
    EXPECT_GT(k->count, 0u);
  }
}

TEST(KeyItemPairs, CodesRunInOrderAndNameItems) {
  const KeyItemPair* pairs = TblGetKeyItemPairs();
  int n = 0;
  std::set<WORD> items;
  for (; pairs[n].key != 0; ++n) {
    if (n > 0) {
      EXPECT_GT(pairs[n].key, pairs[n - 1].key);
    }
    EXPECT_NE(TblItemTemplateRow(pairs[n].itemId), nullptr) << pairs[n].key;
    EXPECT_TRUE(items.insert(pairs[n].itemId).second) << pairs[n].key;
  }
  EXPECT_EQ(n, 1976);
  EXPECT_EQ(pairs[0].key, 10000);
  EXPECT_EQ(pairs[n - 1].key, 11976);
  EXPECT_EQ(TblItemForKey(10000), 35);
  EXPECT_EQ(TblItemForKey(11414), 10001);
  EXPECT_EQ(TblItemForKey(11880), 1);
  EXPECT_EQ(TblItemForKey(11914), 0) << "the one gap";
}

}  // namespace
