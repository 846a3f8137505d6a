// The settings package: its names from the local time, the export of the sample printer's
// presets and quality lists, the limits, and the two removals kept inside the "zems" folder.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/context/module_bus.h"
#include "core/items/item_access.h"
#include "core/store/free_size_store.h"
#include "core/install/package_export.h"
#include "core/store/stamp_store.h"
#include "core/system/languages.h"
#include "core/system/settings_folders.h"
#include "platform/sim.h"
#include "store/store_files_fixture.h"
#include "support/test_variant.h"

namespace zems_test {
namespace {

SYSTEMTIME At(WORD hour, WORD minute, WORD second) {
  SYSTEMTIME t = {};
  t.wYear = 2011;
  t.wMonth = 11;
  t.wDay = 15;
  t.wHour = hour;
  t.wMinute = minute;
  t.wSecond = second;
  return t;
}

std::string Digits(DWORD count) {
  WCHAR digits[kPackDigits + 1];
  PackTimeDigits(count, digits);
  return N(digits);
}

TEST(PackNames, TimeCountAndDigits) {
  EXPECT_EQ(1345803630u, PackTimeCount(At(10, 20, 30)));
  EXPECT_EQ("M998Q6", Digits(1345803630u));
  EXPECT_EQ("000000", Digits(0));
  EXPECT_EQ("00000Z", Digits(35));
  EXPECT_EQ("000000", Digits(2176782336u)) << "modulo 36^6";
  struct Case {
    const char* before;
    const char* after;
  } steps[] = {{"M998Q6", "M998Q7"}, {"M998Q9", "M998QA"}, {"M998QZ", "M998R0"}, {"0ZZZZZ", "100000"},
               {"ZZZZZZ", "000000"}};
  for (const Case& c : steps) {
    std::u16string d = W(c.before);
    PackNameIncrement(&d[0]);
    EXPECT_EQ(c.after, N(d)) << c.before;
    PackNameDecrement(&d[0]);
    EXPECT_EQ(c.before, N(d)) << "back from " << c.after;
  }
}

class PackageTest : public StoreFilesTest {
 protected:
  void SetUp() override {
    StoreFilesTest::SetUp();
    ini_ = PathSettingsFile(ctx_);
    lang_ = N(ResGetLangCodeAlias(ctx_));
    // The ten custom sizes and one watermark the export copies.
    WCHAR section[64];
    for (int n = 0; n < FreeSizeSlotCount(ctx_); ++n)
      SetIniKey(ini_, N(FreeSizeSectionName(section, 64, n, ctx_)), "Name", "size" + std::to_string(n));
    ASSERT_TRUE(StampSetCount(ctx_, 1));
    SetIniKey(ini_, N(StampSectionName(section, 64, 0, ctx_)), "Text", "Draft");
  }
  std::u16string Zems() {
    WCHAR folder[MAX_PATH];
    int n = PathGetMachineSettingsFolder(folder, MAX_PATH, ctx_);
    return std::u16string(folder, folder + n) + u"\\zems";
  }
  // Presets and quality lists in the printer's list, each file with its printer section.
  void MakeLists(int presets, int qualities) {
    SetIniKey(ini_, "Office", "Count", std::to_string(presets));
    for (int i = 0; i < presets; ++i) {
      std::string n = std::to_string(i), file = N(MachineFolder()) + "\\p" + n + ".rsr";
      WriteFileBytes(W(file), "[Office]\r\nk=" + n + "\r\n[condition]\r\nConditionOption1_1=x\r\n");
      SetIniKey(ini_, "Office", "PresetList" + n, file);
      SetIniKey(ini_, "Office", "PresetList" + n + "Name", "preset " + n);
      SetIniKey(ini_, "Office", "PresetList" + n + "Comment", "about " + n);
    }
    SetIniKey(ini_, "Office", "QualityCount", std::to_string(qualities));
    for (int i = 0; i < qualities; ++i) {
      std::string n = std::to_string(i), file = N(MachineFolder()) + "\\q" + n + ".rsr";
      WriteFileBytes(W(file), "[Office]\r\nq=" + n + "\r\n");
      SetIniKey(ini_, "Office", "QualityList" + n, file);
      SetIniKey(ini_, "Office", "QualityList" + n + "Name", "quality " + n);
    }
  }
  // PackMakeName then PackExport of the chosen file at the given time; the main pack's path in
  // *mainPack, the buffer's text after the export in *after.
  int Export(const std::u16string& chosen, const SYSTEMTIME& time, std::u16string* mainPack,
             std::u16string* after = nullptr) {
    EXPECT_TRUE(SimSetLocalTime(&time));
    WCHAR path[MAX_PATH];
    EXPECT_EQ(1, PackMakeName(chosen.c_str(), path, ctx_));
    *mainPack = path;
    int result = PackExport(chosen.c_str(), path, ctx_);
    if (after) *after = path;
    return result;
  }

