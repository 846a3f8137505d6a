// Drawing helpers shared by the control types and the modules.
#include "core/front/draw_helpers.h"

#include "core/common/draw_ui.h"
#include "core/common/text.h"
#include "core/common/window_ui.h"
#include "core/context/ui_state.h"
#include "core/front/control_lookup.h"
#include "core/front/image_draw.h"
#include "core/items/item_access.h"
#include "core/items/item_ids.h"
#include "core/items/item_table.h"
#include "core/items/item_values.h"
#include "core/model/model_lookup.h"
#include "core/model/model_types.h"
#include "core/rules/judge_eval.h"
#include "core/system/resources.h"

namespace {

constexpr int kTextChars = 1025;

// Tray labels of the options page, the cover and inserted-sheet pages, the back cover, the
// chapters and the reverse cover.
const TrayLabelRow kTrayLabels[] = {
    // options: trays 1-5, the large-capacity tray, manual feed, the multi tray
    {2410, 0}, {2412, 1}, {2413, 2}, {2538, 3}, {2770, 4}, {2566, 4}, {2539, 25}, {2540, 27}, {2411, 28},
    // a label without orientation icon
    {2809, 29},
    // covers and inserted sheets
    {2458, 0}, {2459, 1}, {2462, 0}, {2463, 1}, {2518, 0}, {2519, 1},
    // back cover, chapters, reverse cover
    {2754, 0}, {2760, 1}, {2772, 0}, {2782, 1}, {2847, 0}, {2848, 1},
    {0, 0},
};

constexpr WORD kTrayOrientFirst = 10143;
constexpr WORD kTrayPaperFirst = 10175;
constexpr WORD kTrayMediaFirst = 10207;
constexpr WORD kPaperChoice = 2168;
constexpr WORD kMediaChoice = 2170;
constexpr WORD kTrayNameSuffix = 854;
constexpr WORD kOrientationPicture = 6193;
constexpr WORD kOptionsPage = 1010;

// Split faces: the left half's picture by bits 0x30, the right half's by bits 0xC0.
WORD LeftHalfPicture(int style) {
  switch (style & 0x30) {
    case 0x10: return 220;
    case 0x20: return 221;
    case 0x30: return 222;
    default: return 0;
  }
}
WORD RightHalfPicture(int style) {
  switch (style & 0xC0) {
    case 0x40: return 222;
    case 0x80: return 221;
    case 0xC0: return 220;
    default: return 0;
  }
}

// The four lines of one ring of a frame: top and left in one colour, bottom and right in another.
void FrameRing(HDC dc, const RECT& r, COLORREF topLeft, COLORREF bottomRight) {
  DuiLine(dc, r.left, r.top, r.right - 1, r.top, topLeft);
  DuiLine(dc, r.left, r.top, r.left, r.bottom - 1, topLeft);
  DuiLine(dc, r.left, r.bottom - 1, r.right, r.bottom - 1, bottomRight);
  DuiLine(dc, r.right - 1, r.top, r.right - 1, r.bottom, bottomRight);
}

void Inset(RECT* r, int dx, int dy) {
  r->left += dx;
  r->right -= dx;
  r->top += dy;
  r->bottom -= dy;
}

// "<" or ">" alone: a solid triangle as wide as the text area, as high as wide (at most the
// area's height), centred vertically.
void DrawArrow(HDC dc, const RECT& area, bool left, COLORREF outline) {
  const LONG width = area.right - area.left;
  LONG height = area.bottom - area.top;
  if (width < height) height = width;
  const LONG top = area.top + (area.bottom - area.top - height) / 2;
  POINT points[3];
  if (left) {
    points[0] = {area.right - 1, top};
    points[1] = {area.right - 1, top + height - 1};
    points[2] = {area.left, top + height / 2};
  } else {
    points[0] = {area.left, top};
    points[1] = {area.left, top + height - 1};
    points[2] = {area.right - 1, top + height / 2};
  }
  DuiPolygon(dc, points, 3, DuiSysColor(COLOR_MENUTEXT), outline);
}

// The string of a tray's loaded paper or media, mapped through the choice's item.
void LoadedName(DriverContext* ctx, DlgControlRecord* choice, WORD itemId, WCHAR* text, int cchText) {
  text[0] = 0;
  const LONG_PTR stored = ItemGetValueById(ctx, itemId);
  const LONG_PTR value = choice && choice->item ? ItemMapValue(ctx, choice->item, stored) : stored;
  if (value > 0 && value < 0x10000) ResLoadString(ctx, static_cast<UINT>(value), text, cchText, TRUE);
}

int Length(const WCHAR* text) { return static_cast<int>(StrWideLength(text)); }

}  // namespace

