// The printer-interface DLL's side of the spooler and GDI: the records and codes its entry
// points receive (document properties, DEVMODE conversion, the job check, printer and document
// events, driver upgrades). Our own declarations for both builds, written from the public
// documentation of the printer-interface DLL functions; 32-bit layouts.
#pragma once

// fMode bits of the document-properties calls beyond those of DocumentPropertiesW.
#ifndef DM_ADVANCED
#define DM_ADVANCED 0x10
#endif
#ifndef DM_NOPERMISSION
#define DM_NOPERMISSION 0x20
#endif
#ifndef DM_USER_DEFAULT
#define DM_USER_DEFAULT 0x40
#endif

// The headers DrvDocumentPropertySheets and DrvDevicePropertySheets receive.
#include "platform/include/win_sheet_headers.h"

// What the SDK's printer-interface header gives where it is included first; mingw's smaller
// header has the printer and document events alone.
#ifndef CDM_CONVERT
// DrvConvertDevMode modes.
#define CDM_CONVERT 0x01
#define CDM_CONVERT351 0x02
#define CDM_DRIVER_DEFAULT 0x04

// DevQueryPrintEx's record.
typedef struct _DEVQUERYPRINT_INFO {
  WORD cbSize;
  WORD Level;
  HANDLE hPrinter;
  DEVMODEW* pDevMode;
  LPWSTR pszErrorStr;
  DWORD cchErrorStr;
  DWORD cchNeeded;
} DEVQUERYPRINT_INFO, *PDEVQUERYPRINT_INFO;
static_assert(sizeof(void*) != 4 || sizeof(DEVQUERYPRINT_INFO) == 24, "the job-check record is 24 bytes");

// DrvUpgradePrinter's level-1 record.
typedef struct _DRIVER_UPGRADE_INFO_1W {
  LPWSTR pPrinterName;
  LPWSTR pOldDriverDirectory;
} DRIVER_UPGRADE_INFO_1W, *PDRIVER_UPGRADE_INFO_1W;

#endif  // CDM_CONVERT

#ifndef DOCUMENTEVENT_STARTDOC
// DrvPrinterEvent events and flags.
#define PRINTER_EVENT_CONFIGURATION_CHANGE 0
#define PRINTER_EVENT_ADD_CONNECTION 1
#define PRINTER_EVENT_DELETE_CONNECTION 2
#define PRINTER_EVENT_INITIALIZE 3
#define PRINTER_EVENT_DELETE 4
#define PRINTER_EVENT_CACHE_REFRESH 5
#define PRINTER_EVENT_CACHE_DELETE 6
#define PRINTER_EVENT_ATTRIBUTES_CHANGED 7
#define PRINTER_EVENT_FLAG_NO_UI 0x00000001
// DrvDocumentEvent events and answers.
#define DOCUMENTEVENT_FIRST 1
#define DOCUMENTEVENT_CREATEDCPRE 1
#define DOCUMENTEVENT_CREATEDCPOST 2
#define DOCUMENTEVENT_RESETDCPRE 3
#define DOCUMENTEVENT_RESETDCPOST 4
#define DOCUMENTEVENT_STARTDOC 5
#define DOCUMENTEVENT_STARTPAGE 6
#define DOCUMENTEVENT_ENDPAGE 7
#define DOCUMENTEVENT_ENDDOC 8
#define DOCUMENTEVENT_ABORTDOC 9
#define DOCUMENTEVENT_DELETEDC 10
#define DOCUMENTEVENT_ESCAPE 11
#define DOCUMENTEVENT_ENDDOCPOST 12
#define DOCUMENTEVENT_STARTDOCPOST 13
#define DOCUMENTEVENT_FAILURE (-1)
#define DOCUMENTEVENT_UNSUPPORTED 0
#define DOCUMENTEVENT_SUCCESS 1

#endif  // DOCUMENTEVENT_STARTDOC

// The answer of a capability a driver cannot give.
#ifndef GDI_ERROR
#define GDI_ERROR 0xFFFFFFFFL
#endif
