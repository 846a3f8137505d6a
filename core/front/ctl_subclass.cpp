// The subclass procedure of the described controls: the modules see each message first, then
// this adds what the standard controls lack (clickable pictures and printer trays, repeating
// step buttons, arrow keys, character filters and byte limits of edits, custom painting, the
// hand cursor and the hint position); the rest goes to the control's saved procedure.
#include "core/front/ctl_subclass.h"

#include "core/common/draw_ui.h"
#include "core/common/window_ui.h"
#include "core/context/module_bus.h"
#include "core/context/ui_state.h"
#include "core/front/control_lookup.h"
#include "core/front/control_types.h"
#include "core/front/ctl_edits.h"
#include "core/front/ctl_simple.h"
#include "core/front/dialog_engine.h"
#include "core/front/page_lookup.h"
#include "core/front/picture_parts.h"
#include "core/items/derived_settings.h"
#include "core/items/item_access.h"
#include "core/items/item_ids.h"
#include "core/items/item_table.h"
#include "core/items/item_values.h"
#include "core/items/units.h"
#include "core/model/model_types.h"
#include "core/modules/free_size_limits.h"
#include "core/modules/quality_hooks.h"
#include "core/rules/judge_eval.h"
#include "core/system/resources.h"
#include "core/tables/build_switches.h"

LONG g_ctlDropNextNumericChar = 0;
LONG g_ctlDropNextTextChar = 0;

