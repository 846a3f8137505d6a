// Version, terminal-server, Explorer and administrator tests on machines of each kind.
#include <gtest/gtest.h>

#include "core/context/driver_context.h"
#include "core/common/os_tests.h"
#include "core/context/ui_state.h"
#include "core/system/terminal_server.h"
#include "platform/sim.h"
#include "platform/win32.h"
#include "support/machine_fixture.h"
#include "support/test_printer.h"

namespace {

using zems_test::SetWindows;

class OsTestsTest : public zems_test::MachineTest {
 protected:
  void SetUp() override {
    MachineTest::SetUp();
    OsForgetCachedAnswers();
  }
};

TEST_F(OsTestsTest, VersionTestsByWindowsRelease) {
  const struct {
    const char* release;
    DWORD major, minor, platform;
    WORD sp;
    int nt5, afterXp, vista, win9x, preSp4, sp4, win98OrMe;
  } cases[] = {
      {"Windows 95", 4, 0, VER_PLATFORM_WIN32_WINDOWS, 0, 0, 0, 0, 1, 0, 0, 0},
      {"Windows 98", 4, 10, VER_PLATFORM_WIN32_WINDOWS, 0, 0, 0, 0, 1, 0, 0, 1},
      {"Windows Me", 4, 90, VER_PLATFORM_WIN32_WINDOWS, 0, 0, 0, 0, 1, 0, 0, 1},
      {"Windows 2000 SP3", 5, 0, VER_PLATFORM_WIN32_NT, 3, 1, 0, 0, 0, 1, 0, 0},
      {"Windows 2000 SP4", 5, 0, VER_PLATFORM_WIN32_NT, 4, 1, 0, 0, 0, 0, 1, 0},
      {"Windows XP", 5, 1, VER_PLATFORM_WIN32_NT, 2, 1, 0, 0, 0, 0, 0, 0},
      {"Windows Server 2003", 5, 2, VER_PLATFORM_WIN32_NT, 1, 1, 1, 0, 0, 0, 0, 0},
      {"Windows Vista", 6, 0, VER_PLATFORM_WIN32_NT, 0, 1, 1, 1, 0, 0, 0, 0},
  };
  for (const auto& c : cases) {
    OsForgetCachedAnswers();
    SetWindows(c.major, c.minor, c.sp, 0, c.platform);
    EXPECT_EQ(OsIsNt5OrLater(), c.nt5) << c.release;
    EXPECT_EQ(OsIsAfterXp(), c.afterXp) << c.release;
    EXPECT_EQ(OsIsVistaOrLater(), c.vista) << c.release;
    EXPECT_EQ(OsIsWin9x(), c.win9x) << c.release;
    EXPECT_EQ(OsIsWin2000PreSp4(), c.preSp4) << c.release;
    EXPECT_EQ(OsIsWin2000Sp4(), c.sp4) << c.release;
    EXPECT_EQ(OsIsWin98OrMe(), c.win98OrMe) << c.release;
  }
  // The NT 5 answer is kept for the process.
  SetWindows(4, 10, 0, 0, VER_PLATFORM_WIN32_WINDOWS);
  EXPECT_EQ(OsIsNt5OrLater(), 1);
}

TEST_F(OsTestsTest, TerminalServerBranches) {
  HANDLE h = zems_test::AddTestPrinter(u"P");
  ASSERT_NE(h, nullptr);
  const WORD server = VER_SUITE_TERMINAL, workstation = 0, remoteDesktop = VER_SUITE_TERMINAL | VER_SUITE_SINGLEUSERTS;
  const struct {
    const char* what;
    DWORD major, minor;
    WORD suites;
    int checkDll;  // -1 absent, else its answer
    bool handle;
    int expected;
  } cases[] = {
      {"XP: the suite decides although the check DLL says no", 5, 1, server, 0, true, 1},
      {"XP workstation: the check DLL is not asked", 5, 1, workstation, 1, true, 0},
      {"XP with Remote Desktop: the suite mask has the terminal suite", 5, 1, remoteDesktop, 0, true, 1},
      {"Vista terminal server without the check DLL", 6, 0, server, -1, true, 0},
      {"Vista with the check DLL saying yes", 6, 0, workstation, 1, true, 1},
      {"Server 2003 with the check DLL saying no", 5, 2, server, 0, true, 0},
      {"Vista: a check DLL answering 2 is no terminal server", 6, 0, server, 2, true, 0},
      {"Vista without a printer: the suite decides", 6, 0, server, -1, false, 1},
  };
  for (const auto& c : cases) {
    SetWindows(c.major, c.minor, 0, c.suites);
    std::string dll = zems_test::HostPath("C:\\WINDOWS\\system32\\spool\\drivers\\w32x86\\3\\OV00C150.dll");
    remove(dll.c_str());
    if (c.checkDll >= 0) zems_test::InstallCheckDll(c.checkDll);
    EXPECT_EQ(OsIsTerminalServer(c.handle ? h : nullptr), c.expected) << c.what;
  }
  ClosePrinter(h);
}

TEST_F(OsTestsTest, MultiSessionAnswerIsKeptForTheProcess) {
  HANDLE h = zems_test::AddTestPrinter(u"P");
  ASSERT_NE(h, nullptr);
  SetWindows(6, 0, 0, VER_SUITE_TERMINAL);
  // On Vista without the check DLL the host is never a multi-session host.
  EXPECT_EQ(OsIsMultiSessionHost(h), 0);
  zems_test::InstallCheckDll(1);
  EXPECT_EQ(OsIsTerminalServer(h), 1);
  EXPECT_EQ(OsIsMultiSessionHost(h), 0);  // the first answer stands
  OsForgetCachedAnswers();
  DWORD needed = 0;
  GetPrinterDriverW(h, nullptr, 3, nullptr, 0, &needed);
  std::string driver(needed, '\0');
  ASSERT_TRUE(GetPrinterDriverW(h, nullptr, 3, reinterpret_cast<LPBYTE>(&driver[0]), needed, &needed));
  EXPECT_EQ(OsIsMultiSessionHostFromInfo(h, reinterpret_cast<DRIVER_INFO_3*>(&driver[0])), 1);
  EXPECT_EQ(OsIsMultiSessionHost(nullptr), 1);
  ClosePrinter(h);
}

TEST_F(OsTestsTest, ExplorerHost) {
  const struct {
    const char* process;
    int expected;
  } cases[] = {
      {"C:\\Windows\\EXPLORER.EXE", 1},
      {"c:\\windows\\explorer.exe", 1},
      {"C:\\WINDOWS\\system32\\explorer.exe", 0},
      {"C:\\WINDOWS\\system32\\spoolsv.exe", 0},
  };
  for (const auto& c : cases) {
    SimSetProcessName(c.process);
    EXPECT_EQ(OsIsExplorerHost(), c.expected) << c.process;
  }
}

TEST_F(OsTestsTest, AdministratorTestBothWays) {
  DriverContext ctx = {};
  UiState ui = {};
  ctx.ui = &ui;
  for (bool admin : {true, false}) {
    zems_test::SetUserIsAdmin(admin);
    EXPECT_EQ(OsIsUserAdmin(), admin ? 1 : 0);
    ui.checkAdministrator = 1;
    EXPECT_EQ(OsIsAdminIfAsked(&ctx), admin ? 1 : 0);
    ui.checkAdministrator = 0;  // opened with flag 0x200
    EXPECT_EQ(OsIsAdminIfAsked(&ctx), 1);
    EXPECT_EQ(OsIsAdminIfAsked(nullptr), admin ? 1 : 0);
    // The test leaves no impersonation behind.
    HANDLE token = nullptr;
    EXPECT_FALSE(OpenThreadToken(GetCurrentThread(), TOKEN_QUERY, TRUE, &token));
  }
}

}  // namespace
