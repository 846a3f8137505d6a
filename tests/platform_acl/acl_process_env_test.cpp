// Access control, processes and environment of the simulated machine, as the settings
// folders and the program runner use them.
#include <stdio.h>
#include <sys/stat.h>

#include <atomic>
#include <string>

#include "platform/sim.h"
#include "platform/win32.h"
#include "support/machine_fixture.h"

namespace {

using zems_test::MachineTest;

std::string HostFile(const std::string& root, const char* rel) { return root + "/c/" + rel; }

void Touch(const std::string& path) {
  FILE* f = fopen(path.c_str(), "wb");
  ASSERT_TRUE(f) << path;
  fclose(f);
}

class AclTest : public MachineTest {};

TEST_F(AclTest, OwnerAndEveryoneAceAreRecordedPerPath) {
  mkdir((Root() + "/c").c_str(), 0777);
  mkdir(HostFile(Root(), "Folder").c_str(), 0777);

  SID_IDENTIFIER_AUTHORITY nt = SECURITY_NT_AUTHORITY, world = SECURITY_WORLD_SID_AUTHORITY;
  PSID admins = nullptr, everyone = nullptr;
  ASSERT_TRUE(AllocateAndInitializeSid(&nt, 2, SECURITY_BUILTIN_DOMAIN_RID, DOMAIN_ALIAS_RID_ADMINS, 0, 0, 0, 0,
                                       0, 0, &admins));
  ASSERT_TRUE(AllocateAndInitializeSid(&world, 1, SECURITY_WORLD_RID, 0, 0, 0, 0, 0, 0, 0, &everyone));
  EXPECT_EQ(16u, GetLengthSid(admins));
  EXPECT_EQ(12u, GetLengthSid(everyone));

  DWORD aclBytes = sizeof(ACL) + sizeof(ACCESS_ALLOWED_ACE) - sizeof(DWORD) + GetLengthSid(everyone);
  BYTE aclBuffer[64];
  PACL acl = reinterpret_cast<PACL>(aclBuffer);
  ASSERT_TRUE(InitializeAcl(acl, aclBytes, ACL_REVISION));
  ASSERT_TRUE(AddAccessAllowedAceEx(acl, ACL_REVISION, OBJECT_INHERIT_ACE | CONTAINER_INHERIT_ACE,
                                    FILE_ALL_ACCESS, everyone));
  // The ACL is full now: a second ACE does not fit.
  EXPECT_FALSE(AddAccessAllowedAce(acl, ACL_REVISION, 1, everyone));
  EXPECT_EQ(1, acl->AceCount);

  SECURITY_DESCRIPTOR sd;
  ASSERT_TRUE(InitializeSecurityDescriptor(&sd, SECURITY_DESCRIPTOR_REVISION));
  ASSERT_TRUE(SetSecurityDescriptorOwner(&sd, admins, FALSE));
  ASSERT_TRUE(SetSecurityDescriptorDacl(&sd, TRUE, acl, FALSE));
  ASSERT_TRUE(IsValidSecurityDescriptor(&sd));

  ASSERT_TRUE(SetFileSecurityW(TEXT("C:\\FOLDER"), OWNER_SECURITY_INFORMATION, &sd));
  EXPECT_STREQ("O:S-1-5-32-544", SimRecordedFileSecurity(TEXT("c:\\folder")));
  ASSERT_TRUE(SetFileSecurityW(TEXT("C:\\Folder"), DACL_SECURITY_INFORMATION, &sd));
  EXPECT_STREQ("O:S-1-5-32-544 D:(A;0x3;0x1f01ff;S-1-1-0)", SimRecordedFileSecurity(TEXT("C:\\Folder")));

  EXPECT_FALSE(SetFileSecurityW(TEXT("C:\\Missing"), DACL_SECURITY_INFORMATION, &sd));
  EXPECT_EQ(DWORD(ERROR_FILE_NOT_FOUND), GetLastError());
  SimSetFileSecurityError(ERROR_ACCESS_DENIED);
  EXPECT_FALSE(SetFileSecurityW(TEXT("C:\\Folder"), DACL_SECURITY_INFORMATION, &sd));
  EXPECT_EQ(DWORD(ERROR_ACCESS_DENIED), GetLastError());
  EXPECT_EQ(2u, SimFileSecurityCallCount());

  FreeSid(admins);
  FreeSid(everyone);
}

TEST_F(AclTest, ThreadWithoutImpersonationHasNoToken) {
  HANDLE token = nullptr;
  EXPECT_FALSE(OpenThreadToken(GetCurrentThread(), TOKEN_QUERY, TRUE, &token));
  EXPECT_EQ(DWORD(ERROR_NO_TOKEN), GetLastError());
  ASSERT_TRUE(OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token));
  EXPECT_TRUE(CloseHandle(token));
}

