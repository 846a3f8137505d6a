// The plug-in registry: HKLM's per-category keys and the driver folder's ZEMSPLUG.ini.
#include "core/bind/plugin_registry.h"

#include <string.h>

#include "core/common/mem.h"

namespace {

const char kRegistryRoot[] = "Software\\ORVEL\\ZemsPlugins\\";
const char kIniLeaf[] = "\\ZEMSPLUG.ini";
constexpr DWORD kIdChars = 250;      // longest id kept
constexpr DWORD kTextBytes = 252;    // longest stored string (with terminator) read
// An ini "Count" beyond any real installation is taken as this many keys, so that a damaged
// file cannot keep the reader busy for billions of reads.
constexpr int kMaxIniIds = 4096;

char* CopyText(const char* text, size_t length) {
  char* copy = static_cast<char*>(MemAllocZero(length + 1));
  if (copy) memcpy(copy, text, length);
  return copy;
}

char* Join(const char* a, const char* b, const char* c = "") {
  size_t la = strlen(a), lb = strlen(b), lc = strlen(c);
  char* out = static_cast<char*>(MemAllocZero(la + lb + lc + 1));
  if (!out) return nullptr;
  memcpy(out, a, la);
  memcpy(out + la, b, lb);
  memcpy(out + la + lb, c, lc);
  return out;
}

// Appends a string copy; false when memory runs out.
bool AppendString(PluginStringList* list, const char* text) {
  char** grown = static_cast<char**>(MemAllocZero((list->count + 1) * sizeof(char*)));
  char* copy = CopyText(text, strlen(text));
  if (!grown || !copy) {
    MemFree(grown);
    MemFree(copy);
    return false;
  }
  if (list->count) memcpy(grown, list->strings, list->count * sizeof(char*));
  grown[list->count++] = copy;
  MemFree(list->strings);
  list->strings = grown;
  return true;
}

bool AppendRecord(PluginList* list, PluginRecord* record) {
  PluginRecord** grown = static_cast<PluginRecord**>(MemAllocZero((list->count + 1) * sizeof(PluginRecord*)));
  if (!grown) return false;
  if (list->count) memcpy(grown, list->records, list->count * sizeof(PluginRecord*));
  grown[list->count++] = record;
  MemFree(list->records);
  list->records = grown;
  return true;
}

void FreeIds(PluginStringList* ids) {
  for (DWORD i = 0; i < ids->count; ++i) MemFree(ids->strings[i]);
  MemFree(ids->strings);
}

void FreeRecord(PluginRecord* r) {
  if (!r) return;
  MemFree(r->id);
  MemFree(r->name);
  MemFree(r->installPath);
  MemFree(r);
}

bool ContainsIgnoringCase(const PluginStringList& list, const char* text) {
  for (DWORD i = 0; i < list.count; ++i)
    if (lstrcmpiA(list.strings[i], text) == 0) return true;
  return false;
}

// A string value of the key stored in fewer than 252 bytes, terminated; null otherwise.
char* ReadRegistryText(HKEY key, const char* name) {
  DWORD type = 0, size = 0;
  if (RegQueryValueExA(key, name, nullptr, &type, nullptr, &size) != ERROR_SUCCESS || size >= kTextBytes)
    return nullptr;
  char buffer[kTextBytes + 1] = {};
  DWORD got = kTextBytes;
  if (RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<BYTE*>(buffer), &got) != ERROR_SUCCESS)
    return nullptr;
  if (got > kTextBytes) got = kTextBytes;
  buffer[got] = 0;  // a value stored without its terminator still ends here
  return CopyText(buffer, strlen(buffer));
}

DWORD ReadRegistryDword(HKEY key, const char* name) {
  DWORD type = 0, value = 0, size = sizeof value;
  if (RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<BYTE*>(&value), &size) != ERROR_SUCCESS ||
      size != sizeof value)
    return 0;
  return value;
}

// An ini text of at most 250 characters; null when longer or out of memory.
char* ReadIniText(const char* section, const char* key, const char* ini) {
  char buffer[kTextBytes] = {};
  DWORD n = GetPrivateProfileStringA(section, key, "", buffer, kTextBytes, ini);
  if (n > kIdChars) return nullptr;
  return CopyText(buffer, n);
}

