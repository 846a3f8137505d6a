// A fresh simulated machine for each test: a temporary root folder, removed afterwards.
#pragma once
#include <gtest/gtest.h>

#include <string>

namespace zems_test {

// Makes a new empty machine root and switches the process to it.
std::string MakeMachineRoot();
// Removes a machine root made by MakeMachineRoot.
void RemoveMachineRoot(const std::string& root);

// Folder of the built DLLs, stand-ins and zemshost.
std::string BinDir();
// Source tree (fixtures live under tests/fixtures).
std::string SourceDir();

class MachineTest : public ::testing::Test {
 protected:
  void SetUp() override { root_ = MakeMachineRoot(); }
  void TearDown() override { RemoveMachineRoot(root_); }
  const std::string& Root() const { return root_; }

 private:
  std::string root_;
};

}  // namespace zems_test
