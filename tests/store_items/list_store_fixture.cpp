#include "store_items/list_store_fixture.h"

#include <filesystem>
#include <fstream>
#include <iterator>

#include "core/system/driver_paths.h"
#include "core/system/settings_folders.h"
#include "platform/sim.h"

namespace zems_test {

void ListStoreTest::SetUp() {
  SettingsFileTest::SetUp();
  std::error_code ec;
  std::filesystem::copy_file(SourceDir() + "/samples/driver/OV1BD172.ini", DriverFolderHost() + "/OV1BD172.ini",
                             std::filesystem::copy_options::overwrite_existing, ec);
  ASSERT_FALSE(ec) << ec.message();
}

std::u16string ListStoreTest::ModelDataFile() { return PathModelDataFile(ctx()); }

void ListStoreTest::WriteModelDataFile(const std::string& text) { WriteBytes(ModelDataFile(), text); }

std::u16string ListStoreTest::SettingsIni() { return PathSettingsFile(ctx()); }

std::string ListStoreTest::IniKey(const std::string& section, const std::string& key) {
  std::u16string s(section.begin(), section.end()), k(key.begin(), key.end());
  WCHAR value[1025];
  GetPrivateProfileStringW(s.c_str(), k.c_str(), u"<absent>", value, 1025, SettingsIni().c_str());
  return Narrow(value);
}

void ListStoreTest::SetIniKey(const std::string& section, const std::string& key, const std::string& value) {
  std::u16string s(section.begin(), section.end()), k(key.begin(), key.end()), v(value.begin(), value.end());
  ASSERT_TRUE(WritePrivateProfileStringW(s.c_str(), k.c_str(), v.c_str(), SettingsIni().c_str()));
}

}  // namespace zems_test
