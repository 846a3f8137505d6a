// The sheet scenarios: every table tests/ui_sheet_scenarios/*.scn, each case on a fresh machine
// with the sample printer installed, its sheets run through zemsui's exports as the common
// property-sheet UI runs them on the window fake, and a user acting on the pages. One step a
// line ('#' starts a comment):
//   case NAME                      a new case
//   sheet document|device [FIELD=VALUE]...
//                                  the steps up to "end" run while the sheet shows its pages; a
//                                  document sheet opened with FIELD=VALUE gets an input DEVMODE:
//                                  the printer's defaults with those public fields set (a value
//                                  symbol's stored value or a number)
//   choose CONTROL VALUE           a user chooses the entry of VALUE (value symbol or entry text)
//   type CONTROL TEXT              a user types TEXT into an edit and leaves it
//   click CONTROL                  a user clicks a button, check box or radio button
//   answer ok|cancel|yes|no        the next message box's answer
//   expect box TEXTID              the last message box shows that string
//   expect boxes N                 message boxes shown since the sheet opened
//   expect chosen CONTROL VALUE    the selected entry holds VALUE
//   expect check CONTROL 0|1       a button's check
//   expect text CONTROL TEXT       a control's text
//   expect enabled CONTROL 0|1
//   expect shown CONTROL 0|1
//   expect mark CONTROL 0|1        the control has its information mark: a 20 x 20 child of
//                                  its page left of it
//   expect item SYMBOL VALUE       a setting's value (value symbol or number)
//   end ok|cancel                  the sheet is confirmed or cancelled
//   expect devmode FIELD N         a public field of the DEVMODE the confirmed sheet returned
//                                  (paper, duplex, copies, orientation; N as in "sheet")
// Controls are found on any page of the sheet, the first page that has the id; a step that acts
// on a control or looks at it selects its page first, as a user clicks its tab.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "core/common/window_ui.h"
#include "core/context/context_cache.h"
#include "core/context/driver_context.h"
#include "core/front/control_lookup.h"
#include "core/front/page_lookup.h"
#include "core/items/item_access.h"
#include "core/system/resources.h"
#include "core/tables/symbol_table.h"
#include "core/tables/value_symbols.h"
#include "platform/sim.h"
#include "support/machine_fixture.h"
#include "support/ui_calls.h"
#include "support/test_printer.h"
#include "ui_sheet_scenarios/sheet_table.h"

namespace zems_test {
namespace {

const char16_t kPrinter[] = u"Office";
LPWSTR W(const char16_t* s) { return reinterpret_cast<LPWSTR>(const_cast<char16_t*>(s)); }
typedef LONG(WINAPI* SheetFn)(PPROPSHEETUI_INFO, LPARAM);

std::string Utf8(const WCHAR* w) {
  std::string s;
  for (; w && *w; ++w) s.push_back(*w < 0x80 ? char(*w) : '?');
  return s;
}
std::u16string Utf16(const std::string& s) { return std::u16string(s.begin(), s.end()); }

int AnswerOf(const std::string& word) {
  if (word == "ok") return IDOK;
  if (word == "cancel") return IDCANCEL;
  if (word == "yes") return IDYES;
  if (word == "no") return IDNO;
  return -1;
}

using Step = sheet_table::Step;
using SheetCase = sheet_table::Case;

class SheetScenarioTest : public MachineTest, public ::testing::WithParamInterface<SheetCase> {
 protected:
  void SetUp() override {
    MachineTest::SetUp();
    CtxCacheInit();
    ASSERT_EQ(InstallOfficeWithLanguage(), "");
    ASSERT_TRUE(OpenPrinterW(W(kPrinter), &printer_, nullptr));
    SimUiReset();
    SimUiSetStrictBoxes(TRUE);
    ui_ = LoadLibraryW(TEXT("zemsui.dll"));
    ASSERT_NE(nullptr, ui_);
  }
  void TearDown() override {
    if (ui_) FreeLibrary(ui_);
    if (printer_) ClosePrinter(printer_);
    CtxCacheExpire(TRUE);
    MachineTest::TearDown();
  }

