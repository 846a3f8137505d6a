// The control operations both window interfaces share: requests to a control through WuiSend.
// Combo boxes and list boxes take the same requests under different message numbers, told
// apart by the control's class.
#include "core/common/mem.h"
#include "core/common/window_ui.h"

namespace {

bool IsCombo(HWND control) {
  WCHAR name[16] = {};
  static const WCHAR kCombo[] = TEXT("combobox");
  if (WuiClassName(control, name, 16) != 8) return false;
  for (int i = 0; i < 8; ++i)
    if ((name[i] | 0x20) != kCombo[i]) return false;
  return true;
}

}  // namespace

void WuiChoiceReset(HWND control) { WuiSend(control, IsCombo(control) ? CB_RESETCONTENT : LB_RESETCONTENT, 0, 0); }

int WuiChoiceAdd(HWND control, LPCWSTR text, LPARAM data) {
  bool combo = IsCombo(control);
  LRESULT index = WuiSend(control, combo ? CB_ADDSTRING : LB_ADDSTRING, 0, (LPARAM)text);
  if (index < 0 || !WuiIsWindow(control)) return -1;
  WuiSend(control, combo ? CB_SETITEMDATA : LB_SETITEMDATA, (WPARAM)index, data);
  return (int)index;
}

int WuiChoiceCount(HWND control) {
  LRESULT count = WuiSend(control, IsCombo(control) ? CB_GETCOUNT : LB_GETCOUNT, 0, 0);
  return count < 0 ? 0 : (int)count;
}

LPARAM WuiChoiceData(HWND control, int index) {
  if (index < 0 || index >= WuiChoiceCount(control)) return 0;
  return WuiSend(control, IsCombo(control) ? CB_GETITEMDATA : LB_GETITEMDATA, (WPARAM)index, 0);
}

int WuiChoiceText(HWND control, int index, WCHAR* buffer, int cchBuffer) {
  if (!buffer || cchBuffer <= 0) return -1;
  buffer[0] = 0;
  if (index < 0 || index >= WuiChoiceCount(control)) return -1;
  bool combo = IsCombo(control);
  // The control copies the whole entry: its length is asked first.
  LRESULT length = WuiSend(control, combo ? CB_GETLBTEXTLEN : LB_GETTEXTLEN, (WPARAM)index, 0);
  if (length < 0) return -1;
  WCHAR* whole = static_cast<WCHAR*>(MemAllocZero(((size_t)length + 1) * sizeof(WCHAR)));
  if (!whole) return -1;
  LRESULT got = WuiSend(control, combo ? CB_GETLBTEXT : LB_GETTEXT, (WPARAM)index, (LPARAM)whole);
  int n = 0;
  for (; got >= 0 && n < cchBuffer - 1 && n < (int)got && n <= (int)length; ++n) buffer[n] = whole[n];
  buffer[n] = 0;
  MemFree(whole);
  return got < 0 ? -1 : n;
}

int WuiChoiceSelection(HWND control) {
  return (int)WuiSend(control, IsCombo(control) ? CB_GETCURSEL : LB_GETCURSEL, 0, 0);
}

int WuiChoiceSelect(HWND control, int index) {
  return (int)WuiSend(control, IsCombo(control) ? CB_SETCURSEL : LB_SETCURSEL, (WPARAM)index, 0);
}

void WuiEditLimit(HWND edit, int chars) { WuiSend(edit, EM_LIMITTEXT, (WPARAM)chars, 0); }

void WuiEditPasswordChar(HWND edit, WCHAR mark) { WuiSend(edit, EM_SETPASSWORDCHAR, (WPARAM)mark, 0); }

void WuiEditSelect(HWND edit, int start, int end) { WuiSend(edit, EM_SETSEL, (WPARAM)start, (LPARAM)end); }

// ---- lists, combos, tabs and trees ----

int WuiTabInsert(HWND tab, int index, LPCWSTR text, LPARAM param) {
  TCITEMW item = {};
  item.mask = TCIF_TEXT | TCIF_PARAM;
  item.pszText = const_cast<LPWSTR>(text);
  item.lParam = param;
  return (int)WuiSend(tab, TCM_INSERTITEMW, (WPARAM)index, (LPARAM)&item);
}

int WuiTabSelection(HWND tab) {
  return WuiIsWindow(tab) ? (int)WuiSend(tab, TCM_GETCURSEL, 0, 0) : -1;
}

BOOL WuiTreeClear(HWND tree) { return WuiSend(tree, TVM_DELETEITEM, 0, (LPARAM)TVI_ROOT) ? TRUE : FALSE; }

