// Minimal version until the operating-system tests are built: the version and the
// terminal-server suite asked of the system each time, without the check DLL or caches.
#include "core/common/os_tests_minimal.h"

BOOL OsIsNt5OrLater() {
  OSVERSIONINFOW info = {};
  info.dwOSVersionInfoSize = sizeof info;
  return GetVersionExW(&info) && info.dwMajorVersion >= 5;
}

BOOL OsIsMultiSessionHost(HANDLE) {
  OSVERSIONINFOEXW info = {};
  info.dwOSVersionInfoSize = sizeof info;
  info.wSuiteMask = VER_SUITE_TERMINAL;
  return VerifyVersionInfoW(&info, VER_SUITENAME, VerSetConditionMask(0, VER_SUITENAME, VER_AND));
}