HDC UiGetControlDc(DriverContext* ctx, HWND window) {
  if (ctx && ctx->ui && ctx->ui->dialog.draw.paintDc) return ctx->ui->dialog.draw.paintDc;
  HDC dc = DuiGetDc(window);
  if (!dc) return NULL;
  RECT client;
  if (WuiGetClientRect(window, &client)) DuiIntersectClip(dc, &client);
  return dc;
}

void UiReleaseControlDc(DriverContext* ctx, HWND window, HDC dc) {
  if (ctx && ctx->ui && ctx->ui->dialog.draw.paintDc) return;
  DuiReleaseDc(window, dc);
}

HWND UiControlWindow(DlgPageRecord* page, const DlgControlRecord* control) {
  if (!control) return NULL;
  if (control->window) return control->window;
  return page && page->window ? WuiFindControl(page->window, control->controlId) : NULL;
}

void UiMeasureText(HDC dc, LPCWSTR text, SIZE* size) {
  if (!size) return;
  size->cx = size->cy = 0;
  if (text) {
    DuiTextExtent(dc, text, Length(text), size);
    return;
  }
  LONG height = 0, average = 0;
  if (DuiTextMetrics(dc, &height, &average)) {
    size->cx = average;
    size->cy = height;
  }
}

void UiFillRectColor(HDC dc, const RECT* rect, COLORREF colour) {
  if (rect) DuiRectangle(dc, rect, colour, colour);
}

WORD UiGetHighWord(DWORD value) { return static_cast<WORD>(value >> 16); }

int UiIsEqual(LONG_PTR a, LONG_PTR b) { return a == b ? 1 : 0; }

