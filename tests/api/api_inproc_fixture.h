// The application interface in process on a machine with the sample printer "Api": the exports'
// bodies called directly, so a test can reach the context behind a handle.
#pragma once
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "exclude/api/api_context.h"
#include "platform/win32.h"
#include "support/machine_fixture.h"

namespace zems_test {

class ApiInProcessTest : public MachineTest {
 protected:
  void SetUp() override;
  void TearDown() override;
  // Installs "Api" with the sample model and data file, each edited (first match replaced) when
  // a text to find is given.
  void Install(const std::string& modelFind = "", const std::string& modelReplace = "",
               const std::string& iniFind = "", const std::string& iniReplace = "");
  // The same with several edits of the model, each {find, replace}.
  void InstallEdited(const std::vector<std::pair<std::string, std::string>>& modelEdits,
                     const std::string& iniFind = "", const std::string& iniReplace = "");
  // Enables the interface at a level (the sample's data file offers 16).
  void Enable(LONG level = 16);
  ApiContext* Api();
  DriverContext* Ctx() { return Api()->ctx; }
  LONG_PTR Caps(DWORD id, void* buffer = nullptr);
  LONG LastError();
  // A list capability measured and filled through the export.
  std::vector<LONG> IntList(DWORD id);
  std::vector<std::string> Names(DWORD id, int width);
  // The printer's settings ini (as the context reads it) and a key of the printer's section.
  std::u16string SettingsIni();
  void WriteSettingsKey(const char* key, const std::u16string& value) { WriteSettingsKeyIn(u"Api", key, value); }
  void WriteSettingsKeyIn(const std::u16string& section, const char* key, const std::u16string& value);

  void* handle_ = nullptr;
};

}  // namespace zems_test