namespace {

constexpr UINT_PTR kRepeatTimer = 2;
constexpr UINT kRepeatInterval = 100;
constexpr int kRepeatWaitTicks = 3;  // ticks that only count down before the repeat starts
constexpr int kEventKeyboardChange = 55;
constexpr int kEventScrollBarSense = 58;
constexpr WORD kSourceTrayChoice = 2007, kOutputBinChoice = 2066;
constexpr WORD kPrinterPicture = 2067, kExtensionsPicture = 3203;
constexpr WORD kPlainPicture = 2039, kPlainOwnerList = 2164;
constexpr WORD kTabControlType = 104;

DlgDrawState& Draw(DriverContext* ctx) { return ctx->ui->dialog.draw; }

bool Restricted(const DlgControlRecord* control) { return (control->state & kControlRestrictedMask) != 0; }
bool Shown(const DlgControlRecord* control) { return control->window && WuiIsVisible(control->window); }
bool IsPicture(const DlgControlRecord* control) { return control->type == 2 || control->type == 3; }
bool IsPrinterPicture(const DlgControlRecord* control) {
  return control->type == 2 && (control->controlId == kPrinterPicture || control->controlId == kExtensionsPicture);
}
bool IsStepButton(const DlgControlRecord* control) {
  return control->type == 21 && CtlGetExtension(control, kCtlExtStepButton) != nullptr;
}
bool Inside(const RECT& r, POINT p) { return p.x >= r.left && p.x < r.right && p.y >= r.top && p.y < r.bottom; }
POINT PointOf(LPARAM lParam) {
  return POINT{static_cast<SHORT>(LOWORD(lParam)), static_cast<SHORT>(HIWORD(lParam))};
}

LRESULT CallSaved(const DlgControlRecord* control, HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  WNDPROC saved = control ? reinterpret_cast<WNDPROC>(control->savedWindowProc) : nullptr;
  return saved ? WuiCallProcedure(saved, window, message, wParam, lParam) : 0;
}

// ---- the hand cursor ----

void ShowHand(DriverContext* ctx) {
  DlgDrawState& draw = Draw(ctx);
  if (draw.handShown) return;
  draw.savedCursor = WuiSetCursor(CtlHandCursor(ctx, false));
  draw.handShown = 1;
}

void PressHand(DriverContext* ctx, bool pressed) {
  if (Draw(ctx).handShown) WuiSetCursor(CtlHandCursor(ctx, pressed));
}

void RestoreCursor(DriverContext* ctx) {
  DlgDrawState& draw = Draw(ctx);
  if (!draw.handShown) return;
  WuiSetCursor(draw.savedCursor);
  draw.handShown = 0;
}

void RepaintPage(DlgPageRecord* page) {
  if (page && page->window) WuiInvalidate(page->window, FALSE);
}

// ---- step buttons ----

// A running repeat of a held step button. It lives on the stack of the loop that runs it and
// holds the button's window only: every tick finds the control record through the window, so
// nothing touches the record once the window is gone.
struct StepRepeat {
  HWND button;
  volatile LONG done;
  int waitTicks;
  bool inside;
  bool keyboard;
  StepRepeat* outer;
};
StepRepeat* g_repeats = nullptr;

StepRepeat* RepeatOf(HWND window) {
  for (StepRepeat* r = g_repeats; r; r = r->outer)
    if (r->button == window) return r;
  return nullptr;
}

void StepOnce(DriverContext* ctx, DlgPageRecord* page, DlgControlRecord* control) {
  CtlStepLinkedValues(ctx, page, control);
  RepaintPage(page);
}

void RunStepRepeat(DriverContext* ctx, DlgPageRecord* page, DlgControlRecord* control, HWND window, UINT startedBy) {
  StepOnce(ctx, page, control);
  StepRepeat repeat = {window, 0, kRepeatWaitTicks, true, startedBy == WM_KEYDOWN, g_repeats};
  g_repeats = &repeat;
  WuiSetTimer(window, kRepeatTimer, kRepeatInterval);
  WuiRunLocalLoop(window, &repeat.done);
  // Nested repeats end before their outer one, so the list unwinds in order.
  g_repeats = repeat.outer;
  if (WuiIsWindow(window)) WuiKillTimer(window, kRepeatTimer);
}

void RepeatTick(DriverContext* ctx, DlgPageRecord* page, DlgControlRecord* control, StepRepeat* repeat) {
  if (repeat->waitTicks > 0) {
    --repeat->waitTicks;
    return;
  }
  if (repeat->inside || repeat->keyboard) StepOnce(ctx, page, control);
}

// ---- edits ----

const NumericValueRecord* NumericOf(const DlgControlRecord* control) {
  const ModelItemDescriptor* desc = control->descriptor;
  if (!desc || !desc->values || ModelValueShapeOf(desc->type) != kModelShapeNumeric) return nullptr;
  return static_cast<const NumericValueRecord*>(desc->values);
}

const StringValueRecord* StringOf(const DlgControlRecord* control) {
  const ModelItemDescriptor* desc = control->descriptor;
  if (!desc || !desc->values || ModelValueShapeOf(desc->type) != kModelShapeString) return nullptr;
  return static_cast<const StringValueRecord*>(desc->values);
}

// Up or Down in a numeric edit: one step within the limits, told to the modules and stored.
void StepNumericEdit(DriverContext* ctx, DlgPageRecord* page, DlgControlRecord* control, bool up) {
  const NumericValueRecord* numeric = NumericOf(control);
  if (!control->item || !numeric) return;
  LONG minimum = numeric->minimum, maximum = numeric->maximum, step = 1;
  if (control->flags & kCtlDisplayLength) {
    step = ItemDisplayToDots(ctx, 0, 1);
    DWORD most = 0, least = 0;
    if (FreeSizeGetControlLimits(ctx, control, &most, &least)) {
      maximum = static_cast<LONG>(most);
      minimum = static_cast<LONG>(least);
    }
  }
  const LONG value = static_cast<LONG>(ItemGetControlValue(ctx, control));
  LONG next;
  if (up) {
    if (value >= maximum) return;
    next = value > maximum - step ? maximum : value + step;
  } else {
    if (value <= minimum) return;
    next = value < minimum + step ? minimum : value - step;
  }
  FreeSizeValueEvent event = {control, next};
  ModBusSendEvent(ctx, kEventKeyboardChange, &event);
  ItemSetControlValue(ctx, control, next);
  WuiPost(control->window, WM_PAINT, 0, 0);
  if (page && page->window) WuiPost(page->window, WM_PAINT, 0, 0);
}

// Bytes of the text in the ANSI code page.
int AnsiBytes(const WCHAR* text, int length) {
  if (length <= 0) return 0;
  return WideCharToMultiByte(CP_ACP, 0, text, length, nullptr, 0, nullptr, nullptr);
}

// Characters of one character at text (a surrogate pair counts as one).
int CharUnits(const WCHAR* text) {
  return text[0] >= 0xD800 && text[0] < 0xDC00 && text[1] >= 0xDC00 && text[1] < 0xE000 ? 2 : 1;
}

// The most bytes a text edit's item takes (its size less the terminator), and the bytes its text
// keeps outside the selection.
struct EditRoom {
  int limit;
  int kept;
};

bool TextEditRoom(HWND window, const DlgControlRecord* control, EditRoom* room) {
  if (!control->item) return false;
  WCHAR text[1025];
  const int length = WuiGetText(window, text, 1025);
  DWORD start = 0, end = 0;
  WuiSend(window, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  if (end > static_cast<DWORD>(length)) end = static_cast<DWORD>(length);
  if (start > end) start = end;
  room->limit = static_cast<int>(ItemDescSize(control->item->descriptor)) - 1;
  room->kept = AnsiBytes(text, static_cast<int>(start)) + AnsiBytes(text + end, length - static_cast<int>(end));
  return true;
}

// A character typed into a text edit; true when it is swallowed.
bool DropTextChar(HWND window, const DlgControlRecord* control, WCHAR ch) {
  if (g_ctlDropNextTextChar) {
    g_ctlDropNextTextChar = 0;
    return true;
  }
  const StringValueRecord* rule = StringOf(control);
  if (rule && (rule->charType & kModelCharAscii) && ch != VK_BACK &&
      !((ch >= '0' && ch <= '9') || (ch >= 'A' && ch <= 'Z') || (ch >= 'a' && ch <= 'z')))
    return true;
  if (ch == VK_BACK) return false;
  EditRoom room;
  if (!TextEditRoom(window, control, &room)) return false;
  return room.kept + AnsiBytes(&ch, 1) > room.limit;
}

// A paste into a text edit: the clipboard's text, cut to what the item still takes (whole
// characters only), replaces the selection. False when the clipboard holds no text.
bool PasteIntoTextEdit(HWND window, const DlgControlRecord* control) {
  WCHAR clip[2048];
  const int length = WuiClipboardText(window, clip, 2048);
  EditRoom room;
  if (length < 0 || !TextEditRoom(window, control, &room)) return false;
  const int taken = CtlPasteFitChars(clip, length, room.limit - room.kept);
  if (taken == 0) return true;
  clip[taken] = 0;
  WuiSend(window, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(clip));
  return true;
}

// ---- clicks ----

// The locked tray (a logical value of dmDefaultSource), or -1 while the tray is not locked.
LONG LockedTray(DriverContext* ctx) {
  if (!BuildHasFeature(ctx, 2) || !ItemLockTray(ctx)) return -1;
  SettingItem* source = ItemFind(ctx, kItem_dmDefaultSource);
  return source ? static_cast<LONG>(ItemMapValue(ctx, source, ItemGetRawById(ctx, kItem_wdmLock001Info))) : -1;
}

// A choice control of the page that exists and is not restricted.
DlgControlRecord* OpenChoice(DriverContext* ctx, DlgPageRecord* page, WORD id) {
  DlgControlRecord* choice = CtlFind(ctx, page, id);
  return choice && choice->window && !Restricted(choice) ? choice : nullptr;
}

// The point relative to a printer picture: from its left edge, or its right edge for the
// extensions picture.
POINT PictureRelative(const DlgControlRecord* control, POINT client) {
  if (control->controlId == kExtensionsPicture) {
    RECT r = {};
    WuiGetClientRect(control->window, &r);
    client.x -= r.right;
  }
  return client;
}

// A released click on a printer picture: a tray or bin under it is selected. False hands the
// click to the standard procedure (a tray the lock does not allow).
bool ClickPrinterPicture(DriverContext* ctx, DlgPageRecord* page, DlgControlRecord* control, POINT client) {
  const POINT at = PictureRelative(control, client);
  RECT area;
  if (OpenChoice(ctx, page, kSourceTrayChoice)) {
    if (const HitAreaRow* row = CtlFindHotspotAtPoint(ctx, &area, at, TblGetSourceTrayHitAreas(0))) {
      const LONG locked = LockedTray(ctx);
      if (locked >= 0 && locked != row->value) return false;
      CtlSelectComboByData(ctx, page, kSourceTrayChoice, row->value);
      RepaintPage(page);
      if (HWND sheet = WuiParent(page->window)) WuiSend(sheet, PSM_CHANGED, reinterpret_cast<WPARAM>(page->window), 0);
    }
  }
  if (OpenChoice(ctx, page, kOutputBinChoice)) {
    if (const HitAreaRow* row = CtlFindHotspotAtPoint(ctx, &area, at, TblGetOutputBinHitAreas(0))) {
      CtlSelectComboByData(ctx, page, kOutputBinChoice, row->value);
      RepaintPage(page);
      if (HWND sheet = WuiParent(page->window)) WuiSend(sheet, PSM_CHANGED, reinterpret_cast<WPARAM>(page->window), 0);
    }
  }
  return true;
}

bool Selectable(const DlgControlRecord* control) { return control->window && Shown(control) && !Restricted(control); }

// The control a click on this picture or label goes to: its partner (on this page first, then on
// any page), or the next selectable member of the radio group the partner id names; null when
// there is none.
DlgControlRecord* PartnerOf(DriverContext* ctx, DlgPageRecord* page, DlgControlRecord* control) {
  if (DlgControlRecord* partner = CtlFind(ctx, page, control->partner)) return partner;
  if (DlgControlRecord* partner = CtlFind(ctx, nullptr, control->partner)) return partner;
  if (!page) return nullptr;
  int first = -1, current = -1;
  for (int i = 0; i < page->controlCount; ++i) {
    DlgControlRecord* member = &page->controls[i];
    if (member->symbolId != control->partner) continue;
    if (first < 0) first = i;
    if (current < 0 && member->item && ItemGetControlValue(ctx, member) == member->controlId) current = i;
  }
  if (first < 0) return nullptr;
  const int count = page->controlCount;
  for (int n = 1; n <= count; ++n) {
    const int i = ((current < 0 ? first - 1 : current) + n + count) % count;
    DlgControlRecord* member = &page->controls[i];
    if (member->symbolId == control->partner && Selectable(member)) return member;
  }
  return nullptr;
}

// A released click handed to the click handler of the control's type; handled, the control
// takes the focus and the page repaints.
void RunClick(DriverContext* ctx, DlgPageRecord* page, DlgControlRecord* target, UINT message, WPARAM wParam,
              LPARAM lParam) {
  const CtlTypeRecord* type = CtlTypeOf(ctx, target->type);
  if (type && type->click && type->click(ctx, page, target, message, wParam, lParam)) {
    if (target->window) WuiSetFocus(target->window);
    RepaintPage(page);
  }
}

// WM_LBUTTONUP on a picture or a clickable control; true when answered (0).
bool ReleasedClick(DriverContext* ctx, DlgPageRecord* page, DlgControlRecord* control, HWND window, UINT message,
                   WPARAM wParam, LPARAM lParam) {
  const POINT at = PointOf(lParam);
  RECT client = {};
  if (!WuiGetClientRect(window, &client) || !Inside(client, at)) return false;
  if (IsPrinterPicture(control)) return ClickPrinterPicture(ctx, page, control, at);
  DlgControlRecord* target = control;
  if (control->partner) {
    target = PartnerOf(ctx, page, control);
    if (!target || !Selectable(target)) return false;
  }
  RunClick(ctx, page, target, message, wParam, lParam);
  return true;
}

// ---- hit tests ----

RECT ClientRectInPage(HWND window, HWND pageWindow) {
  RECT r = {};
  WuiGetRect(window, &r);
  if (WuiParent(window) != pageWindow) {
    POINT a = {r.left, r.top}, b = {r.right, r.bottom};
    WuiClientToScreen(WuiParent(window), &a);
    WuiClientToScreen(WuiParent(window), &b);
    WuiScreenToClient(pageWindow, &a);
    WuiScreenToClient(pageWindow, &b);
    r = RECT{a.x, a.y, b.x, b.y};
  }
  return r;
}

// True when another window of the page should take the point: an undescribed child above the
// control, or a later described control (not a tab control) shown over it.
bool CoveredAt(DriverContext* ctx, DlgPageRecord* page, const DlgControlRecord* control, POINT at) {
  for (HWND child = WuiFirstChild(page->window); child && child != control->window; child = WuiNextSibling(child)) {
    RECT r;
    if (WuiIsVisible(child) && WuiGetRect(child, &r) && Inside(r, at) && !CtlFindByWindow(ctx, page, child))
      return true;
  }
  bool later = false;
  for (int i = 0; i < page->controlCount; ++i) {
    const DlgControlRecord* other = &page->controls[i];
    if (other == control) {
      later = true;
      continue;
    }
    if (!later || !other->window || other->type == kTabControlType || !WuiIsVisible(other->window)) continue;
    RECT r;
    if (WuiGetRect(other->window, &r) && Inside(r, at)) return true;
  }
  return false;
}

// A picture with a partner: a selectable choice of its description whose picture part lies
// under the point (relative to the picture).
bool ChoicePartAt(DriverContext* ctx, const DlgControlRecord* control, POINT at) {
  const ModelItemDescriptor* desc = control->descriptor;
  if (!desc || ModelValueShapeOf(desc->type) != kModelShapeList) return false;
  for (const ListValueRecord* value = static_cast<const ListValueRecord*>(desc->values); value; value = value->next) {
    if (ModelIsValueDisabled(desc, value->valueId, ctx) || ModelIsValueRestricted(desc, value->valueId, ctx)) continue;
    const PicturePartRow* part = TblFindPicturePart(value->valueId);
    if (!part) continue;
    const RECT r = {part->x, part->y, part->x + part->width, part->y + part->height};
    if (Inside(r, at)) return true;
  }
  return false;
}

// WM_NCHITTEST: the hand over what a click would take, and the hint's position.
LRESULT HitTest(DriverContext* ctx, DlgPageRecord* page, DlgControlRecord* control, HWND window, WPARAM wParam,
                LPARAM lParam) {
  const LRESULT standard = CallSaved(control, window, WM_NCHITTEST, wParam, lParam);
  if (!page || !page->window) return standard;
  POINT at = PointOf(lParam);
  WuiScreenToClient(page->window, &at);
  if (CoveredAt(ctx, page, control, at)) return standard;
  const bool list = (control->type == 47 && control->controlId != kPlainOwnerList) || control->type == 50;
  if (!(IsPicture(control) || list) || !Shown(control) || Restricted(control)) return standard;

  const RECT box = ClientRectInPage(window, page->window);
  POINT hint = {box.left, box.bottom + 4};
  bool clickable = list;
  if (IsPrinterPicture(control)) {
    control->hintString = 0;
    const POINT relative = PictureRelative(control, POINT{at.x - box.left, at.y - box.top});
    RECT area;
    const HitAreaRow* row = nullptr;
    if (OpenChoice(ctx, page, kSourceTrayChoice))
      row = CtlFindHotspotAtPoint(ctx, &area, relative, TblGetSourceTrayHitAreas(0));
    if (!row && OpenChoice(ctx, page, kOutputBinChoice))
      row = CtlFindHotspotAtPoint(ctx, &area, relative, TblGetOutputBinHitAreas(0));
    if (row) {
      control->hintString = row->value;
      const LONG edge = control->controlId == kExtensionsPicture ? box.right : box.left;
      hint = POINT{edge + area.left, box.top + area.top};
      clickable = true;
    }
  } else if (IsPicture(control) && control->descriptor && control->partner && control->controlId &&
             control->controlId != kPlainPicture) {
    clickable = ChoicePartAt(ctx, control, POINT{at.x - box.left, at.y - box.top});
  }
  if (clickable && control->partner) {
    const DlgControlRecord* partner = PartnerOf(ctx, page, control);
    if (partner && (!Shown(partner) || (partner->state & kControlDisabledMask) == 1)) clickable = false;
  }
  if (clickable)
    ShowHand(ctx);
  else
    RestoreCursor(ctx);
  if (control->type == 50) {
    // Icon lists: the hint sits under the centre of the hovered column.
    const CtlImageSize* size = DlgFindMeasureEntry(control->controlId);
    if (size && size->width) {
      const LONG column = (at.x - box.left) / size->width;
      hint = POINT{box.left + column * size->width + size->width / 2, box.top + size->height};
    }
  }
  DlgUpdateHint(ctx, control, page->window, hint.x, hint.y);
  return control->type >= 1 && control->type <= 4 ? HTCLIENT : standard;
}

// ---- colour-ramp scroll bars ----

// Event 58: the modules answer when the bar's scale runs the other way (plus on the left).
bool PlusOnLeft(DriverContext* ctx, DlgControlRecord* control) {
  QualityScrollEvent event = {control, 0};
  ModBusSendEvent(ctx, kEventScrollBarSense, &event);
  return event.flag != 0;
}

// The arrow under a client point: -1 the left one, 1 the right one, 0 neither.
int ArrowAt(HWND window, POINT at) {
  RECT r = {};
  if (!WuiGetClientRect(window, &r)) return 0;
  const LONG arrow = r.bottom - r.top;  // the arrows are as wide as the bar is high
  if (at.x < r.left + arrow) return -1;
  if (at.x >= r.right - arrow) return 1;
  return 0;
}

// True when the arrow points at a limit the value already sits at.
bool ArrowAtLimit(DriverContext* ctx, DlgControlRecord* control, int arrow) {
  const NumericValueRecord* numeric = NumericOf(control);
  if (!arrow || !control->item || !numeric) return false;
  const bool plus = (arrow > 0) != PlusOnLeft(ctx, control);
  const LONG value = static_cast<LONG>(ItemGetControlValue(ctx, control));
  return plus ? value >= numeric->maximum : value <= numeric->minimum;
}

bool HiddenOrRestricted(const DlgControlRecord* control) { return !Shown(control) || Restricted(control); }

// A press on a colour-ramp scroll bar; true when it is swallowed.
bool PressScrollBar(DriverContext* ctx, DlgPageRecord* page, DlgControlRecord* control, HWND window, UINT message,
                    WPARAM wParam, LPARAM lParam) {
  if (HiddenOrRestricted(control)) return true;
  if (ArrowAtLimit(ctx, control, ArrowAt(window, PointOf(lParam)))) return true;
  DlgUpdateHint(ctx, nullptr, page ? page->window : NULL, 0, 0);
  // The type's handler may open a read-out window for the press: it gets a copy of the page
  // whose window field it replaces with that window, which goes when the press ends.
  HWND readOut = NULL;
  const CtlTypeRecord* type = CtlTypeOf(ctx, control->type);
  if (type && type->message && page) {
    DlgPageRecord scratch = *page;
    type->message(ctx, &scratch, control, WM_LBUTTONDOWN, wParam, lParam);
    if (scratch.window != page->window) readOut = scratch.window;
  }
  CallSaved(control, window, message, wParam, lParam);
  if (readOut) WuiDestroy(readOut);
  return true;
}

// ---- painting ----

void PaintControl(DriverContext* ctx, DlgPageRecord* page, DlgControlRecord* control, HWND window) {
  PAINTSTRUCT paint = {};
  HDC dc = DuiBeginPaint(window, &paint);
  if (!dc) return;
  // Siblings above the control that do not wholly cover it keep their part.
  HWND parent = WuiParent(window);
  RECT own = {};
  WuiGetRect(window, &own);
  for (HWND sibling = WuiFirstChild(parent); sibling && sibling != window; sibling = WuiNextSibling(sibling)) {
    RECT r;
    if (!WuiIsVisible(sibling) || !WuiGetRect(sibling, &r)) continue;
    if (r.left <= own.left && r.top <= own.top && r.right >= own.right && r.bottom >= own.bottom) continue;
    RECT local = {r.left - own.left, r.top - own.top, r.right - own.left, r.bottom - own.top};
    DuiExcludeClip(dc, &local);
  }
  Draw(ctx).paintDc = dc;
  if (control->type == 2) {
    CtlDrawOptionPicture(ctx, page, control, dc, nullptr);
  } else if (PlusOnLeft(ctx, control)) {
    CtlPaintScrollBarPlusLeft(ctx, page, control);
  } else {
    CtlPaintScrollBarPlusRight(ctx, page, control);
  }
  Draw(ctx).paintDc = NULL;
  DuiEndPaint(window, &paint);
}

void EraseBackground(DriverContext* ctx, const DlgControlRecord* control, HWND window, HDC dc) {
  RECT r = {};
  WuiGetClientRect(window, &r);
  const DlgDrawState& draw = Draw(ctx);
  HBRUSH brush;
  if (Restricted(control))
    brush = draw.buttonFaceBrush;
  else if (control->type == 47 || !draw.whiteBrush)
    brush = DuiStockBrush(WHITE_BRUSH);
  else
    brush = draw.whiteBrush;
  if (brush)
    DuiFillRectBrush(dc, &r, brush);
  else
    DuiFillRect(dc, &r, Restricted(control) ? DuiSysColor(COLOR_BTNFACE) : RGB(255, 255, 255));
}

LRESULT TypeMessage(DriverContext* ctx, DlgPageRecord* page, DlgControlRecord* control, UINT message, WPARAM wParam,
                    LPARAM lParam) {
  const CtlTypeRecord* type = CtlTypeOf(ctx, control->type);
  return type && type->message ? type->message(ctx, page, control, message, wParam, lParam) : 0;
}

}  // namespace

LRESULT CALLBACK CtlSubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* control = reinterpret_cast<DlgControlRecord*>(WuiGetSlot(window, GWL_USERDATA));
  HWND parent = WuiParent(window);
  auto* ctx = parent ? reinterpret_cast<DriverContext*>(WuiGetSlot(parent, DWL_USER)) : nullptr;
  if (!ctx || !ctx->ui || !control) return CallSaved(control, window, message, wParam, lParam);
  DlgPageRecord* page = PageFindByWindow(ctx, parent);
  if (ModBusRouteControl(ctx, page, control, message, wParam, lParam)) return 0;

