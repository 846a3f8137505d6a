// The sample model built into its compiled image, fixed up and walked back to its parse state.
#include <gtest/gtest.h>

#include "core/common/mem.h"
#include "core/rules/model_rules.h"
#include "core/tables/symbol_table.h"
#include "core/tables/value_symbols.h"
#include "image_walk.h"
#include "model_test_util.h"

namespace {

using model_test::Parsed;

int CountLists(const ModelRuleList* l) {
  int n = 0;
  for (; l; l = l->next) ++n;
  return n;
}

TEST(ModelImageSample, BuildsFixesUpAndWalksBackToItsParseState) {
  std::string text = model_test::SourceFile("samples/models/zems_c4.zmd");
  Parsed p(text);
  ASSERT_NE(nullptr, p.state);
  int judges = 0;
  for (const JudgeRecord* j = p->judges; j; j = j->next) ++judges;
  EXPECT_EQ(32, judges);
  EXPECT_EQ(6, CountLists(p->itemRules));
  EXPECT_EQ(20, CountLists(p->actions));
  EXPECT_EQ(17, CountLists(p->transacts));
  EXPECT_EQ(1, CountLists(p->alertActions));
  EXPECT_EQ(1, CountLists(p->alerts));
  ASSERT_NE(nullptr, p->rules);
  EXPECT_EQ(35u, p->rules->exclusiveCount);
  EXPECT_EQ(0u, ModelListUnresolvedJudges(p.state, nullptr, nullptr)) << "every judge the sample names exists";

  ModelImageHeader* image = ModelBuildImage(p.state);
  ASSERT_NE(nullptr, image);
  DWORD total = image->totalSize;
  EXPECT_EQ(sizeof(ModelImageHeader) + ModelRulesSize(p.state) + ModelItemsSize(p.state) + ModelCommandsSize(p.state),
            total);
  ModelFixUpImage(image);
  model_test::ImageCounts counts;
  EXPECT_EQ("", model_test::CompareImage(p.state, image, &counts));
  EXPECT_EQ(35, counts.exclusives);
  EXPECT_EQ(7, counts.fonts);

  // zdmFuncSelectDuplex: Judge 1 NoDuplexUnit, value rules DuplexValues, alert DuplexWarning.
  const ExclusiveRecord* duplex = nullptr;
  const SymbolEntry* symbol = TblFindSymbolByName("TOV_zdmFuncSelectDuplex");
  ASSERT_NE(nullptr, symbol);
  for (const ExclusiveRecord* x = image->exclusives; x; x = x->next) {
    if (x->symbolId == symbol->symbolId) duplex = x;
  }
  ASSERT_NE(nullptr, duplex);
  EXPECT_EQ(ModelFindJudge(p.state, 11)->length, 4u * 4);
  ASSERT_NE(nullptr, duplex->judgeDisabled);
  EXPECT_EQ(0, memcmp(ModelFindJudge(p.state, 11)->cells, duplex->judgeDisabled, ModelFindJudge(p.state, 11)->length));
  ASSERT_NE(nullptr, duplex->valueRules);
  const ValueSymbol* on = TblFindValueSymbolByName("ZDMFUNCSELECTDUPLEX_ON");
  ASSERT_NE(nullptr, on);
  EXPECT_EQ(on->logical, duplex->valueRules->valueId);
  EXPECT_EQ(nullptr, duplex->valueRules->next);
  ASSERT_NE(nullptr, duplex->alert);
  EXPECT_EQ(TblFindMessageByName(nullptr, "TOV_DuplexOnMessage")->messageId, duplex->alert->messageId);
  EXPECT_EQ(0x30, duplex->alert->icon);
  EXPECT_EQ(1, duplex->alert->buttons);
  EXPECT_EQ(0, duplex->alert->timing);
  ASSERT_NE(nullptr, duplex->alert->actions);
  EXPECT_EQ(1, duplex->alert->actions->button);
  EXPECT_EQ(nullptr, duplex->alert->actions->transact) << "IDOKBUTTON NULL";
  ASSERT_NE(nullptr, duplex->alert->actions->next);
  EXPECT_EQ(2, duplex->alert->actions->next->button);
  ASSERT_NE(nullptr, duplex->alert->actions->next->transact) << "IDCANCELBUTTON UndoDuplex";
  EXPECT_EQ(nullptr, duplex->alert->actions->next->transact->judge) << "NULL: runs every time";
  ASSERT_NE(nullptr, duplex->alert->actions->next->transact->actions);
  EXPECT_EQ(TblFindSymbolByName("TOV_zdmFuncSelectDuplex")->itemId,
            duplex->alert->actions->next->transact->actions->target);
  EXPECT_LE(reinterpret_cast<const BYTE*>(duplex), reinterpret_cast<const BYTE*>(image) + total);
  MemFree(image);
}

TEST(ModelImageSample, CompilesFromTheFile) {
  std::string text = model_test::SourceFile("samples/models/zems_c4.zmd");
  ModelImageHeader* image = ModelCompileMemory(text.data(), static_cast<DWORD>(text.size()), 1252);
  ASSERT_NE(nullptr, image);
  Parsed p(text);
  ModelImageHeader* again = ModelBuildImage(p.state);
  ASSERT_NE(nullptr, again);
  ASSERT_EQ(image->totalSize, again->totalSize);
  EXPECT_EQ(0, memcmp(image, again, image->totalSize)) << "the same description builds the same bytes";
  MemFree(image);
  MemFree(again);
}

}  // namespace
