// The test printer: the test driver installed on a fresh simulated machine, printers of it
// added by name, and the machine facts (Windows version, administrator, check DLL) the
// printer tests set. Every test that needs a printer starts from here.
#pragma once
#include <string>
#include <vector>

#include "core/context/context_cache.h"
#include "core/context/driver_context.h"
#include "core/context/ui_state.h"
#include "core/items/item_table.h"
#include "platform/sim.h"
#include "platform/win32.h"
#include "support/machine_fixture.h"
#include "support/test_variant.h"

namespace zems_test {

// The driver every test printer uses unless a fixture says otherwise.
extern const char16_t kTestDriverName[];

// The driver as AddPrinterDriverW records it (version 3, zemsgr.dll and zemsui.dll). The
// defaults are the suite's test driver; a fixture changes only what its tests are about.
struct TestDriver {
  const char16_t* name = kTestDriverName;
  const char16_t* dataFile = u"OV1BD172.ini";
  const char16_t* helpFile = u"ZEMSHLUS.HLP";       // null: none
  const char16_t* dependentFile = u"zemsexc.dll";   // null: none
};

// Installs the driver, over the same driver when it is there already; false on failure.
bool InstallTestDriver(const TestDriver& driver = TestDriver());
// Installs the driver and adds a printer of it with these facts. Returns a handle opened with
// all access, or null (the test fails). The caller closes it.
HANDLE AddTestPrinter(const std::u16string& name, const std::u16string& server = u"",
                      DWORD attributes = PRINTER_ATTRIBUTE_LOCAL, const TestDriver& driver = TestDriver());

// Host path of a Windows path on the current machine ("C:\..." under the root).
std::string HostPath(const std::string& windowsPath);
// Writes a file of the machine (folders made as needed); false when it cannot.
bool WriteMachineFile(const std::string& windowsPath, const std::string& contents);

// Copies bin/<so> to C:\WINDOWS\system32\<windowsName> and registers it under that name.
void InstallStandIn(const char* windowsName, const char* so);

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
// The same with its standard output and error appended to out.
int RunHost(const std::string& arguments, std::string& out);
// RunHost for an install: the first run of the same arguments on a machine with the same files
// (the machine root named as such) keeps a copy of the machine it left, and later runs copy that
// in instead of running zemshost again. An install compiles the model and runs the install pass,
// which the sanitizer builds make slow.
int RunHostKept(const std::string& arguments);
// Installs the sample printer "Office" (the sample model and its options file) through
// zemshost and places the US language DLL in the driver folder; an empty answer on success,
// else what failed.
std::string InstallOfficeWithLanguage();

// A context of a printer as the lookups see it before any fact is asked: the handle and an
// empty UI state, no model record (the lookups use the template's).
struct BareContext {
  DriverContext ctx = {};
  UiState ui = {};
  explicit BareContext(HANDLE printer = nullptr) {
    ctx.printer = printer;
    ctx.ui = &ui;
  }
};

// A fresh machine with the fixture's driver installed; printers added through AddPrinter are
// closed at the end. The cached OS answers are forgotten, so each test sees its machine.
class TestPrinterTest : public MachineTest {
 protected:
  void SetUp() override;
  void TearDown() override;
  // The driver the fixture installs.
  virtual TestDriver Driver() const { return TestDriver(); }

  HANDLE AddPrinter(const char16_t* name, const char16_t* server = nullptr,
                    DWORD attributes = 0);
  HANDLE OpenAgain(const char16_t* name);
  // A REG_SZ (or other text type) value of the printer's data.
  void SetPrinterText(HANDLE printer, const char16_t* name, const std::u16string& value, DWORD type = REG_SZ);
  // A value of the printer's data, its bytes and type (each optional); false when it is absent or
  // cannot be read.
  bool ReadPrinterData(HANDLE printer, const char16_t* name, std::string* bytes, DWORD* type);
  // Registers the stand-in shared object bin/<module>.so as the DLL dllName.
  void UseStandIn(const char* dllName, const char* module);
  // Sets major.minor of the machine's Windows version, keeping the rest of its identity.
  void SetWindowsVersion(DWORD major, DWORD minor);
  // The driver folder as a host path (where the spooler keeps the driver's files).
  std::string DriverFolderHost() const;

  static LPWSTR Text(const char16_t* s) { return reinterpret_cast<LPWSTR>(const_cast<char16_t*>(s)); }

 private:
  std::vector<HANDLE> printers_;
};

// Two printers of one driver: "Local" and the connection "\\SRV\Remote", each with a bare
// context, for the settings-folder, language and driver-file lookups. The driver's help file
// names a language ("gm") other than the default.
class LocalAndRemotePrinterTest : public TestPrinterTest {
 protected:
  void SetUp() override;
  TestDriver Driver() const override;

  HANDLE local_ = nullptr;
  HANDLE remote_ = nullptr;
  BareContext localBare_;
  BareContext remoteBare_;
  DriverContext& localCtx_ = localBare_.ctx;
  DriverContext& remoteCtx_ = remoteBare_.ctx;
  UiState& localUi_ = localBare_.ui;
  UiState& remoteUi_ = remoteBare_.ui;
};

// Two printers, "Office" and "Lab", of the driver whose model data is the compiled sample,
// with an empty context cache and a standing clock, for opening real contexts.
class ContextTest : public TestPrinterTest {
 protected:
  void SetUp() override;
  void TearDown() override;
  TestDriver Driver() const override;

  // The value bytes of an item in a settings block of the context.
  static BYTE* ValueIn(DriverContext* ctx, BYTE* block, WORD id);
  static DWORD ReadDword(const BYTE* p);
  static void WriteDword(BYTE* p, DWORD v);

  HANDLE office_ = nullptr;
  HANDLE lab_ = nullptr;
};

}  // namespace zems_test
