// zemshost machine install: installs a printer from a driver build and a model description.
#include <algorithm>
#include <stdio.h>
#include <string.h>

#include <filesystem>
#include <string>
#include <vector>

#include "core/system/settings_folders.h"
#include "host/host_text.h"
#include "host/machine_support.h"
#include "platform/sim.h"
#include "platform/win32.h"

namespace machine_cmd {

namespace {

namespace fs = std::filesystem;

const char kDefaultDriver[] = "ORVEL ALTEN KV310 ZEMS";
const char kDefaultPrinter[] = "ZEMS Printer";

// Copies a host file into the driver folder under a Windows name.
bool CopyIntoDriverFolder(const fs::path& source, const std::string& windowsName, std::string& error) {
  std::string target = DriverFolderHost() + windowsName;
  std::error_code ec;
  fs::create_directories(fs::path(target).parent_path(), ec);
  fs::copy_file(source, target, fs::copy_options::overwrite_existing, ec);
  if (ec) {
    error = "cannot copy " + source.string() + ": " + ec.message();
    return false;
  }
  return true;
}

// Whether the driver's install pass has run for the printer: "BatchInstallDone" of its printer
// data (a local printer) or of its section of the settings ini (a connection).
bool InstallPassDone(std::u16string& printerName) {
  HANDLE h = nullptr;
  if (!OpenPrinterW(Mutable(printerName), &h, nullptr)) return false;
  DWORD value = 0, type = 0, needed = 0;
  bool done = GetPrinterDataW(h, const_cast<LPWSTR>(TEXT("BatchInstallDone")), &type, reinterpret_cast<LPBYTE>(&value),
                              sizeof value, &needed) == ERROR_SUCCESS &&
              value != 0;
  WCHAR ini[MAX_PATH] = {};
  if (!done && PathSettingsFileOf(ini, MAX_PATH, 0, h))
    done = GetPrivateProfileIntW(printerName.c_str(), TEXT("BatchInstallDone"), 0, ini) != 0;
  ClosePrinter(h);
  return done;
}

}  // namespace

int CmdInstall(int argc, char** argv) {
  // --filter and --force-raw take no value.
  bool filter = false, forceRaw = false;
  std::vector<char*> rest;
  for (int i = 0; i < argc; ++i) {
    if (strcmp(argv[i], "--filter") == 0) filter = true;
    else if (strcmp(argv[i], "--force-raw") == 0) forceRaw = true;
    else rest.push_back(argv[i]);
  }
  if (forceRaw && !filter) return Fail("--force-raw needs --filter");
  argc = int(rest.size());
  argv = rest.data();
  Args a = Parse(argc, argv, {"root", "model", "bin", "printer", "driver", "port", "server", "extra", "attributes", "driver-files"});
  if (a.help) {
    printf("usage: zemshost machine install --model FILE [--bin DIR] [--printer NAME] [--driver NAME]\n"
           "                                [--port NAME] [--server \\\\NAME] [--attributes N] [--extra FILE]...\n"
           "                                [--driver-files DIR] [--root DIR] [--filter [--force-raw]]\n"
           "Installs a printer: copies zemsgr, zemsui and zemsexc of the driver build (DIR, default the\n"
           "folder of zemshost) as .dll files and the model description FILE into the driver folder,\n"
           "registers the driver, the printer and the module table entries of the copied DLLs and of\n"
           "the build's outside-DLL stand-ins (<name>.so as <name>.dll, also placed in System). --extra\n"
           "adds a file to the driver package (a .so becomes <name>.dll and is registered).\n"
           "--driver-files copies every file of DIR into the driver package (default: the sample driver's\n"
           "files, samples/driver of the source tree: the model data file and the model database ini).\n"
           "--server makes the printer a connection to that server. AddPrinterW calls zemsui's\n"
           "DrvPrinterEvent (initialize) as the spooler does, AddPrinterConnectionW the add-connection\n"
           "event with --server; the driver's install pass runs there. --filter registers the filter stand-in (zfilter.dll, copied into the\n"
           "driver folder) in the driver folder's ZEMSPLUG.ini, with ForceRAW=1 under --force-raw.\n"
           "Defaults: printer \"%s\", driver \"%s\", port \"LPT1:\".\n",
           kDefaultPrinter, kDefaultDriver);
    return 0;
  }
  if (!a.error.empty()) return Fail(a.error);
  if (!a.positional.empty()) return Fail("install takes no positional arguments");
  const std::string* model = a.Get("model");
  if (!model) return Fail("install needs --model FILE");
  ChooseRoot(a);
  fs::path bin = a.Get("bin") ? fs::path(*a.Get("bin")) : fs::read_symlink("/proc/self/exe").parent_path();
  std::error_code ec;
  if (!fs::is_regular_file(*model, ec)) return Fail("model description '" + *model + "' not found");
  // Every argument is checked before the machine is touched: a refused install leaves nothing.
  unsigned long long attributes = PRINTER_ATTRIBUTE_LOCAL;
  if (a.Get("attributes") && (!ParseNumber(*a.Get("attributes"), attributes) || attributes > 0xFFFFFFFFull))
    return Fail("--attributes needs a 32-bit number");
  const char* const deliverables[] = {"zemsgr", "zemsui", "zemsexc"};
  for (const char* d : deliverables) {
    fs::path so = bin / (std::string(d) + ".so");
    if (!fs::is_regular_file(so, ec)) return Fail("driver build has no " + so.string());
  }
  for (const std::string& extra : a.All("extra"))
    if (!fs::is_regular_file(extra, ec)) return Fail("extra file '" + extra + "' not found");
  const std::string driverFiles = a.Get("driver-files") ? *a.Get("driver-files") : ZEMS_SOURCE_DIR "/samples/driver";
  if (a.Get("driver-files") && !fs::is_directory(driverFiles, ec))
    return Fail("driver files folder '" + driverFiles + "' not found");
  CreateMachineFolders();

  std::string error;
  std::vector<std::string> dependent;
  for (const char* d : deliverables) {
    fs::path so = bin / (std::string(d) + ".so");
    std::string windowsName = std::string(d) + ".dll";
    if (!CopyIntoDriverFolder(so, windowsName, error)) return Fail(error);
    if (!SimRegisterModule(windowsName.c_str(), fs::absolute(so).c_str()))
      return Fail("cannot write the module table");
  }
  // The outside-DLL stand-ins of the build (every other shared object of ours) are registered
  // under <name>.dll and placed in the System folder, where the system's search order and
  // loads by a System-folder path find them.
  const std::string system = SystemFolderHost();
  if (system.empty()) return Fail("the machine names no System folder");
  for (const auto& entry : fs::directory_iterator(bin, ec)) {
    const fs::path& p = entry.path();
    std::string stem = p.stem().string();
    if (p.extension() != ".so" || stem.compare(0, 3, "lib") == 0 || stem == "zemsgr" || stem == "zemsui" ||
        stem == "zemsexc")
      continue;
    if (!SimRegisterModule((stem + ".dll").c_str(), fs::absolute(p).c_str())) return Fail("cannot write the module table");
    fs::create_directories(system, ec);
    fs::copy_file(p, system + stem + ".dll", fs::copy_options::overwrite_existing, ec);
    if (ec) return Fail("cannot copy " + p.string() + ": " + ec.message());
    // The model's spool DLL and a registered filter are loaded from the driver folder by path.
    if (stem == "ov1bc123" && !CopyIntoDriverFolder(p, "OV1BC123.DLL", error)) return Fail(error);
    if (stem == "zfilter" && filter && !CopyIntoDriverFolder(p, "zfilter.dll", error)) return Fail(error);
    // The communication library has a second name, loaded on Windows 9x.
    if (stem == "ov4mannt") {
      if (!SimRegisterModule("ovoman32.dll", fs::absolute(p).c_str())) return Fail("cannot write the module table");
      fs::copy_file(p, system + "ovoman32.dll", fs::copy_options::overwrite_existing, ec);
      if (ec) return Fail("cannot copy " + p.string() + ": " + ec.message());
    }
  }
  if (filter) {
    FILE* ini = fopen((DriverFolderHost() + "ZEMSPLUG.ini").c_str(), "wb");
    if (!ini) return Fail("cannot write ZEMSPLUG.ini in the driver folder");
    fprintf(ini, "[iZEMSFilter]\r\nCount=1\r\nPluginID0=ZFilter\r\n\r\n[ZFilter]\r\nName=Filter stand-in\r\n"
            "InstallPath=zfilter.dll\r\nForceRAW=%d\r\n", forceRaw ? 1 : 0);
    fclose(ini);
  }
  std::string modelName = fs::path(*model).filename().string();
  if (!CopyIntoDriverFolder(*model, modelName, error)) return Fail(error);
  dependent.push_back("zemsexc.dll");
  // The resource DLLs of the build (language and common pictures) go beside the driver: they
  // are the build's PE files, which the machine reads as they are.
  std::vector<fs::path> resources;
  for (const auto& entry : fs::directory_iterator(bin, ec))
    if (entry.path().extension() == ".dll" && entry.path().filename().string().compare(0, 5, "zemsr") == 0)
      resources.push_back(entry.path());
  std::sort(resources.begin(), resources.end());
  for (const fs::path& p : resources) {
    if (!CopyIntoDriverFolder(p, p.filename().string(), error)) return Fail(error);
    dependent.push_back(p.filename().string());
  }
  // The driver package's own files (model data file, model database ini), in name order.
  std::vector<fs::path> packageFiles;
  for (const auto& entry : fs::directory_iterator(driverFiles, ec))
    if (entry.is_regular_file()) packageFiles.push_back(entry.path());
  std::sort(packageFiles.begin(), packageFiles.end());
  for (const fs::path& p : packageFiles) {
    if (!CopyIntoDriverFolder(p, p.filename().string(), error)) return Fail(error);
    dependent.push_back(p.filename().string());
  }
  for (const std::string& extra : a.All("extra")) {
    fs::path p(extra);
    std::string windowsName = p.filename().string();
    if (p.extension() == ".so") {
      windowsName = p.stem().string() + ".dll";
      if (!SimRegisterModule(windowsName.c_str(), fs::absolute(p).c_str()))
        return Fail("cannot write the module table");
    }
    if (!CopyIntoDriverFolder(p, windowsName, error)) return Fail(error);
    dependent.push_back(windowsName);
  }

  std::u16string driverName = Wide(a.Get("driver") ? *a.Get("driver") : kDefaultDriver);
  std::u16string gr = u"zemsgr.dll", ui = u"zemsui.dll", data = Wide(modelName), env = u"Windows NT x86";
  std::u16string deps;
  for (const auto& d : dependent) {
    deps += Wide(d);
    deps += u'\0';
  }
  deps += u'\0';
  DRIVER_INFO_3W driver = {};
  driver.cVersion = 3;
  driver.pName = Mutable(driverName);
  driver.pEnvironment = Mutable(env);
  driver.pDriverPath = Mutable(gr);
  driver.pDataFile = Mutable(data);
  driver.pConfigFile = Mutable(ui);
  driver.pDependentFiles = Mutable(deps);
  if (!AddPrinterDriverW(nullptr, 3, reinterpret_cast<LPBYTE>(&driver)))
    return Fail("cannot add the driver (error " + std::to_string(GetLastError()) + ")");

  std::u16string printerName = Wide(a.Get("printer") ? *a.Get("printer") : kDefaultPrinter);
  std::u16string port = Wide(a.Get("port") ? *a.Get("port") : "LPT1:");
  std::u16string server = a.Get("server") ? Wide(*a.Get("server")) : std::u16string();
  if (!server.empty() && (printerName.size() < 2 || printerName.compare(0, 2, u"\\\\") != 0))
    printerName = server + u"\\" + printerName;
  // The spooler's own print processor and its plain datatype: the driver's job stream goes to
  // the port as it is.
  std::u16string processor = u"WinPrint", datatype = u"RAW";
  PRINTER_INFO_2W printer = {};
  printer.pServerName = server.empty() ? nullptr : Mutable(server);
  printer.pPrinterName = Mutable(printerName);
  printer.pPortName = Mutable(port);
  printer.pDriverName = Mutable(driverName);
  printer.pPrintProcessor = Mutable(processor);
  printer.pDatatype = Mutable(datatype);
  printer.Attributes = DWORD(attributes);
  HANDLE h = AddPrinterW(nullptr, 2, reinterpret_cast<LPBYTE>(&printer));
  if (!h) {
    DWORD e = GetLastError();
    return Fail(e == ERROR_PRINTER_ALREADY_EXISTS ? "printer '" + Narrow(printerName.c_str()) + "' already exists"
                                                  : "cannot add the printer (error " + std::to_string(e) + ")");
  }
  ClosePrinter(h);
  // The spooler told the printer-interface DLL of the new printer (its initialize event); a
  // connection is made known by AddPrinterConnectionW, which sends the add-connection event.
  // The driver's install pass runs there; like the spooler, the install stands whatever the
  // driver answers.
  if (!server.empty()) AddPrinterConnectionW(Mutable(printerName));
  printf("installed printer \"%s\" with driver \"%s\" in %s\n", Narrow(printerName.c_str()).c_str(),
         Narrow(driverName.c_str()).c_str(), SimMachineRoot());
  if (InstallPassDone(printerName))
    printf("the driver's install pass ran (%s event)\n", server.empty() ? "initialize" : "add-connection");
  else
    fprintf(stderr, "zemshost machine install: the driver's %s event failed\n",
            server.empty() ? "initialize" : "add-connection");
  return 0;
}

}  // namespace machine_cmd
