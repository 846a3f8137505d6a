// The custom-size dialogs' side of the custom-paper module: the notifications its actions
// send, the display-unit change and the slot editor's owner-drawn list.
#pragma once
#include "core/context/driver_context.h"
#include "core/front/dialog_records.h"
#include "platform/win32.h"

#ifndef WM_VSCROLL
#define WM_VSCROLL 0x0115
#endif
#ifndef LBN_SETFOCUS
#define LBN_SETFOCUS 4
#endif
#ifndef LBN_KILLFOCUS
#define LBN_KILLFOCUS 5
#endif

// Notifications of the custom-size actions.
enum : WORD {
  kNotifyBindPaperSize = 200,     // the size input edits the paper size
  kNotifyBindPrintSize = 201,     // ... the print size
  kNotifyLengthNotShorter = 202,  // each length at least its width (exchanged otherwise)
  kNotifyPaperTraySource = 203,   // the custom paper's tray becomes the source
  kNotifyOutputTraySource = 204,  // the same for the output size
  kNotifySaveSlot = 205,          // the slot being edited is saved from the items
};

// The display-unit dialog's OK: when zdmDspUnit differs from the unit noted before, notes it
// and converts the paper size between the 1/1200-inch items and the inch items.
void FreeSizeUnitChanged(DriverContext* ctx);

// How a line of the slot list is drawn: background and text as system colour indexes.
struct FreeSizeLineStyle {
  int background;
  int text;
};
FreeSizeLineStyle FreeSizeSlotLineStyle(bool restricted, bool current);
// WM_DRAWITEM of the slot list: 1 when drawn.
int FreeSizeDrawSlotLine(DriverContext* ctx, DlgPageRecord* page, DlgControlRecord* control,
                         const DRAWITEMSTRUCT* item);