  std::u16string ini_;
  std::string lang_;
};

TEST_F(PackageTest, NameFromTheLocalTimeAndTheChosenFile) {
  SYSTEMTIME t = At(10, 20, 30);
  ASSERT_TRUE(SimSetLocalTime(&t));
  WCHAR path[MAX_PATH];
  ASSERT_EQ(1, PackMakeName(u"C:\\out\\My settings.v2.rsr", path, ctx_));
  std::u16string folder = Zems() + u"\\20111115102030My settings.v2";
  EXPECT_EQ(N(folder + u"\\RM998Q61.rsb"), N(path));
  EXPECT_TRUE(FileThere(folder));
  ASSERT_EQ(1, PackMakeName(u"C:\\out\\plain", path, ctx_));
  EXPECT_EQ(N(Zems() + u"\\20111115102030plain\\RM998Q61.rsb"), N(path)) << "a leaf without extension is kept whole";
}

TEST_F(PackageTest, BaseNameIsCutToTheRoomLeft) {
  HKEY key = nullptr;
  ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExW(HKEY_LOCAL_MACHINE, u"SOFTWARE\\ORVEL\\ZemsDrv", 0, nullptr, 0,
                                           KEY_ALL_ACCESS, nullptr, &key, nullptr));
  auto setFolder = [&](const std::u16string& folder) {
    ASSERT_EQ(ERROR_SUCCESS, RegSetValueExW(key, u"_ZEMSDirectory", 0, REG_SZ,
                                            reinterpret_cast<const BYTE*>(folder.c_str()),
                                            DWORD((folder.size() + 1) * 2)));
  };
  std::u16string folder20 = u"C:\\SettingsFolder20c";
  ASSERT_EQ(20u, folder20.size());
  setFolder(folder20);
  SYSTEMTIME t = At(10, 20, 30);
  ASSERT_TRUE(SimSetLocalTime(&t));
  std::u16string base(210, u'b');
  WCHAR path[MAX_PATH];
  ASSERT_EQ(1, PackMakeName((u"C:\\out\\" + base + u".rsr").c_str(), path, ctx_));
  EXPECT_EQ(N(folder20 + u"\\zems\\20111115102030" + std::u16string(206, u'b') + u"\\RM998Q61.rsb"), N(path));
  EXPECT_EQ(259u, std::u16string(path).size());

