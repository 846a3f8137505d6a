// Lock data in printer data, the lock-defaults block, the printer's default section of the
// settings ini and the user information switches.
#include <gtest/gtest.h>

#include <string.h>

#include <map>
#include <string>
#include <vector>

#include "core/context/ui_state.h"
#include "core/items/item_access.h"
#include "core/store/item_store.h"
#include "core/store/lock_data.h"
#include "core/store/settings_file.h"
#include "core/common/text.h"
#include "core/system/driver_paths.h"
#include "core/tables/model_record.h"
#include "core/system/printer_names.h"
#include "core/system/settings_folders.h"
#include "core/tables/print_macros.h"
#include "platform/sim.h"
#include "store_items/settings_file_fixture.h"
#include "support/test_variant.h"

namespace zems_test {
namespace {

std::string Dw(DWORD v) { return std::string(reinterpret_cast<const char*>(&v), 4); }

// Lock bits (items) and the printer-data values of the lock load.
constexpr WORD kTray = 10419, kMedia = 10420, kNup = 10421, kDuplex = 10423, kPrintType = 10424, kColor = 10426;
constexpr WORD kResolution = 10425;

struct LockCase {
  const char* name;
  std::vector<WORD> bits;
  std::vector<const char16_t*> absent;  // values not in printer data
  int result;
  std::vector<std::pair<WORD, LONG_PTR>> expected;  // item values afterwards (before: 1)
};

TEST_F(SettingsFileTest, TheLockLoadStopsAtTheFirstMissingValue) {
  const LockCase cases[] = {
      {"every lock readable",
       {kTray, kMedia, kPrintType, kColor, kNup, kDuplex},
       {},
       1,
       {{13, 260}, {54, 7}, {209, 3}, {689, 3}, {15, 2}, {56, 1}, {91, 4}, {92, 5}, {58, 1}, {94, 2}}},
      {"tray missing: media not read", {kTray, kMedia}, {u"LockTrayData"}, 0, {{13, 1}, {54, 1}}},
      {"media missing: the tray before it is set", {kTray, kMedia, kColor}, {u"LockMediaData"}, 0,
       {{13, 260}, {54, 1}, {15, 1}}},
      {"N-up locked without its kind: the function is on", {kNup}, {u"LockNUPPOSTKindData"}, 0,
       {{56, 1}, {91, 1}, {92, 1}}},
      {"an unlocked value is not read", {kMedia}, {u"LockTrayData"}, 1, {{13, 1}, {54, 7}}},
  };
  for (const LockCase& c : cases) {
    SCOPED_TRACE(c.name);
    SetData(u"LockTrayData", Dw(260));
    SetData(u"LockMediaData", Dw(7));
    SetData(u"LockPrnMethodData", Dw(3));
    SetData(u"LockColorData", Dw(2));
    SetData(u"LockNUPPOSTKindData", Dw(4));
    SetData(u"LockNUPTypeData", Dw(5));
    SetData(u"LockDuplexTypeData", Dw(2));
    for (const char16_t* name : c.absent) DeleteData(name);
    for (WORD id = 10418; id <= 10433; ++id) SetRaw(id, 0);
    for (WORD id : c.bits) SetRaw(id, 1);
    // Before: the switched functions off, every other value 1.
    for (const auto& e : c.expected) SetRaw(e.first, e.first == 56 || e.first == 58 ? 0 : 1);
    EXPECT_EQ(StoreLoadLockData(office_, ctx()), c.result);
    for (const auto& e : c.expected) EXPECT_EQ(Raw(e.first), e.second) << e.first;
  }
}

TEST_F(SettingsFileTest, LockDataSavedAreLoadedBack) {
  for (WORD id : {kTray, kMedia, kPrintType, kColor, kNup, kDuplex}) SetRaw(id, 1);
  SetRaw(13, 261);
  SetRaw(54, 9);
  SetRaw(689, 4);
  SetRaw(209, 1);
  SetRaw(15, 2);
  SetRaw(91, 3);
  SetRaw(92, 6);
  SetRaw(94, 1);
  ASSERT_EQ(StoreSaveLockData(office_, ctx()), 1);
  std::string bytes;
  ASSERT_TRUE(Data(u"LockPrnMethodData", &bytes));
  EXPECT_EQ(bytes, Dw(4));  // the locked print method, not the current one
  for (WORD id : {13, 54, 689, 209, 15, 91, 92, 94}) SetRaw(id, 0);
  ASSERT_EQ(StoreLoadLockData(office_, ctx()), 1);
  EXPECT_EQ(Raw(13), 261);
  EXPECT_EQ(Raw(54), 9);
  EXPECT_EQ(Raw(209), 4);
  EXPECT_EQ(Raw(689), 4);
  EXPECT_EQ(Raw(15), 2);
  EXPECT_EQ(Raw(91), 3);
  EXPECT_EQ(Raw(92), 6);
  EXPECT_EQ(Raw(94), 1);
}

TEST_F(SettingsFileTest, TheResolutionLockFollowsTheModelsDescription) {
  int kind = ItemResolutionLockKind(ctx());
  if (kind < 0) GTEST_SKIP() << "the sample describes no usable resolution";
  const PrintMacroResolution* macro = TblGetPrintMacroResolutions();
  ASSERT_NE(macro, nullptr);
  SetRaw(kResolution, 1);
  SetRaw(10434, macro->macro);
  SetRaw(38, 1);
  SetRaw(39, 1);
  EXPECT_EQ(StoreLoadLockData(office_, ctx()), 1);
  EXPECT_EQ(Raw(38), macro->xDpi);
  EXPECT_EQ(Raw(39), macro->yDpi);
  // An unknown print macro stops the load.
  SetRaw(10434, 0xFFFF);
  EXPECT_EQ(StoreLoadLockData(office_, ctx()), 0);
}

TEST_F(SettingsFileTest, TheLockBytesAndTheAuthenticationModeAreReadAsStored) {
  SetData(u"zdmLock000InfoBit", std::string("\x05", 1));
  SetData(u"zdmLock001InfoBit", std::string("\x01", 1));
  SetData(u"AuthenticationMode", Dw(2));
  BYTE b = 0;
  EXPECT_EQ(StoreReadLockInfoBitByte(office_, &b, 10418), 1);
  EXPECT_EQ(b, 5);
  EXPECT_EQ(StoreReadLockInfoBitByte(office_, &b, 10426), 1);
  EXPECT_EQ(b, 1);
  EXPECT_EQ(StoreReadLockInfoBitByte(office_, &b, 10419), 0);
  EXPECT_EQ(StoreReadLockInfoBitByte(office_, nullptr, 10418), 0);
  DWORD mode = 0;
  EXPECT_EQ(StoreReadAuthMode(office_, &mode), 1);
  EXPECT_EQ(mode, 2u);
  SetData(u"AuthenticationMode", std::string("\x02\x00", 2));
  EXPECT_EQ(StoreReadAuthMode(office_, &mode), 0);
}

// ---- the lock-defaults block ----

TEST_F(SettingsFileTest, OnlyABlockOfThisLayoutIsTakenAsLockDefaults) {
  BYTE* lock = CtxLockDefaultSettingsBlock(ctx());
  ASSERT_NE(lock, nullptr);
  std::string block(reinterpret_cast<const char*>(ctx()->settings), kSettingsBlockSize);
  // A font table address in the stored block never reaches memory.
  BYTE* font = ValueIn(ctx(), reinterpret_cast<BYTE*>(&block[0]), 10005);
  WriteDword(font, 0x12345678);
  BYTE* copies = ValueIn(ctx(), reinterpret_cast<BYTE*>(&block[0]), 12);
  copies[0] = 42;
  copies[1] = 0;

  std::string shortBlock = block.substr(0, 10012);
  std::string longBlock = block + "x";
  std::string otherWords = block;
  otherWords[kDmAreaOffsetWords + 2] ^= 0x10;
  std::string otherDmSize = block;
  otherDmSize[68] = char(188);
  for (const std::string* bad : {&shortBlock, &longBlock, &otherWords, &otherDmSize}) {
    memset(lock, 0xAB, kSettingsBlockSize);
    SetData(u"LockDefaultData", *bad);
    EXPECT_EQ(StoreLoadLockDefaults(office_, ctx()), 0);
    EXPECT_EQ(lock[100], 0xAB);
  }
  DeleteData(u"LockDefaultData");
  EXPECT_EQ(StoreLoadLockDefaults(office_, ctx()), 0);

  SetData(u"LockDefaultData", block);
  ASSERT_EQ(StoreLoadLockDefaults(office_, ctx()), 1);
  EXPECT_EQ(ReadDword(ValueIn(ctx(), lock, 10005)), 0u);
  EXPECT_EQ(ValueIn(ctx(), lock, 12)[0], 42);

  // Stored again: the font items are 0 in printer data too.
  WriteDword(ValueIn(ctx(), lock, 10005), 0x1111);
  ASSERT_EQ(StoreSaveLockDefaults(office_, ctx()), 1);
  std::string stored;
  ASSERT_TRUE(Data(u"LockDefaultData", &stored));
  ASSERT_EQ(stored.size(), size_t(kSettingsBlockSize));
  EXPECT_EQ(ReadDword(ValueIn(ctx(), reinterpret_cast<BYTE*>(&stored[0]), 10005)), 0u);
  EXPECT_EQ(ReadDword(ValueIn(ctx(), lock, 10005)), 0u);
}

// ---- the default section ----

class DefaultSectionTest : public SettingsFileTest {
 protected:
  std::string SectionName() { return PrinterName() + ".DefaultSection"; }
  std::map<std::string, std::string> DefaultSection() { return Section(PathSettingsFile(ctx()), SectionName()); }
};

TEST_F(DefaultSectionTest, TheFirstEnsureBuildsTheSectionFromTheLockDefaults) {
  std::string block(reinterpret_cast<const char*>(ctx()->settings), kSettingsBlockSize);
  BYTE* copies = ValueIn(ctx(), reinterpret_cast<BYTE*>(&block[0]), 12);
  copies[0] = 42;
  copies[1] = 0;
  SetData(u"LockDefaultData", block);
  SetRaw(12, 3);
  std::string before(reinterpret_cast<const char*>(ctx()->settings), kSettingsBlockSize);

  ASSERT_EQ(StoreEnsureDefaultSection(ctx()), 1);
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(ctx()->settings), kSettingsBlockSize), before);
  EXPECT_EQ(std::u16string(PrnGetPrinterName(ctx())), u"Office");
  std::map<std::string, std::string> section = DefaultSection();
  EXPECT_EQ(section["dmCopies"], "42");
  EXPECT_EQ(section["RstVersion"], std::to_string(CtxModelRecord(ctx())->layoutVersion2));
  EXPECT_TRUE(section.count("zdmMachineID"));
  EXPECT_TRUE(section.count("zdmLockDstResolutionBoth"));  // the named items after the section
  // "LockDefaultData" mirrors it.
  std::string stored;
  ASSERT_TRUE(Data(u"LockDefaultData", &stored));
  EXPECT_EQ(ValueIn(ctx(), reinterpret_cast<BYTE*>(&stored[0]), 12)[0], 42);

