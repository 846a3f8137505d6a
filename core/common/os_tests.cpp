// Operating-system, Explorer-host and administrator tests.
#include "core/common/os_tests.h"

#include <string.h>

#include <atomic>

#include "core/common/mem.h"
#include "core/common/path_text.h"

namespace {

// Cached answers: 0 not asked yet, 1 yes, 2 no.
std::atomic<int> g_nt5OrLater{0};

BOOL GetVersionEx(OSVERSIONINFOEXW* info) {
  memset(info, 0, sizeof *info);
  info->dwOSVersionInfoSize = sizeof *info;
  return GetVersionExW(reinterpret_cast<OSVERSIONINFOW*>(info));
}

struct CharsetCodeRow {
  UINT charset;
  int code;
};

// Searched in this order; the first match wins.
const CharsetCodeRow kCharsetCodes[] = {
    {SHIFTJIS_CHARSET, 1},  {ANSI_CHARSET, 2},         {EASTEUROPE_CHARSET, 3}, {GREEK_CHARSET, 4},
    {RUSSIAN_CHARSET, 5},   {TURKISH_CHARSET, 6},      {BALTIC_CHARSET, 7},     {GB2312_CHARSET, 8},
    {CHINESEBIG5_CHARSET, 9}, {HEBREW_CHARSET, 10},    {ARABIC_CHARSET, 11},    {THAI_CHARSET, 12},
    {JOHAB_CHARSET, 13},    {HANGEUL_CHARSET, 13},
};

}  // namespace

BOOL OsGetVersion(OSVERSIONINFOW* info) {
  if (!info) return FALSE;
  memset(info, 0, sizeof *info);
  info->dwOSVersionInfoSize = sizeof *info;
  return GetVersionExW(info);
}

int OsIsNt5OrLater() {
  int known = g_nt5OrLater.load();
  if (known == 0) {
    OSVERSIONINFOW v;
    if (!OsGetVersion(&v)) return 0;
    known = v.dwMajorVersion >= 5 ? 1 : 2;
    g_nt5OrLater.store(known);
  }
  return known == 1;
}

int OsIsAfterXp() {
  OSVERSIONINFOW v;
  if (!OsGetVersion(&v)) return 0;
  return v.dwMajorVersion >= 5 && !(v.dwMajorVersion == 5 && (v.dwMinorVersion == 0 || v.dwMinorVersion == 1));
}

int OsIsVistaOrLater() {
  OSVERSIONINFOW v;
  return OsGetVersion(&v) && v.dwMajorVersion > 5 ? 1 : 0;
}

int OsIsWin9x() {
  OSVERSIONINFOW v;
  return OsGetVersion(&v) && v.dwPlatformId == VER_PLATFORM_WIN32_WINDOWS ? 1 : 0;
}

int OsIsWin98OrMe() {
  OSVERSIONINFOW v;
  return OsGetVersion(&v) && v.dwPlatformId == VER_PLATFORM_WIN32_WINDOWS && v.dwMinorVersion != 0 ? 1 : 0;
}

int OsIsWin2000PreSp4() {
  OSVERSIONINFOEXW v;
  return GetVersionEx(&v) && v.dwMajorVersion == 5 && v.dwMinorVersion == 0 && v.wServicePackMajor < 4 ? 1 : 0;
}

int OsIsWin2000Sp4() {
  OSVERSIONINFOEXW v;
  return GetVersionEx(&v) && v.dwMajorVersion == 5 && v.dwMinorVersion == 0 && v.wServicePackMajor == 4 ? 1 : 0;
}

int OsIsExplorerHost() {
  WCHAR self[MAX_PATH + 1];
  memset(self, 0, sizeof self);
  DWORD n = GetModuleFileNameW(nullptr, self, MAX_PATH);
  if (n == 0 || n >= MAX_PATH) return 0;
  WCHAR explorer[MAX_PATH];
  PathInWindowsDir(explorer, MAX_PATH, TEXT("explorer.exe"));
  return explorer[0] && lstrcmpiW(self, explorer) == 0 ? 1 : 0;
}

