// The machine's registry and spooler as other processes see them: state persists under the
// root, a change by another process is read back, and a printer installed by zemshost is
// complete for a second process.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <stdlib.h>
#include <string.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "platform/sim.h"
#include "platform/win32.h"
#include "support/machine_fixture.h"
#include "support/test_printer.h"

namespace {

using zems_test::MachineTest;

std::string ReadValue(HKEY key, const char16_t* name, DWORD* type = nullptr) {
  DWORD size = 0;
  if (RegQueryValueExW(key, name, nullptr, type, nullptr, &size) != ERROR_SUCCESS) return "<missing>";
  std::string data(size, '\0');
  EXPECT_EQ(RegQueryValueExW(key, name, nullptr, type, reinterpret_cast<LPBYTE>(&data[0]), &size), ERROR_SUCCESS);
  return data;
}

std::u16string PrinterText(HANDLE h, const char16_t* key, const char16_t* value) {
  WCHAR buffer[200] = {};
  DWORD type = 0, needed = 0;
  if (GetPrinterDataExW(h, key, value, &type, reinterpret_cast<LPBYTE>(buffer), sizeof buffer - 2, &needed) !=
      ERROR_SUCCESS)
    return u"<missing>";
  return buffer;
}

class MachineStateTest : public MachineTest {};

TEST_F(MachineStateTest, RegistryValuesSurviveAReloadWithTheirExactBytes) {
  HKEY key;
  ASSERT_EQ(RegCreateKeyExW(HKEY_LOCAL_MACHINE, u"SOFTWARE\\ZemsTest\\Bytes", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                            &key, nullptr),
            ERROR_SUCCESS);
  const struct {
    const char16_t* name;
    DWORD type;
    std::string bytes;
  } cases[] = {
      {u"unterminated", REG_SZ, std::string("a\0b\0", 4)},
      {u"expand", REG_EXPAND_SZ, std::string("%\0X\0%\0\0\0", 8)},
      {u"multi", REG_MULTI_SZ, std::string("a\0\0\0b\0\0\0\0\0", 10)},
      {u"dword", REG_DWORD, std::string("\x01\x02\x03\x04", 4)},
      {u"binary with zeros and spaces", REG_BINARY, std::string("\0 %\n\xff", 5)},
      {u"", REG_SZ, std::string("d\0\0\0", 4)},
      {u"empty", REG_BINARY, std::string()},
  };
  for (const auto& c : cases)
    ASSERT_EQ(RegSetValueExW(key, c.name, 0, c.type, reinterpret_cast<const BYTE*>(c.bytes.data()),
                             DWORD(c.bytes.size())),
              ERROR_SUCCESS);
  // Dropping the cached hive makes the next call read the file.
  SimSetMachineRoot(Root().c_str());
  for (const auto& c : cases) {
    DWORD type = 0;
    EXPECT_EQ(ReadValue(key, c.name, &type), c.bytes);
    EXPECT_EQ(type, c.type);
  }
  RegCloseKey(key);
}

// Windows' depth limits: a tree is at most 512 levels deep and one call creates at most 32.
// A refused path leaves the hive as it was, and the hive file grows with the number of keys,
// not with the square of their depth.
TEST_F(MachineStateTest, KeyDepthHasWindowsLimits) {
  HKEY printers;
  ASSERT_EQ(RegCreateKeyExW(HKEY_LOCAL_MACHINE, u"SYSTEM\\Print", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &printers,
                            nullptr),
            ERROR_SUCCESS);
  DWORD one = 1;
  ASSERT_EQ(RegSetValueExW(printers, u"kept", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&one), 4), ERROR_SUCCESS);
  RegCloseKey(printers);
  auto levels = [](int count, const std::u16string& name) {
    std::u16string path;
    for (int i = 0; i < count; ++i) path += (i ? u"\\" : u"") + name;
    return path;
  };
  HKEY key = nullptr;
  // 40,000 levels in one call, and 33: refused, nothing made.
  EXPECT_EQ(RegCreateKeyExW(HKEY_LOCAL_MACHINE, levels(40000, u"d").c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                            &key, nullptr),
            ERROR_INVALID_PARAMETER);
  EXPECT_EQ(RegCreateKeyExW(HKEY_LOCAL_MACHINE, levels(33, u"d").c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                            nullptr),
            ERROR_INVALID_PARAMETER);
  EXPECT_EQ(RegOpenKeyExW(HKEY_LOCAL_MACHINE, u"d", 0, KEY_READ, &key), ERROR_FILE_NOT_FOUND);
  // 512 levels of long names, 32 per call; the 513th is refused.
  const std::u16string name(200, u'n');
  HKEY at = HKEY_LOCAL_MACHINE;
  for (int call = 0; call < 16; ++call) {
    HKEY next = nullptr;
    ASSERT_EQ(RegCreateKeyExW(at, levels(32, name).c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &next, nullptr),
              ERROR_SUCCESS)
        << "call " << call;
    if (at != HKEY_LOCAL_MACHINE) RegCloseKey(at);
    at = next;
  }
  EXPECT_EQ(RegCreateKeyExW(at, u"deeper", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr),
            ERROR_INVALID_PARAMETER);
  RegCloseKey(at);
  // 512 keys of 200 characters: linear is about 110 KB, the square of the depth 26 MB.
  EXPECT_LT(std::filesystem::file_size(std::filesystem::path(Root()) / "registry" / "HKLM.txt"), 1u << 20);
  // Read again from the file: the other keys are all there.
  SimSetMachineRoot(Root().c_str());
  ASSERT_EQ(RegOpenKeyExW(HKEY_LOCAL_MACHINE, u"SYSTEM\\Print", 0, KEY_READ, &key), ERROR_SUCCESS);
  EXPECT_EQ(ReadValue(key, u"kept"), std::string("\x01\0\0\0", 4));
  RegCloseKey(key);
  ASSERT_EQ(RegOpenKeyExW(HKEY_LOCAL_MACHINE, levels(32, name).c_str(), 0, KEY_READ, &key), ERROR_SUCCESS);
  RegCloseKey(key);
}