  // The next ensure reads the section back.
  WritePrivateProfileStringW(Text(u"Office.DefaultSection"), u"dmCopies", u"17", PathSettingsFile(ctx()));
  ASSERT_EQ(StoreEnsureDefaultSection(ctx()), 1);
  EXPECT_EQ(Raw(12), 3);
  ASSERT_TRUE(Data(u"LockDefaultData", &stored));
  EXPECT_EQ(ValueIn(ctx(), reinterpret_cast<BYTE*>(&stored[0]), 12)[0], 17);
  EXPECT_EQ(DefaultSection()["dmCopies"], "17");
}

TEST_F(DefaultSectionTest, WithoutUsableLockDefaultsTheSectionStartsFromTheSettings) {
  for (bool present : {false, true}) {
    SCOPED_TRACE(present ? "a short block" : "no block");
    WritePrivateProfileStringW(Text(u"Office.DefaultSection"), nullptr, nullptr, PathSettingsFile(ctx()));
    if (present)
      SetData(u"LockDefaultData", std::string(100, '\x07'));
    else
      DeleteData(u"LockDefaultData");
    SetRaw(12, 5);
    std::string before(reinterpret_cast<const char*>(ctx()->settings), kSettingsBlockSize);
    ASSERT_EQ(StoreEnsureDefaultSection(ctx()), 1);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(ctx()->settings), kSettingsBlockSize), before);
    EXPECT_EQ(DefaultSection()["dmCopies"], "5");
  }
}

