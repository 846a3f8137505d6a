// Default packs: the preset and quality lists an import fills, the per-printer copies it makes
// or deletes, the keep-status key, the split of a combined pack and the guard of its targets.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "core/install/default_packs.h"
#include "core/system/driver_paths.h"
#include "core/system/languages.h"
#include "core/system/settings_folders.h"
#include "platform/sim.h"
#include "store_items/list_store_fixture.h"

namespace zems_test {
namespace {

std::u16string Wide(const std::string& s) { return std::u16string(s.begin(), s.end()); }

class DefaultPacksTest : public ListStoreTest {
 protected:
  void SetUp() override {
    ListStoreTest::SetUp();
    lang_ = Narrow(ResGetLangCode(ctx()));
    driver_ = PathGetDriverDir(ctx());
  }
  std::u16string DriverFile(const std::string& name) { return driver_ + Wide(name); }
  // A pack in the driver folder whose language section lists the given preset entries (and
  // quality entries), each preset file written with its name.
  std::u16string Pack(const std::vector<std::string>& presets, const std::vector<std::string>& qualities = {}) {
    std::string text = "[" + lang_ + "]\r\nNumDeficonfiles=" + std::to_string(presets.size()) + "\r\n";
    for (size_t i = 0; i < presets.size(); ++i) text += "Deficonfiles" + std::to_string(i + 1) + "=" + presets[i] + "\r\n";
    if (!qualities.empty()) text += "NumDefqualityfiles=" + std::to_string(qualities.size()) + "\r\n";
    for (size_t i = 0; i < qualities.size(); ++i)
      text += "Defqualityfiles" + std::to_string(i + 1) + "=" + qualities[i] + "\r\n";
    std::u16string pack = DriverFile("pack.rsb");
    WriteBytes(pack, text);
    for (const std::string& p : presets)
      if (p.find(':') == std::string::npos)
        WriteBytes(DriverFile(p), "[" + lang_ + "]\r\nsetname=" + p + "\r\nsetcomment=c " + p + "\r\n");
    return pack;
  }
  std::u16string Rsr(const std::string& name) {
    WCHAR buffer[260];
    std::u16string file = DriverFile(name);
    EXPECT_TRUE(PathUserRsrFile(buffer, file.c_str(), 260, ctx()));
    return buffer;
  }
  std::string PrinterKey(const std::string& key) { return IniKey(PrinterName(), key); }
  bool Exists(const std::u16string& path) { return std::filesystem::exists(SimHostPath(path.c_str())); }