// Key names the hive writer cannot write back (an escaped '\\' in a name, an empty part of a
// path) are not read either: their values never move to another key after the next write.
TEST_F(MachineStateTest, HiveKeysThatCannotBeWrittenBackAreSkipped) {
  std::filesystem::create_directories(std::filesystem::path(Root()) / "registry");
  std::ofstream(std::filesystem::path(Root()) / "registry" / "HKLM.txt", std::ios::binary)
      << "ZEMSREG 1\n"
         "K 0 :\n"
         "K 0 :SOFTWARE\n"
         "K 0 :SOFTWARE\\A%5CB\n"
         "V 4 =01000000 :escaped\n"
         "K 0 :SOFTWARE\\\\C\n"
         "V 4 =02000000 :emptyPart\n"
         "K 0 :SOFTWARE\\D\\\n"
         "V 4 =03000000 :trailing\n"
         "K 0 :SOFTWARE\\Good\n"
         "V 4 =04000000 :kept\n";
  auto subkeys = [](const char16_t* path) {
    std::vector<std::u16string> names;
    HKEY key;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, path, 0, KEY_READ, &key) != ERROR_SUCCESS) return names;
    WCHAR name[256];
    DWORD length = 256;
    for (DWORD i = 0; RegEnumKeyExW(key, i, name, &length, nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
         ++i, length = 256)
      names.push_back(name);
    RegCloseKey(key);
    return names;
  };
  auto valueCount = [](const char16_t* path) {
    HKEY key;
    DWORD values = 0;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, path, 0, KEY_READ, &key) != ERROR_SUCCESS) return DWORD(99);
    RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &values, nullptr, nullptr, nullptr,
                     nullptr);
    RegCloseKey(key);
    return values;
  };
  for (int pass = 0; pass < 2; ++pass) {
    SCOPED_TRACE(pass == 0 ? "as read" : "after a write and a fresh read");
    EXPECT_EQ(subkeys(u"SOFTWARE"), (std::vector<std::u16string>{u"Good"}));
    EXPECT_EQ(valueCount(u"SOFTWARE"), 0u);
    EXPECT_EQ(valueCount(u"SOFTWARE\\Good"), 1u);
    HKEY key;
    ASSERT_EQ(RegCreateKeyExW(HKEY_LOCAL_MACHINE, u"SOFTWARE\\New", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                              nullptr),
              ERROR_SUCCESS);
    RegCloseKey(key);
    ASSERT_EQ(RegDeleteKeyW(HKEY_LOCAL_MACHINE, u"SOFTWARE\\New"), ERROR_SUCCESS);
    SimSetMachineRoot(Root().c_str());
  }
}

