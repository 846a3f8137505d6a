// Transact lists of a small fixture model (tests/fixtures/model/transacts.zmd) run on an item
// context: dialog targets, judges asked again or skipped, text items, wdmBuiltInFunc in the
// printer interface and elsewhere, and the conversion script found by symbol.
#include <gtest/gtest.h>

#include <vector>

#include "core/context/module_bus.h"
#include "core/context/ui_state.h"
#include "core/items/item_access.h"
#include "core/items/item_ids.h"
#include "core/model/model_lookup.h"
#include "core/rules/judge_eval.h"
#include "core/rules/transacts.h"
#include "core/tables/symbol_table.h"
#include "core/tables/value_symbols.h"
#include "support/item_context.h"
#include "support/sample_model.h"
#include "support/test_variant.h"
#include "ui2k/dlg_notify.h"

namespace {

using zems_test::ItemContextTest;

WORD Symbol(const char* name) {
  const SymbolEntry* s = TblFindSymbolByName(name);
  EXPECT_NE(s, nullptr) << name;
  return s ? s->symbolId : 0;
}

// Logical values of value symbols by name.
WORD Val(const char* name) { return zems_test::SymbolLogical(name); }

class TransactTest : public ItemContextTest {
 protected:
  void SetUp() override {
    ItemContextTest::SetUp();
    zems_test::ResetTestVariant();
    ASSERT_EQ(ModelAllocEvalStack(ctx()), 0);
    model_ = new zems_test::SampleModel(ctx(), "tests/fixtures/model/transacts.zmd");
    ASSERT_NE(model_->image(), nullptr);
  }
  void TearDown() override {
    delete model_;
    ModelFreeEvalStack(ctx());
    zems_test::ResetTestVariant();
    ItemContextTest::TearDown();
  }
  LONG Copies() { return static_cast<LONG>(ItemGetValueById(ctx(), kItem_dmCopies)); }
  LONG Color() { return static_cast<LONG>(ItemGetValueById(ctx(), kItem_dmColor)); }