  std::string lang_;
  std::u16string driver_;
};

TEST_F(DefaultPacksTest, TwentyPresetsFillTheListToSixteen) {
  std::vector<std::string> names;
  for (int i = 1; i <= 20; ++i) names.push_back("set" + std::to_string(i) + ".rsd");
  std::u16string pack = Pack(names);
  ASSERT_EQ(InstImportPresetFiles(pack.c_str(), Wide(lang_).c_str(), 0x1, ctx(), 0, nullptr), 1);
  EXPECT_EQ(PrinterKey("Count"), "16");
  EXPECT_EQ(Narrow(Wide(PrinterKey("PresetList0"))), Narrow(Rsr("set1.rsd")));
  EXPECT_EQ(PrinterKey("PresetList0Name"), "set1.rsd");
  EXPECT_EQ(PrinterKey("PresetList15Name"), "set16.rsd");
}

// One entry whose copy fails fails the import; the entries after it are still copied.
TEST_F(DefaultPacksTest, AFailedEntryFailsTheImportAndTheRestIsCopied) {
  const std::u16string pack = DriverFile("pack.rsb");
  WriteBytes(pack, "[" + lang_ + "]\r\nNumDeficonfiles=2\r\nDeficonfiles1=%sysdir%\\gone.rsd\r\n"
                   "Deficonfiles2=%sysdir%\\here.rsd\r\n");
  WriteBytes(DriverFile("here.rsd"), "[" + lang_ + "]\r\nsetname=here\r\n");
  WriteBytes(FilePath(u"gone.rsr"), "[Office]\r\n");  // an earlier copy: the new one is due
  EXPECT_EQ(InstImportPresetFiles(pack.c_str(), Wide(lang_).c_str(), 0x2, ctx(), 0, nullptr), 0);
  EXPECT_TRUE(Exists(FilePath(u"here.rsd")));
}

TEST_F(DefaultPacksTest, AnEmptyQualityNameStaysEmpty) {
  std::u16string pack = Pack({}, {"fine.rsq", "draft.rsq"});
  WriteBytes(DriverFile("fine.rsq"), "[" + lang_ + "]\r\nqualityname=\r\n");
  WriteBytes(DriverFile("draft.rsq"), "[" + lang_ + "]\r\nqualityname=Draft\r\n");
  ASSERT_EQ(InstImportQualityFiles(pack.c_str(), Wide(lang_).c_str(), 0x1, ctx()), 1);
  EXPECT_EQ(PrinterKey("QualityCount"), "2");
  EXPECT_EQ(PrinterKey("QualityList0"), Narrow(Rsr("fine.rsq")));
  EXPECT_EQ(PrinterKey("QualityList0Name"), "");
  EXPECT_EQ(PrinterKey("QualityList1Name"), "Draft");
}

TEST_F(DefaultPacksTest, OnlyNewFilesAreAddedAgainstTheOldList) {
  std::u16string pack = Pack({"first.rsd", "known.rsd", "fresh.rsd"});
  SetIniKey(PrinterName(), "Count", "1");
  SetIniKey(PrinterName(), "PresetList0", "D:\\old\\known.rsr");
  std::vector<WCHAR> old(260, 0);
  std::u16string oldPath = Rsr("known.rsd");
  std::copy(oldPath.begin(), oldPath.end(), old.begin());
  ASSERT_EQ(InstImportPresetFiles(pack.c_str(), Wide(lang_).c_str(), 0xC1, ctx(), 1, old.data()), 1);
  EXPECT_EQ(PrinterKey("Count"), "2") << "the list is kept, only the fresh file is added";
  EXPECT_EQ(PrinterKey("PresetList1"), Narrow(Rsr("fresh.rsd")));
}

TEST_F(DefaultPacksTest, CopiesAreMadeDeletedAndTheStatusKept) {
  std::u16string pack = Pack({"a.rsd", "b.rsd"});
  ASSERT_EQ(InstImportPresetFiles(pack.c_str(), Wide(lang_).c_str(), 0x102, ctx(), 0, nullptr), 1);
  EXPECT_TRUE(Exists(Rsr("a.rsd")));
  EXPECT_TRUE(Exists(Rsr("b.rsd")));
  EXPECT_EQ(Section(pack, lang_)["DrvInstPresetDone"], "1");
  ASSERT_EQ(InstImportPresetFiles(pack.c_str(), Wide(lang_).c_str(), 0x20, ctx(), 0, nullptr), 1);
  EXPECT_FALSE(Exists(Rsr("a.rsd")));
  EXPECT_FALSE(Exists(Rsr("b.rsd")));
}

TEST_F(DefaultPacksTest, ATargetOutsideTheDriversFoldersIsSkipped) {
  std::u16string pack = Pack({"C:\\elsewhere\\evil.rsd", "good.rsd"});
  ASSERT_EQ(InstImportPresetFiles(pack.c_str(), Wide(lang_).c_str(), 0x3, ctx(), 0, nullptr), 1);
  EXPECT_EQ(PrinterKey("Count"), "1");
  EXPECT_EQ(PrinterKey("PresetList0"), Narrow(Rsr("good.rsd")));
  EXPECT_FALSE(Exists(u"C:\\elsewhere\\evil.rsd"));
}

TEST_F(DefaultPacksTest, TheSplitWritesEachFilesSections) {
  std::u16string pack = Pack({"a.rsd", "b.rsd"}, {"q.rsq"});
  WriteBytes(DriverFile("q.rsq"), "");
  std::string big(40000, 'x');
  std::string combined = "[conditiona.rsd]\r\nConditionOption0_0=T\r\n[disablea.rsd]\r\nOther=1\r\n[" + lang_ +
                         "a.rsd]\r\nsetname=Alpha\r\n[" + lang_ + "b.rsd]\r\nsetname=Beta\r\nlong=" + big + "\r\n";
  WriteBytes(DriverFile("all.rsb"), combined);
  WriteBytes(DriverFile("allq.rsb"), "[" + lang_ + "q.rsq]\r\nqualityname=Q\r\n");
  std::string packText = ReadBytes(pack);
  WriteBytes(pack, packText + "Deficonfiles0=all.rsb\r\nDefqualityfiles0=allq.rsb\r\n");
  // The pack becomes the driver's pack.
  WritePrivateProfileStringW(Wide(lang_).c_str(), u"DefaultRst", u"pack.rsb", ModelDataFile().c_str());
  ASSERT_EQ(InstSplitDefaultPack(ctx()), 1);
  EXPECT_EQ(Section(DriverFile("a.rsd"), "condition")["ConditionOption0_0"], "T");
  EXPECT_EQ(Section(DriverFile("a.rsd"), "disable")["Other"], "1");
  EXPECT_EQ(Section(DriverFile("a.rsd"), lang_)["setname"], "Alpha");
  EXPECT_EQ(Section(DriverFile("b.rsd"), lang_)["setname"], "Beta");
  EXPECT_EQ(Section(DriverFile("b.rsd"), lang_)["long"].size(), big.size()) << "a long section is not cut";
  EXPECT_EQ(Section(DriverFile("q.rsq"), lang_)["qualityname"], "Q");
}

TEST_F(DefaultPacksTest, ABatchPackIsTold) {
  EXPECT_EQ(InstHasBatchPack(ctx()), 0);
  SetIniKey(PrinterName(), "BatchInstRst", "D:\\p.rsb");
  EXPECT_EQ(InstHasBatchPack(ctx()), 1);
}

}  // namespace
}  // namespace zems_test

