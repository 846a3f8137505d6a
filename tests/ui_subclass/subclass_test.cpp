// The control subclassing on the window interface's fake and the machine's clock: step buttons
// that repeat while held, arrow keys and byte limits of edits, clicks on the printer picture,
// the hint popup's place and the information and lock marks.
#include <filesystem>
#include <string>
#include <vector>

#include "core/common/draw_ui.h"
#include "core/common/window_ui.h"
#include "core/context/ui_state.h"
#include "core/front/control_lookup.h"
#include "core/front/control_types.h"
#include "core/front/ctl_subclass.h"
#include "core/front/page_lookup.h"
#include "core/items/derived_settings.h"
#include "core/items/item_access.h"
#include "core/items/item_ids.h"
#include "core/items/item_table.h"
#include "core/items/item_values.h"
#include "core/items/units.h"
#include "core/model/model_types.h"
#include "core/common/ini_access.h"
#include "core/store/store_keys.h"
#include "core/system/printer_names.h"
#include "core/system/resources.h"
#include "support/page_controls.h"
#include "core/tables/build_switches.h"
#include "ui_engine/engine_fixture.h"

namespace zems_test {
namespace {

// What the subclassing handed to the control types.
struct TypeLog {
  std::vector<WORD> clicks;
  std::vector<std::pair<WORD, WPARAM>> commands;
};
TypeLog g_types;

int RecordClick(DriverContext*, DlgPageRecord*, DlgControlRecord* control, UINT, WPARAM, LPARAM) {
  g_types.clicks.push_back(control->controlId);
  return 1;
}
int RecordCommand(DriverContext*, DlgPageRecord*, DlgControlRecord* control, WPARAM wParam, LPARAM) {
  g_types.commands.push_back({control->controlId, wParam});
  return 1;
}

#define TYPE(code) {code, 0, RecordClick, nullptr, nullptr, RecordCommand, nullptr, CtlSubclassProc}
const CtlTypeRecord kTypes[] = {TYPE(2), TYPE(3), TYPE(21), TYPE(22), TYPE(48), TYPE(61), TYPE(63)};
#undef TYPE

const CtlStep kNoSteps[] = {{0, 0}};
const CtlExtSteps kStepExtension = {kCtlExtStepButton, 0, kNoSteps};

class SubclassTest : public EngineTest {
 protected:
  void SetUp() override {
    EngineTest::SetUp();
    if (HasFatalFailure()) return;
    g_types = TypeLog();
    CtlSetTypeTable(ctx_, kTypes, sizeof(kTypes) / sizeof(kTypes[0]));
    SimSetTickCount(100000);
    textItem_ = ItemFind(ctx_, 700);
    textDesc_.type = kModelTypeString;
    textDesc_.values = &textRule_;
  }
  void TearDown() override {
    SimSetAnsiCodePage(1252);
    EngineTest::TearDown();
  }

  // Page 1001 with these controls, opened and laid out; each control gets a window of the class
  // at rect, subclassed as the control types do.
  HWND Open(std::vector<DlgControlRecord> controls, const std::vector<std::pair<LPCWSTR, RECT>>& windows) {
    page_ = SetControls(1001, controls);
    HWND window = OpenPage(1001);
    SimUiPump();
    WuiShow(window, SW_SHOW);
    for (size_t i = 0; i < windows.size(); ++i) {
      DlgControlRecord* control = &page_->controls[i];
      HWND child = WuiCreateChild(window, windows[i].first, TEXT(""), WS_CHILD | WS_VISIBLE, 0, &windows[i].second,
                                  control->controlId, NULL, NULL);
      control->window = child;
      WuiSetSlot(child, GWL_USERDATA, reinterpret_cast<LONG_PTR>(control));
      control->savedWindowProc = reinterpret_cast<void*>(WuiSubclass(child, CtlSubclassProc));
    }
    return window;
  }
  int Invalidations(HWND window) {
    int n = 0;
    for (const SimUiCall& call : Calls(kSimUiInvalidate))
      if (call.window == window) ++n;
    return n;
  }
  std::u16string Text(HWND window) {
    WCHAR text[256];
    WuiGetText(window, text, 256);
    return std::u16string(reinterpret_cast<const char16_t*>(text));
  }

  // A text edit of zdmOcomMark, a text item of 8 bytes, described as multi-byte text.
  DlgControlRecord* OpenTextEdit(HWND* page) {
    *page = Open({Control(2503, 61)}, {{TEXT("Edit"), RECT{10, 10, 60, 24}}});
    DlgControlRecord* control = &page_->controls[0];
    control->item = textItem_;
    control->descriptor = &textDesc_;
    return control;
  }

