// The font choices of the watermark, header/footer and copy-protect dialogs, filled from the
// machine's TrueType families.
#pragma once
#include "platform/win32.h"

struct DriverContext;
struct DlgPageRecord;
struct DlgControlRecord;

// Fills the choice with the TrueType families and selects the font the text item names (else
// the default watermark font, else line 0, whose name the item then takes).
void WmFillFontChoice(DriverContext* ctx, DlgPageRecord* page, DlgControlRecord* choice, WORD itemId);
// The selected line's index into the choice's item and its text into the font-name item.
void WmTakeFontChoice(DriverContext* ctx, DlgPageRecord* page, DlgControlRecord* choice, WORD itemId);
// After a default button: selects the locked default (header/footer and copy-protect dialogs
// with the lock default bit) or the default watermark font, else line 0, and stores it.
void WmResetFontChoice(DriverContext* ctx, DlgPageRecord* page, WORD itemId, WORD choiceId);
// The margin dialog without its edge, crop and creep controls: they shrink to a pixel at the
// point marker, the OK, Cancel, Help and Default buttons move up to the marker, the unit button
// to the string-form label, and the dialog to its owner's corner, shorter by what was left out.
void WmLayOutMarginDialog(HWND dialog, HWND owner);
