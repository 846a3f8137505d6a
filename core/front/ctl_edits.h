// The edit control types: text and numeric edits, spin and value scroll bars, the trackbar.
// Numbers are integers in the item's own unit; a numeric edit shows them as fixed-point text
// with the decimals its description gives. Lengths (controls with kCtlDisplayLength) are kept
// in 1/1200 inch and shown in the display unit (0.1 mm or 0.01 inch).
#pragma once
#include "core/context/driver_context.h"
#include "core/front/control_types.h"
#include "core/front/dialog_records.h"
#include "platform/win32.h"

// Events the edit types send to the modules. 38-41, 43 and 51 carry a FreeSizeValueEvent or
// FreeSizeInchFlagEvent, 46 a FreeSizeRangeEvent (core/modules/free_size_limits.h), 58 a
// QualityScrollEvent (core/modules/quality_hooks.h). A value the modules leave at
// kCtlNoAnswer was not answered.
enum : int {
  kEventEditShown = 38,        // the value a numeric edit shows (display units)
  kEventEditTyped = 39,        // a typed value (display units)
  kEventEditCommitting = 40,   // the current value at kill focus (display units)
  kEventEditCommitted = 41,    // the value stored at kill focus (1/1200 inch)
  kEventSpinMoved = 43,        // a length spin's new position (display units)
  kEventSpinRange = 46,        // a spin bar's range
  kEventEditInchCapable = 51,  // whether the edit shows a length in inches of its own
  kEventBarBackwards = 58,     // a value scroll bar whose scale runs from the right
};
constexpr LONG kCtlNoAnswer = static_cast<LONG>(0x80000000u);

// The whole display units a typed length may have: the largest whose 1/1200-inch count fits in
// a signed 32-bit integer.
constexpr LONG kLengthWholeLimitMm = 45455070;
constexpr LONG kLengthWholeLimitInch = 1789569;

// Reads a number from text in units of 1/divisor: characters up to the first digit are
// skipped ('-' right before it makes the result negative); after the digits, the decimal
// separator ('.', or ',' when the display language uses the decimal comma) and at most as many
// digits as the divisor has decimals; every missing decimal multiplies by ten ("1.5" with 100
// gives 150). 0 for a text without digits or a magnitude above 0x7FFFFFFF. ctx may be null
// (then only '.' separates).
LONG CtlParseScaledNumber(const WCHAR* text, LONG divisor, DriverContext* ctx);

// The width of a value scroll bar's arrow.
int UiGetScrollArrowWidth();

// Text edits (61, 62).
void CtlInitEdit(const CtlTypeRecord* type, DriverContext* ctx, DlgPageRecord* page, DlgControlRecord* control);
void CtlShowEditText(DriverContext* ctx, DlgPageRecord* page, DlgControlRecord* control);
int CtlTakeEditText(DriverContext* ctx, DlgPageRecord* page, DlgControlRecord* control, WPARAM wParam, LPARAM lParam);

// Numeric edits (63).
void CtlInitNumericEdit(const CtlTypeRecord* type, DriverContext* ctx, DlgPageRecord* page,
                        DlgControlRecord* control);
void CtlShowNumericEdit(DriverContext* ctx, DlgPageRecord* page, DlgControlRecord* control);
int CtlTakeNumericEdit(DriverContext* ctx, DlgPageRecord* page, DlgControlRecord* control, WPARAM wParam,
                       LPARAM lParam);
int CtlNumericEditMessage(DriverContext* ctx, DlgPageRecord* page, DlgControlRecord* control, UINT message,
                          WPARAM wParam, LPARAM lParam);

// Spin scroll bars (23, 81): SB_LINEUP adds.
void CtlInitScrollBar(const CtlTypeRecord* type, DriverContext* ctx, DlgPageRecord* page, DlgControlRecord* control);
void CtlShowScrollBarValue(DriverContext* ctx, DlgPageRecord* page, DlgControlRecord* control);
int CtlScrollBarMessage(DriverContext* ctx, DlgPageRecord* page, DlgControlRecord* control, UINT message,
                        WPARAM wParam, LPARAM lParam);

// Value scroll bars (82, and 84 drawn by the driver over a colour ramp). A WM_LBUTTONDOWN on a
// type-84 bar comes from its subclass procedure with a scratch page record: a press on an
// arrow leaves a pressed-arrow popup in its window field, which the caller destroys.
void CtlInitValueScrollBar(const CtlTypeRecord* type, DriverContext* ctx, DlgPageRecord* page,
                           DlgControlRecord* control);
void CtlShowValueScrollBar(DriverContext* ctx, DlgPageRecord* page, DlgControlRecord* control);
void CtlShowValueScrollBarAlt(DriverContext* ctx, DlgPageRecord* page, DlgControlRecord* control);
int CtlValueScrollBarMessage(DriverContext* ctx, DlgPageRecord* page, DlgControlRecord* control, UINT message,
                             WPARAM wParam, LPARAM lParam);

// Trackbar (85).
void CtlInitTrackbar(const CtlTypeRecord* type, DriverContext* ctx, DlgPageRecord* page, DlgControlRecord* control);
void CtlShowTrackbarValue(DriverContext* ctx, DlgPageRecord* page, DlgControlRecord* control);
int CtlTrackbarMessage(DriverContext* ctx, DlgPageRecord* page, DlgControlRecord* control, UINT message,
                       WPARAM wParam, LPARAM lParam);

// Paints a value scroll bar with its plus sign on the left or the right arrow.
void CtlPaintScrollBar(DriverContext* ctx, DlgPageRecord* page, DlgControlRecord* control, BOOL plusOnLeft);
void CtlPaintScrollBarPlusRight(DriverContext* ctx, DlgPageRecord* page, DlgControlRecord* control);
void CtlPaintScrollBarPlusLeft(DriverContext* ctx, DlgPageRecord* page, DlgControlRecord* control);
