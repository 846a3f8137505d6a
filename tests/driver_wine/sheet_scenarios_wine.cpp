// The sheet scenario tables (tests/ui_sheet_scenarios) under Wine: the same steps as on the
// machine's fake, played on the printing-preferences sheet that DocumentPropertiesW shows for
// the sample printer installed on Wine's spooler. A user's steps go through Windows' own
// controls: a page is shown by selecting its tab, an entry is chosen and its dialog told, a text
// is typed into an edit that then loses the focus, a button is clicked. A sheet opened with
// FIELD=VALUE words gets the printer's defaults with those fields as its input DEVMODE.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/context/driver_context.h"
#include "core/front/control_lookup.h"
#include "core/front/page_lookup.h"
#include "core/items/item_access.h"
#include "core/tables/symbol_table.h"
#include "core/tables/value_symbols.h"
#include "driver_wine/sheet_driver.h"
#include "driver_wine/wine_printer.h"
#include "platform/win32.h"
#include "ui_sheet_scenarios/sheet_table.h"

#include <commctrl.h>

namespace {

constexpr LONG kDevmodeSize = 1236;

std::wstring Wide(const std::string& s) { return std::wstring(s.begin(), s.end()); }
std::string Narrow(const wchar_t* w) {
  std::string s;
  for (; w && *w; ++w) s.push_back(*w < 0x80 ? char(*w) : '?');
  return s;
}
LONG ValueOf(const std::string& word) {
  if (const ValueSymbol* symbol = TblFindValueSymbolByName(word.c_str())) return symbol->logical;
  return std::stol(word, nullptr, 0);
}

// One open sheet and the steps played on it.
struct Play {
  const std::vector<sheet_table::Step>* steps = nullptr;
  std::string table;
  HWND sheet = nullptr;
  int boxesBefore = 0;
  sheet_driver::Plan* plan = nullptr;

  // The control of that id on the first page that has it; its page becomes the shown one.
  HWND Control(const std::string& id, HWND* pageOut = nullptr) {
    HWND tab = reinterpret_cast<HWND>(SendMessageW(sheet, PSM_GETTABCONTROL, 0, 0));
    const int pages = int(SendMessageW(tab, TCM_GETITEMCOUNT, 0, 0));
    const int current = int(SendMessageW(tab, TCM_GETCURSEL, 0, 0));
    for (int k = 0; k < pages; ++k) {
      const int i = (current + k) % pages;  // the shown page first
      if (i != current) {
        SendMessageW(sheet, PSM_SETCURSEL, WPARAM(i), 0);
        // The sheet's loop handles what the page posted when it was made or shown (its layout
        // among them) before a user's next step.
        Pump();
      }
      HWND page = reinterpret_cast<HWND>(SendMessageW(sheet, PSM_GETCURRENTPAGEHWND, 0, 0));
      HWND control = page ? GetDlgItem(page, std::stoi(id)) : nullptr;
      if (control) {
        if (pageOut) *pageOut = page;
        return control;
      }
    }
    ADD_FAILURE() << "no page of the sheet has control " << id;
    return nullptr;
  }

  int EntryOf(HWND control, const std::string& value, bool combo) {
    const ValueSymbol* symbol = TblFindValueSymbolByName(value.c_str());
    const int count = int(SendMessageW(control, combo ? CB_GETCOUNT : LB_GETCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
      const LPARAM data = SendMessageW(control, combo ? CB_GETITEMDATA : LB_GETITEMDATA, WPARAM(i), 0);
      if (symbol && data == symbol->logical) return i;
    }
    return -1;
  }

  static void Pump() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
  }

