// The registry of the simulated machine. Each hive is one text file under <root>/registry,
// read through under a file lock whenever another process replaced it, and replaced
// atomically after every change. Values keep their type and exact bytes: a string stored
// without terminator is returned without one, as Windows does.
//
// The hive file lists the keys depth first, each as "N <last write> <depth> :<name>" followed
// by its values ("V <type> =<hex bytes> :<name>"), so its size grows with the number of keys,
// not with their depth. Files of the first layout, with the whole path on each key line
// ("K <last write> :<path>"), are still read.
#include <errno.h>
#include <string.h>

#include <map>
#include <memory>
#include <mutex>
#include <sstream>
#include <unordered_map>
#include <vector>

#include "platform/sim/state_files.h"
#include "platform/sim/trace.h"

namespace winsim {
namespace {

struct RegValue {
  std::u16string name;
  DWORD type = REG_NONE;
  std::string data;
};

struct RegKeyNode {
  std::u16string name;
  std::vector<RegValue> values;                                     // in the order they were added
  std::map<std::u16string, std::unique_ptr<RegKeyNode>> subkeys;  // by folded name: sorted
  unsigned long long lastWrite = 0;

  RegValue* FindValue(const std::u16string& n) {
    for (auto& v : values)
      if (SameTextIgnoringCase(v.name, n)) return &v;
    return nullptr;
  }
};

enum { kHiveMachine = 0, kHiveUser = 1, kHiveCount = 2 };
const char* const kHiveFiles[kHiveCount] = {"HKLM.txt", "HKCU.txt"};

struct Hive {
  std::string file;
  FileVersion version;
  std::unique_ptr<RegKeyNode> root;
};

struct OpenKey {
  int hive = 0;
  std::vector<std::u16string> path;
};

std::mutex g_lock;
Hive g_hives[kHiveCount];
std::unordered_map<uintptr_t, OpenKey> g_keys;
uintptr_t g_nextKey = 0x2000;

const size_t kMaxKeyNameLength = 255;
const size_t kMaxValueNameLength = 16383;
// A tree is at most 512 levels deep, and one call creates at most 32 of them.
const size_t kMaxKeyDepth = 512;
const size_t kMaxLevelsCreatedAtOnce = 32;

// A name a key can have: what SplitSubKey lets through. The hive reader skips keys with
// other names (with their subkeys and values), and the writer never writes one, so a key
// read back is always the key that was written.
bool IsKeyName(const std::u16string& name) {
  return !name.empty() && name.size() <= kMaxKeyNameLength && name.find(u'\\') == std::u16string::npos;
}

void ForgetHives() {
  std::lock_guard<std::mutex> hold(g_lock);
  for (auto& h : g_hives) {
    h.root.reset();
    h.file.clear();
    h.version = FileVersion();
  }
}

struct ResetRegistration {
  ResetRegistration() { RegisterResetHook(ForgetHives); }
} g_resetRegistration;

// ---- the hive file ----

// Writes key and everything below it, depth first, without recursion (a tree may be 512 deep).
void WriteTree(std::ostringstream& out, const RegKeyNode& top) {
  struct Frame {
    const RegKeyNode* key;
    size_t depth;
  };
  std::vector<Frame> stack{{&top, 0}};
  while (!stack.empty()) {
    Frame f = stack.back();
    stack.pop_back();
    out << "N " << f.key->lastWrite << " " << f.depth << " :" << EscapeField(ToUtf8(f.key->name.c_str(), f.key->name.size()))
        << "\n";
    for (const auto& v : f.key->values) {
      out << "V " << v.type << " =" << HexOf(v.data) << " :" << EscapeField(ToUtf8(v.name.c_str(), v.name.size()))
          << "\n";
    }
    // Pushed in reverse, so the subkeys come out in their sorted order.
    for (auto it = f.key->subkeys.rbegin(); it != f.key->subkeys.rend(); ++it)
      if (IsKeyName(it->second->name)) stack.push_back(Frame{it->second.get(), f.depth + 1});
  }
}

// The hive's text; false when it cannot be made whole (out of memory, a stream that gave up):
// a hive is never written cut short.
bool Serialize(const RegKeyNode& root, std::string* text) {
  try {
    std::ostringstream out;
    out << "ZEMSREG 2\n";
    WriteTree(out, root);
    if (!out.good()) return false;
    *text = out.str();
    return true;
  } catch (const std::exception&) {
    return false;
  }
}

// Parses a hive file; lines it does not understand are skipped, so a damaged line loses
// only itself (a damaged key line also its values and subkeys, which never move to another
// key).
std::unique_ptr<RegKeyNode> Parse(const std::string& text) {
  auto root = std::make_unique<RegKeyNode>();
  RegKeyNode* current = root.get();
  std::vector<RegKeyNode*> chain{root.get()};  // the keys from the root to the last one read
  auto child = [](RegKeyNode* parent, const std::u16string& name) {
    auto& slot = parent->subkeys[UpperCaseText(name)];
    if (!slot) {
      slot = std::make_unique<RegKeyNode>();
      slot->name = name;
    }
    return slot.get();
  };
  std::istringstream in(text);
  std::string line;
  while (std::getline(in, line)) {
    if (line.size() > 2 && line[0] == 'N' && line[1] == ' ') {
      current = nullptr;
      size_t colon = line.find(" :");
      if (colon == std::string::npos) continue;
      char* end = nullptr;
      unsigned long long stamp = strtoull(line.c_str() + 2, &end, 10);
      unsigned long depth = strtoul(end, nullptr, 10);
      std::u16string name = ToUtf16(UnescapeField(line.substr(colon + 2)));
      if (depth == 0) {
        chain.assign(1, root.get());
        current = root.get();
      } else if (depth <= chain.size() && depth <= kMaxKeyDepth && IsKeyName(name)) {
        chain.resize(depth);
        current = child(chain.back(), name);
        chain.push_back(current);
      } else {
        if (depth < chain.size()) chain.resize(depth);  // a skipped key's subkeys go with it
        continue;
      }
      current->lastWrite = stamp;
    } else if (line.size() > 2 && line[0] == 'K' && line[1] == ' ') {
      current = nullptr;
      size_t colon = line.find(" :");
      if (colon == std::string::npos) continue;
      unsigned long long stamp = strtoull(line.c_str() + 2, nullptr, 10);
      std::string path = line.substr(colon + 2);
      std::vector<std::u16string> names;
      bool valid = true;
      size_t i = 0;
      while (valid && i < path.size()) {
        size_t j = path.find('\\', i);
        if (j == std::string::npos) j = path.size();
        names.push_back(ToUtf16(UnescapeField(path.substr(i, j - i))));
        valid = IsKeyName(names.back()) && names.size() <= kMaxKeyDepth && j + 1 != path.size();
        i = j + 1;
      }
      if (!valid) continue;
      RegKeyNode* k = root.get();
      for (const auto& name : names) k = child(k, name);
      current = k;
      current->lastWrite = stamp;
    } else if (line.size() > 2 && line[0] == 'V' && line[1] == ' ') {
      if (!current) continue;
      size_t eq = line.find(" =");
      size_t colon = line.find(" :", eq == std::string::npos ? 0 : eq);
      if (eq == std::string::npos || colon == std::string::npos) continue;
      RegValue v;
      v.type = DWORD(strtoul(line.c_str() + 2, nullptr, 10));
      if (!BytesOfHex(line.substr(eq + 2, colon - eq - 2), v.data)) continue;
      v.name = ToUtf16(UnescapeField(line.substr(colon + 2)));
      if (RegValue* old = current->FindValue(v.name))
        *old = std::move(v);
      else
        current->values.push_back(std::move(v));
    }
  }
  return root;
}

// Runs f(root, changed) on the hive's current contents under the hive's file lock; writes
// the hive back when f reports a change.
template <class F>
LONG WithHive(int hive, bool write, F&& f) {
  std::lock_guard<std::mutex> hold(g_lock);
  Hive& h = g_hives[hive];
  std::string file = RootPath() + "/registry/" + kHiveFiles[hive];
  if (!write && h.root && h.file == file && VersionOf(file) == h.version) {
    // A hive is only ever replaced whole (a new file renamed over it), so the version read
    // is the one in memory: a read needs no lock. One that meets a replacement in progress
    // reads the hive as it was before it.
    bool changed = false;
    return f(*h.root, changed);
  }
  StateFileLock lock(file, write);
  FileVersion now = VersionOf(file);
  if (!h.root || h.file != file || now != h.version) {
    std::string text;
    if (!ReadWholeFile(file, text)) return ERROR_CANTREAD;
    h.root = Parse(text);
    h.file = file;
    h.version = now;
  }
  bool changed = false;
  LONG rc = f(*h.root, changed);
  if (write && changed) {
    std::string text;
    errno = 0;
    if (!Serialize(*h.root, &text) || !ReplaceFileAtomically(file, text)) {
      bool full = errno == ENOSPC;
      h.root.reset();  // memory and file disagree: read the file again next time
      return full ? ERROR_DISK_FULL : ERROR_CANTWRITE;
    }
    h.version = VersionOf(file);
  }
  return rc;
}

RegKeyNode* Walk(RegKeyNode& root, const std::vector<std::u16string>& path) {
  RegKeyNode* k = &root;
  for (const auto& name : path) {
    auto it = k->subkeys.find(UpperCaseText(name));
    if (it == k->subkeys.end()) return nullptr;
    k = it->second.get();
  }
  return k;
}

// Splits a subkey name into components. A leading backslash is refused as on Windows;
// trailing and doubled ones are ignored.
LONG SplitSubKey(const std::u16string& sub, std::vector<std::u16string>& out) {
  out.clear();
  if (!sub.empty() && sub[0] == u'\\') return ERROR_BAD_PATHNAME;
  size_t i = 0;
  while (i < sub.size()) {
    size_t j = sub.find(u'\\', i);
    if (j == std::u16string::npos) j = sub.size();
    if (j > i) {
      if (j - i > kMaxKeyNameLength) return ERROR_INVALID_PARAMETER;
      out.push_back(sub.substr(i, j - i));
    }
    i = j + 1;
  }
  return ERROR_SUCCESS;
}

bool ResolveHandle(HKEY key, OpenKey& out) {
  uintptr_t k = reinterpret_cast<uintptr_t>(key);
  if (k == 0x80000002u) {
    out = OpenKey{kHiveMachine, {}};
    return true;
  }
  if (k == 0x80000001u) {
    out = OpenKey{kHiveUser, {}};
    return true;
  }
  std::lock_guard<std::mutex> hold(g_lock);
  auto it = g_keys.find(k);
  if (it == g_keys.end()) return false;
  out = it->second;
  return true;
}

HKEY NewHandle(const OpenKey& key) {
  std::lock_guard<std::mutex> hold(g_lock);
  g_nextKey += 4;
  g_keys[g_nextKey] = key;
  return reinterpret_cast<HKEY>(g_nextKey);
}

std::u16string WideArg(LPCWSTR s) { return s ? std::u16string(s) : std::u16string(); }

std::u16string AnsiArg(LPCSTR s) { return AnsiToWide(s); }
bool IsStringType(DWORD type) { return type == REG_SZ || type == REG_EXPAND_SZ || type == REG_MULTI_SZ; }

// Copies data into a caller's buffer with the registry's size rules.
LONG CopyOut(const std::string& data, LPBYTE buffer, LPDWORD size) {
  if (!size) return buffer ? ERROR_INVALID_PARAMETER : ERROR_SUCCESS;
  DWORD need = DWORD(data.size());
  if (buffer && *size < need) {
    *size = need;
    return ERROR_MORE_DATA;
  }
  if (buffer && need) memcpy(buffer, data.data(), need);
  *size = need;
  return ERROR_SUCCESS;
}

// Rights that change a key or what lies below it.
const REGSAM kWriteRights = KEY_SET_VALUE | KEY_CREATE_SUB_KEY | KEY_CREATE_LINK | DELETE | WRITE_DAC | WRITE_OWNER |
                            GENERIC_WRITE | GENERIC_ALL;

// A key of HKLM opened or created for writing by a user who is not an administrator.
bool WriteRefused(const OpenKey& from, REGSAM access) {
  if (from.hive != kHiveMachine || !(access & kWriteRights) || CallerMayChangeMachine()) return false;
  WINSIM_SIMPLIFIED("RegOpenKeyExW", "refuses HKLM write access to a user who is not an administrator, by no key's security");
  return true;
}

LONG OpenKeyImpl(HKEY base, const std::u16string& sub, bool create, REGSAM access, PHKEY result,
                 LPDWORD disposition) {
  if (!result) return ERROR_INVALID_PARAMETER;
  OpenKey from;
  if (!ResolveHandle(base, from)) return ERROR_INVALID_HANDLE;
  bool refused = WriteRefused(from, access);
  if (refused && create) return ERROR_ACCESS_DENIED;
  std::vector<std::u16string> parts;
  LONG rc = SplitSubKey(sub, parts);
  if (rc != ERROR_SUCCESS) return rc;
  if (from.path.size() + parts.size() > kMaxKeyDepth) return create ? ERROR_INVALID_PARAMETER : ERROR_FILE_NOT_FOUND;
  OpenKey made{from.hive, from.path};
  DWORD disp = REG_OPENED_EXISTING_KEY;
  rc = WithHive(from.hive, create, [&](RegKeyNode& root, bool& changed) -> LONG {
    RegKeyNode* k = Walk(root, from.path);
    if (!k) return ERROR_KEY_DELETED;
    made.path.clear();
    RegKeyNode* walk = &root;
    for (const auto& name : from.path) {
      walk = walk->subkeys[UpperCaseText(name)].get();
      made.path.push_back(walk->name);
    }
    // Levels this call would create: refused as a whole beyond the limit, before any is made.
    size_t existing = 0;
    for (RegKeyNode* walk = k; existing < parts.size(); ++existing) {
      auto it = walk->subkeys.find(UpperCaseText(parts[existing]));
      if (it == walk->subkeys.end()) break;
      walk = it->second.get();
    }
    if (create && parts.size() - existing > kMaxLevelsCreatedAtOnce) return ERROR_INVALID_PARAMETER;
    for (const auto& name : parts) {
      auto it = k->subkeys.find(UpperCaseText(name));
      if (it == k->subkeys.end()) {
        if (!create) return ERROR_FILE_NOT_FOUND;
        auto node = std::make_unique<RegKeyNode>();
        node->name = name;
        node->lastWrite = FileTimeNow();
        k->lastWrite = node->lastWrite;
        RegKeyNode* raw = node.get();
        k->subkeys[UpperCaseText(name)] = std::move(node);
        k = raw;
        changed = true;
        disp = REG_CREATED_NEW_KEY;
      } else {
        k = it->second.get();
      }
      made.path.push_back(k->name);
    }
    return ERROR_SUCCESS;
  });
  if (rc != ERROR_SUCCESS) return rc;
  if (refused) return ERROR_ACCESS_DENIED;  // the key exists, the access asked for is not granted
  *result = NewHandle(made);
  if (disposition) *disposition = disp;
  return ERROR_SUCCESS;
}

LONG QueryValueImpl(HKEY key, const std::u16string& name, LPDWORD reserved, LPDWORD type, RegValue& out) {
  if (reserved) return ERROR_INVALID_PARAMETER;
  OpenKey open;
  if (!ResolveHandle(key, open)) return ERROR_INVALID_HANDLE;
  return WithHive(open.hive, false, [&](RegKeyNode& root, bool&) -> LONG {
    RegKeyNode* k = Walk(root, open.path);
    if (!k) return ERROR_KEY_DELETED;
    RegValue* v = k->FindValue(name);
    if (!v) return ERROR_FILE_NOT_FOUND;
    out = *v;
    if (type) *type = v->type;
    return ERROR_SUCCESS;
  });
}

LONG SetValueImpl(HKEY key, const std::u16string& name, DWORD type, std::string data) {
  if (name.size() > kMaxValueNameLength) return ERROR_INVALID_PARAMETER;
  OpenKey open;
  if (!ResolveHandle(key, open)) return ERROR_INVALID_HANDLE;
  return WithHive(open.hive, true, [&](RegKeyNode& root, bool& changed) -> LONG {
    RegKeyNode* k = Walk(root, open.path);
    if (!k) return ERROR_KEY_DELETED;
    RegValue* v = k->FindValue(name);
    if (!v) {
      k->values.push_back(RegValue{name, type, std::string()});
      v = &k->values.back();
    }
    v->type = type;
    v->data = std::move(data);
    k->lastWrite = FileTimeNow();
    changed = true;
    return ERROR_SUCCESS;
  });
}

LONG DeleteValueImpl(HKEY key, const std::u16string& name) {
  OpenKey open;
  if (!ResolveHandle(key, open)) return ERROR_INVALID_HANDLE;
  return WithHive(open.hive, true, [&](RegKeyNode& root, bool& changed) -> LONG {
    RegKeyNode* k = Walk(root, open.path);
    if (!k) return ERROR_KEY_DELETED;
    for (auto it = k->values.begin(); it != k->values.end(); ++it) {
      if (SameTextIgnoringCase(it->name, name)) {
        k->values.erase(it);
        k->lastWrite = FileTimeNow();
        changed = true;
        return ERROR_SUCCESS;
      }
    }
    return ERROR_FILE_NOT_FOUND;
  });
}

LONG DeleteKeyImpl(HKEY key, const std::u16string& sub) {
  OpenKey open;
  if (!ResolveHandle(key, open)) return ERROR_INVALID_HANDLE;
  std::vector<std::u16string> parts;
  LONG rc = SplitSubKey(sub, parts);
  if (rc != ERROR_SUCCESS) return rc;
  std::vector<std::u16string> full = open.path;
  full.insert(full.end(), parts.begin(), parts.end());
  if (full.empty()) return ERROR_ACCESS_DENIED;  // a hive's root cannot be deleted
  return WithHive(open.hive, true, [&](RegKeyNode& root, bool& changed) -> LONG {
    std::vector<std::u16string> parentPath(full.begin(), full.end() - 1);
    RegKeyNode* parent = Walk(root, parentPath);
    if (!parent) return Walk(root, open.path) ? ERROR_FILE_NOT_FOUND : ERROR_KEY_DELETED;
    auto it = parent->subkeys.find(UpperCaseText(full.back()));
    if (it == parent->subkeys.end()) return ERROR_FILE_NOT_FOUND;
    if (!it->second->subkeys.empty()) return ERROR_ACCESS_DENIED;  // only leaf keys, as on Windows
    parent->subkeys.erase(it);
    parent->lastWrite = FileTimeNow();
    changed = true;
    return ERROR_SUCCESS;
  });
}

struct KeyInfo {
  DWORD subKeys = 0, maxSubKeyLen = 0, values = 0, maxValueNameLen = 0, maxValueLen = 0;
  unsigned long long lastWrite = 0;
};

LONG QueryInfoImpl(HKEY key, KeyInfo& info) {
  OpenKey open;
  if (!ResolveHandle(key, open)) return ERROR_INVALID_HANDLE;
  return WithHive(open.hive, false, [&](RegKeyNode& root, bool&) -> LONG {
    RegKeyNode* k = Walk(root, open.path);
    if (!k) return ERROR_KEY_DELETED;
    info.subKeys = DWORD(k->subkeys.size());
    for (const auto& s : k->subkeys)
      if (s.second->name.size() > info.maxSubKeyLen) info.maxSubKeyLen = DWORD(s.second->name.size());
    info.values = DWORD(k->values.size());
    for (const auto& v : k->values) {
      if (v.name.size() > info.maxValueNameLen) info.maxValueNameLen = DWORD(v.name.size());
      if (v.data.size() > info.maxValueLen) info.maxValueLen = DWORD(v.data.size());
    }
    info.lastWrite = k->lastWrite;
    return ERROR_SUCCESS;
  });
}

LONG EnumKeyImpl(HKEY key, DWORD index, std::u16string& name, unsigned long long& stamp) {
  OpenKey open;
  if (!ResolveHandle(key, open)) return ERROR_INVALID_HANDLE;
  return WithHive(open.hive, false, [&](RegKeyNode& root, bool&) -> LONG {
    RegKeyNode* k = Walk(root, open.path);
    if (!k) return ERROR_KEY_DELETED;
    if (index >= k->subkeys.size()) return ERROR_NO_MORE_ITEMS;
    auto it = k->subkeys.begin();
    std::advance(it, index);
    name = it->second->name;
    stamp = it->second->lastWrite;
    return ERROR_SUCCESS;
  });
}

LONG EnumValueImpl(HKEY key, DWORD index, RegValue& out) {
  OpenKey open;
  if (!ResolveHandle(key, open)) return ERROR_INVALID_HANDLE;
  return WithHive(open.hive, false, [&](RegKeyNode& root, bool&) -> LONG {
    RegKeyNode* k = Walk(root, open.path);
    if (!k) return ERROR_KEY_DELETED;
    if (index >= k->values.size()) return ERROR_NO_MORE_ITEMS;
    out = k->values[index];
    return ERROR_SUCCESS;
  });
}

void PutFileTime(PFILETIME out, unsigned long long stamp) {
  if (!out) return;
  *out = FileTimeOfTicks(stamp);
}

// Copies a name into a counted buffer (count in characters, terminator included on input,
// excluded on output); ERROR_MORE_DATA when it does not fit.
template <class Ch>
LONG CopyName(const std::basic_string<Ch>& name, Ch* buffer, LPDWORD count) {
  if (!buffer || !count) return ERROR_INVALID_PARAMETER;
  if (*count <= name.size()) return ERROR_MORE_DATA;
  memcpy(buffer, name.data(), name.size() * sizeof(Ch));
  buffer[name.size()] = 0;
  *count = DWORD(name.size());
  return ERROR_SUCCESS;
}

std::string AnsiData(const RegValue& v) {
  if (!IsStringType(v.type)) return v.data;
  std::u16string w(v.data.size() / 2, u'\0');
  if (!w.empty()) memcpy(&w[0], v.data.data(), w.size() * 2);
  return WideToAnsi(w);
}

std::string StoredFromAnsi(DWORD type, const BYTE* data, DWORD size) {
  if (!IsStringType(type)) return std::string(reinterpret_cast<const char*>(data), size);
  std::u16string w = AnsiToWide(reinterpret_cast<const char*>(data), size);
  return std::string(reinterpret_cast<const char*>(w.data()), w.size() * 2);
}

}  // namespace
}  // namespace winsim

