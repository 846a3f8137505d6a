#include "support/machine_fixture.h"

#include <stdlib.h>

#include <filesystem>

#include "platform/sim.h"

namespace zems_test {

std::string MakeMachineRoot() {
  std::string pattern = (std::filesystem::temp_directory_path() / "zems-test-XXXXXX").string();
  char* made = mkdtemp(pattern.data());
  if (!made) {
    ADD_FAILURE() << "cannot create a temporary machine root";
    return std::string();
  }
  SimSetMachineRoot(made);
  return made;
}

void RemoveMachineRoot(const std::string& root) {
  if (root.empty()) return;
  std::error_code ec;
  std::filesystem::remove_all(root, ec);
}

std::string BinDir() { return ZEMS_BIN_DIR; }
std::string SourceDir() { return ZEMS_SOURCE_DIR; }

}  // namespace zems_test
