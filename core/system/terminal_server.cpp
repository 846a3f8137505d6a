// Terminal-server (multi-session) host tests and the context's administrator test.
#include "core/system/terminal_server.h"

#include <string.h>

#include <atomic>

#include "core/common/os_tests.h"
#include "core/context/driver_context.h"
#include "core/context/ui_state.h"
#include "core/system/driver_paths.h"

namespace {

// The cached multi-session answer: 0 not asked yet, 1 yes, 2 no.
std::atomic<int> g_multiSession{0};

const WCHAR kCheckDll[] = TEXT("OV00C150.dll");
const char kCheckExport[] = "_IsTSE_WMICOM_ZEMS_Printer_Driver";
typedef int(WINAPI* TerminalServerCheck)(void);

// Asks the check DLL in the printer's driver folder; a missing DLL or export answers 0.
int AskCheckDll(HANDLE hPrinter, const DRIVER_INFO_3* driverInfo, bool infoGiven) {
  WCHAR path[MAX_PATH];
  if (infoGiven)
    PathGetDriverDirOfFromInfo(hPrinter, path, MAX_PATH, driverInfo);
  else
    PathGetDriverDirOf(hPrinter, path, MAX_PATH);
  DWORD n = DWORD(lstrlenW(path));
  DWORD dllLength = sizeof(kCheckDll) / sizeof(kCheckDll[0]);
  if (!n || n + dllLength > MAX_PATH) return 0;
  memcpy(path + n, kCheckDll, dllLength * sizeof(WCHAR));
  HMODULE dll = LoadLibraryW(path);
  if (!dll) return 0;
  TerminalServerCheck check = reinterpret_cast<TerminalServerCheck>(GetProcAddress(dll, kCheckExport));
  int answer = check && check() == 1 ? 1 : 0;
  FreeLibrary(dll);
  return answer;
}

int TerminalServer(HANDLE hPrinter, const DRIVER_INFO_3* driverInfo, bool infoGiven) {
  if (OsIsAfterXp() && hPrinter) return AskCheckDll(hPrinter, driverInfo, infoGiven);
  OSVERSIONINFOEXW want;
  memset(&want, 0, sizeof want);
  want.dwOSVersionInfoSize = sizeof want;
  want.wSuiteMask = VER_SUITE_TERMINAL;
  DWORDLONG mask = VerSetConditionMask(0, VER_SUITENAME, VER_AND);
  return VerifyVersionInfoW(&want, VER_SUITENAME, mask) ? 1 : 0;
}

int MultiSession(HANDLE hPrinter, const DRIVER_INFO_3* driverInfo, bool infoGiven) {
  int known = g_multiSession.load();
  if (known == 0) {
    known = TerminalServer(hPrinter, driverInfo, infoGiven) ? 1 : 2;
    int expected = 0;
    // The printer that asked first decides for the process.
    if (!g_multiSession.compare_exchange_strong(expected, known)) known = expected;
  }
  return known == 1;
}

}  // namespace

int OsIsTerminalServer(HANDLE hPrinter) { return TerminalServer(hPrinter, nullptr, false); }

int OsIsTerminalServerFromInfo(HANDLE hPrinter, const DRIVER_INFO_3* driverInfo) {
  return TerminalServer(hPrinter, driverInfo, true);
}

int OsIsMultiSessionHost(HANDLE hPrinter) { return MultiSession(hPrinter, nullptr, false); }

int OsIsMultiSessionHostFromInfo(HANDLE hPrinter, const DRIVER_INFO_3* driverInfo) {
  return MultiSession(hPrinter, driverInfo, true);
}

int OsIsAdminIfAsked(DriverContext* ctx) {
  if (!ctx || !ctx->ui || ctx->ui->checkAdministrator == 1) return OsIsUserAdmin();
  return 1;
}

void OsForgetCachedAnswers() {
  OsForgetVersionAnswer();
  g_multiSession.store(0);
}
