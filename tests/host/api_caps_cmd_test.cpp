// zemshost api --caps and --all-caps on the sample printer: the answers as an application reads
// them, names as text.
#include <gtest/gtest.h>
#include <stdio.h>
#include <sys/wait.h>

#include <string>

#include "support/machine_fixture.h"

namespace {

class ApiCapsCmd : public zems_test::MachineTest {
 protected:
  int Host(const std::string& args, std::string& out) {
    std::string cmd = "ZEMS_MACHINE_ROOT='" + Root() + "' '" + zems_test::BinDir() + "/zemshost' " + args + " 2>&1";
    FILE* p = popen(cmd.c_str(), "r");
    if (!p) return -1;
    char buf[512];
    while (fgets(buf, sizeof buf, p)) out += buf;
    return pclose(p);
  }
  // The sample printer "Api" with its model data file.
  void InstallApi() {
    std::string out;
    ASSERT_EQ(0, Host("machine install --model '" + zems_test::SourceDir() + "/samples/models/zems_c4.zmd' --printer Api --extra '" +
                          zems_test::SourceDir() + "/samples/driver/OV1BD172.ini'",
                      out))
        << out;
  }
};

TEST_F(ApiCapsCmd, PrintsCapabilitiesAndTheRecord) {
  std::string out;
  InstallApi();
  out.clear();
  ASSERT_EQ(0, Host("api --printer Api --level 16 --caps 2 3 13 124 --all-caps", out)) << out;
  for (const char* line : {"caps 2: 3: 7 1 4\n", "caps 3: 3: \"Auto\" \"TRAY1\" \"Multi\"\n", "caps 13: 589826160 {2160, 9000}\n",
                           "caps 124: 1 {2160, 9000}\n", "all-caps: 812 bytes\n", "  +24: 8\n", "all-caps freed: 1\n"})
    EXPECT_NE(std::string::npos, out.find(line)) << line << "\n" << out;
}

}  // namespace

namespace {

// The bench as an application developer uses it: numbers are checked, errors say what they
// mean, records show their fields by name, a success shows no error.
TEST_F(ApiCapsCmd, ExplainsItselfInNamesNotNumbers) {
  std::string out;
  InstallApi();
  struct Case {
    const char* args;
    int code;
    const char* says;
  } refused[] = {
      {"--printer Api --level abc", 2, "bad level 'abc'"},
      {"--printer Api --get 9x", 2, "bad get '9x' (ID[/VERSION])"},
      {"--printer Api --get 9/v", 2, "bad get '9/v'"},
      {"--printer Api --devmode 4z", 2, "bad devmode flags '4z'"},
      {"--printer Api --caps 2x", 2, "bad capability id '2x'"},
  };
  for (const Case& c : refused) {
    out.clear();
    EXPECT_EQ(c.code, WEXITSTATUS(Host("api " + std::string(c.args), out))) << c.args;
    EXPECT_NE(std::string::npos, out.find(c.says)) << c.args << "\n" << out;
  }
  out.clear();
  Host("api --printer Api --level 16 --set '10:0=2,4=1,8=3,12=ann1,21=\"4711\"' --get 10/1 --get 26 --set 9=2 --set 48=1",
       out);
  for (const char* line : {"set 10: 0 changed:", "get 10: 392 version=1 type=1 flags=127 user=\"ann1\" password=\"4711\" ",
                           "get 26: 392 version=1 flags=1 user=\"ann1\"\n", "set 9: 0 changed: ",
                           "set 48: -1 error=2 (item not enabled, feature not usable, or item needs a higher level)\n"})
    EXPECT_NE(std::string::npos, out.find(line)) << line << "\n" << out;
  EXPECT_EQ(std::string::npos, out.find("error=0")) << "a success shows no error\n" << out;
}

}  // namespace
