// Keys merged into a section of an ini file with one rewrite.
#include "core/store/ini_merge.h"

#include <string.h>

#include "core/common/mem.h"

namespace {

// Appends length bytes at *position, growing the buffer as the key writer does; the text stays
// terminated. False when it cannot grow.
bool AppendText(IniSectionBuffer* buffer, DWORD* position, const char* text, DWORD length) {
  if (length > 0x3FFFFFFF || *position > 0x3FFFFFFF) return false;
  const DWORD want = *position + length + 1;
  if (want > buffer->capacity) {
    DWORD capacity = buffer->capacity ? buffer->capacity : kIniSectionBufferBytes;
    while (capacity < want) capacity *= 2;
    char* grown = static_cast<char*>(MemAllocZero(capacity));
    if (!grown) return false;
    if (buffer->data) memcpy(grown, buffer->data, *position);
    MemFree(buffer->data);
    buffer->data = grown;
    buffer->capacity = capacity;
  }
  memcpy(buffer->data + *position, text, length);
  *position += length;
  buffer->data[*position] = 0;
  return true;
}

char AsciiLower(char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; }

// The key of a "key=value" line (blanks around it dropped): start and length; false without '='.
bool LineKey(const char* line, const char* end, const char** key, DWORD* length) {
  const char* eq = line;
  while (eq < end && *eq != '=') ++eq;
  if (eq == end) return false;
  const char* a = line;
  while (a < eq && (*a == ' ' || *a == '\t')) ++a;
  const char* b = eq;
  while (b > a && (b[-1] == ' ' || b[-1] == '\t')) --b;
  *key = a;
  *length = DWORD(b - a);
  return true;
}

bool SameKey(const char* a, DWORD na, const char* b, DWORD nb) {
  if (na != nb) return false;
  for (DWORD i = 0; i < na; ++i)
    if (AsciiLower(a[i]) != AsciiLower(b[i])) return false;
  return true;
}

// The old lines of the section (up to where the rewrite replaces it) other than the keys about
// to be written, each as one line.
bool KeepOtherKeys(const char* body, const char* keys, DWORD keysLength, IniSectionBuffer* buffer, DWORD* position) {
  if (!body) return true;
  const IniSectionKeys written(keys);
  for (const char* line = body; *line;) {
    const char* end = line;
    while (*end && *end != '\n') ++end;
    const char* first = line;
    while (first < end && (*first == ' ' || *first == '\t' || *first == '\v' || *first == '\f')) ++first;
    if (first < end && *first == '[') break;
    const char* lineEnd = end > line && end[-1] == '\r' ? end - 1 : end;
    const char* key = nullptr;
    DWORD n = 0;
    bool replaced = false;
    if (lineEnd > line && LineKey(line, lineEnd, &key, &n) && written.MayHoldBytes(key, n)) {
      for (DWORD i = 0; i < keysLength && !replaced;) {
        DWORD j = i;
        while (j < keysLength && keys[j] != '\n') ++j;
        const char* k = nullptr;
        DWORD kn = 0;
        if (LineKey(keys + i, keys + j, &k, &kn) && SameKey(key, n, k, kn)) replaced = true;
        i = j + 1;
      }
    }
    if (!replaced && lineEnd > line) {
      if (!AppendText(buffer, position, line, DWORD(lineEnd - line)) || !AppendText(buffer, position, "\r\n", 2))
        return false;
    }
    line = *end ? end + 1 : end;
  }
  return true;
}

// End of the part of a section that a rewrite replaces: up to a line that starts with '['.
const char* BodyEnd(const char* body) {
  const char* line = body;
  while (*line) {
    const char* first = line;
    while (*first == ' ' || *first == '\t' || *first == '\v' || *first == '\f') ++first;
    if (*first == '[') break;
    while (*line && *line != '\n') ++line;
    if (*line) ++line;
  }
  return line;
}

// Writes keys into the section: the old lines of other keys stay, the keys follow them; one
// rewrite of the file, none when the section would not change.

}  // namespace

BOOL StoreIniTextMergeKeys(DriverContext* ctx, LPCWSTR path, LPCWSTR section, const char* body, const char* keys,
                     DWORD keysLength) {
  IniSectionBuffer merged = {};
  DWORD end = 0;
  bool ok = StoreIniTextBufferInit(&merged) && StoreIniTextPutSection(&end, section, &merged);
  const DWORD headerEnd = end;
  ok = ok && KeepOtherKeys(body, keys, keysLength, &merged, &end) && AppendText(&merged, &end, keys, keysLength);
  if (ok) {
    const DWORD oldLength = body ? DWORD(BodyEnd(body) - body) : 0;
    const bool same = body && oldLength == end - headerEnd && memcmp(body, merged.data + headerEnd, oldLength) == 0;
    if (!same) {
      WritePrivateProfileStringW(nullptr, nullptr, nullptr, path);
      ok = StoreIniTextReplaceSection(ctx, path, section, merged.data, end) != FALSE;
    }
  }
  StoreIniTextBufferFree(&merged);
  return ok ? TRUE : FALSE;
}

