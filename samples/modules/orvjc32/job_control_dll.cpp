// Stand-in for the job-control DLL. Its two exports hand out and take back an operation table
// of 13 four-byte entry points (slot 9 empty), or for interface 0x181 the four entry points of
// the transformation interface. Scripted by files under
// <root>/stand-ins/ (format in the README's conventions), read at every call:
//   orvjc32.versions  the interface versions JCGetInterface accepts (none: 0x101-0x105)
//   orvjc32.store     the property store, "<printer>\t<property>\t<hex bytes>" per value
//   orvjc32.force     "<call> <result>": the call returns that result and does nothing else
//   orvjc32.hostile   "<property> claim <bytes>": the size query answers that many bytes
// and every call is appended to orvjc32.log with its arguments and answer.
#include <string.h>

#include <map>
#include <string>
#include <vector>

#include "samples/modules/stand_in_script.h"

namespace {

constexpr char kLog[] = "orvjc32.log";
constexpr char kForce[] = "orvjc32.force";
constexpr char kStore[] = "orvjc32.store";
constexpr DWORD kInvalidHandle = 6;
constexpr DWORD kInvalidData = 13;
constexpr DWORD kInvalidParameter = 87;
constexpr DWORD kRefused = 0x20000002;

// Sessions live while the DLL is loaded; tables are numbered so that the log shows which one
// a dispose returns.
std::map<DWORD, std::string> g_sessions;
DWORD g_nextSession = 1;
std::map<void*, int> g_tables;
int g_nextTable = 1;

bool Force(const char* call, DWORD* result) { return stand_in::Forced(kForce, call, result); }

// The stored bytes of a printer's key; false when there is none.
bool Lookup(const std::string& printer, const std::string& key, std::vector<unsigned char>* value) {
  for (const std::string& line : stand_in::Lines(kStore)) {
    size_t a = line.find('\t'), b = a == std::string::npos ? a : line.find('\t', a + 1);
    if (b == std::string::npos) continue;
    if (line.compare(0, a, printer) == 0 && line.compare(a + 1, b - a - 1, key) == 0) {
      *value = stand_in::FromHex(line.substr(b + 1));
      return true;
    }
  }
  return false;
}

// Replaces (or, with a null value, removes) a printer's key.
void Store(const std::string& printer, const std::string& key, const std::vector<unsigned char>* value) {
  std::vector<std::string> kept;
  const std::string prefix = printer + "\t" + key + "\t";
  for (const std::string& line : stand_in::Lines(kStore))
    if (line.compare(0, prefix.size(), prefix) != 0) kept.push_back(line);
  if (value) kept.push_back(prefix + stand_in::Hex(value->data(), value->size()));
  stand_in::Rewrite(kStore, kept);
}

// The size a size query claims for a property, from orvjc32.hostile; false without a claim.
bool Claim(DWORD property, DWORD* bytes) {
  for (const std::string& line : stand_in::Lines("orvjc32.hostile")) {
    unsigned long p = 0, n = 0;
    char word[16] = {};
    if (sscanf(line.c_str(), "%lu %15s %lu", &p, word, &n) == 3 && p == property && strcmp(word, "claim") == 0) {
      *bytes = DWORD(n);
      return true;
    }
  }
  return false;
}

bool SessionPrinter(DWORD session, std::string* printer) {
  auto it = g_sessions.find(session);
  if (it == g_sessions.end()) return false;
  *printer = it->second;
  return true;
}

DWORD WINAPI PrinterCall(LPCWSTR printer) {
  DWORD r = 0;
  Force("slot0", &r);
  stand_in::Log(kLog, "slot0 printer=\"%s\" -> %lu", stand_in::Utf8(printer).c_str(), r);
  return r;
}

DWORD WINAPI PrinterCall2(LPCWSTR printer) {
  DWORD r = 0;
  Force("slot1", &r);
  stand_in::Log(kLog, "slot1 printer=\"%s\" -> %lu", stand_in::Utf8(printer).c_str(), r);
  return r;
}

DWORD WINAPI OpenSession(LPCWSTR printer, DWORD* session) {
  DWORD r = 0;
  if (!Force("slot2", &r)) {
    if (!printer || !session) {
      r = kInvalidParameter;
    } else {
      *session = g_nextSession++;
      g_sessions[*session] = stand_in::Utf8(printer);
    }
  }
  stand_in::Log(kLog, "slot2 printer=\"%s\" -> %lu session=%lu", stand_in::Utf8(printer).c_str(), r,
                r == 0 && session ? *session : 0ul);
  return r;
}

DWORD WINAPI CloseSession(DWORD session) {
  DWORD r = 0;
  if (!Force("slot3", &r)) r = g_sessions.erase(session) ? 0 : kInvalidHandle;
  stand_in::Log(kLog, "slot3 session=%lu -> %lu", session, r);
  return r;
}

DWORD WINAPI Attributes(DWORD session, DWORD property, DWORD* attributes) {
  DWORD r = 0, value = 0;
  std::string printer;
  std::vector<unsigned char> stored;
  if (!Force("slot4", &r)) {
    if (!attributes || !SessionPrinter(session, &printer))
      r = kInvalidHandle;
    else
      *attributes = value = Lookup(printer, std::to_string(property), &stored) ? 1 : 0;
  }
  stand_in::Log(kLog, "slot4 session=%lu property=%lu -> %lu attributes=%lu", session, property, r, value);
  return r;
}

DWORD WINAPI GetProperty(DWORD session, DWORD property, DWORD kind, void* buffer, DWORD size, DWORD* needed) {
  DWORD r = 0, answered = 0;
  std::string printer;
  std::vector<unsigned char> stored;
  if (!Force("slot5", &r)) {
    if (!needed || !SessionPrinter(session, &printer)) {
      r = kInvalidHandle;
    } else if (!Lookup(printer, std::to_string(property), &stored)) {
      *needed = 0;
      r = kInvalidData;  // no value
    } else {
      answered = DWORD(stored.size());
      if (!buffer) Claim(property, &answered);
      if (buffer) memcpy(buffer, stored.data(), stored.size() < size ? stored.size() : size);
      *needed = answered;
    }
  }
  stand_in::Log(kLog, "slot5 session=%lu property=%lu kind=%lu buffer=%s size=%lu -> %lu needed=%lu", session,
                property, kind, buffer ? "set" : "null", size, r, answered);
  return r;
}

DWORD WINAPI SetProperty(DWORD session, DWORD property, DWORD kind, const void* data, DWORD size) {
  DWORD r = 0;
  std::string printer;
  if (!Force("slot6", &r)) {
    if (!SessionPrinter(session, &printer)) {
      r = kInvalidHandle;
    } else if (!data && size) {
      r = kInvalidParameter;
    } else {
      const unsigned char* p = static_cast<const unsigned char*>(data);
      std::vector<unsigned char> value(p, p + size);
      Store(printer, std::to_string(property), &value);
    }
  }
  stand_in::Log(kLog, "slot6 session=%lu property=%lu kind=%lu size=%lu data=%s -> %lu", session, property, kind,
                size, data ? stand_in::Hex(data, size).c_str() : "null", r);
  return r;
}

DWORD WINAPI DeleteProperty(DWORD session, DWORD property) {
  DWORD r = 0;
  std::string printer;
  if (!Force("slot7", &r)) {
    if (!SessionPrinter(session, &printer))
      r = kInvalidHandle;
    else
      Store(printer, std::to_string(property), nullptr);
  }
  stand_in::Log(kLog, "slot7 session=%lu property=%lu -> %lu", session, property, r);
  return r;
}

DWORD WINAPI SetInformation(DWORD session, DWORD code, const void* block) {
  DWORD r = 0;
  std::string printer;
  if (!Force("slot8", &r) && (!block || !SessionPrinter(session, &printer))) r = kInvalidHandle;
  stand_in::Log(kLog, "slot8 session=%lu code=%lu block=%s -> %lu", session, code,
                block ? stand_in::Hex(block, 8).c_str() : "null", r);
  return r;
}

DWORD WINAPI Mode(DWORD session, DWORD first, DWORD second) {
  DWORD r = 0;
  Force("slot11", &r);
  stand_in::Log(kLog, "slot11 session=%lu first=%lu second=%lu -> %lu", session, first, second, r);
  return r;
}

// Information values come from the store's key "info<code>" (4 bytes; 0 when absent).
DWORD WINAPI GetInformation(DWORD session, DWORD code, DWORD one, DWORD four, void* buffer, DWORD size,
                            DWORD* needed) {
  DWORD r = 0;
  std::string printer;
  std::vector<unsigned char> stored;
  if (!Force("slot12", &r)) {
    if (!needed || !SessionPrinter(session, &printer)) {
      r = kInvalidHandle;
    } else {
      Lookup(printer, "info" + std::to_string(code), &stored);
      stored.resize(4);
      *needed = 4;
      if (buffer) memcpy(buffer, stored.data(), size < 4 ? size : 4);
    }
  }
  stand_in::Log(kLog, "slot12 session=%lu code=%lu one=%lu four=%lu size=%lu -> %lu", session, code, one, four, size,
                r);
  return r;
}

// Slot 10: the get of slot 5 for a user: the store's key "<property>@<user>" first, then the
// plain key.
DWORD WINAPI GetPropertyForUser(DWORD session, DWORD property, DWORD kind, LPCWSTR user, void* buffer, DWORD size,
                                DWORD* needed) {
  DWORD r = 0, answered = 0;
  std::string printer;
  std::vector<unsigned char> stored;
  if (!Force("slot10", &r)) {
    if (!needed || !user || !SessionPrinter(session, &printer)) {
      r = kInvalidHandle;
    } else if (!Lookup(printer, std::to_string(property) + "@" + stand_in::Utf8(user), &stored) &&
               !Lookup(printer, std::to_string(property), &stored)) {
      *needed = 0;
      r = kInvalidData;
    } else {
      answered = DWORD(stored.size());
      if (!buffer) Claim(property, &answered);
      if (buffer) memcpy(buffer, stored.data(), stored.size() < size ? stored.size() : size);
      *needed = answered;
    }
  }
  stand_in::Log(kLog, "slot10 session=%lu property=%lu kind=%lu user=\"%s\" buffer=%s size=%lu -> %lu needed=%lu",
                session, property, kind, stand_in::Utf8(user).c_str(), buffer ? "set" : "null", size, r, answered);
  return r;
}

// ---- the transformation interface (0x181) ----
// Handles carry a mode: 4 turns letters by 13 places, 2 (after parameter 256 was set) letters by
// 13 and digits by 5, 1 reverses the bytes. Each undoes itself, so a test can read the result.
struct Transform {
  DWORD mode;
  bool parameterSet;
};
std::map<DWORD, Transform> g_transforms;
DWORD g_nextTransform = 1;

DWORD WINAPI TransformOpen(DWORD mode, DWORD* handle) {
  DWORD r = 0;
  if (!Force("t0", &r)) {
    if (!handle || (mode != 1 && mode != 2 && mode != 4)) {
      r = kInvalidParameter;
    } else {
      *handle = g_nextTransform++;
      g_transforms[*handle] = {mode, false};
    }
  }
  stand_in::Log(kLog, "t0 mode=%lu -> %lu", mode, r);
  return r;
}

DWORD WINAPI TransformClose(DWORD handle) {
  DWORD r = 0;
  if (!Force("t1", &r)) r = g_transforms.erase(handle) ? 0 : kInvalidHandle;
  stand_in::Log(kLog, "t1 handle=%lu -> %lu", handle, r);
  return r;
}

DWORD WINAPI TransformSetParameter(DWORD handle, DWORD parameter, const void* data, DWORD size) {
  DWORD r = 0;
  std::string first, second;
  if (!Force("t2", &r)) {
    auto it = g_transforms.find(handle);
    if (it == g_transforms.end() || parameter != 256 || !data || size != 8) {
      r = kInvalidParameter;
    } else {
      const LPCWSTR* texts = static_cast<const LPCWSTR*>(data);
      first = stand_in::Utf8(texts[0]);
      second = stand_in::Utf8(texts[1]);
      it->second.parameterSet = true;
    }
  }
  stand_in::Log(kLog, "t2 handle=%lu parameter=%lu text1=\"%s\" text2=\"%s\" -> %lu", handle, parameter,
                first.c_str(), second.c_str(), r);
  return r;
}

DWORD WINAPI TransformRun(DWORD handle, const char* input, DWORD length, char* output, DWORD size, DWORD* written) {
  DWORD r = 0, answered = 0;
  if (!Force("t3", &r)) {
    auto it = g_transforms.find(handle);
    if (it == g_transforms.end() || !written || (!input && length) || (it->second.mode == 2 && !it->second.parameterSet)) {
      r = kInvalidParameter;
    } else {
      std::string text(input, length);
      for (char& c : text) {
        if (it->second.mode == 1) break;
        if (c >= 'a' && c <= 'z') c = char('a' + (c - 'a' + 13) % 26);
        else if (c >= 'A' && c <= 'Z') c = char('A' + (c - 'A' + 13) % 26);
        else if (it->second.mode == 2 && c >= '0' && c <= '9') c = char('0' + (c - '0' + 5) % 10);
      }
      if (it->second.mode == 1) text.assign(text.rbegin(), text.rend());
      answered = DWORD(text.size());
      if (!output) Claim(0, &answered);
      if (output) memcpy(output, text.data(), text.size() < size ? text.size() : size);
      *written = answered;
    }
  }
  stand_in::Log(kLog, "t3 handle=%lu length=%lu output=%s size=%lu -> %lu written=%lu", handle, length,
                output ? "set" : "null", size, r, answered);
  return r;
}

// The versions accepted: orvjc32.versions when it exists, else 0x101-0x105 and 0x181.
bool Accepts(DWORD version) {
  bool exists = false;
  std::vector<std::string> lines = stand_in::Lines("orvjc32.versions", &exists);
  if (!exists) return (version >= 0x101 && version <= 0x105) || version == 0x181;
  for (const std::string& line : lines) {
    const char* p = line.c_str();
    char* end = nullptr;
    for (unsigned long v = strtoul(p, &end, 0); end != p; v = strtoul(p, &end, 0)) {
      if (v == version) return true;
      p = end;
    }
  }
  return false;
}

}  // namespace

