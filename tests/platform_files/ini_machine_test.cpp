// Ini files of the simulated machine: edits keep the rest of the file byte for byte, every
// write is on disk at once for other processes, and a failed rewrite keeps the old file.
#include <signal.h>
#include <string.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "platform/sim.h"
#include "platform/win32.h"
#include "support/child_process.h"
#include "support/machine_fixture.h"

namespace {

namespace fs = std::filesystem;

class IniMachine : public zems_test::MachineTest {
 protected:
  fs::path Host(const char* leaf) const { return fs::path(Root()) / "c" / leaf; }
  void HostWrite(const char* leaf, const std::string& text) const {
    fs::create_directories(fs::path(Root()) / "c");
    std::ofstream(Host(leaf), std::ios::binary) << text;
  }
  std::string HostRead(const char* leaf) const {
    std::ifstream in(Host(leaf), std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  }
};

TEST_F(IniMachine, EditsKeepTheOtherLinesAsTheyAre) {
  // Windows edits the one line it changes; blank lines, odd spacing and comments stay.
  HostWrite("keep.ini", "; head\r\n[A]\r\n  x = 1 \r\n\r\n[B]\r\n\ty=2\r\n\r\n");
  EXPECT_TRUE(WritePrivateProfileStringW(u"a", u"new", u"3", u"C:\\keep.ini"));
  EXPECT_TRUE(WritePrivateProfileStringW(u"B", u"Y", u"4", u"C:\\keep.ini"));
  EXPECT_EQ(HostRead("keep.ini"), "; head\r\n[A]\r\n  x = 1 \r\nnew=3\r\n\r\n[B]\r\ny=4\r\n\r\n");
  // Deleting what is not there leaves the file untouched, time included.
  auto before = fs::last_write_time(Host("keep.ini"));
  EXPECT_TRUE(WritePrivateProfileStringW(u"A", u"absent", nullptr, u"C:\\keep.ini"));
  EXPECT_TRUE(WritePrivateProfileStringW(u"Absent", nullptr, nullptr, u"C:\\keep.ini"));
  EXPECT_EQ(fs::last_write_time(Host("keep.ini")), before);
}

TEST_F(IniMachine, AnotherProcessSeesEachWriteAtOnce) {
  WCHAR buffer[32];
  EXPECT_TRUE(WritePrivateProfileStringW(u"Shared", u"Value", u"from parent", u"C:\\shared.ini"));
  EXPECT_EQ(GetPrivateProfileStringW(u"shared", u"value", u"", buffer, 32, u"C:\\shared.ini"), 11u);
  pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    BOOL ok = WritePrivateProfileStringW(u"Shared", u"Value", u"from child", u"C:\\shared.ini");
    _exit(ok ? 0 : 1);
  }
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  EXPECT_EQ(GetPrivateProfileStringW(u"shared", u"value", u"", buffer, 32, u"C:\\shared.ini"), 10u);
  EXPECT_EQ(std::u16string(buffer), u"from child");
  // So is a change written into the file in place by another program.
  HostWrite("shared.ini", "[Shared]\r\nValue=from other\r\n");
  EXPECT_EQ(GetPrivateProfileStringW(u"shared", u"value", u"", buffer, 32, u"C:\\shared.ini"), 10u);
  EXPECT_EQ(std::u16string(buffer), u"from other");
}

// Each profile write is one step for the whole machine: two processes adding keys to one
// section at the same time lose none of them.
TEST_F(IniMachine, WritersInTwoProcessesLoseNoKey) {
  const int kKeys = 100;
  auto writeKeys = [](const char16_t* prefix) {
    bool ok = true;
    for (int i = 0; i < kKeys; ++i) {
      std::u16string key = prefix + std::u16string(1, char16_t(u'0' + i / 10)) + char16_t(u'0' + i % 10);
      ok = WritePrivateProfileStringW(u"Shared", key.c_str(), u"1", u"C:\\together.ini") && ok;
    }
    return ok;
  };
  zems_test::ChildProcess child([&](zems_test::ChildProcess& self) {
    char c = 0;
    if (!self.Receive(&c)) _exit(1);
    _exit(writeKeys(u"child") ? 0 : 1);
  });
  ASSERT_TRUE(child.Send('g'));
  EXPECT_TRUE(writeKeys(u"parent"));
  EXPECT_EQ(child.Wait(), 0);
  int found = 0;
  for (const char16_t* prefix : {u"parent", u"child"}) {
    for (int i = 0; i < kKeys; ++i) {
      std::u16string key = prefix + std::u16string(1, char16_t(u'0' + i / 10)) + char16_t(u'0' + i % 10);
      found += GetPrivateProfileIntW(u"Shared", key.c_str(), 0, u"C:\\together.ini") == 1;
    }
  }
  EXPECT_EQ(found, 2 * kKeys);
}

TEST_F(IniMachine, FailedRewriteKeepsTheOldFile) {
  HostWrite("big.ini", "[s]\r\nk=old\r\n");
  std::u16string huge(200000, u'x');
  pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    // The host refuses files beyond 64 KiB in this process, so the rewrite fails midway.
    signal(SIGXFSZ, SIG_IGN);
    struct rlimit limit = {65536, 65536};
    setrlimit(RLIMIT_FSIZE, &limit);
    BOOL ok = WritePrivateProfileStringW(u"s", u"k", huge.c_str(), u"C:\\big.ini");
    _exit(!ok && GetLastError() == ERROR_DISK_FULL ? 0 : 1);
  }
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  EXPECT_EQ(HostRead("big.ini"), "[s]\r\nk=old\r\n");
  // No temporary file is left behind.
  size_t entries = 0;
  for (const auto& entry : fs::directory_iterator(fs::path(Root()) / "c")) entries += entry.is_regular_file();
  EXPECT_EQ(entries, 1u);
  // Without the limit the same write works, and long values read back whole.
  EXPECT_TRUE(WritePrivateProfileStringW(u"s", u"k", huge.c_str(), u"C:\\big.ini"));
  std::u16string back(huge.size() + 10, u'\0');
  EXPECT_EQ(GetPrivateProfileStringW(u"s", u"k", u"", &back[0], DWORD(back.size()), u"C:\\big.ini"), huge.size());
}

