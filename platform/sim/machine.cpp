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

std::u16string ToUtf16(const std::string& text) {
  std::u16string out;
  const unsigned char* s = reinterpret_cast<const unsigned char*>(text.data());
  size_t n = text.size();
  for (size_t i = 0; i < n;) {
    uint32_t c = s[i];
    size_t len = c < 0x80 ? 1 : (c >> 5) == 6 ? 2 : (c >> 4) == 14 ? 3 : (c >> 3) == 30 ? 4 : 0;
    if (len == 0 || i + len > n) {
      out += u'\xFFFD';
      ++i;
      continue;
    }
    if (len > 1) {
      c &= 0xFF >> (len + 1);
      bool ok = true;
      for (size_t k = 1; k < len; ++k) {
        if ((s[i + k] & 0xC0) != 0x80) ok = false;
        c = (c << 6) | (s[i + k] & 0x3F);
      }
      if (!ok) {
        out += u'\xFFFD';
        ++i;
        continue;
      }
    }
    if (c >= 0x10000) {
      c -= 0x10000;
      out += char16_t(0xD800 + (c >> 10));
      out += char16_t(0xDC00 + (c & 0x3FF));
    } else {
      out += char16_t(c);
    }
    i += len;
  }
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
