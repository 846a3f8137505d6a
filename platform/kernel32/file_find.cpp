// FindFirstFile / FindNextFile: folder listings filtered by a wildcard pattern, blind to case.
#include <dirent.h>
#include <sys/stat.h>

#include <algorithm>
#include <vector>

#include "platform/kernel32/file_internal.h"

namespace winsim {
namespace {

struct FindObject : KernelObject {
  std::vector<WIN32_FIND_DATAW> entries;
  size_t next = 0;
};

// '*' matches any run of characters, '?' exactly one; case is ignored.
bool Matches(const char16_t* pattern, const char16_t* name) {
  const char16_t* star = nullptr;
  const char16_t* resume = nullptr;
  while (*name) {
    if (*pattern == u'*') {
      star = pattern++;
      resume = name;
    } else if (*pattern && (*pattern == u'?' || UpperCaseOf(*pattern) == UpperCaseOf(*name))) {
      ++pattern;
      ++name;
    } else if (star) {
      pattern = star + 1;
      name = ++resume;
    } else {
      return false;
    }
  }
  while (*pattern == u'*') ++pattern;
  return *pattern == 0;
}

// Windows' old rule: a pattern's "." also matches the end of a name without extension, so
// "*.*" finds every name and "readme.*" finds "readme".
bool MatchesName(const std::u16string& pattern, const std::u16string& name) {
  if (pattern == u"*" || pattern == u"*.*") return true;
  if (Matches(pattern.c_str(), name.c_str())) return true;
  return name.find(u'.') == std::u16string::npos && Matches(pattern.c_str(), (name + u".").c_str());
}

// Temporary files of an atomic replacement (".<name>.XXXXXX") are not shown.
bool IsReplacementTemp(const std::string& name) {
  if (name.size() < 9 || name[0] != '.') return false;
  size_t dot = name.find_last_of('.');
  return dot != 0 && name.size() - dot == 7;
}

void Fill(WIN32_FIND_DATAW* data, const std::u16string& name, const std::string& hostPath) {
  *data = WIN32_FIND_DATAW();
  struct stat st;
  if (lstat(hostPath.c_str(), &st) == 0) {
    data->dwFileAttributes = AttributesOf(hostPath, st);
    unsigned long long size = S_ISREG(st.st_mode) ? static_cast<unsigned long long>(st.st_size) : 0;
    data->nFileSizeHigh = DWORD(size >> 32);
    data->nFileSizeLow = DWORD(size & 0xFFFFFFFFu);
    HostFileTimes(-1, hostPath, &data->ftCreationTime, &data->ftLastAccessTime, &data->ftLastWriteTime);
  } else {
    data->dwFileAttributes = FILE_ATTRIBUTE_NORMAL;
  }
  size_t n = std::min<size_t>(name.size(), MAX_PATH - 1);
  std::copy(name.begin(), name.begin() + n, data->cFileName);
}

bool Next(FindObject& find, LPWIN32_FIND_DATAW data) {
  if (find.next >= find.entries.size()) {
    SetLastError(ERROR_NO_MORE_FILES);
    return false;
  }
  *data = find.entries[find.next++];
  return true;
}

}  // namespace
}  // namespace winsim

WINSIM_API HANDLE WINAPI FindFirstFileW(LPCWSTR pattern, LPWIN32_FIND_DATAW data) {
  using namespace winsim;
  if (!pattern || !data) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return INVALID_HANDLE_VALUE;
  }
  std::u16string p = pattern;
  for (auto& c : p)
    if (c == u'/') c = u'\\';
  size_t slash = p.find_last_of(u'\\');
  std::u16string folder, leaf;
  if (slash != std::u16string::npos) {
    folder = p.substr(0, slash + 1);
    leaf = p.substr(slash + 1);
  } else if (p.size() >= 2 && p[1] == u':') {
    folder = p.substr(0, 2) + u"\\";
    leaf = p.substr(2);
  } else {
    folder = u"C:\\";
    leaf = p;
  }
  if (leaf.empty()) {
    SetLastError(ERROR_FILE_NOT_FOUND);
    return INVALID_HANDLE_VALUE;
  }
  std::u16string fullFolder = FullWindowsPath(folder);
  std::string hostFolder = HostPathFor(fullFolder);
  struct stat st;
  if (hostFolder.empty() || stat(hostFolder.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) {
    SetLastError(ERROR_PATH_NOT_FOUND);
    return INVALID_HANDLE_VALUE;
  }
  auto find = std::make_shared<FindObject>();
  bool driveRoot = fullFolder.size() <= 3;
  std::vector<std::pair<std::u16string, std::string>> names;  // shown name, host name
  if (DIR* dir = opendir(hostFolder.c_str())) {
    while (dirent* e = readdir(dir)) {
      std::string host = e->d_name;
      if (host == "." || host == "..") {
        if (!driveRoot) names.emplace_back(ToUtf16(host), host);
        continue;
      }
      if (IsReplacementTemp(host)) continue;
      names.emplace_back(ToUtf16(host), host);
    }
    closedir(dir);
  }
  std::sort(names.begin(), names.end(),
            [](const auto& a, const auto& b) { return UpperCaseText(a.first) < UpperCaseText(b.first); });
  for (const auto& entry : names) {
    if (!MatchesName(leaf, entry.first)) continue;
    WIN32_FIND_DATAW found;
    std::string hostPath = entry.second == "." ? hostFolder
                           : entry.second == ".." ? hostFolder + "/.."
                                                  : hostFolder + "/" + entry.second;
    Fill(&found, entry.first, hostPath);
    find->entries.push_back(found);
  }
  if (find->entries.empty()) {
    SetLastError(ERROR_FILE_NOT_FOUND);
    return INVALID_HANDLE_VALUE;
  }
  Next(*find, data);
  HANDLE handle = AddHandle(find);
  SetLastError(ERROR_SUCCESS);
  return handle;
}

WINSIM_API BOOL WINAPI FindNextFileW(HANDLE handle, LPWIN32_FIND_DATAW data) {
  auto find = winsim::FindHandleAs<winsim::FindObject>(handle);
  if (!find) {
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  if (!data) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  return winsim::Next(*find, data) ? TRUE : FALSE;
}

WINSIM_API BOOL WINAPI FindClose(HANDLE handle) {
  if (!winsim::FindHandleAs<winsim::FindObject>(handle)) {
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  winsim::RemoveHandle(handle);
  return TRUE;
}
