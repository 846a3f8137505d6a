#include "api_e2e/api_e2e_fixture.h"

#include <filesystem>
#include <fstream>
#include <sstream>

#include "core/bind/export_of.h"
#include "core/context/context_cache.h"
#include "core/system/driver_paths.h"
#include "support/test_printer.h"
#include "support/test_variant.h"

namespace zems_test {

void ApiE2eTest::SetUp() {
  MachineTest::SetUp();
  ResetTestVariant();
  CtxCacheInit();
}

void ApiE2eTest::TearDown() {
  if (handle_) api_.disable(handle_);
  if (dll_) FreeLibrary(dll_);
  CtxCacheExpire(TRUE);
  MachineTest::TearDown();
}

void ApiE2eTest::InstallPrinter(const std::string& dataIni) {
  const std::string ini = dataIni.empty() ? SourceDir() + "/samples/driver/OV1BD172.ini" : dataIni;
  ASSERT_EQ(0, RunHostKept("machine install --model " + SourceDir() + "/samples/models/zems_c4.zmd --printer Api --extra " +
                       ini));
  LoadDll();
}

void ApiE2eTest::InstallPrinterWithModel(const std::vector<std::pair<std::string, std::string>>& replace,
                                         const std::string& append) {
  std::ifstream in(SourceDir() + "/samples/models/zems_c4.zmd", std::ios::binary);
  ASSERT_TRUE(in);
  std::stringstream text;
  text << in.rdbuf();
  std::string model = text.str();
  for (const auto& r : replace) {
    const size_t at = model.find(r.first);
    ASSERT_NE(std::string::npos, at) << r.first;
    model.replace(at, r.first.size(), r.second);
  }
  model += append;
  const std::string path = Root() + "/api_fixture.zmd";
  std::ofstream(path, std::ios::binary) << model;
  ASSERT_EQ(0, RunHostKept("machine install --model " + path + " --printer Api --extra " + SourceDir() +
                       "/samples/driver/OV1BD172.ini"));
  LoadDll();
}

void ApiE2eTest::LoadDll() {
  dll_ = LoadLibraryW(TEXT("zemsexc.dll"));
  ASSERT_NE(nullptr, dll_);
  api_.checkApiVer = ExportOf<ApiExports::CheckApiVer>(dll_, "ZEMSDrvCheckAPIVer");
  api_.disable = ExportOf<ApiExports::Disable>(dll_, "ZEMSDrvDisable");
  api_.enable = ExportOf<ApiExports::Enable>(dll_, "ZEMSDrvEnable");
  api_.getCaps = ExportOf<ApiExports::GetCaps>(dll_, "ZEMSDrvGetCaps");
  api_.getDevmode = ExportOf<ApiExports::GetDevmode>(dll_, "ZEMSDrvGetDevmode");
  api_.getDevmodeEx = ExportOf<ApiExports::GetDevmodeEx>(dll_, "ZEMSDrvGetDevmodeEx");
  api_.getLastError = ExportOf<ApiExports::GetLastErrorFn>(dll_, "ZEMSDrvGetLastError");
  api_.getStatus = ExportOf<ApiExports::GetStatus>(dll_, "ZEMSDrvGetStatus");
  api_.init = ExportOf<ApiExports::Init>(dll_, "ZEMSDrvInit");
  api_.restoreQuality = ExportOf<ApiExports::Quality>(dll_, "ZEMSDrvRestoreQualityData");
  api_.saveQuality = ExportOf<ApiExports::Quality>(dll_, "ZEMSDrvSaveQualityData");
  api_.setStatus = ExportOf<ApiExports::SetStatus>(dll_, "ZEMSDrvSetStatus");
  // The settings folder exists once the printer is used; make it for this machine.
  typedef int(WINAPI * IniNameFn)(const char*, int, char*, int*);
  auto iniName = ExportOf<IniNameFn>(dll_, "ExcGetIniFileName");
  char path[MAX_PATH] = {};
  int length = 0;
  if (iniName && iniName("Api", MAX_PATH, path, &length) == 0) {
    const std::string host = HostPath(path);
    std::filesystem::create_directories(host.substr(0, host.rfind('/')));
  }
  ASSERT_TRUE(api_.checkApiVer && api_.disable && api_.enable && api_.getCaps && api_.getDevmode &&
              api_.getDevmodeEx && api_.getLastError && api_.getStatus && api_.init && api_.restoreQuality &&
              api_.saveQuality && api_.setStatus);
}

void ApiE2eTest::Level(LONG wanted) {
  const LONG record[2] = {0, wanted};
  ASSERT_EQ(1, api_.init(1, record));
}

void ApiE2eTest::StartSample() {
  InstallPrinter();
  ASSERT_NE(nullptr, EnableApi());
  Level(16);
}

void* ApiE2eTest::EnableApi() {
  handle_ = api_.enable("Api");
  EXPECT_NE(nullptr, handle_);
  return handle_;
}

std::string ApiE2eTest::SettingsFile() {
  typedef int(WINAPI * IniNameFn)(const char*, int, char*, int*);
  auto iniName = ExportOf<IniNameFn>(dll_, "ExcGetIniFileName");
  char path[MAX_PATH] = {};
  int length = 0;
  if (!iniName || iniName("Api", MAX_PATH, path, &length) != 0) return "";
  std::ifstream in(HostPath(path), std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

std::string ApiE2eTest::DataIniPath() {
  HANDLE printer = nullptr;
  if (!OpenPrinterW(const_cast<LPWSTR>(TEXT("Api")), &printer, nullptr)) return "";
  WCHAR path[MAX_PATH] = {};
  PathModelDataFileOf(printer, path, sizeof(path));
  ClosePrinter(printer);
  char narrow[MAX_PATH] = {};
  WideCharToMultiByte(CP_ACP, 0, path, -1, narrow, MAX_PATH, nullptr, nullptr);
  return narrow;
}

}  // namespace zems_test