TEST_F(MachineStateTest, ChangesOfAnotherProcessAreSeenAtOnce) {
  HKEY key;
  ASSERT_EQ(RegCreateKeyExW(HKEY_LOCAL_MACHINE, u"SOFTWARE\\ORVEL\\ZemsDrv", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                            &key, nullptr),
            ERROR_SUCCESS);
  ASSERT_EQ(ReadValue(key, u"_ZEMSDirectory"), "<missing>");  // this process now holds the hive
  ASSERT_EQ(zems_test::RunHost("machine reg set 'HKLM\\SOFTWARE\\ORVEL\\ZemsDrv' _ZEMSDirectory --type sz 'D:\\s'"), 0);
  EXPECT_EQ(ReadValue(key, u"_ZEMSDirectory"), std::string("D\0:\0\\\0s\0\0\0", 10));
  ASSERT_EQ(zems_test::RunHost("machine system --version 6.0.6001 --admin no --user Ann"), 0);
  OSVERSIONINFOW v = {};
  v.dwOSVersionInfoSize = sizeof v;
  ASSERT_TRUE(GetVersionExW(&v));
  EXPECT_EQ(v.dwMajorVersion, 6u);
  EXPECT_EQ(v.dwBuildNumber, 6001u);
  WCHAR user[20];
  DWORD size = 20;
  ASSERT_TRUE(GetUserNameW(user, &size));
  EXPECT_EQ(std::u16string(user), u"Ann");
  RegCloseKey(key);
}

TEST_F(MachineStateTest, ConcurrentWritersOfOneHiveLoseNothing) {
  // Eight processes write at once; each write re-reads the hive under the lock, so none of
  // them replaces the file with a copy that lacks another's value.
  std::string command = "cd '" + Root() + "' && for i in 1 2 3 4 5 6 7 8; do ZEMS_MACHINE_ROOT='" + Root() +
                        "' '" + zems_test::BinDir() +
                        "/zemshost' machine reg set 'HKCU\\Software\\ZemsTest' v$i --type dword $i "
                        ">/dev/null 2>&1 & done; wait";
  ASSERT_EQ(system(command.c_str()), 0);
  HKEY key;
  ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, u"Software\\ZemsTest", 0, KEY_READ, &key), ERROR_SUCCESS);
  for (int i = 1; i <= 8; ++i) {
    std::u16string name = u"v" + std::u16string(1, char16_t(u'0' + i));
    DWORD value = 0, size = 4;
    EXPECT_EQ(RegQueryValueExW(key, name.c_str(), nullptr, nullptr, reinterpret_cast<LPBYTE>(&value), &size),
              ERROR_SUCCESS)
        << i;
    EXPECT_EQ(value, DWORD(i));
  }
  RegCloseKey(key);
}

