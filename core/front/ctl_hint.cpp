// The hint popup: a small light-yellow window with a control's hint text that shows after the
// cursor has rested a second over the control.
#include "core/common/draw_ui.h"
#include "core/common/window_ui.h"
#include "core/context/ui_state.h"
#include "core/front/control_types.h"
#include "core/front/ctl_simple.h"
#include "core/front/ctl_subclass.h"
#include "core/modules/preset_entries.h"
#include "core/system/resources.h"

namespace {

constexpr UINT_PTR kHintTimer = 1;
constexpr UINT kHintDelay = 1000;
constexpr int kTextChars = 1025;
constexpr COLORREF kHintBackground = RGB(255, 255, 216);

DlgDrawState& Draw(DriverContext* ctx) { return ctx->ui->dialog.draw; }
bool IsCombo(WORD type) { return type == 43 || type == 48; }

// The STATIC procedure the popups had; they paint themselves in the hint's look.
WNDPROC g_popupProcedure = nullptr;

void PaintHint(HWND popup, HDC dc) {
  RECT r = {};
  WuiGetClientRect(popup, &r);
  DuiFillRect(dc, &r, kHintBackground);
  WCHAR text[kTextChars];
  WuiGetText(popup, text, kTextChars);
  const COLORREF oldColour = DuiSetTextColor(dc, RGB(0, 0, 0));
  const int oldMode = DuiSetBkMode(dc, TRANSPARENT);
  HFONT oldFont = DuiSelectFont(dc, DuiWindowFont(popup));
  RECT inside = {r.left + 2, r.top + 2, r.right - 2, r.bottom - 2};
  DuiDrawText(dc, text, -1, &inside, DT_NOPREFIX | DT_NOCLIP | DT_EXPANDTABS);
  DuiSelectFont(dc, oldFont);
  DuiSetBkMode(dc, oldMode);
  DuiSetTextColor(dc, oldColour);
}

LRESULT CALLBACK HintPopupProc(HWND popup, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_PAINT) {
    PAINTSTRUCT paint = {};
    if (HDC dc = DuiBeginPaint(popup, &paint)) {
      PaintHint(popup, dc);
      DuiEndPaint(popup, &paint);
    }
    return 0;
  }
  if (message == WM_ERASEBKGND) return 1;
  return g_popupProcedure ? WuiCallProcedure(g_popupProcedure, popup, message, wParam, lParam) : 0;
}

// The key that tells two hints of one control apart.
LONG HintKey(const DlgControlRecord* control, int x, int y, int listIndex) {
  if (IsCombo(control->type)) return listIndex;
  if (control->type == 50) return x;
  if (control->type == 2 && (control->controlId == 2067 || control->controlId == 3203)) return y;
  RECT r = {};
  WuiGetRect(control->window, &r);
  return MAKELONG(r.left, r.top);
}

// An icon list's hint: the preset comment of the hovered entry (top index + column) while the
// point (page coordinates) lies in the first row; each backslash-n of the comment breaks the line.
// Reading an entry changes no setting, so no snapshot is pushed around it (restoring one would
// clear the page's change marks).
void IconListText(DriverContext* ctx, const DlgControlRecord* control, int x, int y, WCHAR* text) {
  const CtlImageSize* size = DlgFindMeasureEntry(control->controlId);
  RECT box = {};
  if (!size || !size->width || !size->height || !WuiGetRect(control->window, &box)) return;
  if (x < box.left || x >= box.right || y < box.top || y > box.top + size->height) return;
  const int entry = static_cast<int>(WuiSend(control->window, LB_GETTOPINDEX, 0, 0)) + (x - box.left) / size->width;
  if (entry < 0 || entry >= WuiChoiceCount(control->window)) return;
  PresetReadEntryText(ctx, entry, 2, text, kTextChars);
  WCHAR* to = text;
  for (const WCHAR* from = text; *from; ++from) {
    if (from[0] == '\\' && from[1] == 'n') {
      *to++ = '\n';
      ++from;
    } else {
      *to++ = *from;
    }
  }
  *to = 0;
}

