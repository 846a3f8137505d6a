// The edit control types on a fixture page: text and numeric edits, spin and value scroll bars
// and the trackbar, their handlers called as the dialog engine calls them, the windows and the
// drawing recorded by the machine's fakes.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "core/common/draw_ui.h"
#include "core/common/window_ui.h"
#include "core/context/module_bus.h"
#include "core/context/ui_state.h"
#include "core/front/control_types.h"
#include "core/front/ctl_edits.h"
#include "core/front/dialog_engine.h"
#include "core/front/page_lookup.h"
#include "core/items/item_access.h"
#include "core/items/item_ids.h"
#include "core/items/units.h"
#include "core/model/model_types.h"
#include "core/modules/free_size_limits.h"
#include "core/modules/quality_hooks.h"
#include "support/page_controls.h"
#include "ui_engine/engine_fixture.h"

namespace zems_test {
namespace {

// What the scripted module answers and what it heard.
struct Script {
  std::vector<std::pair<int, LONG>> heard;  // event, value carried
  LONG answer38 = kCtlNoAnswer;
  LONG answer40 = kCtlNoAnswer;
  bool backwards = false;
  LONG rangeLow = 0, rangeHigh = 0;  // event 46 answered when they differ
};
Script g_script;

int ScriptedEvent(DriverContext*, int event, void* argument, void*) {
  switch (event) {
    case kEventEditShown:
    case kEventEditTyped:
    case kEventEditCommitting:
    case kEventEditCommitted:
    case kEventSpinMoved: {
      auto* e = static_cast<FreeSizeValueEvent*>(argument);
      g_script.heard.push_back({event, e->value});
      if (event == kEventEditShown && g_script.answer38 != kCtlNoAnswer) e->value = g_script.answer38;
      if (event == kEventEditCommitting && g_script.answer40 != kCtlNoAnswer) e->value = g_script.answer40;
      return 1;
    }
    case kEventSpinRange: {
      auto* e = static_cast<FreeSizeRangeEvent*>(argument);
      if (g_script.rangeLow != g_script.rangeHigh) {
        e->minimum = g_script.rangeLow;
        e->maximum = g_script.rangeHigh;
        e->given = 1;
      }
      return 1;
    }
    case kEventBarBackwards: {
      g_script.heard.push_back({event, 0});
      if (g_script.backwards) static_cast<QualityScrollEvent*>(argument)->flag = 1;
      return 1;
    }
    default:
      return 0;
  }
}

const WORD kDialog = 1037;  // any page: the handlers read only its record and window

class EditsTest : public EngineTest {
 protected:
  void SetUp() override {
    EngineTest::SetUp();
    if (HasFatalFailure()) return;
    g_script = Script();
    rows_.assign(1, UiModuleEntry{0, nullptr, nullptr, nullptr, ScriptedEvent});
    ModBusFree(ctx_);
    ASSERT_EQ(1, ModBusLoadRows(ctx_, rows_.data(), static_cast<LONG>(rows_.size())));
    CtlSetTypeTable(ctx_, nullptr, 0);
    page_ = PageFind(ctx_, kDialog);
    ASSERT_NE(nullptr, page_);
    window_ = SimUiMakeWindow(u"#32770", NULL, 0, WS_POPUP);
    page_->window = window_;
    ctx_->currentPage = kDialog;
    std::string error;
    ASSERT_TRUE(InstallCommonDll(&error)) << error;  // the ramp pictures
  }

  // A control of this type over a new window of the class, bound to the item (0: none) and
  // described by desc (null: no description).
  DlgControlRecord* Make(const char16_t* className, WORD type, WORD itemId, const ModelItemDescriptor* desc,
                         DWORD style = 0, DWORD flags = 0) {
    auto control = std::make_unique<DlgControlRecord>();
    control->controlId = static_cast<WORD>(3000 + controls_.size());
    control->type = type;
    control->item = itemId ? ItemFind(ctx_, itemId) : nullptr;
    control->descriptor = desc;
    control->flags = flags;
    control->window = SimUiMakeWindow(className, window_, control->controlId, WS_CHILD | WS_VISIBLE | style);
    controls_.push_back(std::move(control));
    return controls_.back().get();
  }
  static ModelItemDescriptor Numeric(NumericValueRecord* rec, WORD unit, WORD chars, WORD divisor, LONG low,
                                     LONG high) {
    *rec = NumericValueRecord{};
    rec->numbers[0] = unit;
    rec->numbers[1] = chars;
    rec->numbers[2] = divisor;
    rec->minimum = low;
    rec->maximum = high;
    ModelItemDescriptor d = {};
    d.type = kModelTypeNumeric;
    d.values = rec;
    return d;
  }
  std::u16string Text(HWND window) {
    WCHAR text[1100] = {};
    WuiGetText(window, text, 1100);
    return std::u16string(reinterpret_cast<const char16_t*>(text));
  }
  // Types a character as the edit does and hands its EN_CHANGE to the handler.
  int Type(DlgControlRecord* control, WCHAR c) {
    WuiSend(control->window, WM_CHAR, c, 0);
    return CtlTakeNumericEdit(ctx_, page_, control, MAKEWPARAM(control->controlId, EN_CHANGE), 0);
  }
  int Scroll(DlgControlRecord* control, UINT message, WORD code, SHORT thumb = 0) {
    const CtlTypeRecord* type = CtlFindType(control->type);
    return type->message(ctx_, page_, control, message, MAKEWPARAM(code, static_cast<WORD>(thumb)),
                         reinterpret_cast<LPARAM>(control->window));
  }
  void Init(DlgControlRecord* control) { CtlFindType(control->type)->init(CtlFindType(control->type), ctx_, page_, control); }
  LONG Value(WORD id) { return static_cast<LONG>(ItemGetValueById(ctx_, id)); }
  std::vector<SimDrawCall> Drawn() {
    std::vector<SimDrawCall> out;
    for (DWORD i = 0; i < SimDrawCallCount(); ++i) {
      SimDrawCall call = {};
      if (SimDrawGetCall(i, &call)) out.push_back(call);
    }
    return out;
  }

