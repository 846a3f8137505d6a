// Time of the simulated machine: a tick count and a date that tests can set, Sleep, the system time.
#include <sched.h>
#include <time.h>

#include <atomic>
#include <mutex>

#include "platform/sim.h"
#include "platform/sim/internal.h"
#include "platform/kernel32/kernel_internal.h"
#include "platform/sim/trace.h"

namespace {

std::atomic<bool> g_simulated{false};
std::atomic<DWORD> g_ticks{0};

DWORD RealTicks() {
  struct timespec ts;
  clock_gettime(CLOCK_MONOTONIC, &ts);
  return DWORD(uint64_t(ts.tv_sec) * 1000u + uint64_t(ts.tv_nsec) / 1000000u);
}

// The set date, as a FILETIME; g_dateSet false means the host's clock.
std::mutex g_dateLock;
bool g_dateSet = false;
FILETIME g_date;

struct ClockReset {
  ClockReset() {
    winsim::RegisterResetHook([] {
      g_simulated = false;
      std::lock_guard<std::mutex> lock(g_dateLock);
      g_dateSet = false;
    });
  }
} g_clockReset;

}  // namespace

WINSIM_API void SimSetTickCount(DWORD ticks) {
  g_ticks = ticks;
  g_simulated = true;
}

WINSIM_API void SimAdvanceTickCount(DWORD milliseconds) {
  if (!g_simulated) SimSetTickCount(RealTicks());
  g_ticks += milliseconds;
}

WINSIM_API void SimUseRealTickCount(void) { g_simulated = false; }

WINSIM_API DWORD WINAPI GetTickCount(void) { return g_simulated ? g_ticks.load() : RealTicks(); }

// With the simulated clock Sleep only moves the clock on: code that waits for time to pass
// sees it pass at once, and tests stay fast.
WINSIM_API void WINAPI Sleep(DWORD milliseconds) {
  if (g_simulated) {
    g_ticks += milliseconds;
    sched_yield();
    return;
  }
  if (milliseconds == 0) {
    sched_yield();
    return;
  }
  struct timespec ts;
  ts.tv_sec = time_t(milliseconds / 1000);
  ts.tv_nsec = long(milliseconds % 1000) * 1000000L;
  while (nanosleep(&ts, &ts) != 0) {
  }
}

WINSIM_API BOOL SimSetLocalTime(const SYSTEMTIME* localTime) {
  if (!localTime) {
    std::lock_guard<std::mutex> lock(g_dateLock);
    g_dateSet = false;
    return TRUE;
  }
  // The machine's local time is UTC, so the local date is the system date.
  FILETIME date;
  if (!SystemTimeToFileTime(localTime, &date)) return FALSE;
  std::lock_guard<std::mutex> lock(g_dateLock);
  g_date = date;
  g_dateSet = true;
  return TRUE;
}

WINSIM_API void WINAPI GetSystemTimeAsFileTime(LPFILETIME time) {
  if (!time) return;
  {
    std::lock_guard<std::mutex> lock(g_dateLock);
    if (g_dateSet) {
      *time = g_date;
      return;
    }
  }
  struct timespec ts;
  clock_gettime(CLOCK_REALTIME, &ts);
  *time = winsim::FileTimeFromHost(ts);
}

WINSIM_API void WINAPI GetSystemTime(LPSYSTEMTIME time) {
  if (!time) return;
  FILETIME now;
  GetSystemTimeAsFileTime(&now);
  FileTimeToSystemTime(&now, time);
}

// Simplified: the machine's local time is UTC, as FileTimeToLocalFileTime has it.
WINSIM_API void WINAPI GetLocalTime(LPSYSTEMTIME time) {
  WINSIM_SIMPLIFIED("GetLocalTime", "takes local time as UTC");
  GetSystemTime(time);
}
