// The recording fake behind the dialogs' window interface. It is no user32: it keeps windows
// made from dialog templates or by tests, answers the interface's operations from them, and
// records what changed. Windows have rectangles (a template's dialog units taken as a dialog
// font of 6 x 13 pixels) and a pending-repaint mark, but nothing is drawn. Simplified (reported under
// ZEMS_SIM_TRACE=simplified): an automatic radio button does not clear the others of its
// group; a modal loop runs only posted messages, timers and its idle hook.
#include <stdio.h>

#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "platform/sim.h"
#include "platform/sim/dialog_template.h"
#include "platform/sim/internal.h"
#include "platform/sim/trace.h"

namespace winsim {
namespace {

struct ChoiceEntry {
  std::u16string text;
  LPARAM data = 0;
};

enum class Kind { kGeneric, kDialog, kButton, kEdit, kStatic, kCombo, kList, kScrollBar, kTrackbar };

struct FakeWindow {
  HWND handle = NULL;
  HWND parent = NULL;
  HWND owner = NULL;
  Kind kind = Kind::kGeneric;
  std::u16string className;
  std::u16string text;
  DWORD style = 0;
  DWORD exStyle = 0;
  int id = 0;
  WNDPROC procedure = NULL;
  DLGPROC dialogProcedure = NULL;
  LONG_PTR msgResult = 0, user = 0, userData = 0;
  UINT check = BST_UNCHECKED;
  std::vector<ChoiceEntry> choices;
  int selection = -1;
  int limit = 0;  // edit: most characters, 0 for the default
  WCHAR passwordChar = 0;
  int selStart = 0, selEnd = 0;  // edit: the selection (the caret at its end)
  int rangeMin = 0, rangeMax = 0, position = 0;  // scroll bar and trackbar
  bool themeOff = false;
  bool ended = false;
  INT_PTR endResult = 0;
  int templateId = 0;
  RECT rect = {0, 0, 0, 0};  // in the parent's client coordinates (top-level: the screen's)
  bool needsPaint = false;
  std::vector<HWND> children;  // z-order: the first is on top
};

struct DeclaredControl {
  HWND page;
  int id;
  HWND control;
};

struct PostedMessage {
  HWND window;
  UINT message;
  WPARAM wParam;
  LPARAM lParam;
};

struct Timer {
  HWND window;
  UINT_PTR id;
  UINT interval;
  DWORD due;
};

std::recursive_mutex g_uiLock;
std::map<HWND, std::unique_ptr<FakeWindow>> g_windows;
std::vector<HWND> g_topLevel;  // creation order
std::vector<DeclaredControl> g_controls;
std::vector<PostedMessage> g_posted;
std::vector<Timer> g_timers;
std::vector<int> g_answers;  // scripted answers, consumed from the front
std::vector<SimUiCall> g_calls;
bool g_strictBoxes = false;
void (*g_idleHook)(void*) = NULL;
void* g_idleContext = NULL;
HWND g_active = NULL;
HWND g_focus = NULL;
ULONG_PTR g_nextHandle = 0x20000;

// Windows does not hand out more than 10,000 windows per process; a runaway test fails here
// instead of eating the machine.
constexpr size_t kMaxWindows = 10000;
// A modal loop without an end runs at most this many rounds of its hook.
constexpr int kMaxModalRounds = 100000;

void CopyCut(WCHAR* to, size_t capacity, LPCWSTR from) {
  size_t n = 0;
  if (from)
    while (n + 1 < capacity && from[n]) {
      to[n] = from[n];
      ++n;
    }
  to[n] = 0;
}

std::u16string TextOf(LPCWSTR text) { return text ? std::u16string(text) : std::u16string(); }

FakeWindow* Find(HWND window) {
  auto it = g_windows.find(window);
  return it == g_windows.end() ? NULL : it->second.get();
}

void Record(int kind, const FakeWindow* w, HWND window, LONG_PTR value, LPCWSTR text) {
  SimUiCall call = {};
  call.kind = kind;
  call.window = window;
  call.id = w ? (w->kind == Kind::kDialog && !w->parent ? w->templateId : w->id) : 0;
  call.value = value;
  CopyCut(call.text, sizeof call.text / sizeof call.text[0], text);
  call.textLength = text ? (DWORD)WideLength(text) : 0;
  g_calls.push_back(call);
}

void ForgetAll() {
  std::lock_guard<std::recursive_mutex> hold(g_uiLock);
  g_windows.clear();
  g_topLevel.clear();
  g_controls.clear();
  g_posted.clear();
  g_timers.clear();
  g_answers.clear();
  g_calls.clear();
  g_strictBoxes = false;
  g_idleHook = NULL;
  g_idleContext = NULL;
  g_active = NULL;
  g_focus = NULL;
  SheetFakeForget();
  DrawFakeForget();
}

// Dialog units to pixels for the fake's dialog font (6 x 13 pixels a character).
RECT PixelsOf(short x, short y, short cx, short cy) {
  RECT r;
  r.left = x * 6 / 4;
  r.top = y * 13 / 8;
  r.right = (x + cx) * 6 / 4;
  r.bottom = (y + cy) * 13 / 8;
  return r;
}

struct ResetRegistration {
  ResetRegistration() { RegisterResetHook(ForgetAll); }
} g_reset;

// Sends WM_COMMAND (control id, code) to a control's parent, as the standard controls notify.
void Notify(HWND control, WORD code) {
  HWND parent = NULL;
  int id = 0;
  {
    std::lock_guard<std::recursive_mutex> hold(g_uiLock);
    FakeWindow* w = Find(control);
    if (!w || !w->parent) return;
    parent = w->parent;
    id = w->id;
  }
  SimUiSend(parent, WM_COMMAND, MAKEWPARAM(id, code), (LPARAM)control);
}

// What every class answers: its text.
LRESULT DefaultAnswer(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  std::lock_guard<std::recursive_mutex> hold(g_uiLock);
  FakeWindow* w = Find(window);
  if (!w) return 0;
  switch (message) {
    case WM_SETTEXT:
      w->text = TextOf(reinterpret_cast<LPCWSTR>(lParam));
      return TRUE;
    case WM_GETTEXTLENGTH:
      return (LRESULT)w->text.size();
    case WM_GETTEXT: {
      WCHAR* buffer = reinterpret_cast<WCHAR*>(lParam);
      if (!buffer || wParam == 0) return 0;
      size_t n = w->text.size() < wParam - 1 ? w->text.size() : wParam - 1;
      w->text.copy(reinterpret_cast<char16_t*>(buffer), n);
      buffer[n] = 0;
      return (LRESULT)n;
    }
    default:
      return 0;
  }
}

LRESULT CALLBACK GenericProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return DefaultAnswer(window, message, wParam, lParam);
}

LRESULT CALLBACK StaticProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return DefaultAnswer(window, message, wParam, lParam);
}

