// Fuzz target: status records and DEVMODEs through the application interface of zemsexc on
// the sample printer (tests/api/api_fuzz_body.h tells the input's layout). A crash, a
// sanitizer report or a refused set that changed the settings is a finding.
#include <stdint.h>
#include <stdlib.h>

#include <string>

#include "api/api_fuzz_body.h"
#include "core/context/context_cache.h"
#include "exclude/api/api_levels.h"
#include "exclude/exc_lock.h"
#include "support/settings_file_exercise.h"

CRITICAL_SECTION* ExcApiLock() { return nullptr; }

namespace {

void* TheContext() {
  static void* handle = [] {
    CtxCacheInit();
    std::string root;
    HANDLE printer = zems_test::MakeSampleMachine(ZEMS_SOURCE_DIR, &root);
    if (!printer) return static_cast<void*>(nullptr);
    DriverContext* ctx = zems_test::OpenSampleContext(printer);  // makes the settings folder
    if (ctx) CtxClose(ctx);
    void* h = ApiExportEnable("Office");
    // The sample machine's data file offers no level: the top one is settled here.
  ApiApplyOfferedLevel(16);
  ApiBuildEnabledMasks(16);
  const LONG wanted[2] = {0, 16};
    ApiExportInit(1, wanted);
    return h;
  }();
  return handle;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  if (!TheContext()) abort();  // no context: nothing could be fuzzed
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  zems_test::ApiFuzzOne(TheContext(), data, size);
  return 0;
}
