// Operating-system, terminal-server and administrator tests.
#include "core/common/os_tests.h"

#include <string.h>

#include <atomic>

#include "core/common/mem.h"
#include "core/common/printer_names.h"
#include "core/context/ui_state.h"

namespace {

// Cached answers: 0 not asked yet, 1 yes, 2 no.
std::atomic<int> g_nt5OrLater{0};
std::atomic<int> g_multiSession{0};

const WCHAR kCheckDll[] = TEXT("OV00C150.dll");
const char kCheckExport[] = "_IsTSE_WMICOM_ZEMS_Printer_Driver";
typedef int(WINAPI* TerminalServerCheck)(void);

BOOL GetVersionEx(OSVERSIONINFOEXW* info) {
  memset(info, 0, sizeof *info);
  info->dwOSVersionInfoSize = sizeof *info;
  return GetVersionExW(reinterpret_cast<OSVERSIONINFOW*>(info));
}

// Asks the check DLL in the printer's driver folder; a missing DLL or export answers 0.
int AskCheckDll(HANDLE hPrinter, const DRIVER_INFO_3* driverInfo, bool infoGiven) {
  WCHAR path[MAX_PATH];
  if (infoGiven)
    PathGetDriverDirFromInfo(hPrinter, path, MAX_PATH, driverInfo);
  else
    PathGetDriverDirOf(hPrinter, path, MAX_PATH);
  DWORD n = DWORD(lstrlenW(path));
  DWORD dllLength = sizeof(kCheckDll) / sizeof(kCheckDll[0]);
  if (!n || n + dllLength > MAX_PATH) return 0;
  memcpy(path + n, kCheckDll, dllLength * sizeof(WCHAR));
  HMODULE dll = LoadLibraryW(path);
  if (!dll) return 0;
  TerminalServerCheck check = reinterpret_cast<TerminalServerCheck>(GetProcAddress(dll, kCheckExport));
  int answer = check && check() == 1 ? 1 : 0;
  FreeLibrary(dll);
  return answer;
}

int TerminalServer(HANDLE hPrinter, const DRIVER_INFO_3* driverInfo, bool infoGiven) {
  if (OsIsAfterXp() && hPrinter) return AskCheckDll(hPrinter, driverInfo, infoGiven);
  OSVERSIONINFOEXW want;
  memset(&want, 0, sizeof want);
  want.dwOSVersionInfoSize = sizeof want;
  want.wSuiteMask = VER_SUITE_TERMINAL;
  DWORDLONG mask = VerSetConditionMask(0, VER_SUITENAME, VER_AND);
  return VerifyVersionInfoW(&want, VER_SUITENAME, mask) ? 1 : 0;
}

int MultiSession(HANDLE hPrinter, const DRIVER_INFO_3* driverInfo, bool infoGiven) {
  int known = g_multiSession.load();
  if (known == 0) {
    known = TerminalServer(hPrinter, driverInfo, infoGiven) ? 1 : 2;
    int expected = 0;
    // The printer that asked first decides for the process.
    if (!g_multiSession.compare_exchange_strong(expected, known)) known = expected;
  }
  return known == 1;
}

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

int OsIsWin2000PreSp4() {
  OSVERSIONINFOEXW v;
  return GetVersionEx(&v) && v.dwMajorVersion == 5 && v.dwMinorVersion == 0 && v.wServicePackMajor < 4 ? 1 : 0;
}

int OsIsWin2000Sp4() {
  OSVERSIONINFOEXW v;
  return GetVersionEx(&v) && v.dwMajorVersion == 5 && v.dwMinorVersion == 0 && v.wServicePackMajor == 4 ? 1 : 0;
}

int OsIsTerminalServer(HANDLE hPrinter) { return TerminalServer(hPrinter, nullptr, false); }

int OsIsTerminalServerFor(HANDLE hPrinter, const DRIVER_INFO_3* driverInfo) {
  return TerminalServer(hPrinter, driverInfo, true);
}

int OsIsMultiSessionHost(HANDLE hPrinter) { return MultiSession(hPrinter, nullptr, false); }

int OsIsMultiSessionHostFor(HANDLE hPrinter, const DRIVER_INFO_3* driverInfo) {
  return MultiSession(hPrinter, driverInfo, true);
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

int OsIsAdminIfAsked(DriverContext* ctx) {
  if (!ctx || !ctx->ui || ctx->ui->checkAdministrator == 1) return OsIsUserAdmin();
  return 1;
}

void OsForgetCachedAnswers() {
  g_nt5OrLater.store(0);
  g_multiSession.store(0);
}
