// The page procedure: initialisation and layout, the preset confirm buttons and Apply, the
// closing buttons of the modal dialogs.
#include <algorithm>
#include <filesystem>
#include <fstream>

#include "core/common/ini_access.h"
#include "core/context/ui_state.h"
#include "core/front/control_lookup.h"
#include "core/front/page_lookup.h"
#include "core/items/item_access.h"
#include "core/items/item_ids.h"
#include "core/items/item_table.h"
#include "core/system/printer_names.h"
#include "core/system/resources.h"
#include "core/store/preset_store.h"
#include "core/system/settings_folders.h"
#include "ui_engine/engine_fixture.h"

namespace zems_test {
namespace {

class PageTest : public EngineTest {
 protected:
  std::u16string Text(HWND window) {
    WCHAR text[256];
    WuiGetText(window, text, 256);
    return std::u16string(reinterpret_cast<const char16_t*>(text));
  }
  std::u16string Printer() { return std::u16string(reinterpret_cast<const char16_t*>(PrnGetPrinterName(ctx_))); }
  // The boxes shown, by text.
  std::vector<std::u16string> Boxes() {
    std::vector<std::u16string> out;
    for (const SimUiCall& call : Calls(kSimUiMessageBox))
      out.push_back(std::u16string(reinterpret_cast<const char16_t*>(call.text)));
    return out;
  }
};

TEST_F(PageTest, InitialisationDisablesThePageUntilItsLayoutIsDone) {
  SetControls(1002, {Control(2053, 48, SymbolOf(kItem_dmCopies)), Control(2044, 22, SymbolOf(kItem_dmColor)),
                     Control(2388, 61, 0)});
  HWND page = OpenPage(1002);
  ASSERT_NE(page, nullptr);
  EXPECT_EQ(ctx_->ui->dialog.layoutFlag, 1);
  EXPECT_FALSE(WuiIsEnabled(page));
  EXPECT_EQ(Text(page), Printer());  // the template has no caption
  std::vector<WORD> inits = Log().inits;
  std::sort(inits.begin(), inits.end());
  EXPECT_EQ(inits, (std::vector<WORD>{2044, 2053, 2388}));
  EXPECT_TRUE(WuiIsPosted(page, kDlgMsgFinishLayout));
  EXPECT_EQ(ctx_->ui->dialog.firstPage, 1002);
  SimUiPump();
  EXPECT_EQ(ctx_->ui->dialog.layoutFlag, 0);
  EXPECT_TRUE(WuiIsEnabled(page));
  // Children that are not described are shown by the layout.
  EXPECT_TRUE(WuiIsVisible(WuiFindControl(page, 2300)) || !WuiIsVisible(page));
}

TEST_F(PageTest, TheLayoutShrinksOnlyAPageThatDoesNotFit) {
  // 1005's children fit inside its client area less 3 pixels: nothing moves.
  MarkCalls();
  HWND fits = OpenPage(1005);
  SimUiPump();
  EXPECT_TRUE(Calls(kSimUiMove).empty());
  // 1004 has a child 10 % wider than the page: shrunk horizontally only.
  HWND wide = OpenPage(1004);
  RECT before;
  WuiGetRect(WuiFindControl(wide, 2401), &before);
  SimUiPump();
  RECT client, after;
  WuiGetClientRect(wide, &client);
  WuiGetRect(WuiFindControl(wide, 2401), &after);
  RECT widest;
  WuiGetRect(WuiFindControl(wide, 2400), &widest);
  EXPECT_LE(widest.right, client.right - 3);
  EXPECT_LT(after.left, before.left);
  EXPECT_EQ(after.top, before.top);
  EXPECT_EQ(after.bottom, before.bottom);
  WuiDestroy(fits);
  WuiDestroy(wide);
}

class ConfirmTest : public PageTest {
 protected:
  void SetUp() override {
    PageTest::SetUp();
    if (HasFatalFailure()) return;
    sheet_ = SimUiMakeWindow(u"#32770", NULL, 0, 0);
    ok_ = SimUiMakeWindow(u"Button", sheet_, IDOK, WS_CHILD | BS_DEFPUSHBUTTON);
    cancel_ = SimUiMakeWindow(u"Button", sheet_, IDCANCEL, WS_CHILD);
    RECT sheet = {0, 0, 400, 300}, ok = {200, 260, 260, 280}, cancel = {270, 260, 330, 280};
    WuiMove(sheet_, &sheet, FALSE);
    WuiMove(ok_, &ok, FALSE);
    WuiMove(cancel_, &cancel, FALSE);
    page_ = SimUiMakeWindow(u"#32770", sheet_, 0, WS_CHILD);
    SetControls(1007, {Control(2145, 61, SymbolOf(kItem_wdmPresetName))});
  }
  // The page as a property page of the sheet: prepared, then initialised by the procedure.
  void InitPage(WORD dialogId) {
    PROPSHEETPAGEW sheetPage = {};
    sheetPage.pszTemplate = MAKEINTRESOURCEW(dialogId);
    sheetPage.lParam = reinterpret_cast<LPARAM>(ctx_);
    DriverContext* ctx = DlgPrepareSheetPage(page_, &sheetPage);
    DlgHandleMessage(page_, WM_INITDIALOG, 0, reinterpret_cast<LPARAM>(ctx));
    SimUiPump();
  }
  LRESULT Notify(UINT code) {
    NMHDR header = {sheet_, 0, code};
    DlgHandleMessage(page_, WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&header));
    return WuiGetSlot(page_, DWL_MSGRESULT);
  }
  // Entries of the preset list, named in order.
  void AppendPresets(int count) {
    // The settings folder exists once something was saved; these tests write before that.
    std::u16string ini(reinterpret_cast<const char16_t*>(PathSettingsFile(ctx_)));
    CreateDirectoryW(reinterpret_cast<LPCWSTR>(ini.substr(0, ini.find_last_of(u'\\')).c_str()), nullptr);
    for (int i = 0; i < count; ++i) {
      std::u16string name = i == 0 ? u"Factory" : u"Mine" + std::u16string(1, char16_t('A' + i));
      std::u16string path = u"C:\\user" + std::u16string(1, char16_t('A' + i)) + u".rst";
      PresetAppendEntry(ctx_, reinterpret_cast<LPCWSTR>(path.c_str()), reinterpret_cast<LPCWSTR>(name.c_str()),
                        TEXT(""));
    }
    ASSERT_EQ(PresetGetCount(ctx_), count);
  }

