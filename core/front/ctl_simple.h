// The simple control types: value texts, pictures, push buttons, check boxes and radio buttons;
// the layered option pictures and the picture and caption tables of the owner-drawn types.
#pragma once
#include "core/context/driver_context.h"
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
