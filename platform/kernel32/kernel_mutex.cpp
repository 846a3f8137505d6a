// Mutexes of the simulated machine. A named mutex is shared by every process that works on
// the same machine root: each name has a lock file under <root>/kernel/mutex/, and record
// locks on it carry what the processes share:
//   byte 0  write-locked by the process whose thread owns the mutex; its content is '1' while
//           owned and '0' once released, so an owner that died leaves '1' behind and the next
//           owner learns that the mutex was abandoned;
//   byte 1  read-locked by every process holding the object, so "does it exist" can be asked;
//   byte 2  write-locked around the creation and the removal, so two processes cannot both
//           create it, and the last one to let go can remove the file safely.
// Inside one process the threads contend on the object's own state first; only the thread
// that wins it goes for the lock file (record locks do not exclude threads of one process).
#include <errno.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <condition_variable>
#include <map>
#include <mutex>
#include <thread>
#include <vector>

#include "platform/kernel32/handles.h"
#include "platform/sim/internal.h"
#include "platform/kernel32/kernel_internal.h"
#include "platform/sim/state_files.h"

namespace winsim {
namespace {

using Clock = std::chrono::steady_clock;

bool LockByte(int fd, short type, off_t offset, bool wait) {
  struct flock l = {};
  l.l_type = type;
  l.l_whence = SEEK_SET;
  l.l_start = offset;
  l.l_len = 1;
  for (;;) {
    if (fcntl(fd, wait ? F_SETLKW : F_SETLK, &l) == 0) return true;
    if (errno != EINTR) return false;
  }
}

void UnlockByte(int fd, off_t offset) { LockByte(fd, F_UNLCK, offset, false); }

// True when another process holds the object (its read lock on byte 1).
bool HeldElsewhere(int fd) {
  struct flock l = {};
  l.l_type = F_WRLCK;
  l.l_whence = SEEK_SET;
  l.l_start = 1;
  l.l_len = 1;
  if (fcntl(fd, F_GETLK, &l) != 0) return false;
  return l.l_type != F_UNLCK;
}

void WriteState(int fd, char state) {
  while (pwrite(fd, &state, 1, 0) < 0 && errno == EINTR) {
  }
}

char ReadState(int fd) {
  char state = '0';
  if (pread(fd, &state, 1, 0) != 1) return '0';
  return state;
}

struct MutexCore;
std::mutex g_registryLock;
// Never destroyed: handles still open at process exit close while the other statics go away,
// and their close looks the name up here.
std::map<std::string, std::shared_ptr<MutexCore>>& Registry() {
  static auto* registry = new std::map<std::string, std::shared_ptr<MutexCore>>;
  return *registry;
}

// The mutexes the calling thread owns; given up as abandoned when the thread ends.
struct OwnedMutexes {
  std::vector<std::weak_ptr<MutexCore>> list;
  ~OwnedMutexes();
};
thread_local OwnedMutexes t_owned;

struct MutexCore : std::enable_shared_from_this<MutexCore> {
  std::string path;  // empty for an unnamed mutex
  int fd = -1;
  int handles = 0;  // guarded by g_registryLock

  std::mutex m;
  std::condition_variable freed;
  DWORD owner = 0;
  LONG depth = 0;
  bool abandoned = false;  // unnamed mutexes: the last owner ended without releasing

  ~MutexCore() {
    if (fd >= 0) close(fd);  // drops every record lock this process held on it
  }

  DWORD Acquire(DWORD milliseconds) {
    const DWORD me = GetCurrentThreadId();
    const bool forever = milliseconds == INFINITE;
    const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(forever ? 0 : milliseconds);
    std::unique_lock<std::mutex> hold(m);
    if (owner == me) {
      if (depth == 0x7FFFFFFF) {
        SetLastError(ERROR_NOT_OWNER);
        return WAIT_FAILED;
      }
      ++depth;
      return WAIT_OBJECT_0;
    }
    while (owner != 0) {
      if (forever) {
        freed.wait(hold);
      } else if (freed.wait_until(hold, deadline) == std::cv_status::timeout && owner != 0) {
        return WAIT_TIMEOUT;
      }
    }
    owner = me;  // holds the object inside this process while it goes for the lock file
    depth = 1;
    bool wasAbandoned = false;
    if (fd >= 0) {
      hold.unlock();
      bool got = false;
      auto pause = std::chrono::microseconds(500);
      for (;;) {
        if (LockByte(fd, F_WRLCK, 0, false)) {
          got = true;
          break;
        }
        if (!forever && Clock::now() >= deadline) break;
        std::this_thread::sleep_for(pause);
        if (pause < std::chrono::milliseconds(8)) pause *= 2;
      }
      hold.lock();
      if (!got) {
        owner = 0;
        depth = 0;
        freed.notify_one();
        return WAIT_TIMEOUT;
      }
      wasAbandoned = ReadState(fd) == '1';
      WriteState(fd, '1');
    } else {
      wasAbandoned = abandoned;
      abandoned = false;
    }
    t_owned.list.push_back(shared_from_this());
    return wasAbandoned ? WAIT_ABANDONED : WAIT_OBJECT_0;
  }

