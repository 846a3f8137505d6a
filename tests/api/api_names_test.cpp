// Name, path and file checks of the application interface on ANSI texts of the system code page,
// and the file provers that create only what they then remove.
#include <gtest/gtest.h>

#include <string>

#include "core/common/file_ops.h"
#include "exclude/api/api_services.h"
#include "platform/sim.h"
#include "platform/win32.h"
#include "support/machine_fixture.h"

namespace zems_test {
namespace {

class ApiNamesTest : public MachineTest {
 protected:
  void SetUp() override {
    MachineTest::SetUp();
    ASSERT_TRUE(SimSetAnsiCodePage(932));
  }
  void TearDown() override {
    SimSetAnsiCodePage(1252);
    MachineTest::TearDown();
  }
};

struct NameCase {
  const char* text;
  int fileName;      // ApiIsValidFileName
  int fullFileName;  // ApiIsValidFullFileName
  const char* why;
};

TEST_F(ApiNamesTest, NamesAndPathsUnderCodePage932) {
  // 0x95 0x5C is one double-byte character whose trail byte is the backslash's code.
  const NameCase cases[] = {
      {"\x95\x5C.zvl", 1, 0, "a double-byte name with a 0x5C trail byte is one name, but a bare leaf"},
      {"C:\\dir\\\x95\x5C.zvl", 0, 1, "the same leaf after a drive path"},
      {"C:\\dir\\FORM.ZVL", 0, 1, "the extension in upper case"},
      {"form.zvl", 1, 0, "a bare leaf without backslash"},
      {"C:\\dir\\form.txt", 0, 0, "another extension"},
      {"a:b.zvl", 0, 0, "a colon"},
      {"abc\x95", 0, 0, "a lead byte right before the terminator"},
      {"C:\\dir\\ab\x95", 0, 0, "a cut double-byte character at the end of a path"},
      {"x*y", 0, 0, "a wildcard"},
  };
  for (const NameCase& c : cases) {
    EXPECT_EQ(c.fileName, ApiIsValidFileName(c.text)) << c.why;
    EXPECT_EQ(c.fullFileName, ApiIsValidFullFileName(c.text)) << c.why;
  }
  EXPECT_EQ(0, ApiHasChar("\x95\x5C", '\\')) << "a trail byte is not the character";
  EXPECT_EQ(1, ApiHasChar("a\\b", '\\'));
}

std::string ReadAll(const WCHAR* path) {
  HANDLE f = CreateFileW(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (f == INVALID_HANDLE_VALUE) return "(missing)";
  char buffer[64] = {};
  DWORD read = 0;
  ReadFile(f, buffer, sizeof(buffer) - 1, &read, nullptr);
  CloseHandle(f);
  return std::string(buffer, read);
}

TEST_F(ApiNamesTest, ProverKeepsAFileItDidNotMake) {
  ASSERT_TRUE(CreateDirectoryW(TEXT("C:\\jobs"), nullptr));
  // Another process made this file; the prover must neither truncate nor remove it.
  HANDLE f = CreateFileW(TEXT("C:\\jobs\\out.zvl"), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(INVALID_HANDLE_VALUE, f);
  DWORD written = 0;
  WriteFile(f, "kept", 4, &written, nullptr);
  CloseHandle(f);

  char full[MAX_PATH] = {};
  EXPECT_EQ(1, ApiEnsureFileFullPath("C:\\jobs\\out.zvl", full));
  EXPECT_STREQ("C:\\jobs\\out.zvl", full);
  EXPECT_EQ("kept", ReadAll(TEXT("C:\\jobs\\out.zvl")));

  // A missing file and a missing last folder are made to prove the path, then removed.
  EXPECT_EQ(1, ApiEnsureFileFullPath("C:\\jobs\\new\\out.zvl", full));
  EXPECT_FALSE(FileExists(TEXT("C:\\jobs\\new\\out.zvl")));
  EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesW(TEXT("C:\\jobs\\new")));
  EXPECT_EQ(0, ApiEnsureFileFullPath("C:\\none\\deeper\\out.zvl", full)) << "only the last folder is made";
  EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesW(TEXT("C:\\none")));
}

}  // namespace
}  // namespace zems_test