// The automatic check box and radio button styles (BS_AUTOCHECKBOX, BS_AUTO3STATE,
// BS_AUTORADIOBUTTON): a click changes their check.
bool IsAutoButton(DWORD style) {
  DWORD type = style & 0x0F;
  return type == 0x3 || type == 0x6 || type == 0x9;
}

LRESULT CALLBACK ButtonProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case BM_GETCHECK: {
      std::lock_guard<std::recursive_mutex> hold(g_uiLock);
      FakeWindow* w = Find(window);
      return w ? (LRESULT)w->check : 0;
    }
    case BM_SETCHECK: {
      std::lock_guard<std::recursive_mutex> hold(g_uiLock);
      if (FakeWindow* w = Find(window)) w->check = (UINT)wParam;
      return 0;
    }
    case BM_CLICK: {
      bool enabled = false;
      {
        std::lock_guard<std::recursive_mutex> hold(g_uiLock);
        FakeWindow* w = Find(window);
        if (!w) return 0;
        enabled = !(w->style & WS_DISABLED);
        if (enabled && IsAutoButton(w->style)) {
          if ((w->style & 0x0F) == 0x9) {
            WINSIM_SIMPLIFIED("SimUi BM_CLICK", "an automatic radio button's click leaves the others of its group checked");
            w->check = BST_CHECKED;
          } else {
            w->check = w->check == BST_CHECKED ? BST_UNCHECKED : BST_CHECKED;
          }
        }
      }
      if (enabled) Notify(window, BN_CLICKED);
      return 0;
    }
    default:
      return DefaultAnswer(window, message, wParam, lParam);
  }
}

LRESULT CALLBACK EditProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_SETTEXT:
      DefaultAnswer(window, message, wParam, lParam);
      {
        std::lock_guard<std::recursive_mutex> hold(g_uiLock);
        if (FakeWindow* w = Find(window)) w->selStart = w->selEnd = 0;
      }
      Notify(window, EN_CHANGE);
      return TRUE;
    case WM_CHAR: {
      {
        std::lock_guard<std::recursive_mutex> hold(g_uiLock);
        FakeWindow* w = Find(window);
        if (!w) return 0;
        size_t limit = w->limit > 0 ? (size_t)w->limit : 30000;
        if (wParam == 8) {
          if (w->text.empty()) return 0;
          w->text.pop_back();
        } else {
          if (wParam < 0x20 || w->text.size() >= limit) return 0;
          w->text.push_back(char16_t(wParam));
        }
        w->selStart = w->selEnd = (int)w->text.size();
      }
      Notify(window, EN_CHANGE);
      return 0;
    }
    case EM_LIMITTEXT: {
      std::lock_guard<std::recursive_mutex> hold(g_uiLock);
      if (FakeWindow* w = Find(window)) w->limit = (int)wParam;
      return 0;
    }
    case EM_SETPASSWORDCHAR: {
      std::lock_guard<std::recursive_mutex> hold(g_uiLock);
      if (FakeWindow* w = Find(window)) w->passwordChar = (WCHAR)wParam;
      return 0;
    }
    case EM_SETSEL: {
      std::lock_guard<std::recursive_mutex> hold(g_uiLock);
      if (FakeWindow* w = Find(window)) {
        int size = (int)w->text.size();
        int start = (int)wParam, end = (int)lParam;
        if (start < 0 || start > size) start = size;
        if (end < 0 || end > size) end = size;
        w->selStart = start < end ? start : end;
        w->selEnd = start < end ? end : start;
      }
      return 0;
    }
    case EM_GETPASSWORDCHAR: {
      std::lock_guard<std::recursive_mutex> hold(g_uiLock);
      FakeWindow* w = Find(window);
      return w ? (LRESULT)w->passwordChar : 0;
    }
    case EM_GETSEL: {
      std::lock_guard<std::recursive_mutex> hold(g_uiLock);
      FakeWindow* w = Find(window);
      if (!w) return 0;
      if (wParam) *reinterpret_cast<DWORD*>(wParam) = (DWORD)w->selStart;
      if (lParam) *reinterpret_cast<DWORD*>(lParam) = (DWORD)w->selEnd;
      return MAKELONG(w->selStart, w->selEnd);
    }
    default:
      return DefaultAnswer(window, message, wParam, lParam);
  }
}

// Scroll bars keep a range and a position; a position set is held inside the range.
int HeldInRange(const FakeWindow* w, int position) {
  int low = w->rangeMin < w->rangeMax ? w->rangeMin : w->rangeMax;
  int high = w->rangeMin < w->rangeMax ? w->rangeMax : w->rangeMin;
  return position < low ? low : position > high ? high : position;
}

LRESULT CALLBACK ScrollBarProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  std::lock_guard<std::recursive_mutex> hold(g_uiLock);
  FakeWindow* w = Find(window);
  if (!w) return 0;
  switch (message) {
    case SBM_SETPOS: {
      int before = w->position;
      w->position = HeldInRange(w, (int)wParam);
      if (lParam) w->needsPaint = true;
      return before;
    }
    case SBM_GETPOS:
      return w->position;
    case SBM_SETRANGE:
      w->rangeMin = (int)wParam;
      w->rangeMax = (int)lParam;
      w->position = HeldInRange(w, w->position);
      return 0;
    case SBM_GETRANGE:
      if (wParam) *reinterpret_cast<int*>(wParam) = w->rangeMin;
      if (lParam) *reinterpret_cast<int*>(lParam) = w->rangeMax;
      return 0;
    case SBM_SETSCROLLINFO: {
      const SCROLLINFO* info = reinterpret_cast<const SCROLLINFO*>(lParam);
      if (!info) return w->position;
      if (info->fMask & SIF_RANGE) {
        w->rangeMin = info->nMin;
        w->rangeMax = info->nMax;
      }
      if (info->fMask & SIF_POS) w->position = info->nPos;
      w->position = HeldInRange(w, w->position);
      if (wParam) w->needsPaint = true;
      return w->position;
    }
    case SBM_GETSCROLLINFO: {
      SCROLLINFO* info = reinterpret_cast<SCROLLINFO*>(lParam);
      if (!info) return FALSE;
      if (info->fMask & SIF_RANGE) {
        info->nMin = w->rangeMin;
        info->nMax = w->rangeMax;
      }
      if (info->fMask & (SIF_POS | SIF_TRACKPOS)) info->nPos = info->nTrackPos = w->position;
      return TRUE;
    }
    default:
      break;
  }
  return 0;
}