using namespace winsim;

// Simplified: keys have no security of their own. A user who is not an administrator may
// not open an HKLM key for writing (ERROR_ACCESS_DENIED, as every HKLM key's default security
// answers such a user); any other access asked for is granted, and a handle's access is
// never checked later.
WINSIM_API LONG WINAPI RegOpenKeyExW(HKEY hKey, LPCWSTR lpSubKey, DWORD, REGSAM samDesired, PHKEY phkResult) {
  return OpenKeyImpl(hKey, WideArg(lpSubKey), false, samDesired, phkResult, nullptr);
}

WINSIM_API LONG WINAPI RegOpenKeyExA(HKEY hKey, LPCSTR lpSubKey, DWORD, REGSAM samDesired, PHKEY phkResult) {
  return OpenKeyImpl(hKey, AnsiArg(lpSubKey), false, samDesired, phkResult, nullptr);
}

// Simplified: keys have no security (the security attributes are not looked at; access is
// checked as RegOpenKeyExW does), and a volatile key is kept like any other.
WINSIM_API LONG WINAPI RegCreateKeyExW(HKEY hKey, LPCWSTR lpSubKey, DWORD, LPWSTR, DWORD dwOptions, REGSAM samDesired,
                                       const SECURITY_ATTRIBUTES*, PHKEY phkResult, LPDWORD lpdwDisposition) {
  if (!lpSubKey) return ERROR_INVALID_PARAMETER;
  if (dwOptions & REG_OPTION_VOLATILE) WINSIM_SIMPLIFIED("RegCreateKeyExW", "keeps a volatile key like any other");
  return OpenKeyImpl(hKey, WideArg(lpSubKey), true, samDesired, phkResult, lpdwDisposition);
}

