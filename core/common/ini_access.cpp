// Ini wrappers with the section-name rule and the flush after writes.
#include "core/common/ini_access.h"

#include "core/common/mem.h"
#include "core/common/os_tests.h"

namespace {

// The sanitised copy of a section name; null section stays null (section enumeration and
// the flush call pass null on purpose).
class SectionCopy {
 public:
  explicit SectionCopy(LPCWSTR section) : given_(section != nullptr) {
    if (!section) return;
    text_ = static_cast<LPWSTR>(MemAllocZero((kIniSectionChars + 1) * sizeof(WCHAR)));
    if (!text_) return;
    for (DWORD i = 0; i < kIniSectionChars && section[i]; ++i) text_[i] = section[i];
    StoreSanitizeSection(text_);
  }
  ~SectionCopy() { MemFree(text_); }
  SectionCopy(const SectionCopy&) = delete;
  SectionCopy& operator=(const SectionCopy&) = delete;

  // False when a section was given but could not be copied.
  bool ok() const { return !given_ || text_; }
  LPCWSTR text() const { return text_; }

 private:
  bool given_;
  LPWSTR text_ = nullptr;
};

}  // namespace

LPWSTR StoreSanitizeSection(LPWSTR text) {
  return StoreSanitizeSectionWith(text, IniSectionLeadByteRule() && OsIsWin9x());
}

LPWSTR StoreSanitizeSectionWith(LPWSTR text, int leadByteRule) {
  if (!text) return nullptr;
  for (LPWSTR p = text; *p; ++p) {
    if (leadByteRule && IsDBCSLeadByte(BYTE(*p & 0xFF))) {
      if (!p[1]) break;
      ++p;  // the trail of a double-byte character is never a bracket
      continue;
    }
    if (*p == '[' || *p == ']') *p = ',';
  }
  return text;
}

UINT IniReadInt(LPCWSTR section, LPCWSTR key, INT def, LPCWSTR file) {
  SectionCopy copy(section);
  if (!copy.ok()) return UINT(def);
  return GetPrivateProfileIntW(copy.text(), key, def, file);
}

DWORD IniReadString(LPCWSTR section, LPCWSTR key, LPCWSTR def, LPWSTR buffer, DWORD cchBuffer, LPCWSTR file) {
  if (!buffer || cchBuffer == 0) return 0;
  SectionCopy copy(section);
  if (!copy.ok()) {
    for (DWORD i = 0; i < cchBuffer; ++i) buffer[i] = 0;
    DWORD n = 0;
    if (def)
      while (n + 1 < cchBuffer && def[n]) {
        buffer[n] = def[n];
        ++n;
      }
    return n;
  }
  return GetPrivateProfileStringW(copy.text(), key, def, buffer, cchBuffer, file);
}

BOOL IniWriteString(LPCWSTR section, LPCWSTR key, LPCWSTR value, LPCWSTR file) {
  SectionCopy copy(section);
  if (!copy.ok()) return FALSE;
  BOOL written = WritePrivateProfileStringW(copy.text(), key, value, file);
  const DWORD error = GetLastError();
  // Windows may keep ini data cached; the all-null write hands it to the file now.
  WritePrivateProfileStringW(nullptr, nullptr, nullptr, file);
  if (!written) SetLastError(error);  // the failed write's error, not the flush's
  return written;
}

BOOL IniWriteKeepTime(LPCWSTR section, LPCWSTR key, LPCWSTR value, LPCWSTR file, int mode) {
  if (mode != 0 && mode != 1) return FALSE;
  FILETIME lastWrite = {};
  bool timeRead = false;
  HANDLE h = CreateFileW(file, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_ALWAYS,
                         FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h != INVALID_HANDLE_VALUE) {
    timeRead = GetFileTime(h, nullptr, nullptr, &lastWrite) != FALSE;
    CloseHandle(h);
  }
  if (mode == 1 && !timeRead) return FALSE;
  BOOL written = IniWriteString(section, key, value, file);
  if (timeRead) {
    h = CreateFileW(file, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                    FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h != INVALID_HANDLE_VALUE) {
      SetFileTime(h, nullptr, nullptr, &lastWrite);
      CloseHandle(h);
    }
  }
  return written;
}
