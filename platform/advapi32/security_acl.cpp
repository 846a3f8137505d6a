// SIDs, ACLs, descriptor owner and group, and SetFileSecurityW recorded per path.
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/stat.h>

#include <map>
#include <mutex>
#include <string>

#include "platform/sim.h"
#include "platform/sim/internal.h"
#include "platform/sim/trace.h"

namespace {

// Bytes of a SID with n sub-authorities.
DWORD SidBytes(BYTE n) { return 8 + 4 * DWORD(n); }

bool SidOk(const void* p) {
  if (!p) return false;
  const SID* sid = static_cast<const SID*>(p);
  return sid->Revision == SID_REVISION && sid->SubAuthorityCount <= SID_MAX_SUB_AUTHORITIES;
}

// Walks the ACEs of an ACL; returns the offset after the last one, or 0 when an ACE does not
// fit the ACL's size.
DWORD AceEnd(const ACL* acl) {
  DWORD pos = sizeof(ACL);
  const BYTE* base = reinterpret_cast<const BYTE*>(acl);
  for (WORD i = 0; i < acl->AceCount; ++i) {
    if (pos + sizeof(ACE_HEADER) > acl->AclSize) return 0;
    const ACE_HEADER* h = reinterpret_cast<const ACE_HEADER*>(base + pos);
    if (h->AceSize < sizeof(ACE_HEADER) || pos + h->AceSize > acl->AclSize) return 0;
    pos += h->AceSize;
  }
  return pos;
}

bool AclOk(const ACL* acl) {
  if (!acl) return false;
  if (acl->AclRevision < ACL_REVISION || acl->AclRevision > ACL_REVISION_DS) return false;
  if (acl->AclSize < sizeof(ACL)) return false;
  return AceEnd(acl) != 0;
}

std::string SidText(const void* p) {
  const SID* sid = static_cast<const SID*>(p);
  unsigned long long authority = 0;
  for (int i = 0; i < 6; ++i) authority = (authority << 8) | sid->IdentifierAuthority.Value[i];
  std::string out = "S-1-" + std::to_string(authority);
  for (BYTE i = 0; i < sid->SubAuthorityCount; ++i) out += "-" + std::to_string(sid->SubAuthority[i]);
  return out;
}

std::string AclText(const ACL* acl) {
  if (!acl) return "D:NULL";
  std::string out = "D:";
  const BYTE* base = reinterpret_cast<const BYTE*>(acl);
  DWORD pos = sizeof(ACL);
  for (WORD i = 0; i < acl->AceCount; ++i) {
    const ACE_HEADER* h = reinterpret_cast<const ACE_HEADER*>(base + pos);
    char head[64];
    if (h->AceType == ACCESS_ALLOWED_ACE_TYPE || h->AceType == ACCESS_DENIED_ACE_TYPE) {
      const ACCESS_ALLOWED_ACE* ace = reinterpret_cast<const ACCESS_ALLOWED_ACE*>(h);
      snprintf(head, sizeof head, "(%s;0x%x;0x%lx;", h->AceType == ACCESS_ALLOWED_ACE_TYPE ? "A" : "D",
               unsigned(h->AceFlags), ace->Mask);
      out += head + SidText(&ace->SidStart) + ")";
    } else {
      snprintf(head, sizeof head, "(type%u)", unsigned(h->AceType));
      out += head;
    }
    pos += h->AceSize;
  }
  return out;
}

struct Recorded {
  std::string owner;  // "O:..." or empty
  std::string dacl;   // "D:..." or empty
};

std::mutex g_lock;
std::map<std::string, Recorded>& Records() {
  static std::map<std::string, Recorded> records;
  return records;
}
DWORD g_calls = 0;
DWORD g_failWith = 0;

void ResetSecurity() {
  std::lock_guard<std::mutex> hold(g_lock);
  Records().clear();
  g_calls = 0;
  g_failWith = 0;
}

struct RegisterReset {
  RegisterReset() { winsim::RegisterResetHook(ResetSecurity); }
} g_registerReset;

SECURITY_DESCRIPTOR* AbsoluteDescriptor(PSECURITY_DESCRIPTOR p) {
  SECURITY_DESCRIPTOR* sd = static_cast<SECURITY_DESCRIPTOR*>(p);
  if (!sd) {
    SetLastError(ERROR_INVALID_SECURITY_DESCR);
    return nullptr;
  }
  if (sd->Revision != SECURITY_DESCRIPTOR_REVISION) {
    SetLastError(ERROR_UNKNOWN_REVISION);
    return nullptr;
  }
  if (sd->Control & SE_SELF_RELATIVE) {  // only absolute descriptors are built here
    SetLastError(ERROR_INVALID_SECURITY_DESCR);
    return nullptr;
  }
  return sd;
}

}  // namespace

