// The machine's disk on demand: a budget of bytes that every write of the machine draws on.
// Simplified: the budget belongs to this process (a child process starts with a disk that
// never fills) and counts the bytes written, not the space files take.
#include <errno.h>

#include <mutex>

#include "platform/sim.h"
#include "platform/sim/state_files.h"

namespace winsim {
namespace {

std::mutex g_budgetLock;
long long g_bytesLeft = -1;  // -1: no limit

void EndBudget() {
  std::lock_guard<std::mutex> hold(g_budgetLock);
  g_bytesLeft = -1;
}

struct ResetRegistration {
  ResetRegistration() { RegisterResetHook(EndBudget); }
} g_reset;

}  // namespace

size_t DiskTakeSome(size_t wanted) {
  std::lock_guard<std::mutex> hold(g_budgetLock);
  if (g_bytesLeft < 0) return wanted;
  size_t granted = (unsigned long long)g_bytesLeft < wanted ? size_t(g_bytesLeft) : wanted;
  g_bytesLeft -= (long long)granted;
  return granted;
}

bool DiskTakeAll(size_t wanted) {
  std::lock_guard<std::mutex> hold(g_budgetLock);
  if (g_bytesLeft < 0) return true;
  if ((unsigned long long)g_bytesLeft < wanted) {
    errno = ENOSPC;
    return false;
  }
  g_bytesLeft -= (long long)wanted;
  return true;
}

}  // namespace winsim

WINSIM_API void SimSetDiskFull(long long bytesLeft) {
  std::lock_guard<std::mutex> hold(winsim::g_budgetLock);
  winsim::g_bytesLeft = bytesLeft < 0 ? -1 : bytesLeft;
}
