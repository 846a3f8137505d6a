// Value texts, push buttons, check boxes and radio buttons, and the rows of the type table.
#include "core/common/draw_ui.h"
#include "core/common/window_ui.h"
#include "core/front/control_types.h"
#include "core/front/ctl_simple.h"
#include "core/front/dialog_engine.h"
#include "core/items/item_access.h"
#include "core/items/item_ids.h"
#include "core/items/item_table.h"
#include "ui_simple/simple_fixture.h"

namespace zems_test {
namespace {

class TypesTest : public SimpleTest {
 protected:
  // Draws the whole owner-drawn button in a rectangle from (0, 0).
  void DrawItem(DlgControlRecord* button, LONG width, LONG height) {
    DRAWITEMSTRUCT draw = {};
    draw.itemAction = ODA_DRAWENTIRE;
    draw.hwndItem = button->window;
    draw.hDC = SimDrawWindowDc(button->window);
    draw.rcItem = {0, 0, width, height};
    MarkDraws();
    EXPECT_EQ(CtlDrawButton(ctx_, page_, button, WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&draw)), 1);
  }
  // The fixture page with one control of this type bound to dmCopies and the description.
  DlgControlRecord* OneControl(WORD controlId, WORD type, const ModelItemDescriptor* desc) {
    EXPECT_NE(OpenPage(1038, {Control(controlId, type)}), nullptr);
    DlgControlRecord* control = Find(controlId);
    control->item = ItemFind(ctx_, kItem_dmCopies);
    control->descriptor = desc;
    return control;
  }
  void SetCopies(LONG value) { ItemSetValueById(ctx_, kItem_dmCopies, value); }
  LONG Copies() { return static_cast<LONG>(ItemGetValueById(ctx_, kItem_dmCopies)); }
};

struct TextCase {
  const char* name;
  std::initializer_list<WORD> values;
  std::initializer_list<WORD> disabled;
  LONG item;
  const char16_t* shown;
};

TEST_F(TypesTest, AValueTextShowsTheLastEnabledTextWithOnlyAnIntegerDirectiveFilled) {
  const TextCase cases[] = {
      {"two enabled values: the later", {61001, 61002}, {}, 1, u"Later"},
      {"the later disabled", {61001, 61002}, {61002}, 1, u"Earlier"},
      {"an empty text is passed over", {61002, 61006}, {}, 1, u"Later"},
      {"%d and %%", {61003}, {}, 42, u"42 %"},
      {"a negative number", {61003}, {}, -5, u"-5 %"},
      {"%s stays as it is", {61004}, {}, 7, u"%s"},
      {"flags and widths, one number only", {61005}, {}, 26, u"[   26|%-4x|%u]"},
  };
  for (const TextCase& c : cases) {
    SCOPED_TRACE(c.name);
    ListFixture list(kModelTypePickOne, c.values, c.disabled);
    DlgControlRecord* text = OneControl(3001, 1, &list.desc);
    SetCopies(c.item);
    WuiSetText(text->window, u"before");
    CtlShowValueText(ctx_, page_, text);
    EXPECT_EQ(Text(text->window), c.shown);
  }
}

TEST_F(TypesTest, AValueTextWithoutDescriptionKeepsItsText) {
  DlgControlRecord* text = OneControl(3001, 1, nullptr);
  WuiSetText(text->window, u"before");
  CtlShowValueText(ctx_, page_, text);
  EXPECT_EQ(Text(text->window), u"before");
}

// Every value-text type shows its text through its show slot, also the ones no page uses.
TEST_F(TypesTest, EveryValueTextTypeShowsItsValueThroughTheTypeTable) {
  const WORD types[] = {1, 4, 5, 6, 44, 45, 46, 64, 65, 83, 101, 102, 21, 24};
  ListFixture list(kModelTypePickOne, {61003});
  for (WORD type : types) {
    SCOPED_TRACE(type);
    const CtlTypeRecord* row = CtlFindType(type);
    ASSERT_NE(row, nullptr);
    ASSERT_NE(row->show, nullptr);
    DlgControlRecord* text = OneControl(3001, type, &list.desc);
    SetCopies(type);
    row->show(ctx_, page_, text);
    const std::string number = std::to_string(type) + " %";
    EXPECT_EQ(Text(text->window), std::u16string(number.begin(), number.end()));
  }
}

TEST_F(TypesTest, TheTypeTableInstallsTheButtonProcedureOnlyOnPushButtons) {
  for (int i = 0; i < CtlTypeCount(); ++i) {
    const CtlTypeRecord* row = CtlTypeAt(i);
    const bool mine = row->show == CtlShowValueText || row->show == CtlShowCheckValue ||
                      row->show == CtlShowRadioValue || row->show == CtlShowPicture || row->show == CtlShowImageValue;
    if (!mine) continue;
    SCOPED_TRACE(row->type);
    const bool button = row->type == 21 || row->type == 24;
    EXPECT_EQ(row->windowProc != nullptr, true);
    EXPECT_EQ(row->windowProc == CtlButtonProc, button);
  }
}

TEST_F(TypesTest, ARadioButtonStandsForItsOwnIdAndAClickStoresIt) {
  ASSERT_NE(OpenPage(1038, {Control(2026, 41), Control(2027, 41)}), nullptr);
  ListFixture list(kModelTypePickOne, {2026, 2027});
  for (WORD id : {2026, 2027}) {
    Find(id)->item = ItemFind(ctx_, kItem_dmCopies);
    Find(id)->descriptor = &list.desc;
  }
  DlgControlRecord* one = Find(2026);
  DlgControlRecord* two = Find(2027);
  SetCopies(2027);
  CtlShowRadioValue(ctx_, page_, one);
  CtlShowRadioValue(ctx_, page_, two);
  EXPECT_EQ(WuiGetCheck(one->window), static_cast<UINT>(BST_UNCHECKED));
  EXPECT_EQ(WuiGetCheck(two->window), static_cast<UINT>(BST_CHECKED));

  EXPECT_EQ(CtlRadioPreMessage(ctx_, page_, one, WM_LBUTTONUP, 0, 0), 1);
  EXPECT_EQ(Copies(), 2026);

  // A command takes the button's state only when it differs from the item.
  WuiSetCheck(one->window, BST_CHECKED);
  EXPECT_EQ(CtlTakeRadioValue(ctx_, page_, one, 2026, 0), 0);
  WuiSetCheck(two->window, BST_CHECKED);
  EXPECT_EQ(CtlTakeRadioValue(ctx_, page_, two, 2027, 0), 1);
  EXPECT_EQ(Copies(), 2027);
}

TEST_F(TypesTest, ACheckBoxShowsAndTogglesItsValue) {
  struct Case {
    LONG before;
    UINT shown;
    LONG afterClick;
  } cases[] = {{0, BST_UNCHECKED, 1}, {1, BST_CHECKED, 0}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.before);
    DlgControlRecord* check = OneControl(2044, 22, nullptr);
    SetCopies(c.before);
    CtlShowCheckValue(ctx_, page_, check);
    EXPECT_EQ(WuiGetCheck(check->window), c.shown);
    // The button agrees with the item: nothing to take.
    EXPECT_EQ(CtlTakeCheckValue(ctx_, page_, check, 2044, 0), 0);
    EXPECT_EQ(CtlCheckPreMessage(ctx_, page_, check, WM_LBUTTONUP, 0, 0), 1);
    EXPECT_EQ(Copies(), c.afterClick);
    // The button toggled by the user is taken back into the item.
    WuiSetCheck(check->window, c.shown);
    EXPECT_EQ(CtlTakeCheckValue(ctx_, page_, check, 2044, 0), 1);
    EXPECT_EQ(Copies(), c.before);
  }
}