  zems_test::SampleModel* model_ = nullptr;
};

// Each case starts from copies 1 and the given colour and runs the list of one Exclusive entry.
TEST_F(TransactTest, EntriesJudgesAndDialogTargets) {
  struct Case {
    const char* what;
    const char* symbol;  // whose Transact list runs
    const char* colorBefore;
    int result;
    LONG copies;
    const char* colorAfter;
  } cases[] = {
      {"a dialog target ends the run: later actions and entries stay unrun", "TOV_dmColor", "DMCOLOR_MONO",
       1001, 2, "DMCOLOR_MONO"},
      {"after a true entry the same judge is asked again (now false)", "TOV_dmCopies", "DMCOLOR_MONO", 0, 1,
       "DMCOLOR_COLOR"},
      {"after a true entry the same judge is asked again (still true)", "TOV_dmDuplex", "DMCOLOR_MONO", 0, 7,
       "DMCOLOR_COLOR"},
      {"after a false entry the same judge is skipped", "TOV_dmDuplex", "DMCOLOR_COLOR", 0, 1, "DMCOLOR_COLOR"},
      {"after a false entry another judge is asked", "TOV_dmCollate", "DMCOLOR_COLOR", 0, 7, "DMCOLOR_COLOR"},
      {"an entry without judge runs; the next judge sees its change", "TOV_dmOrientation", "DMCOLOR_MONO", 0, 7,
       "DMCOLOR_COLOR"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ASSERT_TRUE(ItemSetValueById(ctx(), kItem_dmCopies, 1));
    ASSERT_TRUE(ItemSetValueById(ctx(), kItem_dmColor, Val(c.colorBefore)));
    EXPECT_EQ(ModelRunItemTransactById(Symbol(c.symbol), ctx()), c.result);
    EXPECT_EQ(Copies(), c.copies);
    EXPECT_EQ(Color(), Val(c.colorAfter));
  }
}

TEST_F(TransactTest, ByDescriptorAndWithoutRules) {
  ItemSetValueById(ctx(), kItem_dmCopies, 1);
  EXPECT_EQ(ModelRunItemTransacts(ModelDescriptorOf(ctx(), Symbol("TOV_dmColor")), ctx()), 1001);
  EXPECT_EQ(Copies(), 2);
  EXPECT_EQ(ModelRunItemTransacts(nullptr, ctx()), 0);
  EXPECT_EQ(ModelRunItemTransactById(Symbol("TOV_zdmMediaType"), ctx()), 0) << "no Exclusive entry";
  EXPECT_EQ(JudgeRunTransactList(nullptr, ctx()), 0);
  EXPECT_EQ(Copies(), 2);
}

// The conversion script is an Exclusive entry of a symbol that is no setting item.
TEST_F(TransactTest, ConversionScriptBySymbol) {
  ItemSetValueById(ctx(), kItem_dmColor, Val("DMCOLOR_COLOR"));
  EXPECT_EQ(ModelRunItemTransactById(Symbol("TOV_ConvertDevmode"), ctx()), 0);
  EXPECT_EQ(Copies(), 3);
  ItemSetValueById(ctx(), kItem_dmColor, Val("DMCOLOR_MONO"));
  EXPECT_EQ(ModelRunItemTransactById(Symbol("TOV_ConvertDevmode"), ctx()), 0);
  EXPECT_EQ(Copies(), 7);
}

// A text item takes the value as a string id: the old text is replaced by the string (empty
// while no language DLL is loaded) and the item marked; as a plain value the number would be
// refused.
TEST_F(TransactTest, ActionOnATextItemStoresTheString) {
  const WCHAR old[] = {'o', 'l', 'd', 0};
  ASSERT_NE(ItemSetText(ctx(), Item(kItem_zdmOwnerName), old), nullptr);
  Item(kItem_zdmOwnerName)->state = 0;
  EXPECT_EQ(ModelRunItemTransactById(Symbol("TOV_dmScale"), ctx()), 0);
  WCHAR text[32] = {'x', 0};
  ItemGetText(ctx(), Item(kItem_zdmOwnerName), text);
  EXPECT_EQ(text[0], 0);
  EXPECT_EQ(Item(kItem_zdmOwnerName)->state & 3u, 1u) << "marked changed";
}

// wdmBuiltInFunc: the printer interface hands the value to its change notification (code 2
// adds change flag 0x10000000 and leaves the item alone); without a dialog engine the action
// sets the item like any other.
TEST_F(TransactTest, BuiltInFunctionByDeliverable) {
  struct Case {
    const char* what;
    void (*notify)(DriverContext*, WORD);
    LONG item;
    DWORD flag;
  } cases[] = {
      {"zemsui", DlgNotifyChange, 0, 0x10000000},
      {"zemsgr and zemsexc", nullptr, 2, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    zems_test::TestVariant().notifyChange = c.notify;
    ItemSetRawById(ctx(), kItem_wdmBuiltInFunc, 0);
    CtxAddChangeFlags(ctx(), 0);
    EXPECT_EQ(ModelRunItemTransactById(Symbol("TOV_dmPrintQuality"), ctx()), 0);
    EXPECT_EQ(ItemGetRawById(ctx(), kItem_wdmBuiltInFunc), c.item);
    EXPECT_EQ(CtxGetChangeFlags(ctx()) & 0x10000000u, c.flag);
  }
}

std::vector<WORD> g_notified;
int RecordNotify(DriverContext*, WORD code, void*) {
  g_notified.push_back(code);
  return 0;
}

// The change notification by code, with one module row that records what reaches it. Code 1
// applies the paper change (with the output paper the input's and no scaling the scale goes
// back to 100); 3 and 4 load a custom-size slot only for a custom-size code, so they change
// nothing here.
TEST_F(ItemContextTest, NotifyChangeByCode) {
  UiModuleEntry row = {0, nullptr, RecordNotify, nullptr, nullptr};
  UiModuleTable table = {1, &row};
  Ui()->modules = &table;
  struct Case {
    WORD code;
    LONG scale;
    DWORD flags;
    bool toModules;
  } cases[] = {{1, 100, 0, false}, {2, 50, 0x10000000, false}, {3, 50, 0, false},
               {4, 50, 0, false},  {0, 50, 0, true},           {312, 50, 0, true}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.code);
    ItemSetRawById(ctx(), kItem_zdmOutPaperSize, 1024);
    ItemSetRawById(ctx(), kItem_dmPaperSize, 9);
    ItemSetRawById(ctx(), kItem_zdmFuncSelectScale, 0);
    ItemSetRawById(ctx(), kItem_zdmScaleH, 50);
    CtxAddChangeFlags(ctx(), 0);
    g_notified.clear();
    DlgNotifyChange(ctx(), c.code);
    EXPECT_EQ(ItemGetRawById(ctx(), kItem_zdmScaleH), c.scale);
    EXPECT_EQ(CtxGetChangeFlags(ctx()) & 0x10000000u, c.flags);
    EXPECT_EQ(g_notified, c.toModules ? std::vector<WORD>{c.code} : std::vector<WORD>{});
  }
  g_notified.clear();
  DlgNotifyChange(nullptr, 312);
  EXPECT_TRUE(g_notified.empty()) << "nothing without a context";
  Ui()->modules = nullptr;
}

}  // namespace
