// The settings summary: its line list, the lines it composes (labels and values in words, the
// filter, the end marker under a small capacity), and the summary edits it fills when shown.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/common/window_ui.h"
#include "core/context/module_bus.h"
#include "core/front/control_lookup.h"
#include "core/front/control_types.h"
#include "core/front/page_lookup.h"
#include "core/items/item_access.h"
#include "core/items/item_display.h"
#include "core/items/item_ids.h"
#include "core/items/item_table.h"
#include "core/modules/module_rows.h"
#include "core/modules/summary_module.h"
#include "core/system/resources.h"
#include "core/tables/symbol_table.h"
#include "platform/sim.h"
#include "support/sample_context.h"

#ifndef ES_MULTILINE
#define ES_MULTILINE 0x0004L
#endif

namespace zems_test {
namespace {

const WCHAR* W16(const char16_t* s) { return reinterpret_cast<const WCHAR*>(s); }
std::u16string U16(const WCHAR* s) { return reinterpret_cast<const char16_t*>(s); }
const std::u16string kMarker = u"\u30FB\u30FB\u30FB\u30FB\u30FBetc";

std::vector<std::u16string> Split(const std::u16string& text) {
  std::vector<std::u16string> lines;
  size_t start = 0;
  for (;;) {
    size_t at = text.find(u"\r\n", start);
    lines.push_back(text.substr(start, at == std::u16string::npos ? std::u16string::npos : at - start));
    if (at == std::u16string::npos) return lines;
    start = at + 2;
  }
}
bool EndsWith(const std::u16string& text, const std::u16string& end) {
  return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

class SummaryTest : public SampleContextTest {
 protected:
  void TearDown() override {
    for (DlgPageRecord* page : pages_) page->window = NULL;
    SampleContextTest::TearDown();
  }
  std::u16string String(UINT id) {
    WCHAR text[1025];
    ResLoadString(ctx_, id, text, 1025, TRUE);
    return U16(text);
  }
  std::u16string Value(WORD symbol) {
    WCHAR text[1025];
    ItemFormatValue(ctx_, symbol, text, 1025);
    return U16(text);
  }
  std::u16string Compose(const SummaryLine* lines, int count, int capacity = kSummaryCapacityLines) {
    std::vector<WCHAR> text(capacity + 16, 0x7777);
    int length = SummaryComposeLines(ctx_, lines, count, text.data(), capacity);
    EXPECT_EQ(text[capacity], 0x7777) << "written past the capacity";
    std::u16string out = U16(text.data());
    EXPECT_EQ(static_cast<int>(out.size()), length);
    return out;
  }
  // The page's control with a window of the fake (an edit with this style).
  DlgControlRecord* Shown(WORD pageId, WORD controlId, DWORD style) {
    DlgPageRecord* page = PageFind(ctx_, pageId);
    EXPECT_NE(page, nullptr);
    if (!page) return nullptr;
    pages_.push_back(page);
    page->window = SimUiMakeWindow(W16(u"#32770"), NULL, 0, 0);
    DlgControlRecord* control = CtlFind(ctx_, page, controlId);
    EXPECT_NE(control, nullptr);
    if (!control) return nullptr;
    control->window = SimUiMakeWindow(W16(u"Edit"), page->window, controlId, WS_CHILD | WS_VISIBLE | style);
    return control;
  }
  std::u16string WindowText(HWND window) {
    std::vector<WCHAR> text(kSummaryCapacityLines);
    WuiGetText(window, text.data(), kSummaryCapacityLines);
    return U16(text.data());
  }
  int SetTextCalls() {
    int calls = 0;
    for (DWORD i = 0; i < SimUiCallCount(); ++i) {
      SimUiCall call = {};
      if (SimUiGetCall(i, &call) && call.kind == kSimUiSetText) ++calls;
    }
    return calls;
  }

  std::vector<DlgPageRecord*> pages_;
};

// The line list names its symbols by number: each number is the symbol of the control or item
// the summary shows in that place.
TEST_F(SummaryTest, LineListNamesTheQualityControlsAndPerObjectItems) {
  struct Row {
    WORD label;
    const char* condition;
    const char* value;
  } rows[] = {
      {240, nullptr, "TOV_IDC_USER_QUALITY_CHOICE_RESOLUTION"},
      {388, nullptr, "TOV_IDC_USER_QUALITY_CHOICE_SMOOTHING"},
      {241, nullptr, "TOV_IDC_USER_QUALITY_CHOICE_IMAGE"},
      {1101, "TOV_IDC_USER_QUALITY_CHOICE_CHARBLACK", nullptr},
      {1148, "TOV_IDC_USER_QUALITY_CHOICE_ENHANCEBOLD", nullptr},
      {242, nullptr, "TOV_RADIOLIST_8"},
      {1105, "TOV_IDC_USER_OTHERS_CHOICE_IMAGE", nullptr},
      {1106, "TOV_IDC_USER_OTHERS_CHOICE_APPLICATION", nullptr},
      {13041, "TOV_IDC_USER_OTHERS_CHOICE_TTF", nullptr},
      {1149, "TOV_IDC_PRINTQUALITY_CHOICE_TONERSAVE_MODE", "TOV_IDC_PRINTQUALITY_CHOICE_DENSITY"},
      {1202, nullptr, nullptr},
      {1112, nullptr, nullptr},
      {244, nullptr, "TOV_IDC_USER_QUALITY_CHOICE_DITHERING"},
      {1114, nullptr, "TOV_IDC_USER_QUALITY_EDIT_BRIGHTNESS"},
      {1115, nullptr, "TOV_IDC_USER_QUALITY_EDIT_CONTRAST"},
      {1121, nullptr, nullptr},
      {1122, nullptr, nullptr},
      {244, nullptr, "TOV_wdmDitherTypeText"},
      {1114, nullptr, "TOV_wdmBrightnessText"},
      {1115, nullptr, "TOV_wdmContrastText"},
      {1123, nullptr, nullptr},
      {244, nullptr, "TOV_wdmDitherTypeLine"},
      {1114, nullptr, "TOV_wdmBrightnessLine"},
      {1115, nullptr, "TOV_wdmContrastLine"},
      {1124, nullptr, nullptr},
      {244, nullptr, "TOV_wdmDitherTypeImage"},
      {1114, nullptr, "TOV_wdmBrightnessImage"},
      {1115, nullptr, "TOV_wdmContrastImage"},
  };
  ASSERT_EQ(kSummaryLineCount, sizeof(rows) / sizeof(rows[0]));
  auto id = [](const char* name) -> WORD {
    if (!name) return 0;
    const SymbolEntry* entry = TblFindSymbolByName(name);
    return entry ? entry->symbolId : 0xFFFF;
  };
  for (size_t i = 0; i < kSummaryLineCount; ++i) {
    EXPECT_EQ(kSummaryLines[i].label, rows[i].label) << "line " << i + 1;
    EXPECT_EQ(kSummaryLines[i].condition, id(rows[i].condition)) << "line " << i + 1;
    EXPECT_EQ(kSummaryLines[i].value, id(rows[i].value)) << "line " << i + 1;
  }
  // Both summary edits carry the list.
  for (WORD page : {kSummaryPage, kSummaryStatusPage}) {
    const DlgControlRecord* control =
        CtlFind(ctx_, PageFind(ctx_, page), page == kSummaryPage ? kSummaryControl : kSummaryStatusControl);
    ASSERT_NE(control, nullptr) << page;
    const CtlExtPicture* ext = reinterpret_cast<const CtlExtPicture*>(CtlGetExtension(control, kCtlExtPicture));
    ASSERT_NE(ext, nullptr) << page;
    EXPECT_EQ(ext->lineCount, 28) << page;
    EXPECT_EQ(ext->lines, kSummaryLines) << page;
  }
}

TEST_F(SummaryTest, ComposesEveryLineInOrderWithItsLabelAndCrLfBetween) {
  ItemSetValueById(ctx_, kItem_zdmOSKind, 1);
  std::u16string text = Compose(kSummaryLines, kSummaryLineCount);
  EXPECT_FALSE(EndsWith(text, u"\r\n"));
  std::vector<std::u16string> lines = Split(text);
  ASSERT_EQ(lines.size(), 28u);
  for (size_t i = 0; i < lines.size(); ++i) {
    const SummaryLine& line = kSummaryLines[i];
    std::u16string label = String(line.label);
    ASSERT_FALSE(label.empty()) << "label " << line.label;
    EXPECT_EQ(lines[i].compare(0, label.size(), label), 0) << "line " << i + 1;
    // Lines without a condition show their value's text.
    if (!line.condition) {
      EXPECT_EQ(lines[i], label + (line.value ? Value(line.value) : u"")) << "line " << i + 1;
    }
  }
  // A numeric item shows its number, an option its name.
  EXPECT_EQ(lines[18], String(1114) + Value(kSummaryLines[18].value));
  ItemSetValueById(ctx_, 970, -12);  // wdmBrightnessText
  EXPECT_EQ(Split(Compose(kSummaryLines, kSummaryLineCount))[18], String(1114) + u"-12");
}

TEST_F(SummaryTest, ConditionChoosesBetweenTheValueAndItsOwnText) {
  // Condition zdmContrast, value zdmBrightness (their item symbols): different numbers.
  const WORD condition = static_cast<WORD>(kItemSymbolBase + 138);
  const WORD value = static_cast<WORD>(kItemSymbolBase + 137);
  ASSERT_EQ(ItemFindBySymbol(ctx_, condition), ItemFind(ctx_, 139));
  ItemSetValueById(ctx_, 138, 7);
  struct Case {
    LONG conditionValue;
    WORD valueSymbol;
    const char16_t* shown;
  } cases[] = {
      {1, value, u"7"},       // condition on: the value
      {0, value, u"0"},       // condition off: the condition's own text
      {5, value, u"5"},       // only 1 counts as on
      {1, 0, u"1"},           // no value symbol: the condition's text
  };
  for (const Case& c : cases) {
    ItemSetValueById(ctx_, 139, c.conditionValue);
    SummaryLine line = {1114, condition, c.valueSymbol};
    EXPECT_EQ(Compose(&line, 1), String(1114) + c.shown) << c.conditionValue << " " << c.valueSymbol;
  }
}

TEST_F(SummaryTest, BoldEnhancementLineOnlyOnTheSystemsThatHaveIt) {
  struct Case {
    LONG osKind;
    bool shown;
  } cases[] = {{0, false}, {1, true}, {2, true}, {3, false}};
  for (const Case& c : cases) {
    ItemSetValueById(ctx_, kItem_zdmOSKind, c.osKind);
    EXPECT_EQ(SummaryLineAccepted(ctx_, 1148), c.shown ? 1 : 0) << c.osKind;
    std::vector<std::u16string> lines = Split(Compose(kSummaryLines, kSummaryLineCount));
    EXPECT_EQ(lines.size(), c.shown ? 28u : 27u) << c.osKind;
    EXPECT_EQ(lines[4].compare(0, String(1148).size(), String(1148)) == 0, c.shown) << c.osKind;
    EXPECT_EQ(SummaryLineAccepted(ctx_, 240), 1) << "a label without a filter row";
  }
}

TEST_F(SummaryTest, SmallCapacityEndsWithTheMarkerAndNeverOverflows) {
  ItemSetValueById(ctx_, kItem_zdmOSKind, 1);
  std::u16string full = Compose(kSummaryLines, kSummaryLineCount);
  ASSERT_FALSE(EndsWith(full, kMarker));
  ASSERT_GT(full.size(), 300u);
  // A long text value cut to fit: the preset name item, a work text.
  std::u16string long_name(200, u'n');
  ItemSetText(ctx_, ItemFind(ctx_, 925), W16(long_name.c_str()));
  const WORD name_symbol = ItemFind(ctx_, 925)->symbolId;
  SummaryLine named = {1114, 0, name_symbol};
  struct Case {
    const SummaryLine* lines;
    int count;
    int capacity;
  } cases[] = {
      {kSummaryLines, kSummaryLineCount, 300},                        // stops after a few lines
      {kSummaryLines, kSummaryLineCount, static_cast<int>(full.size()) + 256},  // one short of room
      {&named, 1, 120},                                              // one line cut
      {&named, 1, 12},                                               // not even the label fits
  };
  for (const Case& c : cases) {
    std::u16string text = Compose(c.lines, c.count, c.capacity);
    EXPECT_TRUE(EndsWith(text, kMarker)) << c.capacity;
    EXPECT_LT(static_cast<int>(text.size()), c.capacity);
    // What stands before the marker is the start of the uncut composition.
    std::u16string uncut = Compose(c.lines, c.count);
    std::u16string head = text.substr(0, text.size() - kMarker.size());
    EXPECT_EQ(uncut.compare(0, head.size(), head), 0) << c.capacity;
  }
  // With room enough to spare no marker.
  EXPECT_EQ(Compose(kSummaryLines, kSummaryLineCount, static_cast<int>(full.size()) + 257), full);
}

TEST_F(SummaryTest, ShowRequestFillsTheSummaryEditsOnlyWhenTheTextChanged) {
  ItemSetValueById(ctx_, kItem_zdmOSKind, 1);
  std::u16string expected = Compose(kSummaryLines, kSummaryLineCount);
  for (WORD pageId : {kSummaryPage, kSummaryStatusPage}) {
    SimUiReset();
    DlgControlRecord* control = Shown(pageId, pageId == kSummaryPage ? kSummaryControl : kSummaryStatusControl,
                                      ES_MULTILINE);
    ASSERT_NE(control, nullptr);
    DlgPageRecord* page = PageFind(ctx_, pageId);
    EXPECT_EQ(ModBusRouteControl(ctx_, page, control, WM_PAINT, 0, 0), 0) << "never taken";
    EXPECT_EQ(WindowText(control->window), expected) << pageId;
    EXPECT_EQ(SetTextCalls(), 1) << pageId;
    SummaryHandleControl(ctx_, page, control, WM_PAINT, 0, 0, nullptr);
    EXPECT_EQ(SetTextCalls(), 1) << pageId << ": unchanged text is not set again";
    ItemSetValueById(ctx_, 970, 9);
    SummaryHandleControl(ctx_, page, control, WM_PAINT, 0, 0, nullptr);
    EXPECT_EQ(SetTextCalls(), 2) << pageId;
    ItemSetValueById(ctx_, 970, 0);
  }
  // Other messages and other pages leave the edit alone.
  SimUiReset();
  DlgControlRecord* control = Shown(kSummaryPage, kSummaryControl, ES_MULTILINE);
  ASSERT_NE(control, nullptr);
  DlgPageRecord* page = PageFind(ctx_, kSummaryPage);
  EXPECT_EQ(SummaryHandleControl(ctx_, page, control, WM_COMMAND, 0, 0, nullptr), 0);
  DlgPageRecord* other = PageFind(ctx_, 1021);
  ASSERT_NE(other, nullptr);
  EXPECT_EQ(SummaryHandleControl(ctx_, other, control, WM_PAINT, 0, 0, nullptr), 0);
  EXPECT_EQ(WindowText(control->window), u"");
}

// Without a line list the edit shows its item's text; backslash-n becomes CR LF only in a
// multi-line edit.
TEST_F(SummaryTest, PlainTextTurnsNewlineEscapesOnlyInAMultiLineEdit) {
  ItemSetText(ctx_, ItemFind(ctx_, 925), W16(u"one\\ntwo\\"));
  struct Case {
    DWORD style;
    const char16_t* shown;
  } cases[] = {{ES_MULTILINE, u"one\r\ntwo\\"}, {0, u"one\\ntwo\\"}};
  for (const Case& c : cases) {
    SimUiReset();
    DlgControlRecord* control = Shown(kSummaryPage, kSummaryControl, c.style);
    ASSERT_NE(control, nullptr);
    DlgControlRecord plain = *control;
    plain.extension = nullptr;
    plain.item = ItemFind(ctx_, 925);
    SummaryComposeText(ctx_, PageFind(ctx_, kSummaryPage), &plain);
    EXPECT_EQ(WindowText(control->window), c.shown) << c.style;
  }
  // An item without a place in the settings: the window's own text stays.
  SimUiReset();
  DlgControlRecord* control = Shown(kSummaryPage, kSummaryControl, ES_MULTILINE);
  ASSERT_NE(control, nullptr);
  WuiSetText(control->window, W16(u"kept\\n"));
  DlgControlRecord plain = *control;
  plain.extension = nullptr;
  plain.item = nullptr;
  SummaryComposeText(ctx_, PageFind(ctx_, kSummaryPage), &plain);
  EXPECT_EQ(WindowText(control->window), u"kept\r\n");
}

}  // namespace
}  // namespace zems_test
