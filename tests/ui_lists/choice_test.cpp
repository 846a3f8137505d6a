// Combos and list boxes: their entries, the value they show (16-bit or full comparison), what a
// choice does (applied, committed again, or refused with the information string), how owner-
// drawn entries are painted, and the check-box list's items.
#include <gtest/gtest.h>

#include "core/common/draw_ui.h"
#include "core/common/window_ui.h"
#include "core/context/ui_state.h"
#include "core/front/dialog_engine.h"
#include "core/items/item_access.h"
#include "ui_lists/lists_fixture.h"

namespace zems_test {
namespace {

constexpr WORD kU16Item = 53;  // zdmOutputTrayID
constexpr WORD kS16Item = 13;  // dmDefaultSource
constexpr WORD kInfoString = 60110;

void Init(DriverContext* ctx, DlgPageRecord* page, DlgControlRecord* control) {
  const CtlTypeRecord* type = CtlFindType(control->type);
  ASSERT_TRUE(type && type->init);
  type->init(type, ctx, page, control);
}
void Show(DriverContext* ctx, DlgPageRecord* page, DlgControlRecord* control) {
  const CtlTypeRecord* type = CtlFindType(control->type);
  ASSERT_TRUE(type && type->show);
  type->show(ctx, page, control);
}
int Command(DriverContext* ctx, DlgPageRecord* page, DlgControlRecord* control, WORD code) {
  const CtlTypeRecord* type = CtlFindType(control->type);
  return type && type->command ? type->command(ctx, page, control, MAKEWPARAM(control->controlId, code), 0) : -1;
}
int Message(DriverContext* ctx, DlgPageRecord* page, DlgControlRecord* control, UINT message, WPARAM wParam,
            LPARAM lParam) {
  const CtlTypeRecord* type = CtlFindType(control->type);
  return type && type->message ? type->message(ctx, page, control, message, wParam, lParam) : -1;
}
const char16_t* ClassOf(WORD type) { return type == 43 || type == 48 ? u"ComboBox" : u"ListBox"; }
WORD SelectCode(WORD type) { return type == 43 || type == 48 ? CBN_SELCHANGE : LBN_SELCHANGE; }

TEST_F(ListsTest, FillingListsTheEnabledValuesWithTheirTextsAndShowsTheValue) {
  hand_.Values({29, 30, 31});
  hand_.Disable(30);
  for (WORD type : {42, 43, 48}) {
    DlgControlRecord* control = Make(static_cast<WORD>(2500 + type), type, ClassOf(type), kU16Item);
    ItemSetValueById(ctx_, kU16Item, 31);
    Init(ctx_, page_, control);
    EXPECT_EQ(Data(control->window), (std::vector<LPARAM>{29, 31})) << type;
    EXPECT_EQ(Text(control->window, 0), String(29)) << type;
    EXPECT_EQ(Text(control->window, 1), String(31)) << type;
    // The list box fills only; the combos show the value at once.
    EXPECT_EQ(WuiChoiceSelection(control->window), type == 42 ? -1 : 1) << type;
  }
  // The owner-drawn lists have entries without text, and show the value.
  for (WORD type : {47, 49}) {
    DlgControlRecord* control = Make(static_cast<WORD>(2500 + type), type, u"ListBox", kU16Item);
    Init(ctx_, page_, control);
    EXPECT_EQ(Data(control->window), (std::vector<LPARAM>{29, 31})) << type;
    EXPECT_EQ(Text(control->window, 1), u"") << type;
    EXPECT_EQ(WuiChoiceSelection(control->window), 1) << type;
  }
  // Without an item nothing is filled.
  DlgControlRecord* bare = Make(2600, 43, u"ComboBox", 0);
  bare->item = nullptr;
  WuiChoiceAdd(bare->window, W16(u"kept"), 5);
  Init(ctx_, page_, bare);
  EXPECT_EQ(Data(bare->window), (std::vector<LPARAM>{5}));
}

TEST_F(ListsTest, ShownValueSelectsTheFirstEqualEntryComparingAsTheItemsWidthSays) {
  hand_.Values({29, 30, 65535});
  struct Case {
    WORD type;
    WORD item;
    LONG_PTR value;
    int before;  // selection before the show
    int shown;
  } cases[] = {
      {43, kU16Item, 0xFFFF, -1, 2},  // a u16 combo holding 0xFFFF selects 65535
      {43, kS16Item, -1, -1, 2},      // so does an s16 one holding -1
      {42, kS16Item, -1, 0, -1},      // a list compares the full value: no entry, no selection
      {42, kU16Item, 0xFFFF, -1, 2},
      {43, kU16Item, 77, 1, -1},      // no entry clears the selection
      {42, kU16Item, 30, 0, 1},
      {48, kU16Item, 77, 1, 1},       // the owner-drawn combo never clears it
      {48, kU16Item, 30, 0, 1},
  };
  int row = 0;
  for (const Case& c : cases) {
    DlgControlRecord* control = Make(static_cast<WORD>(2700 + row), c.type, ClassOf(c.type), c.item);
    for (WORD v : {29, 30, 65535}) WuiChoiceAdd(control->window, W16(u"x"), v);
    WuiChoiceSelect(control->window, c.before);
    ItemSetValueById(ctx_, c.item, c.value);
    Show(ctx_, page_, control);
    EXPECT_EQ(WuiChoiceSelection(control->window), c.shown) << "row " << row;
    ++row;
  }
}

TEST_F(ListsTest, OwnerDrawnComboShowsOnlyAChangedItem) {
  hand_.Values({29, 30, 31});
  DlgControlRecord* control = Make(2009, 48, u"ComboBox", kU16Item);
  for (WORD v : {29, 30, 31}) WuiChoiceAdd(control->window, W16(u"x"), v);
  WuiChoiceSelect(control->window, 0);
  ItemSetValueById(ctx_, kU16Item, 31);
  UiClearChangedItems(ctx_);
  Show(ctx_, page_, control);
  EXPECT_EQ(WuiChoiceSelection(control->window), 0);
  ItemSetValueById(ctx_, kU16Item, 31);
  Show(ctx_, page_, control);
  EXPECT_EQ(WuiChoiceSelection(control->window), 2);
}

// A choice of value 31 (restricted) or 30 from a selection of 29.
struct TakeCase {
  WORD type;
  const CtlExtPicture* extension;  // the control's picture record, or none
  WORD info;       // its information string
  WORD chosen;
  bool shown;      // the information box came
  LONG_PTR stored;
};

TEST_F(ListsTest, ARestrictedChoiceWithTheInformationFlagShowsItsTextAndKeepsTheOldValue) {
  hand_.Values({29, 30, 31});
  hand_.Restrict(31);
  const CtlExtPicture* flagged = &kListExtRestrictedChoice;
  const CtlExtPicture* plain = &kListExtSettingsSummary;  // a picture record without the flag
  const TakeCase cases[] = {
      {43, flagged, kInfoString, 31, true, 29}, {48, flagged, kInfoString, 31, true, 29},
      {42, flagged, kInfoString, 31, true, 29}, {47, flagged, kInfoString, 31, true, 29},
      {49, flagged, kInfoString, 31, true, 29},
      {43, nullptr, kInfoString, 31, false, 31},  // without the record the value applies
      {47, nullptr, kInfoString, 31, false, 31},
      {43, plain, kInfoString, 31, false, 31},    // so it does without the flag
      {42, plain, kInfoString, 31, false, 31},
      {43, flagged, 0, 31, false, 31},            // and without an information string
      {43, flagged, kInfoString, 30, false, 30},  // an unrestricted value applies
      {42, flagged, kInfoString, 30, false, 30},
  };
  int row = 0;
  for (const TakeCase& c : cases) {
    DlgControlRecord* control = Make(static_cast<WORD>(2800 + row), c.type, ClassOf(c.type), kU16Item);
    control->extension = const_cast<CtlExtPicture*>(c.extension);
    control->infoString = c.info;
    for (WORD v : {29, 30, 31}) WuiChoiceAdd(control->window, W16(u"x"), v);
    ItemSetValueById(ctx_, kU16Item, 29);
    WuiChoiceSelect(control->window, c.chosen - 29);
    Mark();
    EXPECT_EQ(Command(ctx_, page_, control, SelectCode(c.type)), 1) << "row " << row;
    std::vector<SimUiCall> boxes = UiCalls(kSimUiMessageBox);
    ASSERT_EQ(boxes.size(), c.shown ? 1u : 0u) << "row " << row;
    if (c.shown) {
      EXPECT_EQ(std::u16string(reinterpret_cast<const char16_t*>(boxes[0].caption)), u"Information");
      EXPECT_EQ(std::u16string(reinterpret_cast<const char16_t*>(boxes[0].text)), String(kInfoString));
      EXPECT_EQ(boxes[0].style & 0xF0u, static_cast<UINT>(MB_ICONINFORMATION));
    }
    EXPECT_EQ(ItemGetValueById(ctx_, kU16Item), c.stored) << "row " << row;
    EXPECT_EQ(WuiChoiceData(control->window, WuiChoiceSelection(control->window)), c.stored) << "row " << row;
    ++row;
  }
}

TEST_F(ListsTest, ComboTellsTheModulesOnlyOfAChangedValueAndOnlyOnTheCurrentPage) {
  hand_.Values({29, 30, 31});
  DlgControlRecord* control = Make(2009, 43, u"ComboBox", kU16Item);
  for (WORD v : {29, 30, 31}) WuiChoiceAdd(control->window, W16(u"x"), v);
  ItemSetValueById(ctx_, kU16Item, 29);
  // The same value is committed again without the event.
  WuiChoiceSelect(control->window, 0);
  EXPECT_EQ(Command(ctx_, page_, control, CBN_SELCHANGE), 1);
  EXPECT_FALSE(Has(events_, kEventComboTaken));
  // Another page is current: the choice is not taken.
  ctx_->currentPage = 1002;
  WuiChoiceSelect(control->window, 1);
  EXPECT_EQ(Command(ctx_, page_, control, CBN_SELCHANGE), 0);
  EXPECT_EQ(ItemGetValueById(ctx_, kU16Item), 29);
  ctx_->currentPage = page_->dialogId;
  EXPECT_EQ(Command(ctx_, page_, control, CBN_SELCHANGE), 1);
  EXPECT_EQ(ItemGetValueById(ctx_, kU16Item), 30);
  EXPECT_TRUE(Has(events_, kEventComboTaken));
  // A dropped-down list posts nothing and takes nothing; no selection takes nothing either.
  Mark();
  EXPECT_EQ(Command(ctx_, page_, control, CBN_DROPDOWN), 0);
  EXPECT_TRUE(UiCalls(kSimUiPost).empty());
  WuiChoiceSelect(control->window, -1);
  EXPECT_EQ(Command(ctx_, page_, control, CBN_SELCHANGE), 0);
}

TEST_F(ListsTest, ListTakesOnlyAChangedSelection) {
  hand_.Values({29, 30, 31});
  DlgControlRecord* control = Make(2100, 47, u"ListBox", kU16Item);
  for (WORD v : {29, 30, 31}) WuiChoiceAdd(control->window, W16(u"x"), v);
  ItemSetValueById(ctx_, kU16Item, 30);
  WuiChoiceSelect(control->window, 1);
  EXPECT_EQ(Command(ctx_, page_, control, LBN_SELCHANGE), 0);
  WuiChoiceSelect(control->window, 2);
  EXPECT_EQ(Command(ctx_, page_, control, 2 /* a double click */), 0);
  EXPECT_EQ(ItemGetValueById(ctx_, kU16Item), 30);
  EXPECT_EQ(Command(ctx_, page_, control, LBN_SELCHANGE), 1);
  EXPECT_EQ(ItemGetValueById(ctx_, kU16Item), 31);
}

TEST_F(ListsTest, ListBackgroundBrushesAnswerOnlyForTheirOwnWindow) {
  HBRUSH grey = reinterpret_cast<HBRUSH>(0x4711), icons = reinterpret_cast<HBRUSH>(0x4712);
  ctx_->ui->dialog.draw.greyBrush = grey;
  ctx_->ui->dialog.draw.iconListBrush = icons;
  struct Case {
    WORD type;
    bool restricted;
    HBRUSH brush;
  } cases[] = {
      {47, false, DuiStockBrush(WHITE_BRUSH)}, {47, true, grey}, {50, false, icons}, {50, true, grey},
      {49, false, DuiStockBrush(WHITE_BRUSH)}, {49, true, grey},
  };
  HWND other = SimUiMakeWindow(W16(u"ListBox"), pageWindow_, 2999, WS_CHILD);
  int row = 0;
  for (const Case& c : cases) {
    DlgControlRecord* control = Make(static_cast<WORD>(2900 + row), c.type, u"ListBox", kU16Item);
    control->state = c.restricted ? 0x4 : 0;
    WuiSetSlot(pageWindow_, DWL_MSGRESULT, 0);
    // The picture lists' handler answers for the icon list too, when called for it.
    auto handler = c.type == 49 ? CtlDrawListItemAlt : CtlDrawListItem;
    EXPECT_EQ(handler(ctx_, page_, control, WM_CTLCOLORLISTBOX, 0, reinterpret_cast<LPARAM>(other)), 0) << row;
    EXPECT_EQ(WuiGetSlot(pageWindow_, DWL_MSGRESULT), 0) << row;
    EXPECT_EQ(handler(ctx_, page_, control, WM_CTLCOLORLISTBOX, 0, reinterpret_cast<LPARAM>(control->window)), 1)
        << row;
    EXPECT_EQ(WuiGetSlot(pageWindow_, DWL_MSGRESULT), reinterpret_cast<LONG_PTR>(c.brush)) << row;
    ++row;
  }
}

TEST_F(ListsTest, OwnerDrawnEntriesFillTheirStateAndDrawTheirText) {
  hand_.Values({29, 30, 31});
  hand_.Restrict(31);
  const COLORREF window = DuiSysColor(COLOR_WINDOW), face = DuiSysColor(COLOR_BTNFACE),
                 highlight = DuiSysColor(COLOR_HIGHLIGHT), grey = DuiSysColor(COLOR_GRAYTEXT),
                 menu = DuiSysColor(COLOR_MENUTEXT), light = DuiSysColor(COLOR_HIGHLIGHTTEXT);
  struct Case {
    WORD type;
    int entry;
    UINT state;
    bool restrictedControl;
    COLORREF fill, text;
    UINT picture;  // drawn at the entry's left; 0 none
    LONG textX;
  } cases[] = {
      {48, 0, 0, false, window, menu, 0, 0},
      {48, 1, ODS_SELECTED, false, highlight, light, 0, 0},
      {48, 1, ODS_SELECTED, true, face, grey, 0, 0},
      {48, 2, 0, false, window, grey, 7005, 20},  // a restricted value: its picture, text shifted
      {47, 0, 0, false, window, menu, 0, 0},
      {47, 2, ODS_SELECTED, false, highlight, grey, 7005, 20},
  };
  int row = 0;
  for (const Case& c : cases) {
    DlgControlRecord* control = Make(static_cast<WORD>(3000 + row), c.type, ClassOf(c.type), kU16Item);
    control->extension = const_cast<CtlExtPicture*>(&kListExtRestrictedChoice);
    control->state = c.restrictedControl ? 0x4 : 0;
    for (WORD v : {29, 30, 31}) WuiChoiceAdd(control->window, W16(u"entry"), v);
    DRAWITEMSTRUCT item = DrawItem(control, c.entry, ODA_DRAWENTIRE, c.state);
    Mark();
    EXPECT_EQ(Message(ctx_, page_, control, WM_DRAWITEM, control->controlId, reinterpret_cast<LPARAM>(&item)), 1);
    std::vector<SimDrawCall> fills = Drawn(kSimDrawFill);
    std::vector<SimDrawCall> texts = Drawn(kSimDrawTextOut);
    std::vector<SimDrawCall> pictures = Drawn(kSimDrawPicture);
    if (c.type == 48) {
      // The combo's text is drawn opaque on its fill.
      ASSERT_EQ(texts.size(), 1u) << row;
      EXPECT_EQ(texts[0].flags, static_cast<DWORD>(ETO_CLIPPED | ETO_OPAQUE)) << row;
      std::vector<SimDrawCall> backs = Drawn(kSimDrawBkColour);
      ASSERT_FALSE(backs.empty()) << row;
      EXPECT_EQ(backs[0].colour, c.fill) << row;
    } else {
      ASSERT_EQ(fills.size(), 1u) << row;
      EXPECT_EQ(fills[0].colour, c.fill) << row;
      ASSERT_EQ(texts.size(), 1u) << row;
    }
    EXPECT_EQ(texts[0].colour, c.text) << row;
    EXPECT_EQ(texts[0].x, c.textX) << row;
    EXPECT_EQ(std::u16string(reinterpret_cast<const char16_t*>(texts[0].text)), u"entry") << row;
    ASSERT_EQ(pictures.size(), c.picture ? 1u : 0u) << row;
    if (c.picture) {
      EXPECT_EQ(pictures[0].id, c.picture) << row;
    }
    EXPECT_TRUE(Drawn(kSimDrawFocusRect).empty()) << row;
    item = DrawItem(control, c.entry, ODA_FOCUS, ODS_FOCUS);
    Mark();
    Message(ctx_, page_, control, WM_DRAWITEM, control->controlId, reinterpret_cast<LPARAM>(&item));
    EXPECT_EQ(Drawn(kSimDrawFocusRect).size(), 1u) << row;
    EXPECT_TRUE(Drawn(kSimDrawTextOut).empty()) << row;
    ++row;
  }
}

TEST_F(ListsTest, PictureListDrawsEachValuesOwnPictureOverTheEntry) {
  hand_.Values({29, 30});
  DlgControlRecord* control = Make(2085, 47, u"ListBox", kU16Item);
  control->flags = kCtlPictureItems;
  for (WORD v : {29, 30}) WuiChoiceAdd(control->window, W16(u"entry"), v);
  DRAWITEMSTRUCT item = DrawItem(control, 1, ODA_DRAWENTIRE, 0);
  Message(ctx_, page_, control, WM_DRAWITEM, control->controlId, reinterpret_cast<LPARAM>(&item));
  std::vector<SimDrawCall> pictures = Drawn(kSimDrawPicture);
  ASSERT_EQ(pictures.size(), 1u);
  EXPECT_EQ(pictures[0].id, 30u);
  EXPECT_EQ(pictures[0].flags, 9u);
  EXPECT_TRUE(Drawn(kSimDrawTextOut).empty());
}

// The check-box list of dialog 1065: nine entries, of which only the first eight have an item.
class CheckListTest : public ListsTest {
 protected:
  void SetUp() override {
    ListsTest::SetUp();
    if (HasFatalFailure()) return;
    hand_.Values({29, 30, 31, 32, 33, 34, 35, 36, 37});
    control_ = Make(2817, 49, u"ListBox", kU16Item);
    control_->extension = const_cast<WORD*>(kListExtHiddenFunctions);
    for (WORD v = 29; v <= 37; ++v) WuiChoiceAdd(control_->window, W16(u""), v);
    int count = 0;
    items_ = CtlCheckListItems(control_, &count);
    ASSERT_EQ(count, 8);
    for (int i = 0; i < count; ++i) ItemSetValueById(ctx_, items_[i], 0);
  }
  UINT PictureOf(int entry) {
    DRAWITEMSTRUCT item = DrawItem(control_, entry, ODA_DRAWENTIRE, 0);
    Mark();
    EXPECT_EQ(Message(ctx_, page_, control_, WM_DRAWITEM, 2817, reinterpret_cast<LPARAM>(&item)), 1);
    std::vector<SimDrawCall> pictures = Drawn(kSimDrawPicture);
    return pictures.size() == 1 ? pictures[0].id : 0;
  }
  std::vector<LONG_PTR> Items() {
    std::vector<LONG_PTR> out;
    for (int i = 0; i < 8; ++i) out.push_back(ItemGetValueById(ctx_, items_[i]));
    return out;
  }
  DlgControlRecord* control_ = nullptr;
  const WORD* items_ = nullptr;
};

TEST_F(CheckListTest, EntriesShowTheirItemsCheckAndAnEntryPastTheListIsUnchecked) {
  hand_.Restrict(31);
  for (int i = 0; i < 8; ++i) ItemSetValueById(ctx_, items_[i], 1);
  ItemSetValueById(ctx_, items_[1], 0);
  struct Case {
    int entry;
    UINT picture;
  } cases[] = {{0, 7003}, {1, 7001}, {2, 7004}, {8, 7001}};
  for (const Case& c : cases) EXPECT_EQ(PictureOf(c.entry), c.picture) << c.entry;
  // The text stands two text heights in, in the restricted colour for a restricted value.
  LONG height = 0, average = 0;
  DuiTextMetrics(SimDrawWindowDc(control_->window), &height, &average);
  PictureOf(2);
  std::vector<SimDrawCall> texts = Drawn(kSimDrawText);
  ASSERT_EQ(texts.size(), 1u);
  EXPECT_EQ(texts[0].rect.left, 2 * height);
  EXPECT_EQ(texts[0].colour, DuiSysColor(COLOR_GRAYTEXT));
  EXPECT_EQ(std::u16string(reinterpret_cast<const char16_t*>(texts[0].text)), String(31));
  // A grey control greys every entry.
  control_->state = 0x8;
  EXPECT_EQ(PictureOf(0), 7004u);
}

TEST_F(CheckListTest, ClickOrBlankTogglesTheSelectedEntrysItemWithoutCommit) {
  struct Step {
    UINT message;
    WPARAM wParam;
    int entry;
    WORD state;
    std::vector<LONG_PTR> items;
  } steps[] = {
      {WM_LBUTTONUP, 0, 1, 0, {0, 1, 0, 0, 0, 0, 0, 0}},
      {WM_CHAR, ' ', 1, 0, {0, 0, 0, 0, 0, 0, 0, 0}},
      {WM_CHAR, 'x', 1, 0, {0, 0, 0, 0, 0, 0, 0, 0}},   // another key toggles nothing
      {WM_LBUTTONUP, 0, 7, 0, {0, 0, 0, 0, 0, 0, 0, 1}},
      {WM_LBUTTONUP, 0, 8, 0, {0, 0, 0, 0, 0, 0, 0, 1}},  // past the list: no item to toggle
      {WM_LBUTTONUP, 0, 0, 0x4, {0, 0, 0, 0, 0, 0, 0, 1}},  // a restricted control keeps them
  };
  int row = 0;
  for (const Step& s : steps) {
    WuiChoiceSelect(control_->window, s.entry);
    control_->state = s.state;
    Mark();
    EXPECT_EQ(Message(ctx_, page_, control_, s.message, s.wParam, 0), 0) << row;
    EXPECT_EQ(Items(), s.items) << row;
    ++row;
  }
  // No commit ran: the module heard no node actions.
  EXPECT_FALSE(Has(events_, kEventNodeActions));
}

}  // namespace
}  // namespace zems_test
