// Registry and spooler behaviour the driver relies on, checked against our machine and, built
// with mingw, against Wine. Windows API only. Each test works under its own key
// HKCU\Software\ZemsTest\<process>-<tick> and deletes it afterwards.
#include <gtest/gtest.h>
#include <string.h>

#include <string>
#include <vector>

#include "conformance/conformance_support.h"
#include "platform/win32.h"
#ifndef _WIN32
#include "platform/sim.h"
#endif

namespace {

typedef std::basic_string<WCHAR> WideString;

WideString W(const char* ascii) {
  WideString out;
  for (; *ascii; ++ascii) out += WCHAR(*ascii);
  return out;
}

LONG DeleteTree(HKEY parent, const WCHAR* name) {
  HKEY key;
  LONG rc = RegOpenKeyExW(parent, name, 0, KEY_ALL_ACCESS, &key);
  if (rc != ERROR_SUCCESS) return rc;
  for (;;) {
    WCHAR sub[256];
    DWORD length = 256;
    if (RegEnumKeyExW(key, 0, sub, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
    if (DeleteTree(key, sub) != ERROR_SUCCESS) break;
  }
  RegCloseKey(key);
  return RegDeleteKeyW(parent, name);
}

class RegistryConformance : public ::testing::Test {
 protected:
  void SetUp() override {
    name_ = W("Software\\ZemsTest\\") + W(std::to_string(GetCurrentProcessId()).c_str()) + WCHAR('-') +
            W(std::to_string(GetTickCount()).c_str());
    DWORD disposition = 0;
    ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, name_.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key_,
                              &disposition),
              ERROR_SUCCESS);
    EXPECT_EQ(disposition, DWORD(REG_CREATED_NEW_KEY));
  }
  void TearDown() override {
    RegCloseKey(key_);
    EXPECT_EQ(DeleteTree(HKEY_CURRENT_USER, name_.c_str()), ERROR_SUCCESS);
    HKEY parent;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, W("Software").c_str(), 0, KEY_ALL_ACCESS, &parent) == ERROR_SUCCESS) {
      RegDeleteKeyW(parent, W("ZemsTest").c_str());  // only when no other run is using it
      RegCloseKey(parent);
    }
  }
  HKEY key_ = nullptr;
  WideString name_;
};

TEST_F(RegistryConformance, ValuesKeepTypeAndExactBytes) {
  const struct {
    const char* name;
    DWORD type;
    std::string bytes;
  } cases[] = {
      {"terminated", REG_SZ, std::string("a\0b\0\0\0", 6)},
      {"unterminated", REG_SZ, std::string("a\0b\0", 4)},  // read back without a terminator
      {"odd length", REG_SZ, std::string("a\0b", 3)},
      {"expand", REG_EXPAND_SZ, std::string("%\0A\0%\0\0\0", 8)},
      {"multi", REG_MULTI_SZ, std::string("x\0\0\0y\0\0\0\0\0", 10)},
      {"dword", REG_DWORD, std::string("\x78\x56\x34\x12", 4)},
      {"binary", REG_BINARY, std::string("\0\xff\n ", 4)},
      {"empty", REG_BINARY, std::string()},
  };
  for (const auto& c : cases) {
    WideString name = W(c.name);
    ASSERT_EQ(RegSetValueExW(key_, name.c_str(), 0, c.type, reinterpret_cast<const BYTE*>(c.bytes.data()),
                             DWORD(c.bytes.size())),
              ERROR_SUCCESS)
        << c.name;
    DWORD type = 0, size = 0;
    ASSERT_EQ(RegQueryValueExW(key_, name.c_str(), nullptr, &type, nullptr, &size), ERROR_SUCCESS) << c.name;
    EXPECT_EQ(size, DWORD(c.bytes.size())) << c.name;
    EXPECT_EQ(type, c.type) << c.name;
    std::string got(size + 4, '\x55');
    size = DWORD(got.size());
    ASSERT_EQ(RegQueryValueExW(key_, name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(&got[0]), &size),
              ERROR_SUCCESS);
    EXPECT_EQ(got.substr(0, size), c.bytes) << c.name;
  }
}

