// The item codec: every data type round-trips through printer data and the settings ini, and
// stored data of the wrong size, type or form never reaches past an item.
#include <gtest/gtest.h>

#include <string.h>

#include <string>

#include "core/items/item_access.h"
#include "core/store/ini_text.h"
#include "core/store/item_store.h"
#include "core/system/settings_folders.h"
#include "store_items/store_fixture.h"

namespace zems_test {
namespace {

// A row borrowed for one case: wdmOvlPath's 521 bytes of storage under another type and key.
class BorrowedRow {
 public:
  BorrowedRow(SettingItem* row, UINT type, UINT size, WORD kind, const char16_t* key) : row_(row), saved_(*row) {
    row->descriptor = ItemDescriptorMake(ItemDescArea(row->descriptor), type, size);
    row->storageKind = kind;
    row->persistKey = key;
    row->persistSection = nullptr;
  }
  ~BorrowedRow() { *row_ = saved_; }

 private:
  SettingItem* row_;
  SettingItem saved_;
};

std::string Bytes(const void* p, size_t n) { return std::string(static_cast<const char*>(p), n); }

std::string Wide(const char16_t* text, size_t units) {
  std::string out(units * 2, '\0');
  for (size_t i = 0; i < units && text[i]; ++i) memcpy(&out[i * 2], &text[i], 2);
  return out;
}

struct CodecCase {
  const char* what;
  UINT type;
  UINT size;
  std::string value;         // the item's bytes before the write (size bytes)
  std::string stored;        // printer data as written
  DWORD valueType;           // its registry type
  const char16_t* iniText;   // the settings ini as written
};

std::string Padded(const std::string& s, size_t n) { return s + std::string(n - s.size(), '\0'); }

const CodecCase kCases[] = {
    {"s8", ItemTypeS8, 1, "\xFB", "\xFB", REG_BINARY, u"-5"},
    {"u8", ItemTypeU8, 1, "\xC8", "\xC8", REG_BINARY, u"200"},
    {"s16", ItemTypeS16, 2, std::string("\x30\x8A", 2), std::string("\x30\x8A", 2), REG_BINARY, u"-30160"},
    {"u16", ItemTypeU16, 2, std::string("\x60\xEA", 2), std::string("\x60\xEA", 2), REG_BINARY, u"60000"},
    {"s32", ItemTypeS32, 4, std::string("\0\0\0\x80", 4), std::string("\0\0\0\x80", 4), REG_BINARY, u"-2147483648"},
    {"u32 above 2^31", ItemTypeU32, 4, "\xF0\xFF\xFF\xFF", "\xF0\xFF\xFF\xFF", REG_BINARY, u"4294967280"},
    {"bit 11 of a dword", ItemBitType(1, 3), 4, std::string("\0\x08\0\0", 4), std::string("\1\0\0\0", 4),
     REG_BINARY, u"1"},
    {"narrow text", ItemTypeNarrowText2, 17, Padded("Tray name", 17), Padded("Tray name", 17), REG_BINARY,
     u"Tray name"},
    {"wide text", ItemTypeWideText2, 64, Wide(u"Wide \u00e9 name", 32), Wide(u"Wide \u00e9 name", 32), REG_BINARY,
     u"Wide \u00e9 name"},
    {"wide string", 13, 16, Wide(u"abc", 8), Wide(u"abc", 8), REG_SZ, u"abc"},
    {"narrow kept wide", 14, 9, Padded("code1", 9), Wide(u"code1", 6), REG_SZ, u"code1"},
    {"wide string 2", 15, 8, Wide(u"xyz", 4), Wide(u"xyz", 4), REG_SZ, u"xyz"},
};

TEST_F(StoreTest, EveryTypeRoundTripsThroughPrinterDataAndTheSettingsIni) {
  SettingItem* row = Row(953);
  for (const CodecCase& c : kCases) {
    SCOPED_TRACE(c.what);
    ASSERT_EQ(c.value.size(), c.size);
    {
      BorrowedRow borrowed(row, c.type, c.size, ItemStorePrinterData, u"CodecValue");
      memcpy(Value(953), c.value.data(), c.size);
      ASSERT_EQ(StoreWriteItemPrinterData(office_, ctx(), row), 1);
      std::string stored;
      DWORD type = 0;
      ASSERT_TRUE(Data(u"CodecValue", &stored, &type));
      EXPECT_EQ(stored, c.stored);
      EXPECT_EQ(type, c.valueType);
      memset(Value(953), 0x5A, 521);
      ASSERT_EQ(StoreReadItemPrinterData(office_, ctx(), row, 0, nullptr), 1);
      if (ItemTypeIsBit(c.type)) {
        EXPECT_EQ(Value(953)[1] & 0x08, 0x08);
      } else {
        EXPECT_EQ(Bytes(Value(953), c.size), c.value);
      }
      EXPECT_EQ(Value(953)[c.size], 0x5A) << "read past the item";
    }
    {
      BorrowedRow borrowed(row, c.type, c.size, ItemStoreSettingsIni, u"CodecKey");
      memcpy(Value(953), c.value.data(), c.size);
      ASSERT_EQ(StoreWriteItemIni(office_, ctx(), row, PathSettingsFile(ctx()), nullptr, nullptr), 1);
      EXPECT_EQ(Ini(u"CodecKey"), c.iniText);
      memset(Value(953), 0, 521);
      ASSERT_EQ(StoreReadItemIni(ctx(), row, PathSettingsFile(ctx()), nullptr, nullptr), 1);
      if (ItemTypeIsBit(c.type)) {
        EXPECT_EQ(Value(953)[1] & 0x08, 0x08);
      } else {
        EXPECT_EQ(Bytes(Value(953), c.size), c.value);
      }
    }
  }
}

TEST_F(StoreTest, LoggingIsADwordValue) {
  SettingItem* row = Row(10275);
  DWORD logging = 3;
  memcpy(Value(10275), &logging, 4);
  ASSERT_EQ(StoreWriteItemPrinterData(office_, ctx(), row), 1);
  DWORD type = 0;
  std::string stored;
  ASSERT_TRUE(Data(u"Logging", &stored, &type));
  EXPECT_EQ(type, DWORD(REG_DWORD));
  EXPECT_EQ(stored, std::string("\3\0\0\0", 4));
}

// Printer data as someone else left it, read into a u16 item holding 0x1234.
struct StoredCase {
  const char* what;
  std::string stored;
  DWORD type;
  int result;
  WORD after;
};

TEST_F(StoreTest, StoredDataOfAnotherSizeOrTypeNeverReachesPastTheItem) {
  const StoredCase cases[] = {
      {"exact", std::string("\x78\x56", 2), REG_BINARY, 1, 0x5678},
      {"shorter: zeros after it", "\x78", REG_BINARY, 1, 0x0078},
      {"longer: refused, item kept", "\x78\x56\x34", REG_BINARY, 0, 0x1234},
      {"stored as text: bytes taken", std::string("A\0", 2), REG_SZ, 1, 0x0041},
  };
  SettingItem* row = Row(10175);  // Tray1Paper, u16
  for (const StoredCase& c : cases) {
    SCOPED_TRACE(c.what);
    WORD start = 0x1234;
    memcpy(Value(10175), &start, 2);
    SetData(u"Tray1Paper", c.stored, c.type);
    EXPECT_EQ(StoreReadItemPrinterData(office_, ctx(), row, 0, nullptr), c.result);
    WORD now = 0;
    memcpy(&now, Value(10175), 2);
    EXPECT_EQ(now, c.after);
  }
  DeleteData(u"Tray1Paper");
  EXPECT_EQ(StoreReadItemPrinterData(office_, ctx(), row, 0, nullptr), 0);
}

// Settings ini text read into zdmFrontFunc (u32) and zdmPrnMethod (u8).
struct IniNumberCase {
  const char16_t* text;
  int result;
  DWORD frontFunc;
  BYTE prnMethod;
};

TEST_F(StoreTest, IniNumbersAreSignAndDigitsCutToTheItem) {
  const IniNumberCase cases[] = {
      {u"4294967295", 1, 0xFFFFFFFFu, 0xFF},
      {u"-2147483648", 1, 0x80000000u, 0x00},
      {u"-1", 1, 0xFFFFFFFFu, 0xFF},
      {u"258", 1, 258, 2},
      {u" 7 ", 1, 7, 7},
      {u"abc", 0, 0xAAAA, 0xAA},
      {u"12abc", 0, 0xAAAA, 0xAA},
      {u"", 0, 0xAAAA, 0xAA},
  };
  for (const IniNumberCase& c : cases) {
    SCOPED_TRACE(testing::PrintToString(std::u16string(c.text)));
    DWORD front = 0xAAAA;
    memcpy(Value(348), &front, 4);
    *Value(209) = 0xAA;
    SetIni(u"FrontFunc", c.text);
    SetIni(u"PrnMethod", c.text);
    EXPECT_EQ(StoreReadItemIni(ctx(), Row(348), PathSettingsFile(ctx()), nullptr, nullptr), c.result);
    EXPECT_EQ(StoreReadItemIni(ctx(), Row(209), PathSettingsFile(ctx()), nullptr, nullptr), c.result);
    memcpy(&front, Value(348), 4);
    EXPECT_EQ(front, c.frontFunc);
    EXPECT_EQ(*Value(209), c.prnMethod);
  }
}

TEST_F(StoreTest, IniTextsTellAnEmptyValueFromAnAbsentKey) {
  struct Case {
    WORD id;
    const char16_t* key;
  } items[] = {{524, u"CopyProtectChar"}, {1112, u"AuthUser"}};
  for (const Case& item : items) {
    SCOPED_TRACE(item.id);
    SettingItem* row = Row(item.id);
    BorrowedRow keyed(row, ItemDescType(row->descriptor), ItemDescSize(row->descriptor), ItemStoreSettingsIni,
                      item.key);
    ItemSetText(ctx(), row, u"kept");
    SetIni(item.key, nullptr);
    EXPECT_EQ(StoreReadItemIni(ctx(), row, PathSettingsFile(ctx()), nullptr, nullptr), 0);
    WCHAR text[600];
    ItemGetText(ctx(), row, text);
    EXPECT_EQ(std::u16string(text), u"kept");
    SetIni(item.key, u"");
    EXPECT_EQ(StoreReadItemIni(ctx(), row, PathSettingsFile(ctx()), nullptr, nullptr), 1);
    ItemGetText(ctx(), row, text);
    EXPECT_EQ(std::u16string(text), u"");
    SetIni(item.key, u"new");
    EXPECT_EQ(StoreReadItemIni(ctx(), row, PathSettingsFile(ctx()), nullptr, nullptr), 1);
    ItemGetText(ctx(), row, text);
    EXPECT_EQ(std::u16string(text), u"new");
  }
}

TEST_F(StoreTest, AnIniPathThatIsNoDrivePathDisablesTheIni) {
  SettingItem* row = Row(348);
  EXPECT_EQ(StoreWriteItemIni(office_, ctx(), row, u"\\\\server\\share\\x.ini", nullptr, nullptr), 1);
  EXPECT_EQ(StoreReadItemIni(ctx(), row, u"\\\\server\\share\\x.ini", nullptr, nullptr), 1);
  EXPECT_EQ(StoreReadItemIni(ctx(), row, u"", nullptr, nullptr), 1);
}

TEST_F(StoreTest, ItemsByTheirOwnName) {
  SettingItem* row = Row(203);  // zdmUserCode: its own key is "UserCode"
  ItemSetText(ctx(), row, u"4711");
  ASSERT_EQ(StoreWriteItemDefaultName(office_, ctx(), row), 1);
  EXPECT_TRUE(Data(u"zdmUserCode", nullptr));
  EXPECT_FALSE(Data(u"UserCode", nullptr));
  EXPECT_EQ(std::u16string(row->persistKey), u"UserCode");
  ItemSetText(ctx(), row, u"");
  ASSERT_EQ(StoreReadItemDefaultName(office_, ctx(), row), 1);
  WCHAR text[16];
  ItemGetText(ctx(), row, text);
  EXPECT_EQ(std::u16string(text), u"4711");
  EXPECT_EQ(StoreReadItemDefaultName(office_, ctx(), nullptr), 0);
}

}  // namespace
}  // namespace zems_test

