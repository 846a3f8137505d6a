// Presets and quality lists: applying (from the file, from the cache, the fallback to preset
// 0), saving and its refused targets, per-user files, names, and the refresh after an upgrade.
#include <gtest/gtest.h>

#include <map>
#include <string>

#include "core/context/ui_state.h"
#include "core/devmode/couplings.h"
#include "core/items/item_access.h"
#include "core/modules/preset_cache.h"
#include "core/store/preset_store.h"
#include "core/store/settings_file.h"
#include "core/system/driver_paths.h"
#include "platform/sim.h"
#include "store_items/list_store_fixture.h"
#include "support/test_variant.h"

namespace zems_test {
namespace {

class PresetStoreTest : public ListStoreTest {
 protected:
  // Preset n listed with a file of the settings folder, saved with the item at value.
  std::u16string MakePreset(int n, const char16_t* file, LONG value, const char16_t* name = u"name") {
    std::u16string path = FilePath(file);
    std::string key = "PresetList" + std::to_string(n);
    SetIniKey(PrinterName(), key, Narrow(path));
    SetRaw(kPresetItem, value);
    ItemSetText(ctx(), Row(925), name);
    EXPECT_EQ(PresetSaveSlot(ctx(), n), 1);
    if (n + 1 > PresetGetCount(ctx())) SetIniKey(PrinterName(), "Count", std::to_string(n + 1));
    return path;
  }
  std::string PresetName() { return std::string(PresetNameBuf(ctx())); }
};

TEST_F(PresetStoreTest, ApplyingReadsTheFileAndTheName) {
  MakePreset(0, u"base.rst", 1, u"Base");
  MakePreset(3, u"three.rst", 3, u"Three");
  SetRaw(kPresetItem, 0);
  PresetApplySlot(ctx(), 3);
  EXPECT_EQ(Raw(kPresetItem), 3);
  EXPECT_EQ(PresetName(), "Three");
  EXPECT_EQ(MessageBoxCount(), 0);
  PresetApplySlot(ctx(), 16);
  EXPECT_EQ(PresetName(), "") << "no slot empties the name";
}

TEST_F(PresetStoreTest, ADeletedFileClearsItsKeyAndAppliesPresetZeroWithOneBox) {
  MakePreset(0, u"base.rst", 1);
  std::u16string three = MakePreset(3, u"three.rst", 3);
  ASSERT_TRUE(DeleteFileW(three.c_str()));
  SetRaw(kPresetItem, 7);
  PresetApplySlot(ctx(), 3);
  EXPECT_EQ(IniKey(PrinterName(), "PresetList3"), "");
  EXPECT_EQ(Raw(kPresetItem), 1) << "preset 0 applied";
  EXPECT_EQ(MessageBoxCount(), 1);
}

TEST_F(PresetStoreTest, AMismatchingHeaderKeepsTheKey) {
  MakePreset(0, u"base.rst", 1);
  std::u16string three = MakePreset(3, u"three.rst", 3);
  std::u16string section = std::u16string(u"Office");
  ASSERT_TRUE(WritePrivateProfileStringW(section.c_str(), u"RstMachine", u"1", three.c_str()));
  SetRaw(kPresetItem, 7);
  PresetApplySlot(ctx(), 3);
  EXPECT_EQ(IniKey(PrinterName(), "PresetList3"), Narrow(three)) << "the file is still listed";
  EXPECT_EQ(Raw(kPresetItem), 1);
  EXPECT_EQ(MessageBoxCount(), 1);
}

TEST_F(PresetStoreTest, ThePlainFormKeepsAnUnloadablePresetsKeyAndTheSettings) {
  TestVariant().presetPlainApply = 1;
  MakePreset(0, u"base.rst", 1, u"Base");
  std::u16string three = MakePreset(3, u"three.rst", 3, u"Three");
  ASSERT_TRUE(DeleteFileW(three.c_str()));
  SetRaw(kPresetItem, 7);
  ItemSetText(ctx(), Row(925), u"Before");
  PresetApplySlot(ctx(), 3);
  EXPECT_EQ(IniKey(PrinterName(), "PresetList3"), Narrow(three)) << "the key stays";
  EXPECT_EQ(Raw(kPresetItem), 7) << "neither the file nor preset 0 was applied";
  EXPECT_NE(CtxGetFileStatus(ctx()), kFileStatusOk) << "the failed load is reported by the status";
  EXPECT_EQ(MessageBoxCount(), 0);
  // A loadable preset applies its settings; the cache is not consulted.
  MakePreset(2, u"two.rst", 2, u"Two");
  SetRaw(kPresetItem, 0);
  PresetApplySlot(ctx(), 2);
  EXPECT_EQ(Raw(kPresetItem), 2);
  EXPECT_EQ(CtxGetFileStatus(ctx()), kFileStatusOk);
  ASSERT_TRUE(WritePrivateProfileStringW(u"Office", u"zdmMarkPaperType", u"9", FilePath(u"two.rst").c_str()));
  PresetApplySlot(ctx(), 2);
  EXPECT_EQ(Raw(kPresetItem), 9) << "read from the file again";
  // A slot outside 0-15 does nothing, not even clearing the preset name.
  WCHAR before[40] = {}, after[40] = {};
  ItemGetTextBounded(ctx(), Row(925), before, 40);
  ASSERT_NE(before[0], 0);
  for (int n : {-1, 16}) {
    PresetApplySlot(ctx(), n);
    EXPECT_EQ(Raw(kPresetItem), 9) << n;
    ItemGetTextBounded(ctx(), Row(925), after, 40);
    EXPECT_EQ(std::u16string(after), std::u16string(before)) << n;
  }
}

TEST_F(PresetStoreTest, ASecondApplyComesFromTheCacheUntilASave) {
  MakePreset(0, u"base.rst", 1);
  std::u16string three = MakePreset(3, u"three.rst", 3);
  PresetApplySlot(ctx(), 3);
  // The file changes behind the context's back.
  ASSERT_TRUE(WritePrivateProfileStringW(u"Office", u"zdmMarkPaperType", u"9", three.c_str()));
  SetRaw(kPresetItem, 0);
  PresetApplySlot(ctx(), 3);
  EXPECT_EQ(Raw(kPresetItem), 3) << "from the cache";
  SetRaw(kPresetItem, 5);
  ASSERT_EQ(PresetSaveSlot(ctx(), 0), 1);
  ASSERT_TRUE(WritePrivateProfileStringW(u"Office", u"zdmMarkPaperType", u"9", three.c_str()));
  SetRaw(kPresetItem, 0);
  PresetApplySlot(ctx(), 3);
  EXPECT_EQ(Raw(kPresetItem), 9) << "a save frees the cache: the file is read";
}

TEST_F(PresetStoreTest, TheCacheRestoresOnlyTheGroupsAndOnlyABitItemsOwnBit) {
  PresetCacheOp(ctx(), u"PresetList2", kPresetCacheSave);
  SetRaw(60, 1);
  SetRaw(kPresetItem, 4);
  SetRaw(62, 1);  // a bit of the same unit outside the groups
  const LONG_PTR other = Raw(62);
  EXPECT_EQ(PresetCacheOp(ctx(), u"PresetList2", kPresetCacheRestore), 1);
  EXPECT_EQ(Raw(60), 0);
  EXPECT_EQ(Raw(kPresetItem), 0);
  EXPECT_EQ(Raw(62), other);
  EXPECT_EQ(PresetCacheOp(ctx(), u"PresetList3", kPresetCacheRestore), 0);
  EXPECT_EQ(PresetCacheOp(ctx(), u"Other", kPresetCacheSave), 0);
  PresetCacheOp(ctx(), nullptr, kPresetCacheFreeAll);
  EXPECT_EQ(PresetCacheOp(ctx(), u"PresetList2", kPresetCacheRestore), 0);
}

TEST_F(PresetStoreTest, NewUserFilesTakeTheFirstFreeNumber) {
  std::u16string header = u"RstMachine";
  for (const char16_t* taken : {u"user0000.rst", u"user0001.rst"})
    ASSERT_TRUE(WritePrivateProfileStringW(u"Office", header.c_str(), u"5", FilePath(taken).c_str()));
  WCHAR path[261];
  ASSERT_EQ(PresetNewUserFile(ctx(), path, 261), 1);
  EXPECT_EQ(std::u16string(path), FilePath(u"user0002.rst"));
}

TEST_F(PresetStoreTest, AssigningAUserFile) {
  struct Case {
    const char* value;
    bool replaced;
  };
  const Case cases[] = {{"", true}, {"C:\\x\\factory.rsr", true}, {"C:\\x\\FACTORY.RSR", true},
                        {"ab", false}, {"C:\\x\\mine.rst", false}};
  for (const Case& c : cases) {
    SetIniKey(PrinterName(), "PresetList2", c.value);
    EXPECT_EQ(PresetAssignUserFile(ctx(), 2), 1) << c.value;
    std::string now = IniKey(PrinterName(), "PresetList2");
    if (c.replaced)
      EXPECT_EQ(now, Narrow(FilePath(u"user0000.rst"))) << c.value;
    else
      EXPECT_EQ(now, c.value);
  }
  // A key write that fails is reported, and the key keeps its value.
  SetIniKey(PrinterName(), "PresetList2", "");
  SimSetDiskFull(0);
  EXPECT_EQ(PresetAssignUserFile(ctx(), 2), 0);
  SimSetDiskFull(-1);
  EXPECT_EQ(IniKey(PrinterName(), "PresetList2"), "");
}

TEST_F(PresetStoreTest, NamesAreCutTo36BytesAndCommentsTo512) {
  SetIniKey(PrinterName(), "PresetList1Name", std::string(40, 'n'));
  SetIniKey(PrinterName(), "PresetList1Comment", std::string(600, 'c'));
  MakePreset(0, u"base.rst", 1);
  SetIniKey(PrinterName(), "PresetList1", Narrow(FilePath(u"base.rst")));
  PresetApplySlot(ctx(), 1);
  EXPECT_EQ(PresetName(), std::string(36, 'n'));
  EXPECT_EQ(std::string(PresetCommentBuf(ctx())), std::string(512, 'c'));
}

TEST_F(PresetStoreTest, SavesWriteOnlySettingsFiles) {
  struct Case {
    const char* path;
    bool written;
  };
  const std::string folder = Narrow(FilePath(u""));
  const Case cases[] = {{"x.rst", true},  {"x.RSQ", true},         {"x.rsb", true},       {"x.ini", false},
                        {"x.exe", false}, {"..\\x.rst", false},    {"sub\\..\\x.rst", false}, {"x", false}};
  for (const Case& c : cases) {
    std::string path = folder + c.path;
    SetIniKey(PrinterName(), "PresetList4", path);
    SetIniKey(PrinterName(), "QualityList1", path);
    int preset = PresetSaveSlot(ctx(), 4);
    EXPECT_EQ(preset, c.written ? 1 : 0) << c.path;
    if (!c.written) {
      EXPECT_EQ(CtxGetFileStatus(ctx()), LONG(ERROR_ACCESS_DENIED)) << c.path;
    }
    EXPECT_EQ(QualitySaveSlot(ctx(), 1), c.written ? 1 : 0) << c.path;
  }
}

// The settings ini is any user's to edit: a list entry naming a file outside the printer's
// settings folders is refused, and that file is left as it was.
TEST_F(PresetStoreTest, SavesNeverWriteOutsideTheSettingsFolders) {
  WCHAR windows[260];
  ASSERT_GT(GetWindowsDirectoryW(windows, 260), 0u);
  const std::u16string factory = std::u16string(PathGetDriverDir(ctx())) + u"zemsdef.rsd";
  const std::u16string winIni = std::u16string(windows) + u"\\win.ini";
  WriteBytes(factory, "[Office]\r\nfactory=1\r\n");
  WriteBytes(winIni, "[windows]\r\nload=\r\n");
  const std::string factoryBefore = ReadBytes(factory), winIniBefore = ReadBytes(winIni);
  for (const std::u16string& path :
       {factory, winIni, std::u16string(u"relative.rst"), std::u16string(u"\\\\server\\share\\x.rst"),
        FilePath(u"..\\x.rst"), std::u16string()}) {
    SCOPED_TRACE(Narrow(path));
    SetIniKey(PrinterName(), "PresetList4", Narrow(path));
    SetIniKey(PrinterName(), "QualityList1", Narrow(path));
    CtxSetFileStatus(ctx(), kFileStatusOk);
    EXPECT_EQ(PresetSaveSlot(ctx(), 4), 0);
    EXPECT_EQ(CtxGetFileStatus(ctx()), LONG(ERROR_ACCESS_DENIED));
    EXPECT_EQ(QualitySaveSlot(ctx(), 1), 0);
  }
  EXPECT_EQ(ReadBytes(factory), factoryBefore);
  EXPECT_EQ(ReadBytes(winIni), winIniBefore);
}

TEST_F(PresetStoreTest, ReadOnlyFiles) {
  std::u16string file = MakePreset(2, u"two.rst", 2);
  EXPECT_EQ(PresetSlotIsWritable(ctx(), 2), 1);
  ASSERT_TRUE(WritePrivateProfileStringW(u"Office", u"Readonly", u"1", file.c_str()));
  EXPECT_EQ(PresetSlotIsWritable(ctx(), 2), 0);
  EXPECT_EQ(PresetFileIsWritable(ctx(), file.c_str()), 0);
  EXPECT_EQ(PresetSlotIsWritable(ctx(), 16), 0);
}

TEST_F(PresetStoreTest, TheUpgradeRefreshKeepsTheUsersValuesAndReadOnly) {
  MakePreset(0, u"base.rst", 1);
  std::u16string user = MakePreset(1, u"mine.rsr", 6, u"Mine");
  ASSERT_TRUE(WritePrivateProfileStringW(u"Office", u"Readonly", u"1", user.c_str()));
  // The factory twin of the new driver carries an item the user's file lacks.
  std::u16string twin = FilePath(u"mine.rsd");
  std::u16string ini = SettingsIni();
  SetRaw(kPresetItem, 2);
  SetRaw(123, 1);
  ASSERT_EQ(StoreSaveSettingsFile(office_, twin.c_str(), kStoreFilePreset | kStoreFilePackageMain, ctx()), 1);
  ASSERT_TRUE(WritePrivateProfileStringW(u"Office", u"zdmMarkPaperType", u"6", user.c_str()));
  ASSERT_TRUE(WritePrivateProfileStringW(u"Office", u"zdmMPInputTray", nullptr, user.c_str()));
  SetRaw(kPresetItem, 0);
  SetRaw(123, 0);
  PresetRefreshAll(ctx());
  EXPECT_EQ(Raw(kPresetItem), 0) << "the settings are put back";
  std::map<std::string, std::string> after = Section(user, "Office");
  EXPECT_EQ(after["zdmMarkPaperType"], "6") << "the user's value";
  EXPECT_EQ(after["zdmMPInputTray"], "1") << "the factory's new item";
  EXPECT_EQ(after["Readonly"], "1");
  EXPECT_EQ(IniKey(PrinterName(), "PresetList1Name"), "Mine");
}

// A file written by another display language, machine or major version is refused by its
// load; the refresh must leave it as it is and still refresh the presets that do load.
TEST_F(PresetStoreTest, TheUpgradeRefreshLeavesARefusedFileByteForByte) {
  const struct {
    const char16_t* key;
    std::u16string value;
  } cases[] = {{u"RstLanguage", u"+1"}, {u"RstMachine", u"149"}, {u"RstVersion", u"250"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(Narrow(c.key));
    MakePreset(0, u"base.rst", 1);
    std::u16string mine = MakePreset(1, u"mine.rst", 6);
    std::u16string other = MakePreset(2, u"other.rst", 2);
    std::u16string quality = FilePath(u"q0.rsr");
    SetIniKey(PrinterName(), "QualityList0", Narrow(quality));
    SetIniKey(PrinterName(), "QualityCount", "1");
    ASSERT_EQ(QualitySaveSlot(ctx(), 0), 1);
    std::u16string value = c.value;
    if (value == u"+1") {
      std::string n = std::to_string(Raw(169) + 1);
      value = std::u16string(n.begin(), n.end());
    }
    for (const std::u16string& file : {other, quality})
      ASSERT_TRUE(WritePrivateProfileStringW(u"Office", c.key, value.c_str(), file.c_str()));
    ASSERT_TRUE(WritePrivateProfileStringW(u"Office", u"zdmBrightness", nullptr, mine.c_str()));
    const std::string otherBefore = ReadBytes(other), qualityBefore = ReadBytes(quality);
    PresetRefreshAll(ctx());
    QualityRefreshAll(ctx());
    EXPECT_EQ(ReadBytes(other), otherBefore) << "the refused preset file";
    EXPECT_EQ(ReadBytes(quality), qualityBefore) << "the refused quality file";
    EXPECT_EQ(Section(mine, "Office").count("zdmBrightness"), 1u) << "the loadable preset is refreshed";
    EXPECT_EQ(Section(mine, "Office")["zdmMarkPaperType"], "6");
  }
}

TEST_F(PresetStoreTest, AFullDiskLeavesThePresetFile) {
  std::u16string file = MakePreset(2, u"two.rst", 2);
  const std::string before = ReadBytes(file);
  SetRaw(kPresetItem, 5);
  for (long long budget : {0LL, 64LL, 2048LL}) {
    SimSetDiskFull(budget);
    EXPECT_EQ(PresetSaveSlot(ctx(), 2), 0) << budget;
    SimSetDiskFull(-1);
    EXPECT_EQ(ReadBytes(file), before) << budget;
  }
}

TEST_F(PresetStoreTest, AppendAndClearTheLists) {
  SetIniKey(PrinterName(), "Count", "2");
  PresetAppendEntry(ctx(), u"C:\\x\\a.rst", u"A", u"comment");
  EXPECT_EQ(IniKey(PrinterName(), "PresetList2"), "C:\\x\\a.rst");
  EXPECT_EQ(IniKey(PrinterName(), "PresetList2Name"), "A");
  EXPECT_EQ(IniKey(PrinterName(), "PresetList2Comment"), "comment");
  EXPECT_EQ(IniKey(PrinterName(), "Count"), "3");
  PresetClearList(ctx());
  EXPECT_EQ(IniKey(PrinterName(), "Count"), "0");
  EXPECT_EQ(IniKey(PrinterName(), "PresetList2"), "C:\\x\\a.rst") << "the other keys stay";
  QualityAppendEntry(ctx(), u"C:\\x\\q.rsq", u"Q");
  EXPECT_EQ(IniKey(PrinterName(), "QualityList0"), "C:\\x\\q.rsq");
  EXPECT_EQ(IniKey(PrinterName(), "QualityList0Name"), "Q");
  EXPECT_EQ(IniKey(PrinterName(), "QualityCount"), "1");
  QualityClearList(ctx());
  EXPECT_EQ(IniKey(PrinterName(), "QualityCount"), "0");
}

// The graphics DLL's build applies a quality list's settings but never reads its name.
TEST_F(PresetStoreTest, QualityListsApplyAndSaveTheQualityGroupAndTheName) {
  std::u16string file = FilePath(u"q0.rsq");
  SetIniKey(PrinterName(), "QualityList0", Narrow(file));
  for (int skipName : {0, 1}) {
    SCOPED_TRACE(skipName ? "graphics" : "shared");
    TestVariant().userMacroSkipName = 0;
    SetRaw(138, 17);  // zdmBrightness, of the quality group
    ItemSetText(ctx(), Row(927), u"Fine");
    ASSERT_EQ(QualitySaveSlot(ctx(), 0), 1);
    EXPECT_EQ(IniKey(PrinterName(), "QualityList0Name"), "Fine");
    TestVariant().userMacroSkipName = skipName;
    SetRaw(138, 0);
    ItemSetText(ctx(), Row(927), u"");
    QualityApplySlot(ctx(), 0);
    EXPECT_EQ(Raw(138), 17);
    WCHAR text[64];
    ItemGetTextBounded(ctx(), Row(927), text, 64);
    EXPECT_EQ(std::u16string(text), skipName ? u"" : u"Fine");
  }
}

// The user macro's quality list (macro 33: QualityList1) is loaded by a merge that asks for
// the list's name; the graphics DLL's build loads the settings alone.
TEST_F(PresetStoreTest, TheUserMacrosQualityListLoadsItsNameUnlessTheBuildSkipsIt) {
  SetIniKey(PrinterName(), "QualityList1", Narrow(FilePath(u"q1.rsq")));
  ItemSetText(ctx(), Row(927), u"Fine");
  ASSERT_EQ(QualitySaveSlot(ctx(), 1), 1);
  for (int skipName : {0, 1}) {
    SCOPED_TRACE(skipName ? "graphics" : "shared");
    TestVariant().userMacroSkipName = skipName;
    SetRaw(176, 1);
    SetRaw(179, 33);
    ItemSetText(ctx(), Row(927), u"");
    const DWORD mergeFlags = ctx()->ui->mergeFlags;
    ctx()->ui->mergeFlags = 0x80000;  // the merge loads the list's name
    DmApplyUserMacroQuality(ctx());
    ctx()->ui->mergeFlags = mergeFlags;
    WCHAR text[64];
    ItemGetTextBounded(ctx(), Row(927), text, 64);
    EXPECT_EQ(std::u16string(text), skipName ? u"" : u"Fine");
  }
}

}  // namespace
}  // namespace zems_test