int CtlDrawButtonFace(DriverContext* ctx, DlgPageRecord* page, DlgControlRecord* control, HWND textWindow, HDC dc,
                      const RECT* rect, int style, BOOL pressed, BOOL focused) {
  if (!dc || !rect) return 0;
  RECT face = *rect;
  DuiRectangle(dc, &face, DuiSysColor(COLOR_BTNFACE), CLR_INVALID);
  if (focused) Inset(&face, 1, 1);
  if ((style & 0x0F) == 2) {
    RECT inner = face;
    Inset(&inner, 1, 1);
    if (pressed) {
      FrameRing(dc, face, DuiSysColor(COLOR_BTNSHADOW), DuiSysColor(COLOR_BTNFACE));
      FrameRing(dc, inner, DuiSysColor(COLOR_3DDKSHADOW), DuiSysColor(COLOR_BTNHIGHLIGHT));
    } else {
      FrameRing(dc, face, DuiSysColor(COLOR_BTNHIGHLIGHT), DuiSysColor(COLOR_3DDKSHADOW));
      FrameRing(dc, inner, DuiSysColor(COLOR_BTNFACE), DuiSysColor(COLOR_BTNSHADOW));
    }
    Inset(&face, 1, 1);
  }
  RECT text = face;
  if ((style & 0x0F) == 4) {
    const LONG middle = (face.left + face.right) / 2;
    const LONG quarter = (face.bottom - face.top) / 4;
    const RECT halves[2] = {{face.left, face.top + quarter, middle, face.bottom - quarter},
                            {middle, face.top + quarter, face.right, face.bottom - quarter}};
    const WORD pictures[2] = {LeftHalfPicture(style), RightHalfPicture(style)};
    for (int i = 0; i < 2; ++i)
      if (pictures[i])
        ResDrawImage(ctx, page, control, dc, &halves[i], halves[i].left, halves[i].top,
                     MAKEINTRESOURCEW(pictures[i]), 0, FALSE);
    Inset(&text, 4, 2);
  }
  int width = 0;
  if (textWindow) {
    HFONT oldFont = DuiSelectFont(dc, DuiWindowFont(textWindow));
    const WORD captionId = ctx && ctx->ui ? ctx->ui->dialog.draw.altCaption : 0;
    WCHAR caption[kTextChars] = {0};
    if (captionId == 0) {
      caption[0] = caption[1] = caption[2] = u'.';
      caption[3] = 0;
    } else if (captionId != 0xFFFF) {
      ResLoadString(ctx, captionId, caption, kTextChars, TRUE);
    }
    if (caption[0]) {
      SIZE extent = {0, 0};
      UiMeasureText(dc, caption, &extent);
      RECT measured = text;
      const UINT format = DT_CENTER | DT_WORDBREAK | DT_EXPANDTABS;
      const int height = DuiDrawText(dc, caption, -1, &measured, DT_CALCRECT | format);
      RECT centred = text;
      const LONG room = text.bottom - text.top;
      if (height < room) {
        centred.top += (room - height) / 2;
        centred.bottom = centred.top + height;
      }
      const bool arrow = (caption[0] == u'<' || caption[0] == u'>') && caption[1] == 0;
      const COLORREF textColour = DuiSetTextColor(dc, 0);
      DuiSetTextColor(dc, textColour);
      if (arrow) {
        DrawArrow(dc, text, caption[0] == u'<', textColour);
        width = text.right - text.left;
      } else if (WuiIsEnabled(textWindow)) {
        DuiDrawText(dc, caption, -1, &centred, format);
        width = extent.cx;
      } else {
        RECT moved = {centred.left + 1, centred.top + 1, centred.right + 1, centred.bottom + 1};
        DuiSetTextColor(dc, RGB(255, 255, 255));
        DuiDrawText(dc, caption, -1, &moved, format);
        DuiSetTextColor(dc, DuiSysColor(COLOR_GRAYTEXT));
        DuiDrawText(dc, caption, -1, &centred, format);
        DuiSetTextColor(dc, textColour);
        width = extent.cx;
      }
    }
    DuiSelectFont(dc, oldFont);
  }
  if (focused) {
    RECT focus = face;
    Inset(&focus, 2, 2);
    DuiFocusRect(dc, &focus);
  }
  return width;
}

int CtlStepPictureValue(DriverContext* ctx, DlgPageRecord* page, DlgControlRecord* control, UINT message,
                        WPARAM wParam, LPARAM lParam) {
  (void)page;
  (void)message;
  (void)wParam;
  (void)lParam;
  const ModelItemDescriptor* desc = control ? control->descriptor : nullptr;
  if (!desc || !control->item) return 0;
  const LONG_PTR current = ItemGetValue(ctx, control->item);
  const void* found = nullptr;
  for (const void* choice = desc->values; choice && !found; choice = ModelNextChoice(desc, choice)) {
    const WORD value = ModelChoiceValue(desc, choice, nullptr);
    if (value == 0) break;
    if (value == current) found = choice;
  }
  if (!found) return 0;
  auto allowed = [&](const void* choice) {
    const ValueRule* rule = nullptr;
    const WORD value = ModelChoiceValue(desc, choice, &rule);
    return value != 0 && !(rule && ModelIsValueDisabled(desc, value, ctx));
  };
  const void* next = nullptr;
  for (const void* choice = ModelNextChoice(desc, found); choice && !next; choice = ModelNextChoice(desc, choice)) {
    if (ModelChoiceValue(desc, choice, nullptr) == 0) break;
    if (allowed(choice)) next = choice;
  }
  // Past the last choice the walk starts again at the first; the current one counts there.
  for (const void* choice = desc->values; choice && !next; choice = ModelNextChoice(desc, choice)) {
    if (ModelChoiceValue(desc, choice, nullptr) == 0) break;
    if (allowed(choice)) next = choice;
  }
  if (!next) return 0;
  ItemSetValue(ctx, control->item, ModelChoiceValue(desc, next, nullptr));
  return 1;
}

