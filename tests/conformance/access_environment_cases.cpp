// Conformance cases for access control, tokens and environment variables: the same cases run
// against the simulated machine and, built with mingw, under Wine.
#include <gtest/gtest.h>

#include "platform/win32.h"

namespace {

TEST(AccessControlConformance, SidAndAclSizes) {
  SID_IDENTIFIER_AUTHORITY nt = SECURITY_NT_AUTHORITY, world = SECURITY_WORLD_SID_AUTHORITY;
  PSID admins = nullptr, everyone = nullptr;
  ASSERT_TRUE(AllocateAndInitializeSid(&nt, 2, SECURITY_BUILTIN_DOMAIN_RID, DOMAIN_ALIAS_RID_ADMINS, 0, 0, 0, 0, 0, 0,
                                       &admins));
  ASSERT_TRUE(AllocateAndInitializeSid(&world, 1, SECURITY_WORLD_RID, 0, 0, 0, 0, 0, 0, 0, &everyone));
  EXPECT_EQ(16u, GetLengthSid(admins));
  EXPECT_EQ(12u, GetLengthSid(everyone));
  EXPECT_TRUE(IsValidSid(admins));
  EXPECT_FALSE(EqualSid(admins, everyone));

  // An ACL sized for exactly one ACE takes one and refuses the second.
  BYTE buffer[64] = {};
  PACL acl = reinterpret_cast<PACL>(buffer);
  DWORD bytes = sizeof(ACL) + sizeof(ACCESS_ALLOWED_ACE) - sizeof(DWORD) + GetLengthSid(everyone);
  ASSERT_EQ(28u, bytes);
  ASSERT_TRUE(InitializeAcl(acl, bytes, ACL_REVISION));
  EXPECT_TRUE(IsValidAcl(acl));
  ASSERT_TRUE(AddAccessAllowedAceEx(acl, ACL_REVISION, OBJECT_INHERIT_ACE | CONTAINER_INHERIT_ACE, FILE_ALL_ACCESS,
                                    everyone));
  EXPECT_FALSE(AddAccessAllowedAce(acl, ACL_REVISION, 1, everyone));
  EXPECT_EQ(1, acl->AceCount);
  LPVOID ace = nullptr;
  ASSERT_TRUE(GetAce(acl, 0, &ace));
  ACCESS_ALLOWED_ACE* allowed = static_cast<ACCESS_ALLOWED_ACE*>(ace);
  EXPECT_EQ(ACCESS_ALLOWED_ACE_TYPE, allowed->Header.AceType);
  EXPECT_EQ(OBJECT_INHERIT_ACE | CONTAINER_INHERIT_ACE, allowed->Header.AceFlags);
  EXPECT_EQ(20, allowed->Header.AceSize);
  EXPECT_EQ(DWORD(0x1F01FF), allowed->Mask);
  EXPECT_FALSE(InitializeAcl(acl, 4, ACL_REVISION));

  SECURITY_DESCRIPTOR sd;
  ASSERT_TRUE(InitializeSecurityDescriptor(&sd, SECURITY_DESCRIPTOR_REVISION));
  ASSERT_TRUE(SetSecurityDescriptorOwner(&sd, admins, FALSE));
  ASSERT_TRUE(SetSecurityDescriptorGroup(&sd, admins, FALSE));
  ASSERT_TRUE(SetSecurityDescriptorDacl(&sd, TRUE, acl, FALSE));
  EXPECT_TRUE(IsValidSecurityDescriptor(&sd));
  PSID owner = nullptr;
  BOOL defaulted = TRUE;
  ASSERT_TRUE(GetSecurityDescriptorOwner(&sd, &owner, &defaulted));
  EXPECT_EQ(admins, owner);
  EXPECT_FALSE(defaulted);
  FreeSid(admins);
  FreeSid(everyone);
}

TEST(AccessControlConformance, ProcessTokenOpensForQuery) {
  HANDLE token = nullptr;
  ASSERT_TRUE(OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token));
  EXPECT_TRUE(CloseHandle(token));
  // A thread that does not impersonate has no token of its own.
  token = nullptr;
  EXPECT_FALSE(OpenThreadToken(GetCurrentThread(), TOKEN_QUERY, TRUE, &token));
  EXPECT_EQ(DWORD(ERROR_NO_TOKEN), GetLastError());
}

TEST(EnvironmentConformance, VariablesAndExpansion) {
  ASSERT_TRUE(SetEnvironmentVariableW(TEXT("ZemsCase"), TEXT("val")));
  WCHAR buffer[64];
  EXPECT_EQ(3u, GetEnvironmentVariableW(TEXT("ZEMSCASE"), buffer, 64));
  EXPECT_EQ(0, lstrcmpW(TEXT("val"), buffer));
  EXPECT_EQ(4u, GetEnvironmentVariableW(TEXT("zemscase"), buffer, 3)) << "the size needed, terminator included";

  struct Case {
    const WCHAR* in;
    const WCHAR* out;
  } cases[] = {
      {TEXT("%ZEMSCASE%\\x"), TEXT("val\\x")},
      {TEXT("%zemscase%%ZemsCase%"), TEXT("valval")},
      {TEXT("%ZemsUnknownName%\\a"), TEXT("%ZemsUnknownName%\\a")},
      {TEXT("50% and %zemscase%"), TEXT("50% and %zemscase%")},  // "% and %" is taken as a name
      {TEXT("100%"), TEXT("100%")},
  };
  for (const Case& c : cases) {
    DWORD n = ExpandEnvironmentStringsW(c.in, buffer, 64);
    EXPECT_EQ(0, lstrcmpW(c.out, buffer));
    EXPECT_EQ(DWORD(lstrlenW(c.out) + 1), n);
  }
  ASSERT_TRUE(SetEnvironmentVariableW(TEXT("ZemsCase"), nullptr));
  EXPECT_EQ(0u, GetEnvironmentVariableW(TEXT("ZemsCase"), buffer, 64));
  EXPECT_EQ(DWORD(ERROR_ENVVAR_NOT_FOUND), GetLastError());
}

}  // namespace
