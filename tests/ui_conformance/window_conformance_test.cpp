// The window behaviours the dialog engine relies on, as one table of cases run through the
// window interface: natively on the machine's recording fake, under Wine on user32. Each case
// gets a fresh dialog made from template 4900 of the test dialog DLL (dialogs/4900.dlg).
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/common/window_ui.h"
#include "ui2k/host_repair.h"
#ifdef _WIN32
#include "support/wine_detect.h"
#else
#include <filesystem>

#include "platform/sim.h"
#include "support/machine_fixture.h"
#endif

namespace {

constexpr int kDialog = 4900;
constexpr int kEdit = 100, kCheck = 101, kCombo = 102, kList = 103, kLabel = 104, kPush = 105;
// The test's own messages to the dialog.
constexpr UINT kPostThenSend = WM_USER + 1, kPosted = WM_USER + 2, kSent = WM_USER + 3, kAnswer = WM_USER + 4,
               kEnd = WM_USER + 5;

struct Seen {
  UINT message;
  WORD id;
  WORD code;
};
std::vector<Seen> g_seen;
volatile LONG g_timerFired = 0;

INT_PTR CALLBACK TestDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG:
      if (lParam == 1) WuiPost(dialog, kEnd, 0, 0);
      return TRUE;
    case WM_COMMAND:
      g_seen.push_back(Seen{message, LOWORD(wParam), HIWORD(wParam)});
      return TRUE;
    case kPostThenSend:
      g_seen.push_back(Seen{message, 1, 0});
      WuiPost(dialog, kPosted, 0, 0);
      WuiSend(dialog, kSent, 0, 0);
      g_seen.push_back(Seen{message, 2, 0});
      return TRUE;
    case kPosted:
    case kSent:
      g_seen.push_back(Seen{message, 0, 0});
      return TRUE;
    case kAnswer:
      WuiSetSlot(dialog, DWL_MSGRESULT, 1234);
      return TRUE;
    case kEnd:
      WuiEndDialog(dialog, 77);
      return TRUE;
    case WM_TIMER:
      if (wParam == 7) {
        WuiKillTimer(dialog, 7);
        g_timerFired = 1;
      }
      return TRUE;
    default:
      return FALSE;
  }
}

// Counts what passes through a subclass procedure before the saved one answers.
WNDPROC g_saved = NULL;
int g_throughSubclass = 0;
LRESULT CALLBACK CountingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_SETTEXT) ++g_throughSubclass;
  return WuiCallProcedure(g_saved, window, message, wParam, lParam);
}

std::u16string TextOf(HWND window) {
  WCHAR text[128];
  WuiGetText(window, text, 128);
  return std::u16string(reinterpret_cast<const char16_t*>(text));
}

bool Saw(UINT message, WORD id, WORD code) {
  for (const Seen& s : g_seen)
    if (s.message == message && s.id == id && s.code == code) return true;
  return false;
}

#ifdef _WIN32
using Base = ::testing::Test;
HMODULE LoadDll(LPCWSTR name) { return LoadLibraryW(name); }
HMODULE LoadDialogs() { return LoadDll(TEXT("zemstestui.dll")); }
// A top-level window of a class of the test's own (the host repair looks for one by class).
HWND MakeTopLevel(LPCWSTR className) {
  WNDCLASSW wc = {};
  wc.lpfnWndProc = DefWindowProcW;
  wc.hInstance = GetModuleHandleW(NULL);
  wc.lpszClassName = className;
  RegisterClassW(&wc);
  return CreateWindowW(className, TEXT(""), WS_POPUP, 0, 0, 10, 10, NULL, NULL, wc.hInstance, NULL);
}
bool UnderWine() { return zems_test::UnderWine(); }
#else
using Base = zems_test::MachineTest;
// A DLL of the build, placed in C:\ of the machine first.
HMODULE LoadDll(LPCWSTR name) {
  std::error_code ec;
  std::string leaf;
  for (const WCHAR* c = name; *c; ++c) leaf.push_back(char(*c));
  std::string folder = SimHostPath(reinterpret_cast<LPCWSTR>(u"C:\\"));
  std::filesystem::copy_file(zems_test::BinDir() + "/" + leaf, folder + "/" + leaf,
                             std::filesystem::copy_options::overwrite_existing, ec);
  return LoadLibraryW(reinterpret_cast<LPCWSTR>((u"C:\\" + std::u16string(leaf.begin(), leaf.end())).c_str()));
}
HMODULE LoadDialogs() { return LoadDll(TEXT("zemstestui.dll")); }
HWND MakeTopLevel(LPCWSTR className) { return SimUiMakeWindow(className, NULL, 0, WS_POPUP); }
bool UnderWine() { return false; }
#endif

