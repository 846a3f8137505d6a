// Print jobs of the spooler: a document started on a printer handle gets a job id; ending it
// ends the job. GetJobW answers levels 1 and 2 of the jobs started in this process.
#include <string.h>

#include <atomic>
#include <map>
#include <mutex>
#include <set>
#include <string>
#include <vector>

#include "platform/sim/internal.h"
#include "platform/sim/trace.h"
#include "platform/win32.h"

namespace {

std::mutex g_lock;
std::set<HANDLE> g_open;  // printer handles with a document started
std::atomic<DWORD> g_lastJob{0};

struct JobRecord {
  std::u16string document, user, printer;
};
std::map<DWORD, JobRecord> g_jobs;

std::u16string Text(LPCWSTR s) { return s ? std::u16string(reinterpret_cast<const char16_t*>(s)) : std::u16string(); }

std::u16string PrinterNameOf(HANDLE printer) {
  DWORD needed = 0;
  GetPrinterW(printer, 2, nullptr, 0, &needed);
  if (!needed) return std::u16string();
  std::vector<BYTE> buffer(needed);
  if (!GetPrinterW(printer, 2, buffer.data(), needed, &needed)) return std::u16string();
  return Text(reinterpret_cast<PRINTER_INFO_2W*>(buffer.data())->pPrinterName);
}

struct ResetRegistration {
  ResetRegistration() {
    winsim::RegisterResetHook([] {
      std::lock_guard<std::mutex> hold(g_lock);
      g_open.clear();
      g_jobs.clear();
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
  JobRecord record;
  record.document = Text(reinterpret_cast<DOC_INFO_1W*>(pDocInfo)->pDocName);
  record.printer = PrinterNameOf(hPrinter);
  WCHAR user[257] = {};
  DWORD cchUser = 257;
  if (GetUserNameW(user, &cchUser)) record.user = Text(user);
  std::lock_guard<std::mutex> hold(g_lock);
  if (!g_open.insert(hPrinter).second) {
    SetLastError(ERROR_INVALID_PRINTER_STATE);
    return 0;
  }
  DWORD id = ++g_lastJob;
  g_jobs[id] = record;
  return id;
}

// Simplified: only the document, user and printer names and the job id are known; every other
// field is 0 or null, and the job stays known after it ended.
WINSIM_API BOOL WINAPI GetJobW(HANDLE hPrinter, DWORD JobId, DWORD Level, LPBYTE pJob, DWORD cbBuf, LPDWORD pcbNeeded) {
  WINSIM_SIMPLIFIED("GetJobW", "knows the document, user and printer of the process's jobs only");
  if (!hPrinter) {
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  if (Level != 1 && Level != 2) {
    SetLastError(ERROR_INVALID_LEVEL);
    return FALSE;
  }
  JobRecord job;
  {
    std::lock_guard<std::mutex> hold(g_lock);
    auto it = g_jobs.find(JobId);
    if (it == g_jobs.end()) {
      SetLastError(ERROR_INVALID_PARAMETER);
      return FALSE;
    }
    job = it->second;
  }
  DWORD head = Level == 1 ? sizeof(JOB_INFO_1W) : sizeof(JOB_INFO_2W);
  const std::u16string* texts[3] = {&job.printer, &job.user, &job.document};
  DWORD needed = head;
  for (const std::u16string* t : texts) needed += DWORD((t->size() + 1) * sizeof(WCHAR));
  if (pcbNeeded) *pcbNeeded = needed;
  if (!pJob || cbBuf < needed) {
    SetLastError(ERROR_INSUFFICIENT_BUFFER);
    return FALSE;
  }
  memset(pJob, 0, head);
  LPWSTR placed[3];
  BYTE* at = pJob + head;
  for (int i = 0; i < 3; ++i) {
    DWORD cb = DWORD((texts[i]->size() + 1) * sizeof(WCHAR));
    memcpy(at, texts[i]->c_str(), cb);
    placed[i] = reinterpret_cast<LPWSTR>(at);
    at += cb;
  }
  if (Level == 1) {
    JOB_INFO_1W* info = reinterpret_cast<JOB_INFO_1W*>(pJob);
    info->JobId = JobId;
    info->pPrinterName = placed[0];
    info->pUserName = placed[1];
    info->pDocument = placed[2];
  } else {
    JOB_INFO_2W* info = reinterpret_cast<JOB_INFO_2W*>(pJob);
    info->JobId = JobId;
    info->pPrinterName = placed[0];
    info->pUserName = placed[1];
    info->pDocument = placed[2];
  }
  return TRUE;
}

WINSIM_API BOOL WINAPI EndDocPrinter(HANDLE hPrinter) {
  std::lock_guard<std::mutex> hold(g_lock);
  if (!g_open.erase(hPrinter)) {
    SetLastError(ERROR_SPL_NO_STARTDOC);
    return FALSE;
  }
  return TRUE;
}
