// zemshost model compile: the report of a compiled model, and judge references that name no
// judge listed with their lines.
#include <gtest/gtest.h>
#include <stdio.h>
#include <stdlib.h>
#include <sys/wait.h>

#include <string>

#include "support/machine_fixture.h"
#include "support/test_printer.h"

namespace {

class ModelCommand : public zems_test::MachineTest {
 protected:
  // Runs zemshost model with these arguments; the exit code.
  int Run(const std::string& args, std::string& out) { return zems_test::RunHost("model " + args, out); }
};

TEST_F(ModelCommand, ReportsTheSampleImage) {
  std::string out;
  ASSERT_EQ(0, Run("compile '" + zems_test::SourceDir() + "/samples/models/zems_c4.zmd'", out)) << out;
  for (const char* line : {"judges:      30\n", "exclusive:   27 entries\n", "rules:       6 Item, 13 Action, 10 Transact, 1 AlertAction, 1 Alert\n",
                           "fonts:       7 (5 device fonts, 2 cartridges)\n", "sections:    header 7996, "}) {
    EXPECT_NE(std::string::npos, out.find(line)) << line << "\n" << out;
  }
  EXPECT_EQ(std::string::npos, out.find("unresolved")) << out;
}

TEST_F(ModelCommand, ListsJudgeReferencesThatNameNoJudge) {
  std::string out;
  ASSERT_EQ(0, Run("compile '" + zems_test::SourceDir() + "/tests/fixtures/model/rule_references.zmd'", out)) << out;
  EXPECT_NE(std::string::npos, out.find("unresolved judge references: 5\n")) << out;
  EXPECT_NE(std::string::npos, out.find("line 6: 'Missing' names no judge")) << out;
}

TEST_F(ModelCommand, ClearErrors) {
  struct Case {
    const char* args;
    int code;
    const char* says;
  } cases[] = {
      {"compile /nonexistent.zmd", 1, "cannot read /nonexistent.zmd"},
      {"", 2, "usage: zemshost model compile FILE"},
      {"compile", 2, "expected one FILE"},
      {"caps", 2, "expected one PRINTER"},
      {"decompile x", 2, "unknown subcommand 'decompile'"},
      {"--help", 0, "usage: zemshost model compile FILE"},
  };
  for (const Case& c : cases) {
    std::string out;
    EXPECT_EQ(c.code, Run(c.args, out)) << c.args;
    EXPECT_NE(std::string::npos, out.find(c.says)) << c.args << "\n" << out;
  }
}

}  // namespace

namespace {

// zemshost model load in two processes: the first compiles and stores the image, the second
// reads the cache file.
TEST_F(ModelCommand, LoadSaysWhereTheImageCameFrom) {
  std::string install = "ZEMS_MACHINE_ROOT='" + Root() + "' '" + zems_test::BinDir() +
                        "/zemshost' machine install --model '" + zems_test::SourceDir() +
                        "/samples/models/zems_c4.zmd' >/dev/null 2>&1";
  ASSERT_EQ(0, system(install.c_str()));
  // The install's initialize pass compiled and stored the image: start without the cache file.
  ASSERT_EQ(0, remove((Root() + "/c/WINDOWS/system32/spool/drivers/w32x86/3/zems_c4.BCS").c_str()));
  std::string first, second, missing;
  ASSERT_EQ(0, Run("load 'ZEMS Printer'", first)) << first;
  EXPECT_NE(std::string::npos, first.find("from a compile of the data file\ncache file:  written\n")) << first;
  EXPECT_NE(std::string::npos, first.find("again:       from the process cache\n")) << first;
  ASSERT_EQ(0, Run("load 'ZEMS Printer'", second)) << second;
  // The size follows the sample model; what counts is where the image came from.
  EXPECT_NE(std::string::npos, second.find(" bytes, from the cache file\n")) << second;
  EXPECT_EQ(1, Run("load 'No Such Printer'", missing));
  EXPECT_NE(std::string::npos, missing.find("no printer 'No Such Printer'")) << missing;
}

}  // namespace

