// The bidirectional acquisition against the scripted communication library: what a full
// acquisition writes, the gate, the model list, the library's failures, the status-only
// acquisition, hostile answers and two acquisitions on two threads.
#include <string.h>

#include <algorithm>
#include <thread>

#include "bidi_fixture.h"
#include "core/bind/bidi_acquire.h"
#include "core/bind/bidi_store.h"
#include "core/common/os_tests.h"
#include "core/context/settings_snapshot.h"
#include "core/items/item_table.h"
#include "core/system/printer_names.h"
#include "core/system/settings_folders.h"
#include "platform/sim.h"
#include "support/test_printer.h"

namespace zems_test {
namespace {

constexpr WORD kBiDirect = 710;
constexpr WORD kBidiFunc = 722;
constexpr WORD kMemory = 10012;
constexpr WORD kMemoryType = 10013;
constexpr WORD kSystemVersion = 10271;
constexpr WORD kEmulationVersion = 10272;
constexpr WORD kOther = 10274;

class BidiAcquireTest : public BidiTest {
 protected:
  // Values that an acquisition which fails must leave as they are.
  void Preset() {
    ItemSetRawById(ctx(), kBiDirect, 1);
    ItemSetRawById(ctx(), 10113, 1);   // tray field of a tray the printer does not report
    ItemSetRawById(ctx(), 10018, 1);   // LCT option
    ItemSetRawById(ctx(), kMemory, 4096);
    SetTextOf(kSystemVersion, u"OLD SYS");
    SetTextOf(kEmulationVersion, u"OLD EMU");
  }
  void ExpectPresetKept(bool versionsEmptied) {
    EXPECT_EQ(1, RawOf(10113));
    EXPECT_EQ(1, RawOf(10018));
    EXPECT_EQ(0, RawOf(10111));
    EXPECT_EQ(4096, RawOf(kMemory));
    EXPECT_EQ(versionsEmptied ? "" : "OLD SYS", Text(kSystemVersion));
    EXPECT_EQ(versionsEmptied ? "" : "OLD EMU", Text(kEmulationVersion));
  }
  std::vector<BYTE> ExtArea() {
    BYTE* area = CtxGetExtArea(ctx());
    return std::vector<BYTE>(area, area + kExtensionAreaSize);
  }
};

TEST_F(BidiAcquireTest, FullUpdateFillsTraysOptionsAndMemory) {
  Script(FullAnswers());
  Preset();
  ASSERT_EQ(1, BidiUpdateFromPrinterSilent(ctx()));

  // Trays 3, 4 and 2 are the indexes 0, 1 and 28; tray 5 (index 2) was cleared.
  EXPECT_EQ(1, RawOf(10111));
  EXPECT_EQ(1, RawOf(10112));
  EXPECT_EQ(1, RawOf(10139));
  EXPECT_EQ(0, RawOf(10113));
  // Paper: code 9 (first table) A4 upright, code 22 (second table) Letter turned, code 0 none.
  EXPECT_EQ(9, RawOf(10175));
  EXPECT_EQ(0, RawOf(10143));
  EXPECT_EQ(1, RawOf(10176));
  EXPECT_EQ(1, RawOf(10144));
  EXPECT_EQ(0, RawOf(10203));
  EXPECT_EQ(0, RawOf(10171));
  // Media: code 1 plain; code 0 is no media, stored as 1.
  EXPECT_EQ(1, RawOf(10207));
  EXPECT_EQ(1, RawOf(10208));
  // Lock: bit 0 of tray 4's flag word.
  EXPECT_EQ(0, RawOf(10239));
  EXPECT_EQ(1, RawOf(10240));
  EXPECT_EQ(0, RawOf(10267));
  // Cover candidates 4 and 2: 4 comes first (value 3); no multi-purpose candidate: code 3's
  // value; reverse cover: tray 2 (value 4). Functions: cover and reverse cover.
  EXPECT_EQ(3, RawOf(10276));
  EXPECT_EQ(1, RawOf(10277));
  EXPECT_EQ(4, RawOf(10288));
  EXPECT_EQ(0x41, RawOf(kBidiFunc));
  // Options 1 and 106; 77 names nothing; the LCT the printer did not report is cleared.
  EXPECT_EQ(1, RawOf(10014));
  EXPECT_EQ(1, RawOf(10023));
  EXPECT_EQ(2, RawOf(10110)) << "code 106 makes the one-step option count 2";
  EXPECT_EQ(0, RawOf(10018));
  EXPECT_EQ(1048576, RawOf(kMemory)) << "1,073,741,824 bytes are stored in KiB";
  EXPECT_EQ(0, RawOf(kMemoryType)) << "memory type 2 gives 0";
  EXPECT_EQ("SYS 1.20", Text(kSystemVersion));
  EXPECT_EQ("EMU 3.4", Text(kEmulationVersion));
  EXPECT_EQ("further text", Text(kOther));

  EXPECT_EQ(1, RawOf(kBiDirect));
  EXPECT_EQ(1u, PrinterDword(u"BidiFlag"));
  EXPECT_EQ(0x41u, PrinterDword(u"BidiFunc") & 0xFF);
  // The full query flags; the printer was closed and every slot used is one the driver knows.
  EXPECT_EQ(1u, Log("slot2 printer=\"Office\" flags=0x2011c").size());
  EXPECT_EQ(Log("slot0 ").size(), Log("slot1 ").size());
  EXPECT_TRUE(Log("unexpected").empty());
  EXPECT_EQ(kBidiEventAskDetails, module_.events.at(0));
  EXPECT_EQ(kBidiEventTrayLists, module_.events.at(1));
  EXPECT_NE(module_.events.end(), std::find(module_.events.begin(), module_.events.end(), kBidiEventAcquired));
}

TEST_F(BidiAcquireTest, WhereTheUpdateKeepsItsState) {
  Script(FullAnswers());
  ASSERT_EQ(1, BidiWriteFlag(Printer(), 0));  // as the install pass leaves it
  SetUserIsAdmin(false);
  ASSERT_EQ(1, BidiUpdateFromPrinterSilent(ctx()));
  EXPECT_EQ(1, RawOf(kBiDirect));
  EXPECT_EQ(0u, PrinterDword(u"BidiFlag")) << "printer data cannot be written";
  EXPECT_EQ("1", IniKey(u"BidiFlag"));
  EXPECT_EQ("65", IniKey(u"BidiFunc"));
  EXPECT_EQ("1", IniKey(u"BidiExFlag"));

  // A printer reached through a server keeps nothing in the ini.
  ASSERT_EQ(1, BidiDeleteIniSection(ctx()));
  ItemSetRawById(ctx(), 714, 1);
  ASSERT_EQ(1, BidiUpdateFromPrinterSilent(ctx()));
  EXPECT_EQ("", IniKey(u"BidiFlag"));
  ItemSetRawById(ctx(), 714, 0);

  // An administrator's update records the state in printer data and drops the ini section.
  SetIniKey(u"BidiFlag", u"1");
  SetUserIsAdmin(true);
  ASSERT_EQ(1, BidiUpdateFromPrinterSilent(ctx()));
  EXPECT_EQ(1u, PrinterDword(u"BidiFlag"));
  EXPECT_EQ(0x41u, PrinterDword(u"BidiFunc") & 0xFF);
  EXPECT_EQ("", IniKey(u"BidiFlag"));
}

TEST_F(BidiAcquireTest, WithoutDetailsOnlyTheTrayFieldsAreSet) {
  Script(FullAnswers());
  module_.details = 0;
  ASSERT_EQ(1, BidiAcquire(0, ctx()));
  EXPECT_EQ(1, RawOf(10111));
  EXPECT_EQ(1, RawOf(10139));
  EXPECT_EQ(0, RawOf(10175));
  EXPECT_EQ(0, RawOf(10240));
  EXPECT_EQ(0, RawOf(10276));
  EXPECT_TRUE(Log("slot6 printer=\"Office\" code=20 ").empty());
}

TEST_F(BidiAcquireTest, ModuleAnswersSetSeparatorMasksAndFunctions) {
  Script(FullAnswers());
  module_.kindAnswers[{0x204, 2}] = 1;  // tray 2, index 28, separates chapters of kind 2
  module_.kindAnswers[{0x5, 0}] = 1;    // tray 4 offers its own function
  module_.funcBits = 0x80;
  ASSERT_EQ(1, BidiAcquire(0, ctx()));
  EXPECT_EQ(0, RawOf(10285));
  EXPECT_EQ(LONG_PTR(1u << 28), RawOf(10286));
  EXPECT_EQ(0, RawOf(10287));
  EXPECT_EQ(0x41 | 0x08 | 0x80, RawOf(kBidiFunc));
}

TEST_F(BidiAcquireTest, EmptyPaperListChangesNoTray) {
  std::vector<std::string> answers = FullAnswers();
  answers[2] = "info20\t";  // size 0
  Script(answers);
  ItemSetRawById(ctx(), 10276, 9);
  ASSERT_EQ(1, BidiAcquire(0, ctx()));
  EXPECT_EQ(0, RawOf(10111)) << "not even the tray fields";
  EXPECT_EQ(9, RawOf(10276));
  EXPECT_EQ(1, RawOf(10014)) << "the other steps still run";
}

TEST_F(BidiAcquireTest, MemoryTypes) {
  const std::pair<std::string, LONG_PTR> cases[] = {
      {HexWords({1}), 1}, {HexWords({2}), 0}, {HexWords({3}), 1}, {"", 1}};
  for (const auto& c : cases) {
    std::vector<std::string> answers = FullAnswers();
    answers[8] = "item258\t" + c.first;
    Script(answers);
    ItemSetRawById(ctx(), kMemoryType, 7);
    ASSERT_EQ(1, BidiAcquire(0, ctx()));
    EXPECT_EQ(c.second, RawOf(kMemoryType)) << "item 258 = " << c.first;
  }
}

TEST_F(BidiAcquireTest, FailingOptionsStepRestoresTheExtensionArea) {
  std::vector<std::string> answers = FullAnswers();
  answers.push_back("claim2\t1000000");  // the option list cannot be had
  Script(answers);
  Preset();
  std::vector<BYTE> before = ExtArea();
  EXPECT_EQ(0, BidiAcquire(0, ctx()));
  EXPECT_TRUE(before == ExtArea()) << "trays written before the failing step must go back";
  EXPECT_FALSE(Log("slot6 printer=\"Office\" code=1 buffer=set").empty()) << "the trays step ran";
}

TEST_F(BidiAcquireTest, FailuresOfTheLibraryAndThePrinter) {
  struct Case {
    const char* what;
    std::vector<std::string> script;
    void (*arrange)();
  };
  const Case cases[] = {
      {"printer not ready", {"model\tALTEN KV310", "ready\t0"}, nullptr},
      {"printer not reachable", {"model\tALTEN KV310", "reachable\t0"}, nullptr},
      {"query refused", {"model\tALTEN KV310", "begin\t0 5"}, nullptr},
      {"no model name", {}, nullptr},
      {"library missing", {}, [] { RemoveStandIn(kBidiDll); }},
      {"export missing", {}, [] {
         RemoveStandIn(kBidiDll);
         InstallStandIn(kBidiDll, kJobControlSo);
       }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    RemoveStandIn(kBidiDll);
    InstallStandIn(kBidiDll, kBidiSo);
    std::vector<std::string> answers = FullAnswers();
    if (!c.script.empty() || std::string(c.what) == "no model name") {
      answers.erase(answers.begin());  // no model line
      for (const std::string& l : c.script) answers.push_back(l);
    }
    Script(answers);
    if (c.arrange) c.arrange();
    Preset();
    std::vector<BYTE> before = ExtArea();
    EXPECT_EQ(0, BidiUpdateFromPrinterSilent(ctx()));
    EXPECT_EQ(0, RawOf(kBiDirect));
    ExpectPresetKept(true);
    bool present = true;
    PrinterDword(u"BidiFlag", &present);
    EXPECT_FALSE(present);
  }
}

TEST_F(BidiAcquireTest, QueryAnsweringZeroWith102StillRuns) {
  std::vector<std::string> answers = FullAnswers();
  answers.push_back("begin\t0 102");
  Script(answers);
  ASSERT_EQ(1, BidiAcquire(0, ctx()));
  EXPECT_EQ(1048576, RawOf(kMemory));
}

// Slots 2 and 3 answer zero without a last error of their own while earlier calls left 102
// behind: the driver clears it before each call, so the zero is a refusal.
TEST_F(BidiAcquireTest, StaleLastErrorIsNotTakenForTheLibrarysAnswer) {
  std::vector<std::string> answers = FullAnswers();
  answers.push_back("begin\t0");
  answers.push_back("stale\t102");
  Script(answers);
  EXPECT_EQ(0, BidiAcquire(0, ctx()));
  EXPECT_EQ(0, RawOf(kMemory));

  answers.pop_back();
  answers.pop_back();
  answers.push_back("group\t0");
  answers.push_back("stale\t102");
  Script(answers);
  ASSERT_EQ(1, BidiAcquireStatusBlobs(ctx(), nullptr));
  EXPECT_EQ("SYS 1.20", Text(kSystemVersion));
  EXPECT_EQ("", Text(kEmulationVersion)) << "the group was not opened";
  answers = FullAnswers();
  answers.push_back("group\t0 102");
  Script(answers);
  ASSERT_EQ(1, BidiAcquireStatusBlobs(ctx(), nullptr));
  EXPECT_EQ("EMU 3.4", Text(kEmulationVersion)) << "a zero with 102 of its own opens the group";
}

TEST_F(BidiAcquireTest, Gate) {
  Script(FullAnswers());
  EXPECT_EQ(1, BidiIsSupported(ctx())) << "no key: allowed";
  Gate(u"bIsBIDISupportForZEMS", u"0");
  EXPECT_EQ(0, BidiIsSupported(ctx()));
  ItemSetRawById(ctx(), kBiDirect, 1);
  EXPECT_EQ(1, BidiUpdateFromPrinterSilent(ctx())) << "a closed gate is nothing to do";
  EXPECT_EQ(0, RawOf(kBiDirect));
  EXPECT_TRUE(Log("").empty()) << "the library is not even loaded";
  Gate(u"bIsBIDISupportForZEMS", u"1");
  EXPECT_EQ(1, BidiIsSupported(ctx()));
}

TEST_F(BidiAcquireTest, SettingsOnAUncPathAreNeverAcquiredFor) {
  Script(FullAnswers());
  // The per-machine folder in the driver's registry key, given as a UNC path.
  HKEY key = nullptr;
  ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExW(HKEY_LOCAL_MACHINE, u"SOFTWARE\\ORVEL\\ZemsDrv", 0, nullptr, 0,
                                           KEY_ALL_ACCESS, nullptr, &key, nullptr));
  const char16_t folder[] = u"\\\\SRV\\share";
  ASSERT_EQ(ERROR_SUCCESS, RegSetValueExW(key, u"_ZEMSDirectory", 0, REG_SZ, reinterpret_cast<const BYTE*>(folder),
                                          sizeof folder));
  RegCloseKey(key);
  ASSERT_EQ(u'\\', PathSettingsFile(ctx())[0]) << Narrow(PathSettingsFile(ctx()));
  EXPECT_EQ(0, BidiIsSupported(ctx()));
  EXPECT_EQ(1, BidiUpdateFromPrinterSilent(ctx()));
  EXPECT_EQ(0, RawOf(kBiDirect));
  EXPECT_TRUE(Log("").empty());
}

TEST_F(BidiAcquireTest, PrinterWithoutTheBidirectionalAttributeFails) {
  Script(FullAnswers());
  Ui()->attributesKnown = 1;
  Ui()->attributes = PRINTER_ATTRIBUTE_LOCAL;
  ItemSetRawById(ctx(), kBiDirect, 1);
  EXPECT_EQ(0, BidiUpdateFromPrinterSilent(ctx()));
  EXPECT_EQ(0, RawOf(kBiDirect));
  EXPECT_TRUE(Log("").empty());
}

struct ModelCase {
  const char* what;
  const char* gate;     // bIsBIDISupportForZEMSModel, null: no key
  std::string models;   // the model data file
  const char* reported;
  int result;
};

TEST_F(BidiAcquireTest, ModelList) {
  const std::string single = "[Models]\r\nORVEL ALTEN KV310 ZEMS=ALTEN KV310\r\n";
  const std::string two = single + "[Models1]\r\nORVEL ALTEN KV310 ZEMS=ALTEN KV300\r\n"
                                   "[Models2]\r\nORVEL ALTEN KV310 ZEMS=ALTEN KV310 PLUS\r\n";
  std::string many = single;
  for (int n = 1; n <= 300; ++n) many += "[Models" + std::to_string(n) + "]\r\nORVEL ALTEN KV310 ZEMS=X\r\n";
  const ModelCase cases[] = {
      {"own name", nullptr, single, "ALTEN KV310", 1},
      {"other name", nullptr, single, "ALTEN KV999", 0},
      {"case differs", nullptr, single, "alten kv310", 0},
      {"match at 2", nullptr, two, "ALTEN KV310 PLUS", 1},
      {"not listed: fails at 3", nullptr, two, "ALTEN KV310", 0},
      {"no name check", u8"0", single, "ANYTHING", 1},
      {"no name check with a list", u8"0", two, "ANYTHING", 1},
      {"a list that never ends", nullptr, many, "ALTEN KV310", 0},
      {"no own model name", nullptr, "[Models]\r\n", "ALTEN KV310", 0},
  };
  for (const ModelCase& c : cases) {
    SCOPED_TRACE(c.what);
    ModelData(c.models);
    std::vector<std::string> answers = FullAnswers();
    answers[0] = std::string("model\t") + c.reported;
    Script(answers);
    std::u16string gate;
    if (c.gate) gate = u"0";
    Gate(u"bIsBIDISupportForZEMSModel", c.gate ? gate.c_str() : nullptr);
    EXPECT_EQ(c.result, BidiAcquire(0, ctx()));
    EXPECT_EQ(size_t(c.result), Log("slot2 ").size()) << "the query begins only after the model test";
    WriteScript("ov4mannt.log", "");
  }
}

TEST_F(BidiAcquireTest, StatusOnlyAcquisitionReadsTheVersionsAndNothingElse) {
  Script(FullAnswers());
  ItemSetRawById(ctx(), kBiDirect, 5);
  ASSERT_EQ(1, BidiAcquireStatusBlobs(ctx(), nullptr));
  EXPECT_EQ("SYS 1.20", Text(kSystemVersion));
  EXPECT_EQ("EMU 3.4", Text(kEmulationVersion));
  EXPECT_EQ(5, RawOf(kBiDirect));
  EXPECT_EQ(0, RawOf(10111));
  EXPECT_EQ(0, RawOf(kMemory));
  EXPECT_EQ("", Text(kOther));
  bool present = true;
  PrinterDword(u"BidiFlag", &present);
  EXPECT_FALSE(present);
  EXPECT_EQ(1u, Log("slot2 printer=\"Office\" flags=0x104").size());

  Script({"model\tALTEN KV310", "ready\t0"});
  EXPECT_EQ(0, BidiAcquireStatusBlobs(ctx(), nullptr));
  EXPECT_EQ("", Text(kSystemVersion)) << "a failed acquisition empties both texts";
  EXPECT_EQ("", Text(kEmulationVersion));
  EXPECT_EQ(5, RawOf(kBiDirect));
}

TEST_F(BidiAcquireTest, HostileAnswersStayInsideTheirItems) {
  const std::string longName(40, 'M');
  ModelData("[Models]\r\nORVEL ALTEN KV310 ZEMS=" + longName.substr(0, 32) + "\r\n");
  std::vector<std::string> answers = FullAnswers();
  answers[0] = "model\t" + longName;                         // 40 characters for 33 asked
  answers[1] = "info1\t" + HexWords({3, 4});                 // two trays ...
  answers.push_back("count1\t1000");                          // ... counted as 1000
  answers[2] = "info20\t" + HexWords({5});                   // A3: not in tray 1's list; shorter than list 1
  answers[3] = "info21\t" + HexWords({1});
  answers[4] = "info23\t" + HexWords({0});
  answers[7] = "info8\t" + HexBytes(std::string(40, 'S'));   // unterminated, longer than the item
  answers[9] = "item2\t" + HexBytes(std::string(20, 'E'));
  answers[10] = "item259\t" + HexBytes(std::string(50, 'O'));
  answers.push_back("count2\t99");
  Script(answers);
  ASSERT_EQ(1, BidiAcquire(0, ctx()));
  EXPECT_EQ(1, RawOf(10111));
  EXPECT_EQ(1, RawOf(10112));
  EXPECT_EQ(0, RawOf(10175)) << "a paper the tray's list does not offer becomes 0";
  EXPECT_EQ(0, RawOf(10176)) << "a missing paper entry reads as code 0";
  EXPECT_EQ(1, RawOf(10208)) << "a missing media entry reads as code 0, stored as 1";
  EXPECT_EQ(std::string(15, 'S'), Text(kSystemVersion));
  EXPECT_EQ(std::string(15, 'E'), Text(kEmulationVersion));
  EXPECT_EQ(std::string(32, 'O'), Text(kOther));
  EXPECT_EQ(1, RawOf(10023));
}

TEST_F(BidiAcquireTest, HugeSizeClaimFailsWithoutChange) {
  std::vector<std::string> answers = FullAnswers();
  answers.push_back("claim1\t4294967295");
  Script(answers);
  Preset();
  std::vector<BYTE> before = ExtArea();
  EXPECT_EQ(0, BidiAcquire(0, ctx()));
  EXPECT_TRUE(before == ExtArea());
}

TEST_F(BidiAcquireTest, GroupSizeQueryDeniedWith5IsStillRead) {
  std::vector<std::string> answers = FullAnswers();
  answers.push_back("deny259\t1");
  Script(answers);
  ASSERT_EQ(1, BidiAcquire(0, ctx()));
  EXPECT_EQ("further text", Text(kOther));
}

TEST_F(BidiAcquireTest, ExclusionPathLoadsTheOtherLibraryOnWindows9x) {
  Script(FullAnswers());
  RemoveStandIn(kBidiDll);
  InstallStandIn("ovoman32.dll", kBidiSo);
  EXPECT_EQ(0, BidiCanConnect(ctx(), kBidiExclusionPath)) << "on NT flag 8 still means ov4manNT.dll";
  SetWindows(4, 10, 0, 0, VER_PLATFORM_WIN32_WINDOWS);
  OsForgetVersionAnswer();
  EXPECT_EQ(1, BidiCanConnect(ctx(), kBidiExclusionPath));
  EXPECT_EQ(0, BidiCanConnect(ctx(), 0));
  SetWindows(5, 1, 3);
  OsForgetVersionAnswer();
}

TEST_F(BidiAcquireTest, FailureMessage) {
  SimUiReset();
  BidiShowFailure(ctx(), nullptr);
  ASSERT_EQ(1u, SimUiCallCount());
  SimUiCall call;
  ASSERT_TRUE(SimUiGetCall(0, &call));
  EXPECT_EQ(kSimUiMessageBox, call.kind);
  EXPECT_EQ(UINT(MB_ICONWARNING | MB_OK), call.style);
  EXPECT_EQ(u"Office", std::u16string(call.caption));
}

// A second context made by hand, as the item fixture makes its own.
struct HandContext {
  std::vector<BYTE> settings, initial;
  UiState ui{};
  ModelRecord model{};
  DriverContext ctx{};
  HandContext(HANDLE printer, const std::u16string& name, const DriverContext& like) {
    settings.assign(like.settings, like.settings + kSettingsBlockSize);
    initial = settings;
    model = *like.model;
    ctx.items = ItemTableCreate();
    ctx.settings = settings.data();
    ctx.model = &model;
    ctx.ui = &ui;
    ui.initialSettings = initial.data();
    ui.onServer = 2;
    ctx.printer = printer;
    std::copy(name.begin(), name.end(), ui.printerName);
  }
  ~HandContext() {
    CtxSnapshotFreeAll(&ctx);
    ItemTableFree(ctx.items);
  }
};

TEST_F(BidiAcquireTest, TwoThreadsAcquireForTwoPrintersThroughASlowLibrary) {
  HANDLE lab = AddTestPrinter(u"Lab", u"", PRINTER_ATTRIBUTE_LOCAL | PRINTER_ATTRIBUTE_ENABLE_BIDI);
  ASSERT_NE(nullptr, lab);
  std::vector<std::string> office = FullAnswers();
  office.push_back("delay\t15");
  std::vector<std::string> labLines;
  for (std::string line : FullAnswers()) {
    if (line.compare(0, 6, "info11") == 0) line = "info11\t" + HexWords({2097152});
    labLines.push_back("Lab\t" + line);
  }
  labLines.push_back("Lab\tdelay\t10");
  Script(office, labLines);
  module_.details = 0;
  HandContext other(lab, u"Lab", *ctx());
  int results[2] = {-1, -1};
  for (int round = 0; round < 3; ++round) {
    std::thread a([&] { results[0] = BidiAcquire(0, ctx()); });
    std::thread b([&] { results[1] = BidiAcquire(0, &other.ctx); });
    a.join();
    b.join();
    EXPECT_EQ(1, results[0]);
    EXPECT_EQ(1, results[1]);
  }
  EXPECT_EQ(1048576, RawOf(kMemory));
  EXPECT_EQ(2048, ItemGetRawById(&other.ctx, kMemory));
  EXPECT_EQ(Log("OrvelInitializeBidiApiW").size(), 6u);
  EXPECT_EQ(Log("slot0 ").size(), Log("slot1 ").size());
  ClosePrinter(lab);
}

}  // namespace
}  // namespace zems_test