TEST_F(MachineStateTest, PrinterInstalledByTheHostIsCompleteForAnotherProcess) {
  std::string model = Root() + "/OV1BD172.ini";
  std::ofstream(model) << "*FileVersion: \"6.63\"\n";
  ASSERT_EQ(zems_test::RunHost("machine install --model '" + model + "' --printer 'Office 1' --attributes 0x840"), 0);
  ASSERT_EQ(zems_test::RunHost("machine data set 'Office 1' ZEMSPrinterName --type sz 'Office 1'"), 0);
  ASSERT_EQ(zems_test::RunHost("machine data set 'Office 1' AdminChange --type dword 1"), 0);

  HANDLE h = nullptr;
  std::u16string name = u"OFFICE 1";  // printer names compare without case
  ASSERT_TRUE(OpenPrinterW(&name[0], &h, nullptr));
  DWORD needed = 0;
  EXPECT_FALSE(GetPrinterW(h, 2, nullptr, 0, &needed));
  EXPECT_EQ(GetLastError(), DWORD(ERROR_INSUFFICIENT_BUFFER));
  std::vector<BYTE> info(needed);
  ASSERT_TRUE(GetPrinterW(h, 2, info.data(), needed, &needed));
  const PRINTER_INFO_2W* p2 = reinterpret_cast<const PRINTER_INFO_2W*>(info.data());
  EXPECT_EQ(std::u16string(p2->pPrinterName), u"Office 1");
  EXPECT_EQ(p2->pServerName, nullptr);
  EXPECT_EQ(p2->Attributes, 0x840u);

  EXPECT_EQ(PrinterText(h, u"PrinterDriverData", u"ZEMSPrinterName"), u"Office 1");
  DWORD adminChange = 0, type = 0;
  EXPECT_EQ(GetPrinterDataW(h, const_cast<LPWSTR>(u"AdminChange"), &type, reinterpret_cast<LPBYTE>(&adminChange), 4,
                            &needed),
            DWORD(ERROR_SUCCESS));
  EXPECT_EQ(type, DWORD(REG_DWORD));
  EXPECT_EQ(adminChange, 1u);

  needed = 0;
  EXPECT_FALSE(GetPrinterDriverW(h, nullptr, 3, nullptr, 0, &needed));
  EXPECT_EQ(GetLastError(), DWORD(ERROR_INSUFFICIENT_BUFFER));
  std::vector<BYTE> driver(needed);
  ASSERT_TRUE(GetPrinterDriverW(h, nullptr, 3, driver.data(), needed, &needed));
  const DRIVER_INFO_3W* d3 = reinterpret_cast<const DRIVER_INFO_3W*>(driver.data());
  const std::u16string folder = u"C:\\WINDOWS\\system32\\spool\\drivers\\w32x86\\3\\";
  EXPECT_EQ(std::u16string(d3->pDriverPath), folder + u"zemsgr.dll");
  EXPECT_EQ(std::u16string(d3->pConfigFile), folder + u"zemsui.dll");
  EXPECT_EQ(std::u16string(d3->pDataFile), folder + u"OV1BD172.ini");
  EXPECT_EQ(std::u16string(d3->pDependentFiles), folder + u"zemsexc.dll");
  for (const WCHAR* file : {d3->pDriverPath, d3->pConfigFile, d3->pDataFile})
    EXPECT_TRUE(std::ifstream(zems_test::HostPath(std::string(file, file + std::u16string(file).size())))) << "file";

  // The driver's own DLL loads from its path in the driver folder.
  HMODULE ui = LoadLibraryW(d3->pConfigFile);
  ASSERT_NE(ui, nullptr) << GetLastError();
  EXPECT_NE(GetProcAddress(ui, "DllMain"), nullptr);
  WCHAR path[MAX_PATH];
  EXPECT_EQ(GetModuleFileNameW(ui, path, MAX_PATH), DWORD(std::u16string(d3->pConfigFile).size()));
  EXPECT_TRUE(FreeLibrary(ui));
  ClosePrinter(h);
}