  DlgPageRecord* page_ = nullptr;
  SettingItem* textItem_ = nullptr;
  StringValueRecord textRule_ = {0, 7, kModelCharMultiByte, 0};
  ModelItemDescriptor textDesc_ = {};
};

// ---- step buttons ----

// A script played on the machine's clock while a step button is held: at each time (ms after
// the press) a message goes to the button.
struct ScriptStep {
  DWORD at;
  UINT message;
  LPARAM lParam;
};
struct Script {
  HWND button;
  DWORD start;
  std::vector<ScriptStep> steps;
  size_t next = 0;
};
Script* g_script = nullptr;

LRESULT CALLBACK ScriptProc(HWND, UINT message, WPARAM, LPARAM) {
  if (message != WM_TIMER || !g_script) return 0;
  while (g_script->next < g_script->steps.size() &&
         GetTickCount() - g_script->start >= g_script->steps[g_script->next].at) {
    const ScriptStep& step = g_script->steps[g_script->next++];
    WuiPost(g_script->button, step.message, 0, step.lParam);
  }
  return 0;
}

TEST_F(SubclassTest, AHeldStepButtonStepsAtOnceThenFromTheFourthTickWhileTheCursorIsOnIt) {
  DlgControlRecord button = Control(2501, 21);
  button.extension = const_cast<CtlExtSteps*>(&kStepExtension);
  HWND page = Open({button}, {{TEXT("Button"), RECT{10, 10, 40, 30}}});
  HWND held = page_->controls[0].window;

  // A clock of 50 ms plays the script: the cursor leaves at 450 ms, comes back at 750 ms, the
  // button is released at 950 ms.
  HWND clock = SimUiMakeWindow(TEXT("ScriptClock"), NULL, 0, 0);
  WuiSubclass(clock, ScriptProc);
  Script script{held, GetTickCount(), {{450, WM_MOUSEMOVE, MAKELPARAM(100, 100)},
                                        {750, WM_MOUSEMOVE, MAKELPARAM(5, 5)},
                                        {950, WM_LBUTTONUP, MAKELPARAM(5, 5)}}};
  g_script = &script;
  WuiSetTimer(clock, 1, 50);

  // Each step repaints the page: record the times.
  MarkCalls();
  WuiSend(held, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  EXPECT_TRUE(WuiIsPosted(held, kDlgMsgStepRepeat));
  SimUiPump();
  g_script = nullptr;
  // The press stepped once; ticks at 100, 200, 300 wait; 400 steps; 500 and 700 are off the
  // button; 800 and 900 step; the release ends the loop before 1000.
  EXPECT_EQ(Invalidations(page), 4);
  EXPECT_GE(GetTickCount() - script.start, 950u);
  EXPECT_LT(GetTickCount() - script.start, 1000u);
  EXPECT_FALSE(WuiKillTimer(held, 2));  // the repeat's timer is gone
}

TEST_F(SubclassTest, TheRepeatEndsWhenTheButtonGoesAwayOrLosesTheCapture) {
  struct Case {
    const char* name;
    UINT message;  // sent to the button at 250 ms; 0: the button is destroyed
  } cases[] = {{"capture lost", WM_CAPTURECHANGED}, {"destroyed", 0}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    DlgControlRecord button = Control(2501, 21);
    button.extension = const_cast<CtlExtSteps*>(&kStepExtension);
    HWND page = Open({button}, {{TEXT("Button"), RECT{10, 10, 40, 30}}});
    HWND held = page_->controls[0].window;
    HWND clock = SimUiMakeWindow(TEXT("ScriptClock"), NULL, 0, 0);
    struct Ender {
      static LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM, LPARAM) {
        if (message != WM_TIMER) return 0;
        auto* target = reinterpret_cast<std::pair<HWND, UINT>*>(WuiGetSlot(window, GWL_USERDATA));
        WuiKillTimer(window, 1);
        if (target->second)
          WuiSend(target->first, target->second, 0, 0);
        else
          WuiDestroy(target->first);
        return 0;
      }
    };
    std::pair<HWND, UINT> target{held, c.message};
    WuiSetSlot(clock, GWL_USERDATA, reinterpret_cast<LONG_PTR>(&target));
    WuiSubclass(clock, Ender::Proc);
    WuiSetTimer(clock, 1, 250);
    const DWORD start = GetTickCount();
    WuiSend(held, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    SimUiPump();
    EXPECT_EQ(GetTickCount() - start, 250u);  // the loop ended at once, not at a timeout
    if (c.message) {
      EXPECT_FALSE(WuiKillTimer(held, 2));
    } else {
      EXPECT_FALSE(WuiIsWindow(held));
    }
    WuiDestroy(clock);
    WuiDestroy(page);
  }
}

// ---- numeric and text edits ----

TEST_F(SubclassTest, UpAndDownStepANumericEditWithinItsRange) {
  const WORD copies = kItem_dmCopies;
  SettingItem* item = ItemFind(ctx_, copies);
  ASSERT_NE(item, nullptr);
  NumericValueRecord range = {{0}, 1, 1, 10};
  ModelItemDescriptor desc = {};
  desc.type = kModelTypeNumeric;
  desc.values = &range;
  // A length edit steps by one display unit in 1/1200 inch.
  const LONG unit = ItemDisplayToDots(ctx_, 0, 1);
  ASSERT_GT(unit, 1);
  struct Case {
    DWORD flags;
    LONG maximum;
    LONG before;
    WPARAM key;
    LONG after;
    bool told;  // event 55 and the repaints
  } cases[] = {
      {0, 10, 10, VK_UP, 10, false},  // at the maximum: ignored
      {0, 10, 9, VK_UP, 10, true},    // one step below goes to it
      {0, 10, 5, VK_DOWN, 4, true},   //
      {0, 10, 1, VK_DOWN, 1, false},  // at the minimum
      {kCtlDisplayLength, 500, 100, VK_UP, 100 + unit, true},
      {kCtlDisplayLength, 500, 500 - unit + 1, VK_UP, 500, true},  // less than a step below: to it
      {kCtlDisplayLength, 500, 1 + unit - 1, VK_DOWN, 1, true},
  };
  DlgControlRecord edit = Control(2502, 63);
  HWND page = Open({edit}, {{TEXT("Edit"), RECT{10, 10, 60, 24}}});
  DlgControlRecord* control = &page_->controls[0];
  control->item = item;
  control->descriptor = &desc;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.before);
    control->flags = c.flags;
    range.maximum = c.maximum;
    ASSERT_TRUE(ItemSetControlValue(ctx_, control, c.before));
    Log().events.clear();
    EXPECT_EQ(WuiSend(control->window, WM_KEYDOWN, c.key, 0), 0);
    EXPECT_EQ(ItemGetControlValue(ctx_, control), c.after);
    EXPECT_EQ(Has(Log().events, 55), c.told);
    EXPECT_EQ(WuiIsPosted(page, WM_PAINT) != 0, c.told);
    SimUiPump();
  }
}

TEST_F(SubclassTest, ATextEditTakesWhatFitsItsItemInAnsiBytes) {
  ASSERT_NE(textItem_, nullptr);
  ASSERT_EQ(ItemDescSize(textItem_->descriptor), 8u);
  ASSERT_TRUE(SimSetAnsiCodePage(932));
  const WCHAR wide = 0x3042;  // a double-byte character in code page 932
  struct Case {
    const char* name;
    int singles;    // single-byte characters typed first
    WCHAR next;     // then this one
    bool accepted;  // and whether it is taken
  } cases[] = {
      {"seventh single", 6, 'x', true}, {"eighth single", 7, 'x', false},
      {"double after five", 5, wide, true}, {"double after six", 6, wide, false},
      {"backspace when full", 7, VK_BACK, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    HWND page = 0;
    DlgControlRecord* control = OpenTextEdit(&page);
    for (int i = 0; i < c.singles; ++i) WuiSend(control->window, WM_CHAR, 'a', 0);
    ASSERT_EQ(Text(control->window).size(), static_cast<size_t>(c.singles));
    WuiSend(control->window, WM_CHAR, c.next, 0);
    const size_t expected = c.next == VK_BACK ? c.singles - 1 : c.singles + (c.accepted ? 1 : 0);
    EXPECT_EQ(Text(control->window).size(), expected);
    WuiDestroy(page);
  }
}

TEST_F(SubclassTest, APasteIsCutToWhatFitsNeverHalfACharacter) {
  ASSERT_NE(textItem_, nullptr);
  ASSERT_EQ(ItemDescSize(textItem_->descriptor), 8u);
  ASSERT_TRUE(SimSetAnsiCodePage(932));
  struct Case {
    const char* name;
    std::u16string before;
    int selStart, selEnd;
    std::u16string clip;
    std::u16string after;
  } cases[] = {
      {"long text cut", u"", -1, -1, u"abcdefghij", u"abcdefg"},
      {"double-byte not halved", u"abcdef", -1, -1, u"\u3042\u3044", u"abcdef"},
      {"double-byte fits", u"abcd", -1, -1, u"\u3042\u3044", u"abcd\u3042"},
      {"over a selection", u"abcdefg", 2, 5, u"XYZW", u"abXYZfg"},
      {"full edit", u"abcdefg", -1, -1, u"Q", u"abcdefg"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    HWND page = 0;
    DlgControlRecord* control = OpenTextEdit(&page);
    WuiSetText(control->window, reinterpret_cast<LPCWSTR>(c.before.c_str()));
    WuiEditSelect(control->window, c.selStart, c.selEnd);
    SimUiSetClipboardText(reinterpret_cast<LPCWSTR>(c.clip.c_str()));
    EXPECT_EQ(WuiSend(control->window, WM_PASTE, 0, 0), 0);
    EXPECT_EQ(Text(control->window), c.after);
    WuiDestroy(page);
  }
}

TEST_F(SubclassTest, NumericEditsTakeDigitsBackspaceAndTheLanguagesSeparator) {
  struct Case {
    LONG language;  // zdmLanguageID: 0 English, 2 a decimal-comma language
    WCHAR ch;
    int accepted;
  } cases[] = {{0, '0', 1}, {0, '9', 1}, {0, VK_BACK, 1}, {0, '.', 1}, {0, ',', 0}, {0, 'a', 0},
               {0, '-', 0}, {2, ',', 1}, {2, '.', 0}, {2, '5', 1}};
  for (const Case& c : cases) {
    ASSERT_TRUE(ItemSetRawById(ctx_, kItem_zdmLanguageID, c.language));
    EXPECT_EQ(CtlIsNumericChar(ctx_, c.ch), c.accepted) << c.language << " " << c.ch;
  }
}

// ---- clicks on pictures ----

TEST_F(SubclassTest, APictureClickGoesToItsPartnerOrTheNextMemberOfItsGroup) {
  constexpr WORD kGroup = 0x7777;  // a symbol no control id equals: the radio group's
  struct Case {
    const char* name;
    WORD partner;
    LONG current;     // the group item's value: the member that is on
    int hidden;       // index of a control hidden first (-1 none)
    int restricted;   // index of a control restricted first (-1 none)
    int clicked;      // the control whose click handler runs (-1 none)
  } cases[] = {
      {"own click", 0, 0, -1, -1, 0},
      {"partner", 2602, 0, -1, -1, 2},
      {"restricted partner", 2602, 0, -1, 2, -1},
      {"group: the member after the one on", kGroup, 2602, -1, -1, 3},
      {"group: a hidden member is skipped, wrapping", kGroup, 2602, 3, -1, 1},
  };
  SettingItem* item = ItemFind(ctx_, kItem_dmCopies);
  ASSERT_NE(item, nullptr);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    DlgControlRecord picture = Control(2600, 3);
    picture.partner = c.partner;
    std::vector<DlgControlRecord> controls = {picture};
    for (WORD id : {2601, 2602, 2603}) controls.push_back(Control(id, 22, c.partner == kGroup ? kGroup : 0));
    HWND page = Open(controls, {{TEXT("Static"), RECT{10, 10, 60, 60}}, {TEXT("Button"), RECT{70, 10, 120, 24}},
                                {TEXT("Button"), RECT{70, 30, 120, 44}}, {TEXT("Button"), RECT{70, 50, 120, 64}}});
    for (int i = 1; i <= 3; ++i) page_->controls[i].item = item;
    if (c.current) {
      ASSERT_TRUE(ItemSetControlValue(ctx_, &page_->controls[1], c.current));
    }
    if (c.hidden >= 0) WuiShow(page_->controls[c.hidden].window, SW_HIDE);
    if (c.restricted >= 0) page_->controls[c.restricted].state |= 0x4;
    g_types.clicks.clear();
    WuiSetFocus(NULL);
    WuiSend(page_->controls[0].window, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    if (c.clicked < 0) {
      EXPECT_TRUE(g_types.clicks.empty());
    } else {
      ASSERT_EQ(g_types.clicks.size(), 1u);
      EXPECT_EQ(g_types.clicks[0], page_->controls[c.clicked].controlId);
      EXPECT_EQ(WuiGetFocus(), page_->controls[c.clicked].window);
    }
    // A release outside the picture is no click.
    g_types.clicks.clear();
    WuiSend(page_->controls[0].window, WM_LBUTTONUP, 0, MAKELPARAM(55, 5));
    EXPECT_TRUE(g_types.clicks.empty());
    WuiDestroy(page);
  }
}

// ---- painting ----

TEST_F(SubclassTest, APicturePaintsBehindTheSiblingsAboveItAndErasesItsBackground) {
  DlgControlRecord picture = Control(2039, 2);
  HWND page = Open({picture}, {{TEXT("Static"), RECT{10, 10, 110, 110}}});
  DlgControlRecord* control = &page_->controls[0];
  // Above it: a label over its corner (kept out) and a frame around it all (not kept out).
  const RECT corner = {90, 90, 130, 130}, frame = {0, 0, 200, 200};
  WuiCreateChild(page, TEXT("Static"), TEXT(""), WS_CHILD | WS_VISIBLE, 0, &corner, 0, NULL, NULL);
  WuiCreateChild(page, TEXT("Static"), TEXT(""), WS_CHILD | WS_VISIBLE, 0, &frame, 0, NULL, NULL);
  SimDrawReset();
  EXPECT_EQ(WuiSend(control->window, WM_PAINT, 0, 0), 0);
  std::vector<SimDrawCall> calls;
  for (DWORD i = 0; i < SimDrawCallCount(); ++i) {
    SimDrawCall call = {};
    SimDrawGetCall(i, &call);
    calls.push_back(call);
  }
  ASSERT_GE(calls.size(), 3u);
  EXPECT_EQ(calls.front().kind, kSimDrawBeginPaint);
  EXPECT_EQ(calls.back().kind, kSimDrawEndPaint);
  int excluded = 0;
  for (const SimDrawCall& call : calls)
    if (call.kind == kSimDrawExcludeClip) {
      ++excluded;
      EXPECT_EQ(call.rect.left, 80);
      EXPECT_EQ(call.rect.top, 80);
    }
  EXPECT_EQ(excluded, 1);
  EXPECT_EQ(ctx_->ui->dialog.draw.paintDc, (HDC)NULL);  // published only while painting

  // The background: white, or the button face while restricted.
  struct Case {
    WORD state;
    bool white;
  } cases[] = {{0, true}, {0x4, false}};
  for (const Case& c : cases) {
    control->state = c.state;
    SimDrawReset();
    HDC dc = DuiGetDc(control->window);
    EXPECT_EQ(WuiSend(control->window, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0), 1);
    DuiReleaseDc(control->window, dc);
    bool filled = false;
    for (DWORD i = 0; i < SimDrawCallCount(); ++i) {
      SimDrawCall call = {};
      SimDrawGetCall(i, &call);
      if (call.kind != kSimDrawFill && call.kind != kSimDrawFillBrush) continue;
      filled = true;
      EXPECT_EQ(call.rect.right, 100);
      // A stock brush is recorded by its index + 1, a colour as it is.
      const bool white = call.kind == kSimDrawFillBrush ? call.id == WHITE_BRUSH + 1 || call.colour == RGB(255, 255, 255)
                                                        : call.colour == RGB(255, 255, 255);
      EXPECT_EQ(white, c.white) << call.kind << " " << call.id << " " << call.colour;
    }
    EXPECT_TRUE(filled);
  }
}

// ---- the printer picture ----

class PrinterPictureTest : public SubclassTest {
 protected:
  // Page 1001 with the printer picture (200 x 180 at 20, 20) and the source-tray and
  // output-bin choices, each entry's data its logical value.
  void OpenPicture() {
    Open({Control(2067, 2), Control(2007, 48), Control(2066, 48)},
         {{TEXT("Static"), RECT{20, 20, 220, 200}}, {TEXT("ComboBox"), RECT{240, 20, 340, 40}},
          {TEXT("ComboBox"), RECT{240, 50, 340, 70}}});
    picture_ = &page_->controls[0];
    for (LPARAM tray : {3029, 3030, 3031, 3032}) WuiChoiceAdd(page_->controls[1].window, TEXT("tray"), tray);
    for (LPARAM bin : {3047, 3048}) WuiChoiceAdd(page_->controls[2].window, TEXT("bin"), bin);
  }
  LPARAM Selected(int index) {
    HWND choice = page_->controls[index].window;
    const int at = WuiChoiceSelection(choice);
    return at < 0 ? -1 : WuiChoiceData(choice, at);
  }
  void Click(int x, int y) {
    WuiSend(picture_->window, WM_LBUTTONUP, 0, MAKELPARAM(x, y));
  }
  DlgControlRecord* picture_ = nullptr;
};

TEST_F(PrinterPictureTest, ATrayClickSelectsTheTrayAndTellsTheChoice) {
  OpenPicture();
  Click(100, 110);  // the standard tray
  EXPECT_EQ(Selected(1), 3029);
  ASSERT_EQ(g_types.commands.size(), 1u);
  EXPECT_EQ(g_types.commands[0].first, 2007);
  EXPECT_EQ(g_types.commands[0].second, static_cast<WPARAM>(MAKEWPARAM(0, CBN_SELCHANGE)));
  Click(170, 70);  // the multi-purpose tray
  EXPECT_EQ(Selected(1), 3032);
  Click(100, 48);  // the inner bin
  EXPECT_EQ(Selected(2), 3048);
  Click(5, 5);  // nothing there
  EXPECT_EQ(Selected(1), 3032);
  EXPECT_EQ(Selected(2), 3048);
}

TEST_F(PrinterPictureTest, TheTrayLockAllowsOnlyTheLockedTray) {
  if (!BuildHasFeature(ctx_, 2)) GTEST_SKIP() << "this build has no lock feature";
  OpenPicture();
  SettingItem* source = ItemFind(ctx_, kItem_dmDefaultSource);
  ASSERT_NE(source, nullptr);
  // The multi-purpose tray is locked.
  ASSERT_TRUE(ItemSetRawById(ctx_, kItem_wdmLock001Info, ItemUnmapValue(ctx_, source, 3032)));
  ASSERT_TRUE(ItemSetValueById(ctx_, kItem_zdmLock000InfoBitTray, 1));
  ASSERT_TRUE(ItemLockTray(ctx_));
  Click(100, 110);  // the standard tray: refused
  EXPECT_EQ(Selected(1), -1);
  Click(170, 70);  // the locked tray
  EXPECT_EQ(Selected(1), 3032);
}

TEST_F(PrinterPictureTest, TheHandAndTheHintFollowTheTrayUnderTheCursor) {
  OpenPicture();
  HWND page = page_->window;
  const HCURSOR hand = WuiLoadCursor(ctx_->languageDll, 8000);
  ASSERT_NE(hand, nullptr);
  struct Case {
    POINT at;      // in the picture
    WORD hint;     // the hint string the hit test gives it
    bool clickable;
  } cases[] = {{{100, 110}, 3029, true}, {{5, 5}, 0, false}, {{170, 70}, 3032, true}, {{100, 48}, 3048, true}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.hint);
    POINT screen = {20 + c.at.x, 20 + c.at.y};
    WuiClientToScreen(page, &screen);
    const LRESULT answer = WuiSend(picture_->window, WM_NCHITTEST, 0, MAKELPARAM(screen.x, screen.y));
    EXPECT_EQ(answer, HTCLIENT);
    EXPECT_EQ(picture_->hintString, c.hint);
    EXPECT_EQ(SimUiCurrentCursor() == hand, c.clickable);
    EXPECT_EQ(WuiSend(picture_->window, WM_SETCURSOR, 0, 0), c.clickable ? 1 : 0);
  }
}

TEST(Hotspots, RowsHoldWhileTheirConditionsHoldAndMoveWithTheirShifts) {
  const RECT a = {10, 10, 20, 20}, b = {0, 0, 10, 10};
  const HitAreaShift down[] = {{0, 0, 0}};
  const HitAreaRow rows[] = {{&a, 0, 1, 0, 0, down}, {&b, 0, 2, 0, 0, nullptr}, {nullptr, 0, 0, 0, 0, nullptr}};
  struct Case {
    POINT at;
    WORD value;  // 0: none
  } cases[] = {{{10, 10}, 1}, {{19, 19}, 1}, {{20, 20}, 0}, {{0, 0}, 2}, {{-5, 5}, 2}, {{-11, 5}, 0}};
  for (const Case& c : cases) {
    RECT area;
    const HitAreaRow* row = CtlFindHotspotAtPoint(nullptr, &area, c.at, rows);
    EXPECT_EQ(row ? row->value : 0, c.value) << c.at.x << "," << c.at.y;
  }
}

// ---- the hint popup ----

TEST_F(SubclassTest, AHintNearTheRightEdgeShiftsLeftAndNeverCoversTheTaskBar) {
  SimUiSetScreen(800, 600);
  SimDrawSetTextMetrics(6, 13);
  DlgControlRecord pictured = Control(2504, 22);
  pictured.hintString = 261;
  HWND page = Open({pictured}, {{TEXT("Button"), RECT{10, 10, 60, 30}}});
  RECT frame = {0, 0, 800, 600};
  WuiMove(page, &frame, FALSE);
  HWND bar = SimUiMakeWindow(TEXT("Shell_TrayWnd"), NULL, 0, WS_VISIBLE);
  RECT taskBar = {0, 570, 800, 600};
  WuiMove(bar, &taskBar, FALSE);
  DlgControlRecord* control = &page_->controls[0];
  struct Case {
    POINT at;
    bool shiftedLeft, shiftedUp;
  } cases[] = {{{100, 100}, false, false}, {{790, 100}, true, false}, {{100, 565}, false, true}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.at.x * 1000 + c.at.y);
    DlgShowHint(ctx_, nullptr, NULL, 0, 0, -1);  // a waiting popup stays: drop it by hand
    ctx_->ui->dialog.draw.hintTimer = 0;
    DlgShowHint(ctx_, nullptr, NULL, 0, 0, -1);
    DlgShowHint(ctx_, control, page, c.at.x, c.at.y, -1);
    HWND popup = ctx_->ui->dialog.draw.hintPopup;
    ASSERT_NE(popup, nullptr);
    EXPECT_FALSE(WuiIsVisible(popup));  // until the timer
    RECT r;
    ASSERT_TRUE(WuiGetRect(popup, &r));
    const LONG width = r.right - r.left, height = r.bottom - r.top;
    EXPECT_GT(width, 8);
    EXPECT_EQ(r.left, c.shiftedLeft ? c.at.x - width - 16 : c.at.x);
    EXPECT_EQ(r.top, c.shiftedUp ? c.at.y - height - 12 : c.at.y);
    EXPECT_LE(r.right, 800);
    EXPECT_LE(r.bottom, 570);
  }
}

TEST_F(SubclassTest, TheHintShowsAfterASecondOnlyWhileTheCursorStaysOnItsControl) {
  DlgControlRecord hinted = Control(2504, 22);
  hinted.hintString = 261;
  HWND page = Open({hinted}, {{TEXT("Button"), RECT{10, 10, 60, 30}}});
  DlgControlRecord* control = &page_->controls[0];
  struct Case {
    POINT cursor;  // on the screen when the timer fires
    bool shown;
  } cases[] = {{{20, 20}, true}, {{200, 200}, false}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.shown);
    ctx_->ui->dialog.draw.hintTimer = 0;
    DlgShowHint(ctx_, nullptr, NULL, 0, 0, -1);
    WuiSetFocus(control->window);
    POINT origin = {0, 0};
    WuiClientToScreen(page, &origin);
    SimUiSetCursorPos(origin.x + c.cursor.x, origin.y + c.cursor.y);
    DlgUpdateHint(ctx_, control, page, 10, 34);
    HWND popup = ctx_->ui->dialog.draw.hintPopup;
    ASSERT_NE(popup, nullptr);
    SimAdvanceTickCount(999);
    SimUiPump();
    EXPECT_FALSE(WuiIsVisible(popup));
    SimAdvanceTickCount(1);
    SimUiPump();
    EXPECT_EQ(WuiIsVisible(popup) != 0, c.shown);
    WCHAR text[64];
    WuiGetText(popup, text, 64);
    EXPECT_EQ(std::u16string(reinterpret_cast<const char16_t*>(text)), String(261));
  }
}