  setFolder(u"C:\\" + std::u16string(223, u'f'));  // 226 characters: no room for a base name
  EXPECT_EQ(0, PackMakeName(u"C:\\out\\x.rsr", path, ctx_));
  RegCloseKey(key);
}

// A printer name with brackets is filed under a section with ',' for each bracket: the export
// finds its lists and preset sections there.
TEST_F(PackageTest, APrinterNameWithBracketsExportsItsLists) {
  HANDLE desk = AddPrinter(u"Desk [2]");
  ASSERT_NE(desk, nullptr);
  DriverContext* ctx = CtxOpen(desk, desk, nullptr, 0, kKindSettings, 0, nullptr);
  ASSERT_NE(ctx, nullptr);
  const std::u16string ini = PathSettingsFile(ctx);
  const std::string file = N(MachineFolder()) + "\\d0.rsr";
  WriteFileBytes(W(file), "[Desk ,2,]\r\nk=0\r\n");
  SetIniKey(ini, "Desk ,2,", "Count", "1");
  SetIniKey(ini, "Desk ,2,", "PresetList0", file);
  SetIniKey(ini, "Desk ,2,", "PresetList0Name", "desk preset");
  SYSTEMTIME t = At(10, 20, 30);
  ASSERT_TRUE(SimSetLocalTime(&t));
  const std::u16string chosen = MachineFolder() + u"\\desk.rsr";
  WCHAR path[MAX_PATH];
  ASSERT_EQ(1, PackMakeName(chosen.c_str(), path, ctx));
  const std::u16string mainPack = path;
  EXPECT_EQ(1, PackExport(chosen.c_str(), path, ctx));
  EXPECT_EQ("1", IniKey(mainPack, lang_, "NumDeficonfiles"));
  const std::u16string preset = mainPack.substr(0, mainPack.rfind(u'\\')) + u"\\RM998Q60.rsd";
  EXPECT_EQ("0", IniKey(preset, lang_, "k"));
  EXPECT_EQ("desk preset", IniKey(preset, lang_, "setname"));
  CtxRelease(ctx, kReleaseExpired);
}

TEST_F(PackageTest, ExportWritesEveryFileAndTheListRemovesThem) {
  MakeLists(11, 2);
  std::u16string chosen = MachineFolder() + u"\\mine.rsr", mainPack, after;
  // The counter ends in "Z": the quality files carry into the digit before it.
  ASSERT_EQ(1, Export(chosen, At(10, 20, 59), &mainPack, &after));
  std::u16string folder = mainPack.substr(0, mainPack.rfind(u'\\'));
  std::u16string list = MachineFolder() + u"\\mine.lst";
  EXPECT_EQ(N(list), N(after)) << "the buffer holds the list file's path";
  std::vector<std::string> expected = {"RM998QZ0.rsd", "RM998QZ1.rsb", "RM998QZ1.rsd", "RM998QZ2.rsd",
                                       "RM998QZ3.rsd", "RM998QZ4.rsd", "RM998QZ5.rsd", "RM998QZ6.rsd",
                                       "RM998QZ7.rsd", "RM998QZ8.rsd", "RM998QZ9.rsd", "RM998QZA.rsd",
                                       "RM998R00.rsq", "RM998R01.rsq"};
  EXPECT_EQ(expected, FolderLeaves(folder));

  EXPECT_EQ("11", IniKey(mainPack, lang_, "NumDeficonfiles"));
  EXPECT_EQ("%sysdir%RM998QZA.rsd", IniKey(mainPack, lang_, "Deficonfiles11"));
  EXPECT_EQ("%sysdir%RM998R01.rsq", IniKey(mainPack, lang_, "Defqualityfiles2"));
  EXPECT_EQ("10", IniKey(mainPack, lang_, "FreeSizeCount"));
  EXPECT_EQ("1", IniKey(mainPack, lang_, "StampCount"));
  WCHAR section[64];
  EXPECT_EQ("size9", IniKey(mainPack, N(FreeSizeSectionName(section, 64, 9, ctx_)), "Name"));
  EXPECT_EQ("Draft", IniKey(mainPack, N(StampSectionName(section, 64, 0, ctx_)), "Text"));
  EXPECT_NE("<absent>", IniKey(mainPack, lang_, "RstVersion"));
  EXPECT_EQ("ZEMS", IniKey(mainPack, "ScenarioInstallData", "DriverType"));
  EXPECT_EQ(N(list), IniKey(mainPack, "ScenarioInstallData", "DefaultRstName"));

  std::u16string tenth = folder + u"\\RM998QZ9.rsd";
  EXPECT_EQ("9", IniKey(tenth, lang_, "k"));
  EXPECT_EQ("preset 9", IniKey(tenth, lang_, "setname"));
  EXPECT_EQ("about 9", IniKey(tenth, lang_, "setcomment"));
  EXPECT_EQ("x", IniKey(tenth, "condition", "ConditionOption1_1"));
  EXPECT_EQ("1", IniKey(tenth, "ScenarioInstallData", "RstFileOSVersion"));
  EXPECT_EQ("quality 1", IniKey(folder + u"\\RM998R01.rsq", lang_, "qualityname"));

  EXPECT_EQ("1", IniKey(list, "ScenarioInstallData", "ORVELZEMSDriverFileList"));
  EXPECT_EQ(N(mainPack), IniKey(list, "ScenarioInstallData", "DefaultRst"));
  EXPECT_EQ(N(folder) + "\\RM998QZ0.rsd", IniKey(list, "ScenarioInstallData", "OtherFiles1"));
  EXPECT_EQ(N(folder) + "\\RM998R01.rsq", IniKey(list, "ScenarioInstallData", "OtherFiles13"));
  EXPECT_EQ("ZEMS", IniKey(chosen, "ScenarioInstallData", "DriverType")) << "the chosen file carries the header";

  EXPECT_EQ(1, PackDeleteByList(chosen.c_str(), ctx_));
  EXPECT_FALSE(FileThere(folder));
  EXPECT_FALSE(FileThere(list));
  EXPECT_TRUE(FileThere(chosen)) << "the settings file itself is not the package's";
}

// Events the setting-lock module is sent, with the path they carry.
std::vector<std::pair<int, std::string>> g_events;
int RecordEvent(DriverContext*, int event, void* argument, void*) {
  if (event == 63 || event == 64) g_events.push_back({event, N(static_cast<const WCHAR*>(argument))});
  return 0;
}

TEST_F(PackageTest, LockModuleIsToldAroundTheQualityFilesWhenASettingIsLocked) {
  MakeLists(1, 1);
  TestVariant().featureCount = 3;  // the setting-lock feature is built in
  ModBusFree(ctx_);
  UiModuleEntry row = {0, nullptr, nullptr, nullptr, RecordEvent};
  ASSERT_EQ(1, ModBusLoadRows(ctx_, &row, 1));
  std::u16string mainPack;
  for (LONG_PTR lockBit : {0, 1}) {
    g_events.clear();
    ItemSetRawById(ctx_, 10419, lockBit);  // a lock bit of the tray
    ASSERT_EQ(1, Export(MachineFolder() + u"\\locked.rsr", At(10, 20, 30), &mainPack));
    std::vector<std::pair<int, std::string>> expected;
    if (lockBit) expected = {{63, N(mainPack)}, {64, N(mainPack)}};
    EXPECT_EQ(expected, g_events) << "lock bit " << lockBit;
    ASSERT_EQ(1, PackDeleteByList((MachineFolder() + u"\\locked.rsr").c_str(), ctx_));
  }
  TestVariant().featureCount = 0;
  g_events.clear();
  ASSERT_EQ(1, Export(MachineFolder() + u"\\locked.rsr", At(10, 20, 30), &mainPack));
  EXPECT_TRUE(g_events.empty()) << "no events without the feature";
}

TEST_F(PackageTest, TooManyListsFailBeforeAnythingIsWritten) {
  struct Case {
    int presets, qualities;
    int result;
  } cases[] = {{16, 36, 1}, {17, 0, 0}, {0, 37, 0}};
  for (const Case& c : cases) {
    MakeLists(c.presets, c.qualities);
    std::u16string chosen = MachineFolder() + u"\\limits.rsr", mainPack;
    DeleteFileW(chosen.c_str());
    EXPECT_EQ(c.result, Export(chosen, At(10, 20, 30), &mainPack)) << c.presets << " " << c.qualities;
    EXPECT_EQ(c.result == 1, FileThere(chosen));
    EXPECT_EQ(1, PackRemoveFolder(mainPack.c_str(), ctx_));
  }
}

TEST_F(PackageTest, FullDiskFailsTheExport) {
  MakeLists(2, 1);
  std::u16string chosen = MachineFolder() + u"\\full.rsr", mainPack;
  SYSTEMTIME t = At(10, 20, 30);
  ASSERT_TRUE(SimSetLocalTime(&t));
  WCHAR path[MAX_PATH];
  ASSERT_EQ(1, PackMakeName(chosen.c_str(), path, ctx_));
  mainPack = path;
  SimSetDiskFull(2000);
  EXPECT_EQ(0, PackExport(chosen.c_str(), path, ctx_));
  SimSetDiskFull(-1);
  EXPECT_EQ(N(mainPack), N(path)) << "a failed export leaves the main pack's path for the removal";
  EXPECT_EQ(1, PackRemoveFolder(path, ctx_));
  EXPECT_FALSE(FileThere(mainPack.substr(0, mainPack.rfind(u'\\'))));
}

TEST_F(PackageTest, RemovalsStayInsideThePackageFolder) {
  // A crafted list naming a folder outside "zems" deletes nothing, not even itself.
  WriteFileBytes(u"C:\\victim\\R0000001.rsb", "v");
  WriteFileBytes(u"C:\\victim\\notes.txt", "v");
  std::string victimList = "[ScenarioInstallData]\r\nDefaultRst=C:\\victim\\R0000001.rsb\r\n"
                           "OtherFiles1=C:\\victim\\notes.txt\r\n";
  std::string climbList = "[ScenarioInstallData]\r\nDefaultRst=" + N(Zems()) + "\\..\\..\\victim\\R0000001.rsb\r\n";
  // A file directly in "zems" is no package's either.
  WriteFileBytes(Zems() + u"\\R0000001.rsb", "z");
  std::string zemsList = "[ScenarioInstallData]\r\nDefaultRst=" + N(Zems()) + "\\.\\R0000001.rsb\r\n";
  for (const std::string& text : {victimList, climbList, zemsList}) {
    WriteFileBytes(u"C:\\out\\crafted.lst", text);
    EXPECT_EQ(1, PackDeleteByList(u"C:\\out\\crafted.rsr", ctx_));
    EXPECT_TRUE(FileThere(u"C:\\victim\\R0000001.rsb"));
    EXPECT_TRUE(FileThere(u"C:\\victim\\notes.txt"));
    EXPECT_TRUE(FileThere(u"C:\\out\\crafted.lst"));
    EXPECT_TRUE(FileThere(Zems() + u"\\R0000001.rsb"));
  }
  EXPECT_EQ(0, PackRemoveFolder(u"C:\\victim\\R0000001.rsb", ctx_));
  EXPECT_TRUE(FileThere(u"C:\\victim\\R0000001.rsb"));

  // A package folder: only the files of the package's names go, the list's other names stay.
  MakeLists(1, 0);
  std::u16string chosen = MachineFolder() + u"\\own.rsr", mainPack;
  ASSERT_EQ(1, Export(chosen, At(10, 20, 30), &mainPack));
  std::u16string folder = mainPack.substr(0, mainPack.rfind(u'\\'));
  WriteFileBytes(folder + u"\\user notes.txt", "mine");
  EXPECT_EQ(0, PackRemoveFolder(mainPack.c_str(), ctx_)) << "the folder stays while it holds other files";
  EXPECT_EQ(std::vector<std::string>{"user notes.txt"}, FolderLeaves(folder));
}

}  // namespace
}  // namespace zems_test
