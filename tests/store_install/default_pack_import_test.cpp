// Importing the installer's and the driver's default packs: what the pack brings, what the
// install ini's values keep, and the keys that record a pack, taken or missing.
#include <gtest/gtest.h>

#include <string>

#include "core/context/ui_state.h"
#include "core/items/item_access.h"
#include "core/items/item_ids.h"
#include "core/install/default_packs.h"
#include "core/install/install_ini.h"
#include "core/store/stamp_store.h"
#include "core/system/languages.h"
#include "core/system/settings_folders.h"
#include "platform/sim.h"
#include "store_install/install_fixture.h"

namespace {

using zems_test::InstallTest;
using zems_test::Narrow16;

const char16_t kAbsent[] = u"<absent>";

class PackImportTest : public InstallTest {
 protected:
  void SetUp() override {
    InstallTest::SetUp();
    lang_ = Narrow16(ResGetLangCode(ctx()));
    ASSERT_FALSE(lang_.empty());
  }
  // A pack in the driver folder: its language section holds the given lines and lists the
  // preset file "inst1.rsd" (written too).
  std::u16string WritePack(const std::string& name, const std::string& lines) {
    WriteFile(DriverFolder() + u"inst1.rsd", "[" + lang_ + "]\r\nRstVersion=322\r\nsetname=Installer set\r\n");
    WriteFile(DriverFolder() + std::u16string(name.begin(), name.end()),
              "[" + lang_ + "]\r\n" + lines + "NumDeficonfiles=1\r\nDeficonfiles1=inst1.rsd\r\n");
    return DriverFolder() + std::u16string(name.begin(), name.end());
  }
  std::u16string Ini(const char16_t* key) { return IniGet(ZemsIni(), Printer(), key); }
  std::u16string Settings(const char16_t* key) { return IniGet(SettingsIni(), Printer(), key); }

