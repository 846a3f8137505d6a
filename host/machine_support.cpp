// What the machine commands share.
#include "host/machine_support.h"

#include <ctype.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <filesystem>

#include "host/host_text.h"
#include "platform/sim.h"

namespace machine_cmd {

int Fail(const std::string& message) {
  fprintf(stderr, "zemshost machine: %s\n", message.c_str());
  return 1;
}

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

bool ParseNumber(const std::string& text, unsigned long long& out) {
  if (text.empty()) return false;
  char* end = nullptr;
  out = strtoull(text.c_str(), &end, 0);
  return end && *end == 0;
}

// ---- typed values (printer data and registry) ----

namespace {

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

}  // namespace

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

// ---- the machine ----

void ChooseRoot(const Args& a) {
  if (const std::string* root = a.Get("root")) SimSetMachineRoot(root->c_str());
}

namespace {

// A Windows folder of the machine as a host path with a trailing '/'.
std::string HostFolder(const std::u16string& windowsFolder) {
  std::string host = SimHostPath(reinterpret_cast<LPCWSTR>(windowsFolder.c_str()));
  return host.empty() ? host : host + "/";
}

}  // namespace

std::string DriverFolderHost() {
  WCHAR folder[MAX_PATH] = {};
  DWORD needed = 0;
  if (!GetPrinterDriverDirectoryW(nullptr, nullptr, 1, reinterpret_cast<LPBYTE>(folder), sizeof folder, &needed))
    return std::string();
  // Version-3 drivers keep their files in the "3" folder of the driver directory.
  return HostFolder(std::u16string(reinterpret_cast<const char16_t*>(folder)) + u"\\3");
}

std::string SystemFolderHost() {
  WCHAR folder[MAX_PATH] = {};
  UINT n = GetSystemDirectoryW(folder, MAX_PATH);
  if (!n || n >= MAX_PATH) return std::string();
  return HostFolder(std::u16string(reinterpret_cast<const char16_t*>(folder)));
}

void CreateMachineFolders() {
  std::error_code ec;
  std::filesystem::create_directories(DriverFolderHost(), ec);
  WCHAR windows[MAX_PATH] = {};
  UINT n = GetWindowsDirectoryW(windows, MAX_PATH);
  if (n && n < MAX_PATH)
    std::filesystem::create_directories(
        HostFolder(std::u16string(reinterpret_cast<const char16_t*>(windows)) + u"\\system"), ec);
}

}  // namespace machine_cmd