TEST_F(MachineStateTest, PrinterDataKeepsTypeAndBytesAndEnumerates) {
  HANDLE h = zems_test::AddTestPrinter(u"P");
  ASSERT_NE(h, nullptr);
  BYTE raw[3] = {'a', 0, 'b'};  // a string value without terminator stays so
  ASSERT_EQ(SetPrinterDataW(h, const_cast<LPWSTR>(u"Odd"), REG_SZ, raw, 3), DWORD(ERROR_SUCCESS));
  ASSERT_EQ(SetPrinterDataExW(h, u"DsSpooler", u"shortServerName", REG_SZ, (LPBYTE)u"SRV", 8), DWORD(ERROR_SUCCESS));
  BYTE got[8] = {};
  DWORD type = 0, needed = 0;
  EXPECT_EQ(GetPrinterDataW(h, const_cast<LPWSTR>(u"Odd"), &type, got, 2, &needed), DWORD(ERROR_MORE_DATA));
  EXPECT_EQ(needed, 3u);
  EXPECT_EQ(GetPrinterDataW(h, const_cast<LPWSTR>(u"Odd"), &type, got, sizeof got, &needed), DWORD(ERROR_SUCCESS));
  EXPECT_EQ(memcmp(got, raw, 3), 0);
  EXPECT_EQ(type, DWORD(REG_SZ));
  // The plain forms see only PrinterDriverData; the Ex forms see other keys.
  EXPECT_EQ(GetPrinterDataW(h, const_cast<LPWSTR>(u"shortServerName"), &type, got, sizeof got, &needed),
            DWORD(ERROR_FILE_NOT_FOUND));
  EXPECT_EQ(PrinterText(h, u"DsSpooler", u"shortServerName"), u"SRV");
  EXPECT_EQ(PrinterText(h, u"NoSuchKey", u"shortServerName"), u"<missing>");

  DWORD nameBytes = 0, dataBytes = 0;
  ASSERT_EQ(EnumPrinterDataW(h, 0, nullptr, 0, &nameBytes, &type, nullptr, 0, &dataBytes), DWORD(ERROR_SUCCESS));
  EXPECT_EQ(nameBytes, 8u);  // "Odd" and its terminator
  EXPECT_EQ(dataBytes, 3u);
  WCHAR name[16];
  ASSERT_EQ(EnumPrinterDataW(h, 0, name, sizeof name, &nameBytes, &type, got, sizeof got, &dataBytes),
            DWORD(ERROR_SUCCESS));
  EXPECT_EQ(std::u16string(name), u"Odd");
  EXPECT_EQ(EnumPrinterDataW(h, 1, name, sizeof name, &nameBytes, &type, got, sizeof got, &dataBytes),
            DWORD(ERROR_NO_MORE_ITEMS));
  EXPECT_EQ(DeletePrinterDataW(h, const_cast<LPWSTR>(u"Odd")), DWORD(ERROR_SUCCESS));
  EXPECT_EQ(DeletePrinterDataW(h, const_cast<LPWSTR>(u"Odd")), DWORD(ERROR_FILE_NOT_FOUND));
  ClosePrinter(h);
}

TEST_F(MachineStateTest, StoredDevmodeAndRenameKeepThePrinterData) {
  HANDLE h = zems_test::AddTestPrinter(u"Before");
  ASSERT_NE(h, nullptr);
  std::vector<BYTE> dm(sizeof(DEVMODEW) + 16);
  DEVMODEW* devmode = reinterpret_cast<DEVMODEW*>(dm.data());
  devmode->dmSize = sizeof(DEVMODEW);
  devmode->dmDriverExtra = 16;
  devmode->dmCopies = 7;
  dm.back() = 0x5A;
  PRINTER_INFO_8W level8 = {devmode};
  ASSERT_TRUE(SetPrinterW(h, 8, reinterpret_cast<LPBYTE>(&level8), 0));
  DWORD one = 1;
  ASSERT_EQ(SetPrinterDataW(h, const_cast<LPWSTR>(u"Mark"), REG_DWORD, reinterpret_cast<LPBYTE>(&one), 4),
            DWORD(ERROR_SUCCESS));

  DWORD needed = 0;
  GetPrinterW(h, 2, nullptr, 0, &needed);
  std::vector<BYTE> info(needed);
  ASSERT_TRUE(GetPrinterW(h, 2, info.data(), needed, &needed));
  PRINTER_INFO_2W p2 = *reinterpret_cast<PRINTER_INFO_2W*>(info.data());
  ASSERT_NE(p2.pDevMode, nullptr);
  EXPECT_EQ(p2.pDevMode->dmCopies, 7);
  EXPECT_EQ(reinterpret_cast<BYTE*>(p2.pDevMode)[sizeof(DEVMODEW) + 15], 0x5A);
  std::u16string newName = u"After";
  p2.pPrinterName = &newName[0];
  ASSERT_TRUE(SetPrinterW(h, 2, reinterpret_cast<LPBYTE>(&p2), 0));

  HANDLE old = nullptr, renamed = nullptr;
  std::u16string before = u"Before";
  EXPECT_FALSE(OpenPrinterW(&before[0], &old, nullptr));
  EXPECT_EQ(GetLastError(), DWORD(ERROR_INVALID_PRINTER_NAME));
  ASSERT_TRUE(OpenPrinterW(&newName[0], &renamed, nullptr));
  DWORD mark = 0, type = 0;
  EXPECT_EQ(GetPrinterDataW(renamed, const_cast<LPWSTR>(u"Mark"), &type, reinterpret_cast<LPBYTE>(&mark), 4, &needed),
            DWORD(ERROR_SUCCESS));
  EXPECT_EQ(mark, 1u);
  ClosePrinter(renamed);
  ClosePrinter(h);
}

