// The install ini "ZEMS.ini" in the System directory and its per-printer keys: values an
// installer leaves for one printer (default pack, user code, identification, authentication,
// folders), each applied once and deleted, and the status keys written back.
#pragma once
#include "platform/win32.h"

struct DriverContext;

// "ZEMS.ini".
const WCHAR* InstIniName();
// Full path of the install ini, built in the context's UI state (the empty string without a
// context or when it does not fit).
const WCHAR* InstIniPath(DriverContext* ctx);
// The same into buffer; a buffer of fewer than 260 characters is left untouched (0). 1 when built.
int InstIniPathInto(WCHAR* buffer, DWORD cchBuffer);

// 1 when the printer's section holds nothing to apply (DefaultRst, SetUserCode, SetUserID,
// SetOwnerID, the authentication keys when that feature is on, ZEMSDirectory and
// ZEMSDirectoryClient; the spool-folder keys do not count); 0 when it holds work, for a null
// printer name, or without memory.
int InstIniSectionIsEmpty(const WCHAR* iniPath, const WCHAR* printerName);
// The install ini exists and the printer's section holds work.
int InstIniHasWork(const WCHAR* printerName);
int InstIniHasWorkForContext(DriverContext* ctx);
// The same test on the model data file of the printer's driver folder.
int InstDriverIniHasWork(const WCHAR* printerName, HANDLE hPrinter);
// The install ini exists, the printer has a section in it and the section holds work.
int InstIniHasPrinterSection(HANDLE hPrinter);

// Applies the install ini to the context's printer: the default pack it names, the user code,
// the identification keys and the folder keys. 1 when the ini exists and its section is empty
// or names a default pack; 0 when the ini is missing or the section holds work but no pack.
int InstApplyInstallerDefaults(DriverContext* ctx);
// SetUserCode: *present tells whether the key was there; 1 when a valid code was applied.
// The key is deleted in every case.
int InstApplyUserCode(const WCHAR* iniPath, const WCHAR* printerName, int* present, DriverContext* ctx);
// SetUserID, SetOwnerID and the authentication keys; 1 when SetUserID or SetOwnerID had a
// value or an authentication key was present, 0 when none was or memory ran out.
int InstApplyUserIdentity(const WCHAR* iniPath, const WCHAR* printerName, DriverContext* ctx);
// The user-code keys of the per-printer defaults ini: kind 0 resets them and writes the
// current code, kind 1 writes the current code (and the most recently used code), kind 2
// resets the switches only. 1 for kind 2, and for kinds 0 and 1 when a current code was written.
int InstWriteUserCodeDefaults(const WCHAR* printerName, int kind, DriverContext* ctx);

// SpoolDirectory and SpoolDirectoryAll of the file iniPath; ZEMSDirectory and
// ZEMSDirectoryClient. Both hold the global mutex, delete their keys (keeping the file's time
// in keepTimeMode 1) and return 1 (0 only without memory).
int InstApplySpoolFolder(const WCHAR* iniPath, const WCHAR* printerName, DriverContext* ctx, int keepTimeMode);
int InstApplySettingsFolders(HANDLE hPrinter, const WCHAR* printerName, const WCHAR* iniPath,
                             const PRINTER_INFO_2* info, int keepTimeMode);
// InstApplySettingsFolders on the driver folder's model data file (mode 1) and on the
// install ini (mode 0).
int InstApplySettingsFoldersFromDataFile(HANDLE hPrinter, const WCHAR* printerName, const PRINTER_INFO_2* info);
int InstApplySettingsFoldersFromIni(HANDLE hPrinter, const WCHAR* printerName, const PRINTER_INFO_2* info);

// Status keys of the printer's section, written as decimal text after the ini's read-only
// attribute is cleared.
int InstSetBatchInstallDone(const WCHAR* iniPath, const WCHAR* printerName, int value);
void InstSetDrvInstSet(const WCHAR* iniPath, const WCHAR* printerName, int value);
// 1 when DrvInstSet reads as an integer other than 0 (a missing key reads 0x7FFF: not set).
int InstGetDrvInstSet(const WCHAR* iniPath, const WCHAR* printerName);
// BatchInstallDone in the printer's settings ini and, when alsoPrinterData, the printer data
// value "BatchInstallDone" (4 bytes, REG_BINARY). 1 when the ini key was written.
int InstMarkBatchInstallDone(const WCHAR* settingsIni, const WCHAR* printerName, int value, int alsoPrinterData,
                             DriverContext* ctx);
// 1 when the printer data "BatchInstallDone" reads and is nonzero.
int InstIsBatchInstallDone(HANDLE hPrinter, DriverContext* ctx);
