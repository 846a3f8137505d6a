// Critical sections and threads of the simulated machine.
#include <pthread.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <new>
#include <thread>

#include "platform/sim.h"
#include "platform/kernel32/handles.h"
#include "platform/sim/internal.h"
#include "platform/kernel32/kernel_internal.h"

namespace {

// What a CRITICAL_SECTION points to: our own recursive lock, so that a leave by a thread
// that does not own the section is refused instead of corrupting it.
struct SectionLock {
  std::mutex m;
  std::condition_variable freed;
  DWORD owner = 0;
  LONG depth = 0;
};

std::atomic<int> g_failInits{0};

// A new machine starts with no pending failures.
struct FailureReset {
  FailureReset() {
    winsim::RegisterResetHook([] { g_failInits = 0; });
  }
} g_failureReset;

SectionLock* LockOf(LPCRITICAL_SECTION section) {
  return section ? static_cast<SectionLock*>(section->DebugInfo) : nullptr;
}

void Publish(LPCRITICAL_SECTION section, const SectionLock& lock) {
  section->RecursionCount = lock.depth;
  section->LockCount = lock.depth ? 0 : -1;
  section->OwningThread = reinterpret_cast<HANDLE>(uintptr_t(lock.owner));
}

}  // namespace

WINSIM_API void SimFailCriticalSectionInits(int count) { g_failInits = count < 0 ? 0 : count; }

WINSIM_API BOOL WINAPI InitializeCriticalSectionAndSpinCount(LPCRITICAL_SECTION section, DWORD spinCount) {
  if (!section) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  int pending = g_failInits.load();
  while (pending > 0 && !g_failInits.compare_exchange_weak(pending, pending - 1)) {
  }
  SectionLock* lock = pending > 0 ? nullptr : new (std::nothrow) SectionLock;
  if (!lock) {
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return FALSE;
  }
  section->DebugInfo = lock;
  section->LockSemaphore = nullptr;
  section->SpinCount = spinCount & 0x00FFFFFF;
  Publish(section, *lock);
  return TRUE;
}

WINSIM_API void WINAPI InitializeCriticalSection(LPCRITICAL_SECTION section) {
  InitializeCriticalSectionAndSpinCount(section, 0);
}

WINSIM_API void WINAPI EnterCriticalSection(LPCRITICAL_SECTION section) {
  SectionLock* lock = LockOf(section);
  if (!lock) return;
  DWORD me = GetCurrentThreadId();
  std::unique_lock<std::mutex> hold(lock->m);
  lock->freed.wait(hold, [&] { return lock->owner == 0 || lock->owner == me; });
  lock->owner = me;
  ++lock->depth;
  Publish(section, *lock);
}

WINSIM_API BOOL WINAPI TryEnterCriticalSection(LPCRITICAL_SECTION section) {
  SectionLock* lock = LockOf(section);
  if (!lock) return FALSE;
  DWORD me = GetCurrentThreadId();
  std::lock_guard<std::mutex> hold(lock->m);
  if (lock->owner != 0 && lock->owner != me) return FALSE;
  lock->owner = me;
  ++lock->depth;
  Publish(section, *lock);
  return TRUE;
}

WINSIM_API void WINAPI LeaveCriticalSection(LPCRITICAL_SECTION section) {
  SectionLock* lock = LockOf(section);
  if (!lock) return;
  std::lock_guard<std::mutex> hold(lock->m);
  if (lock->owner != GetCurrentThreadId()) return;
  if (--lock->depth == 0) {
    lock->owner = 0;
    lock->freed.notify_one();
  }
  Publish(section, *lock);
}

WINSIM_API void WINAPI DeleteCriticalSection(LPCRITICAL_SECTION section) {
  SectionLock* lock = LockOf(section);
  if (!lock) return;
  delete lock;
  *section = CRITICAL_SECTION{};
}

// ---- threads ----

// Windows reads the id from the thread's own block; here it is asked of the kernel once per
// thread and kept. A forked child's only thread forgets the id its parent's thread kept (the
// fork handler), so it never carries its parent's id.
namespace {

thread_local DWORD t_threadId = 0;

void ForgetThreadIdInChild() { t_threadId = 0; }

bool RegisterForkHandler() { return pthread_atfork(nullptr, nullptr, ForgetThreadIdInChild) == 0; }

}  // namespace

WINSIM_API DWORD WINAPI GetCurrentThreadId(void) {
  static const bool registered = RegisterForkHandler();
  (void)registered;
  if (!t_threadId) t_threadId = DWORD(syscall(SYS_gettid));
  return t_threadId;
}

WINSIM_API DWORD WINAPI GetCurrentProcessId(void) { return DWORD(getpid()); }

namespace {

struct ThreadObject : winsim::KernelObject {
  std::mutex m;
  std::condition_variable changed;
  bool started = false;
  bool done = false;
  DWORD id = 0;
  DWORD exitCode = STILL_ACTIVE;

  DWORD Wait(DWORD milliseconds) override {
    std::unique_lock<std::mutex> hold(m);
    auto finished = [&] { return done; };
    if (milliseconds == INFINITE) {
      changed.wait(hold, finished);
    } else if (!changed.wait_for(hold, std::chrono::milliseconds(milliseconds), finished)) {
      return WAIT_TIMEOUT;
    }
    return WAIT_OBJECT_0;
  }
};

}  // namespace

WINSIM_API HANDLE WINAPI CreateThread(LPSECURITY_ATTRIBUTES attributes, SIZE_T stackSize,
                                      LPTHREAD_START_ROUTINE start, LPVOID parameter, DWORD flags,
                                      LPDWORD threadId) {
  if (!start) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  auto object = std::make_shared<ThreadObject>();
  try {
    std::thread([object, start, parameter] {
      {
        std::lock_guard<std::mutex> hold(object->m);
        object->id = GetCurrentThreadId();
        object->started = true;
      }
      object->changed.notify_all();
      DWORD code = start(parameter);
      // A thread that ends while owning mutexes abandons them before anyone sees it end.
      winsim::AbandonThreadMutexes();
      {
        std::lock_guard<std::mutex> hold(object->m);
        object->exitCode = code;
        object->done = true;
      }
      object->changed.notify_all();
    }).detach();
  } catch (...) {
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return nullptr;
  }
  {
    std::unique_lock<std::mutex> hold(object->m);
    object->changed.wait(hold, [&] { return object->started; });
    if (threadId) *threadId = object->id;
  }
  return winsim::AddHandle(object);
}

WINSIM_API BOOL WINAPI GetExitCodeThread(HANDLE thread, LPDWORD exitCode) {
  auto object = winsim::FindHandleAs<ThreadObject>(thread);
  if (!object || !exitCode) {
    SetLastError(object ? ERROR_INVALID_PARAMETER : ERROR_INVALID_HANDLE);
    return FALSE;
  }
  std::lock_guard<std::mutex> hold(object->m);
  *exitCode = object->exitCode;
  return TRUE;
}