  switch (message) {
    case WM_LBUTTONDOWN:
      PressHand(ctx, true);
      [[fallthrough]];
    case WM_LBUTTONDBLCLK:
      if (IsStepButton(control)) {
        WuiPost(window, kDlgMsgStepRepeat, message, 0);
      } else if (control->type == 84) {
        if (PressScrollBar(ctx, page, control, window, message, wParam, lParam)) return 0;
      }
      break;
    case kDlgMsgStepRepeat:
      if (StepRepeat* running = RepeatOf(window)) {
        running->done = 1;
      } else if (wParam && IsStepButton(control)) {
        RunStepRepeat(ctx, page, control, window, static_cast<UINT>(wParam));
      }
      return 0;
    case WM_TIMER:
      if (wParam == kRepeatTimer) {
        if (StepRepeat* running = RepeatOf(window)) {
          RepeatTick(ctx, page, control, running);
          return 0;
        }
      }
      break;
    case WM_CAPTURECHANGED:
    case WM_DESTROY:
    case WM_NCDESTROY:
      if (StepRepeat* running = RepeatOf(window)) running->done = 1;
      break;
    case WM_KEYUP:
      if (wParam == VK_SPACE && IsStepButton(control)) WuiPost(window, kDlgMsgStepRepeat, 0, 0);
      break;
    case WM_LBUTTONUP: {
      if (IsStepButton(control)) WuiPost(window, kDlgMsgStepRepeat, 0, 0);
      PressHand(ctx, false);
      if (control->type == 49 && TypeMessage(ctx, page, control, message, wParam, lParam)) return 0;
      if (control->type == 84 && HiddenOrRestricted(control)) return 0;
      if ((IsPicture(control) || Draw(ctx).handShown) && ReleasedClick(ctx, page, control, window, message, wParam, lParam))
        return 0;
      break;
    }
    case WM_RBUTTONDOWN:
      if (WuiKeyDown(VK_LBUTTON)) WuiPost(window, WM_LBUTTONUP, 0, 0);
      break;
    case WM_MOUSEMOVE:
      if (wParam & MK_LBUTTON) PressHand(ctx, true);
      if (StepRepeat* running = RepeatOf(window)) {
        RECT r = {};
        WuiGetClientRect(window, &r);
        if (!running->keyboard) running->inside = Inside(r, PointOf(lParam));
      }
      break;
    case WM_KEYDOWN:
      if (wParam == VK_SPACE && IsStepButton(control)) {
        if (!RepeatOf(window)) WuiPost(window, kDlgMsgStepRepeat, WM_KEYDOWN, 0);
      } else if ((wParam == VK_UP || wParam == VK_DOWN) && control->type == 63 && !(control->flags & kCtlNoArrowSteps)) {
        StepNumericEdit(ctx, page, control, wParam == VK_UP);
        return 0;
      }
      break;
    case WM_CHAR: {
      const WCHAR ch = static_cast<WCHAR>(wParam);
      if (control->type == 49 && TypeMessage(ctx, page, control, message, wParam, lParam)) return 0;
      if (control->type == 63) {
        if (g_ctlDropNextNumericChar) {
          g_ctlDropNextNumericChar = 0;
          return 0;
        }
        if (!CtlIsNumericChar(ctx, ch)) return 0;
      } else if (control->type == 61 && control->item && control->descriptor) {
        if (DropTextChar(window, control, ch)) return 0;
      }
      break;
    }
    case WM_PASTE:
      if (control->type == 61 && control->item && control->descriptor && PasteIntoTextEdit(window, control)) return 0;
      break;
    case WM_KILLFOCUS:
      if (control->type == 63) TypeMessage(ctx, page, control, message, wParam, lParam);
      if (control->type == 84) WuiInvalidate(window, FALSE);
      break;
    case WM_PAINT:
      if (control->type == 2 || control->type == 84) {
        PaintControl(ctx, page, control, window);
        return 0;
      }
      break;
    case WM_ERASEBKGND:
      if (control->type == 50 || control->type == 47 ||
          (IsPicture(control) && (control->controlId == kPlainPicture || control->controlId == 0))) {
        EraseBackground(ctx, control, window, reinterpret_cast<HDC>(wParam));
        return 1;
      }
      break;
    case WM_SETCURSOR:
      if (Draw(ctx).handShown) return 1;
      break;
    case WM_NCHITTEST: {
      if (control->type == 84 && !HiddenOrRestricted(control)) {
        POINT at = PointOf(lParam);
        WuiScreenToClient(window, &at);
        if (ArrowAtLimit(ctx, control, ArrowAt(window, at))) return HTERROR;
      }
      return HitTest(ctx, page, control, window, wParam, lParam);
    }
    default:
      break;
  }
  return CallSaved(control, window, message, wParam, lParam);
}

