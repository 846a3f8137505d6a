// The machine root, the reset hooks and the UTF-8 helpers of the simulated machine.
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <mutex>
#include <vector>

#include "platform/sim.h"
#include "platform/sim/internal.h"

namespace winsim {
namespace {

std::mutex g_rootLock;
std::string g_root;

std::vector<void (*)()>& Hooks() {
  static std::vector<void (*)()> hooks;
  return hooks;
}

std::string DefaultRoot() {
  const char* env = getenv("ZEMS_MACHINE_ROOT");
  if (env && *env) return env;
  return "/tmp/zems-machine-" + std::to_string(getuid());
}

// Called with g_rootLock held.
void SetRoot(const std::string& root) {
  g_root = root;
  while (g_root.size() > 1 && g_root.back() == '/') g_root.pop_back();
  if (!g_root.empty()) mkdir(g_root.c_str(), 0777);
}

}  // namespace

std::string RootPath() {
  std::lock_guard<std::mutex> hold(g_rootLock);
  if (g_root.empty()) SetRoot(DefaultRoot());
  return g_root;
}

void RegisterResetHook(void (*hook)()) {
  std::lock_guard<std::mutex> hold(g_rootLock);
  Hooks().push_back(hook);
}

size_t WideLength(const WCHAR* text) {
  size_t n = 0;
  if (text)
    while (text[n]) ++n;
  return n;
}

bool AppendUtf8(const WCHAR* text, size_t count, std::string* out) {
  bool valid = true;
  for (size_t i = 0; i < count; ++i) {
    uint32_t c = text[i];
    if (c >= 0xD800 && c <= 0xDBFF && i + 1 < count && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF) {
      c = 0x10000 + ((c - 0xD800) << 10) + (text[i + 1] - 0xDC00);
      ++i;
    } else if (c >= 0xD800 && c <= 0xDFFF) {
      c = 0xFFFD;
      valid = false;
    }
    if (c < 0x80) {
      out->push_back(char(c));
    } else if (c < 0x800) {
      out->push_back(char(0xC0 | (c >> 6)));
      out->push_back(char(0x80 | (c & 0x3F)));
    } else if (c < 0x10000) {
      out->push_back(char(0xE0 | (c >> 12)));
      out->push_back(char(0x80 | ((c >> 6) & 0x3F)));
      out->push_back(char(0x80 | (c & 0x3F)));
    } else {
      out->push_back(char(0xF0 | (c >> 18)));
      out->push_back(char(0x80 | ((c >> 12) & 0x3F)));
      out->push_back(char(0x80 | ((c >> 6) & 0x3F)));
      out->push_back(char(0x80 | (c & 0x3F)));
    }
  }
  return valid;
}

std::string ToUtf8(const WCHAR* text, size_t count) {
  std::string out;
  if (!text) return out;
  if (count == size_t(-1)) count = WideLength(text);
  AppendUtf8(text, count, &out);
  return out;
}

bool AppendUtf16(const unsigned char* s, size_t n, std::u16string* out) {
  bool valid = true;
  for (size_t i = 0; i < n;) {
    uint32_t c = s[i];
    size_t len = c < 0x80 ? 1 : (c >= 0xC2 && c <= 0xDF) ? 2 : (c >= 0xE0 && c <= 0xEF) ? 3 : (c >= 0xF0 && c <= 0xF4) ? 4 : 0;
    bool ok = len != 0 && i + len <= n;
    if (ok && len > 1) {
      c &= 0xFF >> (len + 1);
      for (size_t k = 1; k < len && ok; ++k) {
        if ((s[i + k] & 0xC0) != 0x80) ok = false;
        c = (c << 6) | (s[i + k] & 0x3F);
      }
      if (ok && ((len == 3 && (c < 0x800 || (c >= 0xD800 && c <= 0xDFFF))) || (len == 4 && (c < 0x10000 || c > 0x10FFFF))))
        ok = false;
    }
    if (!ok) {
      // One replacement for the longest start of a well-formed sequence (at least the byte
      // itself), as Unicode recommends: a sequence cut short is one bad character, not several.
      size_t prefix = 1;
      if (len > 1) {
        const unsigned char lead = s[i];
        unsigned char lo = lead == 0xE0 ? 0xA0 : lead == 0xF0 ? 0x90 : 0x80;
        unsigned char hi = lead == 0xED ? 0x9F : lead == 0xF4 ? 0x8F : 0xBF;
        while (prefix < len && i + prefix < n && s[i + prefix] >= lo && s[i + prefix] <= hi) {
          ++prefix;
          lo = 0x80;
          hi = 0xBF;
        }
      }
      valid = false;
      *out += u'\xFFFD';
      i += prefix;
      continue;
    }
    if (c >= 0x10000) {
      c -= 0x10000;
      *out += char16_t(0xD800 + (c >> 10));
      *out += char16_t(0xDC00 + (c & 0x3FF));
    } else {
      *out += char16_t(c);
    }
    i += len;
  }
  return valid;
}

std::u16string ToUtf16(const std::string& text) {
  std::u16string out;
  AppendUtf16(reinterpret_cast<const unsigned char*>(text.data()), text.size(), &out);
  return out;
}

}  // namespace winsim

const char* SimMachineRoot(void) {
  static thread_local std::string copy;
  copy = winsim::RootPath();
  return copy.c_str();
}

void SimSetMachineRoot(const char* hostPath) {
  std::vector<void (*)()> hooks;
  {
    std::lock_guard<std::mutex> hold(winsim::g_rootLock);
    winsim::SetRoot(hostPath ? hostPath : "");
    hooks = winsim::Hooks();
  }
  for (auto hook : hooks) hook();
}

const char* SimHostPath(LPCWSTR windowsPath) {
  static thread_local std::string copy;
  copy = windowsPath ? winsim::HostPathFor(windowsPath) : std::string();
  return copy.c_str();
}
