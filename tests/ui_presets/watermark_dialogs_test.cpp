// The watermark module's dialogs on the fake: the font choices, the watermark list's buttons and
// their restricted states.
#include "ui_presets/dialogs_fixture.h"

#include "core/front/control_lookup.h"
#include "core/front/page_lookup.h"
#include "core/modules/watermark_dialogs.h"
#include "core/store/settings_stores.h"
#include "core/store/stamp_store.h"

namespace zems_test {
namespace {

constexpr WORD kFontItem = 945;  // wdmWmFontName
constexpr WORD kHeaderFontItem = 115, kCopyProtectFontItem = 525;

class WatermarkDialogsTest : public ModuleDialogsTest {
 protected:
  std::u16string ItemText(WORD id) {
    WCHAR text[64] = {};
    ItemGetTextBounded(ctx_, ItemFind(ctx_, id), text, 64);
    return U(text);
  }
  std::vector<std::u16string> Lines(HWND box) {
    std::vector<std::u16string> out;
    for (int i = 0; i < WuiChoiceCount(box); ++i) {
      WCHAR text[300];
      WuiChoiceText(box, i, text, 300);
      out.push_back(U(text));
    }
    return out;
  }
  // Watermarks 0 .. count - 1 of the settings ini, each a text watermark named W<i>.
  void Stamps(int count) {
    SettingItem* name = ItemFind(ctx_, 931);  // wdmWmCharName
    for (int i = 0; i < count; ++i) {
      ItemSetValueById(ctx_, kItem_zdmWmKind, 1);
      ItemSetText(ctx_, name, W((u"W" + U16(std::to_string(i))).c_str()));
      ASSERT_TRUE(StampSave(ctx_, i)) << i;
    }
    StampSetCount(ctx_, count);
    ASSERT_EQ(count, StampGetCount(ctx_));
  }
  // Watermark n chosen in the list as the user does.
  void SelectStampForTest(DlgControlRecord* choice, int n) {
    WuiChoiceSelect(choice->window, n);
    WmHandleControl(ctx_, &page_, choice, WM_COMMAND, MAKEWPARAM(2089, CBN_SELCHANGE), 0, nullptr);
  }
  // The edit page's watermark list and its buttons, the list filled.
  DlgControlRecord* MakeEditPage() {
    page_.dialogId = 1003;
    Make(2089, u"COMBOBOX", kItem_zdmWmID);
    for (WORD id : {2090, 2091, 2092, 2406, 2407}) Make(id, u"BUTTON");
    Bind();
    DlgControlRecord* choice = Control(2089);
    EXPECT_EQ(1, WmHandleControl(ctx_, &page_, choice, WM_INITDIALOG, 0, 0, nullptr));
    return choice;
  }
};

// The text watermark's font choice: the TrueType faces without the vertical ones, each line's
// data its index; the item's font selected, else the default font, whose name the item takes.
TEST_F(WatermarkDialogsTest, FontChoiceListsTrueTypeFacesAndFallsBackToTheDefault) {
  page_.dialogId = 1022;
  Make(2314, u"COMBOBOX", 1545);
  Bind();
  DlgControlRecord* font = Control(2314);
  const struct {
    const char16_t* stored;
    int line;
    const char16_t* after;
  } cases[] = {{u"Courier New", 1, u"Courier New"}, {u"Times New Roman", 2, u"Times New Roman"},
               {u"Gone Sans", 0, u"Arial"},          {u"@MS Mincho", 0, u"Arial"},
               {u"courier new", 0, u"Arial"},         {u"", 0, u"Arial"}};
  for (const auto& c : cases) {
    ItemSetText(ctx_, ItemFind(ctx_, kFontItem), W(c.stored));
    EXPECT_EQ(1, WmHandleControl(ctx_, &page_, font, WM_INITDIALOG, 0, 0, nullptr));
    EXPECT_EQ((std::vector<std::u16string>{u"Arial", u"Courier New", u"Times New Roman"}), Lines(font->window));
    for (int i = 0; i < WuiChoiceCount(font->window); ++i) EXPECT_EQ(i, WuiChoiceData(font->window, i));
    EXPECT_EQ(c.line, WuiChoiceSelection(font->window)) << Narrow(c.stored);
    EXPECT_EQ(c.line, ItemGetControlValue(ctx_, font)) << Narrow(c.stored);
    EXPECT_EQ(std::u16string(c.after), ItemText(kFontItem)) << Narrow(c.stored);
  }
  // A line chosen is taken.
  WuiChoiceSelect(font->window, 2);
  WmHandleControl(ctx_, &page_, font, WM_COMMAND, MAKEWPARAM(2314, CBN_SELCHANGE), 0, nullptr);
  EXPECT_EQ(u"Times New Roman", ItemText(kFontItem));
  EXPECT_EQ(2, ItemGetControlValue(ctx_, font));
}

// A default button resets its font choice: to the locked default of the header/footer and
// copy-protect dialogs when the lock default bit is set, else to the default watermark font.
TEST_F(WatermarkDialogsTest, DefaultButtonsResetTheirFontChoice) {
  const struct {
    WORD dialog, choice, button, item;
    int lockBit;
    int line;
  } cases[] = {{1024, 2647, 2357, kHeaderFontItem, 1, 1}, {1024, 2647, 2357, kHeaderFontItem, 0, 0},
               {4017, 2948, 2973, kCopyProtectFontItem, 1, 1}, {4017, 2948, 2973, kCopyProtectFontItem, 0, 0},
               {1022, 2314, 2330, kFontItem, 1, 0}};
  for (const auto& c : cases) {
    records_.clear();
    page_.dialogId = c.dialog;
    Make(c.choice, u"COMBOBOX", 1545);
    Make(c.button, u"BUTTON");
    Bind();
    DlgControlRecord* choice = Control(c.choice);
    ItemSetText(ctx_, ItemFind(ctx_, c.item), W(u"Courier New"));
    ItemSetValueById(ctx_, kItem_zdmLock000InfoBitDefault, c.lockBit);
    WmHandleControl(ctx_, &page_, choice, WM_INITDIALOG, 0, 0, nullptr);
    ASSERT_EQ(1, WuiChoiceSelection(choice->window)) << c.dialog;
    WmHandleControl(ctx_, &page_, Control(c.button), WM_COMMAND, MAKEWPARAM(c.button, BN_CLICKED), 0, nullptr);
    EXPECT_EQ(c.line, WuiChoiceSelection(choice->window)) << c.dialog << " lock " << c.lockBit;
    EXPECT_EQ(c.line == 1 ? u"Courier New" : u"Arial", ItemText(c.item)) << c.dialog << " lock " << c.lockBit;
  }
}

// Delete is restricted for the five built-in watermarks (or none selected), the adds from 32 lines.
TEST_F(WatermarkDialogsTest, ListButtonsAreRestrictedBySelectionAndLines) {
  page_.dialogId = 1003;
  Make(2089, u"COMBOBOX", kItem_zdmWmID);
  for (WORD id : {2091, 2092, 2406, 2407}) Make(id, u"BUTTON");
  Bind();
  HWND box = Control(2089)->window;
  const struct {
    int lines, selection;
    int remove, add;
  } cases[] = {{7, -1, 1, 0}, {7, 4, 1, 0}, {7, 5, 0, 0}, {31, 30, 0, 0}, {32, 31, 0, 1}, {33, 0, 1, 1}};
  for (const auto& c : cases) {
    WuiChoiceReset(box);
    for (int i = 0; i < c.lines; ++i) WuiChoiceAdd(box, W(u"w"), i);
    WuiChoiceSelect(box, c.selection);
    auto restricted = [&](WORD id) {
      CtlRestrictedQuery query = {Control(id), &page_, 0, 0};
      EXPECT_EQ(1, WmHandleEvent(ctx_, kEventControlRestricted, &query, nullptr));
      EXPECT_EQ(1, query.answered);
      return (Control(id)->state & kControlRestrictedMask) ? 1 : 0;
    };
    const std::string row = std::to_string(c.lines) + " lines, " + std::to_string(c.selection);
    EXPECT_EQ(c.remove, restricted(2406)) << row;
    for (WORD add : {2091, 2092, 2407}) EXPECT_EQ(c.add, restricted(add)) << row << " add " << add;
  }
  // Without the list the judge decides: the dispatch ends unanswered.
  records_.clear();
  Make(2406, u"BUTTON");
  Bind();
  CtlRestrictedQuery query = {Control(2406), &page_, 0, 0};
  EXPECT_EQ(1, WmHandleEvent(ctx_, kEventControlRestricted, &query, nullptr));
  EXPECT_EQ(0, query.answered);
}

TEST_F(WatermarkDialogsTest, DeleteRefusesTheBuiltInOnesAndKeepsThePosition) {
  Stamps(7);
  DlgControlRecord* choice = MakeEditPage();
  EXPECT_EQ((std::vector<std::u16string>{u"W0", u"W1", u"W2", u"W3", u"W4", u"W5", u"W6"}), Lines(choice->window));
  // Watermark 4 is built in.
  WuiChoiceSelect(choice->window, 4);
  Mark();
  Command(2406);
  EXPECT_EQ(std::vector<std::u16string>{String(10041)}, Boxes());
  EXPECT_EQ(7, StampGetCount(ctx_));
  // Cancel deletes nothing.
  WuiChoiceSelect(choice->window, 5);
  const int cancel = IDCANCEL;
  SimUiScriptAnswers(&cancel, 1);
  Command(2406);
  EXPECT_EQ(7, StampGetCount(ctx_));
  // Watermark 5 of 7, confirmed: six left, the sixth selected and loaded; watermarks off.
  ItemSetValueById(ctx_, kItem_zdmFuncSelectWaterMark, 1);
  WuiChoiceSelect(choice->window, 5);
  const int ok = IDOK;
  SimUiScriptAnswers(&ok, 1);
  Mark();
  Command(2406);
  EXPECT_EQ(std::vector<std::u16string>{String(10029)}, Boxes());
  EXPECT_EQ(6, StampGetCount(ctx_));
  EXPECT_EQ((std::vector<std::u16string>{u"W0", u"W1", u"W2", u"W3", u"W4", u"W6"}), Lines(choice->window));
  EXPECT_EQ(5, WuiChoiceSelection(choice->window));
  EXPECT_EQ(5, ItemGetValueById(ctx_, kItem_zdmWmID));
  EXPECT_EQ(0, ItemGetValueById(ctx_, kItem_zdmFuncSelectWaterMark));
  // Deleting the last one selects the first; with the overlay button hidden the question differs.
  WuiShow(Control(2407)->window, SW_HIDE);
  WuiChoiceSelect(choice->window, 5);
  SimUiScriptAnswers(&ok, 1);
  Mark();
  Command(2406);
  EXPECT_EQ(std::vector<std::u16string>{String(10063)}, Boxes());
  EXPECT_EQ(5, StampGetCount(ctx_));
  EXPECT_EQ(0, WuiChoiceSelection(choice->window));
}


// What the watermark dialog saw when it started, and what the user then did in it.
struct SeenInDialog {
  DriverContext* ctx = nullptr;
  const char16_t* name = nullptr;  // typed as the watermark's name; null: Cancel
  int calls = 0;
  std::u16string face, title;
  LONG kind = 0;
};
void AnswerStampDialog(void* data) {
  auto* seen = static_cast<SeenInDialog*>(data);
  if (seen->calls++ > 0) return;
  HWND top = WuiActiveWindow();
  if (!top) return;
  WCHAR text[64] = {};
  ItemGetTextBounded(seen->ctx, ItemFind(seen->ctx, kFontItem), text, 64);
  seen->face = U(text);
  WuiGetText(top, text, 64);
  seen->title = U(text);
  seen->kind = static_cast<LONG>(ItemGetValueById(seen->ctx, kItem_zdmWmKind));
  if (seen->name) ItemSetText(seen->ctx, ItemFind(seen->ctx, 931), W(seen->name));
  WuiSend(top, WM_COMMAND, seen->name ? IDOK : IDCANCEL, 0);
}

// The watermark tests that run the sample's own dialogs.
class WatermarkSubDialogTest : public WatermarkDialogsTest {
 protected:
  WatermarkSubDialogTest() { languageDll_ = "zemsresus.dll"; }
};

// Add text: the dialog starts new (the dialog font's face in place of the stored font, kind 1); OK saves the watermark at
// the end and selects it. Edit keeps the index and titles the dialog; Cancel changes nothing.
TEST_F(WatermarkSubDialogTest, AddAndEditRunTheTextDialogAndSaveUnderTheirIndex) {
  Stamps(5);
  DlgControlRecord* choice = MakeEditPage();
  ItemSetText(ctx_, ItemFind(ctx_, kFontItem), W(u"Courier New"));
  ItemSetValueById(ctx_, kItem_zdmWmKind, 2);  // the dialog makes it a text watermark
  SeenInDialog seen;
  seen.ctx = ctx_;
  seen.name = u"Secret";
  SimUiSetIdleHook(AnswerStampDialog, &seen);
  Command(2091);
  SimUiSetIdleHook(nullptr, nullptr);
  EXPECT_EQ(1, seen.calls);
  // The stored font gave way to the dialog font's face ("MS Shell Dlg"), which is no TrueType
  // family of the machine: the font choice shows the default font instead.
  EXPECT_EQ(u"Arial", seen.face);
  EXPECT_EQ(1, seen.kind);
  EXPECT_EQ(6, StampGetCount(ctx_));
  EXPECT_EQ((std::vector<std::u16string>{u"W0", u"W1", u"W2", u"W3", u"W4", u"Secret"}), Lines(choice->window));
  EXPECT_EQ(5, WuiChoiceSelection(choice->window));
  EXPECT_EQ(5, ItemGetValueById(ctx_, kItem_zdmWmID));

  // Edit watermark 2: titled as an edit, saved in place.
  SelectStampForTest(choice, 2);
  seen = SeenInDialog();
  seen.ctx = ctx_;
  seen.name = u"Renamed";
  SimUiSetIdleHook(AnswerStampDialog, &seen);
  Command(2090);
  SimUiSetIdleHook(nullptr, nullptr);
  EXPECT_EQ(String(5005), seen.title);
  EXPECT_EQ(6, StampGetCount(ctx_));
  EXPECT_EQ((std::vector<std::u16string>{u"W0", u"W1", u"Renamed", u"W3", u"W4", u"Secret"}), Lines(choice->window));
  EXPECT_EQ(2, WuiChoiceSelection(choice->window));

  // Cancel adds nothing.
  seen = SeenInDialog();
  seen.ctx = ctx_;
  SimUiSetIdleHook(AnswerStampDialog, &seen);
  Command(2091);
  SimUiSetIdleHook(nullptr, nullptr);
  EXPECT_EQ(6, StampGetCount(ctx_));
  EXPECT_EQ(6, WuiChoiceCount(choice->window));
}

}  // namespace
}  // namespace zems_test
