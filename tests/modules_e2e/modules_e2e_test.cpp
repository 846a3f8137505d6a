// The chapter and colour-profile modules through zemsexc as an application reaches them: the
// sample printer installed, "zemshost api" adding and deleting chapters through status item 67
// and naming the stored profiles through capabilities 281 and 282.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>

#include "core/common/ini_access.h"
#include "support/machine_fixture.h"
#include "support/test_printer.h"

namespace zems_test {
namespace {

const WCHAR* W(const char16_t* s) { return reinterpret_cast<const WCHAR*>(s); }

class ModulesE2eTest : public MachineTest {
 protected:
  void SetUp() override {
    MachineTest::SetUp();
    ASSERT_EQ(0, RunHostKept("machine install --model " + SourceDir() + "/samples/models/zems_c4.zmd --printer Api "
                             "--extra " + SourceDir() + "/samples/driver/OV1BD172.ini"));
  }
  std::string Api(const std::string& arguments) {
    std::string out;
    EXPECT_GE(RunHost("api --printer Api --level 16 " + arguments, out), 0);
    return out;
  }
  std::string SettingsIni() {
    std::ifstream in(HostPath(kIni), std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
  }
  static constexpr const char* kIni = "C:\\_zems\\OV1BD170.ini";
};

// Status record 67: +4 switch, +8 operation (1 add, 2 delete one), +12 entry, +16 page,
// +20 kind, +28 tray, +32 print, +36 last page (version 2).
TEST_F(ModulesE2eTest, ChaptersAddedAndDeletedThroughStatusItem67) {
  const std::string out = Api(
      "--set 67:4=1,8=2,12=1 "                            // nothing to delete yet
      "--set 67:0=2,4=1,8=1,16=5,20=3,28=2,32=0,36=9 "    // the range 5-9
      "--set 67:4=1,8=1,16=12,20=0,28=2,32=0 "            // page 12
      "--get 67 "
      "--set 67:4=1,8=2,12=1 "                            // delete the first
      "--get 67");
  EXPECT_NE(std::string::npos, out.find("set 67: -1")) << out;
  const size_t firstGet = out.find("get 67: 40 version=2 value=1 value2=2");
  EXPECT_NE(std::string::npos, firstGet) << "two chapters, chapters on\n" << out;
  EXPECT_NE(std::string::npos, out.find("get 67: 40 version=2 value=1 value2=1", firstGet)) << out;
  const std::string ini = SettingsIni();
  EXPECT_NE(std::string::npos, ini.find("wdmChapterNum=1")) << ini;
  EXPECT_NE(std::string::npos, ini.find("wdmChapterPage1=12")) << ini;
}

// A stored user profile is listed and named after the built-in colour-matching choices.
TEST_F(ModulesE2eTest, CapabilitiesNameTheStoredProfiles) {
  const WCHAR* ini = W(u"C:\\_zems\\OV1BD170.ini");
  IniWriteString(W(u"us"), W(u"CmmMax"), W(u"16"), ini);
  IniWriteString(W(u"us"), W(u"CmmDefault"), W(u"4"), ini);
  IniWriteString(W(u"us"), W(u"CmmCount"), W(u"5"), ini);
  IniWriteString(W(u"ColorMatching4us"), W(u"zdmColorMatchingMode"), W(u"Proof stock"), ini);
  IniWriteString(W(u"ColorMatching4us"), W(u"wdmColorProfilePath"), W(u"C:\\p\\proof.vtc"), ini);
  const std::string out = Api("--caps 281 282");
  const size_t modes = out.find("caps 281: ");
  ASSERT_NE(std::string::npos, modes) << out;
  EXPECT_NE(std::string::npos, out.find(" 204\n", modes)) << "entry 4 as value 204\n" << out;
  EXPECT_NE(std::string::npos, out.find("\"Proof stock\"")) << out;
}

}  // namespace
}  // namespace zems_test
