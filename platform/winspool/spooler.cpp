// The print spooler of the simulated machine. Printers and drivers live in the machine's
// registry where Windows keeps them (Control\Print\Printers and Environments\Windows NT
// x86\Drivers\Version-3), so they persist under the root and every process sees them; printer
// data are values of subkeys of the printer's key ("PrinterDriverData" for the plain forms).
// Driver files are in C:\WINDOWS\system32\spool\drivers\w32x86\3\.
#include <string.h>

#include <atomic>
#include <filesystem>
#include <map>
#include <mutex>
#include <vector>

#include "platform/sim.h"
#include "platform/sim/state_files.h"
#include "platform/sim/trace.h"

namespace winsim {
DEVMODEW* DriverDefaultDevmode(HANDLE printer, LPCWSTR printerName);
namespace {

const char16_t kPrintersKey[] = u"SYSTEM\\CurrentControlSet\\Control\\Print\\Printers";
const char16_t kDriversKey[] =
    u"SYSTEM\\CurrentControlSet\\Control\\Print\\Environments\\Windows NT x86\\Drivers\\Version-3";
const char16_t kEnvironment[] = u"Windows NT x86";
const char16_t kDriverFolder[] = u"C:\\WINDOWS\\system32\\spool\\drivers\\w32x86";
const char16_t kDriverVersionFolder[] = u"C:\\WINDOWS\\system32\\spool\\drivers\\w32x86\\3\\";
const char16_t kDefaultDataKey[] = u"PrinterDriverData";

struct PrinterHandle {
  std::u16string keyName;  // the printer's key under kPrintersKey
  ACCESS_MASK access = 0;
};

std::mutex g_lock;
std::map<uintptr_t, PrinterHandle> g_printers;
uintptr_t g_nextPrinter = 0x7000;

// Publishing requests (level 7) per printer key name, lowercase: count and last action.
struct PublishRecord {
  DWORD count = 0;
  DWORD lastAction = 0;
};
std::map<std::u16string, PublishRecord> g_published;

std::u16string LowerKey(std::u16string name) {
  for (char16_t& c : name)
    if (c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c - u'A' + u'a');
  return name;
}

// Access rights OpenPrinterW grants (SimLimitPrinterAccess); 0: every right asked for.
DWORD g_accessLimit = 0;
// Whether the spooler tells the printer's configuration DLL about printers and drivers
// (SimSpoolerCallsDriver); on for every new machine.
std::atomic<bool> g_callDriver{true};

void ForgetPublished() {
  std::lock_guard<std::mutex> hold(g_lock);
  g_published.clear();
  g_accessLimit = 0;
  g_callDriver = true;
}

struct PublishReset {
  PublishReset() { RegisterResetHook(ForgetPublished); }
} g_publishReset;

class Key {
 public:
  Key() = default;
  ~Key() {
    if (h_) RegCloseKey(h_);
  }
  Key(const Key&) = delete;
  Key& operator=(const Key&) = delete;
  // The spooler service keeps its printers and drivers in HKLM as the machine itself, whoever
  // called it; the calls check the caller's rights themselves.
  LONG Open(HKEY base, const std::u16string& sub) {
    MachineActScope service;
    return RegOpenKeyExW(base, sub.c_str(), 0, KEY_ALL_ACCESS, &h_);
  }
  LONG Create(HKEY base, const std::u16string& sub, DWORD* disposition = nullptr) {
    MachineActScope service;
    return RegCreateKeyExW(base, sub.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &h_, disposition);
  }
  void Reset() {
    if (h_) RegCloseKey(h_);
    h_ = nullptr;
  }
  HKEY get() const { return h_; }

 private:
  HKEY h_ = nullptr;
};

// Printer names may hold backslashes (connections); registry key names cannot, so Windows
// stores them with commas.
std::u16string KeyNameOf(const std::u16string& printerName) {
  std::u16string k = printerName;
  for (auto& c : k)
    if (c == u'\\') c = u',';
  return k;
}

std::u16string PrinterPath(const std::u16string& keyName) { return std::u16string(kPrintersKey) + u"\\" + keyName; }
std::u16string DriverPath(const std::u16string& name) { return std::u16string(kDriversKey) + u"\\" + name; }

std::string ReadRaw(HKEY key, const char16_t* name, DWORD* type = nullptr) {
  DWORD size = 0, t = 0;
  if (RegQueryValueExW(key, name, nullptr, &t, nullptr, &size) != ERROR_SUCCESS) return std::string();
  std::string data(size, '\0');
  if (size && RegQueryValueExW(key, name, nullptr, &t, reinterpret_cast<LPBYTE>(&data[0]), &size) != ERROR_SUCCESS)
    return std::string();
  data.resize(size);
  if (type) *type = t;
  return data;
}

// A value's bytes as UTF-16 units, zeros included (a multi-string keeps its separators).
std::u16string ReadMultiRaw(HKEY key, const char16_t* name) {
  std::string raw = ReadRaw(key, name);
  std::u16string s(raw.size() / 2, u'\0');
  if (!s.empty()) memcpy(&s[0], raw.data(), s.size() * 2);
  return s;
}

std::u16string ReadString(HKEY key, const char16_t* name) {
  std::u16string s = ReadMultiRaw(key, name);
  size_t end = s.find(u'\0');
  if (end != std::u16string::npos) s.resize(end);
  return s;
}

DWORD ReadDword(HKEY key, const char16_t* name, DWORD fallback = 0) {
  std::string raw = ReadRaw(key, name);
  if (raw.size() != 4) return fallback;
  DWORD v;
  memcpy(&v, raw.data(), 4);
  return v;
}

void WriteString(HKEY key, const char16_t* name, const WCHAR* value) {
  std::u16string v = value ? value : u"";
  RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(v.c_str()), DWORD((v.size() + 1) * 2));
}

void WriteDword(HKEY key, const char16_t* name, DWORD value) {
  RegSetValueExW(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), 4);
}

// Size of a DEVMODE from its own header, 0 when the header is not plausible.
DWORD DevModeSize(const DEVMODEW* dm) {
  if (!dm) return 0;
  if (dm->dmSize < offsetof(DEVMODEW, dmFields) + sizeof(DWORD)) return 0;
  return DWORD(dm->dmSize) + dm->dmDriverExtra;
}

void WriteDevMode(HKEY key, const DEVMODEW* dm) {
  DWORD size = DevModeSize(dm);
  if (size) RegSetValueExW(key, u"Default DevMode", 0, REG_BINARY, reinterpret_cast<const BYTE*>(dm), size);
}

bool LookupHandle(HANDLE h, PrinterHandle& out) {
  std::lock_guard<std::mutex> hold(g_lock);
  auto it = g_printers.find(reinterpret_cast<uintptr_t>(h));
  if (it == g_printers.end()) return false;
  out = it->second;
  return true;
}

HANDLE NewPrinterHandle(const PrinterHandle& p) {
  std::lock_guard<std::mutex> hold(g_lock);
  g_nextPrinter += 4;
  g_printers[g_nextPrinter] = p;
  return reinterpret_cast<HANDLE>(g_nextPrinter);
}

