// What the scripted stand-ins share: their files under <root>/stand-ins/, read at every call
// so that a test or another process can change the script between two calls, and their log.
#pragma once
#include <stdarg.h>
#include <stdio.h>
#include <stdlib.h>
#include <sys/stat.h>

#include <string>
#include <vector>

#include "platform/sim.h"
#include "platform/win32.h"

// Nothing of this is exported: a stand-in exports only its DLL's own names.
#pragma GCC visibility push(hidden)
namespace stand_in {

// The path of a script file; the folder is made when missing, so that the first log line of a
// fresh machine has its place.
inline std::string File(const std::string& name) {
  std::string folder = std::string(SimMachineRoot()) + "/stand-ins";
  mkdir(folder.c_str(), 0777);
  return folder + "/" + name;
}

// The file's lines (without line ends); empty when it does not exist. *exists tells which.
inline std::vector<std::string> Lines(const std::string& name, bool* exists = nullptr) {
  std::vector<std::string> lines;
  FILE* f = fopen(File(name).c_str(), "rb");
  if (exists) *exists = f != nullptr;
  if (!f) return lines;
  std::string line;
  int c;
  while ((c = fgetc(f)) != EOF) {
    if (c == '\n') {
      lines.push_back(line);
      line.clear();
    } else if (c != '\r') {
      line += char(c);
    }
  }
  if (!line.empty()) lines.push_back(line);
  fclose(f);
  return lines;
}

// Replaces the file as a whole (a reader in another process sees the old or the new text).
inline void Rewrite(const std::string& name, const std::vector<std::string>& lines) {
  std::string path = File(name), temp = path + ".new";
  FILE* f = fopen(temp.c_str(), "wb");
  if (!f) return;
  for (const std::string& l : lines) fprintf(f, "%s\n", l.c_str());
  fclose(f);
  rename(temp.c_str(), path.c_str());
}

inline void Log(const std::string& name, const char* format, ...) {
  FILE* f = fopen(File(name).c_str(), "a");
  if (!f) return;
  va_list args;
  va_start(args, format);
  vfprintf(f, format, args);
  va_end(args);
  fputc('\n', f);
  fclose(f);
}

// The forced result of a call named in <stand-in>.force ("<call> <result>" lines).
inline bool Forced(const std::string& file, const std::string& call, DWORD* result) {
  for (const std::string& line : Lines(file)) {
    size_t space = line.find(' ');
    if (space == std::string::npos || line.compare(0, space, call) != 0) continue;
    *result = DWORD(strtoul(line.c_str() + space + 1, nullptr, 0));
    return true;
  }
  return false;
}

inline std::string Hex(const void* data, size_t size) {
  static const char digits[] = "0123456789abcdef";
  std::string out;
  const unsigned char* p = static_cast<const unsigned char*>(data);
  for (size_t i = 0; i < size; ++i) {
    out += digits[p[i] >> 4];
    out += digits[p[i] & 15];
  }
  return out;
}

inline std::vector<unsigned char> FromHex(const std::string& text) {
  std::vector<unsigned char> out;
  for (size_t i = 0; i + 1 < text.size(); i += 2) out.push_back((unsigned char)strtoul(text.substr(i, 2).c_str(), nullptr, 16));
  return out;
}

// UTF-16 text as UTF-8 (unpaired surrogates become '?').
inline std::string Utf8(const WCHAR* text) {
  std::string out;
  if (!text) return out;
  for (; *text; ++text) {
    unsigned c = *text;
    if (c >= 0xD800 && c <= 0xDBFF && text[1] >= 0xDC00 && text[1] <= 0xDFFF) {
      c = 0x10000 + ((c - 0xD800) << 10) + (unsigned(text[1]) - 0xDC00);
      ++text;
    } else if (c >= 0xD800 && c <= 0xDFFF) {
      c = '?';
    }
    if (c < 0x80) {
      out += char(c);
    } else if (c < 0x800) {
      out += char(0xC0 | (c >> 6));
      out += char(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
      out += char(0xE0 | (c >> 12));
      out += char(0x80 | ((c >> 6) & 0x3F));
      out += char(0x80 | (c & 0x3F));
    } else {
      out += char(0xF0 | (c >> 18));
      out += char(0x80 | ((c >> 12) & 0x3F));
      out += char(0x80 | ((c >> 6) & 0x3F));
      out += char(0x80 | (c & 0x3F));
    }
  }
  return out;
}

}  // namespace stand_in
#pragma GCC visibility pop

#define STAND_IN_EXPORT extern "C" __attribute__((visibility("default")))
