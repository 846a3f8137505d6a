// The simple control types: value texts, pictures, push buttons, check boxes and radio buttons.
#include "core/front/ctl_simple.h"

#include "core/common/draw_ui.h"
#include "core/common/window_ui.h"
#include "core/context/module_bus.h"
#include "core/context/ui_state.h"
#include "core/front/dialog_engine.h"
#include "core/front/control_lookup.h"
#include "core/front/ctl_subclass.h"
#include "core/front/draw_helpers.h"
#include "core/system/resources.h"
#include "core/front/image_draw.h"
#include "core/front/picture_parts.h"
#include "core/items/item_access.h"
#include "core/model/model_lookup.h"
#include "core/model/model_types.h"
#include "core/modules/quality_hooks.h"
#include "core/rules/judge_eval.h"
#include "core/system/resources.h"
#include "core/system/user_messages.h"

namespace {

constexpr int kTextChars = 1025;

// Pictures of a control's values that differ from the value's own picture, with a grey form
// for a restricted control.
struct PictureRow {
  WORD controlId;
  WORD value;
  WORD picture;
  WORD greyPicture;
  WORD extra;
};
static_assert(sizeof(PictureRow) == 10, "PictureRow is 10 bytes");
const PictureRow kPictures[] = {
    {2937, 13137, 7447, 7451, 0},
    {2937, 13138, 7446, 7450, 0},
    {2937, 13139, 7445, 7449, 0},
    {2937, 13140, 7448, 7452, 0},
    {0, 0, 0, 0, 0},
};

struct CaptionRow {
  WORD controlId;
  WORD stringId;
};
const CaptionRow kCaptions[] = {
    {2037, kCaptionNone}, {2038, kCaptionNone}, {2079, kCaptionNone}, {2080, kCaptionNone},
    {2096, kCaptionNone}, {2097, kCaptionNone}, {2114, kCaptionNone}, {2115, kCaptionNone},
    {2714, kCaptionNone}, {2715, kCaptionNone}, {2003, 13187},        {2002, kCaptionNone},
    {2140, 13191},        {2143, 13189},        {2144, 13190},        {2502, 13192},
    {2503, 13193},        {2792, 13194},        {2802, 13195},        {2803, 13196},
    {2922, kCaptionNone}, {2923, kCaptionNone}, {3114, kCaptionNone}, {3115, kCaptionNone},
    {0, 0},
};

// The page pictures the watermark is drawn on: portrait, then landscape.
const WORD kPortraitPages[] = {6001, 6004, 6005, 6008, 6009, 6011, 6013, 6016, 6017, 6019, 6021, 6023,
                               6025, 6027, 6029, 6031, 6033, 6037, 6040, 6043, 6046, 7414, 0};
const WORD kLandscapePages[] = {6002, 6003, 6006, 6007, 6010, 6012, 6014, 6015, 6018, 6020, 6022, 6024, 6026,
                                6028, 6030, 6032, 6034, 6035, 6036, 6038, 6039, 6041, 6042, 6044, 6045, 7415, 0};

bool InList(const WORD* list, WORD value) {
  for (; *list; ++list)
    if (*list == value) return true;
  return false;
}

bool IsPickOne(const ModelItemDescriptor* desc) {
  return desc && (desc->type & ~kModelTypeFlags & 0x0003) == kModelTypePickOne;
}

// Walks the description's values in list order up to the first value 0.
template <typename Visit>
void ForEachValue(const ModelItemDescriptor* desc, Visit visit) {
  for (const void* choice = desc ? desc->values : nullptr; choice; choice = ModelNextChoice(desc, choice)) {
    const WORD value = ModelChoiceValue(desc, choice, nullptr);
    if (value == 0 || !visit(value)) return;
  }
}

bool Disabled(DriverContext* ctx, const ModelItemDescriptor* desc, WORD value) {
  return ModelIsValueDisabled(desc, value, ctx) != 0;
}

DlgDrawState* DrawState(DriverContext* ctx) { return ctx && ctx->ui ? &ctx->ui->dialog.draw : nullptr; }

void CheckButton(DlgPageRecord* page, DlgControlRecord* control, bool checked) {
  if (HWND button = UiControlWindow(page, control)) WuiSetCheck(button, checked ? BST_CHECKED : BST_UNCHECKED);
}

bool IsChecked(DlgPageRecord* page, DlgControlRecord* control) {
  HWND button = UiControlWindow(page, control);
  return button && WuiGetCheck(button) == BST_CHECKED;
}

// A two-text button's texts: first, second.
void LoadTwoTexts(DriverContext* ctx, const CtlExtTwoTexts* ext, WCHAR* first, WCHAR* second) {
  ResLoadString(ctx, ext->firstText, first, kTextChars, TRUE);
  ResLoadString(ctx, ext->secondText, second, kTextChars, TRUE);
}

// A text drawn embossed when disabled: white one pixel right and down, then grey in place.
void DrawTextLooked(HDC dc, LPCWSTR text, RECT rect, UINT format, bool enabled) {
  if (enabled) {
    DuiDrawText(dc, text, -1, &rect, format);
    return;
  }
  const COLORREF old = DuiSetTextColor(dc, RGB(255, 255, 255));
  RECT moved = {rect.left + 1, rect.top + 1, rect.right + 1, rect.bottom + 1};
  DuiDrawText(dc, text, -1, &moved, format);
  DuiSetTextColor(dc, DuiSysColor(COLOR_GRAYTEXT));
  DuiDrawText(dc, text, -1, &rect, format);
  DuiSetTextColor(dc, old);
}

void DrawTwoTextButton(DriverContext* ctx, DlgPageRecord* page, DlgControlRecord* control,
                       const DRAWITEMSTRUCT* draw, const CtlExtTwoTexts* ext, bool pressed, bool focused) {
  HDC dc = draw->hDC;
  const RECT& item = draw->rcItem;
  const LONG itemHeight = item.bottom - item.top;
  CtlDrawButtonFace(ctx, page, control, NULL, dc, &item, 2, pressed, focused);
  HFONT oldFont = DuiSelectFont(dc, DuiWindowFont(draw->hwndItem));
  const int oldMode = DuiSetBkMode(dc, TRANSPARENT);
  RECT text = {item.left + itemHeight, item.top + 8, item.right - 8, item.bottom - 8};
  WCHAR first[kTextChars], second[kTextChars];
  LoadTwoTexts(ctx, ext, first, second);
  const bool enabled = WuiIsEnabled(draw->hwndItem) != FALSE;
  const UINT format = DT_WORDBREAK;
  DrawTextLooked(dc, first, text, format, enabled);
  SIZE line = {0, 0};
  UiMeasureText(dc, nullptr, &line);
  RECT lower = text;
  lower.top += line.cy + 7;
  DrawTextLooked(dc, second, lower, format, enabled);
  if (ext->separator) {
    const int y = lower.top - 4;
    DuiLine(dc, text.left, y, text.right, y, enabled ? DuiSysColor(COLOR_BTNTEXT) : DuiSysColor(COLOR_GRAYTEXT));
  }
  DuiSetBkMode(dc, oldMode);
  DuiSelectFont(dc, oldFont);
}

// The pictures of the button's enabled values: beside the caption, or centred in the two-text
// button's square at the left.
void DrawButtonPictures(DriverContext* ctx, DlgPageRecord* page, DlgControlRecord* control,
                        const DRAWITEMSTRUCT* draw, bool twoTexts, int captionWidth) {
  const RECT& item = draw->rcItem;
  const LONG itemHeight = item.bottom - item.top;
  const ModelItemDescriptor* desc = control->descriptor;
  ForEachValue(desc, [&](WORD value) {
    if (Disabled(ctx, desc, value)) return true;
    int x, y;
    DWORD flags = 0;
    if (twoTexts) {
      x = item.left + itemHeight / 2;
      y = (item.top + item.bottom) / 2;
      flags = kImgCentreX | kImgCentreY;
    } else {
      const int centre = (item.left + item.right) / 2;
      x = captionWidth > 0 ? centre - captionWidth / 2 - itemHeight : centre - itemHeight / 2;
      y = 2;
    }
    ResDrawImage(ctx, page, control, draw->hDC, &item, x, y, MAKEINTRESOURCEW(value), flags, FALSE);
    return true;
  });
}

}  // namespace