  // A control's mark is the page's child that carries the control's record and another id; it
  // is 20 x 20, its right edge at the control's left (its top at the control's, or its bottom at
  // the control's for a control at most 20 high), clamped to the page.
  void ExpectMark(const std::string& id, bool expected) {
    HWND page = nullptr;
    HWND control = Control(id, &page);
    ASSERT_NE(control, nullptr);
    DriverContext* ctx = reinterpret_cast<DriverContext*>(GetWindowLongPtrW(page, DWLP_USER));
    ASSERT_NE(ctx, nullptr);
    DlgControlRecord* record = CtlFind(ctx, PageFindByWindow(ctx, page), WORD(std::stoi(id)));
    ASSERT_NE(record, nullptr) << "control " << id << " is not described";
    std::vector<HWND> marks;
    for (HWND child = GetWindow(page, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
      if (GetWindowLongPtrW(child, GWLP_USERDATA) == reinterpret_cast<LONG_PTR>(record) && child != control)
        marks.push_back(child);
    ASSERT_EQ(marks.size(), expected ? 1u : 0u) << "marks beside control " << id;
    if (!expected) return;
    HWND mark = marks[0];
    EXPECT_NE(GetDlgCtrlID(mark), std::stoi(id));
    EXPECT_TRUE(IsWindowVisible(mark));
    RECT at = {}, beside = {};
    GetWindowRect(mark, &at);
    GetWindowRect(control, &beside);
    MapWindowPoints(HWND_DESKTOP, page, reinterpret_cast<POINT*>(&at), 2);
    MapWindowPoints(HWND_DESKTOP, page, reinterpret_cast<POINT*>(&beside), 2);
    EXPECT_EQ(at.right - at.left, 20);
    EXPECT_EQ(at.bottom - at.top, 20);
    const LONG left = beside.left - 20, top = beside.bottom - beside.top <= 20 ? beside.bottom - 20 : beside.top;
    EXPECT_EQ(at.left, left < 0 ? 0 : left);
    EXPECT_EQ(at.top, top < 0 ? 0 : top);
    EXPECT_EQ(GetWindow(control, GW_HWNDNEXT), mark) << "the mark follows its control in z-order";
  }

  void Run(const sheet_table::Step& s) {
    const std::vector<std::string>& w = s.words;
    auto arg = [&](size_t i) -> std::string { return i < w.size() ? w[i] : std::string(); };
    const std::string& verb = w[0];
    HWND page = nullptr;
    if (verb == "choose") {
      HWND control = Control(arg(1), &page);
      ASSERT_NE(control, nullptr);
      wchar_t cls[32] = {};
      GetClassNameW(control, cls, 32);
      const bool combo = lstrcmpiW(cls, L"ComboBox") == 0;
      const int entry = EntryOf(control, arg(2), combo);
      ASSERT_GE(entry, 0) << "control " << arg(1) << " has no entry " << arg(2);
      ASSERT_TRUE(IsWindowEnabled(control)) << arg(1);
      SetFocus(control);
      SendMessageW(control, combo ? CB_SETCURSEL : LB_SETCURSEL, WPARAM(entry), 0);
      SendMessageW(page, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(control), combo ? CBN_SELCHANGE : LBN_SELCHANGE),
                   LPARAM(control));
    } else if (verb == "type") {
      HWND control = Control(arg(1), &page);
      ASSERT_NE(control, nullptr);
      ASSERT_TRUE(IsWindowEnabled(control)) << arg(1);
      SetFocus(control);
      const bool focused = GetFocus() == control;
      SetWindowTextW(control, Wide(s.rest).c_str());
      // The edit loses the focus to the sheet's tabs (a page would hand it back to a control).
      // Under Wine's null display driver a sheet may not take the focus at all; the edit is then
      // told of its loss as Windows tells it.
      HWND tabs = reinterpret_cast<HWND>(SendMessageW(sheet, PSM_GETTABCONTROL, 0, 0));
      if (focused) {
        SetFocus(tabs);
      } else {
        SendMessageW(control, WM_KILLFOCUS, WPARAM(tabs), 0);
        SendMessageW(page, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(control), EN_KILLFOCUS), LPARAM(control));
      }
    } else if (verb == "click") {
      HWND control = Control(arg(1), &page);
      ASSERT_NE(control, nullptr);
      ASSERT_TRUE(IsWindowEnabled(control)) << arg(1);
      SendMessageW(control, BM_CLICK, 0, 0);
    } else if (verb == "answer") {
      plan->answers.push_back(arg(1) == "ok" ? IDOK : arg(1) == "cancel" ? IDCANCEL : arg(1) == "yes" ? IDYES : IDNO);
    } else if (verb == "expect" && arg(1) == "boxes") {
      EXPECT_EQ(int(plan->others.size()) - boxesBefore, std::stoi(arg(2)));
    } else if (verb == "expect" && arg(1) == "chosen") {
      HWND control = Control(arg(2));
      ASSERT_NE(control, nullptr);
      const LRESULT selected = SendMessageW(control, CB_GETCURSEL, 0, 0);
      ASSERT_GE(selected, 0) << "nothing chosen in " << arg(2);
      EXPECT_EQ(SendMessageW(control, CB_GETITEMDATA, WPARAM(selected), 0), ValueOf(arg(3)));
    } else if (verb == "expect" && arg(1) == "check") {
      EXPECT_EQ(SendMessageW(Control(arg(2)), BM_GETCHECK, 0, 0), std::stoi(arg(3)));
    } else if (verb == "expect" && arg(1) == "text") {
      wchar_t text[1025] = {};
      GetWindowTextW(Control(arg(2)), text, 1025);
      EXPECT_EQ(Narrow(text), s.rest);
    } else if (verb == "expect" && arg(1) == "enabled") {
      EXPECT_EQ(IsWindowEnabled(Control(arg(2))) ? 1 : 0, std::stoi(arg(3)));
    } else if (verb == "expect" && arg(1) == "shown") {
      EXPECT_EQ(IsWindowVisible(Control(arg(2))) ? 1 : 0, std::stoi(arg(3)));
    } else if (verb == "expect" && arg(1) == "mark") {
      ExpectMark(arg(2), std::stoi(arg(3)) != 0);
    } else if (verb == "expect" && arg(1) == "item") {
      // The pages' context is the driver's own, in this process (its layout is the core's).
      HWND anyPage = reinterpret_cast<HWND>(SendMessageW(sheet, PSM_GETCURRENTPAGEHWND, 0, 0));
      DriverContext* ctx = reinterpret_cast<DriverContext*>(GetWindowLongPtrW(anyPage, DWLP_USER));
      const SymbolEntry* symbol = TblFindSymbolByName(arg(2).c_str());
      ASSERT_NE(symbol, nullptr) << "no symbol " << arg(2);
      ASSERT_NE(ctx, nullptr);
      EXPECT_EQ(ItemGetValueBySymbol(ctx, symbol->symbolId), ValueOf(arg(3)));
    } else {
      FAIL() << "unknown step on a sheet";
    }
  }

