// A context of the sample printer "Office" whose driver folder holds the sample driver's model
// data file and model database ini, with helpers for the ini files, printer data and the
// registry the install code writes.
#pragma once
#include <string>

#include "core/context/driver_context.h"
#include "support/machine_fixture.h"
#include "support/test_printer.h"

namespace zems_test {

class InstallTest : public ContextTest {
 protected:
  void SetUp() override;
  void TearDown() override;

  DriverContext* ctx() { return ctx_; }

  // Windows paths of the files the install code reads and writes.
  static std::u16string DriverFolder();
  std::u16string DataFile() const;     // the model data file OV1BD172.ini
  std::u16string ZemsIni() const;      // the install ini
  std::u16string SettingsIni();        // the printer's settings ini
  std::u16string DefaultsIni();        // the per-printer defaults ini
  std::u16string Printer();            // the printer's name (its section)

  // A key of an ini file; "<absent>" when missing.
  static std::u16string IniGet(const std::u16string& file, const std::u16string& section, const char16_t* key);
  static void IniSet(const std::u16string& file, const std::u16string& section, const char16_t* key,
                     const char16_t* value);
  // Writes a whole file of the machine.
  static void WriteFile(const std::u16string& windowsPath, const std::string& text);
  static std::string ReadFile(const std::u16string& windowsPath);
  static bool Exists(const std::u16string& windowsPath);
  // Printer data of "Office": the bytes and type; false when absent.
  bool Data(const char16_t* name, std::string* bytes, DWORD* type = nullptr);
  std::u16string DataText(const char16_t* name);  // "<absent>" when missing
  // An HKLM value; false when absent.
  static bool Reg(const char16_t* key, const char16_t* value, std::string* bytes, DWORD* type = nullptr);
  static void SetReg(const char16_t* key, const char16_t* value, DWORD type, const void* data, DWORD size);
  static std::u16string RegText(const char16_t* key, const char16_t* value);  // "<absent>" when missing
  // Text of an item of the context.
  std::u16string ItemText(WORD id);
  LONG_PTR Raw(WORD id);

  DriverContext* ctx_ = nullptr;
};

// The sample model installed by zemshost on a machine of the test's own, its printer
// "ZEMS Printer" open.
class SamplePrinterTest : public MachineTest {
 protected:
  void SetUp() override;
  void TearDown() override;

  // The sample model's path in the source tree.
  static std::string SampleModel();
  // A key of an ini file; "<absent>" when missing.
  static std::u16string Ini(const std::u16string& file, const char16_t* section, const char16_t* key);
  // Runs zemshost with the machine of this test; its output.
  std::string Host(const std::string& arguments);

  std::string install_;  // the install's output
  HANDLE printer_ = nullptr;
};

std::string Narrow16(const std::u16string& s);

}  // namespace zems_test