// The popup's text: the hint string, for a combo entry its value's caption or its text, for an
// icon list its entry's comment.
void HintText(DriverContext* ctx, const DlgControlRecord* control, int listIndex, int x, int y, WCHAR* text) {
  text[0] = 0;
  if (control->type == 50 && !control->hintString && control->window) {
    IconListText(ctx, control, x, y, text);
  } else if (control->hintString) {
    ResLoadString(ctx, control->hintString, text, kTextChars, TRUE);
  } else if (IsCombo(control->type) && listIndex >= 0 && control->window) {
    const LPARAM value = WuiChoiceData(control->window, listIndex);
    if (WORD caption = CtlPictureExtraForValue(control, static_cast<WORD>(value)))
      ResLoadString(ctx, caption, text, kTextChars, TRUE);
    else if (WuiChoiceText(control->window, listIndex, text, kTextChars) < 0)
      text[0] = 0;
  }
}

// The screen less the task bar where it lies against an edge.
RECT HintBounds() {
  RECT bounds = {0, 0, 0, 0};
  WuiScreenRect(&bounds);
  RECT bar;
  HWND tray = WuiFindTopLevel(TEXT("Shell_TrayWnd"));
  if (tray && WuiGetRect(tray, &bar)) {
    const LONG midX = (bounds.left + bounds.right) / 2, midY = (bounds.top + bounds.bottom) / 2;
    if (bar.left > midX) bounds.right = bar.left;
    else if (bar.right < midX) bounds.left = bar.right;
    if (bar.top > midY) bounds.bottom = bar.top;
    else if (bar.bottom < midY) bounds.top = bar.bottom;
  }
  return bounds;
}

// The text's size in the page's font: the widest line by the line height times the lines.
SIZE MeasureHint(HWND pageWindow, const WCHAR* text) {
  SIZE size = {0, 0};
  HDC dc = DuiGetDc(pageWindow);
  if (!dc) return size;
  HFONT old = DuiSelectFont(dc, DuiWindowFont(pageWindow));
  LONG lineHeight = 0, average = 0;
  DuiTextMetrics(dc, &lineHeight, &average);
  lineHeight = UiScaleFontHeight(dc, lineHeight);
  int lines = 0;
  for (const WCHAR* line = text;; ++lines) {
    int length = 0;
    while (line[length] && line[length] != '\n') ++length;
    SIZE extent = {0, 0};
    if (length && DuiTextExtent(dc, line, length, &extent) && extent.cx > size.cx) size.cx = extent.cx;
    if (!line[length]) {
      ++lines;
      break;
    }
    line += length + 1;
  }
  size.cy = lineHeight * lines;
  DuiSelectFont(dc, old);
  DuiReleaseDc(pageWindow, dc);
  return size;
}

void HideHint(DlgDrawState& draw) {
  const bool wasVisible = draw.hintPopup && WuiIsVisible(draw.hintPopup);
  if (draw.hintTimer && draw.hintPage) WuiKillTimer(draw.hintPage, draw.hintTimer);
  draw.hintTimer = 0;
  if (draw.hintPopup) WuiDestroy(draw.hintPopup);
  draw.hintPopup = NULL;
  draw.hintControl = NULL;
  draw.hintControlId = 0;
  draw.hintKey = 0;
  if (wasVisible && draw.hintPage) WuiPost(draw.hintPage, WM_PAINT, 0, 0);
  draw.hintPage = NULL;
}

HWND TopLevelOf(HWND window) {
  for (HWND parent = WuiParent(window); parent; parent = WuiParent(window)) window = parent;
  return window;
}

// The control's rectangle in screen coordinates (a combo's: its drop-down list's when open).
bool ScreenRectOf(HWND control, WORD type, RECT* rect) {
  if ((type == 43 || type == 45 || type == 48) &&
      WuiSend(control, CB_GETDROPPEDCONTROLRECT, 0, reinterpret_cast<LPARAM>(rect)) && rect->right > rect->left)
    return true;
  if (!WuiGetRect(control, rect)) return false;
  HWND parent = WuiParent(control);
  if (!parent) return true;
  POINT a = {rect->left, rect->top}, b = {rect->right, rect->bottom};
  WuiClientToScreen(parent, &a);
  WuiClientToScreen(parent, &b);
  *rect = RECT{a.x, a.y, b.x, b.y};
  return true;
}

}  // namespace