  HWND sheet_ = NULL, ok_ = NULL, cancel_ = NULL, page_ = NULL;
};

TEST_F(ConfirmTest, BothConfirmBitsGiveThreeButtonsAndApplyRunsTheOverwrite) {
  CtxAddChangeFlags(ctx_, kChangeConfirmNew | kChangeConfirmOverwrite);
  InitPage(1002);
  HWND added = WuiFindControl(sheet_, kDlgCmdSaveNewPreset);
  ASSERT_NE(added, nullptr);
  EXPECT_EQ(WuiFindControl(sheet_, kDlgCmdOverwritePreset), ok_);
  EXPECT_EQ(Text(added), String(372));
  EXPECT_EQ(Text(ok_), String(373));
  RECT newRect, okRect;
  WuiGetRect(added, &newRect);
  WuiGetRect(ok_, &okRect);
  EXPECT_LT(newRect.right, okRect.left + 1);
  EXPECT_EQ(okRect.right, 260);
  EXPECT_EQ(okRect.right - okRect.left, 80);  // four thirds of 60
  EXPECT_FALSE(WuiGetStyle(added) & BS_DEFPUSHBUTTON);
  EXPECT_NE(CtxGetChangeFlags(ctx_) & kChangeConfirmButtons, 0u);
  EXPECT_EQ(Notify(PSN_APPLY), PSNRET_INVALID_NOCHANGEPAGE);
  EXPECT_TRUE(WuiIsPosted(page_, WM_COMMAND));
}

TEST_F(ConfirmTest, OverwritingTheFirstPresetIsRefused) {
  AppendPresets(2);
  InitPage(1002);
  ItemSetText(ctx_, ItemFind(ctx_, kItem_wdmPresetName), TEXT("Factory"));
  ItemSetValueById(ctx_, kItem_zdmPresetNo, 120);
  MarkCalls();
  DlgHandleMessage(page_, WM_COMMAND, kDlgCmdOverwritePreset, 0);
  EXPECT_EQ(Boxes(), std::vector<std::u16string>{String(10024)});
  EXPECT_EQ(Log().refusals.size(), 1u);
}

TEST_F(ConfirmTest, SavingANewPresetIntoAFullListAddsNothing) {
  AppendPresets(16);
  InitPage(1002);
  ItemSetValueById(ctx_, kItem_zdmPresetNo, 118);
  MarkCalls();
  // The save-preset dialog answers OK, which it refuses for the full list; then Cancel.
  static int presses;
  presses = 0;
  SimUiSetIdleHook(
      [](void*) {
        if (HWND top = WuiActiveWindow()) WuiSend(top, WM_COMMAND, presses++ == 0 ? IDOK : IDCANCEL, 0);
      },
      nullptr);
  DlgHandleMessage(page_, WM_COMMAND, kDlgCmdSaveNewPreset, 0);
  SimUiSetIdleHook(nullptr, nullptr);
  EXPECT_EQ(Boxes(), std::vector<std::u16string>{String(10049)});
  EXPECT_EQ(PresetGetCount(ctx_), 16);
  EXPECT_EQ(ItemGetValueById(ctx_, kItem_zdmPresetNo), 118);
}

TEST_F(ConfirmTest, SavingANewPresetAppendsItAndMakesItCurrent) {
  AppendPresets(2);
  InitPage(1002);
  ItemSetValueById(ctx_, kItem_zdmPresetNo, 118);
  SimUiSetIdleHook(
      [](void*) {
        if (HWND top = WuiActiveWindow()) WuiSend(top, WM_COMMAND, IDOK, 0);
      },
      nullptr);
  DlgHandleMessage(page_, WM_COMMAND, kDlgCmdSaveNewPreset, 0);
  SimUiSetIdleHook(nullptr, nullptr);
  EXPECT_EQ(PresetGetCount(ctx_), 3);
  EXPECT_EQ(ItemGetValueById(ctx_, kItem_zdmPresetNo), 121);
  // Pressed as the sheet's own button: the sheet's OK follows.
  EXPECT_TRUE(WuiIsPosted(page_, WM_COMMAND));
}

TEST_F(ConfirmTest, ANewPresetWhoseSaveDialogCannotShowIsNotSaved) {
  AppendPresets(2);
  InitPage(1002);
  ItemSetValueById(ctx_, kItem_zdmPresetNo, 118);
  // The language DLL is gone: the save dialog cannot be shown.
  if (ctx_->languageDll) FreeLibrary(ctx_->languageDll);
  ctx_->languageDll = NULL;
  std::error_code ec;
  std::filesystem::remove(HostPath("C:\\WINDOWS\\system32\\spool\\drivers\\w32x86\\3\\zemsresus.dll"), ec);
  MarkCalls();
  DlgHandleMessage(page_, WM_COMMAND, kDlgCmdSaveNewPreset, 0);
  EXPECT_TRUE(Calls(kSimUiCreateDialog).empty()) << "no dialog could be shown";
  EXPECT_EQ(PresetGetCount(ctx_), 2);
  EXPECT_EQ(ItemGetValueById(ctx_, kItem_zdmPresetNo), 118);
}

TEST_F(ConfirmTest, ApplyOnAPageOtherThanTheFirstCommitsNothing) {
  ctx_->ui->dialog.firstPage = 1001;
  InitPage(1002);
  Log().events.clear();
  EXPECT_EQ(Notify(PSN_APPLY), PSNRET_NOERROR);
  EXPECT_EQ(ctx_->ui->front.okFlag, 1);
  EXPECT_FALSE(Has(Log().events, kEventDocumentApplied));
  // The first page commits.
  ctx_->ui->dialog.firstPage = 1002;
  EXPECT_EQ(Notify(PSN_APPLY), PSNRET_NOERROR);
  EXPECT_TRUE(Has(Log().events, kEventDocumentApplied));
}

class CloseTest : public PageTest {
 protected:
  // Runs the dialog modally; the idle hook presses `command` once.
  INT_PTR RunPressing(WORD dialogId, WORD command) {
    command_ = command;
    SimUiSetIdleHook(
        [](void* self) {
          auto* me = static_cast<CloseTest*>(self);
          if (HWND top = WuiActiveWindow(); top && me->presses_++ < 3) WuiSend(top, WM_COMMAND, me->command_, 0);
        },
        this);
    ctx_->currentPage = dialogId;
    const INT_PTR result = WuiRunDialog(ResLoadLanguageDll(ctx_), dialogId, NULL, DlgHandleMessage,
                                        reinterpret_cast<LPARAM>(ctx_));
    SimUiSetIdleHook(nullptr, nullptr);
    return result;
  }