TEST_F(DefaultSectionTest, TheDefaultSectionLoadsOnlyWhenPresent) {
  EXPECT_EQ(StoreLoadDefaultSection(ctx()), 0);
  SetRaw(12, 8);
  ASSERT_EQ(StoreSaveDefaultSection(ctx()), 1);
  SetRaw(12, 1);
  ASSERT_EQ(StoreLoadDefaultSection(ctx()), 1);
  EXPECT_EQ(Raw(12), 8);
  EXPECT_EQ(std::u16string(PrnGetPrinterName(ctx())), u"Office");
}

// ---- user information ----

struct UserInfoCase {
  const char* name;
  const char16_t* sectionName;  // null: no "SectionName"
  const char16_t* section;      // where the switches are written
  bool fileThere;
  LONG_PTR special8;
};

TEST_F(SettingsFileTest, TheUserInformationFileNamesTheSectionOfTheSwitches) {
  WCHAR driverName[261];
  StrCopyCut(driverName, 261, PrnGetDriverName(ctx()));
  DWORD chars = 257;
  WCHAR user[257] = {};
  ASSERT_TRUE(GetUserNameW(user, &chars));
  const UserInfoCase cases[] = {
      {"Printer", u"Printer", u"Office", true, 9},
      {"printer in lower case", u"printer", u"Office", true, 9},
      {"Driver", u"DRIVER", driverName, true, 9},
      {"User", u"User", user, true, 9},
      {"another word", u"Machine", u"Office", true, 0},
      {"no section name", nullptr, u"Office", true, 0},
      {"no file", u"Printer", u"Office", false, 0},
  };
  const std::u16string info = FilePath(u"userinfo.ini");
  const WCHAR* modelData = PathModelDataFile(ctx());
  for (const UserInfoCase& c : cases) {
    SCOPED_TRACE(c.name);
    DeleteFileW(info.c_str());
    WritePrivateProfileStringW(Text(u"Office"), u"UserInfomationFile", c.fileThere ? info.c_str() : u"C:\\none.ini",
                               modelData);
    if (c.fileThere) {
      WritePrivateProfileStringW(u"Common", u"SectionName", c.sectionName, info.c_str());
      for (int n = 1; n <= 16; ++n) {
        std::u16string key = u"Function" + std::u16string(n >= 10 ? 1 : 0, u'1') + char16_t(u'0' + n % 10);
        WritePrivateProfileStringW(c.section, key.c_str(), u"9", info.c_str());
      }
    }
    for (WORD id = 1169; id <= 1184; ++id) SetRaw(id, 5);
    StoreLoadUserInfo(ctx());
    // Only feature bit 7 is built in: only the eighth switch comes from the file.
    for (WORD id = 1169; id <= 1184; ++id) EXPECT_EQ(Raw(id), id == 1176 ? c.special8 : 0) << id;
  }
}

}  // namespace
}  // namespace zems_test

