// The print-quality module's dialogs on the fake, over the sample printer's context: the
// per-object re-binding, the saved quality lists of the print-quality page, the
// colour-matching choice with the user's profiles, the profile dialogs and the notify codes
// that show messages or refresh pages.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/common/draw_ui.h"
#include "core/common/ini_access.h"
#include "core/common/text.h"
#include "core/common/window_ui.h"
#include "core/context/module_bus.h"
#include "core/context/settings_snapshot.h"
#include "core/context/ui_state.h"
#include "core/front/control_lookup.h"
#include "core/front/control_types.h"
#include "core/front/dialog_engine.h"
#include "core/front/file_dialog_kinds.h"
#include "core/front/page_lookup.h"
#include "core/items/item_access.h"
#include "core/items/item_ids.h"
#include "core/items/control_states.h"
#include "core/items/item_table.h"
#include "core/model/model_types.h"
#include "core/modules/cmm_profiles.h"
#include "core/modules/module_rows.h"
#include "core/modules/preset_entries.h"
#include "core/modules/quality_hooks.h"
#include "core/modules/quality_dialogs.h"
#include "core/store/preset_store.h"
#include "core/store/settings_stores.h"
#include "core/store/store_keys.h"
#include "core/system/resources.h"
#include "platform/sim.h"
#include "support/sample_context.h"
#include "support/ui_calls.h"

namespace zems_test {
namespace {

const WCHAR* W(const char16_t* s) { return reinterpret_cast<const WCHAR*>(s); }
std::u16string U(const WCHAR* w) { return reinterpret_cast<const char16_t*>(w); }
std::u16string U16(const std::string& s) { return std::u16string(s.begin(), s.end()); }

// Events the module bus carried while a recorder sat in front of the rows.
// Event 47 is kept with the item of the description whose actions run.
std::vector<int>* g_events = nullptr;
std::vector<WORD>* g_actionItems = nullptr;
int RecordEvent(DriverContext*, int event, void* argument, void*) {
  if (g_events) g_events->push_back(event);
  if (event == kEventNodeActions && g_actionItems && argument) {
    const auto* node = static_cast<const DlgNodeEvent*>(argument);
    g_actionItems->push_back(node->descriptor ? node->descriptor->itemId : 0);
  }
  return 0;
}

class QualityDialogsTest : public SampleContextTest {
 protected:
  void SetUp() override {
    SampleContextTest::SetUp();
    if (HasFatalFailure()) return;
    DlgBindControls(ctx_, PageFind(ctx_, 1021));
    StoreCopySettingsIni(ctx_, ini_);
    ASSERT_TRUE(ini_[0]);
    const std::u16string ini = U(ini_);
    ASSERT_TRUE(WriteMachineFile(std::string(ini.begin(), ini.end()), ""));
  }
  void TearDown() override {
    for (WORD id : opened_) ForgetWindows(id);
    if (recorded_ && ctx_) ctx_->ui->modules->rows[kModulePresets].event = savedEvent_;
    g_events = nullptr;
    g_actionItems = nullptr;
    SampleContextTest::TearDown();
  }
  // Gives the context's page and the named controls windows of the fake.
  DlgPageRecord* Open(WORD pageId, std::initializer_list<std::pair<WORD, const char16_t*>> controls) {
    DlgPageRecord* page = PageFind(ctx_, pageId);
    EXPECT_NE(nullptr, page);
    if (!page) return nullptr;
    page->window = SimUiMakeWindow(W(u"#32770"), NULL, 0, 0);
    for (const auto& c : controls)
      if (DlgControlRecord* control = CtlFind(ctx_, page, c.first))
        control->window = SimUiMakeWindow(W(c.second), page->window, c.first, WS_CHILD | WS_VISIBLE);
    opened_.push_back(pageId);
    return page;
  }
  DlgControlRecord* Control(WORD pageId, WORD id) { return CtlFind(ctx_, PageFind(ctx_, pageId), id); }
  int Command(WORD pageId, WORD id, WORD code = BN_CLICKED) {
    DlgControlRecord* control = Control(pageId, id);
    return QualityHandleControl(ctx_, PageFind(ctx_, pageId), control, WM_COMMAND, MAKEWPARAM(id, code),
                                LPARAM(control ? control->window : NULL), nullptr);
  }
  void RecordEvents() {
    events_.clear();
    actionItems_.clear();
    g_events = &events_;
    g_actionItems = &actionItems_;
    if (!recorded_) savedEvent_ = ctx_->ui->modules->rows[kModulePresets].event;
    ctx_->ui->modules->rows[kModulePresets].event = RecordEvent;
    recorded_ = true;
  }
  bool RanActionsOf(WORD item) {
    for (WORD i : actionItems_)
      if (i == item) return true;
    return false;
  }
  bool Sent(int event) {
    for (int e : events_)
      if (e == event) return true;
    return false;
  }
  void ListKey(const char16_t* key, const std::u16string& value) {
    IniWriteString(StoreListLangCode(ctx_), W(key), W(value.c_str()), ini_);
  }
  // n profiles P0 .. P(n-1), the first `builtIn` built in, room for max.
  void Profiles(int n, int builtIn, int max) {
    ListKey(u"CmmCount", U16(std::to_string(n)));
    ListKey(u"CmmDefault", U16(std::to_string(builtIn)));
    ListKey(u"CmmMax", U16(std::to_string(max)));
    for (int i = 0; i < n; ++i) {
      WCHAR section[64];
      CmmFormatSection(ctx_, section, 64, i);
      const std::u16string name = u"P" + U16(std::to_string(i));
      IniWriteString(section, W(u"zdmColorMatchingMode"), W(name.c_str()), ini_);
      IniWriteString(section, W(u"wdmColorProfilePath"), W((u"C:\\p\\" + name + u".vtc").c_str()), ini_);
    }
  }
  // Saved quality lists 0 .. n-1: list k named "Q<k>" with brightness k.
  void SavedLists(int n) {
    WCHAR section[261], key[64];
    StoreCopyPrinterName(ctx_, section, 261);
    std::u16string ini = U(ini_);
    const std::u16string folder = ini.substr(0, ini.rfind(u'\\') + 1);
    IniWriteString(section, W(u"QualityCount"), W(U16(std::to_string(n)).c_str()), ini_);
    for (int k = 0; k < n; ++k) {
      const std::u16string file = folder + u"q" + U16(std::to_string(k)) + u".rst";
      IniWriteString(section, QualityKeyName(key, 64, k), W(file.c_str()), ini_);
      ItemSetRawById(ctx_, kItem_zdmBrightness, k);
      ItemSetText(ctx_, ItemFind(ctx_, 927), W((u"Q" + U16(std::to_string(k))).c_str()));
      ASSERT_EQ(1, QualitySaveSlot(ctx_, k)) << k;
    }
    ItemSetRawById(ctx_, kItem_zdmBrightness, 50);
  }
  std::vector<std::u16string> Boxes() { return MessageBoxTextsSince(mark_); }
  std::u16string String(UINT id) {
    WCHAR text[1025];
    ResLoadString(ctx_, id, text, 1025, TRUE);
    return U(text);
  }

