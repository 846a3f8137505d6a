// The rows of inputs that computed items' readers declare: every item a reader really reads,
// recorded while it runs on the sample over many settings, stands in its row, and the rule
// index lists a judge of a computed item under those items (the finishing conditions here).
// A pass of judges keeps only conditions whose readers write nothing, and answers for every
// judge what the judge answers alone.
#include <gtest/gtest.h>

#include <stdio.h>
#include <string.h>

#include <map>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "core/common/mem.h"
#include "core/devmode/finishing_conditions.h"
#include "core/items/item_access.h"
#include "core/items/item_ids.h"
#include "core/items/item_table.h"
#include "core/model/model_image.h"
#include "core/model/model_lookup.h"
#include "core/model/model_types.h"
#include "core/rules/judge_eval.h"
#include "core/rules/model_rules.h"
#include "core/rules/rule_index.h"
#include "support/item_context.h"
#include "support/sample_model.h"

namespace {

using zems_test::ItemContextTest;

void Record(void* data, WORD id) { static_cast<std::set<WORD>*>(data)->insert(id); }

std::set<WORD> Row(WORD id) {
  WORD inputs[512];
  const int n = JudgeComputedItemInputs(id, inputs, 512);
  EXPECT_GE(n, 0) << "the row of " << id << " holds more than 512 items";
  return std::set<WORD>(inputs, inputs + (n > 0 ? n : 0));
}

class ComputedInputsTest : public ItemContextTest {
 protected:
  // Values tried for every item read: the small codes, the paper, tray, bin and source codes
  // the finishing rules name, both ends, and the item's own values in the sample.
  std::vector<LONG> Pool(const ModelImageHeader* image, WORD item) {
    std::vector<LONG> pool = {0,   0,   0,   1,   1,   2,    3,    4,    5,    6,    7,    8,    9,
                              11,  13,  15,  16,  32,  64,   93,   123,  125,  127,  128,  256,  257,
                              261, 262, 263, 384, 393, 408,  1003, 1024, 1025, 1026, 1028, 0x100, 0x108,
                              0xFF, 0xFFFF, -1};
    for (const ModelItemDescriptor* d = image->descriptors; d; d = d->next) {
      if (d->itemId != item) continue;
      for (const void* c = d->values; c; c = ModelNextChoice(d, c)) pool.push_back(ModelChoiceValue(d, c, nullptr));
    }
    return pool;
  }

  void Set(WORD id, LONG value) {
    SettingItem* item = ItemFind(ctx(), id);
    if (!item) return;
    if (ItemTypeIsText(ItemDescType(item->descriptor))) {
      static const WCHAR kText[] = {'A', '1', 0}, kEmpty[] = {0};
      ItemSetText(ctx(), item, value & 1 ? kText : kEmpty);
    } else {
      ItemSetRaw(ctx(), item, value);
    }
  }

