// The README's main job: zemshost demo on a fresh machine installs the sample printer and loads
// the three driver DLLs.
#include <gtest/gtest.h>
#include <stdio.h>

#include <string>
#include <vector>

#include "platform/sim.h"
#include "platform/win32.h"

#include "support/machine_fixture.h"
#include "support/test_printer.h"

namespace {

class Demo : public zems_test::MachineTest {
 protected:
  // Runs zemshost demo with these arguments on this test's machine; the exit status.
  int RunDemo(const std::string& args, std::string& out) { return zems_test::RunHost("demo " + args, out); }
};

TEST_F(Demo, RunsOnAFreshMachine) {
  std::string out;
  EXPECT_EQ(RunDemo("", out), 0) << out;
  EXPECT_NE(out.find("ZEMS Printer\tdriver=ORVEL ALTEN KV310 ZEMS"), std::string::npos) << out;
  EXPECT_NE(out.find("zemsexc.dll: loaded"), std::string::npos) << out;
  EXPECT_NE(out.find("  changed:   zdmStapleType: ZDMSTAPLETYPE_LEFT2 -> ZDMSTAPLETYPE_OFF\n"), std::string::npos)
      << "the envelope case\n" << out;
  EXPECT_NE(out.find("set 10: 0 changed:"), std::string::npos) << "a locked print filled field by field\n" << out;
  EXPECT_NE(out.find("get 10: 484 version=3 type=1 "), std::string::npos) << out;
  EXPECT_NE(out.find(" user=\"ann1\" "), std::string::npos) << "the user ID as text\n" << out;
  EXPECT_NE(out.find("get 20: 32 version=1 value=33 "), std::string::npos) << "then staple\n" << out;
  EXPECT_NE(out.find("through DeviceCapabilitiesW (zemsui's DrvDeviceCapabilities):\npapers: 12\n  8 A3\n"),
            std::string::npos)
      << "the papers and bins through the driver\n" << out;
  // zemsui's text table reaches zemsgr inside the STARTDOC event (traced when it returns),
  // before the graphics DLL's DrvStartDoc.
  const size_t escape = out.find("DrvEscape 122 in=2104 out=0");
  ASSERT_NE(escape, std::string::npos) << out;
  EXPECT_LT(out.find("DrvDocumentEvent CREATEDCPOST -> 1"), escape) << out;
  EXPECT_EQ(out.find("\nDrvDocumentEvent STARTDOC -> 1\nDrvStartDoc", escape), out.find('\n', escape)) << out;
  // The save dialog on the window fake: the name without extension saved as ".rst", another
  // extension asked about first.
  EXPECT_NE(out.find("result 1, chosen \"C:\\mine.rst\" (its name at 3)"), std::string::npos) << out;
  EXPECT_NE(out.find("Use the extension .rst instead?\" -> OK\nresult 1, chosen \"C:\\other.rst\""),
            std::string::npos)
      << out;
  EXPECT_NE(out.find("== done"), std::string::npos) << out;
}

TEST_F(Demo, InstallsTheResourceDllsAndShowsTheirTexts) {
  std::string out;
  ASSERT_EQ(RunDemo("", out), 0) << out;
  for (const char* shown : {"  zemsresus.dll\n    metric unit mm\n    inch unit   inch\n    help 15000  Printing the document...",
                            "  zemsresfr.dll\n    metric unit mm\n    inch unit   pouces\n"})
    EXPECT_NE(out.find(shown), std::string::npos) << out;
  // The spooler lists them as the driver's dependent files.
  HANDLE h = nullptr;
  ASSERT_TRUE(OpenPrinterW(const_cast<LPWSTR>(TEXT("ZEMS Printer")), &h, nullptr));
  DWORD needed = 0;
  GetPrinterDriverW(h, nullptr, 3, nullptr, 0, &needed);
  std::vector<BYTE> buffer(needed);
  ASSERT_TRUE(GetPrinterDriverW(h, nullptr, 3, buffer.data(), needed, &needed));
  ClosePrinter(h);
  std::u16string files;
  for (const WCHAR* f = reinterpret_cast<const DRIVER_INFO_3W*>(buffer.data())->pDependentFiles; f && *f;
       f += lstrlenW(f) + 1)
    files += std::u16string(reinterpret_cast<const char16_t*>(f)) + u";";
  for (const char16_t* dll : {u"zemsresus.dll;", u"zemsresfr.dll;", u"zemsrCsXX.dll;"})
    EXPECT_NE(files.find(dll), std::u16string::npos) << std::string(files.begin(), files.end());
}

TEST_F(Demo, MissingModelIsOneClearError) {
  std::string out;
  EXPECT_NE(RunDemo("--model /nonexistent.zmd", out), 0);
  EXPECT_NE(out.find("not found"), std::string::npos) << out;
}

}  // namespace
