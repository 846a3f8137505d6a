#include "support/sample_model.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>

#include "core/common/mem.h"
#include "core/tables/value_symbols.h"
#include "support/machine_fixture.h"

namespace zems_test {

WORD SymbolLogical(const char* name) {
  const ValueSymbol* v = TblFindValueSymbolByName(name);
  EXPECT_NE(v, nullptr) << name;
  return v ? v->logical : 0;
}

SampleModel::SampleModel(DriverContext* ctx) : SampleModel(ctx, "samples/models/zems_c4.zmd") {}

SampleModel::SampleModel(DriverContext* ctx, const char* relativePath)
    : ctx_(ctx), previous_(ctx ? ctx->modelImage : nullptr), image_(nullptr) {
  std::ifstream in(SourceDir() + "/" + relativePath, std::ios::binary);
  std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (!ctx_ || text.empty()) return;
  image_ = ModelCompileMemory(text.data(), static_cast<DWORD>(text.size()), 1252);
  if (!image_) return;
  ModelFixUpImage(image_);
  ctx_->modelImage = reinterpret_cast<ModelImage*>(image_);
}

SampleModel::~SampleModel() {
  if (ctx_ && image_) ctx_->modelImage = previous_;
  MemFree(image_);
}

}  // namespace zems_test
