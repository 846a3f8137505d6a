// Attributes, delete, copy, move, folders, full paths and temporary names.
#include <errno.h>
#include <fcntl.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>

#include "platform/kernel32/file_internal.h"
#include "platform/sim/state_files.h"
#include "platform/sim/trace.h"

namespace winsim {
namespace {

const DWORD kAnyShare = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

bool Fail(DWORD error) {
  SetLastError(error);
  return false;
}

bool FailErrno(const std::string& hostPath) { return Fail(ErrorFromErrno(errno, hostPath)); }

std::string ParentFolder(const std::string& hostPath) { return hostPath.substr(0, hostPath.find_last_of('/')); }

bool IsDriveRoot(const std::u16string& full) { return full.size() <= 3; }

bool CopyContents(int from, int to) {
  char buffer[65536];
  for (;;) {
    ssize_t n = read(from, buffer, sizeof(buffer));
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return false;
    if (n == 0) return true;
    if (!DiskTakeAll(size_t(n))) return false;  // errno ENOSPC; the temporary is removed
    ssize_t done = 0;
    while (done < n) {
      ssize_t w = write(to, buffer + done, size_t(n - done));
      if (w < 0 && errno == EINTR) continue;
      if (w <= 0) {
        if (w == 0) errno = ENOSPC;
        return false;
      }
      done += w;
    }
  }
}

bool CopyFileTo(const WCHAR* existing, const WCHAR* target, bool failIfExists) {
  ResolvedPath from, to;
  if (!ResolveFileName(existing, &from) || !ResolveFileName(target, &to)) return false;
  struct stat src;
  if (stat(from.host.c_str(), &src) != 0) return FailErrno(from.host);
  if (S_ISDIR(src.st_mode)) return Fail(ERROR_ACCESS_DENIED);
  if (ShareCheck(from.host, GENERIC_READ, kAnyShare) != ERROR_SUCCESS)
    return Fail(ERROR_SHARING_VIOLATION);
  struct stat dst;
  if (lstat(to.host.c_str(), &dst) == 0) {
    if (failIfExists) return Fail(ERROR_FILE_EXISTS);
    if (S_ISDIR(dst.st_mode)) return Fail(ERROR_ACCESS_DENIED);
    if (AttributesOf(to.host, dst) & FILE_ATTRIBUTE_READONLY) return Fail(ERROR_ACCESS_DENIED);
    if (dst.st_dev == src.st_dev && dst.st_ino == src.st_ino) return Fail(ERROR_SHARING_VIOLATION);
    if (ShareCheck(to.host, GENERIC_WRITE | DELETE, kAnyShare) != ERROR_SUCCESS)
      return Fail(ERROR_SHARING_VIOLATION);
  }
  int in = open(from.host.c_str(), O_RDONLY | O_CLOEXEC);
  if (in < 0) return FailErrno(from.host);
  // The copy is made beside the target and renamed over it, so a failed copy leaves an
  // existing target as it was.
  std::string temp = ReplacementTempPattern(to.host);
  int out = mkstemp(&temp[0]);
  if (out < 0) {
    int err = errno;
    close(in);
    return Fail(ErrorFromErrno(err, to.host));
  }
  int err = 0;
  if (!CopyContents(in, out)) err = errno ? errno : EIO;
  if (!err) {
    char stored[24];
    ssize_t n = fgetxattr(in, kAttributeName, stored, sizeof(stored));
    if (n > 0) fsetxattr(out, kAttributeName, stored, size_t(n), 0);
    fchmod(out, src.st_mode & 07777);
    struct timespec times[2];
    times[0].tv_sec = 0;
    times[0].tv_nsec = UTIME_NOW;
    times[1] = src.st_mtim;
    futimens(out, times);
  }
  close(in);
  if (close(out) != 0 && !err) err = errno;
  if (!err && rename(temp.c_str(), to.host.c_str()) != 0) err = errno;
  if (err) {
    unlink(temp.c_str());
    return Fail(ErrorFromErrno(err, to.host));
  }
  return true;
}

bool MoveFileTo(const WCHAR* existing, const WCHAR* target, DWORD flags) {
  ResolvedPath from, to;
  if (!ResolveFileName(existing, &from)) return false;
  if (!target) return Fail(ERROR_INVALID_PARAMETER);  // delayed deletion is not simulated
  if (!ResolveFileName(target, &to)) return false;
  struct stat src;
  if (lstat(from.host.c_str(), &src) != 0) return FailErrno(from.host);
  if (IsDriveRoot(from.full)) return Fail(ERROR_ACCESS_DENIED);
  if (ShareCheck(from.host, DELETE, kAnyShare) != ERROR_SUCCESS) return Fail(ERROR_SHARING_VIOLATION);
  bool otherDrive = from.full[0] != to.full[0];
  if (otherDrive && (S_ISDIR(src.st_mode) || !(flags & MOVEFILE_COPY_ALLOWED))) return Fail(ERROR_NOT_SAME_DEVICE);
  struct stat dst;
  if (lstat(to.host.c_str(), &dst) == 0) {
    if (dst.st_dev == src.st_dev && dst.st_ino == src.st_ino) {
      // The same file under another spelling: only the case of its name changes.
      std::u16string leaf = LeafOf(to.full);
      std::string renamed = ParentFolder(from.host) + "/" + ToUtf8(leaf.c_str(), leaf.size());
      if (renamed != from.host && rename(from.host.c_str(), renamed.c_str()) != 0) return FailErrno(from.host);
      return true;
    }
    if (!(flags & MOVEFILE_REPLACE_EXISTING)) return Fail(ERROR_ALREADY_EXISTS);
    if (S_ISDIR(dst.st_mode) || S_ISDIR(src.st_mode)) return Fail(ERROR_ACCESS_DENIED);
    if (AttributesOf(to.host, dst) & FILE_ATTRIBUTE_READONLY) return Fail(ERROR_ACCESS_DENIED);
    if (ShareCheck(to.host, DELETE, kAnyShare) != ERROR_SUCCESS) return Fail(ERROR_SHARING_VIOLATION);
  }
  if (rename(from.host.c_str(), to.host.c_str()) != 0) {
    int err = errno;
    return Fail(err == ENOENT ? ErrorFromErrno(err, to.host) : ErrorFromErrno(err, from.host));
  }
  if (flags & MOVEFILE_WRITE_THROUGH) {
    int dir = open(ParentFolder(to.host).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
      fsync(dir);
      close(dir);
    }
  }
  return true;
}

bool DeleteOne(const WCHAR* name) {
  ResolvedPath path;
  if (!ResolveFileName(name, &path)) return false;
  struct stat st;
  if (lstat(path.host.c_str(), &st) != 0) return FailErrno(path.host);
  if (S_ISDIR(st.st_mode)) return Fail(ERROR_ACCESS_DENIED);
  if (!S_ISLNK(st.st_mode)) {
    if (AttributesOf(path.host, st) & FILE_ATTRIBUTE_READONLY) return Fail(ERROR_ACCESS_DENIED);
    if (ShareCheck(path.host, DELETE, kAnyShare) != ERROR_SUCCESS) return Fail(ERROR_SHARING_VIOLATION);
  }
  if (unlink(path.host.c_str()) != 0) return FailErrno(path.host);
  return true;
}

bool SetAttributes(const WCHAR* name, DWORD attributes) {
  ResolvedPath path;
  if (!ResolveFileName(name, &path)) return false;
  struct stat st;
  if (lstat(path.host.c_str(), &st) != 0) return FailErrno(path.host);
  return StoreAttributes(path.host, attributes);
}

bool MakeFolder(const WCHAR* name) {
  ResolvedPath path;
  if (!ResolvePath(name, &path)) return false;
  if (mkdir(path.host.c_str(), 0777) != 0) {
    if (errno == EEXIST) return Fail(ERROR_ALREADY_EXISTS);
    return FailErrno(path.host);
  }
  return true;
}

DWORD CopyOut(const std::u16string& text, DWORD size, LPWSTR buffer) {
  if (!buffer || size <= text.size()) return DWORD(text.size() + 1);
  std::copy(text.begin(), text.end(), buffer);
  buffer[text.size()] = 0;
  return DWORD(text.size());
}

// Resolves a name for the attribute queries and reads its host entry without following links.
// A name ending with a separator must be a folder, as on Windows.
bool StatForAttributes(LPCWSTR name, ResolvedPath* path, struct stat* st) {
  if (!ResolvePath(name, path)) return false;
  if (lstat(path->host.c_str(), st) != 0) {
    SetLastError(ErrorFromErrno(errno, path->host));
    return false;
  }
  if (EndsWithSeparator(*path) && !IsFolder(path->host)) {
    SetLastError(ERROR_PATH_NOT_FOUND);  // a file is no folder to look into
    return false;
  }
  return true;
}

}  // namespace
}  // namespace winsim

