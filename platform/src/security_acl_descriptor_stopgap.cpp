// Stop-gap until the kernel part's descriptor calls are merged: InitializeSecurityDescriptor
// and SetSecurityDescriptorDacl on the absolute layout. Delete this file when they arrive.
#include <string.h>

#include "platform/win32.h"

#ifndef ERROR_UNKNOWN_REVISION
#define ERROR_UNKNOWN_REVISION 1305L
#endif

WINSIM_API BOOL WINAPI InitializeSecurityDescriptor(PSECURITY_DESCRIPTOR p, DWORD revision) {
  if (!p) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  if (revision != SECURITY_DESCRIPTOR_REVISION) {
    SetLastError(ERROR_UNKNOWN_REVISION);
    return FALSE;
  }
  memset(p, 0, sizeof(SECURITY_DESCRIPTOR));
  static_cast<SECURITY_DESCRIPTOR*>(p)->Revision = SECURITY_DESCRIPTOR_REVISION;
  return TRUE;
}

WINSIM_API BOOL WINAPI SetSecurityDescriptorDacl(PSECURITY_DESCRIPTOR p, BOOL present, PACL dacl, BOOL defaulted) {
  SECURITY_DESCRIPTOR* sd = static_cast<SECURITY_DESCRIPTOR*>(p);
  if (!sd || sd->Revision != SECURITY_DESCRIPTOR_REVISION || (sd->Control & SE_SELF_RELATIVE)) {
    SetLastError(ERROR_INVALID_SECURITY_DESCR);
    return FALSE;
  }
  WORD control = WORD(sd->Control & ~(SE_DACL_PRESENT | SE_DACL_DEFAULTED));
  if (present) {
    control |= SE_DACL_PRESENT;
    if (defaulted) control |= SE_DACL_DEFAULTED;
    sd->Dacl = dacl;
  } else {
    sd->Dacl = nullptr;
  }
  sd->Control = control;
  return TRUE;
}
