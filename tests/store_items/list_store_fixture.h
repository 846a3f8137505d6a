// The sample printer "Office" with the sample model data file beside its driver, for the
// preset, quality-list, watermark and custom-size stores.
#pragma once
#include <string>

#include "store_items/settings_file_fixture.h"

namespace zems_test {

class ListStoreTest : public SettingsFileTest {
 protected:
  void SetUp() override;

  // The model data file (Windows path) and a replacement of it.
  std::u16string ModelDataFile();
  void WriteModelDataFile(const std::string& text);
  std::u16string SettingsIni();
  // A key of section of the settings ini ("<absent>" when missing).
  std::string IniKey(const std::string& section, const std::string& key);
  void SetIniKey(const std::string& section, const std::string& key, const std::string& value);
};

// A preset-group item the tests change (zdmMarkPaperType, U8).
constexpr WORD kPresetItem = 122;

}  // namespace zems_test