TEST_F(MachineStateTest, PrinterTextsFollowingAnOddSizedDevmodeAreAligned) {
  HANDLE h = zems_test::AddTestPrinter(u"Odd");
  ASSERT_NE(h, nullptr);
  for (WORD extra : {WORD(0), WORD(1), WORD(3)}) {
    std::vector<BYTE> dm(sizeof(DEVMODEW) + extra);
    DEVMODEW* devmode = reinterpret_cast<DEVMODEW*>(dm.data());
    devmode->dmSize = sizeof(DEVMODEW);
    devmode->dmDriverExtra = extra;
    PRINTER_INFO_8W level8 = {devmode};
    ASSERT_TRUE(SetPrinterW(h, 8, reinterpret_cast<LPBYTE>(&level8), 0));
    DWORD needed = 0;
    GetPrinterW(h, 2, nullptr, 0, &needed);
    std::vector<BYTE> info(needed);
    ASSERT_TRUE(GetPrinterW(h, 2, info.data(), needed, &needed));
    const PRINTER_INFO_2W* p2 = reinterpret_cast<const PRINTER_INFO_2W*>(info.data());
    for (const WCHAR* text : {p2->pPrinterName, p2->pPortName, p2->pDriverName, p2->pParameters}) {
      ASSERT_NE(text, nullptr);
      EXPECT_EQ(reinterpret_cast<uintptr_t>(text) % sizeof(WCHAR), 0u) << "driver extra " << extra;
    }
    EXPECT_EQ(std::u16string(p2->pPrinterName), u"Odd");
  }
  ClosePrinter(h);
}