// ---- value texts and pictures ----

void CtlShowValueText(DriverContext* ctx, DlgPageRecord* page, DlgControlRecord* control) {
  const ModelItemDescriptor* desc = control ? control->descriptor : nullptr;
  if (!desc) return;
  HWND window = UiControlWindow(page, control);
  const LONG value = static_cast<LONG>(ItemGetControlValue(ctx, control));
  ForEachValue(desc, [&](WORD choice) {
    if (Disabled(ctx, desc, choice)) return true;
    WCHAR format[kTextChars];
    if (ResLoadString(ctx, choice, format, kTextChars, TRUE) <= 0 || !format[0]) return true;
    // The text is a format of at most one number: any other directive stays as it is.
    WCHAR text[kTextChars];
    UiFormatMessageText(format, kUiArgLongs, &value, 1, text, kTextChars);
    if (window) WuiSetText(window, text);
    return true;
  });
}

void CtlShowPicture(DriverContext* ctx, DlgPageRecord* page, DlgControlRecord* control) {
  (void)ctx;
  if (HWND window = UiControlWindow(page, control)) WuiInvalidate(window, FALSE);
}

void CtlShowImageValue(DriverContext* ctx, DlgPageRecord* page, DlgControlRecord* control) {
  const ModelItemDescriptor* desc = control ? control->descriptor : nullptr;
  if (!desc) return;
  HWND window = UiControlWindow(page, control);
  const bool pickOne = IsPickOne(desc);
  const bool currentOnly = pickOne && control->partner == 0;
  const LONG_PTR current = ItemGetControlValue(ctx, control);
  ForEachValue(desc, [&](WORD value) {
    if (currentOnly && value != current) return true;
    if (Disabled(ctx, desc, value)) return true;
    ResDrawIcon(ctx, window, value);
    return !pickOne;
  });
}

