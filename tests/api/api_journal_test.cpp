// The store-write journal: printer data, ini keys and files written during a call come back,
// newest first, when the call fails; kept when it succeeds; outside a call nothing is recorded.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "api/api_inproc_fixture.h"
#include "exclude/api/api_context.h"
#include "exclude/api/api_exports.h"
#include "exclude/api/api_journal.h"
#include "exclude/api/api_levels.h"
#include "support/test_printer.h"

namespace zems_test {
namespace {

class ApiJournalTest : public ApiInProcessTest {
 protected:
  void SetUp() override {
    ApiInProcessTest::SetUp();
    ASSERT_EQ(0, RunHostKept("machine install --model " + SourceDir() + "/samples/models/zems_c4.zmd --printer Api"));
    handle_ = ApiExportEnable("Api");
    ASSERT_NE(nullptr, handle_);
    api_ = ApiEnterCall(handle_);
    ASSERT_NE(nullptr, api_);
    ASSERT_TRUE(ApiOpenPrinter(api_, &printer_, nullptr));
    WriteMachineFile("C:\\journal\\a.ini", "[S]\r\nK=old\r\n");
  }
  void TearDown() override {
    ApiClosePrinter(api_, printer_);
    ApiLeaveCall(api_);
    ApiInProcessTest::TearDown();
    ApiResetGlobals();
  }
  std::string Data(const char16_t* name) {
    WCHAR text[64] = {};
    DWORD type = 0, needed = 0;
    const DWORD rc = GetPrinterDataW(printer_, const_cast<LPWSTR>(reinterpret_cast<const WCHAR*>(name)), &type,
                                     reinterpret_cast<LPBYTE>(text), sizeof(text), &needed);
    if (rc != ERROR_SUCCESS) return "(absent)";
    std::string out;
    for (int i = 0; text[i]; ++i) out += static_cast<char>(text[i]);
    return out;
  }
  void PutData(const char16_t* name, const char16_t* text) {
    const DWORD bytes = static_cast<DWORD>((std::u16string(text).size() + 1) * 2);
    ASSERT_EQ(1, ApiWritePrinterData(api_, reinterpret_cast<const WCHAR*>(name), REG_SZ, text, bytes));
  }
  std::string File(const std::string& path) {
    std::ifstream in(HostPath(path), std::ios::binary);
    if (!in) return "(absent)";
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
  }
  ApiContext* api_ = nullptr;
  HANDLE printer_ = nullptr;
};

TEST_F(ApiJournalTest, FailedCallPutsEveryStoreBack) {
  PutData(u"JournalOld", u"before");  // outside a call: written, not recorded
  ASSERT_EQ(1, ApiJournalBegin(api_));
  PutData(u"JournalOld", u"first");
  PutData(u"JournalOld", u"second");
  PutData(u"JournalNew", u"made");
  ASSERT_EQ(1, ApiWriteIniString(api_, TEXT("C:\\journal\\a.ini"), TEXT("S"), TEXT("K"), TEXT("new")));
  ASSERT_EQ(1, ApiWriteIniString(api_, TEXT("C:\\journal\\b.ini"), TEXT("S"), TEXT("K"), TEXT("made")));
  EXPECT_EQ("second", Data(u"JournalOld"));
  ApiJournalEnd(api_, 1);
  EXPECT_EQ("before", Data(u"JournalOld"));
  EXPECT_EQ("(absent)", Data(u"JournalNew"));
  EXPECT_EQ("[S]\r\nK=old\r\n", File("C:\\journal\\a.ini"));
  EXPECT_EQ("(absent)", File("C:\\journal\\b.ini")) << "a file the call made is removed";
}

TEST_F(ApiJournalTest, SuccessfulCallKeepsTheWrites) {
  ASSERT_EQ(1, ApiJournalBegin(api_));
  PutData(u"JournalKept", u"kept");
  ASSERT_EQ(1, ApiWriteIniString(api_, TEXT("C:\\journal\\a.ini"), TEXT("S"), TEXT("K"), TEXT("new")));
  ApiJournalEnd(api_, 0);
  EXPECT_EQ("kept", Data(u"JournalKept"));
  EXPECT_NE(std::string::npos, File("C:\\journal\\a.ini").find("K=new"));
}

}  // namespace
}  // namespace zems_test
