// The scenario runner: every table tests/ui_scenarios/*.scn, each case on a fresh machine with
// the sample printer and its language DLL, driven through the window interface on the fake.
// A table is one step a line ('#' starts a comment):
//   case NAME                   a new case
//   remove language             the printer's language DLL is gone
//   open wait TEXTID            the wait dialog of the printer's context
//   open dialog TEMPLATEID      a dialog of the language DLL without procedure
//   close                       destroys the open dialog
//   answer ok|cancel|yes|no     the next message box's answer
//   warn TEXTID [ok|okcancel]   a warning of the printer's context (its result is kept)
//   type CONTROL TEXT | click CONTROL | choose CONTROL INDEX | check CONTROL 0|1 | wait MS
//   expect title TEXT | expect text CONTROL TEXT | expect check CONTROL N
//   expect selection CONTROL N | expect box TEXTID | expect caption TEXT | expect result N
//   expect no-dialog | expect boxes N | expect owner dialog (the last box's owner)
#include <gtest/gtest.h>

#include <cctype>
#include <filesystem>
#include <string>
#include <vector>

#include "core/common/window_ui.h"
#include "core/context/driver_context.h"
#include "core/system/resources.h"
#include "core/system/user_messages.h"
#include "platform/sim.h"
#include "support/test_printer.h"
#include "support/ui_calls.h"
#include "support/scenario_tables.h"

namespace {

using Step = zems_test::TableStep;  // rest: the line after its first two words (three for a control's text)
using ScenarioCase = zems_test::TableCase;

std::vector<ScenarioCase> ReadTables() {
  return zems_test::ReadScenarioTables(zems_test::SourceDir() + "/tests/ui_scenarios",
                                       [](const std::vector<std::string>& words) -> size_t {
                                         return words.size() > 1 && (words[1] == "text" || words[0] == "type") ? 3 : 2;
                                       });
}

std::u16string Utf16(const std::string& s) { return std::u16string(s.begin(), s.end()); }
const WCHAR* W(const std::u16string& s) { return reinterpret_cast<const WCHAR*>(s.c_str()); }
std::string Utf8(const WCHAR* w) {
  std::string s;
  for (; *w; ++w) s.push_back(*w < 0x80 ? char(*w) : '?');
  return s;
}

class ScenarioTest : public zems_test::ContextTest, public ::testing::WithParamInterface<ScenarioCase> {
 protected:
  void SetUp() override {
    ContextTest::SetUp();
    if (HasFatalFailure()) return;
    std::error_code ec;
    std::string folder = zems_test::HostPath(kDriverFolder);
    std::filesystem::create_directories(folder, ec);
    ASSERT_TRUE(std::filesystem::copy_file(zems_test::BinDir() + "/zemsresus.dll", folder + "/zemsresus.dll",
                                           std::filesystem::copy_options::overwrite_existing, ec));
    SimUiReset();
    SimUiSetStrictBoxes(TRUE);
  }
  void TearDown() override {
    if (ctx_) CtxClose(ctx_);
    ContextTest::TearDown();
  }
  DriverContext* Ctx() {
    if (!ctx_) ctx_ = CtxOpen(office_, office_, nullptr, 0, kKindSettings, 0, nullptr);
    return ctx_;
  }
  HWND Control(const std::string& id) { return WuiFindControl(dialog_, std::stoi(id)); }
  std::string Text(HWND window) {
    WCHAR text[1025];
    WuiGetText(window, text, 1025);
    return Utf8(text);
  }
  SimUiCall LastBox() {
    SimUiCall call;
    if (!zems_test::LastMessageBox(&call)) ADD_FAILURE() << "no message box was shown";
    return call;
  }
  int BoxCount() { return zems_test::MessageBoxesShown(); }
  void Run(const Step& s);

