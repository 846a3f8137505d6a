// Fuzz target: any bytes as the start of a colour-matching profile file, checked as the
// profile list's header check reads it. A crash or a sanitizer report is a finding.
#include <stdint.h>

#include "core/modules/cmm_profiles.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  CmmProfileHeaderValid(data, static_cast<DWORD>(size));
  return 0;
}
