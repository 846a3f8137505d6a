// The install ini: each value checked, applied once and deleted; the tests of work to do; the
// folder keys; the pending push; and a disk that fills while the ini is applied.
#include <gtest/gtest.h>

#include <string>

#include "core/context/context_cache.h"
#include "core/context/ui_state.h"
#include "core/items/item_access.h"
#include "core/items/item_ids.h"
#include "core/install/install_ini.h"
#include "core/install/install_ini_defaults.h"
#include "platform/sim.h"
#include "store_install/install_fixture.h"

namespace {

using zems_test::InstallTest;

const char16_t kAbsent[] = u"<absent>";
const char16_t kDriverKey[] = u"SOFTWARE\\ORVEL\\ZemsDrv";

class InstallIniTest : public InstallTest {
 protected:
  void SetUp() override {
    InstallTest::SetUp();
    ini_ = ZemsIni();
    WriteFile(ini_, "[Other]\r\nKeep=1\r\n");
  }
  void Set(const char16_t* key, const char16_t* value) { IniSet(ini_, Printer(), key, value); }
  std::u16string Get(const char16_t* key) { return IniGet(ini_, Printer(), key); }

  std::u16string ini_;
};

TEST_F(InstallIniTest, SetUserCodeIsAppliedOnlyWhenItsFirstEightCharactersAreDigits) {
  struct Case {
    const char16_t* value;  // null: no key
    int present;
    int applied;
    LONG_PTR codeUse;
    const char16_t* code;
    LONG_PTR printLog;
    DWORD handled;
    const char16_t* defaultsUserCode;  // "UserCode" of the per-printer defaults ini
  } cases[] = {
      {u"", 1, 0, 0, u"", 0, 1, u"0"},
      {u"123456789012", 1, 1, 1, u"12345678", 1, 1, kAbsent},
      {u"1234a678", 1, 0, 1, u"999", 0, 0, kAbsent},
      {nullptr, 0, 0, 1, u"999", 0, 0, kAbsent},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.value ? zems_test::Narrow16(c.value) : "absent");
    DeleteFileW(DefaultsIni().c_str());
    ItemSetRawById(ctx(), kItem_zdmLogCodeUse, 1);
    ItemSetText(ctx(), ItemFind(ctx(), kItem_zdmLogCode), u"999");
    ItemSetRawById(ctx(), 709, 7);
    if (c.value) Set(u"SetUserCode", c.value);
    int present = -1;
    EXPECT_EQ(InstApplyUserCode(ini_.c_str(), Printer().c_str(), &present, ctx()), c.applied);
    EXPECT_EQ(present, c.present);
    EXPECT_EQ(Raw(kItem_zdmLogCodeUse), c.codeUse);
    EXPECT_EQ(ItemText(kItem_zdmLogCode), c.code);
    EXPECT_EQ(Raw(709), c.printLog) << "zdmPrintLog";
    EXPECT_EQ(ctx()->ui->install.userCodeHandledAtInstall, c.handled);
    EXPECT_EQ(IniGet(DefaultsIni(), Printer(), u"UserCode"), c.defaultsUserCode);
    EXPECT_EQ(Get(u"SetUserCode"), kAbsent);
  }
  EXPECT_EQ(IniGet(ini_, u"Other", u"Keep"), u"1");
}

