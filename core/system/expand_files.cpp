// The "Expand File" program runner.
#include "core/system/expand_files.h"

#include "core/common/ini_access.h"
#include "core/system/printer_names.h"
#include "core/common/os_tests.h"
#include "core/system/driver_paths.h"

namespace {

const WCHAR kSection[] = TEXT("Expand File");
const UINT kMaxPrograms = 1000;

// Starts driver folder + program hidden, with an empty command line, in folder, and waits
// for it without a time-out.
void RunAndWait(LPCWSTR driverDir, LPCWSTR program, LPCWSTR folder) {
  WCHAR path[MAX_PATH];
  if (lstrlenW(driverDir) + lstrlenW(program) + 1 > MAX_PATH) return;
  lstrcpyW(path, driverDir);
  lstrcatW(path, program);
  WCHAR commandLine[1] = {0};
  STARTUPINFOW startup = {};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = SW_HIDE;
  PROCESS_INFORMATION process = {};
  if (!CreateProcessW(path, commandLine, nullptr, nullptr, FALSE, 0, nullptr, folder, &startup, &process)) return;
  WaitForSingleObject(process.hProcess, INFINITE);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
}

void RunList(DriverContext* ctx, LPCWSTR dataFile, LPCWSTR keyFormat, UINT count, LPCWSTR folder) {
  for (UINT i = 1; i <= count; ++i) {
    WCHAR key[32], program[MAX_PATH + 1];
    wsprintfW(key, keyFormat, int(i));
    if (IniReadString(kSection, key, TEXT(""), program, MAX_PATH + 1, dataFile) == 0) continue;
    // The driver folder is rebuilt by each call; take it again for each program.
    RunAndWait(PathGetDriverDir(ctx), program, folder);
  }
}

}  // namespace

void InstallRunExpandFiles(DriverContext* ctx) {
  if (!ctx) return;
  WCHAR dataFile[MAX_PATH];
  LPCWSTR modelData = PathModelDataFile(ctx);
  if (!modelData || lstrlenW(modelData) >= MAX_PATH) return;
  lstrcpyW(dataFile, modelData);
  // A count beyond any real list would only spin through missing keys; such a file is damaged.
  UINT systemCount = IniReadInt(kSection, TEXT("SystemDirfiles"), 0, dataFile);
  UINT driverCount = IniReadInt(kSection, TEXT("DriverDirfiles"), 0, dataFile);
  if (systemCount > kMaxPrograms) systemCount = kMaxPrograms;
  if (driverCount > kMaxPrograms) driverCount = kMaxPrograms;
  if (systemCount == 0 && driverCount == 0) return;

  WCHAR systemDir[MAX_PATH], driverDir[MAX_PATH];
  systemDir[0] = 0;
  OsGetSystemDir(systemDir, MAX_PATH, ctx);
  LPCWSTR dir = PathGetDriverDir(ctx);
  if (!dir || lstrlenW(dir) >= MAX_PATH) return;
  lstrcpyW(driverDir, dir);
  RunList(ctx, dataFile, TEXT("SystemDir%d"), systemCount, systemDir);
  RunList(ctx, dataFile, TEXT("DriverDir%d"), driverCount, driverDir);
}
