// Stand-in for the remote-configuration library of a terminal server ("OMBIDISS.dll"): 15
// WINAPI exports, of which OMRegFileGetData, OMSaveDevmodeClear and OMPrintConfigConnect only
// log an unexpected call. Scripted by files under <root>/stand-ins/, read at every call:
//   ombidiss.script  lines "<key>\t<value>":
//     type N               the server type OMGetServerType answers (default 18)
//     client TEXT          the client name (UTF-8, default "CLIENT1"); cut to the buffer, so a
//                          name of 260 characters or more arrives without terminator
//     clienthex HEX        the client-name buffer's bytes as they are (overrides client)
//     os MAJOR PLATFORM    the client's OS (default 5 2)
//     data\tNAME\tTYPE\tHEX  a value of the client's printer data (type only logged)
//     claim\tNAME\tN       the size query of that value answers N
//     devmode HEX          the client's DEVMODE (any size); none: the size query answers 2
//     devmodeclaim N       the DEVMODE size query answers N
//     fileclaim\tSOURCE\tN the file size query of that source answers N
//   ombidiss.force   "<export> <result>": that export returns the result and does nothing else
//   ombidiss.client/ the client's files under their source paths, '\' made '/'
//                    ("%SystemDrive%/_zems/OV00C171.ini", "C:/x/user0000.rst"); a missing
//                    file has size 0
// OMGetDataFile writes the destination through the machine's file calls ("%SystemDrive%" at
// its start becomes the drive of the Windows directory). Every call is appended to
// ombidiss.log.
#include <string.h>
#include <strings.h>

#include <mutex>
#include <string>
#include <vector>

#include "samples/modules/stand_in_script.h"

namespace {

constexpr char kLog[] = "ombidiss.log";
constexpr char kScript[] = "ombidiss.script";
constexpr char kForce[] = "ombidiss.force";
constexpr DWORD kNotFound = 2;

std::mutex g_lock;
DWORD g_nextConnection = 0x5001;

struct ClientOs {
  DWORD size, major, minor, build, platform;
  char servicePack[128];
};

void Log(const char* format, ...) __attribute__((format(printf, 1, 2)));
void Log(const char* format, ...) {
  char line[2048];
  va_list args;
  va_start(args, format);
  vsnprintf(line, sizeof line, format, args);
  va_end(args);
  std::lock_guard<std::mutex> hold(g_lock);
  stand_in::Log(kLog, "%s", line);
}

std::vector<std::string> Fields(const std::string& line) {
  std::vector<std::string> out;
  size_t start = 0;
  for (;;) {
    size_t tab = line.find('\t', start);
    out.push_back(line.substr(start, tab == std::string::npos ? std::string::npos : tab - start));
    if (tab == std::string::npos) return out;
    start = tab + 1;
  }
}

// The fields after the key of the first line whose leading fields are these.
bool Find(const std::vector<std::string>& head, std::vector<std::string>* rest) {
  for (const std::string& line : stand_in::Lines(kScript)) {
    std::vector<std::string> f = Fields(line);
    if (f.size() <= head.size()) continue;
    bool match = true;
    for (size_t i = 0; i < head.size() && match; ++i) match = f[i] == head[i];
    if (!match) continue;
    rest->assign(f.begin() + long(head.size()), f.end());
    return true;
  }
  return false;
}

bool Value(const std::string& key, std::string* value) {
  std::vector<std::string> rest;
  if (!Find({key}, &rest)) return false;
  *value = rest[0];
  return true;
}

unsigned long Number(const std::string& key, unsigned long def) {
  std::string v;
  return Value(key, &v) ? strtoul(v.c_str(), nullptr, 0) : def;
}

bool Force(const char* call, DWORD* result) {
  if (!stand_in::Forced(kForce, call, result)) return false;
  Log("%s -> %lu forced", call, (unsigned long)*result);
  return true;
}

std::string Text(const char* text) { return text ? "\"" + std::string(text) + "\"" : "null"; }

// The fixture file of a client source; empty when the source climbs out of the folder.
std::string ClientFile(const char* source) {
  if (!source) return std::string();
  std::string relative(source);
  for (char& c : relative)
    if (c == '\\') c = '/';
  if (relative.find("..") != std::string::npos || relative.empty() || relative[0] == '/') return std::string();
  return stand_in::File("ombidiss.client/" + relative);
}

bool ReadHostFile(const std::string& path, std::vector<unsigned char>* data) {
  data->clear();
  if (path.empty()) return false;
  FILE* f = fopen(path.c_str(), "rb");
  if (!f) return false;
  int c;
  while ((c = fgetc(f)) != EOF) data->push_back((unsigned char)c);
  fclose(f);
  return true;
}

// "%SystemDrive%" at the start becomes the drive of the Windows directory.
std::string Expand(const char* path) {
  std::string p(path ? path : "");
  const char macro[] = "%systemdrive%";
  if (p.size() >= sizeof macro - 1 && strncasecmp(p.c_str(), macro, sizeof macro - 1) == 0) {
    char windows[MAX_PATH] = {};
    GetWindowsDirectoryA(windows, MAX_PATH);
    p = std::string(windows, 2) + p.substr(sizeof macro - 1);
  }
  return p;
}

}  // namespace

