// Printers, files and the system identity of a test machine, set up through the machine's own
// calls (spooler, module table, identity).
#pragma once
#include <string>

#include "platform/win32.h"

namespace zems_test {

// The driver every test printer uses.
extern const char16_t kTestDriverName[];

// Installs the test driver (zemsgr.dll, OV1BD172.ini, zemsui.dll, help file ZEMSHLUS.HLP,
// dependent zemsexc.dll), over the same driver when a previous call installed it, and adds a
// printer of that name with these facts. Returns a handle opened with all access, or null (the
// test fails).
HANDLE AddTestPrinter(const std::u16string& name, const std::u16string& server = u"",
                      DWORD attributes = PRINTER_ATTRIBUTE_LOCAL);

// Host path of a Windows path on the current machine ("C:\..." under the root).
std::string HostPath(const std::string& windowsPath);
// Writes a file of the machine (folders made as needed); false when it cannot.
bool WriteMachineFile(const std::string& windowsPath, const std::string& contents);

// Puts the terminal-server check DLL stand-in into the driver folder and registers it;
// answer is what its export returns (no answer file when answer is negative).
void InstallCheckDll(int answer);

// Sets the Windows version of the machine: major.minor, service pack, platform, suites.
void SetWindows(DWORD major, DWORD minor, WORD servicePack = 0, WORD suites = 0,
                DWORD platform = VER_PLATFORM_WIN32_NT);
// Sets whether the machine's user is an administrator.
void SetUserIsAdmin(bool admin);

// Runs bin/zemshost with these arguments (shell-quoted here) and the current machine root;
// its exit status.
int RunHost(const std::string& arguments);

}  // namespace zems_test
