// Path resolution, attribute store, file times, share modes and atomic replacement for the
// file and ini parts of the simulated machine.
#include <errno.h>
#include <fcntl.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/file.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <vector>

#include "platform/kernel32/file_internal.h"
#include "platform/sim/state_files.h"

namespace winsim {
namespace {

const long long kEpochDifference = 11644473600LL;  // seconds from 1601 to 1970

bool ReadStored(const std::string& hostPath, DWORD* value) {
  char text[24];
  ssize_t n = getxattr(hostPath.c_str(), kAttributeName, text, sizeof(text) - 1);
  if (n <= 0) return false;
  text[n] = 0;
  *value = DWORD(strtoul(text, nullptr, 10));
  return true;
}

bool WriteStored(const std::string& hostPath, DWORD value, DWORD defaultValue) {
  if (value == defaultValue) {
    if (removexattr(hostPath.c_str(), kAttributeName) == 0 || errno == ENODATA || errno == ENOTSUP) return true;
    return false;
  }
  std::string text = std::to_string(value);
  return setxattr(hostPath.c_str(), kAttributeName, text.data(), text.size(), 0) == 0;
}

std::string ParentOf(const std::string& hostPath) {
  size_t slash = hostPath.find_last_of('/');
  return slash == std::string::npos || slash == 0 ? std::string("/") : hostPath.substr(0, slash);
}

// ---- share modes, across processes ----
// Each open handle holds shared OFD locks far beyond any file data: one byte per right it
// has (read, write, delete) and one per right it denies to others. Another open tests those
// bytes; the locks go when the handle's descriptor closes, also when its process dies.
const off_t kShareBase = off_t(1) << 62;
const DWORD kRights[3] = {FILE_SHARE_READ, FILE_SHARE_WRITE, FILE_SHARE_DELETE};

off_t HeldByte(int right) { return kShareBase + right; }
off_t DeniedByte(int right) { return kShareBase + 3 + right; }

bool Locked(int fd, off_t at) {
  struct flock fl = {};
  fl.l_type = F_WRLCK;
  fl.l_whence = SEEK_SET;
  fl.l_start = at;
  fl.l_len = 1;
  return fcntl(fd, F_OFD_GETLK, &fl) == 0 && fl.l_type != F_UNLCK;
}

void Lock(int fd, off_t at) {
  struct flock fl = {};
  fl.l_type = F_RDLCK;
  fl.l_whence = SEEK_SET;
  fl.l_start = at;
  fl.l_len = 1;
  fcntl(fd, F_OFD_SETLK, &fl);
}

// Reduces an access mask to the three rights that share modes govern.
DWORD ShareRights(DWORD access) {
  DWORD rights = 0;
  if (access & kReadRights) rights |= FILE_SHARE_READ;
  if (access & kWriteRights) rights |= FILE_SHARE_WRITE;
  if (access & (DELETE | GENERIC_ALL)) rights |= FILE_SHARE_DELETE;
  return rights;
}

}  // namespace

std::u16string FullWindowsPath(const std::u16string& name) {
  std::u16string p = name;
  for (auto& c : p)
    if (c == u'/') c = u'\\';
  // "\\?\C:\..." and "\\.\C:\..." name the same drive paths.
  if (p.size() >= 6 && p[0] == u'\\' && p[1] == u'\\' && (p[2] == u'?' || p[2] == u'.') && p[3] == u'\\' &&
      p[5] == u':')
    p = p.substr(4);
  if (p.size() >= 2 && p[0] == u'\\' && p[1] == u'\\') return p;  // UNC: left as it is
  char16_t drive = u'C';
  std::u16string rest;
  if (p.size() >= 2 && p[1] == u':') {
    drive = p[0];
    if (drive >= u'a' && drive <= u'z') drive = char16_t(drive - u'a' + u'A');
    rest = p.substr(2);
  } else {
    rest = p;  // rooted or relative: the current folder is C:\ .
  }
  bool trailing = !rest.empty() && rest.back() == u'\\';
  std::vector<std::u16string> parts = PathComponents(rest);
  std::u16string full;
  full += drive;
  full += u":\\";
  for (size_t k = 0; k < parts.size(); ++k) {
    if (k) full += u'\\';
    full += parts[k];
  }
  if (trailing && !parts.empty()) full += u'\\';
  return full;
}

bool ResolvePath(const WCHAR* name, ResolvedPath* out) {
  if (!name) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return false;
  }
  if (!*name) {
    SetLastError(ERROR_PATH_NOT_FOUND);
    return false;
  }
  out->full = FullWindowsPath(name);
  // Characters Windows refuses in names (a ':' past the drive would name a stream).
  for (size_t i = 2; i < out->full.size(); ++i) {
    char16_t c = out->full[i];
    if (c < 32 || c == u'<' || c == u'>' || c == u':' || c == u'"' || c == u'|' || c == u'?' || c == u'*') {
      SetLastError(ERROR_INVALID_NAME);
      return false;
    }
  }
  out->host = HostPathFor(out->full);
  if (out->host.empty()) {
    SetLastError(ERROR_PATH_NOT_FOUND);
    return false;
  }
  return true;
}

