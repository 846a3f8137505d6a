// Fuzz target: status records and DEVMODEs through the application interface of zemsexc on
// the sample printer (tests/api/api_fuzz_body.h tells the input's layout). A crash, a
// sanitizer report or a refused set that changed the settings is a finding.
#include <stdint.h>
#include <stdlib.h>

#include <string>

#include "api/api_fuzz_body.h"
#include "core/context/context_cache.h"

namespace {

void* TheContext() {
  static void* handle = [] {
    CtxCacheInit();
    std::string root;
    HANDLE printer = nullptr;
    return zems_test::ApiFuzzStart(ZEMS_SOURCE_DIR, &root, &printer);
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
