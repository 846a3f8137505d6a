// The setting locks' dialogs on the window interface's fake, run as the device page runs them
// (a modal sub-dialog of the sample's language DLL) with a user's clicks: the captured values
// named in the read-only fields, the N-up text and its all-kinds list, the current preset's
// name and comment, the resolution box's lock bit, OK's warning (Cancel keeps the dialog), and
// the status dialog's list.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "core/common/ini_access.h"
#include "core/common/window_ui.h"
#include "core/context/ui_state.h"
#include "core/front/control_lookup.h"
#include "core/front/ctl_lists.h"
#include "core/front/dialog_engine.h"
#include "core/front/page_lookup.h"
#include "core/items/item_access.h"
#include "core/items/item_ids.h"
#include "core/modules/lock_dialogs.h"
#include "core/modules/module_rows.h"
#include "core/store/preset_store.h"
#include "core/store/store_keys.h"
#include "core/system/resources.h"
#include "core/system/sub_dialog.h"
#include "core/tables/build_switches.h"
#include "platform/sim.h"
#include "support/page_controls.h"
#include "support/test_printer.h"
#include "support/ui_calls.h"

#ifndef ES_MULTILINE
#define ES_MULTILINE 0x0004L
#endif

namespace zems_test {
namespace {

constexpr int kModal = 4;
constexpr WORD kCaptureNotify = 312;
constexpr WORD kItemPresetComment = 926;  // wdmPresetComment

// What the user does while the dialog is open: one step each time the dialog waits; once the
// steps are spent, or right after a step the dialog gave no answer to (it only looked), the
// dialog is cancelled.
struct Player {
  std::vector<std::function<void(HWND)>> steps;
  size_t next = 0;
} g_player;

void PlayHook(void*) {
  HWND dialog = WuiActiveWindow();
  const DWORD before = SimUiCallCount();
  if (g_player.next < g_player.steps.size()) {
    g_player.steps[g_player.next++](dialog);
    if (SimUiCallCount() != before) return;  // the dialog answered: the next step at its next wait
  }
  SimUiUserClick(WuiFindControl(dialog, IDCANCEL));
}

std::u16string TextOf(HWND dialog, WORD id) {
  WCHAR text[kCtlTextChars] = {};
  WuiGetText(WuiFindControl(dialog, id), text, kCtlTextChars);
  return std::u16string(text);
}

class LimitationTest : public ContextTest {
 protected:
  void SetUp() override {
    ContextTest::SetUp();
    std::string error;
    ASSERT_TRUE(InstallLanguageDll("zemsresus.dll", &error)) << error;
    ctx_ = CtxOpen(office_, office_, nullptr, 0, kKindSettings, 0, nullptr);
    ASSERT_NE(nullptr, ctx_);
    if (!BuildHasFeature(ctx_, kBuildFeatureSettingLocks)) GTEST_SKIP() << "the build has no setting locks";
    DlgBindControls(ctx_, nullptr);
    g_player = Player();
  }
  void TearDown() override {
    SimUiSetIdleHook(nullptr, nullptr);
    if (ctx_) CtxRelease(ctx_, kReleaseExpired);
    ContextTest::TearDown();
  }
  // Runs the dialog with these steps of the user; its result.
  int Run(WORD dialog, std::vector<std::function<void(HWND)>> steps) {
    g_player.steps = std::move(steps);
    g_player.next = 0;
    SimUiSetIdleHook(PlayHook, nullptr);
    const int result = DlgRunSubDialog(ctx_, kModal, dialog, NULL);
    SimUiSetIdleHook(nullptr, nullptr);
    return result;
  }
  std::u16string String(UINT id) {
    WCHAR text[kCtlTextChars] = {};
    ResLoadString(ctx_, id, text, kCtlTextChars, TRUE);
    return std::u16string(text);
  }
  std::string Narrow(WORD id) {
    const char* text = reinterpret_cast<const char*>(ItemGetRawById(ctx_, id));
    return text ? std::string(text) : std::string();
  }
  void Click(HWND dialog, WORD id) { SimUiUserClick(WuiFindControl(dialog, id)); }