TEST_F(RegistryConformance, MeasureThenFill) {
  DWORD value = 0x11223344;
  ASSERT_EQ(RegSetValueExW(key_, W("v").c_str(), 0, REG_DWORD, reinterpret_cast<BYTE*>(&value), 4), ERROR_SUCCESS);
  BYTE small[2];
  DWORD size = sizeof small, type = 0;
  EXPECT_EQ(RegQueryValueExW(key_, W("v").c_str(), nullptr, &type, small, &size), ERROR_MORE_DATA);
  EXPECT_EQ(size, 4u);
  EXPECT_EQ(RegQueryValueExW(key_, W("missing").c_str(), nullptr, &type, nullptr, &size), ERROR_FILE_NOT_FOUND);
  // Names compare without case.
  DWORD got = 0;
  size = 4;
  EXPECT_EQ(RegQueryValueExW(key_, W("V").c_str(), nullptr, &type, reinterpret_cast<BYTE*>(&got), &size),
            ERROR_SUCCESS);
  EXPECT_EQ(got, value);
}

TEST_F(RegistryConformance, KeysOpenCreateEnumerateAndDelete) {
  HKEY sub;
  EXPECT_EQ(RegOpenKeyExW(key_, W("b").c_str(), 0, KEY_READ, &sub), ERROR_FILE_NOT_FOUND);
  for (const char* name : {"b", "A\\inner", "c"}) {
    DWORD disposition = 0;
    ASSERT_EQ(RegCreateKeyExW(key_, W(name).c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &sub, &disposition),
              ERROR_SUCCESS);
    EXPECT_EQ(disposition, DWORD(REG_CREATED_NEW_KEY));
    RegCloseKey(sub);
  }
  DWORD disposition = 0;
  ASSERT_EQ(RegCreateKeyExW(key_, W("B").c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &sub, &disposition),
            ERROR_SUCCESS);
  EXPECT_EQ(disposition, DWORD(REG_OPENED_EXISTING_KEY));
  RegCloseKey(sub);

  std::vector<WideString> names;
  for (DWORD i = 0;; ++i) {
    WCHAR name[256];
    DWORD length = 256;
    LONG rc = RegEnumKeyExW(key_, i, name, &length, nullptr, nullptr, nullptr, nullptr);
    if (rc == ERROR_NO_MORE_ITEMS) break;
    ASSERT_EQ(rc, ERROR_SUCCESS);
    EXPECT_EQ(length, 1u);
    names.push_back(name);
  }
  EXPECT_EQ(names, (std::vector<WideString>{W("A"), W("b"), W("c")}));

  DWORD subKeys = 0, maxSubKey = 0, values = 0;
  ASSERT_EQ(RegQueryInfoKeyW(key_, nullptr, nullptr, nullptr, &subKeys, &maxSubKey, nullptr, &values, nullptr,
                             nullptr, nullptr, nullptr),
            ERROR_SUCCESS);
  EXPECT_EQ(subKeys, 3u);
  EXPECT_EQ(maxSubKey, 1u);
  EXPECT_EQ(values, 0u);

  EXPECT_EQ(RegDeleteKeyW(key_, W("a").c_str()), ERROR_ACCESS_DENIED);  // it has a subkey
  ASSERT_EQ(RegOpenKeyExW(key_, W("c").c_str(), 0, KEY_ALL_ACCESS, &sub), ERROR_SUCCESS);
  EXPECT_EQ(RegDeleteKeyW(key_, W("c").c_str()), ERROR_SUCCESS);
  DWORD one = 1;
  EXPECT_EQ(RegSetValueExW(sub, W("x").c_str(), 0, REG_DWORD, reinterpret_cast<BYTE*>(&one), 4), ERROR_KEY_DELETED);
  RegCloseKey(sub);
}

