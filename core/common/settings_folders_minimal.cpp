// Minimal version until the settings folders are built: the per-machine folder is "_zems" at
// the root of the System directory's drive (the System directory itself before Windows
// 2000), the user's folder is %USERPROFILE%\_zems, and the calling user's folder is the
// folder of an absolute settings-file path already in the UI state, else the user's folder.
// The registry and printer-data sources are not consulted.
#include "core/common/settings_folders.h"

#include "core/common/os_tests.h"
#include "core/engine/ui_state_minimal.h"

namespace {

int Place(WCHAR* buffer, DWORD size, const WCHAR* text, DWORD length) {
  if (!buffer || !size) return 0;
  buffer[0] = 0;
  if (length == 0 || length >= size) return 0;
  for (DWORD i = 0; i < length; ++i) buffer[i] = text[i];
  buffer[length] = 0;
  return int(length);
}

int MachineFolder(WCHAR* buffer, DWORD size) {
  WCHAR system[MAX_PATH];
  UINT n = GetSystemDirectoryW(system, MAX_PATH);
  if (n == 0 || n >= MAX_PATH) return Place(buffer, size, nullptr, 0);
  if (!OsIsNt5OrLater()) return Place(buffer, size, system, n);
  if (n < 3) return Place(buffer, size, nullptr, 0);
  WCHAR folder[8] = {system[0], system[1], system[2], u'_', u'z', u'e', u'm', u's'};
  WCHAR text[9];
  for (int i = 0; i < 8; ++i) text[i] = folder[i];
  text[8] = 0;
  return Place(buffer, size, text, 8);
}

int UserFolder(WCHAR* buffer, DWORD size) {
  WCHAR profile[MAX_PATH];
  DWORD n = GetEnvironmentVariableW(TEXT("USERPROFILE"), profile, MAX_PATH);
  if (n == 0 || n + 6 >= MAX_PATH) return Place(buffer, size, nullptr, 0);
  const WCHAR tail[] = TEXT("\\_zems");
  for (int i = 0; i < 7; ++i) profile[n + i] = tail[i];
  return Place(buffer, size, profile, n + 6);
}

int SessionFolder(WCHAR* buffer, DWORD size, DriverContext* ctx) {
  if (ctx && ctx->ui) {
    const WCHAR* path = ctx->ui->settingsFilePath;
    if (path[0] && path[1] == u':') {
      DWORD last = 0, i = 0;
      for (; path[i]; ++i)
        if (path[i] == u'\\') last = i;
      if (last) return Place(buffer, size, path, last);
    }
  }
  return UserFolder(buffer, size);
}

}  // namespace

int PathGetSettingsFolder(WCHAR* buffer, DWORD size, DriverContext*) { return MachineFolder(buffer, size); }
int PathGetSettingsFolderWithInfo(WCHAR* buffer, DWORD size, DriverContext*, const PRINTER_INFO_2*) {
  return MachineFolder(buffer, size);
}
int PathGetSettingsFolderOf(WCHAR* buffer, DWORD size, HANDLE) { return MachineFolder(buffer, size); }
int PathGetSettingsFolderFor(WCHAR* buffer, DWORD size, HANDLE, const PRINTER_INFO_2*) {
  return MachineFolder(buffer, size);
}
int PathGetUserSettingsFolder(WCHAR* buffer, DWORD size, HANDLE) { return UserFolder(buffer, size); }
int PathGetUserSettingsFolderFor(WCHAR* buffer, DWORD size, HANDLE, const PRINTER_INFO_2*) {
  return UserFolder(buffer, size);
}
int PathGetSessionSettingsFolder(WCHAR* buffer, DWORD size, DriverContext* ctx) {
  return SessionFolder(buffer, size, ctx);
}
int PathGetSessionSettingsFolderFor(WCHAR* buffer, DWORD size, DriverContext* ctx, const PRINTER_INFO_2*) {
  return SessionFolder(buffer, size, ctx);
}