// ---- option pictures ----

WORD CtlPictureForValue(const DlgControlRecord* control, WORD value) {
  if (!control) return 0;
  for (const PictureRow* row = kPictures; row->value; ++row) {
    if (row->controlId != control->controlId || row->value != value) continue;
    return row->greyPicture && (control->state & kControlRestrictedMask) ? row->greyPicture : row->picture;
  }
  return 0;
}

WORD CtlPictureExtraForValue(const DlgControlRecord* control, WORD value) {
  if (!control) return 0;
  for (const PictureRow* row = kPictures; row->value; ++row)
    if (row->controlId == control->controlId && row->value == value) return row->extra;
  return 0;
}

void CtlDrawOptionPicture(DriverContext* ctx, DlgPageRecord* page, DlgControlRecord* control, HDC dc,
                          const RECT* rect) {
  DlgDrawState* draw = DrawState(ctx);
  if (!draw || !control) return;
  const COLORREF background = draw->background;
  const ModelItemDescriptor* desc = control->descriptor;
  if (!desc || !desc->values || !ModelChoiceValue(desc, desc->values, nullptr)) return;
  const bool pickOne = IsPickOne(desc);
  const bool currentOnly = pickOne && control->partner == 0;
  const LONG_PTR current = currentOnly ? ItemGetControlValue(ctx, control) : 0;
  DWORD flags = 0;
  if (const auto* sample = reinterpret_cast<const CtlExtColourSample*>(
          CtlGetExtension(control, kCtlExtColourSample))) {
    for (int i = 0; i < 6; ++i)
      draw->colourAdjust[i] = static_cast<LONG>(ItemGetValueById(ctx, sample->items[i])) + 50;
    flags = kImgStretch;
  }
  HWND window = dc ? NULL : UiControlWindow(page, control);
  if (dc)
    draw->target = dc;
  else if (CtlGetExtension(control, kCtlExtPreview))
    draw->background = RGB(255, 255, 255);
  RECT area = {0, 0, 0, 0};
  if (rect)
    area = {0, 0, rect->right - rect->left, rect->bottom - rect->top};
  else if (window)
    WuiGetClientRect(window, &area);

  ResBeginBufferedDraw(ctx);
  bool pageSent = false;
  bool drawn = false;
  ForEachValue(desc, [&](WORD value) {
    if (currentOnly && value != current) return true;
    QualityLayerEvent layer = {control, value, 0xFFFF};
    ModBusSendEvent(ctx, kEventPictureLayer, &layer);
    if (layer.layer != 0xFFFF) {
      draw->colourAdjust[0] = static_cast<LONG>(layer.layer) + 50;
      for (int i = 1; i < 6; ++i) draw->colourAdjust[i] = 50;
    }
    if (Disabled(ctx, desc, value)) return true;
    ResDrawImageInWindow(ctx, page, control, window, rect, value, flags, FALSE);
    flags |= kImgNoTheme;
    drawn = true;
    if (!pageSent) {
      const bool portrait = InList(kPortraitPages, value);
      if (portrait || InList(kLandscapePages, value)) {
        pageSent = true;
        const PicturePartRow* part = TblFindPicturePart(value);
        CtlPagePictureEvent event = {control,
                                     portrait ? 50 : 68,
                                     portrait ? 69 : 50,
                                     dc,
                                     &area,
                                     part ? static_cast<LONG>(part - TblGetPictureParts()) : 0};
        ModBusSendEvent(ctx, kEventPagePicture, &event);
      }
    }
    return !(pickOne && drawn);
  });
  if (control->controlId == 0) {
    CtlPictureDrawnEvent event = {control, rect ? rect : &area};
    ModBusSendEvent(ctx, kEventPictureDrawn, &event);
  }
  ResEndBufferedDraw(ctx, window, rect);
  for (LONG& slot : draw->colourAdjust) slot = 50;
  draw->target = NULL;
  draw->background = background;
}