WINSIM_API LONG WINAPI RegCreateKeyExA(HKEY hKey, LPCSTR lpSubKey, DWORD, LPSTR, DWORD, REGSAM samDesired,
                                       const SECURITY_ATTRIBUTES*, PHKEY phkResult, LPDWORD lpdwDisposition) {
  if (!lpSubKey) return ERROR_INVALID_PARAMETER;
  return OpenKeyImpl(hKey, AnsiArg(lpSubKey), true, samDesired, phkResult, lpdwDisposition);
}

WINSIM_API LONG WINAPI RegCloseKey(HKEY hKey) {
  uintptr_t k = reinterpret_cast<uintptr_t>(hKey);
  if (k >= 0x80000000u && k <= 0x80000003u) return ERROR_SUCCESS;
  std::lock_guard<std::mutex> hold(g_lock);
  return g_keys.erase(k) ? ERROR_SUCCESS : ERROR_INVALID_HANDLE;
}

WINSIM_API LONG WINAPI RegFlushKey(HKEY hKey) {
  OpenKey open;
  return ResolveHandle(hKey, open) ? ERROR_SUCCESS : ERROR_INVALID_HANDLE;
}

WINSIM_API LONG WINAPI RegQueryValueExW(HKEY hKey, LPCWSTR lpValueName, LPDWORD lpReserved, LPDWORD lpType,
                                        LPBYTE lpData, LPDWORD lpcbData) {
  if (lpData && !lpcbData) return ERROR_INVALID_PARAMETER;
  RegValue v;
  LONG rc = QueryValueImpl(hKey, WideArg(lpValueName), lpReserved, lpType, v);
  if (rc != ERROR_SUCCESS) return rc;
  return CopyOut(v.data, lpData, lpcbData);
}