// The trackbar: TBM_SETRANGE takes the minimum in the low word and the maximum in the high one.
LRESULT CALLBACK TrackbarProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  std::lock_guard<std::recursive_mutex> hold(g_uiLock);
  FakeWindow* w = Find(window);
  if (!w) return 0;
  switch (message) {
    case TBM_SETRANGE:
      w->rangeMin = (SHORT)LOWORD(lParam);
      w->rangeMax = (SHORT)HIWORD(lParam);
      w->position = HeldInRange(w, w->position);
      if (wParam) w->needsPaint = true;
      return 0;
    case TBM_SETPOS:
      w->position = HeldInRange(w, (int)lParam);
      if (wParam) w->needsPaint = true;
      return 0;
    case TBM_GETPOS:
      return w->position;
    case TBM_GETRANGEMIN:
      return w->rangeMin;
    case TBM_GETRANGEMAX:
      return w->rangeMax;
    default:
      break;
  }
  return 0;
}

// Combo boxes and list boxes keep the same entries; only the message numbers differ.
LRESULT ChoiceAnswer(HWND window, UINT message, WPARAM wParam, LPARAM lParam, bool combo) {
  std::lock_guard<std::recursive_mutex> hold(g_uiLock);
  FakeWindow* w = Find(window);
  if (!w) return -1;
  const LRESULT error = -1;
  int count = (int)w->choices.size();
  int index = (int)wParam;
  UINT add = combo ? CB_ADDSTRING : LB_ADDSTRING, reset = combo ? CB_RESETCONTENT : LB_RESETCONTENT,
       getCount = combo ? CB_GETCOUNT : LB_GETCOUNT, getSel = combo ? CB_GETCURSEL : LB_GETCURSEL,
       setSel = combo ? CB_SETCURSEL : LB_SETCURSEL, getData = combo ? CB_GETITEMDATA : LB_GETITEMDATA,
       setData = combo ? CB_SETITEMDATA : LB_SETITEMDATA, getText = combo ? CB_GETLBTEXT : LB_GETTEXT,
       getTextLen = combo ? CB_GETLBTEXTLEN : LB_GETTEXTLEN;
  if (message == add) {
    // Unsorted controls only: the driver's lists keep the order they are filled in.
    w->choices.push_back(ChoiceEntry{TextOf(reinterpret_cast<LPCWSTR>(lParam)), 0});
    return count;
  }
  if (message == reset) {
    w->choices.clear();
    w->selection = -1;
    return 0;
  }
  if (message == getCount) return count;
  if (message == getSel) return w->selection;
  if (message == setSel) {
    // -1 clears the selection; an index beyond the entries answers an error and, whatever the
    // documentation says, leaves the selection as it was (so do Windows and Wine).
    if (index < 0) {
      w->selection = -1;
      return error;
    }
    if (index >= count) return error;
    w->selection = index;
    return index;
  }
  if (index < 0 || index >= count) return error;
  if (message == getData) return w->choices[(size_t)index].data;
  if (message == setData) {
    w->choices[(size_t)index].data = lParam;
    return 0;
  }
  if (message == getTextLen) return (LRESULT)w->choices[(size_t)index].text.size();
  if (message == getText) {
    // The caller's buffer must hold the whole entry (the length message says how much).
    WCHAR* buffer = reinterpret_cast<WCHAR*>(lParam);
    if (!buffer) return error;
    const std::u16string& t = w->choices[(size_t)index].text;
    t.copy(reinterpret_cast<char16_t*>(buffer), t.size());
    buffer[t.size()] = 0;
    return (LRESULT)t.size();
  }
  return 0;
}

bool IsChoiceMessage(UINT message, bool combo) {
  return combo ? (message >= CB_ADDSTRING && message <= CB_SETITEMDATA)
               : (message >= LB_ADDSTRING && message <= LB_SETITEMDATA);
}

LRESULT CALLBACK ComboProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (IsChoiceMessage(message, true)) return ChoiceAnswer(window, message, wParam, lParam, true);
  return DefaultAnswer(window, message, wParam, lParam);
}

LRESULT CALLBACK ListProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (IsChoiceMessage(message, false)) return ChoiceAnswer(window, message, wParam, lParam, false);
  return DefaultAnswer(window, message, wParam, lParam);
}

// The messages whose answer is the dialog procedure's own return value; for all others a
// handled message answers DWL_MSGRESULT.
bool AnswersDirectly(UINT message) {
  return message == WM_INITDIALOG || (message >= 0x132 && message <= 0x138) /* WM_CTLCOLOR... */ ||
         message == 0x39 /* WM_COMPAREITEM */ || message == 0x2E /* WM_VKEYTOITEM */ ||
         message == 0x2F /* WM_CHARTOITEM */ || message == 0x37 /* WM_QUERYDRAGICON */;
}

LRESULT CALLBACK DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  DLGPROC procedure = NULL;
  {
    std::lock_guard<std::recursive_mutex> hold(g_uiLock);
    FakeWindow* w = Find(window);
    if (!w) return 0;
    procedure = w->dialogProcedure;
  }
  if (procedure) {
    INT_PTR handled = procedure(window, message, wParam, lParam);
    if (handled) {
      if (AnswersDirectly(message)) return handled;
      std::lock_guard<std::recursive_mutex> hold(g_uiLock);
      FakeWindow* w = Find(window);
      return w ? w->msgResult : 0;
    }
  }
  return DefaultAnswer(window, message, wParam, lParam);
}

