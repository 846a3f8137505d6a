// The per-machine and per-user settings folders: where they are (printer data, registry,
// default at the root of the system drive), creating and securing the per-machine folder,
// removing the default folder once the folder has moved, and the two path macros. The user
// profile, printer-data folder and folder-security helpers these lookups use have headers of
// their own (user_profile.h, printer_data_dirs.h, folder_security.h).
// Lookups return the length of the text placed in buffer (cchBuffer characters), 0 when
// nothing was found; they read the printer data, registry and system folders every time.
#pragma once
#include "platform/win32.h"

struct DriverContext;

// The driver's key under HKEY_LOCAL_MACHINE ("SOFTWARE\\ORVEL\\ZemsDrv").
LPCWSTR PathDriverRegKey();

// Per-machine folder: for a printer reached through a server the printer-data value
// "_ZEMSDirectoryClient", then the registry value "_ZEMSDirectory", then the root of the
// system drive + "_zems". The forms differ in how the server question is answered.
int PathGetMachineSettingsFolder(WCHAR* buffer, DWORD cchBuffer, DriverContext* ctx);
int PathGetMachineSettingsFolderFromInfo(WCHAR* buffer, DWORD cchBuffer, DriverContext* ctx, const PRINTER_INFO_2* info);
int PathGetMachineSettingsFolderOf(WCHAR* buffer, DWORD cchBuffer, HANDLE hPrinter);
int PathGetMachineSettingsFolderOfFromInfo(WCHAR* buffer, DWORD cchBuffer, HANDLE hPrinter, const PRINTER_INFO_2* info);
// Settings folder: the per-machine folder on Windows 2000 and later, the System directory
// before.
int PathGetSettingsFolder(WCHAR* buffer, DWORD cchBuffer, DriverContext* ctx);
int PathGetSettingsFolderFromInfo(WCHAR* buffer, DWORD cchBuffer, DriverContext* ctx, const PRINTER_INFO_2* info);
int PathGetSettingsFolderOf(WCHAR* buffer, DWORD cchBuffer, HANDLE hPrinter);
int PathGetSettingsFolderOfFromInfo(WCHAR* buffer, DWORD cchBuffer, HANDLE hPrinter, const PRINTER_INFO_2* info);
// User folder: profile folder + "\_zems" (before Windows 2000: System\orvel\_zems\<profile
// leaf>); 0 when no profile folder can be had.
int PathGetUserSettingsFolder(WCHAR* buffer, DWORD cchBuffer, HANDLE hPrinter);
int PathGetUserSettingsFolderFromInfo(WCHAR* buffer, DWORD cchBuffer, HANDLE hPrinter, const PRINTER_INFO_2* info);
// Calling user's folder: the folder of the context's settings-file path when that is already
// absolute, else the user folder of the context's printer.
int PathGetSessionSettingsFolder(WCHAR* buffer, DWORD cchBuffer, DriverContext* ctx);
int PathGetSessionSettingsFolderFromInfo(WCHAR* buffer, DWORD cchBuffer, DriverContext* ctx, const PRINTER_INFO_2* info);

// folder + "\" + name; the empty string (0) when the folder cannot be had or does not fit.
int PathInSettingsFolder(WCHAR* buffer, DWORD cchBuffer, LPCWSTR name, DriverContext* ctx);
int PathInSettingsFolderFromInfo(WCHAR* buffer, DWORD cchBuffer, LPCWSTR name, DriverContext* ctx,
                                   const PRINTER_INFO_2* info);
int PathInUserSettingsFolder(WCHAR* buffer, DWORD cchBuffer, LPCWSTR name, HANDLE hPrinter);
// The settings folder of the calling user (multi-session host, context not opened with kind
// bit 0x40000) or of the machine, + "\" + the leaf of name with its extension made "rsr".
BOOL PathUserRsrFile(LPWSTR buffer, LPCWSTR name, DWORD cchBuffer, DriverContext* ctx);

// FOLDERID_LocalAppDataLow through "shell32.dll" and "ole32.dll"; 0 before Windows Vista
// (either function missing) or when the text does not fit cchBuffer.
BOOL PathGetLocalLowFolder(WCHAR* buffer, DWORD cchBuffer);

// Expands a leading "%SYSTEMDRIVE%" (the system drive's root) or "%SYSTEMROOT%" (the Windows
// directory) in place; a drive path stays as it is. 1 when path is usable afterwards, 0 for
// any other path (left unchanged) or an expansion that does not fit cchPath.
BOOL PathExpandSystemMacros(LPWSTR path, DWORD cchPath, DriverContext* ctx);
// The single expansions; a path that does not begin with the macro is left as it is (0).
BOOL PathExpandSystemDrive(LPWSTR path, DWORD cchPath);
BOOL PathExpandSystemRoot(LPWSTR path, DWORD cchPath);

// Creates the per-machine folder (hidden, owned by the Administrators, everyone allowed all
// file access, inherited by what is created in it); 1 when the folder exists afterwards.
BOOL PathCreateSettingsFolder(DriverContext* ctx);
BOOL PathCreateSettingsFolderOf(HANDLE hPrinter);
// Sets the owner and DACL again on the per-machine folder and the files directly in it
// (before Windows 2000 the bidirectional store's ini is made sure of instead). 1 when every
// SetFileSecurityW succeeded.
BOOL PathSecureSettingsFolder(DriverContext* ctx);
BOOL PathSecureMachineFolderOf(HANDLE hPrinter);

// The root of the system drive + "_zems".
int PathGetDefaultMachineFolder(WCHAR* buffer, DWORD cchBuffer);
// Removes what the driver put into the default folder (its settings ini and the preset and
// quality files listed there), then the folder when nothing else is left; a package folder or
// any other file stays. Refuses (0) when the printer's settings folder is that folder or lies
// inside it, and when another printer uses it or that cannot be told; 0 also when a file of
// the driver could not be deleted.
BOOL PathRemoveDefaultMachineFolder(HANDLE hPrinter);

// ---- the settings file ----

// The printer's settings-file path in the UI state: the model record's name when absolute;
// else in the calling user's folder on a multi-session host (unless the open kind has
// 0x40000), else in the settings folder. The empty string when no folder can be had.
const WCHAR* PathSettingsFile(DriverContext* ctx);
const WCHAR* PathSettingsFileFromInfo(DriverContext* ctx, const PRINTER_INFO_2* info,
                                      const DRIVER_INFO_3* driverInfo);
// The settings-file path of a printer handle into buffer (cchBuffer characters): the user
// settings folder when perUser is 1, else the settings folder of the handle. 1 on success,
// 0 with an empty buffer when no folder can be had or the path does not fit.
int PathSettingsFileOf(WCHAR* buffer, DWORD cchBuffer, int perUser, HANDLE hPrinter);
// The same into a buffer of MAX_PATH characters.
inline int PathSettingsFileFor(WCHAR* buffer, int perUser, HANDLE hPrinter) {
  return PathSettingsFileOf(buffer, MAX_PATH, perUser, hPrinter);
}
int PathSettingsFileOfFromInfo(WCHAR* buffer, DWORD cchBuffer, int perUser, HANDLE hPrinter, const PRINTER_INFO_2* info);