// A stored DEVMODE is handed out (levels 2 and 8) only when its header is plausible and the
// bytes it claims were all stored: readers size it from that header.
TEST_F(MachineStateTest, StoredDevmodeWithAnImplausibleHeaderIsNotHandedOut) {
  HANDLE h = zems_test::AddTestPrinter(u"Short");
  ASSERT_NE(h, nullptr);
  const WORD kFull = sizeof(DEVMODEW);
  const struct {
    WORD size;         // dmSize of the header
    WORD driverExtra;  // dmDriverExtra of the header
    size_t stored;     // bytes stored
    bool handedOut;
  } cases[] = {
      {kFull, 0, sizeof(DEVMODEW), true},
      {kFull, 8, sizeof(DEVMODEW) + 8, true},
      {kFull, 8, sizeof(DEVMODEW) + 12, true},
      {kFull, 8, sizeof(DEVMODEW) + 7, false},
      {kFull, 0, sizeof(DEVMODEW) - 2, false},
      {2, 0xFFFF, sizeof(DEVMODEW) + 16, false},  // too small a header, however much is stored
      {0, 0, sizeof(DEVMODEW), false},
      {2, 0, sizeof(DEVMODEW), false},
      {kFull, 0xFFFF, sizeof(DEVMODEW) + 16, false},
  };
  HKEY key = nullptr;
  ASSERT_EQ(RegOpenKeyExW(HKEY_LOCAL_MACHINE, u"SYSTEM\\CurrentControlSet\\Control\\Print\\Printers\\Short", 0,
                          KEY_ALL_ACCESS, &key),
            ERROR_SUCCESS);
  for (const auto& c : cases) {
    std::vector<BYTE> dm(c.stored + 16);
    DEVMODEW* devmode = reinterpret_cast<DEVMODEW*>(dm.data());
    devmode->dmSize = c.size;
    devmode->dmDriverExtra = c.driverExtra;
    ASSERT_EQ(RegSetValueExW(key, u"Default DevMode", 0, REG_BINARY, dm.data(), DWORD(c.stored)), ERROR_SUCCESS);
    for (DWORD level : {2u, 8u}) {
      DWORD needed = 0;
      GetPrinterW(h, level, nullptr, 0, &needed);
      std::vector<BYTE> info(needed);
      ASSERT_TRUE(GetPrinterW(h, level, info.data(), needed, &needed));
      const DEVMODEW* handed = level == 2 ? reinterpret_cast<const PRINTER_INFO_2W*>(info.data())->pDevMode
                                          : reinterpret_cast<const PRINTER_INFO_8W*>(info.data())->pDevMode;
      EXPECT_EQ(handed != nullptr, c.handedOut)
          << "level " << level << ": " << c.size << " + " << c.driverExtra << " / " << c.stored;
      if (handed) {
        EXPECT_LE(reinterpret_cast<const BYTE*>(handed) + handed->dmSize + handed->dmDriverExtra,
                  info.data() + info.size());
      }
    }
  }
  RegCloseKey(key);
  ClosePrinter(h);
}

