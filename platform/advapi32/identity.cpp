// System identity of the simulated machine: the Windows version, service pack and suites,
// the user's name and whether the user is an administrator, kept in
// <root>/system/identity.txt so that every process of the machine sees the same; the
// impersonation state of a thread; and access checks against the user's groups.
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <mutex>
#include <set>
#include <sstream>

#include "platform/sim.h"
#include "platform/kernel32/handles.h"
#include "platform/advapi32/registry_store.h"

namespace winsim {
namespace {

// A fresh machine is Windows XP SP3 on a workstation: Remote Desktop's single-user terminal
// services are installed (VER_SUITE_TERMINAL with VER_SUITE_SINGLEUSERTS), the user an
// administrator.
SimSystemIdentity DefaultIdentity() {
  SimSystemIdentity id = {};
  id.majorVersion = 5;
  id.minorVersion = 1;
  id.buildNumber = 2600;
  id.platformId = VER_PLATFORM_WIN32_NT;
  id.servicePackMajor = 3;
  id.servicePackMinor = 0;
  id.suiteMask = VER_SUITE_TERMINAL | VER_SUITE_SINGLEUSERTS;
  id.productType = VER_NT_WORKSTATION;
  strcpy(id.csdVersion, "Service Pack 3");
  strcpy(id.userName, "User");
  id.userIsAdmin = TRUE;
  return id;
}

std::mutex g_lock;
std::string g_file;
FileVersion g_version;
SimSystemIdentity g_identity;
bool g_cached = false;

thread_local bool t_impersonating = false;
std::set<uintptr_t> g_impersonationTokens;

void Forget() {
  std::lock_guard<std::mutex> hold(g_lock);
  g_cached = false;
}

struct ResetRegistration {
  ResetRegistration() { RegisterResetHook(Forget); }
} g_resetRegistration;

std::string IdentityPath() { return RootPath() + "/system/identity.txt"; }

void CopyText(char* out, size_t size, const std::string& text) {
  size_t n = text.size() < size - 1 ? text.size() : size - 1;
  memcpy(out, text.data(), n);
  out[n] = 0;
}

SimSystemIdentity Parse(const std::string& text) {
  SimSystemIdentity id = DefaultIdentity();
  std::istringstream in(text);
  std::string line;
  while (std::getline(in, line)) {
    size_t eq = line.find('=');
    if (eq == std::string::npos) continue;
    std::string key = line.substr(0, eq), value = line.substr(eq + 1);
    unsigned long n = strtoul(value.c_str(), nullptr, 0);
    if (key == "major") id.majorVersion = n;
    else if (key == "minor") id.minorVersion = n;
    else if (key == "build") id.buildNumber = n;
    else if (key == "platform") id.platformId = n;
    else if (key == "spmajor") id.servicePackMajor = WORD(n);
    else if (key == "spminor") id.servicePackMinor = WORD(n);
    else if (key == "suite") id.suiteMask = WORD(n);
    else if (key == "product") id.productType = BYTE(n);
    else if (key == "csd") CopyText(id.csdVersion, sizeof id.csdVersion, value);
    else if (key == "user") CopyText(id.userName, sizeof id.userName, value);
    else if (key == "admin") id.userIsAdmin = n ? TRUE : FALSE;
  }
  return id;
}

std::string Serialize(const SimSystemIdentity& id) {
  char buf[1024];
  snprintf(buf, sizeof buf,
           "major=%lu\nminor=%lu\nbuild=%lu\nplatform=%lu\nspmajor=%u\nspminor=%u\nsuite=0x%X\nproduct=%u\n"
           "csd=%s\nuser=%s\nadmin=%d\n",
           id.majorVersion, id.minorVersion, id.buildNumber, id.platformId, id.servicePackMajor,
           id.servicePackMinor, id.suiteMask, id.productType, id.csdVersion, id.userName, id.userIsAdmin ? 1 : 0);
  return buf;
}

SimSystemIdentity Current() {
  std::lock_guard<std::mutex> hold(g_lock);
  std::string file = IdentityPath();
  StateFileLock lock(file, false);
  FileVersion now = VersionOf(file);
  if (!g_cached || file != g_file || now != g_version) {
    std::string text;
    g_identity = ReadWholeFile(file, text) ? Parse(text) : DefaultIdentity();
    g_file = file;
    g_version = now;
    g_cached = true;
  }
  return g_identity;
}

bool Compare(DWORD have, DWORD want, int condition) {
  switch (condition) {
    case VER_EQUAL: return have == want;
    case VER_GREATER: return have > want;
    case VER_GREATER_EQUAL: return have >= want;
    case VER_LESS: return have < want;
    case VER_LESS_EQUAL: return have <= want;
  }
  return false;
}

int ConditionOf(ULONGLONG mask, DWORD type) {
  for (int bit = 0; bit < 8; ++bit)
    if (type == (1u << bit)) return int((mask >> (bit * 3)) & 7);
  return 0;
}

// Lexicographic comparison over the given parts of major.minor.spmajor.spminor, under the
// condition of the most significant part asked for, as Windows compares versions.
bool CompareVersionGroup(const SimSystemIdentity& id, const OSVERSIONINFOEXW* want, DWORD types, ULONGLONG mask) {
  const struct {
    DWORD type;
    DWORD have, want;
  } parts[] = {{VER_MAJORVERSION, id.majorVersion, want->dwMajorVersion},
               {VER_MINORVERSION, id.minorVersion, want->dwMinorVersion},
               {VER_SERVICEPACKMAJOR, id.servicePackMajor, want->wServicePackMajor},
               {VER_SERVICEPACKMINOR, id.servicePackMinor, want->wServicePackMinor}};
  int condition = 0;
  for (const auto& p : parts) {
    if (!(types & p.type)) continue;
    if (!condition) condition = ConditionOf(mask, p.type);
    if (p.have != p.want) return Compare(p.have, p.want, condition);
  }
  return Compare(0, 0, condition);
}

bool SuiteMatches(WORD have, WORD want, int condition) {
  // Single-user terminal services (Remote Desktop on a workstation) do not make the machine a
  // terminal server: asked for VER_SUITE_TERMINAL, such a machine answers no.
  if (have & VER_SUITE_SINGLEUSERTS) have = WORD(have & ~VER_SUITE_TERMINAL);
  if (condition == VER_AND) return (have & want) == want;
  if (condition == VER_OR) return want == 0 || (have & want) != 0;
  return false;
}

// SIDs of the user's token: the user, Everyone, Users and, for an administrator,
// Administrators.
bool TokenHasSid(const SimSystemIdentity& id, const SID* sid) {
  if (!sid || sid->Revision != SID_REVISION) return false;
  const BYTE* auth = sid->IdentifierAuthority.Value;
  bool world = auth[5] == 1 && !auth[0] && !auth[1] && !auth[2] && !auth[3] && !auth[4];
  bool nt = auth[5] == 5 && !auth[0] && !auth[1] && !auth[2] && !auth[3] && !auth[4];
  if (world) return sid->SubAuthorityCount == 1 && sid->SubAuthority[0] == SECURITY_WORLD_RID;
  if (!nt) return false;
  if (sid->SubAuthorityCount == 2 && sid->SubAuthority[0] == SECURITY_BUILTIN_DOMAIN_RID) {
    if (sid->SubAuthority[1] == DOMAIN_ALIAS_RID_USERS) return true;
    if (sid->SubAuthority[1] == DOMAIN_ALIAS_RID_ADMINS) return id.userIsAdmin != FALSE;
  }
  return sid->SubAuthorityCount == 1 && sid->SubAuthority[0] == 11;  // Authenticated Users
}

}  // namespace

bool ThreadImpersonates() { return t_impersonating; }

void NoteImpersonationToken(HANDLE token) {
  std::lock_guard<std::mutex> hold(g_lock);
  g_impersonationTokens.insert(reinterpret_cast<uintptr_t>(token));
}

}  // namespace winsim

