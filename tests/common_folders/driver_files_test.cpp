// The driver folder's files: copies into the System directory by mode, and the programs of
// the model data file's "Expand File" section.
#include <atomic>

#include "core/system/expand_files.h"
#include "core/common/file_ops.h"
#include "core/tables/model_record.h"
#include "core/system/driver_files.h"
#include "support/test_printer.h"
#include "tests/common_ini/host_files.h"

namespace {

using namespace common_ini_test;
using zems_test::LocalAndRemotePrinterTest;

std::atomic<int> g_order{0};
std::atomic<int> g_firstRun{0};
std::atomic<int> g_secondRun{0};

DWORD FirstProgram(LPCWSTR, LPCWSTR, LPCWSTR) {
  g_firstRun = ++g_order;
  return 0;
}
DWORD SecondProgram(LPCWSTR, LPCWSTR, LPCWSTR) {
  g_secondRun = ++g_order;
  return 0;
}

class DriverFilesTest : public LocalAndRemotePrinterTest {
 protected:
  void SetUp() override {
    LocalAndRemotePrinterTest::SetUp();
    MakeFolder(DriverFolderHost());
    model_.modelDataFile = TEXT("OV1BD172.ini");
    localCtx_.model = &model_;
  }
  ModelRecord model_ = {};
};

TEST_F(DriverFilesTest, ExpandFileProgramsRunHiddenInTheirFolders) {
  WriteHostFile(DriverFolderHost() + "/OV1BD172.ini",
                "[Expand File]\r\nSystemDirfiles=2\r\nSystemDir1=first.exe\r\nSystemDir2=\r\n"
                "DriverDirfiles=1\r\nDriverDir1=second.exe\r\n");
  WriteHostFile(DriverFolderHost() + "/first.exe", "MZ");
  WriteHostFile(DriverFolderHost() + "/second.exe", "MZ");
  SimRegisterProgram(TEXT("first.exe"), FirstProgram);
  SimRegisterProgram(TEXT("second.exe"), SecondProgram);
  g_order = 0;

  InstallRunExpandFiles(&localCtx_);
  EXPECT_EQ(1, g_firstRun.load());
  EXPECT_EQ(2, g_secondRun.load()) << "each program ends before the next starts";
  ASSERT_EQ(2u, SimProcessStartCount()) << "the empty entry is skipped";
  EXPECT_STREQ(
      "app=C:\\WINDOWS\\system32\\spool\\drivers\\w32x86\\3\\first.exe|cmd=|dir=C:\\WINDOWS\\system32|inherit=0|show=0",
      SimProcessStart(0));
  EXPECT_STREQ(
      "app=C:\\WINDOWS\\system32\\spool\\drivers\\w32x86\\3\\second.exe|cmd=|dir=C:\\WINDOWS\\system32\\spool\\"
      "drivers\\w32x86\\3\\|inherit=0|show=0",
      SimProcessStart(1));
}

TEST_F(DriverFilesTest, MissingProgramIsSkippedAndNoCountsRunNothing) {
  WriteHostFile(DriverFolderHost() + "/OV1BD172.ini", "[Expand File]\r\nDriverDirfiles=1\r\nDriverDir1=none.exe\r\n");
  InstallRunExpandFiles(&localCtx_);
  EXPECT_EQ(0u, SimProcessStartCount());
  WriteHostFile(DriverFolderHost() + "/OV1BD172.ini", "[Other]\r\n");
  InstallRunExpandFiles(&localCtx_);
  EXPECT_EQ(0u, SimProcessStartCount());
}

TEST_F(DriverFilesTest, CopiesFromTheDriverFolderByMode) {
  const ULONGLONG base = 130000000000000000ull;
  WriteHostFile(DriverFolderHost() + "/OV00C170.ini", "new");
  LPCWSTR source = TEXT("C:\\WINDOWS\\system32\\spool\\drivers\\w32x86\\3\\OV00C170.ini");
  LPCWSTR target = TEXT("C:\\WINDOWS\\system32\\OV00C170.ini");
  ASSERT_TRUE(SetLastWrite(source, base + 200));

  EXPECT_TRUE(FileCopyFromDriverFolder(TEXT("OV00C170.ini"), nullptr, 2, &localCtx_));
  EXPECT_EQ("new", ReadHostFile(OnC(Root(), "WINDOWS/system32/OV00C170.ini")));
  EXPECT_FALSE(FileCopyFromDriverFolder(TEXT("OV00C170.ini"), nullptr, 2, &localCtx_)) << "up to date";

  // A newer target is up to date for the folder copy (rule 1) but not for the exact-time copy.
  WriteHostFile(OnC(Root(), "WINDOWS/system32/OV00C170.ini"), "newer");
  ASSERT_TRUE(SetLastWrite(target, base + 300));
  EXPECT_FALSE(FileCopyFromDriverFolder(TEXT("OV00C170.ini"), nullptr, 2, &localCtx_));
  EXPECT_TRUE(FileCopyFromDriverDir(target, nullptr, 2, &localCtx_));
  EXPECT_EQ("new", ReadHostFile(OnC(Root(), "WINDOWS/system32/OV00C170.ini")));

  // Another source name, and a target elsewhere.
  MakeFolder(OnC(Root(), "out"));
  EXPECT_TRUE(FileCopyFromDriverFolderCmp(TEXT("C:\\out\\copy.ini"), TEXT("OV00C170.ini"), 1, &localCtx_, 1));
  EXPECT_EQ("new", ReadHostFile(OnC(Root(), "out/copy.ini")));
  EXPECT_FALSE(FileCopyFromDriverFolder(TEXT("absent.ini"), nullptr, 1, &localCtx_)) << "no source";
}

// Without the printer's driver information there is no driver folder to copy from: neither
// the stand-in folder of a printer without driver nor a bare name is taken as the source.
TEST_F(DriverFilesTest, NoDriverFolderNoCopy) {
  MakeFolder(OnC(Root(), "WINDOWS/system32/spool/drivers/w32x86/2"));
  WriteHostFile(OnC(Root(), "WINDOWS/system32/spool/drivers/w32x86/2/stray.ini"), "stray");
  UiState ui = {};
  DriverContext noDriver = {};
  noDriver.ui = &ui;
  EXPECT_FALSE(FileCopyFromDriverFolder(TEXT("stray.ini"), nullptr, 1, &noDriver));
  EXPECT_FALSE(HostExists(OnC(Root(), "WINDOWS/system32/stray.ini")));

  DriverContext noUi = {};
  noUi.printer = local_;
  MakeFolder(OnC(Root(), "out"));
  WriteHostFile(OnC(Root(), "out/src.ini"), "src");
  EXPECT_FALSE(FileCopyFromDriverFolderCmp(TEXT("C:\\out\\copy.ini"), TEXT("C:\\out\\src.ini"), 1, &noUi, 1));
  EXPECT_FALSE(HostExists(OnC(Root(), "out/copy.ini")));
}

}  // namespace
