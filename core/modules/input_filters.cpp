// Input guards of the print-type and authentication fields.
#include "core/modules/input_filters.h"

namespace {

bool Printable(WCHAR ch) { return ch >= 0x20 && ch <= 0x7E; }

// Walks the characters of the bytes that would land: calls visit(lead, trail, isPair) for each
// until it answers false or the limit is reached; answers false when a visit did.
template <typename Visit>
bool EachCharacter(const char* bytes, int length, int limitChars, UINT codePage, Visit visit) {
  if (!bytes) return true;
  int chars = 0;
  for (int i = 0; i < length && bytes[i] != 0 && chars < limitChars; ++chars) {
    const BYTE lead = static_cast<BYTE>(bytes[i]);
    const bool pair = IsDBCSLeadByteEx(codePage, lead) && i + 1 < length && bytes[i + 1] != 0;
    if (!visit(lead, pair)) return false;
    i += pair ? 2 : 1;
  }
  return true;
}

int Length(const WCHAR* text) {
  int n = 0;
  while (text && text[n]) ++n;
  return n;
}

bool StartsWith(const WCHAR* text, const char* prefix) {
  for (int i = 0; prefix[i]; ++i)
    if (text[i] != static_cast<WCHAR>(prefix[i])) return false;
  return true;
}

// Appends `count` characters of `text` at out[*at], keeping room for the terminator.
bool Append(WCHAR* out, int cchOut, int* at, const WCHAR* text, int count) {
  if (count < 0 || *at + count >= cchOut) return false;
  for (int i = 0; i < count; ++i) out[(*at)++] = text[i];
  out[*at] = 0;
  return true;
}

}  // namespace

BOOL InpCharPasses(int filter, WCHAR ch) {
  if (ch == 8) return TRUE;
  switch (filter) {
    case kInpFilterName: return Printable(ch) && ch != '"' && ch != ':';
    case kInpFilterText:
    case kInpFilterPrintable: return Printable(ch);
    default: return FALSE;
  }
}

BOOL InpPasteLettersAndDigits(const char* bytes, int length, int limitChars, UINT codePage) {
  return EachCharacter(bytes, length, limitChars, codePage, [](BYTE b, bool pair) {
    if (pair) return false;
    return (b >= '0' && b <= '9') || (b >= 'A' && b <= 'Z') || (b >= 'a' && b <= 'z');
  });
}

BOOL InpPasteWithoutQuote(const char* bytes, int length, int limitChars, UINT codePage) {
  return EachCharacter(bytes, length, limitChars, codePage, [](BYTE b, bool pair) { return pair || b != '"'; });
}

BOOL InpPasteNameFilter(const char* bytes, int length, int limitChars, UINT codePage) {
  return EachCharacter(bytes, length, limitChars, codePage,
                       [](BYTE b, bool pair) { return !pair && b >= 0x20 && InpCharPasses(kInpFilterName, b); });
}

BOOL InpExpandJobMergeFolder(const WCHAR* setting, const WCHAR* windowsFolder, WCHAR* out, int cchOut) {
  if (!setting || !out || cchOut <= 0) return FALSE;
  out[0] = 0;
  int at = 0;
  const WCHAR* rest = setting;
  if (StartsWith(setting, "<OSDRIVE>")) {
    if (Length(windowsFolder) < 2 || !Append(out, cchOut, &at, windowsFolder, 2)) return FALSE;
    rest = setting + 9;
  } else if (StartsWith(setting, "<OS>")) {
    if (!Append(out, cchOut, &at, windowsFolder, Length(windowsFolder))) return FALSE;
    rest = setting + 4;
  }
  if (!Append(out, cchOut, &at, rest, Length(rest))) {
    out[0] = 0;
    return FALSE;
  }
  return TRUE;
}

BOOL InpJobMergeNameValid(const WCHAR* name) {
  static const char kForbidden[] = "\\/:;,*?\"<>|";
  for (int i = 0; name && name[i]; ++i)
    for (const char* f = kForbidden; *f; ++f)
      if (name[i] == static_cast<WCHAR>(*f)) return FALSE;
  return TRUE;
}

BOOL InpJoinJobMergeFile(const WCHAR* folder, const WCHAR* name, const WCHAR* extension, WCHAR* out, int cchOut) {
  if (!out || cchOut <= 0) return FALSE;
  out[0] = 0;
  int at = 0;
  const WCHAR slash[] = {'\\'}, point[] = {'.'};
  if (Append(out, cchOut, &at, folder, Length(folder)) && Append(out, cchOut, &at, slash, 1) &&
      Append(out, cchOut, &at, name, Length(name)) && Append(out, cchOut, &at, point, 1) &&
      Append(out, cchOut, &at, extension, Length(extension)))
    return TRUE;
  out[0] = 0;
  return FALSE;
}