  // The control of that id on the first page of the sheet that has it; a user acting on it
  // selects its page first.
  HWND Control(const std::string& id, bool select = false, HWND* pageOut = nullptr) {
    int templates[64];
    const int count = SimUiLastSheetPages(templates, 64);
    for (int i = 0; i < count && i < 64; ++i) {
      HWND p = SimUiSheetPage(i);
      HWND c = p ? WuiFindControl(p, std::stoi(id)) : NULL;
      if (c) {
        if (select && p != shownPage_) {
          SimUiUserSelectPage(p);
          shownPage_ = p;
        }
        if (pageOut) *pageOut = p;
        return c;
      }
    }
    ADD_FAILURE() << "no page of the sheet has control " << id;
    return NULL;
  }
  // The context of the sheet's pages (the DLL's; its layout is the core's).
  DriverContext* SheetContext() {
    HWND page = SimUiSheetPage(0);
    return page ? reinterpret_cast<DriverContext*>(WuiGetSlot(page, DWL_USER)) : nullptr;
  }
  // A value named by its value symbol, else a number.
  static LONG ValueOf(const std::string& word) {
    if (const ValueSymbol* symbol = TblFindValueSymbolByName(word.c_str())) return symbol->logical;
    return std::stol(word, nullptr, 0);
  }
  int EntryOf(HWND control, const std::string& value) {
    const ValueSymbol* symbol = TblFindValueSymbolByName(value.c_str());
    for (int i = 0; i < WuiChoiceCount(control); ++i) {
      if (symbol && WuiChoiceData(control, i) == symbol->logical) return i;
      WCHAR text[256];
      if (!symbol && WuiChoiceText(control, i, text, 256) >= 0 && Utf8(text) == value) return i;
    }
    return -1;
  }
  SimUiCall LastBox() {
    SimUiCall call;
    if (!zems_test::LastMessageBox(&call)) ADD_FAILURE() << "no message box was shown";
    return call;
  }
  int BoxCount() { return zems_test::MessageBoxesShown(); }

  void RunOnSheet(const Step& s);
  void ExpectMark(const std::string& id, bool expected);
  void RunSheet(const Step& opened, int answer);
  static void Hook(HWND sheet, void* self);

