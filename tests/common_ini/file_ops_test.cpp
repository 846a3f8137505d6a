// File operations and the copy-by-mode family: success rules, attributes, times, and a
// failed copy that leaves the old target in place.
#include "core/common/file_ops.h"
#include "core/common/path_text.h"
#include "tests/common_ini/host_files.h"

namespace {

using namespace common_ini_test;

class FileOpsTest : public zems_test::MachineTest {
 protected:
  void SetUp() override {
    MachineTest::SetUp();
    MakeFolder(OnC(Root(), "src"));
    MakeFolder(OnC(Root(), "dst"));
  }
  std::string Host(const char* rel) { return OnC(Root(), rel); }
};

TEST_F(FileOpsTest, ExistsOnlyForReadableFiles) {
  WriteHostFile(Host("src/a.ini"), "x");
  EXPECT_TRUE(FileExists(TEXT("C:\\SRC\\A.INI")));
  EXPECT_FALSE(FileExists(TEXT("C:\\src\\b.ini")));
  EXPECT_FALSE(FileExists(TEXT("C:\\src")));
  EXPECT_FALSE(FileExists(nullptr));
  HANDLE held = CreateFileW(TEXT("C:\\src\\a.ini"), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(INVALID_HANDLE_VALUE, held);
  EXPECT_FALSE(FileExists(TEXT("C:\\src\\a.ini")));  // held without read sharing
  CloseHandle(held);
}

TEST_F(FileOpsTest, DeleteReportsTheDelete) {
  WriteHostFile(Host("src/ro.ini"), "x");
  ASSERT_TRUE(SetFileAttributesW(TEXT("C:\\src\\ro.ini"), FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN));
  EXPECT_TRUE(FileDelete(TEXT("C:\\src\\ro.ini")));
  EXPECT_FALSE(HostExists(Host("src/ro.ini")));
  EXPECT_FALSE(FileDelete(TEXT("C:\\src\\ro.ini")));
  // A file that another handle holds without delete sharing stays, and says so.
  WriteHostFile(Host("src/held.ini"), "x");
  HANDLE held = CreateFileW(TEXT("C:\\src\\held.ini"), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0,
                            nullptr);
  ASSERT_NE(INVALID_HANDLE_VALUE, held);
  BOOL deleted = FileDelete(TEXT("C:\\src\\held.ini"));
  EXPECT_EQ(deleted != FALSE, !HostExists(Host("src/held.ini")));
  CloseHandle(held);
}

TEST_F(FileOpsTest, DeleteMatchingTakesEveryMatchInTheFolder) {
  WriteHostFile(Host("src/a.rst"), "1");
  WriteHostFile(Host("src/b.rst"), "2");
  WriteHostFile(Host("src/c.ini"), "3");
  EXPECT_TRUE(FileDeleteMatching(TEXT("C:\\src\\*.rst")));
  EXPECT_FALSE(HostExists(Host("src/a.rst")));
  EXPECT_FALSE(HostExists(Host("src/b.rst")));
  EXPECT_TRUE(HostExists(Host("src/c.ini")));
  EXPECT_FALSE(FileDeleteMatching(TEXT("C:\\src\\*.rst")));
}

TEST_F(FileOpsTest, CopyNormalGivesAPlainWritableCopy) {
  WriteHostFile(Host("src/a.ini"), "data");
  ASSERT_TRUE(SetFileAttributesW(TEXT("C:\\src\\a.ini"), FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN));
  ASSERT_TRUE(FileCopyNormal(TEXT("C:\\src\\a.ini"), TEXT("C:\\dst\\a.ini"), FALSE));
  EXPECT_EQ(DWORD(FILE_ATTRIBUTE_ARCHIVE), GetFileAttributesW(TEXT("C:\\dst\\a.ini")));
  EXPECT_EQ("data", ReadHostFile(Host("dst/a.ini")));
  FileClearReadOnly(TEXT("C:\\src\\a.ini"));
  EXPECT_EQ(DWORD(FILE_ATTRIBUTE_HIDDEN), GetFileAttributesW(TEXT("C:\\src\\a.ini")));
}

TEST_F(FileOpsTest, UpToDateRules) {
  WriteHostFile(Host("src/a.ini"), "new");
  WriteHostFile(Host("dst/a.ini"), "old");
  const LPCWSTR s = TEXT("C:\\src\\a.ini"), t = TEXT("C:\\dst\\a.ini");
  struct Case {
    ULONGLONG source, target;
    int rule;
    BOOL expected;
  } cases[] = {
      {200, 200, 0, TRUE}, {200, 300, 0, FALSE}, {200, 300, 1, TRUE},
      {300, 200, 1, FALSE}, {200, 200, 1, TRUE}, {200, 200, 7, FALSE},
  };
  for (const Case& c : cases) {
    ASSERT_TRUE(SetLastWrite(s, 130000000000000000ull + c.source));
    ASSERT_TRUE(SetLastWrite(t, 130000000000000000ull + c.target));
    EXPECT_EQ(c.expected, FileIsUpToDate(s, t, c.rule)) << c.source << " " << c.target << " rule " << c.rule;
  }
  EXPECT_FALSE(FileIsUpToDate(s, TEXT("C:\\dst\\none.ini"), 1));
}

TEST_F(FileOpsTest, ShortTransfersFail) {
  WriteHostFile(Host("src/four.bin"), "1234");
  HANDLE h = CreateFileW(TEXT("C:\\src\\four.bin"), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(INVALID_HANDLE_VALUE, h);
  char buffer[8] = {};
  EXPECT_EQ(-1, FileReadBytes(h, buffer, 8));  // only four bytes are there
  SetFilePointer(h, 0, nullptr, FILE_BEGIN);
  EXPECT_EQ(4, FileReadBytes(h, buffer, 4));
  EXPECT_EQ(-1, FileWriteBytes(h, buffer, 4));  // opened for reading only
  CloseHandle(h);
}

TEST_F(FileOpsTest, CreateDirectoryAcceptsAnExistingFolderOnly) {
  EXPECT_TRUE(FileCreateDirectory(TEXT("C:\\dst\\sub")));
  EXPECT_TRUE(FileCreateDirectory(TEXT("C:\\dst\\sub")));
  WriteHostFile(Host("dst/file"), "x");
  EXPECT_FALSE(FileCreateDirectory(TEXT("C:\\dst\\file")));
  EXPECT_FALSE(FileCreateDirectory(TEXT("C:\\none\\sub")));
}

// Copy modes with times: mode 1 only fills a gap, the replace modes look at the times.
TEST_F(FileOpsTest, CopyByModeFollowsTimesAndModes) {
  const LPCWSTR s = TEXT("C:\\src\\a.ini"), t = TEXT("C:\\dst\\a.ini");
  const ULONGLONG base = 130000000000000000ull;
  struct Case {
    const char* what;
    bool targetThere;
    ULONGLONG sourceTime, targetTime;
    WORD mode;
    BOOL result;
    const char* targetAfter;
  } cases[] = {
      {"mode 1 fills a missing target", false, 100, 0, 1, TRUE, "new"},
      {"mode 1 never replaces, even an older target", true, 200, 100, 1, TRUE, "old"},
      {"same time: nothing to copy, even with other contents", true, 100, 100, 2, FALSE, "old"},
      {"older target is replaced", true, 200, 100, 2, TRUE, "new"},
      {"newer target is replaced too (times differ)", true, 100, 200, 0, TRUE, "new"},
      {"missing target is made", false, 100, 0, 0, TRUE, "new"},
  };
  for (const Case& c : cases) {
    WriteHostFile(Host("src/a.ini"), "new");
    ASSERT_TRUE(SetLastWrite(s, base + c.sourceTime));
    DeleteFileW(t);
    if (c.targetThere) {
      WriteHostFile(Host("dst/a.ini"), "old");
      ASSERT_TRUE(SetLastWrite(t, base + c.targetTime));
    }
    EXPECT_EQ(c.result, FileCopyByMode(t, s, c.mode)) << c.what;
    EXPECT_EQ(c.targetAfter, ReadHostFile(Host("dst/a.ini"))) << c.what;
    if (std::string(c.targetAfter) == "new") {
      EXPECT_EQ(base + c.sourceTime, TimeValue(LastWrite(t))) << c.what << ": the copy keeps the source's time";
    }
  }
  EXPECT_TRUE(FileCopyByMode(TEXT("c:\\SRC\\a.ini"), s, 0)) << "same path, case ignored";
  EXPECT_FALSE(FileCopyByMode(t, TEXT("C:\\src\\none.ini"), 0)) << "missing source";
  EXPECT_FALSE(FileCopyByMode(TEXT("dst\\a.ini"), s, 0)) << "relative target";
}

TEST_F(FileOpsTest, ReadOnlyTargetIsReplaced) {
  WriteHostFile(Host("src/a.ini"), "new");
  WriteHostFile(Host("dst/a.ini"), "old");
  ASSERT_TRUE(SetLastWrite(TEXT("C:\\dst\\a.ini"), 130000000000000000ull));
  ASSERT_TRUE(SetFileAttributesW(TEXT("C:\\dst\\a.ini"), FILE_ATTRIBUTE_READONLY));
  EXPECT_TRUE(FileCopyBetweenFolders(TEXT("a.ini"), TEXT("C:\\src\\"), TEXT("C:\\dst\\"), 0));
  EXPECT_EQ("new", ReadHostFile(Host("dst/a.ini")));
  EXPECT_EQ(DWORD(FILE_ATTRIBUTE_ARCHIVE), GetFileAttributesW(TEXT("C:\\dst\\a.ini")));
  EXPECT_FALSE(FileCopyBetweenFolders(TEXT("a.ini"), TEXT(""), TEXT("C:\\dst\\"), 0));
}

// A copy that cannot be made leaves the old target as it was (it is never deleted first).
TEST_F(FileOpsTest, FailedCopyKeepsTheOldTarget) {
  WriteHostFile(Host("src/a.ini"), "new");
  WriteHostFile(Host("dst/a.ini"), "old");
  ASSERT_TRUE(SetLastWrite(TEXT("C:\\src\\a.ini"), 130000000000000200ull));
  ASSERT_TRUE(SetLastWrite(TEXT("C:\\dst\\a.ini"), 130000000000000100ull));
  // The copy is made beside the target first; a folder in the way of that name makes it fail.
  MakeFolder(Host("dst/a.ini.~zc"));
  WriteHostFile(Host("dst/a.ini.~zc/keep"), "x");
  EXPECT_FALSE(FileCopyByMode(TEXT("C:\\dst\\a.ini"), TEXT("C:\\src\\a.ini"), 0));
  EXPECT_EQ("old", ReadHostFile(Host("dst/a.ini")));
}

TEST(PathTextTest, LeafExtensionAndBaseName) {
  int n = -1;
  EXPECT_EQ(std::u16string(u"b.c.ini"), std::u16string(PathFindLeaf(TEXT("C:\\a\\b.c.ini"))));
  EXPECT_EQ(std::u16string(u"ini"), std::u16string(PathFindExtension(TEXT("C:\\a\\b.c.ini"), &n)));
  EXPECT_EQ(3, n);
  EXPECT_EQ(std::u16string(u"readme"), std::u16string(PathFindExtension(TEXT("C:\\a.b\\readme"), &n)));
  EXPECT_EQ(0, n);
  PathFindBaseName(TEXT("C:\\a\\b.c.ini"), &n);
  EXPECT_EQ(1, n);
  EXPECT_EQ(nullptr, PathFindLeaf(nullptr));

  struct Case {
    const char16_t* path;
    BOOL shortExtension;
  } cases[] = {{u"a.html", FALSE}, {u".ini", FALSE}, {u"readme", FALSE}, {u"a.ini", TRUE}, {u"C:\\x.y\\a.b", TRUE}};
  for (const Case& c : cases)
    EXPECT_EQ(c.shortExtension, PathHasShortExtension(c.path)) ;
}

TEST(PathTextTest, ReplaceExtensionAsStoredNamesNeedIt) {
  struct Case {
    const char16_t* path;
    const char16_t* extension;
    const char16_t* result;
  } cases[] = {
      {u"C:\\x\\preset", u"rsq", u"C:\\x\\rsq"},  // a leaf without '.' is replaced whole
      {u"C:\\x\\preset.rst", u"rsq", u"C:\\x\\preset.rsq"},
      {u"C:\\x.d\\a.b.c", u"rsr", u"C:\\x.d\\a.b.rsr"},
  };
  WCHAR buffer[MAX_PATH];
  for (const Case& c : cases) {
    ASSERT_TRUE(PathReplaceExtension(buffer, c.path, c.extension, MAX_PATH));
    EXPECT_EQ(std::u16string(c.result), std::u16string(buffer));
  }
  EXPECT_FALSE(PathReplaceExtension(buffer, TEXT(""), TEXT("rsq"), MAX_PATH));
  EXPECT_FALSE(PathReplaceExtension(buffer, TEXT("C:\\x\\a.ini"), TEXT("rsq"), 10)) << "does not fit";
  ASSERT_TRUE(PathWithExtRsq(buffer, TEXT("C:\\q\\list.ini"), MAX_PATH));
  EXPECT_EQ(std::u16string(u"C:\\q\\list.rsq"), std::u16string(buffer));
}

}  // namespace
