// A bounded run of the application interface's fuzz body: random records of every item with a
// handler and random DEVMODEs, on the sample printer.
#include <gtest/gtest.h>

#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "api/api_fuzz_body.h"
#include "core/context/context_cache.h"
#include "exclude/api/api_levels.h"
#include "support/machine_fixture.h"
#include "support/settings_file_exercise.h"

namespace zems_test {
namespace {

TEST(ApiFuzz, RandomRecordsAndDevmodes) {
  CtxCacheInit();
  ApiResetGlobals();
  std::string root;
  HANDLE printer = MakeSampleMachine(ZEMS_SOURCE_DIR, &root);
  ASSERT_NE(nullptr, printer);
  DriverContext* ctx = OpenSampleContext(printer);
  ASSERT_NE(nullptr, ctx);
  CtxClose(ctx);
  void* handle = ApiExportEnable("Office");
  ASSERT_NE(nullptr, handle);
  // The sample machine's data file offers no level: the top one is settled here.
  ApiApplyOfferedLevel(16);
  ApiBuildEnabledMasks(16);
  const LONG wanted[2] = {0, 16};
  ApiExportInit(1, wanted);
  std::mt19937 rng(20261211);
  for (int i = 0; i < 400; ++i) {
    std::vector<uint8_t> input(2 + rng() % 80);
    for (auto& b : input) b = static_cast<uint8_t>(rng());
    // Mostly small values, as records carry them.
    for (size_t k = 2; k < input.size(); ++k)
      if (rng() % 4) input[k] = static_cast<uint8_t>(rng() % 4);
    ApiFuzzOne(handle, input.data(), input.size());
  }
  EXPECT_EQ(1, ApiExportDisable(handle));
  ClosePrinter(printer);
  CtxCacheExpire(TRUE);
  ApiResetGlobals();
  std::filesystem::remove_all(root);
}

}  // namespace
}  // namespace zems_test
