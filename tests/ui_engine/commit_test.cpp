// A changed value through the alerts and actions, and the refresh of the page afterwards.
#include <algorithm>

#include "core/context/settings_snapshot.h"
#include "core/context/ui_state.h"
#include "core/front/control_lookup.h"
#include "core/front/page_lookup.h"
#include "core/items/item_access.h"
#include "core/items/item_ids.h"
#include "core/items/item_table.h"
#include "ui_engine/engine_fixture.h"

namespace zems_test {
namespace {

class CommitTest : public EngineTest {
 protected:
  void SetUp() override {
    EngineTest::SetUp();
    if (HasFatalFailure()) return;
    page_ = SetControls(1002, {Control(2036, 48, SymbolOf(kItem_dmCopies)), Control(2269, 63, SymbolOf(kItem_dmCopies)),
                               Control(2050, 50, 0), Control(2044, 22, SymbolOf(kItem_dmColor)),
                               Control(2300, 1, SymbolOf(kItem_zdmMediaType))});
    DlgBindControls(ctx_, page_);
    combo_ = CtlFind(ctx_, page_, 2036);
    edit_ = CtlFind(ctx_, page_, 2269);
    combo_->descriptor = &rules_.desc;
    edit_->descriptor = &rules_.desc;
    ItemSetValueById(ctx_, kItem_dmCopies, 1);
  }
  LONG Copies() { return static_cast<LONG>(ItemGetValueById(ctx_, kItem_dmCopies)); }
  void Answer(int answer) { SimUiScriptAnswers(&answer, 1); }
  // The page window made and laid out, its controls rebound to the fixture's rules.
  HWND Open() {
    HWND window = OpenPage(1002);
    SimUiPump();
    combo_->descriptor = &rules_.desc;
    edit_->descriptor = &rules_.desc;
    Log().events.clear();
    return window;
  }