namespace zems_test {
namespace {

TEST_F(DefaultPacksTest, ComponentFilesGoToTheSystemDirectoryAsTheSpooler) {
  WriteBytes(DriverFile("OV1BC123.DLL"), "spool");
  WriteBytes(DriverFile("KV310dat.dll"), "data");
  const DWORD before = SimIdentitySwitchCount();
  ASSERT_EQ(InstCopyComponentFiles(ctx()->printer), 1);
  WCHAR system[260];
  ASSERT_GT(GetSystemDirectoryW(system, 260), 0u);
  const std::u16string folder = std::u16string(system) + u"\\";
  EXPECT_EQ(ReadBytes(folder + u"OV1BC123.DLL"), "spool");
  EXPECT_EQ(ReadBytes(folder + u"KV310dat.dll"), "data");
  ASSERT_EQ(SimIdentitySwitchCount(), before + 2);
  EXPECT_STREQ(SimIdentitySwitch(before), "revert");
  EXPECT_STREQ(SimIdentitySwitch(before + 1), "impersonate");
  EXPECT_EQ(InstCopyComponentFiles(nullptr), 0);
}

TEST_F(DefaultPacksTest, InstallFilesAndTheDriversPackLists) {
  std::u16string pack = Pack({"a.rsd"});
  WriteBytes(DriverFile("extra.ini"), "[x]\r\ny=1\r\n");
  WritePrivateProfileStringW(Wide(lang_).c_str(), u"DefaultRst", u"pack.rsb", ModelDataFile().c_str());
  WritePrivateProfileStringW(Wide(lang_).c_str(), u"NumInstallfiles", u"2", ModelDataFile().c_str());
  WritePrivateProfileStringW(Wide(lang_).c_str(), u"Installfiles1", u"%windir%\\extra.ini", ModelDataFile().c_str());
  WritePrivateProfileStringW(Wide(lang_).c_str(), u"Installfiles2", u"C:\\elsewhere\\extra.ini",
                             ModelDataFile().c_str());
  ASSERT_EQ(InstImportInstallFiles(ctx(), 0x100), 1);
  WCHAR windows[260];
  ASSERT_GT(GetWindowsDirectoryW(windows, 260), 0u);
  EXPECT_EQ(ReadBytes(std::u16string(windows) + u"\\extra.ini"), "[x]\r\ny=1\r\n");
  EXPECT_FALSE(Exists(u"C:\\elsewhere\\extra.ini"));
  EXPECT_TRUE(Exists(Rsr("a.rsd"))) << "the pack's preset gets its per-printer copy";
  EXPECT_EQ(Section(pack, lang_)["DrvInstPresetDone"], "1");
  EXPECT_EQ(PrinterKey("Count"), "<absent>") << "without flag 0x1 nothing is listed";
}

}  // namespace
}  // namespace zems_test