struct ClassRow {
  const char16_t* name;
  Kind kind;
  WNDPROC procedure;
};
const ClassRow kClasses[] = {
    {u"#32770", Kind::kDialog, DialogProc}, {u"Button", Kind::kButton, ButtonProc},
    {u"Edit", Kind::kEdit, EditProc},       {u"Static", Kind::kStatic, StaticProc},
    {u"ComboBox", Kind::kCombo, ComboProc}, {u"ListBox", Kind::kList, ListProc},
    {u"ScrollBar", Kind::kScrollBar, ScrollBarProc}, {u"msctls_trackbar32", Kind::kTrackbar, TrackbarProc},
};

const ClassRow* StandardClass(const std::u16string& name) {
  for (const ClassRow& row : kClasses)
    if (SameTextIgnoringCase(name, row.name)) return &row;
  return NULL;
}

WNDPROC ClassProcedureOf(const std::u16string& name) {
  const ClassRow* row = StandardClass(name);
  return row ? row->procedure : NULL;
}

// Makes a window under the lock; NULL when the process has too many.
FakeWindow* Make(const std::u16string& className, HWND parent, int id, DWORD style) {
  if (className.empty() || g_windows.size() >= kMaxWindows) return NULL;
  if (parent && !Find(parent)) return NULL;
  auto w = std::make_unique<FakeWindow>();
  w->handle = (HWND)g_nextHandle;
  g_nextHandle += 4;
  w->className = className;
  const ClassRow* row = StandardClass(className);
  w->kind = row ? row->kind : Kind::kGeneric;
  w->procedure = ClassProcedureOf(className);
  if (!w->procedure) w->procedure = GenericProc;
  w->parent = parent;
  w->id = parent ? id : 0;
  w->style = style;
  FakeWindow* made = w.get();
  g_windows[made->handle] = std::move(w);
  if (parent)
    Find(parent)->children.push_back(made->handle);
  else
    g_topLevel.push_back(made->handle);
  return made;
}

// Removes a window and what belongs to it, children first (their handles end with them).
void Remove(HWND window) {
  FakeWindow* w = Find(window);
  if (!w) return;
  std::vector<HWND> children = w->children;
  for (HWND child : children) Remove(child);
  std::vector<HWND> owned;
  for (auto& entry : g_windows)
    if (entry.second->owner == window) owned.push_back(entry.first);
  for (HWND o : owned) Remove(o);
  w = Find(window);
  if (!w) return;
  if (w->parent) {
    if (FakeWindow* p = Find(w->parent))
      for (size_t i = 0; i < p->children.size(); ++i)
        if (p->children[i] == window) {
          p->children.erase(p->children.begin() + (long)i);
          break;
        }
  } else {
    for (size_t i = 0; i < g_topLevel.size(); ++i)
      if (g_topLevel[i] == window) {
        g_topLevel.erase(g_topLevel.begin() + (long)i);
        break;
      }
  }
  for (size_t i = g_posted.size(); i-- > 0;)
    if (g_posted[i].window == window) g_posted.erase(g_posted.begin() + (long)i);
  for (size_t i = g_timers.size(); i-- > 0;)
    if (g_timers[i].window == window) g_timers.erase(g_timers.begin() + (long)i);
  if (g_focus == window) g_focus = NULL;
  if (g_active == window) g_active = Find(w->owner) ? w->owner : NULL;
  g_windows.erase(window);
}

// Sends WM_DESTROY to a window and its children (parent first, as Windows does), then
// removes them.
void DestroyTree(HWND window) {
  std::vector<HWND> children;
  {
    std::lock_guard<std::recursive_mutex> hold(g_uiLock);
    FakeWindow* w = Find(window);
    if (!w) return;
    children = w->children;
  }
  SimUiSend(window, WM_DESTROY, 0, 0);
  for (HWND child : children) DestroyTree(child);
}

// The dialog template `templateId` of a module: read and checked, or false.
bool LoadTemplate(HMODULE module, int templateId, DialogTemplate* out) {
  HRSRC found = FindResourceW(module, MAKEINTRESOURCEW(templateId), RT_DIALOG);
  if (!found) return false;
  HGLOBAL loaded = LoadResource(module, found);
  const void* bytes = loaded ? LockResource(loaded) : NULL;
  DWORD size = SizeofResource(module, found);
  if (!bytes || !size) return false;
  return ReadDialogTemplate(static_cast<const uint8_t*>(bytes), size, out);
}

HWND MakeDialog(HMODULE module, int templateId, HWND owner, DLGPROC procedure, LPARAM param) {
  DialogTemplate dialog;
  if (!LoadTemplate(module, templateId, &dialog)) {
    SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
    return NULL;
  }
  HWND made = NULL;
  bool visible = false;
  {
    std::lock_guard<std::recursive_mutex> hold(g_uiLock);
    std::u16string className = dialog.className.empty() ? u"#32770" : dialog.className;
    FakeWindow* w = Make(className, NULL, 0, dialog.style & ~WS_VISIBLE);
    if (!w) return NULL;
    w->kind = Kind::kDialog;
    w->procedure = DialogProc;
    w->dialogProcedure = procedure;
    w->owner = Find(owner) ? owner : NULL;
    w->text = dialog.title;
    w->exStyle = dialog.exStyle;
    w->templateId = templateId;
    w->rect = PixelsOf(dialog.x, dialog.y, dialog.cx, dialog.cy);
    made = w->handle;
    visible = (dialog.style & WS_VISIBLE) != 0;
    for (const DialogItemTemplate& item : dialog.items) {
      FakeWindow* c = Make(item.className, made, (int)(WORD)item.id, item.style);
      if (!c) {
        Remove(made);
        return NULL;
      }
      c->text = item.text;
      c->exStyle = item.exStyle;
      c->rect = PixelsOf(item.x, item.y, item.cx, item.cy);
    }
    Record(kSimUiCreateDialog, w, made, (LONG_PTR)owner, NULL);
    CopyCut(g_calls.back().caption, sizeof g_calls.back().caption / sizeof(WCHAR),
            reinterpret_cast<LPCWSTR>(dialog.title.c_str()));
  }
  if (procedure) SimUiSend(made, WM_INITDIALOG, 0, param);
  if (visible && SimUiIsWindow(made)) {
    std::lock_guard<std::recursive_mutex> hold(g_uiLock);
    if (FakeWindow* w = Find(made)) {
      w->style |= WS_VISIBLE;
      g_active = made;
    }
  }
  return SimUiIsWindow(made) ? made : NULL;
}