  DriverContext* ctx_ = nullptr;
};

// Each field names the value captured when the lock data was loaded, not the current one.
TEST_F(LimitationTest, TheFieldsNameTheCapturedValues) {
  const struct {
    WORD setting;
    LONG captured, current;
    WORD field;
    const char16_t* shown;
  } cases[] = {
      {kItem_dmDefaultSource, 3, 1, kLimitationSourceText, u"TRAY2"},
      {kItem_zdmMediaType, 257, 0, kLimitationMediaText, u"Thick"},
      {kItem_zdmNUPPOSTKind, 2, 1, kLimitationNupText, u"4UP"},
      {kItem_zdmPrnMethod, 2, 1, kLimitationPrintTypeText, u"Proof"},
      {kItem_dmColor, 1, 2, kLimitationColorText, u"Mono"},
  };
  for (const auto& c : cases) ItemSetRawById(ctx_, c.setting, c.captured);
  LockHandleNotify(ctx_, kCaptureNotify, nullptr);
  for (const auto& c : cases) ItemSetRawById(ctx_, c.setting, c.current);
  std::vector<std::u16string> shown;
  EXPECT_EQ(IDCANCEL, Run(kLimitationDialog, {[&](HWND dialog) {
                        for (const auto& c : cases) shown.push_back(TextOf(dialog, c.field));
                      }}));
  ASSERT_EQ(shown.size(), sizeof cases / sizeof cases[0]);
  for (size_t i = 0; i < shown.size(); ++i) EXPECT_EQ(std::u16string(cases[i].shown), shown[i]) << cases[i].field;
}

// The all-N-up box lists every kind the detailed page offers, one per line; it acts only when
// the box and the lock bit disagree, and the default button shows the text again.
TEST_F(LimitationTest, TheAllNupBoxListsEveryOfferedKind) {
  const std::u16string all = u"1UP\r\n2UP\r\n4UP\r\n9UP\r\n16UP";
  const std::u16string captured = u"4UP";
  ItemSetRawById(ctx_, kItem_wdmLock003Info, 2);
  const struct {
    LONG before;               // the lock bit when the dialog opens
    LONG meanwhile;            // set behind the box's back while the dialog is open (-1 not)
    std::vector<WORD> clicks;  // 3151 the box, 3158 the default button
    LONG after;
    const std::u16string* shownAtOpen;
    const std::u16string* shownAfter;
  } cases[] = {
      {0, -1, {}, 0, &captured, &captured},
      {0, -1, {kLimitationNupAll}, 1, &captured, &all},
      {0, -1, {kLimitationNupAll, kLimitationNupAll}, 0, &captured, &captured},
      {1, -1, {kLimitationNupAll}, 0, &all, &captured},
      // The click checks the box over a bit that is set already: nothing to do.
      {0, 1, {kLimitationNupAll}, 1, &captured, &captured},
      {0, 1, {kLimitationDefault}, 1, &captured, &all},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << "bit " << c.before << "/" << c.meanwhile << ", " << c.clicks.size()
                                    << " clicks, first " << (c.clicks.empty() ? 0 : c.clicks[0]));
    ItemSetRawById(ctx_, kItem_zdmLock000InfoBitNupKindAll, c.before);
    std::u16string atOpen, after;
    LONG bit = -1;
    bool boxAtOpen = false;
    Run(kLimitationDialog, {[&](HWND dialog) {
          atOpen = TextOf(dialog, kLimitationNupText);
          boxAtOpen = WuiGetCheck(WuiFindControl(dialog, kLimitationNupAll)) == BST_CHECKED;
          if (c.meanwhile >= 0) ItemSetRawById(ctx_, kItem_zdmLock000InfoBitNupKindAll, c.meanwhile);
          for (WORD id : c.clicks) Click(dialog, id);
          after = TextOf(dialog, kLimitationNupText);
          bit = static_cast<LONG>(ItemGetRawById(ctx_, kItem_zdmLock000InfoBitNupKindAll));
        }});
    EXPECT_EQ(*c.shownAtOpen, atOpen);
    EXPECT_EQ(c.before != 0, boxAtOpen) << "the box shows its lock bit";
    EXPECT_EQ(*c.shownAfter, after);
    EXPECT_EQ(c.after, bit);
  }
}

// The current preset's name and comment come from the printer's preset list by zdmPresetNo;
// a number outside the sixteen slots empties both.
TEST_F(LimitationTest, ThePresetNameAndCommentFollowThePresetNumber) {
  WCHAR ini[kPathChars], section[261], key[64];
  StoreCopySettingsIni(ctx_, ini);
  StoreCopyPrinterName(ctx_, section, 261);
  ASSERT_NE(0, ini[0]);
  // The settings folder of a fresh machine exists once the install made it.
  ASSERT_TRUE(WriteMachineFile(std::string(ini, ini + std::char_traits<char16_t>::length(ini)), ""));
  for (int slot : {0, 3, 15}) {
    const std::u16string n = std::u16string(1, char16_t(u'A' + slot));
    IniWriteString(section, PresetKeyName(key, 64, slot, 1), (u"Name " + n).c_str(), ini);
    IniWriteString(section, PresetKeyName(key, 64, slot, 2), (u"Comment " + n).c_str(), ini);
  }
  const struct {
    LONG stored;  // zdmPresetNo as stored: -1 is the factory entry, n the slot
    const char* name;
    const char* comment;
  } cases[] = {{0, "Name A", "Comment A"}, {3, "Name D", "Comment D"}, {15, "Name P", "Comment P"},
               {-1, "", ""},               {16, "", ""}};
  for (const auto& c : cases) {
    // A text item copies its whole size from the address it is given.
    char stale[513] = "stale";
    ItemSetRawById(ctx_, kItem_wdmPresetName, reinterpret_cast<LONG_PTR>(stale));
    ItemSetRawById(ctx_, kItemPresetComment, reinterpret_cast<LONG_PTR>(stale));
    ItemSetRawById(ctx_, kItem_zdmPresetNo, c.stored);
    std::string name, comment;
    Run(kLimitationDialog, {[&](HWND) {
          name = Narrow(kItem_wdmPresetName);
          comment = Narrow(kItemPresetComment);
        }});
    EXPECT_EQ(c.name, name) << c.stored;
    EXPECT_EQ(c.comment, comment) << c.stored;
  }
  // A long comment is cut to the item's 512 bytes.
  IniWriteString(section, PresetKeyName(key, 64, 3, 2), std::u16string(600, u'c').c_str(), ini);
  ItemSetRawById(ctx_, kItem_zdmPresetNo, 3);
  std::string comment;
  Run(kLimitationDialog, {[&](HWND) { comment = Narrow(kItemPresetComment); }});
  EXPECT_EQ(std::string(512, 'c'), comment);
}

TEST_F(LimitationTest, TheResolutionBoxSetsItsLockBit) {
  std::vector<LONG> seen;
  Run(kLimitationDialog, {[&](HWND dialog) {
        for (int i = 0; i < 3; ++i) {
          Click(dialog, kLimitationResolution);
          seen.push_back(static_cast<LONG>(ItemGetRawById(ctx_, kItem_zdmLock000InfoBitResolution)));
        }
      }});
  EXPECT_EQ((std::vector<LONG>{1, 0, 1}), seen);
  // Another control's command is not the box's.
  DlgPageRecord* page = PageFind(ctx_, kLimitationDialog);
  DlgControlRecord* box = CtlFind(ctx_, page, kLimitationResolution);
  ASSERT_NE(nullptr, box);
  EXPECT_EQ(0, LockHandleControl(ctx_, page, box, WM_COMMAND, MAKEWPARAM(3148, BN_CLICKED), 0, nullptr));
}

// OK warns first: Cancel on the warning keeps the dialog open and nothing taken; OK takes the
// locked resolution and marks the locks for the device page's apply.
TEST_F(LimitationTest, OkWarnsAndOnlyAConfirmedWarningClosesTheDialog) {
  const struct {
    std::vector<int> answers;  // the warnings' answers, one per click on OK
    int result;
    int boxes;
    bool taken;
  } cases[] = {{{IDOK}, IDOK, 1, true}, {{IDCANCEL}, IDCANCEL, 1, false}, {{IDCANCEL, IDCANCEL, IDOK}, IDOK, 3, true}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.answers.size());
    SimUiReset();
    ctx_->ui->dialog.lockChanged = 0;
    const LONG_PTR locked = ItemGetRawById(ctx_, kItem_zdmLockDstResolutionBoth);
    ItemSetRawById(ctx_, kItem_wdmLock007Info, locked + 1);
    SimUiScriptAnswers(c.answers.data(), static_cast<int>(c.answers.size()));
    std::vector<bool> openAfter;
    std::vector<std::function<void(HWND)>> steps;
    for (size_t i = 0; i < c.answers.size(); ++i)
      steps.push_back([&](HWND dialog) {
        Click(dialog, IDOK);
        openAfter.push_back(WuiIsWindow(dialog) && ctx_->ui->dialog.lockChanged == 0);
      });
    EXPECT_EQ(c.result, Run(kLimitationDialog, steps));
    EXPECT_EQ(c.boxes, MessageBoxesShown());
    SimUiCall box;
    ASSERT_TRUE(LastMessageBox(&box));
    EXPECT_EQ(String(kTextLimitationWarning), std::u16string(box.text));
    EXPECT_EQ(u"Office", std::u16string(box.caption));
    EXPECT_EQ(static_cast<UINT>(MB_OKCANCEL), box.style & 0x0F);
    for (size_t i = 0; i + 1 < openAfter.size(); ++i) EXPECT_TRUE(openAfter[i]) << "a cancelled warning, answer " << i;
    EXPECT_EQ(c.taken ? 1 : 0, ctx_->ui->dialog.lockChanged);
    EXPECT_EQ(c.taken ? locked : locked + 1, ItemGetRawById(ctx_, kItem_wdmLock007Info));
  }
}