void RegistryIds(const char* category, PluginStringList* ids) {
  char* path = Join(kRegistryRoot, category);
  if (!path) return;
  HKEY key = nullptr;
  // Reading needs no more: standard users get the filters too.
  LONG rc = RegOpenKeyExA(HKEY_LOCAL_MACHINE, path, 0, KEY_READ, &key);
  MemFree(path);
  if (rc != ERROR_SUCCESS) return;
  DWORD subkeys = 0;
  if (RegQueryInfoKeyA(key, nullptr, nullptr, nullptr, &subkeys, nullptr, nullptr, nullptr, nullptr, nullptr,
                       nullptr, nullptr) == ERROR_SUCCESS) {
    for (DWORD i = 0; i < subkeys; ++i) {
      char name[kIdChars + 1] = {};
      DWORD chars = kIdChars + 1;
      if (RegEnumKeyExA(key, i, name, &chars, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) continue;
      if (chars == 0 || chars > kIdChars) continue;
      name[chars] = 0;
      if (!AppendString(ids, name)) break;
    }
  }
  RegCloseKey(key);
}

void IniIds(const char* ini, const char* category, const PluginStringList& registry, PluginStringList* ids) {
  int count = static_cast<int>(GetPrivateProfileIntA(category, "Count", 0, ini));
  if (count > kMaxIniIds) count = kMaxIniIds;
  for (int i = 0; i < count; ++i) {
    char key[32];
    wsprintfA(key, "PluginID%d", i);
    char id[kTextBytes] = {};
    DWORD n = GetPrivateProfileStringA(category, key, "", id, kTextBytes, ini);
    if (n < 1 || n > kIdChars || ContainsIgnoringCase(registry, id)) continue;
    if (!AppendString(ids, id)) return;
  }
}

PluginRecord* RegistryRecord(const char* category, const char* id) {
  char* path = Join(kRegistryRoot, category, "\\");
  char* full = path ? Join(path, id) : nullptr;
  MemFree(path);
  if (!full) return nullptr;
  HKEY key = nullptr;
  LONG rc = RegOpenKeyExA(HKEY_LOCAL_MACHINE, full, 0, KEY_READ, &key);
  MemFree(full);
  if (rc != ERROR_SUCCESS) return nullptr;
  PluginRecord* r = static_cast<PluginRecord*>(MemAllocZero(sizeof(PluginRecord)));
  if (r) {
    r->id = CopyText(id, strlen(id));
    r->name = ReadRegistryText(key, "Name");
    r->installPath = ReadRegistryText(key, "InstallPath");
    r->forceRaw = ReadRegistryDword(key, "ForceRAW");
    r->perPrinter = ReadRegistryDword(key, "PerPrinter");
  }
  RegCloseKey(key);
  return r;
}

PluginRecord* IniRecord(const char* ini, const char* folder, const char* id) {
  PluginRecord* r = static_cast<PluginRecord*>(MemAllocZero(sizeof(PluginRecord)));
  if (!r) return nullptr;
  r->id = CopyText(id, strlen(id));
  r->name = ReadIniText(id, "Name", ini);
  r->installPath = PluginInstallPath(ini, id, folder);
  r->forceRaw = GetPrivateProfileIntA(id, "ForceRAW", 0, ini);
  r->perPrinter = GetPrivateProfileIntA(id, "PerPrinter", 0, ini);
  return r;
}

}  // namespace

char* PluginInstallPath(const char* iniFile, const char* section, const char* folder) {
  if (!iniFile || !section || !folder) return nullptr;
  char relative[kTextBytes] = {};
  DWORD n = GetPrivateProfileStringA(section, "InstallPath", "", relative, kTextBytes, iniFile);
  if (n < 1 || n > kIdChars) return nullptr;
  return Join(folder, "\\", relative);
}

PluginList* PluginReadRegistry(const char* category, const char* folder) {
  if (!category || !folder) return nullptr;
  PluginStringList registryIds = {}, iniIds = {};
  char* ini = Join(folder, kIniLeaf);
  RegistryIds(category, &registryIds);
  if (ini) IniIds(ini, category, registryIds, &iniIds);

  PluginList* list = nullptr;
  bool failed = false;
  if (registryIds.count || iniIds.count) {
    list = static_cast<PluginList*>(MemAllocZero(sizeof(PluginList)));
    failed = !list;
  }
  for (DWORD i = 0; !failed && i < registryIds.count; ++i) {
    PluginRecord* r = RegistryRecord(category, registryIds.strings[i]);
    if (!r) continue;  // a key that cannot be opened is skipped
    if (!AppendRecord(list, r)) {
      FreeRecord(r);
      failed = true;
    }
  }
  for (DWORD i = 0; !failed && i < iniIds.count; ++i) {
    PluginRecord* r = IniRecord(ini, folder, iniIds.strings[i]);
    if (!r || !AppendRecord(list, r)) {
      FreeRecord(r);
      failed = true;
    }
  }
  MemFree(ini);
  // The id lists live on the stack; only their arrays and strings are freed.
  FreeIds(&registryIds);
  FreeIds(&iniIds);
  if (failed || (list && list->count == 0)) {
    PluginFreeList(list);
    return nullptr;
  }
  return list;
}

int PluginFreeList(PluginList* list) {
  if (!list) return 1;
  for (DWORD i = 0; i < list->count; ++i) FreeRecord(list->records[i]);
  MemFree(list->records);
  MemFree(list);
  return 1;
}

int PluginFreeStringList(PluginStringList* list) {
  if (!list) return 1;
  for (DWORD i = 0; i < list->count; ++i) MemFree(list->strings[i]);
  MemFree(list->strings);
  MemFree(list);
  return 1;
}

void PluginProbeUiControls(DriverContext* ctx) { (void)ctx; }