WINSIM_API DWORD WINAPI GetFileAttributesW(LPCWSTR name) {
  winsim::ResolvedPath path;
  struct stat st;
  if (!winsim::StatForAttributes(name, &path, &st)) return INVALID_FILE_ATTRIBUTES;
  return winsim::AttributesOf(path.host, st);
}

WINSIM_API DWORD WINAPI GetFileAttributesA(LPCSTR name) { return GetFileAttributesW(winsim::AnsiArg(name).get()); }

WINSIM_API BOOL WINAPI GetFileAttributesExW(LPCWSTR name, GET_FILEEX_INFO_LEVELS level, LPVOID info) {
  if (level != GetFileExInfoStandard || !info) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  winsim::ResolvedPath path;
  struct stat st;
  if (!winsim::StatForAttributes(name, &path, &st)) return FALSE;
  auto* data = static_cast<WIN32_FILE_ATTRIBUTE_DATA*>(info);
  data->dwFileAttributes = winsim::AttributesOf(path.host, st);
  winsim::HostFileTimes(-1, path.host, &data->ftCreationTime, &data->ftLastAccessTime, &data->ftLastWriteTime);
  unsigned long long size = S_ISREG(st.st_mode) ? static_cast<unsigned long long>(st.st_size) : 0;
  data->nFileSizeHigh = DWORD(size >> 32);
  data->nFileSizeLow = DWORD(size & 0xFFFFFFFFu);
  return TRUE;
}