TEST_F(SubclassTest, AnIconListHintsTheCommentOfTheEntryUnderItsFirstRow) {
  WCHAR ini[kPathChars], printer[261];
  StoreCopySettingsIni(ctx_, ini);
  StoreCopyPrinterName(ctx_, printer, 261);
  ASSERT_TRUE(ini[0]);
  std::string path;
  for (int i = 0; ini[i]; ++i) path += static_cast<char>(ini[i]);
  ASSERT_TRUE(WriteMachineFile(path, ""));
  ASSERT_TRUE(IniWriteString(printer, TEXT("Count"), TEXT("3"), ini));
  ASSERT_TRUE(IniWriteString(printer, TEXT("PresetList1Comment"), TEXT("first\\nsecond"), ini));
  SimDrawSetTextMetrics(6, 13);
  // Columns of 108 pixels, a first row of 107 (the preset icon list's picture size).
  HWND page = Open({Control(2001, 50)}, {{TEXT("ListBox"), RECT{10, 10, 400, 300}}});
  DlgControlRecord* list = &page_->controls[0];
  for (LPARAM n : {0, 1}) WuiChoiceAdd(list->window, TEXT("preset"), n);
  struct Case {
    const char* name;
    POINT at;
    const char16_t* text;  // null: no popup
  } cases[] = {
      {"second entry", {10 + 108 + 54, 10 + 107}, u"first\nsecond"},
      {"first entry, no comment", {10 + 54, 10 + 107}, nullptr},
      {"below the first row", {10 + 108 + 54, 10 + 200}, nullptr},
      {"no third entry", {10 + 216 + 54, 10 + 107}, nullptr},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ctx_->ui->dialog.draw.hintTimer = 0;
    DlgShowHint(ctx_, nullptr, NULL, 0, 0, -1);
    DlgUpdateHint(ctx_, list, page, c.at.x, c.at.y);
    HWND popup = ctx_->ui->dialog.draw.hintPopup;
    if (!c.text) {
      EXPECT_EQ(popup, (HWND)NULL);
      continue;
    }
    ASSERT_NE(popup, (HWND)NULL);
    EXPECT_EQ(Text(popup), c.text);
    RECT r;
    WuiGetRect(popup, &r);
    EXPECT_EQ(r.bottom - r.top, 2 * 13 + 6);  // two lines
    EXPECT_EQ(r.right - r.left, 6 * 6 + 8);   // the wider line, "second"
  }
}

