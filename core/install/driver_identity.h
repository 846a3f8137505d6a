// Driver identity values in printer data, the HKLM helpers, companion products and the
// print-log defaults. Every text value is stored with its terminator; every text read is
// terminated by the reader, whatever size was stored.
#pragma once
#include "core/context/driver_context.h"
#include "platform/win32.h"

// Reads the printer data "HelpFileName" into buffer (cchBuffer characters, terminated); 1 when it
// was read, 0 for a null buffer, a cchBuffer of 0 or a missing value.
int InstReadHelpFileName(WCHAR* buffer, DWORD cchBuffer, DriverContext* ctx);
// The same for a printer handle.
int InstReadHelpFileNameByPrinter(WCHAR* buffer, DWORD cchBuffer, HANDLE hPrinter);

// 1 when the companion product is installed: kind 2 the job binder, kind 8 the preview; any
// other kind 0.
int InstIsCompanionInstalled(int kind, DriverContext* ctx);

// "SPLUserModePrinterDriver" and "DriverIniFileName" from the model record (when it names
// them), then "DriverGRFileName" and "DriverEDFileName"; 1 when the first two were written.
int InstWriteDriverFileNames(HANDLE hPrinter, DriverContext* ctx);
// "HelpFileName": the leaf of the driver's help file; 1 when written.
int InstWriteHelpFileName(DriverContext* ctx);
// Makes sure the print-log registry values exist; with refresh nonzero also writes
// "LogFileName" (the driver file's leaf with the extension "log"). 1 when what was asked for
// was written.
int InstWriteLogFileName(int refresh, DriverContext* ctx);
// The print-log defaults: "LogFileDirectory" (Windows directory + "\temp\PrintLog") when it
// cannot be read or is empty, "MaxLogFileSize" (64) when it cannot be read; existing values
// stay. 1 when both exist afterwards.
int InstEnsurePrintLogDefaults();
// "ZEMSPrinterName" and "DriverName" from the printer's PRINTER_INFO_2; 1 on success.
int InstWritePrinterName(HANDLE hPrinter);
int InstWriteDriverName(HANDLE hPrinter);
// Reads "ZEMSPrinterName" into buffer (261 characters), or into the UI state when buffer is
// null; 1 on success. The Into form requires a buffer.
int InstReadPrinterNameData(HANDLE hPrinter, WCHAR* buffer, DriverContext* ctx);
int InstReadPrinterNameInto(HANDLE hPrinter, WCHAR* buffer);
// "Permission" (REG_DWORD) with the caller's data and size; 1 when the value was written.
int InstWritePermission(HANDLE hPrinter, const void* data, DWORD size);
// 1 when the HKLM value "SaveDeviceSetup" exists and its first 16-bit unit is 1.
int InstIsSaveDeviceSetup(DriverContext* ctx);

// Values under HKEY_LOCAL_MACHINE: read into buffer (cbBuffer bytes; a text read is
// terminated within the buffer), written with the given type. 1 on success.
int InstReadHklmValue(const WCHAR* key, const WCHAR* value, void* buffer, DWORD cbBuffer, DriverContext* ctx);
int InstReadHklmValueRaw(const WCHAR* key, const WCHAR* value, void* buffer, DWORD cbBuffer);
int InstWriteHklmValue(const WCHAR* key, const WCHAR* value, const void* data, DWORD cbData, DWORD type,
                       DriverContext* ctx);
// REG_SZ under "SOFTWARE\ORVEL\ZemsDrv"; cbText counts the bytes to store.
int InstWriteDriverRegValue(const WCHAR* value, const WCHAR* text, DWORD cbText);