WINSIM_API LONG WINAPI RegQueryValueExA(HKEY hKey, LPCSTR lpValueName, LPDWORD lpReserved, LPDWORD lpType,
                                        LPBYTE lpData, LPDWORD lpcbData) {
  if (lpData && !lpcbData) return ERROR_INVALID_PARAMETER;
  RegValue v;
  LONG rc = QueryValueImpl(hKey, AnsiArg(lpValueName), lpReserved, lpType, v);
  if (rc != ERROR_SUCCESS) return rc;
  return CopyOut(AnsiData(v), lpData, lpcbData);
}

WINSIM_API LONG WINAPI RegSetValueExW(HKEY hKey, LPCWSTR lpValueName, DWORD, DWORD dwType, const BYTE* lpData,
                                      DWORD cbData) {
  if (!lpData && cbData) return ERROR_NOACCESS;
  std::string data(reinterpret_cast<const char*>(lpData ? lpData : reinterpret_cast<const BYTE*>("")), cbData);
  return SetValueImpl(hKey, WideArg(lpValueName), dwType, std::move(data));
}

WINSIM_API LONG WINAPI RegSetValueExA(HKEY hKey, LPCSTR lpValueName, DWORD, DWORD dwType, const BYTE* lpData,
                                      DWORD cbData) {
  if (!lpData && cbData) return ERROR_NOACCESS;
  return SetValueImpl(hKey, AnsiArg(lpValueName), dwType,
                      StoredFromAnsi(dwType, lpData ? lpData : reinterpret_cast<const BYTE*>(""), cbData));
}

