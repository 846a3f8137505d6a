// Walks a fixed-up compiled image beside the parse state it was built from: every
// descriptor, value record, text, command group, font list and rule must match, and every
// link must land inside the image's block. Shared by the model tests and the fuzz target.
#pragma once
#include <string>

#include "core/model/model_image.h"

namespace model_test {

struct ImageCounts {
  int descriptors = 0;
  int exclusives = 0;
  int valueRules = 0;
  int alerts = 0;
  int transacts = 0;
  int nodes = 0;
  int fonts = 0;
};

// Empty when the image gives back the parse state; else what differs first.
std::string CompareImage(const ModelParseState* state, const ModelImageHeader* image, ImageCounts* counts = nullptr);

}  // namespace model_test
