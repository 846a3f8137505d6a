// Print jobs of the spooler: a document started on a printer handle gets a job id; ending it
// ends the job.
#include <atomic>
#include <mutex>
#include <set>

#include "platform/sim/internal.h"
#include "platform/sim/trace.h"
#include "platform/win32.h"

namespace {

std::mutex g_lock;
std::set<HANDLE> g_open;  // printer handles with a document started
std::atomic<DWORD> g_lastJob{0};

struct ResetRegistration {
  ResetRegistration() {
    winsim::RegisterResetHook([] {
      std::lock_guard<std::mutex> hold(g_lock);
      g_open.clear();
      g_lastJob = 0;
    });
  }
} g_resetRegistration;

}  // namespace

// Simplified: jobs are numbered per process from 1 and kept nowhere; no queue, no data.
WINSIM_API DWORD WINAPI StartDocPrinterW(HANDLE hPrinter, DWORD Level, LPBYTE pDocInfo) {
  WINSIM_SIMPLIFIED("StartDocPrinterW", "numbers jobs per process and keeps no queue");
  if (!hPrinter || Level != 1 || !pDocInfo) {
    SetLastError(hPrinter ? ERROR_INVALID_LEVEL : ERROR_INVALID_HANDLE);
    return 0;
  }
  std::lock_guard<std::mutex> hold(g_lock);
  if (!g_open.insert(hPrinter).second) {
    SetLastError(ERROR_INVALID_PRINTER_STATE);
    return 0;
  }
  return ++g_lastJob;
}

WINSIM_API BOOL WINAPI EndDocPrinter(HANDLE hPrinter) {
  std::lock_guard<std::mutex> hold(g_lock);
  if (!g_open.erase(hPrinter)) {
    SetLastError(ERROR_SPL_NO_STARTDOC);
    return FALSE;
  }
  return TRUE;
}