using namespace winsim;

// ---- version ----

WINSIM_API BOOL WINAPI GetVersionExW(LPOSVERSIONINFOW info) {
  if (!info) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  if (info->dwOSVersionInfoSize != sizeof(OSVERSIONINFOW) && info->dwOSVersionInfoSize != sizeof(OSVERSIONINFOEXW)) {
    SetLastError(ERROR_INSUFFICIENT_BUFFER);
    return FALSE;
  }
  SimSystemIdentity id = Current();
  info->dwMajorVersion = id.majorVersion;
  info->dwMinorVersion = id.minorVersion;
  info->dwBuildNumber = id.buildNumber;
  info->dwPlatformId = id.platformId;
  std::u16string csd = ToUtf16(id.csdVersion);
  if (csd.size() > 127) csd.resize(127);
  memset(info->szCSDVersion, 0, sizeof info->szCSDVersion);
  memcpy(info->szCSDVersion, csd.data(), csd.size() * 2);
  if (info->dwOSVersionInfoSize == sizeof(OSVERSIONINFOEXW)) {
    OSVERSIONINFOEXW* ex = reinterpret_cast<OSVERSIONINFOEXW*>(info);
    ex->wServicePackMajor = id.servicePackMajor;
    ex->wServicePackMinor = id.servicePackMinor;
    ex->wSuiteMask = id.suiteMask;
    ex->wProductType = id.productType;
    ex->wReserved = 0;
  }
  return TRUE;
}

