// The preset icon list: at most one entry per preset, a chosen preset applied or refused (the
// first preset back, with a beep), and entries drawn inside a snapshot that leaves nothing
// changed behind.
#include <gtest/gtest.h>

#include "core/common/draw_ui.h"
#include "core/common/ini_access.h"
#include "core/common/window_ui.h"
#include "core/context/ui_state.h"
#include "core/items/item_access.h"
#include "core/items/item_table.h"
#include "core/store/preset_store.h"
#include "core/store/store_keys.h"
#include "ui_lists/lists_fixture.h"

namespace zems_test {
namespace {

constexpr WORD kMarker = 122;     // a preset item: each preset file holds 10 + its number
constexpr WORD kListItem = 22;    // the value the list shows
constexpr WORD kPresetName = 925;  // wdmPresetName

class IconListTest : public ListsTest {
 protected:
  void SetUp() override {
    ListsTest::SetUp();
    if (HasFatalFailure()) return;
    hand_.Values({60101, 60102, 60103, 60104});
    control_ = Make(2001, 50, u"ListBox", kListItem);
  }
  // Presets 0 .. count-1 with their files, names "Preset <n>" and markers 10 + n.
  void MakePresets(int count) {
    WCHAR ini[kPathChars] = {}, section[261] = {};
    StoreCopySettingsIni(ctx_, ini);
    StoreCopyPrinterName(ctx_, section, 261);
    std::u16string folder = reinterpret_cast<const char16_t*>(ini);
    folder = folder.substr(0, folder.rfind(u'\\') + 1);
    std::vector<const char16_t*> none;
    Presets(none);
    for (int n = 0; n < count; ++n) {
      std::u16string file = folder + u"p" + static_cast<char16_t>(u'0' + n) + u".rst";
      WCHAR key[64];
      PresetKeyName(key, 64, n, 0);
      IniWriteString(section, key, W16(file.c_str()), ini);
      ItemSetValueById(ctx_, kMarker, 10 + n);
      std::u16string name = u"Preset " + std::u16string(1, static_cast<char16_t>(u'0' + n));
      ItemSetText(ctx_, ItemFind(ctx_, kPresetName), W16(name.c_str()));
      ASSERT_EQ(PresetSaveSlot(ctx_, n), 1) << n;
    }
    std::u16string number(1, static_cast<char16_t>(u'0' + count));
    IniWriteString(section, W16(u"Count"), W16(number.c_str()), ini);
    ASSERT_EQ(PresetGetCount(ctx_), count);
  }
  int Take(int entry) {
    WuiChoiceSelect(control_->window, entry);
    const CtlTypeRecord* type = CtlFindType(50);
    return type->command(ctx_, page_, control_, MAKEWPARAM(2001, LBN_SELCHANGE), 0);
  }
  DlgControlRecord* control_ = nullptr;
};

TEST_F(IconListTest, HoldsAtMostOneEntryPerPreset) {
  struct Case {
    int presets;
    std::vector<LPARAM> entries;
  } cases[] = {{2, {60101, 60102}}, {4, {60101, 60102, 60103, 60104}}, {0, {}}};
  for (const Case& c : cases) {
    MakePresets(c.presets);
    ItemSetValueById(ctx_, kListItem, 60102);
    const CtlTypeRecord* type = CtlFindType(50);
    type->init(type, ctx_, page_, control_);
    EXPECT_EQ(Data(control_->window), c.entries) << c.presets;
    if (!c.entries.empty()) {
      EXPECT_EQ(Text(control_->window, 0), u"PresetList0");
      EXPECT_EQ(WuiChoiceSelection(control_->window), 1);
    }
  }
}

TEST_F(IconListTest, ChosenPresetIsAppliedAndItsValueStored) {
  MakePresets(3);
  const CtlTypeRecord* type = CtlFindType(50);
  type->init(type, ctx_, page_, control_);
  ItemSetValueById(ctx_, kMarker, 99);
  Mark();
  EXPECT_EQ(Take(2), 1);
  EXPECT_EQ(ItemGetValueById(ctx_, kMarker), 12);
  EXPECT_EQ(ItemGetValueById(ctx_, kListItem), 60103);
  for (const SimUiCall& beep : UiCalls(kSimUiBeep)) EXPECT_NE(static_cast<UINT>(beep.value), 0xFFFFFFFFu);
}

TEST_F(IconListTest, RefusedPresetRollsBackToTheFirstWithABeep) {
  MakePresets(3);
  const CtlTypeRecord* type = CtlFindType(50);
  type->init(type, ctx_, page_, control_);
  hand_.AlertOkCancel();
  const int cancel[] = {IDCANCEL};
  SimUiScriptAnswers(cancel, 1);
  ItemSetValueById(ctx_, kMarker, 99);
  Mark();
  EXPECT_EQ(Take(2), 1);
  // The list's own beep is the plain one (-1); the refusal's box may sound its own.
  int plain = 0;
  for (const SimUiCall& beep : UiCalls(kSimUiBeep)) plain += static_cast<UINT>(beep.value) == 0xFFFFFFFFu ? 1 : 0;
  EXPECT_EQ(plain, 1);
  EXPECT_EQ(ItemGetValueById(ctx_, kMarker), 10);
  EXPECT_EQ(ItemGetValueById(ctx_, kListItem), 60101);
  EXPECT_EQ(WuiChoiceSelection(control_->window), 0);
}

TEST_F(IconListTest, DrawingAnEntryChangesNothingOutsideItsSnapshot) {
  MakePresets(3);
  const CtlTypeRecord* type = CtlFindType(50);
  type->init(type, ctx_, page_, control_);
  // The list's description opens a follow-up dialog and sets an item: neither may outlive
  // the drawing, and no module hears of it.
  ActionEntry action = {};
  action.target = 1065;
  action.targetIsDialog = 1;
  TransactEntry transact = {};
  transact.actions = &action;
  hand_.exclusive.transact = &transact;
  control_->notifyCode = 5;
  ItemSetValueById(ctx_, kMarker, 99);
  ItemSetValueById(ctx_, kListItem, 60101);
  UiClearChangedItems(ctx_);
  events_.clear();
  Mark();
  for (UINT state : {0u, static_cast<UINT>(ODS_SELECTED)}) {
    DRAWITEMSTRUCT item = DrawItem(control_, 1, ODA_DRAWENTIRE, state);
    EXPECT_EQ(type->message(ctx_, page_, control_, WM_DRAWITEM, 2001, reinterpret_cast<LPARAM>(&item)), 1);
  }
  EXPECT_EQ(ItemGetValueById(ctx_, kMarker), 99);
  EXPECT_EQ(ItemGetValueById(ctx_, kListItem), 60101);
  EXPECT_FALSE(UiHasChangedItems(ctx_));
  EXPECT_TRUE(UiCalls(kSimUiCreateDialog).empty());
  EXPECT_FALSE(Has(events_, kEventNodeActions));
  // What was drawn: the entry's fill, white then highlighted, and its preset's name at the
  // bottom, centred.
  std::vector<SimDrawCall> fills = Drawn(kSimDrawFill);
  ASSERT_EQ(fills.size(), 2u);
  EXPECT_EQ(fills[0].colour, 0xFFFFFFu);
  EXPECT_EQ(fills[1].colour, DuiSysColor(COLOR_HIGHLIGHT));
  std::vector<SimDrawCall> texts = Drawn(kSimDrawText);
  ASSERT_EQ(texts.size(), 2u);
  EXPECT_EQ(std::u16string(reinterpret_cast<const char16_t*>(texts[0].text)), u"Preset 1");
  EXPECT_EQ(texts[0].flags & static_cast<DWORD>(DT_CENTER | DT_END_ELLIPSIS),
            static_cast<DWORD>(DT_CENTER | DT_END_ELLIPSIS));
  EXPECT_EQ(texts[0].rect.bottom, 40);
  EXPECT_EQ(texts[1].colour, DuiSysColor(COLOR_HIGHLIGHTTEXT));
}

}  // namespace
}  // namespace zems_test
