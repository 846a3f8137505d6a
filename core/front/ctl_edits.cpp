// The edit control types: text and numeric edits, spin and value scroll bars, the trackbar.
#include "core/front/ctl_edits.h"

#include "core/common/draw_ui.h"
#include "core/common/text.h"
#include "core/common/window_ui.h"
#include "core/context/module_bus.h"
#include "core/context/ui_state.h"
#include "core/front/control_lookup.h"
#include "core/front/dialog_engine.h"
#include "core/front/draw_helpers.h"
#include "core/front/image_draw.h"
#include "core/front/page_lookup.h"
#include "core/items/item_access.h"
#include "core/items/item_ids.h"
#include "core/items/units.h"
#include "core/model/model_types.h"
#include "core/modules/free_size_limits.h"
#include "core/modules/quality_hooks.h"
#include "core/system/resources.h"

namespace {

constexpr int kTextChars = 1025;
constexpr int kNumberChars = 64;
constexpr int kUnitChars = 16;
// The two custom-size dialogs whose size edits are held inside their limits at kill focus.
constexpr WORD kSlotSizeDialog = 1017;
constexpr WORD kUserSizeDialog = 1041;

bool IsLength(const DlgControlRecord* control) { return (control->flags & kCtlDisplayLength) != 0; }
bool IsRestricted(const DlgControlRecord* control) { return (control->state & kControlRestrictedMask) != 0; }

const NumericValueRecord* NumericRecord(const DlgControlRecord* control) {
  const ModelItemDescriptor* d = control->descriptor;
  if (!d || !d->values || (d->type & ~kModelTypeFlags & 0xFF) != kModelTypeNumeric) return nullptr;
  return static_cast<const NumericValueRecord*>(d->values);
}

const StringValueRecord* StringRecord(const DlgControlRecord* control) {
  const ModelItemDescriptor* d = control->descriptor;
  if (!d || !d->values || (d->type & ~kModelTypeFlags & 0xFF) != kModelTypeString) return nullptr;
  return static_cast<const StringValueRecord*>(d->values);
}

bool InSettingsArea(const SettingItem* item) { return item && ItemDescArea(item->descriptor) != ItemAreaNone; }

const CtlExtRamp* RampOf(const DlgControlRecord* control) {
  return reinterpret_cast<const CtlExtRamp*>(CtlGetExtension(control, kCtlExtColourRamp));
}

LONG Clamp(LONG value, LONG low, LONG high) { return value < low ? low : value > high ? high : value; }

// The display unit's divisor: 0.1 mm or 0.01 inch.
LONG LengthDivisor(DriverContext* ctx) { return ItemIsMetricUnit(ctx) ? 10 : 100; }

bool JustChanged(const SettingItem* item) {
  return item && (item->state & ItemStateChangeMask) == ItemStateChanged;
}

// The parse with what the edits check besides the value: the whole-number part and whether
// the digits overflowed.
struct ParsedNumber {
  LONG value = 0;
  LONGLONG whole = 0;
  bool overflow = false;
};

ParsedNumber ParseNumber(const WCHAR* text, LONG divisor, DriverContext* ctx) {
  ParsedNumber out;
  if (!text) return out;
  const WCHAR* p = text;
  while (*p && (*p < '0' || *p > '9')) ++p;
  if (!*p) return out;
  const bool negative = p > text && p[-1] == '-';
  int decimals = 0;
  for (LONG d = divisor; d >= 10 && d % 10 == 0; d /= 10) ++decimals;
  constexpr LONGLONG kMost = 0x7FFFFFFF;
  LONGLONG magnitude = 0;
  for (; *p >= '0' && *p <= '9'; ++p) {
    if (magnitude <= kMost) magnitude = magnitude * 10 + (*p - '0');
  }
  out.whole = magnitude;
  const bool comma = ctx && ItemLangUsesDecimalComma(ctx);
  int read = 0;
  if (*p == '.' || (comma && *p == ',')) {
    ++p;
    for (; read < decimals && *p >= '0' && *p <= '9'; ++p, ++read)
      if (magnitude <= kMost) magnitude = magnitude * 10 + (*p - '0');
  }
  for (; read < decimals; ++read)
    if (magnitude <= kMost) magnitude *= 10;
  if (magnitude > kMost) {
    out.overflow = true;
    return out;
  }
  out.value = static_cast<LONG>(negative ? -magnitude : magnitude);
  return out;
}

void LoadUnitText(DriverContext* ctx, const NumericValueRecord* rec, WCHAR* unit) {
  unit[0] = 0;
  if (rec && rec->numbers[0]) ResLoadString(ctx, rec->numbers[0], unit, kUnitChars, TRUE);
}

// Whether a value fits the item's integer type (the widths of s8 to u32).
bool FitsItemType(const SettingItem* item, LONG value) {
  switch (ItemDescType(item->descriptor)) {
    case ItemTypeS8: return value >= -128 && value <= 127;
    case ItemTypeS16: return value >= -32768 && value <= 0x7FFF;
    case ItemTypeU8: return value >= 0 && value <= 0xFF;
    case ItemTypeU16: return value >= 0 && value <= 0xFFFF;
    case ItemTypeU32: return value >= 0;
    default: return true;
  }
}

bool IsIntegerItem(const SettingItem* item) {
  const UINT t = item ? ItemDescType(item->descriptor) : 0;
  return t >= ItemTypeS8 && t <= ItemTypeU32;
}

// The text a numeric edit shows for a value in the item's unit: fixed-point in display units
// for a length, with the description's decimals otherwise, then the unit text.
void FormatNumber(DriverContext* ctx, const DlgControlRecord* control, LONG shown, WCHAR* out) {
  const NumericValueRecord* rec = NumericRecord(control);
  const LONG divisor = IsLength(control) ? LengthDivisor(ctx) : rec ? rec->numbers[2] : 0;
  StrFormatFixedPoint(out, kNumberChars - kUnitChars, divisor, shown, ItemLangUsesDecimalComma(ctx));
  WCHAR unit[kUnitChars];
  LoadUnitText(ctx, rec, unit);
  const DWORD length = StrWideLength(out);
  StrCopyCut(out + length, kNumberChars - length, unit);
}

// Copies text, each two-character sequence `from` becoming the two characters `to`: CR LF and
// backslash 'n' of the multi-line edits. A pair that does not fit whole ends the copy.
void SwapPairs(const WCHAR* text, WCHAR* out, int cchOut, const char (&from)[3], const char (&to)[3]) {
  int n = 0;
  for (; *text && n < cchOut - 1; ++text) {
    if (text[0] == from[0] && text[1] == from[1]) {
      if (n + 2 > cchOut - 1) break;
      out[n++] = to[0];
      out[n++] = to[1];
      ++text;
    } else {
      out[n++] = *text;
    }
  }
  out[n] = 0;
}
void LineBreaksToText(const WCHAR* text, WCHAR* out, int cchOut) { SwapPairs(text, out, cchOut, "\r\n", "\\n"); }
void TextToLineBreaks(const WCHAR* text, WCHAR* out, int cchOut) { SwapPairs(text, out, cchOut, "\\n", "\r\n"); }

bool IsMultiLine(HWND edit) { return (WuiGetStyle(edit) & ES_MULTILINE) != 0; }

void SetTextIfDiffers(HWND window, const WCHAR* text) {
  WCHAR current[2 * kTextChars];
  WuiGetText(window, current, 2 * kTextChars);
  if (!StrWideEqual(current, text)) WuiSetText(window, text);
}

bool IsBlank(WCHAR c) { return c == ' ' || c == '\t'; }

// The numeric edit's accepted text, kept for putting a refused character back.
void RememberText(DriverContext* ctx, HWND edit, const WCHAR* text) {
  if (!ctx->ui) return;
  DlgDrawState& draw = ctx->ui->dialog.draw;
  draw.editWindow = edit;
  StrCopyCut(draw.editText, kNumberChars, text);
}

// Takes a refused character (or paste) back: the last accepted text returns and the caret goes
// where it stood before the refused characters came in.
void RefuseTyping(DriverContext* ctx, DlgControlRecord* control, const WCHAR* refused) {
  HWND edit = control->window;
  WCHAR previous[kNumberChars];
  if (ctx->ui && ctx->ui->dialog.draw.editWindow == edit) {
    StrCopyCut(previous, kNumberChars, ctx->ui->dialog.draw.editText);
  } else {
    LONG value = control->item ? static_cast<LONG>(ItemGetValue(ctx, control->item)) : 0;
    FormatNumber(ctx, control, IsLength(control) ? ItemDotsToDisplay(ctx, 0, value) : value, previous);
  }
  int start = 0, caret = 0;
  WuiEditGetSelection(edit, &start, &caret);
  const int added = static_cast<int>(StrWideLength(refused)) - static_cast<int>(StrWideLength(previous));
  const int back = static_cast<int>(Clamp(caret - (added > 0 ? added : 0), 0, static_cast<LONG>(StrWideLength(previous))));
  WuiSetText(edit, previous);
  WuiEditSelect(edit, back, back);
}

// Event 58: a nonzero answer means the bar's scale runs from the right.
bool RunsBackwards(DriverContext* ctx, DlgControlRecord* control) {
  QualityScrollEvent e = {control, 0};
  ModBusSendEvent(ctx, kEventBarBackwards, &e);
  return e.flag != 0;
}

// The bar's range as its numeric description gives it, else low to high.
void RecordRange(const DlgControlRecord* control, LONG low, LONG high, LONG* minimum, LONG* maximum) {
  const NumericValueRecord* rec = NumericRecord(control);
  *minimum = rec ? rec->minimum : low;
  *maximum = rec ? rec->maximum : high;
}

// An arrow face: the raised (or pressed) button with the minus bar, and the plus bar when it
// carries the plus sign.
void DrawArrowFace(DriverContext* ctx, DlgPageRecord* page, DlgControlRecord* control, HDC dc, const RECT& face,
                   bool plus, bool pressed) {
  CtlDrawButtonFace(ctx, page, control, NULL, dc, &face, 2, pressed ? TRUE : FALSE, pressed ? TRUE : FALSE);
  const COLORREF ink = DuiSysColor(COLOR_MENUTEXT);
  const LONG middleY = (face.top + face.bottom) / 2;
  RECT minus = {face.left + 3, middleY - 1, face.right - 4, middleY + 1};
  DuiFillRect(dc, &minus, ink);
  if (plus) {
    const LONG middleX = (face.left + face.right) / 2;
    RECT upright = {middleX - 1, face.top + 4, middleX + 1, face.bottom - 4};
    DuiFillRect(dc, &upright, ink);
  }
}

// A scroll bar's position after a scroll code: the step of codes 0-7 (the thumb codes 4 and 5
// take the thumb position), any other code keeps it; held in the bar's range, whose maximum
// goes to *maximum when it is given.
LONG MovedPosition(HWND bar, WPARAM wParam, const LONG (&steps)[8], LONG* maximum) {
  LONG position = WuiScrollGetPos(bar);
  const WORD code = LOWORD(wParam);
  if (code == SB_THUMBPOSITION || code == SB_THUMBTRACK)
    position = static_cast<SHORT>(HIWORD(wParam));
  else if (code < 8)
    position += steps[code];
  int low = 0, high = 0;
  WuiScrollGetRange(bar, &low, &high);
  if (maximum) *maximum = high;
  return Clamp(position, low, high);
}

// A window's rectangle on the screen: its own rectangle moved by each parent's.
RECT ScreenRect(HWND window) {
  RECT rect = {0, 0, 0, 0};
  WuiGetRect(window, &rect);
  for (HWND parent = WuiParent(window); parent; parent = WuiParent(parent)) {
    RECT outer;
    if (!WuiGetRect(parent, &outer)) break;
    rect.left += outer.left;
    rect.right += outer.left;
    rect.top += outer.top;
    rect.bottom += outer.top;
  }
  return rect;
}

}  // namespace

