// Whether the running program is a Windows build run under Wine. Windows API only, so the
// conformance program (which may call nothing else) uses it as well as the other tests.
#pragma once
#include "platform/win32.h"

namespace zems_test {

// True under Wine, for the few cases where Wine is known to answer otherwise than Windows;
// always false against the simulated machine.
inline bool UnderWine() {
#ifdef _WIN32
  HMODULE ntdll = GetModuleHandleW(TEXT("ntdll.dll"));
  return ntdll && GetProcAddress(ntdll, "wine_get_version") != nullptr;
#else
  return false;
#endif
}

}  // namespace zems_test
