// The cache locks and the machine-wide settings mutex.
#include "core/common/locks.h"

namespace {

constexpr DWORD kSpinCount = 4000;
const WCHAR kMutexName[] = TEXT("Global\\ZemsMutexTse");

CRITICAL_SECTION g_section[2];
LONG g_sectionState[2];  // 1 = initialised
HANDLE g_mutex = nullptr;

// Guards the state words above. Hosts call in on any thread, and the graphics DLL runs
// LockInitProcess again while other threads may already use the locks, so each state change
// happens under this short spin lock (never held while waiting for a cache lock or the mutex).
LONG g_stateGuard = 0;

class StateGuard {
 public:
  StateGuard() {
    while (InterlockedCompareExchange(&g_stateGuard, 1, 0) != 0) Sleep(0);
  }
  ~StateGuard() { InterlockedExchange(&g_stateGuard, 0); }
  StateGuard(const StateGuard&) = delete;
  StateGuard& operator=(const StateGuard&) = delete;
};

// Caller holds the state guard.
void InitSection(int i) {
  if (g_sectionState[i] == 0)
    g_sectionState[i] = InitializeCriticalSectionAndSpinCount(&g_section[i], kSpinCount) ? 1 : 0;
}

bool ValidLock(int n) { return n == 1 || n == 2; }

}  // namespace

void LockInitProcess() {
  StateGuard guard;
  InitSection(0);
  InitSection(1);
  // An open mutex handle is kept: a process never holds two handles of the mutex.
}

void LockTermProcess() {
  StateGuard guard;
  for (int i = 0; i < 2; ++i) {
    if (g_sectionState[i] == 1) {
      DeleteCriticalSection(&g_section[i]);
      g_sectionState[i] = 0;
    }
  }
  if (g_mutex) {
    CloseHandle(g_mutex);
    g_mutex = nullptr;
  }
}

void LockEnter(int n) {
  if (!ValidLock(n)) return;
  bool ready;
  {
    StateGuard guard;
    InitSection(n - 1);
    ready = g_sectionState[n - 1] == 1;
  }
  if (ready) EnterCriticalSection(&g_section[n - 1]);
}

void LockLeave(int n) {
  if (!ValidLock(n)) return;
  bool ready;
  {
    StateGuard guard;
    ready = g_sectionState[n - 1] == 1;
  }
  if (ready) LeaveCriticalSection(&g_section[n - 1]);
}

HANDLE GlobalDriverMutex() {
  SECURITY_DESCRIPTOR descriptor;
  if (!InitializeSecurityDescriptor(&descriptor, SECURITY_DESCRIPTOR_REVISION)) return nullptr;
  // A present null DACL: every user of every session may open and wait on the mutex.
  if (!SetSecurityDescriptorDacl(&descriptor, TRUE, nullptr, FALSE)) return nullptr;
  SECURITY_ATTRIBUTES attributes;
  attributes.nLength = sizeof(attributes);
  attributes.lpSecurityDescriptor = &descriptor;
  attributes.bInheritHandle = FALSE;
  return CreateMutexW(&attributes, FALSE, kMutexName);
}

void LockGlobalMutex() {
  HANDLE mutex;
  {
    StateGuard guard;
    if (!g_mutex) g_mutex = GlobalDriverMutex();
    mutex = g_mutex;
  }
  // The result is not examined: an abandoned mutex is ours all the same.
  if (mutex) WaitForSingleObject(mutex, INFINITE);
}

void UnlockGlobalMutex() {
  HANDLE mutex;
  {
    StateGuard guard;
    mutex = g_mutex;
  }
  if (mutex) ReleaseMutex(mutex);
}

int LockState(int n) {
  if (!ValidLock(n)) return 0;
  StateGuard guard;
  return int(g_sectionState[n - 1]);
}

HANDLE LockMutexHandle() {
  StateGuard guard;
  return g_mutex;
}