LONG CtlParseScaledNumber(const WCHAR* text, LONG divisor, DriverContext* ctx) {
  return ParseNumber(text, divisor, ctx).value;
}

int UiGetScrollArrowWidth() { return DuiScrollArrowWidth(); }

// ---- text edits ----

void CtlInitEdit(const CtlTypeRecord* type, DriverContext* ctx, DlgPageRecord* page, DlgControlRecord* control) {
  (void)type;
  (void)ctx;
  (void)page;
  HWND edit = control ? control->window : NULL;
  if (!edit) return;
  if (const StringValueRecord* rec = StringRecord(control)) {
    int limit = rec->maxLength;
    if (limit > 260 && (control->flags & kCtlLimit260)) limit = 260;
    WuiEditLimit(edit, limit);
    if (rec->flag == kModelStringPassword) WuiEditPasswordChar(edit, '*');
    return;
  }
  if (!control->item) return;
  const UINT size = ItemDescSize(control->item->descriptor);
  const int chars = ItemTypeIsWideText(ItemDescType(control->item->descriptor)) ? static_cast<int>(size / 2) - 1
                                                                                 : static_cast<int>(size) - 1;
  WuiEditLimit(edit, chars > 0 ? chars : 0);
}

void CtlShowEditText(DriverContext* ctx, DlgPageRecord* page, DlgControlRecord* control) {
  (void)page;
  HWND edit = control ? control->window : NULL;
  if (!edit || CtlGetExtension(control, kCtlExtPicture)) return;
  WCHAR text[kTextChars] = {};
  if (InSettingsArea(control->item))
    ItemGetTextBounded(ctx, control->item, text, kTextChars);
  else
    WuiGetText(edit, text, kTextChars);
  if (IsMultiLine(edit)) {
    WCHAR shown[2 * kTextChars];
    TextToLineBreaks(text, shown, 2 * kTextChars);
    SetTextIfDiffers(edit, shown);
  } else {
    SetTextIfDiffers(edit, text);
  }
}

