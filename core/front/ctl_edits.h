// The edit control types: text and numeric edits, spin and value scroll bars, the trackbar.
#pragma once
#include "core/context/driver_context.h"
#include "core/front/dialog_records.h"
#include "platform/win32.h"

// Paints a value scroll bar with its plus sign on the left or the right arrow.
void CtlPaintScrollBar(DriverContext* ctx, DlgPageRecord* page, DlgControlRecord* control, BOOL plusOnLeft);
void CtlPaintScrollBarPlusRight(DriverContext* ctx, DlgPageRecord* page, DlgControlRecord* control);
void CtlPaintScrollBarPlusLeft(DriverContext* ctx, DlgPageRecord* page, DlgControlRecord* control);