// The status list shows the settings summary's lines, composed again on each show request; the
// label beside it is left as it is and the request is never taken.
TEST_F(LimitationTest, TheStatusListIsComposedWhenShown) {
  DlgPageRecord* page = PageFind(ctx_, kLimitationStatusDialog);
  ASSERT_NE(nullptr, page);
  page->window = SimUiMakeWindow(u"#32770", NULL, 0, 0);
  DlgControlRecord* list = CtlFind(ctx_, page, kLimitationStatusList);
  DlgControlRecord* label = CtlFind(ctx_, page, 3163);
  ASSERT_NE(nullptr, list);
  ASSERT_NE(nullptr, label);
  list->window = SimUiMakeWindow(u"Edit", page->window, kLimitationStatusList, WS_CHILD | WS_VISIBLE | ES_MULTILINE);
  label->window = SimUiMakeWindow(u"Edit", page->window, 3163, WS_CHILD | WS_VISIBLE | ES_MULTILINE);
  // Line breaks in what a control shows, or -1 when it still shows the text put there.
  auto breaksShown = [](DlgControlRecord* control) {
    WCHAR text[4096] = {};
    WuiGetText(control->window, text, 4096);
    const std::u16string shown(text);
    if (shown == u"Tray\\nMedia") return -1;
    int breaks = 0;
    for (size_t at = shown.find(u"\r\n"); at != std::u16string::npos; at = shown.find(u"\r\n", at + 2)) ++breaks;
    return breaks;
  };
  const struct {
    DlgControlRecord* control;
    UINT message;
    int breaks;
  } cases[] = {{list, WM_PAINT, kSummaryLineCount - 1}, {list, WM_COMMAND, -1}, {label, WM_PAINT, -1}};
  for (const auto& c : cases) {
    WuiSetText(c.control->window, u"Tray\\nMedia");
    EXPECT_EQ(0, LockHandleControl(ctx_, page, c.control, c.message, 0, 0, nullptr));
    EXPECT_EQ(c.breaks, breaksShown(c.control)) << c.control->controlId << " " << c.message;
  }
  list->window = NULL;
  label->window = NULL;
  page->window = NULL;
  // The dialog itself opens and closes with its OK.
  EXPECT_EQ(IDOK, Run(kLimitationStatusDialog, {[&](HWND dialog) { Click(dialog, IDOK); }}));
}

}  // namespace
}  // namespace zems_test
