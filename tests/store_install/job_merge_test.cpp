// The job-merge, preview and pack keys of the printer's settings ini, and the copy of the
// factory stores of the model data file into a printer's settings ini.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/context/module_bus.h"
#include "core/context/ui_state.h"
#include "core/install/install_ini_defaults.h"
#include "core/system/settings_folders.h"
#include "platform/sim.h"
#include "store_install/install_fixture.h"

namespace {

using zems_test::InstallTest;

const char16_t kAbsent[] = u"<absent>";

struct SeenEvent {
  std::u16string source;
  std::u16string target;
  DWORD current;
};
std::vector<SeenEvent> g_events;

int RecordEvent(DriverContext*, int event, void* argument, void*) {
  if (event == kEventFactoryStoresCopied) {
    const InstFactoryCopyEvent* e = static_cast<const InstFactoryCopyEvent*>(argument);
    g_events.push_back({e->source, e->target, e->targetCurrent});
  }
  return 0;
}

class JobMergeTest : public InstallTest {
 protected:
  std::u16string Key(const char16_t* key) { return IniGet(SettingsIni(), Printer(), key); }
  void SetKey(const char16_t* key, const char16_t* value) { IniSet(SettingsIni(), Printer(), key, value); }
};

TEST_F(JobMergeTest, OperationZeroTakesTheModelDataFilesKeys) {
  EXPECT_EQ(InstWriteJobMergeKeys(ctx(), 0, nullptr), 1);
  EXPECT_EQ(Key(u"MergeKey"), u"ZemsJobMerge");
  EXPECT_EQ(Key(u"MergeFilePath"), u"");
  EXPECT_EQ(Key(u"DrvDefJobMergeFileExt"), u"omp");
  EXPECT_EQ(Key(u"APIAPLInfo"), u"");
  EXPECT_EQ(Key(u"PresetRefresh"), u"0");
  EXPECT_EQ(Key(u"DefaultRst"), kAbsent) << "pack keys are not model keys";
  DWORD refresh = 1;
  ASSERT_EQ(SetPrinterDataW(office_, Text(u"PresetRefresh"), REG_BINARY, reinterpret_cast<LPBYTE>(&refresh), 4),
            DWORD(ERROR_SUCCESS));
  EXPECT_EQ(InstWriteJobMergeKeys(ctx(), 0, nullptr), 1);
  EXPECT_EQ(Key(u"PresetRefresh"), u"1");
}

// The two folder keys are read under their name followed by "2k" (Windows 2000 and later) or
// "nt" (before).
TEST_F(JobMergeTest, TheFolderKeysCarryTheSystemsSuffix) {
  struct Case {
    DWORD major, minor;
    const char16_t* preview;
  } cases[] = {{5, 1, u"C:\\Documents and Settings\\All Users\\_zems\\PREVIEW"},
               {4, 0, u"C:\\WINNT\\system32\\orvel\\_zems\\PREVIEW"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.major);
    SetWindowsVersion(c.major, c.minor);
    EXPECT_EQ(InstWriteJobMergeKeys(ctx(), 0, nullptr), 1);
    EXPECT_EQ(Key(u"DrvDefPreviewPath"), c.preview);
  }
}

TEST_F(JobMergeTest, TheUpgradeFormKeepsUserValuesOnlyWhereTheModelHasOne) {
  struct Case {
    const char16_t* modelValue;  // "MergeFilePath" of the model data file
    const char16_t* after;
  } cases[] = {{u"", u""}, {u"C:\\model", u"C:\\mine"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(zems_test::Narrow16(c.modelValue));
    IniSet(DataFile(), u"us", u"MergeFilePath", c.modelValue);
    SetKey(u"MergeFilePath", u"C:\\mine");
    SetKey(u"MergeKey", u"Mine");
    SetKey(u"PresetRefresh", u"0");
    EXPECT_EQ(InstWriteJobMergeKeys(ctx(), 2, nullptr), 1);
    EXPECT_EQ(Key(u"MergeFilePath"), c.after);
    EXPECT_EQ(Key(u"MergeKey"), u"Mine") << "the model has a value: the user's stays";
    EXPECT_EQ(Key(u"PresetRefresh"), u"1");
  }
}

TEST_F(JobMergeTest, PackOperationsWriteTheirKindsOnly) {
  struct Case {
    int operation;
    const char16_t* text;
    int result;
    const char16_t* defaultRst;
    const char16_t* batch;
  } cases[] = {
      {1, u"C:\\pack.rst", 1, u"C:\\pack.rst", kAbsent},
      {1, nullptr, 0, kAbsent, kAbsent},
      {3, u"C:\\three.rst", 1, u"C:\\three.rst", u"C:\\three.rst"},
      {4, u"C:\\four.rst", 1, kAbsent, u"C:\\four.rst"},
      {5, u"C:\\five.rst", 1, kAbsent, kAbsent},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.operation);
    SetKey(u"DefaultRst", nullptr);
    SetKey(u"BatchInstRst", nullptr);
    EXPECT_EQ(InstWriteJobMergeKeys(ctx(), c.operation, c.text), c.result);
    EXPECT_EQ(Key(u"DefaultRst"), c.defaultRst);
    EXPECT_EQ(Key(u"BatchInstRst"), c.batch);
  }
  // A null text deletes the keys of the kind.
  SetKey(u"DefaultRst", u"x");
  SetKey(u"BatchInstRst", u"y");
  EXPECT_EQ(InstWriteJobMergeKeys(ctx(), 3, nullptr), 1);
  EXPECT_EQ(Key(u"DefaultRst"), kAbsent);
  EXPECT_EQ(Key(u"BatchInstRst"), kAbsent);
}

TEST_F(JobMergeTest, TheUserJobFoldersLieInTheUserSettingsFolder) {
  UseStandIn("UserEnv.dll", "userenv");
  SetEnvironmentVariableW(u"USERPROFILE", u"C:\\Users\\ann");
  EXPECT_EQ(InstWriteUserJobFolders(office_), 0) << "the user's settings folder does not exist yet";
  ASSERT_TRUE(CreateDirectoryW(u"C:\\Users", nullptr) && CreateDirectoryW(u"C:\\Users\\ann", nullptr) &&
              CreateDirectoryW(u"C:\\Users\\ann\\_zems", nullptr));
  ASSERT_EQ(InstWriteUserJobFolders(office_), 1);
  WCHAR ini[MAX_PATH];
  ASSERT_TRUE(PathSettingsFileOf(ini, MAX_PATH, 1, office_));
  EXPECT_EQ(IniGet(ini, Printer(), u"DrvDefJobMergePath"), u"C:\\Users\\ann\\_zems\\OMP");
  EXPECT_EQ(IniGet(ini, Printer(), u"DrvDefPreviewPath"), u"C:\\Users\\ann\\_zems\\PREVIEW");
}

// A disk that fills while the keys are written: the settings ini stays whole and the result
// reports the failure.
TEST_F(JobMergeTest, AFullDiskIsReportedAndTheSettingsIniStaysWhole) {
  SetKey(u"MergeKey", u"Before");
  const std::string before = ReadFile(SettingsIni());
  SimSetDiskFull(0);
  EXPECT_EQ(InstWriteJobMergeKeys(ctx(), 0, nullptr), 0);
  EXPECT_EQ(InstWriteJobMergeKeys(ctx(), 1, u"C:\\pack.rst"), 0);
  SimSetDiskFull(-1);
  EXPECT_EQ(ReadFile(SettingsIni()), before);
  SimSetDiskFull(600);
  InstWriteJobMergeKeys(ctx(), 0, nullptr);
  SimSetDiskFull(-1);
  std::u16string key = Key(u"MergeKey");
  EXPECT_TRUE(key == u"Before" || key == u"ZemsJobMerge") << zems_test::Narrow16(key);
}

class FactoryCopyTest : public InstallTest {
 protected:
  void SetUp() override {
    InstallTest::SetUp();
    g_events.clear();
    UiModuleEntry row = {};
    row.event = RecordEvent;
    rows_[0] = row;
    ModBusFree(ctx());  // the open's own table gives way to the recording one
    ASSERT_EQ(ModBusLoadRows(ctx(), rows_, 1), 1);
    info_.pPrinterName = Text(u"Office");
    target_ = SettingsIni();
  }
  void TearDown() override {
    if (ctx()) ModBusFree(ctx());
    InstallTest::TearDown();
  }

