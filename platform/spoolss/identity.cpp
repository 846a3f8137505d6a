// spoolss of the simulated machine: the identity switches a driver makes while the spooler
// runs it. The machine has one identity, so a revert hands out a token and an impersonation
// takes it back; both are recorded.
#include <mutex>
#include <string>
#include <vector>

#include "platform/sim.h"
#include "platform/sim/internal.h"
#include "platform/win32.h"

namespace winsim {
namespace {

std::mutex g_identityLock;
std::vector<std::string> g_identitySwitches;
DWORD g_nextToken = 0x5100;

void ForgetIdentitySwitches() {
  std::lock_guard<std::mutex> hold(g_identityLock);
  g_identitySwitches.clear();
}

struct IdentityReset {
  IdentityReset() { RegisterResetHook(ForgetIdentitySwitches); }
} g_identityReset;

}  // namespace
}  // namespace winsim

WINSIM_API HANDLE WINAPI RevertToPrinterSelf(void) {
  using namespace winsim;
  std::lock_guard<std::mutex> hold(g_identityLock);
  g_identitySwitches.push_back("revert");
  return reinterpret_cast<HANDLE>(static_cast<ULONG_PTR>(++g_nextToken));
}

WINSIM_API BOOL WINAPI ImpersonatePrinterClient(HANDLE hToken) {
  using namespace winsim;
  if (!hToken) {
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  std::lock_guard<std::mutex> hold(g_identityLock);
  g_identitySwitches.push_back("impersonate");
  return TRUE;
}

WINSIM_API DWORD SimIdentitySwitchCount(void) {
  using namespace winsim;
  std::lock_guard<std::mutex> hold(g_identityLock);
  return DWORD(g_identitySwitches.size());
}

WINSIM_API const char* SimIdentitySwitch(DWORD index) {
  using namespace winsim;
  std::lock_guard<std::mutex> hold(g_identityLock);
  return index < g_identitySwitches.size() ? g_identitySwitches[index].c_str() : "";
}