// Runs one posted message; false when there was none.
bool RunOnePosted() {
  PostedMessage m;
  {
    std::lock_guard<std::recursive_mutex> hold(g_uiLock);
    if (g_posted.empty()) return false;
    m = g_posted.front();
    g_posted.erase(g_posted.begin());
  }
  SimUiSend(m.window, m.message, m.wParam, m.lParam);
  return true;
}

// Fires the timers due at the machine's time; answers how many fired.
int RunDueTimers() {
  std::vector<Timer> due;
  {
    std::lock_guard<std::recursive_mutex> hold(g_uiLock);
    DWORD now = GetTickCount();
    for (Timer& t : g_timers)
      if ((LONG)(now - t.due) >= 0) {
        due.push_back(t);
        t.due = now + t.interval;
      }
  }
  for (const Timer& t : due) SimUiSend(t.window, WM_TIMER, t.id, 0);
  return (int)due.size();
}

// Moves the machine's clock to the next timer due, when one is; false when none is set.
bool AdvanceToNextTimer() {
  DWORD wait = 0;
  {
    std::lock_guard<std::recursive_mutex> hold(g_uiLock);
    if (g_timers.empty()) return false;
    DWORD now = GetTickCount();
    bool first = true;
    for (const Timer& t : g_timers) {
      DWORD left = (LONG)(t.due - now) > 0 ? t.due - now : 0;
      if (first || left < wait) wait = left;
      first = false;
    }
  }
  SimAdvanceTickCount(wait);
  return true;
}

}  // namespace
}  // namespace winsim

using namespace winsim;

void SimUiDeclareControl(HWND page, int controlId, HWND control) {
  std::lock_guard<std::recursive_mutex> hold(g_uiLock);
  for (size_t i = 0; i < g_controls.size(); ++i)
    if (g_controls[i].page == page && g_controls[i].id == controlId) {
      if (control)
        g_controls[i].control = control;
      else
        g_controls.erase(g_controls.begin() + (long)i);
      return;
    }
  if (control) g_controls.push_back(DeclaredControl{page, controlId, control});
}

HWND SimUiFindControl(HWND dialog, int controlId) {
  std::lock_guard<std::recursive_mutex> hold(g_uiLock);
  if (!dialog) return NULL;
  if (FakeWindow* w = Find(dialog)) {
    for (HWND child : w->children)
      if (Find(child)->id == controlId) return child;
    return NULL;
  }
  for (const DeclaredControl& c : g_controls)
    if (c.page == dialog && c.id == controlId) return c.control;
  return NULL;
}

int SimUiControlId(HWND window) {
  std::lock_guard<std::recursive_mutex> hold(g_uiLock);
  FakeWindow* w = Find(window);
  return w ? w->id : 0;
}

HWND SimUiParent(HWND window) {
  std::lock_guard<std::recursive_mutex> hold(g_uiLock);
  FakeWindow* w = Find(window);
  return w ? w->parent : NULL;
}

HWND SimUiFirstChild(HWND window) {
  std::lock_guard<std::recursive_mutex> hold(g_uiLock);
  FakeWindow* w = Find(window);
  return w && !w->children.empty() ? w->children.front() : NULL;
}

HWND SimUiNextSibling(HWND window) {
  std::lock_guard<std::recursive_mutex> hold(g_uiLock);
  FakeWindow* w = Find(window);
  if (!w) return NULL;
  const std::vector<HWND>* siblings = &g_topLevel;
  if (w->parent) siblings = &Find(w->parent)->children;
  for (size_t i = 0; i + 1 < siblings->size(); ++i)
    if ((*siblings)[i] == window) return (*siblings)[i + 1];
  return NULL;
}

HWND SimUiFindTopLevel(LPCWSTR className) {
  std::lock_guard<std::recursive_mutex> hold(g_uiLock);
  if (!className) return NULL;
  std::u16string name = className;
  for (HWND top : g_topLevel)
    if (SameTextIgnoringCase(Find(top)->className, name)) return top;
  return NULL;
}

HWND SimUiActiveWindow(void) {
  std::lock_guard<std::recursive_mutex> hold(g_uiLock);
  return g_active;
}

BOOL SimUiIsWindow(HWND window) {
  std::lock_guard<std::recursive_mutex> hold(g_uiLock);
  return Find(window) ? TRUE : FALSE;
}

int SimUiClassName(HWND window, WCHAR* buffer, int cchBuffer) {
  std::lock_guard<std::recursive_mutex> hold(g_uiLock);
  FakeWindow* w = Find(window);
  if (!buffer || cchBuffer <= 0) return 0;
  buffer[0] = 0;
  if (!w) return 0;
  size_t n = w->className.size() < (size_t)cchBuffer - 1 ? w->className.size() : (size_t)cchBuffer - 1;
  w->className.copy(reinterpret_cast<char16_t*>(buffer), n);
  buffer[n] = 0;
  return (int)n;
}

int SimUiGetText(HWND window, WCHAR* buffer, int cchBuffer) {
  if (!buffer || cchBuffer <= 0) return 0;
  buffer[0] = 0;
  return (int)SimUiSend(window, WM_GETTEXT, (WPARAM)cchBuffer, (LPARAM)buffer);
}

BOOL SimUiSetText(HWND window, LPCWSTR text) {
  {
    std::lock_guard<std::recursive_mutex> hold(g_uiLock);
    FakeWindow* w = Find(window);
    if (!w) return FALSE;
    Record(kSimUiSetText, w, window, 0, text);
  }
  return SimUiSend(window, WM_SETTEXT, 0, (LPARAM)text) ? TRUE : FALSE;
}

UINT SimUiGetCheck(HWND window) { return (UINT)SimUiSend(window, BM_GETCHECK, 0, 0); }

void SimUiSetCheck(HWND window, UINT check) { SimUiSend(window, BM_SETCHECK, check, 0); }