// A shortcut of the machine reports itself on stderr when ZEMS_SIM_TRACE asks for the
// "simplified" channel: once per place in the machine, silent otherwise.
TEST_F(MachineStateTest, SimplifiedCallsReportThemselvesWhenAsked) {
  HANDLE h = zems_test::AddTestPrinter(u"Traced");
  ASSERT_NE(h, nullptr);
  ClosePrinter(h);
  WCHAR server[] = u"\\\\elsewhere";
  auto enumerate = [&] {
    DWORD needed = 0, count = 0;
    EnumPrintersW(PRINTER_ENUM_LOCAL, server, 4, nullptr, 0, &needed, &count);
    std::vector<BYTE> buffer(needed);
    EXPECT_TRUE(EnumPrintersW(PRINTER_ENUM_LOCAL, server, 4, buffer.data(), needed, &needed, &count));
    EXPECT_EQ(count, 1u);  // the printer of this machine, though another server was named
  };
  std::string log = Root() + "/stderr.txt";
  fflush(stderr);
  int saved = dup(2);
  int file = open(log.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
  ASSERT_GE(file, 0);
  dup2(file, 2);
  close(file);
  unsetenv("ZEMS_SIM_TRACE");
  enumerate();
  fflush(stderr);
  const auto silent = std::filesystem::file_size(log);
  setenv("ZEMS_SIM_TRACE", "kernel,simplified", 1);
  enumerate();
  enumerate();
  unsetenv("ZEMS_SIM_TRACE");
  fflush(stderr);
  dup2(saved, 2);
  close(saved);
  std::ifstream in(log);
  std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  EXPECT_EQ(silent, 0u) << "reported without being asked";
  // Other shortcuts the calls pass through may report too, each once.
  const std::string line = "simplified: EnumPrintersW lists every printer whatever name it is given\n";
  size_t at = text.find(line);
  ASSERT_NE(at, std::string::npos) << text;
  EXPECT_EQ(text.find(line, at + 1), std::string::npos) << text;
}

TEST_F(MachineStateTest, SpoolerRefusesWhatWindowsRefuses) {
  HANDLE h = nullptr;
  std::u16string missing = u"Nobody";
  EXPECT_FALSE(OpenPrinterW(&missing[0], &h, nullptr));
  EXPECT_EQ(GetLastError(), DWORD(ERROR_INVALID_PRINTER_NAME));
  h = zems_test::AddTestPrinter(u"P");
  ASSERT_NE(h, nullptr);
  DWORD needed = 0;
  BYTE small[8];
  EXPECT_FALSE(GetPrinterW(h, 3, small, sizeof small, &needed));
  EXPECT_EQ(GetLastError(), DWORD(ERROR_INVALID_LEVEL));
  EXPECT_FALSE(GetPrinterW(h, 2, small, sizeof small, &needed));
  EXPECT_EQ(GetLastError(), DWORD(ERROR_INSUFFICIENT_BUFFER));
  EXPECT_FALSE(GetPrinterDriverW(h, const_cast<LPWSTR>(u"Windows 4.0"), 3, nullptr, 0, &needed));
  EXPECT_EQ(GetLastError(), DWORD(ERROR_INVALID_ENVIRONMENT));
  WCHAR dir[MAX_PATH];
  ASSERT_TRUE(GetPrinterDriverDirectoryW(nullptr, nullptr, 1, reinterpret_cast<LPBYTE>(dir), sizeof dir, &needed));
  EXPECT_EQ(std::u16string(dir), u"C:\\WINDOWS\\system32\\spool\\drivers\\w32x86");
  ClosePrinter(h);
  EXPECT_FALSE(ClosePrinter(h));
  EXPECT_EQ(GetPrinterDataW(h, const_cast<LPWSTR>(u"x"), nullptr, nullptr, 0, &needed), DWORD(ERROR_INVALID_HANDLE));
}

TEST_F(MachineStateTest, RefusedInstallLeavesTheMachineUntouched) {
  std::string model = Root() + "/OV1BD172.ini";
  std::ofstream(model) << "*FileVersion: \"6.63\"\n";
  for (const char* arguments : {"--attributes many", "--attributes 0x100000000", "--extra /nonexistent/extra.ini"}) {
    EXPECT_NE(zems_test::RunHost("machine install --model '" + model + "' " + arguments), 0);
    HKEY drivers = nullptr;
    EXPECT_EQ(RegOpenKeyExW(HKEY_LOCAL_MACHINE,
                            u"SYSTEM\\CurrentControlSet\\Control\\Print\\Environments\\Windows NT x86\\Drivers\\"
                            u"Version-3\\ORVEL ALTEN KV310 ZEMS",
                            0, KEY_READ, &drivers),
              ERROR_FILE_NOT_FOUND)
        << arguments;
    EXPECT_FALSE(std::ifstream(zems_test::HostPath("C:\\WINDOWS\\system32\\spool\\drivers\\w32x86\\3\\zemsgr.dll")))
        << arguments;
  }
}

TEST_F(MachineStateTest, HostErrorsAreOneLineAndANonZeroExit) {
  const char* const bad[] = {
      "machine bogus-command",
      "machine install",
      "machine install --model /nonexistent/model.zmd",
      "machine data set Nobody X --type sz x",
      "machine reg set 'HKLM\\SOFTWARE\\Z' X --type dword twelve",
      "machine reg get 'HKXX\\SOFTWARE' X",
      "machine system --admin maybe",
      "machine system --version 6",
      "machine list --unknown-option 1",
  };
  for (const char* arguments : bad) {
    std::string command = "ZEMS_MACHINE_ROOT='" + Root() + "' '" + zems_test::BinDir() + "/zemshost' " + arguments +
                          " 2>&1 >/dev/null; echo \"rc=$?\"";
    FILE* p = popen(command.c_str(), "r");
    ASSERT_NE(p, nullptr);
    std::string output;
    char buffer[256];
    while (fgets(buffer, sizeof buffer, p)) output += buffer;
    pclose(p);
    size_t rc = output.rfind("rc=");
    ASSERT_NE(rc, std::string::npos) << arguments;
    EXPECT_NE(output.substr(rc), "rc=0\n") << arguments;
    std::string errors = output.substr(0, rc);
    EXPECT_EQ(std::count(errors.begin(), errors.end(), '\n'), 1) << arguments << ": " << errors;
  }
}

}  // namespace
