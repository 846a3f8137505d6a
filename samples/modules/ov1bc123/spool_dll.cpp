// Stand-in for the model's spool DLL. It takes the job stream through its seven exports,
// appends it to <root>/stand-ins/ov1bc123/<job id>.zjs (a new job's file starts empty) and
// logs each call with the stream's byte offset at that moment to ov1bc123.log. Scripted by
// ov1bc123.script, read at every call (format in the README's conventions):
//   fail start     the start-document calls answer no handle (later writes on it fail)
//   false at N     the write that holds stream byte N answers FALSE
//   short at N     the write that holds stream byte N reports one byte fewer than given
//   discard        the bytes are counted, not kept (for the benchmark; read when the job
//                  starts and held for it, so its writes cost no file reads, and its page
//                  calls are not logged: the close's line gives the bytes counted)
// A real spool DLL turns the stream into printer data; this one keeps it as it came.
#include <stdio.h>
#include <string.h>

#include <map>
#include <string>

#include "samples/modules/stand_in_script.h"

namespace {

constexpr char kLog[] = "ov1bc123.log";
constexpr char kScript[] = "ov1bc123.script";

struct Job {
  DWORD id = 0;
  unsigned long long offset = 0;
  FILE* file = nullptr;
  bool discard = false;
};
std::map<DWORD, Job> g_jobs;
DWORD g_nextHandle = 1;

struct Script {
  bool failStart = false, discard = false;
  unsigned long long falseAt = ~0ull, shortAt = ~0ull;
};

Script ReadScript() {
  Script s;
  for (const std::string& line : stand_in::Lines(kScript)) {
    unsigned long long n = 0;
    if (line == "fail start") s.failStart = true;
    else if (line == "discard") s.discard = true;
    else if (sscanf(line.c_str(), "false at %llu", &n) == 1) s.falseAt = n;
    else if (sscanf(line.c_str(), "short at %llu", &n) == 1) s.shortAt = n;
  }
  return s;
}

HANDLE Start(const char* call, DWORD jobId) {
  Script s = ReadScript();
  if (s.failStart) {
    stand_in::Log(kLog, "%s job=%lu -> 0 (scripted)", call, (unsigned long)jobId);
    return nullptr;
  }
  DWORD handle = g_nextHandle++;
  Job& job = g_jobs[handle];
  job.id = jobId;
  job.discard = s.discard;
  if (!s.discard) {
    std::string folder = stand_in::File("ov1bc123");
    mkdir(folder.c_str(), 0777);
    job.file = fopen((folder + "/" + std::to_string(jobId) + ".zjs").c_str(), "wb");
  }
  stand_in::Log(kLog, "%s job=%lu -> %lu", call, (unsigned long)jobId, (unsigned long)handle);
  return reinterpret_cast<HANDLE>(static_cast<ULONG_PTR>(handle));
}

Job* Find(HANDLE handle) {
  auto it = g_jobs.find(DWORD(reinterpret_cast<ULONG_PTR>(handle)));
  return it == g_jobs.end() ? nullptr : &it->second;
}

void Note(const char* call, HANDLE handle) {
  Job* job = Find(handle);
  if (job) stand_in::Log(kLog, "%s offset=%llu", call, job->offset);
  else stand_in::Log(kLog, "%s unknown handle", call);
}

}  // namespace

STAND_IN_EXPORT HANDLE WINAPI DrvSplStartDocEx(HANDLE, DWORD jobId) { return Start("DrvSplStartDocEx", jobId); }
STAND_IN_EXPORT HANDLE WINAPI DrvSplStartDoc(HANDLE, DWORD jobId) { return Start("DrvSplStartDoc", jobId); }

STAND_IN_EXPORT BOOL WINAPI DrvSplWritePrinter(HANDLE handle, LPVOID bytes, DWORD cb, LPDWORD written) {
  if (written) *written = 0;
  Job* job = Find(handle);
  if (!job || !written || (cb && !bytes)) {
    stand_in::Log(kLog, "DrvSplWritePrinter cb=%lu -> FALSE (no such job)", (unsigned long)cb);
    return FALSE;
  }
  if (job->discard) {
    job->offset += cb;
    *written = cb;
    return TRUE;
  }
  Script s = ReadScript();
  unsigned long long from = job->offset, to = job->offset + cb;
  if (s.falseAt >= from && s.falseAt < to) {
    stand_in::Log(kLog, "DrvSplWritePrinter offset=%llu cb=%lu -> FALSE (scripted)", from, (unsigned long)cb);
    return FALSE;
  }
  DWORD taken = (s.shortAt >= from && s.shortAt < to) ? cb - 1 : cb;
  if (job->file && taken) fwrite(bytes, 1, taken, job->file);
  if (job->file) fflush(job->file);
  job->offset += taken;
  *written = taken;
  stand_in::Log(kLog, "DrvSplWritePrinter offset=%llu cb=%lu -> %lu", from, (unsigned long)cb, (unsigned long)taken);
  return TRUE;
}

// A discarding job's page calls cost nothing: they fall inside the time the benchmark measures.
STAND_IN_EXPORT VOID WINAPI DrvSplStartPage(HANDLE handle) {
  Job* job = Find(handle);
  if (!job || !job->discard) Note("DrvSplStartPage", handle);
}
STAND_IN_EXPORT VOID WINAPI DrvSplEndPage(HANDLE handle) {
  Job* job = Find(handle);
  if (!job || !job->discard) Note("DrvSplEndPage", handle);
}
STAND_IN_EXPORT VOID WINAPI DrvSplEndDoc(HANDLE handle) { Note("DrvSplEndDoc", handle); }

STAND_IN_EXPORT VOID WINAPI DrvSplClose(HANDLE handle) {
  Note("DrvSplClose", handle);
  auto it = g_jobs.find(DWORD(reinterpret_cast<ULONG_PTR>(handle)));
  if (it == g_jobs.end()) return;
  if (it->second.file) fclose(it->second.file);
  g_jobs.erase(it);
}