int OsIsUserAdmin() {
  BOOL impersonated = ImpersonateSelf(SecurityImpersonation);
  HANDLE token = nullptr;
  if (!OpenThreadToken(GetCurrentThread(), TOKEN_QUERY, TRUE, &token)) {
    token = nullptr;
    if (GetLastError() != ERROR_NO_TOKEN || !OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token))
      token = nullptr;
  }
  int answer = 0;
  PSID admins = nullptr;
  PACL acl = nullptr;
  PSECURITY_DESCRIPTOR descriptor = nullptr;
  SID_IDENTIFIER_AUTHORITY ntAuthority = SECURITY_NT_AUTHORITY;
  if (token && AllocateAndInitializeSid(&ntAuthority, 2, SECURITY_BUILTIN_DOMAIN_RID, DOMAIN_ALIAS_RID_ADMINS, 0, 0,
                                        0, 0, 0, 0, &admins)) {
    // Room for the header and one access-allowed ACE holding the SID.
    DWORD aclSize = GetLengthSid(admins) + 16;
    acl = static_cast<PACL>(MemAllocZero(aclSize));
    descriptor = MemAllocZero(SECURITY_DESCRIPTOR_MIN_LENGTH);
    if (acl && descriptor && InitializeAcl(acl, aclSize, ACL_REVISION) &&
        AddAccessAllowedAce(acl, ACL_REVISION, 3, admins) &&
        InitializeSecurityDescriptor(descriptor, SECURITY_DESCRIPTOR_REVISION) &&
        SetSecurityDescriptorDacl(descriptor, TRUE, acl, FALSE) &&
        SetSecurityDescriptorOwner(descriptor, admins, FALSE) &&
        SetSecurityDescriptorGroup(descriptor, admins, FALSE) && IsValidSecurityDescriptor(descriptor)) {
      GENERIC_MAPPING mapping = {1, 2, 0, 3};
      PRIVILEGE_SET privileges;
      DWORD privilegesLength = sizeof privileges;
      DWORD granted = 0;
      BOOL status = FALSE;
      if (AccessCheck(descriptor, token, 1, &mapping, &privileges, &privilegesLength, &granted, &status))
        answer = status ? 1 : 0;
    }
  }
  MemFree(acl);
  MemFree(descriptor);
  if (admins) FreeSid(admins);
  if (token) CloseHandle(token);
  if (impersonated) RevertToSelf();
  return answer;
}

void OsForgetVersionAnswer() { g_nt5OrLater.store(0); }

UINT OsGetSystemDir(WCHAR* buffer, UINT cchBuffer, DriverContext*) {
  if (!buffer || !cchBuffer) return 0;
  UINT n = GetSystemDirectoryW(buffer, cchBuffer);
  if (n == 0 || n >= cchBuffer) {
    buffer[0] = 0;
    return 0;
  }
  return n;
}

int OsGetSystemWindowsDir(WCHAR* buffer, UINT cchBuffer) {
  if (!buffer || !cchBuffer) return 1;
  UINT n = GetSystemWindowsDirectoryW(buffer, cchBuffer);
  if (n == 0 || n >= cchBuffer) buffer[0] = 0;
  return 1;
}

int OsCharsetCode(UINT charset) {
  for (const CharsetCodeRow& row : kCharsetCodes)
    if (row.charset == charset) return row.code;
  return 0;
}

int OsAnsiCharsetCode() {
  CHARSETINFO info;
  // With TCI_SRCCODEPAGE the code page travels in the pointer argument itself.
  if (!TranslateCharsetInfo(reinterpret_cast<DWORD*>(static_cast<UINT_PTR>(GetACP())), &info, TCI_SRCCODEPAGE))
    return 0;
  return OsCharsetCode(info.ciCharset);
}
