#include "front_exports/front_fixture.h"

#include <gtest/gtest.h>
#include <stdio.h>
#include <string.h>

#include "core/context/context_cache.h"
#include "core/model/model_cache.h"
#include "core/system/settings_folders.h"
#include "core/system/terminal_server.h"
#include "platform/sim.h"
#include "support/stored_devmode.h"

namespace zems_test {

void FrontTest::SetData(const char16_t* name, DWORD type, const void* data, DWORD size) {
  SimActForMachine(TRUE);
  ASSERT_EQ(SetPrinterDataW(printer_, const_cast<LPWSTR>(name), type, static_cast<LPBYTE>(const_cast<void*>(data)), size),
            DWORD(ERROR_SUCCESS));
  SimActForMachine(FALSE);
}

void FrontTest::DeleteData(const char16_t* name) {
  SimActForMachine(TRUE);
  DeletePrinterDataW(printer_, const_cast<LPWSTR>(name));
  SimActForMachine(FALSE);
}

bool FrontTest::HasData(const char16_t* name) {
  DWORD type = 0, needed = 0;
  BYTE buffer[1024];
  return GetPrinterDataW(printer_, const_cast<LPWSTR>(name), &type, buffer, sizeof buffer, &needed) == ERROR_SUCCESS;
}

std::vector<BYTE> FrontTest::DriverDefault() {
  std::vector<BYTE> dm(1236);
  LONG needed = LONG(dm.size());
  EXPECT_TRUE(DrvConvertDevMode(Name(), nullptr, reinterpret_cast<PDEVMODEW>(dm.data()), &needed, CDM_DRIVER_DEFAULT));
  return dm;
}

std::vector<BYTE> FrontTest::StoredDevmode() { return StoredPrinterDevmode(printer_); }

void FrontTest::SetStoredDevmode(const std::vector<BYTE>& dm) {
  DWORD needed = 0;
  GetPrinterW(printer_, 2, nullptr, 0, &needed);
  std::vector<BYTE> info(needed);
  ASSERT_TRUE(GetPrinterW(printer_, 2, info.data(), needed, &needed));
  std::vector<BYTE> copy(dm);
  reinterpret_cast<PRINTER_INFO_2W*>(info.data())->pDevMode = reinterpret_cast<DEVMODEW*>(copy.data());
  SimActForMachine(TRUE);
  ASSERT_TRUE(SetPrinterW(printer_, 2, info.data(), 0));
  SimActForMachine(FALSE);
}

HANDLE FrontTest::AddBarePrinter(const char16_t* name, const char16_t* server) {
  PRINTER_INFO_2W info = {};
  info.pServerName = const_cast<LPWSTR>(server);
  info.pPrinterName = const_cast<LPWSTR>(name);
  info.pPortName = const_cast<LPWSTR>(TEXT("LPT1:"));
  info.pDriverName = const_cast<LPWSTR>(TEXT("ORVEL ALTEN KV310 ZEMS"));
  info.pPrintProcessor = const_cast<LPWSTR>(TEXT("WinPrint"));
  info.pDatatype = const_cast<LPWSTR>(TEXT("RAW"));
  info.Attributes = server ? PRINTER_ATTRIBUTE_NETWORK : PRINTER_ATTRIBUTE_LOCAL;
  SimActForMachine(TRUE);
  SimSpoolerCallsDriver(FALSE);
  HANDLE h = AddPrinterW(nullptr, 2, reinterpret_cast<LPBYTE>(&info));
  SimSpoolerCallsDriver(TRUE);
  SimActForMachine(FALSE);
  EXPECT_NE(h, nullptr);
  return h;
}

void FrontTest::HideModel() {
  WCHAR dir[MAX_PATH];
  DWORD needed = 0;
  ASSERT_TRUE(GetPrinterDriverDirectoryW(nullptr, nullptr, 1, reinterpret_cast<LPBYTE>(dir), sizeof dir, &needed));
  model_ = HostPath(Narrow16(std::u16string(dir) + u"\\3\\zems_c4.zmd"));
  ASSERT_EQ(rename(model_.c_str(), (model_ + ".away").c_str()), 0) << model_;
  CtxCacheExpire(TRUE);
  ModelFreeImageCache();
}

void FrontTest::ShowModel() {
  if (!model_.empty()) rename((model_ + ".away").c_str(), model_.c_str());
  model_.clear();
}

void FrontTest::MultiSession() {
  SetWindows(5, 1, 0, VER_SUITE_TERMINAL);
  OsForgetCachedAnswers();
}

void FrontTest::TearDown() {
  ShowModel();
  OsForgetCachedAnswers();
  SamplePrinterTest::TearDown();
}

std::u16string FrontTest::SettingsIni() {
  WCHAR path[MAX_PATH] = {};
  PathSettingsFileOf(path, MAX_PATH, 0, printer_);
  return path;
}

std::u16string FrontTest::SettingsKey(const char16_t* key) { return Ini(SettingsIni(), u"ZEMS Printer", key); }

}  // namespace zems_test
