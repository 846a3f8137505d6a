// The rule index of a model image: every judged rule listed under each item its judge reads,
// judges of computed items listed for every item, and the index kept with the cached image.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <tuple>

#include "core/common/mem.h"
#include "core/items/item_ids.h"
#include "core/model/model_cache.h"
#include "core/model/model_image.h"
#include "core/model/model_types.h"
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

bool Reads(const JudgeCell* judge, WORD item) {
  for (const JudgeCell* c = judge; c && !(c->kind == kJudgeOperator && c->value == kJudgeOpEnd); ++c)
    if (c->kind == kJudgeItem && c->value == item) return true;
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
  // read finishing condition items, so they count for every item and stand in no item's own
  // list.
  std::set<Key> any;
  ModelRuleRefs anyRefs = RuleIndexReadersOfAny(index);
  for (DWORD i = 0; i < anyRefs.count; ++i) any.insert(KeyOf(anyRefs.refs[i]));
  // So does the separation cycle's transact, whose judge reads the print-method module's hook.
  std::set<Key> expected = {Key{kRuleRefItemJudge, 1, 0, kItem_zdmStapleType, nullptr},
                            Key{kRuleRefItemJudge, 2, 0, kItem_zdmStapleType, nullptr},
                            Key{kRuleRefItemJudge, 1, 0, kItem_zdmFuncSelectStaple, nullptr}};
  int hookReaders = 0;
  for (const Key& k : any)
    if (std::get<3>(k) == kItem_zdmSeparationSheetCycle) {
      expected.insert(k);
      ++hookReaders;
    }
  EXPECT_EQ(any, expected);
  EXPECT_EQ(1, hookReaders) << "the cycle's transact";
  std::set<WORD> items;
  for (const ExclusiveRecord* x = model.image()->exclusives; x; x = x->next) {
    for (const JudgeCell* j : {x->judgeDisabled, x->judgeRestricted, x->judgeLocked})
      for (const JudgeCell* c = j; c && !(c->kind == kJudgeOperator && c->value == kJudgeOpEnd); ++c)
        if (c->kind == kJudgeItem) items.insert(c->value);
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
    for (const Key& k : any) walked.erase(k);
    EXPECT_EQ(Readers(index, item), walked);
  }
  // The paper is read by the finishing judges, the duplex value rules, the media lock, both
  // PaperChanged lists and the duplex warning; copies by nothing.
  const WORD paper = ItemOf("TOV_dmPaperSize");
  int alerts = 0, transacts = 0;
  for (const Key& k : Readers(index, paper)) {
    alerts += std::get<0>(k) == kRuleRefAlert;
    transacts += std::get<0>(k) == kRuleRefTransact;
  }
  EXPECT_EQ(alerts, 1);
  EXPECT_EQ(transacts, 6) << "three entries of PaperChanged, for the paper and for the media";
  EXPECT_EQ(RuleIndexReadersOf(index, kItem_dmCopies).count, 0u);
  RuleIndexFree(index);
}

TEST_F(RuleIndexTest, JudgesOfComputedItemsCountForEveryItem) {
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
  ModelRuleRefs any = RuleIndexReadersOfAny(index);
  ASSERT_EQ(any.count, 2u);
  EXPECT_EQ(any.refs[0].itemId, kItem_dmColor);
  EXPECT_EQ(any.refs[1].itemId, kItem_dmCopies);
  EXPECT_EQ(RuleIndexReadersOf(index, kItem_dmColor).count, 0u) << "listed once, with every item";
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
