// The judge evaluator on an item context: cell programs, routing by id range, the stack's
// bounds and the value rules.
#include <gtest/gtest.h>

#include <vector>

#include "core/context/ui_state.h"
#include "core/items/item_access.h"
#include "core/items/item_ids.h"
#include "core/model/model_types.h"
#include "core/rules/judge_eval.h"
#include "core/rules/model_rules.h"
#include "support/item_context.h"

namespace {

using zems_test::ItemContextTest;

constexpr WORD kCopies = kItem_dmCopies;   // S16 without a value list
constexpr WORD kOwner = kItem_zdmOwnerName;  // narrow text
constexpr WORD kNoItem = 1600;             // no item has this id

JudgeCell I(WORD id) { return {kJudgeItem, id}; }
JudgeCell C(WORD v) { return {kJudgeConstant, v}; }
JudgeCell Op(WORD op) { return {kJudgeOperator, op}; }
const JudgeCell kEnd = {kJudgeOperator, kJudgeOpEnd};
const WCHAR* u16ptr(const char16_t* s) { return reinterpret_cast<const WCHAR*>(s); }

class JudgeEvalTest : public ItemContextTest {
 protected:
  void SetUp() override {
    ItemContextTest::SetUp();
    ASSERT_EQ(ModelAllocEvalStack(ctx()), 0);
  }
  void TearDown() override {
    ModelFreeEvalStack(ctx());
    ItemContextTest::TearDown();
  }
  int Eval(std::vector<JudgeCell> cells) { return JudgeEvaluate(cells.data(), ctx()); }
  void Set(WORD id, LONG_PTR v) { ASSERT_TRUE(ItemSetRawById(ctx(), id, v)); }
};

struct ProgramCase {
  const char* what;
  LONG copies;
  std::vector<JudgeCell> cells;
  int result;
};

TEST_F(JudgeEvalTest, CellPrograms) {
  const ProgramCase cases[] = {
      {"-1 > 5 compares unsigned", -1, {I(kCopies), C(5), Op(kJudgeOpGreater), kEnd}, 1},
      {"-1 < 5 compares unsigned", -1, {I(kCopies), C(5), Op(kJudgeOpLess), kEnd}, 0},
      {"==", 7, {I(kCopies), C(7), Op(kJudgeOpEqual), kEnd}, 1},
      {"== false", 7, {I(kCopies), C(8), Op(kJudgeOpEqual), kEnd}, 0},
      {"!=", 7, {I(kCopies), C(8), Op(kJudgeOpNotEqual), kEnd}, 1},
      {"&& both true", 7, {I(kCopies), C(2), Op(kJudgeOpAnd), kEnd}, 1},
      {"&& one false", 7, {I(kCopies), C(0), Op(kJudgeOpAnd), kEnd}, 0},
      {"|| one true", 0, {I(kCopies), C(3), Op(kJudgeOpOr), kEnd}, 1},
      {"|| both false", 0, {I(kCopies), C(0), Op(kJudgeOpOr), kEnd}, 0},
      {"! of zero", 0, {I(kCopies), Op(kJudgeOpNot), kEnd}, 1},
      {"! of nonzero", 4, {I(kCopies), Op(kJudgeOpNot), kEnd}, 0},
      {">= equal", 5, {I(kCopies), C(5), Op(kJudgeOpGreaterEqual), kEnd}, 1},
      {"<= greater", 6, {I(kCopies), C(5), Op(kJudgeOpLessEqual), kEnd}, 0},
      {"A ! B is the negation of B", 9, {C(1), I(kCopies), Op(kJudgeOpNot), kEnd}, 0},
      {"the end cell returns the value itself", 42, {I(kCopies), kEnd}, 42},
      {"an unknown operator does nothing", 3, {I(kCopies), Op(77), kEnd}, 3},
      {"cells of another kind are skipped", 3, {I(kCopies), {9, 1}, kEnd}, 3},
      {"the same item twice", 3, {I(kCopies), I(kCopies), Op(kJudgeOpEqual), kEnd}, 1},
      {"an unknown last operand is false", 3, {I(kCopies), I(kNoItem), Op(kJudgeOpOr), kEnd}, 0},
      {"underflow is false", 3, {Op(kJudgeOpEqual), kEnd}, 0},
      {"end on an empty stack is false", 3, {kEnd}, 0},
  };
  for (const ProgramCase& c : cases) {
    SCOPED_TRACE(c.what);
    Set(kCopies, c.copies);
    Ui()->evaluatorDepth = 3;
    EXPECT_EQ(Eval(c.cells), c.result);
    EXPECT_EQ(Ui()->evaluatorDepth, 3);
  }
}

TEST_F(JudgeEvalTest, OverflowAtTheStacksEndIsFalseAndRestoresTheDepth) {
  std::vector<JudgeCell> cells(kEvaluatorStackDepth + 1, C(1));
  cells.push_back(kEnd);
  EXPECT_EQ(Eval(cells), 0);
  EXPECT_EQ(Ui()->evaluatorDepth, 0);
  // From a nested depth the room is smaller: 250 values fit below 256 only from depth 6.
  std::vector<JudgeCell> fits(250, C(1));
  fits.push_back(kEnd);
  Ui()->evaluatorDepth = 6;
  EXPECT_EQ(Eval(fits), 1);
  Ui()->evaluatorDepth = 7;
  EXPECT_EQ(Eval(fits), 0);
  EXPECT_EQ(Ui()->evaluatorDepth, 7);
  // A depth beyond the stack (a corrupted state) evaluates nothing.
  Ui()->evaluatorDepth = 300;
  EXPECT_EQ(Eval({C(1), kEnd}), 0);
}

TEST_F(JudgeEvalTest, TextItemsPushTheirLengthInCharacters) {
  ASSERT_NE(ItemSetText(ctx(), Item(kOwner), u16ptr(u"abcd")), nullptr);
  EXPECT_EQ(Eval({I(kOwner), C(4), Op(kJudgeOpEqual), kEnd}), 1);
  ASSERT_NE(ItemSetText(ctx(), Item(kOwner), u16ptr(u"")), nullptr);
  EXPECT_EQ(Eval({I(kOwner), C(0), Op(kJudgeOpEqual), kEnd}), 1);
  // A text cut to the item's 17 bytes (16 characters and the terminator) measures fully.
  ASSERT_NE(ItemSetText(ctx(), Item(kOwner), u16ptr(u"0123456789abcdefXYZ")), nullptr);
  EXPECT_EQ(Eval({I(kOwner), C(16), Op(kJudgeOpEqual), kEnd}), 1);
}

TEST_F(JudgeEvalTest, RoutedItemsAreNeverReadFromStorage) {
  // Condition item 900 has no rule and judge hook 1260 no module: both answer 0 whatever
  // their storage holds.
  for (WORD id : {WORD(900), WORD(1260)}) {
    SCOPED_TRACE(id);
    Set(id, 1);
    ASSERT_EQ(ItemGetValueById(ctx(), id), 1);
    EXPECT_EQ(Eval({I(id), C(0), Op(kJudgeOpEqual), kEnd}), 1);
  }
}

TEST_F(JudgeEvalTest, HookCoreItemFollowsItsFiveItems) {
  auto allHold = [&] {
    Set(kItem_zdmFrontFunc, 0x100);
    Set(kItem_zdmAPIUseFlag, 0);
    Set(kItem_zdmJobBinder, 2);
    Set(kItem_zdmPreviewPrint, 1);
    Set(kItem_zdmPLInstalled, 1);
  };
  const std::vector<JudgeCell> judge = {I(kItem_wdmJudgeHookCore00), kEnd};
  allHold();
  Set(kItem_wdmJudgeHookCore00, 0);
  EXPECT_EQ(Eval(judge), 1);
  struct Breaks { WORD id; LONG_PTR value; } breaks[] = {
      {kItem_zdmFrontFunc, 0xFF}, {kItem_zdmAPIUseFlag, 1}, {kItem_zdmJobBinder, 3},
      {kItem_zdmPreviewPrint, 0}, {kItem_zdmPLInstalled, 0}};
  for (const Breaks& b : breaks) {
    SCOPED_TRACE(b.id);
    allHold();
    Set(b.id, b.value);
    EXPECT_EQ(Eval(judge), 0);
  }
  allHold();
  EXPECT_EQ(JudgeComputeHookCore(ctx(), 1421), 0);
}

TEST_F(JudgeEvalTest, WithoutStackEveryJudgeIsFalse) {
  ModelFreeEvalStack(ctx());
  EXPECT_EQ(Eval({C(1), kEnd}), 0);
  EXPECT_EQ(JudgeEvaluate(nullptr, ctx()), 0);
}

TEST_F(JudgeEvalTest, ValueRulesAnswerByValue) {
  const JudgeCell yes[] = {C(1), kEnd};
  const JudgeCell no[] = {C(0), kEnd};
  ValueRule second = {nullptr, 20, 0, nullptr, no, yes};
  ValueRule first = {&second, 10, 0, yes, no, nullptr};
  ExclusiveRecord rec = {};
  rec.judgeDisabled = yes;
  rec.judgeRestricted = yes;
  rec.judgeLocked = no;
  rec.valueRules = &first;
  ModelItemDescriptor desc = {};
  desc.exclusive = &rec;

  EXPECT_EQ(ModelFindValueRule(&rec, 20), &second);
  EXPECT_EQ(ModelFindValueRule(&rec, 30), nullptr);
  struct Case { WORD value; int disabled, restricted, locked; } cases[] = {
      {0, 1, 1, 0},   // the item's own judges
      {10, 1, 0, 0},  // its rule; Judge 3 missing
      {20, 0, 0, 1},
      {30, 0, 0, 0},  // no rule: nothing, whatever the item-level judges say
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.value);
    EXPECT_EQ(ModelEvalDisableRule(&rec, c.value, ctx()), c.disabled);
    EXPECT_EQ(ModelEvalSecondRule(&rec, c.value, ctx()), c.restricted);
    EXPECT_EQ(ModelEvalThirdRule(&rec, c.value, ctx()), c.locked);
    EXPECT_EQ(ModelIsValueDisabled(&desc, c.value, ctx()), c.disabled);
    EXPECT_EQ(ModelIsValueRestricted(&desc, c.value, ctx()), c.restricted);
    EXPECT_EQ(ModelEvalLockRule(&desc, c.value, ctx()), c.locked);
  }
  desc.exclusive = nullptr;
  EXPECT_EQ(ModelIsValueDisabled(&desc, 0, ctx()), 0);
  EXPECT_EQ(ModelIsValueDisabled(nullptr, 0, ctx()), 0);
  EXPECT_EQ(ModelEvalDisableRule(nullptr, 0, ctx()), 0);
}

}  // namespace
