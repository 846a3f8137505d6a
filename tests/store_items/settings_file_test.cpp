// The settings-file transfer: the header check, the items of each flag combination, the
// sections, locked settings and refused files, hostile values, and a whole save and load.
#include <gtest/gtest.h>

#include <string.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "core/context/module_bus.h"
#include "core/context/ui_state.h"
#include "core/items/item_access.h"
#include "core/items/item_ids.h"
#include "core/store/settings_file.h"
#include "core/system/driver_paths.h"
#include "core/system/languages.h"
#include "core/system/printer_names.h"
#include "core/tables/model_record.h"
#include "core/tables/value_symbols.h"
#include "platform/sim.h"
#include "store_items/settings_file_fixture.h"
#include "support/test_variant.h"

namespace zems_test {
namespace {

bool Contains(const std::vector<std::string>& keys, const std::string& key) {
  return std::find(keys.begin(), keys.end(), key) != keys.end();
}

class SettingsFileLoadTest : public SettingsFileTest {
 protected:
  void SetUp() override {
    SettingsFileTest::SetUp();
    path_ = FilePath(u"load.rst");
  }
  // Writes the file with one section: "[section]", then the body.
  void WriteSection(const std::string& section, const std::string& body) {
    WriteBytes(path_, "[" + section + "]\r\n" + body);
  }
  std::string Header() { return HeaderLines(ctx()); }
  std::string HeaderWith(const std::string& key, const std::string& value) {
    std::string h = Header();
    size_t at = h.find(key + "=");
    size_t end = h.find("\r\n", at);
    if (value.empty()) return h.erase(at, end + 2 - at);
    return h.replace(at, end - at, key + "=" + value);
  }
  int Load(DWORD flags) { return StoreLoadSettingsFile(office_, path_.c_str(), flags, ctx()); }

