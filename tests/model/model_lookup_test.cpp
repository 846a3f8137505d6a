// The lookups of a context's model description, on the compiled sample and on contexts
// without a description.
#include <gtest/gtest.h>

#include <vector>

#include "core/common/mem.h"
#include "core/context/ui_state.h"
#include "core/items/item_access.h"
#include "core/items/item_ids.h"
#include "core/model/model_image.h"
#include "core/model/model_lookup.h"
#include "core/rules/judge_eval.h"
#include "core/rules/model_rules.h"
#include "core/tables/symbol_table.h"
#include "core/tables/value_symbols.h"
#include "model_test_util.h"
#include "support/sample_model.h"
#include "support/item_context.h"

namespace {

WORD Sym(const char* name) {
  const SymbolEntry* s = TblFindSymbolByName(name);
  EXPECT_NE(s, nullptr) << name;
  return s ? s->symbolId : 0;
}
// Logical values of value symbols by name.
WORD Val(const char* name) { return zems_test::SymbolLogical(name); }

class ModelLookupTest : public zems_test::ItemContextTest {
 protected:
  void SetUp() override {
    ItemContextTest::SetUp();
    std::string text = model_test::SourceFile("samples/models/zems_c4.zmd");
    image_ = ModelCompileMemory(text.data(), static_cast<DWORD>(text.size()), 1252);
    ASSERT_NE(image_, nullptr);
    ModelFixUpImage(image_);
    ctx()->modelImage = reinterpret_cast<ModelImage*>(image_);
    ASSERT_EQ(ModelAllocEvalStack(ctx()), 0);
  }
  void TearDown() override {
    ModelFreeEvalStack(ctx());
    ctx()->modelImage = nullptr;
    MemFree(image_);
    ItemContextTest::TearDown();
  }
  void SetValue(WORD id, const char* value) { ASSERT_TRUE(ItemSetValueById(ctx(), id, Val(value))); }