WINSIM_API DWORD WINAPI GetVersion(void) {
  SimSystemIdentity id = Current();
  DWORD v = (id.majorVersion & 0xFF) | ((id.minorVersion & 0xFF) << 8);
  if (id.platformId == VER_PLATFORM_WIN32_NT) v |= (id.buildNumber & 0x7FFF) << 16;
  else v |= 0x80000000u;
  return v;
}

WINSIM_API ULONGLONG WINAPI VerSetConditionMask(ULONGLONG ConditionMask, DWORD TypeMask, BYTE Condition) {
  if (!TypeMask) return ConditionMask;
  for (int bit = 0; bit < 8; ++bit) {
    if (TypeMask & (1u << bit)) {
      ConditionMask &= ~(ULONGLONG(7) << (bit * 3));
      ConditionMask |= ULONGLONG(Condition & 7) << (bit * 3);
    }
  }
  return ConditionMask;
}

WINSIM_API BOOL WINAPI VerifyVersionInfoW(LPOSVERSIONINFOEXW want, DWORD types, DWORDLONG mask) {
  if (!want || !types || !mask) {
    SetLastError(ERROR_BAD_ARGUMENTS);
    return FALSE;
  }
  SimSystemIdentity id = Current();
  bool ok = true;
  const DWORD versionGroup = VER_MAJORVERSION | VER_MINORVERSION | VER_SERVICEPACKMAJOR | VER_SERVICEPACKMINOR;
  if (types & versionGroup) ok = ok && CompareVersionGroup(id, want, types & versionGroup, mask);
  if (types & VER_BUILDNUMBER)
    ok = ok && Compare(id.buildNumber, want->dwBuildNumber, ConditionOf(mask, VER_BUILDNUMBER));
  if (types & VER_PLATFORMID)
    ok = ok && Compare(id.platformId, want->dwPlatformId, ConditionOf(mask, VER_PLATFORMID));
  if (types & VER_PRODUCT_TYPE)
    ok = ok && Compare(id.productType, want->wProductType, ConditionOf(mask, VER_PRODUCT_TYPE));
  if (types & VER_SUITENAME)
    ok = ok && SuiteMatches(id.suiteMask, want->wSuiteMask, ConditionOf(mask, VER_SUITENAME));
  if (!ok) {
    SetLastError(ERROR_OLD_WIN_VERSION);
    return FALSE;
  }
  return TRUE;
}

