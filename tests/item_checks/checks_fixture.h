// Shared set-up of the value-check tests: an item context with an evaluator stack (judges
// need it), fixture models, and descriptors made by hand for values no value symbol names.
#pragma once
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/context/ui_state.h"
#include "core/items/item_access.h"
#include "core/items/item_ids.h"
#include "core/model/model_types.h"
#include "core/rules/model_rules.h"
#include "core/tables/value_symbols.h"
#include "support/item_context.h"
#include "support/sample_model.h"
#include "support/test_variant.h"

namespace zems_test {

class ChecksTest : public ItemContextTest {
 protected:
  static std::string Fixture(const char* name) { return std::string("tests/fixtures/model/") + name; }
  void SetUp() override {
    ItemContextTest::SetUp();
    Ui()->evaluatorStack = stack_;
    Ui()->evaluatorDepth = 0;
  }
  void TearDown() override {
    Ui()->evaluatorStack = nullptr;
    ResetTestVariant();
    ItemContextTest::TearDown();
  }
  LONG_PTR Raw(WORD id) { return ItemGetRawById(ctx(), id); }
  void SetRaw(WORD id, LONG_PTR value) { ASSERT_TRUE(ItemSetRawById(ctx(), id, value)) << "item " << id; }
  // The stored value of a value symbol.
  static LONG_PTR Stored(const char* name) {
    const ValueSymbol* s = TblFindValueSymbolByName(name);
    EXPECT_NE(nullptr, s) << name;
    return s ? static_cast<LONG_PTR>(s->stored) : -1;
  }
  void Mono(bool on) { SetRaw(kItem_dmColor, on ? 1 : 2); }
  void Landscape(bool on) { SetRaw(kItem_dmOrientation, on ? 2 : 1); }

 private:
  LONG stack_[kEvaluatorStackDepth] = {};
};

// A list descriptor made by hand: the listed values, and the values whose disable judge is
// always true.
class HandList {
 public:
  HandList(WORD id, std::vector<WORD> listed, std::vector<WORD> disabled) : values_(listed.size()), rules_(disabled.size()) {
    for (size_t i = 0; i < listed.size(); ++i) {
      values_[i].valueId = listed[i];
      values_[i].next = i + 1 < listed.size() ? &values_[i + 1] : nullptr;
    }
    for (size_t i = 0; i < disabled.size(); ++i) {
      rules_[i].valueId = disabled[i];
      rules_[i].judgeDisabled = kTrue;
      rules_[i].next = i + 1 < disabled.size() ? &rules_[i + 1] : nullptr;
    }
    exclusive_.valueRules = rules_.empty() ? nullptr : rules_.data();
    desc_.itemId = id;
    desc_.type = kModelTypePickOne;
    desc_.exclusive = &exclusive_;
    desc_.values = values_.empty() ? nullptr : values_.data();
  }
  const ModelItemDescriptor* desc() const { return &desc_; }

 private:
  static constexpr JudgeCell kTrue[2] = {{kJudgeConstant, 1}, {kJudgeOperator, kJudgeOpEnd}};
  std::vector<ListValueRecord> values_;
  std::vector<ValueRule> rules_;
  ExclusiveRecord exclusive_{};
  ModelItemDescriptor desc_{};
};

}  // namespace zems_test