TEST_F(SubclassTest, AComboEntryHintsItsTextAndEachEntryIsItsOwnHint) {
  HWND page = Open({Control(2506, 48)}, {{TEXT("ComboBox"), RECT{10, 10, 110, 30}}});
  DlgControlRecord* combo = &page_->controls[0];
  WuiChoiceAdd(combo->window, TEXT("Letter"), 3001);
  WuiChoiceAdd(combo->window, TEXT("Legal"), 3002);
  DlgShowHint(ctx_, combo, page, 110, 10, 1);
  HWND first = ctx_->ui->dialog.draw.hintPopup;
  ASSERT_NE(first, (HWND)NULL);
  EXPECT_EQ(Text(first), u"Legal");
  DlgShowHint(ctx_, combo, page, 110, 30, 1);  // the same entry: the popup stays
  EXPECT_EQ(ctx_->ui->dialog.draw.hintPopup, first);
  DlgShowHint(ctx_, combo, page, 110, 10, 0);  // another entry: a new popup
  ASSERT_NE(ctx_->ui->dialog.draw.hintPopup, (HWND)NULL);
  EXPECT_FALSE(WuiIsWindow(first));
  EXPECT_EQ(Text(ctx_->ui->dialog.draw.hintPopup), u"Letter");
}

TEST_F(SubclassTest, ACommandOrANotificationClosesAShownHint) {
  DlgControlRecord hinted = Control(2504, 22);
  hinted.hintString = 261;
  HWND page = Open({hinted}, {{TEXT("Button"), RECT{10, 10, 60, 30}}});
  DlgControlRecord* control = &page_->controls[0];
  struct Case {
    UINT message;
    WPARAM wParam;
  } cases[] = {{WM_COMMAND, MAKEWPARAM(9999, BN_CLICKED)}, {WM_NOTIFY, 0}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.message);
    DlgUpdateHint(ctx_, control, page, 10, 34);
    HWND popup = ctx_->ui->dialog.draw.hintPopup;
    ASSERT_NE(popup, (HWND)NULL);
    WuiKillTimer(page, 1);  // as if shown
    ctx_->ui->dialog.draw.hintTimer = 0;
    NMHDR header = {page, 0, 0};
    WuiSend(page, c.message, c.wParam, c.message == WM_NOTIFY ? reinterpret_cast<LPARAM>(&header) : 0);
    EXPECT_FALSE(WuiIsWindow(popup));
    EXPECT_EQ(ctx_->ui->dialog.draw.hintPopup, (HWND)NULL);
  }
}