// Opens the printer key of a handle; false (last error set) for a bad handle or a printer
// that was deleted meanwhile.
bool OpenPrinterKey(HANDLE h, Key& key, PrinterHandle* info = nullptr) {
  PrinterHandle p;
  if (!LookupHandle(h, p) || key.Open(HKEY_LOCAL_MACHINE, PrinterPath(p.keyName)) != ERROR_SUCCESS) {
    SetLastError(ERROR_INVALID_HANDLE);
    return false;
  }
  if (info) *info = p;
  return true;
}

// Lays out a variable-size result: fixed records first, then strings and blobs. Run once to
// measure (base null) and once to fill.
class Packer {
 public:
  Packer(LPBYTE base, DWORD fixed) : base_(base), used_(fixed) {}
  LPWSTR Str(const std::u16string& s) {
    // A blob of odd size (a DEVMODE's private part) may come before: texts start on a
    // character boundary.
    used_ = (used_ + 1) & ~1u;
    DWORD bytes = DWORD((s.size() + 1) * 2);
    LPWSTR at = base_ ? reinterpret_cast<LPWSTR>(base_ + used_) : nullptr;
    if (base_) memcpy(at, s.c_str(), bytes);
    used_ += bytes;
    return at;
  }
  LPWSTR StrOrNull(const std::u16string& s) { return s.empty() ? nullptr : Str(s); }
  LPWSTR MultiStr(const std::vector<std::u16string>& list) {
    if (list.empty()) return nullptr;
    std::u16string all;
    for (const auto& s : list) {
      all += s;
      all += u'\0';
    }
    return Str(all);  // Str adds the final terminator
  }
  LPBYTE Blob(const std::string& data) {
    if (data.empty()) return nullptr;
    used_ = (used_ + 3) & ~3u;
    LPBYTE at = base_ ? base_ + used_ : nullptr;
    if (base_) memcpy(at, data.data(), data.size());
    used_ += DWORD(data.size());
    return at;
  }
  DWORD used() const { return used_; }

 private:
  LPBYTE base_;
  DWORD used_;
};

struct PrinterRecord {
  std::u16string name, server, share, port, driver, comment, location, sepFile, processor, datatype, parameters;
  std::string devMode;
  DWORD attributes = 0, priority = 1, defaultPriority = 0, startTime = 0, untilTime = 0, status = 0;
};

PrinterRecord ReadPrinter(HKEY key) {
  PrinterRecord r;
  r.name = ReadString(key, u"Name");
  r.server = ReadString(key, u"Server");
  r.share = ReadString(key, u"Share Name");
  r.port = ReadString(key, u"Port");
  r.driver = ReadString(key, u"Printer Driver");
  r.comment = ReadString(key, u"Description");
  r.location = ReadString(key, u"Location");
  r.sepFile = ReadString(key, u"Separator File");
  r.processor = ReadString(key, u"Print Processor");
  r.datatype = ReadString(key, u"Datatype");
  r.parameters = ReadString(key, u"Parameters");
  r.devMode = ReadRaw(key, u"Default DevMode");
  // A stored DEVMODE whose header is implausible or claims more bytes than were stored is
  // not handed out: readers size it from that header.
  if (r.devMode.size() < offsetof(DEVMODEW, dmFields) + sizeof(DWORD)) {
    r.devMode.clear();
  } else {
    DEVMODEW header;
    memcpy(&header, r.devMode.data(), offsetof(DEVMODEW, dmFields) + sizeof(DWORD));
    DWORD size = DevModeSize(&header);
    if (size == 0 || size > r.devMode.size()) r.devMode.clear();
  }
  r.attributes = ReadDword(key, u"Attributes");
  r.priority = ReadDword(key, u"Priority", 1);
  r.defaultPriority = ReadDword(key, u"Default Priority");
  r.startTime = ReadDword(key, u"StartTime");
  r.untilTime = ReadDword(key, u"UntilTime");
  r.status = ReadDword(key, u"Status");
  return r;
}

// Packs one printer record of a level at index i of an array of fixed records.
bool PackPrinter(const PrinterRecord& r, DWORD level, Packer& pk, LPBYTE fixed) {
  switch (level) {
    case 1: {
      PRINTER_INFO_1W v = {};
      v.Flags = 0x00800000;  // PRINTER_ENUM_ICON8
      v.pDescription = pk.Str(r.name + u"," + r.driver + u"," + r.location);
      v.pName = pk.Str(r.name);
      v.pComment = pk.Str(r.comment);
      if (fixed) memcpy(fixed, &v, sizeof v);
      return true;
    }
    case 2: {
      PRINTER_INFO_2W v = {};
      v.pDevMode = reinterpret_cast<LPDEVMODEW>(pk.Blob(r.devMode));
      v.pServerName = pk.StrOrNull(r.server);
      v.pPrinterName = pk.Str(r.name);
      v.pShareName = pk.Str(r.share);
      v.pPortName = pk.Str(r.port);
      v.pDriverName = pk.Str(r.driver);
      v.pComment = pk.Str(r.comment);
      v.pLocation = pk.Str(r.location);
      v.pSepFile = pk.Str(r.sepFile);
      v.pPrintProcessor = pk.Str(r.processor);
      v.pDatatype = pk.Str(r.datatype);
      v.pParameters = pk.Str(r.parameters);
      v.Attributes = r.attributes;
      v.Priority = r.priority;
      v.DefaultPriority = r.defaultPriority;
      v.StartTime = r.startTime;
      v.UntilTime = r.untilTime;
      v.Status = r.status;
      if (fixed) memcpy(fixed, &v, sizeof v);
      return true;
    }
    case 4: {
      PRINTER_INFO_4W v = {};
      v.pPrinterName = pk.Str(r.name);
      v.pServerName = pk.StrOrNull(r.server);
      v.Attributes = r.attributes;
      if (fixed) memcpy(fixed, &v, sizeof v);
      return true;
    }
    case 5: {
      PRINTER_INFO_5W v = {};
      v.pPrinterName = pk.Str(r.name);
      v.pPortName = pk.Str(r.port);
      v.Attributes = r.attributes;
      v.DeviceNotSelectedTimeout = 15000;
      v.TransmissionRetryTimeout = 45000;
      if (fixed) memcpy(fixed, &v, sizeof v);
      return true;
    }
    case 8:
    case 9: {
      PRINTER_INFO_8W v = {};
      v.pDevMode = reinterpret_cast<LPDEVMODEW>(pk.Blob(r.devMode));
      if (fixed) memcpy(fixed, &v, sizeof v);
      return true;
    }
  }
  return false;
}

DWORD FixedSizeOfPrinterLevel(DWORD level) {
  switch (level) {
    case 1: return sizeof(PRINTER_INFO_1W);
    case 2: return sizeof(PRINTER_INFO_2W);
    case 4: return sizeof(PRINTER_INFO_4W);
    case 5: return sizeof(PRINTER_INFO_5W);
    case 8:
    case 9: return sizeof(PRINTER_INFO_8W);
  }
  return 0;
}