TEST_F(RegistryConformance, ValuesEnumerateWithTheirNames) {
  DWORD n = 5;
  ASSERT_EQ(RegSetValueExW(key_, W("LongerName").c_str(), 0, REG_DWORD, reinterpret_cast<BYTE*>(&n), 4),
            ERROR_SUCCESS);
  WCHAR name[4];
  DWORD length = 4, type = 0, size = 0;
  EXPECT_EQ(RegEnumValueW(key_, 0, name, &length, nullptr, &type, nullptr, &size), ERROR_MORE_DATA);
  WCHAR big[32];
  length = 32;
  size = 4;
  DWORD data = 0;
  ASSERT_EQ(RegEnumValueW(key_, 0, big, &length, nullptr, &type, reinterpret_cast<BYTE*>(&data), &size),
            ERROR_SUCCESS);
  EXPECT_EQ(WideString(big), W("LongerName"));
  EXPECT_EQ(length, 10u);
  EXPECT_EQ(type, DWORD(REG_DWORD));
  EXPECT_EQ(data, 5u);
  length = 32;
  EXPECT_EQ(RegEnumValueW(key_, 1, big, &length, nullptr, &type, nullptr, nullptr), ERROR_NO_MORE_ITEMS);
  EXPECT_EQ(RegDeleteValueW(key_, W("longername").c_str()), ERROR_SUCCESS);
  EXPECT_EQ(RegDeleteValueW(key_, W("longername").c_str()), ERROR_FILE_NOT_FOUND);
}

TEST_F(RegistryConformance, AnsiFormsStoreWideStrings) {
  ASSERT_EQ(RegSetValueExA(key_, "text", 0, REG_SZ, reinterpret_cast<const BYTE*>("abc"), 4), ERROR_SUCCESS);
  BYTE wide[16] = {};
  DWORD size = sizeof wide, type = 0;
  ASSERT_EQ(RegQueryValueExW(key_, W("TEXT").c_str(), nullptr, &type, wide, &size), ERROR_SUCCESS);
  EXPECT_EQ(size, 8u);
  EXPECT_EQ(memcmp(wide, "a\0b\0c\0\0\0", 8), 0);
  char narrow[16] = {};
  size = sizeof narrow;
  ASSERT_EQ(RegQueryValueExA(key_, "text", nullptr, &type, reinterpret_cast<BYTE*>(narrow), &size), ERROR_SUCCESS);
  EXPECT_EQ(size, 4u);
  EXPECT_STREQ(narrow, "abc");
}

#ifndef _WIN32
// Makes the machine's user one who is not an administrator, for one scope. Only our machine
// can be switched; the conformance program otherwise calls the Windows API alone.
class NotAnAdministrator {
 public:
  NotAnAdministrator() {
    SimGetSystemIdentity(&saved_);
    SimSystemIdentity user = saved_;
    user.userIsAdmin = FALSE;
    ok_ = SimSetSystemIdentity(&user) != FALSE;
  }
  ~NotAnAdministrator() { SimSetSystemIdentity(&saved_); }
  bool ok() const { return ok_; }

 private:
  SimSystemIdentity saved_ = {};
  bool ok_ = false;
};
#endif

