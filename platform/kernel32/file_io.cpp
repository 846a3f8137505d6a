// Opening, reading and writing files, their size, pointer and times.
#include <errno.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/kernel32/file_internal.h"
#include "platform/sim/state_files.h"
#include "platform/sim/trace.h"

namespace winsim {
namespace {

std::shared_ptr<FileObject> FileFor(HANDLE handle) {
  auto file = FindHandleAs<FileObject>(handle);
  if (!file) SetLastError(ERROR_INVALID_HANDLE);
  return file;
}

// The open file's host status for a call that fills out; false (the last error set) for a
// handle that is no file, no place to fill or a failed look.
std::shared_ptr<FileObject> StatFor(HANDLE handle, const void* out, struct stat* st) {
  auto file = FileFor(handle);
  if (!file) return nullptr;
  if (!out) {
    SetLastError(ERROR_NOACCESS);
    return nullptr;
  }
  if (fstat(file->fd, st) != 0) {
    SetLastError(ErrorFromErrno(errno, file->host));
    return nullptr;
  }
  return file;
}

void NoteChange(FileObject& file) {
  if (!file.marked) {
    file.marked = true;
    MarkModified(file.host);
  }
  if (file.pinned) file.changedAfterPin = true;
}

bool SetPointer(FileObject& file, long long offset, DWORD method, long long* result) {
  int whence = method == FILE_BEGIN ? SEEK_SET : method == FILE_CURRENT ? SEEK_CUR : method == FILE_END ? SEEK_END : -1;
  if (whence < 0) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return false;
  }
  off_t base = 0;
  if (whence == SEEK_CUR) base = lseek(file.fd, 0, SEEK_CUR);
  if (whence == SEEK_END) {
    struct stat st;
    base = fstat(file.fd, &st) == 0 ? st.st_size : 0;
  }
  long long target = static_cast<long long>(base) + offset;
  if (target < 0) {
    SetLastError(ERROR_NEGATIVE_SEEK);
    return false;
  }
  off_t now = lseek(file.fd, off_t(target), SEEK_SET);
  if (now < 0) {
    SetLastError(ErrorFromErrno(errno, file.host));
    return false;
  }
  if (result) *result = now;
  return true;
}

HANDLE OpenFile(const WCHAR* name, DWORD access, DWORD share, DWORD disposition, DWORD flags, int attempt = 0) {
  ResolvedPath path;
  if (!ResolvePath(name, &path)) return INVALID_HANDLE_VALUE;
  if (disposition < CREATE_NEW || disposition > TRUNCATE_EXISTING) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return INVALID_HANDLE_VALUE;
  }
  bool wantRead = (access & kReadRights) != 0;
  bool wantWrite = (access & kWriteRights) != 0;
  if (disposition == TRUNCATE_EXISTING && !wantWrite) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return INVALID_HANDLE_VALUE;
  }
  auto file = std::make_shared<FileObject>();
  file->host = path.host;
  file->canRead = wantRead;
  file->canWrite = wantWrite;
  file->deleteOnClose = (flags & FILE_FLAG_DELETE_ON_CLOSE) != 0;
  file->canSetTimes = wantWrite || (access & FILE_WRITE_ATTRIBUTES) != 0;

  struct stat st;
  bool exists = lstat(path.host.c_str(), &st) == 0;
  DWORD lastError = ERROR_SUCCESS;
  if (exists) {
    if (disposition == CREATE_NEW) {
      SetLastError(ERROR_FILE_EXISTS);
      return INVALID_HANDLE_VALUE;
    }
    if (EndsWithSeparator(path) && !IsFolder(path.host)) {
      SetLastError(ERROR_INVALID_NAME);  // a name ending with a separator names a folder
      return INVALID_HANDLE_VALUE;
    }
    if (S_ISDIR(st.st_mode) || (S_ISLNK(st.st_mode) && stat(path.host.c_str(), &st) == 0 && S_ISDIR(st.st_mode))) {
      // Folders open only for their attributes and times, and only when asked for.
      if (!(flags & FILE_FLAG_BACKUP_SEMANTICS) || wantWrite || disposition == CREATE_ALWAYS) {
        SetLastError(ERROR_ACCESS_DENIED);
        return INVALID_HANDLE_VALUE;
      }
      file->fd = open(path.host.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
      if (file->fd >= 0) ShareHold(file->fd, access, share);
      file->canRead = false;
      if (disposition == OPEN_ALWAYS) lastError = ERROR_ALREADY_EXISTS;
    } else {
      DWORD attributes = AttributesOf(path.host, st);
      bool replaces = disposition == CREATE_ALWAYS || disposition == TRUNCATE_EXISTING;
      if ((attributes & FILE_ATTRIBUTE_READONLY) && (wantWrite || replaces || file->deleteOnClose)) {
        SetLastError(ERROR_ACCESS_DENIED);
        return INVALID_HANDLE_VALUE;
      }
      // Replacing a hidden or system file requires the caller to name those attributes.
      DWORD guarded = attributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
      if (disposition == CREATE_ALWAYS && (guarded & ~flags)) {
        SetLastError(ERROR_ACCESS_DENIED);
        return INVALID_HANDLE_VALUE;
      }
      file->fd = open(path.host.c_str(), (wantWrite ? O_RDWR : O_RDONLY) | O_CLOEXEC);
      if (file->fd >= 0) {
        // The share check and this handle's locks are one step; the file is cut only once
        // they are held, so an open that loses the race leaves the winner's bytes alone.
        DWORD shared = ShareCheckAndHold(file->fd, access | (file->deleteOnClose ? DELETE : 0), share);
        if (shared == ERROR_SUCCESS && replaces && ftruncate(file->fd, 0) != 0) shared = ErrorFromErrno(errno, path.host);
        if (shared != ERROR_SUCCESS) {
          file->deleteOnClose = false;  // the file stays as it was
          SetLastError(shared);
          return INVALID_HANDLE_VALUE;  // closing the descriptor gives up its locks
        }
        if (disposition == CREATE_ALWAYS) StoreAttributes(path.host, (flags & kSettableAttributes) | FILE_ATTRIBUTE_ARCHIVE);
      }
      if (disposition == CREATE_ALWAYS || disposition == OPEN_ALWAYS) lastError = ERROR_ALREADY_EXISTS;
    }
  } else {
    if (disposition == OPEN_EXISTING || disposition == TRUNCATE_EXISTING) {
      SetLastError(ErrorFromErrno(ENOENT, path.host));
      return INVALID_HANDLE_VALUE;
    }
    if (EndsWithSeparator(path)) {
      SetLastError(ERROR_INVALID_NAME);
      return INVALID_HANDLE_VALUE;
    }
    file->fd = open(path.host.c_str(), (wantWrite ? O_RDWR : O_RDONLY) | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (file->fd >= 0) {
      // Another process may open the new file before this handle holds its locks: the
      // creator takes them through the same check, and loses when the other was first.
      DWORD shared = ShareCheckAndHold(file->fd, access | (file->deleteOnClose ? DELETE : 0), share);
      if (shared != ERROR_SUCCESS) {
        file->deleteOnClose = false;
        SetLastError(shared);
        return INVALID_HANDLE_VALUE;
      }
      DWORD attributes = (flags & kSettableAttributes) | FILE_ATTRIBUTE_ARCHIVE;
      if (attributes != FILE_ATTRIBUTE_ARCHIVE) StoreAttributes(path.host, attributes);
    }
  }
  if (file->fd < 0) {
    file->deleteOnClose = false;
    // Another process made the file between the check and the creation: open it as existing.
    if (errno == EEXIST && !exists && disposition != CREATE_NEW && attempt == 0)
      return OpenFile(name, access, share, disposition, flags, 1);
    SetLastError(ErrorFromErrno(errno, path.host));
    return INVALID_HANDLE_VALUE;
  }
  HANDLE handle = AddHandle(file);
  SetLastError(lastError);
  return handle;
}

}  // namespace