int CtlTakeEditText(DriverContext* ctx, DlgPageRecord* page, DlgControlRecord* control, WPARAM wParam,
                    LPARAM lParam) {
  (void)lParam;
  HWND edit = control ? control->window : NULL;
  SettingItem* item = control ? control->item : nullptr;
  if (!edit || !InSettingsArea(item)) return 0;
  const WORD code = HIWORD(wParam);
  const int size = static_cast<int>(ItemDescSize(item->descriptor));
  if (size < 1) return 0;
  if (code == EN_KILLFOCUS) {
    WCHAR typed[2 * kTextChars], text[kTextChars];
    WuiGetText(edit, typed, size + 2 < 2 * kTextChars ? size + 2 : 2 * kTextChars);
    if (IsMultiLine(edit))
      LineBreaksToText(typed, text, kTextChars);
    else
      StrCopyCut(text, kTextChars, typed);
    if (control->flags & kCtlKeepBlanks) return 0;
    const WCHAR* first = text;
    while (IsBlank(*first)) ++first;
    DWORD length = StrWideLength(first);
    while (length > 0 && IsBlank(first[length - 1])) --length;
    if (length == StrWideLength(text)) return 0;
    WCHAR trimmed[kTextChars];
    StrCopyCut(trimmed, length + 1, first);
    ItemSetText(ctx, item, trimmed);
    CtlShowEditText(ctx, page, control);
    return 1;
  }
  if (code == EN_CHANGE || code == EN_UPDATE) {
    WCHAR typed[kTextChars], text[kTextChars], fitted[kTextChars], current[kTextChars];
    WuiGetText(edit, typed, kTextChars);
    if (IsMultiLine(edit))
      LineBreaksToText(typed, text, kTextChars);
    else
      StrCopyCut(text, kTextChars, typed);
    // What the item can hold: the system code page within its size less one byte.
    char narrow[2 * kTextChars];
    StrWideToAnsi(narrow, text, size < 2 * kTextChars ? size : 2 * kTextChars);
    StrAnsiToWide(fitted, narrow, kTextChars);
    ItemGetTextBounded(ctx, item, current, kTextChars);
    if (!StrWideEqual(current, fitted)) ItemSetText(ctx, item, fitted);
    return 1;
  }
  return 0;
}