TEST_F(TypesTest, APushButtonTakesItsCaptionFromTheCaptionTable) {
  struct Case {
    WORD id;
    const char16_t* caption;
  } cases[] = {{2003, u"Change..."}, {2038, u""}, {2502, u"<"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.id);
    DlgControlRecord* button = OneControl(c.id, 21, nullptr);
    WuiSetText(button->window, u"template");
    CtlInitButton(CtlFindType(21), ctx_, page_, button);
    EXPECT_EQ(Text(button->window), c.caption);
    EXPECT_EQ(ctx_->ui->dialog.draw.altCaption, 0);
  }
  // A button without a row keeps its template's caption.
  DlgControlRecord* plain = OneControl(2014, 21, nullptr);
  WuiSetText(plain->window, u"template");
  CtlInitButton(CtlFindType(21), ctx_, page_, plain);
  EXPECT_EQ(Text(plain->window), u"template");
}

// The pictures and caption texts an owner-drawn push button drew.
struct ButtonCase {
  WORD id;
  const char16_t* text;  // nullptr: no text drawn
  bool pictureCentred;
};

TEST_F(TypesTest, APushButtonDrawsItsPictureBesideItsCaptionOrCentredWithout) {
  const ButtonCase cases[] = {
      {2014, u"...", false},       // no caption row: "..." beside the picture
      {2003, u"Change...", false},
      {2038, nullptr, true},       // "no text": only the picture, centred
  };
  ListFixture list(kModelTypePickOne, {6193});
  for (const ButtonCase& c : cases) {
    SCOPED_TRACE(c.id);
    DlgControlRecord* button = OneControl(c.id, 21, &list.desc);
    DrawItem(button, 100, 20);
    std::vector<SimDrawCall> texts = Draws(kSimDrawText);
    std::vector<SimDrawCall> pictures = Draws(kSimDrawPicture);
    if (c.text) {
      ASSERT_EQ(texts.size(), 1u);
      EXPECT_EQ(Of(texts[0].text), c.text);
    } else {
      EXPECT_TRUE(texts.empty());
    }
    ASSERT_EQ(pictures.size(), 1u);
    EXPECT_EQ(pictures[0].id, 6193u);
    EXPECT_EQ(pictures[0].y, 2);
    if (c.pictureCentred) {
      EXPECT_EQ(pictures[0].x, 50 - 10);
    } else {
      // The picture (as wide as the button is high) ends where the centred caption begins.
      LONG advance = 0, height = 0;
      SimDrawGetTextMetrics(&advance, &height);
      const int width = static_cast<int>(std::u16string(c.text).size()) * advance;
      EXPECT_EQ(pictures[0].x, 50 - width / 2 - 20);
    }
  }
}

