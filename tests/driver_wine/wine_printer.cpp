#include "driver_wine/wine_printer.h"

#include <vector>

namespace wine_printer {

const wchar_t kPrinterName[] = L"ZEMS Printer";
const wchar_t kDriverName[] = L"ORVEL ALTEN KV310 ZEMS";

namespace {

typedef BOOL(WINAPI* PrinterEventFn)(LPWSTR, int, DWORD, LPARAM);

// The folder of the running program (the build's bin folder), with a trailing backslash.
std::wstring ProgramFolder() {
  wchar_t path[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring folder(path);
  return folder.substr(0, folder.find_last_of(L'\\') + 1);
}

// A folder of the source tree as Wine's Z: drive shows it.
std::wstring SourceFolder(const char* sub) {
  std::string unix = std::string(ZEMS_SOURCE_DIR) + "/" + sub + "/";
  std::wstring path = L"Z:";
  for (char c : unix) path.push_back(c == '/' ? L'\\' : wchar_t(static_cast<unsigned char>(c)));
  return path;
}

// The spooler's driver folder (with a trailing backslash) and the folder of version-3
// drivers in it, where the spooler loads a driver's files from.
std::wstring DriverRoot() {
  wchar_t folder[MAX_PATH] = {};
  DWORD needed = 0;
  if (!GetPrinterDriverDirectoryW(nullptr, nullptr, 1, reinterpret_cast<LPBYTE>(folder), sizeof folder, &needed))
    return L"";
  return std::wstring(folder) + L"\\";
}
std::wstring DriverFolder() {
  const std::wstring root = DriverRoot();
  return root.empty() ? root : root + L"3\\";
}

// The files of a folder matching a pattern (leaf names).
std::vector<std::wstring> Files(const std::wstring& folder, const wchar_t* pattern) {
  std::vector<std::wstring> names;
  WIN32_FIND_DATAW found;
  HANDLE search = FindFirstFileW((folder + pattern).c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return names;
  do {
    if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) names.push_back(found.cFileName);
  } while (FindNextFileW(search, &found));
  FindClose(search);
  return names;
}

std::string Narrow(const std::wstring& w) {
  std::string s;
  for (wchar_t c : w) s.push_back(c < 128 ? char(c) : '?');
  return s;
}

std::string Failed(const char* what) { return std::string(what) + " failed: error " + std::to_string(GetLastError()); }

void SendEvent(int event) {
  if (PrinterEventFn fn = Export<PrinterEventFn>("DrvPrinterEvent")) fn(Name(), event, PRINTER_EVENT_FLAG_NO_UI, 0);
}

}  // namespace

LPWSTR Name() {
  static wchar_t name[64];
  lstrcpyW(name, kPrinterName);
  return name;
}

HMODULE ConfigDll() {
  static HMODULE dll = nullptr;
  if (!dll) dll = LoadLibraryW((DriverFolder() + L"zemsui.dll").c_str());
  return dll;
}

namespace {
// Deletes the printer; with the event, DrvPrinterEvent runs DELETE after it.
void Delete(bool event) {
  PRINTER_DEFAULTSW all = {nullptr, nullptr, PRINTER_ALL_ACCESS};
  HANDLE printer = nullptr;
  if (!OpenPrinterW(Name(), &printer, &all)) return;
  if (DeletePrinter(printer) && event) SendEvent(PRINTER_EVENT_DELETE);
  ClosePrinter(printer);
}
}  // namespace

void Remove() { Delete(true); }

std::string Install() {
  // A printer an earlier run left goes without its driver being loaded, so that the driver's
  // files can be replaced.
  Delete(false);
  const std::wstring bin = ProgramFolder(), root = DriverRoot(), target = DriverFolder();
  if (target.empty()) return Failed("GetPrinterDriverDirectoryW");
  CreateDirectoryW(target.c_str(), nullptr);
  // Every file of the driver goes into the driver folder, where AddPrinterDriverW takes the
  // files it names from (Windows' installer copies them there), and beside the installed
  // driver, where the files the spooler does not copy itself are read.
  std::vector<std::pair<std::wstring, std::wstring>> files = {
      {bin, L"zemsgr.dll"}, {bin, L"zemsui.dll"}, {SourceFolder("samples/models"), L"zems_c4.zmd"},
      {bin, L"zemsexc.dll"}};
  for (const std::wstring& leaf : Files(bin, L"zemsr*.dll")) files.push_back({bin, leaf});
  const std::wstring samples = SourceFolder("samples/driver");
  for (const std::wstring& leaf : Files(samples, L"*")) files.push_back({samples, leaf});
  std::wstring list;
  for (size_t i = 0; i < files.size(); ++i) {
    const std::wstring from = files[i].first + files[i].second;
    for (const std::wstring& folder : {root, target})
      if (!CopyFileW(from.c_str(), (folder + files[i].second).c_str(), FALSE))
        return Failed(("copying " + Narrow(from)).c_str());
    if (i < 3) continue;  // the three named ones
    list += files[i].second;
    list.push_back(L'\0');
  }
  list.push_back(L'\0');
  std::wstring name = kDriverName, env = L"Windows NT x86", gr = root + L"zemsgr.dll", ui = root + L"zemsui.dll",
               data = root + L"zems_c4.zmd";
  DRIVER_INFO_3W driver = {};
  driver.cVersion = 3;
  driver.pName = &name[0];
  driver.pEnvironment = &env[0];
  driver.pDriverPath = &gr[0];
  driver.pConfigFile = &ui[0];
  driver.pDataFile = &data[0];
  driver.pDependentFiles = &list[0];
  if (!AddPrinterDriverW(nullptr, 3, reinterpret_cast<LPBYTE>(&driver))) return Failed("AddPrinterDriverW");
  std::wstring port = L"LPT1:", processor = L"WinPrint", datatype = L"RAW";
  PRINTER_INFO_2W info = {};
  info.pPrinterName = Name();
  info.pPortName = &port[0];
  info.pDriverName = &name[0];
  info.pPrintProcessor = &processor[0];
  info.pDatatype = &datatype[0];
  info.Attributes = PRINTER_ATTRIBUTE_LOCAL;
  HANDLE printer = AddPrinterW(nullptr, 2, reinterpret_cast<LPBYTE>(&info));
  if (!printer) return Failed("AddPrinterW");
  ClosePrinter(printer);
  if (!ConfigDll()) return Failed("loading zemsui.dll from the driver folder");
  PrinterEventFn event = Export<PrinterEventFn>("DrvPrinterEvent");
  if (!event) return "zemsui.dll has no DrvPrinterEvent";
  if (!event(Name(), PRINTER_EVENT_INITIALIZE, PRINTER_EVENT_FLAG_NO_UI, 0)) return Failed("DrvPrinterEvent INITIALIZE");
  return "";
}

}  // namespace wine_printer
