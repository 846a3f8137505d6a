// The bidirectional state store: whether settings were acquired from the printer, which
// functions were acquired and whether the acquired default trays were applied, kept in
// printer data when the user may write it and otherwise in the per-machine bidi ini
// "OV00C171.ini" (section = the printer's name), which then holds the acquired settings too.
#pragma once
#include "platform/win32.h"

struct DriverContext;

extern const WCHAR kBidiIniName[];  // "OV00C171.ini"

// ---- printer data (each 1 on success; a read counts only when the call succeeds) ----
int BidiReadFlag(HANDLE printer, DWORD* value);
int BidiWriteFlag(HANDLE printer, DWORD value);
int BidiReadFunc(HANDLE printer, BYTE* value);
int BidiWriteFunc(HANDLE printer, BYTE value);
int BidiReadExFlag(HANDLE printer, DWORD* value);
int BidiWriteExFlag(HANDLE printer, DWORD value);
// BidiFlag read with bit 0 set.
int BidiFlagIsAcquired(HANDLE printer, DriverContext* ctx);
// BidiExFlag read with bit 0 set.
int BidiPrinterExFlagIsSet(HANDLE printer);
// Reads BidiFlag and writes the same value back: 1 only when both succeed, so also 0 while
// BidiFlag does not exist yet.
int BidiCanWritePrinterData(DriverContext* ctx);

// ---- the bidi ini (each builds the path anew; 0 when it cannot) ----
// BidiFlag present: the integer read with default 7 is not 7. Set: read with default 0, not 0.
int BidiIniHasFlag(DriverContext* ctx);
int BidiIniFlagIsSet(DriverContext* ctx);
int BidiIniWriteFlag(DriverContext* ctx, int value);
// BidiFunc (default 0) into zdmBidiFunc.
int BidiIniLoadFunc(DriverContext* ctx);
int BidiIniWriteFunc(DriverContext* ctx, DWORD mask);
int BidiIniHasExFlag(DriverContext* ctx);
int BidiIniExFlagIsSet(DriverContext* ctx);
int BidiIniWriteExFlag(DriverContext* ctx, int value);
// Deletes the printer's whole section.
int BidiDeleteIniSection(DriverContext* ctx);
// Makes sure the bidi ini exists with the open security: an existing file gets the open DACL;
// a missing one is created (never over a file another process has just made), gets a CR LF and
// the open DACL. Nonzero when the DACL was set.
int BidiIniEnsureFile(DriverContext* ctx);

// ---- the acquired settings ----
// Loads them from the bidi ini (extended items), then BidiFunc: the load's result.
int BidiLoadIniSettings(DriverContext* ctx);
// The same from another file of this format; BidiFunc from the section of the context's
// current printer name.
int BidiLoadSettingsFromFile(LPCWSTR path, DriverContext* ctx);
int BidiLoadFuncFromFile(LPCWSTR path, DriverContext* ctx);
// Saves them into the bidi ini, then BidiFlag "1", BidiFunc and BidiExFlag "1": the save's
// result.
int BidiSaveIniSettings(DriverContext* ctx);

// ---- state of the sheets ----
// BidiExFlag := 1 in the bidi ini when it applies, else in printer data.
void BidiSetExFlag(DriverContext* ctx);
// Whether the acquired default trays were applied; 1 also when printer data cannot be written.
int BidiExFlagIsSet(DriverContext* ctx);
// The one-time default trays, when the document sheets open.
void BidiApplyAcquiredDefaults(DriverContext* ctx);
// Restores the acquired state when the document sheets open: 1, or the modules' answer.
int BidiRestoreState(DriverContext* ctx, HWND window);
// zdmBiDirect := 1 when bidirectional support is on (BidiIsSupported), else 0; returns 1.
int BidiSetPendingBySupport(DriverContext* ctx);
// UI-module event 17 {value, answer}: the answer.
int BidiAskModules(DriverContext* ctx, DWORD value);
// UI-module event 65 {answer}: the answer.
int BidiModulesOverride(DriverContext* ctx);

// Module events of the store.
enum : int {
  kBidiEventAskAcquire = 17,
  kBidiEventOverride = 65,
};
struct BidiAskEvent {
  DWORD value;
  DWORD answer;
};