namespace zems_test {
namespace {

// The settings-file transfer reads and writes single items through the in-memory ini text.
TEST_F(StoreTest, ItemsTravelThroughTheInMemoryIniText) {
  IniSectionBuffer buffer;
  ASSERT_TRUE(StoreIniTextBufferInit(&buffer));
  DWORD position = 0;
  ASSERT_TRUE(StoreIniTextPutSection(&position, u"Office", &buffer));
  DWORD front = 0xFFFFFFF0u;
  memcpy(Value(348), &front, 4);
  ItemSetText(ctx(), Row(953), u"C:\\ovl");
  const LPCWSTR path = PathSettingsFile(ctx());
  EXPECT_EQ(StoreWriteItemIni(office_, ctx(), Row(348), path, &buffer, &position), 1);
  EXPECT_EQ(StoreWriteItemIni(office_, ctx(), Row(953), path, &buffer, &position), 1);
  EXPECT_EQ(std::string(buffer.data, position), "[Office]\r\nFrontFunc=4294967280\r\nOverlayDataPath=C:\\ovl\r\n");

  const char* section = StoreIniTextFindSection(u"Office", buffer.data);
  ASSERT_NE(section, nullptr);
  memset(Value(348), 0, 4);
  ItemSetText(ctx(), Row(953), u"");
  DWORD cursor = 0;
  EXPECT_EQ(StoreReadItemIni(ctx(), Row(953), path, section, &cursor), 1);
  EXPECT_EQ(StoreReadItemIni(ctx(), Row(348), path, section, &cursor), 1);
  memcpy(&front, Value(348), 4);
  EXPECT_EQ(front, 0xFFFFFFF0u);
  WCHAR text[600];
  ItemGetText(ctx(), Row(953), text);
  EXPECT_EQ(std::u16string(text), u"C:\\ovl");
  StoreIniTextBufferFree(&buffer);
}

}  // namespace
}  // namespace zems_test