// ---- tray labels ----

const TrayLabelRow* TblGetTrayLabels() { return kTrayLabels; }

const TrayLabelRow* TblFindTrayLabel(WORD controlId) {
  for (const TrayLabelRow* row = kTrayLabels; row->controlId; ++row)
    if (row->controlId == controlId) return row;
  return nullptr;
}

int CtlPaintTrayLabel(DriverContext* ctx, DlgPageRecord* page, DlgControlRecord* control, UINT message,
                      WORD trayIndex, int mode) {
  if (!control) return 0;
  HWND window = UiControlWindow(page, control);
  if (message == WM_ERASEBKGND) {
    if (window) WuiPost(window, WM_PAINT, 0, 0);
    return 1;
  }
  if (message != WM_PAINT || !window) return 0;
  PAINTSTRUCT paint = {};
  DuiBeginPaint(window, &paint);
  HDC dc = UiGetControlDc(ctx, window);
  if (!dc) {
    DuiEndPaint(window, &paint);
    return 1;
  }
  const int saved = DuiSaveDc(dc);
  DuiSetTextColor(dc, DuiSysColor((control->state & kControlRestrictedMask) ? COLOR_GRAYTEXT : COLOR_MENUTEXT));
  if (page && page->window) DuiSelectFont(dc, DuiWindowFont(page->window));
  RECT client = {0, 0, 0, 0};
  WuiGetClientRect(window, &client);
  const COLORREF face = DuiSysColor(COLOR_BTNFACE);
  DuiFillRect(dc, &client, face);
  DuiSetBkColor(dc, face);

  WCHAR name[kTextChars] = {0};
  if (page && page->dialogId == kOptionsPage) {
    WuiGetText(window, name, kTextChars);
  } else {
    const LONG_PTR value = ItemGetControlValue(ctx, control);
    if (value > 0 && value < 0x10000) ResLoadString(ctx, static_cast<UINT>(value), name, kTextChars, TRUE);
    if (mode != kTrayLabelTextOnly) {
      WCHAR suffix[kTextChars] = {0};
      ResLoadString(ctx, kTrayNameSuffix, suffix, kTextChars, TRUE);
      int at = Length(name);
      for (int i = 0; suffix[i] && at < kTextChars - 1; ++i) name[at++] = suffix[i];
      name[at] = 0;
    }
  }
  SIZE nameSize = {0, 0};
  UiMeasureText(dc, name, &nameSize);
  SIZE line = {0, 0};
  UiMeasureText(dc, nullptr, &line);
  const LONG height = client.bottom - client.top;
  DuiTextOut(dc, client.left, client.top + (height - line.cy) / 2, ETO_CLIPPED, &client, name, Length(name));

  if (mode != kTrayLabelTextOnly) {
    DlgControlRecord* paperChoice = CtlFind(ctx, nullptr, kPaperChoice);
    DlgControlRecord* mediaChoice = CtlFind(ctx, nullptr, kMediaChoice);
    const bool slashed = mode == kTrayLabelSlashed && mediaChoice;
    const bool icon = trayIndex != kTrayLabelNoIcon;
    WCHAR media[kTextChars] = {0};
    if (slashed) {
      media[0] = u'/';
      LoadedName(ctx, mediaChoice, static_cast<WORD>(kTrayMediaFirst + trayIndex), media + 1, kTextChars - 1);
    }
    LONG x = client.left + nameSize.cx;
    if (paperChoice) {
      LONG reserved = icon ? line.cy : 0;
      SIZE mediaSize = {0, 0};
      if (slashed) {
        UiMeasureText(dc, media, &mediaSize);
        reserved += mediaSize.cx;
      }
      WCHAR paper[kTextChars];
      LoadedName(ctx, paperChoice, static_cast<WORD>(kTrayPaperFirst + trayIndex), paper, kTextChars);
      SIZE paperSize = {0, 0};
      UiMeasureText(dc, paper, &paperSize);
      RECT room = {x, client.top, client.right - reserved, client.bottom};
      if (room.right < room.left) room.right = room.left;
      if (paperSize.cx < room.right - room.left) room.right = room.left + paperSize.cx;
      DuiDrawText(dc, paper, -1, &room, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS | DT_NOPREFIX);
      x = room.right;
    }
    if (icon) {
      const bool turned = ItemGetValueById(ctx, static_cast<WORD>(kTrayOrientFirst + trayIndex)) != 0;
      const bool feed = ItemGetValueById(ctx, kItem_zdmMachineTypeFeed) == 1;
      const WORD picture = static_cast<WORD>(kOrientationPicture + ((turned == feed) ? 1 : 0));
      const LONG top = client.top + (height - line.cy) / 2;
      const RECT square = {x, top, x + line.cy, top + line.cy};
      ResDrawImage(ctx, page, control, dc, &square, square.left, square.top, MAKEINTRESOURCEW(picture), 0, FALSE);
      x += line.cy;
      if (slashed) DuiTextOut(dc, x, top, ETO_CLIPPED, &client, media, Length(media));
    }
  }
  DuiRestoreDc(dc, saved);
  UiReleaseControlDc(ctx, window, dc);
  DuiEndPaint(window, &paint);
  return 1;
}