// ---- steps ----

int CtlStepLinkedValues(DriverContext* ctx, DlgPageRecord* page, DlgControlRecord* control) {
  const auto* steps = reinterpret_cast<const CtlExtSteps*>(CtlGetExtension(control, kCtlExtStepButton));
  if (!steps || !page) return 1;
  for (WORD i = 0; i < steps->count; ++i) {
    const CtlStep& step = steps->steps[i];
    DlgControlRecord* target = CtlFind(ctx, page, step.control);
    if (!target || !target->item || !target->descriptor) continue;
    if ((target->descriptor->type & ~kModelTypeFlags) != kModelTypeNumeric || !target->descriptor->values) continue;
    const auto* range = static_cast<const NumericValueRecord*>(target->descriptor->values);
    LONGLONG value = static_cast<LONG>(ItemGetControlValue(ctx, target));
    value += step.delta;
    if (value < range->minimum) value = range->minimum;
    if (value > range->maximum) value = range->maximum;
    ItemSetControlValue(ctx, target, static_cast<LONG_PTR>(value));
  }
  return 1;
}

// ---- push buttons ----

WORD CtlCaptionFor(WORD controlId) {
  for (const CaptionRow* row = kCaptions; row->controlId; ++row)
    if (row->controlId == controlId) return row->stringId;
  return 0;
}

void CtlSetAltCaption(DriverContext* ctx, const DlgControlRecord* control) {
  DlgDrawState* draw = DrawState(ctx);
  if (!draw) return;
  draw->altCaption = 0;
  if (control) draw->altCaption = CtlCaptionFor(control->controlId);
}

void CtlClearAltCaption(DriverContext* ctx) {
  if (DlgDrawState* draw = DrawState(ctx)) draw->altCaption = 0;
}

void CtlNoOp(DriverContext* ctx) { (void)ctx; }

void CtlInitButton(const CtlTypeRecord* type, DriverContext* ctx, DlgPageRecord* page, DlgControlRecord* control) {
  (void)type;
  CtlSetAltCaption(ctx, control);
  DlgDrawState* draw = DrawState(ctx);
  const WORD caption = draw ? draw->altCaption : 0;
  if (caption) {
    WCHAR text[kTextChars] = {0};
    // "No text" loads nothing and leaves the window without a caption.
    if (caption != kCaptionNone) ResLoadString(ctx, caption, text, kTextChars, TRUE);
    if (HWND window = UiControlWindow(page, control)) WuiSetText(window, text);
  }
  CtlClearAltCaption(ctx);
}

void CtlInitButtonAlt(const CtlTypeRecord* type, DriverContext* ctx, DlgPageRecord* page,
                      DlgControlRecord* control) {
  (void)type;
  const auto* ext = reinterpret_cast<const CtlExtTwoTexts*>(CtlGetExtension(control, kCtlExtTwoTexts));
  if (!ext) return;
  WCHAR first[kTextChars], second[kTextChars], joined[2 * kTextChars];
  LoadTwoTexts(ctx, ext, first, second);
  int at = 0;
  for (const WCHAR* c = first; *c; ++c) joined[at++] = *c;
  joined[at++] = u' ';
  for (const WCHAR* c = second; *c; ++c) joined[at++] = *c;
  joined[at] = 0;
  if (HWND window = UiControlWindow(page, control)) WuiSetText(window, joined);
}