TEST_F(TypesTest, APushButtonMeasuresAsItsClientArea) {
  DlgControlRecord* button = OneControl(2003, 21, nullptr);
  RECT client;
  ASSERT_TRUE(WuiGetClientRect(button->window, &client));
  MEASUREITEMSTRUCT measure = {};
  EXPECT_EQ(CtlDrawButton(ctx_, page_, button, WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&measure)), 1);
  EXPECT_EQ(measure.itemWidth, static_cast<UINT>(client.right));
  EXPECT_EQ(measure.itemHeight, static_cast<UINT>(client.bottom));
}

TEST_F(TypesTest, ATwoTextButtonJoinsItsTextsAndDrawsThemWithTheSeparator) {
  const CtlExtTwoTexts ext = {kCtlExtTwoTexts, 61007, 61008, 0, 1};
  ListFixture list(kModelTypePickOne, {6193});
  for (bool enabled : {true, false}) {
    SCOPED_TRACE(enabled);
    DlgControlRecord* button = OneControl(2014, 24, &list.desc);
    button->extension = const_cast<CtlExtTwoTexts*>(&ext);
    CtlInitButtonAlt(CtlFindType(24), ctx_, page_, button);
    EXPECT_EQ(Text(button->window), u"First text Second text");
    WuiEnable(button->window, enabled);
    DrawItem(button, 120, 40);
    std::vector<SimDrawCall> texts = Draws(kSimDrawText);
    ASSERT_EQ(texts.size(), enabled ? 2u : 4u);
    EXPECT_EQ(Of(texts[0].text), u"First text");
    EXPECT_EQ(Of(texts.back().text), u"Second text");
    EXPECT_EQ(texts[0].rect.left, 40 + (enabled ? 0 : 1));
    if (!enabled) {
      EXPECT_EQ(texts.back().colour, DuiSysColor(COLOR_GRAYTEXT));
    }
    // The separator runs 4 pixels above the second text.
    std::vector<SimDrawCall> lines = Draws(kSimDrawLine);
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines.back().points[0].y, texts.back().rect.top - 4);
    std::vector<SimDrawCall> pictures = Draws(kSimDrawPicture);
    ASSERT_EQ(pictures.size(), 1u);
    // Centred on (20, 20): the recording keeps the 16 x 16 picture's top-left.
    EXPECT_EQ(pictures[0].x, 12);
    EXPECT_EQ(pictures[0].y, 12);
  }
}

TEST_F(TypesTest, TheButtonProcedureAnswersZeroForAWindowWithoutItsRecord) {
  DlgControlRecord* button = OneControl(2003, 21, nullptr);
  WuiSetSlot(button->window, GWL_USERDATA, 0);
  EXPECT_EQ(CtlButtonProc(button->window, WM_PAINT, 0, 0), 0);
}

TEST_F(TypesTest, AButtonCommandRunsTheNodeActionsOfItsDescription) {
  ListFixture list(kModelTypePickOne, {6193});
  const ModelItemDescriptor* descs[] = {&list.desc, nullptr};
  for (const ModelItemDescriptor* desc : descs) {
    SCOPED_TRACE(desc != nullptr);
    DlgControlRecord* button = OneControl(2003, 21, desc);
    Heard().clear();
    EXPECT_EQ(CtlButtonCommand(ctx_, page_, button, MAKEWPARAM(2003, BN_CLICKED), 0), 1);
    bool actions = false;
    for (const HeardEvent& e : Heard()) actions = actions || e.event == kEventNodeActions;
    EXPECT_EQ(actions, desc != nullptr);
  }
}

TEST_F(TypesTest, TheColourSampleOfTheQualityPageDrawsWithTheDefaultItemsOnceBound) {
  DlgPageRecord* page = nullptr;
  for (SHORT i = 0; i < ctx_->pages->count && !page; ++i)
    if (ctx_->pages->rows[i].dialogId == 1038) page = &ctx_->pages->rows[i];
  ASSERT_NE(page, nullptr);
  DlgBindControls(ctx_, page);
  const DlgControlRecord* sample = nullptr;
  for (WORD i = 0; i < page->controlCount; ++i)
    if (page->controls[i].controlId == 2249) sample = &page->controls[i];
  ASSERT_NE(sample, nullptr);
  const auto* ext = reinterpret_cast<const CtlExtColourSample*>(CtlGetExtension(sample, kCtlExtColourSample));
  ASSERT_NE(ext, nullptr);
  for (int i = 0; i < 6; ++i) EXPECT_EQ(ext->items[i], 138 + i);
}

}  // namespace
}  // namespace zems_test