FileObject::~FileObject() {
  if (fd >= 0) {
    if (pinned && changedAfterPin) {
      struct timespec times[2];
      times[0].tv_nsec = UTIME_OMIT;
      times[1] = HostTimeFromFileTime(pinnedWrite);
      futimens(fd, times);
    }
    close(fd);  // also releases the share-mode locks
  }
  if (deleteOnClose) unlink(host.c_str());
}

}  // namespace winsim

using winsim::FileFor;

// Simplified: the security attributes (descriptor and handle inheritance) and the template
// file are not looked at.
WINSIM_API HANDLE WINAPI CreateFileW(LPCWSTR name, DWORD access, DWORD share, LPSECURITY_ATTRIBUTES security,
                                     DWORD disposition, DWORD flagsAndAttributes, HANDLE templateFile) {
  if (security) WINSIM_SIMPLIFIED("CreateFileW", "ignores the security attributes");
  if (templateFile) WINSIM_SIMPLIFIED("CreateFileW", "ignores the template file");
  return winsim::OpenFile(name, access, share, disposition, flagsAndAttributes);
}

WINSIM_API HANDLE WINAPI CreateFileA(LPCSTR name, DWORD access, DWORD share, LPSECURITY_ATTRIBUTES security,
                                     DWORD disposition, DWORD flagsAndAttributes, HANDLE templateFile) {
  winsim::AnsiArg wide(name);
  return CreateFileW(wide.get(), access, share, security, disposition, flagsAndAttributes, templateFile);
}