// ---- numeric edits ----

void CtlInitNumericEdit(const CtlTypeRecord* type, DriverContext* ctx, DlgPageRecord* page,
                        DlgControlRecord* control) {
  (void)type;
  (void)page;
  HWND edit = control ? control->window : NULL;
  if (!edit) return;
  const NumericValueRecord* rec = NumericRecord(control);
  if (!rec) {
    WuiEditLimit(edit, 6);
    return;
  }
  WCHAR unit[kUnitChars];
  LoadUnitText(ctx, rec, unit);
  WuiEditLimit(edit, rec->numbers[1] + static_cast<int>(StrWideLength(unit)));
}

void CtlShowNumericEdit(DriverContext* ctx, DlgPageRecord* page, DlgControlRecord* control) {
  (void)page;
  HWND edit = control ? control->window : NULL;
  if (!edit) return;
  const NumericValueRecord* rec = NumericRecord(control);
  const bool length = IsLength(control);
  WCHAR text[kNumberChars];
  WuiGetText(edit, text, kNumberChars);
  LONG parsed;
  if (length) {
    // A change of display unit makes the old text meaningless.
    if (JustChanged(ItemFind(ctx, kItem_zdmDspUnit))) text[0] = 0;
    parsed = ItemDisplayToDots(ctx, 0, CtlParseScaledNumber(text, LengthDivisor(ctx), ctx));
  } else {
    parsed = CtlParseScaledNumber(text, rec ? rec->numbers[2] : 0, ctx);
  }
  const bool empty = text[0] == 0;

  FreeSizeValueEvent shown = {control, kCtlNoAnswer};
  ModBusSendEvent(ctx, kEventEditShown, &shown);
  LONG value;
  if (shown.value != kCtlNoAnswer)
    value = length ? ItemDisplayToDots(ctx, 0, shown.value) : shown.value;
  else
    value = control->item ? static_cast<LONG>(ItemGetValue(ctx, control->item)) : 0;
  bool leaveAlone = false;
  if (length && !ItemIsMetricUnit(ctx)) {
    FreeSizeInchFlagEvent inch = {control, 0};
    ModBusSendEvent(ctx, kEventEditInchCapable, &inch);
    if (inch.flag && CtlParseScaledNumber(text, 100, ctx) == ItemDotsToDisplay(ctx, 0, value)) leaveAlone = true;
  }

  // The text is not rewritten while the user works in it.
  const bool focused = WuiGetFocus() == edit;
  if ((!empty || focused) && (!JustChanged(control->item) || focused) && (parsed == value || leaveAlone)) return;

  LONG display = value;
  if (length) {
    if (empty && rec && control->item) {
      const LONG held = Clamp(value, rec->minimum, rec->maximum);
      if (held != value && (WuiGetStyle(edit) & WS_VISIBLE)) ItemSetValue(ctx, control->item, held);
      value = held;
    }
    display = ItemDotsToDisplay(ctx, 0, value);
    LONG low, high;
    if (rec && value >= rec->minimum && value <= rec->maximum && CtlDisplayRange(ctx, control, &low, &high))
      display = Clamp(display, low, high);
  }
  WCHAR out[kNumberChars];
  FormatNumber(ctx, control, display, out);
  RememberText(ctx, edit, out);
  SetTextIfDiffers(edit, out);
}

