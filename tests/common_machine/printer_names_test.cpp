// Printer names, connection names and the paths of the driver's files, through the spooler of
// the simulated machine.
#include <gtest/gtest.h>
#include <string.h>

#include <memory>
#include <string>

#include "core/context/driver_context.h"
#include "core/common/os_tests.h"
#include "core/system/printer_names.h"
#include "core/context/ui_state.h"
#include "core/common/path_text.h"
#include "core/common/text.h"
#include "core/system/driver_paths.h"
#include "core/system/settings_folders.h"
#include "core/system/terminal_server.h"
#include "platform/sim.h"
#include "platform/win32.h"
#include "support/machine_fixture.h"
#include "support/sample_model.h"
#include "support/test_printer.h"

namespace {

using zems_test::AddTestPrinter;
using zems_test::SetWindows;

const std::u16string kDriverFolder = u"C:\\WINDOWS\\system32\\spool\\drivers\\w32x86\\3\\";

void SetText(HANDLE h, const char16_t* key, const char16_t* value, const std::u16string& text, bool terminate = true) {
  DWORD bytes = DWORD((text.size() + (terminate ? 1 : 0)) * 2);
  ASSERT_EQ(SetPrinterDataExW(h, key, value, REG_SZ, reinterpret_cast<LPBYTE>(const_cast<char16_t*>(text.c_str())),
                              bytes),
            DWORD(ERROR_SUCCESS));
}

// A context of the printer as the open leaves it before any fact is asked.
struct Context {
  DriverContext ctx = {};
  UiState ui = {};
  explicit Context(HANDLE h, DWORD openKind = 0x80000000, LONG checkAdministrator = 1) {
    ctx.printer = ctx.secondHandle = h;
    ctx.ui = &ui;
    ui.openKind = openKind;
    ui.checkAdministrator = checkAdministrator;
  }
};

class PrinterNamesTest : public zems_test::MachineTest {
 protected:
  void SetUp() override {
    MachineTest::SetUp();
    OsForgetCachedAnswers();
  }
};

TEST_F(PrinterNamesTest, ConnectionNamesAreRebuiltOnVistaOnly) {
  HANDLE h = AddTestPrinter(u"\\\\SERVERLONGNAME\\Queue A", u"\\\\SERVERLONGNAME");
  ASSERT_NE(h, nullptr);
  SetText(h, u"DsSpooler", u"shortServerName", u"SRV");
  SetText(h, u"DsSpooler", u"printerName", u"QueueA", false);  // stored without terminator
  const struct {
    DWORD major, minor;
    std::u16string name;
    DWORD size;
    std::u16string expected;
  } cases[] = {
      {6, 0, u"\\\\SERVERLONGNAME\\Queue A", 261, u"\\\\SRV\\QueueA"},
      {5, 1, u"\\\\SERVERLONGNAME\\Queue A", 261, u"\\\\SERVERLONGNAME\\Queue A"},
      {6, 0, u"Queue A", 261, u"Queue A"},  // a local name is never rebuilt
      {6, 0, u"\\\\SERVERLONGNAME\\Queue A", 12, u"\\\\SERVERLONGNAME\\Queue A"},  // 3 + 6 + 3 is not below 12
      {6, 0, u"\\\\SERVERLONGNAME\\Queue A", 13, u"\\\\SRV\\QueueA"},
  };
  for (const auto& c : cases) {
    SetWindows(c.major, c.minor);
    WCHAR name[261] = {};
    memcpy(name, c.name.c_str(), (c.name.size() + 1) * 2);
    PrnRebuildConnectionName(h, name, c.size);
    EXPECT_EQ(std::u16string(name), c.expected) << c.major << "." << c.minor << " size " << c.size;
  }
  // A one-character buffer holding a backslash (no terminator) is read no further than its end.
  std::unique_ptr<WCHAR[]> one(new WCHAR[1]);
  one[0] = u'\\';
  PrnRebuildConnectionName(h, one.get(), 1);
  EXPECT_EQ(one[0], u'\\');
  // Without both values the name stays.
  ASSERT_EQ(DeletePrinterDataExW(h, u"DsSpooler", u"printerName"), DWORD(ERROR_SUCCESS));
  WCHAR name[261] = u"\\\\SERVERLONGNAME\\Queue A";
  PrnRebuildConnectionName(h, name, 261);
  EXPECT_EQ(std::u16string(name), u"\\\\SERVERLONGNAME\\Queue A");
  ClosePrinter(h);
}

TEST_F(PrinterNamesTest, ContextFetchesItsFactsOnce) {
  SetWindows(6, 0);
  HANDLE h = AddTestPrinter(u"\\\\SERVERLONGNAME\\Queue A", u"\\\\SERVERLONGNAME",
                            PRINTER_ATTRIBUTE_NETWORK | PRINTER_ATTRIBUTE_ENABLE_BIDI);
  ASSERT_NE(h, nullptr);
  SetText(h, u"DsSpooler", u"shortServerName", u"SRV");
  SetText(h, u"DsSpooler", u"printerName", u"QueueA");
  Context c(h);
  EXPECT_EQ(std::u16string(PrnGetPrinterName(&c.ctx)), u"\\\\SRV\\QueueA");
  EXPECT_EQ(std::u16string(PrnGetDriverName(&c.ctx)), std::u16string(zems_test::kTestDriverName));
  EXPECT_EQ(PrnIsOnServer(&c.ctx), 1);
  EXPECT_EQ(PrnIsBidiEnabled(&c.ctx), 1);
  // Once known, the facts no longer come from the spooler.
  ClosePrinter(h);
  EXPECT_EQ(std::u16string(PrnGetPrinterNameAlias(&c.ctx)), u"\\\\SRV\\QueueA");
  EXPECT_EQ(PrnIsOnServer(&c.ctx), 1);
  EXPECT_EQ(PrnHasAttribute(PRINTER_ATTRIBUTE_NETWORK, &c.ctx), 1);
  EXPECT_EQ(PrnHasAttribute(PRINTER_ATTRIBUTE_SHARED, &c.ctx), 0);
}

TEST_F(PrinterNamesTest, ContextWithoutAPrinterGetsTheFallbacks) {
  Context c(reinterpret_cast<HANDLE>(0x1234));
  EXPECT_EQ(std::u16string(PrnGetPrinterName(&c.ctx)), u"");
  EXPECT_EQ(std::u16string(PrnGetDriverName(&c.ctx)), u"JP");  // the model record's default driver name
  EXPECT_EQ(PrnIsOnServer(&c.ctx), 0);
  EXPECT_EQ(c.ui.onServer, 2);
  EXPECT_EQ(PrnIsBidiEnabled(&c.ctx), 0);
  EXPECT_EQ(c.ui.attributesKnown, 0);  // a failed fetch leaves the attributes unknown
  WCHAR driver[3];
  EXPECT_EQ(std::u16string(PrnGetDriverNameOf(nullptr, driver, sizeof driver)), u"JP");
  WCHAR cut[2];
  EXPECT_EQ(std::u16string(PrnGetDriverNameOf(nullptr, cut, sizeof cut)), u"J");  // cut and terminated
}

TEST_F(PrinterNamesTest, NameChangedSinceInstall) {
  HANDLE h = AddTestPrinter(u"Office");
  ASSERT_NE(h, nullptr);
  DWORD needed = 0;
  GetPrinterW(h, 2, nullptr, 0, &needed);
  std::string buffer(needed, '\0');
  ASSERT_TRUE(GetPrinterW(h, 2, reinterpret_cast<LPBYTE>(&buffer[0]), needed, &needed));
  PRINTER_INFO_2 info = *reinterpret_cast<PRINTER_INFO_2*>(&buffer[0]);

  EXPECT_EQ(PrnNameChangedSinceInstall(h, &info), 1) << "no stored name";
  SetText(h, u"PrinterDriverData", u"ZEMSPrinterName", u"OFFICE");
  EXPECT_EQ(PrnNameChangedSinceInstall(h, &info), 0) << "same name in other case";
  SetText(h, u"PrinterDriverData", u"ZEMSPrinterName", u"Office 2", false);
  EXPECT_EQ(PrnNameChangedSinceInstall(h, &info), 1) << "other name";
  SetText(h, u"PrinterDriverData", u"ClientName", u"");
  EXPECT_EQ(PrnNameChangedSinceInstall(h, &info), 1) << "empty client name";
  SetText(h, u"PrinterDriverData", u"ClientName", u"PC7");
  EXPECT_EQ(PrnNameChangedSinceInstall(h, &info), 0) << "terminal-server client printer";
  EXPECT_EQ(PrnNameChangedSinceInstall(h, nullptr), 0);
  info.pServerName = const_cast<LPWSTR>(u"\\\\S");
  EXPECT_EQ(PrnNameChangedSinceInstall(h, &info), 0) << "connection";

  DWORD value = 7;
  EXPECT_EQ(PrnGetAdminChange(h, &value), 0);
  EXPECT_EQ(value, 0u);
  DWORD two = 2;
  ASSERT_EQ(SetPrinterDataW(h, const_cast<LPWSTR>(u"AdminChange"), REG_DWORD, reinterpret_cast<LPBYTE>(&two), 4),
            DWORD(ERROR_SUCCESS));
  EXPECT_EQ(PrnGetAdminChange(h, &value), 1);
  EXPECT_EQ(value, 2u);
  ClosePrinter(h);
}

// Only a REG_DWORD of four bytes is the switch; four bytes of another type are not.
TEST_F(PrinterNamesTest, AdminChangeMustBeADword) {
  HANDLE h = AddTestPrinter(u"P");
  ASSERT_NE(h, nullptr);
  struct Case {
    DWORD type;
    BYTE bytes[4];
    DWORD size;
    int expected;
    DWORD value;
  } cases[] = {
      {REG_DWORD, {1, 0, 0, 0}, 4, 1, 1},
      {REG_DWORD, {0, 0, 0, 0}, 4, 0, 0},
      {REG_BINARY, {1, 0, 0, 0}, 4, 0, 0},
      {REG_SZ, {'1', 0, 0, 0}, 4, 0, 0},
      {REG_DWORD_BIG_ENDIAN, {0, 0, 0, 1}, 4, 0, 0},
      {REG_BINARY, {1, 0, 0, 0}, 2, 0, 0},
  };
  for (const Case& c : cases) {
    ASSERT_EQ(SetPrinterDataW(h, const_cast<LPWSTR>(u"AdminChange"), c.type, const_cast<BYTE*>(c.bytes), c.size),
              DWORD(ERROR_SUCCESS));
    DWORD value = 7;
    EXPECT_EQ(PrnGetAdminChange(h, &value), c.expected) << "type " << c.type;
    EXPECT_EQ(value, c.value) << "type " << c.type;
  }
  ClosePrinter(h);
}

TEST_F(PrinterNamesTest, DriverFolderAndTheDriversFiles) {
  HANDLE h = AddTestPrinter(u"P");
  ASSERT_NE(h, nullptr);
  Context c(h);
  EXPECT_EQ(std::u16string(PathGetDriverDir(&c.ctx)), kDriverFolder);
  EXPECT_EQ(std::u16string(PathModelDataFile(&c.ctx)), kDriverFolder + u"OV1BD172.ini");
  EXPECT_EQ(std::u16string(PathInstallIniFile(&c.ctx)), kDriverFolder + u"OVINST.INI");
  WCHAR buffer[MAX_PATH] = u"untouched";
  EXPECT_EQ(std::u16string(PathModelDataFileOf(h, buffer, sizeof buffer)), kDriverFolder + u"OV1BD172.ini");
  EXPECT_EQ(std::u16string(PathInDriverDir(buffer, MAX_PATH, u"x.ini", h)), kDriverFolder + u"x.ini");
  WCHAR small[20] = u"untouched";
  EXPECT_EQ(std::u16string(PathInDriverDir(small, 20, u"x.ini", h)), u"");  // does not fit
  WCHAR kept[20] = u"untouched";
  EXPECT_EQ(std::u16string(PathInDriverDir(kept, 20, u"x.ini", nullptr)), u"untouched");

  // The help file: printer data first, else the language DLL (the model's name with the
  // display language's code) with "hlp".
  zems_test::SampleModel model(&c.ctx);
  ASSERT_NE(model.image(), nullptr);
  EXPECT_EQ(std::u16string(PathHelpFile(&c.ctx)), kDriverFolder + u"zemsresus.hlp");
  SetText(h, u"PrinterDriverData", u"HelpFileName", u"ZEMSHLGM.HLP");
  EXPECT_EQ(std::u16string(PathHelpFile(&c.ctx)), kDriverFolder + u"ZEMSHLGM.HLP");

  // Without driver information: the System directory's version-2 driver folder.
  Context none(nullptr);
  EXPECT_EQ(std::u16string(PathGetDriverDir(&none.ctx)), u"C:\\WINDOWS\\system32\\spool\\drivers\\w32x86\\2\\");
  ClosePrinter(h);
}

TEST_F(PrinterNamesTest, DriverFolderFromAGivenDriverInfo) {
  const std::u16string fallback = u"C:\\WINDOWS\\system32\\spool\\drivers\\w32x86\\2\\";  // 42 characters
  const std::u16string longFolder = u"D:\\" + std::u16string(50, u'd') + u"\\";         // 54 characters
  const struct {
    const char* what;
    std::u16string driverPath;  // empty: no driver information
    DWORD size;
    std::u16string expected;
  } cases[] = {
      {"driver folder", u"C:\\drv\\gr.dll", MAX_PATH, u"C:\\drv\\"},
      {"no driver information", u"", MAX_PATH, fallback},
      {"driver folder just fits", u"C:\\drv\\gr.dll", 8, u"C:\\drv\\"},
      {"driver folder does not fit", u"C:\\drv\\gr.dll", 7, u""},
      {"a driver folder that does not fit is not replaced by the System one", longFolder + u"gr.dll", 50, u""},
  };
  for (const auto& c : cases) {
    std::u16string path = c.driverPath;
    DRIVER_INFO_3 info = {};
    info.pDriverPath = &path[0];
    WCHAR buffer[MAX_PATH] = u"stale";
    PathGetDriverDirOfFromInfo(nullptr, buffer, c.size, path.empty() ? nullptr : &info);
    EXPECT_EQ(std::u16string(buffer), c.expected) << c.what;
  }
}

TEST_F(PrinterNamesTest, FoldersUnderTheSystemDirectory) {
  const struct {
    const char16_t* path;
    DWORD size;
    const char16_t* expected;
  } up[] = {
      {u"..\\..\\data\\a.ini", MAX_PATH, u"C:\\data\\a.ini"},
      {u"..\\data\\a.ini", MAX_PATH, u"C:\\WINDOWS\\data\\a.ini"},
      {u"data\\a.ini", MAX_PATH, u""},
      {u"..\\..\\..\\data\\a.ini", MAX_PATH, u""},  // more levels than folders
      {u"..\\..\\data\\a.ini", 13, u""},           // position 2 + 10 + 2 > 13
      {u"..\\..\\data\\a.ini", 14, u"C:\\data\\a.ini"},
  };
  for (const auto& c : up) {
    WCHAR buffer[MAX_PATH] = u"x";
    EXPECT_EQ(std::u16string(PathFromSystemDirUp(buffer, c.size, c.path)), c.expected) << c.size;
  }
  WCHAR buffer[MAX_PATH];
  EXPECT_EQ(std::u16string(PathInWindowsDir(buffer, MAX_PATH, u"explorer.exe")), u"C:\\WINDOWS\\explorer.exe");
  EXPECT_EQ(std::u16string(PathInSystemDir(buffer, 27, u"abc.dll")), u"");  // 19 + 1 + 7 + 1 > 27
  EXPECT_EQ(std::u16string(PathInSystemDir(buffer, 28, u"abc.dll")), u"C:\\WINDOWS\\system32\\abc.dll");
  EXPECT_EQ(OsGetSystemDir(buffer, MAX_PATH, nullptr), 19u);
  EXPECT_EQ(OsGetSystemDir(buffer, 19, nullptr), 0u);
  EXPECT_EQ(OsGetSystemWindowsDir(buffer, MAX_PATH), 1);
  EXPECT_EQ(std::u16string(buffer), u"C:\\WINDOWS");
  EXPECT_EQ(std::u16string(StrKeyBatchInstallDone()), u"BatchInstallDone");
}

TEST_F(PrinterNamesTest, SettingsFileFollowsTheHost) {
  HANDLE h = AddTestPrinter(u"P");
  ASSERT_NE(h, nullptr);
  ASSERT_TRUE(SetEnvironmentVariableW(u"USERPROFILE", u"C:\\Documents and Settings\\Ann"));
  // The profile folder comes from the "UserEnv.dll" stand-in.
  ASSERT_TRUE(SimRegisterModule("UserEnv.dll", (zems_test::BinDir() + "/userenv.so").c_str()));
  SetWindows(5, 1, 2, 0);  // a workstation without terminal services
  Context plain(h);
  EXPECT_EQ(std::u16string(PathSettingsFile(&plain.ctx)), u"C:\\_zems\\OV1BD170.ini");

  OsForgetCachedAnswers();
  SetWindows(5, 1, 2, VER_SUITE_TERMINAL);  // a terminal server of the XP generation
  Context perUser(h);
  EXPECT_EQ(std::u16string(PathSettingsFile(&perUser.ctx)),
            u"C:\\Documents and Settings\\Ann\\_zems\\OV1BD170.ini");
  Context keptOnMachine(h, 0x80000000 | 0x40000);
  EXPECT_EQ(std::u16string(PathSettingsFile(&keptOnMachine.ctx)), u"C:\\_zems\\OV1BD170.ini");

  WCHAR path[MAX_PATH];
  EXPECT_EQ(PathSettingsFileOf(path, MAX_PATH, 1, h), 1);
  EXPECT_EQ(std::u16string(path), u"C:\\Documents and Settings\\Ann\\_zems\\OV1BD170.ini");
  EXPECT_EQ(PathSettingsFileOf(path, MAX_PATH, 0, h), 1);
  EXPECT_EQ(std::u16string(path), u"C:\\_zems\\OV1BD170.ini");
  EXPECT_EQ(PathSettingsFileOf(path, 21, 0, h), 0);  // does not fit
  EXPECT_EQ(std::u16string(path), u"");

  // Without a profile folder ("UserEnv.dll" cannot answer) the per-machine folder stands in
  // for it, so the user folder is the per-machine folder + "\\_zems".
  ASSERT_TRUE(SetEnvironmentVariableW(u"USERPROFILE", nullptr));
  EXPECT_EQ(PathSettingsFileOf(path, MAX_PATH, 1, h), 1);
  EXPECT_EQ(std::u16string(path), u"C:\\_zems\\_zems\\OV1BD170.ini");
  Context fallsBack(h);
  EXPECT_EQ(std::u16string(PathSettingsFile(&fallsBack.ctx)), u"C:\\_zems\\_zems\\OV1BD170.ini");
  ClosePrinter(h);
}

TEST_F(PrinterNamesTest, SettingsFileIsEmptyRatherThanCutWhenTheFolderLeavesNoRoom) {
  HANDLE h = AddTestPrinter(u"P");
  ASSERT_NE(h, nullptr);
  // A configured folder of 250 characters leaves no room for "\OV1BD170.ini" in 260.
  std::u16string folder = u"D:\\" + std::u16string(247, u'x');
  HKEY key;
  ASSERT_EQ(RegCreateKeyExW(HKEY_LOCAL_MACHINE, u"SOFTWARE\\ORVEL\\ZemsDrv", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                            &key, nullptr),
            ERROR_SUCCESS);
  ASSERT_EQ(RegSetValueExW(key, u"_ZEMSDirectory", 0, REG_SZ, reinterpret_cast<const BYTE*>(folder.c_str()),
                           DWORD((folder.size() + 1) * 2)),
            ERROR_SUCCESS);
  RegCloseKey(key);
  Context c(h);
  memcpy(c.ui.settingsFilePath, u"stale", 12);
  EXPECT_EQ(std::u16string(PathSettingsFile(&c.ctx)), u"");
  WCHAR path[MAX_PATH] = u"stale";
  EXPECT_EQ(PathSettingsFileOf(path, MAX_PATH, 0, h), 0);
  EXPECT_EQ(std::u16string(path), u"");
  ClosePrinter(h);
}

}  // namespace
