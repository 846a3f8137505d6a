// Sub-dialogs: a settings snapshot around each, restored by Cancel at every level; property
// sheets of several pages; the owner refreshed after an accepted dialog.
#include <algorithm>
#include <filesystem>

#include "core/context/settings_snapshot.h"
#include "core/context/ui_state.h"
#include "core/front/control_lookup.h"
#include "core/front/page_lookup.h"
#include "core/items/item_access.h"
#include "core/items/item_ids.h"
#include "core/system/printer_names.h"
#include "core/system/sub_dialog.h"
#include "ui_engine/engine_fixture.h"

namespace zems_test {
namespace {

// Five dialogs inside each other: each sets the copies to its level, opens the next, and ends
// with the command its level is given.
struct Nesting {
  DriverContext* ctx = nullptr;
  int depth = 0;
  std::vector<WORD> endings;      // per level: IDOK or IDCANCEL
  std::vector<LONG> seenAfter;    // the copies each level saw after its inner dialog returned
};
Nesting g_nesting;
const WORD kNestedDialogs[] = {1012, 1013, 1014, 1020, 1025};

void NestingHook(void*) {
  HWND top = WuiActiveWindow();
  if (!top) return;
  const int level = g_nesting.depth;
  if (level >= static_cast<int>(g_nesting.endings.size())) return;
  ++g_nesting.depth;
  ItemSetValueById(g_nesting.ctx, kItem_dmCopies, 10 + level);
  if (level + 1 < static_cast<int>(g_nesting.endings.size())) {
    DlgRunSubDialog(g_nesting.ctx, 4, kNestedDialogs[level + 1], top);
    g_nesting.seenAfter[level] = static_cast<LONG>(ItemGetValueById(g_nesting.ctx, kItem_dmCopies));
  }
  WuiSend(top, WM_COMMAND, g_nesting.endings[level], 0);
}

class SubDialogTest : public EngineTest {
 protected:
  LONG Copies() { return static_cast<LONG>(ItemGetValueById(ctx_, kItem_dmCopies)); }
  // Runs the nesting from dialog 1012 with these endings; the copies after it.
  LONG RunNesting(std::vector<WORD> endings) {
    g_nesting = Nesting();
    g_nesting.ctx = ctx_;
    g_nesting.endings = endings;
    g_nesting.seenAfter.assign(endings.size(), -1);
    SimUiSetIdleHook(NestingHook, nullptr);
    DlgRunSubDialog(ctx_, 4, kNestedDialogs[0], NULL);
    SimUiSetIdleHook(nullptr, nullptr);
    return Copies();
  }
};

TEST_F(SubDialogTest, CancelRestoresWhatTheDialogAndItsFollowUpsChanged) {
  DlgBindControls(ctx_, nullptr);  // the context's own level first
  ItemSetValueById(ctx_, kItem_dmCopies, 1);
  const LONG depth = CtxSnapshotDepth(ctx_);
  EXPECT_EQ(RunNesting({IDCANCEL, IDOK}), 1);  // the inner OK is undone by the outer Cancel
  EXPECT_EQ(g_nesting.seenAfter[0], 11);
  EXPECT_EQ(CtxSnapshotDepth(ctx_), depth);
  EXPECT_TRUE(Has(Log().events, kEventSubDialogCancelled));
}

TEST_F(SubDialogTest, FiveNestedLevelsEachRestoreExactlyTheirOwnChanges) {
  ItemSetValueById(ctx_, kItem_dmCopies, 1);
  // Every level cancels: each sees its own value back after its inner dialog.
  EXPECT_EQ(RunNesting({IDCANCEL, IDCANCEL, IDCANCEL, IDCANCEL, IDCANCEL}), 1);
  EXPECT_EQ(g_nesting.seenAfter, (std::vector<LONG>{10, 11, 12, 13, -1}));
  // The innermost keeps, the one around it cancels: the outer levels see their own values.
  EXPECT_EQ(RunNesting({IDOK, IDOK, IDOK, IDCANCEL, IDOK}), 12);
  EXPECT_EQ(g_nesting.seenAfter, (std::vector<LONG>{12, 12, 12, 14, -1}));
}

TEST_F(SubDialogTest, WithoutLanguageDllNothingRunsAndNothingIsPushed) {
  std::error_code ec;
  std::filesystem::remove(HostPath("C:\\WINDOWS\\system32\\spool\\drivers\\w32x86\\3\\zemsresus.dll"), ec);
  const LONG depth = CtxSnapshotDepth(ctx_);
  EXPECT_EQ(DlgRunSubDialog(ctx_, 4, 1012, NULL), -1);
  EXPECT_EQ(CtxSnapshotDepth(ctx_), depth);
  EXPECT_TRUE(Calls(kSimUiCreateDialog).empty());
}

TEST_F(SubDialogTest, AnUnknownDialogRestoresItsSnapshotAndAnswersZero) {
  const LONG depth = CtxSnapshotDepth(ctx_);
  EXPECT_EQ(DlgRunSubDialog(ctx_, 4, 999, NULL), 0);
  EXPECT_EQ(CtxSnapshotDepth(ctx_), depth);
}

TEST_F(SubDialogTest, ModeSixteenRunsThePresetPagesAsOneSheet) {
  ctx_->currentPage = 1001;
  DlgRunSubDialog(ctx_, 16, 1003, NULL);
  int pages[8] = {};
  ASSERT_EQ(SimUiLastSheetPages(pages, 8), 4);
  EXPECT_EQ(std::vector<int>(pages, pages + 4), (std::vector<int>{1002, 1003, 1004, 1005}));
  std::vector<SimUiCall> sheets = Calls(kSimUiPropertySheet);
  ASSERT_EQ(sheets.size(), 1u);
  EXPECT_EQ(sheets[0].id, 1);  // the requested page
  EXPECT_EQ(std::u16string(reinterpret_cast<const char16_t*>(sheets[0].caption)),
            std::u16string(reinterpret_cast<const char16_t*>(PrnGetPrinterName(ctx_))));
  EXPECT_EQ(ctx_->currentPage, 1001);
}

TEST_F(SubDialogTest, AQualityPageAlwaysRunsAsTheTabbedSet) {
  DlgRunSubDialog(ctx_, 4, 1038, NULL);
  int pages[8] = {};
  ASSERT_EQ(SimUiLastSheetPages(pages, 8), 3);
  EXPECT_EQ(std::vector<int>(pages, pages + 3), (std::vector<int>{1021, 1038, 1029}));
  EXPECT_EQ(Calls(kSimUiPropertySheet)[0].id, 1);
  EXPECT_EQ(std::u16string(reinterpret_cast<const char16_t*>(Calls(kSimUiPropertySheet)[0].caption)), String(5001));
}

// The owner's sheet hears PSM_CHANGED, except after the status and version dialogs.
std::vector<UINT> g_sheetMessages;
LRESULT CALLBACK SheetProc(HWND, UINT message, WPARAM, LPARAM) {
  g_sheetMessages.push_back(message);
  return 0;
}

TEST_F(SubDialogTest, AfterTheStatusAndVersionDialogsTheOwnerIsRefreshedButNotChanged) {
  struct Case {
    WORD dialog;
    bool changed;
  } cases[] = {{1012, true}, {1020, false}, {1025, false}};
  SetControls(1001, {Control(2001, 50, 0)});
  HWND sheet = SimUiMakeWindow(u"#32770", NULL, 0, 0);
  WuiSubclass(sheet, SheetProc);
  HWND owner = SimUiMakeWindow(u"#32770", sheet, 0, WS_CHILD);
  DlgPageRecord* page = PageFind(ctx_, 1001);
  page->window = owner;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.dialog);
    g_sheetMessages.clear();
    Log().shows.clear();
    ctx_->currentPage = 1001;
    SimUiSetIdleHook([](void*) { WuiSend(WuiActiveWindow(), WM_COMMAND, IDOK, 0); }, nullptr);
    DlgRunSubDialog(ctx_, 4, c.dialog, owner);
    SimUiSetIdleHook(nullptr, nullptr);
    EXPECT_EQ(std::count(g_sheetMessages.begin(), g_sheetMessages.end(), UINT(PSM_CHANGED)), c.changed ? 1 : 0);
    EXPECT_FALSE(Log().shows.empty()) << "the owner page is refreshed";
  }
}

TEST_F(SubDialogTest, TheFirstOpenPromptRunsWithoutOwnerAndHidesCancel) {
  SetControls(1011, {Control(IDOK, 21, 0), Control(IDCANCEL, 21, 0)});
  ctx_->ui->presetRefreshRunning = 1;
  struct Seen {
    bool cancelVisible = true;
  } static seen;
  seen = Seen();
  SimUiSetIdleHook(
      [](void*) {
        HWND top = WuiActiveWindow();
        seen.cancelVisible = WuiIsVisible(WuiFindControl(top, IDCANCEL)) != 0;
        WuiSend(top, WM_COMMAND, IDOK, 0);
      },
      nullptr);
  DlgRunSubDialog(ctx_, 4, 1011, NULL);
  SimUiSetIdleHook(nullptr, nullptr);
  ctx_->ui->presetRefreshRunning = 0;
  EXPECT_FALSE(seen.cancelVisible);
  EXPECT_EQ(ctx_->ui->front.okFlag, 1);
  std::vector<SimUiCall> made = Calls(kSimUiCreateDialog);
  ASSERT_EQ(made.size(), 1u);
  EXPECT_EQ(made[0].value, 0);  // no owner
}

}  // namespace
}  // namespace zems_test
