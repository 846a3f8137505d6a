// A bounded run of the application interface's fuzz body: random records of every item with a
// handler and random DEVMODEs, on the sample printer.
#include <gtest/gtest.h>

#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "api/api_fuzz_body.h"
#include "core/context/context_cache.h"
#include "support/machine_fixture.h"

namespace zems_test {
namespace {

TEST(ApiFuzz, RandomRecordsAndDevmodes) {
  CtxCacheInit();
  ApiResetGlobals();
  std::string root;
  HANDLE printer = nullptr;
  void* handle = ApiFuzzStart(ZEMS_SOURCE_DIR, &root, &printer);
  ASSERT_NE(nullptr, printer);
  ASSERT_NE(nullptr, handle);
  std::mt19937 rng(20261211);
  for (int i = 0; i < 400; ++i) {
    std::vector<uint8_t> input(2 + rng() % 80);
    for (auto& b : input) b = static_cast<uint8_t>(rng());
    // Mostly small values, as records carry them.
    for (size_t k = 2; k < input.size(); ++k)
      if (rng() % 4) input[k] = static_cast<uint8_t>(rng() % 4);
    ApiFuzzOne(handle, input.data(), input.size());
  }
  // The job, watermark, preset and colour, and finishing records with their texts running to
  // the end of the record, in every version and mode; the leading 32-bit fields small values.
  const DWORD texts[] = {1, 10, 16, 17, 26, 35, 39, 47, 50, 55, 56, 59, 60, 262, 264, 267, 269,
                         12, 15, 18, 19, 20, 21, 51, 64, 65, 67, 79};
  for (DWORD id : texts) {
    const int at = ApiFuzzIndexOf(id);
    if (at < 0 || at > 255) continue;  // no handler in this build
    for (int version = 0; version < 4; ++version)
      for (int mode = 0; mode < 3; ++mode)
        for (int round = 0; round < 4; ++round) {
          std::vector<uint8_t> input(2 + rng() % 16);
          input[0] = static_cast<uint8_t>(at);
          input[1] = static_cast<uint8_t>(0x40 | (version << 2) | mode);
          for (size_t k = 2; k < input.size(); ++k) input[k] = (k - 2) % 4 ? 0 : static_cast<uint8_t>(rng() % 4);
          ApiFuzzOne(handle, input.data(), input.size());
        }
  }
  EXPECT_EQ(1, ApiExportDisable(handle));
  ClosePrinter(printer);
  CtxCacheExpire(TRUE);
  ApiResetGlobals();
  std::filesystem::remove_all(root);
}

}  // namespace
}  // namespace zems_test
