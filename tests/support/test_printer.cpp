// The test printer and the machine facts of the printer tests.
#include "support/test_printer.h"

#include <gtest/gtest.h>
#include <stdlib.h>
#include <string.h>
#include <sys/wait.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <vector>

#include "core/items/item_table.h"
#include "core/system/terminal_server.h"
#include "core/context/context_cache.h"
#include "core/model/model_cache.h"
#include "platform/sim.h"
#include "support/machine_fixture.h"
#include "support/test_variant.h"

namespace zems_test {

const char16_t kTestDriverName[] = u"ORVEL ALTEN KV310 ZEMS";

bool InstallTestDriver(const TestDriver& d) {
  std::u16string driverName = d.name, gr = u"zemsgr.dll", data = d.dataFile, ui = u"zemsui.dll",
                 help = d.helpFile ? d.helpFile : u"",
                 deps = d.dependentFile ? std::u16string(d.dependentFile) + u'\0' + u'\0' : std::u16string();
  DRIVER_INFO_3W driver = {};
  driver.cVersion = 3;
  driver.pName = &driverName[0];
  driver.pDriverPath = &gr[0];
  driver.pDataFile = &data[0];
  driver.pConfigFile = &ui[0];
  driver.pHelpFile = d.helpFile ? &help[0] : nullptr;
  driver.pDependentFiles = d.dependentFile ? &deps[0] : nullptr;
  BOOL ok = AddPrinterDriverW(nullptr, 3, reinterpret_cast<LPBYTE>(&driver));
  EXPECT_TRUE(ok) << GetLastError();
  return ok != FALSE;
}

HANDLE AddTestPrinter(const std::u16string& name, const std::u16string& server, DWORD attributes,
                      const TestDriver& driver) {
  if (!InstallTestDriver(driver)) return nullptr;
  std::u16string printerName = name, port = u"LPT1:", serverName = server, driverName = driver.name,
                 processor = u"WinPrint", datatype = u"RAW";
  PRINTER_INFO_2W info = {};
  info.pServerName = serverName.empty() ? nullptr : &serverName[0];
  info.pPrinterName = &printerName[0];
  info.pPortName = &port[0];
  info.pDriverName = &driverName[0];
  info.pPrintProcessor = &processor[0];
  info.pDatatype = &datatype[0];
  info.Attributes = attributes;
  HANDLE h = AddPrinterW(nullptr, 2, reinterpret_cast<LPBYTE>(&info));
  EXPECT_NE(h, nullptr) << "AddPrinterW failed with " << GetLastError();
  return h;
}

std::string HostPath(const std::string& windowsPath) {
  std::u16string wide(windowsPath.begin(), windowsPath.end());
  return SimHostPath(reinterpret_cast<LPCWSTR>(wide.c_str()));
}

bool WriteMachineFile(const std::string& windowsPath, const std::string& contents) {
  std::string host = HostPath(windowsPath);
  std::error_code ec;
  std::filesystem::create_directories(std::filesystem::path(host).parent_path(), ec);
  std::ofstream out(host, std::ios::binary | std::ios::trunc);
  out << contents;
  return bool(out);
}

void InstallStandIn(const char* windowsName, const char* so) {
  std::string source = BinDir() + "/" + so;
  std::string target = HostPath(std::string("C:\\WINDOWS\\system32\\") + windowsName);
  std::error_code ec;
  std::filesystem::create_directories(std::filesystem::path(target).parent_path(), ec);
  std::filesystem::copy_file(source, target, std::filesystem::copy_options::overwrite_existing, ec);
  ASSERT_FALSE(ec) << ec.message();
  ASSERT_TRUE(SimRegisterModule(windowsName, source.c_str()));
}

void InstallCheckDll(int answer) {
  std::string so = BinDir() + "/ov00c150.so";
  std::string target = HostPath("C:\\WINDOWS\\system32\\spool\\drivers\\w32x86\\3\\OV00C150.dll");
  std::error_code ec;
  std::filesystem::create_directories(std::filesystem::path(target).parent_path(), ec);
  std::filesystem::copy_file(so, target, std::filesystem::copy_options::overwrite_existing, ec);
  ASSERT_FALSE(ec) << ec.message();
  ASSERT_TRUE(SimRegisterModule("OV00C150.dll", so.c_str()));
  std::string answerFile = std::string(SimMachineRoot()) + "/stand-ins/ov00c150.answer";
  std::filesystem::create_directories(std::string(SimMachineRoot()) + "/stand-ins", ec);
  if (answer >= 0)
    std::ofstream(answerFile) << answer;
  else
    std::filesystem::remove(answerFile, ec);
}

void SetWindows(DWORD major, DWORD minor, WORD servicePack, WORD suites, DWORD platform) {
  SimSystemIdentity id;
  ASSERT_TRUE(SimGetSystemIdentity(&id));
  id.majorVersion = major;
  id.minorVersion = minor;
  id.servicePackMajor = servicePack;
  id.suiteMask = suites;
  id.platformId = platform;
  ASSERT_TRUE(SimSetSystemIdentity(&id));
}

void SetUserIsAdmin(bool admin) {
  SimSystemIdentity id;
  ASSERT_TRUE(SimGetSystemIdentity(&id));
  id.userIsAdmin = admin ? TRUE : FALSE;
  ASSERT_TRUE(SimSetSystemIdentity(&id));
}

int RunHost(const std::string& arguments, std::string& out) {
  std::string command = "ZEMS_MACHINE_ROOT='" + std::string(SimMachineRoot()) + "' '" + BinDir() +
                        "/zemshost' " + arguments + " 2>&1";
  FILE* p = popen(command.c_str(), "r");
  if (!p) return -1;
  char buffer[512];
  while (fgets(buffer, sizeof buffer, p)) out += buffer;
  int status = pclose(p);
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

int RunHost(const std::string& arguments) {
  std::string ignored;
  return RunHost(arguments, ignored);
}

namespace {

// Machines left by installs, by what produced them; removed when the test program ends.
class KeptMachines {
 public:
  ~KeptMachines() {
    std::error_code ec;
    for (const auto& m : kept_) std::filesystem::remove_all(m.second, ec);
  }
  const std::string* Find(const std::string& key) const {
    auto found = kept_.find(key);
    return found == kept_.end() ? nullptr : &found->second;
  }
  void Keep(const std::string& key, const std::string& root) {
    std::string pattern = (std::filesystem::temp_directory_path() / "zems-kept-XXXXXX").string();
    if (!mkdtemp(pattern.data())) return;
    std::error_code ec;
    std::filesystem::copy(root, pattern, std::filesystem::copy_options::recursive, ec);
    if (ec) {
      std::filesystem::remove_all(pattern, ec);
      return;
    }
    kept_[key] = pattern;
  }

 private:
  std::map<std::string, std::string> kept_;
};

KeptMachines& Kept() {
  static KeptMachines machines;
  return machines;
}

// The arguments with the root named as such, then every file of the root with its contents.
std::string MachineKey(const std::string& arguments, const std::string& root) {
  std::string key = arguments;
  for (size_t at = key.find(root); at != std::string::npos; at = key.find(root, at)) key.replace(at, root.size(), "<root>");
  std::vector<std::string> files;
  std::error_code ec;
  for (auto it = std::filesystem::recursive_directory_iterator(root, ec);
       !ec && it != std::filesystem::recursive_directory_iterator(); it.increment(ec))
    if (it->is_regular_file()) files.push_back(it->path().string());
  std::sort(files.begin(), files.end());
  for (const std::string& file : files) {
    std::ifstream in(file, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    key += '\0' + file.substr(root.size()) + '\0' + text.str();
  }
  return key;
}

}  // namespace

int RunHostKept(const std::string& arguments) {
  const std::string root = SimMachineRoot();
  const std::string key = MachineKey(arguments, root);
  if (const std::string* kept = Kept().Find(key)) {
    std::error_code ec;
    std::filesystem::copy(*kept, root,
                          std::filesystem::copy_options::recursive | std::filesystem::copy_options::overwrite_existing, ec);
    if (!ec) {
      SimSetMachineRoot(root.c_str());  // forget what the machine read before the copy
      return 0;
    }
  }
  const int status = RunHost(arguments);
  if (status == 0) Kept().Keep(key, root);
  return status;
}

// ---- fixtures ----

void TestPrinterTest::SetUp() {
  MachineTest::SetUp();
  OsForgetCachedAnswers();  // the version answers are kept per process
  ASSERT_TRUE(InstallTestDriver(Driver()));
}

void TestPrinterTest::TearDown() {
  for (HANDLE h : printers_)
    if (h) ClosePrinter(h);
  printers_.clear();
  MachineTest::TearDown();
}

HANDLE TestPrinterTest::AddPrinter(const char16_t* name, const char16_t* server, DWORD attributes) {
  HANDLE h = AddTestPrinter(name, server ? server : u"", attributes, Driver());
  printers_.push_back(h);
  return h;
}

HANDLE TestPrinterTest::OpenAgain(const char16_t* name) {
  HANDLE h = nullptr;
  EXPECT_TRUE(OpenPrinterW(Text(name), &h, nullptr));
  return h;
}

bool TestPrinterTest::ReadPrinterData(HANDLE printer, const char16_t* name, std::string* bytes, DWORD* type) {
  DWORD t = 0, needed = 0;
  DWORD rc = GetPrinterDataW(printer, Text(name), &t, nullptr, 0, &needed);
  if (rc == ERROR_FILE_NOT_FOUND) return false;
  std::string buffer(needed, '\0');
  rc = GetPrinterDataW(printer, Text(name), &t, reinterpret_cast<LPBYTE>(&buffer[0]), needed, &needed);
  if (rc != ERROR_SUCCESS) return false;
  buffer.resize(needed);
  if (bytes) *bytes = buffer;
  if (type) *type = t;
  return true;
}

void TestPrinterTest::SetPrinterText(HANDLE printer, const char16_t* name, const std::u16string& value, DWORD type) {
  ASSERT_EQ(DWORD(ERROR_SUCCESS),
            SetPrinterDataW(printer, Text(name), type, reinterpret_cast<LPBYTE>(const_cast<char16_t*>(value.c_str())),
                            DWORD((value.size() + 1) * sizeof(WCHAR))));
}

void TestPrinterTest::UseStandIn(const char* dllName, const char* module) {
  ASSERT_TRUE(SimRegisterModule(dllName, (BinDir() + "/" + module + ".so").c_str()));
}

void TestPrinterTest::SetWindowsVersion(DWORD major, DWORD minor) {
  SimSystemIdentity identity;
  ASSERT_TRUE(SimGetSystemIdentity(&identity));
  identity.majorVersion = major;
  identity.minorVersion = minor;
  ASSERT_TRUE(SimSetSystemIdentity(&identity));
  OsForgetCachedAnswers();
}

std::string TestPrinterTest::DriverFolderHost() const {
  return HostPath("C:\\WINDOWS\\system32\\spool\\drivers\\w32x86\\3");
}

void LocalAndRemotePrinterTest::SetUp() {
  TestPrinterTest::SetUp();
  std::error_code ec;
  std::filesystem::create_directories(HostPath("C:\\WINDOWS\\system32"), ec);
  local_ = AddPrinter(u"Local");
  remote_ = AddPrinter(u"\\\\SRV\\Remote", u"\\\\SRV");
  ASSERT_TRUE(local_ && remote_);
  localCtx_.printer = local_;
  remoteCtx_.printer = remote_;
}

TestDriver LocalAndRemotePrinterTest::Driver() const {
  TestDriver d;
  d.name = u"ZEMS Test";
  d.helpFile = u"C:\\somewhere\\ZEMSGM.HLP";
  d.dependentFile = nullptr;
  return d;
}

void ContextTest::SetUp() {
  ResetTestVariant();
  TestPrinterTest::SetUp();
  CtxCacheInit();
  // Each test has its own machine, while the compiled models stay cached per process.
  ModelFreeImageCache();
  SimSetTickCount(100000);
  std::ifstream sample(SourceDir() + "/samples/models/zems_c4.zmd", std::ios::binary);
  std::string text((std::istreambuf_iterator<char>(sample)), std::istreambuf_iterator<char>());
  ASSERT_TRUE(WriteMachineFile("C:\\WINDOWS\\system32\\spool\\drivers\\w32x86\\3\\OV1BD172.zmd", text));
  office_ = AddPrinter(u"Office");
  lab_ = AddPrinter(u"Lab");
}

void ContextTest::TearDown() {
  CtxCacheExpire(TRUE);
  TestPrinterTest::TearDown();
}

TestDriver ContextTest::Driver() const {
  TestDriver d;
  d.dataFile = u"OV1BD172.zmd";
  d.helpFile = nullptr;
  d.dependentFile = nullptr;
  return d;
}

BYTE* ContextTest::ValueIn(DriverContext* ctx, BYTE* block, WORD id) { return ItemStorageIn(block, ItemFind(ctx, id)); }

DWORD ContextTest::ReadDword(const BYTE* p) {
  DWORD v;
  memcpy(&v, p, 4);
  return v;
}

void ContextTest::WriteDword(BYTE* p, DWORD v) { memcpy(p, &v, 4); }

}  // namespace zems_test

namespace zems_test {

std::string InstallOfficeWithLanguage() {
  const int rc = RunHostKept("machine install --model " + SourceDir() + "/samples/models/zems_c4.zmd --printer Office "
                             "--extra " + SourceDir() + "/samples/driver/OV1BD172.ini");
  if (rc != 0) return "zemshost machine install answered " + std::to_string(rc);
  std::error_code ec;
  const std::string folder = HostPath("C:\\WINDOWS\\system32\\spool\\drivers\\w32x86\\3\\");
  std::filesystem::create_directories(folder, ec);
  if (!std::filesystem::copy_file(BinDir() + "/zemsresus.dll", folder + "/zemsresus.dll",
                                  std::filesystem::copy_options::overwrite_existing, ec))
    return "the language DLL was not copied: " + ec.message();
  return "";
}

}  // namespace zems_test
