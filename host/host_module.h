// The exclusion DLL loaded by name as an application loads it (its exports through ExportOf).
#pragma once
#include <stdio.h>

#include "core/bind/export_of.h"
#include "platform/win32.h"

// zemsexc.dll, or null after telling stderr why (command names the host command).
inline HMODULE LoadExclusionDll(const char* command) {
  HMODULE dll = LoadLibraryW(TEXT("zemsexc.dll"));
  if (!dll) fprintf(stderr, "zemshost %s: zemsexc.dll cannot be loaded (error %lu)\n", command, GetLastError());
  return dll;
}