TEST_F(IniMachine, RewriteKeepsTheFileAttributes) {
  HostWrite("attr.ini", "[s]\r\nk=1\r\n");
  ASSERT_TRUE(SetFileAttributesW(u"C:\\attr.ini", FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_ARCHIVE));
  EXPECT_TRUE(WritePrivateProfileStringW(u"s", u"k", u"2", u"C:\\attr.ini"));
  EXPECT_EQ(GetFileAttributesW(u"C:\\attr.ini"), DWORD(FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_ARCHIVE));
  // A file held open without write sharing is not rewritten behind its holder's back.
  HANDLE held = CreateFileW(u"C:\\attr.ini", GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  EXPECT_FALSE(WritePrivateProfileStringW(u"s", u"k", u"3", u"C:\\attr.ini"));
  EXPECT_EQ(GetLastError(), DWORD(ERROR_SHARING_VIOLATION));
  CloseHandle(held);
  EXPECT_EQ(GetPrivateProfileIntW(u"s", u"k", 0, u"C:\\attr.ini"), 2u);
}

TEST_F(IniMachine, AnsiFormsTruncateInBytes) {
  EXPECT_TRUE(WritePrivateProfileStringA("Sec", "Key", "\xE9t\xE9", "C:\\a.ini"));
  char buffer[8];
  EXPECT_EQ(GetPrivateProfileStringA("sec", "key", "", buffer, 3, "C:\\a.ini"), 2u);
  EXPECT_EQ(std::string(buffer), "\xE9t");
  EXPECT_EQ(GetPrivateProfileSectionNamesA(buffer, 8, "C:\\a.ini"), 4u);
  EXPECT_EQ(std::string(buffer, 5), std::string("Sec\0\0", 5));
  EXPECT_EQ(GetPrivateProfileSectionA("SEC", buffer, 8, "C:\\a.ini"), 6u);
  EXPECT_EQ(std::string(buffer, 8), std::string("Key=\xE9t\0\0", 8));
  EXPECT_EQ(GetPrivateProfileIntA("sec", "missing", -3, "C:\\a.ini"), UINT(-3));
}

TEST_F(IniMachine, AnsiTruncationKeepsDoubleByteCharactersWhole) {
  ASSERT_TRUE(SimSetAnsiCodePage(932));
  const WCHAR value[] = {u'a', 0x3042, u'b', 0};  // the hiragana takes two bytes in code page 932
  EXPECT_TRUE(WritePrivateProfileStringW(u"s", u"k", value, u"C:\\j.ini"));
  char buffer[8];
  memset(buffer, 'X', sizeof(buffer));
  EXPECT_EQ(GetPrivateProfileStringA("s", "k", "", buffer, 3, "C:\\j.ini"), 1u);  // not "a" + half
  EXPECT_EQ(std::string(buffer), "a");
  EXPECT_EQ(GetPrivateProfileStringA("s", "k", "", buffer, 4, "C:\\j.ini"), 3u);
  EXPECT_EQ(std::string(buffer), "a\x82\xA0");
  // Bytes the code page has no character for stay as they are on lines nobody edits.
  HostWrite("j.ini", "[s]\r\nodd=\x81\xFF\x82\r\nk=1\r\n");
  EXPECT_TRUE(WritePrivateProfileStringW(u"s", u"k", u"2", u"C:\\j.ini"));
  EXPECT_EQ(HostRead("j.ini"), "[s]\r\nodd=\x81\xFF\x82\r\nk=2\r\n");
  SimSetAnsiCodePage(1252);
}

// The same bytes read under another ANSI code page are other text: a file read before the
// code page changed is decoded again.
TEST_F(IniMachine, CodePageChangeDecodesTheSameBytesAgain) {
  HostWrite("cp.ini", "[s]\r\nk=\x82\xA0\r\n");
  WCHAR buffer[8];
  ASSERT_EQ(GetPrivateProfileStringW(u"s", u"k", u"", buffer, 8, u"C:\\cp.ini"), 2u);
  EXPECT_EQ(std::u16string(buffer), u"\x201A\xA0");  // two characters in code page 1252
  ASSERT_TRUE(SimSetAnsiCodePage(932));
  EXPECT_EQ(GetPrivateProfileStringW(u"s", u"k", u"", buffer, 8, u"C:\\cp.ini"), 1u);
  EXPECT_EQ(std::u16string(buffer), u"\x3042");  // one hiragana in code page 932
  ASSERT_TRUE(SimSetAnsiCodePage(1252));
  EXPECT_EQ(GetPrivateProfileStringW(u"s", u"k", u"", buffer, 8, u"C:\\cp.ini"), 2u);
}

}  // namespace