// Measure-then-fill: FALSE with ERROR_INSUFFICIENT_BUFFER and the size needed when the
// caller's buffer is missing or too small.
template <class F>
BOOL PackInto(LPBYTE buffer, DWORD size, LPDWORD needed, DWORD fixed, F&& pack) {
  if (!needed) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  Packer measure(nullptr, fixed);
  pack(measure, static_cast<LPBYTE>(nullptr));
  *needed = measure.used();
  if (!buffer || size < measure.used()) {
    SetLastError(ERROR_INSUFFICIENT_BUFFER);
    return FALSE;
  }
  memset(buffer, 0, measure.used());
  Packer fill(buffer, fixed);
  pack(fill, buffer);
  return TRUE;
}

// Driver files are recorded by leaf name; a file given with a folder elsewhere on the machine
// is copied into the driver folder, as the spooler does when a driver is added.
bool TakeDriverFile(const WCHAR* given, std::u16string& leaf) {
  leaf.clear();
  if (!given || !*given) return true;
  std::u16string path = given;
  leaf = LeafOf(path);
  std::string target = HostPathFor(std::u16string(kDriverVersionFolder) + leaf);
  MakeFolders(target.substr(0, target.rfind('/')));
  if (leaf == path) return true;
  std::string source = HostPathFor(path);
  std::error_code ec;
  if (source.empty() || !std::filesystem::exists(source, ec)) return true;
  if (std::filesystem::equivalent(source, target, ec)) return true;
  if (!DiskTakeAll(size_t(std::filesystem::file_size(source, ec)))) return false;
  std::filesystem::copy_file(source, target, std::filesystem::copy_options::overwrite_existing, ec);
  return !ec;
}

std::vector<std::u16string> SplitMulti(const std::u16string& raw) {
  std::vector<std::u16string> out;
  size_t i = 0;
  while (i < raw.size()) {
    size_t j = raw.find(u'\0', i);
    if (j == std::u16string::npos) j = raw.size();
    if (j == i) break;
    out.push_back(raw.substr(i, j - i));
    i = j + 1;
  }
  return out;
}

LONG CopyTree(HKEY from, HKEY to) {
  for (DWORD i = 0;; ++i) {
    WCHAR name[16384];
    DWORD nameLen = 16384, type = 0, size = 0;
    LONG rc = RegEnumValueW(from, i, name, &nameLen, nullptr, &type, nullptr, &size);
    if (rc == ERROR_NO_MORE_ITEMS) break;
    if (rc != ERROR_SUCCESS) return rc;
    std::string data = ReadRaw(from, name);
    RegSetValueExW(to, name, 0, type, reinterpret_cast<const BYTE*>(data.data()), DWORD(data.size()));
  }
  for (DWORD i = 0;; ++i) {
    WCHAR name[256];
    DWORD nameLen = 256;
    LONG rc = RegEnumKeyExW(from, i, name, &nameLen, nullptr, nullptr, nullptr, nullptr);
    if (rc == ERROR_NO_MORE_ITEMS) break;
    if (rc != ERROR_SUCCESS) return rc;
    Key sub, made;
    if (sub.Open(from, name) != ERROR_SUCCESS || made.Create(to, name) != ERROR_SUCCESS) return ERROR_CANTWRITE;
    rc = CopyTree(sub.get(), made.get());
    if (rc != ERROR_SUCCESS) return rc;
  }
  return ERROR_SUCCESS;
}

