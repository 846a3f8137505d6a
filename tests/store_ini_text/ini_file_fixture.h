// The machine of the ini reader tests: one file, C:\set\p.ini, written by host path.
#pragma once
#include <string>

#include "platform/win32.h"
#include "tests/common_ini/host_files.h"

namespace store_ini_test {

class IniFileTest : public zems_test::MachineTest {
 protected:
  void SetUp() override {
    MachineTest::SetUp();
    common_ini_test::MakeFolder(common_ini_test::OnC(Root(), "set"));
  }
  std::string Host() { return common_ini_test::OnC(Root(), "set/p.ini"); }
  const WCHAR* path_ = TEXT("C:\\set\\p.ini");
};

}  // namespace store_ini_test
