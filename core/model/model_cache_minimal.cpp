// Minimal version until the compiled model cache is built: every printer gets the same empty
// model description, which holds no items, rules or commands; there is no cache to free.
#include "core/model/model_cache.h"

ModelImage* ModelLoadImage(DriverContext* ctx) {
  (void)ctx;
  alignas(8) static unsigned char emptyImage[8];
  return reinterpret_cast<ModelImage*>(emptyImage);
}


void ModelFreeImageCache() {}
