// Printer, driver and model names and printer facts from the spooler. The facts a context
// needs about its printer (name, driver name, server or local, attributes) are fetched from
// the spooler at most once and kept in the context's UI state. Forms without a context take a
// printer handle ("Of"), forms given a PRINTER_INFO_2 already fetched end in "FromInfo".
#pragma once
#include "core/context/driver_context_fwd.h"
#include "platform/win32.h"

// ---- spooler queries (results are freed with MemFree) ----

// GetPrinterW of this level in a zeroed buffer of the size the spooler asked for; null on
// any failure.
void* PrnGetPrinterInfo(HANDLE hPrinter, DWORD level);
// GetPrinterDriverW of this level (the caller's environment) the same way.
void* PrnGetDriverInfo(HANDLE hPrinter, DWORD level);
// Heap copy of pPrinterName from GetPrinterW level 2, null on any failure; free with MemFree.
WCHAR* PrnGetPrinterNameAlloc(HANDLE printer);

// ---- printer facts of a context ----

// Records what a fetched PRINTER_INFO_2 tells, each fact only while it is still unknown.
// Nothing happens when either argument is null.
void PrnCachePrinterInfo(const PRINTER_INFO_2* info, DriverContext* ctx);
// The printer's name (at most 260 characters, connection names rebuilt), fetched once; the
// empty string when the spooler cannot tell. Never null.
const WCHAR* PrnGetPrinterName(DriverContext* ctx);
const WCHAR* PrnGetPrinterNameAlias(DriverContext* ctx);
const WCHAR* PrnGetPrinterNameAlias2(DriverContext* ctx);
// The same, taking the name from a given PRINTER_INFO_2 (nothing is fetched; a null info
// leaves the name as it is).
const WCHAR* PrnGetPrinterNameFromInfo(DriverContext* ctx, const PRINTER_INFO_2* info);
const WCHAR* PrnGetPrinterNameFromInfoAlias(DriverContext* ctx, const PRINTER_INFO_2* info);
// The driver name, fetched once; the model record's default driver name when the spooler
// cannot tell. Never null.
const WCHAR* PrnGetDriverName(DriverContext* ctx);
// 1 when the printer is reached through a server (a connection), else 0; a failed fetch
// counts as local.
int PrnIsOnServer(DriverContext* ctx);
// 1 when the printer's attributes have every bit of mask; fetched once, and a failed fetch
// answers 0 and leaves the attributes unknown.
int PrnHasAttribute(DWORD mask, DriverContext* ctx);
int PrnIsBidiEnabled(DriverContext* ctx);

// ---- printer facts without a context ----

// Copies the printer's name into buffer (cchBuffer characters) when it fits, then rebuilds a
// connection name in place. The buffer is untouched when no information can be had.
WCHAR* PrnGetPrinterNameOf(HANDLE hPrinter, WCHAR* buffer, DWORD cchBuffer);
WCHAR* PrnGetPrinterNameOfFromInfo(HANDLE hPrinter, WCHAR* buffer, DWORD cchBuffer, const PRINTER_INFO_2* info);
// The printer's driver name into buffer (cbBuffer bytes, cut and terminated when longer);
// the model record's default driver name when it cannot be read.
WCHAR* PrnGetDriverNameOf(HANDLE hPrinter, WCHAR* buffer, DWORD cbBuffer);
// 1 when the printer is reached through a server; fetched at every call.
int PrnIsOnServerOf(HANDLE hPrinter);
int PrnInfoIsOnServer(const PRINTER_INFO_2* info);
int PrnInfoIsLocal(const PRINTER_INFO_2* info);
// 1 when a local printer's name no longer matches the name stored at installation
// ("ZEMSPrinterName", compared without case); 0 for connections and terminal-server client
// printers, and when info is null.
int PrnNameChangedSinceInstall(HANDLE hPrinter, const PRINTER_INFO_2* info);
// 1 when the printer data "AdminChange" (REG_DWORD) exists and is nonzero; the value read is
// left in *value (when given).
int PrnGetAdminChange(HANDLE hPrinter, DWORD* value);

// On Windows Vista and later, rebuilds a connection name "\\server\queue" from the print
// server's DsSpooler values shortServerName and printerName when both are there and the result
// fits cchName characters; every other name stays as it is.
void PrnRebuildConnectionName(HANDLE hPrinter, WCHAR* name, DWORD cchName);
