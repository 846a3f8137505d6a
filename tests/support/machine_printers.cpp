#include "support/machine_printers.h"

#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/wait.h>

#include <filesystem>
#include <fstream>

#include "platform/sim.h"
#include "support/machine_fixture.h"

namespace zems_test {

const char16_t kTestDriverName[] = u"ORVEL ALTEN KV310 ZEMS";

HANDLE AddTestPrinter(const std::u16string& name, const std::u16string& server, DWORD attributes) {
  std::u16string driverName = kTestDriverName, gr = u"zemsgr.dll", data = u"OV1BD172.ini", ui = u"zemsui.dll",
                 help = u"ZEMSHLUS.HLP", deps = std::u16string(u"zemsexc.dll") + u'\0' + u'\0';
  DRIVER_INFO_3W driver = {};
  driver.cVersion = 3;
  driver.pName = &driverName[0];
  driver.pDriverPath = &gr[0];
  driver.pDataFile = &data[0];
  driver.pConfigFile = &ui[0];
  driver.pHelpFile = &help[0];
  driver.pDependentFiles = &deps[0];
  EXPECT_TRUE(AddPrinterDriverW(nullptr, 3, reinterpret_cast<LPBYTE>(&driver))) << GetLastError();
  std::u16string printerName = name, port = u"LPT1:", serverName = server;
  PRINTER_INFO_2W info = {};
  info.pServerName = serverName.empty() ? nullptr : &serverName[0];
  info.pPrinterName = &printerName[0];
  info.pPortName = &port[0];
  info.pDriverName = &driverName[0];
  info.Attributes = attributes;
  HANDLE h = AddPrinterW(nullptr, 2, reinterpret_cast<LPBYTE>(&info));
  EXPECT_NE(h, nullptr) << "AddPrinterW failed with " << GetLastError();
  return h;
}

std::string HostPath(const std::string& windowsPath) {
  std::string p = windowsPath;
  for (auto& c : p)
    if (c == '\\') c = '/';
  char drive = char(tolower(static_cast<unsigned char>(p[0])));
  return std::string(SimMachineRoot()) + "/" + drive + p.substr(2);
}

bool WriteMachineFile(const std::string& windowsPath, const std::string& contents) {
  std::string host = HostPath(windowsPath);
  std::error_code ec;
  std::filesystem::create_directories(std::filesystem::path(host).parent_path(), ec);
  std::ofstream out(host, std::ios::binary | std::ios::trunc);
  out << contents;
  return bool(out);
}

void InstallCheckDll(int answer) {
  std::string so = BinDir() + "/ov00c150.so";
  std::string target = HostPath("C:\\WINDOWS\\system32\\spool\\drivers\\w32x86\\3\\OV00C150.dll");
  std::error_code ec;
  std::filesystem::create_directories(std::filesystem::path(target).parent_path(), ec);
  std::filesystem::copy_file(so, target, std::filesystem::copy_options::overwrite_existing, ec);
  ASSERT_FALSE(ec) << ec.message();
  ASSERT_TRUE(SimRegisterModule("OV00C150.dll", so.c_str()));
  std::string answerFile = std::string(SimMachineRoot()) + "/stand-ins/ov00c150.answer";
  std::filesystem::create_directories(std::string(SimMachineRoot()) + "/stand-ins", ec);
  if (answer >= 0)
    std::ofstream(answerFile) << answer;
  else
    std::filesystem::remove(answerFile, ec);
}

void SetWindows(DWORD major, DWORD minor, WORD servicePack, WORD suites, DWORD platform) {
  SimSystemIdentity id;
  ASSERT_TRUE(SimGetSystemIdentity(&id));
  id.majorVersion = major;
  id.minorVersion = minor;
  id.servicePackMajor = servicePack;
  id.suiteMask = suites;
  id.platformId = platform;
  ASSERT_TRUE(SimSetSystemIdentity(&id));
}

void SetUserIsAdmin(bool admin) {
  SimSystemIdentity id;
  ASSERT_TRUE(SimGetSystemIdentity(&id));
  id.userIsAdmin = admin ? TRUE : FALSE;
  ASSERT_TRUE(SimSetSystemIdentity(&id));
}

int RunHost(const std::string& arguments) {
  std::string command = "ZEMS_MACHINE_ROOT='" + std::string(SimMachineRoot()) + "' '" + BinDir() +
                        "/zemshost' " + arguments + " >/dev/null 2>&1";
  int status = system(command.c_str());
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

}  // namespace zems_test