  static void OnSheet(HWND sheet, void* context) {
    Play* play = static_cast<Play*>(context);
    play->sheet = sheet;
    // The user works in the sheet: it is the active window, so the focus can move in it.
    SetForegroundWindow(sheet);
    SetActiveWindow(sheet);
    for (const sheet_table::Step& s : *play->steps) {
      SCOPED_TRACE(play->table + ".scn:" + std::to_string(s.line));
      play->Run(s);
      Pump();
      if (::testing::Test::HasFatalFailure()) return;
    }
  }
};

// The sample printer is installed once for the program (driver_wine_test.cpp's environment).
class SheetScenarioWine : public ::testing::TestWithParam<sheet_table::Case> {};

TEST_P(SheetScenarioWine, Runs) {
  HANDLE printer = nullptr;
  ASSERT_TRUE(OpenPrinterW(wine_printer::Name(), &printer, nullptr)) << "the sample printer is not installed";
  const sheet_table::Case& c = GetParam();
  std::vector<sheet_table::Step> onSheet;
  sheet_table::Step opened;
  bool collecting = false;
  std::vector<BYTE> out;
  std::vector<std::basic_string<WCHAR>> dataSet;  // the printer data this case set
  for (const sheet_table::Step& s : c.steps) {
    SCOPED_TRACE(c.table + ".scn:" + std::to_string(s.line));
    const std::vector<std::string>& w = s.words;
    if (w[0] == "sheet") {
      if (w.size() > 1 && w[1] != "document") {
        ADD_FAILURE() << "the runner opens the printing preferences only";
        break;
      }
      collecting = true;
      opened = s;
      onSheet.clear();
    } else if (w[0] == "end") {
      collecting = false;
      sheet_driver::Plan plan;
      plan.button = w.size() > 1 && w[1] == "ok" ? IDOK : IDCANCEL;
      Play play;
      play.steps = &onSheet;
      play.table = c.table;
      play.plan = &plan;
      plan.onSheet = Play::OnSheet;
      plan.context = &play;
      out.assign(kDevmodeSize, 0);
      // The application's DEVMODE: the printer's defaults with its own choices.
      std::vector<BYTE> in;
      DWORD mode = DM_IN_PROMPT | DM_OUT_BUFFER;
      if (sheet_table::HasDevmodeFields(opened)) {
        in.assign(kDevmodeSize, 0);
        const LONG got = DocumentPropertiesW(nullptr, printer, wine_printer::Name(),
                                             reinterpret_cast<DEVMODEW*>(in.data()), nullptr, DM_OUT_BUFFER);
        const std::string bad = sheet_table::SetDevmodeFields(opened, reinterpret_cast<DEVMODEW*>(in.data()));
        if (got != IDOK || !bad.empty()) {
          ADD_FAILURE() << "no input DEVMODE: " << got << " " << bad;
          break;
        }
        mode |= DM_IN_BUFFER;
      }
      sheet_driver::Start(&plan);
      DocumentPropertiesW(nullptr, printer, wine_printer::Name(), reinterpret_cast<DEVMODEW*>(out.data()),
                          in.empty() ? nullptr : reinterpret_cast<DEVMODEW*>(in.data()), mode);
      sheet_driver::Stop();
      EXPECT_TRUE(plan.done) << "the sheet never showed";
    } else if (collecting) {
      onSheet.push_back(s);
    } else if (w[0] == "printer-data") {
      // The printer is shared by every case here: what a case sets is deleted at its end.
      std::basic_string<WCHAR> name;
      DWORD value = 0;
      if (!sheet_table::PrinterDataOf(s, &name, &value)) {
        ADD_FAILURE() << "printer-data NAME=NUMBER";
        break;
      }
      ASSERT_EQ(DWORD(ERROR_SUCCESS), SetPrinterDataW(printer, const_cast<LPWSTR>(name.c_str()), REG_DWORD,
                                                      reinterpret_cast<LPBYTE>(&value), sizeof value));
      dataSet.push_back(name);
    } else if (w[0] == "expect" && w.size() == 4 && w[1] == "devmode") {
      DEVMODEW head;
      memcpy(&head, out.data(), sizeof head);
      const short* field = sheet_table::DevmodeField(&head, w[2]);
      if (field)
        EXPECT_EQ(*field, sheet_table::DevmodeValue(w[3]));
      else
        ADD_FAILURE() << "unknown DEVMODE field " << w[2];
    } else {
      ADD_FAILURE() << "unknown step outside a sheet";
    }
    if (HasFatalFailure()) break;
  }
  for (const std::basic_string<WCHAR>& name : dataSet) DeletePrinterDataW(printer, const_cast<LPWSTR>(name.c_str()));
  ClosePrinter(printer);
}

std::string CaseName(const ::testing::TestParamInfo<sheet_table::Case>& info) {
  return sheet_table::CaseName(info.param, info.index);
}

INSTANTIATE_TEST_SUITE_P(Tables, SheetScenarioWine,
                         ::testing::ValuesIn(sheet_table::Read(std::string(ZEMS_SOURCE_DIR) +
                                                               "/tests/ui_sheet_scenarios")),
                         CaseName);

}  // namespace