int CtlTakeNumericEdit(DriverContext* ctx, DlgPageRecord* page, DlgControlRecord* control, WPARAM wParam,
                       LPARAM lParam) {
  (void)page;
  (void)lParam;
  HWND edit = control ? control->window : NULL;
  if (!edit) return 0;
  const NumericValueRecord* rec = NumericRecord(control);
  const WORD code = HIWORD(wParam);
  if (code == EN_CHANGE) {
    SettingItem* item = control->item;
    if (!IsIntegerItem(item)) return 0;
    WCHAR text[kNumberChars];
    WuiGetText(edit, text, kNumberChars);
    const bool length = rec && IsLength(control);
    ParsedNumber typed = ParseNumber(text, !rec ? 1 : length ? LengthDivisor(ctx) : rec->numbers[2], ctx);
    const LONG value = length ? ItemDisplayToDots(ctx, 0, typed.value) : typed.value;
    // Refused: digits beyond 32 bits, a value the item cannot hold, a negative or too long length.
    bool refuse = typed.overflow || !FitsItemType(item, value);
    if (length) {
      const LONG limit = ItemIsMetricUnit(ctx) ? kLengthWholeLimitMm : kLengthWholeLimitInch;
      if (typed.value < 0 || typed.whole > limit) refuse = true;
    }
    if (refuse) {
      RefuseTyping(ctx, control, text);
      return 0;
    }
    RememberText(ctx, edit, text);
    const LONG current = static_cast<LONG>(ItemGetValue(ctx, item));
    if (length && typed.value == ItemDotsToDisplay(ctx, 0, current)) return 0;
    if (value == current) return 0;
    FreeSizeValueEvent e = {control, length ? typed.value : value};
    ModBusSendEvent(ctx, kEventEditTyped, &e);
    ItemSetValue(ctx, item, value);
    return 1;
  }
  if (code == EN_UPDATE && rec && rec->numbers[0]) {
    WCHAR unit[kUnitChars], text[kNumberChars];
    LoadUnitText(ctx, rec, unit);
    WuiGetText(edit, text, kNumberChars);
    const DWORD unitLength = StrWideLength(unit), textLength = StrWideLength(text);
    const bool endsWithUnit = unitLength && textLength >= unitLength && StrWideEqual(text + textLength - unitLength, unit);
    WuiEditLimit(edit, rec->numbers[1] + (endsWithUnit ? static_cast<int>(unitLength) : 0));
  }
  return 0;
}