  static constexpr char kDriverFolder[] = "C:\\WINDOWS\\system32\\spool\\drivers\\w32x86\\3\\";
  DriverContext* ctx_ = nullptr;
  HWND dialog_ = NULL;
  bool opened_ = false;
  long long result_ = 0;
};

int AnswerOf(const std::string& word) {
  if (word == "ok") return IDOK;
  if (word == "cancel") return IDCANCEL;
  if (word == "yes") return IDYES;
  if (word == "no") return IDNO;
  return -1;
}

void ScenarioTest::Run(const Step& s) {
  const std::vector<std::string>& w = s.words;
  const std::string& verb = w[0];
  auto arg = [&](size_t i) -> const std::string& {
    static const std::string none;
    return i < w.size() ? w[i] : none;
  };
  if (verb == "remove" && arg(1) == "language") {
    std::error_code ec;
    std::filesystem::remove(zems_test::HostPath(std::string(kDriverFolder) + "zemsresus.dll"), ec);
  } else if (verb == "open" && arg(1) == "wait") {
    dialog_ = UiShowWaitDialog(Ctx(), WORD(std::stoi(arg(2))));
    opened_ = true;
  } else if (verb == "open" && arg(1) == "dialog") {
    dialog_ = WuiCreateDialog(ResLoadLanguageDll(Ctx()), std::stoi(arg(2)), WuiActiveWindow(), nullptr, 0);
    opened_ = true;
  } else if (verb == "close") {
    UiCloseWaitDialog(dialog_);
    EXPECT_FALSE(WuiIsWindow(dialog_));
    dialog_ = NULL;
  } else if (verb == "answer") {
    int answer = AnswerOf(arg(1));
    ASSERT_NE(answer, -1) << "unknown answer " << arg(1);
    SimUiScriptAnswers(&answer, 1);
  } else if (verb == "warn") {
    result_ = UiWarnById(Ctx(), nullptr, WORD(std::stoi(arg(1))), arg(2) == "okcancel" ? MB_OKCANCEL : MB_OK);
  } else if (verb == "type") {
    WuiSetText(Control(arg(1)), W(Utf16(s.rest)));
  } else if (verb == "click") {
    WuiSend(Control(arg(1)), BM_CLICK, 0, 0);
  } else if (verb == "choose") {
    WuiChoiceSelect(Control(arg(1)), std::stoi(arg(2)));
  } else if (verb == "check") {
    WuiSetCheck(Control(arg(1)), UINT(std::stoi(arg(2))));
  } else if (verb == "wait") {
    volatile LONG never = 0;
    WuiPumpUntil(&never, DWORD(std::stoul(arg(1))));
  } else if (verb == "expect" && arg(1) == "title") {
    EXPECT_EQ(Text(dialog_), s.rest);
  } else if (verb == "expect" && arg(1) == "text") {
    EXPECT_EQ(Text(Control(arg(2))), s.rest);
  } else if (verb == "expect" && arg(1) == "check") {
    EXPECT_EQ(WuiGetCheck(Control(arg(2))), UINT(std::stoi(arg(3))));
  } else if (verb == "expect" && arg(1) == "selection") {
    EXPECT_EQ(WuiChoiceSelection(Control(arg(2))), std::stoi(arg(3)));
  } else if (verb == "expect" && arg(1) == "box") {
    WCHAR text[1025];
    ResLoadString(Ctx(), UINT(std::stoi(arg(2))), text, 1025, TRUE);
    EXPECT_EQ(Utf8(LastBox().text), Utf8(text));
  } else if (verb == "expect" && arg(1) == "caption") {
    EXPECT_EQ(Utf8(LastBox().caption), s.rest);
  } else if (verb == "expect" && arg(1) == "result") {
    EXPECT_EQ(result_, std::stoll(arg(2)));
  } else if (verb == "expect" && arg(1) == "no-dialog") {
    EXPECT_TRUE(opened_);
    EXPECT_EQ(dialog_, (HWND)NULL);
  } else if (verb == "expect" && arg(1) == "owner" && arg(2) == "dialog") {
    EXPECT_EQ(LastBox().window, dialog_);
  } else if (verb == "expect" && arg(1) == "boxes") {
    EXPECT_EQ(BoxCount(), std::stoi(arg(2)));
  } else {
    FAIL() << "unknown step";
  }
}

TEST_P(ScenarioTest, Runs) {
  const ScenarioCase& c = GetParam();
  for (const Step& s : c.steps) {
    SCOPED_TRACE(c.table + ".scn:" + std::to_string(s.line));
    Run(s);
    if (HasFatalFailure()) return;
  }
}

std::string CaseName(const ::testing::TestParamInfo<ScenarioCase>& info) {
  std::string name = info.param.table + "_" + std::to_string(info.index);
  for (char& ch : name)
    if (!isalnum(static_cast<unsigned char>(ch))) ch = '_';
  return name;
}

INSTANTIATE_TEST_SUITE_P(Tables, ScenarioTest, ::testing::ValuesIn(ReadTables()), CaseName);

}  // namespace
