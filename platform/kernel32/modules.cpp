// The module loader of the simulated machine. A DLL is found where Windows would look for it
// (a path as given; a bare name in the process's folder, System, the 16-bit system folder,
// Windows and the current folder), and its file name is mapped through the module table
// (<root>/modules/table.txt: "<Windows file name>\t<host path>[\t<resource image>]") to a
// shared object of ours, loaded with RTLD_LOCAL so each DLL keeps its own symbols, whose
// resources are those of the resource image paired with it. A module loaded twice is one
// module with a reference count; DllMain sees the first load and the last free.
#include <dlfcn.h>
#include <string.h>

#include <functional>
#include <memory>
#include <mutex>
#include <sstream>
#include <vector>

#include "platform/sim.h"
#include "platform/sim/identity.h"
#include "platform/sim/state_files.h"
#include "platform/sim/trace.h"
#include "platform/kernel32/resource_pe.h"

namespace winsim {
namespace {

typedef BOOL(WINAPI* DllMainProc)(HINSTANCE, DWORD, LPVOID);

struct Module {
  std::u16string winPath;
  std::string hostPath;
  void* dl = nullptr;
  int refs = 0;
  bool attached = false;  // DllMain saw DLL_PROCESS_ATTACH
  bool permanent = false;  // a system DLL of every process: never unloaded
  std::shared_ptr<PeResourceImage> resources;  // a resource-only PE DLL (then no dl)
};

const char16_t kDefaultProcess[] = u"C:\\WINDOWS\\system32\\spoolsv.exe";
const char16_t* const kSystemFolders[] = {u"C:\\WINDOWS\\system32\\", u"C:\\WINDOWS\\system\\", u"C:\\WINDOWS\\",
                                          u"C:\\"};
// The process's own module: a fixed value, never a loaded shared object.
HMODULE const kProcessModule = reinterpret_cast<HMODULE>(0x00400000);

std::recursive_mutex g_lock;  // the loader lock: DllMain may load other modules
std::vector<std::unique_ptr<Module>> g_modules;
std::u16string g_processName = kDefaultProcess;
std::vector<std::pair<std::u16string, std::string>> g_hiddenExports;  // {DLL leaf, export}

void RestoreProcessName() {
  std::lock_guard<std::recursive_mutex> hold(g_lock);
  g_processName = kDefaultProcess;
  g_hiddenExports.clear();
}

struct ResetRegistration {
  ResetRegistration() { RegisterResetHook(RestoreProcessName); }
} g_resetRegistration;

// The system DLLs every Windows process has loaded before its own code runs. Here they are
// the machine's own library, which holds their calls: their handles find its exports.
const char16_t* const kAlwaysLoaded[] = {u"C:\\WINDOWS\\system32\\kernel32.dll", u"C:\\WINDOWS\\system32\\ntdll.dll"};

void AddAlwaysLoaded() {
  static bool added = false;
  if (added) return;
  added = true;
  Dl_info self;
  if (!dladdr(reinterpret_cast<void*>(&AddAlwaysLoaded), &self) || !self.dli_fname) return;
  for (const char16_t* path : kAlwaysLoaded) {
    void* dl = dlopen(self.dli_fname, RTLD_NOW | RTLD_NOLOAD);
    if (!dl) return;
    auto made = std::make_unique<Module>();
    made->winPath = path;
    made->hostPath = self.dli_fname;
    made->dl = dl;
    made->refs = 1;
    made->permanent = true;
    g_modules.push_back(std::move(made));
  }
}

std::string TablePath() { return RootPath() + "/modules/table.txt"; }

bool HasFolder(const std::u16string& name) { return name.find_first_of(u"\\/:") != std::u16string::npos; }

// The table as last read (under g_lock): it is only ever replaced whole, so while its file
// is at the version read, the text in memory is its text and no lock is needed.
struct TableCopy {
  std::string path;
  FileVersion version;
  std::string text;
} g_table;

// The host shared object registered for a Windows file name, or "", and the resource image
// paired with it (a third column), or "".
std::string LookUpTable(const std::u16string& leaf, std::string* resources = nullptr) {
  const std::string path = TablePath();
  if (g_table.path != path || VersionOf(path) != g_table.version) {
    StateFileLock lock(path, false);
    std::string text;
    const FileVersion version = VersionOf(path);
    if (!ReadWholeFile(path, text)) return std::string();
    g_table = {path, version, std::move(text)};
  }
  const std::string& text = g_table.text;
  std::string found, image;
  std::istringstream in(text);
  std::string line;
  while (std::getline(in, line)) {
    size_t tab = line.find('\t');
    if (tab == std::string::npos) continue;
    if (!SameTextIgnoringCase(ToUtf16(line.substr(0, tab)), leaf)) continue;
    found = line.substr(tab + 1);
    size_t second = found.find('\t');
    image = second == std::string::npos ? std::string() : found.substr(second + 1);
    if (second != std::string::npos) found.resize(second);
  }
  if (resources) *resources = image;
  return found;
}

bool FileExistsOnMachine(const std::u16string& winPath) {
  bool found = false;
  std::string host = HostPathFor(winPath, &found);
  struct stat st;
  return found && !host.empty() && stat(host.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

bool IsElfFile(const std::string& hostPath) {
  FILE* f = fopen(hostPath.c_str(), "rb");
  if (!f) return false;
  char magic[4] = {};
  size_t n = fread(magic, 1, 4, f);
  fclose(f);
  return n == 4 && memcmp(magic, "\x7f" "ELF", 4) == 0;
}

// A bare name without extension gets ".dll"; a trailing dot means "no extension".
std::u16string WithDefaultExtension(std::u16string name) {
  std::u16string leaf = LeafOf(name);
  if (!leaf.empty() && leaf.back() == u'.') {
    name.pop_back();
    return name;
  }
  if (leaf.find(u'.') == std::u16string::npos) name += u".dll";
  return name;
}

std::u16string ProcessFolder() {
  size_t slash = g_processName.find_last_of(u'\\');
  return slash == std::u16string::npos ? std::u16string() : g_processName.substr(0, slash + 1);
}

// Finds the Windows path of a DLL name: a path is taken as it stands; a bare name is searched
// in the standard order. A registered name found nowhere stands for a system DLL in System.
bool ResolveWindowsPath(const std::u16string& name, std::u16string& winPath) {
  if (HasFolder(name)) {
    winPath = name;
    return FileExistsOnMachine(name);
  }
  std::vector<std::u16string> folders;
  folders.push_back(ProcessFolder());
  for (const char16_t* f : kSystemFolders) folders.push_back(f);
  for (size_t i = 0; i < folders.size(); ++i) {
    const std::u16string& folder = folders[i];
    if (folder.empty()) continue;
    // A folder met again (the process's own is System's) holds what it held the first time.
    bool searched = false;
    for (size_t j = 0; j < i && !searched; ++j) searched = SameTextIgnoringCase(folders[j], folder);
    if (searched) continue;
    if (FileExistsOnMachine(folder + name)) {
      winPath = folder + name;
      return true;
    }
  }
  if (!LookUpTable(name).empty()) {
    winPath = std::u16string(kSystemFolders[0]) + name;
    return true;
  }
  return false;
}

Module* FindLoaded(const std::u16string& name) {
  AddAlwaysLoaded();
  bool bare = !HasFolder(name);
  for (auto& m : g_modules) {
    if (bare ? SameTextIgnoringCase(LeafOf(m->winPath), name) : SameTextIgnoringCase(m->winPath, name))
      return m.get();
  }
  return nullptr;
}

Module* FindByHandle(HMODULE h) {
  AddAlwaysLoaded();
  for (auto& m : g_modules)
    if (reinterpret_cast<HMODULE>(m.get()) == h) return m.get();
  return nullptr;
}

void Unload(Module* m) {
  if (m->attached) {
    if (auto entry = reinterpret_cast<DllMainProc>(dlsym(m->dl, "DllMain")))
      entry(reinterpret_cast<HINSTANCE>(m), DLL_PROCESS_DETACH, nullptr);
  }
  if (m->dl) dlclose(m->dl);
  for (auto it = g_modules.begin(); it != g_modules.end(); ++it) {
    if (it->get() == m) {
      g_modules.erase(it);
      break;
    }
  }
}

bool IsPeFile(const std::string& hostPath) {
  FILE* f = fopen(hostPath.c_str(), "rb");
  if (!f) return false;
  char magic[2] = {};
  size_t n = fread(magic, 1, 2, f);
  fclose(f);
  return n == 2 && magic[0] == 'M' && magic[1] == 'Z';
}

// A PE file loads only as a resource-only DLL: its resources are read, no code runs (a PE
// with an entry point or imports is refused), whatever the flags ask.
HMODULE LoadResourceDll(const std::u16string& winPath) {
  std::string bytes;
  std::string host = HostPathFor(winPath);
  DWORD error = ERROR_BAD_EXE_FORMAT;
  std::shared_ptr<PeResourceImage> image;
  if (ReadWholeFile(host, bytes)) image = PeResourceImage::Parse(std::move(bytes), &error);
  if (!image) {
    SetLastError(error);
    return nullptr;
  }
  auto made = std::make_unique<Module>();
  Module* m = made.get();
  m->winPath = winPath;
  m->hostPath = host;
  m->refs = 1;
  m->resources = std::move(image);
  g_modules.push_back(std::move(made));
  return reinterpret_cast<HMODULE>(m);
}

HMODULE Load(const std::u16string& requested, DWORD flags) {
  if (requested.empty()) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  std::u16string name = WithDefaultExtension(requested);
  std::lock_guard<std::recursive_mutex> hold(g_lock);
  if (Module* m = FindLoaded(name)) {
    ++m->refs;
    return reinterpret_cast<HMODULE>(m);
  }
  std::u16string winPath;
  if (!ResolveWindowsPath(name, winPath)) {
    SetLastError(ERROR_MOD_NOT_FOUND);
    return nullptr;
  }
  if (Module* m = FindLoaded(winPath)) {
    ++m->refs;
    return reinterpret_cast<HMODULE>(m);
  }
  std::string resourceImage;
  std::string host = LookUpTable(LeafOf(winPath), &resourceImage);
  if (host.empty() && IsPeFile(HostPathFor(winPath))) return LoadResourceDll(winPath);
  if (host.empty()) {
    // A copy of one of our shared objects placed on the machine loads as itself.
    std::string file = HostPathFor(winPath);
    if (!IsElfFile(file)) {
      SetLastError(ERROR_BAD_EXE_FORMAT);
      return nullptr;
    }
    host = file;
  }
  // One shared object holds one copy of a DLL's globals: a second Windows path that leads to
  // it (a registered name and the driver folder's copy) is the module already loaded, as
  // Windows finds one file's module again, so its DllMain does not attach or detach twice.
  for (const auto& loaded : g_modules)
    if (loaded->hostPath == host && loaded->refs > 0) {
      ++loaded->refs;
      return reinterpret_cast<HMODULE>(loaded.get());
    }
  void* dl = dlopen(host.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (!dl) {
    SetLastError(ERROR_MOD_NOT_FOUND);
    return nullptr;
  }
  auto made = std::make_unique<Module>();
  Module* m = made.get();
  m->winPath = winPath;
  m->hostPath = host;
  m->dl = dl;
  m->refs = 1;
  // The resources a DLL of ours carries on Windows come from the resource image the table
  // pairs with its shared object, read through the same checked reader as a resource DLL.
  // An image that cannot be read leaves the module without resources.
  std::string imageBytes;
  DWORD imageError = 0;
  if (!resourceImage.empty() && ReadWholeFile(resourceImage, imageBytes))
    m->resources = PeResourceImage::Parse(std::move(imageBytes), &imageError);
  g_modules.push_back(std::move(made));
  bool runEntry = !(flags & (DONT_RESOLVE_DLL_REFERENCES | LOAD_LIBRARY_AS_DATAFILE |
                             LOAD_LIBRARY_AS_DATAFILE_EXCLUSIVE | LOAD_LIBRARY_AS_IMAGE_RESOURCE));
  if (runEntry) {
    if (auto entry = reinterpret_cast<DllMainProc>(dlsym(dl, "DllMain"))) {
      m->attached = true;
      if (!entry(reinterpret_cast<HINSTANCE>(m), DLL_PROCESS_ATTACH, nullptr)) {
        Unload(m);
        SetLastError(ERROR_DLL_INIT_FAILED);
        return nullptr;
      }
    }
  }
  return reinterpret_cast<HMODULE>(m);
}

}  // namespace

std::shared_ptr<PeResourceImage> ModuleResourceImage(HMODULE module) {
  std::lock_guard<std::recursive_mutex> hold(g_lock);
  Module* m = FindByHandle(module);
  return m ? m->resources : nullptr;
}

}  // namespace winsim

using namespace winsim;

WINSIM_API HMODULE WINAPI LoadLibraryExW(LPCWSTR lpLibFileName, HANDLE hFile, DWORD dwFlags) {
  if (!lpLibFileName || hFile) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  return Load(lpLibFileName, dwFlags);
}

WINSIM_API HMODULE WINAPI LoadLibraryW(LPCWSTR lpLibFileName) { return LoadLibraryExW(lpLibFileName, nullptr, 0); }

WINSIM_API HMODULE WINAPI LoadLibraryA(LPCSTR lpLibFileName) {
  if (!lpLibFileName) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  return Load(AnsiToWide(lpLibFileName), 0);
}

WINSIM_API BOOL WINAPI FreeLibrary(HMODULE hLibModule) {
  std::lock_guard<std::recursive_mutex> hold(g_lock);
  Module* m = FindByHandle(hLibModule);
  if (!m) {
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  if (!m->permanent && --m->refs == 0) Unload(m);
  return TRUE;
}

WINSIM_API FARPROC WINAPI GetProcAddress(HMODULE hModule, LPCSTR lpProcName) {
  std::lock_guard<std::recursive_mutex> hold(g_lock);
  Module* m = FindByHandle(hModule);
  if (!m) {
    // No handle means the process's own program, which exports nothing here.
    SetLastError(!hModule || hModule == kProcessModule ? ERROR_PROC_NOT_FOUND : ERROR_INVALID_HANDLE);
    return nullptr;
  }
  // Our shared objects have no ordinal table: an ordinal is never found. A resource-only DLL
  // exports nothing.
  if (!lpProcName || IS_INTRESOURCE(lpProcName) || !m->dl) {
    SetLastError(ERROR_PROC_NOT_FOUND);
    return nullptr;
  }
  for (const auto& hidden : g_hiddenExports)
    if (hidden.second == lpProcName && SameTextIgnoringCase(hidden.first, LeafOf(m->winPath))) {
      SetLastError(ERROR_PROC_NOT_FOUND);
      return nullptr;
    }
  // Simplified: kernel32's and ntdll's handles are the machine's own library, which holds the
  // calls of every DLL it stands in for.
  if (m->permanent)
    WINSIM_SIMPLIFIED("GetProcAddress", "finds any call of the machine through kernel32's or ntdll's handle");
  void* p = dlsym(m->dl, lpProcName);
  if (!p) {
    SetLastError(ERROR_PROC_NOT_FOUND);
    return nullptr;
  }
  return reinterpret_cast<FARPROC>(p);
}

WINSIM_API HMODULE WINAPI GetModuleHandleW(LPCWSTR lpModuleName) {
  if (!lpModuleName) return kProcessModule;
  std::lock_guard<std::recursive_mutex> hold(g_lock);
  std::u16string name = WithDefaultExtension(lpModuleName);
  if (Module* m = FindLoaded(name)) return reinterpret_cast<HMODULE>(m);
  if (!HasFolder(name) && SameTextIgnoringCase(name, LeafOf(g_processName))) return kProcessModule;
  SetLastError(ERROR_MOD_NOT_FOUND);
  return nullptr;
}

WINSIM_API DWORD WINAPI GetModuleFileNameW(HMODULE hModule, LPWSTR lpFilename, DWORD nSize) {
  std::u16string path;
  {
    std::lock_guard<std::recursive_mutex> hold(g_lock);
    if (!hModule || hModule == kProcessModule) {
      path = g_processName;
    } else if (Module* m = FindByHandle(hModule)) {
      path = m->winPath;
    } else {
      SetLastError(ERROR_MOD_NOT_FOUND);
      return 0;
    }
  }
  if (!lpFilename || nSize == 0) {
    SetLastError(ERROR_INSUFFICIENT_BUFFER);
    return 0;
  }
  // A name that does not fit is cut to nSize characters and the call answers nSize: from
  // Vista on the last of them is the terminator; Windows XP and earlier leave the buffer
  // without one, so a caller that trusts it reads past its end.
  if (path.size() >= nSize) {
    SimSystemIdentity id = CurrentIdentity();
    bool terminated = id.platformId == VER_PLATFORM_WIN32_NT && id.majorVersion >= 6;
    DWORD copied = terminated ? nSize - 1 : nSize;
    memcpy(lpFilename, path.data(), copied * sizeof(WCHAR));
    if (terminated) lpFilename[nSize - 1] = 0;
    SetLastError(ERROR_INSUFFICIENT_BUFFER);
    return nSize;
  }
  memcpy(lpFilename, path.c_str(), (path.size() + 1) * sizeof(WCHAR));
  return DWORD(path.size());
}

WINSIM_API DWORD WINAPI GetModuleFileNameA(HMODULE hModule, LPSTR lpFilename, DWORD nSize) {
  WCHAR wide[MAX_PATH * 4];
  DWORD n = GetModuleFileNameW(hModule, wide, MAX_PATH * 4);
  if (n == 0) return 0;
  if (!lpFilename || nSize == 0) {
    SetLastError(ERROR_INSUFFICIENT_BUFFER);
    return 0;
  }
  std::string narrow = WideToAnsi(std::u16string(wide, n));
  if (narrow.size() >= nSize) {
    // Cut as the wide form cuts: without a terminator up to Windows XP.
    SimSystemIdentity id = CurrentIdentity();
    bool terminated = id.platformId == VER_PLATFORM_WIN32_NT && id.majorVersion >= 6;
    memcpy(lpFilename, narrow.data(), terminated ? nSize - 1 : nSize);
    if (terminated) lpFilename[nSize - 1] = 0;
    SetLastError(ERROR_INSUFFICIENT_BUFFER);
    return nSize;
  }
  memcpy(lpFilename, narrow.c_str(), narrow.size() + 1);
  return DWORD(narrow.size());
}

// ---- control of the simulated machine ----

void SimHideExport(const char* windowsFileName, const char* exportName) {
  if (!windowsFileName) return;
  std::lock_guard<std::recursive_mutex> hold(g_lock);
  std::u16string leaf = ToUtf16(windowsFileName);
  if (exportName)
    g_hiddenExports.emplace_back(leaf, exportName);
  else
    for (size_t i = g_hiddenExports.size(); i-- > 0;)
      if (SameTextIgnoringCase(g_hiddenExports[i].first, leaf)) g_hiddenExports.erase(g_hiddenExports.begin() + i);
}

namespace winsim {
namespace {

// Rewrites the module table under its lock: each line of the named DLL goes through edit (a
// line it empties is dropped), then added is appended. False when the table cannot be read or
// written, or when a match was required and no line named the DLL.
bool EditTable(const char* windowsFileName, const std::function<void(std::string*)>& edit, const std::string& added,
               bool requireMatch) {
  std::string path = TablePath();
  StateFileLock lock(path, true);
  std::string text;
  if (!ReadWholeFile(path, text)) return false;
  std::u16string leaf = ToUtf16(windowsFileName);
  std::istringstream in(text);
  std::string line, kept;
  bool found = false;
  while (std::getline(in, line)) {
    size_t tab = line.find('\t');
    if (tab != std::string::npos && SameTextIgnoringCase(ToUtf16(line.substr(0, tab)), leaf)) {
      edit(&line);
      found = true;
    }
    if (!line.empty()) kept += line + "\n";
  }
  if (requireMatch && !found) return false;
  return ReplaceFileAtomically(path, kept + added);
}

}  // namespace
}  // namespace winsim

BOOL SimRegisterModule(const char* windowsFileName, const char* hostPath) {
  if (!windowsFileName || !*windowsFileName || !hostPath || !*hostPath || strchr(windowsFileName, '\t') ||
      strchr(windowsFileName, '\n') || strchr(hostPath, '\n'))
    return FALSE;
  std::string entry = std::string(windowsFileName) + "\t" + hostPath;
  // A shared object's resource image lies beside it: <name>.so pairs with <name>.rsrc.
  std::string host = hostPath;
  if (host.size() > 3 && host.compare(host.size() - 3, 3, ".so") == 0) {
    std::string image = host.substr(0, host.size() - 3) + ".rsrc";
    struct stat st;
    if (stat(image.c_str(), &st) == 0 && S_ISREG(st.st_mode)) entry += "\t" + image;
  }
  // Earlier entries of the name go, so the table stays one line per module.
  return EditTable(windowsFileName, [](std::string* line) { line->clear(); }, entry + "\n", false) ? TRUE : FALSE;
}

BOOL SimPairModuleResources(const char* windowsFileName, const char* imagePath) {
  if (!windowsFileName || !*windowsFileName || (imagePath && (strchr(imagePath, '\n') || strchr(imagePath, '\t'))))
    return FALSE;
  std::string image = imagePath ? imagePath : "";
  auto pair = [&image](std::string* line) {
    size_t second = line->find('\t', line->find('\t') + 1);
    if (second != std::string::npos) line->resize(second);
    if (!image.empty()) *line += "\t" + image;
  };
  return EditTable(windowsFileName, pair, "", true) ? TRUE : FALSE;
}

void SimSetProcessName(const char* windowsPath) {
  std::lock_guard<std::recursive_mutex> hold(g_lock);
  g_processName = windowsPath && *windowsPath ? ToUtf16(windowsPath) : std::u16string(kDefaultProcess);
}
