// The settings folders: the per-machine settings folder, the user's folder under the profile
// and the calling user's folder of a context. Each writes a buffer of size characters and
// returns the length of the folder placed there, 0 when none can be had.
#pragma once
#include "core/engine/driver_context.h"
#include "platform/win32.h"

int PathGetSettingsFolder(WCHAR* buffer, DWORD size, DriverContext* ctx);
int PathGetSettingsFolderWithInfo(WCHAR* buffer, DWORD size, DriverContext* ctx, const PRINTER_INFO_2* info);
int PathGetSettingsFolderOf(WCHAR* buffer, DWORD size, HANDLE hPrinter);
int PathGetSettingsFolderFor(WCHAR* buffer, DWORD size, HANDLE hPrinter, const PRINTER_INFO_2* info);
int PathGetUserSettingsFolder(WCHAR* buffer, DWORD size, HANDLE hPrinter);
int PathGetUserSettingsFolderFor(WCHAR* buffer, DWORD size, HANDLE hPrinter, const PRINTER_INFO_2* info);
int PathGetSessionSettingsFolder(WCHAR* buffer, DWORD size, DriverContext* ctx);
int PathGetSessionSettingsFolderFor(WCHAR* buffer, DWORD size, DriverContext* ctx, const PRINTER_INFO_2* info);
