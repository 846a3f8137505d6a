// The job stream a document leaves through the spool stand-in: the order of its blocks, the
// job header's lines, write failures at each block kind, the spool DLL's exports, a reset
// between pages; each stream is checked by the job-stream reader and the stand-in's log.
#include <stdio.h>
#include <string.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "core/context/driver_context.h"
#include "core/context/ui_state.h"
#include "core/items/item_access.h"
#include "core/items/item_ids.h"
#include "core/items/item_table.h"
#include "core/system/settings_folders.h"
#include "gr2k/job_sequence.h"
#include "host/job_stream/job_stream.h"
#include "platform/sim.h"
#include "support/print_fixture.h"

namespace {

using zems_test::PrintTest;

const char kTwoPages[] = "doc \"Two\"\npage\nbrush solid 0\nrect 0 0 10 10\nendpage\npage\nendpage\nenddoc\n";

class JobSequenceTest : public PrintTest {
 protected:
  void TearDown() override {
    SimHideExport("OV1BC123.DLL", nullptr);
    PrintTest::TearDown();
  }
  static std::string StandIn(const std::string& name) { return std::string(SimMachineRoot()) + "/stand-ins/" + name; }
  static void Script(const std::string& text) {
    std::ofstream(StandIn("ov1bc123.script"), std::ios::binary) << text;
  }
  static std::vector<uint8_t> Stream(DWORD job) {
    std::ifstream in(StandIn("ov1bc123/" + std::to_string(job) + ".zjs"), std::ios::binary);
    return std::vector<uint8_t>((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  }
  static std::vector<std::string> Log() {
    std::vector<std::string> lines;
    std::ifstream in(StandIn("ov1bc123.log"));
    for (std::string l; std::getline(in, l);) lines.push_back(l);
    return lines;
  }
  static std::vector<uint32_t> Types(const JsJob& job) {
    std::vector<uint32_t> t;
    for (const JsBlock& b : job.blocks) t.push_back(b.type);
    return t;
  }
  // Reads the job's stream, which must be sound.
  static JsJob Read(const std::vector<uint8_t>& bytes) {
    JsJob job;
    JsError err;
    EXPECT_TRUE(JsRead(bytes.data(), bytes.size(), &job, &err)) << err.message << " at " << err.offset;
    return job;
  }
  static std::string Text(const JsBlock& b) { return std::string(reinterpret_cast<const char*>(b.payload), b.length); }
};

TEST_F(JobSequenceTest, TwoPagesHaveHeaderPagesAndPairedSpoolCalls) {
  winsim::PrintSessionResult r = RunScript(kTwoPages);
  ASSERT_TRUE(r.ok) << r.error;
  std::vector<uint8_t> bytes = Stream(r.jobId);
  JsJob job = Read(bytes);
  EXPECT_EQ(Types(job), (std::vector<uint32_t>{243, 243, 244, 240, 245, 241, 244, 240, 245, 241}));
  EXPECT_EQ(Text(job.blocks[1]), "@PJL SET JOBNAME = \"Two\"\r\n");
  ASSERT_EQ(job.pages.size(), 2u);
  EXPECT_EQ(job.pages[0].records.front().opcode, 96);
  EXPECT_EQ(job.pages[0].records.back().opcode, 97);

  // The spool side hears of each page end before the page's display list and page end.
  std::vector<std::string> calls;
  unsigned long endPages[2] = {}, pages = 0;
  for (const std::string& line : Log()) {
    calls.push_back(line.substr(0, line.find(' ')));
    unsigned long offset = 0;
    if (sscanf(line.c_str(), "DrvSplEndPage offset=%lu", &offset) == 1 && pages < 2) endPages[pages++] = offset;
  }
  ASSERT_EQ(pages, 2u);
  for (int p = 0; p < 2; ++p) {
    size_t display = job.pages[size_t(p)].blocks[2];
    EXPECT_EQ(endPages[p], job.blocks[display].offset) << "page " << p + 1;
  }
  EXPECT_EQ(std::count(calls.begin(), calls.end(), "DrvSplStartPage"), 2);
  EXPECT_EQ(calls.front(), "DrvSplStartDocEx");
  EXPECT_EQ(calls[calls.size() - 2], "DrvSplEndDoc");
  EXPECT_EQ(calls.back(), "DrvSplClose");
}

// Raster pages reach the driver as bands either way; played from a metafile, GDI calls no
// DrvStartPage before the bands, and the spool side still hears one StartPage and one EndPage a
// page, the EndPage before the page's last data.
TEST_F(JobSequenceTest, BandedPagesPairTheSpoolPagesDirectOrPlayedFromAMetafile) {
  const struct {
    const char* what;
    std::vector<std::pair<std::string, std::string>> settings;
    long startPages;  // DrvStartPage calls GDI makes
  } kCases[] = {
      {"direct", {{"zdmImagePrint", "1"}, {"zdmColorProcess", "1"}, {"dmColor", "1"}}, 2},
      {"metafile-played",
       {{"zdmImagePrint", "1"}, {"zdmColorProcess", "1"}, {"dmColor", "1"}, {"zdmExtOutputEMFSpool", "1"}},
       0},
  };
  for (const auto& c : kCases) {
    remove(StandIn("ov1bc123.log").c_str());  // the stand-in appends: each case reads its own calls
    winsim::PrintSessionOptions options;
    options.settings = c.settings;
    winsim::PrintSessionResult r = RunScript(kTwoPages, options);
    ASSERT_TRUE(r.ok) << c.what << ": " << r.error;
    long startPages = 0, startBandings = 0;
    for (const std::string& t : r.trace) {
      startPages += t.rfind("DrvStartPage ", 0) == 0;
      startBandings += t.rfind("DrvStartBanding ", 0) == 0;
    }
    EXPECT_EQ(startPages, c.startPages) << c.what;
    EXPECT_EQ(startBandings, 2) << c.what;

    std::vector<uint8_t> bytes = Stream(r.jobId);
    JsJob job = Read(bytes);
    ASSERT_EQ(job.pages.size(), 2u) << c.what;
    std::vector<std::string> pageCalls;
    std::vector<unsigned long> endPages;
    for (const std::string& line : Log()) {
      std::string call = line.substr(0, line.find(' '));
      if (call != "DrvSplStartPage" && call != "DrvSplEndPage") continue;
      pageCalls.push_back(call);
      unsigned long offset = 0;
      if (sscanf(line.c_str(), "DrvSplEndPage offset=%lu", &offset) == 1) endPages.push_back(offset);
    }
    EXPECT_EQ(pageCalls, (std::vector<std::string>{"DrvSplStartPage", "DrvSplEndPage", "DrvSplStartPage",
                                                   "DrvSplEndPage"}))
        << c.what;
    ASSERT_EQ(endPages.size(), 2u) << c.what;
    for (size_t p = 0; p < 2; ++p)
      EXPECT_LT(endPages[p], job.blocks[job.pages[p].blocks.back()].offset) << c.what << ", page " << p + 1;
  }
}

TEST_F(JobSequenceTest, AFailedWriteStopsTheJobAtEachBlockKind) {
  // The offsets of the first blocks of kTwoPages, from a job that goes through: job header,
  // its name line, page header, block 240, display list, page end.
  winsim::PrintSessionResult good = RunScript(kTwoPages);
  ASSERT_TRUE(good.ok) << good.error;
  std::vector<uint8_t> bytes = Stream(good.jobId);
  std::vector<size_t> at;
  for (size_t o = 0; o + 8 <= bytes.size() && at.size() < 6;) {
    at.push_back(o);
    uint32_t cb = 0;
    memcpy(&cb, &bytes[o + 4], 4);
    o += 8 + cb;
  }
  ASSERT_EQ(at.size(), 6u);
  remove(StandIn("ov1bc123.log").c_str());
  const std::string header = "false at " + std::to_string(at[0]), nameHead = "false at " + std::to_string(at[1] + 2),
                    nameText = "false at " + std::to_string(at[1] + 12), page = "false at " + std::to_string(at[2]),
                    b240 = "false at " + std::to_string(at[3]), list = "false at " + std::to_string(at[4]),
                    inside = "false at " + std::to_string(at[4] + 12), end = "false at " + std::to_string(at[5]),
                    shortList = "short at " + std::to_string(at[4] + 8);
  const struct {
    const char* what;
    std::string script;
    size_t kept;  // bytes the stand-in holds afterwards
  } kCases[] = {
      {"job header", header, 0},
      {"job-name line head", nameHead, at[1]},
      {"job-name line text", nameText, at[1] + 8},
      {"page header", page, at[2]},
      {"block 240", b240, at[3]},
      {"display list head", list, at[4]},
      {"inside the display list", inside, at[4] + 8},
      {"page end", end, at[5]},
      {"short display list", shortList, at[5] - 1},
  };
  for (const auto& c : kCases) {
    Script(std::string(c.script) + "\n");
    winsim::PrintSessionResult r = RunScript(kTwoPages);
    EXPECT_FALSE(r.ok) << c.what;
    EXPECT_EQ(Stream(r.jobId).size(), c.kept) << c.what << ": " << r.error;
    int startPages = 0;
    for (const std::string& line : Log()) startPages += line.compare(0, 15, "DrvSplStartPage") == 0;
    EXPECT_EQ(startPages, 1) << c.what << ": the failed page is the last one started";
    remove(StandIn("ov1bc123.log").c_str());
  }
}

TEST_F(JobSequenceTest, SpoolDllExportsDecideTheBinding) {
  const struct {
    const char* what;
    std::vector<const char*> hidden;
    bool ok;
    const char* firstCall;
  } kCases[] = {
      {"no write export", {"DrvSplWritePrinter"}, false, "DrvSplStartDocEx"},
      {"plain start", {"DrvSplStartDocEx"}, true, "DrvSplStartDoc"},
      {"only start and write", {"DrvSplStartDocEx", "DrvSplStartPage", "DrvSplEndPage", "DrvSplEndDoc", "DrvSplClose"},
       true, "DrvSplStartDoc"},
  };
  for (const auto& c : kCases) {
    SimHideExport("OV1BC123.DLL", nullptr);
    for (const char* name : c.hidden) SimHideExport("OV1BC123.DLL", name);
    remove(StandIn("ov1bc123.log").c_str());
    winsim::PrintSessionResult r = RunScript(kTwoPages);
    EXPECT_EQ(r.ok, c.ok) << c.what << ": " << r.error;
    std::vector<std::string> log = Log();
    if (!c.ok) {
      EXPECT_NE(r.error.find("DrvStartDoc failed"), std::string::npos) << c.what << ": " << r.error;
      EXPECT_TRUE(log.empty()) << c.what << ": the document never started";
      continue;
    }
    ASSERT_FALSE(log.empty()) << c.what;
    EXPECT_EQ(log.front().substr(0, log.front().find(' ')), c.firstCall) << c.what;
    std::vector<uint8_t> bytes = Stream(r.jobId);
    Read(bytes);
  }
}

TEST_F(JobSequenceTest, JobNamesAreCutAndCleaned) {
  std::string longName(300, 'x');
  const struct {
    std::string doc;  // as the script writes it
    std::string line;
  } kCases[] = {
      {longName, "@PJL SET JOBNAME = \"" + std::string(232, 'x') + "\"\r\n"},
      {"say \\\"hi\\\"", "@PJL SET JOBNAME = \"say 'hi'\"\r\n"},
      {"a\\x0d\\x0a@PJL b\\x09", "@PJL SET JOBNAME = \"a  @PJL b \"\r\n"},
  };
  for (const auto& c : kCases) {
    winsim::PrintSessionResult r = RunScript("doc \"" + c.doc + "\"\npage\nendpage\nenddoc\n");
    ASSERT_TRUE(r.ok) << r.error;
    std::vector<uint8_t> bytes = Stream(r.jobId);  // the blocks point into it
    JsJob job = Read(bytes);
    ASSERT_GE(job.blocks.size(), 2u);
    EXPECT_EQ(Text(job.blocks[1]), c.line);
  }
}

TEST_F(JobSequenceTest, ResetBetweenPagesSendsTheJobHeaderAgainWithoutTheName) {
  winsim::PrintSessionResult r = RunScript("doc \"r\"\npage\nendpage\nreset dmCopies=2\npage\nendpage\nenddoc\n");
  ASSERT_TRUE(r.ok) << r.error;
  std::vector<uint8_t> bytes = Stream(r.jobId);
  JsJob job = Read(bytes);
  EXPECT_EQ(Types(job), (std::vector<uint32_t>{243, 243, 244, 240, 245, 241, 243, 244, 240, 245, 241}));
}

TEST_F(JobSequenceTest, SpoolerKnowsTheSessionsJobAtLevelsOneAndTwo) {
  winsim::PrintSessionResult r = RunScript("doc \"Report\"\npage\nendpage\nenddoc\n");
  ASSERT_TRUE(r.ok) << r.error;
  for (DWORD level : {1u, 2u}) {
    DWORD needed = 0;
    EXPECT_FALSE(GetJobW(printer_, r.jobId, level, nullptr, 0, &needed));
    std::vector<BYTE> buffer(needed);
    ASSERT_TRUE(GetJobW(printer_, r.jobId, level, buffer.data(), needed, &needed)) << level;
    LPWSTR document, printer, user;
    if (level == 1) {
      auto* info = reinterpret_cast<JOB_INFO_1W*>(buffer.data());
      EXPECT_EQ(info->JobId, r.jobId);
      document = info->pDocument, printer = info->pPrinterName, user = info->pUserName;
    } else {
      auto* info = reinterpret_cast<JOB_INFO_2W*>(buffer.data());
      EXPECT_EQ(info->JobId, r.jobId);
      document = info->pDocument, printer = info->pPrinterName, user = info->pUserName;
    }
    EXPECT_EQ(std::u16string(reinterpret_cast<const char16_t*>(document)), u"Report") << level;
    EXPECT_EQ(std::u16string(reinterpret_cast<const char16_t*>(printer)), u"Print") << level;
    EXPECT_NE(user[0], 0) << level;
  }
  EXPECT_FALSE(GetJobW(printer_, r.jobId + 100, 1, nullptr, 0, nullptr));
}

// A print method stored in the printer's settings file since the job's settings were made (an
// application changed it) has DrvStartDoc merge the settings again, and a merge that fails
// fails DrvStartDoc. The merge is seen by the memory it needs: the smallest allowance of
// allocations that lets DrvStartDoc through with the stored method unchanged is too small
// when it differs.
TEST_F(JobSequenceTest, AnotherStoredPrintMethodMergesTheSettingsAgain) {
  WCHAR path[MAX_PATH] = {};
  ASSERT_TRUE(PathSettingsFileOf(path, MAX_PATH, 0, printer_));
  const std::vector<BYTE> dm = JobDevmode();  // print method 0
  auto startDoc = [&](LPCWSTR stored, int allowance) {
    EXPECT_TRUE(WritePrivateProfileStringW(TEXT("Print"), TEXT("PrnMethod"), stored, path));
    DHPDEV pdev = EnableCompletePdev(&dm);
    SURFOBJ so = {};
    so.dhpdev = pdev;
    so.iType = STYPE_DEVICE;
    SimFailAllocations(allowance);
    BOOL ok = Ddi<PFN_DrvStartDoc>(INDEX_DrvStartDoc)(&so, nullptr, 1);
    SimFailAllocations(-1);
    if (ok) Ddi<PFN_DrvEndDoc>(INDEX_DrvEndDoc)(&so, 0);
    DisablePdev(pdev);
    return ok != FALSE;
  };
  int enough = 0;
  while (enough < 500 && !startDoc(TEXT("0"), enough)) ++enough;
  ASSERT_LT(enough, 500);
  EXPECT_FALSE(startDoc(TEXT("5"), enough)) << "the settings are merged again";
  EXPECT_TRUE(startDoc(TEXT("5"), -1));

  // With memory the job prints as usual.
  winsim::PrintSessionResult r = RunScript(kTwoPages);
  ASSERT_TRUE(r.ok) << r.error;
  EXPECT_EQ(Read(Stream(r.jobId)).pages.size(), 2u);
}

// The job header's DEVMODE block carries the output size as the user chose it: each saved set
// whose bit of zdmFrontFunc is set (bit 3 set 1, bit 5 set 2) is put back for the block (set 2
// last), and its mark is cleared afterwards; a set whose bit is off keeps its mark.
TEST_F(JobSequenceTest, SavedOutputSizesGoIntoTheDevmodeBlock) {
  // The hook value that asks for the block: front-function bit 0x100, the preview selected and
  // the preview companion installed.
  SimActForMachine(TRUE);
  HKEY key = nullptr;
  ASSERT_EQ(RegCreateKeyExW(HKEY_LOCAL_MACHINE, TEXT("Software\\ORVEL\\Tavrello\\Preview"), 0, nullptr, 0,
                            KEY_ALL_ACCESS, nullptr, &key, nullptr),
            ERROR_SUCCESS);
  const DWORD one = 1;
  ASSERT_EQ(RegSetValueExW(key, TEXT("VERSION"), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&one), 4), ERROR_SUCCESS);
  RegCloseKey(key);
  // The printer's stored DEVMODE was made before the companion came, with its flag off: without
  // it the job's settings start from the defaults, which find the companion.
  ASSERT_EQ(RegOpenKeyExW(HKEY_LOCAL_MACHINE, TEXT("SYSTEM\\CurrentControlSet\\Control\\Print\\Printers\\Print"),
                          0, KEY_ALL_ACCESS, &key),
            ERROR_SUCCESS);
  RegDeleteValueW(key, TEXT("Default DevMode"));
  RegCloseKey(key);
  SimActForMachine(FALSE);
  // The front-function word is the printer's, kept in its settings file.
  WCHAR path[MAX_PATH] = {};
  ASSERT_TRUE(PathSettingsFileOf(path, MAX_PATH, 0, printer_));
  ASSERT_TRUE(WritePrivateProfileStringW(TEXT("Print"), TEXT("FrontFunc"), TEXT("296"), path));  // 0x128

  const LONG kSet1[3] = {13, 1, 2}, kSet2[3] = {11, 1, 3};
  const struct {
    const char* what;
    LONG front;        // bits 3 and 5 as given
    bool saved[2];
    const LONG* inBlock;  // null: the context's own values
    bool markedAfter[2];
  } kCases[] = {
      {"both sets", 0x28, {true, true}, kSet2, {false, false}},
      {"set 1, bit 5 off", 0x08, {true, true}, kSet1, {false, true}},
      {"set 2 only", 0x28, {false, true}, kSet2, {false, false}},
      {"nothing saved", 0x28, {false, false}, nullptr, {false, false}},
  };
  const WORD kItems[3] = {kItem_zdmOutPaperSize, kItem_zdmFuncSelectScale, kItem_zdmScaleType};
  for (const auto& c : kCases) {
    DHPDEV dhpdev = EnableJob({{"zdmPreviewPrint", 1}});
    ASSERT_NE(dhpdev, nullptr) << c.what;
    SURFOBJ so = {};
    so.dhpdev = dhpdev;
    so.iType = STYPE_DEVICE;
    ASSERT_TRUE(Ddi<PFN_DrvStartDoc>(INDEX_DrvStartDoc)(&so, const_cast<LPWSTR>(TEXT("sizes")), 7)) << c.what;
    DriverContext* ctx = reinterpret_cast<GraphicsPdev*>(dhpdev)->context;
    ASSERT_NE(reinterpret_cast<GraphicsPdev*>(dhpdev)->hookValue, 0u) << c.what;
    // The case's bits 3 and 5, for the job header.
    const DWORD front = DWORD(0x100 | c.front);
    memcpy(ItemStoragePtr(ctx, ItemFind(ctx, kItem_zdmFrontFunc)), &front, 4);
    LONG own[3];
    size_t at[3];
    for (int i = 0; i < 3; ++i) {
      own[i] = LONG(ItemGetRawById(ctx, kItems[i]));
      at[i] = size_t(ItemStoragePtr(ctx, ItemFind(ctx, kItems[i])) - ctx->settings);
    }
    ASSERT_TRUE(own[0] != kSet1[0] && own[0] != kSet2[0] && own[2] != kSet1[2] && own[2] != kSet2[2]) << c.what;
    for (int set = 0; set < 2; ++set) {
      memcpy(ctx->ui->outputSizeSets[set].values, set ? kSet2 : kSet1, sizeof kSet1);
      ctx->ui->outputSizeSets[set].marked = c.saved[set];
    }
    ASSERT_TRUE(Ddi<PFN_DrvStartPage>(INDEX_DrvStartPage)(&so)) << c.what;
    EXPECT_EQ(ctx->ui->outputSizeSets[0].marked != 0, c.markedAfter[0]) << c.what;
    EXPECT_EQ(ctx->ui->outputSizeSets[1].marked != 0, c.markedAfter[1]) << c.what;
    ASSERT_TRUE(Ddi<PFN_DrvSendPage>(INDEX_DrvSendPage)(&so)) << c.what;
    ASSERT_TRUE(Ddi<PFN_DrvEndDoc>(INDEX_DrvEndDoc)(&so, 0)) << c.what;
    DisablePdev(dhpdev);

    std::vector<uint8_t> bytes = Stream(7);
    JsJob job = Read(bytes);
    const JsBlock* block = nullptr;
    for (const JsBlock& b : job.blocks)
      if (b.type == 247) block = &b;
    ASSERT_NE(block, nullptr) << c.what << ": the hook value asks for the DEVMODE block";
    ASSERT_GE(block->length, 1236u) << c.what;
    const LONG* want = c.inBlock ? c.inBlock : own;
    EXPECT_EQ(LONG(int16_t(block->payload[at[0]] | block->payload[at[0] + 1] << 8)), want[0]) << c.what;
    EXPECT_EQ(LONG(block->payload[at[1]] & 1), want[1]) << c.what;
    EXPECT_EQ(LONG(block->payload[at[2]]), want[2]) << c.what;
  }
}

// The name line on its own: a double-byte character is never split at the cut.
TEST(JobNameLine, CutKeepsDoubleByteCharactersWhole) {
  const struct {
    std::string name;
    UINT codePage;
    std::string kept;
  } kCases[] = {
      {std::string(231, 'a') + "\x82\xA0" + "b", 932, std::string(231, 'a')},  // lead byte at the 232nd byte
      {std::string(230, 'a') + "\x82\xA0" + "b", 932, std::string(230, 'a') + "\x82\xA0"},
      {std::string(231, 'a') + "\x82\xA0" + "b", 1252, std::string(231, 'a') + "\x82"},  // no lead bytes
      {"\x82\x40\"\x82", 932, "\x82\x40'"},  // a lone last lead byte is dropped
  };
  for (const auto& c : kCases) {
    char line[256];
    DWORD cb = JobNameLine(c.name.data(), DWORD(c.name.size()), c.codePage, line);
    EXPECT_EQ(std::string(line, cb), "@PJL SET JOBNAME = \"" + c.kept + "\"\r\n") << c.codePage;
  }
}

TEST(JobNotification, ValueIsSelectedAndSupported) {
  const struct {
    LONG selComplete, selError, supComplete, supError;
    DWORD value;
  } kCases[] = {{1, 1, 1, 0, 0x01}, {1, 1, 1, 1, 0x03}, {0, 1, 1, 1, 0x02}, {1, 0, 0, 1, 0x00}};
  for (const auto& c : kCases)
    EXPECT_EQ(JobNotificationValue(c.selComplete, c.selError, c.supComplete, c.supError), c.value);
}

}  // namespace