struct Case {
  const char* behaviour;
  void (*run)(HMODULE dialogs, HWND dialog);
};

const Case kCases[] = {
    {"the template's controls are children of the dialog in template order",
     [](HMODULE, HWND dialog) {
       const int ids[] = {kEdit, kCheck, kCombo, kList, kLabel, kPush};
       HWND child = WuiFirstChild(dialog);
       for (int id : ids) {
         ASSERT_NE(child, (HWND)NULL) << id;
         EXPECT_EQ(WuiControlId(child), id);
         EXPECT_EQ(WuiFindControl(dialog, id), child);
         EXPECT_EQ(WuiParent(child), dialog);
         child = WuiNextSibling(child);
       }
       EXPECT_EQ(child, (HWND)NULL);
       EXPECT_EQ(WuiFindControl(dialog, 999), (HWND)NULL);
       EXPECT_EQ(TextOf(dialog), u"Conformance");
       EXPECT_EQ(TextOf(WuiFindControl(dialog, kLabel)), u"Label");
       WCHAR name[48];
       WuiClassName(WuiFindControl(dialog, kList), name, 48);
       EXPECT_EQ(std::u16string(reinterpret_cast<const char16_t*>(name)), u"ListBox");
     }},
    {"setting an edit's text sends EN_CHANGE; a static's sends nothing",
     [](HMODULE, HWND dialog) {
       EXPECT_TRUE(WuiSetText(WuiFindControl(dialog, kEdit), TEXT("12.5")));
       EXPECT_TRUE(Saw(WM_COMMAND, kEdit, EN_CHANGE));
       EXPECT_EQ(TextOf(WuiFindControl(dialog, kEdit)), u"12.5");
       g_seen.clear();
       WuiSetText(WuiFindControl(dialog, kLabel), TEXT("x"));
       EXPECT_TRUE(g_seen.empty());
     }},
    {"a posted message runs after the one being handled, a sent one at once",
     [](HMODULE, HWND dialog) {
       WuiSend(dialog, kPostThenSend, 0, 0);
       ASSERT_EQ(g_seen.size(), 3u);
       EXPECT_EQ(g_seen[1].message, kSent);
       EXPECT_TRUE(WuiIsPosted(dialog, kPosted));
       volatile LONG never = 0;
       WuiPumpUntil(&never, 50);
       ASSERT_EQ(g_seen.size(), 4u);
       EXPECT_EQ(g_seen[3].message, kPosted);
       EXPECT_FALSE(WuiIsPosted(dialog, kPosted));
     }},
    {"a handled message answers DWL_MSGRESULT",
     [](HMODULE, HWND dialog) {
       EXPECT_EQ(WuiSend(dialog, kAnswer, 0, 0), 1234);
       EXPECT_EQ(WuiGetSlot(dialog, DWL_MSGRESULT), 1234);
       WuiSetSlot(dialog, DWL_USER, 55);
       WuiSetSlot(dialog, GWL_USERDATA, 66);
       EXPECT_EQ(WuiGetSlot(dialog, DWL_USER), 55);
       EXPECT_EQ(WuiGetSlot(dialog, GWL_USERDATA), 66);
     }},
    {"a choice selected by message sends no CBN_SELCHANGE; -1 clears it",
     [](HMODULE, HWND dialog) {
       for (int id : {kCombo, kList}) {
         HWND c = WuiFindControl(dialog, id);
         EXPECT_EQ(WuiChoiceAdd(c, TEXT("A4"), 9), 0);
         EXPECT_EQ(WuiChoiceAdd(c, TEXT("Letter"), 1), 1);
         EXPECT_EQ(WuiChoiceCount(c), 2);
         EXPECT_EQ(WuiChoiceData(c, 1), 1);
         EXPECT_EQ(WuiChoiceData(c, 5), 0);
         WCHAR text[4];
         EXPECT_EQ(WuiChoiceText(c, 1, text, 4), 3) << "cut to the buffer";
         EXPECT_EQ(std::u16string(reinterpret_cast<const char16_t*>(text)), u"Let");
         EXPECT_EQ(WuiChoiceText(c, 2, text, 4), -1);
         EXPECT_EQ(WuiChoiceSelect(c, 1), 1);
         EXPECT_EQ(WuiChoiceSelection(c), 1);
         EXPECT_EQ(WuiChoiceSelect(c, 7), -1);
         EXPECT_EQ(WuiChoiceSelection(c), 1) << "beyond the entries: kept, whatever the documentation says";
         EXPECT_EQ(WuiChoiceSelect(c, -1), -1);
         EXPECT_EQ(WuiChoiceSelection(c), -1);
         WuiChoiceReset(c);
         EXPECT_EQ(WuiChoiceCount(c), 0);
       }
       EXPECT_TRUE(g_seen.empty()) << "no notification for a selection set by message";
     }},
    {"a click on an automatic check box checks it and notifies; setting the check does not",
     [](HMODULE, HWND dialog) {
       HWND check = WuiFindControl(dialog, kCheck);
       WuiSend(check, BM_CLICK, 0, 0);
       EXPECT_EQ(WuiGetCheck(check), (UINT)BST_CHECKED);
       EXPECT_TRUE(Saw(WM_COMMAND, kCheck, BN_CLICKED));
       g_seen.clear();
       WuiSetCheck(check, BST_UNCHECKED);
       EXPECT_EQ(WuiGetCheck(check), (UINT)BST_UNCHECKED);
       EXPECT_TRUE(g_seen.empty());
     }},
    {"enable and show answer the previous state",
     [](HMODULE, HWND dialog) {
       HWND push = WuiFindControl(dialog, kPush);
       EXPECT_FALSE(WuiEnable(push, FALSE));
       EXPECT_FALSE(WuiIsEnabled(push));
       EXPECT_TRUE(WuiEnable(push, TRUE));
       EXPECT_TRUE(WuiIsVisible(push));
       EXPECT_TRUE(WuiShow(push, SW_HIDE));
       EXPECT_FALSE(WuiIsVisible(push));
       EXPECT_TRUE((WuiGetStyle(push) & WS_VISIBLE) == 0);
       EXPECT_FALSE(WuiShow(push, SW_SHOWNA));
       EXPECT_TRUE(WuiIsVisible(push));
     }},
    {"typing stops at an edit's limit; setting the text does not",
     [](HMODULE, HWND dialog) {
       HWND edit = WuiFindControl(dialog, kEdit);
       WuiEditLimit(edit, 3);
       WuiEditSelect(edit, 0, -1);
       for (char c : std::string("abcd")) WuiSend(edit, WM_CHAR, (WPARAM)c, 0);
       EXPECT_EQ(TextOf(edit), u"abc");
       WuiSetText(edit, TEXT("longer"));
       EXPECT_EQ(TextOf(edit), u"longer") << "the limit is for typing only";
       WuiEditPasswordChar(edit, u'*');
       EXPECT_EQ(TextOf(edit), u"longer") << "the text stays what it is";
     }},
    {"focus moves to a control and answers where it was",
     [](HMODULE, HWND dialog) {
       HWND edit = WuiFindControl(dialog, kEdit), push = WuiFindControl(dialog, kPush);
       WuiSetFocus(edit);
       EXPECT_EQ(WuiGetFocus(), edit);
       EXPECT_EQ(WuiSetFocus(push), edit);
       EXPECT_EQ(WuiGetFocus(), push);
     }},
    {"a subclass sees the control's messages and hands them to the saved procedure",
     [](HMODULE, HWND dialog) {
       HWND edit = WuiFindControl(dialog, kEdit);
       g_throughSubclass = 0;
       g_saved = WuiSubclass(edit, CountingProc);
       ASSERT_NE(g_saved, (WNDPROC)NULL);
       WuiSetText(edit, TEXT("abc"));
       EXPECT_EQ(g_throughSubclass, 1);
       EXPECT_EQ(TextOf(edit), u"abc");
       EXPECT_TRUE(Saw(WM_COMMAND, kEdit, EN_CHANGE));
       EXPECT_EQ(WuiSubclass(edit, g_saved), (WNDPROC)CountingProc);
     }},
    {"the host repair resets subclassed children only while a host window exists",
     [](HMODULE, HWND dialog) {
       HWND push = WuiFindControl(dialog, kPush);
       WNDPROC classProc = WuiClassProcedure(TEXT("Button"));
       ASSERT_NE(classProc, (WNDPROC)NULL);
       g_saved = WuiSubclass(push, CountingProc);
       CtxFixHostSubclassing(nullptr, dialog);
       EXPECT_EQ(WuiSubclass(push, CountingProc), (WNDPROC)CountingProc) << "no host: left alone";
       HWND host = MakeTopLevel(TEXT("CorelDRAW 9.0"));
       ASSERT_NE(host, (HWND)NULL);
       CtxFixHostSubclassing(nullptr, dialog);
       EXPECT_EQ(WuiSubclass(push, g_saved), classProc) << "host: the class procedure is back";
       WuiDestroy(host);
     }},
    {"a timer fires on the thread's pump",
     [](HMODULE, HWND dialog) {
       g_timerFired = 0;
       EXPECT_EQ(WuiSetTimer(dialog, 7, 20), (UINT_PTR)7);
       EXPECT_TRUE(WuiPumpUntil(&g_timerFired, 2000));
     }},
    {"a modal dialog runs until it ends and answers the end's result",
     [](HMODULE dialogs, HWND dialog) {
       EXPECT_EQ(WuiRunDialog(dialogs, kDialog, dialog, TestDialogProc, 1), 77);
       EXPECT_TRUE(WuiIsEnabled(dialog)) << "the owner is enabled again";
       EXPECT_EQ(WuiRunDialog(dialogs, 4999, dialog, TestDialogProc, 1), -1) << "no such template";
     }},
    {"a tab control keeps its tabs and selection; a tree view its items under their parents",
     [](HMODULE, HWND dialog) {
       const RECT area = {10, 60, 90, 110};
       HWND tab = WuiCreateChild(dialog, TEXT("SysTabControl32"), TEXT(""), WS_CHILD | WS_VISIBLE, 0, &area, 106,
                                 NULL, NULL);
       ASSERT_NE(tab, (HWND)NULL);
       EXPECT_EQ(WuiTabSelection(tab), -1) << "no tab, no selection";
       EXPECT_EQ(WuiTabInsert(tab, 0, TEXT("Layout"), 11), 0);
       EXPECT_EQ(WuiTabSelection(tab), 0) << "the first tab is selected";
       EXPECT_EQ(WuiTabInsert(tab, 5, TEXT("Colour"), 13), 1) << "past the end: appended";
       EXPECT_EQ(WuiTabInsert(tab, 1, TEXT("Finish"), 12), 1);
       EXPECT_EQ(WuiSend(tab, TCM_GETITEMCOUNT, 0, 0), 3);
       WCHAR text[16] = {};
       TCITEMW item = {};
       item.mask = TCIF_TEXT | TCIF_PARAM;
       item.pszText = text;
       item.cchTextMax = 16;
       EXPECT_TRUE(WuiSend(tab, TCM_GETITEMW, 2, reinterpret_cast<LPARAM>(&item)));
       EXPECT_EQ(std::u16string(reinterpret_cast<const char16_t*>(text)), u"Colour");
       EXPECT_EQ(item.lParam, 13);
       EXPECT_EQ(WuiSend(tab, TCM_SETCURSEL, 2, 0), 0) << "answers the one before";
       EXPECT_EQ(WuiTabSelection(tab), 2);
       HWND tree = WuiCreateChild(dialog, TEXT("SysTreeView32"), TEXT(""), WS_CHILD | WS_VISIBLE, 0, &area, 107,
                                  NULL, NULL);
       ASSERT_NE(tree, (HWND)NULL);
       HTREEITEM page = WuiTreeInsert(tree, NULL, TEXT("TOV_IDD_PRESET"), 1);
       ASSERT_NE(page, (HTREEITEM)NULL);
       HTREEITEM control = WuiTreeInsert(tree, page, TEXT("none"), 2);
       ASSERT_NE(control, (HTREEITEM)NULL);
       WuiTreeInsert(tree, NULL, TEXT("TOV_IDD_BASIC"), 3);
       EXPECT_EQ(WuiSend(tree, TVM_GETCOUNT, 0, 0), 3);
       EXPECT_EQ(reinterpret_cast<HTREEITEM>(WuiSend(tree, TVM_GETNEXTITEM, TVGN_ROOT, 0)), page);
       EXPECT_EQ(reinterpret_cast<HTREEITEM>(WuiSend(tree, TVM_GETNEXTITEM, TVGN_CHILD, reinterpret_cast<LPARAM>(page))),
                 control);
       TVITEMW node = {};
       node.mask = TVIF_TEXT | TVIF_PARAM;
       node.hItem = control;
       node.pszText = text;
       node.cchTextMax = 16;
       EXPECT_TRUE(WuiSend(tree, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&node)));
       EXPECT_EQ(std::u16string(reinterpret_cast<const char16_t*>(text)), u"none");
       EXPECT_EQ(node.lParam, 2);
       EXPECT_TRUE(WuiTreeClear(tree));
       EXPECT_EQ(WuiSend(tree, TVM_GETCOUNT, 0, 0), 0);
     }},
    {"a destroyed dialog and its controls are gone",
     [](HMODULE, HWND dialog) {
       HWND edit = WuiFindControl(dialog, kEdit);
       EXPECT_TRUE(WuiDestroy(dialog));
       EXPECT_FALSE(WuiIsWindow(dialog));
       EXPECT_FALSE(WuiIsWindow(edit));
     }},
};