WINSIM_API BOOL WINAPI SetFileAttributesW(LPCWSTR name, DWORD attributes) {
  return winsim::SetAttributes(name, attributes) ? TRUE : FALSE;
}

WINSIM_API BOOL WINAPI SetFileAttributesA(LPCSTR name, DWORD attributes) {
  return SetFileAttributesW(winsim::AnsiArg(name).get(), attributes);
}

WINSIM_API BOOL WINAPI DeleteFileW(LPCWSTR name) { return winsim::DeleteOne(name) ? TRUE : FALSE; }

WINSIM_API BOOL WINAPI DeleteFileA(LPCSTR name) { return DeleteFileW(winsim::AnsiArg(name).get()); }

WINSIM_API BOOL WINAPI CopyFileW(LPCWSTR existing, LPCWSTR target, BOOL failIfExists) {
  return winsim::CopyFileTo(existing, target, failIfExists != FALSE) ? TRUE : FALSE;
}

WINSIM_API BOOL WINAPI CopyFileA(LPCSTR existing, LPCSTR target, BOOL failIfExists) {
  winsim::AnsiArg from(existing), to(target);
  return CopyFileW(from.get(), to.get(), failIfExists);
}

WINSIM_API BOOL WINAPI MoveFileW(LPCWSTR existing, LPCWSTR target) {
  return winsim::MoveFileTo(existing, target, MOVEFILE_COPY_ALLOWED) ? TRUE : FALSE;
}

WINSIM_API BOOL WINAPI MoveFileExW(LPCWSTR existing, LPCWSTR target, DWORD flags) {
  return winsim::MoveFileTo(existing, target, flags) ? TRUE : FALSE;
}

// Simplified: the security attributes are not looked at.
WINSIM_API BOOL WINAPI CreateDirectoryW(LPCWSTR name, LPSECURITY_ATTRIBUTES security) {
  if (security) WINSIM_SIMPLIFIED("CreateDirectoryW", "ignores the security attributes");
  return winsim::MakeFolder(name) ? TRUE : FALSE;
}

WINSIM_API BOOL WINAPI CreateDirectoryA(LPCSTR name, LPSECURITY_ATTRIBUTES security) {
  return CreateDirectoryW(winsim::AnsiArg(name).get(), security);
}

WINSIM_API BOOL WINAPI RemoveDirectoryW(LPCWSTR name) {
  winsim::ResolvedPath path;
  if (!winsim::ResolvePath(name, &path)) return FALSE;
  struct stat st;
  if (lstat(path.host.c_str(), &st) != 0) {
    SetLastError(winsim::ErrorFromErrno(errno, path.host));
    return FALSE;
  }
  if (S_ISLNK(st.st_mode)) {
    // A link to a folder goes by itself; what it points to is never touched.
    struct stat target;
    if (stat(path.host.c_str(), &target) != 0 || !S_ISDIR(target.st_mode)) {
      SetLastError(ERROR_DIRECTORY);
      return FALSE;
    }
    if (unlink(path.host.c_str()) != 0) {
      SetLastError(winsim::ErrorFromErrno(errno, path.host));
      return FALSE;
    }
    return TRUE;
  }
  if (!S_ISDIR(st.st_mode)) {
    SetLastError(ERROR_DIRECTORY);
    return FALSE;
  }
  if (winsim::IsDriveRoot(path.full) || (winsim::AttributesOf(path.host, st) & FILE_ATTRIBUTE_READONLY)) {
    SetLastError(ERROR_ACCESS_DENIED);
    return FALSE;
  }
  if (rmdir(path.host.c_str()) != 0) {
    SetLastError(errno == EEXIST ? ERROR_DIR_NOT_EMPTY : winsim::ErrorFromErrno(errno, path.host));
    return FALSE;
  }
  return TRUE;
}

