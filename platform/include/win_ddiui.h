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

// What the printer-interface DLL receives. The SDK's header (included first in the Windows
// build) gives some of the codes; each is defined here only where it has not.
// DrvConvertDevMode modes.
#ifndef CDM_CONVERT
#define CDM_CONVERT 0x01
#endif
#ifndef CDM_CONVERT351
#define CDM_CONVERT351 0x02
#endif
#ifndef CDM_DRIVER_DEFAULT
#define CDM_DRIVER_DEFAULT 0x04
#endif

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

// DrvPrinterEvent events and flags.
#ifndef PRINTER_EVENT_CONFIGURATION_CHANGE
#define PRINTER_EVENT_CONFIGURATION_CHANGE 0
#endif
#ifndef PRINTER_EVENT_ADD_CONNECTION
#define PRINTER_EVENT_ADD_CONNECTION 1
#endif
#ifndef PRINTER_EVENT_DELETE_CONNECTION
#define PRINTER_EVENT_DELETE_CONNECTION 2
#endif
#ifndef PRINTER_EVENT_INITIALIZE
#define PRINTER_EVENT_INITIALIZE 3
#endif
#ifndef PRINTER_EVENT_DELETE
#define PRINTER_EVENT_DELETE 4
#endif
#ifndef PRINTER_EVENT_CACHE_REFRESH
#define PRINTER_EVENT_CACHE_REFRESH 5
#endif
#ifndef PRINTER_EVENT_CACHE_DELETE
#define PRINTER_EVENT_CACHE_DELETE 6
#endif
#ifndef PRINTER_EVENT_ATTRIBUTES_CHANGED
#define PRINTER_EVENT_ATTRIBUTES_CHANGED 7
#endif
#ifndef PRINTER_EVENT_FLAG_NO_UI
#define PRINTER_EVENT_FLAG_NO_UI 0x00000001
#endif

// DrvDocumentEvent events and answers.
#ifndef DOCUMENTEVENT_FIRST
#define DOCUMENTEVENT_FIRST 1
#endif
#ifndef DOCUMENTEVENT_CREATEDCPRE
#define DOCUMENTEVENT_CREATEDCPRE 1
#endif
#ifndef DOCUMENTEVENT_CREATEDCPOST
#define DOCUMENTEVENT_CREATEDCPOST 2
#endif
#ifndef DOCUMENTEVENT_RESETDCPRE
#define DOCUMENTEVENT_RESETDCPRE 3
#endif
#ifndef DOCUMENTEVENT_RESETDCPOST
#define DOCUMENTEVENT_RESETDCPOST 4
#endif
#ifndef DOCUMENTEVENT_STARTDOC
#define DOCUMENTEVENT_STARTDOC 5
#endif
#ifndef DOCUMENTEVENT_STARTPAGE
#define DOCUMENTEVENT_STARTPAGE 6
#endif
#ifndef DOCUMENTEVENT_ENDPAGE
#define DOCUMENTEVENT_ENDPAGE 7
#endif
#ifndef DOCUMENTEVENT_ENDDOC
#define DOCUMENTEVENT_ENDDOC 8
#endif
#ifndef DOCUMENTEVENT_ABORTDOC
#define DOCUMENTEVENT_ABORTDOC 9
#endif
#ifndef DOCUMENTEVENT_DELETEDC
#define DOCUMENTEVENT_DELETEDC 10
#endif
#ifndef DOCUMENTEVENT_ESCAPE
#define DOCUMENTEVENT_ESCAPE 11
#endif
#ifndef DOCUMENTEVENT_ENDDOCPOST
#define DOCUMENTEVENT_ENDDOCPOST 12
#endif
#ifndef DOCUMENTEVENT_STARTDOCPOST
#define DOCUMENTEVENT_STARTDOCPOST 13
#endif
#ifndef DOCUMENTEVENT_FAILURE
#define DOCUMENTEVENT_FAILURE (-1)
#endif
#ifndef DOCUMENTEVENT_UNSUPPORTED
#define DOCUMENTEVENT_UNSUPPORTED 0
#endif
#ifndef DOCUMENTEVENT_SUCCESS
#define DOCUMENTEVENT_SUCCESS 1
#endif

// The answer of a capability a driver cannot give.
#ifndef GDI_ERROR
#define GDI_ERROR 0xFFFFFFFFL
#endif
