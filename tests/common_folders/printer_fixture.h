// A machine with one driver and two printers, a local one and a connection to a server, for
// the settings-folder, language and driver-file tests.
#pragma once
#include <string>

#include "core/common/os_tests.h"
#include "core/context/driver_context.h"
#include "core/context/ui_state.h"
#include "core/system/terminal_server.h"
#include "platform/sim.h"
#include "platform/win32.h"
#include "support/machine_fixture.h"
#include "tests/common_ini/host_files.h"

namespace common_folders_test {

using namespace common_ini_test;

class PrinterTest : public zems_test::MachineTest {
 protected:
  void SetUp() override {
    MachineTest::SetUp();
    OsForgetCachedAnswers();  // the version answers are kept per process
    MakeFolder(OnC(Root(), "WINDOWS/system32"));
    DRIVER_INFO_3W driver = {};
    driver.cVersion = 3;
    driver.pName = Text(u"ZEMS Test");
    driver.pDriverPath = Text(u"zemsgr.dll");
    driver.pDataFile = Text(u"OV1BD172.ini");
    driver.pConfigFile = Text(u"zemsui.dll");
    driver.pHelpFile = Text(u"C:\\somewhere\\ZEMSGM.HLP");
    ASSERT_TRUE(AddPrinterDriverW(nullptr, 3, reinterpret_cast<LPBYTE>(&driver)));
    local_ = AddPrinter(u"Local", nullptr);
    remote_ = AddPrinter(u"\\\\SRV\\Remote", u"\\\\SRV");
    ASSERT_TRUE(local_ && remote_);
    localCtx_.printer = local_;
    localCtx_.ui = &localUi_;
    remoteCtx_.printer = remote_;
    remoteCtx_.ui = &remoteUi_;
  }
  void TearDown() override {
    ClosePrinter(local_);
    ClosePrinter(remote_);
    MachineTest::TearDown();
  }

  HANDLE AddPrinter(const char16_t* name, const char16_t* server) {
    PRINTER_INFO_2W info = {};
    info.pServerName = server ? Text(server) : nullptr;
    info.pPrinterName = Text(name);
    info.pDriverName = Text(u"ZEMS Test");
    info.pPortName = Text(u"LPT1:");
    HANDLE h = AddPrinterW(nullptr, 2, reinterpret_cast<LPBYTE>(&info));
    return h;
  }

  // The driver folder as a host path (where the spooler keeps the driver's files).
  std::string DriverFolderHost() { return OnC(Root(), "WINDOWS/system32/spool/drivers/w32x86/3"); }

  void SetRegistryFolder(const char16_t* value, DWORD type = REG_SZ, DWORD bytes = DWORD(-1)) {
    HKEY key = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExW(HKEY_LOCAL_MACHINE, TEXT("SOFTWARE\\ORVEL\\ZemsDrv"), 0, nullptr, 0,
                                             KEY_ALL_ACCESS, nullptr, &key, nullptr));
    if (bytes == DWORD(-1)) bytes = DWORD((std::u16string(value).size() + 1) * sizeof(WCHAR));
    ASSERT_EQ(ERROR_SUCCESS, RegSetValueExW(key, TEXT("_ZEMSDirectory"), 0, type,
                                            reinterpret_cast<const BYTE*>(value), bytes));
    RegCloseKey(key);
  }

  void SetPrinterText(HANDLE printer, const char16_t* name, const std::u16string& value, DWORD type = REG_SZ) {
    ASSERT_EQ(DWORD(ERROR_SUCCESS),
              SetPrinterDataW(printer, Text(name), type,
                              reinterpret_cast<LPBYTE>(const_cast<char16_t*>(value.c_str())),
                              DWORD((value.size() + 1) * sizeof(WCHAR))));
  }

  void UseStandIn(const char* dllName, const char* module) {
    ASSERT_TRUE(SimRegisterModule(dllName, (zems_test::BinDir() + "/" + module + ".so").c_str()));
  }

  void SetWindowsVersion(DWORD major, DWORD minor) {
    SimSystemIdentity identity;
    ASSERT_TRUE(SimGetSystemIdentity(&identity));
    identity.majorVersion = major;
    identity.minorVersion = minor;
    ASSERT_TRUE(SimSetSystemIdentity(&identity));
    OsForgetCachedAnswers();
  }

  static LPWSTR Text(const char16_t* s) { return const_cast<LPWSTR>(s); }

  HANDLE local_ = nullptr;
  HANDLE remote_ = nullptr;
  UiState localUi_ = {};
  UiState remoteUi_ = {};
  DriverContext localCtx_ = {};
  DriverContext remoteCtx_ = {};
};

}  // namespace common_folders_test
