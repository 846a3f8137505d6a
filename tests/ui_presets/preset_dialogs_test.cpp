// The preset module's dialogs on the fake: the maintenance dialog, the save-preset dialog, the
// pages' preset choices and buttons.
#include "ui_presets/dialogs_fixture.h"

#include <algorithm>
#include <functional>

#include "core/store/stamp_store.h"
#include "core/system/sub_dialog.h"
#include "core/modules/summary_module.h"

namespace zems_test {
namespace {

using PresetDialogsTest = ModuleDialogsTest;

// The preset tests that run the sample's own sheets.
class PresetSheetTest : public ModuleDialogsTest {
 protected:
  PresetSheetTest() { languageDll_ = "zemsresus.dll"; }
};

// The maintenance buttons' restricted states by (selection, count).
TEST_F(PresetDialogsTest, MaintenanceButtonsAreRestrictedBySelectionAndCount) {
  MakeMaintenance();
  struct Case {
    int selection, count;
    int back, next, remove, save;
  } cases[] = {
      {-1, 4, 1, 1, 1, 1}, {0, 4, 1, 1, 1, 0}, {1, 4, 1, 0, 0, 0},
      {2, 4, 0, 0, 0, 0},  {3, 4, 0, 1, 0, 0}, {4, 4, 1, 1, 1, 0},
      {0, 1, 1, 1, 1, 0},  {1, 2, 1, 1, 0, 0},
  };
  for (const Case& c : cases) {
    List(Named(c.count));
    Select(c.selection);
    auto restricted = [&](WORD id) {
      DlgControlRecord* control = Control(id);
      CtlRestrictedQuery query = {control, &page_, 0, 0};
      EXPECT_EQ(1, PresetHandleEvent(ctx_, kEventControlRestricted, &query, nullptr));
      EXPECT_EQ(1, query.answered);
      return (control->state & kControlRestrictedMask) ? 1 : 0;
    };
    const std::string row = std::to_string(c.selection) + " of " + std::to_string(c.count);
    EXPECT_EQ(c.back, restricted(2143)) << row;
    EXPECT_EQ(c.next, restricted(2144)) << row;
    EXPECT_EQ(c.remove, restricted(2140)) << row;
    EXPECT_EQ(c.save, restricted(2705)) << row;
  }
  // Load: restricted from sixteen lines of the list on.
  HWND list = Control(2139)->window;
  for (int lines : {15, 16}) {
    WuiChoiceReset(list);
    for (int i = 0; i < lines; ++i) WuiChoiceAdd(list, W(u"x"), i);
    CtlRestrictedQuery query = {Control(2142), &page_, 0, 0};
    PresetHandleEvent(ctx_, kEventControlRestricted, &query, nullptr);
    EXPECT_EQ(lines == 16 ? 4 : 0, Control(2142)->state & kControlRestrictedMask) << lines;
  }
  // Other dialogs' controls and a list without its item are left to the engine.
  CtlRestrictedQuery other = {Control(2143), &page_, 0, 0};
  Control(2139)->item = nullptr;
  EXPECT_EQ(0, PresetHandleEvent(ctx_, kEventControlRestricted, &other, nullptr));
  EXPECT_EQ(0, other.answered);
}

// Move back and next exchange files, names and comments; entry 0 never moves.
TEST_F(PresetDialogsTest, MovesExchangeWholeEntriesAndNeverTouchEntryZero) {
  MakeMaintenance();
  struct Case {
    WORD button;
    int selection;
    std::vector<int> order;  // the entries' old positions afterwards
    int selected;
  } cases[] = {
      {2143, 2, {0, 2, 1, 3}, 1}, {2144, 2, {0, 1, 3, 2}, 3}, {2143, 1, {0, 1, 2, 3}, 1},
      {2144, 3, {0, 1, 2, 3}, 3}, {2144, 0, {0, 1, 2, 3}, 0}, {2143, 0, {0, 1, 2, 3}, 0},
      {2144, 1, {0, 2, 1, 3}, 2},
  };
  for (const Case& c : cases) {
    const std::vector<Entry> before = Named(4);
    List(before);
    Select(c.selection);
    Command(c.button);
    const std::vector<Entry> after = Entries(4);
    for (int i = 0; i < 4; ++i) {
      const Entry& expected = before[c.order[i]];
      EXPECT_EQ(expected.file, after[i].file) << c.button << " from " << c.selection << " at " << i;
      EXPECT_EQ(expected.name, after[i].name);
      EXPECT_EQ(expected.comment, after[i].comment);
    }
    EXPECT_EQ(c.selected, Selection()) << c.button << " from " << c.selection;
  }
  // The edits show the moved entry.
  List(Named(4));
  Select(2);
  Command(2144);
  WCHAR text[64];
  WuiGetText(Control(2145)->window, text, 64);
  EXPECT_EQ(u"P2", U(text));
  WuiGetText(Control(2146)->window, text, 64);
  EXPECT_EQ(u"c2", U(text));
}

TEST_F(PresetDialogsTest, DeleteShiftsTheLaterEntriesAndEmptiesTheOldLast) {
  MakeMaintenance();
  struct Case {
    int selection;
    std::vector<int> kept;
    int selected;
  } cases[] = {{2, {0, 1, 3}, 2}, {3, {0, 1, 2}, 2}, {1, {0, 2, 3}, 1}};
  for (const Case& c : cases) {
    const std::vector<Entry> before = Named(4);
    List(before);
    Select(c.selection);
    Command(2140);
    EXPECT_EQ(u"3", Read(u"Count")) << c.selection;
    const std::vector<Entry> after = Entries(4);
    for (int i = 0; i < 3; ++i) {
      EXPECT_EQ(before[c.kept[i]].file, after[i].file) << c.selection << " at " << i;
      EXPECT_EQ(before[c.kept[i]].name, after[i].name);
      EXPECT_EQ(before[c.kept[i]].comment, after[i].comment);
    }
    EXPECT_EQ(u"", after[3].file);
    EXPECT_EQ(u"", after[3].name);
    EXPECT_EQ(u"", after[3].comment);
    EXPECT_EQ(c.selected, Selection());
  }
  // The factory entry stays.
  List(Named(4));
  Select(0);
  Command(2140);
  EXPECT_EQ(u"4", Read(u"Count"));
  EXPECT_EQ(u"P0", Read(EntryKey(0, 1)));
}

// A settings file with its name and comment stored under the printer's section.
void WriteSettingsFile(const std::string& hostPath, const std::u16string& section, const char16_t* name) {
  std::string text = "[";
  for (char16_t ch : section) text += static_cast<char>(ch == u'[' || ch == u']' ? u',' : ch);
  text += "]\r\n";
  if (name) {
    std::u16string n(name);
    text += "wdmPresetName=" + std::string(n.begin(), n.end()) + "\r\nwdmPresetComment=from the file\r\n";
  }
  ASSERT_TRUE(WriteMachineFile(hostPath, text));
}

// The file dialog stands in: its command writes the chosen files as the file dialogs do.
const char16_t* g_chosen = nullptr;
int g_offset = 0;
int ChooseFiles(DriverContext* ctx, DlgPageRecord*, DlgControlRecord*, WPARAM, LPARAM) {
  if (!g_chosen) return 0;
  WCHAR* chosen = PresetGetChosenFilePath(ctx);
  int i = 0;
  for (; g_chosen[i]; ++i) chosen[i] = g_chosen[i];
  chosen[i] = 0;
  PresetSetFileNameOffset(g_offset);
  return 1;
}

TEST_F(PresetDialogsTest, LoadAppendsEachChosenFileWithinTheSixteenSlots) {
  MakeMaintenance();
  static const CtlTypeRecord kTypes[] = {{0, 0, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr},
                                         {250, 0, nullptr, nullptr, nullptr, ChooseFiles, nullptr, nullptr}};
  CtlSetTypeTable(ctx_, kTypes, 2);
  Control(2142)->type = 250;
  WriteSettingsFile("C:\\Settings\\draft.rst", U(section_), u"Draft");
  WriteSettingsFile("C:\\Settings\\plain.v2.rst", U(section_), nullptr);
  WriteSettingsFile("C:\\Settings\\third.rst", U(section_), u"Third");

  // One file with a stored name, one listed by its file name.
  List(Named(2));
  g_chosen = u"C:\\Settings\\draft.rst";
  g_offset = 12;
  Command(2142);
  g_chosen = u"C:\\Settings plain.v2.rst";
  g_offset = 12;
  Command(2142);
  EXPECT_EQ(u"4", Read(u"Count"));
  EXPECT_EQ(u"C:\\Settings\\draft.rst", Read(EntryKey(2, 0)));
  EXPECT_EQ(u"Draft", Read(EntryKey(2, 1)));
  EXPECT_EQ(u"from the file", Read(EntryKey(2, 2)));
  EXPECT_EQ(u"C:\\Settings\\plain.v2.rst", Read(EntryKey(3, 0)));
  EXPECT_EQ(u"plain.v2", Read(EntryKey(3, 1)));
  EXPECT_EQ(3, Selection()) << "the new last entry is selected";

  // Three files with fourteen present: refused whole with one warning.
  List(Named(14));
  g_chosen = u"C:\\Settings draft.rst plain.v2.rst third.rst";
  g_offset = 12;
  Mark();
  Command(2142);
  EXPECT_EQ(u"14", Read(u"Count"));
  EXPECT_EQ(std::vector<std::u16string>{String(10049)}, Boxes());
  // Two of them fit.
  g_chosen = u"C:\\Settings draft.rst third.rst";
  Command(2142);
  EXPECT_EQ(u"16", Read(u"Count"));
  EXPECT_EQ(u"Third", Read(EntryKey(15, 1)));
  // A cancelled dialog appends nothing.
  List(Named(2));
  g_chosen = nullptr;
  Command(2142);
  EXPECT_EQ(u"2", Read(u"Count"));
  g_chosen = nullptr;
}

TEST_F(PresetDialogsTest, AnEmptyNameIsRefusedWithTheFocusBack) {
  MakeMaintenance();
  List(Named(3));
  Select(2);
  ItemSetText(ctx_, ItemFind(ctx_, kItem_wdmPresetName), W(u""));
  Mark();
  Command(2145, EN_KILLFOCUS);
  EXPECT_EQ(std::vector<std::u16string>{String(10031)}, Boxes());
  EXPECT_EQ(Control(2145)->window, Focus());
  EXPECT_EQ(2, Selection());
  // The factory entry is never saved from here, whatever its name.
  Select(0);
  Mark();
  Command(2145, EN_KILLFOCUS);
  EXPECT_TRUE(Boxes().empty());
}

TEST_F(PresetDialogsTest, ARepeatedNameIsWarnedAndSelected) {
  MakeMaintenance();
  std::vector<Entry> entries = Named(4);
  entries[3].name = u"P1";
  List(entries);
  Select(0);
  EXPECT_EQ(3, PresetCheckDuplicateName(ctx_, window_));
  Mark();
  EXPECT_EQ(1, PresetHandleControl(ctx_, &page_, nullptr, kPresetMsgDuplicate, 3, 0, nullptr));
  EXPECT_EQ(std::vector<std::u16string>{String(10052)}, Boxes());
  EXPECT_EQ(3, Selection());
  EXPECT_EQ(Control(2145)->window, Focus());
}

// Focus requests go back to each dialog's name field.
TEST_F(PresetDialogsTest, FocusRequestsReturnToTheNameFieldOfEachDialog) {
  const struct {
    WORD dialog, edit;
  } cases[] = {{1032, 2452}, {1042, 2733}, {4016, 2924}, {4030, 3113},
               {1002, 2388}, {1003, 2389}, {1004, 2390}, {1005, 2391}};
  for (const auto& c : cases) {
    records_.clear();
    page_.dialogId = c.dialog;
    DlgControlRecord* edit = Make(c.edit, u"EDIT");
    Bind();
    WuiSetFocus(window_);
    EXPECT_EQ(1, PresetHandleControl(ctx_, &page_, nullptr, 32775, 0, 0, nullptr)) << c.dialog;
    EXPECT_EQ(edit->window, Focus()) << c.dialog;
  }
  page_.dialogId = 1001;
  EXPECT_EQ(0, PresetHandleControl(ctx_, &page_, nullptr, 32775, 0, 0, nullptr));
}

// The save-preset dialog's OK by the list's state: which message, and the preset number taken.
TEST_F(PresetDialogsTest, SaveDialogChecksTheNameAgainstTheList) {
  page_.dialogId = 1032;
  Make(2452, u"EDIT", kItem_wdmPresetName);
  Bind();
  struct Case {
    const char* what;
    int count;
    int presetNo;
    const char16_t* name;
    bool readOnly;
    int answer;
    WORD message;  // 0: none
    bool closes;
    int presetAfter;
  } cases[] = {
      {"another entry's name", 4, 120, u"P2", false, 0, 10052, false, 120},
      {"the selected entry's own name", 4, 121, u"P2", false, 0, 0, true, 121},
      {"a new name over the selected", 4, 120, u"New", false, 0, 0, true, 120},
      {"new with sixteen", 16, 118, u"New", false, 0, 10049, false, 118},
      {"new with fifteen", 15, 118, u"New", false, 0, 0, true, 118},
      {"read-only entry", 4, 121, u"P2", true, 0, 10024, false, 121},
      {"the factory entry's name saved as new", 4, 118, u"P0", false, 0, 0, true, 118},
      {"existing name, No", 4, 118, u"P2", false, IDNO, 10032, false, 118},
      {"existing name, Yes", 4, 118, u"P2", false, IDYES, 10032, true, 121},
  };
  for (const Case& c : cases) {
    WriteMachineFile(Narrow(Folder()) + "p2.rst", "");
    List(Named(c.count));
    if (c.readOnly) {
      const std::u16string printer = U(section_);
      ASSERT_TRUE(WriteMachineFile(Narrow(Folder()) + "p2.rst", "[" + std::string(printer.begin(), printer.end()) + "]\r\nReadonly=1\r\n"));
    }
    ItemSetValueById(ctx_, kItem_zdmPresetNo, c.presetNo);
    ItemSetText(ctx_, ItemFind(ctx_, kItem_wdmPresetName), W(c.name));
    if (c.answer) SimUiScriptAnswers(&c.answer, 1);
    Mark();
    WuiSetFocus(window_);
    const int kept = PresetHandleControl(ctx_, &page_, nullptr, WM_COMMAND, IDOK, 0, nullptr);
    const std::vector<std::u16string> boxes = Boxes();
    if (c.message) {
      ASSERT_EQ(1u, boxes.size()) << c.what;
      EXPECT_EQ(String(c.message), boxes[0]) << c.what;
    } else {
      EXPECT_TRUE(boxes.empty()) << c.what;
    }
    EXPECT_EQ(c.closes ? 0 : 1, kept) << c.what;
    if (!c.closes) {
      EXPECT_EQ(Control(2452)->window, Focus()) << c.what;
    }
    EXPECT_EQ(c.presetAfter, ItemGetValueById(ctx_, kItem_zdmPresetNo)) << c.what;
  }
}

std::vector<UINT>* g_sheetMessages = nullptr;
LRESULT CALLBACK RecordSheet(HWND, UINT message, WPARAM, LPARAM) {
  if (g_sheetMessages) g_sheetMessages->push_back(message);
  return 0;
}

// A page's preset choice lists the entries by name (at most as many as there are presets) and
// applies the one chosen, marking the sheet changed.
TEST_F(PresetDialogsTest, APagesPresetChoiceListsTheEntriesAndAppliesTheChosenOne) {
  HWND sheet = SimUiMakeWindow(W(u"#32770"), NULL, 0, 0);
  window_ = SimUiMakeWindow(W(u"#32770"), sheet, 0, WS_CHILD);
  page_.window = window_;
  page_.dialogId = 1002;
  ListValueRecord values[4] = {};
  for (int i = 0; i < 4; ++i) {
    values[i].valueId = WORD(60101 + i);
    values[i].next = i < 3 ? &values[i + 1] : nullptr;
  }
  ModelItemDescriptor desc = {};
  desc.values = &values[0];
  DlgControlRecord* box = Make(2036, u"COMBOBOX", 1545);
  box->descriptor = &desc;
  Bind();
  box = Control(2036);
  List(Named(3));
  ItemSetValueById(ctx_, kItem_zdmPresetNo, 120);
  EXPECT_EQ(1, PresetHandleControl(ctx_, &page_, box, WM_INITDIALOG, 0, 0, nullptr));
  ASSERT_EQ(3, WuiChoiceCount(box->window));
  EXPECT_EQ(u"PresetList0", String(60101));
  for (int i = 0; i < 3; ++i) {
    WCHAR text[64];
    WuiChoiceText(box->window, i, text, 64);
    EXPECT_EQ(u"P" + U16(std::to_string(i)), U(text));
    EXPECT_EQ(60101 + i, WuiChoiceData(box->window, i));
  }
  EXPECT_EQ(1, WuiChoiceSelection(box->window));

  std::vector<UINT> heard;
  g_sheetMessages = &heard;
  WuiSubclass(sheet, RecordSheet);
  ItemSetControlValue(ctx_, box, 60102);
  WuiChoiceSelect(box->window, 2);
  Command(2036, CBN_SELCHANGE);
  EXPECT_EQ(121, ItemGetValueById(ctx_, kItem_zdmPresetNo));
  EXPECT_EQ(60103, ItemGetControlValue(ctx_, box));
  EXPECT_EQ(u"P2", U(PresetNameWide()));
  EXPECT_EQ(1, std::count(heard.begin(), heard.end(), UINT(PSM_CHANGED)));
  // The entry already shown changes nothing.
  heard.clear();
  Command(2036, CBN_SELCHANGE);
  EXPECT_EQ(0, std::count(heard.begin(), heard.end(), UINT(PSM_CHANGED)));
  g_sheetMessages = nullptr;
}

// The default button applies the factory entry.
TEST_F(PresetDialogsTest, TheDefaultButtonAppliesTheFactoryEntry) {
  page_.dialogId = 1001;
  Make(2034, u"BUTTON");
  Bind();
  List(Named(3));
  PresetApplySlot(ctx_, 2);
  ItemSetValueById(ctx_, kItem_zdmPresetNo, 121);
  EXPECT_EQ(1, Command(2034));
  EXPECT_EQ(119, ItemGetValueById(ctx_, kItem_zdmPresetNo));
  EXPECT_EQ(u"P0", U(PresetNameWide()));
}

// The change button runs the detailed sheet. Cancelled, it keeps a watermark that still exists
// and drops one past the count; a preset the sheet saved as new becomes the current one.
void AppendDuringSheet(HWND, void* data) {
  auto* ctx = static_cast<DriverContext*>(data);
  PresetAppendEntry(ctx, W(u"C:\\new.rst"), W(u"Draft"), W(u""));
}

TEST_F(PresetSheetTest, TheChangeButtonRunsTheDetailedSheet) {
  page_.dialogId = 1001;
  Make(2003, u"BUTTON");
  Bind();
  List(Named(3));
  StampSetCount(ctx_, 5);
  const struct {
    LONG on, id;
    LONG onAfter, idAfter;
  } cases[] = {{1, 2, 1, 2}, {1, 7, 0, 0}, {0, 2, 0, 0}};
  for (const auto& c : cases) {
    ItemSetValueById(ctx_, kItem_zdmFuncSelectWaterMark, c.on);
    ItemSetValueById(ctx_, kItem_zdmWmID, c.id);
    SimUiScriptSheet(IDCANCEL);
    EXPECT_EQ(1, Command(2003));
    EXPECT_EQ(c.onAfter, ItemGetValueById(ctx_, kItem_zdmFuncSelectWaterMark)) << c.on << " " << c.id;
    EXPECT_EQ(c.idAfter, ItemGetValueById(ctx_, kItem_zdmWmID)) << c.on << " " << c.id;
    EXPECT_EQ(3, PresetGetCount(ctx_));
  }
  // Saved as new in the sheet: the new last entry is current.
  ItemSetValueById(ctx_, kItem_zdmPresetNo, 120);
  SimUiSetSheetHook(AppendDuringSheet, ctx_);
  SimUiScriptSheet(IDOK);
  Command(2003);
  SimUiSetSheetHook(nullptr, nullptr);
  EXPECT_EQ(4, PresetGetCount(ctx_));
  EXPECT_EQ(122, ItemGetValueById(ctx_, kItem_zdmPresetNo));
}

// The commands the preset page heard, routed to the module as the dialog engine does.
struct Heard {
  DriverContext* ctx;
  DlgPageRecord* page;
  std::vector<DlgControlRecord>* controls;
  std::vector<std::pair<WORD, WORD>> commands;
};
Heard* g_heard = nullptr;
LRESULT CALLBACK RoutePage(HWND, UINT message, WPARAM wParam, LPARAM lParam) {
  if (!g_heard || message != WM_COMMAND) return 0;
  g_heard->commands.push_back({LOWORD(wParam), HIWORD(wParam)});
  DlgControlRecord* control = nullptr;
  for (DlgControlRecord& c : *g_heard->controls)
    if (c.controlId == LOWORD(wParam)) control = &c;
  return PresetHandleControl(g_heard->ctx, g_heard->page, control, message, wParam, lParam, nullptr);
}

// The icon list's right button: the entry under the cursor is selected, the menu's items are
// greyed as the buttons are restricted, and a command chosen runs the detailed sheet or the
// maintenance dialog.
TEST_F(PresetSheetTest, TheIconListsMenuFollowsTheRestrictedButtons) {
  page_.dialogId = 1001;
  Make(2001, u"LISTBOX");
  records_.back().state = 0;
  Make(2002, u"BUTTON");
  Make(2003, u"BUTTON");
  Bind();
  SimUiSetStyle(Control(2001)->window, WS_CHILD | WS_VISIBLE | LBS_NOTIFY);
  List(Named(5));
  const struct {
    const char* what;
    bool maintenanceRestricted, changeRestricted, listRestricted;
    UINT command;
    DWORD greyed;                    // the menu's greyed positions; none tracked when ~0
    std::vector<WORD> heard;         // the page's commands after the selection's
  } cases[] = {
      {"detailed sheet", false, false, false, 20002, 0, {20002, 2003}},
      {"maintenance", false, false, false, 20003, 0, {20003, 2002}},
      {"maintenance restricted", true, false, false, 20003, 1, {}},
      {"change restricted", false, true, false, 20002, 2, {}},
      {"both restricted, detailed sheet", true, true, false, 20002, 3, {}},
      {"maintenance restricted, detailed sheet", true, false, false, 20002, 1, {20002, 2003}},
      {"dismissed", false, false, false, 0, 0, {}},
      {"list restricted", false, false, true, 20002, ~DWORD(0), {}},
  };
  for (const auto& c : cases) {
    HWND list = Control(2001)->window;
    WuiChoiceReset(list);
    for (int i = 0; i < 5; ++i) WuiChoiceAdd(list, W(u"x"), 60101 + i);
    WuiChoiceSelect(list, 0);
    Control(2002)->state = c.maintenanceRestricted ? 4 : 0;
    Control(2003)->state = c.changeRestricted ? 4 : 0;
    Control(2001)->state = c.listRestricted ? 4 : 0;
    Heard heard = {ctx_, &page_, &controls_, {}};
    g_heard = &heard;
    WuiSubclass(window_, RoutePage);
    SimUiScriptMenu(c.command);
    SimUiScriptSheet(IDCANCEL);
    Mark();
    // Released over entry 3.
    const LPARAM at = MAKELPARAM(5, 3 * kSimUiListLine + 4);
    const int taken = PresetHandleControl(ctx_, &page_, Control(2001), WM_RBUTTONUP, 0, at, nullptr);
    SimUiPump();
    g_heard = nullptr;
    std::vector<SimUiCall> menus, sheets;
    for (DWORD i = mark_; i < SimUiCallCount(); ++i) {
      SimUiCall call = {};
      SimUiGetCall(i, &call);
      if (call.kind == kSimUiPopupMenu) menus.push_back(call);
      if (call.kind == kSimUiPropertySheet) sheets.push_back(call);
    }
    if (c.greyed == ~DWORD(0)) {
      EXPECT_EQ(0, taken) << c.what;
      EXPECT_TRUE(menus.empty()) << c.what;
      EXPECT_EQ(0, WuiChoiceSelection(list)) << c.what;
      EXPECT_TRUE(heard.commands.empty()) << c.what;
      continue;
    }
    EXPECT_EQ(1, taken) << c.what;
    EXPECT_EQ(3, WuiChoiceSelection(list)) << c.what;
    ASSERT_EQ(1u, menus.size()) << c.what;
    EXPECT_EQ(20001, menus[0].id);
    EXPECT_EQ(window_, menus[0].window);
    EXPECT_EQ(2u, menus[0].style) << "two items";
    EXPECT_EQ(LONG_PTR(c.greyed), menus[0].value) << c.what;
    // The selection told the page first, then the menu's command and the button's.
    ASSERT_FALSE(heard.commands.empty()) << c.what;
    EXPECT_EQ(std::make_pair(WORD(2001), WORD(LBN_SELCHANGE)), heard.commands[0]) << c.what;
    std::vector<WORD> rest;
    for (size_t i = 1; i < heard.commands.size(); ++i) rest.push_back(heard.commands[i].first);
    EXPECT_EQ(c.heard, rest) << c.what;
    const bool sheetRan = !c.heard.empty() && c.heard.back() == 2003;
    EXPECT_EQ(sheetRan ? 1u : 0u, sheets.size()) << c.what;
    if (sheetRan) {
      int pages[8] = {};
      const int shown = SimUiLastSheetPages(pages, 8);
      EXPECT_NE(pages + shown, std::find(pages, pages + shown, 1003)) << c.what;
    }
  }
}

// Messages posted to the hand-made dialog reach the module as the dialog engine routes them.
struct Routed {
  DriverContext* ctx;
  DlgPageRecord* page;
};
Routed* g_routed = nullptr;
LRESULT CALLBACK RouteDialog(HWND, UINT message, WPARAM wParam, LPARAM lParam) {
  if (g_routed) PresetHandleControl(g_routed->ctx, g_routed->page, nullptr, message, wParam, lParam, nullptr);
  return 0;
}

// The refresh keeps the device settings and the custom media; a page's maintenance button
// writes them back once, over whatever the entries applied meanwhile.
TEST_F(PresetDialogsTest, RefreshKeepsDeviceValuesThatAPagesMaintenanceButtonWritesBack) {
  MakeMaintenance();
  Make(2141, u"BUTTON");
  Bind();
  List(Named(3));
  ItemSetRawById(ctx_, 1494, 4);  // custom media are supported
  const struct {
    WORD item;
    LONG kept, changed;
    bool restored;
  } cases[] = {{10013, 2, 1, true}, {1495, 7, 3, true}, {1496, 5, 2, true}, {kItem_dmCopies, 4, 6, false}};
  for (const auto& c : cases) ItemSetRawById(ctx_, c.item, c.kept);
  Routed routed = {ctx_, &page_};
  g_routed = &routed;
  WuiSubclass(window_, RouteDialog);
  EXPECT_EQ(1, Command(2141));
  SimUiPump();
  g_routed = nullptr;
  for (const auto& c : cases) {
    ItemSetRawById(ctx_, c.item, c.changed);
    ASSERT_EQ(c.changed, ItemGetRawById(ctx_, c.item)) << c.item;
  }
  // A page's maintenance button, its dialog closed.
  DlgPageRecord page = {};
  page.dialogId = 1002;
  page.window = SimUiMakeWindow(W(u"#32770"), NULL, 0, 0);
  Make(2037, u"BUTTON");
  Bind();
  Command(2037, BN_CLICKED, &page);
  for (const auto& c : cases) EXPECT_EQ(c.restored ? c.kept : c.changed, ItemGetRawById(ctx_, c.item)) << c.item;
  // Spent: the next click writes nothing back.
  for (const auto& c : cases) ItemSetRawById(ctx_, c.item, c.changed);
  Command(2037, BN_CLICKED, &page);
  for (const auto& c : cases) EXPECT_EQ(c.changed, ItemGetRawById(ctx_, c.item)) << c.item;
}

// The refresh selects a repeated name's later entry and warns of it, else the factory entry.
TEST_F(PresetDialogsTest, RefreshWarnsOfARepeatedNameAndSelectsIt) {
  MakeMaintenance();
  Make(2141, u"BUTTON");
  Bind();
  const struct {
    int repeatAt;  // the entry that takes entry 1's name, -1 for none
    int selected;
    bool warned;
  } cases[] = {{3, 3, true}, {-1, 0, false}, {2, 2, true}};
  for (const auto& c : cases) {
    std::vector<Entry> entries = Named(4);
    if (c.repeatAt >= 0) entries[c.repeatAt].name = u"P1";
    List(entries);
    Select(1);
    Routed routed = {ctx_, &page_};
    g_routed = &routed;
    WuiSubclass(window_, RouteDialog);
    Mark();
    Command(2141);
    SimUiPump();
    g_routed = nullptr;
    EXPECT_EQ(c.selected, Selection()) << c.repeatAt;
    EXPECT_EQ(c.warned ? std::vector<std::u16string>{String(10052)} : std::vector<std::u16string>{}, Boxes())
        << c.repeatAt;
    EXPECT_EQ(Control(2145)->window, Focus()) << c.repeatAt;
    EXPECT_EQ(u"P" + U16(std::to_string(c.selected == 3 || c.selected == 2 ? 1 : 0)), U(PresetNameWide()))
        << c.repeatAt;
  }
}

// The maintenance dialog does not close while two entries share a name: the later one is
// selected and warned of; once the names differ, Close closes it.
struct CloseRun {
  DriverContext* ctx;
  int rounds = 0;
  bool openAfterRefusal = false;
  std::u16string commentAfterRefusal, status;
  std::function<void()> rename;
};
void PressClose(void* data) {
  auto* run = static_cast<CloseRun*>(data);
  HWND top = WuiActiveWindow();
  if (!top || run->rounds > 2) return;
  if (run->rounds == 0) {
    // The status field shows the settings summary when it is shown.
    HWND status = WuiFindControl(top, 2148);
    WuiSend(status, WM_PAINT, 0, 0);
    WCHAR text[1025] = {};
    WuiGetText(status, text, 1025);
    run->status = U(text);
  }
  if (run->rounds == 1) {
    run->openAfterRefusal = WuiIsWindow(top) != FALSE;
    // The entry applied: the later of the two (its comment tells it from the first).
    WCHAR comment[16] = {};
    ItemGetTextBounded(run->ctx, ItemFind(run->ctx, 926), comment, 16);
    run->commentAfterRefusal = U(comment);
    run->rename();
  }
  ++run->rounds;
  SimUiUserClick(WuiFindControl(top, 8));
}

TEST_F(PresetSheetTest, TheMaintenanceDialogRefusesToCloseOnARepeatedName) {
  std::vector<Entry> entries = Named(4);
  entries[3].name = u"P1";
  List(entries);
  ItemSetValueById(ctx_, kItem_zdmPresetNo, 119);
  CloseRun run;
  run.ctx = ctx_;
  run.rename = [this] { Key(EntryKey(3, 1), u"Other"); };
  Mark();
  SimUiSetIdleHook(PressClose, &run);
  const int result = DlgRunSubDialog(ctx_, 4, 1007, window_);
  SimUiSetIdleHook(nullptr, nullptr);
  EXPECT_EQ(8, result);
  EXPECT_EQ(2, run.rounds);
  EXPECT_TRUE(run.openAfterRefusal);
  EXPECT_EQ(u"c3", run.commentAfterRefusal);
  WCHAR summary[1025] = {};
  SummaryComposeLines(ctx_, kSummaryLines, kSummaryLineCount, summary, kSummaryCapacityPlain);
  EXPECT_FALSE(run.status.empty());
  EXPECT_EQ(U(summary).substr(0, 40), run.status.substr(0, 40));
  EXPECT_EQ(std::vector<std::u16string>{String(10052)}, Boxes());
}

}  // namespace
}  // namespace zems_test
