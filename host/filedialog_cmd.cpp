// zemshost filedialog: runs one of the driver's file dialogs as a sub-dialog of a printer's
// context on the window fake, with the user's steps given on the command line (a name typed,
// a button pressed), and shows what the dialog was asked, the messages it showed and what was
// chosen and done.
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <string>
#include <vector>

#include "core/context/driver_context.h"
#include "core/context/ui_state.h"
#include "core/front/dialog_engine.h"
#include "core/front/page_lookup.h"
#include "core/modules/preset_entries.h"
#include "core/system/sub_dialog.h"
#include "host/commands.h"
#include "host/host_text.h"
#include "platform/sim.h"
#include "platform/win32.h"

namespace {

const char kUsage[] =
    "usage: zemshost filedialog PRINTER DIALOG [--step NAME=BUTTON]... [--answer ok|cancel]...\n"
    "Runs the file dialog DIALOG (4001 import, 4002 save/load/delete, 4003 image, 4007 and 4008\n"
    "overlays, 4009 save, 4015 spool folder; or its name, TOV_FILESAVE) of PRINTER's context on\n"
    "the machine's window fake. Each --step types NAME into the name edit and presses BUTTON:\n"
    "ok, cancel, save, load, delete, default (the spool folder's default) or a control id. Each\n"
    "--answer is the answer to the next question the driver asks (OK/Cancel boxes). Shows what\n"
    "the dialog was asked, each message shown, the dialog's result and the file chosen.\n";

int Fail(const std::string& message) {
  fprintf(stderr, "zemshost filedialog: %s\n", message.c_str());
  return 1;
}

// A button by name or number; 0 for neither.
int ButtonOf(const std::string& name) {
  static const struct {
    const char* name;
    int id;
  } kButtons[] = {{"ok", IDOK}, {"cancel", IDCANCEL}, {"save", 5001}, {"load", 5002}, {"delete", 5003},
                  {"default", 2887}};
  for (const auto& b : kButtons)
    if (name == b.name) return b.id;
  char* end = nullptr;
  const long id = strtol(name.c_str(), &end, 10);
  return !name.empty() && *end == 0 && id > 0 && id < 0x10000 ? static_cast<int>(id) : 0;
}

// The dialog by id or name, among the page table's file dialogs; 0 for none.
WORD DialogOf(DriverContext* ctx, const std::string& text) {
  for (SHORT i = 0; ctx->pages && i < ctx->pages->count; ++i) {
    const DlgPageRecord& page = ctx->pages->rows[i];
    if (!DlgIsFileDialog(&page)) continue;
    if (text == std::to_string(page.dialogId) || (page.name && text == page.name) ||
        (page.name && strncmp(page.name, "TOV_", 4) == 0 && text == page.name + 4))
      return page.dialogId;
  }
  return 0;
}

}  // namespace

int CmdFileDialog(int argc, char** argv) {
  if (argc > 0 && (strcmp(argv[0], "--help") == 0 || strcmp(argv[0], "-h") == 0)) {
    printf("%s", kUsage);
    return 0;
  }
  std::vector<std::string> positional;
  std::vector<std::u16string> typed;
  std::vector<int> buttons, answers;
  for (int i = 0; i < argc; ++i) {
    const std::string a = argv[i];
    if ((a == "--step" || a == "--answer") && i + 1 >= argc) return Fail(a + " needs a value\n" + kUsage), 2;
    if (a == "--step") {
      const std::string step = argv[++i];
      const size_t equals = step.rfind('=');
      const int button = equals == std::string::npos ? 0 : ButtonOf(step.substr(equals + 1));
      if (!button) return Fail("a step is NAME=BUTTON with a known button: " + step), 2;
      typed.push_back(Wide(step.substr(0, equals)));
      buttons.push_back(button);
    } else if (a == "--answer") {
      const std::string answer = argv[++i];
      if (answer != "ok" && answer != "cancel") return Fail("an answer is ok or cancel: " + answer), 2;
      answers.push_back(answer == "ok" ? IDOK : IDCANCEL);
    } else if (!a.empty() && a[0] == '-') {
      fprintf(stderr, "zemshost filedialog: unknown option %s\n%s", a.c_str(), kUsage);
      return 2;
    } else {
      positional.push_back(a);
    }
  }
  if (positional.size() != 2) {
    fprintf(stderr, "zemshost filedialog: PRINTER and DIALOG are needed\n%s", kUsage);
    return 2;
  }
  std::u16string printer = Wide(positional[0]);
  HANDLE h = nullptr;
  if (!OpenPrinterW(reinterpret_cast<LPWSTR>(&printer[0]), &h, nullptr))
    return Fail("no printer '" + positional[0] + "'");
  DriverContext* ctx = CtxOpen(h, h, nullptr, 0, kKindSettings, 0, nullptr);
  if (!ctx) {
    ClosePrinter(h);
    return Fail("no context for '" + positional[0] + "' (its model description cannot be loaded)");
  }
  int status = 0;
  const WORD dialog = DialogOf(ctx, positional[1]);
  if (!dialog) {
    status = Fail("no file dialog " + positional[1]);
  } else {
    std::vector<SimUiFileStep> steps;
    for (size_t i = 0; i < typed.size(); ++i)
      steps.push_back(SimUiFileStep{reinterpret_cast<LPCWSTR>(typed[i].c_str()), buttons[i]});
    SimUiScriptFileDialog(steps.data(), static_cast<int>(steps.size()));
    SimUiScriptAnswers(answers.data(), static_cast<int>(answers.size()));
    const DWORD mark = SimUiCallCount();
    const int result = DlgRunSubDialog(ctx, 4, dialog, NULL);
    SimUiFileDialogSeen seen = {};
    SimUiLastFileDialog(&seen);
    printf("file dialog %d (%s): %s, title \"%s\", filter \"%s\" (%s), initial folder \"%s\", file \"%s\"\n",
           dialog, PageFind(ctx, dialog)->name, seen.save ? "save" : "open", Narrow(seen.title).c_str(),
           Narrow(seen.filterName).c_str(), Narrow(seen.filterPattern).c_str(), Narrow(seen.initialFolder).c_str(),
           Narrow(seen.file).c_str());
    for (DWORD i = mark; i < SimUiCallCount(); ++i) {
      SimUiCall call = {};
      if (SimUiGetCall(i, &call) && call.kind == kSimUiMessageBox)
        printf("message: \"%s\" -> %s\n", Narrow(call.text).c_str(),
               call.answer == IDOK ? "OK" : call.answer == IDCANCEL ? "Cancel" : std::to_string(call.answer).c_str());
    }
    const WCHAR* chosen = PresetGetChosenFilePath(ctx);
    printf("result %d", result);
    if (result > 0 && chosen && chosen[0])
      printf(", chosen \"%s\" (its name at %d)", Narrow(chosen).c_str(), PresetGetFileNameOffset());
    printf("\n");
  }
  CtxClose(ctx);
  ClosePrinter(h);
  return status;
}
