// Binding of a context's dialog tables and a control's initialisation.
#include "core/context/settings_snapshot.h"
#include "core/context/ui_state.h"
#include "core/front/control_lookup.h"
#include "core/front/page_lookup.h"
#include "core/items/item_access.h"
#include "core/items/item_ids.h"
#include "core/items/item_table.h"
#include "core/model/model_lookup.h"
#include "ui_engine/engine_fixture.h"

namespace zems_test {
namespace {

class BindTest : public EngineTest {
 protected:
  void SetUp() override {
    EngineTest::SetUp();
    if (HasFatalFailure()) return;
    // The items and symbols these controls carry are stand-ins for the full tables.
    SetControls(1002, {Control(2036, 43, SymbolOf(kItem_zdmPresetNo)), Control(2100, 47, SymbolOf(kItem_zdmStapleType)),
                       Control(2388, 61, SymbolOf(kItem_zdmWmKind)), Control(2269, 63, SymbolOf(kItem_zdmNUPType))});
    SetControls(1003, {Control(2078, 43, SymbolOf(kItem_dmCopies)), Control(2389, 61, SymbolOf(kItem_zdmWmID))});
    SetControls(1007, {Control(2139, 50, SymbolOf(kItem_zdmPresetNo)), Control(2145, 61, SymbolOf(kItem_wdmPresetName)),
                       Control(2146, 61, SymbolOf(kItem_zdmLogCode))});
  }
};

TEST_F(BindTest, EachControlGetsItsItemDescriptionAndAlias) {
  DlgPageRecord* page = PageFind(ctx_, 1002);
  DlgBindControls(ctx_, page);
  DlgControlRecord* staple = CtlFind(ctx_, page, 2100);
  ASSERT_NE(staple, nullptr);
  EXPECT_EQ(staple->item, ItemFind(ctx_, kItem_zdmStapleType));
  EXPECT_EQ(staple->descriptor, ModelDescriptorOf(ctx_, SymbolOf(kItem_zdmStapleType)));
  EXPECT_NE(staple->descriptor, nullptr);
  EXPECT_EQ(staple->aliasId, 2100);
  EXPECT_EQ(staple->flags, 0x10000u | kCtlPictureItems);  // the staple list's refresh class, drawn as pictures
  // A control whose symbol names no item keeps a null item.
  SetControls(1005, {Control(2402, 1, 0)});
  EXPECT_EQ(CtlFind(ctx_, PageFind(ctx_, 1005), 2402)->item, nullptr);
}

TEST_F(BindTest, SharedSymbolsAndStorage) {
  DlgBindControls(ctx_, PageFind(ctx_, 1002));
  // The preset choice of 1003 shows what 2036 of 1002 shows.
  EXPECT_EQ(CtlFind(ctx_, PageFind(ctx_, 1003), 2078)->symbolId, SymbolOf(kItem_zdmPresetNo));
  // Name edits store where the maintenance dialog's preset-name edit stores.
  const WORD nameOffset = ItemFind(ctx_, kItem_wdmPresetName)->areaOffset;
  EXPECT_EQ(ItemFind(ctx_, kItem_zdmWmKind)->areaOffset, nameOffset);
  EXPECT_EQ(ItemFind(ctx_, kItem_zdmWmID)->areaOffset, nameOffset);
  // The work copy of the N-up type is the N-up type's bytes.
  SettingItem* work = ItemFind(ctx_, kItem_wdmNUPType);
  SettingItem* nup = ItemFind(ctx_, kItem_zdmNUPType);
  EXPECT_EQ(work->areaOffset, nup->areaOffset);
  EXPECT_EQ(work->descriptor, nup->descriptor);
  ItemSetRaw(ctx_, nup, 4);
  EXPECT_EQ(ItemGetValue(ctx_, work), ItemGetValue(ctx_, nup));
  // The preset number reads through the built-in list: stored -1 is 118, slot n 119 + n.
  ItemSetRawById(ctx_, kItem_zdmPresetNo, -1);
  EXPECT_EQ(ItemGetValueById(ctx_, kItem_zdmPresetNo), 118);
  ItemSetRawById(ctx_, kItem_zdmPresetNo, 3);
  EXPECT_EQ(ItemGetValueById(ctx_, kItem_zdmPresetNo), 122);
}

// The preview picture's watermark record: its symbols become item ids in table order (text,
// face, style, ... opacity), the face word naming wdmWmFontName, and every preview picture
// shares the bound record.
TEST_F(BindTest, ThePreviewPicturesWatermarkRecordNamesItsItems) {
  const WORD record[15] = {8, SymbolOf(kItem_wdmWmChar), SymbolOf(kItem_wdmWmImage), 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
                           SymbolOf(kItem_wdmWmOpaque), 0};
  DlgControlRecord picture = Control(2039, 2, 0);
  picture.extension = const_cast<WORD*>(record);
  SetControls(1002, {picture});
  SetControls(1003, {Control(2039, 2, 0)});
  DlgBindControls(ctx_, PageFind(ctx_, 1002));
  for (WORD dialog : {1002, 1003}) {
    const auto* bound = static_cast<const WORD*>(CtlFind(ctx_, PageFind(ctx_, dialog), 2039)->extension);
    ASSERT_NE(nullptr, bound) << dialog;
    EXPECT_EQ(8, bound[0]);
    EXPECT_EQ(kItem_wdmWmChar, bound[1]);
    EXPECT_EQ(kItem_wdmWmFontName, bound[2]);
    EXPECT_EQ(0, bound[3]);
    EXPECT_EQ(kItem_wdmWmOpaque, bound[13]);
  }
}

TEST_F(BindTest, StoringTheStapleTypeRaisesTheListClasses) {
  DlgBindControls(ctx_, PageFind(ctx_, 1002));
  CtxClearChangeFlags(ctx_, 0xFFFFFFFF);
  ItemSetRawById(ctx_, kItem_zdmStapleType, 0x21);
  EXPECT_EQ(CtxGetChangeFlags(ctx_) & kChangeRefreshClasses, 0x1030000u);
}

TEST_F(BindTest, BindingClearsOnlyThePendingRefreshClasses) {
  CtxAddChangeFlags(ctx_, 0x10000 | 0x100000 | kChangeConfirmNew);
  DlgBindControls(ctx_, PageFind(ctx_, 1002));
  EXPECT_EQ(CtxGetChangeFlags(ctx_) & kChangeRefreshClasses, 0u);
  EXPECT_NE(CtxGetChangeFlags(ctx_) & kChangeConfirmNew, 0u);
}

TEST_F(BindTest, BindsOncePerContextAndPushesOneSnapshot) {
  const LONG depth = CtxSnapshotDepth(ctx_);
  DlgBindControls(ctx_, PageFind(ctx_, 1002));
  DlgBindControls(ctx_, PageFind(ctx_, 1002));
  EXPECT_EQ(CtxSnapshotDepth(ctx_), depth + 1);
}

TEST_F(BindTest, WithoutModelDescriptionEveryInitialisationBindsAgain) {
  ModelImage* image = ctx_->modelImage;
  ctx_->modelImage = nullptr;
  const LONG depth = CtxSnapshotDepth(ctx_);
  DlgBindControls(ctx_, PageFind(ctx_, 1002));
  // Bound again: the table's adjustments are made again (a control's flags are set afresh).
  DlgControlRecord* staple = CtlFind(ctx_, PageFind(ctx_, 1002), 2100);
  staple->flags = 0;
  DlgBindControls(ctx_, PageFind(ctx_, 1002));
  EXPECT_NE(staple->flags, 0u);
  // The context's snapshot level is pushed once, so no level lands inside a sub-dialog's.
  EXPECT_EQ(CtxSnapshotDepth(ctx_), depth + 1);
  EXPECT_EQ(CtlFind(ctx_, PageFind(ctx_, 1002), 2100)->descriptor, nullptr);
  EXPECT_EQ(CtlFind(ctx_, PageFind(ctx_, 1002), 2100)->item, ItemFind(ctx_, kItem_zdmStapleType));
  ctx_->modelImage = image;
}

TEST_F(BindTest, ControlInitialisationSubclassesOnceUnlessAModuleTakesIt) {
  HWND page = OpenPage(1002);
  ASSERT_NE(page, nullptr);
  DlgPageRecord* record = PageFind(ctx_, 1002);
  DlgControlRecord* staple = CtlFind(ctx_, record, 2100);
  EXPECT_NE(staple->savedWindowProc, nullptr);
  EXPECT_EQ(WuiGetSlot(staple->window, GWL_USERDATA), reinterpret_cast<LONG_PTR>(staple));
  // Initialised again: no second subclassing.
  const size_t subclassed = Calls(kSimUiSubclass).size();
  CtlInitControl(ctx_, record, staple);
  EXPECT_EQ(Calls(kSimUiSubclass).size(), subclassed);

  // A module that takes message 272 for a control leaves it to the module.
  Log().consumeInitOf = 2388;
  Log().inits.clear();
  DlgControlRecord* edit = CtlFind(ctx_, record, 2388);
  edit->savedWindowProc = nullptr;
  CtlInitControl(ctx_, record, edit);
  EXPECT_EQ(edit->savedWindowProc, nullptr);
  EXPECT_TRUE(Log().inits.empty());
  WuiDestroy(page);
}

}  // namespace
}  // namespace zems_test