  HANDLE printer_ = nullptr;
  HMODULE ui_ = nullptr;
  std::vector<Step> onSheet_;  // the steps of the open sheet, run by the hook
  HWND shownPage_ = NULL;      // the page the user selected last
  bool collecting_ = false;
  Step opened_;                // the "sheet" step of the open sheet
  std::vector<BYTE> devmode_;
};

void SheetScenarioTest::Hook(HWND sheet, void* self) {
  (void)sheet;
  auto* test = static_cast<SheetScenarioTest*>(self);
  for (const Step& s : test->onSheet_) {
    SCOPED_TRACE(GetParam().table + ".scn:" + std::to_string(s.line));
    test->RunOnSheet(s);
    SimUiPump();
  }
}

void SheetScenarioTest::RunOnSheet(const Step& s) {
  const std::vector<std::string>& w = s.words;
  auto arg = [&](size_t i) -> std::string { return i < w.size() ? w[i] : std::string(); };
  const std::string& verb = w[0];
  if (verb == "choose") {
    HWND control = Control(arg(1), true);
    const int entry = EntryOf(control, arg(2));
    ASSERT_GE(entry, 0) << "control " << arg(1) << " has no entry " << arg(2);
    EXPECT_TRUE(SimUiUserChoose(control, entry));
  } else if (verb == "type") {
    std::u16string text = Utf16(s.rest);
    EXPECT_TRUE(SimUiUserType(Control(arg(1), true), reinterpret_cast<LPCWSTR>(text.c_str())));
  } else if (verb == "click") {
    EXPECT_TRUE(SimUiUserClick(Control(arg(1), true)));
  } else if (verb == "answer") {
    int answer = AnswerOf(arg(1));
    ASSERT_NE(answer, -1) << "unknown answer " << arg(1);
    SimUiScriptAnswers(&answer, 1);
  } else if (verb == "expect" && arg(1) == "box") {
    WCHAR text[1025];
    ResLoadString(SheetContext(), UINT(std::stoi(arg(2))), text, 1025, TRUE);
    EXPECT_EQ(Utf8(LastBox().text), Utf8(text));
  } else if (verb == "expect" && arg(1) == "boxes") {
    EXPECT_EQ(BoxCount(), std::stoi(arg(2)));
  } else if (verb == "expect" && arg(1) == "chosen") {
    HWND control = Control(arg(2), true);
    const int selected = WuiChoiceSelection(control);
    ASSERT_GE(selected, 0) << "nothing chosen in " << arg(2);
    EXPECT_EQ(WuiChoiceData(control, selected), ValueOf(arg(3)));
  } else if (verb == "expect" && arg(1) == "check") {
    EXPECT_EQ(WuiGetCheck(Control(arg(2), true)), UINT(std::stoi(arg(3))));
  } else if (verb == "expect" && arg(1) == "text") {
    WCHAR text[1025];
    WuiGetText(Control(arg(2), true), text, 1025);
    EXPECT_EQ(Utf8(text), s.rest);
  } else if (verb == "expect" && arg(1) == "enabled") {
    EXPECT_EQ(WuiIsEnabled(Control(arg(2), true)) ? 1 : 0, std::stoi(arg(3)));
  } else if (verb == "expect" && arg(1) == "shown") {
    EXPECT_EQ(WuiIsVisible(Control(arg(2), true)) ? 1 : 0, std::stoi(arg(3)));
  } else if (verb == "expect" && arg(1) == "mark") {
    ExpectMark(arg(2), std::stoi(arg(3)) != 0);
  } else if (verb == "expect" && arg(1) == "item") {
    const SymbolEntry* symbol = TblFindSymbolByName(arg(2).c_str());
    ASSERT_NE(symbol, nullptr) << "no symbol " << arg(2);
    EXPECT_EQ(ItemGetValueBySymbol(SheetContext(), symbol->symbolId), ValueOf(arg(3)));
  } else {
    FAIL() << "unknown step on a sheet";
  }
}

// A control's mark is the page's child that carries the control's record and another id; it is
// 20 x 20, its right edge at the control's left (its top at the control's, or its bottom at the
// control's for a control at most 20 high), clamped to the page.
void SheetScenarioTest::ExpectMark(const std::string& id, bool expected) {
  HWND page = NULL;
  HWND control = Control(id, true, &page);
  ASSERT_NE(control, nullptr);
  DlgControlRecord* record = CtlFind(SheetContext(), PageFindByWindow(SheetContext(), page), WORD(std::stoi(id)));
  ASSERT_NE(record, nullptr) << "control " << id << " is not described";
  std::vector<HWND> marks;
  for (HWND child = WuiFirstChild(page); child; child = WuiNextSibling(child))
    if (WuiGetSlot(child, GWL_USERDATA) == reinterpret_cast<LONG_PTR>(record) && child != control)
      marks.push_back(child);
  ASSERT_EQ(marks.size(), expected ? 1u : 0u) << "marks beside control " << id;
  if (!expected) return;
  HWND mark = marks[0];
  EXPECT_NE(WuiControlId(mark), std::stoi(id));
  EXPECT_TRUE(WuiIsVisible(mark));
  RECT at = {}, beside = {};
  ASSERT_TRUE(WuiGetRect(mark, &at) && WuiGetRect(control, &beside));
  EXPECT_EQ(at.right - at.left, 20);
  EXPECT_EQ(at.bottom - at.top, 20);
  const LONG left = beside.left - 20, top = beside.bottom - beside.top <= 20 ? beside.bottom - 20 : beside.top;
  EXPECT_EQ(at.left, left < 0 ? 0 : left);
  EXPECT_EQ(at.top, top < 0 ? 0 : top);
  EXPECT_EQ(WuiNextSibling(control), mark) << "the mark follows its control in z-order";
}

void SheetScenarioTest::RunSheet(const Step& opened, int answer) {
  const bool device = opened.words.size() > 1 && opened.words[1] == "device";
  SheetFn callback = reinterpret_cast<SheetFn>(
      reinterpret_cast<void*>(GetProcAddress(ui_, device ? "DrvDevicePropertySheets" : "DrvDocumentPropertySheets")));
  ASSERT_NE(callback, nullptr);
  devmode_.assign(4096, 0);
  DOCUMENTPROPERTYHEADER document = {};
  document.cbSize = sizeof document;
  document.hPrinter = printer_;
  document.pszPrinterName = W(kPrinter);
  document.pdmOut = reinterpret_cast<PDEVMODEW>(devmode_.data());
  document.fMode = DM_IN_PROMPT | DM_OUT_BUFFER;
  std::vector<BYTE> in;
  if (sheet_table::HasDevmodeFields(opened)) {
    ASSERT_FALSE(device) << "the printer's properties take no DEVMODE";
    // The application's DEVMODE: the printer's defaults with its own choices.
    in.assign(4096, 0);
    DOCUMENTPROPERTYHEADER defaults = document;
    defaults.pdmOut = reinterpret_cast<PDEVMODEW>(in.data());
    defaults.fMode = DM_OUT_BUFFER;
    ASSERT_EQ(callback(nullptr, reinterpret_cast<LPARAM>(&defaults)), 1);
    const std::string bad = sheet_table::SetDevmodeFields(opened, reinterpret_cast<PDEVMODEW>(in.data()));
    ASSERT_EQ(bad, "") << "not a DEVMODE field";
    document.pdmIn = reinterpret_cast<PDEVMODEW>(in.data());
    document.fMode |= DM_IN_BUFFER;
  }
  DEVICEPROPERTYHEADER properties = {};
  properties.cbSize = sizeof properties;
  properties.hPrinter = printer_;
  properties.pszPrinterName = W(kPrinter);
  SimUiSetSheetHook(Hook, this);
  SimUiScriptSheet(answer);
  DWORD result = 0;
  const LONG ran = SimUiCommonPropertySheet(
      nullptr, callback, device ? reinterpret_cast<LPARAM>(&properties) : reinterpret_cast<LPARAM>(&document), &result);
  SimUiSetSheetHook(nullptr, nullptr);
  EXPECT_GE(ran, 0);
  EXPECT_EQ(result, answer == IDOK ? DWORD(CPSUI_OK) : DWORD(CPSUI_CANCEL));
}

TEST_P(SheetScenarioTest, Runs) {
  const SheetCase& c = GetParam();
  for (const Step& s : c.steps) {
    SCOPED_TRACE(c.table + ".scn:" + std::to_string(s.line));
    const std::vector<std::string>& w = s.words;
    if (w[0] == "sheet") {
      collecting_ = true;
      shownPage_ = NULL;
      opened_ = s;
      onSheet_.clear();
    } else if (w[0] == "end") {
      ASSERT_TRUE(collecting_) << "end without a sheet";
      collecting_ = false;
      RunSheet(opened_, w.size() > 1 && w[1] == "ok" ? IDOK : IDCANCEL);
    } else if (collecting_) {
      onSheet_.push_back(s);
    } else if (w[0] == "printer-data") {
      std::basic_string<WCHAR> name;
      DWORD value = 0;
      ASSERT_TRUE(sheet_table::PrinterDataOf(s, &name, &value)) << "printer-data NAME=NUMBER";
      ASSERT_EQ(DWORD(ERROR_SUCCESS), SetPrinterDataW(printer_, const_cast<LPWSTR>(name.c_str()), REG_DWORD,
                                                      reinterpret_cast<LPBYTE>(&value), sizeof value));
    } else if (w[0] == "expect" && w.size() == 4 && w[1] == "devmode") {
      DEVMODEW head;
      memcpy(&head, devmode_.data(), sizeof head);
      const short* field = sheet_table::DevmodeField(&head, w[2]);
      ASSERT_NE(field, nullptr) << "unknown DEVMODE field " << w[2];
      EXPECT_EQ(*field, sheet_table::DevmodeValue(w[3]));
    } else {
      FAIL() << "unknown step outside a sheet";
    }
    if (HasFatalFailure()) return;
  }
}

std::string CaseName(const ::testing::TestParamInfo<SheetCase>& info) {
  return sheet_table::CaseName(info.param, info.index);
}

INSTANTIATE_TEST_SUITE_P(Tables, SheetScenarioTest, ::testing::ValuesIn(sheet_table::Read(SourceDir() + "/tests/ui_sheet_scenarios")), CaseName);

}  // namespace
}  // namespace zems_test