  std::u16string path_;
};

// ---- the header ----

struct HeaderCase {
  const char* name;
  const char* key;    // header key changed (null: none)
  const char* value;  // its value ("" removes the key; "+1" the own language plus one)
  DWORD flags;
  bool messages;      // the build shows refused files
  LONG status;
  int boxes;
};

TEST_F(SettingsFileLoadTest, TheHeaderDecidesWhetherAFileIsTaken) {
  const HeaderCase cases[] = {
      {"this driver's file", nullptr, nullptr, 0, true, 0, 0},
      {"another machine code", "RstMachine", "149", 0, true, 1, 1},
      {"another language", "RstLanguage", "+1", 0, true, 1, 1},
      {"another major version", "RstVersion", "250", 0, true, 1, 1},
      {"an older minor version", "RstVersion", "321", 0, true, 0, 0},
      {"a newer minor version", "RstVersion", "329", 0, true, 0, 0},
      {"no machine key", "RstMachine", "", 0, true, 1, 1},
      {"no version key", "RstVersion", "", 0, true, 1, 1},
      {"a version that is no number", "RstVersion", "3x2", 0, true, 1, 1},
      {"no warning asked", "RstMachine", "149", kStoreFileNoWarning, true, 1, 0},
      {"a quality file", "RstMachine", "149", kStoreFileQuality, true, 1, 0},
      {"a build that reports by status", "RstMachine", "149", 0, false, 1, 0},
  };
  for (const HeaderCase& c : cases) {
    SCOPED_TRACE(c.name);
    SimUiReset();
    TestVariant().settingsFileMessages = c.messages ? 1 : 0;
    SetRaw(12, 3);
    SetRaw(138, 0);
    std::string value = c.value ? c.value : "";
    if (value == "+1") value = std::to_string(Raw(169) + 1);
    std::string header = c.key ? HeaderWith(c.key, value) : Header();
    WriteSection(PrinterName(), header + "dmCopies=7\r\nzdmBrightness=7\r\n");
    int result = Load(c.flags);
    EXPECT_EQ(CtxGetFileStatus(ctx()), c.status);
    EXPECT_EQ(MessageBoxCount(), c.boxes);
    if (c.status == kFileStatusHeader) {
      EXPECT_EQ(result, 1);
      EXPECT_EQ(Raw(12), 3);
      EXPECT_EQ(Raw(138), 0);
    } else if (!(c.flags & kStoreFileQuality)) {
      EXPECT_EQ(Raw(12), 7);
    }
    if (c.boxes) {
      EXPECT_NE(MessageBoxText(0).find(path_), std::u16string::npos) << Narrow(MessageBoxText(0));
      SimUiCall call;
      ASSERT_TRUE(SimUiGetCall(0, &call));
      EXPECT_EQ(std::u16string(call.caption), std::u16string(PrnGetPrinterName(ctx())));
      EXPECT_EQ(call.style, UINT(MB_ICONWARNING | MB_OK));
    }
  }
}

TEST_F(SettingsFileLoadTest, TheWarningShowsTheFilesPathInTheLoadedText) {
  WriteSection(PrinterName(), HeaderWith("RstMachine", "1"));
  Load(0);
  ASSERT_EQ(MessageBoxCount(), 1);
  EXPECT_EQ(MessageBoxText(0), u"The settings file " + path_ +
                                   u" was saved for another printer model or language and was not loaded.");
  // A path with a percent sign is an argument, never a format.
  SimUiReset();
  path_ = FilePath(u"100%s%n.rst");
  WriteSection(PrinterName(), HeaderWith("RstMachine", "1"));
  Load(0);
  EXPECT_NE(MessageBoxText(0).find(u"100%s%n.rst"), std::u16string::npos);
}

// The sample's conversion entry turns sorting on at 3.21, sets the poster kind to 2 at 3.22 and
// ends by setting wdmConvertVersion to 400; a file runs the steps above its own version only.
TEST_F(SettingsFileLoadTest, AnOlderMinorVersionIsConvertedFromItsVersion) {
  ASSERT_EQ(CtxModelRecord(ctx())->layoutVersion, 322u);
  const LONG_PTR sort = TblFindValueSymbolByName("ZDMSORTTYPE_SORT")->logical;
  struct Case {
    const char* version;
    bool sortTurnedOn;
    LONG_PTR posterKind;
    LONG_PTR convertVersion;
  } cases[] = {
      {"320", true, 2, 400},
      {"321", false, 2, 400},
      {"322", false, 3, 0},
      {"329", false, 3, 0},  // a newer minor version is taken as it stands
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.version);
    SetRaw(kItem_wdmConvertVersion, 0);
    WriteSection(PrinterName(), HeaderWith("RstVersion", c.version) + "zdmSortType=0\r\nzdmNUPPOSTKind=3\r\n");
    Load(0);
    ASSERT_EQ(CtxGetFileStatus(ctx()), kFileStatusOk);
    EXPECT_EQ(ItemGetValueById(ctx(), kItem_zdmSortType) == sort, c.sortTurnedOn);
    EXPECT_EQ(Raw(kItem_zdmNUPPOSTKind), c.posterKind);
    EXPECT_EQ(Raw(kItem_wdmConvertVersion), c.convertVersion);
  }
}

TEST_F(SettingsFileLoadTest, AWatermarkSectionWithoutVersionLoads) {
  WriteSection(PrinterName(), "zdmWmKind=3\r\nwdmWmCharName=Draft\r\ndmCopies=9\r\n");
  Load(kStoreFileWatermark);
  EXPECT_EQ(CtxGetFileStatus(ctx()), kFileStatusOk);
  EXPECT_EQ(Raw(117), 3);
  EXPECT_NE(Raw(12), 9);  // not of the watermark group
}

// ---- the items each flag combination writes ----

struct WriteCase {
  DWORD flags;
  const char* section;  // "driver", "printer", "language" or a literal name
  std::vector<std::string> present;
  std::vector<std::string> absent;
};

TEST_F(SettingsFileTest, EachFlagCombinationWritesItsItems) {
  const std::vector<std::string> fullHeader = {"RstVersion", "RstMachine", "RstLanguage", "RstOSKind"};
  const std::vector<std::string> headerless = {"RstVersion", "RstMachine", "RstLanguage", "RstOSKind"};
  const WriteCase cases[] = {
      {0, "driver", {"RstVersion", "RstMachine", "RstLanguage", "RstOSKind", "dmCopies", "dmDefaultSource",
                     "wdmOvlPath", "zdmPrnFuncAuthenticationMode"},
       {"zdmJOBPassword", "zdmStoredPassword", "wdmAuthenticationPassword", "wdmWmLinePitch", "zdmFontTable"}},
      {kStoreFilePreset, "printer", {"RstVersion", "dmCopies", "dmDefaultSource"}, {"wdmAuthenticationPassword"}},
      {kStoreFilePreset | kStoreFileDriverSection, "printer", {"RstMachine", "dmDefaultSource", "zdmHFString"},
       {"dmCopies", "zdmBrightness"}},
      {kStoreFileQuality, "printer", {"RstMachine", "zdmBrightness", "zdmDstResolutionW"}, {"dmCopies"}},
      {kStoreFileWatermark, "printer", {"RstVersion", "zdmWmKind", "wdmWmCharName"},
       {"RstMachine", "dmCopies"}},
      {kStoreFileCustomSize, "printer",
       {"RstVersion", "wdmFreeSizeName", "wdmFreeSizeWidth", "wdmFreeSizeLength", "wdmFreeSizeTray",
        "wdmFreeSizeOrient"},
       {"RstMachine", "dmDeviceName", "wdmSrcFreeSizeName"}},
      {kStoreFileSourceCustomSize, "printer", {"wdmSrcFreeSizeName", "wdmSrcFreeSizeOrient"},
       {"RstVersion", "wdmFreeSizeName"}},
      {kStoreFileRsdSection, "ZEMSRsdSection", {"RstVersion", "dmDefaultSource"}, {"dmCopies"}},
      {kStoreFileExtended, "printer", {"zdmLockInfoLockInfo", "zdmLockDstResolutionBoth"},
       {"dmCopies", "zdmFontTable", "zdmServerLogCode", "zdmPrnFuncAuthenticationMode"}},
      {kStoreFileWorkOnly, "printer", {"wdmOvlPath", "wdmPresetName"}, {"dmCopies", "zdmMediaType"}},
      {kStoreFilePackageMain, "language", {"RstVersion", "RstOSKind", "dmCopies"}, {}},
      {kStoreFileText, "printer", {"dmCopies"},
       {"RstVersion", "dmDeviceName", "dmDriverExtra", "zdmFunc2SelectJobComplete",
        "zdmSupportFunc2SelectJobComplete"}},
  };
  const std::string printer = PrinterName();
  for (const WriteCase& c : cases) {
    SCOPED_TRACE(testing::Message() << "flags 0x" << std::hex << c.flags);
    std::u16string path = FilePath(u"flags.rst");
    DeleteFileW(path.c_str());
    EXPECT_EQ(StoreSaveSettingsFile(office_, path.c_str(), c.flags, ctx()), 1);
    std::string section = c.section;
    if (section == "driver") section = DriverName();
    if (section == "printer") section = printer;
    if (section == "language") section = Narrow(ResGetLangCodeAlias(ctx()));
    std::vector<std::string> keys = Keys(path, section);
    EXPECT_FALSE(keys.empty()) << section;
    for (const std::string& k : c.present) EXPECT_TRUE(Contains(keys, k)) << k;
    for (const std::string& k : c.absent) EXPECT_FALSE(Contains(keys, k)) << k;
    EXPECT_EQ(PrinterName(), printer);  // the name buffer is back
  }
}

// ---- the items each flag combination reads ----

struct ReadCase {
  DWORD flags;
  const char* section;   // "printer", "language" or a literal name
  std::set<WORD> taken;  // of the watched items
};

TEST_F(SettingsFileLoadTest, EachFlagCombinationReadsItsItems) {
  // 12 dmCopies, 13 dmDefaultSource (preset), 138 zdmBrightness (quality), 4 dmSize (never read:
  // the DEVMODE's layout), 117 zdmWmKind (watermark), 916 wdmFreeSizeWidth, 921 wdmSrcFreeSizeWidth.
  const WORD watched[] = {12, 13, 138, 4, 117, 916, 921};
  const ReadCase cases[] = {
      {0, "printer", {12, 13, 138, 117, 916, 921}},
      {kStoreFileNoWarning, "printer", {12, 13, 138, 117, 916, 921}},
      {kStoreFilePreset, "printer", {13}},
      {kStoreFilePreset | kStoreFileNoWarning, "printer", {13}},
      {kStoreFilePreset | kStoreFileDriverSection, "printer", {13}},
      {kStoreFileQuality, "printer", {138}},
      {kStoreFileQuality | kStoreFileLanguageSection, "language", {138}},
      {kStoreFileQuality | kStoreFileWorkOnly, "printer", {}},
      {kStoreFileWatermark, "printer", {117}},
      {kStoreFileCustomSize, "printer", {916}},
      {kStoreFileSourceCustomSize, "printer", {921}},
      {kStoreFileText, "language", {12, 13, 138, 117, 916, 921}},
      {kStoreFileExtended, "printer", {}},
      {kStoreFileRsdSection, "ZEMSRsdSection", {13}},
      {kStoreFileLanguageSection, "language", {12, 13, 138, 117, 916, 921}},
      {kStoreFileLanguageSection | kStoreFilePreset, "language", {13}},
      {kStoreFileWorkOnly, "printer", {916, 921}},
  };
  for (const ReadCase& c : cases) {
    SCOPED_TRACE(testing::Message() << "flags 0x" << std::hex << c.flags);
    for (WORD id : watched) SetRaw(id, 1);
    std::string section = c.section;
    if (section == "printer") section = PrinterName();
    if (section == "language") section = Narrow(ResGetLangCodeAlias(ctx()));
    // Each value one the sample model knows: a plain load's repair sweep resets any other.
    WriteSection(section, Header() + "dmSize=100\r\ndmCopies=7\r\ndmDefaultSource=7\r\nzdmBrightness=7\r\n"
                                      "zdmWmKind=3\r\nwdmFreeSizeWidth=7\r\nwdmSrcFreeSizeWidth=7\r\n");
    Load(c.flags);
    EXPECT_EQ(CtxGetFileStatus(ctx()), kFileStatusOk);
    for (WORD id : watched) EXPECT_EQ(Raw(id), c.taken.count(id) ? (id == 117 ? 3 : 7) : 1) << id;
  }
}

TEST_F(SettingsFileTest, APresetFileHoldsEveryItemAndItsLoadTakesThePresetGroup) {
  std::u16string path = FilePath(u"preset.rst");
  SetRaw(12, 4);
  SetRaw(13, 5);
  ASSERT_EQ(StoreSaveSettingsFile(office_, path.c_str(), kStoreFilePreset, ctx()), 1);
  std::vector<std::string> keys = Keys(path, PrinterName());
  EXPECT_TRUE(Contains(keys, "dmCopies"));
  SetRaw(12, 1);
  SetRaw(13, 1);
  StoreLoadSettingsFile(office_, path.c_str(), kStoreFilePreset, ctx());
  EXPECT_EQ(CtxGetFileStatus(ctx()), kFileStatusOk);
  EXPECT_EQ(Raw(13), 5);
  EXPECT_EQ(Raw(12), 1);
}

// ---- sections ----

TEST_F(SettingsFileLoadTest, PlainFilesUseTheDriverNameSectionAndReadThePrinterSectionToo) {
  // A plain save writes only the driver name's section; a plain load finds it there.
  SetRaw(12, 6);
  ASSERT_EQ(StoreSaveSettingsFile(office_, path_.c_str(), 0, ctx()), 1);
  EXPECT_TRUE(HasSection(path_, DriverName()));
  EXPECT_FALSE(HasSection(path_, PrinterName()));
  SetRaw(12, 2);
  Load(0);
  EXPECT_EQ(CtxGetFileStatus(ctx()), kFileStatusOk);
  EXPECT_EQ(Raw(12), 6);

  // A file with only the printer's own section loads from that one.
  WriteSection(PrinterName(), Header() + "dmCopies=8\r\n");
  Load(0);
  EXPECT_EQ(Raw(12), 8);

  // With both, the driver name's section wins.
  WriteBytes(path_, "[" + PrinterName() + "]\r\n" + Header() + "dmCopies=8\r\n[" + DriverName() + "]\r\n" +
                        Header() + "dmCopies=9\r\n");
  Load(0);
  EXPECT_EQ(Raw(12), 9);
  EXPECT_EQ(std::u16string(PrnGetPrinterName(ctx())), u"Office");
}

// The file is read once, and its sections and keys are found as the ini calls find them:
// blanks around names, any case, the first section and the first key of a name.
TEST_F(SettingsFileLoadTest, SectionsAndKeysAreFoundAsTheIniCallsFindThem) {
  const std::string printer = PrinterName(), driver = DriverName();
  struct Case {
    const char* name;
    std::string file;
    LONG copies;
  } cases[] = {
      {"indented header", " [ " + printer + " ]\t\r\n" + Header() + "dmCopies=7\r\n", 7},
      {"blanks around the key", "[" + printer + "]\r\n" + Header() + "  DMCOPIES\t= 7 \r\n", 7},
      {"first key of a name", "[" + printer + "]\r\n" + Header() + "dmCopies=7\r\ndmcopies=3\r\n", 7},
      {"first section of a name", "[" + printer + "]\r\n" + Header() + "dmCopies=7\r\n[" + printer + "]\r\ndmCopies=3\r\n",
       7},
      {"key only in a later section of the name",
       "[" + printer + "]\r\n" + Header() + "[" + printer + "]\r\ndmCopies=3\r\n", 1},
      {"driver section with blanks", "[" + printer + "]\r\n" + Header() + "dmCopies=8\r\n  [" + driver + "]\r\n" +
       Header() + "dmCopies = 9\r\n", 9},
  };
  for (const Case& c : cases) {
    SetRaw(12, 1);
    WriteBytes(path_, c.file);
    Load(0);
    EXPECT_EQ(CtxGetFileStatus(ctx()), kFileStatusOk) << c.name;
    EXPECT_EQ(Raw(12), c.copies) << c.name;
  }
}

TEST_F(SettingsFileLoadTest, APlainLoadSetsThePresetNumberTo255) {
  SetRaw(37, 4);
  WriteSection(PrinterName(), Header() + "zdmPresetNo=3\r\ndmCopies=2\r\n");
  Load(0);
  EXPECT_EQ(BYTE(Raw(37)), 255);
}

// ---- locks ----

TEST_F(SettingsFileLoadTest, ALockedTrayOfAnotherValueRefusesTheFile) {
  SetRaw(10419, 1);  // tray locked
  SetRaw(13, 7);
  SetRaw(12, 3);
  WriteSection(PrinterName(), Header() + "dmDefaultSource=8\r\ndmCopies=9\r\n");
  std::vector<std::u16string> before = DataNames();
  EXPECT_EQ(Load(0), 0);
  EXPECT_EQ(CtxGetFileStatus(ctx()), kFileStatusLocked);
  EXPECT_EQ(Raw(13), 7);
  EXPECT_EQ(Raw(12), 3);
  EXPECT_EQ(Raw(37), 0);  // no fix-up ran
  EXPECT_EQ(MessageBoxCount(), 1);
  EXPECT_NE(MessageBoxText(0).find(path_), std::u16string::npos);
  EXPECT_EQ(DataNames(), before);

  // The same tray: taken.
  SimUiReset();
  WriteSection(PrinterName(), Header() + "dmDefaultSource=7\r\ndmCopies=9\r\n");
  Load(0);
  EXPECT_EQ(CtxGetFileStatus(ctx()), kFileStatusOk);
  EXPECT_EQ(Raw(12), 9);
  EXPECT_EQ(MessageBoxCount(), 0);

  // A locked item missing from the file fails the comparison.
  WriteSection(PrinterName(), Header() + "dmCopies=4\r\n");
  Load(0);
  EXPECT_EQ(CtxGetFileStatus(ctx()), kFileStatusLocked);
  EXPECT_EQ(Raw(12), 9);

  // The DLLs without a user interface refuse it by the status alone.
  SimUiReset();
  TestVariant().settingsFileMessages = 0;
  WriteSection(PrinterName(), Header() + "dmDefaultSource=8\r\ndmCopies=5\r\n");
  EXPECT_EQ(Load(0), 0);
  EXPECT_EQ(CtxGetFileStatus(ctx()), kFileStatusLocked);
  EXPECT_EQ(Raw(12), 9);
  EXPECT_EQ(MessageBoxCount(), 0);
}

TEST_F(SettingsFileTest, TheLockInformationIsSavedAsOneWhileTheContextKeepsItsValue) {
  SetRaw(10419, 1);
  SetRaw(10386, 0);
  std::u16string path = FilePath(u"locks.rst");
  ASSERT_EQ(StoreSaveSettingsFile(office_, path.c_str(), 0, ctx()), 1);
  EXPECT_EQ(Section(path, DriverName())["zdmLockInfoLockInfo"], "1");
  EXPECT_EQ(Raw(10386), 0);
  SetRaw(10419, 0);
  ASSERT_EQ(StoreSaveSettingsFile(office_, path.c_str(), 0, ctx()), 1);
  EXPECT_EQ(Section(path, DriverName())["zdmLockInfoLockInfo"], "0");
}

// ---- refused and hostile files ----

TEST_F(SettingsFileLoadTest, ARefusedFileChangesNothing) {
  SetPrinterText(office_, u"BidiFlag", u"1", REG_BINARY);
  SetRaw(10354, 0);
  SetRaw(12, 3);
  struct Refused {
    const char* name;
    std::string bytes;
    LONG status;
  };
  const Refused cases[] = {
      {"another machine", "[" + PrinterName() + "]\r\n" + HeaderWith("RstMachine", "149") +
                              "dmCopies=9\r\nzdmPrnFuncAuthenticationMode=1\r\n", kFileStatusHeader},
      {"above 16 MiB", "[" + PrinterName() + "]\r\n" + Header() + "dmCopies=9\r\nzdmPrnFuncAuthenticationMode=1\r\n" +
                           std::string(kSettingsFileMaxBytes, ';'), kFileStatusUnreadable},
  };
  for (const Refused& c : cases) {
    SCOPED_TRACE(c.name);
    WriteBytes(path_, c.bytes);
    std::vector<std::u16string> data = DataNames();
    std::string ini = SettingsIniBytes();
    LONG modified = ctx()->ui->modified = 0;
    Load(0);
    EXPECT_EQ(CtxGetFileStatus(ctx()), c.status);
    EXPECT_EQ(Raw(12), 3);
    EXPECT_EQ(Raw(10354), 0);
    EXPECT_EQ(Raw(37), 0);
    EXPECT_EQ(ctx()->ui->modified, modified);
    EXPECT_EQ(DataNames(), data);
    EXPECT_EQ(SettingsIniBytes(), ini);
    EXPECT_EQ(std::u16string(PrnGetPrinterName(ctx())), u"Office");
  }
  // The same file accepted takes the extended items too.
  WriteSection(PrinterName(), Header() + "zdmPrnFuncAuthenticationMode=1\r\n");
  Load(0);
  EXPECT_EQ(Raw(10354), 1);
}

TEST_F(SettingsFileLoadTest, AMissingFileIsNotCreatedAndReadsAsOneWithoutTheSection) {
  // Without the section the header keys are missing: the file is refused by its header.
  path_ = FilePath(u"missing.rst");
  SetRaw(12, 3);
  EXPECT_EQ(Load(kStoreFileNoWarning), 1);
  EXPECT_EQ(CtxGetFileStatus(ctx()), kFileStatusHeader);
  EXPECT_EQ(GetFileAttributesW(path_.c_str()), INVALID_FILE_ATTRIBUTES);
  EXPECT_EQ(Raw(12), 3);
}

struct HostileCase {
  const char* line;
  WORD id;
  LONG_PTR expected;  // the raw value afterwards (before: 3)
};

TEST_F(SettingsFileLoadTest, EveryValueIsBoundedByItsItem) {
  const HostileCase cases[] = {
      {"dmCopies=abc", 12, 3},               // no number: the item stays
      {"dmCopies=", 12, 3},
      {"dmCopies=70000", 12, 70000 - 65536},  // cut to 16 bits
      {"zdmNUPPOSTKind=-1", 91, 255},          // cut to 8 bits
  };
  // Read by the transfer alone (the language section, no fix-ups): a plain load's repair
  // sweep would then reset a value the model does not allow, and hide the cut.
  const std::string language = Narrow(ResGetLangCodeAlias(ctx()));
  for (const HostileCase& c : cases) {
    SCOPED_TRACE(c.line);
    SetRaw(c.id, 3);
    WriteSection(language, std::string(c.line) + "\r\n");
    Load(kStoreFileLanguageSection);
    EXPECT_EQ(Raw(c.id), c.expected);
  }
  // A plain load repairs what the sample model does not allow: 4464 copies, N-up kind 255.
  for (const HostileCase& c : cases) {
    SCOPED_TRACE(std::string("plain: ") + c.line);
    SetRaw(c.id, 3);
    WriteSection(PrinterName(), Header() + c.line + "\r\n");
    Load(0);
    EXPECT_EQ(Raw(c.id), c.expected == 3 ? 3 : 1);
  }
  // A text never runs past its item.
  SettingItem* text = Row(114);  // zdmHFString, 33 bytes
  WriteSection(PrinterName(), Header() + "zdmHFString=" + std::string(400, 'x') + "\r\n");
  Load(0);
  EXPECT_EQ(strnlen(reinterpret_cast<const char*>(Value(114)), 33), 32u);
  EXPECT_EQ(ItemDescSize(text->descriptor), 33u);
  // The font tables are never set from a file.
  LONG_PTR fonts = Raw(10005), count = Raw(10004);
  WriteSection(PrinterName(), Header() + "zdmFontTableNum=5\r\nzdmFontTable=1234\r\n");
  Load(kStoreFileExtended);
  Load(0);
  EXPECT_EQ(Raw(10005), fonts);
  EXPECT_EQ(Raw(10004), count);
}

// ---- end to end ----

TEST_F(SettingsFileTest, APlainSaveAndALoadIntoANewContextGiveTheSameSettings) {
  // The system kind of a current Windows (0 and 1 reset the colour matching after a load).
  SetRaw(707, 2);
  SetRaw(12, 4);
  SetRaw(13, 4);  // the multi-purpose tray: trays 2 and 3 need feeders the sample printer lacks
  SetRaw(91, 2);
  SetRaw(138, -5);
  ItemSetText(ctx(), Row(114), u"Header text");
  std::u16string path = FilePath(u"end.rst");
  ASSERT_EQ(StoreSaveSettingsFile(office_, path.c_str(), 0, ctx()), 1);
  EXPECT_EQ(CtxGetFileStatus(ctx()), kFileStatusOk);

  DriverContext* other = CtxOpen(office_, office_, nullptr, 0, kKindSettings, 0, nullptr);
  ASSERT_NE(other, nullptr);
  ASSERT_NE(other, ctx());
  ItemSetRawById(other, 169, Raw(169));  // the display language this test set
  ItemSetRawById(other, 707, 2);
  StoreLoadSettingsFile(office_, path.c_str(), 0, other);
  EXPECT_EQ(CtxGetFileStatus(other), kFileStatusOk);
  int compared = 0;
  for (int i = 0; i < ctx()->items->count; ++i) {
    SettingItem* row = &ctx()->items->rows[i];
    if (!StoreFilterPlainRead(row) || !StoreFilterNoSecrets(row) || row->id >= 1201) continue;
    // The preset mark, the fields and the locale group (from the user's locale) are fix-ups.
    if (row->id == 37 || row->id == 6 || row->id == 172) continue;
    // wdmBuiltInFunc holds the last module code a model action named (the sample's media and
    // separation-cycle rules), not a setting.
    if (row->id == 1018) continue;
    SettingItem* twin = ItemFind(other, row->id);
    UINT size = ItemDescSize(row->descriptor);
    BYTE* a = ItemStoragePtr(ctx(), row);
    BYTE* b = ItemStoragePtr(other, twin);
    if (!a || !b) continue;
    if (ItemTypeIsBit(ItemDescType(row->descriptor)))
      EXPECT_EQ(ItemGetRaw(ctx(), row), ItemGetRaw(other, twin)) << row->id;
    else
      EXPECT_EQ(memcmp(a, b, size), 0) << row->id;
    ++compared;
  }
  EXPECT_GT(compared, 500);
  EXPECT_EQ(ItemGetRawById(other, 12), 4);
  EXPECT_EQ(BYTE(ItemGetRawById(other, 37)), 255);
  CtxRelease(other, kReleaseExpired);
}

// The item filters of the transfers, one row per case.
TEST_F(SettingsFileTest, TheFiltersKeepTheirRows) {
  const struct {
    const char* filter;
    WORD id;
    LONG customMediaMax;  // wdmCustomMediaMaxNum
    int kept;
  } cases[] = {
      {"custom media", 1495, 4, 1},  {"custom media", 1543, 4, 1}, {"custom media", 1512, 0, 0},
      {"custom media", 1494, 4, 0},  {"custom media", 1544, 4, 0}, {"plain read", 1495, 4, 0},
      {"plain read", 138, 0, 1},     {"no secrets", 1113, 0, 0},   {"no secrets", 1117, 0, 1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.filter) + " " + std::to_string(c.id));
    SetRaw(1494, c.customMediaMax);
    SettingItem* row = Row(c.id);
    ASSERT_NE(row, nullptr);
    const std::string filter = c.filter;
    const int kept = filter == "custom media" ? StoreFilterCustomMedia(ctx(), row)
                     : filter == "plain read" ? StoreFilterPlainRead(row)
                                              : StoreFilterNoSecrets(row);
    EXPECT_EQ(kept, c.kept);
  }
  EXPECT_EQ(StoreFilterCustomMedia(ctx(), nullptr), 0);
}