WINSIM_API LONG WINAPI RegDeleteValueW(HKEY hKey, LPCWSTR lpValueName) {
  return DeleteValueImpl(hKey, WideArg(lpValueName));
}

WINSIM_API LONG WINAPI RegDeleteValueA(HKEY hKey, LPCSTR lpValueName) {
  return DeleteValueImpl(hKey, AnsiArg(lpValueName));
}

WINSIM_API LONG WINAPI RegDeleteKeyW(HKEY hKey, LPCWSTR lpSubKey) {
  if (!lpSubKey) return ERROR_INVALID_PARAMETER;
  return DeleteKeyImpl(hKey, WideArg(lpSubKey));
}

WINSIM_API LONG WINAPI RegDeleteKeyA(HKEY hKey, LPCSTR lpSubKey) {
  if (!lpSubKey) return ERROR_INVALID_PARAMETER;
  return DeleteKeyImpl(hKey, AnsiArg(lpSubKey));
}

WINSIM_API LONG WINAPI RegEnumKeyExW(HKEY hKey, DWORD dwIndex, LPWSTR lpName, LPDWORD lpcchName, LPDWORD,
                                     LPWSTR lpClass, LPDWORD lpcchClass, PFILETIME lpftLastWriteTime) {
  std::u16string name;
  unsigned long long stamp = 0;
  LONG rc = EnumKeyImpl(hKey, dwIndex, name, stamp);
  if (rc != ERROR_SUCCESS) return rc;
  rc = CopyName(name, lpName, lpcchName);
  if (rc != ERROR_SUCCESS) return rc;
  if (lpClass && lpcchClass && *lpcchClass) lpClass[0] = 0;
  if (lpcchClass) *lpcchClass = 0;
  PutFileTime(lpftLastWriteTime, stamp);
  return ERROR_SUCCESS;
}