STAND_IN_EXPORT DWORD WINAPI OMGetServerType(LPCWSTR printer, DWORD nameBytes, DWORD dataBytes, LPWSTR client,
                                             BYTE* data) {
  DWORD forced;
  if (Force("OMGetServerType", &forced)) return forced;
  DWORD type = DWORD(Number("type", 18));
  std::string hex, name = "CLIENT1";
  if (client && nameBytes) {
    memset(client, 0, nameBytes & ~1u);
    if (Value("clienthex", &hex)) {
      std::vector<unsigned char> bytes = stand_in::FromHex(hex);
      memcpy(client, bytes.data(), bytes.size() < nameBytes ? bytes.size() : nameBytes);
    } else {
      Value("client", &name);
      size_t chars = nameBytes / 2, n = 0;
      for (; n < chars && n < name.size(); ++n) client[n] = WCHAR((unsigned char)name[n]);
    }
  }
  if (data && dataBytes) memset(data, 0x5A, dataBytes);
  Log("OMGetServerType printer=\"%s\" nameBytes=%lu dataBytes=%lu -> %lu", stand_in::Utf8(printer).c_str(),
      (unsigned long)nameBytes, (unsigned long)dataBytes, (unsigned long)type);
  return type;
}

STAND_IN_EXPORT DWORD WINAPI OMSaveInformationClear(LPCWSTR printer, DWORD type) {
  DWORD forced;
  if (Force("OMSaveInformationClear", &forced)) return forced;
  Log("OMSaveInformationClear printer=\"%s\" type=%lu -> 0", stand_in::Utf8(printer).c_str(), (unsigned long)type);
  return 0;
}

STAND_IN_EXPORT DWORD WINAPI OMPrintConfigConnectEx(DWORD type, DWORD* connection, BYTE* connectionData,
                                                    BYTE* serverData, DWORD* out) {
  DWORD forced;
  if (Force("OMPrintConfigConnectEx", &forced)) return forced;
  DWORD c;
  {
    std::lock_guard<std::mutex> hold(g_lock);
    c = g_nextConnection++;
  }
  if (connection) *connection = c;
  if (connectionData) memset(connectionData, 0xC3, 512);
  if (out) *out = 1;
  Log("OMPrintConfigConnectEx type=%lu serverData=%s -> 0 connection=0x%lx", (unsigned long)type,
      serverData && serverData[0] == 0x5A && serverData[511] == 0x5A ? "given" : "other", (unsigned long)c);
  return 0;
}