// Zero bytes before the first section (a damaged or foreign file) end only their line: a save
// rewrites the section it finds, every setting reads back, and the next load takes the file.
TEST_F(SettingsFileTest, ZeroBytesBeforeTheFirstSectionLoseNoSetting) {
  std::u16string path = FilePath(u"zeros.rst");
  SetRaw(138, 3);
  ASSERT_EQ(StoreSaveSettingsFile(office_, path.c_str(), 0, ctx()), 1);
  const size_t keysBefore = Keys(path, DriverName()).size();
  ASSERT_GT(keysBefore, 500u);
  for (const std::string& prefix : {std::string(16, '\0'), std::string("\0junk\r\n", 7)}) {
    SCOPED_TRACE(prefix.size());
    WriteBytes(path, prefix + ReadBytes(path));
    SetRaw(138, -4);
    ASSERT_EQ(StoreSaveSettingsFile(office_, path.c_str(), 0, ctx()), 1);
    EXPECT_EQ(CtxGetFileStatus(ctx()), kFileStatusOk);
    EXPECT_EQ(Keys(path, DriverName()).size(), keysBefore) << "every setting is still in the section";
    SetRaw(138, 0);
    StoreLoadSettingsFile(office_, path.c_str(), 0, ctx());
    EXPECT_EQ(CtxGetFileStatus(ctx()), kFileStatusOk);
    EXPECT_EQ(Raw(138), -4);
  }
}

