// The install pass by kind (the DEVMODE handed back, the identity values, the start from the
// model defaults, "PackInstallDone"), the renamed-printer pass and the guard of the default
// settings folder.
#include <gtest/gtest.h>

#include <string.h>

#include <string>
#include <vector>

#include "core/context/context_cache.h"
#include "core/devmode/dm_layout.h"
#include "core/items/item_access.h"
#include "core/items/item_ids.h"
#include "core/install/install_pass.h"
#include "core/system/languages.h"
#include "core/system/settings_folders.h"
#include "core/tables/model_record.h"
#include "store_install/install_fixture.h"

namespace {

using zems_test::InstallTest;
using zems_test::Narrow16;

const char16_t kAbsent[] = u"<absent>";

class InstallPassTest : public InstallTest {
 protected:
  // A DEVMODE buffer of the driver's size, every byte 0xEE.
  static std::vector<BYTE> Untouched() { return std::vector<BYTE>(kDmSize, 0xEE); }
  static WORD Word(const std::vector<BYTE>& dm, size_t offset) { return WORD(dm[offset] | dm[offset + 1] << 8); }
  int Pass(int kind, std::vector<BYTE>* out = nullptr) {
    int result = InstRunPrinterPass(office_, out ? reinterpret_cast<DEVMODEW*>(out->data()) : nullptr, kind, nullptr,
                                    nullptr);
    CtxCacheExpire(TRUE);
    return result;
  }
  std::u16string Settings(const char16_t* key) { return IniGet(SettingsIni(), Printer(), key); }
};

TEST_F(InstallPassTest, TheDevmodeHandedBackByKind) {
  // The printer's own DEVMODE asks for 7 copies.
  std::vector<BYTE> stored = Untouched();
  ASSERT_EQ(Pass(kInstPassDefaultDevmode, &stored), 1);
  DEVMODEW* dm = reinterpret_cast<DEVMODEW*>(stored.data());
  ASSERT_EQ(dm->dmSize, kDmPublicSize);
  dm->dmCopies = 7;
  PRINTER_INFO_2W* info = nullptr;
  DWORD needed = 0;
  GetPrinterW(office_, 2, nullptr, 0, &needed);
  std::vector<BYTE> infoBytes(needed);
  ASSERT_TRUE(GetPrinterW(office_, 2, infoBytes.data(), needed, &needed));
  info = reinterpret_cast<PRINTER_INFO_2W*>(infoBytes.data());
  info->pDevMode = dm;
  ASSERT_TRUE(SetPrinterW(office_, 2, infoBytes.data(), 0));
  // The environment flags of a DEVMODE handed back are their defaults (zdmOSKind's, here).
  DriverContext* probe = CtxOpen(office_, office_, nullptr, 0, kKindSettings, 0, nullptr);
  ASSERT_NE(probe, nullptr);
  ItemSetRawById(probe, kItem_zdmOSKind, 9);
  DmSetEnvironmentFlags(probe);
  const BYTE osKindDefault = BYTE(ItemGetRawById(probe, kItem_zdmOSKind));
  CtxRelease(probe, kReleaseExpired);

  const WORD modelCopies = TblGetModelRecord()->defCopies;
  ASSERT_NE(modelCopies, 7);
  const struct {
    int kind;
    bool filled;
    WORD copies;
  } cases[] = {
      {kInstPassDefaultDevmode, true, 7},
      {kInstPassInitialize, false, 0},
      {kInstPassConnection, false, 0},
      {kInstPassFullDefaults, true, modelCopies},
      {kInstPassFullDefaultsMode1, true, modelCopies},
      {kInstPassIniWork, true, 7},
  };
  for (const auto& c : cases) {
    std::vector<BYTE> out = Untouched();
    EXPECT_EQ(Pass(c.kind, &out), 1) << c.kind;
    if (!c.filled) {
      EXPECT_EQ(out, Untouched()) << "kind " << c.kind << " never touches the caller's DEVMODE";
      continue;
    }
    const DEVMODEW* got = reinterpret_cast<const DEVMODEW*>(out.data());
    EXPECT_EQ(got->dmSize, kDmPublicSize) << c.kind;
    EXPECT_EQ(got->dmDriverExtra, kDmPrivateSize) << c.kind;
    EXPECT_EQ(got->dmCopies, c.copies) << c.kind;
    EXPECT_EQ(out[1220], osKindDefault) << "kind " << c.kind << ": zdmOSKind reset";
  }
}

TEST_F(InstallPassTest, OnlyAPrinterOfThisMachineGetsTheIdentityValues) {
  const struct {
    int kind;
    const char16_t* printerName;
  } cases[] = {
      {kInstPassConnection, kAbsent},
      {kInstPassHousekeeping, kAbsent},
      {kInstPassInitialize, u"Office"},
  };
  for (const auto& c : cases) {
    DeletePrinterDataW(office_, const_cast<LPWSTR>(u"ZEMSPrinterName"));
    DeletePrinterDataW(office_, const_cast<LPWSTR>(u"DriverName"));
    EXPECT_EQ(Pass(c.kind), 1) << c.kind;
    EXPECT_EQ(DataText(u"ZEMSPrinterName"), c.printerName) << c.kind;
    EXPECT_EQ(DataText(u"DriverName") == kAbsent, c.printerName == std::u16string(kAbsent)) << c.kind;
  }
  // A client records the driver version it was set up with.
  EXPECT_EQ(Settings(u"DrvInstVersion"), u"6.63");
}

TEST_F(InstallPassTest, PackInstallDoneOnlyWhenTheInstallersPackWasTaken) {
  const std::string lang = Narrow16(ResGetLangCode(ctx()));
  WriteFile(DriverFolder() + u"inst.rsb", "[" + lang + "]\r\nNumDeficonfiles=0\r\n");
  const struct {
    const char* section;
    const char16_t* done;
  } cases[] = {
      {"SpoolDirectory=C:\\\r\n", kAbsent},
      {"SetUserID=USER1\r\n", kAbsent},
      {"DefaultRst=inst.rsb\r\n", u"1"},
  };
  for (const auto& c : cases) {
    WriteFile(ZemsIni(), "[Office]\r\n" + std::string(c.section));
    IniSet(SettingsIni(), Printer(), u"PackInstallDone", nullptr);
    EXPECT_EQ(Pass(kInstPassInitialize), 1) << c.section;
    EXPECT_EQ(Settings(u"PackInstallDone"), c.done) << c.section;
  }
}

TEST_F(InstallPassTest, ARenamedPrinterKeepsItsBidiSection) {
  WCHAR bidi[MAX_PATH];
  ASSERT_GT(PathInSettingsFolder(bidi, MAX_PATH, u"OV00C171.ini", ctx()), 0);
  const struct {
    const char* what;
    int keys;
  } cases[] = {{"a small section", 3}, {"a section above 30,720 characters", 2000}};
  for (const auto& c : cases) {
    std::string text = "[Other]\r\nKeep=1\r\n[Old Name]\r\n";
    for (int i = 0; i < c.keys; ++i) text += "Key" + std::to_string(i) + "=value of bidi key " + std::to_string(i) + "\r\n";
    WriteFile(bidi, text);
    SetPrinterText(office_, u"ZEMSPrinterName", u"Old Name");
    EXPECT_EQ(InstHandleRenamedPrinter(ctx()), 1) << c.what;
    const std::string lastNumber = std::to_string(c.keys - 1);
    const std::u16string last = u"Key" + std::u16string(lastNumber.begin(), lastNumber.end());
    WCHAR value[64];
    GetPrivateProfileStringW(u"Office", last.c_str(), kAbsent, value, 64, bidi);
    EXPECT_EQ(Narrow16(value), "value of bidi key " + std::to_string(c.keys - 1)) << c.what;
    EXPECT_EQ(IniGet(bidi, u"Other", u"Keep"), u"1") << c.what;
    EXPECT_EQ(DataText(u"ZEMSPrinterName"), u"Office") << c.what;
    EXPECT_EQ(InstHandleRenamedPrinter(ctx()), 0) << c.what << ": the same name again";
  }
}

TEST_F(InstallPassTest, AConnectionsRenameIsNotHandledOnTheClient) {
  HANDLE remote = AddPrinter(u"Remote", u"\\\\SRV");
  ASSERT_NE(remote, nullptr);
  DriverContext* ctx = CtxOpen(remote, remote, nullptr, 0, kKindSettings, 0, nullptr);
  ASSERT_NE(ctx, nullptr);
  SetPrinterText(remote, u"ZEMSPrinterName", u"Old Name");
  EXPECT_EQ(InstHandleRenamedPrinter(ctx), 0);
  std::string bytes;
  ASSERT_TRUE(ReadPrinterData(remote, u"ZEMSPrinterName", &bytes, nullptr));
  EXPECT_EQ(bytes.substr(0, 4), std::string("O\0l\0", 4));
  CtxRelease(ctx, kReleaseExpired);
}

TEST_F(InstallPassTest, TheDefaultFolderStaysWhileAPrinterKeepsItsSettingsThere) {
  // "Remote" keeps its settings in C:\client\_zems; "Office" and "Lab" in the default folder.
  ASSERT_TRUE(CreateDirectoryW(u"C:\\client", nullptr));
  HANDLE remote = AddPrinter(u"Remote", u"\\\\SRV");
  ASSERT_NE(remote, nullptr);
  SetPrinterText(remote, u"_ZEMSDirectoryClient", u"C:\\client");
  WCHAR folder[MAX_PATH];
  ASSERT_GT(PathGetSettingsFolderOf(folder, MAX_PATH, remote), 0);
  ASSERT_EQ(Narrow16(folder), "C:\\client\\_zems");
  WriteFile(u"C:\\_zems\\OV1BD170.ini", "[Office]\r\nCount=0\r\n");
  EXPECT_FALSE(PathRemoveDefaultMachineFolder(remote)) << "Office and Lab still use it";
  EXPECT_TRUE(Exists(u"C:\\_zems\\OV1BD170.ini"));
  EXPECT_FALSE(PathRemoveDefaultMachineFolder(office_)) << "the folder in use";
  // Once no printer files its settings there, the folder goes.
  const char16_t kMoved[] = u"C:\\WINDOWS\\zemsdata\\_zems\\";
  ASSERT_TRUE(CreateDirectoryW(u"C:\\WINDOWS\\zemsdata", nullptr));
  SetReg(u"SOFTWARE\\ORVEL\\ZemsDrv", u"_ZEMSDirectory", REG_SZ, kMoved, sizeof kMoved);
  EXPECT_TRUE(PathRemoveDefaultMachineFolder(remote));
  EXPECT_FALSE(Exists(u"C:\\_zems\\OV1BD170.ini"));
}

TEST_F(InstallPassTest, TheDefaultFolderGoesOnlyOnceTheSettingsMovedWithTheSwitchOn) {
  ASSERT_TRUE(CreateDirectoryW(u"C:\\WINDOWS\\zemsdata", nullptr));
  const struct {
    const char* what;
    const char16_t* value;  // the HKLM "_ZEMSDirectory"
    LONG hidden2Func7;
    bool gone;
  } cases[] = {
      {"moved with the switch on", u"C:\\WINDOWS\\zemsdata\\_zems\\", 1, true},
      {"an empty value moves nothing", u"", 1, false},
      {"the switch off", u"C:\\WINDOWS\\zemsdata\\_zems\\", 0, false},
  };
  for (const auto& c : cases) {
    WriteFile(u"C:\\_zems\\OV1BD170.ini", "[Office]\r\nCount=1\r\nPresetList0=C:\\_zems\\mine.rst\r\n");
    WriteFile(u"C:\\_zems\\mine.rst", "[Office]\r\n");
    WriteFile(u"C:\\_zems\\keep.txt", "kept");
    SetReg(u"SOFTWARE\\ORVEL\\ZemsDrv", u"_ZEMSDirectory", REG_SZ, c.value,
           DWORD((std::char_traits<char16_t>::length(c.value) + 1) * 2));
    // The printer's own DEVMODE carries the switch; a pass of kind 0 starts from it.
    DriverContext* probe = CtxOpen(office_, office_, nullptr, 0, kKindSettings, 0, nullptr);
    ASSERT_NE(probe, nullptr);
    ItemSetRawById(probe, kItem_zdmHidden2Func7, c.hidden2Func7);
    std::vector<BYTE> dm(probe->settings, probe->settings + kDmSize);
    CtxRelease(probe, kReleaseExpired);
    CtxCacheExpire(TRUE);
    DWORD needed = 0;
    GetPrinterW(office_, 2, nullptr, 0, &needed);
    std::vector<BYTE> infoBytes(needed);
    ASSERT_TRUE(GetPrinterW(office_, 2, infoBytes.data(), needed, &needed));
    reinterpret_cast<PRINTER_INFO_2W*>(infoBytes.data())->pDevMode = reinterpret_cast<DEVMODEW*>(dm.data());
    ASSERT_TRUE(SetPrinterW(office_, 2, infoBytes.data(), 0));
    EXPECT_EQ(Pass(kInstPassDefaultDevmode), 1) << c.what;
    EXPECT_EQ(Exists(u"C:\\_zems\\mine.rst"), !c.gone) << c.what;
    EXPECT_TRUE(Exists(u"C:\\_zems\\keep.txt")) << c.what << ": a file the driver did not put there stays";
  }
}

TEST_F(InstallPassTest, TheLockDefaultsAreStoredWithoutAFontTableAddress) {
  // The setting-lock feature with the default lock: the pass keeps its settings as the lock
  // defaults. Kind 5 opens with the stored items loaded, so it sees the lock.
  const BYTE lockInfo[4] = {1, 0, 0, 0}, lockBits[1] = {1};
  ASSERT_EQ(SetPrinterDataW(office_, const_cast<LPWSTR>(u"zdmLockInfo"), REG_BINARY, const_cast<BYTE*>(lockInfo), 4),
            DWORD(ERROR_SUCCESS));
  ASSERT_EQ(SetPrinterDataW(office_, const_cast<LPWSTR>(u"zdmLock000InfoBit"), REG_BINARY, const_cast<BYTE*>(lockBits),
                            1),
            DWORD(ERROR_SUCCESS));
  DeletePrinterDataW(office_, const_cast<LPWSTR>(u"LockDefaultData"));
  ASSERT_EQ(Pass(kInstPassIniWork), 1);
  std::string stored;
  ASSERT_TRUE(Data(u"LockDefaultData", &stored));
  ASSERT_EQ(stored.size(), size_t(kSettingsBlockSize));
  BYTE* block = reinterpret_cast<BYTE*>(&stored[0]);
  for (WORD id = 10004; id <= 10009; ++id) EXPECT_EQ(ReadDword(ValueIn(ctx(), block, id)), 0u) << id;
}

}  // namespace
