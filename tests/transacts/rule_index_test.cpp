// The rule index of a model image: every judged rule listed under each item its judge reads,
// judges of computed items under the items their readers read, and the index kept with the
// cached image.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <tuple>

#include "core/common/mem.h"
#include "core/items/item_ids.h"
#include "core/model/model_cache.h"
#include "core/model/model_image.h"
#include "core/model/model_types.h"
#include "core/rules/judge_eval.h"
#include "core/rules/model_rules.h"
#include "core/rules/rule_index.h"
#include "core/tables/symbol_table.h"
#include "support/item_context.h"
#include "support/sample_model.h"

namespace {

using zems_test::ItemContextTest;

WORD ItemOf(const char* symbol) {
  const SymbolEntry* s = TblFindSymbolByName(symbol);
  EXPECT_NE(s, nullptr) << symbol;
  return s ? s->itemId : 0;
}

// A reference as comparable text: kind, judge, value, record's item.
using Key = std::tuple<int, int, int, int, const void*>;
Key KeyOf(const ModelRuleRef& r) { return {r.kind, r.judge, r.valueId, r.itemId, r.rule}; }

std::set<Key> Readers(const ModelRuleIndex* index, WORD item) {
  std::set<Key> keys;
  ModelRuleRefs refs = RuleIndexReadersOf(index, item);
  for (DWORD i = 0; i < refs.count; ++i) keys.insert(KeyOf(refs.refs[i]));
  return keys;
}

// The items a judge's cell reads: its item, or the row of inputs of a computed item.
std::set<WORD> CellReads(WORD id) {
  if (!JudgeIsComputedItem(id)) return {id};
  WORD inputs[512];
  const int n = JudgeComputedItemInputs(id, inputs, 512);
  EXPECT_GE(n, 0) << id;
  return std::set<WORD>(inputs, inputs + (n > 0 ? n : 0));
}

bool Reads(const JudgeCell* judge, WORD item) {
  for (const JudgeCell* c = judge; c && !(c->kind == kJudgeOperator && c->value == kJudgeOpEnd); ++c)
    if (c->kind == kJudgeItem && CellReads(c->value).count(item)) return true;
  return false;
}

class RuleIndexTest : public ItemContextTest {};

// Against a walk of every rule of the sample: for each item the sample's judges read, the
// index lists exactly the judged rules whose judge reads it.
TEST_F(RuleIndexTest, SampleRulesUnderEveryItemTheyRead) {
  zems_test::SampleModel model(ctx());
  ASSERT_NE(model.image(), nullptr);
  ModelRuleIndex* index = RuleIndexBuild(model.image());
  ASSERT_NE(index, nullptr);
  // The staple item's disabled and restricted judges, and the staple switch's disabled judge,
  // read finishing condition items: they stand under the items those conditions' readers
  // read, and none counts for every item.
  EXPECT_EQ(RuleIndexReadersOfAny(index).count, 0u);
  std::set<WORD> items;
  for (const ExclusiveRecord* x = model.image()->exclusives; x; x = x->next) {
    for (const JudgeCell* j : {x->judgeDisabled, x->judgeRestricted, x->judgeLocked})
      for (const JudgeCell* c = j; c && !(c->kind == kJudgeOperator && c->value == kJudgeOpEnd); ++c)
        if (c->kind == kJudgeItem)
          for (WORD read : CellReads(c->value)) items.insert(read);
  }
  ASSERT_FALSE(items.empty());
  for (WORD item : items) {
    SCOPED_TRACE(item);
    std::set<Key> walked;
    for (const ExclusiveRecord* x = model.image()->exclusives; x; x = x->next) {
      const SymbolEntry* s = TblFindSymbol(x->symbolId);
      int owner = s ? s->itemId : 0;
      const JudgeCell* own[3] = {x->judgeDisabled, x->judgeRestricted, x->judgeLocked};
      for (int j = 0; j < 3; ++j)
        if (Reads(own[j], item)) walked.insert(Key{kRuleRefItemJudge, j + 1, 0, owner, nullptr});
      for (const ValueRule* v = x->valueRules; v; v = v->next) {
        const JudgeCell* vj[3] = {v->judgeDisabled, v->judgeRestricted, v->judgeLocked};
        for (int j = 0; j < 3; ++j)
          if (Reads(vj[j], item)) walked.insert(Key{kRuleRefValueJudge, j + 1, v->valueId, owner, v});
      }
      for (const TransactEntry* t = x->transact; t; t = t->next)
        if (Reads(t->judge, item)) walked.insert(Key{kRuleRefTransact, 0, 0, owner, t});
      for (const AlertRecord* a = x->alert; a; a = a->next) {
        if (Reads(a->judge, item)) walked.insert(Key{kRuleRefAlert, 0, 0, owner, a});
        for (const AlertActionEntry* e = a->actions; e; e = e->next)
          for (const TransactEntry* t = e->transact; t; t = t->next)
            if (Reads(t->judge, item)) walked.insert(Key{kRuleRefTransact, 0, 0, owner, t});
      }
    }
    EXPECT_EQ(Readers(index, item), walked);
  }
  // The paper is read by the finishing judges, the duplex value rules, the media lock, both
  // PaperChanged lists and the duplex warning; copies only by the separation cycle's transact,
  // whose judge reads the print-method module's hook.
  const WORD paper = ItemOf("TOV_dmPaperSize");
  int alerts = 0, transacts = 0;
  for (const Key& k : Readers(index, paper)) {
    alerts += std::get<0>(k) == kRuleRefAlert;
    transacts += std::get<0>(k) == kRuleRefTransact;
  }
  EXPECT_EQ(alerts, 1);
  EXPECT_EQ(transacts, 6) << "three entries of PaperChanged, for the paper and for the media";
  const std::set<Key> copies = Readers(index, kItem_dmCopies);
  ASSERT_EQ(copies.size(), 1u);
  EXPECT_EQ(std::get<0>(*copies.begin()), kRuleRefTransact);
  EXPECT_EQ(std::get<3>(*copies.begin()), kItem_zdmSeparationSheetCycle);
  RuleIndexFree(index);
}

// A judge of a computed item stands under the items of the computed item's row, and under
// the plain items it names beside it; nothing counts for every item.
TEST_F(RuleIndexTest, JudgesOfComputedItemsStandUnderTheirReadersInputs) {
  const std::string text =
      "*Judge 1=Fin: TOV_wdmFinAStaple == 1\n"
      "*Judge 2=FinOrColor: (TOV_dmColor == 2) || Fin\n"
      "*Judge 3=Copies: TOV_dmCopies > 3\n"
      "*Exclusive: {\n"
      "   TOV_dmColor Fin NULL NULL NULL NULL NULL Copies\n"
      "   TOV_dmCopies FinOrColor NULL NULL NULL NULL NULL NULL }\n";
  ModelImageHeader* image = ModelCompileMemory(text.data(), static_cast<DWORD>(text.size()), 1252);
  ASSERT_NE(image, nullptr);
  ModelFixUpImage(image);
  ModelRuleIndex* index = RuleIndexBuild(image);
  ASSERT_NE(index, nullptr);
  EXPECT_EQ(RuleIndexReadersOfAny(index).count, 0u);
  const std::set<WORD> staple = CellReads(ItemOf("TOV_wdmFinAStaple"));
  ASSERT_FALSE(staple.empty());
  ASSERT_EQ(staple.count(kItem_dmColor), 0u);
  for (WORD input : staple) {
    ModelRuleRefs refs = RuleIndexReadersOf(index, input);
    ASSERT_EQ(refs.count, 2u) << "both judges under input " << input;
    EXPECT_EQ(refs.refs[0].itemId, kItem_dmColor);
    EXPECT_EQ(refs.refs[1].itemId, kItem_dmCopies);
  }
  EXPECT_EQ(RuleIndexReadersOf(index, ItemOf("TOV_wdmFinAStaple")).count, 0u) << "never changed, never listed";
  ModelRuleRefs color = RuleIndexReadersOf(index, kItem_dmColor);
  ASSERT_EQ(color.count, 1u) << "the second judge names the color";
  EXPECT_EQ(color.refs[0].itemId, kItem_dmCopies);
  ModelRuleRefs copies = RuleIndexReadersOf(index, kItem_dmCopies);
  ASSERT_EQ(copies.count, 1u);
  EXPECT_EQ(copies.refs[0].judge, 3);
  EXPECT_EQ(RuleRefJudge(&copies.refs[0]), image->exclusives->judgeLocked);
  RuleIndexFree(index);
  MemFree(image);
}

// Built once, at the first request, for an image the process cache holds; an image of no
// cache has none.
TEST_F(RuleIndexTest, KeptWithTheCachedImage) {
  zems_test::SampleModel model(ctx());
  ASSERT_NE(model.image(), nullptr);
  EXPECT_EQ(ModelGetRuleIndex(ctx()), nullptr) << "not a cached image";
  const std::string text = "*Judge 1=Copies: TOV_dmCopies > 3\n*Exclusive: { TOV_dmColor Copies NULL NULL NULL NULL NULL NULL }\n";
  ModelImageHeader* image = ModelCompileMemory(text.data(), static_cast<DWORD>(text.size()), 1252);
  ASSERT_NE(image, nullptr);
  ModelFixUpImage(image);
  const WCHAR path[] = {'C', ':', '\\', 'x', '.', 'z', 'm', 'd', 0};
  ASSERT_EQ(ModelCacheImage(image, path), image);
  ModelImage* previous = ctx()->modelImage;
  ctx()->modelImage = reinterpret_cast<ModelImage*>(image);
  const ModelRuleIndex* index = ModelGetRuleIndex(ctx());
  ASSERT_NE(index, nullptr);
  EXPECT_EQ(ModelGetRuleIndex(ctx()), index);
  EXPECT_EQ(RuleIndexReadersOf(index, kItem_dmCopies).count, 1u);
  ctx()->modelImage = previous;
  ModelFreeImageCache();
}

}  // namespace
