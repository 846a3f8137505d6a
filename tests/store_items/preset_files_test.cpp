// Preset files: the condition grammar over a stub lookup and over the sample model's judges,
// the driver and watermark tests, path tokens, the guard of written paths, copying, and the
// section finder of the ini text.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "core/common/os_tests.h"
#include "core/items/item_access.h"
#include "core/store/preset_files.h"
#include "core/store/preset_store.h"
#include "core/store/settings_file.h"
#include "core/system/driver_paths.h"
#include "core/system/printer_names.h"
#include "core/system/settings_folders.h"
#include "platform/sim.h"
#include "store_items/list_store_fixture.h"

namespace zems_test {
namespace {

void StrCopyForTest(WCHAR* buffer, const char16_t* text) {
  std::u16string s(text);
  std::copy(s.begin(), s.end(), buffer);
  buffer[s.size()] = 0;
}

// "T" holds, "F" does not, anything else is no value symbol.
int Stub(const char* name, void*) {
  std::string n(name);
  return n == "T" ? 1 : n == "F" ? 0 : -1;
}

TEST(PresetConditions, OneLine) {
  struct Case {
    const char* line;
    int start, result;
  };
  const Case cases[] = {
      {"T", 1, 1},          {"F", 1, 0},           {"!F", 1, 1},          {"!T", 1, 0},
      {"X", 1, 0},          {"!X", 1, 0},          {"F & T | T", 1, 0},   {"T & F | T", 1, 1},
      {"T & F | F", 1, 0},  {"T & T | F", 1, 1},   {"T | F", 1, 1},       {"F | T", 1, 1},
      {"F | F", 1, 0},      {"F|T", 0, 1},         {"T|T&F", 1, 0},       {"  T\t&\tT  ", 1, 1},
      {"! ", 1, 1},         {"! ", 0, 0},          {"", 0, 0},            {"", 1, 1},
      {"! T", 1, 1},        {"T & ! T", 1, 1},     {"X | T", 1, 1},       {"X & T", 1, 0},
  };
  for (const Case& c : cases)
    EXPECT_EQ(PresetEvalConditionLine(c.line, c.start, Stub, nullptr), c.result) << "'" << c.line << "' from " << c.start;
  std::string longName(300, 'T');
  EXPECT_EQ(PresetEvalConditionLine(longName.c_str(), 1, Stub, nullptr), 0) << "a name above 260 bytes is no symbol";
}

class PresetFilesTest : public ListStoreTest {
 protected:
  std::u16string ConditionFile(const std::vector<std::pair<std::string, std::string>>& keys) {
    std::string text = "[condition]\r\n";
    for (const auto& kv : keys) text += kv.first + "=" + kv.second + "\r\n";
    std::u16string path = FilePath(u"cond.rst");
    WriteBytes(path, text);
    return path;
  }
  std::u16string Fixture(const char* name) {
    std::u16string path = FilePath(std::u16string(name, name + strlen(name)).c_str());
    std::ifstream in(SourceDir() + "/tests/fixtures/store/" + name, std::ios::binary);
    WriteBytes(path, std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>()));
    return path;
  }
};

TEST_F(PresetFilesTest, GroupsAndLines) {
  struct Case {
    const char* what;
    std::vector<std::pair<std::string, std::string>> keys;
    int result;
  };
  const Case cases[] = {
      {"no condition", {}, 1},
      {"lines are alternatives", {{"ConditionOption0_0", "F"}, {"ConditionOption0_1", "T"}}, 1},
      {"a group of false lines", {{"ConditionOption0_0", "F"}, {"ConditionOption0_1", "X"}}, 0},
      {"a gap ends the group", {{"ConditionOption0_0", "F"}, {"ConditionOption0_2", "T"}}, 0},
      {"groups must all hold", {{"ConditionOption0_0", "T"}, {"ConditionOption1_0", "F"}}, 0},
      {"a group without lines", {{"ConditionOption1_0", "T"}, {"ConditionOption2_0", "T | F"}}, 1},
      {"a bang alone holds", {{"ConditionOption0_0", "! "}}, 1},
      {"a bang alone later changes nothing", {{"ConditionOption0_0", "F"}, {"ConditionOption0_1", "! "}}, 0},
      {"the first false group ends it", {{"ConditionOption0_0", "F"}, {"ConditionOption1_0", "T"}}, 0},
      {"group 9", {{"ConditionOption9_9", "F"}, {"ConditionOption9_0", "T"}}, 1},
  };
  for (const Case& c : cases) EXPECT_EQ(PresetEvalConditionsWith(ConditionFile(c.keys).c_str(), Stub, nullptr), c.result) << c.what;
  EXPECT_EQ(PresetEvalConditionsWith(FilePath(u"missing.rst").c_str(), Stub, nullptr), 1);
}

TEST_F(PresetFilesTest, TheSampleModelsJudgesTellTheInstalledOptions) {
  std::u16string file = Fixture("duplex_feeder.rst");
  struct Case {
    int duplex, feeders;
    int result;
  };
  const Case cases[] = {{0, 0, 0}, {1, 0, 0}, {1, 1, 1}, {1, 2, 1}, {0, 2, 0}};
  for (const Case& c : cases) {
    SetRaw(10014, c.duplex);
    SetRaw(10023, c.feeders ? 1 : 0);
    SetRaw(10110, c.feeders);
    EXPECT_EQ(PresetEvalConditions(file.c_str(), ctx()), c.result) << c.duplex << " " << c.feeders;
  }
  std::u16string unknown = Fixture("unknown_option.rsq");
  SetRaw(10014, 1);
  EXPECT_EQ(PresetEvalConditions(unknown.c_str(), ctx()), 1) << "an unknown name is false, the duplex unit holds";
  SetRaw(10014, 0);
  EXPECT_EQ(PresetEvalConditions(unknown.c_str(), ctx()), 0);
}

TEST_F(PresetFilesTest, TheDriverAndWatermarkTests) {
  std::u16string file = Fixture("duplex_feeder.rst");
  EXPECT_EQ(PresetIsEnabledForDriver(file.c_str(), ctx()), 1);
  ASSERT_TRUE(WritePrivateProfileStringW(u"disable", PrnGetDriverName(ctx()), u"1", file.c_str()));
  EXPECT_EQ(PresetIsEnabledForDriver(file.c_str(), ctx()), 0);

  std::u16string rsr = FilePath(u"w.rsr"), rsd = FilePath(u"w.rsd"), rst = FilePath(u"w.rst");
  SetRaw(540, 0);
  EXPECT_EQ(PresetWatermarkFuncAllows(rst.c_str(), ctx()), 1) << "tint block off";
  SetRaw(540, 1);
  EXPECT_EQ(PresetWatermarkFuncAllows(rst.c_str(), ctx()), 0);
  EXPECT_EQ(PresetWatermarkFuncAllows(rsr.c_str(), ctx()), 1) << "absent";
  ASSERT_TRUE(WritePrivateProfileStringW(u"Office", u"zdmFuncSelectWaterMark", u"1", rsr.c_str()));
  EXPECT_EQ(PresetWatermarkFuncAllows(rsr.c_str(), ctx()), 0);
  ASSERT_TRUE(WritePrivateProfileStringW(u"us", u"zdmFuncSelectWaterMark", u"0", rsd.c_str()));
  EXPECT_EQ(PresetWatermarkFuncAllows(rsd.c_str(), ctx()), 1);
}

TEST_F(PresetFilesTest, PathTokens) {
  const std::u16string driver = PathGetDriverDir(ctx());
  WCHAR machine[260], windows[260], system[260];
  ASSERT_GT(PathGetMachineSettingsFolder(machine, 260, ctx()), 0);
  OsGetSystemWindowsDir(windows, 260);
  ASSERT_GT(OsGetSystemDir(system, 260, ctx()), 0u);
  auto join = [](std::u16string folder, const std::u16string& rest) {
    while (!folder.empty() && folder.back() == u'\\') folder.pop_back();
    return folder + u"\\" + rest;
  };
  struct Case {
    const char16_t* value;
    int flag;
    std::u16string nt5, nt4;
  };
  std::u16string systemText(system);
  const std::u16string up = join(systemText.substr(0, systemText.rfind(u'\\')), u"x.rst");
  const Case cases[] = {
      {u"D:\\p\\x.rst", 1, u"D:\\p\\x.rst", u"D:\\p\\x.rst"},
      {u"%windir%\\x.rst", 1, join(driver, u"x.rst"), join(windows, u"x.rst")},
      {u"%WINDIR%x.rst", 1, join(driver, u"x.rst"), join(windows, u"x.rst")},
      {u"%windir%\\x.rst", 0, join(windows, u"x.rst"), join(windows, u"x.rst")},
      {u"%sysdir%x.rst", 1, join(machine, u"x.rst"), join(system, u"x.rst")},
      {u"%SysDir%\\x.rst", 1, join(machine, u"x.rst"), join(system, u"x.rst")},
      {u"%sysdir%\\x.rst", 0, join(system, u"x.rst"), join(system, u"x.rst")},
      {u".\\x.rst", 1, join(driver, u"x.rst"), join(system, u"x.rst")},
      {u".\\x.rst", 0, join(system, u"x.rst"), join(system, u"x.rst")},
      {u"x.rst", 1, join(driver, u"x.rst"), join(system, u"x.rst")},
      {u"x.rst", 0, join(system, u"x.rst"), join(system, u"x.rst")},
      {u"..\\x.rst", 1, up, up},
  };
  for (int nt5 : {1, 0}) {
    SetWindowsVersion(nt5 ? 5 : 4, 0);
    OsForgetVersionAnswer();
    for (const Case& c : cases) {
      WCHAR buffer[260];
      StrCopyForTest(buffer, c.value);
      ASSERT_EQ(PresetResolvePath(buffer, 260, c.flag, ctx()), 1) << Narrow(c.value);
      EXPECT_EQ(std::u16string(buffer), nt5 ? c.nt5 : c.nt4) << Narrow(c.value) << " flag " << c.flag << " nt5 " << nt5;
    }
  }
  SetWindowsVersion(5, 1);
  OsForgetVersionAnswer();
  std::u16string tooLong(260, u'a');
  WCHAR buffer[600];
  StrCopyForTest(buffer, tooLong.c_str());
  EXPECT_EQ(PresetResolvePath(buffer, 600, 1, ctx()), 0);
  StrCopyForTest(buffer, u"x.rst");
  EXPECT_EQ(PresetResolvePath(buffer, 8, 1, ctx()), 0) << "the result does not fit";
  EXPECT_EQ(std::u16string(buffer), u"x.rst");
  StrCopyForTest(buffer, u"%sysdir%readme");
  EXPECT_EQ(PresetResolveListPath(buffer, 600, ctx()), 0) << "no short extension";
  StrCopyForTest(buffer, u"pack.ini");
  EXPECT_EQ(InstallResolveFilePath(buffer, 600, ctx()), 1);
  StrCopyForTest(buffer, u"data.ini");
  EXPECT_EQ(PathResolveInDriverFolder(buffer, 600, ctx()), 1);
  EXPECT_EQ(std::u16string(buffer), join(driver, u"data.ini"));
}

// A user may edit the settings ini and the packs: a save writes only settings files of the
// printer's settings folders; the install pass also the driver's own pack files; the model data
// file's install files also the Windows directory.
TEST_F(PresetFilesTest, WrittenPathsStayInTheDriversFolders) {
  const std::u16string driver = PathGetDriverDir(ctx());
  WCHAR windows[260], system[260];
  OsGetSystemWindowsDir(windows, 260);
  OsGetSystemDir(system, 260, ctx());
  const std::u16string settings = FilePath(u"");
  struct Case {
    std::u16string path;
    int settingsTarget, driverTarget, installFile;
  };
  const Case cases[] = {
      {settings + u"user0001.rst", 1, 1, 1},
      {settings + u"sub\\q.RSQ", 1, 1, 1},
      {driver + u"zemsdef.rsd", 0, 1, 1},
      {driver + u"x.ini", 0, 0, 1},
      {std::u16string(windows) + u"\\x.ini", 0, 0, 1},
      {std::u16string(windows) + u"\\win.ini", 0, 0, 1},
      {std::u16string(system) + u"\\x.rst", 0, 0, 1},
      {settings + u"x.ini", 0, 0,0},
      {u"C:\\elsewhere\\x.rst", 0, 0, 0},
      {settings + u"..\\..\\x.rst", 0, 0, 0},
      {settings + u"sub\\..\\x.rst", 0, 0, 0},
      {settings + u".\\x.rst", 0, 0,0},
      {settings + u"sub\\\\x.rst", 0, 0,0},
      {settings + u"x.rst.", 0, 0,0},
      {settings + u"x.rst::$DATA", 0, 0,0},
      {settings + u"sub/x.rst", 0, 0,0},
      {std::u16string(windows) + u"x\\a.rst", 0, 0, 0},
      {std::u16string(windows), 0, 0, 0},
      {u"x.rst", 0, 0, 0},
      {u"\\\\server\\share\\x.rst", 0, 0, 0},
      {u"", 0, 0, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(Narrow(c.path));
    EXPECT_EQ(StorePathIsSettingsTarget(c.path.c_str(), ctx()), c.settingsTarget);
    EXPECT_EQ(StorePathIsDriverTarget(c.path.c_str(), ctx()), c.driverTarget);
    EXPECT_EQ(StorePathIsInstallFileTarget(c.path.c_str(), ctx()), c.installFile);
  }
}

TEST_F(PresetFilesTest, CopyingAPresetFile) {
  std::u16string source = FilePath(u"factory.rsd");
  SetRaw(kPresetItem, 8);
  ASSERT_EQ(StoreSaveSettingsFile(office_, source.c_str(), kStoreFilePreset | kStoreFilePackageMain, ctx()), 1);
  ASSERT_TRUE(WritePrivateProfileStringW(u"condition", u"ConditionOption0_0", u"CONDITIONOPTION_FEEDER", source.c_str()));
  ASSERT_TRUE(WritePrivateProfileStringW(u"us", u"Readonly", u"1", source.c_str()));
  std::u16string target = FilePath(u"copy.rst");
  ASSERT_TRUE(WritePrivateProfileStringW(u"disable", u"Old", u"1", target.c_str()));
  SetRaw(kPresetItem, 2);
  ASSERT_EQ(PresetCopyFile(target.c_str(), source.c_str(), kStoreFilePreset, ctx()), 1);
  EXPECT_EQ(Raw(kPresetItem), 2) << "the settings are put back";
  EXPECT_EQ(Section(target, "condition")["ConditionOption0_0"], "CONDITIONOPTION_FEEDER");
  EXPECT_FALSE(HasSection(target, "disable"));
  EXPECT_EQ(Section(target, "Office")["zdmMarkPaperType"], "8");
  EXPECT_EQ(Section(target, "Office")["Readonly"], "1");

  // No language section, a missing source, a target outside the driver's folders: nothing.
  std::u16string bare = FilePath(u"bare.rsd");
  WriteBytes(bare, "[condition]\r\nConditionOption0_0=T\r\n");
  std::u16string other = FilePath(u"other.rst");
  EXPECT_EQ(PresetCopyFile(other.c_str(), bare.c_str(), kStoreFilePreset, ctx()), 0);
  EXPECT_EQ(PresetCopyFile(other.c_str(), FilePath(u"none.rsd").c_str(), kStoreFilePreset, ctx()), 0);
  EXPECT_EQ(PresetCopyFile(u"C:\\elsewhere\\x.rst", source.c_str(), kStoreFilePreset, ctx()), 0);
  EXPECT_FALSE(std::filesystem::exists(SimHostPath(other.c_str())));
  EXPECT_FALSE(std::filesystem::exists(SimHostPath(u"C:\\elsewhere\\x.rst")));
}

TEST_F(PresetFilesTest, ReadingNamesAndTwins) {
  std::u16string file = Fixture("unknown_option.rsq");
  WCHAR name[260];
  QualityReadName(file.c_str(), u"us", name);
  EXPECT_EQ(std::u16string(name), u"Fine");
  WCHAR target[260];
  ASSERT_EQ(QualityRsqPath(target, 260, u"D:\\packs\\fine.rsr", ctx()), 1);
  EXPECT_EQ(std::u16string(target), FilePath(u"fine.rsq"));
  ASSERT_EQ(PresetRsdPath(target, u"D:\\packs\\fine.rsr", 260), 1);
  EXPECT_EQ(std::u16string(target), u"D:\\packs\\fine.rsd");
  EXPECT_EQ(IniKeyIsSet(file.c_str(), u"us", u"qualityname"), 0);
  ASSERT_TRUE(WritePrivateProfileStringW(u"us", u"n", u"3", file.c_str()));
  EXPECT_EQ(IniKeyIsSet(file.c_str(), u"us", u"n"), 1);
}

std::string Narrow16(const char16_t* s) { return std::string(s, s + std::char_traits<char16_t>::length(s)); }

TEST(IniText, FindSection) {
  const std::string text = "x=1\r\n[Alpha]\r\na=1\r\n[alphabet]\r\nb=2\r\n [Beta]\r\n[BETA]\r\nc=3\r\n";
  struct Case {
    const char16_t* name;
    LONG position;
    DWORD length;
  };
  const Case cases[] = {{u"alpha", 5, 14}, {u"ALPHABET", 19, 26}, {u"beta", 45, 13}, {u"gamma", -1, 0}, {u"alph", -1, 0}};
  for (const Case& c : cases) {
    DWORD length = 0;
    EXPECT_EQ(IniFindSection(c.name, text.data(), DWORD(text.size()), &length), c.position);
    if (c.position >= 0) {
      EXPECT_EQ(length, c.length) << Narrow16(c.name);
    }
  }
}

}  // namespace
}  // namespace zems_test
