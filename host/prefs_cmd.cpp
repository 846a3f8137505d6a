// zemshost prefs: opens the printing-preferences sheet (or, with --device, the printer-properties
// sheet) of a printer natively through the window interface's fake, as the common
// property-sheet UI runs it, lists each page's controls and ends the sheet as told.
#include <ctype.h>
#include <stdio.h>
#include <string.h>
#include <strings.h>

#include <string>
#include <vector>

#include "core/common/window_ui.h"
#include "core/context/driver_context.h"
#include "core/front/dialog_records.h"
#include "core/items/item_access.h"
#include "core/items/item_ids.h"
#include "core/items/item_table.h"
#include "core/tables/symbol_table.h"
#include "core/tables/value_symbols.h"
#include "host/commands.h"
#include "host/host_text.h"
#include "platform/sim.h"
#include "platform/win32.h"

namespace {

const char kUsage[] =
    "usage: zemshost prefs PRINTER [--device] [STEP...] [--ok|--cancel] [--summary]\n"
    "Opens the printing-preferences sheet of PRINTER (--device: its printer-properties sheet)\n"
    "through zemsui as the common property-sheet UI runs it, on the machine's window fake;\n"
    "lists each page and its controls (id, symbol, type, text, enabled, shown, selection),\n"
    "runs the steps in order as a user would, then confirms (--ok) or cancels (--cancel, the\n"
    "default) the sheet and prints its result and, confirmed, the DEVMODE it returned.\n"
    "Steps (CONTROL is a control id of a page; after each step the settings it changed are\n"
    "printed with their old and new values):\n"
    "  --choose CONTROL=VALUE  choose an entry of a combo or list box: by its value id, its text\n"
    "                          or its value symbol\n"
    "  --type CONTROL=TEXT     type TEXT into an edit and leave it\n"
    "  --check CONTROL         click a button, check box or radio button\n"
    "  --answer IDOK|IDCANCEL|IDYES|IDNO  the answer of the next message box a step raises\n"
    "  --right-click CONTROL=LINE  right-click the line LINE (from 0) of a list box\n"
    "  --menu COMMAND          the command the next popup menu a step raises answers (0: none)\n"
    "  --sheet IDOK|IDCANCEL   the answer of the next property sheet a step opens; the steps\n"
    "                          after the one that opens it run on its pages, up to --end-sheet\n"
    "  --end-sheet             ends the steps on that sheet; the next run on the sheet below\n"
    "--summary lists the pages with their control counts only.\n";

bool g_summary = false;

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
  int controls = 0;
  for (HWND c = SimUiFirstChild(page); c; c = SimUiNextSibling(c)) ++controls;
  printf("page %d %s \"%s\": %d controls\n", templateId, row ? row->name : "?", Narrow(text).c_str(), controls);
  if (g_summary) return;
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

struct Step {
  std::string verb;     // choose, type, check, answer, right-click, menu, sheet, end-sheet
  int control;
  std::string value;
};

std::vector<Step> g_steps;
size_t g_nextStep = 0;  // the steps run in order across the sheets a step opens
int g_sheetDepth = 0;
bool g_stepsFailed = false;

// The settings a step may change: every item's logical value (texts as texts).
struct ItemValue {
  WORD id;
  WORD symbol;
  LONG_PTR value;
  std::string text;
  bool isText;
};

std::vector<ItemValue> Snapshot(DriverContext* ctx) {
  std::vector<ItemValue> values;
  if (!ctx || !ctx->items) return values;
  for (SHORT i = 0; i < ctx->items->count; ++i) {
    SettingItem* item = &ctx->items->rows[i];
    ItemValue v{item->id, item->symbolId, 0, std::string(), false};
    if (ItemTypeIsText(ItemDescType(item->descriptor))) {
      WCHAR text[1025] = {0};
      ItemGetTextBounded(ctx, item, text, 1025);
      v.text = Narrow(text);
      v.isText = true;
    } else {
      v.value = ItemGetValue(ctx, item);
    }
    values.push_back(v);
  }
  return values;
}

std::string Shown(const ItemValue& v) {
  if (v.isText) return "\"" + v.text + "\"";
  std::string shown = std::to_string(static_cast<long>(v.value));
  if (v.value > 0 && v.value < 0x10000) {
    if (const ValueSymbol* symbol = TblFindValueSymbol(v.id, static_cast<WORD>(v.value)))
      if (symbol->name) shown += std::string(" (") + symbol->name + ")";
  }
  return shown;
}

void PrintChanges(const std::vector<ItemValue>& before, const std::vector<ItemValue>& after) {
  int changed = 0;
  for (size_t i = 0; i < before.size() && i < after.size(); ++i) {
    const ItemValue& a = before[i];
    const ItemValue& b = after[i];
    if (a.isText ? a.text == b.text : a.value == b.value) continue;
    // These two hold the addresses of the font tables, which a reload makes anew: no setting.
    if (a.id == kItem_zdmDeviceFont || a.id == kItem_zdmOptionFont) continue;
    const SymbolEntry* symbol = TblFindSymbol(a.symbol);
    printf("    %s (item %u): %s -> %s\n", symbol && symbol->name ? symbol->name : "-", a.id, Shown(a).c_str(),
           Shown(b).c_str());
    ++changed;
  }
  if (!changed) printf("    no setting changed\n");
}

// The control of that id on the first page that has it, and that page.
HWND FindOnPages(int controlId, HWND* page) {
  // The pages of the sheet being shown (a sheet a step opened, while it is up).
  for (int i = 0; i < 64; ++i) {
    HWND p = SimUiSheetPage(i);
    HWND c = p ? SimUiFindControl(p, controlId) : NULL;
    if (c) {
      if (page) *page = p;
      return c;
    }
  }
  return NULL;
}

int AnswerCode(const std::string& name) {
  if (name == "IDOK") return IDOK;
  if (name == "IDCANCEL") return IDCANCEL;
  if (name == "IDYES") return IDYES;
  if (name == "IDNO") return IDNO;
  return 0;
}

// The entry of a choice the step names: its value id, its text (without case) or its value
// symbol; -1 when none.
int EntryOf(HWND control, const std::string& value) {
  const int count = WuiChoiceCount(control);
  char* end = nullptr;
  const long number = strtol(value.c_str(), &end, 0);
  const bool numeric = !value.empty() && end && *end == 0;
  const ValueSymbol* symbol = numeric ? nullptr : TblFindValueSymbolByName(value.c_str());
  for (int i = 0; i < count; ++i) {
    const LPARAM data = WuiChoiceData(control, i);
    if (numeric && data == number) return i;
    if (symbol && data == symbol->logical) return i;
    WCHAR text[256];
    if (!numeric && WuiChoiceText(control, i, text, 256) >= 0 && strcasecmp(Narrow(text).c_str(), value.c_str()) == 0)
      return i;
  }
  return -1;
}

void RunStep(const Step& step) {
  if (step.verb == "answer") {
    int answer = AnswerCode(step.value);
    SimUiScriptAnswers(&answer, 1);
    printf("step answer %s: the next message box answers it\n", step.value.c_str());
    return;
  }
  if (step.verb == "menu") {
    SimUiScriptMenu(static_cast<UINT>(strtoul(step.value.c_str(), nullptr, 10)));
    printf("step menu %s: the next popup menu answers it\n", step.value.c_str());
    return;
  }
  if (step.verb == "sheet") {
    SimUiScriptSheet(AnswerCode(step.value));
    printf("step sheet %s: the next property sheet ends with it\n", step.value.c_str());
    return;
  }
  HWND page = NULL;
  HWND control = FindOnPages(step.control, &page);
  printf("step %s %d%s%s\n", step.verb.c_str(), step.control, step.value.empty() ? "" : "=", step.value.c_str());
  if (!control) {
    fprintf(stderr, "zemshost prefs: step %s: no page of the sheet has control %d\n", step.verb.c_str(), step.control);
    g_stepsFailed = true;
    return;
  }
  // The user selects the control's page first, as its tab would be clicked.
  static HWND shown = NULL;
  if (page != shown) {
    SimUiUserSelectPage(page);
    shown = page;
  }
  DriverContext* ctx = reinterpret_cast<DriverContext*>(SimUiGetSlot(page, DWL_USER));
  const std::vector<ItemValue> before = Snapshot(ctx);
  const DWORD boxes = SimUiCallCount();
  bool done = false;
  bool named = true;  // the step's entry exists (only a choice can lack one)
  if (step.verb == "choose") {
    const int entry = EntryOf(control, step.value);
    if (entry < 0) {
      fprintf(stderr, "zemshost prefs: step choose %d: no entry \"%s\" (value id, text or value symbol)\n",
              step.control, step.value.c_str());
      named = false;
      g_stepsFailed = true;
    } else {
      done = SimUiUserChoose(control, entry);
    }
  } else if (step.verb == "type") {
    std::u16string text = Wide(step.value);
    done = SimUiUserType(control, reinterpret_cast<LPCWSTR>(text.c_str()));
  } else if (step.verb == "check") {
    done = SimUiUserClick(control);
  } else if (step.verb == "right-click") {
    const int line = atoi(step.value.c_str());
    done = SimUiUserRightClick(control, 4, line * kSimUiListLine + kSimUiListLine / 2);
  }
  SimUiPump();
  if (!done && named) {
    fprintf(stderr, "zemshost prefs: step %s %d: the control is disabled or of another kind\n", step.verb.c_str(),
            step.control);
    g_stepsFailed = true;
  }
  // The message boxes and popup menus the step raised, with the answer each got.
  for (DWORD i = boxes; i < SimUiCallCount(); ++i) {
    SimUiCall call;
    if (SimUiGetCall(i, &call) && call.kind == kSimUiPopupMenu)
      printf("    popup menu %d \"%s\" (greyed positions 0x%lx): %s%s\n", call.id, Narrow(call.text).c_str(),
             static_cast<unsigned long>(call.value), call.answer ? "command " : "dismissed",
             call.answer ? std::to_string(call.answer).c_str() : "");
    if (SimUiGetCall(i, &call) && call.kind == kSimUiMessageBox)
      printf("    message box \"%s\": answered %s\n", Narrow(call.text).c_str(),
             call.answer == IDOK ? "IDOK" : call.answer == IDCANCEL ? "IDCANCEL" : call.answer == IDYES ? "IDYES"
                                                                  : call.answer == IDNO    ? "IDNO"
                                                                                          : std::to_string(call.answer).c_str());
  }
  PrintChanges(before, Snapshot(ctx));
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
  // The steps up to the end of this sheet: a sheet a step opens runs the next ones itself.
  ++g_sheetDepth;
  while (g_nextStep < g_steps.size()) {
    const Step& step = g_steps[g_nextStep++];
    if (step.verb == "end-sheet") {
      if (g_sheetDepth > 1) {
        printf("step end-sheet: the steps go on on the sheet below\n");
        break;
      }
      fprintf(stderr, "zemshost prefs: step end-sheet: no sheet was opened by a step\n");
      g_stepsFailed = true;
      continue;
    }
    RunStep(step);
  }
  --g_sheetDepth;
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
    } else if (a == "--summary") {
      g_summary = true;
    } else if (a == "--end-sheet") {
      g_steps.push_back(Step{"end-sheet", 0, std::string()});
    } else if (a == "--choose" || a == "--type" || a == "--check" || a == "--answer" || a == "--right-click" ||
               a == "--menu" || a == "--sheet") {
      if (i + 1 >= argc) {
        fprintf(stderr, "zemshost prefs: %s needs an argument\n%s", a.c_str(), kUsage);
        return 2;
      }
      const std::string arg = argv[++i];
      Step step{a.substr(2), 0, std::string()};
      if (step.verb == "answer" || step.verb == "sheet") {
        if (!AnswerCode(arg) || (step.verb == "sheet" && AnswerCode(arg) != IDOK && AnswerCode(arg) != IDCANCEL)) {
          fprintf(stderr, "zemshost prefs: %s %s: not %s\n", a.c_str(), arg.c_str(),
                  step.verb == "sheet" ? "IDOK or IDCANCEL" : "IDOK, IDCANCEL, IDYES or IDNO");
          return 2;
        }
        step.value = arg;
      } else if (step.verb == "menu") {
        char* end = nullptr;
        const unsigned long command = strtoul(arg.c_str(), &end, 10);
        if (arg.empty() || !end || *end != 0 || command > 0xFFFF) {
          fprintf(stderr, "zemshost prefs: --menu %s: expected a command id\n", arg.c_str());
          return 2;
        }
        step.value = arg;
      } else {
        const size_t eq = arg.find('=');
        const std::string id = step.verb == "check" ? arg : arg.substr(0, eq);
        char* end = nullptr;
        step.control = static_cast<int>(strtol(id.c_str(), &end, 10));
        if (id.empty() || !end || *end != 0 || step.control <= 0 || (step.verb != "check" && eq == std::string::npos)) {
          fprintf(stderr, "zemshost prefs: %s %s: expected %s\n", a.c_str(), arg.c_str(),
                  step.verb == "check" ? "a control id" : "CONTROL=VALUE with a control id");
          return 2;
        }
        if (step.verb != "check") step.value = arg.substr(eq + 1);
      }
      g_steps.push_back(step);
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
  if (answer == IDOK && result == CPSUI_OK) PrintDevmode(out.data());
  FreeLibrary(ui);
  ClosePrinter(handle);
  return ran < 0 || g_stepsFailed ? 1 : 0;
}
