// User-code sources: the server's settings in printer data, else the user-code store, and the
// job-control set-up that hands the code on.
#include <filesystem>
#include <fstream>
#include <sstream>

#include "bind_fixture.h"
#include "core/bind/user_code.h"
#include "core/system/settings_folders.h"
#include "core/items/item_ids.h"
#include "platform/sim.h"
#include "support/test_printer.h"

namespace zems_test {
namespace {

class UserCodeTest : public BindTest {
 protected:
  void SetUp() override {
    BindTest::SetUp();
    printer_ = AddTestPrinter(u"Office");
    ASSERT_NE(nullptr, printer_);
    ctx()->printer = printer_;
    InstallStandIn(kJobControlDll, kJobControlSo);
  }
  void TearDown() override {
    if (printer_) ClosePrinter(printer_);
    BindTest::TearDown();
  }
  void SetData(const char16_t* name, const std::string& bytes) {
    ASSERT_EQ(DWORD(ERROR_SUCCESS),
              SetPrinterDataW(printer_, const_cast<LPWSTR>(name), REG_BINARY,
                              reinterpret_cast<LPBYTE>(const_cast<char*>(bytes.data())), DWORD(bytes.size())));
  }
  std::string StorePath() {
    WCHAR path[MAX_PATH] = {};
    EXPECT_TRUE(PathInSettingsFolder(path, MAX_PATH, u"OV00C170.ini", ctx()));
    std::string narrow;
    for (const WCHAR* p = path; *p; ++p) narrow += char(*p);
    return HostPath(narrow);
  }
  std::string StoreText() {
    std::ifstream in(StorePath());
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
  }
  void WriteStore(const std::string& text) {
    std::filesystem::create_directories(std::filesystem::path(StorePath()).parent_path());
    std::ofstream(StorePath(), std::ios::trunc) << text;
  }
  // The user code pushed to the job-control stand-in (property 1), empty when none.
  std::vector<std::string> PushedUserCodes() { return JcLog("slot6 session=1 property=1 "); }

