// The preset list rebuilt against the default pack when a sheet opens: what is dropped, kept
// and added, the question before dropping, and the once-per-pack mark.
#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "core/context/context_cache.h"
#include "core/items/item_access.h"
#include "core/model/model_cache.h"
#include "core/model/model_lookup.h"
#include "core/rules/alerts.h"
#include "core/store/exc_store.h"
#include "core/store/preset_refresh.h"
#include "core/store/preset_store.h"
#include "core/store/settings_file.h"
#include "core/system/driver_paths.h"
#include "core/system/languages.h"
#include "core/system/settings_folders.h"
#include "core/system/terminal_server.h"
#include "platform/sim.h"
#include "store_items/list_store_fixture.h"
#include "support/child_process.h"
#include "support/test_printer.h"

namespace zems_test {
namespace {

std::u16string Wide(const std::string& s) { return std::u16string(s.begin(), s.end()); }

class PresetRefreshTest : public ListStoreTest {
 protected:
  void SetUp() override {
    ListStoreTest::SetUp();
    lang_ = Narrow(ResGetLangCode(ctx()));
    driver_ = PathGetDriverDir(ctx());
    // The pack lists first, second and third; each writes its name.
    std::string text = "[" + lang_ + "]\r\nNumDeficonfiles=3\r\n";
    const char* names[] = {"first", "second", "third"};
    for (int i = 0; i < 3; ++i) {
      std::string file = std::string(names[i]) + ".rsd";
      text += "Deficonfiles" + std::to_string(i + 1) + "=" + file + "\r\n";
      WriteBytes(driver_ + Wide(file), "[" + lang_ + "]\r\nsetname=" + names[i] + "\r\n");
    }
    WriteBytes(driver_ + u"pack.rsb", text);
    SetIniKey(PrinterName(), "DefaultRst", Narrow(driver_) + "pack.rsb");
  }
  std::string Rsr(const char* leaf) {
    WCHAR buffer[260];
    std::u16string file = driver_ + Wide(leaf);
    EXPECT_TRUE(PathUserRsrFile(buffer, file.c_str(), 260, ctx()));
    return Narrow(buffer);
  }
  void SetList(const std::vector<std::string>& values) {
    for (size_t i = 0; i < values.size(); ++i) {
      SetIniKey(PrinterName(), "PresetList" + std::to_string(i), values[i]);
      SetIniKey(PrinterName(), "PresetList" + std::to_string(i) + "Name", "n" + std::to_string(i));
    }
    SetIniKey(PrinterName(), "Count", std::to_string(values.size()));
  }
  std::vector<std::string> List() {
    std::vector<std::string> out;
    int count = std::stoi(IniKey(PrinterName(), "Count"));
    for (int i = 0; i < count; ++i) out.push_back(IniKey(PrinterName(), "PresetList" + std::to_string(i)));
    return out;
  }
  // An ".rsr" copy in the settings folder whose conditions never hold.
  void Unsuitable(const char* leaf) {
    WriteBytes(Wide(Rsr(leaf)), "[condition]\r\nConditionOption0_0=NO_SUCH_OPTION\r\n");
  }

