// The README's main job: zemshost demo on a fresh machine installs the sample printer and loads
// the three driver DLLs.
#include <gtest/gtest.h>
#include <stdio.h>

#include <string>

#include "support/machine_fixture.h"

namespace {

class Demo : public zems_test::MachineTest {
 protected:
  // Runs zemshost demo with these arguments on this test's machine; the exit status.
  int RunDemo(const std::string& args, std::string& out) {
    std::string cmd = "ZEMS_MACHINE_ROOT='" + Root() + "' '" + zems_test::BinDir() + "/zemshost' demo " + args + " 2>&1";
    FILE* p = popen(cmd.c_str(), "r");
    if (!p) return -1;
    char buf[512];
    while (fgets(buf, sizeof buf, p)) out += buf;
    return pclose(p);
  }
};

TEST_F(Demo, RunsOnAFreshMachine) {
  std::string out;
  EXPECT_EQ(RunDemo("", out), 0) << out;
  EXPECT_NE(out.find("ZEMS Printer\tdriver=ORVEL ALTEN KV310 ZEMS"), std::string::npos) << out;
  EXPECT_NE(out.find("zemsexc.dll: loaded"), std::string::npos) << out;
  EXPECT_NE(out.find("== done"), std::string::npos) << out;
}

TEST_F(Demo, MissingModelIsOneClearError) {
  std::string out;
  EXPECT_NE(RunDemo("--model /nonexistent.zmd", out), 0);
  EXPECT_NE(out.find("not found"), std::string::npos) << out;
}

}  // namespace