BOOL SimUiIsEnabled(HWND window) {
  std::lock_guard<std::recursive_mutex> hold(g_uiLock);
  FakeWindow* w = Find(window);
  return w && !(w->style & WS_DISABLED) ? TRUE : FALSE;
}

BOOL SimUiEnable(HWND window, BOOL enable) {
  std::lock_guard<std::recursive_mutex> hold(g_uiLock);
  FakeWindow* w = Find(window);
  if (!w) return FALSE;
  BOOL wasDisabled = (w->style & WS_DISABLED) ? TRUE : FALSE;
  if (enable)
    w->style &= ~(DWORD)WS_DISABLED;
  else
    w->style |= WS_DISABLED;
  if (!enable && g_focus == window) g_focus = NULL;
  Record(kSimUiEnable, w, window, enable ? 1 : 0, NULL);
  return wasDisabled;
}

BOOL SimUiIsVisible(HWND window) {
  std::lock_guard<std::recursive_mutex> hold(g_uiLock);
  for (FakeWindow* w = Find(window); w; w = Find(w->parent)) {
    if (!(w->style & WS_VISIBLE)) return FALSE;
    if (!w->parent) return TRUE;
  }
  return FALSE;
}

BOOL SimUiShow(HWND window, int command) {
  std::lock_guard<std::recursive_mutex> hold(g_uiLock);
  FakeWindow* w = Find(window);
  if (!w) return FALSE;
  BOOL wasVisible = (w->style & WS_VISIBLE) ? TRUE : FALSE;
  if (command == SW_HIDE) {
    w->style &= ~(DWORD)WS_VISIBLE;
    if (g_active == window) g_active = Find(w->owner) ? w->owner : NULL;
  } else {
    w->style |= WS_VISIBLE;
    if (!w->parent && command != SW_SHOWNA) g_active = window;
  }
  Record(kSimUiShow, w, window, command, NULL);
  return wasVisible;
}

LONG SimUiGetStyle(HWND window) {
  std::lock_guard<std::recursive_mutex> hold(g_uiLock);
  FakeWindow* w = Find(window);
  return w ? (LONG)w->style : 0;
}

LONG SimUiSetStyle(HWND window, LONG style) {
  std::lock_guard<std::recursive_mutex> hold(g_uiLock);
  FakeWindow* w = Find(window);
  if (!w) return 0;
  LONG old = (LONG)w->style;
  w->style = (DWORD)style;
  return old;
}

LONG_PTR SimUiGetSlot(HWND window, int slot) {
  std::lock_guard<std::recursive_mutex> hold(g_uiLock);
  FakeWindow* w = Find(window);
  if (!w) return 0;
  bool dialog = w->kind == Kind::kDialog;
  if (slot == GWL_USERDATA) return w->userData;
  if (slot == GWL_ID) return w->id;
  if (slot == GWL_EXSTYLE) return (LONG_PTR)w->exStyle;
  if (dialog && slot == DWL_MSGRESULT) return w->msgResult;
  if (dialog && slot == DWL_USER) return w->user;
  SetLastError(ERROR_INVALID_INDEX);
  return 0;
}

LONG_PTR SimUiSetSlot(HWND window, int slot, LONG_PTR value) {
  std::lock_guard<std::recursive_mutex> hold(g_uiLock);
  FakeWindow* w = Find(window);
  if (!w) return 0;
  bool dialog = w->kind == Kind::kDialog;
  if (slot == GWL_ID || slot == GWL_EXSTYLE) {
    LONG_PTR old = slot == GWL_ID ? (LONG_PTR)w->id : (LONG_PTR)w->exStyle;
    if (slot == GWL_ID && w->parent)
      w->id = (int)value;
    else if (slot == GWL_EXSTYLE)
      w->exStyle = (DWORD)value;
    return old;
  }
  LONG_PTR* at = NULL;
  if (slot == GWL_USERDATA) at = &w->userData;
  if (dialog && slot == DWL_MSGRESULT) at = &w->msgResult;
  if (dialog && slot == DWL_USER) at = &w->user;
  if (!at) {
    SetLastError(ERROR_INVALID_INDEX);
    return 0;
  }
  LONG_PTR old = *at;
  *at = value;
  return old;
}

LRESULT SimUiSend(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  WNDPROC procedure = NULL;
  {
    std::lock_guard<std::recursive_mutex> hold(g_uiLock);
    FakeWindow* w = Find(window);
    if (!w) return 0;
    procedure = w->procedure;
  }
  return procedure(window, message, wParam, lParam);
}

BOOL SimUiPost(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  std::lock_guard<std::recursive_mutex> hold(g_uiLock);
  FakeWindow* w = Find(window);
  if (!w) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return FALSE;
  }
  g_posted.push_back(PostedMessage{window, message, wParam, lParam});
  Record(kSimUiPost, w, window, lParam, NULL);
  g_calls.back().style = message;
  return TRUE;
}

BOOL SimUiIsPosted(HWND window, UINT message) {
  std::lock_guard<std::recursive_mutex> hold(g_uiLock);
  for (const PostedMessage& m : g_posted)
    if (m.window == window && m.message == message) return TRUE;
  return FALSE;
}

UINT_PTR SimUiSetTimer(HWND window, UINT_PTR id, UINT milliseconds) {
  std::lock_guard<std::recursive_mutex> hold(g_uiLock);
  if (!Find(window)) return 0;
  // USER_TIMER_MINIMUM: shorter intervals are raised to 10 ms.
  UINT interval = milliseconds < 10 ? 10 : milliseconds;
  for (Timer& t : g_timers)
    if (t.window == window && t.id == id) {
      t.interval = interval;
      t.due = GetTickCount() + interval;
      return id;
    }
  g_timers.push_back(Timer{window, id, interval, GetTickCount() + interval});
  return id;
}

BOOL SimUiKillTimer(HWND window, UINT_PTR id) {
  std::lock_guard<std::recursive_mutex> hold(g_uiLock);
  for (size_t i = 0; i < g_timers.size(); ++i)
    if (g_timers[i].window == window && g_timers[i].id == id) {
      g_timers.erase(g_timers.begin() + (long)i);
      return TRUE;
    }
  return FALSE;
}

int SimUiPump(void) {
  int ran = RunDueTimers();
  // Each posted message may post more; the bound keeps a message that reposts itself finite.
  for (int i = 0; i < 100000 && RunOnePosted(); ++i) ++ran;
  return ran;
}