LONG DeleteTree(HKEY base, const std::u16string& sub) {
  {
    Key key;
    LONG rc = key.Open(base, sub);
    if (rc != ERROR_SUCCESS) return rc;
    for (;;) {
      WCHAR name[256];
      DWORD nameLen = 256;
      if (RegEnumKeyExW(key.get(), 0, name, &nameLen, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
      rc = DeleteTree(key.get(), name);
      if (rc != ERROR_SUCCESS) return rc;
    }
  }
  return RegDeleteKeyW(base, sub.c_str());
}

bool ValidDataKey(LPCWSTR key) { return key && *key; }

typedef BOOL(WINAPI* PrinterEventFn)(LPWSTR, int, DWORD, LPARAM);
typedef BOOL(WINAPI* UpgradePrinterFn)(DWORD, LPBYTE);

// Loads the configuration DLL of the named driver from the driver folder and hands its export
// to call; nothing when the DLL or the export cannot be had.
template <class F>
void WithConfigExport(const std::u16string& driverName, const char* exportName, F&& call) {
  if (!g_callDriver || driverName.empty()) return;
  Key driver;
  if (driver.Open(HKEY_LOCAL_MACHINE, DriverPath(driverName)) != ERROR_SUCCESS) return;
  const std::u16string config = ReadString(driver.get(), u"Configuration File");
  if (config.empty()) return;
  HMODULE module = LoadLibraryW((std::u16string(kDriverVersionFolder) + config).c_str());
  if (!module) return;
  if (void* fn = reinterpret_cast<void*>(GetProcAddress(module, exportName))) call(fn);
  FreeLibrary(module);
}

// DrvPrinterEvent of the printer's driver for this event.
void SendPrinterEvent(const std::u16string& printerName, const std::u16string& driverName, int event) {
  WithConfigExport(driverName, "DrvPrinterEvent", [&](void* fn) {
    std::u16string name = printerName;
    reinterpret_cast<PrinterEventFn>(fn)(&name[0], event, PRINTER_EVENT_FLAG_NO_UI, 0);
  });
}

// DrvUpgradePrinter (level 1) of the driver for each of its printers.
void UpgradePrinters(const std::u16string& driverName) {
  std::vector<std::u16string> names;
  Key printers;
  if (printers.Open(HKEY_LOCAL_MACHINE, kPrintersKey) != ERROR_SUCCESS) return;
  for (DWORD i = 0;; ++i) {
    WCHAR keyName[256];
    DWORD len = 256;
    if (RegEnumKeyExW(printers.get(), i, keyName, &len, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
    Key k;
    if (k.Open(printers.get(), keyName) == ERROR_SUCCESS &&
        SameTextIgnoringCase(ReadString(k.get(), u"Printer Driver").c_str(), driverName.c_str()))
      names.push_back(ReadString(k.get(), u"Name"));
  }
  printers.Reset();
  if (names.empty()) return;
  WINSIM_SIMPLIFIED("AddPrinterDriverW", "upgrades the driver's printers in the caller's process");
  WithConfigExport(driverName, "DrvUpgradePrinter", [&](void* fn) {
    std::u16string folder = kDriverVersionFolder;
    for (std::u16string& name : names) {
      DRIVER_UPGRADE_INFO_1W upgrade = {&name[0], &folder[0]};
      reinterpret_cast<UpgradePrinterFn>(fn)(1, reinterpret_cast<LPBYTE>(&upgrade));
    }
  });
}

// The name and driver of a printer key, or false.
bool PrinterNames(const std::u16string& keyName, std::u16string& name, std::u16string& driver) {
  Key key;
  if (key.Open(HKEY_LOCAL_MACHINE, PrinterPath(keyName)) != ERROR_SUCCESS) return false;
  name = ReadString(key.get(), u"Name");
  driver = ReadString(key.get(), u"Printer Driver");
  return true;
}

}  // namespace
}  // namespace winsim

using namespace winsim;

// ---- printers ----

WINSIM_API BOOL WINAPI OpenPrinterW(LPWSTR pPrinterName, LPHANDLE phPrinter, LPPRINTER_DEFAULTSW pDefault) {
  if (!phPrinter || !pPrinterName || !*pPrinterName) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  *phPrinter = nullptr;
  Key key;
  std::u16string keyName = KeyNameOf(pPrinterName);
  if (key.Open(HKEY_LOCAL_MACHINE, PrinterPath(keyName)) != ERROR_SUCCESS) {
    SetLastError(ERROR_INVALID_PRINTER_NAME);
    return FALSE;
  }
  PrinterHandle p;
  p.keyName = keyName;
  p.access = pDefault && pDefault->DesiredAccess ? pDefault->DesiredAccess : PRINTER_ACCESS_USE;
  {
    std::lock_guard<std::mutex> hold(g_lock);
    if (g_accessLimit && (p.access & ~g_accessLimit)) {
      SetLastError(ERROR_ACCESS_DENIED);
      return FALSE;
    }
  }
  *phPrinter = NewPrinterHandle(p);
  return TRUE;
}

WINSIM_API BOOL WINAPI ClosePrinter(HANDLE hPrinter) {
  std::lock_guard<std::mutex> hold(g_lock);
  if (!g_printers.erase(reinterpret_cast<uintptr_t>(hPrinter))) {
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  return TRUE;
}

// Simplified: the server name is not looked at; the printer is always added on this machine.
WINSIM_API HANDLE WINAPI AddPrinterW(LPWSTR pName, DWORD Level, LPBYTE pPrinter) {
  if (pName && *pName) WINSIM_SIMPLIFIED("AddPrinterW", "adds the printer on this machine whatever server is named");
  if (Level != 2) {
    SetLastError(ERROR_INVALID_LEVEL);
    return nullptr;
  }
  const PRINTER_INFO_2W* info = reinterpret_cast<const PRINTER_INFO_2W*>(pPrinter);
  // The print processor is required, as the printer's other names are. Without a datatype
  // some spoolers add a printer that cannot be opened, so it is required here too: nothing
  // may come to depend on a default the spooler fills in.
  if (!info || !info->pPrinterName || !*info->pPrinterName || !info->pDriverName || !info->pPortName ||
      !info->pPrintProcessor || !*info->pPrintProcessor || !info->pDatatype || !*info->pDatatype) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  Key driver;
  if (driver.Open(HKEY_LOCAL_MACHINE, DriverPath(info->pDriverName)) != ERROR_SUCCESS) {
    SetLastError(ERROR_UNKNOWN_PRINTER_DRIVER);
    return nullptr;
  }
  std::u16string keyName = KeyNameOf(info->pPrinterName);
  Key key;
  DWORD disposition = 0;
  if (key.Create(HKEY_LOCAL_MACHINE, PrinterPath(keyName), &disposition) != ERROR_SUCCESS) {
    SetLastError(ERROR_CANTWRITE);
    return nullptr;
  }
  if (disposition != REG_CREATED_NEW_KEY) {
    SetLastError(ERROR_PRINTER_ALREADY_EXISTS);
    return nullptr;
  }
  WriteString(key.get(), u"Name", info->pPrinterName);
  // Sim extension: a server name makes the printer a connection to that server.
  if (info->pServerName && *info->pServerName) WriteString(key.get(), u"Server", info->pServerName);
  WriteString(key.get(), u"Share Name", info->pShareName);
  WriteString(key.get(), u"Port", info->pPortName);
  WriteString(key.get(), u"Printer Driver", info->pDriverName);
  WriteString(key.get(), u"Description", info->pComment);
  WriteString(key.get(), u"Location", info->pLocation);
  WriteString(key.get(), u"Separator File", info->pSepFile);
  WriteString(key.get(), u"Print Processor", info->pPrintProcessor);
  WriteString(key.get(), u"Datatype", info->pDatatype);
  WriteString(key.get(), u"Parameters", info->pParameters);
  WriteDword(key.get(), u"Attributes", info->Attributes);
  WriteDword(key.get(), u"Priority", info->Priority ? info->Priority : 1);
  WriteDword(key.get(), u"Default Priority", info->DefaultPriority);
  WriteDword(key.get(), u"StartTime", info->StartTime);
  WriteDword(key.get(), u"UntilTime", info->UntilTime);
  WriteDword(key.get(), u"Status", 0);
  WriteDevMode(key.get(), info->pDevMode);
  Key data;
  data.Create(key.get(), kDefaultDataKey);
  key.Reset();
  // A new local printer is initialised by its driver; a connection is told by
  // AddPrinterConnectionW.
  if (!(info->pServerName && *info->pServerName)) {
    WINSIM_SIMPLIFIED("AddPrinterW", "loads the configuration DLL in the caller's process for its initialize event");
    SendPrinterEvent(info->pPrinterName, info->pDriverName, PRINTER_EVENT_INITIALIZE);
  }
  PrinterHandle p;
  p.keyName = keyName;
  p.access = PRINTER_ALL_ACCESS;
  HANDLE handle = NewPrinterHandle(p);
  // A printer added without a DEVMODE gets its driver's default, asked as DocumentPropertiesW
  // asks it, after the initialize event.
  if (!info->pDevMode && g_callDriver && !(info->pServerName && *info->pServerName)) {
    WINSIM_SIMPLIFIED("AddPrinterW", "asks the configuration DLL for the default DEVMODE in the caller's process");
    if (DEVMODEW* dm = DriverDefaultDevmode(handle, info->pPrinterName)) {
      Key stored;
      if (stored.Open(HKEY_LOCAL_MACHINE, PrinterPath(keyName)) == ERROR_SUCCESS) WriteDevMode(stored.get(), dm);
      LocalFree(dm);
    }
  }
  return handle;
}

WINSIM_API BOOL WINAPI DeletePrinter(HANDLE hPrinter) {
  PrinterHandle p;
  if (!LookupHandle(hPrinter, p)) {
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  // The driver hears of the deletion while the printer can still be opened.
  std::u16string name, driver;
  if (PrinterNames(p.keyName, name, driver)) {
    WINSIM_SIMPLIFIED("DeletePrinter", "loads the configuration DLL in the caller's process for its delete event");
    SendPrinterEvent(name, driver, PRINTER_EVENT_DELETE);
  }
  Key printers;
  if (printers.Open(HKEY_LOCAL_MACHINE, kPrintersKey) != ERROR_SUCCESS ||
      DeleteTree(printers.get(), p.keyName) != ERROR_SUCCESS) {
    SetLastError(ERROR_INVALID_PRINTER_NAME);
    return FALSE;
  }
  return TRUE;
}

WINSIM_API BOOL WINAPI GetPrinterW(HANDLE hPrinter, DWORD Level, LPBYTE pPrinter, DWORD cbBuf, LPDWORD pcbNeeded) {
  Key key;
  if (!OpenPrinterKey(hPrinter, key)) return FALSE;
  DWORD fixed = FixedSizeOfPrinterLevel(Level);
  if (!fixed) {
    SetLastError(ERROR_INVALID_LEVEL);
    return FALSE;
  }
  PrinterRecord r = ReadPrinter(key.get());
  return PackInto(pPrinter, cbBuf, pcbNeeded, fixed,
                  [&](Packer& pk, LPBYTE base) { PackPrinter(r, Level, pk, base); });
}

WINSIM_API BOOL WINAPI SetPrinterW(HANDLE hPrinter, DWORD Level, LPBYTE pPrinter, DWORD Command) {
  Key key;
  PrinterHandle handle;
  if (!OpenPrinterKey(hPrinter, key, &handle)) return FALSE;
  if (Level == 0) {
    if (Command == PRINTER_CONTROL_PAUSE || Command == PRINTER_CONTROL_RESUME) {
      WriteDword(key.get(), u"Status", Command == PRINTER_CONTROL_PAUSE ? 1 : 0);
      return TRUE;
    }
    if (Command == PRINTER_CONTROL_PURGE) {
      // Simplified: the machine's spooler keeps no jobs, so there is nothing to purge.
      WINSIM_SIMPLIFIED("SetPrinterW", "purges nothing: the spooler keeps no jobs");
      return TRUE;
    }
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  if (!pPrinter || Command != 0) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  switch (Level) {
    case 7: {
      // Simplified: there is no directory service; a valid request is recorded per printer.
      const PRINTER_INFO_7W* info = reinterpret_cast<const PRINTER_INFO_7W*>(pPrinter);
      const DWORD action = info->dwAction;
      if (action != DSPRINT_PUBLISH && action != DSPRINT_UPDATE && action != DSPRINT_UNPUBLISH) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
      }
      WINSIM_SIMPLIFIED("SetPrinterW", "level 7 records the publishing request; no directory service");
      std::lock_guard<std::mutex> hold(g_lock);
      PublishRecord& record = g_published[LowerKey(handle.keyName)];
      ++record.count;
      record.lastAction = action;
      return TRUE;
    }
    case 2: {
      const PRINTER_INFO_2W* info = reinterpret_cast<const PRINTER_INFO_2W*>(pPrinter);
      if (!info->pPrinterName || !*info->pPrinterName || !info->pDriverName || !info->pPortName) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
      }
      Key driver;
      if (driver.Open(HKEY_LOCAL_MACHINE, DriverPath(info->pDriverName)) != ERROR_SUCCESS) {
        SetLastError(ERROR_UNKNOWN_PRINTER_DRIVER);
        return FALSE;
      }
      std::u16string newKey = KeyNameOf(info->pPrinterName);
      if (!SameTextIgnoringCase(newKey, handle.keyName)) {
        // A rename moves the printer's key with all its printer data; open handles follow.
        Key exists, made;
        if (exists.Open(HKEY_LOCAL_MACHINE, PrinterPath(newKey)) == ERROR_SUCCESS) {
          SetLastError(ERROR_PRINTER_ALREADY_EXISTS);
          return FALSE;
        }
        if (made.Create(HKEY_LOCAL_MACHINE, PrinterPath(newKey)) != ERROR_SUCCESS ||
            CopyTree(key.get(), made.get()) != ERROR_SUCCESS) {
          SetLastError(ERROR_CANTWRITE);
          return FALSE;
        }
        Key printers;
        printers.Open(HKEY_LOCAL_MACHINE, kPrintersKey);
        DeleteTree(printers.get(), handle.keyName);
        {
          std::lock_guard<std::mutex> hold(g_lock);
          for (auto& entry : g_printers)
            if (SameTextIgnoringCase(entry.second.keyName, handle.keyName)) entry.second.keyName = newKey;
        }
        key.Reset();
        if (key.Open(HKEY_LOCAL_MACHINE, PrinterPath(newKey)) != ERROR_SUCCESS) {
          SetLastError(ERROR_CANTWRITE);
          return FALSE;
        }
      }
      WriteString(key.get(), u"Name", info->pPrinterName);
      WriteString(key.get(), u"Share Name", info->pShareName);
      WriteString(key.get(), u"Port", info->pPortName);
      WriteString(key.get(), u"Printer Driver", info->pDriverName);
      WriteString(key.get(), u"Description", info->pComment);
      WriteString(key.get(), u"Location", info->pLocation);
      WriteString(key.get(), u"Separator File", info->pSepFile);
      if (info->pPrintProcessor) WriteString(key.get(), u"Print Processor", info->pPrintProcessor);
      if (info->pDatatype) WriteString(key.get(), u"Datatype", info->pDatatype);
      WriteString(key.get(), u"Parameters", info->pParameters);
      WriteDword(key.get(), u"Attributes", info->Attributes);
      WriteDword(key.get(), u"Priority", info->Priority);
      WriteDword(key.get(), u"Default Priority", info->DefaultPriority);
      WriteDword(key.get(), u"StartTime", info->StartTime);
      WriteDword(key.get(), u"UntilTime", info->UntilTime);
      WriteDevMode(key.get(), info->pDevMode);
      return TRUE;
    }
    case 5: {
      const PRINTER_INFO_5W* info = reinterpret_cast<const PRINTER_INFO_5W*>(pPrinter);
      if (info->pPortName) WriteString(key.get(), u"Port", info->pPortName);
      WriteDword(key.get(), u"Attributes", info->Attributes);
      return TRUE;
    }
    case 8:
    case 9: {
      const PRINTER_INFO_8W* info = reinterpret_cast<const PRINTER_INFO_8W*>(pPrinter);
      if (!DevModeSize(info->pDevMode)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
      }
      WriteDevMode(key.get(), info->pDevMode);
      return TRUE;
    }
  }
  SetLastError(ERROR_INVALID_LEVEL);
  return FALSE;
}

// Simplified: every printer of the machine is listed, whatever server or domain name is
// given, and PRINTER_ENUM_DEFAULT lists them all too instead of the default printer alone.
WINSIM_API BOOL WINAPI EnumPrintersW(DWORD Flags, LPWSTR Name, DWORD Level, LPBYTE pPrinterEnum, DWORD cbBuf,
                                     LPDWORD pcbNeeded, LPDWORD pcReturned) {
  if (Name && *Name) WINSIM_SIMPLIFIED("EnumPrintersW", "lists every printer whatever name it is given");
  if (Flags & PRINTER_ENUM_DEFAULT)
    WINSIM_SIMPLIFIED("EnumPrintersW", "lists every printer for PRINTER_ENUM_DEFAULT, not the default one");
  if (!pcReturned) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  *pcReturned = 0;
  DWORD fixed = FixedSizeOfPrinterLevel(Level);
  if (!fixed || Level >= 8) {
    SetLastError(ERROR_INVALID_LEVEL);
    return FALSE;
  }
  std::vector<PrinterRecord> list;
  Key printers;
  if ((Flags & (PRINTER_ENUM_LOCAL | PRINTER_ENUM_CONNECTIONS | PRINTER_ENUM_DEFAULT)) &&
      printers.Open(HKEY_LOCAL_MACHINE, kPrintersKey) == ERROR_SUCCESS) {
    for (DWORD i = 0;; ++i) {
      WCHAR name[256];
      DWORD len = 256;
      if (RegEnumKeyExW(printers.get(), i, name, &len, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
      Key k;
      if (k.Open(printers.get(), name) == ERROR_SUCCESS) list.push_back(ReadPrinter(k.get()));
    }
  }
  BOOL ok = PackInto(pPrinterEnum, cbBuf, pcbNeeded, fixed * DWORD(list.size()), [&](Packer& pk, LPBYTE base) {
    for (size_t i = 0; i < list.size(); ++i) PackPrinter(list[i], Level, pk, base ? base + i * fixed : nullptr);
  });
  if (ok) *pcReturned = DWORD(list.size());
  return ok;
}

// ---- drivers ----

// Simplified: the server name is not looked at; the driver is always added on this machine.
WINSIM_API BOOL WINAPI AddPrinterDriverW(LPWSTR pName, DWORD Level, LPBYTE pDriverInfo) {
  if (pName && *pName)
    WINSIM_SIMPLIFIED("AddPrinterDriverW", "adds the driver on this machine whatever server is named");
  if (Level != 2 && Level != 3) {
    SetLastError(ERROR_INVALID_LEVEL);
    return FALSE;
  }
  const DRIVER_INFO_3W* info = reinterpret_cast<const DRIVER_INFO_3W*>(pDriverInfo);
  if (!info || !info->pName || !*info->pName || !info->pDriverPath || !info->pDataFile || !info->pConfigFile) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  if (info->pEnvironment && *info->pEnvironment && !SameTextIgnoringCase(info->pEnvironment, kEnvironment)) {
    SetLastError(ERROR_INVALID_ENVIRONMENT);
    return FALSE;
  }
  std::u16string driver, data, config, help;
  std::vector<std::u16string> dependent;
  bool ok = TakeDriverFile(info->pDriverPath, driver) && TakeDriverFile(info->pDataFile, data) &&
            TakeDriverFile(info->pConfigFile, config);
  if (Level == 3) {
    ok = ok && TakeDriverFile(info->pHelpFile, help);
    for (const WCHAR* f = info->pDependentFiles; ok && f && *f; f += WideLength(f) + 1) {
      std::u16string leaf;
      ok = TakeDriverFile(f, leaf);
      dependent.push_back(leaf);
    }
  }
  if (!ok) {
    SetLastError(ERROR_CANT_ACCESS_FILE);
    return FALSE;
  }
  Key key;
  DWORD disposition = 0;
  if (key.Create(HKEY_LOCAL_MACHINE, DriverPath(info->pName), &disposition) != ERROR_SUCCESS) {
    SetLastError(ERROR_CANTWRITE);
    return FALSE;
  }
  const bool upgrade = disposition == REG_OPENED_EXISTING_KEY;
  WriteString(key.get(), u"Driver", driver.c_str());
  WriteString(key.get(), u"Data File", data.c_str());
  WriteString(key.get(), u"Configuration File", config.c_str());
  WriteString(key.get(), u"Help File", help.c_str());
  std::u16string multi;
  for (const auto& d : dependent) {
    multi += d;
    multi += u'\0';
  }
  multi += u'\0';
  RegSetValueExW(key.get(), u"Dependent Files", 0, REG_MULTI_SZ, reinterpret_cast<const BYTE*>(multi.data()),
                 DWORD(multi.size() * 2));
  WriteString(key.get(), u"Monitor", Level == 3 ? info->pMonitorName : nullptr);
  WriteString(key.get(), u"Datatype", Level == 3 ? info->pDefaultDataType : nullptr);
  WriteDword(key.get(), u"Version", 3);
  key.Reset();
  if (upgrade) UpgradePrinters(info->pName);
  return TRUE;
}

WINSIM_API BOOL WINAPI GetPrinterDriverW(HANDLE hPrinter, LPWSTR pEnvironment, DWORD Level, LPBYTE pDriverInfo,
                                         DWORD cbBuf, LPDWORD pcbNeeded) {
  Key key;
  if (!OpenPrinterKey(hPrinter, key)) return FALSE;
  if (pEnvironment && *pEnvironment && !SameTextIgnoringCase(pEnvironment, kEnvironment)) {
    SetLastError(ERROR_INVALID_ENVIRONMENT);
    return FALSE;
  }
  if (Level < 1 || Level > 3) {
    SetLastError(ERROR_INVALID_LEVEL);
    return FALSE;
  }
  std::u16string name = ReadString(key.get(), u"Printer Driver");
  Key drv;
  if (name.empty() || drv.Open(HKEY_LOCAL_MACHINE, DriverPath(name)) != ERROR_SUCCESS) {
    SetLastError(ERROR_UNKNOWN_PRINTER_DRIVER);
    return FALSE;
  }
  auto full = [](const std::u16string& leaf) {
    return leaf.empty() ? std::u16string() : std::u16string(kDriverVersionFolder) + leaf;
  };
  std::u16string driver = full(ReadString(drv.get(), u"Driver"));
  std::u16string data = full(ReadString(drv.get(), u"Data File"));
  std::u16string config = full(ReadString(drv.get(), u"Configuration File"));
  std::u16string help = full(ReadString(drv.get(), u"Help File"));
  std::vector<std::u16string> dependent;
  for (const auto& d : SplitMulti(ReadMultiRaw(drv.get(), u"Dependent Files"))) dependent.push_back(full(d));
  std::u16string monitor = ReadString(drv.get(), u"Monitor");
  std::u16string datatype = ReadString(drv.get(), u"Datatype");
  DWORD version = ReadDword(drv.get(), u"Version", 3);
  DWORD fixed = Level == 1 ? sizeof(DRIVER_INFO_1W) : Level == 2 ? sizeof(DRIVER_INFO_2W) : sizeof(DRIVER_INFO_3W);
  return PackInto(pDriverInfo, cbBuf, pcbNeeded, fixed, [&](Packer& pk, LPBYTE base) {
    DRIVER_INFO_3W v = {};
    v.cVersion = version;
    if (Level == 1) {
      DRIVER_INFO_1W one = {pk.Str(name)};
      if (base) memcpy(base, &one, sizeof one);
      return;
    }
    v.pName = pk.Str(name);
    v.pEnvironment = pk.Str(kEnvironment);
    v.pDriverPath = pk.Str(driver);
    v.pDataFile = pk.Str(data);
    v.pConfigFile = pk.Str(config);
    if (Level == 3) {
      v.pHelpFile = pk.StrOrNull(help);
      v.pDependentFiles = pk.MultiStr(dependent);
      v.pMonitorName = pk.StrOrNull(monitor);
      v.pDefaultDataType = pk.StrOrNull(datatype);
    }
    if (base) memcpy(base, &v, fixed);
  });
}

WINSIM_API BOOL WINAPI GetPrinterDriverDirectoryW(LPWSTR pName, LPWSTR pEnvironment, DWORD Level,
                                                  LPBYTE pDriverDirectory, DWORD cbBuf, LPDWORD pcbNeeded) {
  if (pName && *pName) {
    SetLastError(ERROR_INVALID_PARAMETER);  // no remote servers on this machine
    return FALSE;
  }
  if (pEnvironment && *pEnvironment && !SameTextIgnoringCase(pEnvironment, kEnvironment)) {
    SetLastError(ERROR_INVALID_ENVIRONMENT);
    return FALSE;
  }
  if (Level != 1) {
    SetLastError(ERROR_INVALID_LEVEL);
    return FALSE;
  }
  return PackInto(pDriverDirectory, cbBuf, pcbNeeded, 0, [&](Packer& pk, LPBYTE) { pk.Str(kDriverFolder); });
}

// ---- printer data ----

WINSIM_API DWORD WINAPI GetPrinterDataExW(HANDLE hPrinter, LPCWSTR pKeyName, LPCWSTR pValueName, LPDWORD pType,
                                          LPBYTE pData, DWORD nSize, LPDWORD pcbNeeded) {
  Key printer;
  if (!OpenPrinterKey(hPrinter, printer)) return ERROR_INVALID_HANDLE;
  if (!ValidDataKey(pKeyName) || !pcbNeeded) return ERROR_INVALID_PARAMETER;
  Key key;
  if (key.Open(printer.get(), pKeyName) != ERROR_SUCCESS) return ERROR_FILE_NOT_FOUND;
  DWORD type = 0, size = 0;
  LONG rc = RegQueryValueExW(key.get(), pValueName ? pValueName : u"", nullptr, &type, nullptr, &size);
  if (rc != ERROR_SUCCESS) return DWORD(rc);
  if (pType) *pType = type;
  *pcbNeeded = size;
  if (!pData || nSize < size) return ERROR_MORE_DATA;
  DWORD got = nSize;
  rc = RegQueryValueExW(key.get(), pValueName ? pValueName : u"", nullptr, &type, pData, &got);
  if (rc == ERROR_SUCCESS) *pcbNeeded = got;
  return DWORD(rc);
}

WINSIM_API DWORD WINAPI GetPrinterDataW(HANDLE hPrinter, LPWSTR pValueName, LPDWORD pType, LPBYTE pData,
                                        DWORD nSize, LPDWORD pcbNeeded) {
  return GetPrinterDataExW(hPrinter, kDefaultDataKey, pValueName, pType, pData, nSize, pcbNeeded);
}

// Changing printer data needs the right to administer the printer, which only an
// administrator of the machine has.
static bool UserMayChangePrinterData() {
  if (CallerMayChangeMachine()) return true;
  WINSIM_SIMPLIFIED("SetPrinterDataExW", "refuses a user who is not an administrator whatever the handle's access");
  return false;
}

WINSIM_API DWORD WINAPI SetPrinterDataExW(HANDLE hPrinter, LPCWSTR pKeyName, LPCWSTR pValueName, DWORD Type,
                                          LPBYTE pData, DWORD cbData) {
  Key printer;
  if (!OpenPrinterKey(hPrinter, printer)) return ERROR_INVALID_HANDLE;
  if (!ValidDataKey(pKeyName) || (!pData && cbData)) return ERROR_INVALID_PARAMETER;
  if (!UserMayChangePrinterData()) return ERROR_ACCESS_DENIED;
  Key key;
  LONG rc = key.Create(printer.get(), pKeyName);
  if (rc != ERROR_SUCCESS) return DWORD(rc);
  return DWORD(RegSetValueExW(key.get(), pValueName ? pValueName : u"", 0, Type, pData, cbData));
}

WINSIM_API DWORD WINAPI SetPrinterDataW(HANDLE hPrinter, LPWSTR pValueName, DWORD Type, LPBYTE pData,
                                        DWORD cbData) {
  return SetPrinterDataExW(hPrinter, kDefaultDataKey, pValueName, Type, pData, cbData);
}

WINSIM_API DWORD WINAPI DeletePrinterDataExW(HANDLE hPrinter, LPCWSTR pKeyName, LPCWSTR pValueName) {
  Key printer;
  if (!OpenPrinterKey(hPrinter, printer)) return ERROR_INVALID_HANDLE;
  if (!ValidDataKey(pKeyName)) return ERROR_INVALID_PARAMETER;
  if (!UserMayChangePrinterData()) return ERROR_ACCESS_DENIED;
  Key key;
  if (key.Open(printer.get(), pKeyName) != ERROR_SUCCESS) return ERROR_FILE_NOT_FOUND;
  return DWORD(RegDeleteValueW(key.get(), pValueName ? pValueName : u""));
}

WINSIM_API DWORD WINAPI DeletePrinterDataW(HANDLE hPrinter, LPWSTR pValueName) {
  return DeletePrinterDataExW(hPrinter, kDefaultDataKey, pValueName);
}

WINSIM_API DWORD WINAPI EnumPrinterDataW(HANDLE hPrinter, DWORD dwIndex, LPWSTR pValueName, DWORD cbValueName,
                                         LPDWORD pcbValueName, LPDWORD pType, LPBYTE pData, DWORD cbData,
                                         LPDWORD pcbData) {
  Key printer;
  if (!OpenPrinterKey(hPrinter, printer)) return ERROR_INVALID_HANDLE;
  if (!pcbValueName || !pcbData) return ERROR_INVALID_PARAMETER;
  Key key;
  if (key.Open(printer.get(), kDefaultDataKey) != ERROR_SUCCESS) return ERROR_NO_MORE_ITEMS;
  if (cbValueName == 0 && cbData == 0) {
    // The documented sizing call: the largest name (bytes, terminator included) and value.
    DWORD values = 0, maxName = 0, maxData = 0;
    LONG rc = RegQueryInfoKeyW(key.get(), nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &values, &maxName,
                               &maxData, nullptr, nullptr);
    if (rc != ERROR_SUCCESS) return DWORD(rc);
    if (dwIndex >= values) return ERROR_NO_MORE_ITEMS;
    *pcbValueName = (maxName + 1) * 2;
    *pcbData = maxData;
    return ERROR_SUCCESS;
  }
  WCHAR name[16384];
  DWORD nameLen = 16384, type = 0, size = 0;
  LONG rc = RegEnumValueW(key.get(), dwIndex, name, &nameLen, nullptr, &type, nullptr, &size);
  if (rc != ERROR_SUCCESS) return DWORD(rc);
  *pcbValueName = (nameLen + 1) * 2;
  *pcbData = size;
  if (!pValueName || cbValueName < (nameLen + 1) * 2 || (size && (!pData || cbData < size))) return ERROR_MORE_DATA;
  memcpy(pValueName, name, (nameLen + 1) * 2);
  if (pType) *pType = type;
  if (size) {
    DWORD got = cbData;
    rc = RegQueryValueExW(key.get(), name, nullptr, &type, pData, &got);
    if (rc != ERROR_SUCCESS) return DWORD(rc);
  }
  return ERROR_SUCCESS;
}

WINSIM_API DWORD SimPrinterPublishCount(LPCWSTR printerName, LPDWORD lastAction) {
  using namespace winsim;
  if (lastAction) *lastAction = 0;
  if (!printerName) return 0;
  std::lock_guard<std::mutex> hold(g_lock);
  auto it = g_published.find(LowerKey(KeyNameOf(printerName)));
  if (it == g_published.end()) return 0;
  if (lastAction) *lastAction = it->second.lastAction;
  return it->second.count;
}


// ---- forms ----

namespace winsim {
namespace {

const char16_t kFormsKey[] = u"SYSTEM\\CurrentControlSet\\Control\\Print\\Forms";

struct FormRow {
  std::u16string name;
  DWORD flags;
  LONG cx, cy;
  RECTL area;
};

// The machine's built-in forms, in the order of the standard paper codes (form n is paper
// code n); sizes in thousandths of a millimetre, the whole sheet imageable.
struct BuiltinForm {
  const char16_t* name;
  LONG cx, cy;
};
const BuiltinForm kBuiltinForms[] = {
    {u"Letter", 215900, 279400},     {u"Letter Small", 215900, 279400}, {u"Tabloid", 279400, 431800},
    {u"Ledger", 431800, 279400},     {u"Legal", 215900, 355600},        {u"Statement", 139700, 215900},
    {u"Executive", 184150, 266700},  {u"A3", 297000, 420000},           {u"A4", 210000, 297000},
    {u"A4 Small", 210000, 297000},   {u"A5", 148000, 210000},           {u"B4 (JIS)", 257000, 364000},
    {u"B5 (JIS)", 182000, 257000},
};

// A user form's registry value: its size and imageable area.
struct StoredForm {
  LONG cx, cy, left, top, right, bottom;
};

std::vector<FormRow> ReadForms() {
  std::vector<FormRow> rows;
  for (const BuiltinForm& f : kBuiltinForms) rows.push_back({f.name, FORM_BUILTIN, f.cx, f.cy, {0, 0, f.cx, f.cy}});
  Key key;
  if (key.Open(HKEY_LOCAL_MACHINE, kFormsKey) != ERROR_SUCCESS) return rows;
  for (DWORD i = 0;; ++i) {
    WCHAR name[256];
    DWORD nameLen = 256, type = 0;
    StoredForm f = {};
    DWORD size = sizeof f;
    if (RegEnumValueW(key.get(), i, name, &nameLen, nullptr, &type, reinterpret_cast<LPBYTE>(&f), &size) !=
        ERROR_SUCCESS)
      break;
    if (type != REG_BINARY || size != sizeof f) continue;
    rows.push_back({std::u16string(name, nameLen), FORM_USER, f.cx, f.cy, {f.left, f.top, f.right, f.bottom}});
  }
  return rows;
}

}  // namespace
}  // namespace winsim

// Simplified: one form database for the machine (built-in forms, then user forms in the order
// the registry lists them); the printer handle is only checked.
WINSIM_API BOOL WINAPI EnumFormsW(HANDLE hPrinter, DWORD Level, LPBYTE pForm, DWORD cbBuf, LPDWORD pcbNeeded,
                                  LPDWORD pcReturned) {
  WINSIM_SIMPLIFIED("EnumFormsW", "one machine-wide form database");
  Key printer;
  if (!OpenPrinterKey(hPrinter, printer)) return FALSE;
  if (Level != 1) {
    SetLastError(ERROR_INVALID_LEVEL);
    return FALSE;
  }
  if (!pcReturned) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  *pcReturned = 0;
  const std::vector<FormRow> rows = ReadForms();
  const DWORD fixed = DWORD(rows.size() * sizeof(FORM_INFO_1W));
  BOOL ok = PackInto(pForm, cbBuf, pcbNeeded, fixed, [&](Packer& pk, LPBYTE base) {
    FORM_INFO_1W* out = reinterpret_cast<FORM_INFO_1W*>(base);
    for (size_t i = 0; i < rows.size(); ++i) {
      LPWSTR name = pk.Str(rows[i].name);
      if (!out) continue;
      out[i].Flags = rows[i].flags;
      out[i].pName = name;
      out[i].Size.cx = rows[i].cx;
      out[i].Size.cy = rows[i].cy;
      out[i].ImageableArea = rows[i].area;
    }
  });
  if (ok) *pcReturned = DWORD(rows.size());
  return ok;
}

WINSIM_API BOOL WINAPI AddFormW(HANDLE hPrinter, DWORD Level, LPBYTE pForm) {
  Key printer;
  if (!OpenPrinterKey(hPrinter, printer)) return FALSE;
  const FORM_INFO_1W* form = reinterpret_cast<const FORM_INFO_1W*>(pForm);
  if (Level != 1) {
    SetLastError(ERROR_INVALID_LEVEL);
    return FALSE;
  }
  if (!form || !form->pName || !*form->pName || form->Size.cx <= 0 || form->Size.cy <= 0) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  for (const FormRow& row : ReadForms())
    if (SameTextIgnoringCase(row.name.c_str(), form->pName)) {
      SetLastError(ERROR_FILE_EXISTS);
      return FALSE;
    }
  Key key;
  if (key.Create(HKEY_LOCAL_MACHINE, kFormsKey) != ERROR_SUCCESS) {
    SetLastError(ERROR_CANTWRITE);
    return FALSE;
  }
  StoredForm f = {form->Size.cx, form->Size.cy, form->ImageableArea.left, form->ImageableArea.top,
                  form->ImageableArea.right, form->ImageableArea.bottom};
  LONG rc = RegSetValueExW(key.get(), form->pName, 0, REG_BINARY, reinterpret_cast<const BYTE*>(&f), sizeof f);
  if (rc != ERROR_SUCCESS) {
    SetLastError(DWORD(rc));
    return FALSE;
  }
  return TRUE;
}

WINSIM_API void SimLimitPrinterAccess(DWORD allowed) {
  std::lock_guard<std::mutex> hold(winsim::g_lock);
  winsim::g_accessLimit = allowed;
}

// ---- connections ----

// Simplified: the connection is the printer entry of that name (added by AddPrinterW with a
// server name); the call only tells the printer's driver, in the caller's process.
WINSIM_API BOOL WINAPI AddPrinterConnectionW(LPWSTR pName) {
  WINSIM_SIMPLIFIED("AddPrinterConnectionW", "tells the driver of an existing printer entry");
  std::u16string name, driver;
  if (!pName || !*pName || !PrinterNames(KeyNameOf(pName), name, driver)) {
    SetLastError(ERROR_INVALID_PRINTER_NAME);
    return FALSE;
  }
  SendPrinterEvent(name, driver, PRINTER_EVENT_ADD_CONNECTION);
  return TRUE;
}

// Simplified: tells the driver, then removes the printer entry of that name.
WINSIM_API BOOL WINAPI DeletePrinterConnectionW(LPWSTR pName) {
  WINSIM_SIMPLIFIED("DeletePrinterConnectionW", "tells the driver and removes the printer entry");
  std::u16string name, driver;
  if (!pName || !*pName || !PrinterNames(KeyNameOf(pName), name, driver)) {
    SetLastError(ERROR_INVALID_PRINTER_NAME);
    return FALSE;
  }
  SendPrinterEvent(name, driver, PRINTER_EVENT_DELETE_CONNECTION);
  Key printers;
  if (printers.Open(HKEY_LOCAL_MACHINE, kPrintersKey) != ERROR_SUCCESS ||
      DeleteTree(printers.get(), KeyNameOf(pName)) != ERROR_SUCCESS) {
    SetLastError(ERROR_INVALID_PRINTER_NAME);
    return FALSE;
  }
  return TRUE;
}

WINSIM_API void SimSpoolerCallsDriver(BOOL on) { winsim::g_callDriver = on != FALSE; }
