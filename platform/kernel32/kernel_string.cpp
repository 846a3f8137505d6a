// The lstr* family and CompareStringW of the simulated machine.
#include <string.h>

#include <string>

#include "platform/sim/internal.h"
#include "platform/kernel32/kernel_internal.h"
#include "platform/sim/trace.h"

namespace winsim {

namespace {

// Case pairs whose lower case lies a fixed distance above the upper case.
struct CaseRange {
  char16_t first, last;  // the upper-case letters
  char16_t distance;
};
const CaseRange kCaseRanges[] = {
    {0x41, 0x5A, 32},   {0xC0, 0xDE, 32},   {0x391, 0x3AB, 32},
    {0x400, 0x40F, 80}, {0x410, 0x42F, 32}, {0xFF21, 0xFF3A, 32},
};

// The upper and lower case of the pair a unit belongs to; false when it has none.
bool CasePair(WCHAR c, WCHAR* upper, WCHAR* lower) {
  if (c == 0xFF || c == 0x178) {
    *upper = 0x178;
    *lower = 0xFF;
    return true;
  }
  if (c >= 0x100 && c <= 0x17F) {
    if (c == 0x130 || c == 0x131 || c == 0x138 || c == 0x149 || c == 0x17F) return false;
    // Latin Extended-A pairs neighbours, the upper case even, except in 0x139-0x148 and
    // 0x179-0x17E where it is odd.
    bool oddUpper = (c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E);
    *upper = oddUpper ? ((c & 1) ? c : WCHAR(c - 1)) : WCHAR(c & ~1u);
    *lower = WCHAR(*upper + 1);
    return true;
  }
  for (const CaseRange& r : kCaseRanges) {
    if (c >= r.first && c <= r.last) {
      *upper = c;
    } else if (c >= r.first + r.distance && c <= r.last + r.distance) {
      *upper = WCHAR(c - r.distance);
    } else {
      continue;
    }
    *lower = WCHAR(*upper + r.distance);
    // 0xD7 and 0xF7 are the multiplication and division signs; 0x3A2 is unassigned, so
    // final sigma (0x3C2) has no upper case of its own.
    return *upper != 0xD7 && *upper != 0x3A2;
  }
  return false;
}

}  // namespace

WCHAR UpperCaseOf(WCHAR c) {
  WCHAR upper, lower;
  return CasePair(c, &upper, &lower) ? upper : c;
}

WCHAR LowerCaseOf(WCHAR c) {
  WCHAR upper, lower;
  return CasePair(c, &upper, &lower) ? lower : c;
}

std::u16string UpperCaseText(const std::u16string& text) {
  std::u16string out = text;
  for (auto& c : out) c = UpperCaseOf(c);
  return out;
}

bool SameTextIgnoringCase(const std::u16string& a, const std::u16string& b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (UpperCaseOf(a[i]) != UpperCaseOf(b[i])) return false;
  return true;
}

}  // namespace winsim

