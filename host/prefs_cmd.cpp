// zemshost prefs: opens the printing-preferences sheet (or, with --device, the printer-properties
// sheet) of a printer natively through the window interface's fake, as the common
// property-sheet UI runs it, lists each page's controls and ends the sheet as told.
#include <ctype.h>
#include <stdio.h>
#include <string.h>

#include <string>
#include <vector>

#include "core/front/dialog_records.h"
#include "core/tables/symbol_table.h"
#include "host/commands.h"
#include "host/host_text.h"
#include "platform/sim.h"
#include "platform/win32.h"

namespace {

const char kUsage[] =
    "usage: zemshost prefs PRINTER [--device] [--ok|--cancel]\n"
    "Opens the printing-preferences sheet of PRINTER (--device: its printer-properties sheet)\n"
    "through zemsui as the common property-sheet UI runs it, on the machine's window fake;\n"
    "lists each page and its controls (id, symbol, type, text, enabled, shown, selection),\n"
    "then confirms (--ok) or cancels (--cancel, the default) the sheet and prints its result.\n";

const DlgPageRecord* PageOf(int dialogId) {
  const DlgPageTable* table = TblGetPageTable();
  for (SHORT i = 0; table && i < table->count; ++i)
    if (table->rows[i].dialogId == dialogId) return &table->rows[i];
  return nullptr;
}

const DlgControlRecord* RowOf(const DlgPageRecord* page, int controlId) {
  for (WORD i = 0; page && i < page->controlCount; ++i)
    if (page->controls[i].controlId == controlId) return &page->controls[i];
  return nullptr;
}

// The selection a control shows: a list's or combo's index, a button's check, else "-".
std::string Selection(HWND control) {
  WCHAR cls[64];
  SimUiClassName(control, cls, 64);
  std::string name = Narrow(cls);
  for (char& c : name) c = static_cast<char>(tolower(static_cast<unsigned char>(c)));  // classes compare without case
  if (name == "combobox") return std::to_string(static_cast<long>(SimUiSend(control, CB_GETCURSEL, 0, 0)));
  if (name == "listbox") return std::to_string(static_cast<long>(SimUiSend(control, LB_GETCURSEL, 0, 0)));
  if (name == "button") {
    const LONG kind = SimUiGetStyle(control) & 0xF;
    if (kind == 3 || kind == 9) return SimUiGetCheck(control) ? "checked" : "unchecked";
  }
  return "-";
}

void ListPage(HWND page, int templateId) {
  WCHAR text[256];
  SimUiGetText(page, text, 256);
  const DlgPageRecord* row = PageOf(templateId);
  printf("page %d %s \"%s\"\n", templateId, row ? row->name : "?", Narrow(text).c_str());
  for (HWND c = SimUiFirstChild(page); c; c = SimUiNextSibling(c)) {
    const int id = SimUiControlId(c);
    const DlgControlRecord* control = RowOf(row, id);
    const SymbolEntry* symbol = control ? TblFindSymbol(control->symbolId) : nullptr;
    SimUiGetText(c, text, 256);
    printf("  %5d %-48s type %3d  \"%s\" %s %s selection %s\n", id, symbol ? symbol->name : "-",
           control ? control->type : 0, Narrow(text).c_str(), SimUiIsEnabled(c) ? "enabled" : "disabled",
           SimUiIsVisible(c) ? "shown" : "hidden", Selection(c).c_str());
  }
}

void ListPages(HWND sheet, void* context) {
  (void)context;
  WCHAR title[256];
  SimUiGetText(sheet, title, 256);
  printf("sheet \"%s\"\n", Narrow(title).c_str());
  int templates[64];
  const int count = SimUiLastSheetPages(templates, 64);
  for (int i = 0; i < count && i < 64; ++i) {
    HWND page = SimUiSheetPage(i);
    if (page)
      ListPage(page, templates[i]);
    else
      printf("page %d: its template could not be made\n", templates[i]);
  }
}

int Fail(const std::string& message) {
  fprintf(stderr, "zemshost prefs: %s\n", message.c_str());
  return 1;
}

}  // namespace

int CmdPrefs(int argc, char** argv) {
  if (argc > 0 && (strcmp(argv[0], "--help") == 0 || strcmp(argv[0], "-h") == 0)) {
    printf("%s", kUsage);
    return 0;
  }
  std::string printer;
  bool device = false;
  int answer = IDCANCEL;
  for (int i = 0; i < argc; ++i) {
    const std::string a = argv[i];
    if (a == "--device") {
      device = true;
    } else if (a == "--ok") {
      answer = IDOK;
    } else if (a == "--cancel") {
      answer = IDCANCEL;
    } else if (!a.empty() && a[0] == '-') {
      fprintf(stderr, "zemshost prefs: unknown option %s\n%s", a.c_str(), kUsage);
      return 2;
    } else if (printer.empty()) {
      printer = a;
    } else {
      fprintf(stderr, "zemshost prefs: one printer only (%s)\n%s", a.c_str(), kUsage);
      return 2;
    }
  }
  if (printer.empty()) {
    fprintf(stderr, "zemshost prefs: no printer named\n%s", kUsage);
    return 2;
  }
  std::u16string name = Wide(printer);
  HANDLE handle = nullptr;
  if (!OpenPrinterW(reinterpret_cast<LPWSTR>(&name[0]), &handle, nullptr))
    return Fail("printer \"" + printer + "\" does not open (error " + std::to_string(GetLastError()) + ")");
  HMODULE ui = LoadLibraryW(TEXT("zemsui.dll"));
  if (!ui) {
    ClosePrinter(handle);
    return Fail("zemsui.dll does not load: install the printer with zemshost machine install");
  }
  SheetUiCallback callback = reinterpret_cast<SheetUiCallback>(reinterpret_cast<void*>(
      GetProcAddress(ui, device ? "DrvDevicePropertySheets" : "DrvDocumentPropertySheets")));
  if (!callback) {
    FreeLibrary(ui);
    ClosePrinter(handle);
    return Fail("zemsui.dll has no sheet export");
  }
  std::vector<BYTE> out(1236);
  DOCUMENTPROPERTYHEADER document = {};
  document.cbSize = sizeof document;
  document.hPrinter = handle;
  document.pszPrinterName = reinterpret_cast<LPWSTR>(&name[0]);
  document.pdmOut = reinterpret_cast<PDEVMODEW>(out.data());
  document.fMode = DM_IN_PROMPT | DM_OUT_BUFFER;
  DEVICEPROPERTYHEADER properties = {};
  properties.cbSize = sizeof properties;
  properties.hPrinter = handle;
  properties.pszPrinterName = reinterpret_cast<LPWSTR>(&name[0]);
  SimUiSetSheetHook(ListPages, nullptr);
  SimUiScriptSheet(answer);
  DWORD result = 0;
  const LONG ran = SimUiCommonPropertySheet(
      nullptr, callback, device ? reinterpret_cast<LPARAM>(&properties) : reinterpret_cast<LPARAM>(&document), &result);
  SimUiSetSheetHook(nullptr, nullptr);
  printf("sheet %s: answer %ld, result %s\n", answer == IDOK ? "confirmed" : "cancelled", static_cast<long>(ran),
         result == CPSUI_OK ? "CPSUI_OK" : "CPSUI_CANCEL");
  FreeLibrary(ui);
  ClosePrinter(handle);
  return ran < 0 ? 1 : 0;
}
