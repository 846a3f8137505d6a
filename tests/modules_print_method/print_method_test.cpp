// The print-method module's window-less answers in each deliverable.
#include <gtest/gtest.h>

#include "core/bind/bidi_store.h"
#include "core/context/module_bus.h"
#include "core/context/ui_state.h"
#include "core/devmode/field_merge.h"
#include "core/front/dialog_records.h"
#include "core/items/item_access.h"
#include "core/items/item_ids.h"
#include "core/items/item_table.h"
#include "core/model/model_lookup.h"
#include "core/modules/module_rows.h"
#include "support/test_printer.h"

namespace zems_test {
namespace {

class PrintMethodTest : public ContextTest {
 protected:
  void SetUp() override {
    ContextTest::SetUp();
    ctx_ = CtxOpen(office_, office_, nullptr, 0, kKindSettings, 0, nullptr);
    ASSERT_NE(nullptr, ctx_);
  }
  void TearDown() override {
    if (ctx_) CtxRelease(ctx_, kReleaseExpired);
    ContextTest::TearDown();
  }
  void Set(WORD id, LONG value) { ItemSetRawById(ctx_, id, value); }
  LONG Get(WORD id) { return static_cast<LONG>(ItemGetRawById(ctx_, id)); }
  DriverContext* ctx_ = nullptr;
};

TEST_F(PrintMethodTest, TheSeparationCycleFollowsTheCopies) {
  Set(kItem_dmCopies, 3);
  Set(kItem_zdmSeparationSheetCycle, 5);
  EXPECT_EQ(1, ModBusJudgeHookValue(ctx_, 1404)) << "fewer copies than the cycle";
  ModBusNotify(ctx_, 901);
  EXPECT_EQ(3, Get(kItem_zdmSeparationSheetCycle));
  EXPECT_EQ(0, ModBusJudgeHookValue(ctx_, 1404));
  Set(kItem_dmCopies, 0);
  ModBusNotify(ctx_, 901);
  EXPECT_EQ(3, Get(kItem_zdmSeparationSheetCycle)) << "no copies: the cycle stays";
  EXPECT_EQ(0, ModBusJudgeHookValue(ctx_, 1405));
}

TEST_F(PrintMethodTest, QuestionsOfTheMergeAndTheLists) {
  SettingItem* resolution = ItemFind(ctx_, kItem_zdmDstResolutionW);
  ASSERT_NE(nullptr, resolution);
  DEVMODEW dm{};
  ResolutionEvent merge = {&dm, resolution, 1234};
  ModBusSendEvent(ctx_, 32, &merge);
  // The DEVMODE holds dots per inch: the sample's default ZDMDSTRESOLUTIONW_600 as stored.
  EXPECT_EQ(600, merge.value) << "the model default in place of the DEVMODE's resolution";
  LONG all = 7;
  ModBusSendEvent(ctx_, 30, &all);
  EXPECT_EQ(0, all);
  LONG small = 0;
  ModBusSendEvent(ctx_, 54, &small);
  EXPECT_EQ(1, small);
  // Tray details are asked for by the printer interface and the exclusion DLL, not the graphics DLL.
  for (const UiModuleEntry* rows : {kModuleRowsPrinterInterface, kModuleRowsExclusion, kModuleRowsGraphics}) {
    DWORD details = 0;
    rows[kModulePrintMethod].event(ctx_, 21, &details, nullptr);
    EXPECT_EQ(rows == kModuleRowsGraphics ? 0u : 1u, details);
  }
}

// A cancelled tabbed dialog gives the colour-matching items back the values noted before it.
TEST_F(PrintMethodTest, ACancelledTabbedDialogRestoresTheColourMatching) {
  Set(kItem_zdmAdjustMode, 1);
  Set(kItem_zdmAdjustObject, 0);  // text
  Set(kItem_wdmColorMatchingText, 2);
  ModBusNotify(ctx_, 112);  // a delete notes the current colour matching
  Set(kItem_wdmColorMatchingText, 5);
  DlgPageRecord page{};
  page.dialogId = 1038;
  struct {
    DlgPageRecord* page;
  } argument = {&page};
  ModBusSendEvent(ctx_, 34, &argument);
  EXPECT_EQ(5, Get(kItem_wdmColorMatchingText)) << "not a tabbed dialog";
  page.kind = 0x20;
  ModBusSendEvent(ctx_, 34, &argument);
  EXPECT_EQ(2, Get(kItem_wdmColorMatchingText));
  EXPECT_EQ(0, ctx_->ui->cmmMatchingNoted) << "the restore ends as an accepted dialog";
}

TEST_F(PrintMethodTest, PlugInControlsAndComboRefills) {
  DlgPageRecord edit{}, other{};
  edit.dialogId = 1003;
  other.dialogId = 1002;
  DlgControlRecord stamp{};
  stamp.controlId = 2088;
  struct {
    DlgPageRecord* page;
    DlgControlRecord* control;
  } refresh = {&edit, &stamp};
  ModBusSendEvent(ctx_, 66, &refresh);
  EXPECT_EQ(0, stamp.state & 0x3) << "the watermark plug-in is off";
  Set(542, 1);  // zdmFunc2SelectUICtrlWaterMark
  refresh.page = &other;
  ModBusSendEvent(ctx_, 66, &refresh);
  EXPECT_EQ(0, stamp.state & 0x3) << "only the edit page";
  refresh.page = &edit;
  ModBusSendEvent(ctx_, 66, &refresh);
  EXPECT_EQ(1, stamp.state & 0x3);
  DlgControlRecord combo{};
  combo.lockState = 0x1;
  DlgControlRecord* taken = &combo;
  ModBusSendEvent(ctx_, 67, &taken);
  EXPECT_EQ(0x3u, combo.lockState);
}

}  // namespace
}  // namespace zems_test