// ---- marks ----

TEST_F(SubclassTest, AMarkClickShowsTheLockOrTheInformationText) {
  struct Case {
    const char* name;
    DWORD lockState;
    UINT expected;
  } cases[] = {{"information", 0, 262}, {"locked", 1, 263}};
  // The mark's picture 7006 is the common DLL's.
  std::string error;
  ASSERT_TRUE(InstallCommonDll(&error)) << error;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    DlgControlRecord marked = Control(2505, 22);
    marked.infoString = 262;
    marked.lockMessage = 263;
    marked.lockState = c.lockState;
    HWND page = Open({marked}, {{TEXT("Button"), RECT{40, 10, 90, 30}}});
    DlgControlRecord* control = &page_->controls[0];
    RECT at = {20, 10, 40, 30};
    HWND mark = WuiCreateChild(page, TEXT("STATIC"), TEXT(""), 0x5081000E, 0, &at, 0, NULL, control->window);
    WuiSetSlot(mark, GWL_USERDATA, reinterpret_cast<LONG_PTR>(control));
    CtlInstallMarkProc(mark);
    MarkCalls();
    WuiSend(mark, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    WuiSend(mark, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    // The mark paints picture 7006.
    SimDrawReset();
    WuiSend(mark, WM_PAINT, 0, 0);
    bool drawn = false;
    for (DWORD i = 0; i < SimDrawCallCount(); ++i) {
      SimDrawCall call = {};
      SimDrawGetCall(i, &call);
      if (call.kind == kSimDrawPicture && call.id == 7006) drawn = true;
    }
    EXPECT_TRUE(drawn);
    std::vector<SimUiCall> boxes = Calls(kSimUiMessageBox);
    ASSERT_EQ(boxes.size(), 1u);
    const UINT shown = BuildHasFeature(ctx_, 2) ? c.expected : 262;
    EXPECT_EQ(std::u16string(reinterpret_cast<const char16_t*>(boxes[0].text)), String(shown));
    EXPECT_EQ(std::u16string(reinterpret_cast<const char16_t*>(boxes[0].caption)),
              std::u16string(reinterpret_cast<const char16_t*>(PrnGetPrinterName(ctx_))));
    WuiDestroy(page);
  }
}

}  // namespace
}  // namespace zems_test