STAND_IN_EXPORT DWORD WINAPI OMClientOSType(DWORD connection, DWORD type, ClientOs* info) {
  DWORD forced;
  if (Force("OMClientOSType", &forced)) return forced;
  unsigned long major = 5, platform = 2;
  std::string os;
  if (Value("os", &os)) sscanf(os.c_str(), "%lu %lu", &major, &platform);
  if (info) {
    info->major = DWORD(major);
    info->minor = 1;
    info->build = 2600;
    info->platform = DWORD(platform);
  }
  Log("OMClientOSType connection=0x%lx type=%lu size=%lu -> 0 major=%lu platform=%lu", (unsigned long)connection,
      (unsigned long)type, info ? (unsigned long)info->size : 0ul, major, platform);
  return 0;
}

STAND_IN_EXPORT DWORD WINAPI OMPrintConfigDisConnect(DWORD connection, BYTE* connectionData, DWORD type) {
  DWORD forced;
  if (Force("OMPrintConfigDisConnect", &forced)) return forced;
  Log("OMPrintConfigDisConnect connection=0x%lx data=%s type=%lu -> 0", (unsigned long)connection,
      connectionData && connectionData[0] == 0xC3 && connectionData[511] == 0xC3 ? "given" : "other",
      (unsigned long)type);
  return 0;
}

STAND_IN_EXPORT DWORD WINAPI OMRegFileGetSize(DWORD connection, DWORD type, LPCSTR source, DWORD one, LPCSTR client,
                                              DWORD* size) {
  DWORD forced;
  if (Force("OMRegFileGetSize", &forced)) return forced;
  std::vector<unsigned char> data;
  ReadHostFile(ClientFile(source), &data);
  DWORD answer = DWORD(data.size());
  std::vector<std::string> rest;
  if (source && Find({"fileclaim", source}, &rest)) answer = DWORD(strtoul(rest[0].c_str(), nullptr, 0));
  if (size) *size = answer;
  Log("OMRegFileGetSize connection=0x%lx type=%lu source=%s one=%lu client=%s -> 0 size=%lu",
      (unsigned long)connection, (unsigned long)type, Text(source).c_str(), (unsigned long)one, Text(client).c_str(),
      (unsigned long)answer);
  return 0;
}