  // Runs the reader of a computed item over random settings of everything it has read so
  // far (new reads join the next trials); the items read.
  std::set<WORD> Explore(const ModelImageHeader* image, WORD computed, int trials) {
    std::vector<BYTE> saved(static_cast<BYTE*>(ctx()->settings), static_cast<BYTE*>(ctx()->settings) + kSettingsBlockSize);
    std::mt19937 random(computed);
    std::set<WORD> reads;
    std::map<WORD, std::vector<LONG>> pools;
    for (int trial = 0; trial < trials; ++trial) {
      if (trial > 0) {
        for (WORD id : std::set<WORD>(reads)) {
          if (pools[id].empty()) pools[id] = Pool(image, id);
          Set(id, pools[id][random() % pools[id].size()]);
        }
      }
      ItemSetReadObserver(Record, &reads);
      JudgeComputedItemValue(ctx(), computed);
      ItemSetReadObserver(nullptr, nullptr);
    }
    memcpy(ctx()->settings, saved.data(), saved.size());
    return reads;
  }
};

// Each reader of the finishing conditions, the resolution cap, the derived paper and the judge
// hooks reads only items of its row: a row that misses an input would leave the judges of
// the computed item out of that input's list, and a change of it would not reach them.
TEST_F(ComputedInputsTest, ReadersReadOnlyTheItemsOfTheirRows) {
  zems_test::SampleModel model(ctx());
  ASSERT_NE(model.image(), nullptr);
  int withReads = 0;
  // ZEMS_PRINT_COMPUTED_READS=1 prints what each reader read: the data of a new row.
  const bool print = getenv("ZEMS_PRINT_COMPUTED_READS") != nullptr;
  for (WORD id = 723; id <= 1451; ++id) {
    if (!JudgeIsComputedItem(id) || !ItemFind(ctx(), id)) continue;
    const std::set<WORD> reads = Explore(model.image(), id, 2000);
    const std::set<WORD> row = Row(id);
    std::string missing;
    for (WORD r : reads)
      if (!row.count(r)) missing += " " + std::to_string(r);
    EXPECT_TRUE(missing.empty()) << "computed item " << id << " reads items its row does not list:" << missing;
    withReads += !reads.empty();
    if (print) {
      printf("%u:", id);
      for (WORD r : reads) printf(" %u", r);
      printf("\n");
    }
  }
  EXPECT_GT(withReads, 80) << "the recording saw the readers read";
}

// A pass of judges keeps a finishing condition it computed: only a reader that leaves every
// setting as it found it may be kept. The resolution cap's reader is the one that is not.
TEST_F(ComputedInputsTest, ConditionsAPassKeepsLeaveTheSettingsAsTheyWere) {
  zems_test::SampleModel model(ctx());
  ASSERT_NE(model.image(), nullptr);
  EXPECT_FALSE(FinConditionPure(835)) << "the resolution cap re-derives what it reads";
  std::mt19937 random(42);
  int computed = 0;
  for (WORD id = kJudgePassFirst; id <= kJudgePassLast; ++id) {
    if (!FinConditionPure(id) || !ItemFind(ctx(), id)) continue;
    const std::set<WORD> row = Row(id);
    for (int trial = 0; trial < 40; ++trial) {
      for (WORD input : row) {
        const std::vector<LONG> pool = Pool(model.image(), input);
        Set(input, pool[random() % pool.size()]);
      }
      const std::vector<BYTE> before(static_cast<BYTE*>(ctx()->settings),
                                     static_cast<BYTE*>(ctx()->settings) + kSettingsBlockSize);
      JudgeComputedItemValue(ctx(), id);
      ASSERT_EQ(0, memcmp(before.data(), ctx()->settings, before.size())) << "condition " << id << " wrote a setting";
      ++computed;
    }
  }
  EXPECT_GT(computed, 2000);
}

// Within a pass every judge answers what it answers alone, though a pass evaluates a judge
// shared by several rules once and a kept finishing condition once for all its judges; a new
// pass after a change answers for the new settings. The judges: the sample's rules, and two
// per finishing condition (it equals 1; it or its neighbour holds), over settings of their
// rows that move the conditions.
TEST_F(ComputedInputsTest, APassAnswersAsEachJudgeAlone) {
  zems_test::SampleModel model(ctx());
  ASSERT_NE(model.image(), nullptr);
  ASSERT_EQ(ModelAllocEvalStack(ctx()), 0);
  ModelRuleIndex* index = RuleIndexBuild(model.image());
  ASSERT_NE(index, nullptr);
  std::vector<const JudgeCell*> judges;
  for (WORD id = 1; id < 0xFFFF; ++id) {
    ModelRuleRefs refs = RuleIndexReadersOf(index, id);
    for (DWORD i = 0; i < refs.count; ++i) judges.push_back(RuleRefJudge(&refs.refs[i]));
  }
  std::vector<std::vector<JudgeCell>> made;
  std::set<WORD> inputs;
  std::vector<WORD> conditions;
  for (WORD id = kJudgePassFirst; id <= kJudgePassLast; ++id) {
    if (!ItemFind(ctx(), id)) continue;
    const std::set<WORD> row = Row(id);
    if (row.empty()) continue;
    conditions.push_back(id);
    inputs.insert(row.begin(), row.end());
    const WORD next = id == kJudgePassLast ? WORD(kJudgePassFirst) : WORD(id + 1);
    made.push_back({{kJudgeItem, id}, {kJudgeConstant, 1}, {kJudgeOperator, kJudgeOpEqual}, {kJudgeOperator, kJudgeOpEnd}});
    made.push_back({{kJudgeItem, id}, {kJudgeItem, next}, {kJudgeOperator, kJudgeOpOr}, {kJudgeOperator, kJudgeOpEnd}});
  }
  for (const auto& cells : made) judges.push_back(cells.data());
  std::map<WORD, std::vector<LONG>> pools;
  for (WORD id : inputs) pools[id] = Pool(model.image(), id);
  std::mt19937 random(7);
  JudgePass pass;
  int differing = 0, held = 0;
  std::map<WORD, std::set<LONG>> seen;  // the values each condition took
  for (int trial = 0; trial < 200; ++trial) {
    for (auto& p : pools)
      if (random() % 3 == 0) Set(p.first, p.second[random() % p.second.size()]);
    for (WORD c : conditions) seen[c].insert(JudgeComputedItemValue(ctx(), c));
    std::vector<int> alone;
    for (const JudgeCell* j : judges) alone.push_back(JudgeEvaluate(j, ctx()));
    JudgePassBegin(&pass);
    for (size_t i = 0; i < judges.size(); ++i) {
      const int shared = JudgeEvaluateInPass(judges[i], ctx(), &pass);
      differing += shared != alone[i];
      held += shared != 0;
    }
  }
  int varied = 0;
  for (auto& c : seen) varied += c.second.size() > 1;
  EXPECT_EQ(differing, 0);
  EXPECT_GT(held, 0);
  EXPECT_GT(varied, 10) << "the settings tried move the conditions";
  RuleIndexFree(index);
  ModelFreeEvalStack(ctx());
}

}  // namespace
