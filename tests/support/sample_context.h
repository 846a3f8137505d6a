// A context of the sample printer opened for settings, with the sample's language DLL in the
// driver folder (its strings are the labels, names and messages the dialogs show) and the
// window interface's fake reset.
#pragma once
#include <gtest/gtest.h>

#include "core/context/driver_context.h"
#include "support/test_printer.h"

namespace zems_test {

class SampleContextTest : public ContextTest {
 protected:
  void SetUp() override;
  void TearDown() override;
  // Forgets the windows the test gave the page's record and its controls'.
  void ForgetWindows(WORD pageId);

  DriverContext* ctx_ = nullptr;
};

}  // namespace zems_test