  UiModuleEntry rows_[1];
  PRINTER_INFO_2 info_ = {};
  std::u16string target_;
};

TEST_F(FactoryCopyTest, AnEmptySettingsIniGetsTheFactoryStores) {
  DeleteFileW(target_.c_str());
  // A section's "RstVersion" is copied only when the model data file gives one.
  IniSet(DataFile(), u"FreeSize0us", u"RstVersion", u"322");
  IniSet(DataFile(), u"FreeSize1us", u"RstVersion", nullptr);
  EXPECT_EQ(InstCopyLanguageStores(target_.c_str(), DataFile().c_str(), ctx(), &info_), 1);
  EXPECT_EQ(IniGet(target_, u"us", u"FreeSizeCount"), u"10");
  for (int n = 0; n < 10; ++n) {
    std::string number = std::to_string(n);
    std::u16string section = u"FreeSize" + std::u16string(number.begin(), number.end()) + u"us";
    EXPECT_NE(IniGet(DataFile(), section, u"wdmFreeSizeName"), kAbsent) << n;
    for (const char16_t* key : {u"wdmFreeSizeName", u"wdmFreeSizeWidth", u"wdmFreeSizeLength", u"wdmFreeSizeTray",
                                u"wdmFreeSizeOrient"})
      EXPECT_EQ(IniGet(target_, section, key), IniGet(DataFile(), section, key)) << n;
  }
  EXPECT_EQ(IniGet(target_, u"FreeSize0us", u"RstVersion"), u"322");
  EXPECT_EQ(IniGet(target_, u"FreeSize1us", u"RstVersion"), kAbsent);
  EXPECT_EQ(IniGet(target_, u"FreeSize10us", u"wdmFreeSizeName"), kAbsent);
  // The sample's two factory watermarks, one text and one image.
  EXPECT_EQ(IniGet(target_, u"us", u"StampCount"), u"2");
  EXPECT_EQ(IniGet(target_, u"Stamp0us", u"wdmWmCharName"), IniGet(DataFile(), u"Stamp0us", u"wdmWmCharName"));
  EXPECT_EQ(IniGet(target_, u"Stamp1us", u"wdmWmImage"), IniGet(DataFile(), u"Stamp1us", u"wdmWmImage"));
  EXPECT_EQ(IniGet(target_, u"Stamp2us", u"zdmWmKind"), kAbsent);
  EXPECT_EQ(IniGet(target_, u"Stamp0us", u"wdmWMFuncSelectOrder"), u"0");
  EXPECT_EQ(IniGet(target_, u"Stamp0us", u"wdmWmImage"), u"") << "written even when empty";
  EXPECT_EQ(IniGet(target_, u"us", u"RstVersion"), u"322");
  EXPECT_EQ(IniGet(target_, u"us", u"bIsBIDISupportForZEMSModel"), u"1");
  EXPECT_EQ(IniGet(target_, u"us", u"bIsBIDISupportForZEMSFont"), u"0");
  ASSERT_EQ(g_events.size(), 1u);
  EXPECT_EQ(g_events[0].source, DataFile());
  EXPECT_EQ(g_events[0].target, target_);
  EXPECT_EQ(g_events[0].current, 0u);
}

TEST_F(FactoryCopyTest, ACurrentLanguageSectionOnlySendsTheEvent) {
  IniSet(target_, u"us", u"RstVersion", u"321");
  EXPECT_EQ(InstCopyLanguageStores(target_.c_str(), DataFile().c_str(), ctx(), &info_), 1);
  EXPECT_EQ(IniGet(target_, u"us", u"FreeSizeCount"), kAbsent);
  EXPECT_EQ(IniGet(target_, u"us", u"RstVersion"), u"321");
  ASSERT_EQ(g_events.size(), 1u);
  EXPECT_EQ(g_events[0].current, 1u);
  // Without a printer name nothing happens.
  PRINTER_INFO_2 none = {};
  EXPECT_EQ(InstCopyLanguageStores(target_.c_str(), DataFile().c_str(), ctx(), &none), 0);
}

// Without the model data file the printer's counts stay: its watermarks and sizes are still
// listed after the upgrade.
TEST_F(FactoryCopyTest, AMissingModelDataFileLeavesTheCounts) {
  IniSet(target_, u"us", u"RstVersion", u"250");
  IniSet(target_, u"us", u"StampCount", u"3");
  IniSet(target_, u"us", u"FreeSizeCount", u"10");
  const std::u16string missing = DataFile() + u".gone";
  InstCopyLanguageStores(target_.c_str(), missing.c_str(), ctx(), &info_);
  EXPECT_EQ(IniGet(target_, u"us", u"StampCount"), u"3");
  EXPECT_EQ(IniGet(target_, u"us", u"FreeSizeCount"), u"10");
}

TEST_F(FactoryCopyTest, TheLanguageSectionIsOutdatedWhenItsMajorDiffers) {
  struct Case {
    const char16_t* version;  // null: no key
    int outdated;
    int missing;
  } cases[] = {{nullptr, 1, 1}, {u"322", 0, 0}, {u"321", 0, 0}, {u"399", 0, 0}, {u"250", 1, 0}, {u"", 1, 0}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.version ? zems_test::Narrow16(c.version) : "absent");
    IniSet(target_, u"us", u"RstVersion", c.version);
    int missing = -1;
    EXPECT_EQ(InstLangSectionOutdated(target_.c_str(), nullptr, &missing, ctx()), c.outdated);
    EXPECT_EQ(missing, c.missing);
  }
}