class WindowConformanceTest : public Base {};

TEST_F(WindowConformanceTest, Table) {
  HMODULE dialogs = LoadDialogs();
  ASSERT_NE(dialogs, (HMODULE)NULL);
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.behaviour);
    HWND dialog = WuiCreateDialog(dialogs, kDialog, NULL, TestDialogProc, 0);
    ASSERT_NE(dialog, (HWND)NULL);
    g_seen.clear();
    c.run(dialogs, dialog);
    if (WuiIsWindow(dialog)) WuiDestroy(dialog);
  }
  (void)UnderWine();
  FreeLibrary(dialogs);
}

// The wait dialog of the language DLL shows by its template's style, without a procedure, and
// takes its title and text as the driver sets them.
TEST_F(WindowConformanceTest, WaitDialogTemplateOfTheLanguageDll) {
  HMODULE language = LoadDll(TEXT("zemsresus.dll"));
  ASSERT_NE(language, (HMODULE)NULL);
  HWND wait = WuiCreateDialog(language, 4006, NULL, NULL, 0);
  ASSERT_NE(wait, (HWND)NULL);
  EXPECT_TRUE(WuiIsVisible(wait));
  HWND text = WuiFindControl(wait, 5005);
  ASSERT_NE(text, (HWND)NULL);
  EXPECT_TRUE(WuiSetText(wait, TEXT("Office")));
  EXPECT_TRUE(WuiSetText(text, TEXT("Reading")));
  EXPECT_EQ(TextOf(wait), u"Office");
  EXPECT_EQ(TextOf(text), u"Reading");
  EXPECT_TRUE(WuiDestroy(wait));
  EXPECT_FALSE(WuiIsWindow(text));
  FreeLibrary(language);
}

}  // namespace
