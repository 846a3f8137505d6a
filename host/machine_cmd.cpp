// zemshost machine: sets up and inspects the simulated machine the driver runs on: the
// machine root, printers with their driver files, printer data, registry values and the
// system identity (Windows version, user, administrator).
#include "host/machine_cmd.h"

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <filesystem>
#include <string>
#include <vector>

#include "host/host_text.h"
#include "platform/sim.h"
#include "platform/win32.h"

namespace {

namespace fs = std::filesystem;

// The driver folder C:\WINDOWS\system32\spool\drivers\w32x86\3\ as a folder of the machine root.
const char kDriverFolderHost[] = "/c/WINDOWS/system32/spool/drivers/w32x86/3/";
const char kSystemFolderHost[] = "/c/WINDOWS/system32/";
const char kDefaultDriver[] = "ORVEL ALTEN KV310 ZEMS";
const char kDefaultPrinter[] = "ZEMS Printer";

int Fail(const std::string& message) {
  fprintf(stderr, "zemshost machine: %s\n", message.c_str());
  return 1;
}

LPWSTR Mutable(std::u16string& s) { return &s[0]; }

// Options of the form --name value (and bare --flag); everything else is positional.
struct Args {
  std::vector<std::string> positional;
  std::vector<std::pair<std::string, std::string>> options;
  bool help = false;
  std::string error;

