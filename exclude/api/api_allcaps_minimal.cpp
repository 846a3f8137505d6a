// Minimal: the all-capabilities record is not built yet; asking for it fails with error 100.
#include "exclude/api/api_allcaps.h"

#include "exclude/api/api_levels.h"

void* ApiBuildAllCapsRecord(ApiContext* api) {
  ApiSetLastError(api, kApiErrInternal);
  return nullptr;
}

void ApiFreeAllCapsRecord(void* record) { (void)record; }
