// The printer-interface front's helpers behind the exports (document properties, DEVMODE
// conversion and device capabilities).
#pragma once
#include "core/context/driver_context_fwd.h"
#include "platform/win32.h"

// The DEVMODE this driver hands out: the public 220 bytes and the private part.
constexpr DWORD kUiDevmodeSize = 1236;

// The printer's stored DEVMODE (PRINTER_INFO_2 pDevMode) copied into buffer (kUiDevmodeSize
// bytes, zero-filled first), never more than the stored dmSize + dmDriverExtra; 0 when the
// printer has none.
int UiReadStoredDevmode(HANDLE printer, BYTE* buffer);
// The device capabilities answered from a driver context of the printer; GDI_ERROR when no
// context is to be had, the merge fails or the index has no context answer.
DWORD UiAnswerCapsFromContext(HANDLE printer, WORD index, PVOID output, PDEVMODEW devmode);

// 1 when the named printer opens (PRINTER_READ) and is reached through a server, else 0.
int UiIsServerPrinterName(LPWSTR name);
// Builds the document-properties header; with DM_PROMPT runs the printing-preferences sheet
// and answers its result (CPSUI_OK or CPSUI_CANCEL), else merges without UI (1, or -1 on
// failure).
LONG UiRunDocumentProperties(HWND window, HANDLE printer, LPWSTR name, PDEVMODEW output, PDEVMODEW input,
                             DWORD mode, PRINTER_INFO_2W* info, DRIVER_INFO_3W* driver);
