// Declarations of the simulated machine (Linux build only; mingw uses the SDK).
// Security descriptors: the base that named objects take; SIDs and ACEs have their own header.
#pragma once
#include "platform/include/win_base.h"

#define SECURITY_DESCRIPTOR_REVISION 1
#define SECURITY_DESCRIPTOR_REVISION1 1
#define SECURITY_DESCRIPTOR_MIN_LENGTH 20
#define ACL_REVISION 2
#ifndef ERROR_UNKNOWN_REVISION
#define ERROR_UNKNOWN_REVISION 1305L
#endif

typedef WORD SECURITY_DESCRIPTOR_CONTROL, *PSECURITY_DESCRIPTOR_CONTROL;
#define SE_OWNER_DEFAULTED 0x0001
#define SE_GROUP_DEFAULTED 0x0002
#define SE_DACL_PRESENT 0x0004
#define SE_DACL_DEFAULTED 0x0008
#define SE_SACL_PRESENT 0x0010
#define SE_SACL_DEFAULTED 0x0020
#define SE_SELF_RELATIVE 0x8000

typedef struct _ACL {
  BYTE AclRevision;
  BYTE Sbz1;
  WORD AclSize;
  WORD AceCount;
  WORD Sbz2;
} ACL, *PACL;

// The absolute (in-memory) form, 20 bytes on 32-bit Windows.
typedef struct _SECURITY_DESCRIPTOR {
  BYTE Revision;
  BYTE Sbz1;
  SECURITY_DESCRIPTOR_CONTROL Control;
  PSID Owner;
  PSID Group;
  PACL Sacl;
  PACL Dacl;
} SECURITY_DESCRIPTOR, *PISECURITY_DESCRIPTOR;
static_assert(sizeof(ACL) == 8 && sizeof(SECURITY_DESCRIPTOR) == 20, "32-bit security layouts");

// Makes an empty descriptor (no owner, group or ACLs). Fails with ERROR_UNKNOWN_REVISION for
// any revision but 1.
WINSIM_API BOOL WINAPI InitializeSecurityDescriptor(PSECURITY_DESCRIPTOR descriptor, DWORD revision);
// Sets or clears the DACL; a present null DACL grants everyone every access.
WINSIM_API BOOL WINAPI SetSecurityDescriptorDacl(PSECURITY_DESCRIPTOR descriptor, BOOL daclPresent,
                                                 PACL dacl, BOOL daclDefaulted);
WINSIM_API BOOL WINAPI GetSecurityDescriptorDacl(PSECURITY_DESCRIPTOR descriptor, LPBOOL daclPresent,
                                                 PACL* dacl, LPBOOL daclDefaulted);