  WCHAR ini_[kPathChars] = {};
  std::vector<WORD> opened_;
  std::vector<int> events_;
  std::vector<WORD> actionItems_;
  bool recorded_ = false;
  UiModuleEventFn savedEvent_ = nullptr;
  DWORD mark_ = 0;
};

// The dialog tables' control types with one type's command handler replaced.
std::vector<CtlTypeRecord> TypesWithCommand(WORD type, CtlCommandHandler command) {
  std::vector<CtlTypeRecord> table;
  for (int i = 0; i < CtlTypeCount(); ++i) {
    table.push_back(*CtlTypeAt(i));
    if (table.back().type == type) table.back().command = command;
  }
  return table;
}

constexpr WORD kPrintMacroItem = 177;  // zdmPrintMacro, the print mode

bool Changed(SettingItem* item) { return item && (item->state & ItemStateChangeMask) == ItemStateChanged; }

// Each notify code binds the table's controls to one object's items, the colour sample to the
// object's six colour items.
TEST_F(QualityDialogsTest, PerObjectCodesRebindTheControlsAndTheSample) {
  struct Case {
    WORD code;
    LONG adjustObject;  // for 109
    WORD dialog, control, item;
    WORD sample[6];
  } cases[] = {
      {101, 0, 1021, 2258, 967, {970, 973, 976, 979, 982, 985}},
      {102, 0, 1021, 2256, 962, {971, 974, 977, 980, 983, 986}},
      {103, 0, 1038, 2263, 972, {972, 975, 978, 981, 984, 987}},
      {107, 0, 4010, 2574, 132, {138, 139, 140, 141, 142, 143}},
      {104, 0, 1038, 2277, 985, {970, 973, 976, 979, 982, 985}},
      {105, 0, 1021, 2260, 965, {971, 974, 977, 980, 983, 986}},
      {106, 0, 1021, 2820, 1075, {972, 975, 978, 981, 984, 987}},
      {108, 0, 1038, 2274, 142, {138, 139, 140, 141, 142, 143}},
      {109, 1, 4010, 2256, 962, {971, 974, 977, 980, 983, 986}},
      {109, 2, 1038, 2266, 975, {972, 975, 978, 981, 984, 987}},
  };
  const WORD* sample = ctx_->ui->dialog.colourSample;
  ASSERT_EQ(sample, Control(1038, 2249)->extension) << "the sample's items are the context's own";
  for (const Case& c : cases) {
    ItemSetRawById(ctx_, kItem_zdmAdjustMode, 0);
    ItemSetRawById(ctx_, kItem_zdmAdjustObject, c.adjustObject);
    for (int i = 0; i < ctx_->items->count; ++i) ctx_->items->rows[i].state &= ~ItemStateChangeMask;
    EXPECT_EQ(1, QualityHandleNotify(ctx_, c.code, nullptr));
    DlgControlRecord* control = Control(c.dialog, c.control);
    ASSERT_NE(nullptr, control);
    ASSERT_NE(nullptr, control->item);
    EXPECT_EQ(c.item, control->item->id) << c.code << " " << c.control;
    EXPECT_TRUE(Changed(control->item)) << c.code;
    for (int i = 0; i < 6; ++i) EXPECT_EQ(c.sample[i], sample[3 + i]) << c.code << " sample " << i;
  }
  // Every row of the table follows: all twenty controls on the image object.
  QualityHandleNotify(ctx_, 103, nullptr);
  int count = 0;
  const QualityObjectRow* rows = QualityObjectRows(&count);
  EXPECT_EQ(20, count);
  for (int r = 0; r < count; ++r) {
    if (!rows[r].items[kQualityAllObjects]) continue;
    DlgControlRecord* control = Control(rows[r].dialog, rows[r].control);
    ASSERT_NE(nullptr, control) << rows[r].control;
    EXPECT_EQ(rows[r].items[kQualityImage], control->item ? control->item->id : 0) << rows[r].control;
  }
}

// 104 to 106 and 108 empty the quality mode; 110 binds the intent by the intent type.
TEST_F(QualityDialogsTest, ObjectChangesEmptyTheModeAndBindTheIntent) {
  DlgPageRecord* page = Open(1021, {{2632, u"COMBOBOX"}});
  HWND mode = Control(1021, 2632)->window;
  WuiChoiceAdd(mode, W(u"Standard"), 1);
  struct Case {
    WORD code;
    LONG adjustMode, icmType, object;
    WORD intent;
  } cases[] = {
      {104, 1, 0, 0, 132}, {105, 1, 1, 1, 959}, {106, 1, 2, 2, 960},
      {110, 1, 1, 0, 958}, {108, 0, 1, 0, 132},  // adjusted for all objects: the common intent stays
  };
  for (const Case& c : cases) {
    ItemSetRawById(ctx_, kItem_zdmAdjustMode, c.adjustMode);
    ItemSetRawById(ctx_, kItem_zdmICMType, c.icmType);
    ItemSetRawById(ctx_, kItem_zdmAdjustObject, c.object);
    if (Control(1021, 2632)->item) ItemSetRaw(ctx_, Control(1021, 2632)->item, 2);
    WuiChoiceSelect(mode, 0);
    QualityHandleNotify(ctx_, c.code, nullptr);
    EXPECT_EQ(-1, WuiChoiceSelection(mode)) << c.code;
    EXPECT_EQ(c.intent, Control(1021, 2574)->item->id) << c.code;
    EXPECT_EQ(c.intent, Control(4010, 2574)->item->id) << c.code;
  }
  // The dialog's start binds by the adjustment in force.
  ItemSetRawById(ctx_, kItem_zdmAdjustMode, 1);
  ItemSetRawById(ctx_, kItem_zdmAdjustObject, 2);
  EXPECT_EQ(1, QualityHandleControl(ctx_, page, nullptr, WM_INITDIALOG, 0, 0, nullptr));
  EXPECT_EQ(969, Control(1021, 2258)->item->id);
  ItemSetRawById(ctx_, kItem_zdmAdjustMode, 0);
  QualityHandleControl(ctx_, page, nullptr, WM_INITDIALOG, 0, 0, nullptr);
  EXPECT_EQ(137, Control(1021, 2258)->item->id);
}

// The saved-quality list's line: the picture square and the colours by state.
TEST(QualityListLineTest, LayoutByState) {
  const RECT line = {10, 20, 200, 62};
  struct Case {
    bool restricted, selected;
    int index;
    int background, text;
    UINT picture;
  } cases[] = {
      {false, false, 0, COLOR_WINDOW, COLOR_WINDOWTEXT, 6137},
      {false, true, 3, COLOR_HIGHLIGHT, COLOR_HIGHLIGHTTEXT, 6140},
      {true, false, 2, COLOR_BTNFACE, COLOR_GRAYTEXT, 6154},
      {true, true, 7, COLOR_BTNFACE, COLOR_GRAYTEXT, 6159},
  };
  for (const Case& c : cases) {
    const QualityListLine out = QualityListLineLayout(line, c.index, c.restricted, c.selected);
    EXPECT_EQ(c.background, out.background) << c.index;
    EXPECT_EQ(c.text, out.textColour) << c.index;
    EXPECT_EQ(c.picture, out.pictureId) << c.index;
    EXPECT_EQ(10, out.picture.left);
    EXPECT_EQ(10 + 42 + 10, out.picture.right);
    EXPECT_EQ(20, out.picture.top);
    EXPECT_EQ(62, out.picture.bottom);
    EXPECT_EQ(out.picture.right, out.text.left);
    EXPECT_EQ(200, out.text.right);
    EXPECT_EQ(200, out.fill.right);
  }
  // A line narrower than its picture keeps the picture inside it.
  const QualityListLine narrow = QualityListLineLayout(RECT{0, 0, 30, 42}, 0, false, false);
  EXPECT_EQ(30, narrow.picture.right);
  EXPECT_EQ(30, narrow.text.left);
}

class QualityPageTest : public QualityDialogsTest {
 protected:
  void SetUp() override {
    QualityDialogsTest::SetUp();
    if (HasFatalFailure()) return;
    SavedLists(4);
    if (HasFatalFailure()) return;
    page_ = Open(1006, {{2133, u"BUTTON"}, {2134, u"LISTBOX"}, {2136, u"BUTTON"}});
    list_ = Control(1006, 2134)->window;
    for (int k = 0; k < 4; ++k) WuiChoiceAdd(list_, W(u""), 135 + k);
  }
  DlgPageRecord* page_ = nullptr;
  HWND list_ = NULL;
};

TEST_F(QualityPageTest, TheUseBoxAppliesTheChosenListOrTheStandardMode) {
  DlgControlRecord* box = Control(1006, 2133);
  ASSERT_NE(nullptr, box->item);
  // Ticked against an item of 0: list 2 (brightness 2) applied, event 36.
  WuiChoiceSelect(list_, 2);
  ItemSetRaw(ctx_, box->item, 0);
  WuiSetCheck(box->window, BST_CHECKED);
  RecordEvents();
  EXPECT_EQ(1, Command(1006, 2133));
  EXPECT_EQ(2, ItemGetRawById(ctx_, kItem_zdmBrightness));
  EXPECT_TRUE(Sent(36));
  // Box and item agree: the module leaves it to the engine.
  ItemSetRaw(ctx_, box->item, 1);
  EXPECT_EQ(0, Command(1006, 2133));
  // Cleared against an item of 1: the standard mode's radio runs its actions.
  DlgControlRecord* group = Control(1006, 2122);
  ASSERT_NE(nullptr, group->item);
  ASSERT_NE(nullptr, Control(1006, 2127)->descriptor) << "the sample describes the print modes";
  ItemSetControlValue(ctx_, group, 2127);
  WuiSetCheck(box->window, BST_UNCHECKED);
  RecordEvents();
  EXPECT_EQ(1, Command(1006, 2133));
  EXPECT_TRUE(RanActionsOf(kPrintMacroItem)) << "the standard mode's actions";
  EXPECT_TRUE(Sent(36));
  // A mode that is no standard one runs nothing of the modes.
  ItemSetRaw(ctx_, box->item, 1);
  ItemSetControlValue(ctx_, group, 2122);
  RecordEvents();
  EXPECT_EQ(1, Command(1006, 2133));
  EXPECT_FALSE(RanActionsOf(kPrintMacroItem));
}

TEST_F(QualityPageTest, ChoosingAListCommitsItAndSendsTheFallback) {
  WuiChoiceSelect(list_, 3);
  RecordEvents();
  EXPECT_EQ(1, Command(1006, 2134, LBN_SELCHANGE));
  EXPECT_EQ(3, ItemGetRawById(ctx_, kItem_zdmBrightness));
  EXPECT_EQ(138, ItemGetControlValue(ctx_, Control(1006, 2134)));
  EXPECT_EQ(32 + 3, ItemGetRawById(ctx_, kItem_zdmUserPrintMacro));
  EXPECT_TRUE(Sent(kEventNodeActions)) << "the commit runs the list's actions";
  EXPECT_TRUE(Sent(36));
  // Other notifications of the list are the engine's.
  EXPECT_EQ(0, Command(1006, 2134, 2));
}

// The save dialog as the edit button's command handler: its OK with the picture chosen.
struct SaveDialogScript {
  DriverContext* ctx;
  LONG icon;
  bool ok;
  int runs;
};
SaveDialogScript* g_script = nullptr;
int ScriptedSaveDialog(DriverContext* ctx, DlgPageRecord*, DlgControlRecord*, WPARAM, LPARAM) {
  ++g_script->runs;
  ItemSetText(ctx, ItemFind(ctx, 927), W(u"Edited"));
  DlgPageRecord* dialog = PageFind(ctx, 1033);
  if (DlgControlRecord* icon = CtlFind(ctx, dialog, 2457))
    if (HWND window = icon->window) {
      WuiChoiceReset(window);
      WuiChoiceAdd(window, W(u""), g_script->icon);
      WuiChoiceSelect(window, 0);
    }
  if (g_script->ok) QualityHandleControl(ctx, dialog, nullptr, WM_COMMAND, IDOK, 0, nullptr);
  ctx->ui->front.okFlag = g_script->ok ? 1 : 0;
  return 0;
}

TEST_F(QualityPageTest, EditingASavedListWithOkSavesItsSlot) {
  Open(1033, {{2457, u"LISTBOX"}});
  // The button's type runs the scripted dialog.
  std::vector<CtlTypeRecord> table = TypesWithCommand(Control(1006, 2136)->type, ScriptedSaveDialog);
  CtlSetTypeTable(ctx_, table.data(), static_cast<LONG>(table.size()));
  struct Case {
    bool ok;
    LONG icon;
    int slot;  // saved, -1 none
  } cases[] = {{true, 6137 + 1, 1}, {false, 6137 + 2, -1}, {true, 6137 + 3, 3}};
  for (const Case& c : cases) {
    SavedLists(4);
    WuiChoiceSelect(list_, 0);
    SaveDialogScript script = {ctx_, c.icon, c.ok, 0};
    g_script = &script;
    EXPECT_EQ(1, Command(1006, 2136));
    g_script = nullptr;
    EXPECT_EQ(1, script.runs);
    for (int k = 0; k < 4; ++k) {
      CtxSnapshotPush(ctx_);
      QualityApplySlot(ctx_, k);
      WCHAR name[64];
      ItemGetTextBounded(ctx_, ItemFind(ctx_, 927), name, 64);
      // The edited list is list 0's settings under the new name.
      EXPECT_EQ(k == c.slot ? u"Edited" : u"Q" + U16(std::to_string(k)), U(name)) << c.slot << " " << k;
      EXPECT_EQ(k == c.slot ? 0 : k, ItemGetRawById(ctx_, kItem_zdmBrightness)) << c.slot << " " << k;
      CtxSnapshotPop(ctx_, TRUE);
    }
    if (c.slot >= 0) {
      EXPECT_EQ(135 + c.slot, ItemGetControlValue(ctx_, Control(1006, 2134)));
    }
  }
  // No list chosen: nothing runs.
  WuiChoiceSelect(list_, -1);
  SaveDialogScript idle = {ctx_, 6137, true, 0};
  g_script = &idle;
  EXPECT_EQ(0, Command(1006, 2136));
  g_script = nullptr;
  EXPECT_EQ(0, idle.runs);
  CtlSetTypeTable(ctx_, nullptr, 0);
}

// The owner-drawn list draws each line's picture and its list's name.
TEST_F(QualityPageTest, TheListDrawsPictureAndName) {
  HDC dc = DuiGetDc(list_);
  DRAWITEMSTRUCT item = {};
  item.CtlType = ODT_LISTBOX;
  item.CtlID = 2134;
  item.itemID = 2;
  item.itemAction = ODA_DRAWENTIRE;
  item.itemState = ODS_SELECTED;
  item.hwndItem = list_;
  item.hDC = dc;
  item.rcItem = {0, 0, 180, 42};
  item.itemData = 137;
  SimDrawReset();
  const LONG before = static_cast<LONG>(ItemGetRawById(ctx_, kItem_zdmBrightness));
  EXPECT_EQ(1, QualityHandleControl(ctx_, page_, Control(1006, 2134), WM_DRAWITEM, 2134, LPARAM(&item), nullptr));
  EXPECT_EQ(before, ItemGetRawById(ctx_, kItem_zdmBrightness)) << "the name is read inside a snapshot";
  bool picture = false, name = false, fill = false;
  for (DWORD i = 0; i < SimDrawCallCount(); ++i) {
    SimDrawCall call = {};
    if (!SimDrawGetCall(i, &call)) continue;
    if (call.kind == kSimDrawPicture && call.id == 6139) picture = true;
    if (call.kind == kSimDrawText && U(call.text) == u"Q2") name = true;
    if (call.kind == kSimDrawFill && call.colour == DuiSysColor(COLOR_HIGHLIGHT)) fill = true;
  }
  EXPECT_TRUE(picture);
  EXPECT_TRUE(name);
  EXPECT_TRUE(fill);
  DuiReleaseDc(list_, dc);
}

// The edit button as the sample describes it: the save dialog runs; its OK with the third
// picture saves list 0's settings, renamed, as list 2.
void AnswerSaveDialog(void* data) {
  int* calls = static_cast<int*>(data);
  if ((*calls)++ > 0) return;
  HWND top = WuiActiveWindow();
  if (!top) return;
  if (HWND icon = WuiFindControl(top, 2457)) {
    WuiChoiceReset(icon);
    WuiChoiceAdd(icon, W(u""), 6137 + 2);
    WuiChoiceSelect(icon, 0);
  }
  WuiSend(top, WM_COMMAND, IDOK, 0);
}

TEST_F(QualityPageTest, TheSampleEditButtonRunsTheSaveDialog) {
  ASSERT_NE(nullptr, Control(1006, 2136)->descriptor);
  ctx_->currentPage = 1006;
  WuiChoiceSelect(list_, 0);
  int calls = 0;
  SimUiSetIdleHook(AnswerSaveDialog, &calls);
  EXPECT_EQ(1, Command(1006, 2136));
  SimUiSetIdleHook(nullptr, nullptr);
  EXPECT_EQ(1, calls);
  EXPECT_EQ(137, ItemGetControlValue(ctx_, Control(1006, 2134)));
  QualityApplySlot(ctx_, 2);
  EXPECT_EQ(0, ItemGetRawById(ctx_, kItem_zdmBrightness)) << "list 0's settings saved as list 2";
}

// Notify 310 shows the stored list and applies it while in use; 325 saves it; 311 reads its
// factory name.
TEST_F(QualityPageTest, StoredListCodes) {
  ItemSetRawById(ctx_, kItem_zdmUserPrintMacro, 32 + 2);
  ItemSetRawById(ctx_, kItem_zdmUseUserMacro, 1);
  QualityHandleNotify(ctx_, 310, nullptr);
  EXPECT_EQ(2, WuiChoiceSelection(list_));
  EXPECT_EQ(2, ItemGetRawById(ctx_, kItem_zdmBrightness));
  ItemSetRawById(ctx_, kItem_zdmBrightness, 9);
  ItemSetRawById(ctx_, kItem_zdmUseUserMacro, 1);  // the list's file keeps its own switch
  ItemSetRawById(ctx_, kItem_zdmUserPrintMacro, 32 + 2);
  QualityHandleNotify(ctx_, 325, nullptr);
  QualityApplySlot(ctx_, 0);
  QualityApplySlot(ctx_, 2);
  EXPECT_EQ(9, ItemGetRawById(ctx_, kItem_zdmBrightness));
  // Not in use: shown, neither applied nor saved.
  ItemSetRawById(ctx_, kItem_zdmUseUserMacro, 0);
  ItemSetRawById(ctx_, kItem_zdmUserPrintMacro, 32 + 1);
  ItemSetRawById(ctx_, kItem_zdmBrightness, 7);
  QualityHandleNotify(ctx_, 310, nullptr);
  EXPECT_EQ(1, WuiChoiceSelection(list_));
  EXPECT_EQ(7, ItemGetRawById(ctx_, kItem_zdmBrightness));
  QualityHandleNotify(ctx_, 325, nullptr);
  QualityApplySlot(ctx_, 1);
  EXPECT_EQ(1, ItemGetRawById(ctx_, kItem_zdmBrightness));
}

// The colour-matching choice: the model's values not disabled and the user's profiles by name
// up to the count; a choice loads the profile's name and file.
TEST_F(QualityDialogsTest, TheMatchingChoiceListsBuiltInsAndProfilesUpToTheCount) {
  Profiles(6, 4, 8);
  DlgPageRecord* page = Open(4010, {{2256, u"COMBOBOX"}});
  DlgControlRecord* choice = Control(4010, 2256);
  // A list of two built-in values and eight profile places.
  ListValueRecord values[10] = {};
  const WORD ids[10] = {3028, 3116, 565, 566, 567, 568, 569, 570, 571, 572};
  for (int i = 0; i < 10; ++i) {
    values[i].valueId = ids[i];
    values[i].next = i < 9 ? &values[i + 1] : nullptr;
  }
  ModelItemDescriptor desc = {};
  desc.type = kModelTypePickOne;
  desc.values = values;
  const ModelItemDescriptor* saved = choice->descriptor;
  choice->descriptor = &desc;
  RecordEvents();
  EXPECT_EQ(1, QualityHandleControl(ctx_, page, choice, WM_INITDIALOG, 0, 0, nullptr));
  std::vector<std::u16string> lines;
  std::vector<LPARAM> data;
  for (int i = 0; i < WuiChoiceCount(choice->window); ++i) {
    WCHAR text[64];
    WuiChoiceText(choice->window, i, text, 64);
    lines.push_back(U(text));
    data.push_back(WuiChoiceData(choice->window, i));
  }
  EXPECT_EQ((std::vector<std::u16string>{String(3028), String(3116), u"P0", u"P1", u"P2", u"P3", u"P4", u"P5"}),
            lines);
  EXPECT_EQ((std::vector<LPARAM>{3028, 3116, 565, 566, 567, 568, 569, 570}), data);
  EXPECT_TRUE(Sent(36));
  // Choosing: the selected profile is loaded.
  ItemSetRawById(ctx_, kItem_zdmColorMatchingMode, 200 + 5);
  Command(4010, 2256, CBN_SELCHANGE);
  EXPECT_EQ(u"P5", U(ctx_->ui->cmmName));
  EXPECT_EQ(u"C:\\p\\P5.vtc", U(ctx_->ui->cmmPath));
  choice->descriptor = saved;
}

// Adding a profile: the name and file being edited become the last entry; a full list says so.
TEST_F(QualityDialogsTest, AddingToAFullListShowsItsMessage) {
  Profiles(6, 4, 7);
  Open(4010, {{2256, u"COMBOBOX"}});
  ctx_->currentPage = 4010;
  StrCopyCut(ctx_->ui->cmmName, kCmmTextChars, W(u"Proof"));
  StrCopyCut(ctx_->ui->cmmPath, kCmmTextChars, W(u"C:\\p\\proof.vtc"));
  mark_ = SimUiCallCount();
  QualityHandleNotify(ctx_, 123, nullptr);
  EXPECT_TRUE(Boxes().empty());
  EXPECT_EQ(7, CmmGetCount(ctx_));
  EXPECT_EQ(200 + 6, ItemGetRawById(ctx_, kItem_zdmColorMatchingMode)) << "the new entry is chosen";
  CmmLoadEntry(ctx_, 6);
  EXPECT_EQ(u"Proof", U(ctx_->ui->cmmName));
  mark_ = SimUiCallCount();
  QualityHandleNotify(ctx_, 111, nullptr);
  EXPECT_EQ(std::vector<std::u16string>{String(10079)}, Boxes());
  EXPECT_EQ(7, CmmGetCount(ctx_));
  ASSERT_FALSE(String(10079).empty());
}

// The delete button's judge: restricted while a built-in entry or none is selected.
TEST_F(QualityDialogsTest, DeleteIsRefusedWhileABuiltInProfileIsSelected) {
  Profiles(6, 4, 8);
  struct Case {
    LONG value;
    int noUserProfile;
    LONG countAfter;
  } cases[] = {{200 + 2, 1, 6}, {0, 1, 6}, {200 + 4, 0, 5}};
  for (const Case& c : cases) {
    Profiles(6, 4, 8);
    ItemSetRawById(ctx_, kItem_zdmColorMatchingMode, c.value);
    EXPECT_EQ(c.noUserProfile, CmmAnswerJudgeHook(ctx_, 1292)) << c.value;
    QualityHandleNotify(ctx_, 112, nullptr);
    EXPECT_EQ(c.countAfter, CmmGetCount(ctx_)) << c.value;
  }
}

// The sample model restricts the colour-matching dialog's buttons: delete and modify while a
// built-in entry or none is chosen, add while the list is full.
TEST_F(QualityDialogsTest, TheSampleRestrictsTheProfileButtons) {
  DlgPageRecord* page = PageFind(ctx_, 4010);
  struct Case {
    int count, max;
    LONG value;
    int add, modify, remove;
  } cases[] = {
      {6, 8, 200 + 2, 0, 1, 1},  // a built-in entry
      {6, 8, 0, 0, 1, 1},        // no profile
      {6, 8, 200 + 5, 0, 0, 0},  // a user profile
      {8, 8, 200 + 5, 1, 0, 0},  // the list full
  };
  for (const Case& c : cases) {
    Profiles(c.count, 4, c.max);
    ItemSetRawById(ctx_, kItem_zdmColorMatchingMode, c.value);
    const std::string row = std::to_string(c.count) + " " + std::to_string(c.value);
    EXPECT_EQ(c.add, CtlEvalRestricted(ctx_, page, Control(4010, 2827))) << row;
    EXPECT_EQ(c.modify, CtlEvalRestricted(ctx_, page, Control(4010, 2829))) << row;
    EXPECT_EQ(c.remove, CtlEvalRestricted(ctx_, page, Control(4010, 2828))) << row;
  }
}

// The rows of the quality dialogs carry the notify codes their changes send.
TEST_F(QualityDialogsTest, TheControlRowsCarryTheirNotifyCodes) {
  struct Case {
    WORD dialog, control, code;
  } cases[] = {
      {1021, 2633, 108}, {1021, 2634, 109}, {1021, 2635, 104}, {1021, 2636, 105}, {1021, 2637, 106},
      {1021, 2258, 100}, {1021, 2256, 100}, {1021, 2632, 0},   {1038, 2633, 108}, {1038, 2637, 106},
      {4010, 2634, 109}, {4010, 2636, 105}, {4010, 2827, 2},
  };
  for (const Case& c : cases) {
    DlgControlRecord* control = Control(c.dialog, c.control);
    ASSERT_NE(nullptr, control) << c.dialog << " " << c.control;
    EXPECT_EQ(c.code, control->notifyCode) << c.dialog << " " << c.control;
  }
  // The profile buttons and OK buttons are described, so their clicks run the model's actions.
  for (WORD id : {2827, 2828, 2829}) EXPECT_NE(nullptr, Control(4010, id)->descriptor) << id;
  for (WORD dialog : {4011, 4012}) {
    EXPECT_NE(nullptr, Control(dialog, 2826)->descriptor) << dialog;
    EXPECT_NE(nullptr, Control(dialog, 1)->descriptor) << dialog;
  }
}

// The profile dialogs: the edits show and take the entry; a new entry starts empty; the
// browse button runs the file dialog as the colour-profile kind.
DlgPageRecord* g_browse = nullptr;
WORD g_kindSeen = 0;
int BrowseSeesItsKind(DriverContext* ctx, DlgPageRecord*, DlgControlRecord*, WPARAM, LPARAM) {
  const FileDialogKind* kind = DlgFileDialogKindOf(g_browse);
  g_kindSeen = kind ? kind->kind : 0;
  StrCopyCut(PresetGetChosenFilePath(ctx), kPresetChosenFileChars, W(u"C:\\p\\good.vtc"));
  return 0;
}

TEST_F(QualityDialogsTest, ProfileDialogsEditTheEntryAndBrowseForAProfile) {
  DlgPageRecord* page = Open(4011, {{2823, u"EDIT"}, {2825, u"EDIT"}, {2826, u"BUTTON"}});
  StrCopyCut(ctx_->ui->cmmName, kCmmTextChars, W(u"Old"));
  CtxAddChangeFlags(ctx_, kChangeNewPreset);
  QualityHandleControl(ctx_, page, nullptr, WM_INITDIALOG, 0, 0, nullptr);
  EXPECT_EQ(u"", U(ctx_->ui->cmmName));
  EXPECT_EQ(0u, CtxGetChangeFlags(ctx_) & kChangeNewPreset);
  DlgControlRecord* name = Control(4011, 2823);
  EXPECT_EQ(1, QualityHandleControl(ctx_, page, name, WM_INITDIALOG, 0, 0, nullptr));
  WuiSetText(name->window, W(u"Proof"));
  QualityHandleControl(ctx_, page, name, WM_COMMAND, MAKEWPARAM(2823, EN_CHANGE), LPARAM(name->window), nullptr);
  EXPECT_EQ(u"Proof", U(ctx_->ui->cmmName));
  // The browse: the image browse runs as the profile kind, and is the image browse again after.
  std::vector<CtlTypeRecord> table = TypesWithCommand(Control(4011, 2826)->type, BrowseSeesItsKind);
  CtlSetTypeTable(ctx_, table.data(), static_cast<LONG>(table.size()));
  g_browse = PageFind(ctx_, 4003);
  EXPECT_EQ(1, Command(4011, 2826));
  EXPECT_EQ(kFileKindColourData, g_kindSeen);
  EXPECT_EQ(kFileKindImage, DlgFileDialogKindOf(g_browse)->kind);
  EXPECT_EQ(u"C:\\p\\good.vtc", U(ctx_->ui->cmmPath));
  WCHAR shown[64];
  WuiGetText(Control(4011, 2825)->window, shown, 64);
  EXPECT_EQ(u"C:\\p\\good.vtc", U(shown));
  CtlSetTypeTable(ctx_, nullptr, 0);
}


// The browse button as the sample describes it: the file dialog runs with the profile hook and
// filter; a foreign file keeps it open with its message, a profile closes it and becomes the
// entry's file.
TEST_F(QualityDialogsTest, BrowsingFromTheAddDialogTakesOnlyAProfile) {
  std::string profile(128, '\0');
  const struct {
    size_t at;
    const char* text;
  } fields[] = {{4, "OVMS"}, {12, "prtr"}, {20, "RGB "}, {36, "acsp"}, {48, "ORVL"}};
  for (const auto& f : fields)
    for (size_t i = 0; i < 4; ++i) profile[f.at + i] = f.text[i];
  ASSERT_TRUE(WriteMachineFile("C:\\p\\good.vtc", profile));
  ASSERT_TRUE(WriteMachineFile("C:\\p\\foreign.vtc", std::string(128, 'x')));
  DlgPageRecord* page = Open(4011, {{2823, u"EDIT"}, {2825, u"EDIT"}, {2826, u"BUTTON"}});
  ctx_->currentPage = 4011;
  const SimUiFileStep steps[] = {{W(u"C:\\p\\foreign.vtc"), IDOK}, {W(u"C:\\p\\good.vtc"), IDOK}};
  SimUiScriptFileDialog(steps, 2);
  mark_ = SimUiCallCount();
  EXPECT_EQ(1, Command(4011, 2826));
  EXPECT_EQ(std::vector<std::u16string>{String(10077)}, Boxes());
  SimUiFileDialogSeen seen = {};
  SimUiLastFileDialog(&seen);
  EXPECT_EQ(1, seen.count);
  EXPECT_EQ(u"*.vtc", U(seen.filterPattern));
  EXPECT_EQ(u"C:\\p\\good.vtc", U(ctx_->ui->cmmPath));
  WCHAR shown[64];
  WuiGetText(Control(4011, 2825)->window, shown, 64);
  EXPECT_EQ(u"C:\\p\\good.vtc", U(shown));
  EXPECT_EQ(kFileKindImage, DlgFileDialogKindOf(PageFind(ctx_, 4003))->kind);
  (void)page;
}

}  // namespace
}  // namespace zems_test
