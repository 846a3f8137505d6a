// Printer, driver and model names and the paths of the driver's files. The facts a context
// needs about its printer (name, driver name, server or local, attributes) are fetched from
// the spooler at most once and kept in the context's UI state; the paths are rebuilt at every
// call. Forms without a context take a printer handle, with or without a fetched
// PRINTER_INFO_2 / DRIVER_INFO_3. Every buffer a caller passes comes with its size.
#pragma once
#include "core/context/driver_context.h"
#include "platform/win32.h"

// ---- spooler queries (results are freed with MemFree) ----

// GetPrinterW of this level in a zeroed buffer of the size the spooler asked for; null on
// any failure.
void* PrnGetPrinterInfo(HANDLE hPrinter, DWORD level);
// GetPrinterDriverW of this level (the caller's environment) the same way.
void* PrnGetDriverInfo(HANDLE hPrinter, DWORD level);

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
const WCHAR* PrnGetPrinterNameFrom(DriverContext* ctx, const PRINTER_INFO_2* info);
const WCHAR* PrnGetPrinterNameFromAlias(DriverContext* ctx, const PRINTER_INFO_2* info);
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

// Copies the printer's name into buffer (size characters) when it fits, then rebuilds a
// connection name in place. The buffer is untouched when no information can be had.
WCHAR* PrnGetPrinterNameOf(HANDLE hPrinter, WCHAR* buffer, DWORD size);
WCHAR* PrnGetPrinterNameFromInfo(HANDLE hPrinter, WCHAR* buffer, DWORD size, const PRINTER_INFO_2* info);
// The printer's driver name into buffer (sizeBytes bytes, cut and terminated when longer);
// the model record's default driver name when it cannot be read.
WCHAR* PrnGetDriverNameOf(HANDLE hPrinter, WCHAR* buffer, DWORD sizeBytes);
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
// fits size characters; every other name stays as it is.
void PrnRebuildConnectionName(HANDLE hPrinter, WCHAR* name, DWORD size);

// ---- the driver folder and the driver's files ----

// The folder of the driver file (up to and including its last backslash) in the UI state;
// without driver information the System directory + "\spool\drivers\w32x86\2\".
const WCHAR* PathGetDriverDir(DriverContext* ctx);
WCHAR* PathGetDriverDirOf(HANDLE hPrinter, WCHAR* buffer, DWORD size);
WCHAR* PathGetDriverDirFromInfo(HANDLE hPrinter, WCHAR* buffer, DWORD size, const DRIVER_INFO_3* driverInfo);
// Driver folder + name; the buffer is untouched when the driver information cannot be had or
// an argument is missing, and empty when the result does not fit.
WCHAR* PathInDriverDir(WCHAR* buffer, DWORD size, const WCHAR* name, HANDLE hPrinter);
WCHAR* PathInDriverDirOf(WCHAR* buffer, DWORD size, const WCHAR* name, const DRIVER_INFO_3* driverInfo);
// The model data file: the model record's name when absolute, else in the driver folder.
const WCHAR* PathModelDataFile(DriverContext* ctx);
WCHAR* PathModelDataFileOf(HANDLE hPrinter, WCHAR* buffer, DWORD sizeBytes);
// Driver folder + the model record's install ini name.
const WCHAR* PathInstallIniFile(DriverContext* ctx);
// Driver folder + the help file name of the printer data, else the language DLL path with
// "hlp" as its last three characters. Built in the UI state's driver-folder buffer.
const WCHAR* PathHelpFile(DriverContext* ctx);

// ---- other folders ----

// Windows or System directory + "\" + name; the empty string when it does not fit size.
WCHAR* PathInWindowsDir(WCHAR* buffer, DWORD size, const WCHAR* name);
WCHAR* PathInSystemDir(WCHAR* buffer, DWORD size, const WCHAR* name);
// path begins with one or more "..\" parts, each climbing one folder up from the System
// directory; the rest follows. Empty without a "..\" part, with too few folders to climb, or
// when the result does not fit.
WCHAR* PathFromSystemDirUp(WCHAR* buffer, DWORD size, const WCHAR* path);
// The System directory; the length placed (0 when it cannot be had or does not fit).
UINT OsGetSystemDir(WCHAR* buffer, UINT size, DriverContext* ctx);
// The system Windows directory; always answers 1 (the buffer is empty when it does not fit).
int OsGetSystemWindowsDir(WCHAR* buffer, UINT size);
// "BatchInstallDone".
const WCHAR* StrKeyBatchInstallDone();

// ---- the settings file ----

// The printer's settings-file path in the UI state: the model record's name when absolute;
// else in the calling user's folder on a multi-session host (unless the open kind has
// 0x40000), else in the settings folder. The empty string when no folder can be had.
const WCHAR* PathSettingsFile(DriverContext* ctx);
const WCHAR* PathSettingsFileWithInfo(DriverContext* ctx, const PRINTER_INFO_2* info,
                                      const DRIVER_INFO_3* driverInfo);
// The settings-file path of a printer handle into buffer (size characters): the user
// settings folder when perUser is 1, else the settings folder of the handle. 1 on success,
// 0 with an empty buffer when no folder can be had or the path does not fit.
int PathSettingsFileFor(WCHAR* buffer, DWORD size, int perUser, HANDLE hPrinter);
int PathSettingsFileForInfo(WCHAR* buffer, DWORD size, int perUser, HANDLE hPrinter, const PRINTER_INFO_2* info);
