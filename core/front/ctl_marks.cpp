// The information and lock marks beside controls: a click shows why the control cannot be
// changed (the lock message) or what it means (the information string).
#include "core/common/draw_ui.h"
#include "core/common/window_ui.h"
#include "core/context/ui_state.h"
#include "core/front/ctl_subclass.h"
#include "core/front/image_draw.h"
#include "core/front/page_lookup.h"
#include "core/items/derived_settings.h"
#include "core/system/printer_names.h"
#include "core/system/resources.h"
#include "core/tables/build_switches.h"

namespace {

constexpr UINT kMarkPicture = 7006;
constexpr int kTextChars = 1025;

// Process-wide: the STATIC procedure of the marks, the mark that last took the focus and
// whether its focus rectangle is drawn.
WNDPROC g_markProcedure = nullptr;
HWND g_focusedMark = NULL;
bool g_focusDrawn = false;

LRESULT CallMarkProcedure(HWND mark, UINT message, WPARAM wParam, LPARAM lParam) {
  return g_markProcedure ? WuiCallProcedure(g_markProcedure, mark, message, wParam, lParam) : 0;
}

void ShowMarkText(DriverContext* ctx, DlgControlRecord* control) {
  const bool locked = BuildHasFeature(ctx, 2) && ((control->lockState & 1) || CtlIsLockedByRule(ctx, control));
  const WORD id = locked && control->lockMessage ? control->lockMessage : control->infoString;
  WCHAR text[kTextChars] = {0};
  if (id) ResLoadString(ctx, id, text, kTextChars, TRUE);
  WuiMessageBox(control->window, text, PrnGetPrinterName(ctx), MB_ICONINFORMATION);
}

}  // namespace

void CtlInstallMarkProc(HWND mark) {
  if (WNDPROC previous = WuiSubclass(mark, CtlLockMarkProc)) g_markProcedure = previous;
}

LRESULT CALLBACK CtlLockMarkProc(HWND mark, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* control = reinterpret_cast<DlgControlRecord*>(WuiGetSlot(mark, GWL_USERDATA));
  HWND page = WuiParent(mark);
  auto* ctx = page ? reinterpret_cast<DriverContext*>(WuiGetSlot(page, DWL_USER)) : nullptr;
  if (!ctx || !ctx->ui || !control) return CallMarkProcedure(mark, message, wParam, lParam);
  DlgDrawState& draw = ctx->ui->dialog.draw;
  RECT client = {};
  WuiGetClientRect(mark, &client);
  switch (message) {
    case WM_NCHITTEST: {
      POINT at = {static_cast<SHORT>(LOWORD(lParam)), static_cast<SHORT>(HIWORD(lParam))};
      WuiScreenToClient(mark, &at);
      if (at.x < client.left || at.x >= client.right || at.y < client.top || at.y >= client.bottom) break;
      if (!draw.handShown) {
        draw.savedCursor = WuiSetCursor(CtlHandCursor(ctx, false));
        draw.handShown = 1;
      }
      WuiSetCapture(mark);
      return HTCLIENT;
    }
    case WM_MOUSEMOVE: {
      const POINT at = {static_cast<SHORT>(LOWORD(lParam)), static_cast<SHORT>(HIWORD(lParam))};
      if (at.x >= client.left && at.x < client.right && at.y >= client.top && at.y < client.bottom) return 1;
      WuiReleaseCapture();
      return 0;
    }
    case WM_LBUTTONDOWN:
      if (draw.handShown) WuiSetCursor(CtlHandCursor(ctx, true));
      return 0;
    case WM_KEYUP:
      if (wParam != VK_SPACE) break;
      [[fallthrough]];
    case WM_LBUTTONUP:
      if (draw.handShown) WuiSetCursor(CtlHandCursor(ctx, false));
      ShowMarkText(ctx, control);
      return 0;
    case WM_PAINT: {
      PAINTSTRUCT paint = {};
      HDC dc = DuiBeginPaint(mark, &paint);
      DlgPageRecord* pageRecord = PageFindByWindow(ctx, page);
      ResDrawImageInWindow(ctx, pageRecord, control, mark, nullptr, kMarkPicture, 0, FALSE);
      if (dc && g_focusedMark == mark && !g_focusDrawn && WuiGetFocus() == mark) {
        DuiFocusRect(dc, &client);
        g_focusDrawn = true;
      }
      if (dc) DuiEndPaint(mark, &paint);
      return 0;
    }
    case WM_SETFOCUS:
      g_focusedMark = mark;
      g_focusDrawn = false;
      WuiInvalidate(mark, TRUE);
      break;
    case WM_KILLFOCUS:
      WuiInvalidate(mark, TRUE);
      break;
    case WM_NCPAINT:
      return 0;
    case WM_DESTROY:
      if (g_focusedMark == mark) g_focusedMark = NULL;
      break;
    default:
      break;
  }
  return CallMarkProcedure(mark, message, wParam, lParam);
}
