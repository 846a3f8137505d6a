// The application interface of zemsexc loaded by name on a machine with the sample printer
// "Api" installed: every export resolved once.
#pragma once
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "platform/win32.h"
#include "support/machine_fixture.h"

namespace zems_test {

struct ApiExports {
  typedef LONG(WINAPI* CheckApiVer)(const char*);
  typedef LONG(WINAPI* Disable)(void*);
  typedef void*(WINAPI* Enable)(const char*);
  typedef LONG_PTR(WINAPI* GetCaps)(void*, DWORD, void*);
  typedef LONG(WINAPI* GetDevmode)(void*, DWORD, void*);
  typedef LONG(WINAPI* GetDevmodeEx)(void*, DWORD, void*, const void*, void*);
  typedef LONG(WINAPI* GetLastErrorFn)(void*);
  typedef LONG(WINAPI* GetStatus)(void*, DWORD, void*, DWORD);
  typedef LONG(WINAPI* Init)(LONG, const LONG*);
  typedef LONG(WINAPI* Quality)(void*);
  typedef LONG(WINAPI* SetStatus)(void*, DWORD, void*, BYTE*, LONG);
  CheckApiVer checkApiVer = nullptr;
  Disable disable = nullptr;
  Enable enable = nullptr;
  GetCaps getCaps = nullptr;
  GetDevmode getDevmode = nullptr;
  GetDevmodeEx getDevmodeEx = nullptr;
  GetLastErrorFn getLastError = nullptr;
  GetStatus getStatus = nullptr;
  Init init = nullptr;
  Quality restoreQuality = nullptr;
  Quality saveQuality = nullptr;
  SetStatus setStatus = nullptr;
};

// The simple 32-byte status record.
struct SimpleRecord {
  DWORD version;
  LONG value;
  LONG value2;
  LONG value3;
  LONG value4;
  BYTE unused[8];
  DWORD masterSwitch;
};
static_assert(sizeof(SimpleRecord) == 32, "simple record");

class ApiE2eTest : public MachineTest {
 protected:
  void SetUp() override;
  void TearDown() override;
  // Installs the sample printer "Api" (the sample model, its data ini as given).
  void InstallPrinter(const std::string& dataIni = "");
  // Installs "Api" with the sample model changed by the edit (text replacements and text added
  // at the end), written as a fixture model of the test's machine.
  void InstallPrinterWithModel(const std::vector<std::pair<std::string, std::string>>& replace,
                               const std::string& append);
  // Loads zemsexc by name and resolves the exports (the test fails when one is missing).
  void LoadDll();
  // Enables the interface for "Api" (the test fails on null).
  void* EnableApi();
  // Asks the interface for a level through its Init export (the test fails unless it answers 1).
  void Level(LONG wanted);
  // The sample printer installed and enabled at level 16.
  void StartSample();
  // The bytes of the printer's settings file as zemsexc names it ("" when there is none).
  std::string SettingsFile();
  // The installed printer's model data file, as a path of the machine.
  std::string DataIniPath();

  HMODULE dll_ = nullptr;
  ApiExports api_;
  void* handle_ = nullptr;
};

}  // namespace zems_test
