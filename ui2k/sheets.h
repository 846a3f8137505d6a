// The property-sheet entry points' shared steps: the prologue of every call, the check of a
// context's DEVMODE, the first-run step, the environment flags, and the sheet bindings (pages
// and the common property-sheet UI).
#pragma once
#include "core/context/driver_context.h"
#include "platform/win32.h"

// What every sheet call reads first: whether stale entries are cleaned at its end, the
// printer's PRINTER_INFO_2 and DRIVER_INFO_3 and whether the printer changed its name since
// installation. Everything is freed, and the cleanup runs, when the call ends.
class SheetCall {
 public:
  explicit SheetCall(HANDLE printer);
  ~SheetCall();
  SheetCall(const SheetCall&) = delete;
  SheetCall& operator=(const SheetCall&) = delete;

  // Reads both information records and runs the pending housekeeping unless the printer was
  // renamed; false when there is no PRINTER_INFO_2 or the housekeeping refuses.
  bool Prepare();

  HANDLE printer() const { return printer_; }
  PRINTER_INFO_2W* info() const { return info_; }
  DRIVER_INFO_3W* driverInfo() const { return driverInfo_; }
  int renamed() const { return renamed_; }

 private:
  HANDLE printer_;
  int cleanupAtEnd_;
  PRINTER_INFO_2W* info_ = nullptr;
  DRIVER_INFO_3W* driverInfo_ = nullptr;
  int renamed_ = 0;
};

// Resets a context whose DEVMODE is not a current one of this driver (wrong size, another
// driver's, another model's, or a version that cannot be upgraded) to the model defaults and
// the stored settings; a same-model DEVMODE of an older minor version is upgraded in place.
void SheetCheckContextDevmode(DriverContext* ctx);
// The installer's per-printer defaults, taken once: "ZemsInstDone" 1 takes the display
// language, 0 the user defaults; without the key or the file nothing.
void SheetApplyFirstRun(DriverContext* ctx);
// Environment flags of a document-properties call: call source, system kind, permission,
// companion products and the user-code provider. Remembers what a later merge must not change.
struct SheetEnvironment {
  int jbInstalled;
  int plInstalled;
  int userCodeGet;
};
SheetEnvironment SheetSetDocumentEnvironment(DriverContext* ctx, DWORD fMode);
// After a merge: the companion flags and both user-code flags as remembered.
void SheetRestoreEnvironment(DriverContext* ctx, const SheetEnvironment& env);

// Adds one property page per dialog of the context's table whose kind has kindBit and whose
// symbol the model does not disable, in table order; answers how many the sheet accepted.
int SheetAddPages(DriverContext* ctx, WORD kindBit);
// The page callback every page carries (never called: the pages do not ask for it).
UINT CALLBACK SheetPageCallback(HWND window, UINT message, PROPSHEETPAGEW* page);
// The page procedure of the sheets' pages.
INT_PTR CALLBACK SheetPageDialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
// Runs the common property-sheet UI; -1 when it is not there.
LONG SheetRunCommonPropertySheet(HWND owner, SheetUiCallback callback, LPARAM lParam, DWORD* result);

// The answers both sheets give to the reasons after INIT that need no settings work: the
// result of SET_RESULT kept in the sheet's Result word (1, or -1 without the record), -1 for
// GET_ICON, 1 for any reason they do not know.
LONG SheetAnswerOtherReason(PROPSHEETUI_INFO* info, LPARAM lParam);

// Closes a sheet's context at DESTROY. A cancelled sheet's context still holds what the user
// threw away, so it is destroyed rather than parked: the next sheet of the printer opened in
// this process reads the stored settings again instead of the cancelled ones.
void SheetCloseContext(DriverContext* ctx, bool cancelled);

// The common property-sheet UI's header: the printer's name as title, this DLL's icon.
void SheetFillInfoHeader(PROPSHEETUI_INFO_HEADER* header, LPWSTR title);

// The non-UI document properties: merges pdmIn and fills pdmOut as the header's fMode asks.
// 1236 (the DEVMODE size) for fMode 0 or no pdmOut, 1 on success, -1 on failure.
LONG UiMergeDocumentProperties(DOCUMENTPROPERTYHEADER* header, PRINTER_INFO_2W* info, DRIVER_INFO_3W* driverInfo,
                               int renamed);
