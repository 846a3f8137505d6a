// Keys merged into one section of an ini file with a single rewrite, and the quick test of
// which keys a section held in memory can contain. Both follow the in-memory text reader's
// rules: a key is the bytes before its line's first '=', compared with ASCII case ignored;
// a section's body ends at a line that starts with '['.
#pragma once
#include "core/store/ini_text.h"
#include "platform/win32.h"

struct DriverContext;

// Which keys a section of a file read into memory can hold: a lookup of a key the section does
// not hold would scan the whole section twice and send the next lookup back to its start.
// Keys are told apart as the text reader does: the bytes before the line's first '=', ASCII
// case ignored. A section with other bytes in a key is not filtered.
class IniSectionKeys {
 public:
  explicit IniSectionKeys(const char* body) {
    if (!body) {
      unfiltered_ = true;
      return;
    }
    for (const char* line = body; *line && *line != '[';) {
      const char* p = line;
      DWORD h = kSeed;
      bool ascii = true;
      while (*p && *p != '=' && *p != '\r' && *p != '\n') {
        if (BYTE(*p) >= 0x80) ascii = false;
        h = Mix(h, *p++);
      }
      if (*p == '=') {
        if (!ascii) unfiltered_ = true;
        Set(h);
      }
      while (*p && *p != '\n') ++p;
      line = *p ? p + 1 : p;
    }
  }
  bool MayHoldBytes(const char* key, DWORD length) const {
    if (unfiltered_) return true;
    DWORD h = kSeed;
    for (DWORD i = 0; i < length; ++i) {
      if (BYTE(key[i]) >= 0x80) return true;
      h = Mix(h, key[i]);
    }
    return Test(h);
  }
  bool MayHold(const WCHAR* key) const {
    if (unfiltered_) return true;
    DWORD h = kSeed;
    for (const WCHAR* k = key; *k; ++k) {
      if (*k >= 0x80) return true;
      h = Mix(h, char(*k));
    }
    return Test(h);
  }

 private:
  static constexpr DWORD kSeed = 2166136261u;
  static DWORD Mix(DWORD h, char c) {
    if (c >= 'A' && c <= 'Z') c = char(c - 'A' + 'a');
    return (h ^ BYTE(c)) * 16777619u;
  }
  void Set(DWORD h) {
    bits_[(h & 8191) / 32] |= 1u << (h % 32);
    bits_[((h >> 13) & 8191) / 32] |= 1u << ((h >> 13) % 32);
  }
  bool Test(DWORD h) const {
    return (bits_[(h & 8191) / 32] & (1u << (h % 32))) && (bits_[((h >> 13) & 8191) / 32] & (1u << ((h >> 13) % 32)));
  }
  DWORD bits_[256] = {};
  bool unfiltered_ = false;
};

// Writes the "key=value" lines of keys (keysLength bytes) into the section: the lines of other
// keys in its old body (body: the section's text in the file read into memory, or null when
// the file has no such section) stay in their order, the keys follow them; the file is
// rewritten once (StoreIniTextReplaceSection: the section goes first, a failure leaves the
// old file and its system error as the context's status), and not at all when the section
// would not change. 1 on success.
BOOL StoreIniTextMergeKeys(DriverContext* ctx, LPCWSTR path, LPCWSTR section, const char* body, const char* keys,
                           DWORD keysLength);
