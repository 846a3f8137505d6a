// The print-method module's page behaviours on the window interface's fake: what the print-type
// page and the authentication dialogs let through as typed or pasted, the passwords typed twice,
// the job-merge name, the authentication texts handed to the job-control stand-in, and the
// hidden-function, disk-limit and tray-name behaviours.
#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "core/common/window_ui.h"
#include "core/common/ini_access.h"
#include "core/context/module_bus.h"
#include "core/context/ui_state.h"
#include "core/front/dialog_engine.h"
#include "core/front/page_lookup.h"
#include "core/front/control_lookup.h"
#include "core/front/ctl_lists.h"
#include "core/items/item_access.h"
#include "core/items/item_ids.h"
#include "core/items/item_table.h"
#include "core/modules/module_rows.h"
#include "core/modules/print_type_page.h"
#include "core/items/derived_settings.h"
#include "core/system/driver_paths.h"
#include "core/system/resources.h"
#include "core/tables/build_switches.h"
#include "platform/sim.h"
#include "support/page_controls.h"
#include "support/test_printer.h"
#include "support/ui_calls.h"

namespace zems_test {
namespace {

const WCHAR* W(const char16_t* s) { return reinterpret_cast<const WCHAR*>(s); }

// What a confirmation dialog's user does: types the text into the edit and presses the button.
struct Confirmer {
  WORD edit = 0;
  std::u16string text;
  int button = IDOK;
  int runs = 0;
} g_confirmer;

void ConfirmHook(void*) {
  HWND dialog = WuiActiveWindow();
  ++g_confirmer.runs;
  if (HWND edit = WuiFindControl(dialog, g_confirmer.edit)) WuiSetText(edit, W(g_confirmer.text.c_str()));
  WuiSend(dialog, WM_COMMAND, static_cast<WPARAM>(g_confirmer.button), 0);
}

class PrintTypeTest : public ContextTest {
 protected:
  void SetUp() override {
    ContextTest::SetUp();
    std::string error;
    ASSERT_TRUE(InstallLanguageDll("zemsresus.dll", &error)) << error;  // the sample's dialogs
    ctx_ = CtxOpen(office_, office_, nullptr, 0, kKindSettings, 0, nullptr);
    ASSERT_NE(nullptr, ctx_);
    g_confirmer = Confirmer();
  }
  void TearDown() override {
    SimUiSetIdleHook(nullptr, nullptr);
    SimSetAnsiCodePage(1252);
    if (ctx_) CtxRelease(ctx_, kReleaseExpired);
    ContextTest::TearDown();
  }

  // The context's page record shown in a fake window with edits of these ids.
  DlgPageRecord* Page(WORD dialogId, std::vector<WORD> edits) {
    DlgPageRecord* page = PageFind(ctx_, dialogId);
    EXPECT_NE(nullptr, page);
    if (!page) return &spare_;
    sheet_ = SimUiMakeWindow(u"#32770", NULL, 0, 0);
    page->window = SimUiMakeWindow(u"#32770", sheet_, 0, WS_CHILD);
    for (WORD id : edits) SimUiMakeWindow(u"Edit", page->window, id, WS_CHILD | WS_VISIBLE);
    ctx_->currentPage = dialogId;
    return page;
  }
  HWND Edit(DlgPageRecord* page, WORD id) { return WuiFindControl(page->window, id); }
  std::u16string Text(DlgPageRecord* page, WORD id) {
    WCHAR buffer[128] = {};
    WuiGetText(Edit(page, id), buffer, 128);
    return std::u16string(buffer);
  }
  int Send(DlgPageRecord* page, WORD controlId, UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
    DlgControlRecord control{};
    control.controlId = controlId;
    control.window = controlId ? Edit(page, controlId) : NULL;
    return PrnMethodHandleControl(ctx_, page, controlId ? &control : nullptr, message, wParam, lParam, nullptr);
  }
  int Ok(DlgPageRecord* page) { return Send(page, 0, WM_COMMAND, IDOK); }
  // Texts of the message boxes shown since the mark.
  std::vector<std::u16string> Boxes() { return MessageBoxTextsSince(mark_); }
  std::u16string StringOf(UINT id) {
    WCHAR buffer[512] = {};
    HMODULE language = ResLoadLanguageDll(ctx_);
    LoadStringW(language, id, buffer, 512);
    return std::u16string(buffer);
  }
  void Mark() { mark_ = SimUiCallCount(); }
  void SetText(WORD id, const char16_t* text) { ItemSetText(ctx_, ItemFind(ctx_, id), W(text)); }
  std::u16string ItemText(WORD id) {
    WCHAR buffer[300] = {};
    ItemGetText(ctx_, ItemFind(ctx_, id), buffer);
    return std::u16string(buffer);
  }
  void Confirm(WORD edit, const char16_t* text, int button = IDOK) {
    g_confirmer.edit = edit;
    g_confirmer.text = text;
    g_confirmer.button = button;
    SimUiSetIdleHook(ConfirmHook, nullptr);
  }

