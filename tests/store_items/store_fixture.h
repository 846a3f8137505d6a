// A full context of the sample printer "Office" for the item-store tests, with helpers to
// read and write its printer data and settings ini as they are stored.
#pragma once
#include <string>
#include <vector>

#include "core/context/driver_context.h"
#include "core/items/item_table.h"
#include "support/test_printer.h"

namespace zems_test {

class StoreTest : public ContextTest {
 protected:
  void SetUp() override;
  void TearDown() override;

  DriverContext* ctx() { return ctx_; }
  SettingItem* Row(WORD id);
  BYTE* Value(WORD id);

  // A printer-data value: its bytes and type; false when absent.
  bool Data(const char16_t* name, std::string* bytes, DWORD* type = nullptr);
  void SetData(const char16_t* name, const std::string& bytes, DWORD type = REG_BINARY);
  void DeleteData(const char16_t* name);
  std::vector<std::u16string> DataNames();
  void DeleteAllData();
  // A key of the printer's section of the settings ini; "<absent>" when missing.
  std::u16string Ini(const char16_t* key);
  void SetIni(const char16_t* key, const char16_t* value);
  std::string SettingsIniBytes();

  DriverContext* ctx_ = nullptr;
};

}  // namespace zems_test
