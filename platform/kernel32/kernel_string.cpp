// The lstr* family, wsprintf formatting and CompareStringW of the simulated machine.
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

// Order of two texts: case-insensitive first; when equal so, lower case sorts before upper
// case as in the system's word sort (ordering of punctuation is not modelled).
template <class Char>
int Compare(const Char* a, const Char* b, size_t na, size_t nb, bool ignoreCase) {
  size_t n = na < nb ? na : nb;
  for (size_t i = 0; i < n; ++i) {
    unsigned fa = winsim::LowerCaseOf(WCHAR(Unit(a[i]))), fb = winsim::LowerCaseOf(WCHAR(Unit(b[i])));
    if (fa != fb) return fa < fb ? -1 : 1;
  }
  if (na != nb) return na < nb ? -1 : 1;
  if (ignoreCase) return 0;
  for (size_t i = 0; i < n; ++i) {
    unsigned ua = Unit(a[i]), ub = Unit(b[i]);
    if (ua != ub) return ua > ub ? -1 : 1;  // the lower-case letter has the higher unit
  }
  return 0;
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

// ---- wsprintf ----

constexpr int kFormatLimit = 1024;  // characters, the terminator included

template <class Char>
struct Output {
  Char* buffer;
  int used = 0;
  bool full = false;
  void Put(unsigned c) {
    if (!full && used < kFormatLimit - 1) buffer[used++] = Char(c);
  }
  // Both bytes of a double-byte character, or neither: once one does not fit, nothing more
  // goes in, so no later character shows up past the gap.
  void PutPair(unsigned lead, unsigned trail) {
    if (full || used + 2 > kFormatLimit - 1) {
      full = true;
      return;
    }
    buffer[used++] = Char(lead);
    buffer[used++] = Char(trail);
  }
};

template <class Char>
int Format(Char* buffer, const Char* format, va_list args) {
  if (!buffer) return 0;
  Output<Char> out{buffer};
  if (!format) {
    buffer[0] = 0;
    return 0;
  }
  const bool wide = sizeof(Char) == 2;
  for (const Char* p = format; *p; ++p) {
    if (Unit(*p) != '%') {
      out.Put(Unit(*p));
      continue;
    }
    ++p;
    if (!*p) break;
    bool left = false, zero = false, alt = false;
    for (;; ++p) {
      if (Unit(*p) == '-') left = true;
      else if (Unit(*p) == '0') zero = true;
      else if (Unit(*p) == '#') alt = true;
      else break;
    }
    int width = 0, precision = -1;
    while (Unit(*p) >= '0' && Unit(*p) <= '9') width = width * 10 + int(Unit(*p++) - '0');
    if (Unit(*p) == '.') {
      ++p;
      precision = 0;
      while (Unit(*p) >= '0' && Unit(*p) <= '9') precision = precision * 10 + int(Unit(*p++) - '0');
    }
    bool isLong = false, isShort = false, is64 = false;
    if (Unit(*p) == 'l') {
      isLong = true;
      ++p;
    } else if (Unit(*p) == 'h') {
      isShort = true;
      ++p;
    } else if (Unit(*p) == 'I' && Unit(p[1]) == '6' && Unit(p[2]) == '4') {
      is64 = true;
      p += 3;
    }
    unsigned type = Unit(*p);
    if (!type) break;
    std::u16string text;  // the converted field, before padding
    bool negative = false;
    switch (type) {
      case 'c':
      case 'C': {
        int c = va_arg(args, int);
        bool narrowChar = isShort || (!isLong && ((type == 'c') != wide));
        if (narrowChar) {
          char b = char(c);
          WCHAR w = 0;
          MultiByteToWideChar(CP_ACP, 0, &b, 1, &w, 1);
          text += char16_t(w);
        } else {
          text += char16_t(c & 0xFFFF);
        }
        break;
      }
      case 's':
      case 'S': {
        const void* s = va_arg(args, const void*);
        bool narrowText = isShort || (!isLong && ((type == 's') != wide));
        // With a precision, no more than that many units are read: the argument may be a
        // fixed-size field without a terminator.
        size_t limit = precision >= 0 ? size_t(precision) : size_t(-1);
        if (!s) {
          text = u"(null)";
        } else if (narrowText) {
          const char* narrow = static_cast<const char*>(s);
          size_t n = 0;  // bytes, taken a whole character at a time
          for (size_t chars = 0; chars < limit && narrow[n]; ++chars)
            n += IsDBCSLeadByte(BYTE(narrow[n])) && narrow[n + 1] ? 2 : 1;
          text = n ? winsim::AnsiToWide(narrow, n) : std::u16string();
        } else {
          const char16_t* wideText = static_cast<const char16_t*>(s);
          size_t n = 0;
          while (n < limit && wideText[n]) ++n;
          text.assign(wideText, n);
        }
        if (precision >= 0 && text.size() > size_t(precision)) text.resize(size_t(precision));
        break;
      }
      case 'd':
      case 'i':
      case 'u':
      case 'x':
      case 'X':
      case 'p': {
        unsigned long long v;
        if (type == 'p') {
          v = uintptr_t(va_arg(args, void*));
          precision = 8;
          type = 'X';
        } else if (is64) {
          v = va_arg(args, unsigned long long);
        } else {
          v = va_arg(args, unsigned int);
          if (isShort) v &= 0xFFFF;
        }
        if (type == 'd' || type == 'i') {
          long long sv = is64 ? static_cast<long long>(v) : isShort ? static_cast<short>(v) : static_cast<int>(v);
          negative = sv < 0;
          v = negative ? 0ull - static_cast<unsigned long long>(sv) : static_cast<unsigned long long>(sv);
        }
        unsigned base = (type == 'x' || type == 'X') ? 16 : 10;
        const char* digits = type == 'X' ? "0123456789ABCDEF" : "0123456789abcdef";
        std::u16string number;
        do {
          number.insert(number.begin(), char16_t(digits[v % base]));
          v /= base;
        } while (v);
        while (precision > 0 && number.size() < size_t(precision)) number.insert(number.begin(), u'0');
        std::u16string prefix = negative ? u"-" : u"";
        if (alt && base == 16) prefix += type == 'X' ? u"0X" : u"0x";
        if (zero && !left && precision < 0)
          while (prefix.size() + number.size() < size_t(width)) number.insert(number.begin(), u'0');
        text = prefix + number;
        break;
      }
      default:
        text += char16_t(type);  // an unknown type is copied as it stands
        width = 0;
        break;
    }
    size_t pad = text.size() < size_t(width) ? size_t(width) - text.size() : 0;
    if (!left)
      for (size_t i = 0; i < pad; ++i) out.Put(' ');
    if (wide) {
      for (char16_t c : text) out.Put(c);
    } else {
      std::string narrow = winsim::WideToAnsi(text);
      for (size_t i = 0; i < narrow.size(); ++i) {
        unsigned char c = static_cast<unsigned char>(narrow[i]);
        if (i + 1 < narrow.size() && IsDBCSLeadByte(c))
          out.PutPair(c, static_cast<unsigned char>(narrow[++i]));
        else
          out.Put(c);
      }
    }
    if (left)
      for (size_t i = 0; i < pad; ++i) out.Put(' ');
  }
  buffer[out.used] = 0;
  return out.used;
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

WINSIM_API int WINAPI wvsprintfW(LPWSTR buffer, LPCWSTR format, va_list args) { return Format(buffer, format, args); }
WINSIM_API int WINAPI wvsprintfA(LPSTR buffer, LPCSTR format, va_list args) { return Format(buffer, format, args); }

WINSIM_API int WINAPIV wsprintfW(LPWSTR buffer, LPCWSTR format, ...) {
  va_list args;
  va_start(args, format);
  int n = Format(buffer, format, args);
  va_end(args);
  return n;
}

WINSIM_API int WINAPIV wsprintfA(LPSTR buffer, LPCSTR format, ...) {
  va_list args;
  va_start(args, format);
  int n = Format(buffer, format, args);
  va_end(args);
  return n;
}

// Simplified: the order is that of the code units after the machine's simple case folding
// (lower case after upper case when they differ only in case), not a linguistic sort of the
// locale; only NORM_IGNORECASE is known.
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
