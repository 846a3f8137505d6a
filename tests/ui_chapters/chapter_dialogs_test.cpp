// The chapter dialog: page lists imported from its page edit (each refusal with its box, the
// focus back in the edit and the list as it was), the deletes with OK and Cancel, the delete
// button's restricted state, and the chapter lists' layout as numbers.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/common/window_ui.h"
#include "core/context/module_bus.h"
#include "core/context/ui_state.h"
#include "core/front/control_lookup.h"
#include "core/front/page_lookup.h"
#include "core/items/control_states.h"
#include "core/items/item_access.h"
#include "core/items/item_ids.h"
#include "core/modules/chapter_dialogs.h"
#include "core/modules/page_list.h"
#include "core/system/resources.h"
#include "platform/sim.h"
#include "support/sample_context.h"

namespace zems_test {
namespace {

const WCHAR* W16(const char16_t* s) { return reinterpret_cast<const WCHAR*>(s); }
std::u16string U16(const WCHAR* s) { return reinterpret_cast<const char16_t*>(s); }

class ChapterDialogsTest : public SampleContextTest {
 protected:
  void SetUp() override {
    SampleContextTest::SetUp();
    if (HasFatalFailure()) return;
    ItemSetRawById(ctx_, kItem_wdmChapterMax, 10);
    ItemSetRawById(ctx_, kItem_wdmChapterTrayMax, 3);
    ItemSetRawById(ctx_, kItem_wdmChapterNum, 0);
    ItemSetRawById(ctx_, kItem_wdmChapterKind, 0);
    ItemSetRawById(ctx_, kItem_wdmChapterTray, 2);
    page_ = PageFind(ctx_, kChapterDialogId);
    ASSERT_NE(page_, nullptr);
    page_->window = SimUiMakeWindow(W16(u"#32770"), NULL, 0, 0);
    edit_ = Make(kChapterPageEdit, u"Edit");
    list_ = Make(kChapterList, u"ListBox");
    ASSERT_TRUE(edit_ && list_);
    ASSERT_EQ(ModBusRouteControl(ctx_, page_, list_, WM_INITDIALOG, 0, 0), 1);
  }
  void TearDown() override {
    ForgetWindows(kChapterDialogId);
    SampleContextTest::TearDown();
  }
  DlgControlRecord* Make(WORD id, const char16_t* className) {
    DlgControlRecord* control = CtlFind(ctx_, page_, id);
    if (control) control->window = SimUiMakeWindow(W16(className), page_->window, id, WS_CHILD | WS_VISIBLE);
    return control;
  }
  // Types the text and presses add; the box shown (its text), or "" without one.
  std::u16string Add(const char16_t* text, int answer = IDOK) {
    WuiSetText(edit_->window, W16(text));
    SimUiScriptAnswers(&answer, 1);
    const DWORD before = SimUiCallCount();
    ModBusNotify(ctx_, kNotifyChapterAdd);
    return BoxSince(before);
  }
  std::u16string Notify(WORD code, int answer) {
    SimUiScriptAnswers(&answer, 1);
    const DWORD before = SimUiCallCount();
    ModBusNotify(ctx_, code);
    return BoxSince(before);
  }
  std::u16string BoxSince(DWORD before) {
    for (DWORD i = before; i < SimUiCallCount(); ++i) {
      SimUiCall call = {};
      if (SimUiGetCall(i, &call) && call.kind == kSimUiMessageBox) return U16(call.text);
    }
    return u"";
  }
  std::u16string String(UINT id) {
    WCHAR text[1025];
    ResLoadString(ctx_, id, text, 1025, TRUE);
    return U16(text);
  }
  // The pages of the records in use (a range record shows its text).
  std::string Records() {
    std::string out;
    for (LONG n = 0; n < ChapterGetCount(ctx_); ++n) {
      const ChapterRecord* r = ChapterGetRecord(ctx_, n);
      if (!out.empty()) out += ",";
      if (r->kind == kChapterKindRange) {
        for (const WCHAR* p = r->range; *p; ++p) out += static_cast<char>(*p);
        out += "k3";
      } else {
        out += std::to_string(r->page);
      }
    }
    return out;
  }