  ModelImageHeader* image_ = nullptr;
};

TEST_F(ModelLookupTest, DescriptorsBySlotListAndSymbol) {
  const ModelItemDescriptor* copies = ModelFindDescriptor(kItem_dmCopies, ctx());
  ASSERT_NE(copies, nullptr);
  EXPECT_EQ(copies->symbolId, Sym("TOV_dmCopies"));
  EXPECT_EQ(ModelDescriptorOf(ctx(), Sym("TOV_dmCopies")), copies);
  EXPECT_EQ(ModelGetDescriptorBySymbol(Sym("TOV_dmCopies"), ctx()), copies);
  EXPECT_EQ(ModelFindDescriptor(0, ctx()), nullptr);
  EXPECT_EQ(ModelDescriptorOf(ctx(), Sym("TOV_zdmTelNo")), nullptr);
  // An empty slot has no descriptor even while one with its id is on the list.
  image_->slotsLow[kItem_dmCopies - 1] = nullptr;
  EXPECT_EQ(ModelFindDescriptor(kItem_dmCopies, ctx()), nullptr);
  EXPECT_EQ(ModelGetItemType(kItem_dmCopies, ctx()), 0);
  EXPECT_EQ(ModelGetValueCount(kItem_dmCopies, ctx()), -1);

  // Identity items keep their flag in the raw type only.
  EXPECT_EQ(ModelGetItemRawType(kItem_dmYResolution, ctx()) & kModelTypeIdentity, kModelTypeIdentity);
  EXPECT_EQ(ModelGetItemType(kItem_dmYResolution, ctx()) & kModelTypeFlags, 0);

  const ExclusiveRecord* duplex = ModelFindExclusive(Sym("TOV_zdmFuncSelectDuplex"), ctx());
  ASSERT_NE(duplex, nullptr);
  EXPECT_NE(duplex->valueRules, nullptr);
  EXPECT_EQ(ModelFindExclusive(Sym("TOV_dmCopies"), ctx()), nullptr);
  ASSERT_NE(ModelGetUiResDllName(ctx()), nullptr);
  EXPECT_EQ(model_test::Narrow(ModelGetUiResDllName(ctx())), "zemsresus.dll");
}

TEST_F(ModelLookupTest, ValueListsCountsAndDefaults) {
  WORD index = 0xFFFF;
  const void* colors = ModelGetValueList(kItem_dmColor, ctx(), &index);
  ASSERT_NE(colors, nullptr);
  EXPECT_EQ(index, 1);  // DMCOLOR_COLOR is the second entry
  EXPECT_EQ(ModelValueListLength(colors), 2);
  EXPECT_EQ(ModelValueListLength(nullptr), 0);
  EXPECT_EQ(ModelGetItemDefault(kItem_dmColor, ctx()), Val("DMCOLOR_COLOR"));

  const WORD effect = ItemFindBySymbol(ctx(), Sym("TOV_wdmWmEffect"))->id;
  EXPECT_EQ(ModelGetValueCount(effect, ctx()), 4);  // PickMany counts its entries...
  EXPECT_EQ(ModelGetItemDefault(effect, ctx()), 0);  // ...and has no model default
  index = 0xFFFF;
  ModelGetValueList(effect, ctx(), &index);
  EXPECT_EQ(index, 0xFFFF) << "PickMany has no default index";

  EXPECT_EQ(ModelGetValueCount(kItem_dmCopies, ctx()), 0);  // Numeric
  EXPECT_EQ(ModelGetItemDefault(kItem_dmCopies, ctx()), 1);
  EXPECT_EQ(ModelGetValueCount(kItem_zdmTelNo, ctx()), -1);
}

TEST_F(ModelLookupTest, ChoicesWalkListsOnly) {
  const ModelItemDescriptor* duplex = ModelDescriptorOf(ctx(), Sym("TOV_zdmFuncSelectDuplex"));
  ASSERT_NE(duplex, nullptr);
  std::vector<WORD> values;
  int withRule = 0;
  for (const void* c = duplex->values; c; c = ModelNextChoice(duplex, c)) {
    const ValueRule* rule = nullptr;
    values.push_back(ModelChoiceValue(duplex, c, &rule));
    if (rule) {
      ++withRule;
      EXPECT_EQ(values.back(), Val("ZDMFUNCSELECTDUPLEX_ON"));
    }
  }
  EXPECT_EQ(values, model_test::ValueIds(duplex));
  EXPECT_EQ(withRule, 1);

  const ModelItemDescriptor* copies = ModelFindDescriptor(kItem_dmCopies, ctx());
  const ValueRule* rule = reinterpret_cast<const ValueRule*>(1);
  EXPECT_EQ(ModelChoiceValue(copies, copies->values, &rule), 0);
  EXPECT_EQ(rule, nullptr);
  EXPECT_EQ(ModelNextChoice(copies, copies->values), nullptr);
}

TEST_F(ModelLookupTest, DisableQuestionsFollowTheSettings) {
  const WORD staple = Sym("TOV_zdmStapleType");
  const ModelItemDescriptor* stapleDesc = ModelDescriptorOf(ctx(), staple);
  SetValue(kItem_dmPaperSize, "DMPAPERSIZE_A4");
  SetValue(kItem_dmOrientation, "DMORIENTATION_PORTRAIT");
  EXPECT_EQ(ModelIsSymbolDisabled(ctx(), staple), 0);
  EXPECT_EQ(ModelIsDescriptorDisabled(ctx(), stapleDesc, Val("ZDMSTAPLETYPE_LEFT2")), 0);
  EXPECT_EQ(ModelIsDescriptorDisabled(ctx(), stapleDesc, Val("ZDMSTAPLETYPE_TOP2")), 1);
  SetValue(kItem_dmOrientation, "DMORIENTATION_LANDSCAPE");
  EXPECT_EQ(ModelIsDescriptorDisabled(ctx(), stapleDesc, Val("ZDMSTAPLETYPE_LEFT2")), 1);
  EXPECT_EQ(ModelIsDescriptorDisabled(ctx(), stapleDesc, Val("ZDMSTAPLETYPE_OFF")), 0);
  SetValue(kItem_dmPaperSize, "DMPAPERSIZE_ENV10");
  EXPECT_EQ(ModelIsSymbolDisabled(ctx(), staple), 1);
  EXPECT_EQ(ModelIsDescriptorDisabled(ctx(), stapleDesc, Val("ZDMSTAPLETYPE_OFF")), 1);
  EXPECT_EQ(ModelIsSymbolDisabled(ctx(), Sym("TOV_dmCopies")), 0);
  EXPECT_EQ(ModelIsDescriptorDisabled(ctx(), nullptr, 0), 0);
}

TEST_F(ModelLookupTest, FreeSizeChoosesTheInputDescriptionAndLeavesNoTrace) {
  const WORD widthIn = Sym("TOV_zdmPaperFreeSizeWidthIn");
  const WORD lengthIn = Sym("TOV_zdmPaperFreeSizeLengthIn");
  ASSERT_NE(ItemFindBySymbol(ctx(), widthIn), nullptr);
  EXPECT_EQ(ItemFindBySymbol(ctx(), widthIn)->id, kItem_zdmPaperFreeSizeWidth);

  // Without the switch the slot holds the output description.
  EXPECT_EQ(ModelFindDescriptor(kItem_zdmPaperFreeSizeWidth, ctx())->symbolId, Sym("TOV_zdmPaperFreeSizeWidth"));
  ASSERT_TRUE(ItemSetRawById(ctx(), kItem_wdmInputFreeSizeType, 2));
  SettingItem* type = Item(kItem_wdmInputFreeSizeType);
  type->state = static_cast<WORD>(type->state & ~ItemStateChangeMask);
  Ui()->modified = 0;
  Ui()->changeFlags = 0x40;

  const ModelItemDescriptor* w = ModelGetDescriptor(kItem_zdmPaperFreeSizeWidth, ctx());
  const ModelItemDescriptor* l = ModelGetDescriptor(kItem_zdmPaperFreeSizeLength, ctx());
  ASSERT_NE(w, nullptr);
  ASSERT_NE(l, nullptr);
  EXPECT_EQ(w->symbolId, widthIn);
  EXPECT_EQ(l->symbolId, lengthIn);
  EXPECT_EQ(static_cast<const NumericValueRecord*>(w->values)->maximum, 14409) << "305 mm in 1/1200 inch";
  EXPECT_EQ(ItemGetRawById(ctx(), kItem_wdmInputFreeSizeType), 2);
  EXPECT_EQ(type->state & ItemStateChangeMask, ItemStateChanged) << "the switch's own mark stays";
  EXPECT_EQ(Ui()->modified, 0);
  EXPECT_EQ(Ui()->changeFlags, 0x40u);

  // Other items take the slot; by row too.
  EXPECT_EQ(ModelGetDescriptor(kItem_dmCopies, ctx()), ModelFindDescriptor(kItem_dmCopies, ctx()));
  EXPECT_EQ(ModelGetDescriptorAt(ctx(), ItemRowIndex(kItem_dmCopies)), ModelFindDescriptor(kItem_dmCopies, ctx()));
  EXPECT_EQ(ModelGetDescriptorAt(ctx(), -1), nullptr);
  EXPECT_EQ(ModelGetDescriptorAt(ctx(), 100000), nullptr);
}

TEST_F(ModelLookupTest, EnabledVariantSkipsDescriptionsWhoseJudgesHold) {
  ASSERT_TRUE(ItemSetRawById(ctx(), kItem_wdmInputFreeSizeType, 1));
  const WORD id = kItem_zdmPaperFreeSizeWidth;
  EXPECT_EQ(ModelFindEnabledVariant(ctx(), id, 0)->symbolId, Sym("TOV_zdmPaperFreeSizeWidth"));
  EXPECT_EQ(ModelFindEnabledVariant(ctx(), id, kModelTestDisabled)->symbolId, Sym("TOV_zdmPaperFreeSizeWidthIn"));
  EXPECT_EQ(ModelFindEnabledVariant(ctx(), id, kModelTestRestricted)->symbolId, Sym("TOV_zdmPaperFreeSizeWidth"));
  // Every description disabled: none applies.
  const_cast<ExclusiveRecord*>(ModelFindExclusive(Sym("TOV_zdmPaperFreeSizeWidthIn"), ctx()))->judgeDisabled =
      ModelFindExclusive(Sym("TOV_zdmPaperFreeSizeWidth"), ctx())->judgeDisabled;
  EXPECT_EQ(ModelFindEnabledVariant(ctx(), id, kModelTestDisabled), nullptr);
}

TEST_F(ModelLookupTest, WithoutDescriptionEverythingIsMissing) {
  ctx()->modelImage = nullptr;
  EXPECT_EQ(ModelFindDescriptor(kItem_dmCopies, ctx()), nullptr);
  EXPECT_EQ(ModelGetValueCount(kItem_dmCopies, ctx()), -1);
  EXPECT_EQ(ModelGetItemDefault(kItem_dmCopies, ctx()), 0);
  EXPECT_EQ(ModelGetItemType(kItem_dmCopies, ctx()), 0);
  EXPECT_EQ(ModelGetValueList(kItem_dmCopies, ctx()), nullptr);
  EXPECT_EQ(ModelGetDescriptor(kItem_zdmPaperFreeSizeWidth, ctx()), nullptr);
  EXPECT_EQ(ModelDescriptorOf(ctx(), Sym("TOV_dmCopies")), nullptr);
  EXPECT_EQ(ModelFindExclusive(Sym("TOV_zdmFuncSelectDuplex"), ctx()), nullptr);
  EXPECT_EQ(ModelGetUiResDllName(ctx()), nullptr);
  EXPECT_EQ(ModelIsSymbolDisabled(ctx(), Sym("TOV_zdmStapleType")), 0);
  EXPECT_EQ(ModelFindDescriptor(kItem_dmCopies, nullptr), nullptr);
}

}  // namespace