// A user who is not an administrator may read HKLM but not open or create its keys for
// writing; HKCU stays the user's own.
TEST(RegistryAccessConformance, MachineKeysRefuseWritingToAUser) {
#ifdef _WIN32
  GTEST_SKIP() << "Wine runs the program as an administrator, who may write HKLM; only our machine can drop that";
#else
  WideString name = W("Software\\ZemsTest\\") + W(std::to_string(GetCurrentProcessId()).c_str()) + W("-hklm");
  HKEY seed = nullptr;
  ASSERT_EQ(RegCreateKeyExW(HKEY_LOCAL_MACHINE, name.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &seed, nullptr),
            ERROR_SUCCESS);
  DWORD one = 1;
  EXPECT_EQ(RegSetValueExW(seed, W("v").c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&one), sizeof one),
            ERROR_SUCCESS);
  RegCloseKey(seed);
  {
    NotAnAdministrator user;
    ASSERT_TRUE(user.ok());
    const REGSAM writes[] = {KEY_WRITE, KEY_SET_VALUE, KEY_CREATE_SUB_KEY, KEY_ALL_ACCESS, KEY_READ | KEY_SET_VALUE,
                             DELETE, GENERIC_WRITE};
    for (REGSAM access : writes) {
      HKEY key = nullptr;
      EXPECT_EQ(RegOpenKeyExW(HKEY_LOCAL_MACHINE, name.c_str(), 0, access, &key), ERROR_ACCESS_DENIED) << access;
      EXPECT_EQ(RegCreateKeyExW(HKEY_LOCAL_MACHINE, name.c_str(), 0, nullptr, 0, access, nullptr, &key, nullptr),
                ERROR_ACCESS_DENIED)
          << access;
      EXPECT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, "Software", 0, access, &key), ERROR_ACCESS_DENIED) << access;
    }
    // A new key is not made either; a key that is not there stays "not found" when opened.
    HKEY key = nullptr;
    WideString sub = name + W("\\new");
    EXPECT_EQ(RegCreateKeyExW(HKEY_LOCAL_MACHINE, sub.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr),
              ERROR_ACCESS_DENIED);
    EXPECT_EQ(RegOpenKeyExW(HKEY_LOCAL_MACHINE, sub.c_str(), 0, KEY_READ, &key), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(RegOpenKeyExW(HKEY_LOCAL_MACHINE, sub.c_str(), 0, KEY_WRITE, &key), ERROR_FILE_NOT_FOUND);
    // Reading still works, through open and create alike.
    for (bool create : {false, true}) {
      key = nullptr;
      LONG rc = create ? RegCreateKeyExW(HKEY_LOCAL_MACHINE, name.c_str(), 0, nullptr, 0, KEY_READ, nullptr, &key,
                                         nullptr)
                       : RegOpenKeyExW(HKEY_LOCAL_MACHINE, name.c_str(), 0, KEY_READ, &key);
      ASSERT_EQ(rc, ERROR_SUCCESS) << create;
      DWORD value = 0, size = sizeof value, type = 0;
      EXPECT_EQ(RegQueryValueExW(key, W("v").c_str(), nullptr, &type, reinterpret_cast<BYTE*>(&value), &size),
                ERROR_SUCCESS);
      EXPECT_EQ(value, 1u);
      RegCloseKey(key);
    }
    // The user's own hive is writable.
    WideString mine = W("Software\\ZemsTest\\") + W(std::to_string(GetCurrentProcessId()).c_str()) + W("-user");
    ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, mine.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    RegCloseKey(key);
    EXPECT_EQ(DeleteTree(HKEY_CURRENT_USER, mine.c_str()), ERROR_SUCCESS);
  }
  EXPECT_EQ(DeleteTree(HKEY_LOCAL_MACHINE, name.c_str()), ERROR_SUCCESS);
#endif
}

TEST(SpoolerConformance, UnknownPrinterAndDriverFolder) {
  HANDLE h = nullptr;
  WideString name = W("ZEMS no such printer");
  EXPECT_FALSE(OpenPrinterW(&name[0], &h, nullptr));
  EXPECT_EQ(GetLastError(), DWORD(ERROR_INVALID_PRINTER_NAME));
  DWORD needed = 0;
  EXPECT_FALSE(GetPrinterDriverDirectoryW(nullptr, nullptr, 1, nullptr, 0, &needed));
  EXPECT_EQ(GetLastError(), DWORD(ERROR_INSUFFICIENT_BUFFER));
  std::vector<WCHAR> folder(needed / sizeof(WCHAR) + 1);
  ASSERT_TRUE(GetPrinterDriverDirectoryW(nullptr, nullptr, 1, reinterpret_cast<BYTE*>(folder.data()), needed,
                                         &needed));
  EXPECT_EQ(lstrcmpiW(folder.data(), W("C:\\WINDOWS\\system32\\spool\\drivers\\w32x86").c_str()), 0);
}

