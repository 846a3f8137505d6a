// The installable-options page on the window interface's fake: clicks on the check list of
// installed options (a table of cases), the tray list built from the model's paper sources,
// the selected tray's four controls writing its per-tray items, the defaults button, and the
// layout of both owner-drawn lists as numbers.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/common/draw_ui.h"
#include "core/common/window_ui.h"
#include "core/context/module_bus.h"
#include "core/context/ui_state.h"
#include "core/front/control_lookup.h"
#include "core/front/ctl_lists.h"
#include "core/front/dialog_engine.h"
#include "core/front/page_lookup.h"
#include "core/items/item_access.h"
#include "core/items/item_ids.h"
#include "core/items/item_table.h"
#include "core/model/model_types.h"
#include "core/modules/module_rows.h"
#include "core/modules/options_module.h"
#include "platform/sim.h"
#include "support/page_controls.h"
#include "support/sample_context.h"

namespace zems_test {
namespace {

const WCHAR* W16(const char16_t* s) { return reinterpret_cast<const WCHAR*>(s); }

// Sample tray values (dmDefaultSource's logical values): none is in the tray-number table,
// so each edits the items of tray 0.
constexpr LONG kTray1 = 3029, kTray2 = 3030, kTray3 = 3031, kMulti = 3032;
constexpr LONG kUnlistedSentinel = 9999;
// Work items the test lends the page's controls: the tables give them no items of their own.
constexpr WORD kTrayListItem = 918, kOrientItem = 919, kPaperItem = 1120, kLockItem = 1121, kMediaItem = 1124;

class OptionsPageTest : public SampleContextTest {
 protected:
  void SetUp() override {
    SampleContextTest::SetUp();
    if (HasFatalFailure()) return;
    std::string error;
    ASSERT_TRUE(InstallCommonDll(&error)) << error;  // the check pictures
    page_ = PageFind(ctx_, kOptPage);
    ASSERT_NE(page_, nullptr);
    DlgBindControls(ctx_, page_);
    page_->window = SimUiMakeWindow(W16(u"#32770"), SimUiMakeWindow(W16(u"#32770"), NULL, 0, 0), 0, WS_CHILD);
    Make(kOptCheckList, u"ListBox", LBS_OWNERDRAWFIXED | LBS_NOTIFY);
    Make(kOptTrayList, u"SysListView32", LVS_REPORT | LVS_SINGLESEL | LVS_OWNERDRAWFIXED);
    Make(kOptTrayPaper, u"ComboBox", CBS_DROPDOWNLIST);
    Make(kOptTrayMedia, u"ComboBox", CBS_DROPDOWNLIST);
    Make(kOptPortrait, u"Button", BS_AUTORADIOBUTTON);
    Make(kOptLandscape, u"Button", BS_AUTORADIOBUTTON);
    Make(kOptTrayLock, u"Button", BS_AUTOCHECKBOX);
    Make(kOptDefaults, u"Button", BS_OWNERDRAW);
    // Lent items that nothing else here reads, so that the controls' values can be followed.
    Lend(kOptTrayList, kTrayListItem);
    Lend(kOptTrayPaper, kPaperItem);
    Lend(kOptTrayMedia, kMediaItem);
    Lend(kOptPortrait, kOrientItem);
    Lend(kOptLandscape, kOrientItem);
    Lend(kOptTrayLock, kLockItem);
    ctx_->currentPage = kOptPage;
    // The check list's entries as its type fills them: item data = key.
    for (WORD key : {143, 144, 146, 145, 164, 165, 166, 167, 352, 358})
      WuiChoiceAdd(Window(kOptCheckList), W16(u""), key);
  }
  void TearDown() override {
    ForgetWindows(kOptPage);
    SampleContextTest::TearDown();
  }
  void Make(WORD id, const char16_t* className, DWORD style) {
    DlgControlRecord* control = CtlFind(ctx_, page_, id);
    ASSERT_NE(control, nullptr) << id;
    control->window = SimUiMakeWindow(W16(className), page_->window, id, WS_CHILD | WS_VISIBLE | style);
    RECT rect = {0, 0, 200, 60};
    WuiMove(control->window, &rect, FALSE);
  }
  void Lend(WORD id, WORD item) { CtlFind(ctx_, page_, id)->item = ItemFind(ctx_, item); }
  HWND Window(WORD id) { return CtlFind(ctx_, page_, id)->window; }
  int Send(WORD id, UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
    return OptHandleControl(ctx_, page_, CtlFind(ctx_, page_, id), message, wParam, lParam, nullptr);
  }
  int Command(WORD id, WORD code) { return Send(id, WM_COMMAND, MAKEWPARAM(id, code), (LPARAM)Window(id)); }
  void Click(WORD key) {
    HWND list = Window(kOptCheckList);
    for (int i = 0; i < WuiChoiceCount(list); ++i)
      if (WuiChoiceData(list, i) == key) WuiChoiceSelect(list, i);
    EXPECT_EQ(0, Send(kOptCheckList, WM_LBUTTONUP));
  }
  std::vector<LONG> Trays() {
    std::vector<LONG> out;
    for (int i = 0; i < WuiListViewCount(Window(kOptTrayList)); ++i)
      out.push_back(static_cast<LONG>(WuiListViewData(Window(kOptTrayList), i)));
    return out;
  }
  LONG Raw(WORD id) { return static_cast<LONG>(ItemGetRawById(ctx_, id)); }
  void Set(WORD id, LONG value) { ItemSetRawById(ctx_, id, value); }
  DlgPageRecord* page_ = nullptr;
};

TEST_F(OptionsPageTest, ClicksOnTheCheckListStoreTheirSettings) {
  const struct {
    const char* name;
    LONG before[4];  // 10023, 10110, 10013, 10012
    WORD key;
    LONG after[4];
    bool traysRebuilt;
  } cases[] = {
      {"checked 143 unchecked through its off list", {1, 1, 0, 32}, 143, {0, 0, 0, 32}, true},
      {"unchecked 144 checked with both items", {0, 0, 0, 32}, 144, {1, 2, 0, 32}, true},
      {"checked 164 turns the memory type over (165)", {0, 0, 0, 32}, 164, {0, 0, 1, 32}, false},
      {"checked 165 turns it back (164)", {0, 0, 1, 32}, 165, {0, 0, 0, 32}, false},
      {"unchecked 167 checked", {0, 0, 0, 32}, 167, {0, 0, 1, 96}, false},
      {"checked 352 stays: 1 - 196 is no memory type", {0, 0, 196, 606}, 352, {0, 0, 196, 606}, false},
      {"352 is left by checking another memory entry", {0, 0, 196, 606}, 166, {0, 0, 0, 96}, false},
      {"checked 358 stays", {0, 0, 196, 610}, 358, {0, 0, 196, 610}, false},
  };
  const WORD items[4] = {kItem_zdmSourceOptionType1Step, kItem_zdm1StepOptionNum, kItem_zdmMemoryType,
                         kItem_zdmPrinterMemory};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    for (int i = 0; i < 4; ++i) Set(items[i], c.before[i]);
    HWND trays = Window(kOptTrayList);
    WuiListViewClear(trays);
    WuiListViewInsert(trays, 0, W16(u"stale"), kUnlistedSentinel, FALSE);
    Click(c.key);
    for (int i = 0; i < 4; ++i) EXPECT_EQ(c.after[i], Raw(items[i])) << "item " << items[i];
    const std::vector<LONG> listed = Trays();
    const bool rebuilt = listed.empty() || listed[0] != kUnlistedSentinel;
    EXPECT_EQ(c.traysRebuilt, rebuilt);
    EXPECT_TRUE(WuiHasUpdate(Window(kOptCheckList))) << "the list is repainted";
  }
}

TEST_F(OptionsPageTest, AClickOnARestrictedListChangesNothing) {
  Set(kItem_zdmOutputOptionTypeHDD, 0);
  CtlFind(ctx_, page_, kOptCheckList)->state |= 0x0004;
  Click(145);
  EXPECT_EQ(0, Raw(kItem_zdmOutputOptionTypeHDD));
  CtlFind(ctx_, page_, kOptCheckList)->state &= static_cast<WORD>(~0x000C);
  Click(145);
  EXPECT_EQ(1, Raw(kItem_zdmOutputOptionTypeHDD));
}

TEST_F(OptionsPageTest, TheTrayListLeavesOutTraysTheModelDisables) {
  // Without the one-step feeder the model disables trays 2 and 3.
  Set(kItem_zdmSourceOptionType1Step, 0);
  Set(kOptTrayInstalledFirst, 1);
  ASSERT_EQ(1, Send(kOptTrayList, WM_INITDIALOG));
  EXPECT_EQ((std::vector<LONG>{kTray1, kMulti}), Trays());
  // Every sample tray has index 0: a disabled one marks it not installed, a listed one again
  // installed; the last listed tray wins.
  EXPECT_EQ(1, Raw(kOptTrayInstalledFirst));
  EXPECT_EQ(kTray1, ItemGetValueById(ctx_, kTrayListItem)) << "the first listed tray is the list's value";
  EXPECT_EQ(0, WuiListViewSelection(Window(kOptTrayList)));
  // With the feeder and a second one, all four.
  Set(kItem_zdmSourceOptionType1Step, 1);
  Set(kItem_zdm1StepOptionNum, 2);
  WuiListViewClear(Window(kOptTrayList));
  Send(kOptTrayList, WM_INITDIALOG);
  EXPECT_EQ((std::vector<LONG>{kTray1, kTray2, kTray3, kMulti}), Trays());
  // A list that has items is left as it is.
  Set(kItem_zdmSourceOptionType1Step, 0);
  Send(kOptTrayList, WM_INITDIALOG);
  EXPECT_EQ(4u, Trays().size());
}

TEST_F(OptionsPageTest, ADisabledTrayIsMarkedNotInstalled) {
  // Only disabled trays: tray 0 ends up not installed.
  Set(kItem_zdmSourceOptionType1Step, 0);
  Set(kOptTrayInstalledFirst, 1);
  // Take the enabled values out by a model with only the feeder's trays: reach them through
  // the description's list, keeping only disabled values.
  DlgControlRecord* list = CtlFind(ctx_, page_, kOptTrayList);
  ASSERT_NE(list->descriptor, nullptr) << "the sample model describes the tray list";
  const ModelItemDescriptor saved = *list->descriptor;
  ModelItemDescriptor onlyFeeder = saved;
  const ListValueRecord* v = static_cast<const ListValueRecord*>(saved.values);
  while (v && v->valueId != kTray2) v = v->next;
  ASSERT_NE(v, nullptr);
  ListValueRecord tray2 = *v;
  tray2.next = nullptr;
  onlyFeeder.values = &tray2;
  list->descriptor = &onlyFeeder;
  Send(kOptTrayList, WM_INITDIALOG);
  list->descriptor = &saved;
  EXPECT_TRUE(Trays().empty());
  EXPECT_EQ(0, Raw(kOptTrayInstalledFirst));
}

TEST_F(OptionsPageTest, TheSelectedTrayLoadsItsControlsAndTheirChangesWriteItsItems) {
  Set(kItem_zdmSourceOptionType1Step, 1);
  Set(kItem_zdm1StepOptionNum, 2);
  Set(kOptTrayPaperFirst, 9);
  Set(kOptTrayMediaFirst, 4);
  Set(kOptTrayOrientFirst, 1);
  Set(kOptTrayLockFirst, 1);
  Set(kOptTrayPaperFirst + 1, 77);  // tray 1: never touched by a sample tray
  Send(kOptTrayList, WM_INITDIALOG);
  // The unlisted sample value edits tray 0: its four items are shown.
  EXPECT_EQ(9, ItemGetRawById(ctx_, kPaperItem));
  EXPECT_EQ(4, ItemGetRawById(ctx_, kMediaItem));
  EXPECT_EQ(kOptLandscape, ItemGetRawById(ctx_, kOrientItem));
  EXPECT_EQ(1, ItemGetRawById(ctx_, kLockItem));

  // Another tray selected: the list tells the page, the list's value follows.
  Set(kOptTrayPaperFirst, 11);
  ASSERT_TRUE(WuiListViewSelect(Window(kOptTrayList), 2));
  // The fake delivers the notice to the page window, which has no procedure here: send it.
  NMLISTVIEW notice = {};
  notice.hdr.hwndFrom = Window(kOptTrayList);
  notice.hdr.idFrom = kOptTrayList;
  notice.hdr.code = LVN_ITEMCHANGED;
  notice.iItem = 2;
  notice.uNewState = LVIS_SELECTED;
  notice.lParam = kTray3;
  EXPECT_EQ(1, Send(kOptTrayList, WM_NOTIFY, kOptTrayList, (LPARAM)&notice));
  EXPECT_EQ(kTray3, ItemGetValueById(ctx_, kTrayListItem));
  EXPECT_EQ(11, ItemGetRawById(ctx_, kPaperItem)) << "the tray's paper loaded";

  // The tray controls write the tray's items.
  ItemSetRawById(ctx_, kPaperItem, 13);
  EXPECT_EQ(1, Command(kOptTrayPaper, CBN_SELCHANGE));
  EXPECT_EQ(13, Raw(kOptTrayPaperFirst));
  ItemSetRawById(ctx_, kMediaItem, 6);
  EXPECT_EQ(1, Command(kOptTrayMedia, CBN_SELCHANGE));
  EXPECT_EQ(6, Raw(kOptTrayMediaFirst));
  EXPECT_EQ(0, Command(kOptTrayMedia, CBN_DROPDOWN)) << "only a choice writes";
  WuiSetCheck(Window(kOptTrayLock), BST_UNCHECKED);  // the box as the user left it
  EXPECT_EQ(1, Command(kOptTrayLock, BN_CLICKED));
  EXPECT_EQ(0, Raw(kOptTrayLockFirst));
  ItemSetRawById(ctx_, kOrientItem, kOptPortrait);
  EXPECT_EQ(1, Command(kOptPortrait, BN_CLICKED));
  EXPECT_EQ(0, Raw(kOptTrayOrientFirst));
  // A repaint stores a radio value that differs, and answers 0.
  ItemSetRawById(ctx_, kOrientItem, kOptLandscape);
  EXPECT_EQ(0, Send(kOptLandscape, WM_PAINT));
  EXPECT_EQ(1, Raw(kOptTrayOrientFirst));
  EXPECT_EQ(77, Raw(kOptTrayPaperFirst + 1)) << "tray 1's items untouched";
  EXPECT_TRUE(WuiHasUpdate(Window(kOptTrayList)));
}

// The chapter trays are re-checked (event 11) at every change of the tray list's selection.
int g_rechecks = 0;
int CountRechecks(DriverContext*, int event, void*, void*) {
  if (event == 11) ++g_rechecks;
  return 0;
}
class OptionsRecheckTest : public OptionsPageTest {
 protected:
  void SetUp() override {
    OptionsPageTest::SetUp();
    if (HasFatalFailure()) return;
    // The context's own copy of the module rows: the first row's event callback counts.
    ASSERT_TRUE(ctx_->ui && ctx_->ui->modules && ctx_->ui->modules->rows);
    saved_ = ctx_->ui->modules->rows[0].event;
    ctx_->ui->modules->rows[0].event = CountRechecks;  // answers 0: the chapters still get it
  }
  void TearDown() override {
    if (ctx_ && ctx_->ui && ctx_->ui->modules) ctx_->ui->modules->rows[0].event = saved_;
    OptionsPageTest::TearDown();
  }
  UiModuleEventFn saved_ = nullptr;
};

TEST_F(OptionsRecheckTest, ASelectionChangeRechecksTheChapterTrays) {
  Send(kOptTrayList, WM_INITDIALOG);
  g_rechecks = 0;
  NMLISTVIEW notice = {};
  notice.hdr.code = LVN_ITEMCHANGED;
  notice.uNewState = 0;
  notice.lParam = kMulti;
  EXPECT_EQ(1, Send(kOptTrayList, WM_NOTIFY, kOptTrayList, (LPARAM)&notice));
  EXPECT_EQ(1, g_rechecks);
  EXPECT_EQ(kTray1, ItemGetValueById(ctx_, kTrayListItem)) << "a lost selection changes no value";
  EXPECT_EQ(0, Send(kOptTrayList, WM_NOTIFY, kOptTrayPaper, (LPARAM)&notice)) << "another control's notice";
  EXPECT_EQ(1, g_rechecks);
}

TEST_F(OptionsPageTest, ControlsWithoutItemsStoreNothingAndTheSelectionStillLoads) {
  // As the sample's tables bind the page: no control has an item.
  for (WORD id : {kOptTrayList, kOptTrayPaper, kOptTrayMedia, kOptPortrait, kOptLandscape, kOptTrayLock})
    CtlFind(ctx_, page_, id)->item = nullptr;
  Set(kItem_zdmSourceOptionType1Step, 1);
  Set(kItem_zdm1StepOptionNum, 2);
  Set(kOptTrayOrientFirst, 0);
  Send(kOptTrayList, WM_INITDIALOG);
  EXPECT_EQ(0, WuiListViewSelection(Window(kOptTrayList))) << "the first tray shows selected";
  EXPECT_EQ(0, Send(kOptLandscape, WM_PAINT));
  EXPECT_EQ(1, Command(kOptPortrait, BN_CLICKED));
  EXPECT_EQ(0, Raw(kOptTrayOrientFirst)) << "no radio value: the tray's orientation stays";
  Set(kOptTrayPaperFirst, 21);
  Command(kOptTrayPaper, CBN_SELCHANGE);
  EXPECT_EQ(21, Raw(kOptTrayPaperFirst));
}

TEST_F(OptionsPageTest, ATrayBeyondThePerTrayItemsIsNeitherListedNorTouched) {
  // 13551 and 13552 give tray indexes 286 and 299: there are no per-tray items for them.
  EXPECT_EQ(286u, OptTrayIndexOf(13551));
  EXPECT_EQ(299u, OptTrayIndexOf(13552));
  DlgControlRecord* list = CtlFind(ctx_, page_, kOptTrayList);
  ASSERT_NE(list->descriptor, nullptr);
  const ModelItemDescriptor* saved = list->descriptor;
  ModelItemDescriptor far = *saved;
  ListValueRecord values[2] = {};
  values[0].next = &values[1];
  values[0].valueId = 13551;
  values[1].valueId = 13552;
  far.values = &values[0];
  list->descriptor = &far;
  // Whatever the items after the 32 trays hold stays as it is.
  const WORD beyond[] = {static_cast<WORD>(kOptTrayInstalledFirst + 286), static_cast<WORD>(kOptTrayPaperFirst + 286),
                         static_cast<WORD>(kOptTrayLockFirst + 31)};
  std::vector<LONG> before;
  for (WORD id : beyond) before.push_back(Raw(id));
  Send(kOptTrayList, WM_INITDIALOG);
  list->descriptor = saved;
  EXPECT_TRUE(Trays().empty());
  for (size_t i = 0; i < before.size(); ++i) EXPECT_EQ(before[i], Raw(beyond[i])) << beyond[i];
  // A selection of such a tray loads nothing and its controls write nothing.
  ItemSetRawById(ctx_, kTrayListItem, 13552);
  ItemSetRawById(ctx_, kPaperItem, 55);
  Command(kOptTrayPaper, CBN_SELCHANGE);
  for (size_t i = 0; i < before.size(); ++i) EXPECT_EQ(before[i], Raw(beyond[i])) << beyond[i];
  EXPECT_NE(55, Raw(kOptTrayPaperFirst));
}

TEST_F(OptionsPageTest, TheDefaultsButtonRebuildsTheTrayList) {
  WuiListViewInsert(Window(kOptTrayList), 0, W16(u"stale"), kUnlistedSentinel, FALSE);
  EXPECT_EQ(1, Command(kOptDefaults, BN_CLICKED));
  const std::vector<LONG> listed = Trays();
  ASSERT_FALSE(listed.empty());
  EXPECT_NE(kUnlistedSentinel, listed[0]);
  EXPECT_TRUE(WuiHasUpdate(Window(kOptCheckList)));
  // Other pages and other controls' commands are not the module's.
  EXPECT_EQ(0, Send(kOptDefaults, WM_COMMAND, MAKEWPARAM(kOptTrayList, BN_CLICKED)));
  page_->dialogId = 1001;
  EXPECT_EQ(0, Command(kOptDefaults, BN_CLICKED));
  page_->dialogId = kOptPage;
}

TEST_F(OptionsPageTest, TheCheckListDrawsItsEntries) {
  Set(kItem_zdmOutputOptionTypeHDD, 1);
  Set(kItem_zdmOutputOptionTypeRemote, 0);
  SimDrawReset();
  SimDrawSetTextMetrics(6, 10);
  const struct {
    WORD key;
    WORD picture;
    int fill;
  } cases[] = {
      {145, kPictureCheckOn, COLOR_WINDOW},       // HDD installed
      {146, kPictureCheckOff, COLOR_WINDOW},
      {286, kPictureCheckOffGrey, COLOR_BTNFACE},  // a remote key without the remote option
  };
  for (const auto& c : cases) {
    SimDrawReset();
    DRAWITEMSTRUCT item = {};
    item.CtlType = ODT_LISTBOX;
    item.CtlID = kOptCheckList;
    item.itemAction = ODA_DRAWENTIRE;
    item.hwndItem = Window(kOptCheckList);
    item.hDC = SimDrawWindowDc(item.hwndItem);
    item.rcItem = {0, 16, 200, 32};
    item.itemData = c.key;
    EXPECT_EQ(1, Send(kOptCheckList, WM_DRAWITEM, kOptCheckList, (LPARAM)&item));
    bool sawPicture = false, sawFill = false;
    for (DWORD i = 0; i < SimDrawCallCount(); ++i) {
      SimDrawCall call = {};
      SimDrawGetCall(i, &call);
      if (call.kind == kSimDrawPicture) {
        sawPicture = true;
        EXPECT_EQ(c.picture, call.id) << c.key;
      }
      if (call.kind == kSimDrawFill && !sawFill) {
        sawFill = true;
        EXPECT_EQ(DuiSysColor(c.fill), call.colour) << c.key;
      }
    }
    EXPECT_TRUE(sawPicture && sawFill) << c.key;
  }
}

TEST_F(OptionsPageTest, TheTrayListDrawsItsFourColumns) {
  Set(kItem_zdmMachineTypeFeed, 1);
  Set(kOptTrayOrientFirst, 1);
  Set(kOptTrayPaperFirst, 9);  // stored A4 through the paper control's item (dmPaperSize's list)
  CtlFind(ctx_, page_, kOptTrayPaper)->item = ItemFind(ctx_, kItem_dmPaperSize);
  RECT client = {0, 0, 200, 60};
  WuiMove(Window(kOptTrayList), &client, FALSE);
  SimDrawReset();
  DRAWITEMSTRUCT item = {};
  item.CtlID = kOptTrayList;
  item.itemAction = ODA_DRAWENTIRE;
  item.itemState = ODS_SELECTED;
  item.hwndItem = Window(kOptTrayList);
  item.hDC = SimDrawWindowDc(item.hwndItem);
  item.rcItem = {0, 16, 200, 32};
  item.itemData = kTray1;
  EXPECT_EQ(1, Send(kOptTrayList, WM_DRAWITEM, kOptTrayList, (LPARAM)&item));
  std::vector<LONG> textLefts;
  std::vector<std::u16string> texts;
  UINT picture = 0;
  LONG pictureLeft = -1;
  for (DWORD i = 0; i < SimDrawCallCount(); ++i) {
    SimDrawCall call = {};
    SimDrawGetCall(i, &call);
    if (call.kind == kSimDrawTextOut) {
      textLefts.push_back(call.rect.left);
      texts.push_back(reinterpret_cast<const char16_t*>(call.text));
      EXPECT_EQ(DuiSysColor(COLOR_HIGHLIGHTTEXT), call.colour) << "a selected row";
    }
    if (call.kind == kSimDrawPicture) {
      picture = call.id;
      pictureLeft = call.rect.left;
    }
  }
  EXPECT_EQ((std::vector<LONG>{0, 50, 150}), textLefts) << "columns 0, 1 and 3, a quarter wide each";
  ASSERT_EQ(3u, texts.size());
  EXPECT_EQ(u"TRAY1", texts[0]);
  EXPECT_EQ(u"A4", texts[1]);
  EXPECT_EQ(kOptPictureOrientTurned, picture) << "orientation set on a machine of feed 1";
  EXPECT_EQ(100, pictureLeft);
}

TEST(OptionsLayout, EntriesAndColumnsAsNumbers) {
  const OptEntryLayout entry = OptCheckEntryLayout(RECT{4, 20, 120, 36}, 13);
  EXPECT_EQ((RECT{4, 20, 20, 36}).right, entry.square.right) << "a square as high as the entry";
  EXPECT_EQ(4, entry.square.left);
  EXPECT_EQ(30, entry.text.left) << "two text heights in";
  EXPECT_EQ(120, entry.text.right);
  const RECT row = {2, 30, 202, 46};
  const LONG lefts[4] = {2, 52, 102, 152};
  for (int c = 0; c < 4; ++c) {
    const RECT column = OptTrayColumnRect(row, 203, c);
    EXPECT_EQ(lefts[c], column.left) << c;
    EXPECT_EQ(50, column.right - column.left) << "a quarter of the client width";
    EXPECT_EQ(30, column.top);
    EXPECT_EQ(46, column.bottom);
  }
  const struct {
    bool restricted, selected;
    int fill, text;
  } colours[] = {{true, true, COLOR_BTNFACE, COLOR_GRAYTEXT},
                 {false, true, COLOR_HIGHLIGHT, COLOR_HIGHLIGHTTEXT},
                 {false, false, COLOR_WINDOW, COLOR_MENUTEXT}};
  for (const auto& c : colours) {
    const OptRowColours got = OptTrayRowColours(c.restricted, c.selected);
    EXPECT_EQ(c.fill, got.fill);
    EXPECT_EQ(c.text, got.text);
  }
  EXPECT_EQ(kOptPictureOrientTurned, OptOrientationPicture(1, 1));
  EXPECT_EQ(kOptPictureOrientTurned, OptOrientationPicture(0, 0));
  EXPECT_EQ(kOptPictureOrientPlain, OptOrientationPicture(1, 0));
  EXPECT_EQ(kOptPictureOrientPlain, OptOrientationPicture(0, 1));
  EXPECT_EQ(kPictureCheckOff, OptCheckPicture(false, false));
  EXPECT_EQ(kPictureCheckOffGrey, OptCheckPicture(false, true));
  EXPECT_EQ(kPictureCheckOn, OptCheckPicture(true, false));
  EXPECT_EQ(kPictureCheckOnGrey, OptCheckPicture(true, true));
}

TEST(OptionsTables, RowsAndTrayIndexes) {
  ASSERT_NE(OptFindChecklistRow(143), nullptr);
  EXPECT_EQ(kItem_zdmSourceOptionType1Step, OptFindChecklistRow(143)->item1);
  EXPECT_EQ(nullptr, OptFindChecklistRow(285));
  EXPECT_EQ(nullptr, OptFindChecklistRow(0));
  const struct {
    LONG value;
    DWORD index;
  } trays[] = {{2, 0}, {3, 1}, {7, 25}, {823, 29}, {13627, 4}, {1, 0}, {3029, 0}};
  for (const auto& t : trays) EXPECT_EQ(t.index, OptTrayIndexOf(t.value)) << t.value;
}

}  // namespace
}  // namespace zems_test
