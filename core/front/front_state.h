// What the printer-interface front keeps in a context's UI state: written by the property
// entry points before any settings work, read by the settings engine and the stores.
#pragma once
#include "platform/win32.h"

// Sheet kinds (bits).
enum : DWORD {
  kSheetDocumentProperties = 0x1,
  kSheetPrinterProperties = 0x2,
};

// fMode bits of a document-properties call, as the front records them.
enum : LONG {
  kDocModeUpdate = 0x1,
  kDocModeOutBuffer = 0x2,
  kDocModeNoPermission = 0x20,
  kDocModeUserDefault = 0x40,
};

struct FrontUiState {
  DWORD sheetKind;          // kSheetPrinterProperties for printer-properties sheets
  LONG documentMode;        // fMode of the last document-properties call; the cache tests it
  void* sheetCallback;      // the common property-sheet callback
  LPARAM sheetHandle;       // and its handle
  void* inputDevmode;       // the caller's DEVMODEs
  void* outputDevmode;
  LONG okFlag;              // set by a dialog's OK button
  HGDIOBJ gdiObjects[2];    // deleted when the context is destroyed
  LONG applyMarker;         // 1 once a sheet's settings were applied (OK or Apply)
  LONG printerDefaultCommitted;  // 1 once a printer-properties apply committed the printer default
  BYTE* acquiredSettings;   // a document sheet's copy of the first acquired settings, or null
  LONG changesAllowed;      // printer-properties sheet: 1 unless opened without permission
};