int CtlPaintTrayLabelSlashed(DriverContext* ctx, DlgPageRecord* page, DlgControlRecord* control, UINT message,
                             WORD trayIndex) {
  return CtlPaintTrayLabel(ctx, page, control, message, trayIndex, kTrayLabelSlashed);
}
int CtlPaintTrayLabelPlain(DriverContext* ctx, DlgPageRecord* page, DlgControlRecord* control, UINT message,
                           WORD trayIndex) {
  return CtlPaintTrayLabel(ctx, page, control, message, trayIndex, kTrayLabelPlain);
}
int CtlPaintTrayLabelTextOnly(DriverContext* ctx, DlgPageRecord* page, DlgControlRecord* control, UINT message,
                              WORD trayIndex) {
  return CtlPaintTrayLabel(ctx, page, control, message, trayIndex, kTrayLabelTextOnly);
}

int CtlPaintTrayLabels(DriverContext* ctx, DlgPageRecord* page, DlgControlRecord* control, UINT message) {
  if (!control) {
    if (message != WM_ERASEBKGND) return 0;
    for (const TrayLabelRow* row = kTrayLabels; row->controlId; ++row) {
      DlgControlRecord* label = page ? CtlFind(ctx, page, row->controlId) : nullptr;
      if (!label) continue;
      HWND window = UiControlWindow(page, label);
      // The label's own visibility: the page may paint before it is shown.
      if (!window || !(WuiGetStyle(window) & WS_VISIBLE)) return 0;
      return CtlPaintTrayLabel(ctx, page, label, WM_PAINT, row->trayIndex, kTrayLabelSlashed);
    }
    return 0;
  }
  const TrayLabelRow* row = TblFindTrayLabel(control->controlId);
  return row ? CtlPaintTrayLabel(ctx, page, control, message, row->trayIndex, kTrayLabelSlashed) : 0;
}