STAND_IN_EXPORT DWORD WINAPI JCGetInterface(DWORD version, void** ops) {
  DWORD r = 0;
  int table = 0;
  if (!Force("JCGetInterface", &r)) {
    if (!ops) {
      r = kInvalidParameter;
    } else if (!Accepts(version)) {
      r = kRefused;
    } else {
      // Numbers start again at 1 while nothing is held, so that a log reads the same
      // whichever load of the process wrote it.
      if (g_tables.empty() && g_sessions.empty()) g_nextTable = g_nextSession = g_nextTransform = 1;
      void** slots = version == 0x181 ? new void*[13]{reinterpret_cast<void*>(TransformOpen),
                                                      reinterpret_cast<void*>(TransformClose),
                                                      reinterpret_cast<void*>(TransformSetParameter),
                                                      reinterpret_cast<void*>(TransformRun)}
                                      : new void*[13]{
          reinterpret_cast<void*>(PrinterCall),    reinterpret_cast<void*>(PrinterCall2),
          reinterpret_cast<void*>(OpenSession),    reinterpret_cast<void*>(CloseSession),
          reinterpret_cast<void*>(Attributes),     reinterpret_cast<void*>(GetProperty),
          reinterpret_cast<void*>(SetProperty),    reinterpret_cast<void*>(DeleteProperty),
          reinterpret_cast<void*>(SetInformation), nullptr,
          reinterpret_cast<void*>(GetPropertyForUser), reinterpret_cast<void*>(Mode),
          reinterpret_cast<void*>(GetInformation)};
      table = g_nextTable++;
      g_tables[slots] = table;
      *ops = slots;
    }
  }
  stand_in::Log(kLog, "JCGetInterface version=0x%lx -> %lu table=%d", version, r, table);
  return r;
}

STAND_IN_EXPORT DWORD WINAPI JCDisposeInterface(void* ops) {
  DWORD r = 0;
  int table = 0;
  if (!Force("JCDisposeInterface", &r)) {
    auto it = g_tables.find(ops);
    if (it == g_tables.end()) {
      r = kInvalidHandle;
    } else {
      table = it->second;
      g_tables.erase(it);
      delete[] static_cast<void**>(ops);
    }
  }
  stand_in::Log(kLog, "JCDisposeInterface table=%d -> %lu", table, r);
  return r;
}