// ---- user ----

WINSIM_API BOOL WINAPI GetUserNameW(LPWSTR lpBuffer, LPDWORD pcbBuffer) {
  if (!pcbBuffer) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  std::u16string name = ToUtf16(Current().userName);
  DWORD need = DWORD(name.size() + 1);
  if (!lpBuffer || *pcbBuffer < need) {
    *pcbBuffer = need;
    SetLastError(ERROR_INSUFFICIENT_BUFFER);
    return FALSE;
  }
  memcpy(lpBuffer, name.c_str(), need * sizeof(WCHAR));
  *pcbBuffer = need;
  return TRUE;
}

WINSIM_API BOOL WINAPI GetUserNameA(LPSTR lpBuffer, LPDWORD pcbBuffer) {
  if (!pcbBuffer) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  std::string name = WideToAnsi(ToUtf16(Current().userName));
  DWORD need = DWORD(name.size() + 1);
  if (!lpBuffer || *pcbBuffer < need) {
    *pcbBuffer = need;
    SetLastError(ERROR_INSUFFICIENT_BUFFER);
    return FALSE;
  }
  memcpy(lpBuffer, name.c_str(), need);
  *pcbBuffer = need;
  return TRUE;
}

// ---- impersonation and access checks ----

WINSIM_API BOOL WINAPI ImpersonateSelf(SECURITY_IMPERSONATION_LEVEL level) {
  if (level < SecurityAnonymous || level > SecurityDelegation) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  t_impersonating = true;
  return TRUE;
}

WINSIM_API BOOL WINAPI RevertToSelf(void) {
  t_impersonating = false;
  return TRUE;
}

WINSIM_API void WINAPI MapGenericMask(PDWORD AccessMask, PGENERIC_MAPPING GenericMapping) {
  if (!AccessMask || !GenericMapping) return;
  DWORD m = *AccessMask;
  if (m & GENERIC_READ) m |= GenericMapping->GenericRead;
  if (m & GENERIC_WRITE) m |= GenericMapping->GenericWrite;
  if (m & GENERIC_EXECUTE) m |= GenericMapping->GenericExecute;
  if (m & GENERIC_ALL) m |= GenericMapping->GenericAll;
  m &= ~DWORD(GENERIC_READ | GENERIC_WRITE | GENERIC_EXECUTE | GENERIC_ALL);
  *AccessMask = m;
}