TEST_F(FactoryCopyTest, TheSettingsVersionIsCopiedEvenWhenEmpty) {
  IniSet(target_, u"us", u"RstVersion", u"250");
  EXPECT_EQ(InstCopySettingsVersion(target_.c_str(), DataFile().c_str(), ctx()), 1);
  EXPECT_EQ(IniGet(target_, u"us", u"RstVersion"), u"322");
  IniSet(DataFile(), u"us", u"RstVersion", nullptr);
  EXPECT_EQ(InstCopySettingsVersion(target_.c_str(), DataFile().c_str(), ctx()), 1);
  EXPECT_EQ(IniGet(target_, u"us", u"RstVersion"), u"");
}

TEST_F(FactoryCopyTest, ThePacksCustomSizesAndTheBatchMarkOfTheModelDataFile) {
  WriteFile(DriverFolder() + u"pack.rst", "[FreeSize0us]\r\nwdmFreeSizeName=Pack size\r\nwdmFreeSizeWidth=5000\r\n");
  IniSet(DataFile(), u"us", u"DefaultRst", u"pack.rst");
  HANDLE h = CreateFileW(DataFile().c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  FILETIME old = {0x11111111, 0x01D00000}, now = {};
  ASSERT_TRUE(SetFileTime(h, nullptr, nullptr, &old));
  CloseHandle(h);
  IniSet(target_, u"FreeSize0us", u"wdmFreeSizeLength", u"7000");
  EXPECT_EQ(InstCopyPackFreeSizes(target_.c_str(), DataFile().c_str(), ctx(), nullptr, 1), 1);
  EXPECT_EQ(IniGet(target_, u"FreeSize0us", u"wdmFreeSizeName"), u"Pack size");
  EXPECT_EQ(IniGet(target_, u"FreeSize0us", u"wdmFreeSizeWidth"), u"5000");
  EXPECT_EQ(IniGet(target_, u"FreeSize0us", u"wdmFreeSizeLength"), u"7000") << "no value in the pack: kept";
  EXPECT_EQ(IniGet(DataFile(), u"BatchInstallDone", u"BatchInstallDone"), u"1");
  h = CreateFileW(DataFile().c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_TRUE(GetFileTime(h, nullptr, nullptr, &now));
  CloseHandle(h);
  EXPECT_EQ(CompareFileTime(&old, &now), 0);
}

TEST_F(FactoryCopyTest, AMissingModelDataFileIsNeverCreated) {
  const std::u16string missing = DriverFolder() + u"missing.ini";
  for (int mode : {0, 1}) {
    EXPECT_EQ(InstCopyPackFreeSizes(target_.c_str(), missing.c_str(), ctx(), nullptr, mode), 0);
    EXPECT_FALSE(Exists(missing));
  }
  // No pack named: 0 as well, the model data file untouched.
  ASSERT_TRUE(WritePrivateProfileStringW(u"us", u"DefaultRst", nullptr, DataFile().c_str()));
  const std::string before = ReadFile(DataFile());
  EXPECT_EQ(InstCopyPackFreeSizes(target_.c_str(), DataFile().c_str(), ctx(), nullptr, 0), 0);
  EXPECT_EQ(ReadFile(DataFile()), before);
}

}  // namespace
