// Small helpers of the ini and file tests: files under the machine root by host path.
#pragma once
#include <stdio.h>
#include <sys/stat.h>

#include <fstream>
#include <sstream>
#include <string>

#include "platform/win32.h"
#include "support/machine_fixture.h"

namespace common_ini_test {

// Host path of a Windows path below C:\ (given with forward slashes, relative to C:\).
inline std::string OnC(const std::string& root, const std::string& rel) { return root + "/c/" + rel; }

inline void MakeFolder(const std::string& host) {
  std::string path;
  std::stringstream parts(host);
  std::string part;
  while (std::getline(parts, part, '/')) {
    path += part + "/";
    mkdir(path.c_str(), 0777);
  }
}

inline void WriteHostFile(const std::string& host, const std::string& bytes) {
  std::ofstream out(host, std::ios::binary);
  out << bytes;
}

inline std::string ReadHostFile(const std::string& host) {
  std::ifstream in(host, std::ios::binary);
  std::stringstream all;
  all << in.rdbuf();
  return all.str();
}

inline bool HostExists(const std::string& host) {
  struct stat st;
  return stat(host.c_str(), &st) == 0;
}

inline std::u16string W(const char* text) { return std::u16string(text, text + strlen(text)); }

inline FILETIME LastWrite(LPCWSTR path) {
  FILETIME t = {};
  HANDLE h = CreateFileW(path, 0, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  if (h != INVALID_HANDLE_VALUE) {
    GetFileTime(h, nullptr, nullptr, &t);
    CloseHandle(h);
  }
  return t;
}

inline bool SetLastWrite(LPCWSTR path, ULONGLONG value) {
  FILETIME t = {DWORD(value), DWORD(value >> 32)};
  HANDLE h = CreateFileW(path, GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  if (h == INVALID_HANDLE_VALUE) return false;
  BOOL ok = SetFileTime(h, nullptr, nullptr, &t);
  CloseHandle(h);
  return ok != FALSE;
}

inline ULONGLONG TimeValue(FILETIME t) { return (ULONGLONG(t.dwHighDateTime) << 32) | t.dwLowDateTime; }

}  // namespace common_ini_test
