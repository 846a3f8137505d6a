// advapi32 access control of the simulated machine: SIDs, ACLs, the owner and group of a
// security descriptor, file security and process tokens. Declared from the public API
// documentation; layouts are those of the 32-bit system.
#pragma once
#include "platform/include/win_base.h"
#include "platform/include/win_security.h"

typedef struct _SID_IDENTIFIER_AUTHORITY {
  BYTE Value[6];
} SID_IDENTIFIER_AUTHORITY, *PSID_IDENTIFIER_AUTHORITY;

typedef struct _SID {
  BYTE Revision;
  BYTE SubAuthorityCount;
  SID_IDENTIFIER_AUTHORITY IdentifierAuthority;
  DWORD SubAuthority[1];
} SID;

typedef struct _ACE_HEADER {
  BYTE AceType;
  BYTE AceFlags;
  WORD AceSize;
} ACE_HEADER, *PACE_HEADER;

typedef struct _ACCESS_ALLOWED_ACE {
  ACE_HEADER Header;
  ACCESS_MASK Mask;
  DWORD SidStart;
} ACCESS_ALLOWED_ACE, *PACCESS_ALLOWED_ACE;

typedef DWORD SECURITY_INFORMATION, *PSECURITY_INFORMATION;

static_assert(sizeof(SID) == 12 && sizeof(ACE_HEADER) == 4 && sizeof(ACCESS_ALLOWED_ACE) == 12,
              "access-control layouts");

#define ERROR_INVALID_OWNER 1307L
#define ERROR_ALLOTTED_SPACE_EXCEEDED 1344L

#define SID_REVISION 1
#define SID_MAX_SUB_AUTHORITIES 15
#define SECURITY_NULL_SID_AUTHORITY {{0, 0, 0, 0, 0, 0}}
#define SECURITY_WORLD_SID_AUTHORITY {{0, 0, 0, 0, 0, 1}}
#define SECURITY_LOCAL_SID_AUTHORITY {{0, 0, 0, 0, 0, 2}}
#define SECURITY_CREATOR_SID_AUTHORITY {{0, 0, 0, 0, 0, 3}}
#define SECURITY_NT_AUTHORITY {{0, 0, 0, 0, 0, 5}}
#define SECURITY_WORLD_RID 0x00000000L
#define SECURITY_LOCAL_SYSTEM_RID 0x00000012L
#define SECURITY_BUILTIN_DOMAIN_RID 0x00000020L
#define DOMAIN_ALIAS_RID_ADMINS 0x00000220L
#define DOMAIN_ALIAS_RID_USERS 0x00000221L

#define ACL_REVISION_DS 4
#define ACCESS_ALLOWED_ACE_TYPE 0x0
#define ACCESS_DENIED_ACE_TYPE 0x1
#define OBJECT_INHERIT_ACE 0x1
#define CONTAINER_INHERIT_ACE 0x2
#define NO_PROPAGATE_INHERIT_ACE 0x4
#define INHERIT_ONLY_ACE 0x8
#define INHERITED_ACE 0x10
#define VALID_INHERIT_FLAGS 0x1F
#ifndef MAXDWORD
#define MAXDWORD 0xFFFFFFFFUL
#endif

#define OWNER_SECURITY_INFORMATION 0x00000001L
#define GROUP_SECURITY_INFORMATION 0x00000002L
#define DACL_SECURITY_INFORMATION 0x00000004L
#define SACL_SECURITY_INFORMATION 0x00000008L

#ifndef FILE_ALL_ACCESS
#define FILE_ALL_ACCESS (STANDARD_RIGHTS_REQUIRED | SYNCHRONIZE | 0x1FF)
#endif

#ifndef TOKEN_ASSIGN_PRIMARY
#define TOKEN_ASSIGN_PRIMARY 0x0001
#endif
#ifndef TOKEN_DUPLICATE
#define TOKEN_DUPLICATE 0x0002
#endif
#ifndef TOKEN_IMPERSONATE
#define TOKEN_IMPERSONATE 0x0004
#endif
#ifndef TOKEN_QUERY
#define TOKEN_QUERY 0x0008
#endif

WINSIM_API BOOL WINAPI AllocateAndInitializeSid(PSID_IDENTIFIER_AUTHORITY pIdentifierAuthority,
                                                BYTE nSubAuthorityCount, DWORD nSubAuthority0,
                                                DWORD nSubAuthority1, DWORD nSubAuthority2,
                                                DWORD nSubAuthority3, DWORD nSubAuthority4,
                                                DWORD nSubAuthority5, DWORD nSubAuthority6,
                                                DWORD nSubAuthority7, PSID* pSid);
WINSIM_API PVOID WINAPI FreeSid(PSID pSid);
WINSIM_API DWORD WINAPI GetLengthSid(PSID pSid);
WINSIM_API BOOL WINAPI IsValidSid(PSID pSid);
WINSIM_API BOOL WINAPI EqualSid(PSID pSid1, PSID pSid2);

WINSIM_API BOOL WINAPI InitializeAcl(PACL pAcl, DWORD nAclLength, DWORD dwAclRevision);
WINSIM_API BOOL WINAPI IsValidAcl(PACL pAcl);
WINSIM_API BOOL WINAPI AddAccessAllowedAce(PACL pAcl, DWORD dwAceRevision, DWORD AccessMask,
                                           PSID pSid);
WINSIM_API BOOL WINAPI AddAccessAllowedAceEx(PACL pAcl, DWORD dwAceRevision, DWORD AceFlags,
                                             DWORD AccessMask, PSID pSid);
WINSIM_API BOOL WINAPI GetAce(PACL pAcl, DWORD dwAceIndex, LPVOID* pAce);

WINSIM_API BOOL WINAPI SetSecurityDescriptorOwner(PSECURITY_DESCRIPTOR pSecurityDescriptor,
                                                  PSID pOwner, BOOL bOwnerDefaulted);
WINSIM_API BOOL WINAPI SetSecurityDescriptorGroup(PSECURITY_DESCRIPTOR pSecurityDescriptor,
                                                  PSID pGroup, BOOL bGroupDefaulted);
WINSIM_API BOOL WINAPI GetSecurityDescriptorOwner(PSECURITY_DESCRIPTOR pSecurityDescriptor,
                                                  PSID* pOwner, LPBOOL lpbOwnerDefaulted);
WINSIM_API BOOL WINAPI IsValidSecurityDescriptor(PSECURITY_DESCRIPTOR pSecurityDescriptor);

// Records the given parts of the descriptor for an existing file or folder; the simulated
// machine does not enforce them (SimRecordedFileSecurity reads them back).
WINSIM_API BOOL WINAPI SetFileSecurityW(LPCWSTR lpFileName, SECURITY_INFORMATION SecurityInformation,
                                        PSECURITY_DESCRIPTOR pSecurityDescriptor);

// Process tokens. The simulated process has a primary token; a thread has one only while it
// impersonates, so OpenThreadToken fails with ERROR_NO_TOKEN otherwise.
WINSIM_API HANDLE WINAPI GetCurrentProcess(void);
WINSIM_API HANDLE WINAPI GetCurrentThread(void);
WINSIM_API BOOL WINAPI OpenProcessToken(HANDLE ProcessHandle, DWORD DesiredAccess, PHANDLE TokenHandle);
WINSIM_API BOOL WINAPI OpenThreadToken(HANDLE ThreadHandle, DWORD DesiredAccess, BOOL OpenAsSelf,
                                       PHANDLE TokenHandle);
