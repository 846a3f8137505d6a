// Scripts played through the print session on the sample printer with zemsgr, and the same
// through zemshost print.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <string>
#include <vector>

#include "support/print_fixture.h"
#include "support/test_printer.h"

namespace zems_test {
namespace {

class PrintScriptTest : public PrintTest {
 protected:
  // The DDI calls of a trace by name only.
  static std::vector<std::string> Names(const winsim::PrintSessionResult& r) {
    std::vector<std::string> names;
    for (const std::string& line : r.trace) names.push_back(line.substr(0, line.find(' ')));
    return names;
  }
  static int Count(const winsim::PrintSessionResult& r, const std::string& prefix) {
    return int(std::count_if(r.trace.begin(), r.trace.end(),
                             [&](const std::string& l) { return l.compare(0, prefix.size(), prefix) == 0; }));
  }
  static std::string SampleScript() {
    std::ifstream in(SourceDir() + "/samples/print/two_pages.zds", std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  }
};

TEST_F(PrintScriptTest, TwoPageSampleRunsInGdisOrder) {
  winsim::PrintSessionResult r = RunScript(SampleScript());
  ASSERT_TRUE(r.ok) << r.error;
  EXPECT_EQ(2u, r.pages);
  // With the printer interface's document events where gdi32 makes them: its text table
  // (escape 122) reaches the graphics DLL inside STARTDOC, which is traced when it returns. A
  // vector job announces the four device fonts: GDI asks each for its metrics, glyph set and
  // kerning pairs once the surface is there.
  std::vector<std::string> expected = {"DrvQueryDriverInfo", "DrvEnableDriver", "DrvDocumentEvent",
                                       "DrvEnablePDEV",      "DrvCompletePDEV", "DrvEnableSurface"};
  for (int face = 1; face <= 4; ++face)
    expected.insert(expected.end(), {"DrvQueryFont", "DrvQueryFontTree", "DrvQueryFontTree"});
  expected.insert(expected.end(),
                  {"DrvDocumentEvent", "DrvEscape", "DrvDocumentEvent", "DrvStartDoc", "DrvDocumentEvent",
                   "DrvDocumentEvent", "DrvStartPage", "DrvBitBlt", "DrvSendPage", "DrvDocumentEvent",
                   "DrvStartPage", "DrvBitBlt", "DrvBitBlt", "DrvSendPage", "DrvEndDoc", "DrvDisableSurface",
                   "DrvDisablePDEV", "DrvDisableDriver"});
  ASSERT_GT(r.trace.size(), 20u);
  EXPECT_EQ(r.trace[2], "DrvDocumentEvent CREATEDCPRE -> 1");
  EXPECT_EQ(r.trace[19].rfind("DrvEscape 122 in=2104 out=0 -> ", 0), 0u) << r.trace[19];
  EXPECT_EQ(r.trace[20], "DrvDocumentEvent STARTDOC -> 1");
  EXPECT_EQ(expected, Names(r));
  for (const std::string& line : r.trace) EXPECT_EQ(std::string::npos, line.find("FALSE")) << line;
}

TEST_F(PrintScriptTest, RasterJobIsRenderedInBandsWithoutSendPage) {
  winsim::PrintSessionOptions options;
  options.settings = {{"zdmImagePrint", "1"}};
  winsim::PrintSessionResult r = RunScript(SampleScript(), options);
  ASSERT_TRUE(r.ok) << r.error;
  EXPECT_EQ(2, Count(r, "DrvStartBanding -> TRUE (0,0)"));
  EXPECT_EQ(2, Count(r, "DrvNextBand -> TRUE (-1,-1)")) << "one last band a page";
  EXPECT_EQ(0, Count(r, "DrvSendPage"));
  // The first page's square lies in the first band: drawn by the engine through the hook.
  EXPECT_EQ(1, Count(r, "DrvBitBlt (100,100)-(1100,1100) rop 0xF0F0 colour 0x0 -> TRUE"));
}

TEST_F(PrintScriptTest, StatementsReachTheDriver) {
  struct Case {
    const char* what;
    std::string script;
    std::string traced;  // a trace line that must be there
  } cases[] = {
      {"devmode", "devmode dmPrintQuality=1200\ndoc \"d\"\nenddoc\n", "DrvStartDoc \"d\" job 1 -> TRUE"},
      {"doc id", "doc \"d\" id=77\nenddoc\n", "DrvStartDoc \"d\" job 77 -> TRUE"},
      {"escape", "escape QUERYESCSUPPORT in=u32:17 out=4\n", "DrvEscape 8 in=4 out=4 -> "},
      {"reset", "doc \"r\"\npage\nendpage\nreset dmCopies=2\npage\nendpage\nenddoc\n", "DrvResetPDEV -> TRUE"},
      {"no brush", "doc \"b\"\npage\nbrush none\nrect 0 0 10 10\nendpage\nenddoc\n", "DrvSendPage -> TRUE"},
  };
  for (const Case& c : cases) {
    winsim::PrintSessionResult r = RunScript(c.script);
    EXPECT_TRUE(r.ok) << c.what << ": " << r.error;
    EXPECT_EQ(1, Count(r, c.traced)) << c.what;
  }
  winsim::PrintSessionResult r = RunScript("devmode dmPrintQuality=1200\n");
  EXPECT_EQ(1200u, r.gdi.ulLogPixelsX) << "the job DEVMODE's resolution reaches GDIINFO";
  EXPECT_EQ(0, Count(RunScript("doc \"b\"\npage\nbrush none\nrect 0 0 10 10\nendpage\nenddoc\n"), "DrvBitBlt"));
}

TEST_F(PrintScriptTest, PageLimitSkipsTheLaterPages) {
  winsim::PrintSessionOptions options;
  options.maxPages = 1;
  winsim::PrintSessionResult r = RunScript(SampleScript(), options);
  ASSERT_TRUE(r.ok) << r.error;
  EXPECT_EQ(1u, r.pages);
  EXPECT_EQ(1, Count(r, "DrvStartPage"));
  EXPECT_EQ(1, Count(r, "DrvBitBlt"));
  EXPECT_EQ(1, Count(r, "DrvEndDoc -> TRUE"));
}

TEST_F(PrintScriptTest, SessionErrorsNameTheLineAndWhatIsMissing) {
  struct Case {
    std::string script;
    std::string error;
  } cases[] = {
      {"page\n", "line 1: page outside a document"},
      {"doc \"x\"\nrect 0 0 1 1\n", "line 2: rect outside a page"},
      {"doc \"x\"\ndevmode dmCopies=2\n", "line 2: devmode after the job started: use reset"},
      {"devmode zdmNoSuchItem=1\n", "line 1: no setting item zdmNoSuchItem"},
      {"doc \"x\"\npage\nimage 0 0 10 10 1 1 1 gen= call=rotate\n",
       "line 3: image call rotate is not one of blt, copy, stretch, stretchrop"},
      {"doc \"x\"\npage\ntext 0 0 \"a\"\n", "line 3: text without a font"},
      {"path fill M 0 0 L 1 1 Z\n", "line 1: path outside a page"},
  };
  for (const Case& c : cases) {
    winsim::PrintSessionResult r = RunScript(c.script);
    EXPECT_FALSE(r.ok) << c.script;
    EXPECT_EQ(c.error, r.error) << c.script;
    // Whatever stopped the session, the driver was shut down.
    if (!r.trace.empty()) {
      EXPECT_EQ("DrvDisableDriver -> done", r.trace.back()) << c.script;
    }
  }
}

TEST_F(PrintScriptTest, HostPrintShowsInfoAndTrace) {
  std::string out;
  ASSERT_EQ(0, RunHost("print " + SourceDir() + "/samples/print/two_pages.zds --printer Print --info --trace", out))
      << out;
  for (const char* line :
       {"ulVersion          0x500", "ulTechnology       2 (DT_RASPRINTER)", "ulLogPixelsX/Y     600 600",
        "flTextCaps         0x581F (TC_OP_CHARACTER", "cFonts             4", "DrvStartDoc \"Two pages\" job 1 -> TRUE",
        "DrvBitBlt (100,100)-(1100,1100) rop 0xF0F0 colour 0x0 -> TRUE", "printed 2 pages on \"Print\" (job 1)"})
    EXPECT_NE(std::string::npos, out.find(line)) << line << "\n" << out;
  size_t sent = 0;
  for (size_t at = out.find("DrvSendPage -> TRUE"); at != std::string::npos;
       at = out.find("DrvSendPage -> TRUE", at + 1))
    ++sent;
  EXPECT_EQ(2u, sent);
}

TEST_F(PrintScriptTest, HostPrintRefusesBadScriptsAndOptions) {
  ASSERT_TRUE(WriteMachineFile("C:\\bad.zds", "doc \"x\"\nfrobnicate\n"));
  struct Case {
    std::string arguments;
    int status;
    std::string message;
  } cases[] = {
      {"print " + HostPath("C:\\bad.zds") + " --printer Print", 1, "line 2, column 1: unknown statement"},
      {"print --printer Print", 2, "print needs a SCRIPT"},
      {"print x.zds --raster --vector", 2, "--raster and --vector exclude each other"},
      {"print x.zds --pages 0", 2, "--pages takes a number from 1 to 1000000"},
      {"print x.zds --colour", 2, "unknown option '--colour'"},
      {"print " + HostPath("C:\\nothing.zds"), 1, "cannot be read"},
      {"print --info --printer Nobody", 1, "no printer \"Nobody\""},
  };
  for (const Case& c : cases) {
    std::string out;
    EXPECT_EQ(c.status, RunHost(c.arguments, out)) << c.arguments << "\n" << out;
    EXPECT_NE(std::string::npos, out.find(c.message)) << c.arguments << "\n" << out;
  }
}

}  // namespace
}  // namespace zems_test