const HitAreaRow* CtlFindHotspotAtPoint(DriverContext* ctx, RECT* area, POINT point, const HitAreaRow* table) {
  if (!table) return nullptr;
  for (const HitAreaRow* row = table; row->value; ++row) {
    if (!row->area) continue;
    if (row->requiredItem && ItemGetValueById(ctx, row->requiredItem) != 1) continue;
    if (row->conditionItem && ItemGetValueById(ctx, row->conditionItem) != row->conditionValue) continue;
    RECT r = *row->area;
    for (const HitAreaShift* shift = row->shifts; shift && shift->item; ++shift)
      if (ItemGetValueById(ctx, shift->item) == 1) {
        r.left += shift->dx;
        r.right += shift->dx;
        r.top += shift->dy;
        r.bottom += shift->dy;
      }
    RECT test = r;
    if (point.x < 0) {
      // Areas of the right edge: left and right exchanged.
      test.left = -r.right;
      test.right = -r.left;
    }
    if (Inside(test, point)) {
      if (area) *area = r;
      return row;
    }
  }
  return nullptr;
}

void CtlSelectComboByData(DriverContext* ctx, DlgPageRecord* page, WORD controlId, LONG_PTR value) {
  DlgControlRecord* control = CtlFind(ctx, page, controlId);
  if (!control || !control->window) return;
  const int count = WuiChoiceCount(control->window);
  for (int i = 0; i < count; ++i) {
    if (WuiChoiceData(control->window, i) != value) continue;
    WuiChoiceSelect(control->window, i);
    const CtlTypeRecord* type = CtlTypeOf(ctx, control->type);
    if (type && type->command)
      type->command(ctx, page, control, MAKEWPARAM(0, CBN_SELCHANGE), reinterpret_cast<LPARAM>(control->window));
    return;
  }
}

int CtlPasteFitChars(const WCHAR* text, int length, int roomBytes) {
  if (!text) return 0;
  int bytes = 0, taken = 0;
  while (taken < length) {
    const int units = taken + 1 < length ? CharUnits(text + taken) : 1;
    const int more = AnsiBytes(text + taken, units);
    if (more <= 0 || bytes + more > roomBytes) break;
    bytes += more;
    taken += units;
  }
  return taken;
}

HCURSOR CtlHandCursor(DriverContext* ctx, bool pressed) {
  DlgDrawState& draw = Draw(ctx);
  HCURSOR& slot = pressed ? draw.pressedHandCursor : draw.handCursor;
  if (!slot) slot = WuiLoadCursor(ctx->languageDll, pressed ? 8001 : 8000);
  return slot;
}

int CtlIsNumericChar(DriverContext* ctx, WCHAR ch) {
  if ((ch >= '0' && ch <= '9') || ch == VK_BACK) return 1;
  return ch == (ItemLangUsesDecimalComma(ctx) ? ',' : '.') ? 1 : 0;
}

int UiScaleFontHeight(HDC dc, int height) {
  (void)dc;
  return height;
}