BOOL SimUiPumpUntil(const volatile LONG* done, DWORD milliseconds) {
  DWORD start = GetTickCount();
  for (;;) {
    SimUiPump();
    if (done && *done) return TRUE;
    DWORD spent = GetTickCount() - start;
    if (spent >= milliseconds) return FALSE;
    {
      std::lock_guard<std::recursive_mutex> hold(g_uiLock);
      if (!g_posted.empty()) continue;
    }
    // Nothing left to run but timers: the clock moves to the next one, at most to the end.
    DWORD before = GetTickCount();
    if (!AdvanceToNextTimer()) {
      SimAdvanceTickCount(milliseconds - spent);
    } else if (GetTickCount() - start > milliseconds) {
      SimSetTickCount(start + milliseconds);
    } else if (GetTickCount() == before) {
      continue;
    }
  }
}

HWND SimUiSetFocus(HWND control) {
  std::lock_guard<std::recursive_mutex> hold(g_uiLock);
  FakeWindow* w = Find(control);
  Record(kSimUiSetFocus, w, control, 0, NULL);
  HWND old = g_focus;
  if (w) g_focus = control;
  return old;
}

HWND SimUiGetFocus(void) {
  std::lock_guard<std::recursive_mutex> hold(g_uiLock);
  return g_focus;
}

HWND SimUiCreateDialog(HMODULE module, int templateId, HWND owner, DLGPROC procedure, LPARAM param) {
  return MakeDialog(module, templateId, owner, procedure, param);
}

INT_PTR SimUiRunDialog(HMODULE module, int templateId, HWND owner, DLGPROC procedure, LPARAM param) {
  WINSIM_SIMPLIFIED("SimUi modal dialog", "runs only posted messages, timers and the idle hook (no input)");
  HWND dialog = MakeDialog(module, templateId, owner, procedure, param);
  if (!dialog) return -1;
  {
    std::lock_guard<std::recursive_mutex> hold(g_uiLock);
    FakeWindow* w = Find(dialog);
    w->style |= WS_VISIBLE;
    g_active = dialog;
  }
  // The owner is disabled while the dialog runs, as a modal loop does.
  BOOL ownerWasDisabled = owner ? !SimUiIsEnabled(owner) : TRUE;
  if (owner && !ownerWasDisabled) SimUiEnable(owner, FALSE);
  INT_PTR result = -1;
  for (int round = 0; round < kMaxModalRounds; ++round) {
    SimUiPump();
    {
      std::lock_guard<std::recursive_mutex> hold(g_uiLock);
      FakeWindow* w = Find(dialog);
      if (!w) break;
      if (w->ended) {
        result = w->endResult;
        break;
      }
    }
    DWORD before = SimUiCallCount();
    size_t postedBefore = 0;
    void (*hook)(void*) = NULL;
    void* context = NULL;
    {
      std::lock_guard<std::recursive_mutex> hold(g_uiLock);
      hook = g_idleHook;
      context = g_idleContext;
      postedBefore = g_posted.size();
    }
    if (hook) hook(context);
    bool moved = SimUiCallCount() != before;
    {
      std::lock_guard<std::recursive_mutex> hold(g_uiLock);
      moved = moved || g_posted.size() != postedBefore;
      FakeWindow* w = Find(dialog);
      moved = moved || !w || w->ended;
    }
    if (!moved && !AdvanceToNextTimer()) {
      fprintf(stderr, "SimUi: modal dialog %d has nothing left to end it\n", templateId);
      break;
    }
  }
  SimUiDestroy(dialog);
  if (owner && !ownerWasDisabled) SimUiEnable(owner, TRUE);
  return result;
}

BOOL SimUiEndDialog(HWND dialog, INT_PTR result) {
  std::lock_guard<std::recursive_mutex> hold(g_uiLock);
  FakeWindow* w = Find(dialog);
  if (!w || w->kind != Kind::kDialog) return FALSE;
  w->ended = true;
  w->endResult = result;
  w->style &= ~(DWORD)WS_VISIBLE;
  return TRUE;
}

BOOL SimUiDestroy(HWND window) {
  {
    std::lock_guard<std::recursive_mutex> hold(g_uiLock);
    FakeWindow* w = Find(window);
    if (!w) {
      SetLastError(ERROR_INVALID_WINDOW_HANDLE);
      return FALSE;
    }
    Record(kSimUiDestroy, w, window, 0, NULL);
  }
  DestroyTree(window);
  std::lock_guard<std::recursive_mutex> hold(g_uiLock);
  Remove(window);
  return TRUE;
}

WNDPROC SimUiSubclass(HWND window, WNDPROC procedure) {
  std::lock_guard<std::recursive_mutex> hold(g_uiLock);
  FakeWindow* w = Find(window);
  if (!w || !procedure) return NULL;
  WNDPROC old = w->procedure;
  w->procedure = procedure;
  Record(kSimUiSubclass, w, window, (LONG_PTR)procedure, NULL);
  return old;
}

WNDPROC SimUiClassProcedure(LPCWSTR className) {
  std::lock_guard<std::recursive_mutex> hold(g_uiLock);
  if (!className) return NULL;
  return ClassProcedureOf(className);
}

int SimUiMessageBox(HWND owner, LPCWSTR text, LPCWSTR caption, UINT style) {
  std::lock_guard<std::recursive_mutex> hold(g_uiLock);
  SimUiCall call = {};
  call.kind = kSimUiMessageBox;
  call.window = owner;
  call.style = style;
  call.answer = g_strictBoxes ? 0 : IDOK;
  if (!g_answers.empty()) {
    call.answer = g_answers.front();
    g_answers.erase(g_answers.begin());
  } else if (g_strictBoxes) {
    fprintf(stderr, "SimUi: unexpected message box \"%s\": %s\n", ToUtf8(caption ? caption : u"").c_str(),
            ToUtf8(text ? text : u"").c_str());
  }
  CopyCut(call.text, sizeof call.text / sizeof call.text[0], text);
  call.textLength = text ? (DWORD)WideLength(text) : 0;
  CopyCut(call.caption, sizeof call.caption / sizeof call.caption[0], caption);
  g_calls.push_back(call);
  return call.answer;
}

