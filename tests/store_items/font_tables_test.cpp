// The font tables in printer data: counts and sizes checked, names terminated, the numbered
// substitution values written before their counts and old ones removed after them.
#include <gtest/gtest.h>

#include <string.h>

#include <string>

#include "core/common/mem.h"
#include "core/store/font_tables.h"
#include "platform/sim.h"
#include "store_items/store_fixture.h"

namespace zems_test {
namespace {

class FontTablesTest : public StoreTest {
 protected:
  SHORT Count(WORD id) {
    SHORT v = 0;
    memcpy(&v, Value(id), 2);
    return v;
  }
  void* Table(WORD id) {
    DWORD v = 0;
    memcpy(&v, Value(id), 4);
    return reinterpret_cast<void*>(static_cast<UINT_PTR>(v));
  }
  // Gives the substitution items a table of n entries "Face<i>" -> "Dev<i>".
  void HoldSubstTable(WORD n, const char16_t* tag = u"") {
    StoreFreeFontTables(ctx());
    FontSubstEntry* table = static_cast<FontSubstEntry*>(MemAllocZero(sizeof(FontSubstEntry) * n));
    for (WORD i = 0; i < n; ++i) {
      std::u16string face = u"Face" + std::u16string(1, char16_t(u'1' + i)) + tag;
      std::u16string dev = u"Dev" + std::u16string(1, char16_t(u'1' + i)) + tag;
      memcpy(table[i].face, face.c_str(), face.size() * 2);
      memcpy(table[i].deviceFont, dev.c_str(), dev.size() * 2);
    }
    SHORT count = SHORT(n);
    DWORD address = static_cast<DWORD>(reinterpret_cast<UINT_PTR>(table));
    memcpy(Value(10004), &count, 2);
    memcpy(Value(10005), &address, 4);
  }
  static std::string Records(WORD n, bool terminated = true) {
    std::string out(68u * n, '\0');
    for (WORD i = 0; i < n; ++i) {
      DWORD id = 100u + i;
      memcpy(&out[68u * i], &id, 4);
      for (int c = 0; c < 32; ++c) {
        char16_t ch = (!terminated || c < 5) ? char16_t(u'A' + i) : u'\0';
        memcpy(&out[68u * i + 4 + 2 * c], &ch, 2);
      }
    }
    return out;
  }
  static std::string Word(WORD v) { return std::string(reinterpret_cast<const char*>(&v), 2); }
};

TEST_F(FontTablesTest, DeviceFontsLoadFromPrinterDataWithNamesTerminated) {
  SetData(u"DeviceFontNum", Word(3));
  SetData(u"DeviceFont", Records(3, false));
  StoreFreeFontTables(ctx());  // a load clears the items without freeing what they held
  EXPECT_EQ(StoreLoadDeviceFonts(office_, ctx()), 1);
  ASSERT_EQ(Count(10006), 3);
  const DeviceFontRecord* fonts = static_cast<const DeviceFontRecord*>(Table(10007));
  ASSERT_NE(fonts, nullptr);
  EXPECT_EQ(fonts[2].id, 102u);
  EXPECT_EQ(std::u16string(fonts[2].name), std::u16string(31, u'C'));
}

// Stored option-font data that is not what the table's layout says.
struct BadFontCase {
  const char* what;
  std::string count;  // empty: no count value
  std::string table;
  int result;
};

TEST_F(FontTablesTest, BadCountsAndSizesLoadEmpty) {
  const BadFontCase cases[] = {
      {"count of one byte", "\x02", Records(2), 0},
      {"count above the s16 items", Word(0x8000), Records(1), 0},
      {"table shorter than the count", Word(3), Records(2), 0},
      {"table longer than the count", Word(1), Records(2), 0},
      {"count 0", Word(0), "", 0},
  };
  for (const BadFontCase& c : cases) {
    SCOPED_TRACE(c.what);
    DeleteData(u"OptionFontNum");
    DeleteData(u"OptionFont");
    if (!c.count.empty()) SetData(u"OptionFontNum", c.count);
    if (!c.table.empty()) SetData(u"OptionFont", c.table);
    StoreFreeFontTables(ctx());
    EXPECT_EQ(StoreLoadOptionFonts(office_, ctx()), c.result);
    EXPECT_EQ(Count(10008), 0);
    EXPECT_EQ(Table(10009), nullptr);
  }
}

TEST_F(FontTablesTest, ASmallerSubstitutionTableRemovesTheOldNumbers) {
  HoldSubstTable(5);
  ASSERT_EQ(StoreWriteFontSubstTable(office_, ctx(), 0), 1);
  EXPECT_TRUE(Data(u"TTFontTable5", nullptr));
  HoldSubstTable(3, u"b");
  ASSERT_EQ(StoreWriteFontSubstTable(office_, ctx(), 0), 1);
  for (const char16_t* name : {u"TTFontTable3", u"DevFontTable3"}) EXPECT_TRUE(Data(name, nullptr));
  for (const char16_t* name : {u"TTFontTable4", u"DevFontTable4", u"TTFontTable5", u"DevFontTable5"})
    EXPECT_FALSE(Data(name, nullptr));
  std::string count;
  ASSERT_TRUE(Data(u"FontTableNum", &count));
  EXPECT_EQ(count, Word(3));
  ASSERT_TRUE(Data(u"LastFontTableNum", &count));
  EXPECT_EQ(count, Word(3));

  StoreFreeFontTables(ctx());
  ASSERT_EQ(StoreLoadFontSubstTable(office_, ctx()), 1);
  ASSERT_EQ(Count(10004), 3);
  const FontSubstEntry* table = static_cast<const FontSubstEntry*>(Table(10005));
  EXPECT_EQ(std::u16string(table[2].face), u"Face3b");
  EXPECT_EQ(std::u16string(table[2].deviceFont), u"Dev3b");

  // One numbered value missing: the whole table fails to load.
  DeleteData(u"DevFontTable2");
  StoreFreeFontTables(ctx());
  EXPECT_EQ(StoreLoadFontSubstTable(office_, ctx()), 0);
  EXPECT_EQ(Count(10004), 0);
  EXPECT_EQ(Table(10005), nullptr);
}

TEST_F(FontTablesTest, AnEmptySubstitutionTableSavesAsSuccess) {
  HoldSubstTable(2);
  ASSERT_EQ(StoreWriteFontSubstTable(office_, ctx(), 0), 1);
  StoreFreeFontTables(ctx());
  SHORT zero = 0;
  memcpy(Value(10004), &zero, 2);
  EXPECT_EQ(StoreWriteFontSubstTable(office_, ctx(), 0), 1);
  std::string count;
  ASSERT_TRUE(Data(u"FontTableNum", &count));
  EXPECT_EQ(count, Word(0));
  EXPECT_FALSE(Data(u"TTFontTable1", nullptr));
  EXPECT_EQ(StoreLoadFontSubstTable(office_, ctx()), 1);
}

TEST_F(FontTablesTest, RestoringDefaultsWithoutADefaultTableEmptiesTheTable) {
  HoldSubstTable(2);
  DeleteData(u"DefFontTableNum");
  EXPECT_EQ(StoreLoadDefaultFontSubstTable(office_, ctx()), 1);
  EXPECT_EQ(Count(10004), 0);
  EXPECT_EQ(Table(10005), nullptr);

  // With a default table written, the restore reads it.
  HoldSubstTable(2, u"d");
  ASSERT_EQ(StoreWriteFontSubstTable(office_, ctx(), kFontDefaultTable), 1);
  HoldSubstTable(1);
  EXPECT_EQ(StoreLoadDefaultFontSubstTable(office_, ctx()), 1);
  ASSERT_EQ(Count(10004), 2);
  EXPECT_EQ(std::u16string(static_cast<const FontSubstEntry*>(Table(10005))[1].face), u"Face2d");
}

// The default table is written as the printer's own: values, then the count, then the stale
// numbers removed; a write that fails half way leaves a table that loads whole.
TEST_F(FontTablesTest, TheDefaultTableKeepsALoadableTableAndDropsStaleNumbers) {
  HoldSubstTable(2, u"d");
  ASSERT_EQ(StoreWriteFontSubstTable(office_, ctx(), kFontDefaultTable), 1);
  for (long long budget : {0LL, 2000LL, 6000LL}) {
    SCOPED_TRACE(budget);
    HoldSubstTable(4, u"n");
    SimSetDiskFull(budget);
    const int written = StoreWriteFontSubstTable(office_, ctx(), kFontDefaultTable);
    SimSetDiskFull(-1);
    StoreFreeFontTables(ctx());
    EXPECT_EQ(StoreLoadDefaultFontSubstTable(office_, ctx()), 1);
    EXPECT_EQ(Count(10004), written ? 4 : 2) << "the count names only values that are there";
  }
  HoldSubstTable(4, u"n");
  ASSERT_EQ(StoreWriteFontSubstTable(office_, ctx(), kFontDefaultTable), 1);
  HoldSubstTable(1, u"m");
  ASSERT_EQ(StoreWriteFontSubstTable(office_, ctx(), kFontDefaultTable), 1);
  for (const char16_t* name : {u"TTFontDefTable2", u"DevFontDefTable2", u"TTFontDefTable4", u"DevFontDefTable4"})
    EXPECT_FALSE(Data(name, nullptr)) << std::string(name, name + std::char_traits<char16_t>::length(name));
}

TEST_F(FontTablesTest, FreeingClearsTheAddressesAndKeepsTheCounts) {
  HoldSubstTable(2);
  EXPECT_EQ(StoreFreeFontTables(ctx()), 1);
  EXPECT_EQ(Table(10005), nullptr);
  EXPECT_EQ(Count(10004), 2);
  EXPECT_EQ(StoreFreeFontTables(nullptr), 1);
}

TEST_F(FontTablesTest, AFontSaveThatDoesNotFitKeepsALoadableTable) {
  HoldSubstTable(4);
  ASSERT_EQ(StoreWriteFontSubstTable(office_, ctx(), 0), 1);
  for (long long budget : {0LL, 2000LL, 6000LL}) {
    SCOPED_TRACE(budget);
    HoldSubstTable(2, u"n");
    SimSetDiskFull(budget);
    EXPECT_EQ(StoreWriteFontSubstTable(office_, ctx(), 0), 0);
    SimSetDiskFull(-1);
    // Whatever got written, the counts name only values that are there.
    StoreFreeFontTables(ctx());
    EXPECT_EQ(StoreLoadFontSubstTable(office_, ctx()), 1);
    EXPECT_TRUE(Count(10004) == 4 || Count(10004) == 2);
  }
  SetData(u"DeviceFontNum", Word(2));
  SetData(u"DeviceFont", Records(2));
  ASSERT_EQ(StoreLoadDeviceFonts(office_, ctx()), 1);
  SimSetDiskFull(0);
  EXPECT_EQ(StoreWriteDeviceFonts(office_, ctx(), 0), 0);
}

TEST_F(FontTablesTest, TheFirstLoadCreatesTheSampleModelsTables) {
  for (const char16_t* name : {u"DeviceFontNum", u"DeviceFont", u"OptionFontNum", u"OptionFont", u"FontTableNum"})
    DeleteData(name);
  StoreFreeFontTables(ctx());
  ASSERT_EQ(StoreLoadFontTables(office_, ctx()), 1);
  ASSERT_EQ(Count(10006), 5);
  const DeviceFontRecord* fonts = static_cast<const DeviceFontRecord*>(Table(10007));
  ASSERT_NE(fonts, nullptr);
  EXPECT_EQ(fonts[4].id, 5u);
  EXPECT_EQ(std::u16string(fonts[4].name), u"Symbol");
  ASSERT_EQ(Count(10008), 2);
  const DeviceFontRecord* cartridges = static_cast<const DeviceFontRecord*>(Table(10009));
  ASSERT_NE(cartridges, nullptr);
  EXPECT_EQ(std::u16string(cartridges[1].name), u"OCR Cartridge");
  ASSERT_EQ(Count(10004), 4);
  const FontSubstEntry* pairs = static_cast<const FontSubstEntry*>(Table(10005));
  ASSERT_NE(pairs, nullptr);
  EXPECT_EQ(std::u16string(pairs[1].face), u"Times New Roman");
  EXPECT_EQ(std::u16string(pairs[1].deviceFont), u"Roman");
  for (const char16_t* name : {u"DeviceFontNum", u"OptionFontNum", u"FontTableNum"}) EXPECT_TRUE(Data(name, nullptr));
}

}  // namespace
}  // namespace zems_test
