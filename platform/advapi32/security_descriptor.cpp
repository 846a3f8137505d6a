// Absolute security descriptors: initialisation and the DACL.
#include <string.h>

#include "platform/win32.h"

WINSIM_API BOOL WINAPI InitializeSecurityDescriptor(PSECURITY_DESCRIPTOR descriptor, DWORD revision) {
  if (!descriptor) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  if (revision != SECURITY_DESCRIPTOR_REVISION) {
    SetLastError(ERROR_UNKNOWN_REVISION);
    return FALSE;
  }
  memset(descriptor, 0, sizeof(SECURITY_DESCRIPTOR));
  static_cast<PISECURITY_DESCRIPTOR>(descriptor)->Revision = SECURITY_DESCRIPTOR_REVISION;
  return TRUE;
}

WINSIM_API BOOL WINAPI SetSecurityDescriptorDacl(PSECURITY_DESCRIPTOR descriptor, BOOL daclPresent, PACL dacl,
                                                 BOOL daclDefaulted) {
  auto* sd = static_cast<PISECURITY_DESCRIPTOR>(descriptor);
  if (!sd) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  if (sd->Revision != SECURITY_DESCRIPTOR_REVISION) {
    SetLastError(ERROR_UNKNOWN_REVISION);
    return FALSE;
  }
  if (sd->Control & SE_SELF_RELATIVE) {
    SetLastError(ERROR_INVALID_SECURITY_DESCR);
    return FALSE;
  }
  sd->Control &= WORD(~(SE_DACL_PRESENT | SE_DACL_DEFAULTED));
  sd->Dacl = nullptr;
  if (daclPresent) {
    sd->Control |= SE_DACL_PRESENT;
    sd->Dacl = dacl;
    if (daclDefaulted) sd->Control |= SE_DACL_DEFAULTED;
  }
  return TRUE;
}

WINSIM_API BOOL WINAPI GetSecurityDescriptorDacl(PSECURITY_DESCRIPTOR descriptor, LPBOOL daclPresent, PACL* dacl,
                                                 LPBOOL daclDefaulted) {
  auto* sd = static_cast<PISECURITY_DESCRIPTOR>(descriptor);
  if (!sd || !daclPresent || !dacl || !daclDefaulted) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  if (sd->Revision != SECURITY_DESCRIPTOR_REVISION) {
    SetLastError(ERROR_UNKNOWN_REVISION);
    return FALSE;
  }
  *daclPresent = (sd->Control & SE_DACL_PRESENT) ? TRUE : FALSE;
  *dacl = *daclPresent ? sd->Dacl : nullptr;
  *daclDefaulted = (sd->Control & SE_DACL_DEFAULTED) ? TRUE : FALSE;
  return TRUE;
}