std::atomic<int> g_runs{0};
DWORD StandInProgram(LPCWSTR, LPCWSTR, LPCWSTR dir) {
  ++g_runs;
  return dir ? 7 : 9;
}

TEST_F(AclTest, StartedProgramRunsAndIsWaitedFor) {
  mkdir((Root() + "/c").c_str(), 0777);
  mkdir(HostFile(Root(), "drv").c_str(), 0777);
  Touch(HostFile(Root(), "drv/setup.exe"));
  Touch(HostFile(Root(), "drv/other.exe"));
  SimRegisterProgram(TEXT("SETUP.EXE"), StandInProgram);
  g_runs = 0;

  STARTUPINFOW si = {};
  si.cb = sizeof si;
  si.dwFlags = STARTF_USESHOWWINDOW;
  si.wShowWindow = SW_HIDE;
  PROCESS_INFORMATION pi = {};
  WCHAR cmd[] = TEXT("");
  ASSERT_TRUE(CreateProcessW(TEXT("C:\\drv\\setup.exe"), cmd, nullptr, nullptr, FALSE, 0, nullptr,
                             TEXT("C:\\drv"), &si, &pi));
  EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(pi.hProcess, INFINITE));
  DWORD code = 0;
  ASSERT_TRUE(GetExitCodeProcess(pi.hProcess, &code));
  EXPECT_EQ(7u, code);
  EXPECT_EQ(1, g_runs.load());
  CloseHandle(pi.hThread);
  CloseHandle(pi.hProcess);

  // An unregistered program ends at once; a missing one is not started.
  ASSERT_TRUE(CreateProcessW(TEXT("C:\\drv\\other.exe"), nullptr, nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                             &si, &pi));
  EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(pi.hProcess, 0));
  CloseHandle(pi.hThread);
  CloseHandle(pi.hProcess);
  EXPECT_FALSE(CreateProcessW(TEXT("C:\\drv\\none.exe"), nullptr, nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                              &si, &pi));
  EXPECT_EQ(DWORD(ERROR_FILE_NOT_FOUND), GetLastError());

  ASSERT_EQ(2u, SimProcessStartCount());
  EXPECT_STREQ("app=C:\\drv\\setup.exe|cmd=|dir=C:\\drv|inherit=0|show=0", SimProcessStart(0));
}

TEST_F(AclTest, EnvironmentLookupAndExpansion) {
  WCHAR buffer[64];
  EXPECT_EQ(2u, GetEnvironmentVariableW(TEXT("systemdrive"), buffer, 64));
  EXPECT_EQ(std::u16string(u"C:"), std::u16string(buffer));
  EXPECT_EQ(3u, GetEnvironmentVariableW(TEXT("SystemDrive"), buffer, 2));  // size needed

  ASSERT_TRUE(SetEnvironmentVariableW(TEXT("Zems"), TEXT("x")));
  struct Case {
    const char16_t* in;
    const char16_t* out;
  } cases[] = {
      {u"%SYSTEMDRIVE%\\_zems", u"C:\\_zems"},
      {u"%zems%%ZEMS%", u"xx"},
      {u"%unknown%\\a", u"%unknown%\\a"},
      {u"50% and %zems%", u"50% and %zems%"},
      {u"%", u"%"},
  };
  for (const Case& c : cases) {
    DWORD n = ExpandEnvironmentStringsW(c.in, buffer, 64);
    EXPECT_EQ(std::u16string(c.out), std::u16string(buffer));
    EXPECT_EQ(std::u16string(c.out).size() + 1, n);
  }
  ASSERT_TRUE(SetEnvironmentVariableW(TEXT("ZEMS"), nullptr));
  EXPECT_EQ(0u, GetEnvironmentVariableW(TEXT("zems"), buffer, 64));
  EXPECT_EQ(DWORD(ERROR_ENVVAR_NOT_FOUND), GetLastError());

  EXPECT_EQ(0x0409u, GetUserDefaultLCID());
  SimSetUserDefaultLCID(0x0804);
  EXPECT_EQ(0x0804u, GetUserDefaultLCID());
}

}  // namespace
