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
#include "platform/include/win_controls.h"
#include "platform/sim/dialog_template.h"
#include "platform/sim/internal.h"
#include "platform/sim/trace.h"

namespace winsim {
namespace {

struct ChoiceEntry {
  std::u16string text;
  LPARAM data = 0;
  UINT state = 0;  // list views: LVIS_SELECTED, LVIS_FOCUSED
};

// One item of a tree view: its handle, its parent's (0 for a root item), text and lParam.
struct TreeNode {
  ULONG_PTR handle = 0;
  ULONG_PTR parent = 0;
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
  int selStart = -1, selEnd = -1;  // edit: the selection; -1 for the end of the text
  int rangeMin = 0, rangeMax = 0, position = 0;  // scroll bar and trackbar
  bool themeOff = false;
  bool ended = false;
  INT_PTR endResult = 0;
  int templateId = 0;
  std::u16string fontFace;  // a dialog: its template's font
  RECT rect = {0, 0, 0, 0};  // in the parent's client coordinates (top-level: the screen's)
  bool needsPaint = false;
  std::vector<HWND> children;  // z-order: the first is on top
  // Tab controls and tree views.
  std::vector<struct TreeNode> tree;
  ULONG_PTR nextTreeItem = 1;
  int columns = 0;  // list views
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
std::vector<UINT> g_menuAnswers;  // scripted popup-menu commands, consumed from the front
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

void InputFakeForget();

void ForgetAll() {
  std::lock_guard<std::recursive_mutex> hold(g_uiLock);
  g_windows.clear();
  g_topLevel.clear();
  g_controls.clear();
  g_posted.clear();
  g_timers.clear();
  g_answers.clear();
  g_menuAnswers.clear();
  g_calls.clear();
  g_strictBoxes = false;
  g_idleHook = NULL;
  g_idleContext = NULL;
  g_active = NULL;
  g_focus = NULL;
  SheetFakeForget();
  DrawFakeForget();
  InputFakeForget();
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

// An edit's selection as character positions inside its text (start <= end); the selection
// not set, or set past the text, is the end of the text.
void EditSelection(const FakeWindow* w, size_t* start, size_t* end) {
  size_t size = w->text.size();
  size_t a = w->selStart < 0 || (size_t)w->selStart > size ? size : (size_t)w->selStart;
  size_t b = w->selEnd < 0 || (size_t)w->selEnd > size ? size : (size_t)w->selEnd;
  *start = a < b ? a : b;
  *end = a < b ? b : a;
}

LRESULT CALLBACK EditProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_SETTEXT:
      DefaultAnswer(window, message, wParam, lParam);
      {
        std::lock_guard<std::recursive_mutex> hold(g_uiLock);
        if (FakeWindow* w = Find(window)) w->selStart = w->selEnd = -1;
      }
      Notify(window, EN_CHANGE);
      return TRUE;
    case WM_CHAR: {
      {
        std::lock_guard<std::recursive_mutex> hold(g_uiLock);
        FakeWindow* w = Find(window);
        if (!w) return 0;
        size_t limit = w->limit > 0 ? (size_t)w->limit : 30000;
        size_t start = 0, end = 0;
        EditSelection(w, &start, &end);
        if (wParam == 8) {
          if (start == end) {
            if (start == 0) return 0;
            --start;
          }
          w->text.erase(start, end - start);
          w->selStart = w->selEnd = (int)start;
        } else {
          if (wParam < 0x20 || w->text.size() - (end - start) >= limit) return 0;
          w->text.replace(start, end - start, 1, char16_t(wParam));
          w->selStart = w->selEnd = (int)start + 1;
        }
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
        w->selStart = (int)wParam;
        w->selEnd = (int)lParam;
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
      size_t start = 0, end = 0;
      EditSelection(w, &start, &end);
      if (wParam) *reinterpret_cast<DWORD*>(wParam) = (DWORD)start;
      if (lParam) *reinterpret_cast<DWORD*>(lParam) = (DWORD)end;
      return MAKELONG(start, end);
    }
    case EM_REPLACESEL: {
      {
        std::lock_guard<std::recursive_mutex> hold(g_uiLock);
        FakeWindow* w = Find(window);
        if (!w) return 0;
        size_t start = 0, end = 0;
        EditSelection(w, &start, &end);
        std::u16string with = TextOf(reinterpret_cast<LPCWSTR>(lParam));
        w->text.replace(start, end - start, with);
        w->selStart = w->selEnd = (int)(start + with.size());
      }
      Notify(window, EN_CHANGE);
      return 0;
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

// A left button pressed on a list box selects the line under it; the fake lays its lines out in
// one column of kSimUiListLine pixels from the top (it draws nothing, so it has no layout of its
// own). A changed selection of an LBS_NOTIFY list tells its dialog with LBN_SELCHANGE.
void PressList(HWND window, LPARAM lParam) {
  HWND parent = NULL;
  int id = 0;
  {
    std::lock_guard<std::recursive_mutex> hold(g_uiLock);
    FakeWindow* w = Find(window);
    if (!w) return;
    const int y = short(HIWORD(lParam));
    const int line = y < 0 ? -1 : y / kSimUiListLine;
    if (line < 0 || line >= (int)w->choices.size() || line == w->selection) return;
    w->selection = line;
    if (!(w->style & LBS_NOTIFY)) return;
    parent = w->parent;
    id = w->id;
  }
  if (parent) SimUiSend(parent, WM_COMMAND, MAKEWPARAM(id, LBN_SELCHANGE), (LPARAM)window);
}

LRESULT CALLBACK ListProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (IsChoiceMessage(message, false)) return ChoiceAnswer(window, message, wParam, lParam, false);
  if (message == WM_LBUTTONDOWN) {
    PressList(window, lParam);
    return 0;
  }
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

// ---- tab controls and tree views ----

// Tabs keep their captions and lParams as choice entries; the first inserted tab is selected.
LRESULT CALLBACK TabProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  std::lock_guard<std::recursive_mutex> hold(g_uiLock);
  FakeWindow* w = Find(window);
  if (!w) return 0;
  int count = (int)w->choices.size();
  switch (message) {
    case TCM_GETITEMCOUNT:
      return count;
    case TCM_DELETEALLITEMS:
      w->choices.clear();
      w->selection = -1;
      return TRUE;
    case TCM_GETCURSEL:
      return w->selection;
    case TCM_SETCURSEL: {
      int index = (int)wParam;
      if (index < 0 || index >= count) return -1;
      int old = w->selection;
      w->selection = index;
      return old;
    }
    case TCM_INSERTITEMW: {
      const TCITEMW* item = reinterpret_cast<const TCITEMW*>(lParam);
      if (!item) return -1;
      int index = (int)wParam < 0 ? 0 : ((int)wParam > count ? count : (int)wParam);
      ChoiceEntry entry;
      if (item->mask & TCIF_TEXT) entry.text = TextOf(item->pszText);
      if (item->mask & TCIF_PARAM) entry.data = item->lParam;
      w->choices.insert(w->choices.begin() + index, entry);
      if (w->selection < 0) w->selection = 0;
      else if (index <= w->selection && count > 0) ++w->selection;
      return index;
    }
    case TCM_GETITEMW: {
      TCITEMW* item = reinterpret_cast<TCITEMW*>(lParam);
      int index = (int)wParam;
      if (!item || index < 0 || index >= count) return FALSE;
      const ChoiceEntry& entry = w->choices[(size_t)index];
      if ((item->mask & TCIF_TEXT) && item->pszText && item->cchTextMax > 0) {
        size_t n = entry.text.size() < (size_t)item->cchTextMax - 1 ? entry.text.size() : (size_t)item->cchTextMax - 1;
        entry.text.copy(reinterpret_cast<char16_t*>(item->pszText), n);
        item->pszText[n] = 0;
      }
      if (item->mask & TCIF_PARAM) item->lParam = entry.data;
      return TRUE;
    }
    default:
      return DefaultAnswer(window, message, wParam, lParam);
  }
}

// Removes a tree item and its descendants.
void DeleteTreeItem(FakeWindow* w, ULONG_PTR handle) {
  std::vector<ULONG_PTR> children;
  for (const TreeNode& node : w->tree)
    if (node.parent == handle) children.push_back(node.handle);
  for (ULONG_PTR child : children) DeleteTreeItem(w, child);
  for (size_t i = 0; i < w->tree.size(); ++i)
    if (w->tree[i].handle == handle) {
      w->tree.erase(w->tree.begin() + (long)i);
      break;
    }
}

const TreeNode* FindTreeItem(const FakeWindow* w, ULONG_PTR handle) {
  for (const TreeNode& node : w->tree)
    if (node.handle == handle) return &node;
  return NULL;
}

// Tree items are appended under their parent (every insert position is taken as the last);
// TVM_GETNEXTITEM walks them with TVGN_ROOT, TVGN_CHILD and TVGN_NEXT.
LRESULT CALLBACK TreeProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  std::lock_guard<std::recursive_mutex> hold(g_uiLock);
  FakeWindow* w = Find(window);
  if (!w) return 0;
  const ULONG_PTR root = (ULONG_PTR)TVI_ROOT;
  switch (message) {
    case TVM_GETCOUNT:
      return (LRESULT)w->tree.size();
    case TVM_DELETEITEM:
      if ((ULONG_PTR)lParam == root) {
        w->tree.clear();
        return TRUE;
      }
      if (!FindTreeItem(w, (ULONG_PTR)lParam)) return FALSE;
      DeleteTreeItem(w, (ULONG_PTR)lParam);
      return TRUE;
    case TVM_INSERTITEMW: {
      const TVINSERTSTRUCTW* insert = reinterpret_cast<const TVINSERTSTRUCTW*>(lParam);
      if (!insert) return 0;
      ULONG_PTR parent = (ULONG_PTR)insert->hParent;
      if (parent == root) parent = 0;
      if (parent && !FindTreeItem(w, parent)) return 0;
      TreeNode node;
      node.handle = w->nextTreeItem++;
      node.parent = parent;
      if (insert->item.mask & TVIF_TEXT) node.text = TextOf(insert->item.pszText);
      if (insert->item.mask & TVIF_PARAM) node.data = insert->item.lParam;
      w->tree.push_back(node);
      return (LRESULT)node.handle;
    }
    case TVM_GETNEXTITEM: {
      ULONG_PTR parent = 0;
      size_t from = 0;
      if (wParam == TVGN_CHILD) {
        parent = (ULONG_PTR)lParam;
      } else if (wParam == TVGN_NEXT) {
        const TreeNode* node = FindTreeItem(w, (ULONG_PTR)lParam);
        if (!node) return 0;
        parent = node->parent;
        from = (size_t)(node - w->tree.data()) + 1;
      } else if (wParam != TVGN_ROOT) {
        return 0;
      }
      for (size_t i = from; i < w->tree.size(); ++i)
        if (w->tree[i].parent == parent) return (LRESULT)w->tree[i].handle;
      return 0;
    }
    case TVM_GETITEMW: {
      TVITEMW* item = reinterpret_cast<TVITEMW*>(lParam);
      const TreeNode* node = item ? FindTreeItem(w, (ULONG_PTR)item->hItem) : NULL;
      if (!node) return FALSE;
      if ((item->mask & TVIF_TEXT) && item->pszText && item->cchTextMax > 0) {
        size_t n = node->text.size() < (size_t)item->cchTextMax - 1 ? node->text.size() : (size_t)item->cchTextMax - 1;
        node->text.copy(reinterpret_cast<char16_t*>(item->pszText), n);
        item->pszText[n] = 0;
      }
      if (item->mask & TVIF_PARAM) item->lParam = node->data;
      return TRUE;
    }
    default:
      return DefaultAnswer(window, message, wParam, lParam);
  }
}

// ---- list views ----

// Tells the list view's parent that an item's state changed (LVN_ITEMCHANGED).
void NotifyItemChanged(HWND list, int index, UINT oldState, UINT newState, LPARAM data) {
  HWND parent = NULL;
  int id = 0;
  {
    std::lock_guard<std::recursive_mutex> hold(g_uiLock);
    FakeWindow* w = Find(list);
    if (!w || !w->parent) return;
    parent = w->parent;
    id = w->id;
  }
  NMLISTVIEW notice = {};
  notice.hdr.hwndFrom = list;
  notice.hdr.idFrom = (UINT_PTR)id;
  notice.hdr.code = LVN_ITEMCHANGED;
  notice.iItem = index;
  notice.uNewState = newState;
  notice.uOldState = oldState;
  notice.uChanged = LVIF_STATE;
  notice.lParam = data;
  SimUiSend(parent, WM_NOTIFY, (WPARAM)id, (LPARAM)&notice);
}

struct StateChange {
  int index;
  UINT before, after;
  LPARAM data;
};

// Sets the masked state bits of item index (-1: every item); a single-selection list drops the
// selection of the others. Answers the items whose state changed.
std::vector<StateChange> SetItemState(FakeWindow* w, int index, UINT mask, UINT state) {
  std::vector<StateChange> changes;
  const bool single = (w->style & LVS_SINGLESEL) != 0;
  for (size_t i = 0; i < w->choices.size(); ++i) {
    ChoiceEntry& entry = w->choices[i];
    UINT after = entry.state;
    if (index < 0 || (int)i == index) {
      after = (entry.state & ~mask) | (state & mask);
    } else if (single && (mask & state & LVIS_SELECTED)) {
      after = entry.state & ~(UINT)(LVIS_SELECTED | ((mask & state & LVIS_FOCUSED) ? LVIS_FOCUSED : 0));
    }
    if (after != entry.state) {
      changes.push_back(StateChange{(int)i, entry.state, after, entry.data});
      entry.state = after;
    }
  }
  return changes;
}

// Report-style list views: items with their text (of the first column), lParam and state;
// columns are counted only. A change of an item's state, by LVM_SETITEMSTATE or by an insert
// with a state, is told to the parent item by item, as the control tells it.
LRESULT CALLBACK ListViewProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  std::vector<StateChange> changes;
  LRESULT answer = 0;
  {
    std::lock_guard<std::recursive_mutex> hold(g_uiLock);
    FakeWindow* w = Find(window);
    if (!w) return 0;
    const int count = (int)w->choices.size();
    switch (message) {
      case LVM_GETITEMCOUNT:
        return count;
      case LVM_DELETEALLITEMS:
        w->choices.clear();
        return TRUE;
      case LVM_DELETEITEM:
        if ((int)wParam < 0 || (int)wParam >= count) return FALSE;
        w->choices.erase(w->choices.begin() + (long)wParam);
        return TRUE;
      case LVM_INSERTCOLUMNW: {
        if (!lParam) return -1;
        const int index = (int)wParam < 0 ? 0 : ((int)wParam > w->columns ? w->columns : (int)wParam);
        ++w->columns;
        return index;
      }
      case LVM_GETNEXTITEM: {
        const UINT flags = LOWORD(lParam);
        for (int i = (int)wParam + 1; i >= 0 && i < count; ++i)
          if (flags == LVNI_ALL || (w->choices[(size_t)i].state & LVIS_SELECTED)) return i;
        return -1;
      }
      case LVM_GETITEMW: {
        LVITEMW* item = reinterpret_cast<LVITEMW*>(lParam);
        if (!item || item->iItem < 0 || item->iItem >= count) return FALSE;
        const ChoiceEntry& entry = w->choices[(size_t)item->iItem];
        if ((item->mask & LVIF_TEXT) && item->pszText && item->cchTextMax > 0) {
          size_t n = entry.text.size() < (size_t)item->cchTextMax - 1 ? entry.text.size() : (size_t)item->cchTextMax - 1;
          entry.text.copy(reinterpret_cast<char16_t*>(item->pszText), n);
          item->pszText[n] = 0;
        }
        if (item->mask & LVIF_PARAM) item->lParam = entry.data;
        if (item->mask & LVIF_STATE) item->state = entry.state & item->stateMask;
        return TRUE;
      }
      case LVM_INSERTITEMW: {
        const LVITEMW* item = reinterpret_cast<const LVITEMW*>(lParam);
        if (!item) return -1;
        const int index = item->iItem < 0 ? 0 : (item->iItem > count ? count : item->iItem);
        ChoiceEntry entry;
        if (item->mask & LVIF_TEXT) entry.text = TextOf(item->pszText);
        if (item->mask & LVIF_PARAM) entry.data = item->lParam;
        w->choices.insert(w->choices.begin() + index, entry);
        if ((item->mask & LVIF_STATE) && (item->state & item->stateMask))
          changes = SetItemState(w, index, item->stateMask, item->state);
        answer = index;
        break;
      }
      case LVM_SETITEMSTATE: {
        const LVITEMW* item = reinterpret_cast<const LVITEMW*>(lParam);
        if (!item || (int)wParam >= count) return FALSE;
        changes = SetItemState(w, (int)wParam, item->stateMask, item->state);
        answer = TRUE;
        break;
      }
      default:
        return DefaultAnswer(window, message, wParam, lParam);
    }
  }
  for (const StateChange& change : changes) NotifyItemChanged(window, change.index, change.before, change.after, change.data);
  return answer;
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
    {u"SysTabControl32", Kind::kGeneric, TabProc}, {u"SysTreeView32", Kind::kGeneric, TreeProc},
    {u"SysListView32", Kind::kGeneric, ListViewProc},
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
    w->fontFace = dialog.typeface;
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

HWND SimUiOwner(HWND window) {
  std::lock_guard<std::recursive_mutex> hold(g_uiLock);
  FakeWindow* w = Find(window);
  return w ? w->owner : NULL;
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

void SimUiScriptMenu(UINT command) {
  std::lock_guard<std::recursive_mutex> hold(g_uiLock);
  g_menuAnswers.push_back(command);
}

int SimUiChoiceClickAt(HWND list, int x, int y) {
  const LPARAM at = MAKELPARAM(x, y);
  SimUiSend(list, WM_LBUTTONDOWN, MK_LBUTTON, at);
  SimUiSend(list, WM_LBUTTONUP, 0, at);
  return (int)SimUiSend(list, LB_GETCURSEL, 0, 0);
}

BOOL SimUiTrackPopupMenu(HMODULE module, int menuId, DWORD greyedPositions, HWND owner) {
  std::vector<MenuItemTemplate> menu;
  HRSRC found = FindResourceW(module, MAKEINTRESOURCEW(menuId), MAKEINTRESOURCEW(4) /* RT_MENU */);
  HGLOBAL loaded = found ? LoadResource(module, found) : NULL;
  const void* bytes = loaded ? LockResource(loaded) : NULL;
  const DWORD size = found ? SizeofResource(module, found) : 0;
  if (!bytes || !size || !ReadMenuTemplate(static_cast<const uint8_t*>(bytes), size, &menu) || menu.empty() ||
      !(menu[0].flags & 0x10)) {
    SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
    return FALSE;
  }
  const std::vector<MenuItemTemplate>& items = menu[0].items;
  std::u16string texts;
  for (size_t i = 0; i < items.size(); ++i) texts += (i ? u"|" : u"") + items[i].text;
  std::lock_guard<std::recursive_mutex> hold(g_uiLock);
  SimUiCall call = {};
  call.kind = kSimUiPopupMenu;
  call.window = owner;
  call.id = menuId;
  call.value = (LONG_PTR)greyedPositions;
  call.style = (UINT)items.size();
  CopyCut(call.text, sizeof call.text / sizeof call.text[0], reinterpret_cast<LPCWSTR>(texts.c_str()));
  call.textLength = (DWORD)texts.size();
  // The scripted command, when an item of the menu that is not greyed has it; anything else
  // dismisses the menu.
  if (!g_menuAnswers.empty()) {
    const UINT command = g_menuAnswers.front();
    g_menuAnswers.erase(g_menuAnswers.begin());
    for (size_t i = 0; i < items.size(); ++i) {
      const bool greyed = (items[i].flags & 0x1) || (i < 32 && (greyedPositions & (1u << i)));
      if (items[i].id == command && command && !(items[i].flags & 0x10) && !greyed) call.answer = (int)command;
    }
  }
  g_calls.push_back(call);
  if (call.answer) SimUiPost(owner, WM_COMMAND, MAKEWPARAM(call.answer, 0), 0);
  return TRUE;
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

// ---- control subclassing, cursors and the hint popup ----
// One cursor shown, the mouse position and capture, keys held, the clipboard's text and the
// screen, all as tests set them. Cursors are tokens of their resource id; a local loop runs
// posted messages and timers on the machine's clock like a modal one.

namespace winsim {
namespace {

HCURSOR g_cursor = NULL;
POINT g_cursorPos = {0, 0};
HWND g_capture = NULL;
std::vector<int> g_keysDown;
bool g_hasClipboard = false;
std::u16string g_clipboard;
RECT g_screen = {0, 0, 1024, 768};

void InputFakeForget() {
  g_cursor = NULL;
  g_cursorPos = POINT{0, 0};
  g_capture = NULL;
  g_keysDown.clear();
  g_hasClipboard = false;
  g_clipboard.clear();
  g_screen = RECT{0, 0, 1024, 768};
}

// The offset of a window's client area from the screen's origin.
bool ClientOrigin(HWND window, POINT* origin) {
  origin->x = origin->y = 0;
  for (FakeWindow* w = Find(window); w; w = w->parent ? Find(w->parent) : NULL) {
    origin->x += w->rect.left;
    origin->y += w->rect.top;
    if (!w->parent) return true;
  }
  return false;
}

}  // namespace
}  // namespace winsim

HCURSOR SimUiLoadCursor(HMODULE module, int cursorId) {
  return module && cursorId > 0 && cursorId < 0x10000 ? (HCURSOR)(ULONG_PTR)(0x70000 + cursorId) : NULL;
}

HCURSOR SimUiSetCursor(HCURSOR cursor) {
  std::lock_guard<std::recursive_mutex> hold(g_uiLock);
  HCURSOR old = g_cursor;
  g_cursor = cursor;
  return old;
}

HCURSOR SimUiCurrentCursor(void) {
  std::lock_guard<std::recursive_mutex> hold(g_uiLock);
  return g_cursor;
}

BOOL SimUiCursorPos(POINT* at) {
  std::lock_guard<std::recursive_mutex> hold(g_uiLock);
  if (!at) return FALSE;
  *at = g_cursorPos;
  return TRUE;
}

void SimUiSetCursorPos(int x, int y) {
  std::lock_guard<std::recursive_mutex> hold(g_uiLock);
  g_cursorPos = POINT{x, y};
}

BOOL SimUiMapPoint(HWND window, POINT* at, BOOL toScreen) {
  std::lock_guard<std::recursive_mutex> hold(g_uiLock);
  POINT origin;
  if (!at || !ClientOrigin(window, &origin)) return FALSE;
  const int sign = toScreen ? 1 : -1;
  at->x += sign * origin.x;
  at->y += sign * origin.y;
  return TRUE;
}

BOOL SimUiScreenRect(RECT* rect) {
  std::lock_guard<std::recursive_mutex> hold(g_uiLock);
  if (!rect) return FALSE;
  *rect = g_screen;
  return TRUE;
}

void SimUiSetScreen(int width, int height) {
  std::lock_guard<std::recursive_mutex> hold(g_uiLock);
  g_screen = RECT{0, 0, width, height};
}

HWND SimUiSetCapture(HWND window) {
  HWND old;
  {
    std::lock_guard<std::recursive_mutex> hold(g_uiLock);
    old = g_capture;
    g_capture = Find(window) ? window : NULL;
  }
  if (old && old != window) SimUiSend(old, WM_CAPTURECHANGED, 0, (LPARAM)window);
  return old;
}

BOOL SimUiReleaseCapture(void) {
  HWND old;
  {
    std::lock_guard<std::recursive_mutex> hold(g_uiLock);
    old = g_capture;
    g_capture = NULL;
  }
  if (old) SimUiSend(old, WM_CAPTURECHANGED, 0, 0);
  return TRUE;
}

HWND SimUiGetCapture(void) {
  std::lock_guard<std::recursive_mutex> hold(g_uiLock);
  return Find(g_capture) ? g_capture : NULL;
}

BOOL SimUiKeyDown(int virtualKey) {
  std::lock_guard<std::recursive_mutex> hold(g_uiLock);
  for (int key : g_keysDown)
    if (key == virtualKey) return TRUE;
  return FALSE;
}

void SimUiSetKeyDown(int virtualKey, BOOL down) {
  std::lock_guard<std::recursive_mutex> hold(g_uiLock);
  for (size_t i = 0; i < g_keysDown.size(); ++i)
    if (g_keysDown[i] == virtualKey) {
      if (!down) g_keysDown.erase(g_keysDown.begin() + (long)i);
      return;
    }
  if (down) g_keysDown.push_back(virtualKey);
}

int SimUiClipboardText(WCHAR* buffer, int cchBuffer) {
  std::lock_guard<std::recursive_mutex> hold(g_uiLock);
  if (!buffer || cchBuffer <= 0 || !g_hasClipboard) return -1;
  CopyCut(buffer, (size_t)cchBuffer, reinterpret_cast<LPCWSTR>(g_clipboard.c_str()));
  int n = 0;
  while (buffer[n]) ++n;
  return n;
}

void SimUiSetClipboardText(LPCWSTR text) {
  std::lock_guard<std::recursive_mutex> hold(g_uiLock);
  g_hasClipboard = text != NULL;
  g_clipboard = TextOf(text);
}

HWND SimUiCreatePopup(HWND owner, LPCWSTR className, LPCWSTR text, DWORD style, const RECT* rect, HMODULE instance) {
  (void)instance;
  std::lock_guard<std::recursive_mutex> hold(g_uiLock);
  if (!rect) return NULL;
  FakeWindow* w = Make(TextOf(className), NULL, 0, style & ~(DWORD)WS_VISIBLE);
  if (!w) return NULL;
  w->owner = Find(owner) ? owner : NULL;
  w->text = TextOf(text);
  w->rect = *rect;
  Record(kSimUiCreateWindow, w, w->handle, 0, text);
  g_calls.back().style = style;
  return w->handle;
}

BOOL SimUiRunLocalLoop(HWND window, const volatile LONG* done) {
  for (int round = 0; round < kMaxModalRounds; ++round) {
    if (done && *done) return TRUE;
    if (!SimUiIsWindow(window)) return FALSE;
    if (SimUiPump() > 0) continue;
    // Nothing to run: the clock moves to the next timer; without one nothing can end the loop.
    if (!AdvanceToNextTimer()) return FALSE;
  }
  return done && *done;
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

// ---- presets and watermarks ----

int SimUiDialogFontFace(HWND dialog, WCHAR* buffer, int cchBuffer) {
  if (!buffer || cchBuffer <= 0) return 0;
  buffer[0] = 0;
  std::lock_guard<std::recursive_mutex> hold(g_uiLock);
  FakeWindow* w = Find(dialog);
  if (!w) return 0;
  int n = 0;
  for (; n < static_cast<int>(w->fontFace.size()) && n < cchBuffer - 1; ++n) buffer[n] = w->fontFace[n];
  buffer[n] = 0;
  return n;
}