// A driver of three small files and one printer of it, added for one case and deleted after
// it. The names carry the process id, so runs that share a spooler do not meet.
class AddedPrinter {
 public:
  AddedPrinter() {
    WideString pid = W(std::to_string(GetCurrentProcessId()).c_str());
    WideString gr = folder_ / W("zgr.dll"), ui = folder_ / W("zui.dll"), data = folder_ / W("zemsdata.zdm");
    for (const WideString* file : {&gr, &ui, &data}) conformance::WriteBytes(*file, "x");
    driverName_ = W("ZEMS conformance driver ") + pid;
    WideString env = W("Windows NT x86");
    DRIVER_INFO_3W driver = {};
    driver.cVersion = 3;
    driver.pName = &driverName_[0];
    driver.pEnvironment = &env[0];
    driver.pDriverPath = &gr[0];
    driver.pConfigFile = &ui[0];
    driver.pDataFile = &data[0];
    if (!AddPrinterDriverW(nullptr, 3, reinterpret_cast<BYTE*>(&driver))) {
      ADD_FAILURE() << "AddPrinterDriverW failed: " << GetLastError();
      return;
    }
    name_ = W("ZEMS conformance printer ") + pid;
    port_ = W("LPT1:");
    processor_ = W("WinPrint");
    datatype_ = W("RAW");
    handle_ = AddPrinterW(nullptr, 2, reinterpret_cast<BYTE*>(Info()));
    if (!handle_) ADD_FAILURE() << "AddPrinterW failed: " << GetLastError();
  }
  ~AddedPrinter() {
    if (!handle_) return;
    EXPECT_TRUE(DeletePrinter(handle_));
    ClosePrinter(handle_);
  }
  AddedPrinter(const AddedPrinter&) = delete;
  AddedPrinter& operator=(const AddedPrinter&) = delete;
  HANDLE handle() const { return handle_; }
  // The record the printer was added with.
  PRINTER_INFO_2W* Info() {
    info_ = PRINTER_INFO_2W();
    info_.pPrinterName = &name_[0];
    info_.pPortName = &port_[0];
    info_.pDriverName = &driverName_[0];
    info_.pPrintProcessor = &processor_[0];
    info_.pDatatype = &datatype_[0];
    return &info_;
  }
  WideString& name() { return name_; }

 private:
  conformance::TempFolder folder_;
  WideString driverName_, name_, port_, processor_, datatype_;
  PRINTER_INFO_2W info_ = {};
  HANDLE handle_ = nullptr;
};

// A printer is added with its print processor and datatype, which the spooler keeps; a
// record without either is refused.
TEST(SpoolerConformance, PrinterNamesItsProcessorAndDatatype) {
  AddedPrinter printer;
  ASSERT_NE(printer.handle(), nullptr);
  DWORD needed = 0;
  GetPrinterW(printer.handle(), 2, nullptr, 0, &needed);
  ASSERT_GT(needed, DWORD(sizeof(PRINTER_INFO_2W)));
  std::vector<BYTE> buffer(needed);
  ASSERT_TRUE(GetPrinterW(printer.handle(), 2, buffer.data(), needed, &needed)) << GetLastError();
  const PRINTER_INFO_2W* info = reinterpret_cast<const PRINTER_INFO_2W*>(buffer.data());
  ASSERT_NE(info->pPrintProcessor, nullptr);
  ASSERT_NE(info->pDatatype, nullptr);
  EXPECT_EQ(lstrcmpiW(info->pPrintProcessor, W("WinPrint").c_str()), 0);
  EXPECT_EQ(lstrcmpiW(info->pDatatype, W("RAW").c_str()), 0);
  HANDLE opened = nullptr;
  ASSERT_TRUE(OpenPrinterW(&printer.name()[0], &opened, nullptr)) << GetLastError();
  ClosePrinter(opened);

  if (zems_test::UnderWine()) {
    GTEST_SKIP() << "Wine 8.0's spooler ends the process on a record without print processor or datatype";
  }
  const struct {
    const char* what;
    void (*damage)(PRINTER_INFO_2W*);
  } refused[] = {
      {"no print processor", [](PRINTER_INFO_2W* i) { i->pPrintProcessor = nullptr; }},
      {"no datatype", [](PRINTER_INFO_2W* i) { i->pDatatype = nullptr; }},
      {"neither", [](PRINTER_INFO_2W* i) { i->pPrintProcessor = i->pDatatype = nullptr; }},
  };
  WideString other = printer.name() + W(" 2");
  for (const auto& c : refused) {
    PRINTER_INFO_2W* info2 = printer.Info();
    info2->pPrinterName = &other[0];
    c.damage(info2);
    SetLastError(0);
    HANDLE h = AddPrinterW(nullptr, 2, reinterpret_cast<BYTE*>(info2));
    EXPECT_EQ(h, nullptr) << c.what;
    EXPECT_EQ(GetLastError(), DWORD(ERROR_INVALID_PARAMETER)) << c.what;
    if (h) {
      DeletePrinter(h);
      ClosePrinter(h);
    }
    EXPECT_FALSE(OpenPrinterW(&other[0], &h, nullptr)) << c.what << ": nothing was added";
  }
}

