// Tab controls show the controls of the chosen tab only; the tree lists every page with its
// controls and their values.
#include <gtest/gtest.h>

#include <set>

#include "core/common/window_ui.h"
#include "core/front/page_lookup.h"
#include "core/items/item_access.h"
#include "core/tables/symbol_table.h"
#include "ui_lists/lists_fixture.h"

namespace zems_test {
namespace {

const WORD kLayoutTab[] = {3001, 3002};
const WORD kFinishTab[] = {3003};
const WORD kColourTab[] = {3004, 3002};
const CtlTab kTabs[] = {{60120, 2, kLayoutTab}, {60121, 1, kFinishTab}, {60122, 2, kColourTab}};
const CtlExtTabs kTabsExt = {kCtlExtTabs, 3, kTabs};

class TabsTest : public ListsTest {
 protected:
  void SetUp() override {
    ListsTest::SetUp();
    if (HasFatalFailure()) return;
    WuiShow(sheet_, SW_SHOW);
    WuiShow(pageWindow_, SW_SHOW);
    for (WORD id = 3001; id <= 3004; ++id) SimUiMakeWindow(W16(u"Static"), pageWindow_, id, WS_CHILD | WS_VISIBLE);
    tab_ = Make(3000, 104, u"SysTabControl32", 53);
    tab_->extension = const_cast<CtlExtTabs*>(&kTabsExt);
  }
  std::set<WORD> Visible() {
    std::set<WORD> out;
    for (WORD id = 3001; id <= 3004; ++id)
      if (WuiIsVisible(WuiFindControl(pageWindow_, id))) out.insert(id);
    return out;
  }
  LRESULT Notify(UINT code, UINT_PTR from) {
    NMHDR header = {tab_->window, from, code};
    const CtlTypeRecord* type = CtlFindType(104);
    return type->message(ctx_, page_, tab_, WM_NOTIFY, from, reinterpret_cast<LPARAM>(&header));
  }
  DlgControlRecord* tab_ = nullptr;
};

TEST_F(TabsTest, FillingAddsATabPerRecordAndShowsTheFirstGroup) {
  const CtlTypeRecord* type = CtlFindType(104);
  type->init(type, ctx_, page_, tab_);
  ASSERT_EQ(WuiSend(tab_->window, TCM_GETITEMCOUNT, 0, 0), 3);
  for (int i = 0; i < 3; ++i) {
    WCHAR text[64] = {};
    TCITEMW item = {};
    item.mask = TCIF_TEXT | TCIF_PARAM;
    item.pszText = text;
    item.cchTextMax = 64;
    ASSERT_TRUE(WuiSend(tab_->window, TCM_GETITEMW, i, reinterpret_cast<LPARAM>(&item)));
    EXPECT_EQ(std::u16string(reinterpret_cast<const char16_t*>(text)), String(kTabs[i].textId));
    EXPECT_EQ(item.lParam, reinterpret_cast<LPARAM>(ctx_));
  }
  EXPECT_EQ(Visible(), (std::set<WORD>{3001, 3002}));
}

TEST_F(TabsTest, ChangingTheTabShowsItsGroupAndHidesTheOthers) {
  const CtlTypeRecord* type = CtlFindType(104);
  type->init(type, ctx_, page_, tab_);
  struct Step {
    int select;
    UINT code;
    UINT_PTR from;
    std::set<WORD> visible;
  } steps[] = {
      {1, TCN_SELCHANGE, 3000, {3003}},
      {2, TCN_SELCHANGE, 3000, {3002, 3004}},
      {0, TCN_SELCHANGE, 2999, {3002, 3004}},  // another control's notification
      {0, 0xFFFFFDDAu, 3000, {3002, 3004}},    // the change is about to happen: not yet
      {0, TCN_SELCHANGE, 3000, {3001, 3002}},
  };
  int row = 0;
  for (const Step& s : steps) {
    WuiSend(tab_->window, TCM_SETCURSEL, s.select, 0);
    EXPECT_EQ(Notify(s.code, s.from), 0) << row;
    EXPECT_EQ(Visible(), s.visible) << row;
    ++row;
  }
}

TEST_F(TabsTest, ATabControlWithoutItemOrRecordsDoesNothing) {
  tab_->item = nullptr;
  const CtlTypeRecord* type = CtlFindType(104);
  type->init(type, ctx_, page_, tab_);
  EXPECT_EQ(WuiSend(tab_->window, TCM_GETITEMCOUNT, 0, 0), 0);
  tab_->item = ItemFind(ctx_, 53);
  tab_->extension = nullptr;
  type->init(type, ctx_, page_, tab_);
  EXPECT_EQ(WuiSend(tab_->window, TCM_GETITEMCOUNT, 0, 0), 0);
  EXPECT_EQ(Visible(), (std::set<WORD>{3001, 3002, 3003, 3004}));
}

std::u16string TreeText(HWND tree, HTREEITEM node) {
  WCHAR text[300] = {};
  TVITEMW item = {};
  item.mask = TVIF_TEXT;
  item.hItem = node;
  item.pszText = text;
  item.cchTextMax = 300;
  WuiSend(tree, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item));
  return reinterpret_cast<const char16_t*>(text);
}
std::vector<HTREEITEM> Children(HWND tree, HTREEITEM parent) {
  std::vector<HTREEITEM> out;
  HTREEITEM node = reinterpret_cast<HTREEITEM>(
      WuiSend(tree, TVM_GETNEXTITEM, parent ? TVGN_CHILD : TVGN_ROOT, reinterpret_cast<LPARAM>(parent)));
  for (; node; node = reinterpret_cast<HTREEITEM>(WuiSend(tree, TVM_GETNEXTITEM, TVGN_NEXT,
                                                           reinterpret_cast<LPARAM>(node))))
    out.push_back(node);
  return out;
}
std::u16string Wide(const char* text) { return std::u16string(text, text + strlen(text)); }

TEST_F(ListsTest, TreeListsEveryPageWithItsControlsAndValues) {
  DlgControlRecord* treeControl = Make(2166, 105, u"SysTreeView32", 53);
  // One control of the first page with a value, one whose symbol the table does not know.
  DlgControlRecord* shown = &page_->controls[0];
  shown->item = ItemFind(ctx_, 53);
  ItemSetValueById(ctx_, 53, 31);
  page_->controls[1].symbolId = 0xFFFE;
  WuiTreeInsert(treeControl->window, NULL, W16(u"stale"), 0);
  const CtlTypeRecord* type = CtlFindType(105);
  type->init(type, ctx_, page_, treeControl);
  std::vector<HTREEITEM> roots = Children(treeControl->window, NULL);
  ASSERT_EQ(static_cast<int>(roots.size()), ctx_->pages->count);
  for (int p = 0; p < ctx_->pages->count; ++p) {
    const DlgPageRecord& record = ctx_->pages->rows[p];
    EXPECT_EQ(TreeText(treeControl->window, roots[p]), Wide(record.name)) << p;
    EXPECT_EQ(Children(treeControl->window, roots[p]).size(), record.controlCount) << p;
  }
  ASSERT_EQ(ctx_->pages->rows[0].dialogId, page_->dialogId);
  std::vector<HTREEITEM> first = Children(treeControl->window, roots[0]);
  EXPECT_EQ(TreeText(treeControl->window, first[0]), Wide(TblFindSymbol(shown->symbolId)->name) + u"\uFF1A31");
  EXPECT_EQ(TreeText(treeControl->window, first[1]), u"none");
  // The tree ignores every message.
  EXPECT_EQ(type->message(ctx_, page_, treeControl, WM_NOTIFY, 0, 0), 0);
}

}  // namespace
}  // namespace zems_test
