// Checks of names, paths and files the status items take from applications (ANSI texts of the
// system code page; a double-byte character is always passed over whole).
#include <string.h>

#include "core/common/file_ops.h"
#include "core/common/os_tests.h"
#include "core/rules/api_readers.h"
#include "exclude/api/api_services.h"

namespace {

bool IsLead(const char* p) { return IsDBCSLeadByte(static_cast<BYTE>(*p)) && p[1]; }

bool SameNoCase(const char* a, const char* b, int n) {
  for (int i = 0; i < n; ++i) {
    char x = a[i], y = b[i];
    if (x >= 'a' && x <= 'z') x = static_cast<char>(x - 32);
    if (y >= 'a' && y <= 'z') y = static_cast<char>(y - 32);
    if (x != y) return false;
  }
  return true;
}

bool HasZvlExtension(const char* text) {
  int length = 0;
  const char* ext = ApiPathExtension(text, &length);
  return length == 3 && SameNoCase(ext, "zvl", 3);
}

bool Widen(const char* text, WCHAR* out) {
  return text && MultiByteToWideChar(CP_ACP, MB_PRECOMPOSED, text, -1, out, MAX_PATH) > 0;
}

// Proves a path can be written: a missing file is created (CREATE_NEW, never over a file that
// appeared meanwhile) and, when its last folder is missing, that folder too; Undo removes only
// what this proof created.
class ProvedPath {
 public:
  ~ProvedPath() { Undo(); }
  bool Prove(const WCHAR* path) {
    memcpy(path_, path, sizeof(path_));
    if (FileExists(path_)) return true;
    if (Create()) return true;
    const DWORD error = GetLastError();
    if (error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS) return true;  // made by another
    if (error != ERROR_FILE_NOT_FOUND && error != ERROR_PATH_NOT_FOUND) return false;
    memcpy(folder_, path_, sizeof(folder_));
    WCHAR* slash = nullptr;
    for (WCHAR* p = folder_; *p; ++p)
      if (*p == u'\\') slash = p;
    if (!slash) return false;
    *slash = 0;
    if (!CreateDirectoryW(folder_, nullptr)) return false;
    createdFolder_ = true;
    if (Create()) return true;
    return GetLastError() == ERROR_FILE_EXISTS;
  }
  void Undo() {
    if (createdFile_) FileDelete(path_);
    if (createdFolder_) RemoveDirectoryW(folder_);
    createdFile_ = createdFolder_ = false;
  }