HTREEITEM WuiTreeInsert(HWND tree, HTREEITEM parent, LPCWSTR text, LPARAM param) {
  TVINSERTSTRUCTW insert = {};
  insert.hParent = parent ? parent : TVI_ROOT;
  insert.hInsertAfter = TVI_LAST;
  insert.item.mask = TVIF_TEXT | TVIF_PARAM;
  insert.item.pszText = const_cast<LPWSTR>(text);
  insert.item.lParam = param;
  return (HTREEITEM)WuiSend(tree, TVM_INSERTITEMW, 0, (LPARAM)&insert);
}
// ---- list views ----

int WuiListViewAddColumn(HWND list, int index, LPCWSTR text, int width) {
  LVCOLUMNW column = {};
  column.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT | LVCF_SUBITEM;
  column.fmt = LVCFMT_LEFT;
  column.cx = width;
  column.pszText = const_cast<LPWSTR>(text);
  column.iSubItem = index;
  return (int)WuiSend(list, LVM_INSERTCOLUMNW, (WPARAM)index, (LPARAM)&column);
}

int WuiListViewInsert(HWND list, int index, LPCWSTR text, LPARAM param, BOOL selected) {
  LVITEMW item = {};
  item.mask = LVIF_TEXT | LVIF_STATE | LVIF_PARAM;
  item.iItem = index;
  item.pszText = const_cast<LPWSTR>(text);
  item.lParam = param;
  item.stateMask = LVIS_SELECTED;
  item.state = selected ? LVIS_SELECTED : 0;
  return WuiIsWindow(list) ? (int)WuiSend(list, LVM_INSERTITEMW, 0, (LPARAM)&item) : -1;
}

int WuiListViewCount(HWND list) {
  LRESULT count = WuiSend(list, LVM_GETITEMCOUNT, 0, 0);
  return count < 0 ? 0 : (int)count;
}

LPARAM WuiListViewData(HWND list, int index) {
  if (index < 0 || index >= WuiListViewCount(list)) return 0;
  LVITEMW item = {};
  item.mask = LVIF_PARAM;
  item.iItem = index;
  return WuiSend(list, LVM_GETITEMW, 0, (LPARAM)&item) ? item.lParam : 0;
}

int WuiListViewSelection(HWND list) {
  return WuiIsWindow(list) ? (int)WuiSend(list, LVM_GETNEXTITEM, (WPARAM)-1, MAKELPARAM(LVNI_SELECTED, 0)) : -1;
}

BOOL WuiListViewSelect(HWND list, int index) {
  if (index < 0 || index >= WuiListViewCount(list)) return FALSE;
  LVITEMW item = {};
  item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
  item.state = LVIS_SELECTED | LVIS_FOCUSED;
  return WuiSend(list, LVM_SETITEMSTATE, (WPARAM)index, (LPARAM)&item) ? TRUE : FALSE;
}

BOOL WuiListViewClear(HWND list) { return WuiSend(list, LVM_DELETEALLITEMS, 0, 0) ? TRUE : FALSE; }

// ---- edits and scroll bars ----

void WuiEditGetSelection(HWND edit, int* start, int* end) {
  DWORD first = 0, after = 0;
  WuiSend(edit, EM_GETSEL, (WPARAM)&first, (LPARAM)&after);
  if (start) *start = (int)first;
  if (end) *end = (int)after;
}

void WuiScrollSetRange(HWND scrollBar, int minimum, int maximum, BOOL redraw) {
  SCROLLINFO info = {};
  info.cbSize = sizeof info;
  info.fMask = SIF_RANGE;
  info.nMin = minimum;
  info.nMax = maximum;
  WuiSend(scrollBar, SBM_SETSCROLLINFO, (WPARAM)redraw, (LPARAM)&info);
}

BOOL WuiScrollGetRange(HWND scrollBar, int* minimum, int* maximum) {
  SCROLLINFO info = {};
  info.cbSize = sizeof info;
  info.fMask = SIF_RANGE;
  BOOL got = WuiSend(scrollBar, SBM_GETSCROLLINFO, 0, (LPARAM)&info) ? TRUE : FALSE;
  if (minimum) *minimum = got ? info.nMin : 0;
  if (maximum) *maximum = got ? info.nMax : 0;
  return got;
}

int WuiScrollSetPos(HWND scrollBar, int position, BOOL redraw) {
  return (int)WuiSend(scrollBar, SBM_SETPOS, (WPARAM)position, (LPARAM)redraw);
}

int WuiScrollGetPos(HWND scrollBar) { return (int)WuiSend(scrollBar, SBM_GETPOS, 0, 0); }

void WuiTrackSetRange(HWND trackbar, int minimum, int maximum, BOOL redraw) {
  WuiSend(trackbar, TBM_SETRANGE, (WPARAM)redraw, MAKELONG(minimum, maximum));
}

void WuiTrackSetPos(HWND trackbar, int position, BOOL redraw) {
  WuiSend(trackbar, TBM_SETPOS, (WPARAM)redraw, (LPARAM)position);
}

int WuiTrackGetPos(HWND trackbar) { return (int)WuiSend(trackbar, TBM_GETPOS, 0, 0); }
