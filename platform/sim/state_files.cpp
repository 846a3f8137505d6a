// State files of the simulated machine: locking, versions, atomic replacement, escaping.
#include "platform/sim/state_files.h"

#include <errno.h>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <atomic>

namespace winsim {

void MakeFolders(const std::string& path) {
  for (size_t i = 1; i <= path.size(); ++i) {
    if (i == path.size() || path[i] == '/') mkdir(path.substr(0, i).c_str(), 0777);
  }
}

StateFileLock::StateFileLock(const std::string& path, bool exclusive) {
  const std::string lock = path + ".lock";
  fd_ = open(lock.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
  // The folders are made only when missing: most locks are taken again and again.
  size_t slash = path.rfind('/');
  if (fd_ < 0 && errno == ENOENT && slash != std::string::npos) {
    MakeFolders(path.substr(0, slash));
    fd_ = open(lock.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
  }
  if (fd_ >= 0) {
    while (flock(fd_, exclusive ? LOCK_EX : LOCK_SH) != 0 && errno == EINTR) {
    }
  }
}

StateFileLock::~StateFileLock() {
  if (fd_ >= 0) close(fd_);  // closing releases the lock
}

FileVersion VersionOf(const std::string& path) {
  FileVersion v;
  struct stat st;
  if (stat(path.c_str(), &st) != 0) return v;
  v.exists = true;
  v.inode = st.st_ino;
  v.size = st.st_size;
  v.mtimeNs = (long long)st.st_mtim.tv_sec * 1000000000LL + st.st_mtim.tv_nsec;
  return v;
}

bool ReadWholeFile(const std::string& path, std::string& out) {
  out.clear();
  int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return errno == ENOENT;
  char buf[65536];
  for (;;) {
    ssize_t n = read(fd, buf, sizeof buf);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      close(fd);
      return false;
    }
    if (n == 0) break;
    out.append(buf, size_t(n));
  }
  close(fd);
  return true;
}

bool ReplaceFileAtomically(const std::string& path, const std::string& contents) {
  static std::atomic<unsigned> counter{0};
  if (!DiskTakeAll(contents.size())) return false;
  size_t slash = path.rfind('/');
  if (slash != std::string::npos) MakeFolders(path.substr(0, slash));
  std::string temp = path + ".tmp." + std::to_string(getpid()) + "." + std::to_string(counter++);
  int fd = open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
  if (fd < 0) return false;
  size_t done = 0;
  bool ok = true;
  while (done < contents.size()) {
    ssize_t n = write(fd, contents.data() + done, contents.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      ok = false;
      break;
    }
    done += size_t(n);
  }
  if (close(fd) != 0) ok = false;
  if (ok && rename(temp.c_str(), path.c_str()) != 0) ok = false;
  if (!ok) unlink(temp.c_str());
  return ok;
}

unsigned long long FileTimeNow() {
  FILETIME now;
  GetSystemTimeAsFileTime(&now);
  return TicksOf(now);
}

std::string EscapeField(const std::string& utf8) {
  static const char hex[] = "0123456789ABCDEF";
  std::string out;
  for (unsigned char c : utf8) {
    if (c <= ' ' || c == '%' || c == 0x7F) {
      out += '%';
      out += hex[c >> 4];
      out += hex[c & 15];
    } else {
      out += char(c);
    }
  }
  return out;
}

static int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

std::string UnescapeField(const std::string& field) {
  std::string out;
  for (size_t i = 0; i < field.size(); ++i) {
    if (field[i] == '%' && i + 2 < field.size() && HexDigit(field[i + 1]) >= 0 && HexDigit(field[i + 2]) >= 0) {
      out += char(HexDigit(field[i + 1]) * 16 + HexDigit(field[i + 2]));
      i += 2;
    } else {
      out += field[i];
    }
  }
  return out;
}

std::string HexOf(const std::string& bytes) {
  static const char hex[] = "0123456789abcdef";
  std::string out;
  out.reserve(bytes.size() * 2);
  for (unsigned char c : bytes) {
    out += hex[c >> 4];
    out += hex[c & 15];
  }
  return out;
}

bool BytesOfHex(const std::string& hex, std::string& out) {
  out.clear();
  if (hex.size() % 2) return false;
  for (size_t i = 0; i < hex.size(); i += 2) {
    int hi = HexDigit(hex[i]), lo = HexDigit(hex[i + 1]);
    if (hi < 0 || lo < 0) return false;
    out += char(hi * 16 + lo);
  }
  return true;
}

}  // namespace winsim
