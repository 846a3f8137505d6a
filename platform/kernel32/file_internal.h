// Shared by the file, find, mapping and ini parts of the simulated machine.
#pragma once
#include <sys/stat.h>
#include <sys/types.h>

#include <string>
#include <vector>

#include "platform/sim/internal.h"

namespace winsim {

// Access bits that read or write a file's data.
const DWORD kReadRights = GENERIC_READ | GENERIC_ALL | GENERIC_EXECUTE | FILE_READ_DATA | FILE_EXECUTE;
const DWORD kWriteRights = GENERIC_WRITE | GENERIC_ALL | FILE_WRITE_DATA | FILE_APPEND_DATA;
// The attributes a file keeps (SetFileAttributes, CreateFile); the others are derived.
const DWORD kSettableAttributes = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM |
                                  FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_TEMPORARY | FILE_ATTRIBUTE_OFFLINE |
                                  FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;

// Attributes other than READONLY and DIRECTORY live in this extended attribute, as a decimal
// number; a file without it has ARCHIVE set, a folder has nothing set.
const char kAttributeName[] = "user.winsim.attributes";

// A Windows path made absolute ("C:\a\b", no "." or ".." left, '/' turned into '\') and
// the host path it maps to. Empty host path: the name cannot be on this machine.
struct ResolvedPath {
  std::u16string full;
  std::string host;
};
// Resolves a caller's name; on failure sets the last error (ERROR_INVALID_PARAMETER for
// null, ERROR_INVALID_NAME for characters Windows refuses in names, ERROR_PATH_NOT_FOUND for
// empty or unmappable names) and returns false.
bool ResolvePath(const WCHAR* name, ResolvedPath* out);
// True when a resolved name ends with a separator (beyond a drive root): it can only name a
// folder, never a file.
bool EndsWithSeparator(const ResolvedPath& path);
// True when a host path is a folder (or a link to one).
bool IsFolder(const std::string& hostPath);
// ResolvePath for calls on files: a name ending with a separator that is not an existing
// folder is refused with ERROR_INVALID_NAME.
bool ResolveFileName(const WCHAR* name, ResolvedPath* out);

// The absolute form of a Windows path, relative names taken from C:\.
std::u16string FullWindowsPath(const std::u16string& name);
// The components of a path after its drive ('\\'-separated; "." and empty ones dropped, ".."
// taking back the one before, trailing dots and spaces cut as Windows does).
std::vector<std::u16string> PathComponents(const std::u16string& path);

// The Windows error for a failed host call on path (ENOENT: file or path not found, by
// whether the containing folder exists).
DWORD ErrorFromErrno(int err, const std::string& hostPath);

// Attributes as GetFileAttributes reports them (FILE_ATTRIBUTE_NORMAL when none is set).
// st must come from lstat of hostPath.
DWORD AttributesOf(const std::string& hostPath, const struct stat& st);
// Stores attributes (READONLY as the owner's write bit, the rest beside the file); false
// with the last error set when they cannot be stored.
bool StoreAttributes(const std::string& hostPath, DWORD attributes);

// Sets ARCHIVE again on a file whose stored attributes lack it, as a write does on Windows.
void MarkModified(const std::string& hostPath);

// Creation, access and write times of a host file (creation: birth time where the host
// file system keeps one, else the last-write time).
void HostFileTimes(int fd, const std::string& hostPath, FILETIME* creation, FILETIME* access, FILETIME* write);

// Share modes of open handles, seen by every process of the machine. The checks return
// ERROR_SUCCESS, or ERROR_SHARING_VIOLATION when an open handle forbids the access or holds
// an access the share mode would deny.
DWORD ShareCheckFd(int fd, DWORD access, DWORD share);
DWORD ShareCheck(const std::string& hostPath, DWORD access, DWORD share);
// Records a handle's access and share mode on its descriptor (released when it closes).
void ShareHold(int fd, DWORD access, DWORD share);
// ShareCheckFd and, when it passes, ShareHold as one step that no other open of the file on
// the machine can come between.
DWORD ShareCheckAndHold(int fd, DWORD access, DWORD share);

// Converts an optional ANSI argument; null stays null (the result pointer then is null).
struct AnsiArg {
  explicit AnsiArg(const char* text);
  const WCHAR* get() const { return null_ ? nullptr : wide_.c_str(); }

 private:
  std::u16string wide_;
  bool null_;
};

// The mkstemp pattern of a temporary file that will replace hostPath: ".<leaf>.XXXXXX" in
// the same folder. FindFirstFile leaves such names out.
std::string ReplacementTempPattern(const std::string& hostPath);

// Replaces a host file's contents atomically: writes a temporary file in the same folder,
// copies mode and stored attributes of the old file, and renames it over the old one. On
// failure the old file is untouched and the last error is set.
bool ReplaceFileContents(const std::string& hostPath, const std::string& bytes);

}  // namespace winsim

#include <mutex>

#include "platform/kernel32/handles.h"

namespace winsim {

// An open file or folder behind a HANDLE.
struct FileObject : KernelObject {
  ~FileObject() override;
  int fd = -1;
  std::string host;
  bool canRead = false;
  bool canWrite = false;
  bool canSetTimes = false;
  bool deleteOnClose = false;
  bool marked = false;        // ARCHIVE set again after the first change
  bool pinned = false;        // SetFileTime fixed the last-write time ...
  bool changedAfterPin = false;  // ... and a later write would move it
  FILETIME pinnedWrite = {0, 0};
  std::mutex lock;
};

}  // namespace winsim
