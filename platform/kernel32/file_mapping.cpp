// Read-only file mapping: a mapping object over an open file, views mapped from it.
#include <errno.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <map>

#include "platform/kernel32/file_internal.h"
#include "platform/sim/trace.h"

namespace winsim {
namespace {

const unsigned long long kGranularity = 65536;  // Windows' allocation granularity

struct MappingObject : KernelObject {
  ~MappingObject() override {
    if (fd >= 0) close(fd);
  }
  int fd = -1;
  unsigned long long size = 0;
};

std::mutex g_viewLock;
std::map<uintptr_t, size_t>& Views() {
  static std::map<uintptr_t, size_t> views;
  return views;
}

}  // namespace
}  // namespace winsim

// Simplified: read-only views of a file only; a mapping's name is not looked at (another
// process cannot open the mapping by it).
WINSIM_API HANDLE WINAPI CreateFileMappingW(HANDLE fileHandle, LPSECURITY_ATTRIBUTES, DWORD protect, DWORD maxSizeHigh,
                                            DWORD maxSizeLow, LPCWSTR name) {
  if (name) WINSIM_SIMPLIFIED("CreateFileMappingW", "ignores the mapping's name");
  using namespace winsim;
  auto file = FindHandleAs<FileObject>(fileHandle);
  if (!file) {
    // Mappings backed by the paging file are not part of this machine.
    SetLastError(ERROR_INVALID_HANDLE);
    return nullptr;
  }
  if ((protect & 0xFF) != PAGE_READONLY) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  if (!file->canRead) {
    SetLastError(ERROR_ACCESS_DENIED);
    return nullptr;
  }
  struct stat st;
  if (fstat(file->fd, &st) != 0) {
    SetLastError(ErrorFromErrno(errno, file->host));
    return nullptr;
  }
  unsigned long long fileSize = static_cast<unsigned long long>(st.st_size);
  unsigned long long size = (static_cast<unsigned long long>(maxSizeHigh) << 32) | maxSizeLow;
  if (size == 0) size = fileSize;
  if (size == 0) {
    SetLastError(ERROR_FILE_INVALID);
    return nullptr;
  }
  if (size > fileSize) {
    // A read-only mapping cannot grow the file.
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return nullptr;
  }
  auto mapping = std::make_shared<MappingObject>();
  mapping->fd = dup(file->fd);
  mapping->size = size;
  if (mapping->fd < 0) {
    SetLastError(ErrorFromErrno(errno, file->host));
    return nullptr;
  }
  HANDLE handle = AddHandle(mapping);
  SetLastError(ERROR_SUCCESS);
  return handle;
}

WINSIM_API LPVOID WINAPI MapViewOfFile(HANDLE mappingHandle, DWORD access, DWORD offsetHigh, DWORD offsetLow,
                                       SIZE_T bytes) {
  using namespace winsim;
  auto mapping = FindHandleAs<MappingObject>(mappingHandle);
  if (!mapping) {
    SetLastError(ERROR_INVALID_HANDLE);
    return nullptr;
  }
  if (access & (FILE_MAP_WRITE)) {
    SetLastError(ERROR_ACCESS_DENIED);
    return nullptr;
  }
  unsigned long long offset = (static_cast<unsigned long long>(offsetHigh) << 32) | offsetLow;
  if (offset % kGranularity) {
    SetLastError(ERROR_MAPPED_ALIGNMENT);
    return nullptr;
  }
  if (offset >= mapping->size || (bytes && bytes > mapping->size - offset)) {
    SetLastError(ERROR_ACCESS_DENIED);
    return nullptr;
  }
  size_t length = bytes ? bytes : size_t(mapping->size - offset);
  void* view = mmap(nullptr, length, PROT_READ, MAP_PRIVATE, mapping->fd, off_t(offset));
  if (view == MAP_FAILED) {
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return nullptr;
  }
  std::lock_guard<std::mutex> hold(g_viewLock);
  Views()[reinterpret_cast<uintptr_t>(view)] = length;
  return view;
}

WINSIM_API BOOL WINAPI UnmapViewOfFile(LPCVOID address) {
  using namespace winsim;
  uintptr_t at = reinterpret_cast<uintptr_t>(address);
  std::lock_guard<std::mutex> hold(g_viewLock);
  auto it = Views().upper_bound(at);
  if (it == Views().begin() || at >= std::prev(it)->first + std::prev(it)->second) {
    SetLastError(ERROR_INVALID_ADDRESS);
    return FALSE;
  }
  --it;
  munmap(reinterpret_cast<void*>(it->first), it->second);
  Views().erase(it);
  return TRUE;
}