WINSIM_API BOOL WINAPI AccessCheck(PSECURITY_DESCRIPTOR pSecurityDescriptor, HANDLE ClientToken, DWORD DesiredAccess,
                                   PGENERIC_MAPPING GenericMapping, PPRIVILEGE_SET PrivilegeSet,
                                   LPDWORD PrivilegeSetLength, LPDWORD GrantedAccess, LPBOOL AccessStatus) {
  if (!pSecurityDescriptor || !GenericMapping || !PrivilegeSetLength || !GrantedAccess || !AccessStatus) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  {
    std::lock_guard<std::mutex> hold(g_lock);
    if (!FindHandle(ClientToken) || !g_impersonationTokens.count(reinterpret_cast<uintptr_t>(ClientToken))) {
      SetLastError(FindHandle(ClientToken) ? ERROR_NO_IMPERSONATION_TOKEN : ERROR_INVALID_HANDLE);
      return FALSE;
    }
  }
  if (*PrivilegeSetLength < sizeof(PRIVILEGE_SET) - sizeof(LUID_AND_ATTRIBUTES)) {
    *PrivilegeSetLength = sizeof(PRIVILEGE_SET);
    SetLastError(ERROR_INSUFFICIENT_BUFFER);
    return FALSE;
  }
  const SECURITY_DESCRIPTOR* sd = static_cast<const SECURITY_DESCRIPTOR*>(pSecurityDescriptor);
  if (!IsValidSecurityDescriptor(pSecurityDescriptor) || (sd->Control & SE_SELF_RELATIVE) || !sd->Owner ||
      !sd->Group) {
    SetLastError(ERROR_INVALID_SECURITY_DESCR);
    return FALSE;
  }
  if (DesiredAccess & (GENERIC_READ | GENERIC_WRITE | GENERIC_EXECUTE | GENERIC_ALL)) {
    SetLastError(ERROR_GEN_FAILURE);  // generic rights must be mapped by the caller
    return FALSE;
  }
  if (PrivilegeSet) {
    PrivilegeSet->PrivilegeCount = 0;
    PrivilegeSet->Control = 0;
  }
  SimSystemIdentity id = Current();
  DWORD granted = 0;
  if (!(sd->Control & SE_DACL_PRESENT) || !sd->Dacl) {
    granted = DesiredAccess == MAXIMUM_ALLOWED ? GenericMapping->GenericAll : DesiredAccess;
  } else {
    const ACL* acl = sd->Dacl;
    const BYTE* ace = reinterpret_cast<const BYTE*>(acl) + sizeof(ACL);
    const BYTE* end = reinterpret_cast<const BYTE*>(acl) + acl->AclSize;
    DWORD denied = 0;
    for (WORD i = 0; i < acl->AceCount && ace + sizeof(ACE_HEADER) <= end; ++i) {
      const ACE_HEADER* header = reinterpret_cast<const ACE_HEADER*>(ace);
      if (header->AceSize < sizeof(ACCESS_ALLOWED_ACE) || ace + header->AceSize > end) break;
      const ACCESS_ALLOWED_ACE* allowed = reinterpret_cast<const ACCESS_ALLOWED_ACE*>(ace);
      const SID* sid = reinterpret_cast<const SID*>(&allowed->SidStart);
      if (!(header->AceFlags & INHERIT_ONLY_ACE) && TokenHasSid(id, sid)) {
        DWORD mask = allowed->Mask;
        MapGenericMask(&mask, GenericMapping);
        if (header->AceType == ACCESS_ALLOWED_ACE_TYPE) granted |= mask & ~denied;
        else if (header->AceType == ACCESS_DENIED_ACE_TYPE) denied |= mask & ~granted;
      }
      ace += header->AceSize;
    }
  }
  DWORD wanted = DesiredAccess == MAXIMUM_ALLOWED ? granted : DesiredAccess;
  if (wanted && (granted & wanted) == wanted) {
    *GrantedAccess = wanted;
    *AccessStatus = TRUE;
  } else {
    *GrantedAccess = 0;
    *AccessStatus = FALSE;
    SetLastError(ERROR_ACCESS_DENIED);
  }
  return TRUE;
}

// ---- control of the simulated machine ----

BOOL SimGetSystemIdentity(SimSystemIdentity* identity) {
  if (!identity) return FALSE;
  *identity = Current();
  return TRUE;
}

BOOL SimSetSystemIdentity(const SimSystemIdentity* identity) {
  if (!identity) return FALSE;
  SimSystemIdentity copy = *identity;
  copy.csdVersion[sizeof copy.csdVersion - 1] = 0;
  copy.userName[sizeof copy.userName - 1] = 0;
  if (strchr(copy.csdVersion, '\n') || strchr(copy.userName, '\n')) return FALSE;
  std::lock_guard<std::mutex> hold(g_lock);
  std::string file = IdentityPath();
  StateFileLock lock(file, true);
  if (!ReplaceFileAtomically(file, Serialize(copy))) return FALSE;
  g_identity = copy;
  g_file = file;
  g_version = VersionOf(file);
  g_cached = true;
  return TRUE;
}

WINSIM_API UINT WINAPI GetSystemWindowsDirectoryW(LPWSTR lpBuffer, UINT uSize) {
  return GetWindowsDirectoryW(lpBuffer, uSize);
}