 private:
  bool Create() {
    HANDLE file = CreateFileW(path_, GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    CloseHandle(file);
    createdFile_ = true;
    return true;
  }
  WCHAR path_[MAX_PATH] = {};
  WCHAR folder_[MAX_PATH] = {};
  bool createdFile_ = false;
  bool createdFolder_ = false;
};

}  // namespace

int ApiIsValidPathChars(const char* text, int allowBackslash) {
  if (!text) return 0;
  for (const char* p = text; *p; ++p) {
    // A lead byte right before the terminator has no trail byte: the text is cut, not a name.
    if (IsDBCSLeadByte(static_cast<BYTE>(*p)) && !p[1]) return 0;
    if (IsLead(p)) {
      ++p;
      continue;
    }
    if (strchr("/:;,*?\"<>|", *p)) return 0;
    if (*p == '\\' && !allowBackslash) return 0;
  }
  return 1;
}

int ApiIsValidFileName(const char* text) { return ApiIsValidPathChars(text, 0); }

int ApiIsValidPath(const char* text) {
  if (!text) return 0;
  if (strlen(text) > 1 && text[1] == ':') text += 2;
  return ApiIsValidPathChars(text, 1);
}

const char* ApiPathLeaf(const char* text) {
  if (!text) return nullptr;
  const char* leaf = text;
  for (const char* p = text; *p; ++p) {
    if (IsLead(p)) {
      ++p;
      continue;
    }
    if (*p == '\\') leaf = p + 1;
  }
  return leaf;
}

const char* ApiPathExtension(const char* text, int* length) {
  if (length) *length = 0;
  const char* leaf = ApiPathLeaf(text);
  if (!leaf) return text;
  const char* dot = nullptr;
  for (const char* p = leaf; *p; ++p) {
    if (IsLead(p)) {
      ++p;
      continue;
    }
    if (*p == '.') dot = p;
  }
  if (!dot) return text;
  if (length) *length = static_cast<int>(strlen(dot + 1));
  return dot + 1;
}

int ApiIsValidFullFileName(const char* text) {
  if (!ApiIsValidPath(text)) return 0;
  const char* leaf = ApiPathLeaf(text);
  if (leaf == text || !leaf[0] || !ApiIsValidFileName(leaf)) return 0;
  return HasZvlExtension(text) ? 1 : 0;
}

int ApiHasChar(const char* text, char character) {
  if (!text) return 0;
  for (const char* p = text; *p; ++p) {
    if (IsLead(p)) {
      ++p;
      continue;
    }
    if (*p == character) return 1;
  }
  return 0;
}

int ApiIsKnownImageKind(LONG kind) { return kind >= 1 && kind <= 3 ? 1 : 0; }

int ApiCheckFileByKind(ApiContext* api, LONG kind, const char* path) {
  (void)api;
  WCHAR wide[MAX_PATH] = {};
  if (!Widen(path, wide) || !ApiIsAbsolutePath(wide)) return 0;
  if (kind == 3) return FileExists(wide) && HasZvlExtension(path) ? 1 : 0;
  if (kind != 2) return 0;
  // A BMP file: the file header, then an information header of 40 bytes.
  HANDLE file = CreateFileW(wide, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return 0;
  BYTE head[18] = {};
  const bool ok = FileReadBytes(file, head, sizeof(head)) == static_cast<LONG>(sizeof(head));
  CloseHandle(file);
  const DWORD infoSize = static_cast<DWORD>(head[14] | (head[15] << 8) | (head[16] << 16) | (head[17] << 24));
  return ok && head[0] == 'B' && head[1] == 'M' && infoSize == 40 ? 1 : 0;
}

int ApiEnsureFileFullPath(const char* path, char* out) {
  WCHAR wide[MAX_PATH] = {};
  if (!Widen(path, wide)) return 0;
  ProvedPath proof;
  if (!proof.Prove(wide)) return 0;
  WCHAR full[MAX_PATH] = {};
  const DWORD n = GetFullPathNameW(wide, MAX_PATH, full, nullptr);
  proof.Undo();
  if (n == 0 || n >= MAX_PATH) return 0;
  if (out && WideCharToMultiByte(CP_ACP, 0, full, -1, out, MAX_PATH, nullptr, nullptr) <= 0) return 0;
  return 1;
}

int ApiShortPathCreating(const char* source, char* out) {
  if (!source || !out) return 0;
  if (!OsIsWin9x()) {
    // Short path forms belong to the old single-user systems; elsewhere the text is kept.
    strncpy(out, source, MAX_PATH - 1);
    out[MAX_PATH - 1] = 0;
    return 1;
  }
  WCHAR wide[MAX_PATH] = {}, shortPath[MAX_PATH] = {};
  if (!Widen(source, wide)) return 0;
  DWORD n = GetShortPathNameW(wide, shortPath, MAX_PATH);
  if (n == 0) {
    const DWORD error = GetLastError();
    if (error != ERROR_FILE_NOT_FOUND && error != ERROR_PATH_NOT_FOUND) return 0;
    // The file is made for a moment, so that its short form exists.
    ProvedPath proof;
    if (!proof.Prove(wide)) return 0;
    n = GetShortPathNameW(wide, shortPath, MAX_PATH);
    proof.Undo();
  }
  if (n == 0 || n >= MAX_PATH) return 0;
  return WideCharToMultiByte(CP_ACP, 0, shortPath, -1, out, MAX_PATH, nullptr, nullptr) > 0 ? 1 : 0;
}
