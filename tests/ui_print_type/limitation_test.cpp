// The limitation dialog of the setting locks on the window interface's fake: the resolution
// box follows its lock bit, and OK asks once more (12034) before the locked resolution is kept.
#include <gtest/gtest.h>

#include "core/common/window_ui.h"
#include "core/context/ui_state.h"
#include "core/front/page_lookup.h"
#include "core/items/item_access.h"
#include "core/items/item_ids.h"
#include "core/modules/module_rows.h"
#include "core/tables/build_switches.h"
#include "platform/sim.h"
#include "support/test_printer.h"

namespace zems_test {
namespace {

class LimitationTest : public ContextTest {
 protected:
  void SetUp() override {
    ContextTest::SetUp();
    ctx_ = CtxOpen(office_, office_, nullptr, 0, kKindSettings, 0, nullptr);
    ASSERT_NE(nullptr, ctx_);
    page_ = PageFind(ctx_, 4031);
    ASSERT_NE(nullptr, page_);
    page_->window = SimUiMakeWindow(u"#32770", NULL, 0, 0);
    box_ = SimUiMakeWindow(u"Button", page_->window, 3147, WS_CHILD | WS_VISIBLE | BS_AUTOCHECKBOX);
  }
  void TearDown() override {
    if (ctx_) CtxRelease(ctx_, kReleaseExpired);
    ContextTest::TearDown();
  }
  int Send(WORD controlId, WPARAM wParam) {
    DlgControlRecord control{};
    control.controlId = controlId;
    control.window = controlId ? box_ : NULL;
    return LockHandleControl(ctx_, page_, controlId ? &control : nullptr, WM_COMMAND, wParam, 0, nullptr);
  }
  DriverContext* ctx_ = nullptr;
  DlgPageRecord* page_ = nullptr;
  HWND box_ = NULL;
};

TEST_F(LimitationTest, TheResolutionBoxSetsItsLockBit) {
  if (!BuildHasFeature(ctx_, kBuildFeatureSettingLocks)) GTEST_SKIP() << "the sample build has no setting locks";
  for (UINT check : {BST_CHECKED, BST_UNCHECKED, BST_CHECKED}) {
    WuiSetCheck(box_, check);
    EXPECT_EQ(1, Send(3147, MAKEWPARAM(3147, BN_CLICKED)));
    EXPECT_EQ(check == BST_CHECKED ? 1 : 0, ItemGetRawById(ctx_, kItem_zdmLock000InfoBitResolution));
  }
  EXPECT_EQ(0, Send(3147, MAKEWPARAM(3148, BN_CLICKED))) << "another control's command";
}

TEST_F(LimitationTest, OkAsksBeforeTheLockedResolutionIsKept) {
  if (!BuildHasFeature(ctx_, kBuildFeatureSettingLocks)) GTEST_SKIP() << "the sample build has no setting locks";
  const LONG_PTR locked = ItemGetRawById(ctx_, kItem_zdmLockDstResolutionBoth);
  ItemSetRawById(ctx_, kItem_wdmLock007Info, locked + 1);
  const LONG_PTR before = ItemGetRawById(ctx_, kItem_wdmLock007Info);
  ASSERT_NE(locked, before);
  const int cancel[] = {IDCANCEL};
  SimUiScriptAnswers(cancel, 1);
  EXPECT_EQ(1, Send(0, IDOK)) << "Cancel keeps the dialog open";
  EXPECT_EQ(before, ItemGetRawById(ctx_, kItem_wdmLock007Info));
  const int ok[] = {IDOK};
  SimUiScriptAnswers(ok, 1);
  EXPECT_EQ(0, Send(0, IDOK));
  EXPECT_EQ(locked, ItemGetRawById(ctx_, kItem_wdmLock007Info));
}

}  // namespace
}  // namespace zems_test
