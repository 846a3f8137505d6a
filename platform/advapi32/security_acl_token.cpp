// Process tokens: the process has one; a thread has one only while it impersonates
// (ImpersonateSelf), otherwise OpenThreadToken answers ERROR_NO_TOKEN.
//
// Simplified: a token is a bare handle. It carries no user, groups or privileges (there is
// no GetTokenInformation); AccessCheck takes the machine user's groups instead.
#include "platform/kernel32/handles.h"
#include "platform/sim/internal.h"
#include "platform/sim/trace.h"

namespace {

struct TokenObject : winsim::KernelObject {
  DWORD access = 0;
};

}  // namespace

WINSIM_API BOOL WINAPI OpenProcessToken(HANDLE process, DWORD access, PHANDLE token) {
  WINSIM_SIMPLIFIED("OpenProcessToken", "gives a token without user, groups or privileges");
  if (!token) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  if (process != winsim::kCurrentProcess) {
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  auto object = std::make_shared<TokenObject>();
  object->access = access;
  *token = winsim::AddHandle(object);
  return TRUE;
}

WINSIM_API BOOL WINAPI OpenThreadToken(HANDLE thread, DWORD access, BOOL, PHANDLE token) {
  WINSIM_SIMPLIFIED("OpenThreadToken", "gives a token without user, groups or privileges");
  if (!token) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  *token = nullptr;
  if (thread != winsim::kCurrentThread) {
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  if (winsim::ThreadImpersonates()) {
    auto object = std::make_shared<TokenObject>();
    object->access = access;
    *token = winsim::AddHandle(object);
    winsim::NoteImpersonationToken(*token);
    return TRUE;
  }
  SetLastError(ERROR_NO_TOKEN);
  return FALSE;
}
