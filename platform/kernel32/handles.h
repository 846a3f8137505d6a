// The kernel handle table of the simulated machine: files, mappings, mutexes, processes and
// find handles are objects behind one HANDLE space, closed by CloseHandle.
#pragma once
#include <memory>

#include "platform/win32.h"

namespace winsim {

struct KernelObject {
  virtual ~KernelObject() = default;
  // WaitForSingleObject on this object; objects that cannot be waited on fail.
  virtual DWORD Wait(DWORD milliseconds);
};

// Adds an object and returns its new handle (never null or INVALID_HANDLE_VALUE).
HANDLE AddHandle(std::shared_ptr<KernelObject> object);
// The object behind a handle, or null (last error ERROR_INVALID_HANDLE is not set here).
std::shared_ptr<KernelObject> FindHandle(HANDLE handle);
template <class T>
std::shared_ptr<T> FindHandleAs(HANDLE handle) {
  return std::dynamic_pointer_cast<T>(FindHandle(handle));
}
// Removes a handle; false when it was not open.
bool RemoveHandle(HANDLE handle);

// The pseudo-handles of the calling process and thread (GetCurrentProcess, GetCurrentThread).
const HANDLE kCurrentProcess = reinterpret_cast<HANDLE>(LONG_PTR(-1));
const HANDLE kCurrentThread = reinterpret_cast<HANDLE>(LONG_PTR(-2));

}  // namespace winsim
