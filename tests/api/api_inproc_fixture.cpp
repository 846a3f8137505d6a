#include "api/api_inproc_fixture.h"

#include <string.h>

#include <fstream>
#include <functional>
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
  ApiResetGlobals();  // the levels and enabled items are the process's
}

void ApiInProcessTest::TearDown() {
  if (handle_) ApiExportDisable(handle_);
  CtxCacheExpire(TRUE);
  MachineTest::TearDown();
}

namespace {

// The file, or a copy with each {find, replace} applied (first match each).
std::string Edited(const std::string& file, const std::vector<std::pair<std::string, std::string>>& edits,
                   const std::string& copy, bool nameByText) {
  if (edits.empty()) return file;
  std::ifstream in(file, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  std::string s = text.str();
  for (const auto& edit : edits) {
    const size_t at = s.find(edit.first);
    EXPECT_NE(std::string::npos, at) << edit.first;
    if (at != std::string::npos) s.replace(at, edit.first.size(), edit.second);
  }
  // A model gets a name of its own per text: compiled models are cached by name across the tests
  // of a process. The data file keeps its name (the model record names it).
  const size_t dot = copy.rfind('.');
  const std::string named =
      nameByText ? copy.substr(0, dot) + "_" + std::to_string(std::hash<std::string>()(s)) + copy.substr(dot) : copy;
  std::ofstream(named, std::ios::binary) << s;
  return named;
}

}  // namespace

void ApiInProcessTest::Install(const std::string& modelFind, const std::string& modelReplace,
                               const std::string& iniFind, const std::string& iniReplace) {
  std::vector<std::pair<std::string, std::string>> edits;
  if (!modelFind.empty()) edits.emplace_back(modelFind, modelReplace);
  InstallEdited(edits, iniFind, iniReplace);
}

void ApiInProcessTest::InstallEdited(const std::vector<std::pair<std::string, std::string>>& modelEdits,
                                     const std::string& iniFind, const std::string& iniReplace) {
  const std::string model = Edited(SourceDir() + "/samples/models/zems_c4.zmd", modelEdits, Root() + "/edited.zmd", true);
  std::vector<std::pair<std::string, std::string>> iniEdits;
  if (!iniFind.empty()) iniEdits.emplace_back(iniFind, iniReplace);
  const std::string ini = Edited(SourceDir() + "/samples/driver/OV1BD172.ini", iniEdits, Root() + "/OV1BD172.ini", false);
  ASSERT_EQ(0, RunHostKept("machine install --model " + model + " --printer Api --extra " + ini));
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
