// The setting locks' two dialogs: the limitation dialog, where an administrator fixes the paper
// source, media, N-up kind, duplex, print type, resolution and colour of a printer, and its
// status dialog.
#pragma once
#include "core/context/driver_context.h"
#include "core/front/dialog_records.h"
#include "platform/win32.h"

enum : WORD {
  kLimitationDialog = 4031,
  kLimitationSourceText = 3142,
  kLimitationPrintTypeText = 3144,
  kLimitationMediaText = 3146,
  kLimitationResolution = 3147,
  kLimitationNupText = 3150,
  kLimitationNupAll = 3151,
  kLimitationColorText = 3154,
  kLimitationDefault = 3158,
  kLimitationStatusDialog = 4032,
  kLimitationStatusList = 3164,
};
// The warning OK shows before the locks are taken.
constexpr WORD kTextLimitationWarning = 12034;
// The preset slots' logical values start here (zdmPresetNo 119 is slot 0).
constexpr LONG kLimitationFirstPreset = 119;

// The N-up text of the limitation dialog into text (capacity characters with the terminator,
// never written past): with the all-N-up lock the name of every N-up kind the model allows on
// the detailed page's choice, one per line (CR LF between), else the captured kind's name.
int LockNupText(DriverContext* ctx, WCHAR* text, int capacity);
// The dialog's opening: the captured values' names in the read-only fields, then the current
// preset's name and comment from the printer's preset list (both emptied for no preset slot).
void LockInitLimitation(DriverContext* ctx, DlgPageRecord* page);
// The two dialogs' messages; 1 when the message was taken.
int LockDialogControl(DriverContext* ctx, DlgPageRecord* page, DlgControlRecord* control, UINT message, WPARAM wParam,
                      LPARAM lParam);