  DriverContext* ctx_ = nullptr;
  DlgPageRecord spare_{};
  HWND sheet_ = NULL;
  DWORD mark_ = 0;
};

// ---- typing and pasting ----

struct KeyCase {
  WORD page;
  WORD control;
  WCHAR ch;
  int refused;
};

TEST_F(PrintTypeTest, CharactersEachFieldRefuses) {
  ASSERT_TRUE(BuildHasFeature(ctx_, kBuildFeatureAuthentication)) << "the sample has authentication";
  const KeyCase cases[] = {
      {1019, 2423, '"', 1}, {1019, 2532, '"', 1}, {1019, 2243, '"', 1}, {1019, 3058, '"', 1},
      {1019, 3059, '"', 1}, {1019, 3107, '"', 1}, {1019, 2423, 'a', 0}, {1019, 2245, '"', 0},
      {4022, 3003, ':', 1}, {4022, 3006, ':', 0}, {4022, 3003, '"', 1}, {4022, 3003, 0x01, 1},
      {4022, 3003, VK_BACK, 0}, {4022, 3006, 0x7F, 1}, {4020, 2996, ':', 0}, {4020, 2996, 0x80, 1},
      {4021, 2999, '~', 0}, {4021, 2999, 0x1F, 1}, {4019, 2988, 0xE9, 1}, {4019, 2988, 'k', 0},
  };
  for (const KeyCase& c : cases) {
    DlgPageRecord* page = Page(c.page, {c.control});
    EXPECT_EQ(c.refused, Send(page, c.control, WM_CHAR, c.ch)) << c.page << "/" << c.control << " char " << int(c.ch);
  }
}

struct PasteCase {
  WORD page;
  WORD control;
  const char16_t* clipboard;
  UINT codePage;
  int refused;
};

TEST_F(PrintTypeTest, PastesAreCheckedOverAllTheTextThatWouldLand) {
  const PasteCase cases[] = {
      {1019, 2241, u"abc123", 1252, 0},
      {1019, 2241, u"abc-12", 1252, 1},
      {1019, 2241, u"abcdefgh-", 1252, 0},  // only eight bytes land
      {1019, 2241, u"ab\u3042", 932, 1},    // a double-byte character
      {1019, 2245, u"secret", 1252, 1},     // passwords are typed
      {1019, 2423, u"owner\"", 1252, 1},
      {1019, 2423, u"0123456789abcdef\"", 1252, 0},  // the quote lies past the owner's 16
      {1019, 3058, u"0123456789abcdef\"", 1252, 1},  // a 16-character name sees 17 bytes
      {1019, 2243, u"\u8868\"", 932, 1},    // a pair then the quote
      {1019, 2243, u"\u8868x", 932, 0},     // the pair's trail byte is 0x5C, not a quote
      {4022, 3003, u"user", 1252, 0},
      {4022, 3003, u"us:er", 1252, 1},
      {4022, 3003, u"\u3042", 932, 1},
      {4022, 3006, u"pass", 1252, 1},
      {4019, 2988, u"key", 1252, 1},
      {4029, 3110, u"12", 1252, 1},
      {1010, 2241, u"abc123", 1252, 0},
      {1010, 2241, u"ab_12", 1252, 1},
  };
  for (const PasteCase& c : cases) {
    SimSetAnsiCodePage(c.codePage);
    SimUiSetClipboardText(W(c.clipboard));
    DlgPageRecord* page = Page(c.page, {c.control});
    EXPECT_EQ(c.refused, Send(page, c.control, WM_PASTE)) << c.page << "/" << c.control;
  }
}

// ---- the print-type password typed twice ----

struct ConfirmCase {
  const char* name;
  const char16_t* again;
  int button;
  int keptOpen;
  bool warned;
};

TEST_F(PrintTypeTest, APasswordIsConfirmedBeforeThePageCloses) {
  const ConfirmCase cases[] = {
      {"confirmed", u"1234", IDOK, 0, false},
      {"mismatched", u"9999", IDOK, 1, true},
      {"cancelled", u"1234", IDCANCEL, 1, false},
  };
  for (const ConfirmCase& c : cases) {
    ItemSetRawById(ctx_, kItem_zdmPrnMethod, 9);  // stored print: password 3060
    DlgPageRecord* page = Page(1019, {2241, 3059, 3060});
    WuiSetText(Edit(page, 3060), u"1234");
    CtxAddChangeFlags(ctx_, kPrnChangePassword);
    Confirm(2527, c.again, c.button);
    Mark();
    EXPECT_EQ(c.keptOpen, Ok(page)) << c.name;
    SimUiSetIdleHook(nullptr, nullptr);
    EXPECT_EQ(1, g_confirmer.runs) << c.name;
    g_confirmer.runs = 0;
    const std::vector<std::u16string> boxes = Boxes();
    EXPECT_EQ(c.warned ? 1u : 0u, boxes.size()) << c.name;
    if (c.warned && !boxes.empty()) {
      EXPECT_EQ(StringOf(10034), boxes[0]);
    }
    EXPECT_EQ(c.keptOpen ? u"" : u"1234", Text(page, 3060)) << c.name << ": refused passwords are emptied";
    if (c.keptOpen) {
      EXPECT_EQ(Edit(page, 3060), WuiGetFocus()) << c.name;
    }
    EXPECT_EQ(0u, CtxGetChangeFlags(ctx_) & kPrnChangePassword) << c.name;
  }
}

TEST_F(PrintTypeTest, TypingAPasswordMarksItForConfirmation) {
  DlgPageRecord* page = Page(1019, {3060});
  EXPECT_EQ(1, Send(page, 3060, WM_COMMAND, MAKEWPARAM(3060, EN_CHANGE)));
  EXPECT_NE(0u, CtxGetChangeFlags(ctx_) & kPrnChangePassword);
  EXPECT_EQ(0, Send(page, 0, WM_COMMAND, IDCANCEL));
  EXPECT_EQ(0u, CtxGetChangeFlags(ctx_) & kPrnChangePassword) << "Cancel forgets it";
  // Without a typed password no confirmation runs.
  EXPECT_EQ(0, Ok(page));
}

TEST_F(PrintTypeTest, ANameWithAQuoteIsRefusedAtOkHoweverItCameIn) {
  ItemSetRawById(ctx_, kItem_zdmPrnMethod, 3);
  DlgPageRecord* page = Page(1019, {2423, 2532, 2533});
  WuiSetText(Edit(page, 2532), u"doc\"1");
  Mark();
  EXPECT_EQ(1, Ok(page));
  ASSERT_EQ(1u, Boxes().size());
  EXPECT_EQ(StringOf(10051), Boxes()[0]);
  EXPECT_EQ(Edit(page, 2532), WuiGetFocus());
  // A clean name sets the charset of the names to the system's.
  WuiSetText(Edit(page, 2532), u"doc1");
  ItemSetRawById(ctx_, kItem_zdmCharSet, 0);
  EXPECT_EQ(0, Ok(page));
  EXPECT_EQ(2, ItemGetRawById(ctx_, kItem_zdmCharSet)) << "code page 1252";
}

// ---- the job-merge name ----

TEST_F(PrintTypeTest, JobMergeNames) {
  WCHAR folder[MAX_PATH], file[MAX_PATH];
  ASSERT_TRUE(PrnJobMergeFile(ctx_, u"taken", folder, file));
  WCHAR windows[MAX_PATH];
  GetWindowsDirectoryW(windows, MAX_PATH);
  EXPECT_EQ(std::u16string(windows) + u"\\Temp\\Omp", std::u16string(folder)) << "the default folder";
  EXPECT_EQ(std::u16string(folder) + u"\\taken.omp", std::u16string(file));
  std::u16string path = std::u16string(windows) + u"\\Temp";
  CreateDirectoryW(path.c_str(), nullptr);
  CreateDirectoryW(folder, nullptr);
  HANDLE h = CreateFileW(file, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  ASSERT_NE(INVALID_HANDLE_VALUE, h);
  CloseHandle(h);

  struct {
    const char16_t* name;
    UINT warning;
  } cases[] = {{u"", 0},         {u"new", 0},      {u"taken", 10050}, {u"a\\b", 10051}, {u"a/b", 10051},
               {u"a:b", 10051},  {u"a;b", 10051},  {u"a,b", 10051},   {u"a*b", 10051},  {u"a?b", 10051},
               {u"a\"b", 10051}, {u"a<b", 10051},  {u"a>b", 10051},   {u"a|b", 10051}};
  ItemSetRawById(ctx_, kItem_zdmPrnMethod, 5);
  for (const auto& c : cases) {
    DlgPageRecord* page = Page(1019, {2243, 3108});
    WuiSetText(Edit(page, 2243), W(c.name));
    Mark();
    EXPECT_EQ(c.warning ? 1 : 0, Ok(page)) << std::string(c.name, c.name + std::char_traits<char16_t>::length(c.name)).size();
    const std::vector<std::u16string> boxes = Boxes();
    ASSERT_EQ(c.warning ? 1u : 0u, boxes.size());
    if (c.warning) {
      EXPECT_EQ(StringOf(c.warning), boxes[0]);
      EXPECT_EQ(Edit(page, 2243), WuiGetFocus());
    }
  }
}

// ---- authentication ----

class AuthenticationTest : public PrintTypeTest {
 protected:
  void SetUp() override {
    PrintTypeTest::SetUp();
    if (HasFatalFailure()) return;
    InstallStandIn("ORVJC32.DLL", "orvjc32.so");
  }
  std::vector<std::string> Log(const std::string& prefix) {
    std::vector<std::string> out;
    std::ifstream in(std::string(SimMachineRoot()) + "/stand-ins/orvjc32.log");
    std::string line;
    while (std::getline(in, line))
      if (line.compare(0, prefix.size(), prefix) == 0) out.push_back(line);
    return out;
  }
  std::vector<DWORD> Properties(const std::string& slot) {
    std::vector<DWORD> out;
    for (const std::string& line : Log(slot + " ")) {
      const size_t at = line.find("property=");
      if (at != std::string::npos) out.push_back(static_cast<DWORD>(std::stoul(line.substr(at + 9))));
    }
    return out;
  }
};

TEST_F(AuthenticationTest, OkHandsTheTextsToTheJobControlDll) {
  ItemSetRawById(ctx_, kItem_zdmPrnFuncAuthenticationMode, 1);
  SetText(kItem_wdmAuthenticationUserName, u"alice");
  SetText(kItem_wdmAuthenticationPassword, u"pw");
  DlgPageRecord* page = Page(4022, {3003, 3006});
  Confirm(2996, u"pw");
  EXPECT_EQ(0, Ok(page));
  SimUiSetIdleHook(nullptr, nullptr);
  EXPECT_EQ(1, g_confirmer.runs);
  EXPECT_EQ((std::vector<DWORD>{9, 10}), Properties("slot6")) << "user (mask 2048) and password (4096)";
  EXPECT_TRUE(Properties("slot7").empty());
  EXPECT_EQ(u"alice", ItemText(kItem_wdmAuthenticationUserName));
}

TEST_F(AuthenticationTest, AMismatchedOrCancelledConfirmationKeepsTheDialog) {
  for (int button : {IDOK, IDCANCEL}) {
    ItemSetRawById(ctx_, kItem_zdmPrnFuncAuthenticationMode, 1);
    SetText(kItem_wdmAuthenticationPassword, u"pw");
    DlgPageRecord* page = Page(4022, {3003, 3006});
    Confirm(2996, u"other", button);
    Mark();
    EXPECT_EQ(1, Ok(page));
    SimUiSetIdleHook(nullptr, nullptr);
    EXPECT_EQ(button == IDOK ? 1u : 0u, Boxes().size());
    if (button == IDOK && !Boxes().empty()) {
      EXPECT_EQ(StringOf(12013), Boxes()[0]);
    }
    EXPECT_EQ(u"", ItemText(kItem_wdmAuthenticationPassword));
    EXPECT_EQ(Edit(page, 3006), WuiGetFocus());
    EXPECT_TRUE(Properties("slot6").empty()) << "nothing reaches the DLL unconfirmed";
  }
}

TEST_F(AuthenticationTest, WithAuthenticationOffTheUserIsDeleted) {
  ItemSetRawById(ctx_, kItem_zdmPrnFuncAuthenticationMode, 0);
  SetText(kItem_wdmAuthenticationUserName, u"alice");
  SetText(kItem_wdmAuthenticationPassword, u"pw");
  DlgPageRecord* page = Page(4022, {3003, 3006});
  EXPECT_EQ(0, Ok(page));
  EXPECT_EQ((std::vector<DWORD>{9}), Properties("slot7"));
  EXPECT_EQ((std::vector<DWORD>{10}), Properties("slot6")) << "the emptied password is pushed";
  EXPECT_EQ(u"", ItemText(kItem_wdmAuthenticationUserName));
  EXPECT_EQ(u"", ItemText(kItem_wdmAuthenticationPassword));
}

TEST_F(PrintTypeTest, TheNetworkKeyIsConfirmedOnApply) {
  ItemSetRawById(ctx_, kItem_zdmPrnFuncAuthenticationMode, 1);
  ItemSetRawById(ctx_, kItem_zdmPrnFuncAuthenticationSecureMode, 1);
  struct {
    const char16_t* again;
    int button;
    LONG_PTR answer;
    size_t boxes;
  } cases[] = {{u"k3y", IDOK, PSNRET_NOERROR, 0}, {u"kez", IDOK, PSNRET_INVALID_NOCHANGEPAGE, 1},
               {u"k3y", IDCANCEL, PSNRET_INVALID_NOCHANGEPAGE, 0}};
  for (const auto& c : cases) {
    SetText(kItem_wdmAuthenticationNetworkKey, u"k3y");
    DlgPageRecord* page = Page(4019, {2988});
    EXPECT_EQ(0, Send(page, 2988, WM_SETFOCUS));
    Confirm(2999, c.again, c.button);
    Mark();
    NMHDR apply{};
    apply.code = static_cast<UINT>(PSN_APPLY);
    EXPECT_EQ(1, Send(page, 0, WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&apply)));
    SimUiSetIdleHook(nullptr, nullptr);
    EXPECT_EQ(c.answer, WuiGetSlot(page->window, DWL_MSGRESULT));
    EXPECT_EQ(c.boxes, Boxes().size());
    if (c.boxes) {
      EXPECT_EQ(StringOf(12014), Boxes()[0]);
    }
    EXPECT_EQ(c.answer == PSNRET_NOERROR ? u"k3y" : u"", ItemText(kItem_wdmAuthenticationNetworkKey));
    EXPECT_EQ(0u, CtxGetChangeFlags(ctx_) & kPrnChangeNetworkKey);
    // Untouched, apply asks nothing.
    EXPECT_EQ(0, Send(page, 0, WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&apply)));
  }
}

// ---- the alerts' focus ----

TEST_F(PrintTypeTest, AnAlertMovesTheFocusToItsField) {
  ItemSetRawById(ctx_, kItem_zdmPrnMethod, 1);
  DlgPageRecord* page = Page(1019, {2241, 2245});
  // A message id whose text is not one of the user-ID texts: the password is emptied.
  WuiSetText(Edit(page, 2245), u"pw");
  EXPECT_EQ(1, Send(page, 2245, kDlgMsgChangeRefused, 0));
  EXPECT_EQ(Edit(page, 2245), WuiGetFocus());
  EXPECT_EQ(u"", Text(page, 2245));
}

// ---- hidden functions, disk limit, tray names ----

TEST_F(PrintTypeTest, HiddenFunctionsWriteOrDeleteTheirPrinterData) {
  DlgPageRecord* page = Page(1065, {});
  ItemSetRawById(ctx_, 450, 1);
  ItemSetRawById(ctx_, 451, 0);
  ItemSetRawById(ctx_, 452, 0);
  SetPrinterDataW(ctx_->printer, const_cast<LPWSTR>(u"ODFSave"), REG_DWORD, reinterpret_cast<LPBYTE>(&mark_), 4);
  EXPECT_EQ(0, Ok(page));
  DWORD type = 0, value = 0, needed = 0;
  EXPECT_EQ(0u, GetPrinterDataW(ctx_->printer, const_cast<LPWSTR>(u"OMFSave"), &type, reinterpret_cast<LPBYTE>(&value), 4, &needed));
  EXPECT_EQ(1u, value);
  EXPECT_NE(0u, GetPrinterDataW(ctx_->printer, const_cast<LPWSTR>(u"ODFSave"), &type, reinterpret_cast<LPBYTE>(&value), 4, &needed))
      << "a zero value deletes it";
}

TEST_F(PrintTypeTest, ADiskLimitOfMinusOneKeepsItsDialog) {
  DlgPageRecord* page = Page(4029, {3110});
  ItemSetRawById(ctx_, 681, -1);
  EXPECT_EQ(1, Ok(page));
  EXPECT_EQ(Edit(page, 3110), WuiGetFocus());
  ItemSetRawById(ctx_, 681, 500);
  EXPECT_EQ(0, Ok(page));
  DWORD type = 0, value = 0, needed = 0;
  EXPECT_EQ(0u, GetPrinterDataW(ctx_->printer, const_cast<LPWSTR>(u"DiskLimit"), &type, reinterpret_cast<LPBYTE>(&value), 4, &needed));
  EXPECT_EQ(500u, value);
}

TEST_F(PrintTypeTest, FocusOnATrayNameTellsItsTray) {
  DlgPageRecord* page = Page(1015, {2193, 2199, 2209});
  const struct {
    WORD control;
    LONG tray;
  } cases[] = {{2193, 1}, {2199, 4}, {2209, 9}};
  for (const auto& c : cases) {
    Send(page, c.control, WM_SETFOCUS);
    EXPECT_EQ(c.tray, ItemGetRawById(ctx_, 1021)) << c.control;
    Send(page, c.control, WM_KILLFOCUS);
    EXPECT_EQ(0, ItemGetRawById(ctx_, 1021));
  }
  Send(page, 2194, WM_SETFOCUS);
  EXPECT_EQ(0, ItemGetRawById(ctx_, 1021)) << "the labels between are ignored";
}

TEST_F(PrintTypeTest, TheHiddenFunctionDialogOnlyFromTheDriversOwnSheet) {
  DlgPageRecord* page = Page(1001, {});
  for (LONG source : {0, 1}) {
    ItemSetRawById(ctx_, kItem_zdmCallSrc, source);
    int runs = 0;
    SimUiSetIdleHook([](void* n) { ++*static_cast<int*>(n); WuiSend(WuiActiveWindow(), WM_COMMAND, IDCANCEL, 0); }, &runs);
    DlgControlEvent event = {page, nullptr};
    ModBusSendEvent(ctx_, kEventSecretClick, &event);
    SimUiSetIdleHook(nullptr, nullptr);
    EXPECT_EQ(source == 1 ? 1 : 0, runs) << "zdmCallSrc " << source;
  }
}

// ---- the version dialogs, the initial-settings page, the user code ----

TEST_F(PrintTypeTest, ASubstituteVersionIsShownWhileTheVersionDialogIsOpen) {
  SetText(kItem_wdmDriverVersion, u"1.20");
  for (WORD dialog : {1025, 4027}) {
    for (const char16_t* dummy : {u"", u"9.99"}) {
      IniWriteString(u"common", u"DummyVersion", dummy, PathModelDataFile(ctx_));
      DlgPageRecord* page = Page(dialog, {3086});
      EXPECT_EQ(0, Send(page, 0, WM_INITDIALOG));
      EXPECT_EQ(dummy[0] ? std::u16string(dummy) : u"1.20", ItemText(kItem_wdmDriverVersion)) << dialog;
      EXPECT_EQ(0, Ok(page));
      EXPECT_EQ(u"1.20", ItemText(kItem_wdmDriverVersion)) << dialog << ": OK puts it back";
    }
  }
}

TEST_F(PrintTypeTest, TheVersionDialogsStatusListShowsTheSettingsSummary) {
  DlgPageRecord* page = Page(4027, {3086});
  DlgControlRecord* list = CtlFind(ctx_, page, 3086);
  ASSERT_NE(nullptr, list);
  list->window = Edit(page, 3086);
  EXPECT_EQ(0, PrnMethodHandleControl(ctx_, page, list, WM_PAINT, 0, 0, nullptr)) << "the show request is never taken";
  WCHAR text[4096] = {};
  WuiGetText(list->window, text, 4096);
  const std::u16string shown(text);
  size_t breaks = 0;
  for (size_t at = shown.find(u"\r\n"); at != std::u16string::npos; at = shown.find(u"\r\n", at + 2)) ++breaks;
  EXPECT_EQ(size_t(kSummaryLineCount - 1), breaks);
  list->window = NULL;
}

TEST_F(PrintTypeTest, TheFitChoiceNamesThePapersOfTheModel) {
  DlgPageRecord* page = Page(1010, {2877});
  WuiShow(sheet_, SW_SHOW);
  WuiShow(page->window, SW_SHOW);
  Send(page, 2877, WM_PAINT);
  EXPECT_EQ(StringOf(ItemUsesInchPapers(ctx_) ? 10101 : 10100), Text(page, 2877));
}

TEST_F(PrintTypeTest, NoInTheUserCodeConfirmationKeepsTheInput) {
  for (int answer : {IDNO, IDYES}) {
    DlgPageRecord* page = Page(1027, {});
    SimUiSetIdleHook([](void* a) { WuiSend(WuiActiveWindow(), WM_COMMAND, *static_cast<int*>(a), 0); }, &answer);
    EXPECT_EQ(answer == IDNO ? 1 : 0, Ok(page));
    SimUiSetIdleHook(nullptr, nullptr);
  }
}

}  // namespace
}  // namespace zems_test
