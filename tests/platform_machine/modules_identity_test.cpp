// The module loader (search, module table, DllMain, reference counts, failures) and the
// system identity (version checks, user name, access checks).
#include <gtest/gtest.h>
#include <string.h>

#include <fstream>
#include <sstream>
#include <string>

#include "platform/sim.h"
#include "platform/win32.h"
#include "support/machine_fixture.h"
#include "support/test_printer.h"

namespace {

using zems_test::MachineTest;

const char16_t kCheckDllPath[] = u"C:\\WINDOWS\\system32\\spool\\drivers\\w32x86\\3\\OV00C150.dll";

std::string StandInLog() {
  std::ifstream in(std::string(SimMachineRoot()) + "/stand-ins/ov00c150.log");
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

class ModuleTest : public MachineTest {};

TEST_F(ModuleTest, OneModulePerNameWithDllMainAtFirstLoadAndLastFree) {
  zems_test::InstallCheckDll(1);
  HMODULE first = LoadLibraryW(kCheckDllPath);
  ASSERT_NE(first, nullptr) << GetLastError();
  HMODULE second = LoadLibraryW(u"c:\\windows\\SYSTEM32\\spool\\drivers\\W32X86\\3\\ov00c150.DLL");
  EXPECT_EQ(second, first);
  EXPECT_EQ(GetModuleHandleW(u"OV00C150"), first);  // a bare name without extension means .dll
  auto check = reinterpret_cast<int(WINAPI*)()>(GetProcAddress(first, "_IsTSE_WMICOM_ZEMS_Printer_Driver"));
  ASSERT_NE(check, nullptr);
  EXPECT_EQ(check(), 1);
  EXPECT_EQ(StandInLog(), "attach\n");
  EXPECT_TRUE(FreeLibrary(second));
  EXPECT_EQ(StandInLog(), "attach\n");
  EXPECT_TRUE(FreeLibrary(first));
  EXPECT_EQ(StandInLog(), "attach\ndetach\n");
  EXPECT_FALSE(FreeLibrary(first));
  EXPECT_EQ(GetLastError(), DWORD(ERROR_INVALID_HANDLE));
}

TEST_F(ModuleTest, FailuresAreThoseOfWindows) {
  const struct {
    const char16_t* name;
    DWORD error;
  } missing[] = {
      {kCheckDllPath, ERROR_MOD_NOT_FOUND},  // registered, but not in the driver folder
      {u"nothing.dll", ERROR_MOD_NOT_FOUND},
      {u"C:\\WINDOWS\\win.ini", ERROR_BAD_EXE_FORMAT},  // a file that is no module
  };
  ASSERT_TRUE(SimRegisterModule("OV00C150.dll", (zems_test::BinDir() + "/ov00c150.so").c_str()));
  ASSERT_TRUE(zems_test::WriteMachineFile("C:\\WINDOWS\\win.ini", "[windows]\n"));
  for (const auto& c : missing) {
    SetLastError(0);
    EXPECT_EQ(LoadLibraryW(c.name), nullptr);
    EXPECT_EQ(GetLastError(), c.error);
  }
  zems_test::InstallCheckDll(0);
  HMODULE m = LoadLibraryW(kCheckDllPath);
  ASSERT_NE(m, nullptr);
  EXPECT_EQ(GetProcAddress(m, "NoSuchExport"), nullptr);
  EXPECT_EQ(GetLastError(), DWORD(ERROR_PROC_NOT_FOUND));
  EXPECT_EQ(GetProcAddress(m, reinterpret_cast<LPCSTR>(1)), nullptr);  // ordinals are never found
  EXPECT_EQ(GetLastError(), DWORD(ERROR_PROC_NOT_FOUND));
  FreeLibrary(m);
}

TEST_F(ModuleTest, BareNamesAreSearchedAndTheProcessNameIsSettable) {
  ASSERT_TRUE(SimRegisterModule("UserEnv.dll", (zems_test::BinDir() + "/ov00c150.so").c_str()));
  HMODULE m = LoadLibraryW(u"userenv.dll");  // a registered system DLL stands in System
  ASSERT_NE(m, nullptr);
  WCHAR path[MAX_PATH];
  ASSERT_GT(GetModuleFileNameW(m, path, MAX_PATH), 0u);
  EXPECT_EQ(std::u16string(path), u"C:\\WINDOWS\\system32\\userenv.dll");
  FreeLibrary(m);

  SimSetProcessName("C:\\Windows\\EXPLORER.EXE");
  EXPECT_EQ(GetModuleFileNameW(nullptr, path, MAX_PATH), 23u);
  EXPECT_EQ(std::u16string(path), u"C:\\Windows\\EXPLORER.EXE");
  // A short buffer: cut and terminated from Vista on, cut without a terminator up to XP.
  const struct {
    DWORD major, minor;
    std::u16string expected;
  } cuts[] = {{6, 0, std::u16string(u"C:\\W\0", 5)}, {5, 1, u"C:\\Wi"}, {5, 0, u"C:\\Wi"}};
  for (const auto& c : cuts) {
    zems_test::SetWindows(c.major, c.minor);
    WCHAR small[6];
    for (WCHAR& ch : small) ch = u'#';
    SetLastError(0);
    EXPECT_EQ(GetModuleFileNameW(nullptr, small, 5), 5u) << c.major << "." << c.minor;
    EXPECT_EQ(std::u16string(small, 5), c.expected) << c.major << "." << c.minor;
    EXPECT_EQ(small[5], u'#');
    EXPECT_EQ(GetLastError(), DWORD(ERROR_INSUFFICIENT_BUFFER));
    char narrow[6];
    memset(narrow, '#', sizeof narrow);
    EXPECT_EQ(GetModuleFileNameA(nullptr, narrow, 5), 5u);
    EXPECT_EQ(std::string(narrow, 6), c.major >= 6 ? std::string("C:\\W\0#", 6) : std::string("C:\\Wi#"));
  }
}

class IdentityTest : public MachineTest {};

TEST_F(IdentityTest, VersionChecksFollowTheMachine) {
  zems_test::SetWindows(5, 1, 2, VER_SUITE_TERMINAL | VER_SUITE_SINGLEUSERTS);
  OSVERSIONINFOEXW v = {};
  v.dwOSVersionInfoSize = sizeof v;
  ASSERT_TRUE(GetVersionExW(reinterpret_cast<OSVERSIONINFOW*>(&v)));
  EXPECT_EQ(v.wServicePackMajor, 2);
  OSVERSIONINFOW wrongSize = {};
  wrongSize.dwOSVersionInfoSize = 100;
  EXPECT_FALSE(GetVersionExW(&wrongSize));

  const struct {
    WORD suites;  // of the machine
    DWORD major, minor;
    WORD sp;
    bool terminalServer;  // VER_SUITE_TERMINAL asked with VER_AND
    bool atLeastXpSp2;
  } cases[] = {
      // Remote Desktop only: the suite mask has the terminal suite, so the answer is yes.
      {VER_SUITE_TERMINAL | VER_SUITE_SINGLEUSERTS, 5, 1, 2, true, true},
      {VER_SUITE_SINGLEUSERTS, 5, 1, 2, false, true},
      {VER_SUITE_TERMINAL, 5, 2, 0, true, true},                            // application server
      {0, 5, 0, 4, false, false},
      {VER_SUITE_TERMINAL, 6, 0, 0, true, true},
      {0, 5, 1, 1, false, false},
  };
  for (const auto& c : cases) {
    zems_test::SetWindows(c.major, c.minor, c.sp, c.suites);
    OSVERSIONINFOEXW want = {};
    want.dwOSVersionInfoSize = sizeof want;
    want.wSuiteMask = VER_SUITE_TERMINAL;
    EXPECT_EQ(VerifyVersionInfoW(&want, VER_SUITENAME, VerSetConditionMask(0, VER_SUITENAME, VER_AND)) != FALSE,
              c.terminalServer)
        << c.major << "." << c.minor << " suites " << c.suites;
    want.dwMajorVersion = 5;
    want.dwMinorVersion = 1;
    want.wServicePackMajor = 2;
    DWORDLONG mask = 0;
    VER_SET_CONDITION(mask, VER_MAJORVERSION, VER_GREATER_EQUAL);
    VER_SET_CONDITION(mask, VER_MINORVERSION, VER_GREATER_EQUAL);
    VER_SET_CONDITION(mask, VER_SERVICEPACKMAJOR, VER_GREATER_EQUAL);
    EXPECT_EQ(VerifyVersionInfoW(&want, VER_MAJORVERSION | VER_MINORVERSION | VER_SERVICEPACKMAJOR, mask) != FALSE,
              c.atLeastXpSp2)
        << c.major << "." << c.minor << " sp " << c.sp;
  }
}

TEST_F(IdentityTest, UserNameIsMeasuredThenFilled) {
  ASSERT_EQ(zems_test::RunHost("machine system --user Administrator"), 0);
  DWORD size = 3;
  WCHAR small[3];
  EXPECT_FALSE(GetUserNameW(small, &size));
  EXPECT_EQ(GetLastError(), DWORD(ERROR_INSUFFICIENT_BUFFER));
  EXPECT_EQ(size, 14u);
  WCHAR name[UNLEN + 1];
  size = UNLEN + 1;
  ASSERT_TRUE(GetUserNameW(name, &size));
  EXPECT_EQ(size, 14u);
  EXPECT_EQ(std::u16string(name), u"Administrator");
}

TEST_F(IdentityTest, AccessCheckGrantsTheAdministratorsAceOnlyToAnAdministrator) {
  PSID admins = nullptr;
  SID_IDENTIFIER_AUTHORITY nt = SECURITY_NT_AUTHORITY;
  ASSERT_TRUE(AllocateAndInitializeSid(&nt, 2, SECURITY_BUILTIN_DOMAIN_RID, DOMAIN_ALIAS_RID_ADMINS, 0, 0, 0, 0, 0, 0,
                                       &admins));
  BYTE aclBuffer[64];
  PACL acl = reinterpret_cast<PACL>(aclBuffer);
  ASSERT_TRUE(InitializeAcl(acl, sizeof aclBuffer, ACL_REVISION));
  ASSERT_TRUE(AddAccessAllowedAce(acl, ACL_REVISION, 3, admins));
  SECURITY_DESCRIPTOR sd;
  ASSERT_TRUE(InitializeSecurityDescriptor(&sd, SECURITY_DESCRIPTOR_REVISION));
  ASSERT_TRUE(SetSecurityDescriptorDacl(&sd, TRUE, acl, FALSE));
  ASSERT_TRUE(SetSecurityDescriptorOwner(&sd, admins, FALSE));
  ASSERT_TRUE(SetSecurityDescriptorGroup(&sd, admins, FALSE));
  GENERIC_MAPPING mapping = {1, 2, 0, 3};

  HANDLE processToken = nullptr;
  ASSERT_TRUE(OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &processToken));
  PRIVILEGE_SET privileges;
  DWORD length = sizeof privileges, granted = 0;
  BOOL status = TRUE;
  EXPECT_FALSE(AccessCheck(&sd, processToken, 1, &mapping, &privileges, &length, &granted, &status));
  EXPECT_EQ(GetLastError(), DWORD(ERROR_NO_IMPERSONATION_TOKEN));
  CloseHandle(processToken);

  for (bool admin : {true, false}) {
    zems_test::SetUserIsAdmin(admin);
    ASSERT_TRUE(ImpersonateSelf(SecurityImpersonation));
    HANDLE token = nullptr;
    ASSERT_TRUE(OpenThreadToken(GetCurrentThread(), TOKEN_QUERY, TRUE, &token));
    status = !admin;
    ASSERT_TRUE(AccessCheck(&sd, token, 1, &mapping, &privileges, &length, &granted, &status));
    EXPECT_EQ(status != FALSE, admin);
    EXPECT_EQ(granted, admin ? 1u : 0u);
    CloseHandle(token);
    ASSERT_TRUE(RevertToSelf());
    EXPECT_FALSE(OpenThreadToken(GetCurrentThread(), TOKEN_QUERY, TRUE, &token));
    EXPECT_EQ(GetLastError(), DWORD(ERROR_NO_TOKEN));
  }
  FreeSid(admins);
}

}  // namespace