WINSIM_API LONG WINAPI RegEnumKeyExA(HKEY hKey, DWORD dwIndex, LPSTR lpName, LPDWORD lpcchName, LPDWORD,
                                     LPSTR lpClass, LPDWORD lpcchClass, PFILETIME lpftLastWriteTime) {
  std::u16string name;
  unsigned long long stamp = 0;
  LONG rc = EnumKeyImpl(hKey, dwIndex, name, stamp);
  if (rc != ERROR_SUCCESS) return rc;
  rc = CopyName(WideToAnsi(name), lpName, lpcchName);
  if (rc != ERROR_SUCCESS) return rc;
  if (lpClass && lpcchClass && *lpcchClass) lpClass[0] = 0;
  if (lpcchClass) *lpcchClass = 0;
  PutFileTime(lpftLastWriteTime, stamp);
  return ERROR_SUCCESS;
}

WINSIM_API LONG WINAPI RegEnumValueW(HKEY hKey, DWORD dwIndex, LPWSTR lpValueName, LPDWORD lpcchValueName,
                                     LPDWORD lpReserved, LPDWORD lpType, LPBYTE lpData, LPDWORD lpcbData) {
  if (lpReserved || (lpData && !lpcbData)) return ERROR_INVALID_PARAMETER;
  RegValue v;
  LONG rc = EnumValueImpl(hKey, dwIndex, v);
  if (rc != ERROR_SUCCESS) return rc;
  rc = CopyName(v.name, lpValueName, lpcchValueName);
  if (rc != ERROR_SUCCESS) return rc;
  if (lpType) *lpType = v.type;
  return CopyOut(v.data, lpData, lpcbData);
}