bool EndsWithSeparator(const ResolvedPath& path) {
  return path.full.size() > 3 && path.full.back() == u'\\';
}

bool IsFolder(const std::string& hostPath) {
  struct stat st;
  return stat(hostPath.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool ResolveFileName(const WCHAR* name, ResolvedPath* out) {
  if (!ResolvePath(name, out)) return false;
  if (EndsWithSeparator(*out) && !IsFolder(out->host)) {
    SetLastError(ERROR_INVALID_NAME);
    return false;
  }
  return true;
}

DWORD ErrorFromErrno(int err, const std::string& hostPath) {
  switch (err) {
    case ENOENT:
    case ENOTDIR: {
      struct stat st;
      std::string parent = ParentOf(hostPath);
      return stat(parent.c_str(), &st) == 0 && S_ISDIR(st.st_mode) ? ERROR_FILE_NOT_FOUND : ERROR_PATH_NOT_FOUND;
    }
    case EACCES:
    case EPERM:
    case EROFS:
    case EISDIR:
    case ETXTBSY:
      return ERROR_ACCESS_DENIED;
    case EEXIST:
      return ERROR_FILE_EXISTS;
    case ENOSPC:
    case EFBIG:
    case EDQUOT:
      return ERROR_DISK_FULL;
    case ENOTEMPTY:
      return ERROR_DIR_NOT_EMPTY;
    case ENAMETOOLONG:
      return ERROR_FILENAME_EXCED_RANGE;
    case EMFILE:
    case ENFILE:
      return ERROR_TOO_MANY_OPEN_FILES;
    case EXDEV:
      return ERROR_NOT_SAME_DEVICE;
    case ENOMEM:
      return ERROR_NOT_ENOUGH_MEMORY;
    case EINVAL:
      return ERROR_INVALID_PARAMETER;
    default:
      return ERROR_GEN_FAILURE;
  }
}

DWORD AttributesOf(const std::string& hostPath, const struct stat& st) {
  DWORD attributes = 0;
  if (S_ISLNK(st.st_mode)) {
    struct stat target;
    attributes = FILE_ATTRIBUTE_REPARSE_POINT;
    if (stat(hostPath.c_str(), &target) == 0 && S_ISDIR(target.st_mode)) attributes |= FILE_ATTRIBUTE_DIRECTORY;
    return attributes;
  }
  DWORD stored = 0;
  bool isDir = S_ISDIR(st.st_mode);
  if (!ReadStored(hostPath, &stored)) stored = isDir ? 0 : FILE_ATTRIBUTE_ARCHIVE;
  stored &= kSettableAttributes;
  if (isDir) {
    attributes = FILE_ATTRIBUTE_DIRECTORY | stored;
  } else {
    attributes = stored & ~DWORD(FILE_ATTRIBUTE_READONLY);
    if (!(st.st_mode & S_IWUSR)) attributes |= FILE_ATTRIBUTE_READONLY;
  }
  return attributes ? attributes : FILE_ATTRIBUTE_NORMAL;
}

bool StoreAttributes(const std::string& hostPath, DWORD attributes) {
  struct stat st;
  if (lstat(hostPath.c_str(), &st) != 0) {
    SetLastError(ErrorFromErrno(errno, hostPath));
    return false;
  }
  if (S_ISLNK(st.st_mode)) return true;  // links carry no attributes of their own here
  DWORD keep = attributes & kSettableAttributes;
  bool ok;
  if (S_ISDIR(st.st_mode)) {
    ok = WriteStored(hostPath, keep, 0);
  } else {
    mode_t mode = st.st_mode & 07777;
    mode = (keep & FILE_ATTRIBUTE_READONLY) ? mode_t(mode & ~0222) : mode_t(mode | S_IWUSR);
    if (mode != (st.st_mode & 07777) && chmod(hostPath.c_str(), mode) != 0) {
      SetLastError(ErrorFromErrno(errno, hostPath));
      return false;
    }
    ok = WriteStored(hostPath, keep & ~DWORD(FILE_ATTRIBUTE_READONLY), FILE_ATTRIBUTE_ARCHIVE);
  }
  if (!ok) {
    SetLastError(errno == ENOTSUP ? ERROR_NOT_SUPPORTED : ErrorFromErrno(errno, hostPath));
    return false;
  }
  return true;
}

void MarkModified(const std::string& hostPath) {
  DWORD stored = 0;
  if (ReadStored(hostPath, &stored) && !(stored & FILE_ATTRIBUTE_ARCHIVE))
    WriteStored(hostPath, stored | FILE_ATTRIBUTE_ARCHIVE, FILE_ATTRIBUTE_ARCHIVE);
}

FILETIME FileTimeFromHost(const struct timespec& ts) {
  long long ticks = (static_cast<long long>(ts.tv_sec) + kEpochDifference) * 10000000LL + ts.tv_nsec / 100;
  if (ticks < 0) ticks = 0;
  return FileTimeOfTicks(static_cast<unsigned long long>(ticks));
}

struct timespec HostTimeFromFileTime(const FILETIME& ft) {
  long long ticks = static_cast<long long>(TicksOf(ft)) - kEpochDifference * 10000000LL;
  long long sec = ticks / 10000000LL;
  long long rem = ticks % 10000000LL;
  if (rem < 0) {
    rem += 10000000LL;
    --sec;
  }
  struct timespec ts;
  ts.tv_sec = static_cast<time_t>(sec);
  ts.tv_nsec = static_cast<long>(rem * 100);
  return ts;
}

void HostFileTimes(int fd, const std::string& hostPath, FILETIME* creation, FILETIME* access, FILETIME* write) {
  struct statx sx;
  int rc = fd >= 0 ? statx(fd, "", AT_EMPTY_PATH, STATX_BASIC_STATS | STATX_BTIME, &sx)
                   : statx(AT_FDCWD, hostPath.c_str(), AT_SYMLINK_NOFOLLOW, STATX_BASIC_STATS | STATX_BTIME, &sx);
  FILETIME zero = {0, 0};
  if (rc != 0) {
    if (creation) *creation = zero;
    if (access) *access = zero;
    if (write) *write = zero;
    return;
  }
  auto convert = [](const struct statx_timestamp& t) {
    struct timespec ts;
    ts.tv_sec = static_cast<time_t>(t.tv_sec);
    ts.tv_nsec = static_cast<long>(t.tv_nsec);
    return FileTimeFromHost(ts);
  };
  if (write) *write = convert(sx.stx_mtime);
  if (access) *access = convert(sx.stx_atime);
  if (creation) *creation = convert((sx.stx_mask & STATX_BTIME) ? sx.stx_btime : sx.stx_mtime);
}

DWORD ShareCheckFd(int fd, DWORD access, DWORD share) {
  DWORD rights = ShareRights(access);
  if (!rights) return ERROR_SUCCESS;
  for (int r = 0; r < 3; ++r) {
    if ((rights & kRights[r]) && Locked(fd, DeniedByte(r))) return ERROR_SHARING_VIOLATION;
    if (!(share & kRights[r]) && Locked(fd, HeldByte(r))) return ERROR_SHARING_VIOLATION;
  }
  return ERROR_SUCCESS;
}

DWORD ShareCheck(const std::string& hostPath, DWORD access, DWORD share) {
  int fd = open(hostPath.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOFOLLOW);
  if (fd < 0) return ERROR_SUCCESS;  // nothing open can be checked; the caller's call decides
  DWORD result = ShareCheckFd(fd, access, share);
  close(fd);
  return result;
}

DWORD ShareCheckAndHold(int fd, DWORD access, DWORD share) {
  // Every process takes the same exclusive lock of the file around its check and its locks
  // (flock: it does not depend on how the descriptor was opened and is apart from the record
  // locks), so two opens cannot both pass the check before either holds its locks.
  while (flock(fd, LOCK_EX) != 0 && errno == EINTR) {
  }
  DWORD result = ShareCheckFd(fd, access, share);
  if (result == ERROR_SUCCESS) ShareHold(fd, access, share);
  flock(fd, LOCK_UN);
  return result;
}

void ShareHold(int fd, DWORD access, DWORD share) {
  DWORD rights = ShareRights(access);
  if (!rights) return;
  for (int r = 0; r < 3; ++r) {
    if (rights & kRights[r]) Lock(fd, HeldByte(r));
    if (!(share & kRights[r])) Lock(fd, DeniedByte(r));
  }
}

AnsiArg::AnsiArg(const char* text) : null_(text == nullptr) {
  if (text) wide_ = AnsiToWide(text);
}

std::string ReplacementTempPattern(const std::string& hostPath) {
  std::string leaf = hostPath.substr(hostPath.find_last_of('/') + 1).substr(0, 200);
  return ParentOf(hostPath) + "/." + leaf + ".XXXXXX";
}

bool ReplaceFileContents(const std::string& hostPath, const std::string& bytes) {
  if (!DiskTakeAll(bytes.size())) {
    SetLastError(ERROR_DISK_FULL);
    return false;
  }
  std::string temp = ReplacementTempPattern(hostPath);
  int fd = mkstemp(&temp[0]);
  if (fd < 0) {
    SetLastError(ErrorFromErrno(errno, ParentOf(hostPath) + "/x"));
    return false;
  }
  struct stat old;
  bool hadOld = stat(hostPath.c_str(), &old) == 0;
  fchmod(fd, hadOld ? (old.st_mode & 07777) : 0644);
  size_t done = 0;
  int err = 0;
  while (done < bytes.size()) {
    ssize_t n = write(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      err = n < 0 ? errno : ENOSPC;
      break;
    }
    done += size_t(n);
  }
  if (!err && hadOld) {
    DWORD stored;
    if (ReadStored(hostPath, &stored)) {
      std::string text = std::to_string(stored);
      fsetxattr(fd, kAttributeName, text.data(), text.size(), 0);
    }
  }
  if (close(fd) != 0 && !err) err = errno;
  if (!err && rename(temp.c_str(), hostPath.c_str()) != 0) err = errno;
  if (err) {
    unlink(temp.c_str());
    SetLastError(ErrorFromErrno(err, hostPath));
    return false;
  }
  return true;
}

}  // namespace winsim