namespace zems_test {
namespace {

TEST_F(SettingsFileTest, TheStoreLoadTakesTheLockDefaultsAndTheUserInformation) {
  std::string block(reinterpret_cast<const char*>(ctx()->settings), kSettingsBlockSize);
  ValueIn(ctx(), reinterpret_cast<BYTE*>(&block[0]), 12)[0] = 42;
  SetData(u"LockDefaultData", block);
  SetData(u"zdmLock000InfoBit", std::string("\x01", 1));  // the lock-defaults bit
  const std::u16string info = FilePath(u"userinfo.ini");
  WritePrivateProfileStringW(Text(u"Office"), u"UserInfomationFile", info.c_str(), PathModelDataFile(ctx()));
  WritePrivateProfileStringW(u"Common", u"SectionName", u"Printer", info.c_str());
  WritePrivateProfileStringW(u"Office", u"Function8", u"3", info.c_str());
  SetRaw(1176, 0);
  StoreLoadItems(office_, ctx(), -1, 0);
  EXPECT_EQ(Raw(10418), 1);
  EXPECT_EQ(ValueIn(ctx(), CtxLockDefaultSettingsBlock(ctx()), 12)[0], 42);
  EXPECT_EQ(Raw(1176), 3);
}

TEST_F(DefaultSectionTest, ARefusedDefaultSectionGivesNoneOfItsValues) {
  SetRaw(12, 8);
  SetRaw(10434, 8);
  ASSERT_EQ(StoreSaveDefaultSection(ctx()), 1);
  WritePrivateProfileStringW(Text(u"Office.DefaultSection"), u"RstMachine", u"1", PathSettingsFile(ctx()));
  SetRaw(12, 1);
  SetRaw(10434, 1);
  SimUiReset();
  EXPECT_EQ(StoreLoadDefaultSection(ctx()), 1);
  EXPECT_EQ(CtxGetFileStatus(ctx()), kFileStatusHeader);
  EXPECT_EQ(Raw(12), 1);
  EXPECT_EQ(Raw(10434), 1);
}

}  // namespace
}  // namespace zems_test
