// Path text helpers.
#include "core/common/path_text.h"

#include "core/common/text.h"

LPCWSTR PathFindLeaf(LPCWSTR path) {
  if (!path) return nullptr;
  LPCWSTR leaf = path;
  for (LPCWSTR p = path; *p; ++p)
    if (*p == '\\') leaf = p + 1;
  return leaf;
}

LPCWSTR PathFindExtension(LPCWSTR path, int* count) {
  LPCWSTR leaf = PathFindLeaf(path);
  if (!leaf) {
    if (count) *count = 0;
    return nullptr;
  }
  LPCWSTR dot = nullptr;
  for (LPCWSTR p = leaf; *p; ++p)
    if (*p == '.') dot = p;
  if (!dot) {
    if (count) *count = 0;
    return leaf;
  }
  if (count) *count = int(StrWideLength(dot + 1));
  return dot + 1;
}

LPCWSTR PathFindBaseName(LPCWSTR path, int* count) {
  LPCWSTR leaf = PathFindLeaf(path);
  int n = 0;
  if (leaf)
    while (leaf[n] && leaf[n] != '.') ++n;
  if (count) *count = n;
  return leaf;
}

BOOL PathHasShortExtension(LPCWSTR path) {
  int base = 0, ext = 0;
  LPCWSTR leaf = PathFindBaseName(path, &base);
  if (!leaf || base == 0 || !leaf[base]) return FALSE;  // nothing before the first '.', or no '.'
  PathFindExtension(path, &ext);
  return ext >= 1 && ext <= 3;
}

BOOL PathReplaceExtension(LPWSTR buffer, LPCWSTR path, LPCWSTR extension, DWORD cchBuffer) {
  if (!buffer || !path || !extension || !*path) return FALSE;
  LPCWSTR leaf = PathFindLeaf(path);
  LPCWSTR keepEnd = leaf;  // a leaf without '.' is replaced whole
  for (LPCWSTR p = leaf; *p; ++p)
    if (*p == '.') keepEnd = p + 1;
  size_t keep = size_t(keepEnd - path), ext = StrWideLength(extension);
  if (keep + ext + 1 > cchBuffer) return FALSE;
  for (size_t i = 0; i < keep; ++i) buffer[i] = path[i];
  for (size_t i = 0; i < ext; ++i) buffer[keep + i] = extension[i];
  buffer[keep + ext] = 0;
  return TRUE;
}

BOOL PathWithExtRsq(LPWSTR buffer, LPCWSTR path, DWORD cchBuffer) {
  return PathReplaceExtension(buffer, path, TEXT("rsq"), cchBuffer);
}

// ---- the Windows and System folders ----

namespace {

WCHAR* PathInFolder(WCHAR* buffer, DWORD size, const WCHAR* name, bool windows) {
  if (!buffer || !size) return buffer;
  buffer[0] = 0;
  if (!name) return buffer;
  UINT n = windows ? GetWindowsDirectoryW(buffer, size) : GetSystemDirectoryW(buffer, size);
  if (n == 0 || n >= size) {
    buffer[0] = 0;
    return buffer;
  }
  if (n + 1 + StrWideLength(name) + 1 > size) {
    buffer[0] = 0;
    return buffer;
  }
  buffer[n] = u'\\';
  StrJoin(buffer, size, buffer, n + 1, name);
  return buffer;
}

}  // namespace

WCHAR* PathInWindowsDir(WCHAR* buffer, DWORD cchBuffer, const WCHAR* name) { return PathInFolder(buffer, cchBuffer, name, true); }
WCHAR* PathInSystemDir(WCHAR* buffer, DWORD cchBuffer, const WCHAR* name) { return PathInFolder(buffer, cchBuffer, name, false); }

WCHAR* PathFromSystemDirUp(WCHAR* buffer, DWORD cchBuffer, const WCHAR* path) {
  if (!buffer || !cchBuffer) return buffer;
  buffer[0] = 0;
  if (!path) return buffer;
  DWORD levels = 0;
  const WCHAR* rest = path;
  while (rest[0] == u'.' && rest[1] == u'.' && rest[2] == u'\\') {
    ++levels;
    rest += 3;
  }
  if (!levels) return buffer;
  WCHAR system[MAX_PATH];
  UINT n = GetSystemDirectoryW(system, MAX_PATH);
  if (n == 0 || n >= MAX_PATH) return buffer;
  // The levels-th backslash from the end of the System directory ends the part kept.
  DWORD found = 0;
  int position = -1;
  for (int i = int(n) - 1; i >= 0; --i) {
    if (system[i] == u'\\' && ++found == levels) {
      position = i;
      break;
    }
  }
  if (position < 0) return buffer;
  DWORD restLength = StrWideLength(rest);
  if (cchBuffer < DWORD(position) + restLength + 2) return buffer;
  StrJoin(buffer, cchBuffer, system, DWORD(position) + 1, rest);
  return buffer;
}