// Printer data by value name reads back with its type, and DeletePrinterDataW removes it.
TEST(SpoolerConformance, PrinterDataByValueName) {
  AddedPrinter printer;
  ASSERT_NE(printer.handle(), nullptr);
  WideString name = W("ZemsConformance");
  DWORD seven = 7;
  ASSERT_EQ(SetPrinterDataW(printer.handle(), &name[0], REG_DWORD, reinterpret_cast<BYTE*>(&seven), sizeof seven),
            DWORD(ERROR_SUCCESS));
  DWORD type = 0, value = 0, needed = 0;
  ASSERT_EQ(GetPrinterDataW(printer.handle(), &name[0], &type, reinterpret_cast<BYTE*>(&value), sizeof value, &needed),
            DWORD(ERROR_SUCCESS));
  EXPECT_EQ(type, DWORD(REG_DWORD));
  EXPECT_EQ(value, 7u);
  EXPECT_EQ(needed, DWORD(sizeof value));
  if (zems_test::UnderWine()) {
    GTEST_SKIP() << "Wine 8.0's spooler has no DeletePrinterDataW: its stub ends the process";
  }
  EXPECT_EQ(DeletePrinterDataW(printer.handle(), &name[0]), DWORD(ERROR_SUCCESS));
  EXPECT_EQ(GetPrinterDataW(printer.handle(), &name[0], &type, reinterpret_cast<BYTE*>(&value), sizeof value, &needed),
            DWORD(ERROR_FILE_NOT_FOUND));
}

// Printer data is changed only by an administrator: a user reads it but cannot set or delete
// it, whatever the printer handle's access.
TEST(SpoolerConformance, PrinterDataRefusesChangesByAUser) {
#ifdef _WIN32
  GTEST_SKIP() << "Wine runs the program as an administrator, who may change printer data; only our machine can drop "
                  "that";
#else
  AddedPrinter added;
  HANDLE printer = added.handle();
  ASSERT_NE(printer, nullptr);
  WideString key = W("PrinterDriverData"), name = W("Conformance");
  DWORD one = 1, two = 2;
  EXPECT_EQ(SetPrinterDataExW(printer, key.c_str(), name.c_str(), REG_DWORD, reinterpret_cast<BYTE*>(&one), sizeof one),
            DWORD(ERROR_SUCCESS));
  {
    NotAnAdministrator user;
    ASSERT_TRUE(user.ok());
    EXPECT_EQ(SetPrinterDataExW(printer, key.c_str(), name.c_str(), REG_DWORD, reinterpret_cast<BYTE*>(&two), sizeof two),
              DWORD(ERROR_ACCESS_DENIED));
    EXPECT_EQ(SetPrinterDataW(printer, &name[0], REG_DWORD, reinterpret_cast<BYTE*>(&two), sizeof two),
              DWORD(ERROR_ACCESS_DENIED));
    EXPECT_EQ(DeletePrinterDataExW(printer, key.c_str(), name.c_str()), DWORD(ERROR_ACCESS_DENIED));
    DWORD type = 0, value = 0, needed = 0;
    EXPECT_EQ(GetPrinterDataExW(printer, key.c_str(), name.c_str(), &type, reinterpret_cast<BYTE*>(&value), sizeof value,
                                &needed),
              DWORD(ERROR_SUCCESS));
    EXPECT_EQ(value, 1u) << "kept, and readable by the user";
  }
  EXPECT_EQ(DeletePrinterDataExW(printer, key.c_str(), name.c_str()), DWORD(ERROR_SUCCESS));
#endif
}