TEST_F(InstallIniTest, IdentificationValuesAreCheckedAndTheirKeysDeleted) {
  struct Case {
    const char16_t* key;
    const char16_t* value;
    WORD item;
    const char16_t* expected;
    int result;
  } cases[] = {
      {u"SetUserID", u"ABCD1234", kItem_zdmUserID, u"ABCD1234", 1},
      {u"SetUserID", u"ABCDE1234", kItem_zdmUserID, u"old", 1},
      {u"SetUserID", u"AB-D", kItem_zdmUserID, u"old", 1},
      {u"SetOwnerID", u"Owner of sixteen", kItem_zdmOwnerName, u"Owner of sixteen", 1},
      {u"SetOwnerID", u"Owner of seventeen", kItem_zdmOwnerName, u"old", 1},
      {u"SetOwnerID", u"", kItem_zdmOwnerName, u"old", 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(zems_test::Narrow16(c.key) + "=" + zems_test::Narrow16(c.value));
    ItemSetText(ctx(), ItemFind(ctx(), c.item), u"old");
    Set(c.key, c.value);
    EXPECT_EQ(InstApplyUserIdentity(ini_.c_str(), Printer().c_str(), ctx()), c.result);
    EXPECT_EQ(ItemText(c.item), c.expected);
    EXPECT_EQ(Get(c.key), kAbsent);
  }
}

TEST_F(InstallIniTest, ANetworkKeyAloneTurnsOnBothModesAndLeavesNoAuthenticationKey) {
  Set(u"SetAuthenticationNetworkKey", u"Secret42");
  EXPECT_EQ(InstApplyUserIdentity(ini_.c_str(), Printer().c_str(), ctx()), 1);
  EXPECT_EQ(ItemText(kItem_wdmAuthenticationNetworkKey), u"Secret42");
  EXPECT_EQ(Raw(kItem_zdmPrnFuncAuthenticationMode), 1);
  EXPECT_EQ(Raw(kItem_zdmPrnFuncAuthenticationSecureMode), 1);
  EXPECT_EQ(ctx()->ui->install.authSetMask, 0x07);
  std::string text = ReadFile(ini_);
  EXPECT_EQ(text.find("SetAuthentication"), std::string::npos) << text;
  EXPECT_EQ(text.find("Secret42"), std::string::npos) << text;
  EXPECT_EQ(Get(u"DrvInstSet"), u"1");
}

TEST_F(InstallIniTest, AnAuthenticationModeOfTwoChangesNothingButIsDeleted) {
  ItemSetRawById(ctx(), kItem_zdmPrnFuncAuthenticationMode, 0);
  Set(u"SetAuthenticationMode", u"2");
  EXPECT_EQ(InstApplyUserIdentity(ini_.c_str(), Printer().c_str(), ctx()), 1);
  EXPECT_EQ(Raw(kItem_zdmPrnFuncAuthenticationMode), 0);
  EXPECT_EQ(Get(u"SetAuthenticationMode"), kAbsent);
  EXPECT_EQ(Get(u"DrvInstSet"), kAbsent) << "nothing waits to be pushed";
}

TEST_F(InstallIniTest, ASpoolFolderAloneIsNoWorkYetIsApplied) {
  ASSERT_TRUE(CreateDirectoryW(u"C:\\spool", nullptr));
  Set(u"SpoolDirectory", u"C:\\spool");
  EXPECT_EQ(InstIniSectionIsEmpty(ini_.c_str(), Printer().c_str()), 1);
  EXPECT_EQ(InstIniHasWork(Printer().c_str()), 0);
  EXPECT_EQ(InstIniHasWorkForContext(ctx()), 0);
  EXPECT_EQ(InstIniHasPrinterSection(office_), 0);
  EXPECT_EQ(InstApplyInstallerDefaults(ctx()), 1);
  EXPECT_EQ(DataText(u"SpoolDirectory"), u"C:\\spool");
  EXPECT_EQ(Get(u"SpoolDirectory"), kAbsent);
  // Work to do: a user ID.
  Set(u"SetUserID", u"A1");
  EXPECT_EQ(InstIniSectionIsEmpty(ini_.c_str(), Printer().c_str()), 0);
  EXPECT_EQ(InstIniHasWork(Printer().c_str()), 1);
  EXPECT_EQ(InstIniHasPrinterSection(office_), 1);
}

TEST_F(InstallIniTest, AMissingIniIsNoWorkAndAppliesNothing) {
  DeleteFileW(ini_.c_str());
  EXPECT_EQ(InstIniHasWork(Printer().c_str()), 0);
  EXPECT_EQ(InstApplyInstallerDefaults(ctx()), 0);
  EXPECT_FALSE(Exists(ini_));
}

TEST_F(InstallIniTest, WorkWithoutADefaultPackIsMarkedDone) {
  Set(u"SetUserID", u"A1");
  EXPECT_EQ(InstApplyInstallerDefaults(ctx()), 0);
  EXPECT_EQ(Get(u"BatchInstallDone"), u"1");
  EXPECT_EQ(IniGet(SettingsIni(), Printer(), u"BatchInstallDone"), u"1");
  EXPECT_EQ(InstIsBatchInstallDone(office_, ctx()), 1);
  Set(u"DefaultRst", u"pack.rst");
  EXPECT_EQ(InstApplyInstallerDefaults(ctx()), 1);
}

TEST_F(InstallIniTest, TheSettingsFolderGoesToTheRegistryWhenItExists) {
  ASSERT_TRUE(CreateDirectoryW(u"C:\\WINDOWS\\sub", nullptr));
  struct Case {
    const char16_t* value;
    const char16_t* expected;
  } cases[] = {
      {u"%SYSTEMROOT%\\sub", u"C:\\WINDOWS\\sub\\_zems"},
      {u"C:\\WINDOWS\\sub\\", u"C:\\WINDOWS\\sub\\_zems"},
      {u"%SYSTEMROOT%\\missing", kAbsent},
      {u"", u""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(zems_test::Narrow16(c.value));
    HKEY h = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, kDriverKey, 0, KEY_ALL_ACCESS, &h) == ERROR_SUCCESS) {
      RegDeleteValueW(h, u"_ZEMSDirectory");
      RegCloseKey(h);
    }
    Set(u"ZEMSDirectory", c.value);
    EXPECT_EQ(InstApplySettingsFoldersFromIni(office_, Printer().c_str(), nullptr), 1);
    EXPECT_EQ(RegText(kDriverKey, u"_ZEMSDirectory"), c.expected);
    EXPECT_EQ(Get(u"ZEMSDirectory"), kAbsent);
  }
  // Written with its terminator.
  Set(u"ZEMSDirectory", u"%SYSTEMROOT%\\sub");
  InstApplySettingsFoldersFromIni(office_, Printer().c_str(), nullptr);
  std::string bytes;
  ASSERT_TRUE(Reg(kDriverKey, u"_ZEMSDirectory", &bytes));
  EXPECT_EQ(bytes.size(), (std::u16string(u"C:\\WINDOWS\\sub\\_zems").size() + 1) * 2);
}

