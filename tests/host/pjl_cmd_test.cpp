// zemshost pjl as an application developer's bench: a refused text is explained by line and
// reason, LF line ends are read as CR LF, dropped base lines are named with their reason, and
// the printer's options and values are asked by name.
#include <gtest/gtest.h>
#include <stdio.h>

#include <string>

#include "support/machine_fixture.h"
#include "support/test_printer.h"

namespace {

class PjlCommand : public zems_test::MachineTest {
 protected:
  void SetUp() override {
    MachineTest::SetUp();
    std::string out;
    ASSERT_EQ(0, zems_test::RunHost("machine install --model '" + zems_test::SourceDir() +
                                        "/samples/models/zems_c4.zmd' --extra '" + zems_test::SourceDir() +
                                        "/samples/driver/OV1BD172.ini'",
                                    out))
        << out;
  }
  // zemshost pjl over a file holding text; the exit code.
  int Pjl(const std::string& text, const std::string& args, std::string& out) {
    const std::string path = Root() + "/job.pjl";
    FILE* f = fopen(path.c_str(), "wb");
    if (!f) return -1;
    fwrite(text.data(), 1, text.size(), f);
    fclose(f);
    return zems_test::RunHost("pjl '" + path + "' " + args, out);
  }
};

const std::string kHead = "@PJL SET APLPAGESIZE = A4 \r\n@PJL SET APLPAGELAYOUT = PORTRAIT \r\n@PJL SET PAPER = SAME \r\n";

TEST_F(PjlCommand, ARefusedTextSaysWhereAndWhy) {
  struct Case {
    const char* what;
    std::string text;
    const char* says;
  } cases[] = {
      {"no prefix", kHead + "SET TRAY = ALL \r\n", "refused: line 4: no \"@PJL\" at the start\n  SET TRAY = ALL \n"},
      {"lower-case prefix", kHead + "@pjl SET TRAY = ALL \r\n", "refused: line 4: lower case: the prefix is \"@PJL\"\n"},
      {"lower-case command", kHead + "@PJL set TRAY = ALL \r\n", "refused: line 4: lower case: the command is \"SET\"\n"},
      {"joined by =", kHead + "@PJL SET TRAY=ALL \r\n", "refused: line 4: no blank between the name and \"=\"\n"},
      {"no CR LF at the end", kHead + "@PJL SET TRAY = ALL", "refused: line 4: no CR LF at the end\n"},
      {"a blank in the value", kHead + "@PJL SET TRAY = ALL X \r\n", "refused: line 4: text after the value"},
      {"too long", kHead + "@PJL SET TRAY = " + std::string(300, 'A') + " \r\n",
       "refused: line 4: a value longer than 263 bytes\n"},
      {"lower-case name", kHead + "@PJL SET tray = ALL \r\n",
       "refused: the base lacks the mandatory variable TRAY\n  line 4 names 'tray': variable names are upper case\n"},
      {"a variable missing", kHead, "refused: the base lacks the mandatory variable TRAY\n"},
  };
  for (const Case& c : cases) {
    std::string out;
    EXPECT_EQ(1, Pjl(c.text, "", out)) << c.what;
    EXPECT_NE(std::string::npos, out.find(c.says)) << c.what << "\n" << out;
  }
}

TEST_F(PjlCommand, LfLineEndsAreReadAsCrLfAndDroppedLinesAreNamed) {
  std::string out;
  ASSERT_EQ(0, Pjl("@PJL SET APLPAGESIZE = A4\n@PJL SET APLPAGELAYOUT = PORTRAIT\n@PJL SET PAPER = SAME\n"
                   "@PJL SET TRAY = ALL\n@PJL SET MARGINODD = 10\n@PJL SET JOBNAME = X\n@PJL SET COPIES = 2\n",
                   "--option DUPLEX --printer-value TRAYPAPERORIENT1", out))
      << out;
  for (const char* line : {"note: 7 LF line ends read as CR LF\n", "set command base: 0\n", "  @PJL SET COPIES = 2 \n",
                           "dropped: MARGINODD (no option command)\n", "dropped: JOBNAME (unknown variable)\n",
                           "option DUPLEX: OFF\n", "printer value TRAYPAPERORIENT1: PORTRAIT\n"})
    EXPECT_NE(std::string::npos, out.find(line)) << line << "\n" << out;
  EXPECT_EQ(std::string::npos, out.find("dropped: COPIES")) << out;
}

}  // namespace