WINSIM_API LONG WINAPI RegEnumValueA(HKEY hKey, DWORD dwIndex, LPSTR lpValueName, LPDWORD lpcchValueName,
                                     LPDWORD lpReserved, LPDWORD lpType, LPBYTE lpData, LPDWORD lpcbData) {
  if (lpReserved || (lpData && !lpcbData)) return ERROR_INVALID_PARAMETER;
  RegValue v;
  LONG rc = EnumValueImpl(hKey, dwIndex, v);
  if (rc != ERROR_SUCCESS) return rc;
  rc = CopyName(WideToAnsi(v.name), lpValueName, lpcchValueName);
  if (rc != ERROR_SUCCESS) return rc;
  if (lpType) *lpType = v.type;
  return CopyOut(AnsiData(v), lpData, lpcbData);
}

WINSIM_API LONG WINAPI RegQueryInfoKeyW(HKEY hKey, LPWSTR lpClass, LPDWORD lpcchClass, LPDWORD lpReserved,
                                        LPDWORD lpcSubKeys, LPDWORD lpcbMaxSubKeyLen, LPDWORD lpcbMaxClassLen,
                                        LPDWORD lpcValues, LPDWORD lpcbMaxValueNameLen, LPDWORD lpcbMaxValueLen,
                                        LPDWORD lpcbSecurityDescriptor, PFILETIME lpftLastWriteTime) {
  if (lpReserved) return ERROR_INVALID_PARAMETER;
  KeyInfo info;
  LONG rc = QueryInfoImpl(hKey, info);
  if (rc != ERROR_SUCCESS) return rc;
  if (lpClass && lpcchClass && *lpcchClass) lpClass[0] = 0;
  if (lpcchClass) *lpcchClass = 0;
  if (lpcSubKeys) *lpcSubKeys = info.subKeys;
  if (lpcbMaxSubKeyLen) *lpcbMaxSubKeyLen = info.maxSubKeyLen;
  if (lpcbMaxClassLen) *lpcbMaxClassLen = 0;
  if (lpcValues) *lpcValues = info.values;
  if (lpcbMaxValueNameLen) *lpcbMaxValueNameLen = info.maxValueNameLen;
  if (lpcbMaxValueLen) *lpcbMaxValueLen = info.maxValueLen;
  if (lpcbSecurityDescriptor) *lpcbSecurityDescriptor = 0;
  PutFileTime(lpftLastWriteTime, info.lastWrite);
  return ERROR_SUCCESS;
}

WINSIM_API LONG WINAPI RegQueryInfoKeyA(HKEY hKey, LPSTR lpClass, LPDWORD lpcchClass, LPDWORD lpReserved,
                                        LPDWORD lpcSubKeys, LPDWORD lpcbMaxSubKeyLen, LPDWORD lpcbMaxClassLen,
                                        LPDWORD lpcValues, LPDWORD lpcbMaxValueNameLen, LPDWORD lpcbMaxValueLen,
                                        LPDWORD lpcbSecurityDescriptor, PFILETIME lpftLastWriteTime) {
  if (lpClass && lpcchClass && *lpcchClass) lpClass[0] = 0;
  return RegQueryInfoKeyW(hKey, nullptr, lpcchClass, lpReserved, lpcSubKeys, lpcbMaxSubKeyLen, lpcbMaxClassLen,
                          lpcValues, lpcbMaxValueNameLen, lpcbMaxValueLen, lpcbSecurityDescriptor,
                          lpftLastWriteTime);
}