BOOL SimUiBeep(UINT type) {
  std::lock_guard<std::recursive_mutex> hold(g_uiLock);
  Record(kSimUiBeep, NULL, NULL, (LONG_PTR)type, NULL);
  return TRUE;
}

HWND SimUiMakeWindow(LPCWSTR className, HWND parent, int id, DWORD style) {
  std::lock_guard<std::recursive_mutex> hold(g_uiLock);
  FakeWindow* w = Make(TextOf(className), parent, id, style);
  return w ? w->handle : NULL;
}

void SimUiSetIdleHook(void (*hook)(void* context), void* context) {
  std::lock_guard<std::recursive_mutex> hold(g_uiLock);
  g_idleHook = hook;
  g_idleContext = context;
}

void SimUiScriptAnswers(const int* answers, int count) {
  std::lock_guard<std::recursive_mutex> hold(g_uiLock);
  g_answers.clear();
  for (int i = 0; answers && i < count; ++i) g_answers.push_back(answers[i]);
}

void SimUiSetStrictBoxes(BOOL strict) {
  std::lock_guard<std::recursive_mutex> hold(g_uiLock);
  g_strictBoxes = strict != FALSE;
}

DWORD SimUiCallCount(void) {
  std::lock_guard<std::recursive_mutex> hold(g_uiLock);
  return (DWORD)g_calls.size();
}

BOOL SimUiGetCall(DWORD index, SimUiCall* call) {
  std::lock_guard<std::recursive_mutex> hold(g_uiLock);
  if (!call || index >= g_calls.size()) return FALSE;
  *call = g_calls[index];
  return TRUE;
}

void SimUiReset(void) { ForgetAll(); }

BOOL SimUiGetRect(HWND window, RECT* rect) {
  std::lock_guard<std::recursive_mutex> hold(g_uiLock);
  FakeWindow* w = Find(window);
  if (!w || !rect) return FALSE;
  *rect = w->rect;
  return TRUE;
}

BOOL SimUiGetClientRect(HWND window, RECT* rect) {
  std::lock_guard<std::recursive_mutex> hold(g_uiLock);
  FakeWindow* w = Find(window);
  if (!w || !rect) return FALSE;
  rect->left = rect->top = 0;
  rect->right = w->rect.right - w->rect.left;
  rect->bottom = w->rect.bottom - w->rect.top;
  return TRUE;
}

BOOL SimUiMove(HWND window, const RECT* rect, BOOL repaint) {
  std::lock_guard<std::recursive_mutex> hold(g_uiLock);
  FakeWindow* w = Find(window);
  if (!w || !rect) return FALSE;
  w->rect = *rect;
  if (repaint) w->needsPaint = true;
  Record(kSimUiMove, w, window, MAKELONG(rect->left, rect->top), NULL);
  g_calls.back().style = MAKELONG(rect->right - rect->left, rect->bottom - rect->top);
  return TRUE;
}

HWND SimUiCreateChild(HWND parent, LPCWSTR className, LPCWSTR text, DWORD style, DWORD exStyle, const RECT* rect,
                      int id, HMODULE instance, HWND after) {
  (void)instance;
  std::lock_guard<std::recursive_mutex> hold(g_uiLock);
  if (!parent || !rect) return NULL;
  FakeWindow* w = Make(TextOf(className), parent, id, style);
  if (!w) return NULL;
  w->text = TextOf(text);
  w->exStyle = exStyle;
  w->rect = *rect;
  // Windows' z-order: right after `after`, else on top.
  std::vector<HWND>& siblings = Find(parent)->children;
  siblings.pop_back();
  auto at = siblings.begin();
  if (after)
    for (auto it = siblings.begin(); it != siblings.end(); ++it)
      if (*it == after) at = it + 1;
  siblings.insert(at, w->handle);
  Record(kSimUiCreateWindow, w, w->handle, 0, text);
  g_calls.back().style = style;
  return w->handle;
}

BOOL SimUiInvalidate(HWND window, BOOL erase) {
  std::lock_guard<std::recursive_mutex> hold(g_uiLock);
  FakeWindow* w = Find(window);
  if (!w) return FALSE;
  w->needsPaint = true;
  Record(kSimUiInvalidate, w, window, erase ? 1 : 0, NULL);
  return TRUE;
}

BOOL SimUiHasUpdate(HWND window) {
  std::lock_guard<std::recursive_mutex> hold(g_uiLock);
  FakeWindow* w = Find(window);
  return w && w->needsPaint;
}

void SimUiValidate(HWND window) {
  std::lock_guard<std::recursive_mutex> hold(g_uiLock);
  if (FakeWindow* w = Find(window)) w->needsPaint = false;
}

BOOL SimUiEnableScrollBar(HWND window, UINT arrows) {
  std::lock_guard<std::recursive_mutex> hold(g_uiLock);
  FakeWindow* w = Find(window);
  if (!w) return FALSE;
  Record(kSimUiEnableScrollBar, w, window, arrows, NULL);
  return TRUE;
}

BOOL SimUiHelp(HWND window, LPCWSTR file, UINT command, ULONG_PTR data) {
  std::lock_guard<std::recursive_mutex> hold(g_uiLock);
  Record(kSimUiHelp, Find(window), window, (LONG_PTR)data, file);
  g_calls.back().style = command;
  return TRUE;
}

// The sheet is recorded, then run by the fake's sheets (sheet_fake.cpp).
INT_PTR SimUiRunPropertySheet(const PROPSHEETHEADERW* header) {
  if (!header) return -1;
  {
    std::lock_guard<std::recursive_mutex> hold(g_uiLock);
    Record(kSimUiPropertySheet, NULL, header->hwndParent, header->nPages, NULL);
    g_calls.back().id = (int)header->nStartPage;
    CopyCut(g_calls.back().caption, sizeof g_calls.back().caption / sizeof(WCHAR), header->pszCaption);
  }
  return SheetFakeRunPages(header);
}

// ---- edits and scroll bars ----

BOOL SimUiSwitchOffTheme(HWND window) {
  std::lock_guard<std::recursive_mutex> hold(g_uiLock);
  FakeWindow* w = Find(window);
  if (!w) return FALSE;
  w->themeOff = true;
  Record(kSimUiThemeOff, w, window, 0, NULL);
  return TRUE;
}