  std::string lang_;
  std::u16string driver_;
};

TEST_F(PresetRefreshTest, RebuildDropsAddsAndKeeps) {
  Unsuitable("second.rsd");
  SetList({Rsr("second.rsd"), "D:\\mine\\noext", "D:\\mine\\user.rst"});
  ASSERT_EQ(PresetRebuildList(ctx(), 0), 1);
  const std::vector<std::string> want = {"D:\\mine\\noext", "D:\\mine\\user.rst", Rsr("third.rsd")};
  EXPECT_EQ(List(), want) << "the first pack file is never added again; the second was dropped and is not new";
}

TEST_F(PresetRefreshTest, CancelKeepsTheList) {
  Unsuitable("second.rsd");
  const std::vector<std::string> before = {Rsr("second.rsd"), "D:\\mine\\user.rst"};
  SetList(before);
  const int cancel = IDCANCEL;
  SimUiScriptAnswers(&cancel, 1);
  EXPECT_EQ(PresetRebuildList(ctx(), 1), 0);
  EXPECT_EQ(List(), before);
  EXPECT_EQ(IniKey(PrinterName(), "PresetList0Name"), "n0");
}

TEST_F(PresetRefreshTest, AnUnreadablePackEntryChangesNothing) {
  WritePrivateProfileStringW(Wide(lang_).c_str(), u"Deficonfiles2", nullptr, (driver_ + u"pack.rsb").c_str());
  const std::vector<std::string> before = {"D:\\mine\\user.rst"};
  SetList(before);
  EXPECT_EQ(PresetRebuildList(ctx(), 0), 0);
  EXPECT_EQ(List(), before);
}

// zemsexc's pruning never asks. A factory copy that no longer suits goes, one of no pack file
// stays; a user file stays when a trial load of it succeeds, or fails only because another
// process holds the file; a file of another machine, or one that is gone, goes. The trial loads
// leave the settings as they were; the result is the new count.
TEST_F(PresetRefreshTest, PruningKeepsWhatLoadsAndWhatIsOnlyHeld) {
  Unsuitable("second.rsd");
  const std::u16string good = FilePath(u"good.rst"), bad = FilePath(u"bad.rst"), held = FilePath(u"held.rst");
  ItemSetRawById(ctx(), 13, 5);
  for (const std::u16string* file : {&good, &bad, &held})
    ASSERT_EQ(StoreSaveSettingsFile(office_, file->c_str(), kStoreFilePreset, ctx()), 1);
  std::string text = ReadBytes(bad);
  const size_t at = text.find("RstMachine=");
  ASSERT_NE(at, std::string::npos);
  text.insert(at + 11, "9");
  WriteBytes(bad, text);
  ItemSetRawById(ctx(), 13, 1);
  SetList({Rsr("second.rsd"), Rsr("own.rsd"), Narrow(good), Narrow(bad), Narrow(held), Narrow(FilePath(u"gone.rst")),
           "D:\\mine\\noext"});
  HANDLE hold = CreateFileW(held.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                            nullptr);
  ASSERT_NE(hold, INVALID_HANDLE_VALUE);
  EXPECT_EQ(PruneUserSettingList(ctx()), 5);
  CloseHandle(hold);
  const std::vector<std::string> want = {Rsr("own.rsd"), Narrow(good), Narrow(held), "D:\\mine\\noext",
                                         Rsr("third.rsd")};
  EXPECT_EQ(List(), want);
  EXPECT_EQ(IniKey(PrinterName(), "PresetList1Name"), "n2") << "names move with their entries";
  EXPECT_EQ(MessageBoxCount(), 0);
  EXPECT_EQ(ItemGetRawById(ctx(), 13), 1) << "the trial loads put the settings back";
}

// A pack that cannot be used (no "NumDeficonfiles", or no pack at all) leaves the list as it
// was and answers -1; a usable pack with an empty list answers the count it leaves, 0 or more.
TEST_F(PresetRefreshTest, PruningAgainstAnUnusablePackIsToldFromAnEmptyList) {
  const std::vector<std::string> before = {"D:\\mine\\user.rst"};
  SetList(before);
  const std::u16string pack = driver_ + u"pack.rsb";
  WritePrivateProfileStringW(Wide(lang_).c_str(), u"NumDeficonfiles", nullptr, pack.c_str());
  EXPECT_EQ(PruneUserSettingList(ctx()), -1);
  EXPECT_EQ(List(), before);
  SetIniKey(PrinterName(), "DefaultRst", "");
  EXPECT_EQ(PruneUserSettingList(ctx()), -1);
  EXPECT_EQ(List(), before);

  WritePrivateProfileStringW(Wide(lang_).c_str(), u"NumDeficonfiles", u"0", pack.c_str());
  SetIniKey(PrinterName(), "DefaultRst", Narrow(pack));
  SetList({});
  EXPECT_EQ(PruneUserSettingList(ctx()), 0);
  EXPECT_TRUE(List().empty());
}

// A user file whose trial load raises an alert on zdmPresetNo is dropped: a model whose preset
// number carries the sample's duplex warning, and a preset of duplex on A5 paper.
TEST_F(PresetRefreshTest, PruningDropsAFileWhoseLoadRaisesThePresetAlert) {
  std::ifstream sample(SourceDir() + "/samples/models/zems_c4.zmd", std::ios::binary);
  std::string model((std::istreambuf_iterator<char>(sample)), std::istreambuf_iterator<char>());
  const size_t exclusive = model.find("*Exclusive: {");
  ASSERT_NE(exclusive, std::string::npos);
  model.insert(model.find('\n', exclusive) + 1, "   TOV_zdmPresetNo NULL NULL NULL DuplexWarning NULL NULL NULL\n");
  model.insert(exclusive, "*OpenUI *TOV_zdmPresetNo: Numeric\n*NumericValue: 0 \"0 0 0 255 0 0 1 1\"\n*CloseUI\n\n");
  ASSERT_TRUE(WriteMachineFile("C:\\WINDOWS\\system32\\spool\\drivers\\w32x86\\3\\OV1BD172.zmd", model));
  CtxRelease(ctx_, kReleaseExpired);
  CtxCacheExpire(TRUE);
  ModelFreeImageCache();
  ctx_ = CtxOpen(office_, office_, nullptr, 0, kKindSettings, 0, nullptr);
  ASSERT_NE(ctx_, nullptr);

  const std::u16string alerting = FilePath(u"alerting.rst"), calm = FilePath(u"calm.rst");
  ItemSetRawById(ctx(), 58, 1);   // duplex on
  ItemSetRawById(ctx(), 8, 11);   // A5
  ASSERT_GT(ModelCheckItemAlert(ModelGetDescriptor(37, ctx()), ctx()), 0) << "the model's alert holds";
  ASSERT_EQ(StoreSaveSettingsFile(office_, alerting.c_str(), kStoreFilePreset, ctx()), 1);
  ItemSetRawById(ctx(), 58, 0);
  ASSERT_EQ(ModelCheckItemAlert(ModelGetDescriptor(37, ctx()), ctx()), 0);
  ASSERT_EQ(StoreSaveSettingsFile(office_, calm.c_str(), kStoreFilePreset, ctx()), 1);
  SetList({Narrow(alerting), Narrow(calm)});
  EXPECT_EQ(PruneUserSettingList(ctx()), 3);
  const std::vector<std::string> want = {Narrow(calm), Rsr("second.rsd"), Rsr("third.rsd")};
  EXPECT_EQ(List(), want);
  EXPECT_EQ(ItemGetRawById(ctx(), 58), 0) << "the trial loads put the settings back";
}

// A full disk stops the rewrite before "Count": the old list is still whole, and the count
// answered is that list's.
TEST_F(PresetRefreshTest, PruningOnAFullDiskLeavesAWholeList) {
  Unsuitable("second.rsd");
  const std::vector<std::string> before = {Rsr("second.rsd"), "D:\\mine\\noext", "D:\\mine\\other"};
  SetList(before);
  SimSetDiskFull(0);
  EXPECT_EQ(PruneUserSettingList(ctx()), 3);
  SimSetDiskFull(-1);
  EXPECT_EQ(List(), before);
  EXPECT_EQ(IniKey(PrinterName(), "PresetList0Name"), "n0");
}

TEST_F(PresetRefreshTest, OpeningTheDeviceSheetRefreshesOnce) {
  SetList({"D:\\mine\\user.rst"});
  ASSERT_EQ(PresetRefreshOnOpen(ctx(), 1), 1);
  EXPECT_EQ(IniKey(PrinterName(), "PresetRefresh"), "1");
  std::string data;
  ASSERT_TRUE(Data(u"PresetRefresh", &data));
  EXPECT_EQ(data, std::string("\x01\x00\x00\x00", 4));
  EXPECT_EQ(List().size(), 3u);
  SetList({"D:\\mine\\user.rst"});
  ASSERT_EQ(PresetRefreshOnOpen(ctx(), 2), 1);
  EXPECT_EQ(List().size(), 1u) << "a second opening does nothing";
}

TEST_F(PresetRefreshTest, TheDocumentSheetAsksThroughItsDialog) {
  SetList({"D:\\mine\\user.rst"});
  // Without the language DLL the dialog never answers OK: nothing is refreshed yet.
  ASSERT_EQ(PresetRefreshOnOpen(ctx(), 0), 1);
  EXPECT_EQ(List().size(), 1u);
  EXPECT_EQ(IniKey(PrinterName(), "PresetRefresh"), "<absent>");
}

TEST_F(PresetRefreshTest, KindZeroOnATerminalServerDoesNothing) {
  SetWindows(5, 1, 0, VER_SUITE_TERMINAL);
  OsForgetCachedAnswers();
  ASSERT_EQ(OsIsTerminalServer(ctx()->printer), 1);
  SetList({"D:\\mine\\user.rst"});
  EXPECT_EQ(PresetRefreshOnOpen(ctx(), 0), 0);
  EXPECT_EQ(PresetRefreshOnOpen(ctx(), 2), 0);
  EXPECT_EQ(List().size(), 1u);
  EXPECT_EQ(IniKey(PrinterName(), "PresetRefresh"), "<absent>");
}

// Another process appends presets while this one rebuilds the list (dropping an entry each
// time, so that "Count" is rewritten): every appended preset is still listed afterwards.
TEST_F(PresetRefreshTest, APresetAppendedDuringARebuildIsKept) {
  constexpr int kAppends = 8;
  const std::string unsuitable = Rsr("second.rsd");
  Unsuitable("second.rsd");
  for (int run = 0; run < 3; ++run) {
    SCOPED_TRACE(run);
    SetList({"D:\\mine\\base.rst"});
    ChildProcess child([&](ChildProcess& self) {
      char go = 0;
      if (!self.Receive(&go)) _exit(1);
      for (int i = 0; i < kAppends; ++i) {
        std::u16string path = u"D:\\mine\\u" + Wide(std::to_string(i)) + u".rst";
        PresetAppendEntry(ctx(), path.c_str(), u"appended", nullptr);
        usleep(3000);
      }
    });
    ASSERT_TRUE(child.Send('g'));
    for (int round = 0; round < 20; ++round) {
      PresetAppendEntry(ctx(), Wide(unsuitable).c_str(), u"dropped", nullptr);
      PresetRebuildList(ctx(), 0);
    }
    EXPECT_EQ(child.Wait(), 0);
    const std::vector<std::string> list = List();
    for (int i = 0; i < kAppends; ++i) {
      const std::string path = "D:\\mine\\u" + std::to_string(i) + ".rst";
      EXPECT_NE(std::find(list.begin(), list.end(), path), list.end()) << path << " lost";
    }
  }
}

}  // namespace
}  // namespace zems_test
