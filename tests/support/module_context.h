// A real context of the "Office" printer for the module tests, with its settings ini made and
// its path and printer section at hand.
#pragma once
#include "core/context/ui_state.h"
#include "support/test_printer.h"

namespace zems_test {

class ModuleContextTest : public ContextTest {
 protected:
  void SetUp() override;
  void TearDown() override;

  DriverContext* ctx_ = nullptr;
  WCHAR ini_[kPathChars] = {};
  WCHAR section_[261] = {};
};

}  // namespace zems_test
