// The simple control types: value texts, pictures, push buttons, check boxes and radio buttons;
// the layered option pictures and the picture and caption tables of the owner-drawn types.
#pragma once
#include "core/context/driver_context.h"
#include "core/front/control_types.h"
#include "core/front/dialog_records.h"
#include "platform/win32.h"

// Draws the control's layered option picture into dc (NULL: into the control's own window) in
// rect (NULL: the control's client area).
void CtlDrawOptionPicture(DriverContext* ctx, DlgPageRecord* page, DlgControlRecord* control, HDC dc,
                          const RECT* rect);
// Moves each control the step button's step list names by its step, within its range; 1.
int CtlStepLinkedValues(DriverContext* ctx, DlgPageRecord* page, DlgControlRecord* control);
// The picture of a control's value (its grey picture while the control is restricted), and the
// value's extra word; 0 when the picture table has no row for them.
WORD CtlPictureForValue(const DlgControlRecord* control, WORD value);
WORD CtlPictureExtraForValue(const DlgControlRecord* control, WORD value);

// ---- handlers of the simple types (slots of the control-type table) ----

// Value texts: the text of the description's last enabled value with a text, its integer
// directive filled with the item's value.
void CtlShowValueText(DriverContext* ctx, DlgPageRecord* page, DlgControlRecord* control);
// Pictures: a repaint of the option picture; icons of the value.
void CtlShowPicture(DriverContext* ctx, DlgPageRecord* page, DlgControlRecord* control);
void CtlShowImageValue(DriverContext* ctx, DlgPageRecord* page, DlgControlRecord* control);
// Push buttons: the caption from the caption table, or the two texts of the button's extension.
void CtlInitButton(const CtlTypeRecord* type, DriverContext* ctx, DlgPageRecord* page, DlgControlRecord* control);
void CtlInitButtonAlt(const CtlTypeRecord* type, DriverContext* ctx, DlgPageRecord* page,
                      DlgControlRecord* control);
// A press: the node's alert check, then its actions; 1.
int CtlButtonCommand(DriverContext* ctx, DlgPageRecord* page, DlgControlRecord* control, WPARAM wParam,
                     LPARAM lParam);
// WM_MEASUREITEM and WM_DRAWITEM of the owner-drawn push buttons.
int CtlDrawButton(DriverContext* ctx, DlgPageRecord* page, DlgControlRecord* control, UINT message, WPARAM wParam,
                  LPARAM lParam);
// The push buttons' window procedure: the subclass procedure when the window carries its
// control record, else 0.
LRESULT CALLBACK CtlButtonProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
// Check boxes.
int CtlCheckPreMessage(DriverContext* ctx, DlgPageRecord* page, DlgControlRecord* control, UINT message,
                       WPARAM wParam, LPARAM lParam);
void CtlShowCheckValue(DriverContext* ctx, DlgPageRecord* page, DlgControlRecord* control);
int CtlTakeCheckValue(DriverContext* ctx, DlgPageRecord* page, DlgControlRecord* control, WPARAM wParam,
                      LPARAM lParam);
// Radio buttons: each stands for the value equal to its own control id.
int CtlRadioPreMessage(DriverContext* ctx, DlgPageRecord* page, DlgControlRecord* control, UINT message,
                       WPARAM wParam, LPARAM lParam);
void CtlShowRadioValue(DriverContext* ctx, DlgPageRecord* page, DlgControlRecord* control);
int CtlTakeRadioValue(DriverContext* ctx, DlgPageRecord* page, DlgControlRecord* control, WPARAM wParam,
                      LPARAM lParam);

// ---- captions ----

// The caption string id of the control being drawn, from the caption table (0 when it has no
// row, 0xFFFF for no text), kept in the UI state's alternate caption; cleared to 0.
void CtlSetAltCaption(DriverContext* ctx, const DlgControlRecord* control);
void CtlClearAltCaption(DriverContext* ctx);
// The caption table's string id of a control: 0 when it has no row, 0xFFFF for "no text".
WORD CtlCaptionFor(WORD controlId);
constexpr WORD kCaptionNone = 0xFFFF;

// A slot of the page procedure that does nothing.
void CtlNoOp(DriverContext* ctx);

// ---- events of the option pictures ----
enum : int {
  kEventPagePicture = 7,      // CtlPagePictureEvent
  kEventPictureDrawn = 29,    // CtlPictureDrawnEvent, for pictures without id
  kEventPictureLayer = 56,    // QualityLayerEvent
};
// The page picture an option picture drew first, for the watermark drawn on it.
struct CtlPagePictureEvent {
  DlgControlRecord* control;
  LONG pageWidth;
  LONG pageHeight;
  HDC dc;            // the DC given, NULL when drawn into the control's window
  const RECT* rect;  // the drawing rectangle from (0, 0)
  LONG partRow;      // the picture's row in the picture layout table, 0 when it has none
};
struct CtlPictureDrawnEvent {
  DlgControlRecord* control;
  const RECT* rect;
};
