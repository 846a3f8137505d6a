// A context for the paper and public-field tests: the catalogue's items, a model description
// (the sample or a fixture) and the settings block's public DEVMODE.
#pragma once
#include <memory>

#include "core/items/item_access.h"
#include "core/items/item_ids.h"
#include "core/store/free_size_store.h"
#include "core/tables/value_symbols.h"
#include "support/item_context.h"
#include "support/sample_model.h"
#include "support/test_variant.h"

namespace zems_test {

class PaperItemsTest : public ItemContextTest {
 protected:
  void TearDown() override {
    model_.reset();
    ResetTestVariant();
    ItemContextTest::TearDown();
  }
  // The sample model, or a fixture named relative to the source tree.
  bool UseModel(const char* relativePath = nullptr) {
    model_.reset();  // the previous model first, so that it gives back the context's own image
    model_.reset(relativePath ? new SampleModel(ctx(), relativePath) : new SampleModel(ctx()));
    return model_->image() != nullptr;
  }
  DEVMODEW* Dm() { return reinterpret_cast<DEVMODEW*>(ctx()->settings); }
  void Set(WORD id, LONG value) { ItemSetRawById(ctx(), id, value); }
  LONG Get(WORD id) { return static_cast<LONG>(ItemGetRawById(ctx(), id)); }
  static LONG Stored(const char* valueName) {
    const ValueSymbol* v = TblFindValueSymbolByName(valueName);
    EXPECT_NE(nullptr, v) << valueName;
    return v ? static_cast<LONG>(v->stored) : -1;
  }
  // The custom-size slot of the paper size, or null while the custom-size store has no table.
  const FreeSizeSlot* PaperSlot() {
    FreeSizeLoadAll(ctx());
    return FreeSizeGetSlot(ctx(), 10);
  }

 private:
  std::unique_ptr<SampleModel> model_;
};

}  // namespace zems_test
