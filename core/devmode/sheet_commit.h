// Committing the settings of the property sheets: on OK or Apply the context's settings become
// durable (printer data, the per-user stores) and reach the caller's output DEVMODE, and the
// common property-sheet UI is told the result.
#pragma once
#include "platform/win32.h"

struct DriverContext;

// The common property-sheet callback the front records in the UI state.
typedef LONG_PTR(CALLBACK* SheetResultCallback)(HANDLE sheet, UINT function, LPARAM param1, LPARAM param2);

// The OK/Apply handler: commits, takes the initial settings again and notifies the spooler
// (printer sheets) and the property-sheet callback (CPSUI_OK on success, CPSUI_CANCEL when a
// save failed; the save's last error is left). Returns the commit's result.
int DmApplySheetChanges(DriverContext* ctx);
// The printer or document commit by the sheet kind. 1, or 0 when a save failed.
int DmCommitSettings(DriverContext* ctx);
// The printer's settings recomputed in the mode and saved to printer data. 1, or 0 when the
// save failed.
int DmCommitPrinterSettings(DriverContext* ctx, int mode);
int DmCommitPrinterDefault(DriverContext* ctx);
// The document's settings recomputed in the mode, written out and saved per user. 1, or 0
// when a save failed.
int DmCommitDocumentSettings(DriverContext* ctx, int mode);
int DmCommitDocumentDefault(DriverContext* ctx);
// The output DEVMODE filled, then the per-user classes saved. 1, or 0 when the save failed.
int DmOutputAndSaveUserSettings(DriverContext* ctx);
// Fills the caller's output DEVMODE as the call's fMode asks (never more than the 1,236 bytes
// of this driver's DEVMODE). 1.
int DmUpdateOutputDevmode(DriverContext* ctx);
// 1 when the printer's information (level 2) holds a DEVMODE.
int PrnHasDevmode(HANDLE printer);
