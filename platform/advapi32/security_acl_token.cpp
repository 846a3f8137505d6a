// Process tokens: the process has one; a thread has one only while it impersonates
// (ImpersonateSelf), otherwise OpenThreadToken answers ERROR_NO_TOKEN.
#include "platform/kernel32/handles.h"
#include "platform/sim/internal.h"

namespace {

struct TokenObject : winsim::KernelObject {
  DWORD access = 0;
};

}  // namespace

WINSIM_API BOOL WINAPI OpenProcessToken(HANDLE process, DWORD access, PHANDLE token) {
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
