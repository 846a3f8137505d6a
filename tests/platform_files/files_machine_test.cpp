// Files of the simulated machine as the host sees them: drive mapping under the machine
// root, separate roots, links, attributes kept beside the file, times kept per handle.
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "platform/sim.h"
#include "platform/win32.h"
#include "support/child_process.h"
#include "support/machine_fixture.h"

namespace {

namespace fs = std::filesystem;
typedef std::u16string WString;

std::string HostRead(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

void WinWrite(const WString& path, const std::string& bytes) {
  HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE) << GetLastError();
  DWORD done = 0;
  EXPECT_TRUE(WriteFile(file, bytes.data(), DWORD(bytes.size()), &done, nullptr));
  CloseHandle(file);
}

class FilesMachine : public zems_test::MachineTest {};

TEST_F(FilesMachine, DrivesAreFoldersUnderTheRoot) {
  ASSERT_TRUE(CreateDirectoryW(u"C:\\Data", nullptr));
  WinWrite(u"c:/data/File.TXT", "c drive");
  EXPECT_EQ(HostRead(fs::path(Root()) / "c" / "Data" / "File.TXT"), "c drive");
  ASSERT_TRUE(CreateDirectoryW(u"D:\\x", nullptr));
  WinWrite(u"D:\\x\\y.bin", "d drive");
  EXPECT_EQ(HostRead(fs::path(Root()) / "d" / "x" / "y.bin"), "d drive");
  // Names the host holds in another case, with letters beyond ASCII too.
  fs::create_directories(fs::path(Root()) / "c" / "Ärger");
  std::ofstream(fs::path(Root()) / "c" / "Ärger" / "Öl.ini") << "[s]\r\nk=1\r\n";
  EXPECT_EQ(GetPrivateProfileIntW(u"S", u"K", 0, u"C:\\äRGER\\öL.INI"), 1u);
  // A move between drives needs MOVEFILE_COPY_ALLOWED, as between volumes.
  EXPECT_FALSE(MoveFileExW(u"D:\\x\\y.bin", u"C:\\y.bin", 0));
  EXPECT_EQ(GetLastError(), DWORD(ERROR_NOT_SAME_DEVICE));
  EXPECT_TRUE(MoveFileExW(u"D:\\x\\y.bin", u"C:\\y.bin", MOVEFILE_COPY_ALLOWED));
  EXPECT_EQ(HostRead(fs::path(Root()) / "c" / "y.bin"), "d drive");
}

// A folder looked up in another case is listed once per version of it: a name the host adds
// later, in any case, is found as soon as the folder's time says it changed.
TEST_F(FilesMachine, NamesAddedInAnotherCaseAreFoundAfterAMiss) {
  const fs::path folder = fs::path(Root()) / "c" / "Late";
  fs::create_directories(folder);
  // Times well in the past: the listing of the miss is one the lookup may keep.
  const struct timespec old[2] = {{1000000000, 0}, {1000000000, 0}}, older[2] = {{900000000, 0}, {900000000, 0}};
  ASSERT_EQ(utimensat(AT_FDCWD, folder.c_str(), old, 0), 0);
  EXPECT_EQ(GetFileAttributesW(u"C:\\LATE\\NEW.TXT"), INVALID_FILE_ATTRIBUTES);
  std::ofstream(folder / "new.txt") << "x";
  ASSERT_EQ(utimensat(AT_FDCWD, folder.c_str(), older, 0), 0);  // changed, and settled again
  EXPECT_NE(GetFileAttributesW(u"C:\\LATE\\NEW.TXT"), INVALID_FILE_ATTRIBUTES);
}

TEST_F(FilesMachine, EachRootIsItsOwnMachine) {
  WinWrite(u"C:\\only-here.txt", "first");
  std::string second = zems_test::MakeMachineRoot();
  EXPECT_EQ(GetFileAttributesW(u"C:\\only-here.txt"), INVALID_FILE_ATTRIBUTES);
  WinWrite(u"C:\\only-here.txt", "second");
  SimSetMachineRoot(Root().c_str());
  HANDLE file = CreateFileW(u"C:\\only-here.txt", GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE);
  char buffer[16] = {};
  DWORD done = 0;
  EXPECT_TRUE(ReadFile(file, buffer, sizeof(buffer), &done, nullptr));
  EXPECT_EQ(std::string(buffer, done), "first");
  CloseHandle(file);
  zems_test::RemoveMachineRoot(second);
}

TEST_F(FilesMachine, FolderLinksAreRemovedNotFollowed) {
  // A link inside the machine to a folder elsewhere: removing it leaves the target alone, and
  // a search shows it as a reparse point so tree walks do not descend into it.
  fs::path outside = fs::path(Root()) / "outside";
  fs::create_directories(outside);
  std::ofstream(outside / "precious.txt") << "keep";
  fs::create_directories(fs::path(Root()) / "c" / "dir");
  fs::create_directory_symlink(outside, fs::path(Root()) / "c" / "dir" / "link");
  WIN32_FIND_DATAW data;
  HANDLE find = FindFirstFileW(u"C:\\dir\\link", &data);
  ASSERT_NE(find, INVALID_HANDLE_VALUE);
  EXPECT_EQ(data.dwFileAttributes, DWORD(FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT));
  FindClose(find);
  EXPECT_TRUE(RemoveDirectoryW(u"C:\\dir\\link"));
  EXPECT_FALSE(fs::exists(fs::symlink_status(fs::path(Root()) / "c" / "dir" / "link")));
  EXPECT_EQ(HostRead(outside / "precious.txt"), "keep");
  EXPECT_TRUE(RemoveDirectoryW(u"C:\\dir"));
}

// A file's identity is its volume and index: every spelling and every hard link of one file
// answers the same pair, another file another one.
TEST_F(FilesMachine, OneFileHasOneIdentityWhateverItsPath) {
  ASSERT_TRUE(CreateDirectoryW(u"C:\\Data", nullptr));
  WinWrite(u"C:\\Data\\one.rst", "12345");
  WinWrite(u"C:\\Data\\two.rst", "x");
  fs::create_hard_link(fs::path(Root()) / "c" / "Data" / "one.rst", fs::path(Root()) / "c" / "Data" / "link.rst");
  auto identity = [](const WString& path, BY_HANDLE_FILE_INFORMATION* info) {
    HANDLE file = CreateFileW(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    const bool ok = GetFileInformationByHandle(file, info) != FALSE;
    CloseHandle(file);
    return ok;
  };
  BY_HANDLE_FILE_INFORMATION one = {}, other = {};
  ASSERT_TRUE(identity(u"C:\\Data\\one.rst", &one));
  EXPECT_EQ(one.nFileSizeLow, 5u);
  EXPECT_EQ(one.nNumberOfLinks, 2u);
  for (const WString& path : {WString(u"c:\\DATA\\ONE.RST"), WString(u"C:\\Data\\..\\Data\\one.rst"),
                              WString(u"C:\\Data\\link.rst")}) {
    BY_HANDLE_FILE_INFORMATION seen = {};
    ASSERT_TRUE(identity(path, &seen));
    EXPECT_EQ(seen.dwVolumeSerialNumber, one.dwVolumeSerialNumber);
    EXPECT_EQ(seen.nFileIndexLow, one.nFileIndexLow);
    EXPECT_EQ(seen.nFileIndexHigh, one.nFileIndexHigh);
  }
  ASSERT_TRUE(identity(u"C:\\Data\\two.rst", &other));
  EXPECT_FALSE(other.nFileIndexLow == one.nFileIndexLow && other.nFileIndexHigh == one.nFileIndexHigh);
  EXPECT_FALSE(GetFileInformationByHandle(INVALID_HANDLE_VALUE, &other));
}

TEST_F(FilesMachine, AttributesLiveWithTheFile) {
  WinWrite(u"C:\\a.txt", "a");
  ASSERT_TRUE(SetFileAttributesW(u"C:\\a.txt", FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_READONLY));
  // Read-only is the host's write permission, so host tools see it too.
  struct stat st;
  ASSERT_EQ(stat((Root() + "/c/a.txt").c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0222, 0u);
  ASSERT_TRUE(MoveFileW(u"C:\\a.txt", u"C:\\b.txt"));
  EXPECT_EQ(GetFileAttributesW(u"C:\\b.txt"), DWORD(FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_READONLY));
  // Clearing them gives FILE_ATTRIBUTE_NORMAL; a write sets ARCHIVE again.
  ASSERT_TRUE(SetFileAttributesW(u"C:\\b.txt", FILE_ATTRIBUTE_NORMAL));
  EXPECT_EQ(GetFileAttributesW(u"C:\\b.txt"), DWORD(FILE_ATTRIBUTE_NORMAL));
  HANDLE file = CreateFileW(u"C:\\b.txt", GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  DWORD done = 0;
  EXPECT_TRUE(WriteFile(file, "x", 1, &done, nullptr));
  CloseHandle(file);
  EXPECT_EQ(GetFileAttributesW(u"C:\\b.txt"), DWORD(FILE_ATTRIBUTE_ARCHIVE));
}

TEST_F(FilesMachine, SetWriteTimeHoldsForLaterWritesOfTheHandle) {
  HANDLE file = CreateFileW(u"C:\\t.txt", GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE);
  FILETIME set = {0x12345670u, 0x01C00000u};
  EXPECT_TRUE(SetFileTime(file, nullptr, nullptr, &set));
  DWORD done = 0;
  EXPECT_TRUE(WriteFile(file, "after", 5, &done, nullptr));
  CloseHandle(file);
  WIN32_FILE_ATTRIBUTE_DATA data;
  ASSERT_TRUE(GetFileAttributesExW(u"C:\\t.txt", GetFileExInfoStandard, &data));
  EXPECT_EQ(CompareFileTime(&data.ftLastWriteTime, &set), 0);
  EXPECT_EQ(data.nFileSizeLow, 5u);
}

TEST_F(FilesMachine, ShareModesHoldAcrossProcesses) {
  WinWrite(u"C:\\held.txt", "held");
  int ready[2], release[2];
  ASSERT_EQ(pipe(ready), 0);
  ASSERT_EQ(pipe(release), 0);
  pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    HANDLE file = CreateFileW(u"C:\\held.txt", GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    char c = file != INVALID_HANDLE_VALUE ? 'y' : 'n';
    if (write(ready[1], &c, 1) != 1 || read(release[0], &c, 1) != 1) _exit(2);
    _exit(0);  // the handle goes with the process
  }
  char c = 0;
  ASSERT_EQ(read(ready[0], &c, 1), 1);
  ASSERT_EQ(c, 'y');
  EXPECT_EQ(CreateFileW(u"C:\\held.txt", GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr),
            INVALID_HANDLE_VALUE);
  EXPECT_EQ(GetLastError(), DWORD(ERROR_SHARING_VIOLATION));
  EXPECT_FALSE(DeleteFileW(u"C:\\held.txt"));
  EXPECT_EQ(GetLastError(), DWORD(ERROR_SHARING_VIOLATION));
  // Opening for attributes only is no use of the data, so it is allowed.
  HANDLE query = CreateFileW(u"C:\\held.txt", 0, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  EXPECT_NE(query, INVALID_HANDLE_VALUE);
  CloseHandle(query);
  ASSERT_EQ(write(release[1], "x", 1), 1);
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  HANDLE file = CreateFileW(u"C:\\held.txt", GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  EXPECT_NE(file, INVALID_HANDLE_VALUE);
  CloseHandle(file);
  EXPECT_TRUE(DeleteFileW(u"C:\\held.txt"));
  for (int fd : {ready[0], ready[1], release[0], release[1]}) close(fd);
}

// Share mode 0 is exclusive also when two processes open the file at the same moment: of
// two CREATE_ALWAYS opens exactly one gets a handle, and the other truncates nothing.
TEST_F(FilesMachine, ExclusiveOpenRacesHaveOneWinner) {
  const WCHAR kName[] = u"C:\\race.txt";
  auto open = [&] {
    return CreateFileW(kName, GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  };
  auto mark = [](HANDLE h) {
    DWORD done = 0;
    return WriteFile(h, "held", 4, &done, nullptr) && done == 4;
  };
  zems_test::ChildProcess child([&](zems_test::ChildProcess& self) {
    char c = 0;
    while (self.Receive(&c) && c == 'g') {
      HANDLE h = open();
      bool won = h != INVALID_HANDLE_VALUE && mark(h);
      if (!self.Send(won ? 'y' : 'n') || !self.Receive(&c)) _exit(1);
      if (h != INVALID_HANDLE_VALUE) CloseHandle(h);
      if (!self.Send('d')) _exit(1);
    }
  });
  const int kTrials = 200;
  int both = 0, neither = 0, torn = 0;
  for (int trial = 0; trial < kTrials; ++trial) {
    ASSERT_TRUE(child.Send('g'));
    HANDLE h = open();
    bool won = h != INVALID_HANDLE_VALUE && mark(h);
    char theirs = 0;
    ASSERT_TRUE(child.Receive(&theirs));
    if (won && theirs == 'y') ++both;
    if (!won && theirs != 'y') ++neither;
    // The winner's bytes are whole: the loser's open did not cut the file.
    if (won && GetFileSize(h, nullptr) != 4) ++torn;
    ASSERT_TRUE(child.Send('c'));
    ASSERT_TRUE(child.Receive(&theirs));
    if (h != INVALID_HANDLE_VALUE) CloseHandle(h);
  }
  child.Send('q');
  EXPECT_EQ(child.Wait(), 0);
  EXPECT_EQ(both, 0) << "of " << kTrials << " trials";
  EXPECT_EQ(neither, 0);
  EXPECT_EQ(torn, 0);
}

// Host file names are UTF-8; a byte sequence that is not well-formed UTF-8 (an overlong form,
// a code point beyond U+10FFFF, a surrogate) is never read as the character it would encode,
// so it cannot pose as "..", a separator or another file's name.
TEST_F(FilesMachine, MalformedHostNamesAreNotDecodedAsOtherNames) {
  const struct {
    const char* host;
    const char16_t* listed;
  } cases[] = {
      {"\xC0\xAE\xC0\xAE", u"\xFFFD\xFFFD\xFFFD\xFFFD"},         // overlong "..": each byte is bad
      {"a\xC1\x9C" "b", u"a\xFFFD\xFFFD" u"b"},                   // overlong '\\'
      {"x\xE0\x80\xAF", u"x\xFFFD\xFFFD\xFFFD"},                // overlong '/', three bytes
      {"y\xF0\x80\x80\xAE", u"y\xFFFD\xFFFD\xFFFD\xFFFD"},     // overlong '.', four bytes
      {"z\xF4\x90\x80\x80", u"z\xFFFD\xFFFD\xFFFD\xFFFD"},     // beyond U+10FFFF
      {"s\xED\xA0\x80", u"s\xFFFD\xFFFD\xFFFD"},                // a surrogate
      {"ok\xC3\xA9\xF0\x9F\x98\x80", u"ok\xE9\xD83D\xDE00"},  // well-formed stays
  };
  for (const auto& c : cases) {
    fs::path folder = fs::path(Root()) / "c" / "names";
    fs::remove_all(folder);
    fs::create_directories(folder);
    std::ofstream(folder / c.host) << "x";
    WIN32_FIND_DATAW data;
    HANDLE find = FindFirstFileW(u"C:\\names\\*", &data);
    ASSERT_NE(find, INVALID_HANDLE_VALUE);
    std::vector<WString> names;
    do {
      names.push_back(data.cFileName);
    } while (FindNextFileW(find, &data));
    FindClose(find);
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<WString>{u".", u"..", c.listed})) << c.host;
  }
}

TEST_F(FilesMachine, BadArgumentsFailCleanly) {
  EXPECT_EQ(CreateFileW(nullptr, GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr), INVALID_HANDLE_VALUE);
  EXPECT_EQ(CreateFileW(u"\\\\server\\share\\x", GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr),
            INVALID_HANDLE_VALUE);
  EXPECT_EQ(CreateFileW(u"C:\\x", GENERIC_READ, 0, nullptr, 99, 0, nullptr), INVALID_HANDLE_VALUE);
  EXPECT_EQ(GetLastError(), DWORD(ERROR_INVALID_PARAMETER));
  DWORD done = 0;
  EXPECT_FALSE(ReadFile(reinterpret_cast<HANDLE>(0x7777), nullptr, 0, &done, nullptr));
  EXPECT_EQ(GetLastError(), DWORD(ERROR_INVALID_HANDLE));
  EXPECT_EQ(GetFileAttributesW(u""), INVALID_FILE_ATTRIBUTES);
  for (const WCHAR* bad : {u"C:\\a*b.txt", u"C:\\a?.txt", u"C:\\x.txt:stream", u"C:\\a|b", u"C:\\a\x01"}) {
    EXPECT_EQ(CreateFileW(bad, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr), INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), DWORD(ERROR_INVALID_NAME));
  }
  WinWrite(u"\\\\?\\C:\\long-form.txt", "x");
  EXPECT_NE(GetFileAttributesW(u"C:\\LONG-FORM.TXT"), INVALID_FILE_ATTRIBUTES);
  EXPECT_FALSE(UnmapViewOfFile(&done));
  EXPECT_FALSE(FindClose(INVALID_HANDLE_VALUE));
  EXPECT_EQ(GetFullPathNameW(nullptr, 0, nullptr, nullptr), 0u);
  WCHAR small[4];
  EXPECT_EQ(GetPrivateProfileStringW(u"s", u"k", u"default", small, 4, u"C:\\none.ini"), 3u);
  EXPECT_EQ(GetPrivateProfileStringW(u"s", u"k", u"default", nullptr, 4, u"C:\\none.ini"), 0u);
}

}  // namespace