  std::string lang_;
};

TEST_F(PackImportTest, TheInstallIniKeepsTheAuthenticationUserNameOverThePack) {
  const struct {
    const char* what;
    const char16_t* iniName;  // SetAuthenticationUserName, or null
    const char16_t* expected;
  } cases[] = {
      {"the pack's name without the key", nullptr, u"bob"},
      {"the install ini's name wins", u"alice", u"alice"},
  };
  for (const auto& c : cases) {
    const std::u16string pack = WritePack("inst.rsb", "wdmAuthenticationUserName=bob\r\n");
    WriteFile(ZemsIni(), "[" + Narrow16(Printer()) + "]\r\nDefaultRst=inst.rsb\r\n");
    if (c.iniName) IniSet(ZemsIni(), Printer(), u"SetAuthenticationUserName", c.iniName);
    ItemSetText(ctx(), ItemFind(ctx(), kItem_wdmAuthenticationUserName), u"");
    ASSERT_EQ(InstApplyInstallerDefaults(ctx()), 1) << c.what;
    EXPECT_EQ(InstImportDefaultPack(0, ctx(), 0), 1) << c.what;
    EXPECT_EQ(ItemText(kItem_wdmAuthenticationUserName), c.expected) << c.what;
    // The pack is recorded and consumed: the next pass finds no work.
    EXPECT_EQ(Ini(u"BatchInstallDone"), u"1") << c.what;
    EXPECT_EQ(Ini(u"DefaultRstName"), pack) << c.what;
    EXPECT_EQ(Ini(u"DefaultRst"), kAbsent) << c.what;
    EXPECT_EQ(Ini(u"DrvInstSet"), u"1") << c.what;
    EXPECT_EQ(Settings(u"DefaultRst"), pack) << c.what;
    EXPECT_EQ(Settings(u"BatchInstRst"), pack) << c.what;
    EXPECT_EQ(Settings(u"Count"), u"1") << c.what;
    EXPECT_EQ(Settings(u"PresetList0Name"), u"Installer set") << c.what;
    EXPECT_EQ(InstIniHasWorkForContext(ctx()), 0) << c.what;
  }
}

TEST_F(PackImportTest, AMissingInstallersPackIsStillMarkedDone) {
  WriteFile(ZemsIni(), "[" + Narrow16(Printer()) + "]\r\nDefaultRst=gone.rsb\r\n");
  IniSet(SettingsIni(), Printer(), u"BatchInstRst", u"C:\\old.rsb");
  EXPECT_EQ(InstImportDefaultPack(0, ctx(), 0), 0);
  EXPECT_EQ(Ini(u"BatchInstallDone"), u"1") << "the install ini is not retried";
  EXPECT_EQ(Ini(u"DefaultRst"), kAbsent);
  EXPECT_EQ(Ini(u"DefaultRstName"), DriverFolder() + u"gone.rsb");
  EXPECT_EQ(Settings(u"BatchInstallDone"), u"1");
  EXPECT_EQ(Settings(u"BatchInstRst"), kAbsent);
  std::string bytes;
  ASSERT_TRUE(Data(u"BatchInstallDone", &bytes));
  EXPECT_EQ(bytes, std::string("\x01\x00\x00\x00", 4));
}

TEST_F(PackImportTest, NoWorkNoPack) {
  WriteFile(ZemsIni(), "[" + Narrow16(Printer()) + "]\r\nSpoolDirectory=C:\\nowhere\r\n");
  EXPECT_EQ(InstImportDefaultPack(0, ctx(), 0), 0);
  EXPECT_EQ(Ini(u"BatchInstallDone"), kAbsent);
}

TEST_F(PackImportTest, TheDriversPackRecordsItsResultByKind) {
  const struct {
    const char* what;
    bool packPresent;
    int kind;
    const char16_t* settingsDone;
    bool printerData;
  } cases[] = {
      {"imported at an initialize", true, 1, u"1", true},
      {"a client keeps printer data as it is", true, 2, u"1", false},
      {"a missing pack counts as not imported", false, 1, u"0", true},
  };
  for (const auto& c : cases) {
    DeletePrinterDataW(ctx()->printer, const_cast<LPWSTR>(u"BatchInstallDone"));
    DeleteFileW((DriverFolder() + u"zemsdef.rsb").c_str());
    if (c.packPresent) WritePack("zemsdef.rsb", "");
    WriteFile(ZemsIni(), "[" + Narrow16(Printer()) + "]\r\nDefaultRstName=x\r\nBatchInstallDone=1\r\nKeep=1\r\n");
    IniSet(SettingsIni(), Printer(), u"BatchInstRst", u"C:\\old.rsb");
    EXPECT_EQ(InstImportDriverDefaultPack(0, c.kind, ctx()), 1) << c.what;
    EXPECT_EQ(Settings(u"BatchInstallDone"), c.settingsDone) << c.what;
    EXPECT_EQ(Raw(kItem_zdmBatchInst), c.settingsDone[0] == u'1' ? 1 : 0) << c.what;
    std::string bytes;
    EXPECT_EQ(Data(u"BatchInstallDone", &bytes), c.printerData) << c.what;
    EXPECT_EQ(Settings(u"BatchInstRst"), kAbsent) << c.what;
    EXPECT_EQ(Ini(u"DefaultRstName"), kAbsent) << c.what;
    EXPECT_EQ(Ini(u"BatchInstallDone"), kAbsent) << c.what;
    EXPECT_EQ(Ini(u"Keep"), u"1") << c.what;
    if (c.packPresent) {
      EXPECT_EQ(Settings(u"PresetList0Name"), u"Installer set") << c.what;
    }
  }
}

TEST_F(PackImportTest, ThePacksCustomSizesAndWatermarksBecomeThePrinters) {
  const std::u16string pack = WritePack("stores.rsb", "FreeSizeCount=1\r\nStampCount=3\r\n");
  std::string text = ReadFile(pack);
  text += "[FreeSize0" + lang_ + "]\r\nwdmFreeSizeName=Pack size\r\nwdmFreeSizeWidth=5000\r\nwdmFreeSizeLength=7000\r\n"
          "wdmFreeSizeTray=4\r\nwdmFreeSizeOrient=1\r\n";
  for (int n = 0; n < 3; ++n)
    text += "[Stamp" + std::to_string(n) + lang_ + "]\r\nRstVersion=322\r\nwdmWmChar=Pack " + std::to_string(n) + "\r\n";
  WriteFile(pack, text);
  ItemSetRawById(ctx(), kItem_zdmWmID, 1);
  InstImportPackStores(pack.c_str(), ctx());
  const std::u16string size = u"FreeSize0" + std::u16string(lang_.begin(), lang_.end());
  EXPECT_EQ(IniGet(SettingsIni(), size, u"wdmFreeSizeName"), u"Pack size");
  EXPECT_EQ(IniGet(SettingsIni(), size, u"wdmFreeSizeWidth"), u"5000");
  EXPECT_EQ(StampGetCount(ctx()), 3) << "the printer's count is raised to the pack's";
  EXPECT_EQ(IniGet(SettingsIni(), u"Stamp2" + std::u16string(lang_.begin(), lang_.end()), u"wdmWmChar"), u"Pack 2");
  EXPECT_EQ(Raw(kItem_zdmWmID), 1) << "the selected watermark is kept";
}

TEST_F(PackImportTest, AFullDiskLeavesTheListsAndCopiesWhole) {
  WritePack("zemsdef.rsb", "");
  WCHAR rsr[MAX_PATH];
  const std::u16string source = DriverFolder() + u"inst1.rsd";
  ASSERT_TRUE(PathUserRsrFile(rsr, source.c_str(), MAX_PATH, ctx()));
  ASSERT_EQ(InstImportInstallFiles(ctx(), 0), 1);
  ASSERT_EQ(InstImportDriverDefaultPack(0, 1, ctx()), 1);
  const std::string settings = ReadFile(SettingsIni()), copy = ReadFile(rsr);
  ASSERT_NE(copy.find("RstVersion"), std::string::npos) << copy;
  // The next import finds a changed file and a disk that fills at some point of it.
  WriteFile(source, "[" + lang_ + "]\r\nRstVersion=322\r\nsetname=Renamed set\r\n");
    // Budgets from nothing to enough for the whole import, so that each write fails in one run.
  for (long long budget = 0; budget <= 48000; budget += 1500) {
    SCOPED_TRACE(budget);
    SimSetDiskFull(budget);
    InstImportInstallFiles(ctx(), 0);
    InstImportDriverDefaultPack(0, 1, ctx());
    SimSetDiskFull(-1);
    const std::string afterCopy = ReadFile(rsr);
    EXPECT_NE(afterCopy.find("RstVersion"), std::string::npos) << "the copy is whole: " << afterCopy;
    // The list is the old one or the new one, never a cleared one.
    EXPECT_EQ(Settings(u"Count"), u"1");
    EXPECT_EQ(Settings(u"PresetList0"), std::u16string(rsr));
    const std::u16string name = Settings(u"PresetList0Name");
    EXPECT_TRUE(name == u"Installer set" || name == u"Renamed set") << Narrow16(name);
    EXPECT_EQ(Settings(u"DefaultRst"), DriverFolder() + u"zemsdef.rsb");
    WriteFile(SettingsIni(), settings);
    WriteFile(rsr, copy);
  }
}

}  // namespace
