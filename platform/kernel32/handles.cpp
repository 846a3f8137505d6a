// Kernel handles: CloseHandle and WaitForSingleObject dispatch to the object behind them.
#include "platform/kernel32/handles.h"

#include <mutex>
#include <unordered_map>

namespace winsim {
namespace {

std::mutex g_lock;
std::unordered_map<uintptr_t, std::shared_ptr<KernelObject>>& Table() {
  static std::unordered_map<uintptr_t, std::shared_ptr<KernelObject>> table;
  return table;
}
uintptr_t g_next = 0x100;

}  // namespace

DWORD KernelObject::Wait(DWORD) {
  SetLastError(ERROR_INVALID_HANDLE);
  return 0xFFFFFFFF;  // WAIT_FAILED
}

HANDLE AddHandle(std::shared_ptr<KernelObject> object) {
  std::lock_guard<std::mutex> hold(g_lock);
  g_next += 4;  // handles are multiples of 4, as on Windows
  Table()[g_next] = std::move(object);
  return reinterpret_cast<HANDLE>(g_next);
}

std::shared_ptr<KernelObject> FindHandle(HANDLE handle) {
  std::lock_guard<std::mutex> hold(g_lock);
  auto it = Table().find(reinterpret_cast<uintptr_t>(handle));
  return it == Table().end() ? nullptr : it->second;
}

bool RemoveHandle(HANDLE handle) {
  std::shared_ptr<KernelObject> dying;  // destroyed outside the lock
  std::lock_guard<std::mutex> hold(g_lock);
  auto it = Table().find(reinterpret_cast<uintptr_t>(handle));
  if (it == Table().end()) return false;
  dying = std::move(it->second);
  Table().erase(it);
  return true;
}

}  // namespace winsim

WINSIM_API BOOL WINAPI CloseHandle(HANDLE handle) {
  if (!winsim::RemoveHandle(handle)) {
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  return TRUE;
}

WINSIM_API DWORD WINAPI WaitForSingleObject(HANDLE handle, DWORD milliseconds) {
  auto object = winsim::FindHandle(handle);
  if (!object) {
    SetLastError(ERROR_INVALID_HANDLE);
    return 0xFFFFFFFF;
  }
  return object->Wait(milliseconds);
}

WINSIM_API HANDLE WINAPI GetCurrentProcess(void) { return winsim::kCurrentProcess; }
WINSIM_API HANDLE WINAPI GetCurrentThread(void) { return winsim::kCurrentThread; }