WINSIM_API BOOL WINAPI ReadFile(HANDLE handle, LPVOID buffer, DWORD toRead, LPDWORD read, LPOVERLAPPED overlapped) {
  if (read) *read = 0;
  auto file = FileFor(handle);
  if (!file) return FALSE;
  if (!file->canRead) {
    SetLastError(ERROR_ACCESS_DENIED);
    return FALSE;
  }
  if (!buffer && toRead) {
    SetLastError(ERROR_NOACCESS);
    return FALSE;
  }
  std::lock_guard<std::mutex> hold(file->lock);
  if (overlapped) {
    long long offset = (static_cast<long long>(overlapped->OffsetHigh) << 32) | overlapped->Offset;
    if (!winsim::SetPointer(*file, offset, FILE_BEGIN, nullptr)) return FALSE;
  }
  DWORD done = 0;
  while (done < toRead) {
    ssize_t n = ::read(file->fd, static_cast<char*>(buffer) + done, toRead - done);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      SetLastError(winsim::ErrorFromErrno(errno, file->host));
      if (read) *read = done;
      return FALSE;
    }
    if (n == 0) break;
    done += DWORD(n);
  }
  if (read) *read = done;
  if (overlapped) overlapped->InternalHigh = done;
  return TRUE;
}

WINSIM_API BOOL WINAPI WriteFile(HANDLE handle, LPCVOID buffer, DWORD toWrite, LPDWORD written,
                                 LPOVERLAPPED overlapped) {
  if (written) *written = 0;
  auto file = FileFor(handle);
  if (!file) return FALSE;
  if (!file->canWrite) {
    SetLastError(ERROR_ACCESS_DENIED);
    return FALSE;
  }
  if (!buffer && toWrite) {
    SetLastError(ERROR_NOACCESS);
    return FALSE;
  }
  std::lock_guard<std::mutex> hold(file->lock);
  if (overlapped) {
    long long offset = (static_cast<long long>(overlapped->OffsetHigh) << 32) | overlapped->Offset;
    if (!winsim::SetPointer(*file, offset, FILE_BEGIN, nullptr)) return FALSE;
  }
  // A disk that fills takes what still fits, as a real one does, and then refuses.
  DWORD fits = DWORD(winsim::DiskTakeSome(toWrite));
  DWORD done = 0;
  while (done < fits) {
    ssize_t n = ::write(file->fd, static_cast<const char*>(buffer) + done, fits - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      SetLastError(n < 0 ? winsim::ErrorFromErrno(errno, file->host) : ERROR_DISK_FULL);
      if (written) *written = done;
      return FALSE;
    }
    done += DWORD(n);
  }
  if (done) winsim::NoteChange(*file);
  if (done < toWrite) {
    SetLastError(ERROR_DISK_FULL);
    if (written) *written = done;
    return FALSE;
  }
  if (written) *written = done;
  if (overlapped) overlapped->InternalHigh = done;
  return TRUE;
}

WINSIM_API DWORD WINAPI GetFileSize(HANDLE handle, LPDWORD sizeHigh) {
  LARGE_INTEGER size;
  if (!GetFileSizeEx(handle, &size)) return INVALID_FILE_SIZE;
  if (sizeHigh) *sizeHigh = DWORD(size.u.HighPart);
  if (size.u.LowPart == INVALID_FILE_SIZE) SetLastError(NO_ERROR);
  return size.u.LowPart;
}

WINSIM_API BOOL WINAPI GetFileSizeEx(HANDLE handle, PLARGE_INTEGER size) {
  struct stat st;
  if (!winsim::StatFor(handle, size, &st)) return FALSE;
  size->QuadPart = S_ISDIR(st.st_mode) ? 0 : st.st_size;
  return TRUE;
}

WINSIM_API DWORD WINAPI SetFilePointer(HANDLE handle, LONG distance, PLONG distanceHigh, DWORD method) {
  auto file = FileFor(handle);
  if (!file) return INVALID_SET_FILE_POINTER;
  long long offset = distanceHigh ? static_cast<long long>((static_cast<unsigned long long>(DWORD(*distanceHigh)) << 32) |
                                                           DWORD(distance))
                                  : static_cast<long long>(distance);
  long long result = 0;
  std::lock_guard<std::mutex> hold(file->lock);
  if (!winsim::SetPointer(*file, offset, method, &result)) return INVALID_SET_FILE_POINTER;
  if (distanceHigh) *distanceHigh = LONG(result >> 32);
  if (DWORD(result) == INVALID_SET_FILE_POINTER) SetLastError(NO_ERROR);
  return DWORD(result);
}

