// Printer facts a context needs (name, driver name, server, attributes), fetched from the
// spooler at most once per context.
#pragma once
#include "platform/win32.h"

struct DriverContext;

// GetPrinterW at this level into a zeroed buffer (two calls), or null; free with MemFree.
void* PrnGetPrinterInfo(HANDLE printer, DWORD level);
// Records what a PRINTER_INFO_2 tells, each fact only when not yet known.
void PrnCachePrinterInfo(const PRINTER_INFO_2W* info, DriverContext* ctx);
// The UI state's printer name and driver name (the model record's fallback when unreadable).
const WCHAR* PrnGetPrinterName(DriverContext* ctx);
const WCHAR* PrnGetDriverName(DriverContext* ctx);
// Rebuilds a connection name ("\\server\queue") from the printer's DsSpooler values on
// Windows Vista and later; any other name is left unchanged.
void PrnRebuildConnectionName(HANDLE printer, WCHAR* name, DWORD size);