WINSIM_API BOOL WINAPI AllocateAndInitializeSid(PSID_IDENTIFIER_AUTHORITY authority, BYTE count, DWORD s0,
                                                DWORD s1, DWORD s2, DWORD s3, DWORD s4, DWORD s5,
                                                DWORD s6, DWORD s7, PSID* result) {
  if (!authority || !result || count < 1 || count > 8) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  SID* sid = static_cast<SID*>(calloc(1, SidBytes(count)));
  if (!sid) {
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return FALSE;
  }
  const DWORD subs[8] = {s0, s1, s2, s3, s4, s5, s6, s7};
  sid->Revision = SID_REVISION;
  sid->SubAuthorityCount = count;
  sid->IdentifierAuthority = *authority;
  memcpy(sid->SubAuthority, subs, 4 * size_t(count));
  *result = sid;
  return TRUE;
}

WINSIM_API PVOID WINAPI FreeSid(PSID sid) {
  free(sid);
  return nullptr;
}

WINSIM_API DWORD WINAPI GetLengthSid(PSID sid) {
  if (!SidOk(sid)) return 0;
  return SidBytes(static_cast<SID*>(sid)->SubAuthorityCount);
}

WINSIM_API BOOL WINAPI IsValidSid(PSID sid) { return SidOk(sid) ? TRUE : FALSE; }

WINSIM_API BOOL WINAPI EqualSid(PSID a, PSID b) {
  if (!SidOk(a) || !SidOk(b)) {
    SetLastError(ERROR_INVALID_SID);
    return FALSE;
  }
  SetLastError(ERROR_SUCCESS);
  DWORD na = GetLengthSid(a);
  return na == GetLengthSid(b) && memcmp(a, b, na) == 0;
}

WINSIM_API BOOL WINAPI InitializeAcl(PACL acl, DWORD length, DWORD revision) {
  if (!acl || (revision != ACL_REVISION && revision != ACL_REVISION_DS) || length > 0xFFFF) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  if (length < sizeof(ACL)) {
    SetLastError(ERROR_INSUFFICIENT_BUFFER);
    return FALSE;
  }
  acl->AclRevision = BYTE(revision);
  acl->Sbz1 = 0;
  acl->AclSize = WORD(length & ~DWORD(3));
  acl->AceCount = 0;
  acl->Sbz2 = 0;
  return TRUE;
}

WINSIM_API BOOL WINAPI IsValidAcl(PACL acl) { return AclOk(acl) ? TRUE : FALSE; }

WINSIM_API BOOL WINAPI AddAccessAllowedAceEx(PACL acl, DWORD aceRevision, DWORD flags, DWORD mask, PSID sid) {
  if (!AclOk(acl)) {
    SetLastError(ERROR_INVALID_ACL);
    return FALSE;
  }
  if (!SidOk(sid)) {
    SetLastError(ERROR_INVALID_SID);
    return FALSE;
  }
  if (aceRevision != ACL_REVISION && aceRevision != ACL_REVISION_DS) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  if (flags & ~DWORD(VALID_INHERIT_FLAGS)) {
    SetLastError(ERROR_INVALID_FLAGS);
    return FALSE;
  }
  DWORD sidBytes = GetLengthSid(sid);
  DWORD aceBytes = sizeof(ACCESS_ALLOWED_ACE) - sizeof(DWORD) + sidBytes;
  DWORD end = AceEnd(acl);
  if (end + aceBytes > acl->AclSize) {
    SetLastError(ERROR_ALLOTTED_SPACE_EXCEEDED);
    return FALSE;
  }
  ACCESS_ALLOWED_ACE* ace = reinterpret_cast<ACCESS_ALLOWED_ACE*>(reinterpret_cast<BYTE*>(acl) + end);
  ace->Header.AceType = ACCESS_ALLOWED_ACE_TYPE;
  ace->Header.AceFlags = BYTE(flags);
  ace->Header.AceSize = WORD(aceBytes);
  ace->Mask = mask;
  memcpy(&ace->SidStart, sid, sidBytes);
  acl->AceCount++;
  if (aceRevision > acl->AclRevision) acl->AclRevision = BYTE(aceRevision);
  return TRUE;
}

WINSIM_API BOOL WINAPI AddAccessAllowedAce(PACL acl, DWORD aceRevision, DWORD mask, PSID sid) {
  return AddAccessAllowedAceEx(acl, aceRevision, 0, mask, sid);
}

WINSIM_API BOOL WINAPI GetAce(PACL acl, DWORD index, LPVOID* ace) {
  if (!AclOk(acl) || !ace || index >= acl->AceCount) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  BYTE* p = reinterpret_cast<BYTE*>(acl) + sizeof(ACL);
  for (DWORD i = 0; i < index; ++i) p += reinterpret_cast<ACE_HEADER*>(p)->AceSize;
  *ace = p;
  return TRUE;
}

