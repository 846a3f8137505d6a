// CreateProcessW and process objects. A started program is a stand-in registered by name
// that runs on a thread of this process; WaitForSingleObject on the process handle waits
// for it, GetExitCodeProcess gives its result.
#include <sys/stat.h>

#include <condition_variable>
#include <map>
#include <mutex>
#include <thread>
#include <vector>

#include "platform/sim.h"
#include "platform/kernel32/handles.h"
#include "platform/sim/internal.h"
#include "platform/sim/trace.h"

namespace {

struct ProcessState {
  std::mutex lock;
  std::condition_variable ended;
  bool done = false;
  DWORD exitCode = STILL_ACTIVE;
  std::thread runner;
  ~ProcessState() {
    // The runner's own copy may be the last one: a thread cannot join itself.
    if (runner.joinable()) {
      if (runner.get_id() == std::this_thread::get_id())
        runner.detach();
      else
        runner.join();
    }
  }
};

// The process handle and the thread handle both wait for the same state.
struct ProcessObject : winsim::KernelObject {
  std::shared_ptr<ProcessState> state;
  DWORD Wait(DWORD milliseconds) override {
    std::unique_lock<std::mutex> hold(state->lock);
    if (milliseconds == INFINITE) {
      state->ended.wait(hold, [this] { return state->done; });
    } else if (!state->ended.wait_for(hold, std::chrono::milliseconds(milliseconds),
                                      [this] { return state->done; })) {
      return WAIT_TIMEOUT;
    }
    return WAIT_OBJECT_0;
  }
};

struct Programs {
  std::mutex lock;
  std::map<std::u16string, SimProgramProc> byLeaf;  // by ProgramKey
  std::vector<std::string> starts;
  DWORD nextId = 0x400;
};
Programs& Table() {
  static Programs programs;
  return programs;
}

void ResetPrograms() {
  Programs& t = Table();
  std::lock_guard<std::mutex> hold(t.lock);
  t.byLeaf.clear();
  t.starts.clear();
}

struct RegisterReset {
  RegisterReset() { winsim::RegisterResetHook(ResetPrograms); }
} g_registerReset;

// Programs are found by the leaf of the started file's name, case ignored.
std::u16string ProgramKey(const std::u16string& path) { return winsim::UpperCaseText(winsim::LeafOf(path)); }

// The program named first in a command line: quoted, or up to the first blank.
std::u16string FirstToken(const WCHAR* line) {
  std::u16string s = line ? line : u"";
  if (!s.empty() && s[0] == u'"') {
    size_t end = s.find(u'"', 1);
    return s.substr(1, end == std::u16string::npos ? std::u16string::npos : end - 1);
  }
  return s.substr(0, s.find(u' '));
}

}  // namespace

// Simplified: the program is a stand-in registered by name (SimRegisterProgram), run on a
// thread of this process; security, creation flags and environment are not applied.
WINSIM_API BOOL WINAPI CreateProcessW(LPCWSTR application, LPWSTR commandLine, LPSECURITY_ATTRIBUTES,
                                      LPSECURITY_ATTRIBUTES, BOOL inherit, DWORD, LPVOID,
                                      LPCWSTR currentDirectory, LPSTARTUPINFOW startup,
                                      LPPROCESS_INFORMATION info) {
  if (!startup || !info || (!application && !commandLine)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  WINSIM_SIMPLIFIED("CreateProcessW", "runs a registered stand-in on a thread; creation flags and environment are not applied");
  std::u16string program = application ? std::u16string(application) : FirstToken(commandLine);
  std::string host = winsim::HostPathFor(program);
  struct stat st;
  if (host.empty() || stat(host.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) {
    SetLastError(ERROR_FILE_NOT_FOUND);
    return FALSE;
  }
  if (currentDirectory) {
    std::string dir = winsim::HostPathFor(currentDirectory);
    if (dir.empty() || stat(dir.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) {
      SetLastError(ERROR_DIRECTORY);
      return FALSE;
    }
  }
  std::string show = (startup->dwFlags & STARTF_USESHOWWINDOW) ? std::to_string(startup->wShowWindow) : "-";
  std::u16string cmd = commandLine ? std::u16string(commandLine) : std::u16string();
  std::u16string dir = currentDirectory ? std::u16string(currentDirectory) : std::u16string();

  Programs& t = Table();
  SimProgramProc proc = nullptr;
  DWORD id;
  {
    std::lock_guard<std::mutex> hold(t.lock);
    t.starts.push_back("app=" + winsim::ToUtf8(program.c_str()) + "|cmd=" + winsim::ToUtf8(cmd.c_str()) +
                       "|dir=" + winsim::ToUtf8(dir.c_str()) + "|inherit=" + (inherit ? "1" : "0") +
                       "|show=" + show);
    auto it = t.byLeaf.find(ProgramKey(program));
    if (it != t.byLeaf.end()) proc = it->second;
    id = (t.nextId += 4);
  }

  auto state = std::make_shared<ProcessState>();
  if (proc) {
    state->runner = std::thread([state, proc, program, cmd, dir] {
      DWORD code = proc(program.c_str(), cmd.c_str(), dir.empty() ? nullptr : dir.c_str());
      std::lock_guard<std::mutex> hold(state->lock);
      state->exitCode = code;
      state->done = true;
      state->ended.notify_all();
    });
  } else {
    state->exitCode = 0;
    state->done = true;
  }
  auto processObject = std::make_shared<ProcessObject>();
  processObject->state = state;
  auto threadObject = std::make_shared<ProcessObject>();
  threadObject->state = state;
  info->hProcess = winsim::AddHandle(processObject);
  info->hThread = winsim::AddHandle(threadObject);
  info->dwProcessId = id;
  info->dwThreadId = id + 1;
  return TRUE;
}

WINSIM_API BOOL WINAPI GetExitCodeProcess(HANDLE process, LPDWORD exitCode) {
  auto object = winsim::FindHandleAs<ProcessObject>(process);
  if (!object || !exitCode) {
    SetLastError(object ? ERROR_INVALID_PARAMETER : ERROR_INVALID_HANDLE);
    return FALSE;
  }
  std::lock_guard<std::mutex> hold(object->state->lock);
  *exitCode = object->state->done ? object->state->exitCode : STILL_ACTIVE;
  return TRUE;
}

void SimRegisterProgram(LPCWSTR leafName, SimProgramProc program) {
  if (!leafName) return;
  Programs& t = Table();
  std::lock_guard<std::mutex> hold(t.lock);
  std::u16string key = ProgramKey(leafName);
  if (program)
    t.byLeaf[key] = program;
  else
    t.byLeaf.erase(key);
}

DWORD SimProcessStartCount(void) {
  Programs& t = Table();
  std::lock_guard<std::mutex> hold(t.lock);
  return DWORD(t.starts.size());
}

const char* SimProcessStart(DWORD index) {
  static thread_local std::string copy;
  Programs& t = Table();
  std::lock_guard<std::mutex> hold(t.lock);
  copy = index < t.starts.size() ? t.starts[index] : std::string();
  return copy.c_str();
}
