// Persistence helpers of the registry, spooler, module table and system identity: state files
// under the machine root, read through a file lock and replaced atomically, so that every
// process working on the same root sees the last complete write.
#pragma once
#include <sys/stat.h>

#include <string>

#include "platform/sim/internal.h"

namespace winsim {


// Holds an flock on "<path>.lock" for its lifetime (shared or exclusive); creates the folder.
class StateFileLock {
 public:
  StateFileLock(const std::string& path, bool exclusive);
  ~StateFileLock();
  StateFileLock(const StateFileLock&) = delete;
  StateFileLock& operator=(const StateFileLock&) = delete;

 private:
  int fd_ = -1;
};

// Identity of a file's current version (inode, size, modification time); changes with every
// replacement, so a cached copy is re-read when another process wrote the file.
struct FileVersion {
  bool exists = false;
  ino_t inode = 0;
  off_t size = 0;
  long long mtimeNs = 0;
  bool operator==(const FileVersion& o) const {
    return exists == o.exists && inode == o.inode && size == o.size && mtimeNs == o.mtimeNs;
  }
  bool operator!=(const FileVersion& o) const { return !(*this == o); }
};
FileVersion VersionOf(const std::string& path);

// Reads a whole file; false when it cannot be read (a missing file gives true and "").
bool ReadWholeFile(const std::string& path, std::string& out);
// Writes a temporary beside path and renames it over path; the old file stays on failure.
bool ReplaceFileAtomically(const std::string& path, const std::string& contents);

// The disk budget (SimSetDiskFull). DiskTakeSome grants what is left of `wanted` and draws it;
// DiskTakeAll draws all of `wanted` or nothing (errno ENOSPC), for a file written beside its
// target and renamed over it: a temporary that did not fit is deleted again.
size_t DiskTakeSome(size_t wanted);
bool DiskTakeAll(size_t wanted);

// Creates a folder and its parents (host path).
void MakeFolders(const std::string& path);

// The current time as a FILETIME value (100 ns since 1601).
unsigned long long FileTimeNow();

// Text escaping for one-line records: bytes below '!', '%' and DEL become %XX.
std::string EscapeField(const std::string& utf8);
std::string UnescapeField(const std::string& field);
std::string HexOf(const std::string& bytes);
bool BytesOfHex(const std::string& hex, std::string& out);

}  // namespace winsim