TEST_F(InstallIniTest, TheClientFolderIsStoredWithItsTerminatorForALocalPrinterOnly) {
  Set(u"ZEMSDirectoryClient", u"\\\\srv\\share");
  PRINTER_INFO_2 remote = {};
  remote.pServerName = Text(u"\\\\SRV");
  InstApplySettingsFoldersFromIni(office_, Printer().c_str(), &remote);
  EXPECT_EQ(DataText(u"_ZEMSDirectoryClient"), kAbsent);
  EXPECT_EQ(Get(u"ZEMSDirectoryClient"), u"\\\\srv\\share");
  InstApplySettingsFoldersFromIni(office_, Printer().c_str(), nullptr);
  std::string bytes;
  ASSERT_TRUE(Data(u"_ZEMSDirectoryClient", &bytes));
  EXPECT_EQ(bytes.size(), (std::u16string(u"\\\\srv\\share").size() + 1) * 2);
  EXPECT_EQ(Get(u"ZEMSDirectoryClient"), kAbsent);
}

TEST_F(InstallIniTest, TheDataFilesFolderKeysAreDeletedKeepingItsTime) {
  IniSet(DataFile(), Printer(), u"ZEMSDirectoryClient", u"C:\\client");
  HANDLE h = CreateFileW(DataFile().c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                         FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(h, INVALID_HANDLE_VALUE);
  FILETIME old = {0x12345678, 0x01D00000}, now = {};
  ASSERT_TRUE(SetFileTime(h, nullptr, nullptr, &old));
  CloseHandle(h);
  EXPECT_EQ(InstDriverIniHasWork(Printer().c_str(), office_), 1);
  EXPECT_EQ(InstApplySettingsFoldersFromDataFile(office_, Printer().c_str(), nullptr), 1);
  EXPECT_EQ(DataText(u"_ZEMSDirectoryClient"), u"C:\\client");
  EXPECT_EQ(IniGet(DataFile(), Printer(), u"ZEMSDirectoryClient"), kAbsent);
  h = CreateFileW(DataFile().c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_TRUE(GetFileTime(h, nullptr, nullptr, &now));
  CloseHandle(h);
  EXPECT_EQ(CompareFileTime(&old, &now), 0);
}

TEST_F(InstallIniTest, TheSpoolFolderGoesMachineWideOnlyWithSpoolDirectoryAllOn) {
  ASSERT_TRUE(CreateDirectoryW(u"C:\\spool", nullptr));
  struct Case {
    const char16_t* folder;
    const char16_t* all;  // null: no key
    const char16_t* data;
    const char16_t* machine;
  } cases[] = {
      {u"C:\\spool", nullptr, u"C:\\spool", kAbsent},
      {u"%SYSTEMDRIVE%\\spool", u"ON", kAbsent, u"C:\\spool"},
      {u"", u"ON", kAbsent, u""},
      {u"", nullptr, kAbsent, kAbsent},
      {u"C:\\nowhere", nullptr, kAbsent, kAbsent},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(zems_test::Narrow16(c.folder));
    HKEY h = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, kDriverKey, 0, KEY_ALL_ACCESS, &h) == ERROR_SUCCESS) {
      RegDeleteValueW(h, u"SpoolDirectory");
      RegCloseKey(h);
    }
    DeletePrinterDataW(office_, Text(u"SpoolDirectory"));
    Set(u"SpoolDirectory", c.folder);
    if (c.all) Set(u"SpoolDirectoryAll", c.all);
    EXPECT_EQ(InstApplySpoolFolder(ini_.c_str(), Printer().c_str(), ctx(), 0), 1);
    EXPECT_EQ(DataText(u"SpoolDirectory"), c.data);
    EXPECT_EQ(RegText(kDriverKey, u"SpoolDirectory"), c.machine);
    EXPECT_EQ(Get(u"SpoolDirectory"), kAbsent);
    EXPECT_EQ(Get(u"SpoolDirectoryAll"), kAbsent);
  }
}

