// The recording fake's old-style common file dialog (comdlg32's GetOpenFileNameW and
// GetSaveFileNameW with a template and a hook). The dialog is a fake dialog made from the
// record's template; its procedure offers each message to the hook first and otherwise does what
// the old dialog does with the name edit, the folder list and the OK and Cancel buttons. The
// user's part is scripted (SimUiScriptFileDialog).
#include <stdio.h>

#include <mutex>
#include <string>
#include <vector>

#include "platform/sim.h"
#include "platform/sim/internal.h"
#include "platform/sim/trace.h"

namespace winsim {
namespace {

constexpr int kNameEdit = 1152, kFolderList = 1121, kTypeCombo = 1136;
// A dialog whose steps keep it open ends after this many rounds (a hook that presses OK again
// and again stays finite).
constexpr int kMaxRounds = 1000;

struct Step {
  std::u16string text;
  int button;
};

struct Running {
  OPENFILENAMEW* record = nullptr;
  HWND dialog = NULL;
  std::u16string folder;
  bool ended = false;
  BOOL result = FALSE;
};

std::recursive_mutex g_lock;
std::vector<Step> g_steps;
std::vector<Running*> g_running;  // innermost last
DWORD g_error = 0;
DWORD g_failNext = 0;
SimUiFileDialogSeen g_seen = {};

void Forget() {
  std::lock_guard<std::recursive_mutex> hold(g_lock);
  g_steps.clear();
  g_error = 0;
  g_failNext = 0;
  g_seen = SimUiFileDialogSeen();
}

struct ResetRegistration {
  ResetRegistration() { RegisterResetHook(Forget); }
} g_reset;

void CopyCut(WCHAR* to, size_t capacity, const std::u16string& from) {
  size_t n = from.size() < capacity - 1 ? from.size() : capacity - 1;
  from.copy(reinterpret_cast<char16_t*>(to), n);
  to[n] = 0;
}

std::u16string Text(LPCWSTR text) { return text ? std::u16string(text) : std::u16string(); }

std::u16string ControlText(HWND dialog, int id) {
  WCHAR buffer[1025] = {};
  SimUiGetText(SimUiFindControl(dialog, id), buffer, 1025);
  return Text(buffer);
}

bool IsFolder(const std::u16string& path) {
  DWORD attributes = GetFileAttributesW(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::u16string FullPath(const std::u16string& path) {
  WCHAR buffer[1025] = {};
  DWORD n = GetFullPathNameW(path.c_str(), 1025, buffer, NULL);
  return n && n < 1025 ? Text(buffer) : path;
}

bool IsAbsolute(const std::u16string& name) {
  return (!name.empty() && name[0] == u'\\') || (name.size() > 1 && name[1] == u':');
}

std::u16string Join(const std::u16string& folder, const std::u16string& name) {
  if (IsAbsolute(name)) return name[0] == u'\\' && folder.size() > 1 ? folder.substr(0, 2) + name : name;
  return !folder.empty() && folder.back() == u'\\' ? folder + name : folder + u"\\" + name;
}

// The folder list as the old dialog shows it: the drive's root, then each folder down to the
// current one, which is selected.
void ShowFolder(HWND dialog, const std::u16string& folder) {
  HWND list = SimUiFindControl(dialog, kFolderList);
  if (!list) return;
  SimUiSend(list, LB_RESETCONTENT, 0, 0);
  size_t start = 0;
  int last = -1;
  while (start < folder.size()) {
    size_t slash = folder.find(u'\\', start);
    std::u16string part = start == 0 ? folder.substr(0, slash == std::u16string::npos ? folder.size() : slash + 1)
                                     : folder.substr(start, slash == std::u16string::npos ? std::u16string::npos
                                                                                          : slash - start);
    if (!part.empty()) last = (int)SimUiSend(list, LB_ADDSTRING, 0, (LPARAM)part.c_str());
    if (slash == std::u16string::npos) break;
    start = slash + 1;
  }
  SimUiSend(list, LB_SETCURSEL, (WPARAM)last, 0);
}

// The filter's names into the type combo, the record's filter index selected.
void ShowTypes(HWND dialog, const OPENFILENAMEW* record) {
  HWND combo = SimUiFindControl(dialog, kTypeCombo);
  if (!combo || !record->lpstrFilter) return;
  for (LPCWSTR name = record->lpstrFilter; *name;) {
    LPCWSTR pattern = name + WideLength(name) + 1;
    SimUiSend(combo, CB_ADDSTRING, 0, (LPARAM)name);
    name = pattern + WideLength(pattern) + 1;
  }
  SimUiSend(combo, CB_SETCURSEL, record->nFilterIndex ? record->nFilterIndex - 1 : 0, 0);
}

void End(Running* run, BOOL result) {
  run->ended = true;
  run->result = result;
  SimUiEndDialog(run->dialog, result);
}

// The chosen name into the record: false (and FNERR_BUFFERTOOSMALL) when it does not fit.
bool Choose(Running* run, const std::u16string& path, size_t nameOffset) {
  OPENFILENAMEW* record = run->record;
  if (!record->lpstrFile || path.size() + 1 > record->nMaxFile || path.size() > 0xFFFF) {
    std::lock_guard<std::recursive_mutex> hold(g_lock);
    g_error = FNERR_BUFFERTOOSMALL;
    return false;
  }
  path.copy(reinterpret_cast<char16_t*>(record->lpstrFile), path.size());
  record->lpstrFile[path.size()] = 0;
  record->nFileOffset = (WORD)nameOffset;
  size_t dot = path.find_last_of(u'.');
  record->nFileExtension = dot != std::u16string::npos && dot >= nameOffset ? (WORD)(dot + 1) : 0;
  return true;
}

// What OK does when the hook left it to the dialog.
void PressOk(Running* run) {
  HWND dialog = run->dialog;
  std::u16string text = ControlText(dialog, kNameEdit);
  while (!text.empty() && text.back() == u' ') text.pop_back();
  while (!text.empty() && text.front() == u' ') text.erase(0, 1);
  if (text.empty()) return;
  // A pattern only re-filters the file list, which the fake does not show.
  if (text.find_first_of(u"*?") != std::u16string::npos) return;
  const OPENFILENAMEW* record = run->record;
  if ((record->Flags & OFN_ALLOWMULTISELECT) && text.find(u' ') != std::u16string::npos) {
    std::u16string names;
    size_t start = 0;
    while (start < text.size()) {
      size_t blank = text.find(u' ', start);
      std::u16string name = text.substr(start, blank == std::u16string::npos ? std::u16string::npos : blank - start);
      if (!name.empty()) names += (names.empty() ? u"" : u" ") + name;
      if (blank == std::u16string::npos) break;
      start = blank + 1;
    }
    std::u16string folder = run->folder;
    if (folder.size() > 3 && folder.back() == u'\\') folder.pop_back();
    if (Choose(run, folder + u" " + names, folder.size() + 1)) End(run, TRUE);
    else End(run, FALSE);
    return;
  }
  std::u16string path = FullPath(Join(run->folder, text));
  if (IsFolder(path)) {
    run->folder = path;
    ShowFolder(dialog, path);
    SimUiSetText(SimUiFindControl(dialog, kNameEdit), u"");
    return;
  }
  size_t slash = path.find_last_of(u'\\');
  size_t nameOffset = slash == std::u16string::npos ? 0 : slash + 1;
  if (path.find(u'.', nameOffset) == std::u16string::npos && record->lpstrDefExt && record->lpstrDefExt[0])
    path += u"." + Text(record->lpstrDefExt);
  End(run, Choose(run, path, nameOffset) ? TRUE : FALSE);
}

Running* Current() {
  std::lock_guard<std::recursive_mutex> hold(g_lock);
  return g_running.empty() ? nullptr : g_running.back();
}

INT_PTR CALLBACK FileDialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  Running* run = Current();
  if (!run) return FALSE;
  OPENFILENAMEW* record = run->record;
  LPOFNHOOKPROC hook = (record->Flags & OFN_ENABLEHOOK) ? record->lpfnHook : nullptr;
  if (message == WM_INITDIALOG) {
    run->dialog = window;
    ShowFolder(window, run->folder);
    ShowTypes(window, record);
    if (record->lpstrFile && record->lpstrFile[0])
      SimUiSetText(SimUiFindControl(window, kNameEdit), record->lpstrFile);
    return hook ? (INT_PTR)hook(window, message, wParam, (LPARAM)record) : TRUE;
  }
  if (hook && hook(window, message, wParam, lParam)) return TRUE;
  if (message != WM_COMMAND || HIWORD(wParam) != BN_CLICKED) return FALSE;
  if (LOWORD(wParam) == IDOK) PressOk(run);
  if (LOWORD(wParam) == IDCANCEL) End(run, FALSE);
  return TRUE;
}

void See(const OPENFILENAMEW* record, BOOL save) {
  std::lock_guard<std::recursive_mutex> hold(g_lock);
  int count = g_seen.count + 1;
  g_seen = SimUiFileDialogSeen();
  g_seen.count = count;
  g_seen.save = save;
  g_seen.templateId = (record->Flags & OFN_ENABLETEMPLATE) ? (int)(ULONG_PTR)record->lpTemplateName : 0;
  g_seen.flags = record->Flags;
  CopyCut(g_seen.title, 261, Text(record->lpstrTitle));
  if (record->lpstrFilter) {
    CopyCut(g_seen.filterName, 261, Text(record->lpstrFilter));
    CopyCut(g_seen.filterPattern, 64, Text(record->lpstrFilter + WideLength(record->lpstrFilter) + 1));
  }
  CopyCut(g_seen.initialFolder, 261, Text(record->lpstrInitialDir));
  CopyCut(g_seen.file, 261, Text(record->lpstrFile));
  CopyCut(g_seen.defaultExtension, 16, Text(record->lpstrDefExt));
}

// The next scripted step, or an empty one with button 0 when they are spent.
Step NextStep() {
  std::lock_guard<std::recursive_mutex> hold(g_lock);
  if (g_steps.empty()) return Step{u"", 0};
  Step step = g_steps.front();
  g_steps.erase(g_steps.begin());
  return step;
}

}  // namespace
}  // namespace winsim

using namespace winsim;

BOOL SimUiRunFileDialog(OPENFILENAMEW* dialog, BOOL save) {
  WINSIM_SIMPLIFIED("SimUi file dialog", "no file list or long-name translation; the user's steps are scripted");
  {
    std::lock_guard<std::recursive_mutex> hold(g_lock);
    g_error = 0;
    if (!dialog || (dialog->lStructSize != sizeof(OPENFILENAMEW) && dialog->lStructSize != 76)) {
      g_error = CDERR_STRUCTSIZE;
      return FALSE;
    }
    if (g_failNext) {
      g_error = g_failNext;
      g_failNext = 0;
      return FALSE;
    }
    if (!(dialog->Flags & OFN_ENABLETEMPLATE)) {
      g_error = CDERR_NOTEMPLATE;
      return FALSE;
    }
  }
  See(dialog, save);
  Running run;
  run.record = dialog;
  std::u16string initial = Text(dialog->lpstrInitialDir);
  run.folder = !initial.empty() && IsFolder(initial) ? FullPath(initial) : u"C:\\";
  {
    std::lock_guard<std::recursive_mutex> hold(g_lock);
    g_running.push_back(&run);
  }
  HWND window = SimUiCreateDialog(dialog->hInstance, (int)(ULONG_PTR)dialog->lpTemplateName, dialog->hwndOwner,
                                  FileDialogProc, (LPARAM)dialog);
  if (!window) {
    std::lock_guard<std::recursive_mutex> hold(g_lock);
    g_running.pop_back();
    g_error = CDERR_FINDRESFAILURE;
    return FALSE;
  }
  SimUiShow(window, SW_SHOW);
  for (int round = 0; round < kMaxRounds && !run.ended; ++round) {
    SimUiPump();
    if (run.ended || !SimUiIsWindow(window)) break;
    Step step = NextStep();
    if (!step.button) {
      // The script is spent: the user gives up.
      SimUiSend(window, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), (LPARAM)SimUiFindControl(window, IDCANCEL));
      SimUiPump();
      if (!run.ended) End(&run, FALSE);
      break;
    }
    SimUiSetText(SimUiFindControl(window, kNameEdit), step.text.c_str());
    SimUiSend(window, WM_COMMAND, MAKEWPARAM(step.button, BN_CLICKED), (LPARAM)SimUiFindControl(window, step.button));
  }
  if (!run.ended) {
    fprintf(stderr, "SimUi: file dialog %d did not end\n", (int)(ULONG_PTR)dialog->lpTemplateName);
    End(&run, FALSE);
  }
  {
    std::lock_guard<std::recursive_mutex> hold(g_lock);
    CopyCut(g_seen.lastFolder, 261, run.folder);
    g_running.pop_back();
  }
  SimUiDestroy(window);
  return run.result;
}

DWORD SimUiFileDialogError(void) {
  std::lock_guard<std::recursive_mutex> hold(g_lock);
  return g_error;
}

void SimUiScriptFileDialog(const SimUiFileStep* steps, int count) {
  std::lock_guard<std::recursive_mutex> hold(g_lock);
  g_steps.clear();
  for (int i = 0; steps && i < count; ++i) g_steps.push_back(Step{Text(steps[i].text), steps[i].button});
}

void SimUiFailFileDialog(DWORD error) {
  std::lock_guard<std::recursive_mutex> hold(g_lock);
  g_failNext = error;
}

void SimUiLastFileDialog(SimUiFileDialogSeen* seen) {
  std::lock_guard<std::recursive_mutex> hold(g_lock);
  if (seen) *seen = g_seen;
}
