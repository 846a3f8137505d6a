// Helpers shared by the conformance cases.
#include "conformance/conformance_support.h"

#include <gtest/gtest.h>

namespace conformance {

bool WineIgnoresReadOnly() {
  if (!zems_test::UnderWine()) return false;
  TempFolder folder;
  WString probe = folder.Path() + TEXT("\\probe");
  WriteBytes(probe, "p");
  SetFileAttributesW(probe.c_str(), FILE_ATTRIBUTE_READONLY);
  HANDLE file = CreateFileW(probe.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  CloseHandle(file);
  return true;
}

TempFolder::TempFolder() {
  const WString base = TEXT("C:\\zemstest");
  CreateDirectoryW(base.c_str(), nullptr);
  // The unique file name reserves the folder name beside it.
  WCHAR name[MAX_PATH] = {};
  if (GetTempFileNameW(base.c_str(), TEXT("zt"), 0, name) == 0) {
    ADD_FAILURE() << "GetTempFileNameW failed: " << GetLastError();
    return;
  }
  marker_ = name;
  path_ = marker_ + TEXT("d");
  if (!CreateDirectoryW(path_.c_str(), nullptr)) ADD_FAILURE() << "CreateDirectoryW failed: " << GetLastError();
}

TempFolder::~TempFolder() {
  if (!path_.empty()) RemoveTree(path_);
  if (!marker_.empty()) DeleteFileW(marker_.c_str());
}

void RemoveTree(const WString& folder) {
  WIN32_FIND_DATAW data;
  HANDLE find = FindFirstFileW((folder + TEXT("\\*")).c_str(), &data);
  if (find != INVALID_HANDLE_VALUE) {
    do {
      WString name = data.cFileName;
      if (name == TEXT(".") || name == TEXT("..")) continue;
      WString path = folder + TEXT("\\") + name;
      if ((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && !(data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT)) {
        RemoveTree(path);
      } else if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        RemoveDirectoryW(path.c_str());
      } else {
        SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileW(path.c_str());
      }
    } while (FindNextFileW(find, &data));
    FindClose(find);
  }
  SetFileAttributesW(folder.c_str(), FILE_ATTRIBUTE_NORMAL);
  RemoveDirectoryW(folder.c_str());
}

void WriteBytes(const WString& path, const std::string& bytes) {
  HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE) << "cannot create a file: " << GetLastError();
  DWORD written = 0;
  EXPECT_TRUE(WriteFile(file, bytes.data(), DWORD(bytes.size()), &written, nullptr));
  EXPECT_EQ(written, bytes.size());
  CloseHandle(file);
}

std::string ReadBytes(const WString& path) {
  HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    ADD_FAILURE() << "cannot open a file: " << GetLastError();
    return std::string();
  }
  std::string bytes(GetFileSize(file, nullptr), '\0');
  DWORD read = 0;
  if (!bytes.empty()) {
    EXPECT_TRUE(ReadFile(file, &bytes[0], DWORD(bytes.size()), &read, nullptr));
  }
  CloseHandle(file);
  bytes.resize(read);
  return bytes;
}

FILETIME MakeFileTime(unsigned long long ticks) {
  FILETIME ft;
  ft.dwLowDateTime = DWORD(ticks & 0xFFFFFFFFu);
  ft.dwHighDateTime = DWORD(ticks >> 32);
  return ft;
}

unsigned long long Ticks(const FILETIME& ft) {
  return (static_cast<unsigned long long>(ft.dwHighDateTime) << 32) | ft.dwLowDateTime;
}

}  // namespace conformance