namespace {

template <class Char>
unsigned Unit(Char c) {
  return sizeof(Char) == 1 ? unsigned(static_cast<unsigned char>(c)) : unsigned(c);
}

// The word sort leaves hyphen and apostrophe out of the first comparison, so "co-op" sorts
// beside "coop" (after it) rather than among the texts that have punctuation at that place.
bool IgnoredFirst(unsigned c) { return c == u'-' || c == u'\''; }

bool IsAlphanumeric(unsigned c) { return (c >= u'0' && c <= u'9') || (c >= u'a' && c <= u'z') || c >= 0xC0; }

// Order of two texts in the system's word sort: the letters without case and without hyphens
// and apostrophes first; when equal so, lower case sorts before upper case; then the text with
// the hyphens and apostrophes sorts after the one without (a mark further ahead sorts later,
// a hyphen after an apostrophe).
// Other punctuation keeps the order of its code units (not modelled).
template <class Char>
int Compare(const Char* a, const Char* b, size_t na, size_t nb, bool ignoreCase) {
  size_t i = 0, j = 0;
  for (;;) {
    while (i < na && IgnoredFirst(Unit(a[i]))) ++i;
    while (j < nb && IgnoredFirst(Unit(b[j]))) ++j;
    if (i == na || j == nb) break;
    unsigned fa = winsim::LowerCaseOf(WCHAR(Unit(a[i]))), fb = winsim::LowerCaseOf(WCHAR(Unit(b[j])));
    if (fa != fb) {
      if (!IsAlphanumeric(fa) || !IsAlphanumeric(fb))
        WINSIM_SIMPLIFIED("lstrcmpW", "orders punctuation other than hyphen and apostrophe by code unit");
      return fa < fb ? -1 : 1;
    }
    ++i;
    ++j;
  }
  if ((i < na) != (j < nb)) return i < na ? 1 : -1;
  if (!ignoreCase) {
    for (i = 0, j = 0;; ++i, ++j) {
      while (i < na && IgnoredFirst(Unit(a[i]))) ++i;
      while (j < nb && IgnoredFirst(Unit(b[j]))) ++j;
      if (i == na || j == nb) break;
      unsigned ua = Unit(a[i]), ub = Unit(b[j]);
      if (ua != ub) return ua > ub ? -1 : 1;  // the lower-case letter has the higher unit
    }
  }
  for (i = 0, j = 0;; ++i, ++j) {
    while (i < na && !IgnoredFirst(Unit(a[i]))) ++i;
    while (j < nb && !IgnoredFirst(Unit(b[j]))) ++j;
    if (i == na || j == nb) return i == na && j == nb ? 0 : (i == na ? -1 : 1);
    if (i != j) return i < j ? 1 : -1;
    if (Unit(a[i]) != Unit(b[j])) return Unit(a[i]) < Unit(b[j]) ? -1 : 1;
  }
}

template <class Char>
size_t Length(const Char* s) {
  size_t n = 0;
  if (s)
    while (s[n]) ++n;
  return n;
}

template <class Char>
int CompareTexts(const Char* a, const Char* b, bool ignoreCase) {
  if (!a || !b) return a == b ? 0 : (a ? 1 : -1);
  return Compare(a, b, Length(a), Length(b), ignoreCase);
}

template <class Char>
Char* CopyN(Char* target, const Char* source, int maxChars) {
  if (!target || maxChars <= 0) return target;
  int i = 0;
  if (source)
    for (; i < maxChars - 1 && source[i]; ++i) target[i] = source[i];
  target[i] = 0;
  return target;
}

}  // namespace

WINSIM_API int WINAPI lstrlenW(LPCWSTR text) { return int(Length(text)); }
WINSIM_API int WINAPI lstrlenA(LPCSTR text) { return int(Length(text)); }
WINSIM_API int WINAPI lstrcmpW(LPCWSTR a, LPCWSTR b) { return CompareTexts(a, b, false); }
WINSIM_API int WINAPI lstrcmpA(LPCSTR a, LPCSTR b) { return CompareTexts(a, b, false); }
WINSIM_API int WINAPI lstrcmpiW(LPCWSTR a, LPCWSTR b) { return CompareTexts(a, b, true); }
WINSIM_API int WINAPI lstrcmpiA(LPCSTR a, LPCSTR b) { return CompareTexts(a, b, true); }

WINSIM_API LPWSTR WINAPI lstrcpyW(LPWSTR target, LPCWSTR source) {
  if (!target || !source) return nullptr;
  size_t n = Length(source);
  memmove(target, source, (n + 1) * sizeof(WCHAR));
  return target;
}

WINSIM_API LPSTR WINAPI lstrcpyA(LPSTR target, LPCSTR source) {
  if (!target || !source) return nullptr;
  memmove(target, source, strlen(source) + 1);
  return target;
}

WINSIM_API LPWSTR WINAPI lstrcpynW(LPWSTR target, LPCWSTR source, int maxChars) { return CopyN(target, source, maxChars); }
WINSIM_API LPSTR WINAPI lstrcpynA(LPSTR target, LPCSTR source, int maxChars) { return CopyN(target, source, maxChars); }

WINSIM_API LPWSTR WINAPI lstrcatW(LPWSTR target, LPCWSTR source) {
  if (!target || !source) return nullptr;
  lstrcpyW(target + Length(target), source);
  return target;
}

WINSIM_API LPSTR WINAPI lstrcatA(LPSTR target, LPCSTR source) {
  if (!target || !source) return nullptr;
  lstrcpyA(target + strlen(target), source);
  return target;
}

// Simplified: the word sort above (simple case folding, hyphen and apostrophe weighed last,
// other units in code-unit order), not the locale's full linguistic sort; only
// NORM_IGNORECASE is known.
WINSIM_API int WINAPI CompareStringW(LCID locale, DWORD flags, LPCWSTR a, int aChars, LPCWSTR b, int bChars) {
  WINSIM_SIMPLIFIED("CompareStringW", "orders code units, not by the locale's linguistic sort");
  if (!a || !b) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  if (flags & ~DWORD(NORM_IGNORECASE)) {
    SetLastError(ERROR_INVALID_FLAGS);
    return 0;
  }
  size_t na = aChars < 0 ? Length(a) : size_t(aChars);
  size_t nb = bChars < 0 ? Length(b) : size_t(bChars);
  return Compare(a, b, na, nb, flags & NORM_IGNORECASE) + 2;
}
