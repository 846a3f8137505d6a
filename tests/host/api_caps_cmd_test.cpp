// zemshost api --caps and --all-caps on the sample printer: the answers as an application reads
// them, names as text.
#include <gtest/gtest.h>
#include <stdio.h>

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
};

TEST_F(ApiCapsCmd, PrintsCapabilitiesAndTheRecord) {
  std::string out;
  ASSERT_EQ(0, Host("machine install --model '" + zems_test::SourceDir() + "/samples/models/zems_c4.zmd' --printer Api --extra '" +
                        zems_test::SourceDir() + "/samples/driver/OV1BD172.ini'",
                    out))
      << out;
  out.clear();
  ASSERT_EQ(0, Host("api --printer Api --level 16 --caps 2 3 13 124 --all-caps", out)) << out;
  for (const char* line : {"caps 2: 3: 7 1 4\n", "caps 3: 3: \"Auto\" \"TRAY1\" \"Multi\"\n", "caps 13: 589826160 {2160, 9000}\n",
                           "caps 124: 1 {2160, 9000}\n", "all-caps: 812 bytes\n", "  +24: 8\n", "all-caps freed: 1\n"})
    EXPECT_NE(std::string::npos, out.find(line)) << line << "\n" << out;
}

}  // namespace
