#include "api/api_inproc_fixture.h"

#include <string.h>

#include <fstream>
#include <sstream>

#include "core/context/context_cache.h"
#include "core/context/ui_state.h"
#include "core/store/store_keys.h"
#include "exclude/api/api_exports.h"
#include "exclude/api/api_levels.h"
#include "support/test_printer.h"
#include "support/test_variant.h"

namespace zems_test {

void ApiInProcessTest::SetUp() {
  MachineTest::SetUp();
  ResetTestVariant();
  CtxCacheInit();
}

void ApiInProcessTest::TearDown() {
  if (handle_) ApiExportDisable(handle_);
  CtxCacheExpire(TRUE);
  MachineTest::TearDown();
}

void ApiInProcessTest::Install(const std::string& modelFind, const std::string& modelReplace) {
  std::string model = SourceDir() + "/samples/models/zems_c4.zmd";
  if (!modelFind.empty()) {
    std::ifstream in(model, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    std::string s = text.str();
    const size_t at = s.find(modelFind);
    ASSERT_NE(std::string::npos, at) << modelFind;
    s.replace(at, modelFind.size(), modelReplace);
    model = Root() + "/edited.zmd";
    std::ofstream(model, std::ios::binary) << s;
  }
  ASSERT_EQ(0, RunHost("machine install --model " + model + " --printer Api --extra " + SourceDir() +
                       "/samples/driver/OV1BD172.ini"));
}

void ApiInProcessTest::Enable(LONG level) {
  const LONG wanted[2] = {0, level};
  ApiExportInit(1, wanted);
  handle_ = ApiExportEnable("Api");
  ASSERT_NE(nullptr, handle_);
}

ApiContext* ApiInProcessTest::Api() {
  ApiContext* api = ApiEnterCall(handle_);
  if (api) ApiLeaveCall(api);
  return api;
}

LONG_PTR ApiInProcessTest::Caps(DWORD id, void* buffer) { return ApiExportGetCaps(handle_, id, buffer); }

LONG ApiInProcessTest::LastError() { return ApiExportGetLastError(handle_); }

std::vector<LONG> ApiInProcessTest::IntList(DWORD id) {
  const LONG_PTR n = Caps(id);
  if (n <= 0) return {};
  std::vector<LONG> out(static_cast<size_t>(n));
  EXPECT_EQ(n, Caps(id, out.data())) << "caps " << id;
  return out;
}

std::vector<std::string> ApiInProcessTest::Names(DWORD id, int width) {
  const LONG_PTR n = Caps(id);
  if (n <= 0) return {};
  std::vector<char> buffer(static_cast<size_t>(n) * static_cast<size_t>(width), 0);
  EXPECT_EQ(n, Caps(id, buffer.data())) << "caps " << id;
  std::vector<std::string> out;
  for (LONG_PTR i = 0; i < n; ++i) out.emplace_back(&buffer[static_cast<size_t>(i) * static_cast<size_t>(width)]);
  return out;
}

std::u16string ApiInProcessTest::SettingsIni() {
  WCHAR ini[kPathChars] = {};
  StoreCopySettingsIni(Ctx(), ini);
  return std::u16string(reinterpret_cast<const char16_t*>(ini));
}

void ApiInProcessTest::WriteSettingsKeyIn(const std::u16string& section, const char* key, const std::u16string& value) {
  std::u16string wideKey(key, key + strlen(key));
  const std::u16string ini = SettingsIni();
  ASSERT_FALSE(ini.empty());
  std::string narrow(ini.begin(), ini.end());
  // The settings folder exists once something was saved; a test writes before that.
  std::u16string folder = ini.substr(0, ini.find_last_of(u'\\'));
  CreateDirectoryW(reinterpret_cast<LPCWSTR>(folder.c_str()), nullptr);
  ASSERT_TRUE(WritePrivateProfileStringW(reinterpret_cast<LPCWSTR>(section.c_str()), reinterpret_cast<LPCWSTR>(wideKey.c_str()),
                                         reinterpret_cast<LPCWSTR>(value.c_str()), reinterpret_cast<LPCWSTR>(ini.c_str())))
      << narrow << " error " << GetLastError();
}

}  // namespace zems_test
