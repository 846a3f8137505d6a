// The module calls as Windows answers them: the system DLLs every process has loaded, a call
// that a module does not export, and a module's file name cut to a short buffer.
#include <gtest/gtest.h>

#include <string>

#include "platform/win32.h"
#include "support/wine_detect.h"

namespace {

typedef std::basic_string<WCHAR> WString;

TEST(ModuleConformance, KernelIsLoadedInEveryProcess) {
  HMODULE kernel = GetModuleHandleW(TEXT("kernel32.dll"));
  ASSERT_NE(kernel, nullptr) << GetLastError();
  EXPECT_EQ(GetModuleHandleW(TEXT("KERNEL32")), kernel);
  EXPECT_NE(GetProcAddress(kernel, "GetTickCount"), nullptr);
  // Loading it again gives the same module, and freeing that load leaves it loaded.
  HMODULE again = LoadLibraryW(TEXT("kernel32.dll"));
  EXPECT_EQ(again, kernel);
  EXPECT_TRUE(FreeLibrary(again));
  EXPECT_EQ(GetModuleHandleW(TEXT("kernel32.dll")), kernel);
}

TEST(ModuleConformance, MissingExportIsProcNotFound) {
  const struct {
    const char* what;
    HMODULE module;
  } cases[] = {{"kernel32", GetModuleHandleW(TEXT("kernel32.dll"))}, {"the program itself", nullptr}};
  for (const auto& c : cases) {
    SetLastError(0);
    EXPECT_EQ(GetProcAddress(c.module, "ZemsNoSuchCall"), nullptr) << c.what;
    EXPECT_EQ(GetLastError(), DWORD(ERROR_PROC_NOT_FOUND)) << c.what;
  }
}

// A name longer than the buffer is cut to the buffer's size and the call answers that size.
// From Vista on the last character is the terminator; up to Windows XP the buffer is left
// without one.
TEST(ModuleConformance, ShortBufferFollowsTheReportedVersion) {
  HMODULE kernel = GetModuleHandleW(TEXT("kernel32.dll"));
  WCHAR full[MAX_PATH];
  DWORD length = GetModuleFileNameW(kernel, full, MAX_PATH);
  ASSERT_GT(length, 12u);
  EXPECT_EQ(lstrcmpiW(full + length - 13, TEXT("\\kernel32.dll")), 0);
  OSVERSIONINFOW version = {};
  version.dwOSVersionInfoSize = sizeof version;
  ASSERT_TRUE(GetVersionExW(&version));
  // Wine cuts without a terminator whatever version it reports (Windows 7 by default).
  const bool terminated = version.dwMajorVersion >= 6 && !zems_test::UnderWine();

  WCHAR small[6];
  for (WCHAR& c : small) c = WCHAR('#');
  SetLastError(0);
  EXPECT_EQ(GetModuleFileNameW(kernel, small, 5), 5u);
  EXPECT_EQ(GetLastError(), DWORD(ERROR_INSUFFICIENT_BUFFER));
  WString expected(full, terminated ? 4 : 5);
  if (terminated) expected += WCHAR(0);
  EXPECT_EQ(WString(small, 5), expected) << "version " << version.dwMajorVersion << "." << version.dwMinorVersion;
  EXPECT_EQ(small[5], WCHAR('#')) << "nothing written past the buffer";
}

}  // namespace