void DlgShowHint(DriverContext* ctx, DlgControlRecord* control, HWND pageWindow, int x, int y, int listIndex) {
  if (!ctx || !ctx->ui) return;
  DlgDrawState& draw = Draw(ctx);
  if (control && IsCombo(control->type) && listIndex < 0 && control->window)
    listIndex = WuiChoiceSelection(control->window);
  const LONG key = control ? HintKey(control, x, y, listIndex) : 0;
  if (control && draw.hintPopup && draw.hintControlId == control->controlId && draw.hintKey == key) return;
  if (!control && draw.hintPopup && draw.hintTimer) return;
  HideHint(draw);
  if (!control || !pageWindow) return;

  WCHAR text[kTextChars];
  HintText(ctx, control, listIndex, x, y, text);
  if (!text[0]) return;
  const SIZE textSize = MeasureHint(pageWindow, text);
  const LONG width = textSize.cx + 8, height = textSize.cy + 6;
  const RECT bounds = HintBounds();
  POINT at = {x, y};
  WuiClientToScreen(pageWindow, &at);
  if (at.x + width + 16 > bounds.right) at.x -= width + 16;
  if (at.x < bounds.left + 16) at.x = bounds.left + 16;
  if (at.y + height + 12 > bounds.bottom) at.y -= height + 12;
  if (at.y < bounds.top + 12) at.y = bounds.top + 12;

  const RECT place = {at.x, at.y, at.x + width, at.y + height};
  HWND popup = WuiCreatePopup(pageWindow, TEXT("STATIC"), text, WS_POPUP | WS_BORDER, &place, ctx->languageDll);
  if (!popup) return;
  WuiSend(popup, WM_SETFONT, reinterpret_cast<WPARAM>(DuiWindowFont(pageWindow)), FALSE);
  if (WNDPROC previous = WuiSubclass(popup, HintPopupProc)) g_popupProcedure = previous;
  draw.hintPopup = popup;
  draw.hintControl = control->window;
  draw.hintControlId = control->controlId;
  draw.hintKey = key;
  draw.hintPage = pageWindow;
  draw.hintTimer = WuiSetTimer(pageWindow, kHintTimer, kHintDelay);
}

void DlgUpdateHint(DriverContext* ctx, DlgControlRecord* control, HWND pageWindow, int x, int y) {
  DlgShowHint(ctx, control, pageWindow, x, y, -1);
}

void DlgPaintHintPopup(DriverContext* ctx) {
  if (!ctx || !ctx->ui) return;
  HWND popup = Draw(ctx).hintPopup;
  if (!popup) return;
  if (HDC dc = DuiGetDc(popup)) {
    PaintHint(popup, dc);
    DuiReleaseDc(popup, dc);
  }
  DuiValidate(popup);
}

void DlgHintTimer(DriverContext* ctx, HWND pageWindow) {
  if (!ctx || !ctx->ui) return;
  DlgDrawState& draw = Draw(ctx);
  WuiKillTimer(pageWindow, kHintTimer);
  if (draw.hintPage == pageWindow) draw.hintTimer = 0;
  if (!draw.hintPopup || !draw.hintControl || !WuiIsWindow(draw.hintControl)) return;
  const auto* control = reinterpret_cast<const DlgControlRecord*>(WuiGetSlot(draw.hintControl, GWL_USERDATA));
  RECT area;
  POINT cursor;
  if (!ScreenRectOf(draw.hintControl, control ? control->type : 0, &area) || !WuiCursorPos(&cursor)) return;
  const bool over = cursor.x >= area.left && cursor.x < area.right && cursor.y >= area.top && cursor.y < area.bottom;
  HWND focus = WuiGetFocus();
  if (!over || !focus || TopLevelOf(focus) != TopLevelOf(pageWindow)) return;
  WuiShow(draw.hintPopup, SW_SHOWNA);
  DlgPaintHintPopup(ctx);
}