  std::vector<UiModuleEntry> rows_;
  std::vector<std::unique_ptr<DlgControlRecord>> controls_;
  DlgPageRecord* page_ = nullptr;
  HWND window_ = NULL;
};

// ---- the number reader ----

TEST_F(EditsTest, ParseScaledNumberReadsDecimalsOfTheDivisor) {
  struct Case {
    const char16_t* text;
    LONG divisor;
    LONG expected;
  } cases[] = {
      {u"1.5", 100, 150},        {u"12", 10, 120},          {u"-3.25", 100, -325},  {u"abc", 10, 0},
      {u"", 10, 0},              {u"1.234", 100, 123},      {u"  7 mm", 10, 70},    {u"x-5", 1, -5},
      {u"- 5", 1, 5},            {u"2147483647", 1, 0x7FFFFFFF}, {u"2147483648", 1, 0}, {u"214748365", 10, 0},
      {u"1,5", 100, 100},        {u"8.", 1, 8},
  };
  for (const Case& c : cases)
    EXPECT_EQ(c.expected, CtlParseScaledNumber(reinterpret_cast<const WCHAR*>(c.text), c.divisor, ctx_))
        << std::string(c.text, c.text + std::char_traits<char16_t>::length(c.text)) << " / " << c.divisor;
}

TEST_F(EditsTest, CommaSeparatesDecimalsOnlyForCommaLanguages) {
  const WCHAR* text = reinterpret_cast<const WCHAR*>(u"1,5");
  ItemSetRawById(ctx_, kItem_zdmLanguageID, 0);
  EXPECT_EQ(100, CtlParseScaledNumber(text, 100, ctx_)) << "the comma ends the number";
  ItemSetRawById(ctx_, kItem_zdmLanguageID, 3);
  ASSERT_TRUE(ItemLangUsesDecimalComma(ctx_));
  EXPECT_EQ(150, CtlParseScaledNumber(text, 100, ctx_));
  EXPECT_EQ(150, CtlParseScaledNumber(reinterpret_cast<const WCHAR*>(u"1.5"), 100, ctx_)) << "the point still does";
}

// ---- text edits ----

TEST_F(EditsTest, TextEditLimitsAndPasswordFromTheDescription) {
  StringValueRecord password = {0, 300, 0, kModelStringPassword}, plain = {0, 300, 0, 0};
  ModelItemDescriptor passwordDesc = {}, plainDesc = {};
  passwordDesc.type = plainDesc.type = kModelTypeString;
  passwordDesc.values = &password;
  plainDesc.values = &plain;
  DlgControlRecord* secret = Make(u"Edit", 61, kItem_zdmHFString, &passwordDesc);
  DlgControlRecord* capped = Make(u"Edit", 61, kItem_zdmHFString, &plainDesc, 0, kCtlLimit260);
  DlgControlRecord* bare = Make(u"Edit", 62, kItem_zdmHFString, nullptr);
  for (DlgControlRecord* c : {secret, capped, bare}) Init(c);
  // The limits show in what the edit accepts: type past them.
  std::u16string longText(400, u'a');
  for (DlgControlRecord* c : {secret, capped, bare}) {
    WuiSetText(c->window, reinterpret_cast<LPCWSTR>(u""));
    for (char16_t ch : longText) WuiSend(c->window, WM_CHAR, ch, 0);
  }
  EXPECT_EQ(300u, Text(secret->window).size());
  EXPECT_EQ('*', WuiSend(secret->window, EM_GETPASSWORDCHAR, 0, 0)) << "value kind 256 shows stars";
  EXPECT_EQ(0, WuiSend(capped->window, EM_GETPASSWORDCHAR, 0, 0));
  EXPECT_EQ(260u, Text(capped->window).size()) << "flag 0x400000 caps at 260";
  EXPECT_EQ(32u, Text(bare->window).size()) << "without a record: the item's 33 bytes less one";
}

TEST_F(EditsTest, KillFocusTrimsBlanksUnlessTheControlKeepsThem) {
  struct Case {
    DWORD flags;
    const char16_t* typed;
    const char16_t* stored;
    int answer;
  } cases[] = {
      {0, u"  name  ", u"name", 1},
      {0, u"name", u"", 0},  // nothing trimmed: nothing stored at kill focus
      {kCtlKeepBlanks, u"  name ", u"", 0},
  };
  for (const Case& c : cases) {
    ItemSetText(ctx_, ItemFind(ctx_, kItem_zdmHFString), reinterpret_cast<const WCHAR*>(u""));
    DlgControlRecord* edit = Make(u"Edit", 61, kItem_zdmHFString, nullptr, 0, c.flags);
    WuiSetText(edit->window, reinterpret_cast<LPCWSTR>(c.typed));
    EXPECT_EQ(c.answer, CtlTakeEditText(ctx_, page_, edit, MAKEWPARAM(edit->controlId, EN_KILLFOCUS), 0));
    WCHAR stored[64] = {};
    ItemGetTextBounded(ctx_, edit->item, stored, 64);
    EXPECT_EQ(std::u16string(c.stored), std::u16string(reinterpret_cast<char16_t*>(stored)));
    if (c.answer) {
      EXPECT_EQ(std::u16string(c.stored), Text(edit->window)) << "the window shows the trimmed text";
    }
  }
}

TEST_F(EditsTest, MultiLineEditStoresBackslashNAndShowsLineBreaks) {
  DlgControlRecord* edit = Make(u"Edit", 61, kItem_zdmHFString, nullptr, ES_MULTILINE);
  WuiSetText(edit->window, reinterpret_cast<LPCWSTR>(u"one\r\ntwo"));
  EXPECT_EQ(1, CtlTakeEditText(ctx_, page_, edit, MAKEWPARAM(edit->controlId, EN_CHANGE), 0));
  WCHAR stored[64] = {};
  ItemGetTextBounded(ctx_, edit->item, stored, 64);
  EXPECT_EQ(u"one\\ntwo", std::u16string(reinterpret_cast<char16_t*>(stored)));

  ItemSetText(ctx_, edit->item, reinterpret_cast<const WCHAR*>(u"a\\nb\\nc"));
  CtlShowEditText(ctx_, page_, edit);
  EXPECT_EQ(u"a\r\nb\r\nc", Text(edit->window));
  DlgControlRecord* single = Make(u"Edit", 61, kItem_zdmHFString, nullptr);
  CtlShowEditText(ctx_, page_, single);
  EXPECT_EQ(u"a\\nb\\nc", Text(single->window)) << "a single-line edit shows the text as stored";
}

TEST_F(EditsTest, ChangedTextIsCutToWhatTheItemHolds) {
  DlgControlRecord* edit = Make(u"Edit", 61, kItem_zdmUserID, nullptr);  // 9 bytes
  WuiSetText(edit->window, reinterpret_cast<LPCWSTR>(u"0123456789AB"));
  EXPECT_EQ(1, CtlTakeEditText(ctx_, page_, edit, MAKEWPARAM(edit->controlId, EN_UPDATE), 0));
  WCHAR stored[16] = {};
  ItemGetTextBounded(ctx_, edit->item, stored, 16);
  EXPECT_EQ(u"01234567", std::u16string(reinterpret_cast<char16_t*>(stored)));
  EXPECT_EQ(0, CtlTakeEditText(ctx_, page_, edit, MAKEWPARAM(edit->controlId, EN_SETFOCUS), 0));
}

// ---- numeric edits ----

TEST_F(EditsTest, NumericEditShowsFixedPointWithItsUnit) {
  NumericValueRecord rec;
  ModelItemDescriptor desc = Numeric(&rec, 153, 5, 10, 10, 4000);  // "mm", one decimal
  DlgControlRecord* edit = Make(u"Edit", 63, kItem_dmScale, &desc);
  ItemSetValueById(ctx_, kItem_dmScale, 125);
  CtlShowNumericEdit(ctx_, page_, edit);
  EXPECT_EQ(u"12.5" + String(153), Text(edit->window));
  ItemSetValueById(ctx_, kItem_dmScale, -40);
  CtlShowNumericEdit(ctx_, page_, edit);
  EXPECT_EQ(u"-4.0" + String(153), Text(edit->window)) << "the sign and the magnitude";
  EXPECT_TRUE(g_script.heard.size() >= 1 && g_script.heard[0].first == kEventEditShown);
}

TEST_F(EditsTest, NumericEditKeepsTheTextWhileTheUserWorksInIt) {
  NumericValueRecord rec;
  ModelItemDescriptor desc = Numeric(&rec, 0, 5, 1, 0, 999);
  struct Case {
    const char16_t* text;
    bool focused;
    bool changed;
    LONG answer38;
    const char16_t* shown;
  } cases[] = {
      {u"05", true, false, kCtlNoAnswer, u"05"}, {u"05", false, false, kCtlNoAnswer, u"05"},
      {u"", false, false, kCtlNoAnswer, u"5"},   {u"05", false, true, kCtlNoAnswer, u"5"},
      {u"05", true, true, kCtlNoAnswer, u"05"},  {u"8", true, false, kCtlNoAnswer, u"5"},
      {u"5", false, false, 7, u"7"},  // a module's value
  };
  for (const Case& c : cases) {
    DlgControlRecord* edit = Make(u"Edit", 63, kItem_dmCopies, &desc);
    ItemSetValueById(ctx_, kItem_dmCopies, 5);
    if (!c.changed) UiClearChangedItems(ctx_);
    WuiSetText(edit->window, reinterpret_cast<LPCWSTR>(c.text));
    WuiSetFocus(c.focused ? edit->window : window_);
    g_script.answer38 = c.answer38;
    CtlShowNumericEdit(ctx_, page_, edit);
    EXPECT_EQ(std::u16string(c.shown), Text(edit->window))
        << std::string(c.text, c.text + std::char_traits<char16_t>::length(c.text)) << " focused " << c.focused
        << " changed " << c.changed;
  }
}

TEST_F(EditsTest, UnitTextWidensTheLimitOnlyWhileTheTextEndsWithIt) {
  NumericValueRecord rec;
  ModelItemDescriptor desc = Numeric(&rec, 153, 4, 1, 0, 9999);
  DlgControlRecord* edit = Make(u"Edit", 63, kItem_dmCopies, &desc);
  const std::u16string unit = String(153);
  struct Case {
    std::u16string text;
    size_t limit;
  } cases[] = {{u"12" + unit, 4 + unit.size()}, {u"12", 4}};
  for (const Case& c : cases) {
    WuiSetText(edit->window, reinterpret_cast<LPCWSTR>(c.text.c_str()));
    EXPECT_EQ(0, CtlTakeNumericEdit(ctx_, page_, edit, MAKEWPARAM(edit->controlId, EN_UPDATE), 0));
    WuiSetText(edit->window, reinterpret_cast<LPCWSTR>(u""));
    for (int i = 0; i < 20; ++i) WuiSend(edit->window, WM_CHAR, '1', 0);
    EXPECT_EQ(c.limit, Text(edit->window).size());
  }
}

TEST_F(EditsTest, TypedNumberIsStoredWithEvent39) {
  NumericValueRecord rec;
  ModelItemDescriptor desc = Numeric(&rec, 0, 5, 1, 1, 999);
  DlgControlRecord* edit = Make(u"Edit", 63, kItem_dmCopies, &desc);
  ItemSetValueById(ctx_, kItem_dmCopies, 1);
  WuiSetText(edit->window, reinterpret_cast<LPCWSTR>(u"4"));
  EXPECT_EQ(1, Type(edit, '2'));
  EXPECT_EQ(42, Value(kItem_dmCopies));
  ASSERT_FALSE(g_script.heard.empty());
  EXPECT_EQ(kEventEditTyped, g_script.heard.back().first);
  EXPECT_EQ(42, g_script.heard.back().second);
  EXPECT_EQ(0, Type(edit, ' ')) << "an unchanged value answers 0";
}

TEST_F(EditsTest, CharacterPastTheItemTypeIsRefusedAndTheTextRestored) {
  NumericValueRecord rec;
  ModelItemDescriptor desc = Numeric(&rec, 0, 7, 1, 0, 100000);
  struct Case {
    WORD item;
    const char16_t* before;
    WCHAR typed;
  } cases[] = {
      {kItem_dmCopies, u"3276", '8'},   // s16: 32768 passes 0x7FFF
      {kItem_zdmScaleH, u"6553", '6'},  // u16: 65536 passes 0xFFFF
      {kItem_wdmFreeSizeWidth, u"214748364", '8'},  // u32: no digit beyond what fits in 31 bits
  };
  for (const Case& c : cases) {
    DlgControlRecord* edit = Make(u"Edit", 63, c.item, &desc);
    WuiSetText(edit->window, reinterpret_cast<LPCWSTR>(c.before));
    CtlTakeNumericEdit(ctx_, page_, edit, MAKEWPARAM(edit->controlId, EN_CHANGE), 0);
    const LONG before = Value(c.item);
    EXPECT_EQ(0, Type(edit, c.typed));
    EXPECT_EQ(before, Value(c.item)) << "nothing stored";
    EXPECT_EQ(std::u16string(c.before), Text(edit->window)) << "the last accepted text is back";
    int start = -1, caret = -1;
    WuiEditGetSelection(edit->window, &start, &caret);
    const int length = static_cast<int>(std::char_traits<char16_t>::length(c.before));
    EXPECT_EQ(length, caret) << "the caret where the character went in";
    EXPECT_FALSE(WuiIsPosted(edit->window, WM_CHAR)) << "no backspace is posted";
  }
}

TEST_F(EditsTest, PastedDigitsAreTakenBackWithTheCaretBeforeThem) {
  NumericValueRecord rec;
  ModelItemDescriptor desc = Numeric(&rec, 0, 7, 1, 0, 100000);
  DlgControlRecord* edit = Make(u"Edit", 63, kItem_dmCopies, &desc);
  WuiSetText(edit->window, reinterpret_cast<LPCWSTR>(u"12"));
  CtlTakeNumericEdit(ctx_, page_, edit, MAKEWPARAM(edit->controlId, EN_CHANGE), 0);
  // A paste of "9999" after the first digit: the edit holds "199992" with the caret after the paste.
  WuiSetText(edit->window, reinterpret_cast<LPCWSTR>(u"199992"));
  WuiEditSelect(edit->window, 5, 5);
  EXPECT_EQ(0, CtlTakeNumericEdit(ctx_, page_, edit, MAKEWPARAM(edit->controlId, EN_CHANGE), 0));
  EXPECT_EQ(u"12", Text(edit->window));
  int start = -1, caret = -1;
  WuiEditGetSelection(edit->window, &start, &caret);
  EXPECT_EQ(1, caret);
  EXPECT_EQ(12, Value(kItem_dmCopies));
}

TEST_F(EditsTest, LengthWholePartIsHeldToTheParseLimit) {
  NumericValueRecord rec;
  ModelItemDescriptor desc = Numeric(&rec, 0, 12, 1, 0, 0x7FFFFFFF);
  struct Case {
    BYTE unit;  // zdmDspUnit: 0 mm, 1 inch
    const char16_t* typed;
    bool accepted;
  } cases[] = {
      {0, u"45455070", true}, {0, u"45455071", false},
      {1, u"1789569", true},  {1, u"1789570", false},
  };
  // A signed 32-bit item: only the parse limit keeps the count from wrapping.
  for (const Case& c : cases) {
    ItemSetRawById(ctx_, kItem_zdmDspUnit, c.unit);
    DlgControlRecord* edit = Make(u"Edit", 63, kItem_zdmTotalCounter, &desc, 0, kCtlDisplayLength);
    std::u16string all(c.typed), before = all.substr(0, all.size() - 1);
    WuiSetText(edit->window, reinterpret_cast<LPCWSTR>(before.c_str()));
    CtlTakeNumericEdit(ctx_, page_, edit, MAKEWPARAM(edit->controlId, EN_CHANGE), 0);
    Type(edit, all.back());
    EXPECT_EQ(c.accepted ? all : before, Text(edit->window)) << "unit " << int(c.unit);
    if (c.accepted) {
      const LONG display = CtlParseScaledNumber(reinterpret_cast<LPCWSTR>(c.typed), c.unit ? 100 : 10, ctx_);
      EXPECT_EQ(ItemDisplayToDots(ctx_, 0, display), Value(kItem_zdmTotalCounter));
      EXPECT_GT(Value(kItem_zdmTotalCounter), 0);
    }
  }
  ItemSetRawById(ctx_, kItem_zdmDspUnit, 0);
  DlgControlRecord* edit = Make(u"Edit", 63, kItem_zdmTotalCounter, &desc, 0, kCtlDisplayLength);
  WuiSetText(edit->window, reinterpret_cast<LPCWSTR>(u"5"));
  CtlTakeNumericEdit(ctx_, page_, edit, MAKEWPARAM(edit->controlId, EN_CHANGE), 0);
  WuiSetText(edit->window, reinterpret_cast<LPCWSTR>(u"-5"));
  CtlTakeNumericEdit(ctx_, page_, edit, MAKEWPARAM(edit->controlId, EN_CHANGE), 0);
  EXPECT_EQ(u"5", Text(edit->window)) << "a negative length is refused";
}

TEST_F(EditsTest, KillFocusHoldsANumberInsideTheDescriptionsRange) {
  NumericValueRecord rec;
  ModelItemDescriptor desc = Numeric(&rec, 0, 5, 1, 1, 999);
  DlgControlRecord* edit = Make(u"Edit", 63, kItem_dmCopies, &desc);
  struct Case {
    const char16_t* typed;
    LONG stored;
  } cases[] = {{u"1000", 999}, {u"0", 1}, {u"12", 12}};
  for (const Case& c : cases) {
    WuiSetText(edit->window, reinterpret_cast<LPCWSTR>(c.typed));
    EXPECT_EQ(1, CtlNumericEditMessage(ctx_, page_, edit, WM_KILLFOCUS, 0, 0));
    EXPECT_EQ(c.stored, Value(kItem_dmCopies)) << std::string(c.typed, c.typed + 4);
  }
  EXPECT_EQ(0, CtlNumericEditMessage(ctx_, page_, edit, WM_CHAR, '5', 0)) << "only the loss of the focus";
}

TEST_F(EditsTest, LengthOnTheCustomSizeDialogsIsHeldToTheDisplayRangeWithEvent41) {
  NumericValueRecord rec;
  // 100.0 mm to 200.0 mm in 1/1200 inch.
  ItemSetRawById(ctx_, kItem_zdmDspUnit, 0);
  ModelItemDescriptor desc = Numeric(&rec, 0, 6, 1, ItemDisplayToDots(ctx_, 0, 1000), ItemDisplayToDots(ctx_, 0, 2000));
  for (WORD dialog : {WORD(1017), WORD(1041), WORD(1037)}) {
    DlgPageRecord* page = PageFind(ctx_, dialog);
    ASSERT_NE(nullptr, page);
    page->window = window_;
    DlgControlRecord* edit = Make(u"Edit", 63, kItem_wdmFreeSizeWidth, &desc, 0, kCtlDisplayLength);
    edit->controlId = 1;  // no custom-size module limits: the description's range holds
    g_script = Script();
    g_script.answer40 = 1500;
    WuiSetText(edit->window, reinterpret_cast<LPCWSTR>(u"250.0"));
    CtlNumericEditMessage(ctx_, page, edit, WM_KILLFOCUS, 0, 0);
    const LONG shown = ItemDotsToDisplay(ctx_, 0, Value(kItem_wdmFreeSizeWidth));
    if (dialog == 1037) {
      EXPECT_EQ(2500, shown) << "other dialogs keep what was typed";
    } else {
      EXPECT_EQ(2000, shown) << dialog;
      ASSERT_FALSE(g_script.heard.empty());
      EXPECT_EQ(kEventEditCommitted, g_script.heard.back().first);
      EXPECT_EQ(ItemDisplayToDots(ctx_, 0, 2000), g_script.heard.back().second);
    }
  }
}

// ---- spin bars ----

TEST_F(EditsTest, SpinBarStepsUpForLineUp) {
  NumericValueRecord rec;
  ModelItemDescriptor desc = Numeric(&rec, 0, 3, 1, 1, 50);
  static const CtlExtRamp steps = {kCtlExtColourRamp, 1, 5, kRampPictureGrey};
  Make(u"Edit", 63, kItem_dmCopies, &desc);
  Make(u"ScrollBar", 81, kItem_dmCopies, &desc, SBS_VERT);
  // Both on the page, where the spin finds its partner.
  page_ = SetControls(kDialog, {*controls_[0], *controls_[1]});
  page_->window = window_;
  DlgControlRecord* edit = &page_->controls[0];
  DlgControlRecord* spin = &page_->controls[1];
  spin->partner = edit->controlId;
  spin->extension = const_cast<CtlExtRamp*>(&steps);
  ItemSetValueById(ctx_, kItem_dmCopies, 10);
  Init(spin);
  int low = 0, high = 0;
  WuiScrollGetRange(spin->window, &low, &high);
  EXPECT_EQ(1, low);
  EXPECT_EQ(50, high);
  EXPECT_EQ(10, WuiScrollGetPos(spin->window));
  struct Case {
    WORD code;
    SHORT thumb;
    LONG expected;
  } cases[] = {
      {SB_LINEUP, 0, 11}, {SB_LINEDOWN, 0, 9}, {SB_PAGEUP, 0, 15}, {SB_PAGEDOWN, 0, 5},
      {SB_THUMBTRACK, 33, 33}, {SB_THUMBPOSITION, 70, 50}, {SB_ENDSCROLL, 0, 10},
  };
  for (const Case& c : cases) {
    ItemSetValueById(ctx_, kItem_dmCopies, 10);
    CtlShowScrollBarValue(ctx_, page_, spin);
    MarkCalls();
    EXPECT_EQ(1, Scroll(spin, WM_VSCROLL, c.code, c.thumb));
    EXPECT_EQ(c.expected, Value(kItem_dmCopies)) << "code " << c.code;
    bool repainted = false;
    for (const SimUiCall& call : Calls(kSimUiPost))
      if (call.window == edit->window && call.style == WM_PAINT) repainted = true;
    EXPECT_TRUE(repainted) << "the partner edit is repainted";
  }
  EXPECT_EQ(0, Scroll(spin, WM_HSCROLL, SB_LINEUP)) << "only its own vertical scroll";
  spin->state = 0x4;
  EXPECT_EQ(0, Scroll(spin, WM_VSCROLL, SB_LINEUP)) << "restricted";
}

TEST_F(EditsTest, SpinBarWithoutRecordRunsFromMinus100To100) {
  DlgControlRecord* spin = Make(u"ScrollBar", 23, kItem_dmScale, nullptr, SBS_VERT);
  Init(spin);
  int low = 0, high = 0;
  WuiScrollGetRange(spin->window, &low, &high);
  EXPECT_EQ(-100, low);
  EXPECT_EQ(100, high);
  spin->state = 0x8;
  CtlShowScrollBarValue(ctx_, page_, spin);
  EXPECT_FALSE(WuiIsEnabled(spin->window)) << "a restricted spin is disabled";
}

TEST_F(EditsTest, ModuleRangeReplacesTheSpinsRange) {
  NumericValueRecord rec;
  ModelItemDescriptor desc = Numeric(&rec, 0, 3, 1, 1, 50);
  DlgControlRecord* spin = Make(u"ScrollBar", 81, kItem_dmCopies, &desc, SBS_VERT);
  g_script.rangeLow = 5;
  g_script.rangeHigh = 20;
  Init(spin);
  int low = 0, high = 0;
  WuiScrollGetRange(spin->window, &low, &high);
  EXPECT_EQ(5, low);
  EXPECT_EQ(20, high);
}

TEST_F(EditsTest, EmptyLengthTextHoldsTheItemInsideTheRange) {
  ItemSetRawById(ctx_, kItem_zdmDspUnit, 0);
  NumericValueRecord rec;
  ModelItemDescriptor desc = Numeric(&rec, 0, 6, 1, ItemDisplayToDots(ctx_, 0, 1000), ItemDisplayToDots(ctx_, 0, 2000));
  for (bool shown : {true, false}) {
    DlgControlRecord* edit = Make(u"Edit", 63, kItem_wdmFreeSizeWidth, &desc, 0, kCtlDisplayLength);
    if (!shown) WuiShow(edit->window, SW_HIDE);
    const LONG wide = ItemDisplayToDots(ctx_, 0, 2500);
    ItemSetValueById(ctx_, kItem_wdmFreeSizeWidth, wide);
    CtlShowNumericEdit(ctx_, page_, edit);
    EXPECT_EQ(u"200.0", Text(edit->window));
    EXPECT_EQ(shown ? ItemDisplayToDots(ctx_, 0, 2000) : wide, Value(kItem_wdmFreeSizeWidth))
        << (shown ? "stored" : "a hidden edit stores nothing");
  }
}

TEST_F(EditsTest, LengthSpinAnnouncesEvent43AndStoresInDots) {
  ItemSetRawById(ctx_, kItem_zdmDspUnit, 0);
  NumericValueRecord rec;
  ModelItemDescriptor desc = Numeric(&rec, 0, 6, 1, ItemDisplayToDots(ctx_, 0, 1000), ItemDisplayToDots(ctx_, 0, 2000));
  DlgControlRecord* spin = Make(u"ScrollBar", 81, kItem_wdmFreeSizeWidth, &desc, SBS_VERT, kCtlDisplayLength);
  ItemSetValueById(ctx_, kItem_wdmFreeSizeWidth, ItemDisplayToDots(ctx_, 0, 1500));
  Init(spin);
  EXPECT_EQ(1500, WuiScrollGetPos(spin->window)) << "shown in display units";
  EXPECT_EQ(1, Scroll(spin, WM_VSCROLL, SB_LINEUP));
  EXPECT_EQ(ItemDisplayToDots(ctx_, 0, 1501), Value(kItem_wdmFreeSizeWidth));
  ASSERT_FALSE(g_script.heard.empty());
  EXPECT_EQ(kEventSpinMoved, g_script.heard.back().first);
  EXPECT_EQ(1501, g_script.heard.back().second);
}

// ---- value scroll bars ----

TEST_F(EditsTest, ValueBarStepsAndABackwardsBarStoresMaximumLessPosition) {
  NumericValueRecord rec;
  ModelItemDescriptor desc = Numeric(&rec, 0, 3, 1, 0, 100);
  DlgControlRecord* bar = Make(u"ScrollBar", 82, kItem_dmScale, &desc);
  DlgControlRecord* ramp = Make(u"ScrollBar", 84, kItem_dmScale, &desc);
  static const CtlExtRamp steps = {kCtlExtColourRamp, 2, 20, kRampPictureRed};
  ramp->extension = const_cast<CtlExtRamp*>(&steps);
  struct Case {
    DlgControlRecord* control;
    bool backwards;
    WORD code;
    SHORT thumb;
    LONG expected;
  } cases[] = {
      {bar, false, SB_LINELEFT, 0, 39},   {bar, false, SB_LINERIGHT, 0, 41}, {bar, false, SB_PAGELEFT, 0, 30},
      {bar, false, SB_PAGERIGHT, 0, 50},  {bar, false, SB_LEFT, 0, 39},      {bar, false, SB_RIGHT, 0, 41},
      {bar, false, SB_THUMBTRACK, 77, 77}, {bar, false, SB_PAGERIGHT + 40, 0, 40},
      {ramp, false, SB_LINERIGHT, 0, 42}, {ramp, false, SB_PAGELEFT, 0, 20},
      {ramp, true, SB_LINERIGHT, 0, 38},  {ramp, true, SB_THUMBPOSITION, 90, 10},
  };
  for (const Case& c : cases) {
    g_script.backwards = c.backwards;
    Init(c.control);
    ItemSetValueById(ctx_, kItem_dmScale, 40);
    CtlFindType(c.control->type)->show(ctx_, page_, c.control);
    EXPECT_EQ(c.backwards ? 60 : 40, WuiScrollGetPos(c.control->window)) << "shown";
    EXPECT_EQ(1, Scroll(c.control, WM_HSCROLL, c.code, c.thumb));
    EXPECT_EQ(c.expected, Value(kItem_dmScale)) << "type " << c.control->type << " code " << c.code;
  }
}

TEST_F(EditsTest, RampBarAsksForNoBackgroundAndSwitchesTheStyleOff) {
  NumericValueRecord rec;
  ModelItemDescriptor desc = Numeric(&rec, 0, 3, 1, 0, 100);
  DlgControlRecord* plain = Make(u"ScrollBar", 84, kItem_dmScale, &desc);
  DlgControlRecord* ramp = Make(u"ScrollBar", 84, kItem_dmScale, &desc);
  static const CtlExtRamp steps = {kCtlExtColourRamp, 1, 10, kRampPictureBlue};
  ramp->extension = const_cast<CtlExtRamp*>(&steps);
  MarkCalls();
  Init(ramp);
  EXPECT_EQ(1u, Calls(kSimUiThemeOff).size());
  EXPECT_EQ(ESB_ENABLE_BOTH, Calls(kSimUiEnableScrollBar).at(0).value);
  EXPECT_EQ(1, CtlValueScrollBarMessage(ctx_, page_, ramp, WM_CTLCOLORSCROLLBAR, 0,
                                        reinterpret_cast<LPARAM>(ramp->window)));
  EXPECT_EQ(reinterpret_cast<LONG_PTR>(DuiStockBrush(NULL_BRUSH)), WuiGetSlot(window_, DWL_MSGRESULT));
  EXPECT_EQ(0, CtlValueScrollBarMessage(ctx_, page_, plain, WM_CTLCOLORSCROLLBAR, 0,
                                        reinterpret_cast<LPARAM>(plain->window)))
      << "without a ramp picture the bar keeps its background";
}

TEST_F(EditsTest, PaintingDrawsArrowsWithSignsTheThumbAndTheRamp) {
  NumericValueRecord rec;
  ModelItemDescriptor desc = Numeric(&rec, 0, 3, 1, 0, 100);
  DlgControlRecord* bar = Make(u"ScrollBar", 84, kItem_dmScale, &desc);
  static const CtlExtRamp steps = {kCtlExtColourRamp, 1, 10, kRampPictureGreen};
  bar->extension = const_cast<CtlExtRamp*>(&steps);
  const RECT place = {0, 0, 148, 20};
  WuiMove(bar->window, &place, FALSE);
  Init(bar);
  const int arrow = UiGetScrollArrowWidth();
  const COLORREF ink = DuiSysColor(COLOR_MENUTEXT);
  for (bool backwards : {false, true}) {
    g_script.backwards = backwards;
    ItemSetValueById(ctx_, kItem_dmScale, 25);
    SimDrawReset();
    CtlShowValueScrollBarAlt(ctx_, page_, bar);
    const LONG position = backwards ? 75 : 25;
    const LONG thumb = arrow + (148 - 3 * arrow) * position / 100;
    bool picture = false, thumbDrawn = false;
    std::vector<RECT> bars;
    for (const SimDrawCall& call : Drawn()) {
      if (call.kind == kSimDrawPicture && call.id == kRampPictureGreen) {
        picture = true;
        // Drawn buffered: into the buffer of the track's size, at its origin.
        EXPECT_EQ(0, call.x) << "the ramp from the track's top-left";
        EXPECT_EQ(148 - 2 * arrow, call.rect.right - call.rect.left);
      }
      if (call.kind == kSimDrawFill && call.colour == ink) bars.push_back(call.rect);
      if (call.rect.left == thumb && call.rect.right == thumb + arrow && call.colour != ink) thumbDrawn = true;
    }
    EXPECT_TRUE(picture);
    EXPECT_TRUE(thumbDrawn) << "thumb at " << thumb;
    ASSERT_EQ(3u, bars.size()) << "two minus bars and one upright";
    const RECT minusLeft = {3, 9, arrow - 4, 11};
    const LONG plusX = backwards ? arrow / 2 : 148 - arrow + arrow / 2;
    bool leftMinus = false, upright = false;
    for (const RECT& r : bars) {
      if (r.left == minusLeft.left && r.right == minusLeft.right && r.top == 9 && r.bottom == 11) leftMinus = true;
      if (r.left == plusX - 1 && r.right == plusX + 1 && r.top == 4 && r.bottom == 16) upright = true;
    }
    EXPECT_TRUE(leftMinus);
    EXPECT_TRUE(upright) << (backwards ? "the plus sign on the left" : "the plus sign on the right");
  }
}

TEST_F(EditsTest, PressOnARampArrowLeavesAPressedArrowPopup) {
  NumericValueRecord rec;
  ModelItemDescriptor desc = Numeric(&rec, 0, 3, 1, 0, 100);
  DlgControlRecord* bar = Make(u"ScrollBar", 84, kItem_dmScale, &desc);
  const RECT place = {10, 30, 158, 50};
  WuiMove(bar->window, &place, FALSE);
  const int arrow = UiGetScrollArrowWidth();
  struct Case {
    int x;
    bool popup;
  } cases[] = {{2, true}, {70, false}, {147, true}};
  for (const Case& c : cases) {
    DlgPageRecord scratch = {};
    MarkCalls();
    SimDrawReset();
    const int answer = CtlValueScrollBarMessage(ctx_, &scratch, bar, WM_LBUTTONDOWN, 0, MAKELPARAM(c.x, 5));
    EXPECT_EQ(c.popup ? 1 : 0, answer) << c.x;
    if (!c.popup) {
      EXPECT_EQ(NULL, scratch.window);
      continue;
    }
    ASSERT_NE(nullptr, scratch.window);
    std::vector<SimUiCall> made = Calls(kSimUiCreateWindow);
    ASSERT_EQ(1u, made.size());
    EXPECT_EQ(static_cast<UINT>(WS_POPUP), made[0].style);
    RECT popup = {};
    WuiGetRect(scratch.window, &popup);
    EXPECT_EQ(arrow, popup.right - popup.left);
    EXPECT_EQ(20, popup.bottom - popup.top);
    EXPECT_EQ(c.x < arrow ? 10 : 158 - arrow, popup.left);
    bool minus = false;
    for (const SimDrawCall& call : Drawn())
      if (call.kind == kSimDrawFill && call.colour == DuiSysColor(COLOR_MENUTEXT) && call.window == scratch.window)
        minus = true;
    EXPECT_TRUE(minus) << "the popup shows the arrow's sign";
    WuiDestroy(scratch.window);
  }
}

// ---- trackbar ----

TEST_F(EditsTest, TrackbarShowsAndStoresItsPosition) {
  NumericValueRecord rec;
  ModelItemDescriptor desc = Numeric(&rec, 0, 3, 1, 10, 90);
  DlgControlRecord* track = Make(u"msctls_trackbar32", 85, kItem_dmScale, &desc);
  DlgControlRecord* bare = Make(u"msctls_trackbar32", 85, kItem_dmScale, nullptr);
  ItemSetValueById(ctx_, kItem_dmScale, 120);
  Init(track);
  Init(bare);
  EXPECT_EQ(90, WuiTrackGetPos(track->window)) << "held in the description's range";
  EXPECT_EQ(120, WuiTrackGetPos(bare->window)) << "0 to 200 without a description";
  WuiTrackSetPos(track->window, 33, FALSE);
  EXPECT_EQ(1, Scroll(track, WM_HSCROLL, SB_THUMBTRACK));
  EXPECT_EQ(33, Value(kItem_dmScale));
  ItemSetValueById(ctx_, kItem_dmScale, 55);
  CtlShowTrackbarValue(ctx_, page_, track);
  EXPECT_EQ(55, WuiTrackGetPos(track->window));
  EXPECT_EQ(0, Scroll(track, WM_VSCROLL, SB_THUMBTRACK));
}

// ---- the type table ----

TEST_F(EditsTest, TypeRowsNameTheEditHandlers) {
  struct Row {
    WORD type;
    CtlInitHandler init;
    CtlShowHandler show;
  } rows[] = {
      {61, CtlInitEdit, CtlShowEditText},           {62, CtlInitEdit, CtlShowEditText},
      {63, CtlInitNumericEdit, CtlShowNumericEdit}, {23, CtlInitScrollBar, CtlShowScrollBarValue},
      {81, CtlInitScrollBar, CtlShowScrollBarValue}, {82, CtlInitValueScrollBar, CtlShowValueScrollBar},
      {84, CtlInitValueScrollBar, CtlShowValueScrollBarAlt}, {85, CtlInitTrackbar, CtlShowTrackbarValue},
  };
  for (const Row& r : rows) {
    const CtlTypeRecord* type = CtlFindType(r.type);
    ASSERT_NE(nullptr, type);
    EXPECT_EQ(r.init, type->init) << r.type;
    EXPECT_EQ(r.show, type->show) << r.type;
    EXPECT_NE(nullptr, type->windowProc) << r.type;
  }
}

}  // namespace
}  // namespace zems_test