WINSIM_API BOOL WINAPI SetSecurityDescriptorOwner(PSECURITY_DESCRIPTOR p, PSID owner, BOOL defaulted) {
  SECURITY_DESCRIPTOR* sd = AbsoluteDescriptor(p);
  if (!sd) return FALSE;
  sd->Owner = owner;
  sd->Control = SECURITY_DESCRIPTOR_CONTROL((sd->Control & ~SE_OWNER_DEFAULTED) | (defaulted ? SE_OWNER_DEFAULTED : 0));
  return TRUE;
}

WINSIM_API BOOL WINAPI SetSecurityDescriptorGroup(PSECURITY_DESCRIPTOR p, PSID group, BOOL defaulted) {
  SECURITY_DESCRIPTOR* sd = AbsoluteDescriptor(p);
  if (!sd) return FALSE;
  sd->Group = group;
  sd->Control = SECURITY_DESCRIPTOR_CONTROL((sd->Control & ~SE_GROUP_DEFAULTED) | (defaulted ? SE_GROUP_DEFAULTED : 0));
  return TRUE;
}

WINSIM_API BOOL WINAPI GetSecurityDescriptorOwner(PSECURITY_DESCRIPTOR p, PSID* owner, LPBOOL defaulted) {
  SECURITY_DESCRIPTOR* sd = AbsoluteDescriptor(p);
  if (!sd || !owner || !defaulted) {
    if (sd) SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  *owner = sd->Owner;
  *defaulted = (sd->Control & SE_OWNER_DEFAULTED) ? TRUE : FALSE;
  return TRUE;
}

WINSIM_API BOOL WINAPI IsValidSecurityDescriptor(PSECURITY_DESCRIPTOR p) {
  const SECURITY_DESCRIPTOR* sd = static_cast<const SECURITY_DESCRIPTOR*>(p);
  if (!sd || sd->Revision != SECURITY_DESCRIPTOR_REVISION || (sd->Control & SE_SELF_RELATIVE)) {
    SetLastError(ERROR_INVALID_SECURITY_DESCR);
    return FALSE;
  }
  if ((sd->Owner && !SidOk(sd->Owner)) || (sd->Group && !SidOk(sd->Group)) ||
      ((sd->Control & SE_DACL_PRESENT) && sd->Dacl && !AclOk(sd->Dacl))) {
    SetLastError(ERROR_INVALID_SECURITY_DESCR);
    return FALSE;
  }
  return TRUE;
}

// Simplified: the security is recorded for the path (SimRecordedFileSecurity) but guards
// nothing: the file calls do not check it.
WINSIM_API BOOL WINAPI SetFileSecurityW(LPCWSTR fileName, SECURITY_INFORMATION info, PSECURITY_DESCRIPTOR p) {
  WINSIM_SIMPLIFIED("SetFileSecurityW", "records the security of a file but does not enforce it");
  if (!fileName || !*fileName) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  if (!IsValidSecurityDescriptor(p)) return FALSE;
  const SECURITY_DESCRIPTOR* sd = static_cast<const SECURITY_DESCRIPTOR*>(p);
  if ((info & OWNER_SECURITY_INFORMATION) && !sd->Owner) {
    SetLastError(ERROR_INVALID_OWNER);
    return FALSE;
  }
  std::string host = winsim::HostPathFor(fileName);
  struct stat st;
  if (host.empty() || lstat(host.c_str(), &st) != 0) {
    SetLastError(ERROR_FILE_NOT_FOUND);
    return FALSE;
  }
  std::lock_guard<std::mutex> hold(g_lock);
  if (g_failWith) {
    SetLastError(g_failWith);
    return FALSE;
  }
  Recorded& r = Records()[host];
  if (info & OWNER_SECURITY_INFORMATION) r.owner = "O:" + SidText(sd->Owner);
  if (info & DACL_SECURITY_INFORMATION) {
    r.dacl = (sd->Control & SE_DACL_PRESENT) ? AclText(sd->Dacl) : std::string("D:NULL");
  }
  ++g_calls;
  return TRUE;
}

const char* SimRecordedFileSecurity(LPCWSTR winPath) {
  static thread_local std::string text;
  text.clear();
  std::string host = winsim::HostPathFor(winPath);
  std::lock_guard<std::mutex> hold(g_lock);
  auto it = Records().find(host);
  if (it != Records().end()) {
    text = it->second.owner;
    if (!it->second.dacl.empty()) text += (text.empty() ? "" : " ") + it->second.dacl;
  }
  return text.c_str();
}

DWORD SimFileSecurityCallCount(void) {
  std::lock_guard<std::mutex> hold(g_lock);
  return g_calls;
}

void SimSetFileSecurityError(DWORD errorCode) {
  std::lock_guard<std::mutex> hold(g_lock);
  g_failWith = errorCode;
}