WINSIM_API DWORD WINAPI GetFullPathNameW(LPCWSTR name, DWORD size, LPWSTR buffer, LPWSTR* filePart) {
  if (filePart) *filePart = nullptr;
  if (!name || !*name) {
    SetLastError(name ? ERROR_INVALID_NAME : ERROR_INVALID_PARAMETER);
    return 0;
  }
  std::u16string full = winsim::FullWindowsPath(name);
  DWORD result = winsim::CopyOut(full, size, buffer);
  if (result == full.size() && filePart) {
    size_t slash = full.find_last_of(u'\\');
    if (slash != std::u16string::npos && slash + 1 < full.size()) *filePart = buffer + slash + 1;
  }
  return result;
}

// Simplified: the machine keeps no 8.3 names, so the short form of an existing path is the
// path as given; a missing one fails as a lookup of it does.
WINSIM_API DWORD WINAPI GetShortPathNameW(LPCWSTR longPath, LPWSTR shortPath, DWORD size) {
  if (!longPath || !*longPath) {
    SetLastError(longPath ? ERROR_INVALID_NAME : ERROR_INVALID_PARAMETER);
    return 0;
  }
  if (GetFileAttributesW(longPath) == INVALID_FILE_ATTRIBUTES) return 0;  // the lookup's error stays
  return winsim::CopyOut(std::u16string(longPath), size, shortPath);
}

WINSIM_API DWORD WINAPI GetTempPathW(DWORD size, LPWSTR buffer) {
  const std::u16string temp = u"C:\\WINDOWS\\TEMP\\";
  std::string host = winsim::HostPathFor(u"C:\\WINDOWS");
  mkdir(host.c_str(), 0777);
  mkdir(winsim::HostPathFor(temp).c_str(), 0777);
  return winsim::CopyOut(temp, size, buffer);
}

WINSIM_API UINT WINAPI GetTempFileNameW(LPCWSTR path, LPCWSTR prefix, UINT unique, LPWSTR tempFileName) {
  if (!path || !tempFileName) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  std::u16string base = path;
  if (base.empty() || (base.back() != u'\\' && base.back() != u'/')) base += u'\\';
  if (prefix)
    for (int i = 0; i < 3 && prefix[i]; ++i) base += prefix[i];
  auto nameFor = [&base](UINT number) {
    static const char16_t hex[] = u"0123456789ABCDEF";
    std::u16string name = base;
    bool started = false;
    for (int shift = 12; shift >= 0; shift -= 4) {
      unsigned digit = (number >> shift) & 0xF;
      if (digit || started || shift == 0) {
        name += hex[digit];
        started = true;
      }
    }
    return name + u".TMP";
  };
  auto store = [&](const std::u16string& name) {
    if (name.size() >= MAX_PATH) {
      SetLastError(ERROR_BUFFER_OVERFLOW);
      return false;
    }
    std::copy(name.begin(), name.end(), tempFileName);
    tempFileName[name.size()] = 0;
    return true;
  };
  if (unique) return store(nameFor(unique & 0xFFFF)) ? unique : 0;
  DWORD attributes = GetFileAttributesW(path);
  if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
    SetLastError(ERROR_DIRECTORY);
    return 0;
  }
  static std::atomic<unsigned> counter{0};
  struct timespec now;
  clock_gettime(CLOCK_MONOTONIC, &now);
  unsigned start = unsigned(now.tv_nsec / 1000 + getpid() + counter++);
  for (unsigned k = 0; k < 0xFFFF; ++k) {
    UINT number = ((start + k) % 0xFFFF) + 1;
    std::u16string name = nameFor(number);
    if (name.size() >= MAX_PATH) {
      SetLastError(ERROR_BUFFER_OVERFLOW);
      return 0;
    }
    HANDLE file = CreateFileW(name.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file != INVALID_HANDLE_VALUE) {
      CloseHandle(file);
      store(name);
      SetLastError(ERROR_SUCCESS);
      return number;
    }
    if (GetLastError() != ERROR_FILE_EXISTS) return 0;
  }
  SetLastError(ERROR_FILE_EXISTS);
  return 0;
}
