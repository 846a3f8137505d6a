// A package exported from one printer, its files placed in the settings folder as an installer
// places a pack's files, is imported as the installer's pack of a second printer (the install
// ini's "DefaultRst" names it), which then lists the same presets and quality lists. The full
// path starts with the pending housekeeping on a multi-session machine.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "core/context/context_cache.h"
#include "core/install/default_packs.h"
#include "core/store/free_size_store.h"
#include "core/install/install_ini.h"
#include "core/install/package_export.h"
#include "core/install/pending_housekeeping.h"
#include "core/store/stamp_store.h"
#include "core/system/driver_paths.h"
#include "core/system/languages.h"
#include "core/system/settings_folders.h"
#include "core/system/terminal_server.h"
#include "platform/sim.h"
#include "store/store_files_fixture.h"

namespace zems_test {
namespace {

class PackageRoundTripTest : public StoreFilesTest {
 protected:
  // The driver folder holds the driver's model data file, as an installed driver's does: its
  // factory custom sizes and watermarks are what a user's new settings start from.
  void SetUp() override {
    StoreFilesTest::SetUp();
    std::ifstream in(SourceDir() + "/samples/driver/OV1BD172.ini", std::ios::binary);
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    ASSERT_FALSE(text.empty());
    WriteFileBytes(PathModelDataFile(ctx_), text);
  }
  // The lists of the printer section of ini: names of presets and quality lists in order.
  static std::vector<std::string> Names(const std::u16string& ini, const std::string& printer, bool quality) {
    std::vector<std::string> names;
    std::string prefix = quality ? "QualityList" : "PresetList";
    int count = int(GetPrivateProfileIntW(W(printer).c_str(), quality ? u"QualityCount" : u"Count", 0, ini.c_str()));
    for (int i = 0; i < count; ++i) names.push_back(IniKey(ini, printer, prefix + std::to_string(i) + "Name"));
    return names;
  }
  // Presets and quality lists of "Office" in the settings ini of ctx, with the custom sizes and
  // the watermark an export copies.
  void MakeOfficeLists(DriverContext* ctx) {
    std::u16string ini = PathSettingsFile(ctx);
    std::u16string folder = ini.substr(0, ini.rfind(u'\\'));
    WCHAR section[64];
    for (int n = 0; n < FreeSizeSlotCount(ctx); ++n)
      SetIniKey(ini, N(FreeSizeSectionName(section, 64, n, ctx)), "Name", "size" + std::to_string(n));
    ASSERT_TRUE(StampSetCount(ctx, 1));
    SetIniKey(ini, N(StampSectionName(section, 64, 0, ctx)), "Text", "Draft");
    const char* presets[] = {"Booklet", "Two up"};
    SetIniKey(ini, "Office", "Count", "2");
    for (int i = 0; i < 2; ++i) {
      std::string n = std::to_string(i), file = N(folder) + "\\own" + n + ".rsr";
      WriteFileBytes(W(file), "[Office]\r\nRstVersion=300\r\n");
      SetIniKey(ini, "Office", "PresetList" + n, file);
      SetIniKey(ini, "Office", "PresetList" + n + "Name", presets[i]);
    }
    SetIniKey(ini, "Office", "QualityCount", "1");
    WriteFileBytes(folder + u"\\fine.rsr", "[Office]\r\nRstVersion=300\r\n");
    SetIniKey(ini, "Office", "QualityList0", N(folder) + "\\fine.rsr");
    SetIniKey(ini, "Office", "QualityList0Name", "Fine");
  }
  // Exports "Office" through ctx, copies the package's files into the per-machine settings
  // folder and imports the main pack there as the installer's pack of "Lab", with the copies
  // of the listed files made.
  void ExportAndImportIntoLab(DriverContext* ctx) {
    std::u16string chosen = MachineFolder() + u"\\office.rsr";
    WCHAR path[MAX_PATH];
    ASSERT_EQ(1, PackMakeName(chosen.c_str(), path, ctx));
    std::u16string mainPack = path;
    ASSERT_EQ(1, PackExport(chosen.c_str(), path, ctx));
    std::u16string folder = mainPack.substr(0, mainPack.rfind(u'\\'));
    for (const std::string& leaf : FolderLeaves(folder))
      ASSERT_TRUE(CopyFileW((folder + u"\\" + W(leaf)).c_str(), (MachineFolder() + u"\\" + W(leaf)).c_str(), FALSE));
    std::u16string pack = MachineFolder() + mainPack.substr(mainPack.rfind(u'\\'));

    DriverContext* lab = CtxOpen(lab_, lab_, nullptr, 0, kKindSettings, 0, nullptr);
    ASSERT_NE(lab, nullptr);
    SetIniKey(InstIniPath(lab), "Lab", "DefaultRst", N(pack));
    EXPECT_EQ(1, InstImportDefaultPack(0x2, lab, 0));
    EXPECT_EQ(IniKey(InstIniPath(lab), "Lab", "DefaultRstName"), N(pack)) << "the installer's pack was taken";
    labIni_ = PathSettingsFile(lab);
    CtxRelease(lab, kReleaseExpired);
    // Every entry of Lab's lists has its copy.
    for (const char* key : {"PresetList0", "PresetList1", "QualityList0"})
      EXPECT_TRUE(FileThere(W(IniKey(labIni_, "Lab", key)))) << key;
  }

  std::u16string labIni_;
};

TEST_F(PackageRoundTripTest, SecondPrinterListsTheSamePresets) {
  MakeOfficeLists(ctx_);
  ExportAndImportIntoLab(ctx_);
  std::u16string officeIni = PathSettingsFile(ctx_);
  EXPECT_EQ(Names(officeIni, "Office", false), Names(labIni_, "Lab", false));
  EXPECT_EQ(Names(officeIni, "Office", true), Names(labIni_, "Lab", true));
  EXPECT_EQ((std::vector<std::string>{"Booklet", "Two up"}), Names(labIni_, "Lab", false));
}

TEST_F(PackageRoundTripTest, HousekeepingThenPackageOnAMultiSessionMachine) {
  // The machine's lists first, then the machine becomes a multi-session host.
  MakeOfficeLists(ctx_);
  ASSERT_EQ(0, RunHost("machine system --terminal-server yes"));
  OsForgetCachedAnswers();
  ASSERT_EQ(1, InstRunPendingHousekeeping(office_, 1, nullptr, nullptr));
  EXPECT_TRUE(FileThere(UserIni())) << "the housekeeping makes the user's copies";
  EXPECT_EQ((std::vector<std::string>{"Booklet", "Two up"}), Names(UserIni(), "Office", false));
  EXPECT_EQ("10", IniKey(UserIni(), N(ResGetLangCodeAlias(ctx_)), "FreeSizeCount"))
      << "the user's settings carry the factory custom sizes an export needs";

  // A context opened now works on the user's copies.
  DriverContext* user = CtxOpen(office_, office_, nullptr, 0, kKindSettings, 0, nullptr);
  ASSERT_NE(user, nullptr);
  ASSERT_EQ(N(UserIni()), N(PathSettingsFile(user)));
  ExportAndImportIntoLab(user);
  EXPECT_EQ(Names(UserIni(), "Office", false), Names(labIni_, "Lab", false));
  EXPECT_EQ(Names(UserIni(), "Office", true), Names(labIni_, "Lab", true));
  CtxRelease(user, kReleaseExpired);
}

}  // namespace
}  // namespace zems_test
