// The user of the simulated machine: the user name, the impersonation state of a thread and
// access checks against the user's groups.
#include <string.h>

#include <mutex>
#include <set>

#include "platform/kernel32/handles.h"
#include "platform/sim/identity.h"
#include "platform/sim/internal.h"
#include "platform/sim/trace.h"

namespace winsim {
namespace {

std::mutex g_lock;
thread_local bool t_impersonating = false;
std::set<uintptr_t> g_impersonationTokens;

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

// ---- user ----

WINSIM_API BOOL WINAPI GetUserNameW(LPWSTR lpBuffer, LPDWORD pcbBuffer) {
  if (!pcbBuffer) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  std::u16string name = ToUtf16(CurrentIdentity().userName);
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
  std::string name = WideToAnsi(ToUtf16(CurrentIdentity().userName));
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

// Simplified: the client token carries nothing, so the check uses the machine user's groups
// (the user, Everyone, Users, Authenticated Users and, for an administrator, Administrators).
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
  WINSIM_SIMPLIFIED("AccessCheck", "checks the machine user's groups, not the client token's");
  SimSystemIdentity id = CurrentIdentity();
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
