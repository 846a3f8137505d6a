// Settings files of the sample printer "Office": paths in its settings folder, the sections
// and keys of a file as written, and the message boxes the loads showed.
#pragma once
#include <map>
#include <string>
#include <vector>

#include "store_items/store_fixture.h"

namespace zems_test {

class SettingsFileTest : public StoreTest {
 protected:
  void SetUp() override;
  void TearDown() override;

  // A file of the settings folder (Windows path).
  std::u16string FilePath(const char16_t* name);
  std::string ReadBytes(const std::u16string& path);
  void WriteBytes(const std::u16string& path, const std::string& bytes);
  // The keys of one section of a file in their order, and their values (narrow, as stored).
  std::vector<std::string> Keys(const std::u16string& path, const std::string& section);
  std::map<std::string, std::string> Section(const std::u16string& path, const std::string& section);
  bool HasSection(const std::u16string& path, const std::string& section);
  // A section text with the header of this driver ("RstVersion" etc. as the context writes
  // them), then the given lines.
  std::string HeaderLines(DriverContext* ctx);
  // Message boxes recorded since SetUp (or the last reset).
  int MessageBoxCount();
  std::u16string MessageBoxText(int index);

  std::string Narrow(const std::u16string& s);
  std::string PrinterName();
  std::string DriverName();
  LONG_PTR Raw(WORD id);
  void SetRaw(WORD id, LONG_PTR value);
};

}  // namespace zems_test
