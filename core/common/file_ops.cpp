// File operations and the copy-by-mode family.
#include "core/common/file_ops.h"

#include "core/common/path_text.h"
#include "core/common/text.h"

namespace {

// a + b into out (MAX_PATH characters); false when it does not fit.
bool Join(LPWSTR out, LPCWSTR a, LPCWSTR b) {
  size_t na = StrWideLength(a), nb = StrWideLength(b);
  if (na + nb + 1 > MAX_PATH) return false;
  for (size_t i = 0; i < na; ++i) out[i] = a[i];
  for (size_t i = 0; i < nb; ++i) out[na + i] = b[i];
  out[na + nb] = 0;
  return true;
}

bool IsAbsolute(LPCWSTR path) { return path && path[0] && path[1] == ':'; }

bool Exists(LPCWSTR path) { return GetFileAttributesW(path) != INVALID_FILE_ATTRIBUTES; }

// Copies source over target so that the old target survives a failed copy: the copy is made
// beside the target and moved over it only when complete.
BOOL CopyReplacing(LPCWSTR source, LPCWSTR target) {
  WCHAR temp[MAX_PATH];
  if (!Join(temp, target, TEXT(".~zc"))) {
    // No room for a neighbour name: CopyFileW itself only replaces the target on success.
    if (Exists(target)) SetFileAttributesW(target, FILE_ATTRIBUTE_NORMAL);
    return FileCopyNormal(source, target, FALSE);
  }
  if (Exists(temp)) FileDelete(temp);
  if (!FileCopyNormal(source, temp, FALSE)) {
    FileDelete(temp);
    return FALSE;
  }
  // A read-only or hidden target could not be replaced otherwise.
  if (Exists(target)) SetFileAttributesW(target, FILE_ATTRIBUTE_NORMAL);
  if (!MoveFileExW(temp, target, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    FileDelete(temp);
    return FALSE;
  }
  return TRUE;
}

// The common rule of the copy-by-mode family once both paths are known.
BOOL CopyByRule(LPCWSTR source, LPCWSTR target, WORD mode, int rule) {
  if (lstrcmpiW(source, target) == 0) return TRUE;
  if (!FileExists(source)) return FALSE;
  bool targetExists = FileExists(target) != FALSE;
  if (mode == kCopyIfMissing) {
    if (targetExists) return TRUE;
    return FileCopyNormal(source, target, FALSE);
  }
  if (targetExists && FileIsUpToDate(source, target, rule)) return FALSE;
  return CopyReplacing(source, target);
}

}  // namespace

BOOL FileExists(LPCWSTR path) {
  if (!path) return FALSE;
  HANDLE h = CreateFileW(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) return FALSE;
  CloseHandle(h);
  return TRUE;
}

BOOL FileDelete(LPCWSTR path) {
  if (!path) return FALSE;
  if (!SetFileAttributesW(path, FILE_ATTRIBUTE_NORMAL)) return FALSE;
  return DeleteFileW(path) ? TRUE : FALSE;
}

BOOL FileDeleteMatching(LPCWSTR pattern) {
  if (!pattern) return FALSE;
  LPCWSTR leaf = PathFindLeaf(pattern);
  size_t folderChars = size_t(leaf - pattern);
  if (folderChars >= MAX_PATH) return FALSE;
  WCHAR folder[MAX_PATH];
  for (size_t i = 0; i < folderChars; ++i) folder[i] = pattern[i];
  folder[folderChars] = 0;

  WIN32_FIND_DATAW found;
  HANDLE find = FindFirstFileW(pattern, &found);
  if (find == INVALID_HANDLE_VALUE) return FALSE;
  BOOL deleted = FALSE;
  do {
    if (lstrcmpW(found.cFileName, TEXT(".")) == 0 || lstrcmpW(found.cFileName, TEXT("..")) == 0) continue;
    WCHAR path[MAX_PATH];
    if (!Join(path, folder, found.cFileName)) continue;
    if (SetFileAttributesW(path, FILE_ATTRIBUTE_NORMAL) && DeleteFileW(path)) deleted = TRUE;
  } while (FindNextFileW(find, &found));
  FindClose(find);
  return deleted;
}

BOOL FileCopyNormal(LPCWSTR source, LPCWSTR target, BOOL failIfExists) {
  if (!source || !target) return FALSE;
  return CopyFileW(source, target, failIfExists) && SetFileAttributesW(target, FILE_ATTRIBUTE_NORMAL) &&
         SetFileAttributesW(target, FILE_ATTRIBUTE_ARCHIVE);
}

BOOL FileClearReadOnly(LPCWSTR path) {
  DWORD attributes = path ? GetFileAttributesW(path) : INVALID_FILE_ATTRIBUTES;
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY))
    SetFileAttributesW(path, attributes & ~DWORD(FILE_ATTRIBUTE_READONLY));
  return TRUE;
}

BOOL FileIsUpToDate(LPCWSTR source, LPCWSTR target, int rule) {
  if (!source || !target) return FALSE;
  FILETIME times[2] = {};
  LPCWSTR paths[2] = {source, target};
  for (int i = 0; i < 2; ++i) {
    HANDLE h = CreateFileW(paths[i], 0, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) return FALSE;
    BOOL got = GetFileTime(h, nullptr, nullptr, &times[i]);
    CloseHandle(h);
    if (!got) return FALSE;
  }
  LONG order = CompareFileTime(&times[1], &times[0]);  // target against source
  if (rule == kUpToDateNotOlder) return order >= 0;
  if (rule == kUpToDateSameTime) return order == 0;
  return FALSE;
}

BOOL FileCreateDirectory(LPCWSTR path) {
  if (!path) return FALSE;
  if (CreateDirectoryW(path, nullptr)) return TRUE;
  if (GetLastError() != ERROR_ALREADY_EXISTS) return FALSE;
  DWORD attributes = GetFileAttributesW(path);
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

LONG FileReadBytes(HANDLE file, LPVOID buffer, DWORD cbBuffer) {
  DWORD done = 0;
  if (!ReadFile(file, buffer, cbBuffer, &done, nullptr) || done != cbBuffer) return -1;
  return LONG(cbBuffer);
}

LONG FileWriteBytes(HANDLE file, LPCVOID buffer, DWORD cbBuffer) {
  DWORD done = 0;
  if (!WriteFile(file, buffer, cbBuffer, &done, nullptr) || done != cbBuffer) return -1;
  return LONG(cbBuffer);
}

BOOL FileCopyBetweenFolders(LPCWSTR name, LPCWSTR sourceFolder, LPCWSTR targetFolder, WORD mode) {
  if (!name || !*name || !sourceFolder || !*sourceFolder || !targetFolder || !*targetFolder) return FALSE;
  WCHAR source[MAX_PATH], target[MAX_PATH];
  if (!Join(source, sourceFolder, name) || !Join(target, targetFolder, name)) return FALSE;
  return CopyByRule(source, target, mode, kUpToDateNotOlder);
}

BOOL FileCopyByMode(LPCWSTR target, LPCWSTR source, WORD mode) {
  if (!IsAbsolute(target) || !IsAbsolute(source)) return FALSE;
  return CopyByRule(source, target, mode, kUpToDateSameTime);
}

BOOL FileCopyByRule(LPCWSTR source, LPCWSTR target, WORD mode, int rule) {
  return CopyByRule(source, target, mode, rule);
}