STAND_IN_EXPORT DWORD WINAPI OMGetDataFile(DWORD connection, DWORD type, LPCSTR source, LPCSTR destination,
                                           DWORD zero1, DWORD zero2, DWORD size) {
  DWORD forced;
  if (Force("OMGetDataFile", &forced)) return forced;
  std::vector<unsigned char> data;
  DWORD answer = kNotFound;
  if (ReadHostFile(ClientFile(source), &data)) {
    std::string target = Expand(destination);
    HANDLE h = CreateFileA(target.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    answer = h == INVALID_HANDLE_VALUE ? GetLastError() : 0;
    if (h != INVALID_HANDLE_VALUE) {
      DWORD written = 0;
      if (!data.empty() && !WriteFile(h, data.data(), DWORD(data.size()), &written, nullptr)) answer = GetLastError();
      CloseHandle(h);
    }
  }
  Log("OMGetDataFile connection=0x%lx type=%lu source=%s destination=%s zero=%lu,%lu size=%lu -> %lu",
      (unsigned long)connection, (unsigned long)type, Text(source).c_str(), Text(destination).c_str(),
      (unsigned long)zero1, (unsigned long)zero2, (unsigned long)size, (unsigned long)answer);
  return answer;
}

STAND_IN_EXPORT DWORD WINAPI OMGetPrinterDataSize(DWORD connection, DWORD type, LPCSTR client, LPCSTR key,
                                                  LPCSTR value, DWORD* size) {
  DWORD forced;
  if (Force("OMGetPrinterDataSize", &forced)) return forced;
  std::vector<std::string> rest;
  DWORD answer = kNotFound, bytes = 0;
  if (value && Find({"data", value}, &rest) && rest.size() >= 2) {
    answer = 0;
    bytes = DWORD(stand_in::FromHex(rest[1]).size());
    if (Find({"claim", value}, &rest)) bytes = DWORD(strtoul(rest[0].c_str(), nullptr, 0));
  }
  if (size) *size = bytes;
  Log("OMGetPrinterDataSize connection=0x%lx type=%lu client=%s key=%s value=%s -> %lu size=%lu",
      (unsigned long)connection, (unsigned long)type, Text(client).c_str(), Text(key).c_str(), Text(value).c_str(),
      (unsigned long)answer, (unsigned long)bytes);
  return answer;
}

STAND_IN_EXPORT DWORD WINAPI OMGetPrinterData(DWORD connection, DWORD type, LPCSTR client, LPCSTR key, LPCSTR value,
                                              DWORD size, BYTE* buffer) {
  DWORD forced;
  if (Force("OMGetPrinterData", &forced)) return forced;
  std::vector<std::string> rest;
  DWORD answer = kNotFound;
  if (value && Find({"data", value}, &rest) && rest.size() >= 2) {
    std::vector<unsigned char> bytes = stand_in::FromHex(rest[1]);
    if (buffer && !bytes.empty()) memcpy(buffer, bytes.data(), bytes.size() < size ? bytes.size() : size);
    answer = 0;
  }
  Log("OMGetPrinterData connection=0x%lx type=%lu client=%s key=%s value=%s size=%lu -> %lu",
      (unsigned long)connection, (unsigned long)type, Text(client).c_str(), Text(key).c_str(), Text(value).c_str(),
      (unsigned long)size, (unsigned long)answer);
  return answer;
}

STAND_IN_EXPORT DWORD WINAPI OMDevmodeSize(DWORD connection, DWORD type, LPCSTR client, DWORD* size) {
  DWORD forced;
  if (Force("OMDevmodeSize", &forced)) return forced;
  std::string hex;
  DWORD answer = kNotFound, bytes = 0;
  if (Value("devmode", &hex)) {
    answer = 0;
    bytes = DWORD(Number("devmodeclaim", stand_in::FromHex(hex).size()));
  }
  if (size) *size = bytes;
  Log("OMDevmodeSize connection=0x%lx type=%lu client=%s -> %lu size=%lu", (unsigned long)connection,
      (unsigned long)type, Text(client).c_str(), (unsigned long)answer, (unsigned long)bytes);
  return answer;
}

STAND_IN_EXPORT DWORD WINAPI OMDevmode(DWORD connection, DWORD type, LPCSTR client, DWORD size, BYTE* buffer) {
  DWORD forced;
  if (Force("OMDevmode", &forced)) return forced;
  std::string hex;
  DWORD answer = kNotFound;
  if (Value("devmode", &hex)) {
    std::vector<unsigned char> bytes = stand_in::FromHex(hex);
    if (buffer && !bytes.empty()) memcpy(buffer, bytes.data(), bytes.size() < size ? bytes.size() : size);
    answer = 0;
  }
  Log("OMDevmode connection=0x%lx type=%lu client=%s size=%lu -> %lu", (unsigned long)connection, (unsigned long)type,
      Text(client).c_str(), (unsigned long)size, (unsigned long)answer);
  return answer;
}

STAND_IN_EXPORT DWORD WINAPI OMSetDevmode(DWORD type, LPCWSTR printer, LPCWSTR dll, LPCSTR function, DWORD zero1,
                                          DWORD zero2) {
  DWORD forced;
  if (Force("OMSetDevmode", &forced)) return forced;
  Log("OMSetDevmode type=%lu printer=\"%s\" dll=\"%s\" function=%s zero=%lu,%lu -> 0", (unsigned long)type,
      stand_in::Utf8(printer).c_str(), stand_in::Utf8(dll).c_str(), Text(function).c_str(), (unsigned long)zero1,
      (unsigned long)zero2);
  return 0;
}

// The exports the driver never calls take no arguments: a stray call is logged and answered
// without touching the caller's stack beyond what a call of none would.
STAND_IN_EXPORT DWORD WINAPI OMRegFileGetData() {
  Log("unexpected OMRegFileGetData");
  return 1;
}
STAND_IN_EXPORT DWORD WINAPI OMSaveDevmodeClear() {
  Log("unexpected OMSaveDevmodeClear");
  return 1;
}
STAND_IN_EXPORT DWORD WINAPI OMPrintConfigConnect() {
  Log("unexpected OMPrintConfigConnect");
  return 1;
}
