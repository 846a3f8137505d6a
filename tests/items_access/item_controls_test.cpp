// Item calls through dialog controls, the watermark name display, string ids stored into text
// items and the lock state of lockable controls.
#include <gtest/gtest.h>

#include <string>

#include "core/items/derived_settings.h"
#include "core/items/item_access.h"
#include "core/items/item_display.h"
#include "core/front/dialog_records.h"
#include "core/items/item_ids.h"
#include "support/item_context.h"

namespace {

using zems_test::ItemContextTest;

std::u16string Text(const WCHAR* w) { return std::u16string(reinterpret_cast<const char16_t*>(w)); }
const WCHAR* W(const char16_t* s) { return reinterpret_cast<const WCHAR*>(s); }

// One page with the three watermark name controls and a choice control.
class ControlsTest : public ItemContextTest {
 protected:
  void SetUp() override {
    ItemContextTest::SetUp();
    const struct { WORD control; WORD item; } bound[] = {
        {2310, kItem_wdmWmCharName},
        {2339, kItem_wdmWmImageName},
        {2584, kItem_wdmWmChar},
        {2017, kItem_dmPaperSize},
    };
    for (int i = 0; i < 4; ++i) {
      controls_[i].controlId = bound[i].control;
      controls_[i].item = Item(bound[i].item);
    }
    page_.dialogId = 1002;
    page_.controls = controls_;
    page_.controlCount = 4;
    table_.count = 1;
    table_.rows = &page_;
    ctx()->pages = &table_;
  }
  void TearDown() override {
    ctx()->pages = nullptr;
    ItemContextTest::TearDown();
  }

  DlgControlRecord controls_[4] = {};
  DlgPageRecord page_{};
  DlgPageTable table_{};
};

TEST_F(ControlsTest, TextAndValueThroughTheControl) {
  ASSERT_NE(nullptr, ItemSetControlText(ctx(), 2310, W(u"Confidential")));
  WCHAR buffer[64];
  ASSERT_NE(nullptr, ItemGetControlText(ctx(), 2310, buffer));
  EXPECT_EQ(u"Confidential", Text(buffer));
  EXPECT_EQ(nullptr, ItemSetControlText(ctx(), 9999, W(u"x"))) << "no such control";
  EXPECT_EQ(nullptr, ItemGetControlText(ctx(), 9999, buffer));

  ASSERT_TRUE(ItemSetControlValue(ctx(), &controls_[3], 9));
  EXPECT_EQ(9, ItemGetRawById(ctx(), kItem_dmPaperSize));
  EXPECT_EQ(ItemGetValueById(ctx(), kItem_dmPaperSize), ItemGetControlValue(ctx(), &controls_[3]));
  EXPECT_EQ(0, ItemGetControlValue(ctx(), nullptr));
}

TEST_F(ControlsTest, WatermarkIdShowsTheNameOfItsKind) {
  ItemSetControlText(ctx(), 2310, W(u"Draft"));
  ItemSetControlText(ctx(), 2339, W(u"Logo"));
  ItemSetControlText(ctx(), 2584, W(u"Both"));
  const std::u16string names[] = {u"Draft", u"Logo", u"Both"};
  for (int kind = 1; kind <= 3; ++kind) {
    ItemSetRawById(ctx(), kItem_zdmWmKind, kind);
    WCHAR buffer[32];
    ItemFormatDescribedValue(ctx(), Item(kItem_zdmWmID), nullptr, buffer, 32);
    EXPECT_EQ(names[kind - 1], Text(buffer)) << "kind " << kind;
  }
  ItemSetRawById(ctx(), kItem_zdmWmKind, 1);
  WCHAR small[4];
  ItemFormatDescribedValue(ctx(), Item(kItem_zdmWmID), nullptr, small, 4);
  EXPECT_EQ(u"Dra", Text(small));
  ItemSetRawById(ctx(), kItem_zdmWmKind, 0);
  WCHAR buffer[32];
  ItemFormatDescribedValue(ctx(), Item(kItem_zdmWmID), nullptr, buffer, 32);
  EXPECT_EQ(u"", Text(buffer)) << "string 96, empty without a language DLL";
}

// Text items take a string id as a string; the string is empty while no language DLL exists,
// so the item is cleared and marked. Other items take the value.
TEST_F(ItemContextTest, ValueOrStringByItemType) {
  ItemSetText(ctx(), Item(kItem_wdmFreeSizeName), W(u"old"));
  Item(kItem_wdmFreeSizeName)->state = 0;
  ASSERT_TRUE(ItemSetValueOrString(ctx(), 915, 752));
  WCHAR buffer[40];
  ItemGetText(ctx(), Item(kItem_wdmFreeSizeName), buffer);
  EXPECT_EQ(u"", Text(buffer));
  EXPECT_EQ(1u, Item(kItem_wdmFreeSizeName)->state & 3u);
  ASSERT_TRUE(ItemSetValueOrString(ctx(), 7, 2027));
  EXPECT_EQ(2, ItemGetRawById(ctx(), kItem_dmOrientation));
  EXPECT_FALSE(ItemSetValueOrString(ctx(), 5000, 1));
}

TEST_F(ItemContextTest, LockableControlFollowsItsGuardItem) {
  DlgControlRecord control{};
  control.controlId = 2007;
  control.guardItem = 10419;
  EXPECT_EQ(0, CtlIsLockedByRule(ctx(), &control));
  control.lockMessage = 1;  // lockable
  EXPECT_EQ(0, CtlIsLockedByRule(ctx(), &control));
  ItemSetRawById(ctx(), kItem_zdmLock000InfoBitTray, 1);
  EXPECT_EQ(1, CtlIsLockedByRule(ctx(), &control));
  control.lockMessage = 0;
  EXPECT_EQ(0, CtlIsLockedByRule(ctx(), &control)) << "not lockable";
  EXPECT_EQ(0, CtlIsLockedByRule(ctx(), nullptr));
}

}  // namespace