  RuleFixture rules_;
  DlgPageRecord* page_ = nullptr;
  DlgControlRecord* combo_ = nullptr;
  DlgControlRecord* edit_ = nullptr;
};

struct AlertCase {
  const char* name;
  UINT buttons, icon;
  int answer;
  bool kept;
};

TEST_F(CommitTest, AnAlertKeepsOrRefusesTheChangeByItsButtonsAndAnswer) {
  const AlertCase cases[] = {
      {"yes/no answered yes", MB_YESNO, MB_ICONQUESTION, IDYES, false},
      {"yes/no answered no", MB_YESNO, MB_ICONQUESTION, IDNO, false},
      {"OK with a warning icon", MB_OK, MB_ICONWARNING, IDOK, false},
      {"OK with the information icon", MB_OK, MB_ICONINFORMATION, IDOK, true},
      {"OK/Cancel answered OK", MB_OKCANCEL, MB_ICONWARNING, IDOK, true},
      {"OK/Cancel answered Cancel", MB_OKCANCEL, MB_ICONWARNING, IDCANCEL, false},
  };
  for (const AlertCase& c : cases) {
    SCOPED_TRACE(c.name);
    ItemSetValueById(ctx_, kItem_dmCopies, 1);
    rules_.Alert(c.buttons, c.icon);
    Log().events.clear();
    Log().refusals.clear();
    Answer(c.answer);
    EXPECT_EQ(CtlApplyValue(ctx_, page_, combo_, 5), c.kept ? 0 : 1);
    EXPECT_EQ(Copies(), c.kept ? 5 : 1);
    EXPECT_EQ(Has(Log().events, kEventChangeRefused), !c.kept);
    EXPECT_EQ(Log().refusals.size(), c.kept ? 0u : 1u);
  }
}

TEST_F(CommitTest, ANumericEditsDeferredAlertActsOnItsAnswer) {
  Open();
  MarkCalls();
  rules_.Alert(MB_OKCANCEL, MB_ICONWARNING);
  // At commit the box is not shown yet: the change stands for now.
  EXPECT_EQ(CtlApplyValue(ctx_, page_, edit_, 5), 0);
  EXPECT_EQ(Copies(), 5);
  EXPECT_TRUE(Calls(kSimUiMessageBox).empty());
  Answer(IDCANCEL);
  SimUiPump();
  EXPECT_EQ(Calls(kSimUiMessageBox).size(), 1u);
  EXPECT_EQ(Copies(), 1);
  EXPECT_TRUE(Has(Log().events, kEventChangeRefused));
  EXPECT_EQ(Log().refusals.size(), 1u);

  Log().events.clear();
  EXPECT_EQ(CtlApplyValue(ctx_, page_, edit_, 7), 0);
  Answer(IDOK);
  SimUiPump();
  EXPECT_EQ(Copies(), 7);
  EXPECT_FALSE(Has(Log().events, kEventChangeRefused));

  // A warning with only OK refuses at once, whatever the box answers later.
  rules_.Alert(MB_OK, MB_ICONWARNING);
  EXPECT_EQ(CtlApplyValue(ctx_, page_, edit_, 9), 1);
  EXPECT_EQ(Copies(), 7);
}

TEST_F(CommitTest, AnAlertListWithNoTrueEntryRunsTheActions) {
  rules_.Alert(MB_OKCANCEL, MB_ICONWARNING, false);
  rules_.Transact(kItem_zdmWmKind, 2);
  ItemSetRawById(ctx_, kItem_zdmWmKind, 0);
  EXPECT_EQ(CtlApplyValue(ctx_, page_, combo_, 5), 0);
  EXPECT_EQ(Copies(), 5);
  EXPECT_EQ(ItemGetValueById(ctx_, kItem_zdmWmKind), 2);
  EXPECT_TRUE(Has(Log().events, kEventNodeActions));
  EXPECT_TRUE(Calls(kSimUiMessageBox).empty());
}

TEST_F(CommitTest, AFollowUpDialogIsNotOpenedAgainUntilAClosingCommand) {
  Open();
  MarkCalls();
  rules_.Transact(1012, 0, true);
  EXPECT_EQ(DlgRunNodeActions(ctx_, page_, &rules_.desc, 0), 1);
  EXPECT_EQ(Calls(kSimUiCreateDialog).size(), 1u);
  EXPECT_EQ(DlgRunNodeActions(ctx_, page_, &rules_.desc, 0), 0);
  EXPECT_EQ(Calls(kSimUiCreateDialog).size(), 1u);
  DlgClearActionGuard(ctx_, WM_COMMAND, IDOK, 0, 0);
  EXPECT_EQ(DlgRunNodeActions(ctx_, page_, &rules_.desc, 0), 1);
  EXPECT_EQ(Calls(kSimUiCreateDialog).size(), 2u);
  // Any other command leaves the guard.
  DlgClearActionGuard(ctx_, WM_COMMAND, 2036, 0, 0);
  EXPECT_EQ(DlgRunNodeActions(ctx_, page_, &rules_.desc, 0), 0);
}

TEST_F(CommitTest, ANestedRefreshIsDropped) {
  Open();
  Log().shows.clear();
  Log().refreshFromShow = ctx_;
  Log().refreshPage = page_;
  DlgRefreshControls(ctx_, page_, 1);
  Log().refreshFromShow = nullptr;
  std::vector<WORD> shows = Log().shows;
  std::sort(shows.begin(), shows.end());
  EXPECT_TRUE(std::adjacent_find(shows.begin(), shows.end()) == shows.end()) << "a control shown twice";
  EXPECT_FALSE(shows.empty());
}

TEST_F(CommitTest, OnlyTheCopiesChangedRepaintsNoIconList) {
  HWND window = Open();
  HWND icons = WuiFindControl(window, 2050);
  auto iconRepaints = [&] {
    size_t n = 0;
    for (const SimUiCall& call : Calls(kSimUiInvalidate)) n += call.window == icons;
    return n;
  };
  MarkCalls();
  ItemSetValueById(ctx_, kItem_dmCopies, 3);
  DlgRefreshControls(ctx_, page_, 0);
  EXPECT_EQ(iconRepaints(), 0u);
  ItemSetRawById(ctx_, kItem_zdmMediaType, 2);
  DlgRefreshControls(ctx_, page_, 0);
  EXPECT_EQ(iconRepaints(), 1u);
}

struct PresetCase {
  const char* name;
  WORD dialog;
  WORD changed;
  LONG uiMode;
  LONG presetAfter;
};

TEST_F(CommitTest, TheRefreshMarksThePresetChangedOnlyForOtherSettings) {
  SetControls(1007, {Control(2146, 61, SymbolOf(kItem_zdmLogCode))});
  SetControls(1005, {Control(2402, 1, 0)});
  const PresetCase cases[] = {
      {"a setting on a settings page", 1005, kItem_dmCopies, 0, 118},
      {"the maintenance dialog", 1007, kItem_dmCopies, 0, 121},
      {"the preset name", 1005, kItem_wdmPresetName, 0, 121},
      {"the preset comment's item", 1005, kItem_zdmLogCode, 0, 121},
      {"the preset kept by the UI mode", 1005, kItem_dmCopies, 1, 121},
  };
  for (const PresetCase& c : cases) {
    SCOPED_TRACE(c.name);
    ItemSetValueById(ctx_, kItem_zdmPresetNo, 121);
    ItemSetRawById(ctx_, kItem_zdmPresentUIMode, c.uiMode);
    UiClearChangedItems(ctx_);
    SettingItem* item = ItemFind(ctx_, c.changed);
    ItemSetRaw(ctx_, item, ItemGetValue(ctx_, item) + 1);
    DlgPageRecord* page = PageFind(ctx_, c.dialog);
    page->window = SimUiMakeWindow(u"#32770", NULL, 0, 0);
    DlgRefreshControls(ctx_, page, 0);
    EXPECT_EQ(ItemGetValueById(ctx_, kItem_zdmPresetNo), c.presetAfter);
    WuiDestroy(page->window);
    page->window = NULL;
  }
}

TEST_F(CommitTest, AWindowDisabledUnderTheFocusGivesItToTheNextEnabledOne) {
  HWND window = Open();
  HWND check = WuiFindControl(window, 2044);
  DlgControlRecord* control = CtlFind(ctx_, page_, 2044);
  control->descriptor = &rules_.desc;
  WuiSetFocus(check);
  rules_.Restricted(true);
  DlgRefreshControls(ctx_, page_, 1);
  EXPECT_FALSE(WuiIsEnabled(check));
  EXPECT_NE(WuiGetFocus(), check);
  EXPECT_TRUE(WuiGetFocus() && WuiIsEnabled(WuiGetFocus()));
}

TEST_F(CommitTest, MarksFollowTheRestrictedStateBesideTheirControl) {
  HWND window = Open();
  DlgControlRecord* control = CtlFind(ctx_, page_, 2044);
  control->descriptor = &rules_.desc;
  control->infoString = 7001;
  auto marks = [&] {
    std::vector<HWND> found;
    for (HWND child = WuiFirstChild(window); child; child = WuiNextSibling(child))
      if (WuiGetSlot(child, GWL_USERDATA) == reinterpret_cast<LONG_PTR>(control) && WuiControlId(child) != 2044)
        found.push_back(child);
    return found;
  };
  rules_.Restricted(true);
  DlgRefreshControls(ctx_, page_, 1);
  ASSERT_EQ(marks().size(), 1u);
  RECT mark, at;
  WuiGetRect(marks()[0], &mark);
  WuiGetRect(control->window, &at);
  EXPECT_EQ(mark.right - mark.left, 20);
  EXPECT_EQ(mark.bottom - mark.top, 20);
  EXPECT_EQ(mark.left, DlgMarkPosition(at).x);
  EXPECT_EQ(mark.top, DlgMarkPosition(at).y);
  // Kept while restricted, gone with it.
  DlgRefreshControls(ctx_, page_, 1);
  EXPECT_EQ(marks().size(), 1u);
  rules_.Restricted(false);
  DlgRefreshControls(ctx_, page_, 1);
  EXPECT_TRUE(marks().empty());
}

TEST(MarkPlace, LeftOfTheControlAndClampedToThePage) {
  struct Case {
    RECT control;
    LONG x, y;
  } cases[] = {
      {{100, 50, 180, 90}, 80, 50},   // tall control: its top
      {{100, 50, 180, 62}, 80, 42},   // at most 20 high: its bottom less 20
      {{10, 5, 80, 15}, 0, 0},        // clamped on both axes
  };
  for (const Case& c : cases) {
    const POINT at = DlgMarkPosition(c.control);
    EXPECT_EQ(at.x, c.x);
    EXPECT_EQ(at.y, c.y);
  }
}

}  // namespace
}  // namespace zems_test
