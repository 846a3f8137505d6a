// The exclusion DLL loaded by name as an application loads it, and its exports by name.
#pragma once
#include <stdio.h>

#include "platform/win32.h"

template <typename F>
F Export(HMODULE m, const char* name) {
  return reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(m, name)));
}

// zemsexc.dll, or null after telling stderr why (command names the host command).
inline HMODULE LoadExclusionDll(const char* command) {
  HMODULE dll = LoadLibraryW(TEXT("zemsexc.dll"));
  if (!dll) fprintf(stderr, "zemshost %s: zemsexc.dll cannot be loaded (error %lu)\n", command, GetLastError());
  return dll;
}
