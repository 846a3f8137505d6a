// The sample model description compiled in memory and attached to a test's context, for tests
// of code that reads the model (its resource DLL names, lookups) without opening a printer.
#pragma once
#include "core/context/driver_context.h"
#include "core/model/model_image.h"

namespace zems_test {

// The logical value of a value symbol by its name (a failure of the calling test when the
// table has no such name, and 0).
WORD SymbolLogical(const char* name);

// Compiles samples/models/zems_c4.zmd (or the description given) and attaches the image to ctx until destroyed; the
// context's previous image comes back then. image() is null when the sample cannot be built.
class SampleModel {
 public:
  explicit SampleModel(DriverContext* ctx);
  // Another description, named relative to the source tree (a fixture model).
  SampleModel(DriverContext* ctx, const char* relativePath);
  ~SampleModel();
  SampleModel(const SampleModel&) = delete;
  SampleModel& operator=(const SampleModel&) = delete;
  const ModelImageHeader* image() const { return image_; }

 private:
  DriverContext* ctx_;
  ModelImage* previous_;
  ModelImageHeader* image_;
};

}  // namespace zems_test