namespace {

// The codes listed under a title of zemshost model caps, one per line after it.
std::string Codes(const std::string& out, const std::string& title) {
  size_t at = out.find("\n" + title);
  if (at == std::string::npos) return "(no " + title + ")";
  std::string codes;
  size_t line = out.find('\n', at + 1);
  while (line != std::string::npos && out.compare(line + 1, 2, "  ") == 0) {
    size_t end = out.find('\n', line + 1);
    std::string text = out.substr(line + 3, end - line - 3);
    codes += (codes.empty() ? "" : " ") + text.substr(0, text.find(' '));
    line = end;
  }
  return codes;
}

// zemshost model caps on the sample printer: tray 2 and the B4 paper that only it and tray 3
// take are offered once the feeder option is installed.
TEST_F(ModelCommand, CapsFollowTheInstalledFeeder) {
  const std::string host = "ZEMS_MACHINE_ROOT='" + Root() + "' '" + zems_test::BinDir() + "/zemshost' ";
  ASSERT_EQ(0, system((host + "machine install --model '" + zems_test::SourceDir() +
                       "/samples/models/zems_c4.zmd' >/dev/null 2>&1").c_str()));
  std::string before, after, missing;
  ASSERT_EQ(0, Run("caps 'ZEMS Printer'", before)) << before;
  EXPECT_EQ("8 9 11 13 1 5 7 20 27 28 37 256", Codes(before, "papers:")) << before;
  EXPECT_EQ("7 1 4", Codes(before, "bins:")) << before;
  EXPECT_NE(std::string::npos, before.find("resolutions: 2\n  600 x 600\n  1200 x 1200\n")) << before;

  ASSERT_EQ(0, system((host + "machine data set 'ZEMS Printer' 1Step --type dword 1 >/dev/null 2>&1").c_str()));
  ASSERT_EQ(0, Run("caps 'ZEMS Printer'", after)) << after;
  EXPECT_EQ("8 9 11 12 13 1 5 7 20 27 28 37 256", Codes(after, "papers:")) << after;
  EXPECT_EQ("7 1 3 4", Codes(after, "bins:")) << after;

  EXPECT_EQ(1, Run("caps 'No Such Printer'", missing));
  EXPECT_NE(std::string::npos, missing.find("no printer 'No Such Printer'")) << missing;
}

}  // namespace

namespace {

// zemshost model set on the sample printer: an envelope runs the paper's transacts (staple and
// duplex go off), duplex on A5 raises the warning and cancel undoes it.
TEST_F(ModelCommand, SetRunsTransactsAndAlerts) {
  const std::string host = "ZEMS_MACHINE_ROOT='" + Root() + "' '" + zems_test::BinDir() + "/zemshost' ";
  ASSERT_EQ(0, system((host + "machine install --model '" + zems_test::SourceDir() +
                       "/samples/models/zems_c4.zmd' >/dev/null 2>&1").c_str()));
  std::string envelope, small, refused;
  ASSERT_EQ(0, Run("set 'ZEMS Printer' zdmStapleType=ZDMSTAPLETYPE_LEFT2 TOV_zdmFuncSelectDuplex=ZDMFUNCSELECTDUPLEX_ON "
                   "dmPaperSize=DMPAPERSIZE_ENV10", envelope)) << envelope;
  for (const char* line : {"set:         dmPaperSize=DMPAPERSIZE_ENV10\n",
                           "  changed:   zdmFuncSelectDuplex: ZDMFUNCSELECTDUPLEX_ON -> ZDMFUNCSELECTDUPLEX_OFF\n",
                           "  changed:   zdmStapleType: ZDMSTAPLETYPE_LEFT2 -> ZDMSTAPLETYPE_OFF\n",
                           "now disabled:   zdmFuncSelectDuplex=ZDMFUNCSELECTDUPLEX_ON zdmFuncSelectPunch zdmFuncSelectStaple "
                           "zdmPunchType zdmStapleType\n",
                           "now locked:     zdmMediaType\n"})
    EXPECT_NE(std::string::npos, envelope.find(line)) << line << "\n" << envelope;
  EXPECT_EQ(std::string::npos, envelope.find("alert")) << envelope;

  ASSERT_EQ(0, Run("set 'ZEMS Printer' dmPaperSize=DMPAPERSIZE_A5 zdmFuncSelectDuplex=ZDMFUNCSELECTDUPLEX_ON --answer cancel",
                   small)) << small;
  EXPECT_NE(std::string::npos, small.find("zdmFuncSelectDuplex: alert TOV_DuplexOnMessage (icon 0x30, buttons 1, timing 0)"))
      << small;
  EXPECT_NE(std::string::npos, small.find("answered cancel\n  changed:   nothing\n")) << small;
  EXPECT_NE(std::string::npos, small.find("now restricted: zdmFuncSelectDuplex=ZDMFUNCSELECTDUPLEX_ON\n")) << small;

  struct Case {
    const char* args;
    int code;
    const char* says;
  } cases[] = {
      {"set 'ZEMS Printer' NoSuchItem=1", 1, "no item NoSuchItem"},
      {"set 'ZEMS Printer' dmPaperSize=NO_SUCH_VALUE", 1, "not a value name or number: NO_SUCH_VALUE"},
      {"set 'ZEMS Printer'", 2, "expected PRINTER and at least one ITEM=VALUE"},
      {"set 'ZEMS Printer' dmCopies=2 --answer maybe", 2, "unknown answer 'maybe'"},
      {"set 'No Such Printer' dmCopies=2", 1, "no printer 'No Such Printer'"},
  };
  for (const Case& c : cases) {
    refused.clear();
    EXPECT_EQ(c.code, Run(c.args, refused)) << c.args;
    EXPECT_NE(std::string::npos, refused.find(c.says)) << c.args << "\n" << refused;
  }
}

}  // namespace