// DrvInstSet marks identification values waiting for the job-control interface; the next
// full open of a context for the printer pushes them and clears the mark.
TEST_F(InstallIniTest, DrvInstSetIsSetByTheIdentityAndClearedByTheNextFullOpen) {
  EXPECT_EQ(InstGetDrvInstSet(ini_.c_str(), Printer().c_str()), 0) << "a missing key is not set";
  Set(u"SetUserID", u"USER1");
  ASSERT_EQ(InstApplyUserIdentity(ini_.c_str(), Printer().c_str(), ctx()), 1);
  EXPECT_EQ(InstGetDrvInstSet(ini_.c_str(), Printer().c_str()), 1);
  CtxRelease(ctx_, kReleaseExpired);
  ctx_ = nullptr;
  CtxCacheExpire(TRUE);
  ctx_ = CtxOpen(office_, office_, nullptr, 0, kKindSettings, 0, nullptr);
  ASSERT_NE(ctx_, nullptr);
  EXPECT_EQ(InstGetDrvInstSet(ini_.c_str(), Printer().c_str()), 0);
  EXPECT_EQ(Get(u"DrvInstSet"), u"0");
}

TEST_F(InstallIniTest, StatusKeysClearTheReadOnlyAttribute) {
  ASSERT_TRUE(SetFileAttributesW(ini_.c_str(), FILE_ATTRIBUTE_READONLY));
  EXPECT_EQ(InstSetBatchInstallDone(ini_.c_str(), Printer().c_str(), 1), 1);
  EXPECT_EQ(Get(u"BatchInstallDone"), u"1");
  EXPECT_EQ(GetFileAttributesW(ini_.c_str()) & FILE_ATTRIBUTE_READONLY, 0u);
}

TEST_F(InstallIniTest, APathBufferTooSmallIsLeftUntouched) {
  WCHAR small[100] = {u'x', 0};
  EXPECT_EQ(InstIniPathInto(small, 100), 0);
  EXPECT_EQ(small[0], u'x');
  WCHAR full[260];
  EXPECT_EQ(InstIniPathInto(full, 260), 1);
  EXPECT_EQ(std::u16string(full), u"C:\\WINDOWS\\system32\\ZEMS.ini");
  EXPECT_EQ(std::u16string(InstIniPath(ctx())), u"C:\\WINDOWS\\system32\\ZEMS.ini");
}

// A disk that fills while the ini is applied: the install ini is always one whole file (the
// old one or a new one), and a status write that could not be made answers 0.
TEST_F(InstallIniTest, AFullDiskKeepsTheInstallIniWhole) {
  Set(u"SetUserID", u"USER1");
  Set(u"SetOwnerID", u"Owner");
  const std::string before = ReadFile(ini_);
  SimSetDiskFull(0);
  InstApplyInstallerDefaults(ctx());
  EXPECT_EQ(InstSetBatchInstallDone(ini_.c_str(), Printer().c_str(), 1), 0);
  SimSetDiskFull(-1);
  EXPECT_EQ(ReadFile(ini_), before);
  for (long long budget : {40LL, 120LL, 400LL}) {
    SCOPED_TRACE(budget);
    WriteFile(ini_, before);
    SimSetDiskFull(budget);
    InstApplyInstallerDefaults(ctx());
    SimSetDiskFull(-1);
    std::string after = ReadFile(ini_);
    EXPECT_NE(after.find("[Other]\r\nKeep=1\r\n"), std::string::npos) << after;
    EXPECT_EQ(IniGet(ini_, u"Other", u"Keep"), u"1");
  }
}

}  // namespace