int CtlNumericEditMessage(DriverContext* ctx, DlgPageRecord* page, DlgControlRecord* control, UINT message,
                          WPARAM wParam, LPARAM lParam) {
  (void)wParam;
  (void)lParam;
  if (message != WM_KILLFOCUS || !control) return 0;
  HWND edit = control->window;
  SettingItem* item = control->item;
  const NumericValueRecord* rec = NumericRecord(control);
  const bool length = IsLength(control);
  if (rec && item) {
    WCHAR text[kNumberChars];
    WuiGetText(edit, text, kNumberChars);
    FreeSizeValueEvent asked = {control, kCtlNoAnswer};
    ModBusSendEvent(ctx, kEventEditCommitting, &asked);
    const bool answered = asked.value != kCtlNoAnswer;
    LONG current;
    if (answered)
      current = length ? ItemDisplayToDots(ctx, 0, asked.value) : asked.value;
    else
      current = static_cast<LONG>(ItemGetValue(ctx, item));
    LONG typed;
    if (length) {
      WCHAR formatted[kNumberChars];
      FormatNumber(ctx, control, ItemDotsToDisplay(ctx, 0, current), formatted);
      typed = StrWideEqual(text, formatted)
                  ? current
                  : ItemDisplayToDots(ctx, 0, CtlParseScaledNumber(text, LengthDivisor(ctx), ctx));
    } else {
      // Held inside the description's range before it is stored.
      typed = Clamp(CtlParseScaledNumber(text, rec->numbers[2], ctx), rec->minimum, rec->maximum);
    }
    if (typed != current) {
      if (answered) {
        FreeSizeValueEvent stored = {control, typed};
        ModBusSendEvent(ctx, kEventEditCommitted, &stored);
      }
      ItemSetValue(ctx, item, typed);
    }
  }
  CtlCommitValue(ctx, page, control, 0, 0);
  if (length && item && page && (page->dialogId == kSlotSizeDialog || page->dialogId == kUserSizeDialog)) {
    LONG low, high;
    const LONG display = ItemDotsToDisplay(ctx, 0, static_cast<LONG>(ItemGetValue(ctx, item)));
    if (CtlDisplayRange(ctx, control, &low, &high) && (display < low || display > high)) {
      FreeSizeValueEvent held = {control, ItemDisplayToDots(ctx, 0, display < low ? low : high)};
      ModBusSendEvent(ctx, kEventEditCommitted, &held);
      ItemSetValue(ctx, item, held.value);
    }
  }
  WuiInvalidate(edit, TRUE);
  return 1;
}

// ---- spin scroll bars ----

void CtlInitScrollBar(const CtlTypeRecord* type, DriverContext* ctx, DlgPageRecord* page, DlgControlRecord* control) {
  (void)type;
  HWND bar = control ? control->window : NULL;
  if (!bar) return;
  LONG minimum, maximum;
  RecordRange(control, -100, 100, &minimum, &maximum);
  if (IsLength(control)) CtlDisplayRange(ctx, control, &minimum, &maximum);
  FreeSizeRangeEvent range = {control, 0, 0, 0};
  ModBusSendEvent(ctx, kEventSpinRange, &range);
  if (range.given == 1) {
    maximum = range.maximum;
    minimum = range.minimum;
  }
  WuiScrollSetRange(bar, minimum, maximum, FALSE);
  CtlShowValue(ctx, page, control);
}

void CtlShowScrollBarValue(DriverContext* ctx, DlgPageRecord* page, DlgControlRecord* control) {
  (void)page;
  HWND bar = control ? control->window : NULL;
  if (!bar) return;
  LONG position = control->item ? static_cast<LONG>(ItemGetValue(ctx, control->item)) : 0;
  if (IsLength(control)) {
    LONG low, high;
    int now_low = 0, now_high = 0;
    if (CtlDisplayRange(ctx, control, &low, &high) && WuiScrollGetRange(bar, &now_low, &now_high) &&
        (now_low != low || now_high != high))
      WuiScrollSetRange(bar, low, high, FALSE);
    position = ItemDotsToDisplay(ctx, 0, position);
  }
  WuiScrollSetPos(bar, position, TRUE);
  if (IsRestricted(control) && WuiIsEnabled(bar)) WuiEnable(bar, FALSE);
}

int CtlScrollBarMessage(DriverContext* ctx, DlgPageRecord* page, DlgControlRecord* control, UINT message,
                        WPARAM wParam, LPARAM lParam) {
  HWND bar = control ? control->window : NULL;
  if (message != WM_VSCROLL || !bar || reinterpret_cast<HWND>(lParam) != bar || IsRestricted(control)) return 0;
  const CtlExtRamp* ramp = RampOf(control);
  const LONG line = 1, pageStep = ramp && ramp->picture ? ramp->pageStep : 0;
  // SB_LINEUP, SB_LINEDOWN, SB_PAGEUP, SB_PAGEDOWN; the thumb codes; SB_TOP and SB_BOTTOM keep.
  const LONG steps[8] = {line, -line, pageStep, -pageStep, 0, 0, 0, 0};
  const LONG position = MovedPosition(bar, wParam, steps, nullptr);
  LONG value = position;
  if (IsLength(control)) {
    FreeSizeValueEvent moved = {control, position};
    ModBusSendEvent(ctx, kEventSpinMoved, &moved);
    value = ItemDisplayToDots(ctx, 0, position);
  }
  if (control->item) ItemSetValue(ctx, control->item, value);
  if (DlgControlRecord* partner = control->partner ? CtlFind(ctx, page, control->partner) : nullptr)
    if (partner->window) WuiPost(partner->window, WM_PAINT, 0, 0);
  if (page && page->window) WuiSend(WuiParent(page->window), PSM_CHANGED, reinterpret_cast<WPARAM>(page->window), 0);
  return 1;
}

