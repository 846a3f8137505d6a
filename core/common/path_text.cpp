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

BOOL PathReplaceExtension(LPWSTR buffer, LPCWSTR path, LPCWSTR extension, DWORD size) {
  if (!buffer || !path || !extension || !*path) return FALSE;
  LPCWSTR leaf = PathFindLeaf(path);
  LPCWSTR keepEnd = leaf;  // a leaf without '.' is replaced whole
  for (LPCWSTR p = leaf; *p; ++p)
    if (*p == '.') keepEnd = p + 1;
  size_t keep = size_t(keepEnd - path), ext = StrWideLength(extension);
  if (keep + ext + 1 > size) return FALSE;
  for (size_t i = 0; i < keep; ++i) buffer[i] = path[i];
  for (size_t i = 0; i < ext; ++i) buffer[keep + i] = extension[i];
  buffer[keep + ext] = 0;
  return TRUE;
}

BOOL PathWithExtRsq(LPWSTR buffer, LPCWSTR path, DWORD size) {
  return PathReplaceExtension(buffer, path, TEXT("rsq"), size);
}
