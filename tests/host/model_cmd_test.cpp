// zemshost model compile: the report of a compiled model, and judge references that name no
// judge and refused statements listed with their lines.
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
  for (const char* line : {"judges:      32\n", "exclusive:   35 entries\n", "rules:       6 Item, 20 Action, 17 Transact, 1 AlertAction, 1 Alert\n",
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

TEST_F(ModelCommand, ListsStatementsRefusedForAValueOutOfRange) {
  std::string out;
  ASSERT_EQ(0, Run("compile '" + zems_test::SourceDir() + "/tests/fixtures/model/rule_actions.zmd'", out)) << out;
  EXPECT_NE(std::string::npos, out.find("refused statements: 1\n")) << out;
  EXPECT_NE(std::string::npos, out.find("line 24: '99999999999' does not fit")) << out;
  EXPECT_NE(std::string::npos, out.find("3 Action,")) << out;
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
  // The same lists as an application asks for them, through the spooler and the driver.
  const size_t spooler = after.find("through DeviceCapabilitiesW");
  ASSERT_NE(spooler, std::string::npos) << after;
  EXPECT_EQ("8 9 11 12 13 1 5 7 20 27 28 37 256", Codes(after.substr(spooler), "papers:")) << after;
  EXPECT_EQ("7 1 3 4", Codes(after.substr(spooler), "bins:")) << after;

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
                           "now disabled:   zdmFuncSelectDuplex=ZDMFUNCSELECTDUPLEX_ON zdmPunchType zdmStapleType\n",
                           "now restricted: zdmFuncSelectPunch zdmFuncSelectStaple\n",
                           "now locked:     zdmMediaType\n"})
    EXPECT_NE(std::string::npos, envelope.find(line)) << line << "\n" << envelope;
  EXPECT_EQ(std::string::npos, envelope.find("alert")) << envelope;

  ASSERT_EQ(0, Run("set 'ZEMS Printer' dmPaperSize=DMPAPERSIZE_A5 zdmFuncSelectDuplex=ZDMFUNCSELECTDUPLEX_ON --answer cancel",
                   small)) << small;
  EXPECT_NE(std::string::npos, small.find("zdmFuncSelectDuplex: alert TOV_DuplexOnMessage (icon 0x30, buttons 1, timing 0)"))
      << small;
  EXPECT_NE(std::string::npos, small.find("answered cancel: refused, the old value is back\n  changed:   nothing\n"))
      << small;
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

namespace {

// The model author's check: the sample passes silently; each kind of dropped statement is named
// with its line; a file that describes nothing fails.
TEST_F(ModelCommand, CheckNamesEachDroppedStatementWithItsLine) {
  std::string out;
  const std::string sample = zems_test::SourceDir() + "/samples/models/zems_c4.zmd";
  EXPECT_EQ(0, Run("check '" + sample + "'", out)) << out;
  EXPECT_EQ("", out);
  EXPECT_EQ(0, Run("compile --check '" + sample + "'", out)) << out;
  EXPECT_EQ("", out);

  // One good item on lines 1-3; each case adds its statement on line 4 (or later).
  const std::string item = "*OpenUI *TOV_dmCopies: Numeric\n*NumericValue: 0 \"0 1 1 999 0 0 1 1\"\n*CloseUI\n";
  std::string nested = "*CommandGroup: PageEnd {\n";
  for (int i = 0; i < 70; ++i) nested += "Command : Big {\n";
  for (int i = 0; i < 70; ++i) nested += "}\n";
  nested += "}\n";
  struct Case {
    const char* what;
    std::string text;
    const char* says;
  } cases[] = {
      {"unknown keyword", "*Bogus: 1\n", ":4: unknown keyword (*Bogus)\n"},
      {"bad expression", "*Judge 1=Bad: { TOV_dmCopies = }\n", ":4: bad expression (*Judge)\n"},
      {"judge number", "*Judge 0=Zero: TOV_dmCopies == 1\n", ":4: judge number out of range (1-65535) (*Judge)\n"},
      {"duplicate", "*Judge 1=A: TOV_dmCopies == 1\n*Judge 1=B: TOV_dmCopies == 2\n",
       ":5: duplicate judge number: the first one stands (*Judge)\n"},
      {"unknown item", "*OpenUI *TOV_NoSuchItem: PickOne\n", ":4: unknown item name (*OpenUI)\n"},
      {"missing CloseUI", "*OpenUI *TOV_dmColor: PickOne\n*OpenUI *TOV_dmDuplex: PickOne\n",
       ":5: an item block is already open (missing CloseUI) (*OpenUI)\n"},
      {"stray CloseUI", "*CloseUI\n", ":4: no item block is open (*CloseUI)\n"},
      {"unknown value", "*OpenUI *TOV_dmColor: PickOne\n*TOV_dmColor: IDList { DMCOLOR_MONO NO_SUCH_VALUE }\n*CloseUI\n",
       ":5: unknown value name: the rest of the list is dropped (*TOV_dmColor)\n"},
      {"unknown default", "*OpenUI *TOV_dmColor: PickOne\n*TOV_dmColor: IDList { DMCOLOR_MONO }\n"
                          "*DefaultTOV_dmColor: NO_SUCH_VALUE\n*CloseUI\n",
       ":6: unknown default value name (*DefaultTOV_dmColor)\n"},
      {"refused rule", "*Action 0=Nothing: { TOV_dmCopies 1 }\n", ":4: statement refused (*Action)\n"},
      {"unresolved name", "*Transact 3=X: { NoSuchJudge NULL }\n", ":4: unresolved name 'NoSuchJudge'"},
      {"not a statement", "*Judge 5 6 7: TOV_dmCopies == 1\n", ":4: not a statement\n"},
      {"nesting cut", "*Judge 1=Big: TOV_dmCopies == 2\n" + nested,
       ":5: conditional commands nested too deep: cut (*CommandGroup)\n"},
  };
  for (const Case& c : cases) {
    const std::string path = Root() + "/broken.zmd";
    FILE* f = fopen(path.c_str(), "wb");
    ASSERT_NE(nullptr, f);
    fputs((item + c.text).c_str(), f);
    fclose(f);
    EXPECT_EQ(1, Run("check '" + path + "'", out)) << c.what << "\n" << out;
    EXPECT_NE(std::string::npos, out.find(path + c.says)) << c.what << "\n" << out;
  }

  // Bytes that describe nothing.
  const std::string noise = Root() + "/noise.zmd";
  FILE* f = fopen(noise.c_str(), "wb");
  ASSERT_NE(nullptr, f);
  unsigned seed = 7;
  for (int i = 0; i < 300; ++i) fputc(static_cast<int>((seed = seed * 1103515245u + 12345u) >> 16) & 0xFF, f);
  fclose(f);
  EXPECT_EQ(1, Run("check '" + noise + "'", out)) << out;
  EXPECT_NE(std::string::npos, out.find(noise + ": no item is described\n")) << out;
}

}  // namespace

namespace {

// The sample with two copies counts of its own: the duplex switch's transacts set two copies, an
// answer yes three; the duplex alert asks with the given buttons.
std::string CommitModel(const std::string& root, const char* buttons, const char* name) {
  std::string text;
  {
    FILE* f = fopen((zems_test::SourceDir() + "/samples/models/zems_c4.zmd").c_str(), "rb");
    char buffer[4096];
    size_t n;
    while (f && (n = fread(buffer, 1, sizeof buffer, f)) > 0) text.append(buffer, n);
    if (f) fclose(f);
  }
  const std::pair<std::string, std::string> edits[] = {
      {"*AlertAction 1=DuplexAnswer: { IDOKBUTTON NULL NULL NULL IDCANCELBUTTON UndoDuplex NULL NULL }",
       "*Action 21=CopiesTwo: { TOV_dmCopies 2 }\n*Action 22=CopiesThree: { TOV_dmCopies 3 }\n"
       "*Transact 21=SetTwo: { NULL CopiesTwo }\n*Transact 22=SetThree: { NULL CopiesThree }\n"
       "*AlertAction 1=DuplexAnswer: { IDOKBUTTON NULL NULL NULL IDCANCELBUTTON UndoDuplex NULL NULL "
       "IDYESBUTTON SetThree NULL NULL }"},
      {"MB_ICONEXCLAMATION MB_OKCANCEL AlertAtOnce", std::string("MB_ICONEXCLAMATION ") + buttons + " AlertAtOnce"},
      {"TOV_zdmFuncSelectDuplex NoDuplexUnit NULL DuplexValues DuplexWarning NULL NULL NULL",
       "TOV_zdmFuncSelectDuplex NoDuplexUnit NULL DuplexValues DuplexWarning SetTwo NULL NULL"},
  };
  for (const auto& e : edits) {
    const size_t at = text.find(e.first);
    if (at == std::string::npos) return "";
    text.replace(at, e.first.size(), e.second);
  }
  const std::string path = root + "/" + name + ".zmd";
  FILE* out = fopen(path.c_str(), "wb");
  if (!out) return "";
  fwrite(text.data(), 1, text.size(), out);
  fclose(out);
  return path;
}

// The dialogs' commit order: the alert first; a refusing answer puts the old value back and
// runs its action, never the item's transacts; without an alert the transacts run.
TEST_F(ModelCommand, SetCommitsInTheDialogsOrder) {
  struct Case {
    const char* what;
    const char* buttons;
    const char* paper;
    const char* answer;
    const char* duplex;  // after the set
    const char* copies;  // the change of dmCopies, or null for none
  } cases[] = {
      {"no alert: the transacts run", "MB_OKCANCEL", "DMPAPERSIZE_A4", "cancel", "ZDMFUNCSELECTDUPLEX_ON", "1 -> 2"},
      {"cancel: nothing moves", "MB_OKCANCEL", "DMPAPERSIZE_A5", "cancel", nullptr, nullptr},
      {"yes on a yes/no box: refused, its action runs", "MB_YESNO", "DMPAPERSIZE_A5", "yes", nullptr, "1 -> 3"},
  };
  int n = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const std::string name = "commit" + std::to_string(++n);
    const std::string model = CommitModel(Root(), c.buttons, name.c_str());
    ASSERT_FALSE(model.empty());
    std::string out;
    ASSERT_EQ(0, zems_test::RunHost("machine install --model '" + model + "' --printer " + name + " --driver 'ZEMS " +
                                        name + "'", out)) << out;
    out.clear();
    ASSERT_EQ(0, Run("set " + name + " dmPaperSize=" + c.paper + " zdmFuncSelectDuplex=ZDMFUNCSELECTDUPLEX_ON --answer " +
                     c.answer, out)) << out;
    const size_t duplex = out.find("set:         zdmFuncSelectDuplex=");
    ASSERT_NE(std::string::npos, duplex) << out;
    const std::string after = out.substr(duplex);
    const std::string moved = "zdmFuncSelectDuplex: ZDMFUNCSELECTDUPLEX_OFF -> ZDMFUNCSELECTDUPLEX_ON\n";
    EXPECT_EQ(c.duplex != nullptr, after.find(moved) != std::string::npos) << after;
    const size_t copies = after.find("changed:   dmCopies: ");
    if (c.copies)
      EXPECT_NE(std::string::npos, after.find(std::string("changed:   dmCopies: ") + c.copies + "\n")) << after;
    else
      EXPECT_EQ(std::string::npos, copies) << after;
  }
}

}  // namespace