// ---- value scroll bars ----

void CtlInitValueScrollBar(const CtlTypeRecord* type, DriverContext* ctx, DlgPageRecord* page,
                           DlgControlRecord* control) {
  (void)type;
  (void)ctx;
  (void)page;
  HWND bar = control ? control->window : NULL;
  if (!bar) return;
  LONG minimum, maximum;
  RecordRange(control, 0, 200, &minimum, &maximum);
  WuiScrollSetRange(bar, minimum, maximum, TRUE);
  WuiEnableScrollBar(bar, ESB_ENABLE_BOTH);
  if (control->type == 84) WuiSwitchOffTheme(bar);
}

void CtlShowValueScrollBar(DriverContext* ctx, DlgPageRecord* page, DlgControlRecord* control) {
  (void)page;
  HWND bar = control ? control->window : NULL;
  if (!bar) return;
  WuiScrollSetPos(bar, control->item ? static_cast<int>(ItemGetValue(ctx, control->item)) : 0, TRUE);
  if (IsRestricted(control)) WuiEnable(bar, FALSE);
}

void CtlShowValueScrollBarAlt(DriverContext* ctx, DlgPageRecord* page, DlgControlRecord* control) {
  HWND bar = control ? control->window : NULL;
  if (!bar) return;
  const bool backwards = RunsBackwards(ctx, control);
  LONG position = control->item ? static_cast<LONG>(ItemGetValue(ctx, control->item)) : 0;
  if (backwards) {
    int low = 0, high = 0;
    WuiScrollGetRange(bar, &low, &high);
    position = Clamp(high - position, low, high);
  }
  WuiScrollSetPos(bar, position, TRUE);
  if (IsRestricted(control)) WuiEnable(bar, FALSE);
  CtlPaintScrollBar(ctx, page, control, backwards ? TRUE : FALSE);
}

int CtlValueScrollBarMessage(DriverContext* ctx, DlgPageRecord* page, DlgControlRecord* control, UINT message,
                             WPARAM wParam, LPARAM lParam) {
  HWND bar = control ? control->window : NULL;
  if (!bar) return 0;
  const CtlExtRamp* ramp = RampOf(control);
  const bool withRamp = ramp && ramp->picture;
  if (message == WM_HSCROLL) {
    if (reinterpret_cast<HWND>(lParam) != bar || IsRestricted(control)) return 0;
    const LONG line = withRamp ? ramp->lineStep : 1, pageStep = withRamp ? ramp->pageStep : 10;
    // SB_LINELEFT, SB_LINERIGHT, SB_PAGELEFT, SB_PAGERIGHT; the thumb codes; SB_LEFT, SB_RIGHT.
    const LONG steps[8] = {-line, line, -pageStep, pageStep, 0, 0, -1, 1};
    LONG high = 0;
    const LONG position = MovedPosition(bar, wParam, steps, &high);
    const LONG value = RunsBackwards(ctx, control) ? high - position : position;
    CtlApplyValue(ctx, page, control, value);
    DlgRefreshControls(ctx, page, 0);
    return 1;
  }
  if (message == WM_CTLCOLORSCROLLBAR) {
    if (reinterpret_cast<HWND>(lParam) != bar || control->type != 84 || !withRamp || !page) return 0;
    WuiSetSlot(page->window, DWL_MSGRESULT, reinterpret_cast<LONG_PTR>(DuiStockBrush(NULL_BRUSH)));
    return 1;
  }
  if (message == WM_LBUTTONDOWN && control->type == 84 && page) {
    RECT client;
    if (!WuiGetClientRect(bar, &client)) return 0;
    const int arrow = UiGetScrollArrowWidth();
    const int x = static_cast<SHORT>(LOWORD(lParam));
    const bool left = x < client.left + arrow;
    if (!left && x < client.right - arrow) return 0;
    const bool plus = left == RunsBackwards(ctx, control);
    const RECT screen = ScreenRect(bar);
    RECT over = {left ? screen.left : screen.right - arrow, screen.top, 0, screen.bottom};
    over.right = over.left + arrow;
    DlgPageRecord* current = ctx ? PageFind(ctx, ctx->currentPage) : nullptr;
    HWND popup = WuiCreateChild(current ? current->window : NULL, TEXT("STATIC"), TEXT(""), WS_POPUP, 0, &over, 0,
                                ResLoadLanguageDll(ctx), NULL);
    if (!popup) return 0;
    WuiShow(popup, SW_SHOWNA);
    HDC dc = UiGetControlDc(ctx, popup);
    const RECT face = {0, 0, arrow, over.bottom - over.top};
    DrawArrowFace(ctx, page, control, dc, face, plus, true);
    UiReleaseControlDc(ctx, popup, dc);
    page->window = popup;
    return 1;
  }
  return 0;
}