TEST(SystemConformance, VersionCallsAndConditionMasks) {
  OSVERSIONINFOW wrong = {};
  wrong.dwOSVersionInfoSize = sizeof wrong - 4;
  EXPECT_FALSE(GetVersionExW(&wrong));
  OSVERSIONINFOEXW ex = {};
  ex.dwOSVersionInfoSize = sizeof ex;
  ASSERT_TRUE(GetVersionExW(reinterpret_cast<OSVERSIONINFOW*>(&ex)));
  EXPECT_EQ(ex.dwPlatformId, DWORD(VER_PLATFORM_WIN32_NT));
  EXPECT_EQ(VerSetConditionMask(0, VER_MAJORVERSION, VER_GREATER_EQUAL), 0x18ull);
  EXPECT_EQ(VerSetConditionMask(0, VER_SUITENAME, VER_AND), 6ull << 18);
  // The machine's own version always satisfies "equal to itself".
  DWORDLONG mask = VerSetConditionMask(VerSetConditionMask(0, VER_MAJORVERSION, VER_EQUAL), VER_MINORVERSION, VER_EQUAL);
  EXPECT_TRUE(VerifyVersionInfoW(&ex, VER_MAJORVERSION | VER_MINORVERSION, mask));
  ex.dwMajorVersion += 1;
  EXPECT_FALSE(VerifyVersionInfoW(&ex, VER_MAJORVERSION | VER_MINORVERSION, mask));
  EXPECT_EQ(GetLastError(), DWORD(ERROR_OLD_WIN_VERSION));
}

// VER_SUITE_TERMINAL asked with VER_AND is answered from the suite mask GetVersionExW reports,
// whatever other suites are set: a workstation with Remote Desktop (0x0110) answers yes.
TEST(SystemConformance, SuiteTestAnswersFromTheSuiteMask) {
  auto terminalSuite = [] {
    OSVERSIONINFOEXW want = {};
    want.dwOSVersionInfoSize = sizeof want;
    want.wSuiteMask = VER_SUITE_TERMINAL;
    return VerifyVersionInfoW(&want, VER_SUITENAME, VerSetConditionMask(0, VER_SUITENAME, VER_AND)) != FALSE;
  };
  OSVERSIONINFOEXW reported = {};
  reported.dwOSVersionInfoSize = sizeof reported;
  ASSERT_TRUE(GetVersionExW(reinterpret_cast<OSVERSIONINFOW*>(&reported)));
  EXPECT_EQ(terminalSuite(), (reported.wSuiteMask & VER_SUITE_TERMINAL) != 0) << "suites " << reported.wSuiteMask;
#ifndef _WIN32
  // Wine cannot report Windows XP's suites with Remote Desktop; only our machine can be set so.
  SimSystemIdentity saved = {};
  SimGetSystemIdentity(&saved);
  const WORD suites[] = {VER_SUITE_TERMINAL | VER_SUITE_SINGLEUSERTS, VER_SUITE_TERMINAL, VER_SUITE_SINGLEUSERTS, 0};
  for (WORD suite : suites) {
    SimSystemIdentity machine = saved;
    machine.suiteMask = suite;
    ASSERT_TRUE(SimSetSystemIdentity(&machine));
    EXPECT_EQ(terminalSuite(), (suite & VER_SUITE_TERMINAL) != 0) << "suites " << suite;
  }
  SimSetSystemIdentity(&saved);
#endif
}

TEST(SystemConformance, MissingModuleAndUserName) {
  SetLastError(0);
  EXPECT_EQ(LoadLibraryW(W("zems_no_such_module.dll").c_str()), nullptr);
  EXPECT_EQ(GetLastError(), DWORD(ERROR_MOD_NOT_FOUND));
  WCHAR self[MAX_PATH];
  EXPECT_GT(GetModuleFileNameW(nullptr, self, MAX_PATH), 0u);
  DWORD size = 0;
  EXPECT_FALSE(GetUserNameW(nullptr, &size));
  EXPECT_EQ(GetLastError(), DWORD(ERROR_INSUFFICIENT_BUFFER));
  EXPECT_GT(size, 1u);
  std::vector<WCHAR> name(size);
  ASSERT_TRUE(GetUserNameW(name.data(), &size));
  EXPECT_EQ(DWORD(lstrlenW(name.data()) + 1), size);
}

}  // namespace
