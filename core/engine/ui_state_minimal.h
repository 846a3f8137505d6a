// Minimal version until the UI state is built with the driver context: the fields of the
// per-context work record that item access, the change flags, the printer facts and the
// driver-file paths use.
#pragma once
#include "platform/win32.h"

struct UiState {
  LONG modified;                 // 1 after any item write
  DWORD changeFlags;             // change classes of item writes, latest class in the low word
  DWORD snapshotChangeFlags[3];  // the change flags saved with each settings snapshot
  LONG settingsFileStatus;       // last settings-file load or save status
  WCHAR textBuffer[1025];        // resource strings on their way into text items

  WORD openMode;                 // low byte of the open flags
  DWORD openKind;                // kind of the open; bit 0x40000 keeps the per-machine settings file
  LONG useGlobalMutex;           // 1 unless the open flags have 0x100
  LONG checkAdministrator;       // 1 unless the open flags have 0x200

  // Printer facts, each fetched at most once per context.
  WCHAR printerName[261];        // connection names rebuilt; the section of per-printer values
  WCHAR driverName[261];
  LONG onServer;                 // 0 unknown, 1 reached through a server, 2 local
  LONG attributesKnown;          // 1 once attributes holds PRINTER_INFO_2 Attributes
  DWORD attributes;

  // Paths rebuilt at every call of the operation that fills them.
  WCHAR settingsFilePath[260];
  WCHAR modelDataFilePath[260];
  WCHAR driverDirPath[260];
  WCHAR installIniPath[260];

  WCHAR languageCode[3];         // the display or installed language's two-letter code
};