void CtlPaintScrollBar(DriverContext* ctx, DlgPageRecord* page, DlgControlRecord* control, BOOL plusOnLeft) {
  HWND bar = control ? control->window : NULL;
  if (!bar) return;
  int low = 0, high = 0;
  RECT client;
  if (!WuiScrollGetRange(bar, &low, &high) || high == low || !WuiGetClientRect(bar, &client)) return;
  const int arrow = UiGetScrollArrowWidth();
  const LONG width = client.right - client.left;
  const LONG position = WuiScrollGetPos(bar);
  HDC dc = UiGetControlDc(ctx, bar);
  if (!dc) return;
  const CtlExtRamp* ramp = RampOf(control);
  if (ramp && ramp->picture && ResBuildDisplayPalette(NULL, -1, 0) == 0) {
    RECT track = {client.left + arrow, client.top, client.right - arrow, client.bottom};
    ResBeginBufferedDraw(ctx);
    ResDrawImage(ctx, page, control, dc, &track, track.left, track.top, MAKEINTRESOURCEW(ramp->picture), kImgOpaque,
                 FALSE);
    ResEndBufferedDraw(ctx, bar, &track);
  }
  const RECT leftArrow = {client.left, client.top, client.left + arrow, client.bottom};
  const RECT rightArrow = {client.right - arrow, client.top, client.right, client.bottom};
  DrawArrowFace(ctx, page, control, dc, leftArrow, plusOnLeft != FALSE, false);
  DrawArrowFace(ctx, page, control, dc, rightArrow, plusOnLeft == FALSE, false);
  const LONG x = client.left + arrow +
                 static_cast<LONG>(static_cast<LONGLONG>(width - 3 * arrow) * (position - low) / (high - low));
  const RECT thumb = {x, client.top, x + arrow, client.bottom};
  CtlDrawButtonFace(ctx, page, control, NULL, dc, &thumb, 2, FALSE, WuiGetFocus() == bar ? TRUE : FALSE);
  UiReleaseControlDc(ctx, bar, dc);
}

void CtlPaintScrollBarPlusRight(DriverContext* ctx, DlgPageRecord* page, DlgControlRecord* control) {
  CtlPaintScrollBar(ctx, page, control, FALSE);
}

void CtlPaintScrollBarPlusLeft(DriverContext* ctx, DlgPageRecord* page, DlgControlRecord* control) {
  CtlPaintScrollBar(ctx, page, control, TRUE);
}

// ---- trackbar ----

void CtlInitTrackbar(const CtlTypeRecord* type, DriverContext* ctx, DlgPageRecord* page, DlgControlRecord* control) {
  (void)type;
  (void)page;
  HWND trackbar = control ? control->window : NULL;
  if (!trackbar) return;
  LONG minimum, maximum;
  RecordRange(control, 0, 200, &minimum, &maximum);
  WuiTrackSetRange(trackbar, minimum, maximum, FALSE);
  WuiTrackSetPos(trackbar, control->item ? static_cast<int>(ItemGetValue(ctx, control->item)) : 0, TRUE);
}

void CtlShowTrackbarValue(DriverContext* ctx, DlgPageRecord* page, DlgControlRecord* control) {
  (void)page;
  HWND trackbar = control ? control->window : NULL;
  if (!trackbar) return;
  WuiTrackSetPos(trackbar, control->item ? static_cast<int>(ItemGetValue(ctx, control->item)) : 0, TRUE);
}

int CtlTrackbarMessage(DriverContext* ctx, DlgPageRecord* page, DlgControlRecord* control, UINT message,
                       WPARAM wParam, LPARAM lParam) {
  (void)page;
  (void)wParam;
  HWND trackbar = control ? control->window : NULL;
  if (message != WM_HSCROLL || !trackbar || reinterpret_cast<HWND>(lParam) != trackbar || !control->item) return 0;
  ItemSetValue(ctx, control->item, WuiTrackGetPos(trackbar));
  return 1;
}