  DlgPageRecord* page_ = nullptr;
  DlgControlRecord* edit_ = nullptr;
  DlgControlRecord* list_ = nullptr;
};

TEST_F(ChapterDialogsTest, PageListsAreImportedSortedAndRangesKeptAsOneChapter) {
  EXPECT_EQ(WuiChoiceCount(list_->window), 10) << "one line per record the list may hold";
  EXPECT_EQ(Add(u"3,1,2"), u"");
  EXPECT_EQ(Records(), "1,2,3");
  EXPECT_EQ(WuiChoiceSelection(list_->window), 2) << "the last record selected";
  ItemSetRawById(ctx_, kItem_wdmChapterKind, 3);
  EXPECT_EQ(Add(u"7-5"), u"");
  EXPECT_EQ(Records(), "1,2,3,5-7k3");
  EXPECT_EQ(WuiChoiceSelection(list_->window), 3);
}

TEST_F(ChapterDialogsTest, RefusedPageListsShowTheirBoxFocusTheEditAndKeepTheList) {
  ASSERT_EQ(Add(u"1,2"), u"");
  struct Case {
    const char16_t* text;
    UINT message;
  } cases[] = {
      {u"1-2-3", 10073}, {u"-4", 10073}, {u"4-", 10073}, {u"0", 10073}, {u"30001", 10073}, {u"1;2", 12049},
      {u"1,2,3,4,5,6,7,8,9,10,11", 10065},
  };
  for (const Case& c : cases) {
    WuiSetFocus(list_->window);
    EXPECT_EQ(Add(c.text), String(c.message)) << std::string(c.text, c.text + std::char_traits<char16_t>::length(c.text));
    EXPECT_EQ(WuiGetFocus(), edit_->window);
    EXPECT_EQ(Records(), "1,2");
  }
}

TEST_F(ChapterDialogsTest, DeletesAskFirstAndTheDialogsCancelRestoresTheCount) {
  ASSERT_EQ(Add(u"1,5,9"), u"");
  // Delete the last: Cancel keeps it, OK removes it and selects the new last line.
  WuiChoiceSelect(list_->window, 2);
  EXPECT_EQ(Notify(kNotifyChapterDelete, IDCANCEL), String(10064));
  EXPECT_EQ(Records(), "1,5,9");
  EXPECT_EQ(Notify(kNotifyChapterDelete, IDOK), String(10064));
  EXPECT_EQ(Records(), "1,5");
  EXPECT_EQ(WuiChoiceSelection(list_->window), 1);
  EXPECT_EQ(ctx_->ui->chapterNotedCount, 3);
  // Delete all: Cancel keeps them, OK clears them and selects line 0.
  EXPECT_EQ(Notify(kNotifyChapterDeleteAll, IDCANCEL), String(12001));
  EXPECT_EQ(Records(), "1,5");
  EXPECT_EQ(Notify(kNotifyChapterDeleteAll, IDOK), String(12001));
  EXPECT_EQ(Records(), "");
  EXPECT_EQ(WuiChoiceSelection(list_->window), 0);
  EXPECT_EQ(ctx_->ui->chapterNotedCount, 2);
}

TEST_F(ChapterDialogsTest, DeleteIsRestrictedWithoutASelectedChapter) {
  ASSERT_EQ(Add(u"4,8"), u"");
  DlgControlRecord* button = CtlFind(ctx_, page_, kChapterDeleteButton);
  ASSERT_NE(button, nullptr);
  struct Case {
    int selected;
    bool restricted;
  } cases[] = {{-1, true}, {0, false}, {1, false}, {2, true}, {9, true}};
  for (const Case& c : cases) {
    WuiChoiceSelect(list_->window, c.selected);
    CtlRestrictedQuery query = {button, page_, 0, 0};
    ModBusSendEvent(ctx_, kEventControlRestricted, &query);
    EXPECT_EQ(query.answered, 1) << c.selected;
    EXPECT_EQ((button->state & 0x000C) != 0, c.restricted) << c.selected;
  }
}

TEST_F(ChapterDialogsTest, TickingChaptersOnWarnsWhenAChapterUsesTheStartingTray) {
  ASSERT_EQ(Add(u"4"), u"");  // on tray 2
  DlgPageRecord* marks = PageFind(ctx_, kCoverMarkDialogId);
  ASSERT_NE(marks, nullptr);
  marks->window = SimUiMakeWindow(W16(u"#32770"), NULL, 0, 0);
  DlgControlRecord* box = CtlFind(ctx_, marks, kCoverMarkChapterOn);
  ASSERT_NE(box, nullptr);
  box->window = SimUiMakeWindow(W16(u"Button"), marks->window, kCoverMarkChapterOn, WS_CHILD | WS_VISIBLE);
  struct Case {
    LONG source;
    UINT check;
    bool warned;
  } cases[] = {{2, BST_CHECKED, true}, {3, BST_CHECKED, false}, {7, BST_CHECKED, false}, {2, BST_UNCHECKED, false}};
  for (const Case& c : cases) {
    ItemSetRawById(ctx_, kItem_dmDefaultSource, c.source);
    WuiSetCheck(box->window, c.check);
    const DWORD before = SimUiCallCount();
    EXPECT_EQ(ModBusRouteControl(ctx_, marks, box, WM_COMMAND, MAKEWPARAM(kCoverMarkChapterOn, BN_CLICKED), 0), 0)
        << "the click goes on to the box";
    EXPECT_EQ(BoxSince(before), c.warned ? String(10074) : u"") << c.source << " " << c.check;
  }
  ForgetWindows(kCoverMarkDialogId);
}

TEST_F(ChapterDialogsTest, ListLinesAsNumbers) {
  struct Width {
    LONG left, right;
    LONG starts[5];
  } widths[] = {
      {0, 320, {0, 24, 50, 142, 246}},
      {2, 198, {0, 15, 31, 88, 153}},
  };
  for (const Width& w : widths) {
    LONG starts[5];
    ChapterColumnStarts(w.left, w.right, starts);
    for (int c = 0; c < 5; ++c) EXPECT_EQ(starts[c], w.starts[c]) << w.right << " column " << c;
  }
  struct Colours {
    WORD dialog;
    bool selected;
    int background, text;
  } colours[] = {
      {kChapterDialogId, true, COLOR_HIGHLIGHT, COLOR_HIGHLIGHTTEXT},
      {kChapterDialogId, false, COLOR_WINDOW, COLOR_WINDOWTEXT},
      {kCoverMarkDialogId, true, COLOR_BTNFACE, COLOR_GRAYTEXT},
  };
  for (const Colours& c : colours) {
    ChapterLineStyle style = ChapterLineColours(c.dialog, c.selected);
    EXPECT_EQ(style.background, c.background);
    EXPECT_EQ(style.text, c.text);
  }
  // Column texts; a kind or print without a name draws an empty column.
  struct Line {
    ChapterRecord record;
    std::u16string page, kind, print;
  } lines[] = {
      {{7, 2, 0, 1, {}}, u"7", String(906), String(909)},
      {{5, 2, 3, 2, {'5', '-', '7', 0}}, u"5-7", String(13535), String(910)},
      {{9, 2, 1, 2, {}}, u"9", String(907), u""},  // kind 1 has no tray or print column
      {{9, 2, 200, 9, {}}, u"9", u"", u""},         // values out of the tables
      {{0, 0, 0, 0, {}}, u"", u"", u""},
  };
  int n = 0;
  for (const Line& l : lines) {
    WCHAR texts[5][64];
    ChapterLineTexts(ctx_, l.record, n, texts);
    EXPECT_EQ(U16(texts[0]), std::u16string(1, static_cast<char16_t>('1' + n))) << n;
    EXPECT_EQ(U16(texts[1]), l.page) << n;
    EXPECT_EQ(U16(texts[2]), l.kind) << n;
    EXPECT_EQ(U16(texts[4]), l.print) << n;
    ++n;
  }
}

}  // namespace
}  // namespace zems_test
