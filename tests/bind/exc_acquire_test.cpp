// Option acquisition of the exclusion DLL's build: when an exclusion handle's context takes the
// stored results, asks the printer or neither; the error map of library failures; the
// acquired default trays copied for the application interface.
#include <filesystem>
#include <string>
#include <vector>

#include "bidi_fixture.h"
#include "core/bind/bidi_acquire.h"
#include "core/bind/bidi_api.h"
#include "core/bind/bidi_store.h"
#include "core/bind/jc_string.h"
#include "core/pjl/pjl_service.h"
#include "core/system/printer_names.h"
#include "core/system/settings_folders.h"
#include "platform/sim.h"
#include "support/machine_fixture.h"
#include "support/test_printer.h"

namespace zems_test {
namespace {

constexpr WORD kBiDirect = 710;
constexpr WORD kServerClientMode = 714;

class ExcAcquireTest : public BidiTest {
 protected:
  int Refresh(int acquire) {
    ExcHandle handle = {};
    handle.context = ctx();
    handle.printer = Printer();
    return ExcRefreshOptions(&handle, acquire);
  }
};

TEST_F(ExcAcquireTest, StoredResultsAcquisitionOrNeither) {
  struct Case {
    const char* what;
    LONG serverClient;
    DWORD printerFlag;        // 0: no BidiFlag printer data
    const char16_t* iniFlag;  // null: no BidiFlag in the bidi ini
    int acquire;
    int result;
    LONG biDirect;
    bool libraryCalled;
  } cases[] = {
      {"printer data bit 0, no ini flag", 0, 1, nullptr, 1, 1, 1, false},
      {"printer data without bit 0", 0, 6, nullptr, 0, 0, 0, false},
      {"the ini flag decides over printer data", 0, 1, u"0", 0, 0, 0, false},
      {"the ini flag set", 0, 0, u"1", 0, 1, 1, false},
      {"a server client reads printer data only", 1, 0, u"1", 0, 0, 0, false},
      {"a server client with printer data bit 0", 1, 1, u"0", 0, 1, 1, false},
      {"nothing stored: the printer is asked", 0, 0, nullptr, 1, 1, 1, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    WriteScript("ov4mannt.log", "");
    Script(FullAnswers());
    ItemSetRawById(ctx(), kServerClientMode, c.serverClient);
    ItemSetRawById(ctx(), kBiDirect, 7);
    if (c.printerFlag) ASSERT_TRUE(BidiWriteFlag(Printer(), c.printerFlag));
    else DeletePrinterDataW(Printer(), const_cast<LPWSTR>(TEXT("BidiFlag")));
    if (c.iniFlag) SetIniKey(u"BidiFlag", c.iniFlag);
    else BidiDeleteIniSection(ctx());
    EXPECT_EQ(c.result, Refresh(c.acquire));
    EXPECT_EQ(c.biDirect, RawOf(kBiDirect));
    EXPECT_EQ(c.libraryCalled, !Log("").empty());
  }
}

TEST_F(ExcAcquireTest, StoredResultsFollowTheSupportGate) {
  ASSERT_TRUE(BidiWriteFlag(Printer(), 1));
  Gate(u"bIsBIDISupportForZEMS", u"0");
  EXPECT_EQ(1, Refresh(1));
  EXPECT_EQ(0, RawOf(kBiDirect));
  EXPECT_TRUE(Log("").empty());
}

TEST(BidiApiErrors, MapOfSystemErrors) {
  const std::pair<DWORD, DWORD> cases[] = {
      {2, 200},  {7, 200},  {5, 200},  {103, 200}, {59, 200}, {101, 200}, {55, 200},   {57, 200},
      {8, 200},  {9, 200},  {58, 200}, {60, 200},  {1, 200},  {6, 200},   {17, 200},   {18, 200},
      {14, 201}, {56, 201}, {10, 202}, {102, 0},   {0, 200},  {3, 200},   {1722, 200},
  };
  for (auto& c : cases) EXPECT_EQ(c.second, BidiMapApiError(c.first)) << c.first;
}

void Collect(void* codes, DWORD code) { static_cast<std::vector<DWORD>*>(codes)->push_back(code); }

// The interface hears of a failure at the library call that failed, mapped; a refresh that
// made no failing call leaves nothing, whatever the last error was before.
TEST_F(ExcAcquireTest, FailedLibraryCallsRecordTheirMappedError) {
  struct Case {
    const char* what;
    std::vector<std::string> extra;
    bool gateClosed;
    std::vector<DWORD> codes;
  } cases[] = {
      {"all answered", {}, false, {}},
      {"query refused, out of memory", {"begin\t0 14"}, false, {201}},
      {"query refused, an unlisted error", {"begin\t0 1722"}, false, {200}},
      {"query answering zero with 102", {"begin\t0 102"}, false, {}},
      {"the option group refused", {"group\t0 56"}, false, {201}},
      {"printer unreachable", {"reachable\t0"}, false, {200}},
      {"no library call at all", {}, true, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    std::vector<std::string> answers = FullAnswers();
    answers.insert(answers.end(), c.extra.begin(), c.extra.end());
    Script(answers);
    Gate(u"bIsBIDISupportForZEMS", c.gateClosed ? u"0" : u"1");
    std::vector<DWORD> codes;
    BidiSetApiErrorSink(ctx(), Collect, &codes);
    SetLastError(5);
    if (std::string(c.what) == "printer unreachable") SetLastError(0);
    BidiUpdateFromPrinter(ctx(), nullptr, 8);
    BidiSetApiErrorSink(ctx(), nullptr, nullptr);
    EXPECT_EQ(c.codes, codes);
  }
  // Another context's failures are not this sink's.
  std::vector<DWORD> codes;
  BidiSetApiErrorSink(ctx(), Collect, &codes);
  BidiRecordApiError(nullptr);
  BidiSetApiErrorSink(nullptr, Collect, &codes);
  BidiRecordApiError(ctx());
  EXPECT_TRUE(codes.empty());
}

// The readers run inside any application: a job-control DLL beside the program is never
// loaded, the system directory's is.
TEST_F(ExcAcquireTest, TheJobControlReaderLoadsFromTheSystemDirectoryOnly) {
  StoreValue(1, HexText(u"ann1"));
  RemoveStandIn(kJobControlDll);
  std::error_code ec;
  std::filesystem::create_directories(HostPath("C:\\Apps"), ec);
  std::filesystem::copy_file(BinDir() + "/" + kJobControlSo, HostPath("C:\\Apps\\ORVJC32.DLL"),
                             std::filesystem::copy_options::overwrite_existing, ec);
  ASSERT_FALSE(ec) << ec.message();
  SimSetProcessName("C:\\Apps\\writer.exe");
  WCHAR code[16] = {};
  EXPECT_EQ(0, ApiJcGetString(Printer(), 1, 1, code, 16));
  EXPECT_TRUE(JcLog("JCGetInterface").empty()) << "the copy beside the program ran";
  InstallStandIn(kJobControlDll, kJobControlSo);
  EXPECT_EQ(1, ApiJcGetString(Printer(), 1, 1, code, 16));
  EXPECT_EQ(std::u16string(u"ann1"), std::u16string(reinterpret_cast<const char16_t*>(code)));
  EXPECT_FALSE(JcLog("JCGetInterface").empty());
  SimSetProcessName("C:\\WINDOWS\\system32\\spoolsv.exe");
}

TEST_F(ExcAcquireTest, DefaultTraysAreCopiedAtEveryCallUnlessABatchPackIsNamed) {
  const std::pair<WORD, WORD> copies[] = {{125, 10276}, {127, 10276}, {123, 10277}, {408, 10288}, {1003, 10278}};
  ItemSetRawById(ctx(), 10276, 3);
  ItemSetRawById(ctx(), 10277, 4);
  ItemSetRawById(ctx(), 10288, 2);
  ItemSetRawById(ctx(), 10278, 5);
  for (int round = 0; round < 2; ++round) {
    for (auto& c : copies) ItemSetRawById(ctx(), c.first, 1);
    ApiBidiApplyDefaultTrays(ctx());
    for (auto& c : copies) EXPECT_EQ(RawOf(c.second), RawOf(c.first)) << c.first << " round " << round;
  }
  // Nothing was recorded as applied.
  EXPECT_EQ("", IniKey(u"BidiExFlag"));
  ASSERT_TRUE(WritePrivateProfileStringW(PrnGetPrinterName(ctx()), TEXT("BatchInstRst"), TEXT("pack.rst"),
                                         PathSettingsFile(ctx())));
  for (auto& c : copies) ItemSetRawById(ctx(), c.first, 1);
  ApiBidiApplyDefaultTrays(ctx());
  for (auto& c : copies) EXPECT_EQ(1, RawOf(c.first)) << c.first;
}

}  // namespace
}  // namespace zems_test