WINSIM_API BOOL WINAPI SetFilePointerEx(HANDLE handle, LARGE_INTEGER distance, PLARGE_INTEGER newPosition,
                                        DWORD method) {
  auto file = FileFor(handle);
  if (!file) return FALSE;
  long long result = 0;
  std::lock_guard<std::mutex> hold(file->lock);
  if (!winsim::SetPointer(*file, distance.QuadPart, method, &result)) return FALSE;
  if (newPosition) newPosition->QuadPart = result;
  return TRUE;
}

WINSIM_API BOOL WINAPI SetEndOfFile(HANDLE handle) {
  auto file = FileFor(handle);
  if (!file) return FALSE;
  if (!file->canWrite) {
    SetLastError(ERROR_ACCESS_DENIED);
    return FALSE;
  }
  std::lock_guard<std::mutex> hold(file->lock);
  off_t at = lseek(file->fd, 0, SEEK_CUR);
  if (at < 0 || ftruncate(file->fd, at) != 0) {
    SetLastError(winsim::ErrorFromErrno(errno, file->host));
    return FALSE;
  }
  winsim::NoteChange(*file);
  return TRUE;
}

WINSIM_API BOOL WINAPI FlushFileBuffers(HANDLE handle) {
  auto file = FileFor(handle);
  if (!file) return FALSE;
  if (!file->canWrite) {
    SetLastError(ERROR_ACCESS_DENIED);
    return FALSE;
  }
  fdatasync(file->fd);
  return TRUE;
}

WINSIM_API BOOL WINAPI GetFileTime(HANDLE handle, LPFILETIME creation, LPFILETIME lastAccess, LPFILETIME lastWrite) {
  auto file = FileFor(handle);
  if (!file) return FALSE;
  winsim::HostFileTimes(file->fd, file->host, creation, lastAccess, lastWrite);
  if (lastWrite && file->pinned) *lastWrite = file->pinnedWrite;
  return TRUE;
}

// The host file system's device and inode stand in for the volume serial number and the file
// index: links and other spellings of one file answer the same pair.
WINSIM_API BOOL WINAPI GetFileInformationByHandle(HANDLE handle, LPBY_HANDLE_FILE_INFORMATION information) {
  struct stat st;
  auto file = winsim::StatFor(handle, information, &st);
  if (!file) return FALSE;
  *information = BY_HANDLE_FILE_INFORMATION();
  information->dwFileAttributes = winsim::AttributesOf(file->host, st);
  winsim::HostFileTimes(file->fd, file->host, &information->ftCreationTime, &information->ftLastAccessTime,
                        &information->ftLastWriteTime);
  if (file->pinned) information->ftLastWriteTime = file->pinnedWrite;
  const unsigned long long device = static_cast<unsigned long long>(st.st_dev);
  const unsigned long long index = static_cast<unsigned long long>(st.st_ino);
  information->dwVolumeSerialNumber = DWORD(device ^ (device >> 32));
  const unsigned long long size = S_ISDIR(st.st_mode) ? 0 : static_cast<unsigned long long>(st.st_size);
  information->nFileSizeHigh = DWORD(size >> 32);
  information->nFileSizeLow = DWORD(size);
  information->nNumberOfLinks = DWORD(st.st_nlink);
  information->nFileIndexHigh = DWORD(index >> 32);
  information->nFileIndexLow = DWORD(index);
  return TRUE;
}

WINSIM_API BOOL WINAPI SetFileTime(HANDLE handle, const FILETIME* creation, const FILETIME* lastAccess,
                                   const FILETIME* lastWrite) {
  auto file = FileFor(handle);
  if (!file) return FALSE;
  if (!file->canSetTimes) {
    SetLastError(ERROR_ACCESS_DENIED);
    return FALSE;
  }
  (void)creation;  // host file systems keep the birth time themselves
  struct timespec times[2];
  times[0].tv_sec = times[1].tv_sec = 0;
  times[0].tv_nsec = times[1].tv_nsec = UTIME_OMIT;
  if (lastAccess && (lastAccess->dwLowDateTime || lastAccess->dwHighDateTime))
    times[0] = winsim::HostTimeFromFileTime(*lastAccess);
  bool setWrite = lastWrite && (lastWrite->dwLowDateTime || lastWrite->dwHighDateTime);
  if (setWrite) times[1] = winsim::HostTimeFromFileTime(*lastWrite);
  std::lock_guard<std::mutex> hold(file->lock);
  if (futimens(file->fd, times) != 0) {
    SetLastError(winsim::ErrorFromErrno(errno, file->host));
    return FALSE;
  }
  if (setWrite) {
    // Windows keeps an explicitly set write time when the same handle writes afterwards.
    file->pinned = true;
    file->changedAfterPin = false;
    file->pinnedWrite = *lastWrite;
  }
  return TRUE;
}
