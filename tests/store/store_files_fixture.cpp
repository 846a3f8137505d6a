#include "store/store_files_fixture.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "core/common/mem.h"
#include "core/system/printer_names.h"
#include "core/system/settings_folders.h"
#include "platform/sim.h"

namespace zems_test {

std::u16string W(const std::string& s) { return std::u16string(s.begin(), s.end()); }

std::string N(const std::u16string& s) {
  std::string out;
  for (char16_t c : s) out += char(c);
  return out;
}

std::string ReadFileBytes(const std::u16string& path) {
  std::ifstream in(SimHostPath(path.c_str()), std::ios::binary);
  if (!in) return "<missing>";
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

void WriteFileBytes(const std::u16string& path, const std::string& bytes) {
  for (size_t i = 3; i < path.size(); ++i)
    if (path[i] == u'\\') CreateDirectoryW(path.substr(0, i).c_str(), nullptr);
  HANDLE h = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(h, INVALID_HANDLE_VALUE) << N(path);
  DWORD written = 0;
  ASSERT_TRUE(WriteFile(h, bytes.data(), DWORD(bytes.size()), &written, nullptr));
  CloseHandle(h);
}

bool FileThere(const std::u16string& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

std::string IniKey(const std::u16string& file, const std::string& section, const std::string& key) {
  WCHAR buffer[1024];
  GetPrivateProfileStringW(W(section).c_str(), W(key).c_str(), u"<absent>", buffer, 1024, file.c_str());
  return N(buffer);
}

void SetIniKey(const std::u16string& file, const std::string& section, const std::string& key,
               const std::string& value) {
  for (size_t i = 3; i < file.size(); ++i)
    if (file[i] == u'\\') CreateDirectoryW(file.substr(0, i).c_str(), nullptr);
  ASSERT_TRUE(WritePrivateProfileStringW(W(section).c_str(), W(key).c_str(), W(value).c_str(), file.c_str()));
}

std::vector<std::string> FolderLeaves(const std::u16string& folder) {
  std::vector<std::string> leaves;
  std::error_code error;
  for (const auto& entry : std::filesystem::directory_iterator(SimHostPath(folder.c_str()), error))
    leaves.push_back(entry.path().filename().string());
  std::sort(leaves.begin(), leaves.end());
  return leaves;
}

void StoreFilesTest::SetUp() {
  ContextTest::SetUp();
  ctx_ = CtxOpen(office_, office_, nullptr, 0, kKindSettings, 0, nullptr);
  ASSERT_NE(ctx_, nullptr);
  info_ = static_cast<PRINTER_INFO_2*>(PrnGetPrinterInfo(office_, 2));
  ASSERT_NE(info_, nullptr);
  for (const std::u16string& folder : {MachineFolder(), UserFolder()}) WriteFileBytes(folder + u"\\.keep", "");
}

void StoreFilesTest::TearDown() {
  SimSetDiskFull(-1);
  SimSetLocalTime(nullptr);
  MemFree(info_);
  if (ctx_) CtxRelease(ctx_, kReleaseExpired);
  ContextTest::TearDown();
}

std::u16string StoreFilesTest::MachineIni() {
  WCHAR buffer[MAX_PATH] = {};
  EXPECT_TRUE(PathSettingsFileOf(buffer, MAX_PATH, 0, office_));
  return buffer;
}

std::u16string StoreFilesTest::UserIni() {
  WCHAR buffer[MAX_PATH] = {};
  EXPECT_TRUE(PathSettingsFileOf(buffer, MAX_PATH, 1, office_));
  return buffer;
}

std::u16string StoreFilesTest::MachineFolder() {
  std::u16string ini = MachineIni();
  return ini.substr(0, ini.rfind(u'\\'));
}

std::u16string StoreFilesTest::UserFolder() {
  std::u16string ini = UserIni();
  return ini.substr(0, ini.rfind(u'\\'));
}

}  // namespace zems_test