  BOOL Release() {
    std::lock_guard<std::mutex> hold(m);
    if (owner != GetCurrentThreadId() || depth == 0) {
      SetLastError(ERROR_NOT_OWNER);
      return FALSE;
    }
    if (--depth == 0) {
      if (fd >= 0) {
        WriteState(fd, '0');
        UnlockByte(fd, 0);
      }
      owner = 0;
      ForgetOwned();
      freed.notify_one();
    }
    return TRUE;
  }

  // The owning thread ended without releasing; thread 0 stands for whichever thread owns it
  // (the last handle was closed under its owner).
  void Abandon(DWORD thread) {
    std::lock_guard<std::mutex> hold(m);
    if (owner == 0 || (thread != 0 && owner != thread)) return;
    if (fd >= 0) {
      UnlockByte(fd, 0);  // its state stays '1': the next owner sees it abandoned
    } else {
      abandoned = true;
    }
    owner = 0;
    depth = 0;
    freed.notify_one();
  }

  // The process's last handle went. The last process to let go removes the lock file, under
  // the creation lock, so no process is between opening the file and locking it. Caller holds
  // g_registryLock.
  void Dispose() {
    Abandon(0);
    if (fd < 0) return;
    if (LockByte(fd, F_WRLCK, 2, true) && !HeldElsewhere(fd)) unlink(path.c_str());
    close(fd);
    fd = -1;
  }

  void ForgetOwned() {
    auto& list = t_owned.list;
    for (size_t i = 0; i < list.size(); ++i) {
      auto held = list[i].lock();
      if (!held || held.get() == this) {
        list.erase(list.begin() + long(i));
        --i;
      }
    }
  }
};

OwnedMutexes::~OwnedMutexes() {
  DWORD me = GetCurrentThreadId();
  for (auto& weak : list)
    if (auto core = weak.lock()) core->Abandon(me);
}

// One handle of a mutex; several handles (and processes) may share one object.
struct MutexHandle : KernelObject {
  std::shared_ptr<MutexCore> core;
  explicit MutexHandle(std::shared_ptr<MutexCore> c) : core(std::move(c)) {}
  ~MutexHandle() override {
    std::shared_ptr<MutexCore> last;
    {
      std::lock_guard<std::mutex> hold(g_registryLock);
      if (--core->handles == 0 && !core->path.empty()) {
        auto it = Registry().find(core->path);
        if (it != Registry().end() && it->second == core) {
          last = std::move(it->second);
          Registry().erase(it);
        }
      }
      // Disposed under the registry lock: a new object of the same name in this process
      // must not open the file before this one has closed it (closing drops every record
      // lock the process holds on the file).
      if (last) last->Dispose();
    }
  }
  DWORD Wait(DWORD milliseconds) override { return core->Acquire(milliseconds); }
};

HANDLE NewHandle(const std::shared_ptr<MutexCore>& core) {
  // caller holds g_registryLock
  ++core->handles;
  return AddHandle(std::make_shared<MutexHandle>(core));
}

// Escapes one object name into a file name: letters, digits, '-', '_' and '.' stay; every
// other unit becomes %XXXX. Names are case-sensitive, and so are the files.
std::string EscapeName(const std::u16string& name) {
  static const char hex[] = "0123456789ABCDEF";
  std::string out;
  for (char16_t c : name) {
    if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' || c == '_' ||
        (c == '.' && !out.empty())) {
      out += char(c);
    } else {
      out += '%';
      for (int shift = 12; shift >= 0; shift -= 4) out += hex[(c >> shift) & 15];
    }
  }
  if (out.size() > 200) {  // keep within a file name; the hash keeps long names apart
    uint64_t h = 1469598103934665603ull;
    for (char16_t c : name) h = (h ^ c) * 1099511628211ull;
    std::string tail;
    for (int shift = 60; shift >= 0; shift -= 4) tail += hex[(h >> shift) & 15];
    out = out.substr(0, 150) + "~" + tail;
  }
  return out;
}

// The lock file of a name, or an empty path with the last error set.
std::string LockFileFor(const WCHAR* name) {
  std::u16string text(name);
  if (text.size() > MAX_PATH) {
    SetLastError(ERROR_FILENAME_EXCED_RANGE);
    return std::string();
  }
  std::string space = "local";
  const std::u16string global = u"Global\\", local = u"Local\\";
  if (text.compare(0, global.size(), global) == 0) {
    space = "global";
    text.erase(0, global.size());
  } else if (text.compare(0, local.size(), local) == 0) {
    text.erase(0, local.size());
  }
  if (text.find(u'\\') != std::u16string::npos) {
    SetLastError(ERROR_PATH_NOT_FOUND);
    return std::string();
  }
  std::string dir = RootPath() + "/kernel/mutex/" + space;
  MakeFolders(dir);
  return dir + "/" + EscapeName(text);
}

enum class OpenMode { kCreate, kOpenExisting };

// Opens the lock file of a path and takes its creation lock; -1 with the last error set. A
// file that its last process removed between our open and our lock is opened anew.
int OpenLocked(const std::string& path, bool create) {
  for (int attempt = 0; attempt < 100; ++attempt) {
    int fd = open(path.c_str(), O_RDWR | O_CLOEXEC | (create ? O_CREAT : 0), 0666);
    if (fd < 0) {
      bool missing = errno == ENOENT || errno == ENOTDIR;
      SetLastError(missing ? (create ? ERROR_PATH_NOT_FOUND : ERROR_FILE_NOT_FOUND) : ERROR_ACCESS_DENIED);
      return -1;
    }
    if (!LockByte(fd, F_WRLCK, 2, true)) {
      close(fd);
      SetLastError(ERROR_ACCESS_DENIED);
      return -1;
    }
    struct stat opened, named;
    if (fstat(fd, &opened) == 0 && stat(path.c_str(), &named) == 0 && opened.st_ino == named.st_ino &&
        opened.st_dev == named.st_dev)
      return fd;
    close(fd);
  }
  SetLastError(ERROR_ACCESS_DENIED);
  return -1;
}

// Finds or makes the object of a name; `created` tells whether this call made it. The
// creation lock (byte 2) is held on return; the caller gives it back.
std::shared_ptr<MutexCore> FindOrMake(const std::string& path, OpenMode mode, bool* created) {
  // caller holds g_registryLock
  *created = false;
  auto it = Registry().find(path);
  if (it != Registry().end()) return it->second;
  int fd = OpenLocked(path, mode == OpenMode::kCreate);
  if (fd < 0) return nullptr;
  bool exists = HeldElsewhere(fd);
  if (!exists && mode == OpenMode::kOpenExisting) {
    unlink(path.c_str());  // left by a process that ended without closing its handles
    close(fd);
    SetLastError(ERROR_FILE_NOT_FOUND);
    return nullptr;
  }
  if (!exists) WriteState(fd, '0');  // a stale '1' belonged to an object that is gone
  LockByte(fd, F_RDLCK, 1, false);
  auto core = std::make_shared<MutexCore>();
  core->path = path;
  core->fd = fd;
  Registry()[path] = core;
  *created = !exists;
  return core;
}

}  // namespace