  HANDLE printer_ = nullptr;
};

TEST_F(UserCodeTest, PrinterThroughServerReadsNothingAndPushesNothing) {
  Ui()->onServer = 1;
  SetData(u"ServerUse", std::string("\x01", 1));
  SetData(u"UserCodeUse", std::string("\x01", 1));
  SetData(u"UserCode", "1234");
  EXPECT_EQ(0, UserCodeFromServer(ctx()));
  EXPECT_EQ(0, RawOf(kItem_zdmLogCodeUse));
  EXPECT_EQ(1, JcPrepareUserCode(ctx()));
  EXPECT_TRUE(PushedUserCodes().empty());
  EXPECT_FALSE(std::filesystem::exists(StorePath()));
}

TEST_F(UserCodeTest, ServerUseWithUserCodeOffPassesNothingOn) {
  SetData(u"ServerUse", std::string("\x01", 1));
  SetData(u"UserCodeUse", std::string("\x00", 1));
  SetData(u"UserCode", "1234");
  ItemSetRawById(ctx(), kItem_zdmLogCodeUse, 1);
  EXPECT_EQ(1, UserCodeFromServer(ctx()));
  EXPECT_EQ(0, RawOf(kItem_zdmLogCodeUse));
  EXPECT_EQ(1, JcPrepareUserCode(ctx()));
  EXPECT_TRUE(PushedUserCodes().empty());
}

TEST_F(UserCodeTest, FullNineByteUserCodeIsTerminatedAndHandedOn) {
  SetData(u"ServerUse", std::string("\x01", 1));
  SetData(u"UserCodeUse", std::string("\x01", 1));
  SetData(u"UserCode", "123456789");  // all nine bytes, no terminator
  EXPECT_EQ(1, UserCodeFromServer(ctx()));
  EXPECT_EQ(1, RawOf(kItem_zdmLogCodeUse));
  EXPECT_EQ(u"12345678", TextOf(kItem_zdmLogCode)) << "the item holds eight characters";
  EXPECT_EQ(1, JcPrepareUserCode(ctx()));
  EXPECT_EQ(u"12345678", TextOf(kItem_zdmUserCode));
  ASSERT_EQ(1u, PushedUserCodes().size());
  EXPECT_NE(std::string::npos, PushedUserCodes()[0].find("data=" + HexText(u"12345678") + " "));
}

TEST_F(UserCodeTest, UserCodeIsCutBetweenDoubleByteCharacters) {
  ASSERT_TRUE(SimSetAnsiCodePage(932));
  SetData(u"ServerUse", std::string("\x01", 1));
  SetData(u"UserCodeUse", std::string("\x01", 1));
  SetData(u"UserCode", "1234567\x82\xa0");  // seven digits and one double-byte character
  EXPECT_EQ(1, UserCodeFromServer(ctx()));
  std::u16string code = TextOf(kItem_zdmLogCode);
  SimSetAnsiCodePage(1252);
  EXPECT_EQ(u"1234567", code) << "the item's eight bytes end before the character";
}

TEST_F(UserCodeTest, MissingStoreIsCreatedWithTheCodeOff) {
  ASSERT_TRUE(PathCreateSettingsFolder(ctx()));  // made at installation
  ItemSetRawById(ctx(), kItem_zdmLogCodeUse, 1);
  EXPECT_EQ(1, UserCodeFromServer(ctx()));
  EXPECT_EQ(0, RawOf(kItem_zdmLogCodeUse));
  EXPECT_EQ(u"", TextOf(kItem_zdmLogCode));
  std::string text = StoreText();
  EXPECT_NE(std::string::npos, text.find("[Office]")) << text;
  EXPECT_NE(std::string::npos, text.find("UserCode=0")) << text;
  EXPECT_NE(std::string::npos, text.find("UserCodeString=")) << text;
  EXPECT_NE(std::string::npos, text.find("[ORVEL UserCode]")) << text;
  EXPECT_NE(std::string::npos, text.find("MRUUserCode=")) << text;
}

TEST_F(UserCodeTest, PrinterWithoutSectionTakesTheMostRecentCode) {
  WriteStore("[ORVEL UserCode]\r\nMRUUserCode=4711\r\n");
  EXPECT_EQ(1, UserCodeReadStore(ctx()));
  EXPECT_EQ(0, RawOf(kItem_zdmLogCodeUse));
  EXPECT_EQ(u"4711", TextOf(kItem_zdmLogCode));
  EXPECT_EQ(u"4711", TextOf(kItem_zdmDllLogCode));
  std::string text = StoreText();
  EXPECT_NE(std::string::npos, text.find("UserCodeString=4711")) << text;
  EXPECT_NE(std::string::npos, text.find("UserCode=0")) << text;
}

TEST_F(UserCodeTest, PrinterSectionGivesUseCodeAndFix) {
  WriteStore("[Office]\r\nUserCode=1\r\nUserCodeString=42\r\nUserCodeFIX=1\r\n[ORVEL UserCode]\r\nMRUUserCode=9\r\n");
  EXPECT_EQ(1, UserCodeFromServer(ctx()));
  EXPECT_EQ(1, RawOf(kItem_zdmLogCodeUse));
  EXPECT_EQ(u"42", TextOf(kItem_zdmLogCode));
  EXPECT_EQ(u"42", TextOf(kItem_zdmDllLogCode));
  EXPECT_EQ(1, RawOf(kItem_zdmUserCodeFIX));
}

TEST_F(UserCodeTest, ProviderStateClearsBothFlags) {
  ItemSetRawById(ctx(), kItem_zdmUserCodeGet, 1);
  ItemSetRawById(ctx(), kItem_zdmUserCodeDLL, 1);
  UserCodeApplyProviderState(ctx());
  EXPECT_EQ(0, RawOf(kItem_zdmUserCodeGet));
  EXPECT_EQ(0, RawOf(kItem_zdmUserCodeDLL));
}

TEST_F(UserCodeTest, InitForPrinterWithoutSessionRunsPrinterCallAndUserCode) {
  SetData(u"ServerUse", std::string("\x01", 1));
  SetData(u"UserCodeUse", std::string("\x01", 1));
  SetData(u"UserCode", "77");
  WriteScript("orvjc32.force", "slot2 5\n");
  JcInitForPrinter(ctx());
  EXPECT_EQ(1u, JcLog("slot0 printer=\"Office\"").size());
  EXPECT_EQ(u"77", TextOf(kItem_zdmUserCode));
  // Every push needs a session, which the script refuses: the opens are all there is.
  EXPECT_EQ(3u, JcLog("slot2 ").size());
  WriteScript("orvjc32.force", "");
  JcInitForPrinter(ctx());
  EXPECT_EQ(1u, JcLog("slot0 ").size()) << "a session could be opened: no printer call";
  EXPECT_EQ(3u, JcLog("slot6 ").size()) << "the driver identity";
}

}  // namespace
}  // namespace zems_test
