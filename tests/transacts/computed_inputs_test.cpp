// The rows of inputs that computed items' readers declare: every item a reader really reads,
// recorded while it runs on the sample over many settings, stands in its row, and the rule
// index lists a judge of a computed item under those items (the finishing conditions here).
#include <gtest/gtest.h>

#include <stdio.h>
#include <string.h>

#include <map>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "core/common/mem.h"
#include "core/items/item_access.h"
#include "core/items/item_ids.h"
#include "core/items/item_table.h"
#include "core/model/model_image.h"
#include "core/model/model_lookup.h"
#include "core/model/model_types.h"
#include "core/rules/judge_eval.h"
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

}  // namespace