void AbandonThreadMutexes() {
  DWORD me = GetCurrentThreadId();
  std::vector<std::weak_ptr<MutexCore>> list;
  list.swap(t_owned.list);
  for (auto& weak : list)
    if (auto core = weak.lock()) core->Abandon(me);
}

}  // namespace winsim

using winsim::g_registryLock;

WINSIM_API HANDLE WINAPI CreateMutexW(LPSECURITY_ATTRIBUTES attributes, BOOL initialOwner, LPCWSTR name) {
  std::shared_ptr<winsim::MutexCore> core;
  bool created = true;
  HANDLE handle;
  if (!name || !*name) {
    core = std::make_shared<winsim::MutexCore>();
    std::lock_guard<std::mutex> hold(g_registryLock);
    handle = winsim::NewHandle(core);
  } else {
    std::string path = winsim::LockFileFor(name);
    if (path.empty()) return nullptr;
    std::lock_guard<std::mutex> hold(g_registryLock);
    core = winsim::FindOrMake(path, winsim::OpenMode::kCreate, &created);
    if (!core) return nullptr;
    handle = winsim::NewHandle(core);
    if (created && initialOwner) core->Acquire(0);  // before others can take it
    winsim::UnlockByte(core->fd, 2);
  }
  if (!name || !*name) {
    if (initialOwner) core->Acquire(0);
  }
  SetLastError(created ? NO_ERROR : ERROR_ALREADY_EXISTS);
  return handle;
}

WINSIM_API HANDLE WINAPI CreateMutexA(LPSECURITY_ATTRIBUTES attributes, BOOL initialOwner, LPCSTR name) {
  if (!name) return CreateMutexW(attributes, initialOwner, nullptr);
  std::u16string wide = winsim::AnsiToWide(name);
  return CreateMutexW(attributes, initialOwner, wide.c_str());
}

WINSIM_API HANDLE WINAPI OpenMutexW(DWORD access, BOOL inherit, LPCWSTR name) {
  if (!name) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  if (!*name) {
    SetLastError(ERROR_FILE_NOT_FOUND);
    return nullptr;
  }
  std::string path = winsim::LockFileFor(name);
  if (path.empty()) return nullptr;
  std::lock_guard<std::mutex> hold(g_registryLock);
  bool created = false;
  auto core = winsim::FindOrMake(path, winsim::OpenMode::kOpenExisting, &created);
  if (!core) return nullptr;
  winsim::UnlockByte(core->fd, 2);
  return winsim::NewHandle(core);
}

WINSIM_API HANDLE WINAPI OpenMutexA(DWORD access, BOOL inherit, LPCSTR name) {
  if (!name) return OpenMutexW(access, inherit, nullptr);
  std::u16string wide = winsim::AnsiToWide(name);
  return OpenMutexW(access, inherit, wide.c_str());
}

WINSIM_API BOOL WINAPI ReleaseMutex(HANDLE mutex) {
  auto handle = winsim::FindHandleAs<winsim::MutexHandle>(mutex);
  if (!handle) {
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  return handle->core->Release();
}