int CtlButtonCommand(DriverContext* ctx, DlgPageRecord* page, DlgControlRecord* control, WPARAM wParam,
                     LPARAM lParam) {
  (void)wParam;
  (void)lParam;
  if (control && control->descriptor && DlgCheckNodeAlert(ctx, page, control->descriptor) == 0)
    DlgRunNodeActions(ctx, page, control->descriptor, control->notifyCode);
  return 1;
}

int CtlDrawButton(DriverContext* ctx, DlgPageRecord* page, DlgControlRecord* control, UINT message, WPARAM wParam,
                  LPARAM lParam) {
  (void)wParam;
  if (message == WM_MEASUREITEM) {
    auto* measure = reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
    RECT client = {0, 0, 0, 0};
    if (measure && WuiGetClientRect(UiControlWindow(page, control), &client)) {
      measure->itemWidth = static_cast<UINT>(client.right - client.left);
      measure->itemHeight = static_cast<UINT>(client.bottom - client.top);
    }
    return 1;
  }
  if (message != WM_DRAWITEM) return 0;
  const auto* draw = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
  if (!draw || !(draw->itemAction & (ODA_DRAWENTIRE | ODA_SELECT | ODA_FOCUS))) return 1;
  const bool focused = (draw->itemAction & ODA_FOCUS) || (draw->itemState & ODS_FOCUS);
  const bool pressed = (draw->itemState & ODS_SELECTED) != 0;
  const auto* ext = reinterpret_cast<const CtlExtTwoTexts*>(CtlGetExtension(control, kCtlExtTwoTexts));
  int captionWidth = 0;
  if (ext) {
    DrawTwoTextButton(ctx, page, control, draw, ext, pressed, focused);
  } else {
    CtlSetAltCaption(ctx, control);
    captionWidth = CtlDrawButtonFace(ctx, page, control, draw->hwndItem, draw->hDC, &draw->rcItem, 2, pressed,
                                     focused);
    CtlClearAltCaption(ctx);
  }
  DrawButtonPictures(ctx, page, control, draw, ext != nullptr, captionWidth);
  return 1;
}

LRESULT CALLBACK CtlButtonProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (!WuiGetSlot(window, GWL_USERDATA)) return 0;
  return CtlSubclassProc(window, message, wParam, lParam);
}

// ---- check boxes and radio buttons ----

int CtlCheckPreMessage(DriverContext* ctx, DlgPageRecord* page, DlgControlRecord* control, UINT message,
                       WPARAM wParam, LPARAM lParam) {
  (void)message;
  (void)wParam;
  (void)lParam;
  CtlApplyValue(ctx, page, control, ItemGetControlValue(ctx, control) ? 0 : 1);
  return 1;
}

void CtlShowCheckValue(DriverContext* ctx, DlgPageRecord* page, DlgControlRecord* control) {
  CheckButton(page, control, ItemGetControlValue(ctx, control) != 0);
}

int CtlTakeCheckValue(DriverContext* ctx, DlgPageRecord* page, DlgControlRecord* control, WPARAM wParam,
                      LPARAM lParam) {
  (void)wParam;
  (void)lParam;
  const LONG_PTR value = ItemGetControlValue(ctx, control);
  const bool checked = IsChecked(page, control);
  if ((!checked && value == 1) || (checked && value == 0)) {
    CtlApplyValue(ctx, page, control, value ? 0 : 1);
    return 1;
  }
  return 0;
}

int CtlRadioPreMessage(DriverContext* ctx, DlgPageRecord* page, DlgControlRecord* control, UINT message,
                       WPARAM wParam, LPARAM lParam) {
  (void)message;
  (void)wParam;
  (void)lParam;
  CtlApplyValue(ctx, page, control, control->controlId);
  return 1;
}

void CtlShowRadioValue(DriverContext* ctx, DlgPageRecord* page, DlgControlRecord* control) {
  CheckButton(page, control, ItemGetControlValue(ctx, control) == control->controlId);
}

int CtlTakeRadioValue(DriverContext* ctx, DlgPageRecord* page, DlgControlRecord* control, WPARAM wParam,
                      LPARAM lParam) {
  (void)wParam;
  (void)lParam;
  const bool mine = ItemGetControlValue(ctx, control) == control->controlId;
  const bool checked = IsChecked(page, control);
  if ((!checked && mine) || (checked && !mine)) {
    CtlApplyValue(ctx, page, control, control->controlId);
    return 1;
  }
  return 0;
}
