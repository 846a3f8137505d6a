// Two processes saving the watermarks and presets of one printer at once: the count keys,
// names and sections of both survive, each with its last value.
#include <gtest/gtest.h>

#include <string>

#include "core/items/item_access.h"
#include "core/system/languages.h"
#include "core/store/free_size_store.h"
#include "core/store/preset_store.h"
#include "core/store/stamp_store.h"
#include "store_items/list_store_fixture.h"
#include "support/child_process.h"

namespace zems_test {
namespace {

constexpr int kRounds = 100;

void SaveRounds(DriverContext* ctx, int slot, const char* tag, bool* ok) {
  for (int i = 0; i < kRounds; ++i) {
    std::string text = std::string(tag) + "-" + std::to_string(i);
    std::u16string wide(text.begin(), text.end());
    ItemSetText(ctx, ItemFind(ctx, 931), wide.c_str());
    ItemSetText(ctx, ItemFind(ctx, 925), wide.c_str());
    ItemSetRawById(ctx, 122, i % 200);
    *ok = StampSave(ctx, slot) == 1 && *ok;
    *ok = PresetSaveSlot(ctx, slot) == 1 && *ok;
  }
}

TEST_F(ListStoreTest, TwoProcessesSavingWatermarksAndPresetsKeepEveryLastValue) {
  SetIniKey(PrinterName(), "PresetList0", Narrow(FilePath(u"a.rst")));
  SetIniKey(PrinterName(), "PresetList1", Narrow(FilePath(u"b.rst")));
  SetIniKey(PrinterName(), "Count", "2");
  ChildProcess child([&](ChildProcess& self) {
    char go = 0;
    if (!self.Receive(&go)) _exit(1);
    bool ok = true;
    SaveRounds(ctx(), 1, "b", &ok);
    if (!ok) _exit(1);
  });
  ASSERT_TRUE(child.Send('g'));
  bool ok = true;
  SaveRounds(ctx(), 0, "a", &ok);
  EXPECT_TRUE(ok);
  EXPECT_EQ(child.Wait(), 0);
  EXPECT_EQ(IniKey("Stamp0us", "wdmWmCharName"), "a-99");
  EXPECT_EQ(IniKey("Stamp1us", "wdmWmCharName"), "b-99");
  EXPECT_EQ(IniKey("us", "StampCount"), "2");
  EXPECT_EQ(IniKey(PrinterName(), "PresetList0Name"), "a-99");
  EXPECT_EQ(IniKey(PrinterName(), "PresetList1Name"), "b-99");
  EXPECT_EQ(IniKey(PrinterName(), "PresetList0"), Narrow(FilePath(u"a.rst")));
  EXPECT_EQ(IniKey(PrinterName(), "PresetList1"), Narrow(FilePath(u"b.rst")));
  EXPECT_EQ(Section(FilePath(u"a.rst"), "Office")["zdmMarkPaperType"], "99");
  EXPECT_EQ(Section(FilePath(u"b.rst"), "Office")["zdmMarkPaperType"], "99");
}

// A watermark and a preset saved in one context apply in a new one.
TEST_F(ListStoreTest, AWatermarkAndAPresetSavedInOneContextApplyInANewOne) {
  ASSERT_EQ(StoreRepairStampsAndFreeSizes(ctx()), 1);
  SetIniKey(PrinterName(), "PresetList0", Narrow(FilePath(u"base.rst")));
  SetIniKey(PrinterName(), "PresetList2", Narrow(FilePath(u"two.rst")));
  SetIniKey(PrinterName(), "Count", "3");
  ItemSetText(ctx(), Row(931), u"Draft");
  SetRaw(117, 1);
  ASSERT_EQ(StampSave(ctx(), 2), 1);
  SetRaw(60, 1);
  SetRaw(kPresetItem, 4);
  ItemSetText(ctx(), Row(925), u"Two");
  ASSERT_EQ(PresetSaveSlot(ctx(), 0), 1);
  ASSERT_EQ(PresetSaveSlot(ctx(), 2), 1);

  CtxRelease(ctx_, kReleaseExpired);
  CtxCacheExpire(TRUE);
  ctx_ = CtxOpen(office_, office_, nullptr, 0, kKindSettings, 0, nullptr);
  ASSERT_NE(ctx_, nullptr);
  ItemSetRawById(ctx(), 169, ResLangIndexFromCode(u"us"));
  SetRaw(kPresetItem, 0);
  SetRaw(60, 0);
  SetRaw(117, 1);  // the kind is no preset item: the context's own settings hold a text watermark
  PresetApplySlot(ctx(), 2);
  EXPECT_EQ(Raw(kPresetItem), 4);
  EXPECT_EQ(std::string(PresetNameBuf(ctx())), "Two");
  EXPECT_EQ(Raw(60), 1);
  EXPECT_EQ(Raw(118), 2);
  WCHAR text[64];
  ItemGetTextBounded(ctx(), Row(931), text, 64);
  EXPECT_EQ(std::u16string(text), u"Draft") << "the watermark selected again";
  EXPECT_EQ(StampGetCount(ctx()), 3);
}

}  // namespace
}  // namespace zems_test