  const std::string* Get(const std::string& name) const {
    const std::string* found = nullptr;
    for (const auto& o : options)
      if (o.first == name) found = &o.second;
    return found;
  }
  std::vector<std::string> All(const std::string& name) const {
    std::vector<std::string> out;
    for (const auto& o : options)
      if (o.first == name) out.push_back(o.second);
    return out;
  }
};

Args Parse(int argc, char** argv, const std::vector<std::string>& valued) {
  Args a;
  for (int i = 0; i < argc; ++i) {
    std::string s = argv[i];
    if (s == "--help" || s == "-h") {
      a.help = true;
    } else if (s.size() > 2 && s.compare(0, 2, "--") == 0) {
      std::string name = s.substr(2);
      bool takes = false;
      for (const auto& v : valued) takes = takes || v == name;
      if (!takes) {
        a.error = "unknown option '" + s + "'";
        return a;
      }
      if (i + 1 >= argc) {
        a.error = "option '" + s + "' needs a value";
        return a;
      }
      a.options.emplace_back(name, argv[++i]);
    } else {
      a.positional.push_back(s);
    }
  }
  return a;
}

// ---- typed values (printer data and registry) ----

struct TypedValue {
  DWORD type = REG_SZ;
  std::string bytes;
};

bool ParseNumber(const std::string& text, unsigned long long& out) {
  if (text.empty()) return false;
  char* end = nullptr;
  out = strtoull(text.c_str(), &end, 0);
  return end && *end == 0;
}

bool ParseType(const std::string& name, DWORD& type) {
  const struct {
    const char* name;
    DWORD type;
  } types[] = {{"sz", REG_SZ}, {"expand_sz", REG_EXPAND_SZ}, {"multi_sz", REG_MULTI_SZ},
               {"dword", REG_DWORD}, {"binary", REG_BINARY}};
  for (const auto& t : types) {
    if (name == t.name) {
      type = t.type;
      return true;
    }
  }
  return false;
}

std::string WideBytes(const std::u16string& s, bool terminate) {
  std::string out(reinterpret_cast<const char*>(s.data()), s.size() * 2);
  if (terminate) out.append(2, '\0');
  return out;
}

// Builds the stored bytes of a value from command-line text: strings are stored with their
// terminator, multi-strings take every remaining argument, binary takes hex digits.
bool MakeValue(const std::string& typeName, const std::vector<std::string>& data, TypedValue& v, std::string& error) {
  if (!ParseType(typeName, v.type)) {
    error = "unknown type '" + typeName + "' (sz, expand_sz, multi_sz, dword, binary)";
    return false;
  }
  if (v.type == REG_MULTI_SZ) {
    std::u16string all;
    for (const auto& d : data) {
      all += Wide(d);
      all += u'\0';
    }
    all += u'\0';
    v.bytes = WideBytes(all, false);
    return true;
  }
  if (data.size() != 1) {
    error = "give exactly one value";
    return false;
  }
  const std::string& text = data[0];
  if (v.type == REG_SZ || v.type == REG_EXPAND_SZ) {
    v.bytes = WideBytes(Wide(text), true);
  } else if (v.type == REG_DWORD) {
    unsigned long long n;
    if (!ParseNumber(text, n) || n > 0xFFFFFFFFull) {
      error = "'" + text + "' is not a 32-bit number";
      return false;
    }
    DWORD d = DWORD(n);
    v.bytes.assign(reinterpret_cast<const char*>(&d), 4);
  } else {
    std::string hex;
    for (char c : text)
      if (c != ' ' && c != ':' && c != ',') hex += c;
    if (hex.size() % 2) {
      error = "binary data needs an even number of hex digits";
      return false;
    }
    for (size_t i = 0; i < hex.size(); i += 2) {
      unsigned long long b;
      if (!isxdigit((unsigned char)hex[i]) || !isxdigit((unsigned char)hex[i + 1]) ||
          !ParseNumber("0x" + hex.substr(i, 2), b)) {
        error = "'" + text + "' is not hex data";
        return false;
      }
      v.bytes += char(b);
    }
  }
  return true;
}

// The value of a "data set" or "reg set" command: --type and the DATA after VALUE.
bool ValueFromArgs(const Args& a, const std::string& command, TypedValue& v, std::string& error) {
  if (!a.Get("type")) {
    error = command + " set needs --type";
    return false;
  }
  std::vector<std::string> data(a.positional.begin() + 3, a.positional.end());
  return MakeValue(*a.Get("type"), data, v, error);
}

void PrintValue(DWORD type, const std::string& bytes) {
  auto wide = [&](size_t from) {
    std::u16string s((bytes.size() - from) / 2, u'\0');
    if (!s.empty()) memcpy(&s[0], bytes.data() + from, s.size() * 2);
    return s;
  };
  switch (type) {
    case REG_SZ:
    case REG_EXPAND_SZ: {
      std::u16string s = wide(0);
      bool terminated = !s.empty() && s.back() == 0;
      size_t end = s.find(u'\0');
      if (end != std::u16string::npos) s.resize(end);
      printf("%s \"%s\"%s\n", type == REG_SZ ? "REG_SZ" : "REG_EXPAND_SZ", Narrow(s.data(), s.size()).c_str(),
             terminated ? "" : " (no terminator)");
      return;
    }
    case REG_MULTI_SZ: {
      std::u16string s = wide(0);
      printf("REG_MULTI_SZ");
      size_t i = 0;
      while (i < s.size() && s[i]) {
        size_t j = s.find(u'\0', i);
        if (j == std::u16string::npos) j = s.size();
        printf(" \"%s\"", Narrow(s.data() + i, j - i).c_str());
        i = j + 1;
      }
      printf("\n");
      return;
    }
    case REG_DWORD:
      if (bytes.size() == 4) {
        DWORD d;
        memcpy(&d, bytes.data(), 4);
        printf("REG_DWORD 0x%08lx (%lu)\n", d, d);
        return;
      }
      break;
  }
  printf(type == REG_BINARY ? "REG_BINARY" : "type %lu", type);
  for (unsigned char c : bytes) printf(" %02x", c);
  printf("\n");
}

// ---- the machine root ----

void ChooseRoot(const Args& a) {
  if (const std::string* root = a.Get("root")) SimSetMachineRoot(root->c_str());
}

void CreateMachineFolders() {
  std::error_code ec;
  fs::create_directories(std::string(SimMachineRoot()) + kDriverFolderHost, ec);
  fs::create_directories(std::string(SimMachineRoot()) + "/c/WINDOWS/system", ec);
}

int CmdCreate(int argc, char** argv) {
  Args a = Parse(argc, argv, {"root"});
  if (a.help) {
    printf("usage: zemshost machine create [--root DIR]\n"
           "Creates the machine root (default: $ZEMS_MACHINE_ROOT) with the Windows and driver folders\n"
           "and the default system identity, and prints its path.\n");
    return 0;
  }
  if (!a.error.empty()) return Fail(a.error);
  if (!a.positional.empty()) return Fail("create takes no arguments");
  ChooseRoot(a);
  CreateMachineFolders();
  SimSystemIdentity id;
  if (!SimGetSystemIdentity(&id) || !SimSetSystemIdentity(&id)) return Fail("cannot write the system identity");
  printf("%s\n", SimMachineRoot());
  return 0;
}

// Copies a host file into the driver folder under a Windows name.
bool CopyIntoDriverFolder(const fs::path& source, const std::string& windowsName, std::string& error) {
  std::string target = std::string(SimMachineRoot()) + kDriverFolderHost + windowsName;
  std::error_code ec;
  fs::create_directories(fs::path(target).parent_path(), ec);
  fs::copy_file(source, target, fs::copy_options::overwrite_existing, ec);
  if (ec) {
    error = "cannot copy " + source.string() + ": " + ec.message();
    return false;
  }
  return true;
}

int CmdInstall(int argc, char** argv) {
  Args a = Parse(argc, argv, {"root", "model", "bin", "printer", "driver", "port", "server", "extra", "attributes"});
  if (a.help) {
    printf("usage: zemshost machine install --model FILE [--bin DIR] [--printer NAME] [--driver NAME]\n"
           "                                [--port NAME] [--server \\\\NAME] [--attributes N] [--extra FILE]...\n"
           "                                [--root DIR]\n"
           "Installs a printer: copies zemsgr, zemsui and zemsexc of the driver build (DIR, default the\n"
           "folder of zemshost) as .dll files and the model description FILE into the driver folder,\n"
           "registers the driver, the printer and the module table entries of the copied DLLs and of\n"
           "the build's outside-DLL stand-ins (<name>.so as <name>.dll, also placed in System). --extra\n"
           "adds a file to the driver package (a .so becomes <name>.dll and is registered).\n"
           "--server makes the printer a connection to that server. Defaults: printer \"%s\",\n"
           "driver \"%s\", port \"LPT1:\".\n",
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
  for (const auto& entry : fs::directory_iterator(bin, ec)) {
    const fs::path& p = entry.path();
    std::string stem = p.stem().string();
    if (p.extension() != ".so" || stem.compare(0, 3, "lib") == 0 || stem == "zemsgr" || stem == "zemsui" ||
        stem == "zemsexc")
      continue;
    if (!SimRegisterModule((stem + ".dll").c_str(), fs::absolute(p).c_str())) return Fail("cannot write the module table");
    fs::copy_file(p, std::string(SimMachineRoot()) + kSystemFolderHost + stem + ".dll",
                  fs::copy_options::overwrite_existing, ec);
    if (ec) return Fail("cannot copy " + p.string() + ": " + ec.message());
  }
  std::string modelName = fs::path(*model).filename().string();
  if (!CopyIntoDriverFolder(*model, modelName, error)) return Fail(error);
  dependent.push_back("zemsexc.dll");
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
  PRINTER_INFO_2W printer = {};
  printer.pServerName = server.empty() ? nullptr : Mutable(server);
  printer.pPrinterName = Mutable(printerName);
  printer.pPortName = Mutable(port);
  printer.pDriverName = Mutable(driverName);
  printer.Attributes = DWORD(attributes);
  HANDLE h = AddPrinterW(nullptr, 2, reinterpret_cast<LPBYTE>(&printer));
  if (!h) {
    DWORD e = GetLastError();
    return Fail(e == ERROR_PRINTER_ALREADY_EXISTS ? "printer '" + Narrow(printerName.c_str()) + "' already exists"
                                                  : "cannot add the printer (error " + std::to_string(e) + ")");
  }
  ClosePrinter(h);
  printf("installed printer \"%s\" with driver \"%s\" in %s\n", Narrow(printerName.c_str()).c_str(),
         Narrow(driverName.c_str()).c_str(), SimMachineRoot());
  return 0;
}

int CmdList(int argc, char** argv) {
  Args a = Parse(argc, argv, {"root"});
  if (a.help) {
    printf("usage: zemshost machine list [--root DIR]\n"
           "Lists the printers: name, driver, port, server and attributes.\n");
    return 0;
  }
  if (!a.error.empty()) return Fail(a.error);
  ChooseRoot(a);
  DWORD needed = 0, count = 0;
  EnumPrintersW(PRINTER_ENUM_LOCAL, nullptr, 2, nullptr, 0, &needed, &count);
  std::vector<BYTE> buffer(needed ? needed : 1);
  if (!EnumPrintersW(PRINTER_ENUM_LOCAL, nullptr, 2, buffer.data(), DWORD(buffer.size()), &needed, &count))
    return Fail("cannot enumerate printers (error " + std::to_string(GetLastError()) + ")");
  const PRINTER_INFO_2W* list = reinterpret_cast<const PRINTER_INFO_2W*>(buffer.data());
  for (DWORD i = 0; i < count; ++i) {
    printf("%s\tdriver=%s\tport=%s\tserver=%s\tattributes=0x%lx\n", Narrow(list[i].pPrinterName).c_str(),
           Narrow(list[i].pDriverName).c_str(), Narrow(list[i].pPortName).c_str(),
           list[i].pServerName ? Narrow(list[i].pServerName).c_str() : "-", list[i].Attributes);
  }
  return 0;
}

int CmdData(int argc, char** argv) {
  Args a = Parse(argc, argv, {"root", "key", "type"});
  if (a.help) {
    printf("usage: zemshost machine data get PRINTER VALUE [--key KEY]\n"
           "       zemshost machine data set PRINTER VALUE --type TYPE DATA... [--key KEY]\n"
           "       zemshost machine data delete PRINTER VALUE [--key KEY]\n"
           "Reads, writes or deletes a printer data value (key default: PrinterDriverData). TYPE is\n"
           "sz, expand_sz, multi_sz (one DATA per string), dword or binary (hex digits).\n");
    return 0;
  }
  if (a.positional.empty()) return Fail("data needs get, set or delete (see --help)");
  if (!a.error.empty()) return Fail(a.error);
  ChooseRoot(a);
  const std::string& verb = a.positional[0];
  if (a.positional.size() < 3) return Fail("data " + verb + " needs PRINTER and VALUE");
  std::u16string printer = Wide(a.positional[1]), value = Wide(a.positional[2]);
  std::u16string key = Wide(a.Get("key") ? *a.Get("key") : "PrinterDriverData");
  HANDLE h = nullptr;
  if (!OpenPrinterW(Mutable(printer), &h, nullptr)) return Fail("no printer '" + a.positional[1] + "'");
  int rc = 0;
  if (verb == "get") {
    DWORD type = 0, needed = 0;
    DWORD e = GetPrinterDataExW(h, key.c_str(), value.c_str(), &type, nullptr, 0, &needed);
    std::string bytes(needed, '\0');
    if (e == ERROR_MORE_DATA || e == ERROR_SUCCESS)
      e = GetPrinterDataExW(h, key.c_str(), value.c_str(), &type, reinterpret_cast<LPBYTE>(&bytes[0]), needed,
                            &needed);
    if (e != ERROR_SUCCESS)
      rc = Fail("printer data '" + a.positional[2] + "' not found (error " + std::to_string(e) + ")");
    else
      PrintValue(type, bytes);
  } else if (verb == "set") {
    TypedValue v;
    std::string error;
    if (!ValueFromArgs(a, "data", v, error)) {
      rc = Fail(error);
    } else {
      DWORD e = SetPrinterDataExW(h, key.c_str(), value.c_str(), v.type,
                                  reinterpret_cast<LPBYTE>(const_cast<char*>(v.bytes.data())), DWORD(v.bytes.size()));
      if (e != ERROR_SUCCESS) rc = Fail("cannot set printer data (error " + std::to_string(e) + ")");
    }
  } else if (verb == "delete") {
    DWORD e = DeletePrinterDataExW(h, key.c_str(), value.c_str());
    if (e != ERROR_SUCCESS) rc = Fail("cannot delete printer data (error " + std::to_string(e) + ")");
  } else {
    rc = Fail("unknown data command '" + verb + "' (get, set, delete)");
  }
  ClosePrinter(h);
  return rc;
}

bool SplitRegistryPath(const std::string& path, HKEY& hive, std::u16string& sub) {
  size_t slash = path.find('\\');
  std::string head = path.substr(0, slash);
  for (auto& c : head) c = char(toupper((unsigned char)c));
  if (head == "HKLM" || head == "HKEY_LOCAL_MACHINE")
    hive = HKEY_LOCAL_MACHINE;
  else if (head == "HKCU" || head == "HKEY_CURRENT_USER")
    hive = HKEY_CURRENT_USER;
  else
    return false;
  sub = slash == std::string::npos ? std::u16string() : Wide(path.substr(slash + 1));
  return true;
}

int CmdReg(int argc, char** argv) {
  Args a = Parse(argc, argv, {"root", "type"});
  if (a.help) {
    printf("usage: zemshost machine reg get HKLM|HKCU\\KEY VALUE\n"
           "       zemshost machine reg set HKLM|HKCU\\KEY VALUE --type TYPE DATA...\n"
           "       zemshost machine reg delete HKLM|HKCU\\KEY VALUE\n"
           "Reads, writes or deletes a registry value (\"\" names the default value). TYPE is sz,\n"
           "expand_sz, multi_sz (one DATA per string), dword or binary (hex digits).\n");
    return 0;
  }
  if (a.positional.empty()) return Fail("reg needs get, set or delete (see --help)");
  if (!a.error.empty()) return Fail(a.error);
  ChooseRoot(a);
  const std::string& verb = a.positional[0];
  if (a.positional.size() < 3) return Fail("reg " + verb + " needs KEY and VALUE");
  HKEY hive;
  std::u16string sub, value = Wide(a.positional[2]);
  if (!SplitRegistryPath(a.positional[1], hive, sub)) return Fail("key must start with HKLM\\ or HKCU\\");
  HKEY key = nullptr;
  LONG e;
  if (verb == "set")
    e = RegCreateKeyExW(hive, sub.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr);
  else
    e = RegOpenKeyExW(hive, sub.c_str(), 0, KEY_ALL_ACCESS, &key);
  if (e != ERROR_SUCCESS) return Fail("cannot open key '" + a.positional[1] + "' (error " + std::to_string(e) + ")");
  int rc = 0;
  if (verb == "get") {
    DWORD type = 0, size = 0;
    e = RegQueryValueExW(key, value.c_str(), nullptr, &type, nullptr, &size);
    std::string bytes(size, '\0');
    if (e == ERROR_SUCCESS && size)
      e = RegQueryValueExW(key, value.c_str(), nullptr, &type, reinterpret_cast<LPBYTE>(&bytes[0]), &size);
    if (e != ERROR_SUCCESS)
      rc = Fail("value '" + a.positional[2] + "' not found (error " + std::to_string(e) + ")");
    else
      PrintValue(type, bytes);
  } else if (verb == "set") {
    TypedValue v;
    std::string error;
    if (!ValueFromArgs(a, "reg", v, error)) {
      rc = Fail(error);
    } else {
      e = RegSetValueExW(key, value.c_str(), 0, v.type, reinterpret_cast<const BYTE*>(v.bytes.data()),
                         DWORD(v.bytes.size()));
      if (e != ERROR_SUCCESS) rc = Fail("cannot set the value (error " + std::to_string(e) + ")");
    }
  } else if (verb == "delete") {
    e = RegDeleteValueW(key, value.c_str());
    if (e != ERROR_SUCCESS) rc = Fail("cannot delete the value (error " + std::to_string(e) + ")");
  } else {
    rc = Fail("unknown reg command '" + verb + "' (get, set, delete)");
  }
  RegCloseKey(key);
  return rc;
}

int CmdSystem(int argc, char** argv) {
  Args a = Parse(argc, argv,
                 {"root", "version", "sp", "platform", "suite", "terminal-server", "product", "user", "admin", "csd"});
  if (a.help) {
    printf("usage: zemshost machine system [--version MAJOR.MINOR[.BUILD]] [--sp N] [--csd TEXT]\n"
           "                               [--platform nt|9x] [--suite MASK] [--terminal-server yes|no]\n"
           "                               [--product workstation|server] [--user NAME] [--admin yes|no]\n"
           "                               [--root DIR]\n"
           "Changes the machine's Windows version, service pack, suites, user name and administrator\n"
           "membership, then prints them. A terminal server has the terminal suite without the\n"
           "single-user one.\n");
    return 0;
  }
  if (!a.error.empty()) return Fail(a.error);
  if (!a.positional.empty()) return Fail("system takes no positional arguments");
  ChooseRoot(a);
  SimSystemIdentity id;
  if (!SimGetSystemIdentity(&id)) return Fail("cannot read the system identity");
  auto yesNo = [&](const std::string& name, bool& out) {
    const std::string* v = a.Get(name);
    if (!v) return true;
    if (*v == "yes" || *v == "1" || *v == "on") out = true;
    else if (*v == "no" || *v == "0" || *v == "off") out = false;
    else return false;
    return true;
  };
  if (const std::string* v = a.Get("version")) {
    unsigned long major = 0, minor = 0, build = id.buildNumber;
    int n = sscanf(v->c_str(), "%lu.%lu.%lu", &major, &minor, &build);
    if (n < 2) return Fail("--version needs MAJOR.MINOR[.BUILD]");
    id.majorVersion = major;
    id.minorVersion = minor;
    id.buildNumber = build;
  }
  unsigned long long n;
  if (const std::string* v = a.Get("sp")) {
    if (!ParseNumber(*v, n) || n > 0xFFFF) return Fail("--sp needs a number");
    id.servicePackMajor = WORD(n);
    id.servicePackMinor = 0;
    if (n)
      snprintf(id.csdVersion, sizeof id.csdVersion, "Service Pack %llu", n);
    else
      id.csdVersion[0] = 0;
  }
  if (const std::string* v = a.Get("csd")) snprintf(id.csdVersion, sizeof id.csdVersion, "%s", v->c_str());
  if (const std::string* v = a.Get("platform")) {
    if (*v == "nt") id.platformId = VER_PLATFORM_WIN32_NT;
    else if (*v == "9x") id.platformId = VER_PLATFORM_WIN32_WINDOWS;
    else return Fail("--platform is nt or 9x");
  }
  if (const std::string* v = a.Get("suite")) {
    if (!ParseNumber(*v, n) || n > 0xFFFF) return Fail("--suite needs a number");
    id.suiteMask = WORD(n);
  }
  bool ts = (id.suiteMask & VER_SUITE_TERMINAL) && !(id.suiteMask & VER_SUITE_SINGLEUSERTS);
  if (!yesNo("terminal-server", ts)) return Fail("--terminal-server is yes or no");
  if (a.Get("terminal-server")) {
    id.suiteMask = WORD(ts ? (id.suiteMask | VER_SUITE_TERMINAL) & ~VER_SUITE_SINGLEUSERTS
                           : id.suiteMask | VER_SUITE_TERMINAL | VER_SUITE_SINGLEUSERTS);
  }
  if (const std::string* v = a.Get("product")) {
    if (*v == "workstation") id.productType = VER_NT_WORKSTATION;
    else if (*v == "server") id.productType = VER_NT_SERVER;
    else return Fail("--product is workstation or server");
  }
  if (const std::string* v = a.Get("user")) {
    if (v->empty() || v->size() >= sizeof id.userName) return Fail("--user needs a name of 1 to 256 characters");
    snprintf(id.userName, sizeof id.userName, "%s", v->c_str());
  }
  bool admin = id.userIsAdmin != FALSE;
  if (!yesNo("admin", admin)) return Fail("--admin is yes or no");
  id.userIsAdmin = admin ? TRUE : FALSE;
  if (!SimSetSystemIdentity(&id)) return Fail("cannot write the system identity");
  printf("windows %lu.%lu.%lu platform %lu \"%s\" sp %u.%u suite 0x%04x product %u\nuser \"%s\" admin %s\n",
         id.majorVersion, id.minorVersion, id.buildNumber, id.platformId, id.csdVersion, id.servicePackMajor,
         id.servicePackMinor, id.suiteMask, id.productType, id.userName, id.userIsAdmin ? "yes" : "no");
  return 0;
}

int Usage(FILE* out) {
  fprintf(out,
          "usage: zemshost machine <command> [options]\n"
          "commands:\n"
          "  create    create a machine root\n"
          "  install   install a printer from a driver build and a model description\n"
          "  list      list the printers\n"
          "  data      get, set or delete printer data\n"
          "  reg       get, set or delete registry values\n"
          "  system    set the Windows version, user and administrator flag\n"
          "Each command takes --help and --root DIR (default: $ZEMS_MACHINE_ROOT).\n");
  return out == stderr ? 2 : 0;
}

}  // namespace

int CmdMachine(int argc, char** argv) {
  if (argc < 1) return Usage(stderr);
  std::string cmd = argv[0];
  if (cmd == "--help" || cmd == "help" || cmd == "-h") return Usage(stdout);
  if (cmd == "create") return CmdCreate(argc - 1, argv + 1);
  if (cmd == "install") return CmdInstall(argc - 1, argv + 1);
  if (cmd == "list") return CmdList(argc - 1, argv + 1);
  if (cmd == "data") return CmdData(argc - 1, argv + 1);
  if (cmd == "reg") return CmdReg(argc - 1, argv + 1);
  if (cmd == "system") return CmdSystem(argc - 1, argv + 1);
  fprintf(stderr, "zemshost machine: unknown command '%s' (see zemshost machine --help)\n", cmd.c_str());
  return 2;
}
