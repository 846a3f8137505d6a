// Fuzz target: any bytes as a model description are parsed, built into the compiled image,
// fixed up and walked back against the parse state. A crash, a sanitizer report or an image
// that does not give back its parse state is a finding.
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <string>

#include "core/common/mem.h"
#include "core/model/model_image.h"
#include "model/image_walk.h"

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, size_t size) {
  if (size > (1u << 20)) return 0;
  // A block of exactly the input's size, so that a read past the end is caught.
  unsigned char* bytes = static_cast<unsigned char*>(malloc(size ? size : 1));
  if (!bytes) return 0;
  if (size) memcpy(bytes, data, size);
  // The last byte picks the code page, so double-byte lead bytes are exercised too.
  UINT codePage = size && (data[size - 1] & 1) ? 932 : 1252;
  ModelParseState* state = ModelParseMemory(bytes, static_cast<DWORD>(size), codePage);
  if (state) {
    ModelImageHeader* image = ModelBuildImage(state);
    if (image) {
      ModelFixUpImage(image);
      std::string error = model_test::CompareImage(state, image);
      if (!error.empty()) {
        fprintf(stderr, "model_compile_fuzz: the image does not give back its parse state: %s\n", error.c_str());
        abort();
      }
      MemFree(image);
    }
    ModelFreeParseState(state);
  }
  free(bytes);
  return 0;
}
