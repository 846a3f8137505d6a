// The disk that fills on demand: every kind of write draws on one budget, and a replacement
// that does not fit leaves the file as it was.
#include <string>
#include <vector>

#include "platform/sim.h"
#include "platform/win32.h"
#include "support/test_printer.h"

namespace {

typedef std::u16string WString;

std::string ReadAll(const WString& path) {
  HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return "<none>";
  char buffer[4096];
  DWORD got = 0;
  ReadFile(file, buffer, sizeof buffer, &got, nullptr);
  CloseHandle(file);
  return std::string(buffer, got);
}

bool WriteAll(const WString& path, const std::string& bytes) {
  HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  DWORD done = 0;
  BOOL ok = WriteFile(file, bytes.data(), DWORD(bytes.size()), &done, nullptr);
  CloseHandle(file);
  return ok != FALSE;
}

class DiskFull : public zems_test::TestPrinterTest {
 protected:
  void TearDown() override {
    SimSetDiskFull(-1);
    TestPrinterTest::TearDown();
  }
};

// One kind of replacing write: `write` stores a new state, `read` tells what is stored.
struct Replacement {
  const char* what;
  bool (*write)(HANDLE printer, const std::string& value);
  std::string (*read)(HANDLE printer);
};

const Replacement kReplacements[] = {
    {"ini key",
     [](HANDLE, const std::string& v) {
       WString w(v.begin(), v.end());
       return WritePrivateProfileStringW(u"S", u"Key", w.c_str(), u"C:\\disk.ini") != FALSE;
     },
     [](HANDLE) { return ReadAll(u"C:\\disk.ini"); }},
    {"printer data",
     [](HANDLE printer, const std::string& v) {
       DWORD rc = SetPrinterDataW(printer, const_cast<LPWSTR>(u"Value"), REG_BINARY, (LPBYTE)v.data(), DWORD(v.size()));
       if (rc != ERROR_SUCCESS) SetLastError(rc);
       return rc == ERROR_SUCCESS;
     },
     [](HANDLE printer) {
       char buffer[256];
       DWORD type = 0, needed = 0;
       if (GetPrinterDataW(printer, const_cast<LPWSTR>(u"Value"), &type, (LPBYTE)buffer, sizeof buffer, &needed))
         return std::string("<none>");
       return std::string(buffer, needed);
     }},
    {"registry value",
     [](HANDLE, const std::string& v) {
       HKEY key;
       if (RegCreateKeyExW(HKEY_LOCAL_MACHINE, u"SOFTWARE\\DiskTest", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                           nullptr))
         return false;
       LONG rc = RegSetValueExW(key, u"V", 0, REG_BINARY, (const BYTE*)v.data(), DWORD(v.size()));
       RegCloseKey(key);
       if (rc != ERROR_SUCCESS) SetLastError(DWORD(rc));
       return rc == ERROR_SUCCESS;
     },
     [](HANDLE) {
       HKEY key;
       if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, u"SOFTWARE\\DiskTest", 0, KEY_READ, &key)) return std::string("<none>");
       char buffer[256];
       DWORD size = sizeof buffer, type = 0;
       LONG rc = RegQueryValueExW(key, u"V", nullptr, &type, (LPBYTE)buffer, &size);
       RegCloseKey(key);
       return rc ? std::string("<none>") : std::string(buffer, size);
     }},
};

TEST_F(DiskFull, AReplacementThatDoesNotFitKeepsTheOldContents) {
  HANDLE printer = AddPrinter(u"Disk");
  ASSERT_NE(printer, nullptr);
  const std::string before = "old contents", after = "the new contents, longer";
  for (const Replacement& r : kReplacements) {
    SCOPED_TRACE(r.what);
    SimSetDiskFull(-1);
    ASSERT_TRUE(r.write(printer, before));
    const std::string stored = r.read(printer);
    for (long long budget : {0LL, 1LL, (long long)after.size() - 1}) {
      SimSetDiskFull(budget);
      SetLastError(0);
      EXPECT_FALSE(r.write(printer, after)) << budget;
      EXPECT_EQ(GetLastError(), DWORD(ERROR_DISK_FULL)) << budget;
      EXPECT_EQ(r.read(printer), stored) << budget;
    }
    SimSetDiskFull(-1);
    EXPECT_TRUE(r.write(printer, after));
    EXPECT_NE(r.read(printer), stored);
  }
}

TEST_F(DiskFull, EveryWriteDrawsOnOneBudget) {
  // A file write takes what still fits, then fails; the bytes taken are gone for the next one.
  SimSetDiskFull(8);
  HANDLE file = CreateFileW(u"C:\\a.bin", GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE);
  DWORD done = 0;
  EXPECT_TRUE(WriteFile(file, "12345", 5, &done, nullptr));
  EXPECT_FALSE(WriteFile(file, "67890", 5, &done, nullptr));
  EXPECT_EQ(GetLastError(), DWORD(ERROR_DISK_FULL));
  EXPECT_EQ(done, 3u);
  CloseHandle(file);
  EXPECT_EQ(ReadAll(u"C:\\a.bin"), "12345678");
  EXPECT_FALSE(WriteAll(u"C:\\b.bin", "x"));
  EXPECT_EQ(GetLastError(), DWORD(ERROR_DISK_FULL));

  // A copy that does not fit leaves the target as it was.
  SimSetDiskFull(-1);
  ASSERT_TRUE(WriteAll(u"C:\\big.bin", std::string(100, 'b')));
  ASSERT_TRUE(WriteAll(u"C:\\target.bin", "kept"));
  SimSetDiskFull(99);
  EXPECT_FALSE(CopyFileW(u"C:\\big.bin", u"C:\\target.bin", FALSE));
  EXPECT_EQ(GetLastError(), DWORD(ERROR_DISK_FULL));
  EXPECT_EQ(ReadAll(u"C:\\target.bin"), "kept");
  SimSetDiskFull(100);
  EXPECT_TRUE(CopyFileW(u"C:\\big.bin", u"C:\\target.bin", FALSE));
  EXPECT_EQ(ReadAll(u"C:\\target.bin"), std::string(100, 'b'));
  EXPECT_FALSE(WriteAll(u"C:\\c.bin", "y"));

  // A machine root switch ends the full disk.
  std::string other = zems_test::MakeMachineRoot();
  EXPECT_TRUE(WriteAll(u"C:\\d.bin", "free again"));
  zems_test::RemoveMachineRoot(other);
}

}  // namespace