 public:
  WORD command_ = 0;
  int presses_ = 0;
};

TEST_F(CloseTest, EveryOtherDialogSendsTheClosingEvent) {
  EXPECT_EQ(RunPressing(1012, IDOK), IDOK);
  EXPECT_TRUE(Has(Log().events, kEventDialogClosing));
  EXPECT_EQ(ctx_->ui->front.okFlag, 1);
  EXPECT_EQ(PageFind(ctx_, 1012)->window, nullptr);
  presses_ = 0;
  EXPECT_EQ(RunPressing(1012, IDCANCEL), IDCANCEL);
  EXPECT_EQ(ctx_->ui->front.okFlag, 0);
}

TEST_F(CloseTest, TheOptionsDialogKeepsItsChangesWithBidirectionalCommunication) {
  ItemSetRawById(ctx_, kItem_zdmBiDirect, 1);
  RunPressing(1011, IDCANCEL);
  EXPECT_EQ(ctx_->ui->front.okFlag, 1);
  EXPECT_FALSE(Has(Log().events, kEventDialogClosing));
}

TEST_F(CloseTest, TheImageDialogWantsABitmapFile) {
  SetControls(1023, {Control(2341, 61, SymbolOf(kItem_wdmWmFontName))});
  // No file: warning 10043 and the dialog stays; Cancel then ends it.
  ItemSetText(ctx_, ItemFind(ctx_, kItem_wdmWmFontName), TEXT("C:\\missing.bmp"));
  SimUiSetIdleHook(
      [](void* self) {
        auto* me = static_cast<CloseTest*>(self);
        HWND top = WuiActiveWindow();
        if (top) WuiSend(top, WM_COMMAND, me->presses_++ == 0 ? IDOK : IDCANCEL, 0);
      },
      this);
  ctx_->currentPage = 1023;
  EXPECT_EQ(WuiRunDialog(ResLoadLanguageDll(ctx_), 1023, NULL, DlgHandleMessage, reinterpret_cast<LPARAM>(ctx_)),
            IDCANCEL);
  SimUiSetIdleHook(nullptr, nullptr);
  EXPECT_EQ(Boxes(), std::vector<std::u16string>{String(10043)});
}

TEST_F(CloseTest, OkWaitsForADeferredAlert) {
  HWND dialog = OpenPage(1012);
  SimUiPump();
  WuiPost(dialog, kDlgMsgDeferredAlert, 0, 0);
  DlgHandleMessage(dialog, WM_COMMAND, IDOK, 0);
  EXPECT_TRUE(WuiIsWindow(dialog));
  EXPECT_FALSE(Has(Log().events, kEventDialogClosing));
  EXPECT_NE(PageFind(ctx_, 1012)->window, nullptr);
  WuiDestroy(dialog);
}

}  // namespace
}  // namespace zems_test