TEST_F(SettingsFileTest, AFileOfAnotherMachineIsRefusedWithOneBox) {
  std::u16string path = FilePath(u"other.rst");
  ASSERT_EQ(StoreSaveSettingsFile(office_, path.c_str(), 0, ctx()), 1);
  std::string bytes = ReadBytes(path);
  std::string own = "RstMachine=" + std::to_string(CtxModelRecord(ctx())->modelCode);
  size_t at = bytes.find(own);
  ASSERT_NE(at, std::string::npos);
  bytes.replace(at, own.size(), "RstMachine=7");
  WriteBytes(path, bytes);
  SetRaw(12, 9);
  EXPECT_EQ(StoreLoadSettingsFile(office_, path.c_str(), 0, ctx()), 1);
  EXPECT_EQ(CtxGetFileStatus(ctx()), kFileStatusHeader);
  EXPECT_EQ(MessageBoxCount(), 1);
  EXPECT_EQ(Raw(12), 9);
}

}  // namespace
}  // namespace zems_test

namespace zems_test {
namespace {

// ---- the fix-ups of a plain load ----

struct OSKindCase {
  LONG_PTR kind;
  bool colourReset;
  bool mediaField;
};

TEST_F(SettingsFileLoadTest, ThePlainLoadFixesUpBySystemKind) {
  const OSKindCase cases[] = {{0, true, true}, {1, true, false}, {2, false, false}, {3, false, true}};
  for (const OSKindCase& c : cases) {
    SCOPED_TRACE(c.kind);
    SetRaw(707, c.kind);
    SetRaw(27, 4);
    SetRaw(28, 4);
    SetRaw(130, 1);
    SetRaw(36, 1);
    SetRaw(6, LONG_PTR(DM_ICMMETHOD | DM_ICMINTENT | DM_COPIES));
    WriteSection(PrinterName(), Header() + "zdmOSKind=9\r\ndmICMMethod=3\r\ndmCopies=2\r\n");
    Load(0);
    ASSERT_EQ(CtxGetFileStatus(ctx()), kFileStatusOk);
    EXPECT_EQ(Raw(707), c.kind);  // the system kind is never taken from a file
    EXPECT_EQ(Raw(27), c.colourReset ? 1 : 3);
    EXPECT_EQ(Raw(28), c.colourReset ? 1 : 4);
    EXPECT_EQ(Raw(130), c.colourReset ? 0 : 1);
    DWORD fields = DWORD(Raw(6));
    EXPECT_EQ((fields & DM_ICMMETHOD) != 0, !c.colourReset);
    EXPECT_EQ((fields & DM_MEDIATYPE) != 0, c.mediaField);
    EXPECT_EQ(Raw(36), 1);  // off during the fix-ups, back on at their end
  }
}

// ---- the exclusion DLL's step after a plain load ----

LONG_PTR g_adjustModeInMerge = -1;

// Records zdmAdjustMode when the merge tells the modules its flags (event 52).
int RecordAdjustMode(DriverContext* ctx, int event, void*, void*) {
  if (event == 52) g_adjustModeInMerge = ItemGetRawById(ctx, 128);
  return 0;
}

class PostLoadTest : public SettingsFileLoadTest {
 protected:
  void SetUp() override {
    SettingsFileLoadTest::SetUp();
    // The job-control stand-in where the loader finds it: any call of it leaves a log.
    const std::string target = HostPath("C:\\WINDOWS\\system32\\ORVJC32.DLL");
    std::error_code ec;
    std::filesystem::create_directories(std::filesystem::path(target).parent_path(), ec);
    std::filesystem::copy_file(BinDir() + "/orvjc32.so", target, std::filesystem::copy_options::overwrite_existing, ec);
    ASSERT_FALSE(ec) << ec.message();
    ASSERT_TRUE(SimRegisterModule("ORVJC32.DLL", (BinDir() + "/orvjc32.so").c_str()));
    ModBusFree(ctx());
    const UiModuleEntry row = {0, nullptr, nullptr, nullptr, RecordAdjustMode};
    ASSERT_EQ(ModBusLoadRows(ctx(), &row, 1), 1);
  }
  void TearDown() override {
    ModBusFree(ctx());
    ModBusLoad(ctx());
    SettingsFileLoadTest::TearDown();
  }
  bool JobControlCalled() { return std::filesystem::exists(std::string(SimMachineRoot()) + "/stand-ins/orvjc32.log"); }
  void ForgetJobControlCalls() { std::filesystem::remove(std::string(SimMachineRoot()) + "/stand-ins/orvjc32.log"); }
};

// The merge of a settings file (0x10000008) after a plain load. The shared step talks to job
// control; the exclusion build does not and has zdmAdjustMode off while the merge runs, back on
// afterwards; the graphics build does not either and leaves the adjust mode on.
TEST_F(PostLoadTest, TheBuildsWithoutUiMergeWithoutJobControl) {
  struct Case {
    const char* build;
    void (*postLoad)(DriverContext*, LONG_PTR, const LONG_PTR*);
    bool jobControl;
    LONG_PTR adjustInMerge;
  } cases[] = {
      {"shared", nullptr, true, 1},
      {"exclusion", StoreSettingsFileFixUpsNoJobControl, false, 0},
      {"graphics", StoreSettingsFileFixUpsGraphics, false, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.build);
    TestVariant().settingsFilePostLoad = c.postLoad;
    ForgetJobControlCalls();
    SetRaw(128, 1);
    g_adjustModeInMerge = -1;
    WriteSection(PrinterName(), Header() + "dmCopies=2\r\n");
    Load(0);
    ASSERT_EQ(CtxGetFileStatus(ctx()), kFileStatusOk);
    EXPECT_EQ(Raw(12), 2);
    EXPECT_EQ(ctx()->ui->mergeFlags, 0x10000008u);
    EXPECT_EQ(JobControlCalled(), c.jobControl);
    EXPECT_EQ(g_adjustModeInMerge, c.adjustInMerge);
    EXPECT_EQ(Raw(128), 1);
  }
}

// With the user macro on, the builds without a user interface save the quality list file the
// macro loads from (macro 33: QualityList1) but leave its QualityList<n>Name key.
TEST_F(PostLoadTest, TheBuildsWithoutUiSaveTheUserMacrosQualityFileWithoutItsName) {
  for (auto postLoad : {StoreSettingsFileFixUpsNoJobControl, StoreSettingsFileFixUpsGraphics}) {
    SCOPED_TRACE(postLoad == StoreSettingsFileFixUpsGraphics ? "graphics" : "exclusion");
    TestVariant().settingsFilePostLoad = postLoad;
    TestVariant().userMacroListsOnly = postLoad == StoreSettingsFileFixUpsNoJobControl;
    const std::u16string quality = FilePath(u"Quality1.rsr");
    DeleteFileW(quality.c_str());
    SetIni(u"QualityList1", quality.c_str());
    SetIni(u"QualityList1Name", u"Mine");
    ItemSetText(ctx(), ItemFind(ctx(), 927), TEXT("Other"));  // wdmUserSetName
    SetRaw(176, 1);
    SetRaw(179, 33);
    WriteSection(PrinterName(), Header() + "dmCopies=2\r\n");
    Load(0);
    ASSERT_EQ(CtxGetFileStatus(ctx()), kFileStatusOk);
    ASSERT_EQ(Raw(179), 33);
    EXPECT_TRUE(HasSection(quality, PrinterName())) << "the quality file is saved";
    EXPECT_EQ(Ini(u"QualityList1Name"), u"Mine");
  }
}

// A refused quality file is written anew from its twin (its leaf with "rsq" in the settings
// folder, whose language section holds the quality items), unless only its language differs.
TEST_F(SettingsFileLoadTest, AQualityFileIsRepairedUnlessOnlyTheLanguageDiffers) {
  path_ = FilePath(u"Quality1.rsr");
  const std::u16string twin = FilePath(u"Quality1.rsq");
  const std::string language = Narrow(ResGetLangCodeAlias(ctx()));
  const std::string own = std::to_string(CtxModelRecord(ctx())->modelCode);
  struct Case {
    const char* what;
    const char* key;
    std::string value;
    bool twinPresent;
    bool repaired;
  } cases[] = {
      {"another machine code", "RstMachine", "149", true, true},
      {"another major version", "RstVersion", "250", true, true},
      {"another language only", "RstLanguage", std::to_string(Raw(169) + 1), true, false},
      {"another machine code, no twin", "RstMachine", "149", false, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    SimUiReset();
    SetRaw(138, 0);
    if (c.twinPresent)
      WriteBytes(twin, "[" + language + "]\r\n" + Header() + "zdmBrightness=17\r\n");
    else
      DeleteFileW(twin.c_str());
    WriteSection(PrinterName(), HeaderWith(c.key, c.value) + "zdmBrightness=7\r\n");
    EXPECT_EQ(Load(kStoreFileQuality), 1);
    EXPECT_EQ(CtxGetFileStatus(ctx()), kFileStatusHeader) << "this load itself takes nothing";
    EXPECT_EQ(Raw(138), 0);
    EXPECT_EQ(MessageBoxCount(), 0);
    std::map<std::string, std::string> section = Section(path_, PrinterName());
    EXPECT_EQ(section["zdmBrightness"], c.repaired ? "17" : "7");
    EXPECT_EQ(section[c.key] == c.value, !c.repaired);
    if (c.repaired) {
      EXPECT_EQ(section["RstMachine"], own);
      // The repaired file is taken by the next load.
      EXPECT_EQ(Load(kStoreFileQuality), 1);
      EXPECT_EQ(CtxGetFileStatus(ctx()), kFileStatusOk);
      EXPECT_EQ(Raw(138), 17);
    }
  }
}

// ---- the other files in the format ----

TEST_F(SettingsFileTest, TheSettingsTextFileAndThePackHoldTheNamedItems) {
  SetRaw(10434, 33);
  SetRaw(13, 262);
  std::u16string file = FilePath(u"plain.rst");
  ASSERT_EQ(StoreSaveSettingsFile(office_, file.c_str(), 0, ctx()), 1);
  std::u16string text = FilePath(u"OV00C172.txt");
  std::map<std::string, std::string> prn = Section(text, "ZEMSPrnSection");
  EXPECT_EQ(prn["zdmLockDstResolutionBoth"], "33");
  EXPECT_EQ(prn["zdmFontTable"], "0");
  EXPECT_FALSE(prn.count("zdmServerLogCode"));  // 10001-10003 stay out of the text file
  EXPECT_TRUE(prn.count("wdmPrintPostTray1Name"));

  ASSERT_EQ(StoreWriteRsdText(office_, file.c_str(), 0, ctx()), 1);
  std::map<std::string, std::string> rsd = Section(text, "ZEMSRsdSection");
  EXPECT_EQ(rsd["dmDefaultSource"], "262");
  EXPECT_FALSE(rsd.count("dmCopies"));
  EXPECT_EQ(Section(text, "ZEMSPrnSection"), prn);  // the other section stays

  // The default pack named by the model data file.
  const WCHAR* modelData = PathModelDataFile(ctx());
  std::u16string pack = FilePath(u"default.rsb");
  WritePrivateProfileStringW(ResGetLangCodeAlias(ctx()), u"DefaultRst", pack.c_str(), modelData);
  ASSERT_EQ(StoreSaveDeviceSetupToPack(ctx()), 1);
  std::map<std::string, std::string> packed = Section(pack, Narrow(ResGetLangCodeAlias(ctx())));
  EXPECT_EQ(packed["RstVersion"], std::to_string(CtxModelRecord(ctx())->layoutVersion2));
  EXPECT_EQ(packed["zdmLockDstResolutionBoth"], "33");
  EXPECT_FALSE(packed.count("zdmLogCodeUse"));
  // Read back through the text file's language section.
  WriteBytes(text, "[" + Narrow(ResGetLangCodeAlias(ctx())) + "]\r\nzdmLockDstResolutionBoth=44\r\n");
  EXPECT_EQ(StoreRwExtendedSection(text.c_str(), kStoreFileRead | kStoreFileText, ctx()), 0);  // keys missing
  EXPECT_EQ(Raw(10434), 44);
  EXPECT_EQ(StoreReadOSKind(file.c_str(), ctx()), 0xFFFF);  // the file holds the driver's section
}

TEST_F(SettingsFileTest, WritingNamedItemsKeepsTheOtherKeysOfTheSection) {
  std::u16string file = FilePath(u"merge.ini");
  WriteBytes(file, "[Other]\r\na=1\r\n[ZEMSPrnSection]\r\nKeptKey=kept\r\nZDMLOCKDSTRESOLUTIONBOTH=5\r\n"
                   "; a comment\r\n[Last]\r\nb=2\r\n");
  SetRaw(10434, 21);
  ASSERT_EQ(StoreRwExtendedSection(file.c_str(), kStoreFileWrite, ctx()), 1);
  std::vector<std::string> keys = Keys(file, "ZEMSPrnSection");
  EXPECT_EQ(std::count(keys.begin(), keys.end(), "zdmLockDstResolutionBoth"), 1);
  EXPECT_EQ(std::count(keys.begin(), keys.end(), "ZDMLOCKDSTRESOLUTIONBOTH"), 0);
  EXPECT_EQ(Section(file, "ZEMSPrnSection")["KeptKey"], "kept");
  EXPECT_EQ(Section(file, "ZEMSPrnSection")["zdmLockDstResolutionBoth"], "21");
  EXPECT_EQ(Section(file, "Other")["a"], "1");
  EXPECT_EQ(Section(file, "Last")["b"], "2");
  EXPECT_NE(ReadBytes(file).find("; a comment"), std::string::npos);
  // Written again unchanged: the file is not rewritten.
  std::string before = ReadBytes(file);
  SimSetDiskFull(0);
  EXPECT_EQ(StoreRwExtendedSection(file.c_str(), kStoreFileWrite, ctx()), 1);
  SimSetDiskFull(-1);
  EXPECT_EQ(ReadBytes(file), before);
}

}  // namespace
}  // namespace zems_test
